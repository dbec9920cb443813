#include "app/ini.h"
#include "checkout/settlement.h"
#include "ordering/diancan.h"
#include "ordering/orders.h"
#include "printing/kitchen.h"
#include "printing/print_queue.h"
#include "support/fake_printer.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

// Table 01 open, three categories (热菜 1, 凉菜 2, 主食 3) with one dish each, the
// stations 热菜 and 凉菜 on printers of their own and the kitchen printer of the
// settings (for 主食) on a third.
struct Kitchen
{
    TestProgram p;
    FakePrinter hot;
    FakePrinter cold;
    FakePrinter main;
    std::unique_ptr<PrintSpool> spool;

    Kitchen()
    {
        add_desks(p, 1);
        p.exec("UPDATE lumo_desk SET stat=1 WHERE id=1");
        p.exec("INSERT INTO lumo_caipin_class(id,title) VALUES(1,'热菜'),(2,'凉菜'),(3,'主食')");
        p.exec("INSERT INTO lumo_caipin(id,title,price,cid) VALUES(11,'宫保鸡丁',28,1),"
               "(12,'凉拌黄瓜',12,2),(13,'米饭',2,3)");
        for (FakePrinter *f : {&hot, &cold, &main})
            QVERIFY(f->start());
        p.exec(QString("INSERT INTO mivo_print_station(title,printer,cids,copies,enabled) "
                       "VALUES('热菜','%1','1',1,1),('凉菜','%2','2,9',1,1)")
                   .arg(hot.address(), cold.address()));
        p.ctx.settings.cdprintname = main.address();
        IniFile(p.ctx.paths.ini).writeString("Print", "auto_kitchen", "1");
        spool = std::make_unique<PrintSpool>(p.ctx);
        spool->set_timeout(300);
    }

    static CartItem dish(const QString &id,
                         const QString &title,
                         const QString &quantity,
                         const QString &zfidstr = {},
                         const QString &remark = {})
    {
        return CartItem{
            id, title, "10", quantity, "0", zfidstr.isEmpty() ? "" : "1", zfidstr, remark};
    }

    SubmitResult submit(const QVector<CartItem> &items) { return submit_cart(p.ctx, "1", items); }

    // Waits until the queue has nothing left to send.
    bool settle_queue()
    {
        return QTest::qWaitFor(
            [&] {
                return !spool->busy()
                       && p.scalar("SELECT count(*) FROM mivo_print_job WHERE stat IN(0,1)") == "0";
            },
            3000);
    }

    QString line_id(const QString &title) const
    {
        return p.scalar("SELECT id FROM lumo_orders_detail WHERE title='" + title + "'");
    }
};

DecodedTicket only_ticket(const FakePrinter &f)
{
    const DecodedStream d = decode_escpos(f.all());
    if (d.tickets.size() != 1) {
        qWarning() << "tickets:" << d.tickets.size();
        return {};
    }
    return d.tickets[0];
}

} // namespace

class TestKitchen : public QObject
{
    Q_OBJECT

private slots:
    void each_station_gets_its_dishes();
    void later_submits_print_only_what_is_new();
    void returned_sent_line_prints_a_return_ticket();
    void without_the_setting_nothing_is_sent();
    void printer_down_is_reported_and_prints_once_back_data();
    void printer_down_is_reported_and_prints_once_back();
    void drawer_opens_after_cash_only_data();
    void drawer_opens_after_cash_only();
};

