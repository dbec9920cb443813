// Times the table board on a large restaurant: load_desk with its layout pass for
// 500 tables, and selecting a tile whose open order has 30 lines.

#include "app/ui/forms.h"
#include "bench_support.h"
#include "board/ui/tform_main.h"
#include "store/sqlite_db.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void fill(const QString &db_path, int tables, int lines)
{
    TSQLiteDatabase db(db_path);
    db.transaction([&] {
        for (int k = 1; k <= 5; ++k)
            db.ExecSQL("INSERT INTO lumo_desk_class(title,sort) VALUES(?,?)",
                       {QStringLiteral("区域%1").arg(k), k});
        for (int i = 1; i <= tables; ++i)
            db.ExecSQL("INSERT INTO lumo_desk(title,bh,sort,cid,cname,stat,nums,price,addtime) "
                       "VALUES(?,?,?,?,?,?,?,?,?)",
                       {QStringLiteral("桌位%1").arg(i),
                        QStringLiteral("%1").arg(i, 3, 10, QChar('0')),
                        i,
                        i % 5 + 1,
                        QStringLiteral("区域%1").arg(i % 5 + 1),
                        i % 3 ? 0 : 1,
                        i % 3 ? 0 : 4,
                        i % 3 ? QStringLiteral("0.0") : QStringLiteral("128.50"),
                        i % 3 ? 0 : 1709647629});
        for (int desk : {1, 2}) {
            db.ExecSQL("INSERT INTO lumo_orders(title,deskid,iscal,stat) VALUES('o',?,0,1)",
                       {desk});
            const qint64 order = db.GetLastInsertRowID();
            for (int l = 0; l < lines; ++l)
                db.ExecSQL("INSERT INTO lumo_orders_detail(title,rootid,deskid,oneprice,quantity,"
                           "price,stat,zfidstr) VALUES(?,?,?,?,?,?,?,?)",
                           {QStringLiteral("菜品%1").arg(l),
                            order,
                            desk,
                            12.5 + l,
                            1 + l % 3,
                            0.0,
                            l % 4,
                            QStringLiteral("微辣,少油")});
        }
    });
}

struct Figures
{
    double min, median;
};

// Times work; between runs (untimed) does what the event loop would.
template<class F, class G> Figures measure(int runs, F &&work, G &&between)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(t.nsecsElapsed() / 1e6);
        between();
    }
    std::sort(ms.begin(), ms.end());
    return {ms.front(), ms[ms.size() / 2]};
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    AppContext ctx;
    ctx.setPrompts(std::make_shared<BenchPrompts>(false));
    auto forms = create_forms(ctx, dir.path());
    TForm_main *main = forms->main;
    fill(ctx.db_path, 500, 30);
    main->set_board_size(QSize(1920, 1080));
    main->show();

    // Each run ends with the event processing that follows a click in the program:
    // polishing the new tiles, freeing the old ones, painting.
    const auto settle = [] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    };
    settle();
    const Figures load = measure(
        15, [&] { main->load_desk(); }, settle);
    const Figures loadAndEvents = measure(
        15,
        [&] {
            main->load_desk();
            settle();
        },
        [] {});
    // Alternate between two tables with 30 lines each: every click selects.
    int n = 0;
    const Figures click = measure(
        40, [&] { main->ClickDesklist(++n % 2 ? "1" : "2"); }, settle);
    const Figures clickAndEvents = measure(
        40,
        [&] {
            main->ClickDesklist(++n % 2 ? "1" : "2");
            settle();
        },
        [] {});

    std::printf("board: 500 tables, page size %d, %d tiles per row\n",
                ctx.settings.desk_perpage,
                main->tiles_per_row());
    std::printf("load_desk + layout pass:                 min %7.2f ms  median %7.2f ms\n",
                load.min,
                load.median);
    std::printf("  with the events that follow it:        min %7.2f ms  median %7.2f ms\n",
                loadAndEvents.min,
                loadAndEvents.median);
    std::printf("tile click, open order of 30 lines:      min %7.2f ms  median %7.2f ms\n",
                click.min,
                click.median);
    std::printf("  with the events that follow it:        min %7.2f ms  median %7.2f ms\n",
                clickAndEvents.min,
                clickAndEvents.median);
    return 0;
}
