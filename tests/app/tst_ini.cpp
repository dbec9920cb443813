#include "app/gbk.h"
#include "app/ini.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestIni : public QObject
{
    Q_OBJECT
    QTemporaryDir m_dir;
    QString file(const QString &name) const { return m_dir.filePath(name); }
    static QByteArray contents(const QString &path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }
    static void put(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    }

private slots:
    void missingFileSectionKeyReadDefaults()
    {
        IniFile missing(file("none.ini"));
        QVERIFY(!missing.exists());
        QCOMPARE(missing.readString("Config", "cwf_tit", "餐具"), QString("餐具"));
        QCOMPARE(missing.readInt("Config", "desk_perpage", 36), 36);
        put(file("a.ini"), "[Config]\ndesk_perpage=40\n");
        IniFile a(file("a.ini"));
        QCOMPARE(a.readInt("config", "DESK_PERPAGE", 36), 40);
        QCOMPARE(a.readInt("Config", "caipin_perpage", 81), 81);
        QCOMPARE(a.readInt("System", "desk_perpage", 36), 36);
    }

    void integerRules_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("expected");
        QTest::newRow("letters") << QByteArray("desk_perpage=abc") << 36;
        QTest::newRow("decimal") << QByteArray("desk_perpage=3.5") << 36;
        QTest::newRow("empty") << QByteArray("desk_perpage=") << 36;
        QTest::newRow("negative") << QByteArray("desk_perpage=-4") << -4;
        QTest::newRow("spaces") << QByteArray("desk_perpage = 12 ") << 12;
    }
    void integerRules()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, expected);
        put(file("i.ini"), "[Config]\r\n" + line + "\r\n");
        QCOMPARE(IniFile(file("i.ini")).readInt("Config", "desk_perpage", 36), expected);
    }

    void writingCreatesFileAndSections()
    {
        const QString path = file("sub.ini");
        IniFile ini(path);
        QVERIFY(ini.writeString("Memberinfo", "member_username", "admin"));
        QCOMPARE(ini.readString("Memberinfo", "member_username"), QString("admin"));
        QVERIFY(ini.writeString("Memberinfo", "member_password", ""));
        QVERIFY(ini.writeString("Shopinfo", "shopname", "川味小馆"));
        QVERIFY(ini.writeString("Memberinfo", "member_username", "li"));
        QVERIFY(ini.writeString("Print", "kdstr", "0.0,3.1,3.7"));
        QCOMPARE(contents(path),
                 QByteArray("[Memberinfo]\nmember_username=li\nmember_password=\n\n"
                            "[Shopinfo]\nshopname=川味小馆\n\n"
                            "[Print]\nkdstr=0.0,3.1,3.7\n"));
        // A read after a write sees it.
        QCOMPARE(ini.readString("Memberinfo", "member_username"), QString("li"));
        QCOMPARE(ini.readString("Memberinfo", "member_password", "x"), QString(""));
        QCOMPARE(ini.readString("Print", "kdstr"), QString("0.0,3.1,3.7"));
    }

    void encodingsAreRecognised_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("expected");
        QTest::newRow("gbk with crlf") << "[Shopinfo]\r\nshopname=" + to_gbk("川味小馆") + "\r\n"
                                       << "shopname"
                                       << "川味小馆";
        // 小楼 in GBK is also valid UTF-8 ("С¥"): the reading that gives Chinese wins.
        QTest::newRow("gbk also valid utf-8") << "[Shopinfo]\nshopname=" + to_gbk("小楼") + "\n"
                                              << "shopname"
                                              << "小楼";
        QTest::newRow("utf-8 also valid gbk")
            << QString("[Shopinfo]\nshopname=小楼\n").toUtf8() << "shopname"
            << "小楼";
        QTest::newRow("utf-8 with bom")
            << "\xEF\xBB\xBF" + QString("[Shopinfo]\nshopname=小楼\n").toUtf8() << "shopname"
            << "小楼";
        // A bad byte right before a line end must not join the next key to its line.
        QTest::newRow("bad byte FF before lf")
            << QByteArray("[Config]\ncwf_tit=\xFF\ncwf=5\n") << "cwf"
            << "5";
        QTest::newRow("lone lead byte before lf")
            << QByteArray("[Config]\ncwf_tit=\x81\ncwf=5\n") << "cwf"
            << "5";
        QTest::newRow("bad byte keeps the rest of its line")
            << "[Config]\ncwf_tit=\xFF" + to_gbk("餐具") + "\n"
            << "cwf_tit"
            << "\uFFFD餐具";
    }
    void encodingsAreRecognised()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, key);
        QFETCH(QString, expected);
        put(file("enc.ini"), bytes);
        const QString section = bytes.contains("[Config]") ? "Config" : "Shopinfo";
        QCOMPARE(IniFile(file("enc.ini")).readString(section, key), expected);
    }

    void legacyGbkFileKeepsItsEncoding()
    {
        // An older counter sharing the folder reads GBK with CRLF: a write changes
        // the one value and leaves every other byte as it was.
        const QByteArray head = "[Data]\r\npath=" + to_gbk("D:\\收银\\tavira.db")
                                + "\r\n\r\n[Shopinfo]\r\nshopname=" + to_gbk("店铺名称")
                                + "\r\nshoptel=";
        const QByteArray tail
            = "\r\nis_shoptel=1\r\n\r\n[Config]\r\ncwf_tit=" + to_gbk("餐具") + "\r\n";
        put(file("gbk.ini"), head + "123" + tail);
        IniFile ini(file("gbk.ini"));
        QVERIFY(ini.writeString("Shopinfo", "shoptel", "0571-88"));
        QCOMPARE(contents(file("gbk.ini")), head + "0571-88" + tail);
        QVERIFY(ini.writeString("Shopinfo", "shopaddress", "西湖路1号"));
        QCOMPARE(contents(file("gbk.ini")),
                 head + "0571-88\r\nis_shoptel=1\r\nshopaddress=" + to_gbk("西湖路1号")
                     + "\r\n\r\n[Config]\r\ncwf_tit=" + to_gbk("餐具") + "\r\n");
        QCOMPARE(ini.readString("Data", "path"), QString("D:\\收银\\tavira.db"));

        // A value GBK cannot hold is not turned into '?': the file becomes UTF-8.
        QVERIFY(ini.writeString("Shopinfo", "shopname", "小馆🍜"));
        QCOMPARE(ini.readString("Shopinfo", "shopname"), QString("小馆🍜"));
        QCOMPARE(ini.readString("Config", "cwf_tit"), QString("餐具"));
        QVERIFY(contents(file("gbk.ini")).contains("\r\ncwf_tit=" + QString("餐具").toUtf8()));
    }

    void unreadableGbkByteKeepsTheFileGbk()
    {
        put(file("bad.ini"), "[Config]\r\ncwf_tit=" + to_gbk("餐具") + "\xFF\r\n");
        IniFile ini(file("bad.ini"));
        QVERIFY(ini.writeString("Config", "cwf", "2.00"));
        QCOMPARE(contents(file("bad.ini")),
                 "[Config]\r\ncwf_tit=" + to_gbk("餐具") + "?\r\ncwf=2.00\r\n");
    }

    void utf8FileStaysUtf8()
    {
        put(file("u.ini"), QString("[Shopinfo]\r\nshopname=小楼\r\n").toUtf8());
        IniFile ini(file("u.ini"));
        QVERIFY(ini.writeString("Shopinfo", "shoptel", "1"));
        QCOMPARE(contents(file("u.ini")),
                 QString("[Shopinfo]\r\nshopname=小楼\r\nshoptel=1\r\n").toUtf8());
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
