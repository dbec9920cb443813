// Times printing a receipt of 200 lines: reading the order, composing the print
// document and rendering it on the recording device (no print system), as
// print_receipt does when the cashier presses "客打".

#include "app/startup.h"
#include "bench_support.h"
#include "printing/order_prints.h"
#include "printing/recording_device.h"
#include "store/sqlite_db.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

int main()
{
    constexpr int kLines = 200;
    constexpr int kRounds = 30;

    QTemporaryDir dir;
    AppContext ctx;
    ctx.setPrompts(std::make_shared<BenchPrompts>(true));
    start_core(ctx, dir.path());
    auto device = std::make_shared<RecordingPrintDevice>();
    device->installed = {QStringLiteral("Receipt_80mm")};
    ctx.setPrintDevice(device);
    ctx.settings.kdprintname = QStringLiteral("Receipt");
    ctx.settings.is_shopaddress = ctx.settings.is_shoptel = 1;
    {
        TSQLiteDatabase db(ctx.db_path);
        db.transaction([&] {
            db.ExecSQL(
                QStringLiteral("INSERT INTO lumo_desk(title,bh,sort) VALUES('桌位01','01',1)"));
            db.ExecSQL(
                QStringLiteral("INSERT INTO lumo_orders(title,deskid,iscal,stat,allprice,price) "
                               "VALUES('订单名称',1,0,1,4321.5,4321.5)"));
            for (int i = 0; i < kLines; ++i)
                db.ExecSQL(
                    QStringLiteral("INSERT INTO lumo_orders_detail(title,rootid,oneprice,quantity,"
                                   "stat,zfidstr,remark) VALUES(?,1,?,?,?,'微辣,少油','不要葱')"),
                    {QStringLiteral("招牌水煮鱼%1号").arg(i),
                     18.5 + i,
                     1 + i % 4,
                     i % 9 == 0 ? 8 : 0});
        });
    }

    std::vector<qint64> ns;
    for (int round = 0; round < kRounds; ++round) {
        device->calls.clear();
        device->texts.clear();
        QElapsedTimer timer;
        timer.start();
        const PrintOutcome outcome = print_receipt(ctx,
                                                   ctx.settings.shopname,
                                                   QStringLiteral("01"),
                                                   QStringLiteral("1"),
                                                   QStringLiteral("0"));
        ns.push_back(timer.nsecsElapsed());
        if (outcome != PrintOutcome::Printed || device->texts.size() < 3 * kLines) {
            std::fprintf(stderr, "receipt not printed\n");
            return 1;
        }
    }
    std::sort(ns.begin(), ns.end());
    std::printf("receipt of %d lines, compose + render (recording device): median %.2f ms, "
                "worst %.2f ms over %d rounds (target < 20 ms)\n",
                kLines,
                ns[ns.size() / 2] / 1e6,
                ns.back() / 1e6,
                kRounds);
    return 0;
}
