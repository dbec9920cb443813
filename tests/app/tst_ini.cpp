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
        QVERIFY(ini.writeString("Memberinfo", "member_password", ""));
        QVERIFY(ini.writeString("Shopinfo", "shopname", "川味小馆"));
        QVERIFY(ini.writeString("Memberinfo", "member_username", "li"));
        QVERIFY(ini.writeString("Print", "kdstr", "0.0,3.1,3.7"));
        QCOMPARE(contents(path),
                 QByteArray("[Memberinfo]\nmember_username=li\nmember_password=\n\n"
                            "[Shopinfo]\nshopname=川味小馆\n\n"
                            "[Print]\nkdstr=0.0,3.1,3.7\n"));
        QCOMPARE(ini.readString("Memberinfo", "member_password", "x"), QString(""));
        QCOMPARE(ini.readString("Print", "kdstr"), QString("0.0,3.1,3.7"));
    }

    void legacyGbkFileIsRead()
    {
        put(file("gbk.ini"), "[Shopinfo]\r\nshopname=" + to_gbk("川味小馆") + "\r\n");
        IniFile ini(file("gbk.ini"));
        QCOMPARE(ini.readString("Shopinfo", "shopname"), QString("川味小馆"));
        // Writing keeps the old values and stores everything as UTF-8.
        ini.writeString("Shopinfo", "shoptel", "123");
        QCOMPARE(ini.readString("Shopinfo", "shopname"), QString("川味小馆"));
        QVERIFY(contents(file("gbk.ini")).contains(QString("川味小馆").toUtf8()));
    }
};

QTEST_GUILESS_MAIN(TestIni)
#include "tst_ini.moc"
