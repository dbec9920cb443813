// A manual backup of a large database while the table board keeps refreshing:
// how long the backup takes and the longest time the event loop was held up
// during it (a cashier's click waits that long at most).
//
// Usage: bench_backup PROGRAM-FOLDER   (a folder that bench_scale filled and kept)

#include "app/ui/forms.h"
#include "bench_support.h"
#include "board/ui/tform_main.h"
#include "settings/backup.h"
#include "settings/backup_scheduler.h"
#include "settings/ui/tform_backup.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_backup PROGRAM-FOLDER (filled by bench_scale)\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    AppContext ctx;
    ctx.setPrompts(std::make_shared<BenchPrompts>(true));
    std::unique_ptr<Forms> forms = create_forms(ctx, folder);
    const double mb = QFileInfo(ctx.db_path).size() / 1048576.0;
    if (mb < 1) {
        std::fprintf(stderr,
                     "%s holds no large database; run bench_scale on it first\n",
                     qPrintable(folder));
        return 1;
    }
    TForm_main *main = forms->main;
    main->set_board_size(QSize(1920, 1080));
    main->show();
    QApplication::processEvents();

    // The board's refresh alone, for comparison.
    QElapsedTimer t;
    double refresh_max = 0;
    for (int i = 0; i < 10; ++i) {
        t.start();
        main->reload_desk();
        refresh_max = std::max(refresh_max, t.nsecsElapsed() / 1e6);
    }

    // The board refreshes every 200 ms; a 1 ms timer measures the gaps of the loop.
    QTimer refresh;
    refresh.setInterval(200);
    QObject::connect(&refresh, &QTimer::timeout, main, &TForm_main::reload_desk);
    QElapsedTimer gap;
    double longest = 0;
    QTimer probe;
    probe.setInterval(1);
    QObject::connect(&probe, &QTimer::timeout, [&] {
        longest = std::max(longest, gap.nsecsElapsed() / 1e6);
        gap.start();
    });

    BackupScheduler *scheduler = forms->backup->scheduler();
    bool done = false;
    bool ok = false;
    QObject::connect(scheduler, &BackupScheduler::finished, [&](bool good, const QString &msg) {
        done = true;
        ok = good;
        if (!good)
            std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
    QElapsedTimer total;
    total.start();
    gap.start();
    refresh.start();
    probe.start();
    BackupJob *job = scheduler->backup_now(false);
    if (!job)
        return 1;
    const QString target = job->target();
    while (!done)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double secs = total.nsecsElapsed() / 1e9;
    probe.stop();
    refresh.stop();

    std::printf("database %.1f MB; backup %s in %.2f s (%.1f MB/s)\n",
                mb,
                ok ? "written" : "FAILED",
                secs,
                mb / secs);
    std::printf("longest pause of the event loop during the backup: %.1f ms "
                "(board refresh alone: at most %.1f ms)\n",
                longest,
                refresh_max);
    std::printf("backup sound: %s\n",
                check_backup_file(target).isEmpty() ? "yes (integrity_check ok)" : "NO");
    QFile::remove(target);
    return ok ? 0 : 1;
}
