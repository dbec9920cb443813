// A database that is busy, read-only, missing or damaged: the cashier is told what is
// wrong in Chinese with the detail below it, nothing is written, and a damaged file
// is left exactly as it was.

#include "app/ini.h"
#include "app/start_failure.h"
#include "app/startup.h"
#include "staff/login.h"
#include "staff/profile.h"
#include "store/db_check.h"
#include "store/schema.h"
#include "store/sqlite_db.h"
#include "support/db_trouble.h"
#include "support/testkit.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <optional>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A database of this program with a table area in it, closed again.
void make_database(const QString &path)
{
    ensure_schema(path);
    TSQLiteDatabase db(path);
    db.ExecSQL("INSERT INTO lumo_desk_class(title,sort) VALUES('大厅',1)");
}

} // namespace

class TestDatabaseTrouble : public QObject
{
    Q_OBJECT

private slots:
    // Another counter holds the write lock longer than the busy timeout.
    void busyWriteWritesNothing()
    {
        TestProgram p;
        const QString before = p.scalar("SELECT count(*) FROM lumo_desk_class");
        {
            LockHolder other(p.ctx.db_path, "IMMEDIATE");
            QVERIFY(other.held());
            try {
                TSQLiteDatabase db(p.ctx.db_path);
                db.transaction([&] {
                    db.ExecSQL("INSERT INTO lumo_desk_class(title,sort) VALUES('二楼',2)");
                });
                QFAIL("the write went through a held lock");
            } catch (const ESQLiteException &e) {
                QCOMPARE(e.code(), 5);
                const QString text = store_failure_text(e);
                // The Chinese line first, the technical detail below it.
                QVERIFY2(text.startsWith(QStringLiteral("数据库正忙，请稍后再试\n\n")),
                         qPrintable(text));
                QVERIFY(text.contains("database is locked"));
                QVERIFY(!text.contains(QChar('\r')));
            }
        }
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_desk_class"), before);
    }

    // Another counter holds the file so that not even a read gets in: the read says
    // what SQLite said, as a write does.
    void busyReadSaysWhy()
    {
        TestProgram p;
        LockHolder other(p.ctx.db_path, "EXCLUSIVE");
        QVERIFY(other.held());
        try {
            TSQLiteDatabase db(p.ctx.db_path);
            db.GetTable("SELECT count(*) FROM lumo_desk");
            QFAIL("the read went through an exclusive lock");
        } catch (const ESQLiteException &e) {
            QCOMPARE(e.code(), 5);
            const QString text = store_failure_text(e);
            QVERIFY2(text.startsWith(QStringLiteral("数据库正忙，请稍后再试\n\n")),
                     qPrintable(text));
            QVERIFY2(text.contains("Error [5]") && text.contains("database is locked")
                         && text.contains("SELECT count(*) FROM lumo_desk"),
                     qPrintable(text));
        }
    }

    // A large file is checked without its order tables; damage elsewhere still stops
    // the start. Here every file counts as large.
    void largeFileCheckStillFindsDamage()
    {
        QTemporaryDir dir;
        const QString db = dir.filePath("tavira.db");
        make_database(db);
        check_database(db, 0);
        int page = 0;
        int page_size = 0;
        {
            TSQLiteDatabase d(db);
            page = d.GetTable("SELECT rootpage FROM sqlite_master WHERE name='lumo_desk_class'")
                       .FieldAsInteger(0);
            page_size = d.GetTable("PRAGMA page_size").FieldAsInteger(0);
        }
        QVERIFY(page > 1);
        spoil_file(db, qint64(page - 1) * page_size, QByteArray(100, '\xAB'));
        try {
            check_database(db, 0);
            QFAIL("a damaged table passed the check");
        } catch (const ESQLiteException &e) {
            QCOMPARE(e.code(), 11);
        }
    }

