#include "settings/backup.h"
#include "settings/backup_scheduler.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {

QString scalar_of(const QString &db, const QString &sql)
{
    TSQLiteDatabase d(db);
    return d.scalar(sql);
}

// Enough rows that a copy a page at a time takes many steps.
void fill(const TestProgram &p, int desks)
{
    add_desks(p, desks);
    TSQLiteDatabase db(p.ctx.db_path);
    db.transaction([&] {
        for (int i = 0; i < 400; ++i)
            db.ExecSQL("INSERT INTO lumo_orders(ordid,deskid) VALUES(?,?)",
                       {QString("ord%1").arg(i, 6, 10, QChar('0')) + QString(200, QChar('x')),
                        QString::number(i % desks + 1)});
    });
}

QDateTime at(int d, int h, int mi)
{
    return QDateTime(QDate(2024, 3, d), QTime(h, mi), Qt::UTC);
}

void touch(const QString &path)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("x");
}

} // namespace

class TestBackup : public QObject
{
    Q_OBJECT

private slots:
    void backupWhileAnotherConnectionWrites()
    {
        TestProgram p;
        fill(p, 30);
        const QString target = p.path("backup/manual_1.db");
        BackupJob job(p.ctx.db_path, target);
        job.pages_per_step = 1;
        QSignalSpy done(&job, &BackupJob::finished);
        bool wrote = false;
        connect(&job, &BackupJob::progress, this, [&](int percent) {
            if (wrote || percent >= 100)
                return;
            wrote = true;
            // Another counter commits while the copy is under way.
            TSQLiteDatabase other(p.ctx.db_path);
            other.ExecSQL(
                "INSERT INTO lumo_desk(id,bh,title,cid,stat) VALUES(900,'900','新桌',0,0)");
        });
        QVERIFY(job.start());
        QVERIFY(job.running());
        QVERIFY(done.wait(20000));
        QCOMPARE(done.first().first().toBool(), true);
        QVERIFY(wrote);
        QVERIFY(!QFile::exists(target + ".part"));
        QCOMPARE(check_backup_file(target), QString());
        QCOMPARE(scalar_of(target, "SELECT count(*) FROM lumo_desk WHERE id<=30"), QString("30"));
        QCOMPARE(scalar_of(target, "SELECT count(*) FROM lumo_orders"), QString("400"));
        QCOMPARE(scalar_of(target, "PRAGMA integrity_check"), QString("ok"));
    }

    void restoreBringsBackAndKeepsReplaced()
    {
        TestProgram p;
        fill(p, 5);
        const QString backup = p.path("backup/manual_20240305_120000.db");
        BackupJob job(p.ctx.db_path, backup);
        QVERIFY(job.run());
        const QString saved = dump(p, "lumo_desk");
        p.exec("DELETE FROM lumo_desk WHERE id>2");
        p.exec("UPDATE lumo_desk SET stat=1 WHERE id=1");
        const QString changed = dump(p, "lumo_desk");
        QVERIFY(changed != saved);

        QString aside;
        QCOMPARE(restore_backup(backup, p.ctx.db_path, at(5, 14, 7), &aside), QString());
        QCOMPARE(dump(p, "lumo_desk"), saved);
        QCOMPARE(aside, p.ctx.db_path + ".before_restore_20240305_140700");
        QCOMPARE(scalar_of(aside, "SELECT count(*) FROM lumo_desk"), QString("2"));
        QCOMPARE(scalar_of(aside, "SELECT stat FROM lumo_desk WHERE id=1"), QString("1"));
        QCOMPARE(scalar_of(p.ctx.db_path, "PRAGMA integrity_check"), QString("ok"));
    }

