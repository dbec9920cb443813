#include "app/gbk.h"
#include "app/ini.h"
#include "settings/system_settings.h"
#include "support/testkit.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// Fields that pass every check.
SystemFields good_fields()
{
    SystemFields f;
    f.shopname = "老街小馆";
    f.shopaddress = "人民路1号";
    f.shoptel = "0571-1234567";
    f.is_shoptel = true;
    f.kdprintname = "Receipt_80mm";
    f.cdprintname = "Kitchen_80mm";
    f.kdprintnums = "30";
    f.cdprintnums = "20";
    f.kdstr = "0.0,3.1,3.7";
    f.cdstr = "0.0,3.1,3.7,4.7,5.7";
    f.kdtop = "0.06";
    f.kdhj = "0.45";
    f.cdtop = "0.1";
    f.cdhj = "0.5";
    f.time_tb = "5";
    f.is_time_tb = true;
    f.desk_perpage = "24";
    f.caipin_perpage = "60";
    f.cwf_tit = "餐具";
    f.cwf = "2.00";
    return f;
}

QString *field(SystemFields &f, const QString &name)
{
    QString *const all[] = {&f.kdstr,
                            &f.cdstr,
                            &f.cdtop,
                            &f.cdhj,
                            &f.kdtop,
                            &f.kdhj,
                            &f.time_tb,
                            &f.path,
                            &f.kdprintnums,
                            &f.cdprintnums,
                            &f.desk_perpage,
                            &f.caipin_perpage,
                            &f.cwf,
                            &f.cwf_tit,
                            &f.kdprintname,
                            &f.cdprintname};
    const char *names[] = {"kdstr",
                           "cdstr",
                           "cdtop",
                           "cdhj",
                           "kdtop",
                           "kdhj",
                           "time_tb",
                           "path",
                           "kdprintnums",
                           "cdprintnums",
                           "desk_perpage",
                           "caipin_perpage",
                           "cwf",
                           "cwf_tit",
                           "kdprintname",
                           "cdprintname"};
    for (size_t i = 0; i < std::size(names); ++i) {
        if (name == QLatin1String(names[i]))
            return all[i];
    }
    qFatal("no such field");
}

} // namespace