    void startRefusesAnUnusableDatabase_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("said");
        QTest::newRow("sound") << "sound" << 0 << "";
        QTest::newRow("no file yet") << "new" << 0 << "";
        QTest::newRow("not a database") << "garbage" << 26 << "数据库文件已损坏";
        QTest::newRow("damaged page") << "page" << 11 << "数据库文件已损坏";
        QTest::newRow("folder missing") << "folder" << 14 << "找不到数据库文件所在的文件夹";
        QTest::newRow("locked") << "locked" << 5 << "数据库正忙";
        QTest::newRow("read-only file") << "ro-file" << 8 << "只读";
        QTest::newRow("read-only folder") << "ro-folder" << 8 << "只读";
    }
    void startRefusesAnUnusableDatabase()
    {
        QFETCH(QString, trouble);
        QFETCH(int, code);
        QFETCH(QString, said);
        TestProgram p(false);
        QDir().mkpath(p.path("config"));
        QDir().mkpath(p.path("data"));
        QString db = p.path("data/tavira.db");
        if (trouble == "folder")
            db = p.path("share/tavira.db");
        IniFile(p.path("config/info.ini")).writeString("Data", "path", db);
        if (trouble != "new" && trouble != "folder")
            make_database(db);
        // Two backups; the newer one is named in the message about a damaged file.
        QDir().mkpath(p.path("backup"));
        QFile::copy(db, p.path("backup/manual_20240301_120000.db"));
        QFile::copy(db, p.path("backup/auto_20240304_050000.db"));

        std::unique_ptr<LockHolder> lock;
        std::optional<ReadOnlyPath> read_only;
        if (trouble == "garbage")
            spoil_file(db, -1, QByteArray("this is a note, not a database\n").repeated(200));
        if (trouble == "page")
            spoil_file(db, 2 * 4096, QByteArray(100, '\xAB'));
        if (trouble == "locked")
            lock = std::make_unique<LockHolder>(db, "EXCLUSIVE");
        if (trouble == "ro-file" || trouble == "ro-folder") {
            read_only.emplace(trouble == "ro-file" ? db : p.path("data"));
            if (!read_only->ok())
                QSKIP("this system cannot make a path read-only for this process");
        }
        const QByteArray before = contents(db);

        try {
            start_core(p.ctx, p.dir.path());
            QCOMPARE(code, 0);
            QCOMPARE(p.scalar("SELECT count(*) FROM sqlite_master WHERE type='table' AND "
                              "name LIKE 'lumo%'"),
                     QString("10"));
        } catch (const ESQLiteException &e) {
            QVERIFY2(code != 0, qPrintable(e.message()));
            QCOMPARE(e.code(), code);
            const QString text = start_failure_text(p.ctx, e);
            QVERIFY2(text.contains(said), qPrintable(text));
            QVERIFY2(text.contains(QDir::toNativeSeparators(code == 14 ? p.path("share") : db)),
                     qPrintable(text));
            QCOMPARE(text.contains("auto_20240304_050000.db"), code == 11 || code == 26);
            // The detail stays below the message.
            QVERIFY(text.endsWith(QString(e.message()).replace('\r', '\n')));
            // Nothing was created over the file or beside it, and nobody was signed in.
            QCOMPARE(contents(db), before);
            QCOMPARE(
                QDir(QFileInfo(db).absolutePath()).entryList(QDir::Files | QDir::Hidden).size(),
                QFileInfo::exists(db) ? 1 : 0);
            QVERIFY(p.ctx.account.username.isEmpty());
        }
    }

    // The configuration file refuses writes: the sign-in works for this run, and both
    // the sign-in and the sign-out say that the next start will not know of them.
    void loginThatCannotBeRemembered()
    {
        TestProgram p;
        QVERIFY(config_write_problem(p.ctx.paths).isEmpty());
        p.ctx.account.clear();
        ReadOnlyPath read_only(p.ctx.paths.ini);
        if (!read_only.ok())
            QSKIP("this system cannot make a file read-only for this process");
        const QByteArray before = contents(p.ctx.paths.ini);

        QVERIFY(
            config_write_problem(p.ctx.paths).contains(QDir::toNativeSeparators(p.ctx.paths.ini)));
        const LoginResult r = login(p.ctx, "admin", AdminInitialPassword);
        QVERIFY(r.ok);
        QVERIFY(!r.remembered);
        QCOMPARE(p.ctx.account.username, QString("admin"));
        QVERIFY(!logout(p.ctx));
        QCOMPARE(contents(p.ctx.paths.ini), before);
        QVERIFY(logout_not_remembered_text(p.ctx.paths, "admin").contains("admin"));
    }

    void profileThatCannotBeRemembered_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("remembered");
        QTest::newRow("name only: nothing to remember") << "" << true;
        QTest::newRow("new password") << "newpass1" << false;
    }
    void profileThatCannotBeRemembered()
    {
        // The password is changed in the database; the remembered login still holds the
        // old digest, so the next start asks for the password: the counter must be told.
        QFETCH(QString, password);
        QFETCH(bool, remembered);
        TestProgram p;
        ReadOnlyPath read_only(p.ctx.paths.ini);
        if (!read_only.ok())
            QSKIP("this system cannot make a file read-only for this process");
        bool kept = !remembered;
        QCOMPARE(save_profile(p.ctx, "王经理", password, &kept), QString("资料修改成功"));
        QCOMPARE(kept, remembered);
        QCOMPARE(p.scalar("SELECT truename FROM lumo_admin where id=1"), QString("王经理"));
        if (!password.isEmpty())
            QCOMPARE(login(p.ctx, "admin", password).message, QString("登录成功"));
        QVERIFY(profile_not_remembered_text(p.ctx.paths)
                    .contains(QDir::toNativeSeparators(p.ctx.paths.ini)));
    }
};

QTEST_GUILESS_MAIN(TestDatabaseTrouble)
#include "tst_database_trouble.moc"