    void copiesAreForTheOwnerAndLeftoversGo()
    {
        TestProgram p;
        fill(p, 5);
        // What killed copies left: a backup never finished and a copy aside never finished.
        QDir().mkpath(p.path("backup"));
        const QString stale_backup = p.path("backup/manual_20240301_100000.db.part");
        const QString stale_aside = p.ctx.db_path + ".before_restore_20240301_100000.part";
        for (const QString &f : {stale_backup, stale_aside})
            QVERIFY(QFile::copy(p.ctx.db_path, f));
        const auto owner_only = [](const QString &path) {
            return (QFile::permissions(path) & QFileDevice::Permissions(0x7077))
                   == (QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        };

        const QString backup = p.path("backup/manual_20240305_120000.db");
        BackupJob job(p.ctx.db_path, backup);
        QVERIFY(job.run());
        QVERIFY(!QFile::exists(stale_backup));
        QVERIFY(owner_only(backup));

        QString aside;
        QCOMPARE(restore_backup(backup, p.ctx.db_path, at(5, 14, 7), &aside), QString());
        QVERIFY(!QFile::exists(stale_aside));
        QVERIFY(!QFile::exists(aside + ".part"));
        QCOMPARE(check_backup_file(aside), QString());
        QVERIFY(owner_only(aside));
    }

    void unsoundFilesAreRefused_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("text file") << "text"
                                   << "备份文件已损坏，不是有效的数据库文件";
        QTest::newRow("cut short") << "truncated"
                                   << "备份文件已损坏";
        QTest::newRow("damaged pages") << "damaged"
                                       << "备份文件已损坏";
        QTest::newRow("another program's database") << "foreign"
                                                    << "备份文件不是本软件的数据库";
    }
    void unsoundFilesAreRefused()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        TestProgram p;
        fill(p, 5);
        const QString file = p.path("suspect.db");
        if (kind == "text") {
            touch(file);
        } else if (kind == "foreign") {
            TSQLiteDatabase other(file);
            other.ExecSQL("CREATE TABLE notes(t TEXT)");
        } else {
            BackupJob job(p.ctx.db_path, file);
            QVERIFY(job.run());
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite));
            const qint64 size = f.size();
            if (kind == "truncated") {
                QVERIFY(f.resize(size / 2));
            } else {
                // Overwrite everything after the first page.
                f.seek(4096);
                f.write(QByteArray(int(size - 4096), '\x5a'));
            }
        }
        const QString before = dump(p, "lumo_desk") + dump(p, "lumo_orders");
        const QString problem = restore_backup(file, p.ctx.db_path, at(5, 14, 7));
        QVERIFY2(problem.startsWith(message), qPrintable(problem));
        QCOMPARE(dump(p, "lumo_desk") + dump(p, "lumo_orders"), before);
        QVERIFY(!QFile::exists(p.ctx.db_path + ".before_restore_20240305_140700"));
    }

    void dailyBackupDue_data()
    {
        QTest::addColumn<int>("on");
        QTest::addColumn<int>("hour");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<QString>("existing");
        QTest::addColumn<bool>("due");
        QTest::newRow("switched off") << 0 << 5 << at(5, 6, 0) << "" << false;
        QTest::newRow("before the hour") << 1 << 5 << at(5, 4, 59) << "" << false;
        QTest::newRow("at the hour") << 1 << 5 << at(5, 5, 0) << "" << true;
        QTest::newRow("made up later that day")
            << 1 << 5 << at(5, 22, 0) << "auto_20240304_050000.db" << true;
        QTest::newRow("already made today")
            << 1 << 5 << at(5, 9, 0) << "auto_20240305_050012.db" << false;
        QTest::newRow("manual one does not count")
            << 1 << 5 << at(5, 9, 0) << "manual_20240305_080000.db" << true;
        QTest::newRow("made before today's hour")
            << 1 << 12 << at(5, 13, 0) << "auto_20240305_010000.db" << true;
    }
    void dailyBackupDue()
    {
        QFETCH(int, on);
        QFETCH(int, hour);
        QFETCH(QDateTime, now);
        QFETCH(QString, existing);
        QFETCH(bool, due);
        QTemporaryDir dir;
        if (!existing.isEmpty())
            touch(dir.filePath(existing));
        Settings s;
        s.isautobackup = on;
        s.backuph = hour;
        QCOMPARE(automatic_backup_due(s, now, list_backups(dir.path())), due);
    }

    void schedulerRunsAtTheHourAndKeepsThirty()
    {
        TestProgram p;
        add_desks(p, 3);
        const QString folder = backup_folder(p.ctx.paths);
        QVERIFY(QDir().mkpath(folder));
        // Thirty automatic backups already: every day of February and one in January.
        for (int d = 1; d <= 29; ++d)
            touch(folder + QString("auto_202402%1_050000.db").arg(d, 2, 10, QChar('0')));
        touch(folder + "auto_20240101_050000.db");
        touch(folder + "manual_20230101_090000.db");

        p.ctx.settings.isautobackup = 1;
        p.ctx.settings.backuph = 5;
        BackupScheduler scheduler(p.ctx);
        p.clock->ms = wall_ms(2024, 3, 5, 4, 59, 0);
        QVERIFY(!scheduler.tick());

        p.clock->ms = wall_ms(2024, 3, 5, 5, 0, 30);
        QSignalSpy finished(&scheduler, &BackupScheduler::finished);
        QVERIFY(scheduler.tick());
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().at(0).toBool(), true);
        const QString made = folder + "auto_20240305_050030.db";
        QCOMPARE(check_backup_file(made), QString());
        QCOMPARE(scalar_of(made, "SELECT count(*) FROM lumo_desk"), QString("3"));

        // Thirty automatic ones kept: the oldest went, the manual one stayed.
        int automatic = 0;
        for (const BackupEntry &e : list_backups(folder))
            automatic += e.automatic ? 1 : 0;
        QCOMPARE(automatic, 30);
        QVERIFY(!QFile::exists(folder + "auto_20240101_050000.db"));
        QVERIFY(QFile::exists(folder + "manual_20230101_090000.db"));

        p.clock->ms = wall_ms(2024, 3, 5, 18, 0, 0);
        QVERIFY(!scheduler.tick());
    }

    void namesAndSizes()
    {
        QTemporaryDir dir;
        const QDateTime t = at(5, 14, 7);
        QCOMPARE(backup_file_name(dir.path(), t, false), QString("manual_20240305_140700.db"));
        touch(dir.filePath("manual_20240305_140700.db"));
        QCOMPARE(backup_file_name(dir.path(), t, false), QString("manual_20240305_140700_2.db"));
        touch(dir.filePath("manual_20240305_140700_2.db"));
        touch(dir.filePath("notes.db"));
        const QVector<BackupEntry> list = list_backups(dir.path());
        QCOMPARE(list.size(), 2);
        QCOMPARE(list.first().file_name, QString("manual_20240305_140700_2.db"));
        QCOMPARE(list.first().time, t);
        QCOMPARE(size_text(512), QString("512 B"));
        QCOMPARE(size_text(1500), QString("2 KB"));
        QCOMPARE(size_text(3 * 1024 * 1024 + 512 * 1024), QString("3.5 MB"));
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
