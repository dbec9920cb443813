// The program's start-up as a user gets it: the same start_program as the real
// program, watched from outside its code. Copy this binary into a program folder
// (it uses its own folder, as the program does) and start it with BENCH_T0 set.
// Prints, once the board has painted:
//   shown_ms=    launch to the end of the board's first painting
//   size=        the size it painted (WxH)
//   opens=       database connections opened on the way
//   floor_ms=    the statements of the start-up again, on one kept connection
//                (not with BENCH_NO_FLOOR=1, so that only the program opens files)
// With BENCH_ORDERING=1 it then opens the ordering screen on table 3 and prints
//   peak_rss_kb= the peak resident memory with the screen open

#include "app/ui/mivo_application.h"
#include "board/ui/tform_main.h"
#include "shown_watch.h"
#include "sql_trace.h"

#include <QCoreApplication>
#include <QDir>

namespace {

void report(QWidget *window)
{
    const double shown = shown_watch::ms_since_launch();
    const sql_trace::Recording startup{sql_trace::state().opens, sql_trace::state().statements};
    sql_trace::state().recording = false;
    double floor = 0;
    if (qEnvironmentVariableIntValue("BENCH_NO_FLOOR") != 1) {
        sql_trace::Connection one(QCoreApplication::applicationDirPath()
                                  + QStringLiteral("/tavira.db"));
        floor = sql_trace::replay(one.db, startup.statements);
    }
    std::printf("shown_ms=%.2f\nsize=%dx%d\nopens=%d\nstatements=%d\nfloor_ms=%.2f\n",
                shown,
                window->width(),
                window->height(),
                startup.opens,
                int(startup.statements.size()),
                floor);
    if (qEnvironmentVariableIntValue("BENCH_ORDERING") == 1) {
        if (auto *main = qobject_cast<TForm_main *>(window)) {
            main->ClickDesklist(QStringLiteral("3"));
            main->ClickDiancan();
            QApplication::processEvents();
        }
        std::printf("peak_rss_kb=%ld\n", shown_watch::peak_rss_kb());
    }
    std::fflush(stdout);
    QCoreApplication::quit();
}

void watch()
{
    shown_watch::on_first_paint(report);
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(watch)

int main(int argc, char **argv)
{
    sql_trace::install();
    sql_trace::state().recording = true;
    return start_program(argc, argv);
}