void TestKitchen::each_station_gets_its_dishes()
{
    Kitchen k;
    QSignalSpy failed(k.spool.get(), &PrintSpool::failed);
    const SubmitResult r = k.submit({Kitchen::dish("11", "宫保鸡丁", "2", "微辣", "少放盐"),
                                     Kitchen::dish("12", "凉拌黄瓜", "1"),
                                     Kitchen::dish("13", "米饭", "3")});
    QCOMPARE(r.kind, SubmitResult::Done);
    // The lines are marked in the same write that queued them.
    QCOMPARE(k.p.scalar("SELECT group_concat(stat) FROM lumo_orders_detail"), QString("1,1,1"));
    QVERIFY(k.settle_queue());
    QCOMPARE(failed.size(), 0);

    const DecodedTicket hot = only_ticket(k.hot);
    QVERIFY(hot.initialised && hot.chinese && hot.cut);
    QVERIFY(hot.has("厨房单 · 热菜"));
    QVERIFY(hot.has("桌号：01"));
    QVERIFY(hot.has("宫保鸡丁"));
    QVERIFY(hot.has("×2"));
    QVERIFY(hot.has("做法：微辣"));
    QVERIFY(hot.has("备注：少放盐"));
    QVERIFY(hot.has("时间：2024-03-05 14:07"));
    QVERIFY(!hot.has("凉拌黄瓜"));
    QVERIFY(!hot.has("米饭"));
    for (const DecodedLine &l : hot.lines) {
        if (l.text.startsWith("桌号："))
            QVERIFY(l.bold && l.tall);
    }

    const DecodedTicket cold = only_ticket(k.cold);
    QVERIFY(cold.has("凉拌黄瓜"));
    QVERIFY(!cold.has("宫保鸡丁"));
    const DecodedTicket main = only_ticket(k.main);
    QVERIFY(main.has("厨房单 · 厨打"));
    QVERIFY(main.has("米饭"));
    QVERIFY(!main.has("宫保鸡丁"));
    QCOMPARE(k.p.scalar("SELECT group_concat(stat) FROM mivo_print_job"), QString("2,2,2"));
}

void TestKitchen::later_submits_print_only_what_is_new()
{
    Kitchen k;
    k.submit({Kitchen::dish("11", "宫保鸡丁", "2")});
    QVERIFY(k.settle_queue());
    k.hot.received.clear();

    // The same dish again with the same quantity, and a new one: only the new one.
    k.submit({Kitchen::dish("11", "宫保鸡丁", "2"), Kitchen::dish("12", "凉拌黄瓜", "1")});
    QVERIFY(k.settle_queue());
    QVERIFY(k.hot.received.isEmpty());
    QVERIFY(only_ticket(k.cold).has("凉拌黄瓜"));

    // More of a dish the kitchen has: the difference, marked as more.
    k.submit({Kitchen::dish("11", "宫保鸡丁", "3")});
    QVERIFY(k.settle_queue());
    const DecodedTicket more = only_ticket(k.hot);
    QVERIFY(more.has("宫保鸡丁（加）"));
    QVERIFY(more.has("×1"));
    k.hot.received.clear();

    // Fewer: a return ticket of the difference.
    k.submit({Kitchen::dish("11", "宫保鸡丁", "1")});
    QVERIFY(k.settle_queue());
    const DecodedTicket fewer = only_ticket(k.hot);
    QVERIFY(fewer.has("退菜单 · 热菜"));
    QVERIFY(fewer.has("×2"));

    // The manual ticket's "只打印新订单" finds nothing left to send.
    QCOMPARE(k.p.scalar("SELECT count(*) FROM lumo_orders_detail WHERE stat=0"), QString("0"));
}

void TestKitchen::returned_sent_line_prints_a_return_ticket()
{
    Kitchen k;
    k.submit({Kitchen::dish("11", "宫保鸡丁", "2", "微辣"), Kitchen::dish("12", "凉拌黄瓜", "1")});
    QVERIFY(k.settle_queue());
    k.hot.received.clear();
    k.cold.received.clear();

    QVERIFY(batch_lines(k.p.ctx, LineOp::Return, k.line_id("宫保鸡丁")));
    QVERIFY(k.settle_queue());
    const DecodedTicket back = only_ticket(k.hot);
    QVERIFY(back.has("退菜单 · 热菜"));
    QVERIFY(back.has("宫保鸡丁"));
    QVERIFY(back.has("×2"));
    QVERIFY(back.has("做法：微辣"));
    QVERIFY(k.cold.received.isEmpty());

    // Returned once is returned: no second return ticket.
    k.hot.received.clear();
    QVERIFY(batch_lines(k.p.ctx, LineOp::Return, k.line_id("宫保鸡丁")));
    QVERIFY(k.settle_queue());
    QVERIFY(k.hot.received.isEmpty());

    // A line the kitchen never got is returned without a ticket.
    add_line(k.p, get_desk_order_id(k.p.ctx, "1"), "外卖盒", "1", "1");
    QVERIFY(batch_lines(k.p.ctx, LineOp::Delete, k.line_id("外卖盒")));
    QVERIFY(k.settle_queue());
    QCOMPARE(k.p.scalar("SELECT count(*) FROM mivo_print_job WHERE kind='return'"), QString("1"));
}

