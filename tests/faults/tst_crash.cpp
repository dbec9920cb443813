// Power cuts: the helper program runs one write path in a loop and is killed without
// warning at random moments; after every kill the file must be sound. Set
// MIVO_FAULTS_LONG=1 for ten times as many kills.
#include "settings/backup.h"
#include "store/sqlite_db.h"
#include "support/fault_db.h"
#include "support/testkit.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

class TestCrash : public QObject
{
    Q_OBJECT

private slots:
    void killedAnywhereLeavesASoundFile_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *path :
             {"open", "submit", "transfer", "price", "settle", "recharge", "parts", "merge"})
            QTest::newRow(path) << QString::fromLatin1(path);
    }
    void killedAnywhereLeavesASoundFile()
    {
        QFETCH(QString, path);
        const bool long_run = qEnvironmentVariableIntValue("MIVO_FAULTS_LONG") != 0;
        const int kills = long_run ? 170 : 17;
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator rng(seed);

        TestProgram p;
        seed_fault_fixture(p, 6, 30);
        const QString journal = p.ctx.db_path + QStringLiteral("-journal");
        int operations = 0;
        int mid_write = 0;
        QStringList violations;
        for (int k = 0; k < kills; ++k) {
            FaultDriver driver(p.ctx.db_path,
                               {QStringLiteral("crash"), path, QString::number(seed + quint32(k))});
            QVERIFY2(driver.waitReady(), qPrintable(driver.err));
            QThread::msleep(rng.bounded(1, 200));
            // Still at work: it never stops by itself, so an end here is a failure of its own.
            QVERIFY2(
                driver.process.state() == QProcess::Running,
                qPrintable(
                    QStringLiteral("the %1 path stopped by itself: %2").arg(path, driver.err)));
            driver.kill();
            operations += int(driver.out.count(QChar('.')));
            if (QFileInfo(journal).size() > 0)
                ++mid_write; // a transaction was cut off; the next opening rolls it back
            const QStringList bad = check_invariants(p.ctx.db_path);
            if (!bad.isEmpty())
                violations << QStringLiteral("after kill %1: %2").arg(k + 1).arg(bad.join("; "));
        }
        qInfo("path %s: %d kills (%d in the middle of a write), %d operations finished, "
              "%d invariant violations, seed %u",
              qPrintable(path),
              kills,
              mid_write,
              operations,
              int(violations.size()),
              seed);
        QVERIFY2(violations.isEmpty(), qPrintable(violations.join('\n')));
        // The kills must have hit a path that was writing, not one stuck at its start.
        QVERIFY(operations > 0);
    }

    // A restore killed while it puts the current file aside leaves no file under the
    // aside's name that is not a whole database, and the next restore clears the rest.
    void restoreKilledLeavesNoFalseCopy()
    {
        const bool long_run = qEnvironmentVariableIntValue("MIVO_FAULTS_LONG") != 0;
        const int kills = long_run ? 300 : 30;
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator rng(seed);
        TestProgram p;
        seed_fault_fixture(p, 6, 30);
        {
            // Large enough that copying it aside takes a while.
            TSQLiteDatabase db(p.ctx.db_path);
            db.transaction([&] {
                for (int i = 0; i < 600; ++i)
                    db.ExecSQL("INSERT INTO lumo_orders(ordid,deskid,tid) VALUES(?,0,9)",
                               {QString(300, QChar('x')) + QString::number(i)});
            });
        }
        QDir().mkpath(p.path("backup"));
        BackupJob backup(p.ctx.db_path, p.path("backup/restore.db"));
        QVERIFY(backup.run());
        int operations = 0;
        QStringList bad;
        for (int k = 0; k < kills; ++k) {
            FaultDriver driver(
                p.ctx.db_path,
                {QStringLiteral("crash"), "restore", QString::number(seed + quint32(k))});
            QVERIFY2(driver.waitReady(), qPrintable(driver.err));
            QThread::msleep(rng.bounded(1, 400));
            driver.kill();
            operations += int(driver.out.count(QChar('.')));
            for (const QFileInfo &f :
                 QDir(p.dir.path()).entryInfoList({"tavira.db.before_restore_*"}))
                if (!f.fileName().contains(".part")
                    && !check_backup_file(f.absoluteFilePath()).isEmpty())
                    bad << QStringLiteral("after kill %1: %2").arg(k + 1).arg(f.fileName());
        }
        QString aside;
        QCOMPARE(restore_backup(p.path("backup/restore.db"),
                                p.ctx.db_path,
                                QDateTime(QDate(2030, 1, 1), QTime(0, 0), Qt::UTC),
                                &aside),
                 QString());
        qInfo("restore: %d kills, %d restores finished, %d false copies, seed %u",
              kills,
              operations,
              int(bad.size()),
              seed);
        QVERIFY2(bad.isEmpty(), qPrintable(bad.join('\n')));
        QCOMPARE(QDir(p.dir.path()).entryList({"*.part"}), QStringList());
        QCOMPARE(check_backup_file(aside), QString());
        QVERIFY(operations > 0);
    }

    // The demonstration tables and dishes come and go together, whenever the program is
    // killed: tables without dishes would never be offered the dishes again.
    void demonstrationDataWholeOrNone()
    {
        const bool long_run = qEnvironmentVariableIntValue("MIVO_FAULTS_LONG") != 0;
        const int kills = long_run ? 1000 : 100;
        const quint32 seed = QRandomGenerator::global()->generate();
        QRandomGenerator rng(seed);
        TestProgram p;
        int operations = 0;
        int half = 0;
        QStringList seen;
        for (int k = 0; k < kills; ++k) {
            FaultDriver driver(
                p.ctx.db_path,
                {QStringLiteral("crash"), "demo", QString::number(seed + quint32(k))});
            QVERIFY2(driver.waitReady(), qPrintable(driver.err));
            QThread::msleep(rng.bounded(1, 40));
            QVERIFY2(driver.process.state() == QProcess::Running, qPrintable(driver.err));
            driver.kill();
            operations += int(driver.out.count(QChar('.')));
            const QString state
                = p.scalar("SELECT (SELECT count(*) FROM lumo_desk WHERE istest=1)||'/'||"
                           "(SELECT count(*) FROM lumo_caipin WHERE istest=1)");
            if (state != "0/0" && state != "20/22") {
                ++half;
                seen << QStringLiteral("after kill %1: %2 tables/dishes").arg(k + 1).arg(state);
            }
        }
        qInfo("demonstration data: %d kills, %d operations finished, %d half-written, seed %u",
              kills,
              operations,
              half,
              seed);
        QVERIFY2(seen.isEmpty(), qPrintable(seen.join('\n')));
        QVERIFY(operations > 0);
    }
};

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
