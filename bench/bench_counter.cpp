// The counter's quick actions on a large restaurant, each beside its floor: the
// same SQL statements the action ran (caught through SQLite's hooks), run again
// on one kept connection in this process. Prints the program's median and
// maximum, the floor, their ratio, the connections the action opened and its
// targets. bench/run_counter.sh runs it together with the start-up pair.
//
// Usage: bench_counter FOLDER            times the actions on FOLDER's data
//        (BENCH_ONLY and BENCH_REPEAT narrow and lengthen it for a profile)
//        bench_counter --generate FOLDER fills an empty program folder with the
//                                        large data set and 5,000 dishes

#include "app/context.h"
#include "app/startup.h"
#include "app/ui/forms.h"
#include "bench_support.h"
#include "board/ui/tform_main.h"
#include "ordering/ui/tform_diancan.h"
#include "scale_data.h"
#include "sql_trace.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

namespace {

constexpr int MenuDishes = 5000;

struct Row
{
    QString name;
    std::vector<double> ms;
    std::vector<double> cpu; // this thread's processor time: steadier on a busy machine
    double floor = -1;       // below 0: the action runs no SQL
    int opens = 0;
    int statements = 0;
    double target_median = 0;
    double target_max = 0; // 0: only the median has a target
};

std::vector<Row> g_rows;

double thread_cpu_ms()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// What the event loop does after a handler: deferred deletes, layout, painting.
void settle()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
}

// One recorded run (also the warm-up), then `runs` timed ones, then the floor:
// the recorded statements on one connection, as often as the action ran.
void measure(const QString &name,
             const QString &db_path,
             int runs,
             double target_median,
             double target_max,
             const std::function<void()> &work,
             const std::function<void()> &prepare = {})
{
    // For a profile: BENCH_ONLY=part of a name times only those actions (the others
    // run once, untimed, for the state they leave), BENCH_REPEAT=n runs each n times as often.
    static const QString only = qEnvironmentVariable("BENCH_ONLY");
    if (!only.isEmpty() && !name.contains(only)) {
        if (prepare)
            prepare();
        work();
        return;
    }
    runs *= std::max(1, qEnvironmentVariableIntValue("BENCH_REPEAT"));
    Row row;
    row.name = name;
    row.target_median = target_median;
    row.target_max = target_max;
    if (prepare)
        prepare();
    const sql_trace::Recording rec = sql_trace::record(work);
    row.opens = rec.opens;
    row.statements = int(rec.statements.size());
    for (int i = 0; i < runs; ++i) {
        if (prepare)
            prepare();
        QElapsedTimer t;
        const double c0 = thread_cpu_ms();
        t.start();
        work();
        row.ms.push_back(t.nsecsElapsed() / 1e6);
        row.cpu.push_back(thread_cpu_ms() - c0);
    }
    if (!rec.statements.isEmpty()) {
        sql_trace::Connection one(db_path);
        sql_trace::replay(one.db, rec.statements); // warm
        std::vector<double> floors;
        for (int i = 0; i < runs; ++i)
            floors.push_back(sql_trace::replay(one.db, rec.statements));
        row.floor = median(floors);
    }
    g_rows.push_back(row);
}

void print_rows()
{
    std::printf("%-46s %4s %9s %9s %9s %9s %7s %5s %5s  %s\n",
                "action",
                "runs",
                "median",
                "max",
                "cpu med",
                "floor",
                "ratio",
                "opens",
                "stmts",
                "target median (max), ms");
    for (const Row &r : g_rows) {
        const double med = median(r.ms);
        const double max = *std::max_element(r.ms.begin(), r.ms.end());
        const QString floor
            = r.floor < 0 ? QStringLiteral("no SQL") : QString::number(r.floor, 'f', 3);
        const QString ratio
            = r.floor <= 0 ? QStringLiteral("-") : QString::number(med / r.floor, 'f', 1);
        const bool met = med <= r.target_median && (r.target_max <= 0 || max <= r.target_max);
        const QString target
            = r.target_max <= 0 ? QString::number(r.target_median)
                                : QStringLiteral("%1 (%2)").arg(r.target_median).arg(r.target_max);
        std::printf("%-46s %4d %9.2f %9.2f %9.2f %9s %7s %5d %5d  %s %s\n",
                    qPrintable(r.name),
                    int(r.ms.size()),
                    med,
                    max,
                    median(r.cpu),
                    qPrintable(floor),
                    qPrintable(ratio),
                    r.opens,
                    r.statements,
                    qPrintable(target),
                    met ? "met" : "MISSED");
    }
}

