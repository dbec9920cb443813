// The takings report on the large restaurant's data (about 100,000 settled orders,
// a million order lines): how long the owner waits for a day's and a month's figures.
//
// Usage: bench_takings [program-folder]   (a given folder is kept afterwards)

#include "app/context.h"
#include "app/helpers.h"
#include "app/startup.h"
#include "bench_support.h"
#include "reports/takings.h"
#include "scale_data.h"
#include "store/sqlite_db.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

void time_report(const QString &db_path, const char *what, const Period &period, double target)
{
    TakingsReport r = takings_report(db_path, period); // warm-up
    std::vector<double> ms, cpu;
    for (int run = 0; run < 10; ++run) {
        QElapsedTimer t;
        const std::clock_t c = std::clock();
        t.start();
        r = takings_report(db_path, period);
        ms.push_back(t.nsecsElapsed() / 1e6);
        cpu.push_back(double(std::clock() - c) * 1000.0 / CLOCKS_PER_SEC);
    }
    std::sort(ms.begin(), ms.end());
    std::sort(cpu.begin(), cpu.end());
    // The processor time beside the wall time: on a busy machine the two differ.
    std::printf("%-34s median %7.1f ms (cpu %7.1f ms)  max %7.1f ms  (target %.0f ms)  "
                "%lld orders, %lld dishes, total %.2f\n",
                what,
                ms[ms.size() / 2],
                cpu[cpu.size() / 2],
                ms.back(),
                target,
                static_cast<long long>(r.orders),
                static_cast<long long>(r.dishes.size()),
                r.total);
}

void print_plan(TSQLiteDatabase &db, const QString &sql, const SqlParams &params)
{
    TSQLiteTable t = db.GetTable(QStringLiteral("EXPLAIN QUERY PLAN ") + sql, params);
    for (; !t.isEof(); t.Next())
        std::printf("    %s\n", qPrintable(t.value(QStringLiteral("detail"))));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    AppContext ctx;
    start_bench(ctx, argc, argv);
    const qint64 now = unix_now_secs(ctx.clock());
    if (QFileInfo(ctx.db_path).size() < 1000000) {
        QElapsedTimer gen;
        gen.start();
        scale_data::generate(ctx.db_path, now);
        std::printf("generated in %.1f s\n", gen.nsecsElapsed() / 1e9);
    }
    {
        TSQLiteDatabase db(ctx.db_path);
        std::printf("%s orders, %s order lines, %.1f MB\n",
                    qPrintable(db.scalar("SELECT count(*) FROM lumo_orders")),
                    qPrintable(db.scalar("SELECT count(*) FROM lumo_orders_detail")),
                    QFileInfo(ctx.db_path).size() / 1048576.0);
        const Period month = named_period(PeriodKind::ThisMonth, now);
        std::printf("query plan of the dishes sold:\n");
        print_plan(db,
                   "SELECT A2.title,count(*) FROM lumo_orders AS A1 JOIN lumo_orders_detail AS A2 "
                   "ON A2.rootid=A1.id WHERE A1.iscal=1 AND A1.paytime>=? AND A1.paytime<? AND "
                   "+A1.tid=0 GROUP BY A2.caipinid,A2.title,A2.stat=8",
                   {month.from, month.to});
    }
    std::fflush(stdout);

    time_report(ctx.db_path, "今天", named_period(PeriodKind::Today, now), 200);
    time_report(ctx.db_path, "本月", named_period(PeriodKind::ThisMonth, now), 200);
    // A whole month of business whatever day of the month it is.
    time_report(ctx.db_path, "the last 30 days", free_period(now - 30 * 86400, now), 200);
    time_report(ctx.db_path, "the whole year (for scale)", free_period(0, now), 0);
    return 0;
}
