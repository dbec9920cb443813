#include "app/helpers.h"
#include "app/ini.h"
#include "app/startup.h"
#include "store/schema.h"
#include "store/sqlite_db.h"
#include "support/testkit.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT

    static QByteArray contents(const QString &path)
    {
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }

private slots:
    void firstStartInEmptyFolder()
    {
        TestProgram p; // runs the start-up steps in an empty folder
        QVERIFY(QDir(p.path("config")).exists());
        QVERIFY(QDir(p.path("log")).exists());
        QCOMPARE(p.ctx.db_path, p.path("tavira.db"));
        QCOMPARE(p.scalar("SELECT count(*) FROM sqlite_master WHERE type='table' AND name LIKE "
                          "'lumo\\_%' ESCAPE '\\'"),
                 QString("10"));
        QCOMPARE(p.scalar("SELECT count(*) FROM sqlite_master WHERE name='mivo_login_token'"),
                 QString("1"));
        QCOMPARE(
            p.scalar(
                "SELECT username||','||rndstr||','||encmd5||','||truename||','||isjob||','||tid "
                "FROM lumo_admin WHERE id=1"),
            QString("admin,qoxuvremtk,51908e47ccd2df1cf9ec909d153468af,管理员,1,9"));
        QCOMPARE(p.scalar("SELECT addtime FROM lumo_admin"),
                 QString::number(p.clock->ms / 1000 + 1));
        // Remembered by a token of its own section, not by the password digest.
        const QByteArray written = contents(p.ctx.paths.ini);
        QCOMPARE(written.left(written.indexOf("[Mivologin]")),
                 QByteArray("[Memberinfo]\nmember_uid=1\nmember_username=admin\n"
                            "member_password=\nmember_tid=9\n\n"));
        QVERIFY2(QRegularExpression("\\[Mivologin\\]\ntoken=[0-9a-f]{64}\n$")
                     .match(QString::fromLatin1(written))
                     .hasMatch(),
                 written.constData());
        QCOMPARE(p.ctx.account.username, QString("admin"));
        QCOMPARE(p.ctx.account.role, 9);
        // The documented initial password matches the seeded digest.
        QCOMPARE(pass_digest(AdminInitialPassword, AdminSalt), QString(AdminDigest));

        const Settings &s = p.ctx.settings;
        QCOMPARE(s.shopname, QString("匿名店铺"));
        QCOMPARE(s.cwf_tit, QString("餐具"));
        QCOMPARE(s.cwf, QString("0.00"));
        QCOMPARE(s.backuph, 5);
        QCOMPARE(s.kdprintnums, 1000);
        QCOMPARE(s.cdprintnums, 1000);
        QCOMPARE(s.desk_perpage, 36);
        QCOMPARE(s.caipin_perpage, 81);
        QCOMPARE(s.time_tb, 10);
        QCOMPARE(s.is_time_tb, 0);
        QCOMPARE(s.kdstr, QString("0.0,3.1,3.7"));
        QCOMPARE(s.cdstr, QString("0.0,3.1,3.7,4.7,5.7"));
        QCOMPARE(s.kdtop, QString("0.06"));
        QCOMPARE(s.cdhj, QString("0.45"));

        // A second start changes nothing.
        const QByteArray ini = contents(p.ctx.paths.ini);
        AppContext again;
        start_core(again, p.dir.path());
        QCOMPARE(contents(p.ctx.paths.ini), ini);
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_admin"), QString("1"));
        QCOMPARE(again.account.uid, 1); // signed in by the remembered login
    }

    void configuredValues()
    {
        TestProgram p(false);
        QDir().mkpath(p.path("config"));
        const IniFile ini(p.path("config/info.ini"));
        ini.writeString("Config", "desk_perpage", "abc");
        ini.writeString("Shopinfo", "shopname", "");
        ini.writeString("System", "is_time_tb", "1");
        ini.writeString("System", "time_tb", "3");
        ini.writeString("Config", "cwf", "2.00");
        ini.writeString("Data", "path", p.path("elsewhere.db"));
        start_core(p.ctx, p.dir.path());
        QCOMPARE(p.ctx.settings.desk_perpage, 36);
        QCOMPARE(p.ctx.settings.shopname, QString("匿名店铺"));
        QCOMPARE(p.ctx.settings.is_time_tb, 1);
        QCOMPARE(p.ctx.settings.time_tb, 3);
        QCOMPARE(p.ctx.settings.cwf, QString("2.00"));
        QCOMPARE(p.ctx.db_path, p.path("elsewhere.db"));
        QVERIFY(QFile::exists(p.path("elsewhere.db")));
        QVERIFY(!QFile::exists(p.path("tavira.db")));
    }

    void syncIntervalIsAtLeastOneSecond_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("seconds");
        QTest::newRow("3") << "3" << 3;
        QTest::newRow("0") << "0" << 1;
        QTest::newRow("-5") << "-5" << 1;
        QTest::newRow("abc") << "abc" << 10;
    }
    void syncIntervalIsAtLeastOneSecond()
    {
        QFETCH(QString, value);
        QFETCH(int, seconds);
        TestProgram p(false);
        QDir().mkpath(p.path("config"));
        IniFile(p.path("config/info.ini")).writeString("System", "time_tb", value);
        start_core(p.ctx, p.dir.path());
        QCOMPARE(p.ctx.settings.time_tb, seconds);
    }

    void unopenableDatabaseStopsTheSteps()
    {
        TestProgram p(false);
        QDir().mkpath(p.path("config"));
        IniFile(p.path("config/info.ini")).writeString("Data", "path", p.path("no/such/dir/x.db"));
        try {
            start_core(p.ctx, p.dir.path());
            QFAIL("no exception");
        } catch (const ESQLiteException &e) {
            QVERIFY(
                e.message().startsWith("Failed to open database \"" + p.path("no/such/dir/x.db")));
        }
        QVERIFY(!IniFile(p.ctx.paths.ini).readString("Memberinfo", "member_username").size());
    }
};

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