int generate(const QString &folder)
{
    AppContext ctx;
    start_core(ctx, folder);
    if (QFileInfo(ctx.db_path).size() > 1000000) {
        std::fprintf(stderr, "%s already holds data\n", qPrintable(folder));
        return 1;
    }
    QElapsedTimer t;
    t.start();
    scale_data::generate(ctx.db_path, unix_now_secs(ctx.clock()), MenuDishes);
    std::printf("generated %s in %.1f s\n", qPrintable(ctx.db_path), t.nsecsElapsed() / 1e9);
    return 0;
}

// Takes the dishes above `keep` out of the menu (into a side table) and puts them back.
void set_menu_size(const QString &db_path, int keep)
{
    TSQLiteDatabase db(db_path);
    db.transaction([&] {
        if (db.TableExists(QStringLiteral("bench_dishes_aside"))) {
            db.ExecSQL(QStringLiteral("INSERT INTO lumo_caipin SELECT * FROM bench_dishes_aside"));
            db.ExecSQL(QStringLiteral("DROP TABLE bench_dishes_aside"));
        }
        if (keep < MenuDishes) {
            db.ExecSQL(QStringLiteral("CREATE TABLE bench_dishes_aside AS SELECT * FROM "
                                      "lumo_caipin WHERE id>?"),
                       {keep});
            db.ExecSQL(QStringLiteral("DELETE FROM lumo_caipin WHERE id>?"), {keep});
        }
    });
}

} // namespace

int main(int argc, char **argv)
{
    sql_trace::install();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() == 3 && args[1] == QLatin1String("--generate"))
        return generate(QDir(args[2]).absolutePath());
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: bench_counter [--generate] FOLDER\n");
        return 2;
    }
    const QString folder = QDir(args[1]).absolutePath();

    AppContext ctx;
    ctx.setPrompts(std::make_shared<BenchPrompts>(true));
    std::unique_ptr<Forms> forms;
    const QString a = QString::number(scale_data::ClickA);
    const QString b = QString::number(scale_data::ClickB);
    const auto new_program = [&] {
        forms.reset();
        settle();
        forms = create_forms(ctx, folder);
        forms->main->set_board_size(QSize(1920, 1080));
        forms->main->show();
        settle();
        forms->main->ClickDesklist(a);
        settle();
    };
    const QString db_path = folder + QStringLiteral("/tavira.db");

    // The ordering screen's first showing: its tiles are built once per program,
    // so every run is a new program.
    for (const int dishes : {3000, MenuDishes}) {
        set_menu_size(db_path, dishes);
        measure(
            QStringLiteral("ordering screen: first showing, %1 dishes").arg(dishes),
            db_path,
            5,
            60,
            100,
            [&] {
                forms->main->ClickDiancan();
                QApplication::processEvents();
            },
            new_program);
    }
    TForm_diancan *screen = forms->diancan;
    if (!screen->isVisible())
        std::fprintf(stderr, "warning: the ordering screen did not open\n");

    // One keystroke of the dish filter over 5,000 dishes, with the repaint.
    {
        auto *edit = screen->findChild<QLineEdit *>(QStringLiteral("edit_keyword"));
        const QStringList words{"gb", "gbjd", "qz", "xyz", "鸡丁", "牛肉1", "12"};
        std::vector<std::function<void()>> strokes;
        for (const QString &w : words) {
            for (const QChar c : w)
                strokes.push_back([edit, c] { edit->insert(QString(c)); });
            strokes.push_back([edit] { edit->clear(); });
        }
        size_t k = 0;
        measure(QStringLiteral("dish filter: one keystroke, 5,000 dishes"),
                db_path,
                3 * int(strokes.size()),
                4,
                10,
                [&] {
                    strokes[k++ % strokes.size()]();
                    QApplication::processEvents();
                });
    }
    screen->hide();
    settle();

    TForm_main *main = forms->main;
    int n = 0;
    measure(QStringLiteral("tile click, open order of 30 lines"), db_path, 20, 2, 0, [&] {
        main->ClickDesklist(++n % 2 ? b : a);
        settle();
    });
    main->ClickDesklist(ctx.desk_id); // deselect: the timer works with no table selected
    settle();
    measure(QStringLiteral("board refresh on the sync tick, 500 tables"), db_path, 20, 1, 0, [&] {
        main->sync_tick();
        settle();
    });
    measure(QStringLiteral("summary bar"), db_path, 20, 1, 0, [&] {
        main->get_tongji_info();
        settle();
    });
    forms.reset();
    set_menu_size(db_path, MenuDishes);
    print_rows();
    return 0;
}
