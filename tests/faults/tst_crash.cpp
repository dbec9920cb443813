// Power cuts: the helper program runs one write path in a loop and is killed without
// warning at random moments; after every kill the file must be sound. Set
// MIVO_FAULTS_LONG=1 for ten times as many kills.
#include "support/fault_db.h"
#include "support/testkit.h"

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
};

QTEST_GUILESS_MAIN(TestCrash)
#include "tst_crash.moc"