void TestKitchen::without_the_setting_nothing_is_sent()
{
    Kitchen k;
    IniFile(k.p.ctx.paths.ini).writeString("Print", "auto_kitchen", "0");
    QCOMPARE(k.submit({Kitchen::dish("11", "宫保鸡丁", "2")}).kind, SubmitResult::Done);
    QCOMPARE(k.p.scalar("SELECT stat FROM lumo_orders_detail"), QString("0"));
    QCOMPARE(k.p.scalar("SELECT count(*) FROM mivo_print_job"), QString("0"));
    QVERIFY(batch_lines(k.p.ctx, LineOp::Return, k.line_id("宫保鸡丁")));
    QCOMPARE(k.p.scalar("SELECT count(*) FROM mivo_print_job"), QString("0"));
}

void TestKitchen::printer_down_is_reported_and_prints_once_back_data()
{
    QTest::addColumn<bool>("silent"); // refuses otherwise
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("reprint");
    QTest::newRow("refused") << false << "连接被拒绝" << false;
    QTest::newRow("silent past the timeout") << true << "打印机没有响应（超时）" << true;
}

void TestKitchen::printer_down_is_reported_and_prints_once_back()
{
    QFETCH(bool, silent);
    QFETCH(bool, reprint);
    Kitchen k;
    if (silent)
        k.hot.mode = FakePrinter::Silent;
    else
        k.hot.stop();
    QSignalSpy failed(k.spool.get(), &PrintSpool::failed);

    QElapsedTimer clock;
    clock.start();
    QCOMPARE(
        k.submit({Kitchen::dish("11", "宫保鸡丁", "2"), Kitchen::dish("12", "凉拌黄瓜", "1")}).kind,
        SubmitResult::Done);
    // The submit does not wait for any printer.
    QVERIFY(clock.elapsed() < 250);
    QTRY_COMPARE_WITH_TIMEOUT(failed.size(), 1, 3000);
    QFETCH(QString, reason);
    QCOMPARE(failed.at(0).at(1).toString(), "厨房打印机“热菜”无法连接：" + reason);
    // The other station is not held up by the one that is down.
    QVERIFY(k.settle_queue());
    QVERIFY(only_ticket(k.cold).has("凉拌黄瓜"));
    const QString job = failed.at(0).at(0).toString();
    const QVector<PrintJob> kept = read_print_jobs(k.p.ctx);
    QCOMPARE(kept.size(), 1);
    QCOMPARE(kept[0].id, job);
    QCOMPARE(kept[0].state, JobState::Failed);
    QCOMPARE(kept[0].error, reason);

    // Back again: printed once, as a reprint when the first try may have printed.
    k.hot.received.clear();
    k.hot.mode = FakePrinter::Online;
    if (!silent)
        QVERIFY(k.hot.start());
    QVERIFY(retry_print_job(k.p.ctx, job));
    QVERIFY(k.settle_queue());
    QCOMPARE(failed.size(), 1);
    const DecodedTicket back = only_ticket(k.hot);
    QVERIFY(back.has("宫保鸡丁"));
    QCOMPARE(back.has("【补打】"), reprint);
    QVERIFY(read_print_jobs(k.p.ctx).isEmpty());
    // A printed job is not put back.
    QVERIFY(!retry_print_job(k.p.ctx, job));
}

void TestKitchen::drawer_opens_after_cash_only_data()
{
    QTest::addColumn<QString>("paytype");
    QTest::addColumn<bool>("setting");
    QTest::addColumn<int>("pulses");
    QTest::newRow("cash") << "5" << true << 1;
    QTest::newRow("bank card") << "6" << true << 0;
    QTest::newRow("cash, setting off") << "5" << false << 0;
}

void TestKitchen::drawer_opens_after_cash_only()
{
    QFETCH(QString, paytype);
    QFETCH(bool, setting);
    Kitchen k;
    FakePrinter receipt;
    QVERIFY(receipt.start());
    k.p.ctx.settings.kdprintname = receipt.address();
    set_cash_drawer(k.p.ctx, setting);
    k.submit({Kitchen::dish("11", "宫保鸡丁", "1")});
    QVERIFY(k.settle_queue());
    QVERIFY(receipt.received.isEmpty()); // nothing before the money is in

    SettleRequest r;
    r.order_id = get_desk_order_id(k.p.ctx, "1");
    r.paytype = paytype;
    QVERIFY(settle_order(k.p.ctx, r).ok());
    QVERIFY(k.settle_queue());
    QFETCH(int, pulses);
    QCOMPARE(decode_escpos(receipt.all()).drawer_pulses, pulses);
}

QTEST_GUILESS_MAIN(TestKitchen)
#include "tst_kitchen.moc"