class TestSystemSettings : public QObject
{
    Q_OBJECT

private slots:
    void refusalsWriteNothing_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("toast");
        const QString kd = "客打打印机参数设置错误";
        const QString cd = "厨打打印机参数设置错误";
        QTest::newRow("receipt two positions") << "kdstr"
                                               << "0.0,3.1" << kd;
        QTest::newRow("receipt position not a number") << "kdstr"
                                                       << "0.0,a,3.7" << kd;
        QTest::newRow("receipt four positions") << "kdstr"
                                                << "0,1,2,3" << kd;
        QTest::newRow("kitchen four positions") << "cdstr"
                                                << "0.0,3.1,3.7,4.7" << cd;
        QTest::newRow("kitchen empty piece") << "cdstr"
                                             << "0.0,3.1,,4.7,5.7" << cd;
        QTest::newRow("kitchen top") << "cdtop"
                                     << "一"
                                     << "厨打打印机上边距设置错误";
        QTest::newRow("kitchen pitch") << "cdhj"
                                       << ""
                                       << "厨打打印机行距设置错误";
        QTest::newRow("receipt top") << "kdtop"
                                     << "0,1"
                                     << "客打打印机上边距设置错误";
        QTest::newRow("receipt pitch") << "kdhj"
                                       << "x"
                                       << "客打打印机行距设置错误";
        QTest::newRow("sync 0") << "time_tb"
                                << "0"
                                << "多设备同步时间设置错误，最少1秒";
        QTest::newRow("sync negative") << "time_tb"
                                       << "-3"
                                       << "多设备同步时间设置错误，最少1秒";
        QTest::newRow("path in a missing folder")
            << "path"
            << "@tmp/nowhere/shop.db"
            << "数据库路径所在的文件夹不存在，请检查数据库路径";
        QTest::newRow("path not a database")
            << "path"
            << "@tmp/notes.txt"
            << "数据库路径指向的文件不是SQLite数据库，请检查数据库路径";
        QTest::newRow("path is a folder") << "path"
                                          << "@tmp/config"
                                          << "数据库路径是一个文件夹，请填写数据库文件的完整路径";
    }
    void refusalsWriteNothing()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, toast);
        TestProgram p;
        put(p.path("notes.txt"), "not a database at all");
        const QByteArray before = contents(p.ctx.paths.ini);
        QVERIFY(!before.isEmpty());
        SystemFields f = good_fields();
        *field(f, name) = value.replace("@tmp/", p.dir.path() + "/");

        const SettingsSaved out = save_system_settings(p.ctx, f);
        QCOMPARE(out.refusal, toast);
        QCOMPARE(contents(p.ctx.paths.ini), before);
        // The layouts and page sizes in memory stay as they were.
        QCOMPARE(p.ctx.settings.kdstr, QString("0.0,3.1,3.7"));
        QCOMPARE(p.ctx.settings.desk_perpage, 36);
        QCOMPARE(p.ctx.settings.time_tb, 10);
        // The printer names and switches take effect at once.
        QCOMPARE(p.ctx.settings.kdprintname, QString("Receipt_80mm"));
        QCOMPARE(p.ctx.settings.is_shoptel, 1);
    }

    void checksRunInOrder()
    {
        TestProgram p;
        SystemFields f = good_fields();
        const QStringList order
            = {"kdstr", "cdstr", "cdtop", "cdhj", "kdtop", "kdhj", "time_tb", "path"};
        const QStringList bad = {"1,2", "1,2", "a", "a", "a", "a", "0", "/no/such/folder/x.db"};
        const QStringList good = {"0.0,3.1,3.7", "0,1,2,3,4", "0.1", "0.5", "0.1", "0.5", "3", ""};
        for (int i = 0; i < order.size(); ++i)
            *field(f, order[i]) = bad[i];
        QStringList toasts;
        for (int i = 0; i < order.size(); ++i) {
            toasts << save_system_settings(p.ctx, f).refusal;
            *field(f, order[i]) = good[i];
        }
        QCOMPARE(toasts,
                 QStringList({"客打打印机参数设置错误",
                              "厨打打印机参数设置错误",
                              "厨打打印机上边距设置错误",
                              "厨打打印机行距设置错误",
                              "客打打印机上边距设置错误",
                              "客打打印机行距设置错误",
                              "多设备同步时间设置错误，最少1秒",
                              "数据库路径所在的文件夹不存在，请检查数据库路径"}));
        const SettingsSaved out = save_system_settings(p.ctx, f);
        QCOMPARE(out.refusal, QString());
        QCOMPARE(out.saved, QString("配置保存成功"));
    }

    void silentDefaults_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("stored");
        QTest::newRow("receipt rows 12.5") << "kdprintnums"
                                           << "12.5"
                                           << "Print"
                                           << "1000";
        QTest::newRow("receipt rows abc") << "kdprintnums"
                                          << "abc"
                                          << "Print"
                                          << "1000";
        QTest::newRow("kitchen rows empty") << "cdprintnums"
                                            << ""
                                            << "Print"
                                            << "1000";
        QTest::newRow("board page abc") << "desk_perpage"
                                        << "abc"
                                        << "Config"
                                        << "36";
        QTest::newRow("dish page 1.5") << "caipin_perpage"
                                       << "1.5"
                                       << "Config"
                                       << "81";
        QTest::newRow("fee abc") << "cwf"
                                 << "abc"
                                 << "Config"
                                 << "0.00";
        QTest::newRow("fee decimal kept") << "cwf"
                                          << " 1.5 "
                                          << "Config"
                                          << "1.5";
        QTest::newRow("sync abc") << "time_tb"
                                  << "abc"
                                  << "System"
                                  << "10";
        QTest::newRow("fee title") << "cwf_tit"
                                   << " '茶'位 "
                                   << "Config"
                                   << "茶位";
        QTest::newRow("no receipt printer") << "kdprintname"
                                            << "请选择打印机"
                                            << "Print"
                                            << "";
        QTest::newRow("kitchen printer trimmed") << "cdprintname"
                                                 << " K80 "
                                                 << "Print"
                                                 << "K80";
    }
    void silentDefaults()
    {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, section);
        QFETCH(QString, stored);
        TestProgram p;
        SystemFields f = good_fields();
        *field(f, name) = value;
        QCOMPARE(save_system_settings(p.ctx, f).refusal, QString());
        QCOMPARE(IniFile(p.ctx.paths.ini).readString(section, name, "missing"), stored);

        // The next receipt, ticket, board page and order use the same value.
        const Settings &s = p.ctx.settings;
        const QHash<QString, QString> memory = {
            {"kdprintnums", QString::number(s.kdprintnums)},
            {"cdprintnums", QString::number(s.cdprintnums)},
            {"desk_perpage", QString::number(s.desk_perpage)},
            {"caipin_perpage", QString::number(s.caipin_perpage)},
            {"cwf", s.cwf},
            {"time_tb", QString::number(s.time_tb)},
            {"cwf_tit", s.cwf_tit},
            {"kdprintname", s.kdprintname},
            {"cdprintname", s.cdprintname},
        };
        QCOMPARE(memory.value(name), stored);
    }

    void writeOrderAndMemory()
    {
        TestProgram p;
        QVERIFY(QFile::remove(p.ctx.paths.ini));
        SystemFields f = good_fields();
        f.shopname.clear();
        f.kdstr = "0.2,3.0,3.8";
        f.path = p.path("shared.db");
        const SettingsSaved out = save_system_settings(p.ctx, f);
        QCOMPARE(out.saved, QString("配置保存成功，如数据库路径有变重，请重启软件生效"));

        QStringList keys;
        static const QRegularExpression line("^(\\[\\w+\\]|\\w+)=?");
        for (const QString &l : QString::fromUtf8(contents(p.ctx.paths.ini)).split('\n')) {
            const auto m = line.match(l);
            if (m.hasMatch())
                keys << m.captured(1);
        }
        QCOMPARE(
            keys,
            QStringList(
                {"[Shopinfo]",     "shopname",    "shopaddress", "shoptel",      "is_shopaddress",
                 "is_shoptel",     "is_paytime",  "[Print]",     "cdprintname",  "cdprintnums",
                 "kdprintname",    "kdprintnums", "kdstr",       "cdstr",        "cdtop",
                 "cdhj",           "kdtop",       "kdhj",        "[System]",     "time_tb",
                 "is_time_tb",     "[Data]",      "path",        "[Config]",     "desk_perpage",
                 "caipin_perpage", "cwf_tit",     "cwf",         "[Payservice]", "url"}));

        const Settings &s = p.ctx.settings;
        QCOMPARE(s.shopname, QString("匿名店铺"));
        QCOMPARE(IniFile(p.ctx.paths.ini).readString("Shopinfo", "shopname", "x"), QString());
        QCOMPARE(s.kdstr, QString("0.2,3.0,3.8"));
        QCOMPARE(s.cdtop, QString("0.1"));
        QCOMPARE(s.time_tb, 5);
        QCOMPARE(s.is_time_tb, 1);
        QCOMPARE(s.is_shoptel, 1);
        QCOMPARE(s.is_shopaddress, 0);
        // A new path waits for the next start.
        QCOMPARE(p.ctx.db_path, p.ctx.paths.default_db);
    }

    void olderFileSurvivesSave()
    {
        TestProgram p;
        put(p.ctx.paths.ini,
            to_gbk("[Memberinfo]\r\nmember_username=张三\r\nmember_tid=1\r\n"
                   "[Config]\r\ndefaultpay=6\r\nvip_note=老顾客八折\r\n"
                   "[Chongzhi]\r\nlastvalue=200.00\r\n"));
        QVERIFY(save_system_settings(p.ctx, good_fields()).refusal.isEmpty());
        const IniFile ini(p.ctx.paths.ini);
        QCOMPARE(ini.readString("Memberinfo", "member_username"), QString("张三"));
        QCOMPARE(ini.readString("Config", "vip_note"), QString("老顾客八折"));
        QCOMPARE(ini.readString("Config", "defaultpay"), QString("6"));
        QCOMPARE(ini.readString("Chongzhi", "lastvalue"), QString("200.00"));
        QCOMPARE(ini.readString("Shopinfo", "shopname"), QString("老街小馆"));
        QCOMPARE(ini.readString("Config", "cwf"), QString("2.00"));
    }

    void showingRereadsTheFile()
    {
        TestProgram p;
        p.ctx.settings.kdstr = "0.5,3.5,4.5";
        p.ctx.settings.kdprintnums = 40;
        put(p.ctx.paths.ini,
            "[Print]\nkdstr=\ncdstr=1,2,3,4,5\nkdtop=0.2\nkdprintnums=99\n"
            "[System]\ntime_tb=abc\nis_time_tb=1\n"
            "[Config]\ndesk_perpage=abc\ncaipin_perpage=50\ncwf_tit=茶位\ncwf=3.00\n"
            "[Data]\npath=/srv/shop/tavira.db\n");
        const SystemFields f = fields_for_showing(p.ctx);
        QCOMPARE(f.kdstr, QString("0.5,3.5,4.5")); // empty key: the field keeps its text
        QCOMPARE(f.cdstr, QString("1,2,3,4,5"));
        QCOMPARE(f.kdtop, QString("0.2"));
        QCOMPARE(f.kdhj, QString("0.45"));
        QCOMPARE(f.kdprintnums, QString("40")); // rows per page come from memory
        QCOMPARE(f.time_tb, QString("10"));
        QVERIFY(f.is_time_tb);
        QCOMPARE(f.desk_perpage, QString("36"));
        QCOMPARE(f.path, QString("/srv/shop/tavira.db"));
        QCOMPARE(p.ctx.settings.desk_perpage, 36);
        QCOMPARE(p.ctx.settings.caipin_perpage, 50);
        QCOMPARE(p.ctx.settings.cwf_tit, QString("茶位"));
        QCOMPARE(p.ctx.settings.cwf, QString("3.00"));
        QCOMPARE(p.ctx.db_path, p.ctx.paths.default_db);
    }

    // Paths that must not be refused: the checks above refuse only what cannot work.
    void usableDatabasePaths_data()
    {
        QTest::addColumn<QString>("relative");
        QTest::newRow("empty: the local file") << "";
        QTest::newRow("a new file in an existing folder") << "new.db";
        QTest::newRow("an existing database") << "tavira.db";
        QTest::newRow("an empty file") << "empty.db";
    }
    void usableDatabasePaths()
    {
        QFETCH(QString, relative);
        TestProgram p;
        put(p.path("empty.db"), QByteArray());
        const QString path = relative.isEmpty() ? QString() : p.path(relative);
        QCOMPARE(database_path_problem(path), QString());
    }
};

QTEST_GUILESS_MAIN(TestSystemSettings)
#include "tst_system_settings.moc"
