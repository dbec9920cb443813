#include "board/board.h"
#include "board/clearing.h"
#include "ordering/orders.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QTest>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

QList<int> shown_tops(const BoardLayout &l)
{
    QList<int> tops;
    for (int i = 0; i < l.shown.size(); ++i)
        if (l.shown[i] && !tops.contains(l.positions[i].y()))
            tops << l.positions[i].y();
    return tops;
}

} // namespace

class TestBoard : public QObject
{
    Q_OBJECT

private slots:
    void tilesPerRow_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("perRow");
        // The panel stands at W - 440; a row of n tiles needs n x 165 pixels left of it.
        QTest::newRow("1600") << 1600 << 7; // 1160 / 165
        QTest::newRow("1920") << 1920 << 8; // 1480 / 165: a ninth would run under the panel
        QTest::newRow("nine fit") << 1925 << 9;
        QTest::newRow("exactly 2") << 770 << 2;
        QTest::newRow("just below 2") << 769 << 1;
        QTest::newRow("narrow") << 500 << 0;
    }
    void tilesPerRow()
    {
        QFETCH(int, width);
        QFETCH(int, perRow);
        QCOMPARE(tiles_per_row(width), perRow);
    }

    void fortyTablesOnTwoPages()
    {
        const QStringList cids(40, "0");
        const BoardLayout one = layout_board(cids, "", 1, 36, 7);
        QVERIFY(one.any_visible);
        QCOMPARE(one.visible_count, 40);
        QCOMPARE(one.page_count, 2);
        QCOMPARE(one.shown.count(true), 36);
        QCOMPARE(shown_tops(one), (QList<int>{10, 180, 350, 520, 690, 860}));
        QCOMPARE(one.positions[0], QPoint(5, 10));
        QCOMPARE(one.positions[1], QPoint(170, 10));
        QCOMPARE(one.positions[2], QPoint(335, 10));
        QCOMPARE(one.positions[6], QPoint(995, 10));
        QCOMPARE(one.positions[7], QPoint(5, 180));
        QCOMPARE(one.positions[35], QPoint(5, 860)); // the sixth row holds one tile
        QVERIFY(!one.shown[36]);
        QVERIFY(!one.prev_enabled);
        QVERIFY(one.next_enabled);

        const BoardLayout two = layout_board(cids, "0", 2, 36, 7);
        QCOMPARE(two.shown.count(true), 4);
        for (int i = 36; i < 40; ++i)
            QCOMPARE(two.positions[i], QPoint(5 + (i - 36) * 165, 10));
        QVERIFY(two.prev_enabled);
        QVERIFY(!two.next_enabled);

        // A page beyond the last is not clamped: it is simply empty.
        const BoardLayout three = layout_board(cids, "", 3, 36, 7);
        QCOMPARE(three.shown.count(true), 0);
        QVERIFY(three.prev_enabled);
        QVERIFY(!three.next_enabled);
    }

    void areaFilterPagesOnlyItsTables()
    {
        QStringList cids;
        for (int i = 0; i < 10; ++i)
            cids << (i % 2 ? "4" : "3");
        const BoardLayout l = layout_board(cids, "4", 1, 3, 7);
        QCOMPARE(l.visible_count, 5);
        QCOMPARE(l.page_count, 2);
        QCOMPARE(
            l.shown,
            (QVector<bool>{false, true, false, true, false, true, false, false, false, false}));
        QCOMPARE(l.positions[5], QPoint(335, 10));

        const BoardLayout none = layout_board(cids, "9", 1, 3, 7);
        QVERIFY(!none.any_visible);
        QCOMPARE(none.shown.count(true), 0);
    }

    void narrowWindowAndBrokenPageSize()
    {
        const QStringList cids(5, "0");
        // Fewer than one tile per row lays 100 out per row.
        const BoardLayout wide = layout_board(cids, "", 1, 36, 0);
        QCOMPARE(wide.positions[4], QPoint(4 * 165 + 5, 10));
        // desk_perpage=0 would divide by zero; it counts as the default 36.
        const BoardLayout zero = layout_board(cids, "", 1, 0, 7);
        QCOMPARE(zero.page_count, 1);
        QCOMPARE(zero.shown.count(true), 5);
    }

    void deskRecordsAndTileTexts()
    {
        TestProgram p;
        add_desks(p, 2);
        p.exec("UPDATE lumo_desk set stat=1,nums=4,price=' 58.8 ',addtime=1709647629,cid=3,"
               "cname='大厅' where bh='02'");
        const QVector<DeskRecord> all = load_desk_records(p.ctx);
        QCOMPARE(all.size(), 2);
        QCOMPARE(all[0].text(),
                 all[0].id
                     + "@@@桌位01@@@01@@@0@@@0@@@0.0@@@0@@@0@@@"); // the column default reads "0.0"
        const DeskRecord r = desk_record(p.ctx, "'" + all[1].id + "'");
        QCOMPARE(r.text(), all[1].id + "@@@桌位02@@@02@@@1@@@4@@@ 58.8 @@@1709647629@@@3@@@大厅");
        QCOMPARE(tile_amount_text(r.bh, r.price), QString("桌02￥58.8"));
        QCOMPARE(tile_people_text(r), QString("4人"));
        QVERIFY(!desk_record(p.ctx, "999").exists());

        QVERIFY(tile_amount_green("0.0"));
        QVERIFY(tile_amount_green("0.00"));
        QVERIFY(!tile_amount_green("0"));
        QCOMPARE(desk_colour("1"), QString("#FF8888"));
        QCOMPARE(desk_colour("3"), QString("#CCCCCC"));
        QCOMPARE(desk_colour("5"), QString("#FFFFCA"));
        QCOMPARE(desk_colour("7"), QString("#CCFFCC"));
        QCOMPARE(desk_colour(""), QString("#CCFFCC"));
    }

    void orderPanelLines()
    {
        TestProgram p;
        add_desks(p, 2);
        const QString order = open_order(p, 1);
        add_line(p, order, "鱼香肉丝", "12.5", "3", "0", "99");
        add_line(p, order, "米饭", "2", "1", "8");
        for (int i = 0; i < 8; ++i)
            add_line(p, order, "啤酒", "5", "2", "3");
        // A settled order of the same table is not shown.
        p.exec("INSERT INTO lumo_orders(title,deskid,iscal) VALUES('old',1,1)");
        add_line(p, p.scalar("SELECT max(id) FROM lumo_orders"), "旧菜", "1", "1", "9");

        const QVector<PanelLine> lines = panel_lines(p.ctx, "1");
        QCOMPARE(lines.size(), 10);
        QCOMPARE(lines[0].no, QString("01"));
        QCOMPARE(lines[0].title, QString("鱼香肉丝"));
        QCOMPARE(lines[0].zfidstr, QString("微辣"));
        QCOMPARE(lines[0].oneprice, QString("12.5"));
        QCOMPARE(lines[0].quantity, QString("3"));
        QCOMPARE(lines[0].amount, QString("37.50")); // not the stored 99
        QCOMPARE(lines[0].status, QString("已下单"));
        QCOMPARE(lines[1].status, QString("已退菜"));
        QCOMPARE(lines[1].stat, QString("8"));
        QCOMPARE(lines[8].no, QString("09"));
        QCOMPARE(lines[9].no, QString("10"));
        QCOMPARE(lines[9].status, QString("已出餐"));

        QVERIFY(panel_lines(p.ctx, "2").isEmpty());
        QVERIFY(panel_lines(p.ctx, "").isEmpty());
        QCOMPARE(desk_open_order(p.ctx, "2"), NoOrderId);
        QCOMPARE(desk_open_order(p.ctx, "1"), order);
    }

    void deskInfo()
    {
        TestProgram p;
        add_desks(p, 1);
        p.exec("UPDATE lumo_desk set nums=4,addtime=1709647629,fwy='小王',ydtruename='张三',"
               "yj=100,price='37.50'");
        const DeskInfo i = desk_info(p.ctx, "1");
        QVERIFY(i.found);
        QCOMPARE(i.bh, QString("01"));
        QCOMPARE(i.addtime, QString("2024-03-05 14:07"));
        QCOMPARE(i.nums, QString("4"));
        QCOMPARE(i.fwy, QString("小王"));
        QCOMPARE(i.ydtruename, QString("张三"));
        QCOMPARE(i.yj, QString("100.0"));
        QCOMPARE(i.price, QString("37.50"));
        p.exec("UPDATE lumo_desk set addtime=0");
        QCOMPARE(desk_info(p.ctx, "1").addtime, QString());
        QVERIFY(!desk_info(p.ctx, "2").found);
        QVERIFY(!desk_info(p.ctx, "").found);
    }

    void summaryFigures()
    {
        TestProgram p; // the clock stands at 2024-03-05 14:07:09
        BoardSummary empty = board_summary(p.ctx);
        QCOMPARE(empty.total, QString("0.00"));
        QCOMPARE(empty.people, QString());
        QCOMPARE(empty.settled, QString("0.00"));
        QCOMPARE(empty.all, QString("全部：0"));

        add_desks(p, 5);
        p.exec("UPDATE lumo_desk set stat=1,nums=4,price='37.50' where id=1");
        p.exec("UPDATE lumo_desk set stat=3,nums=2,price='0.0' where id=2");
        p.exec("UPDATE lumo_desk set stat=5,price='10' where id=3");
        p.exec("UPDATE lumo_desk set stat=7 where id=4");
        const qint64 today = wall_ms(2024, 3, 5, 0, 0, 0) / 1000;
        const QString settle = "INSERT INTO lumo_orders(title,iscal,tid,price,paytime) "
                               "VALUES('o',%1,%2,%3,%4)";
        p.exec(settle.arg(1).arg(0).arg(100).arg(today));          // midnight counts
        p.exec(settle.arg(1).arg(0).arg(20.5).arg(today + 86399)); // last second counts
        p.exec(settle.arg(1).arg(0).arg(1000).arg(today - 1));     // yesterday
        p.exec(settle.arg(1).arg(0).arg(1000).arg(today + 86400)); // tomorrow
        p.exec(settle.arg(1).arg(1).arg(1000).arg(today + 60));    // a member recharge
        p.exec(settle.arg(0).arg(0).arg(1000).arg(today + 60));    // still open

        const BoardSummary s = board_summary(p.ctx);
        QCOMPARE(s.settled, QString("120.50"));
        QCOMPARE(s.unsettled, QString("47.50"));
        QCOMPARE(s.total, QString("168.00"));
        QCOMPARE(s.people, QString("6"));
        QCOMPARE(s.all, QString("全部：5"));
        QCOMPARE(s.free, QString("空闲：1"));
        QCOMPARE(s.reserved, QString("预定：1"));
        QCOMPARE(s.busy, QString("占用：4")); // open, reserved, cleaning and cleared
    }

    void clearingRefusedWhileTheOpenOrderHasLines_data()
    {
        QTest::addColumn<QString>("stat");
        QTest::newRow("ordered") << "0";
        QTest::newRow("served") << "3";
        QTest::newRow("only returned lines") << "8";
    }
    void clearingRefusedWhileTheOpenOrderHasLines()
    {
        QFETCH(QString, stat);
        TestProgram p;
        add_desks(p, 1);
        p.exec("UPDATE lumo_desk set stat=1,nums=3,price='12.00',fwy='小王'");
        add_line(p, open_order(p, 1), "鱼香肉丝", "12", "1", stat);
        QCOMPARE(clear_desk(p.ctx, "1"), QString("此桌位有未结算的订单，请先结算订单再消台"));
        QVERIFY(!clear_desk_succeeded(clear_desk(p.ctx, "1")));
        QCOMPARE(p.scalar("SELECT stat||','||nums||','||price||','||fwy FROM lumo_desk"),
                 QString("1,3,12.00,小王"));
    }

    void clearingFreesTheTableAndKeepsAnEmptyOrderOpen()
    {
        TestProgram p;
        add_desks(p, 2);
        p.exec("UPDATE lumo_desk set stat=1,nums=3,price='0.0',fwy='小王',ydtruename='张三',"
               "yj=50,addtime=1709647629,gldesk='2' where id=1");
        const QString order = open_order(p, 1);
        // Lines of a settled order of the same table do not block clearing.
        p.exec("INSERT INTO lumo_orders(title,deskid,iscal) VALUES('old',1,1)");
        add_line(p, p.scalar("SELECT max(id) FROM lumo_orders"), "旧菜", "1", "1", "9");

        const QString msg = clear_desk(p.ctx, "1");
        QCOMPARE(msg, QString("消台成功"));
        QVERIFY(clear_desk_succeeded(msg));
        QCOMPARE(p.scalar("SELECT stat||','||ydtruename||','||fwy||','||yj||','||addtime||','||"
                          "nums||','||gldesk||','||price FROM lumo_desk where id=1"),
                 QString("0,,,0.0,0,0,,0"));
        QCOMPARE(p.scalar("SELECT iscal FROM lumo_orders where id=" + order), QString("0"));
        QCOMPARE(desk_open_order(p.ctx, "1"), order);

        // A table without any order clears too; the other table is untouched.
        p.exec("UPDATE lumo_desk set stat=5 where id=2");
        QCOMPARE(clear_desk(p.ctx, "2"), QString("消台成功"));
        QCOMPARE(p.scalar("SELECT stat FROM lumo_desk where id=2"), QString("0"));
    }

    void clearingATableDeletedMeanwhileIsRefused()
    {
        // The board may still hold a table another counter has deleted: nothing is
        // freed, so success is not reported.
        TestProgram p;
        add_desks(p, 2);
        p.exec("DELETE FROM lumo_desk where id=1");
        const QString msg = clear_desk(p.ctx, "1");
        QCOMPARE(msg, QString("桌号不存在，可能已删除"));
        QVERIFY(!clear_desk_succeeded(msg));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_desk"), QString("1"));
    }

    void clearingSeesLinesAnotherCounterIsWriting()
    {
        // Another counter is writing a line into the open order while this one
        // clears the table: clearing waits for it and then refuses.
        TestProgram p;
        add_desks(p, 1);
        p.exec("UPDATE lumo_desk set stat=1,nums=2");
        const QString order = open_order(p, 1);
        std::atomic<bool> writing{false};
        QString error;
        std::thread other([&] {
            try {
                TSQLiteDatabase db(p.ctx.db_path);
                db.transaction([&] {
                    db.ExecSQL("INSERT INTO lumo_orders_detail(title,oneprice,quantity,rootid,"
                               "deskid,stat) VALUES('鱼香肉丝',12,1,?,1,0)",
                               {order});
                    writing = true;
                    std::this_thread::sleep_for(std::chrono::milliseconds(300));
                });
            } catch (const ESQLiteException &e) {
                error = e.message();
            }
            writing = true;
        });
        while (!writing)
            std::this_thread::yield();
        const QString msg = clear_desk(p.ctx, "1");
        other.join();
        QCOMPARE(error, QString());
        QCOMPARE(msg, QString("此桌位有未结算的订单，请先结算订单再消台"));
        QCOMPARE(p.scalar("SELECT stat||','||nums FROM lumo_desk"), QString("1,2"));
    }
};

QTEST_GUILESS_MAIN(TestBoard)
#include "tst_board.moc"
