#include "reports/orders_fixture.h"
#include "reports/orders_list.h"
#include "support/fixtures.h"

#include <QTest>

namespace {

// The titles of one page, in the order shown.
QStringList titles(const ListPage &page)
{
    QStringList out;
    for (int r = 0; r < page.rows.size(); ++r)
        out << page.cell(r, "title");
    return out;
}

} // namespace

class TestOrdersList : public QObject
{
    Q_OBJECT

private slots:
    void paging_data()
    {
        QTest::addColumn<int>("orders");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("numbers"); // first and last row number shown
        QTest::addColumn<QStringList>("shown");   // first and last title shown
        QTest::newRow("none") << 0 << 1 << 0 << QStringList{} << QStringList{};
        QTest::newRow("one full page")
            << 20 << 1 << 1 << QStringList{"1", "20"} << QStringList{"第20单", "第1单"};
        QTest::newRow("one over a page")
            << 21 << 2 << 2 << QStringList{"21", "21"} << QStringList{"第1单", "第1单"};
        QTest::newRow("45: first page newest")
            << 45 << 1 << 3 << QStringList{"1", "20"} << QStringList{"第45单", "第26单"};
        QTest::newRow("45: middle page")
            << 45 << 2 << 3 << QStringList{"21", "40"} << QStringList{"第25单", "第6单"};
        QTest::newRow("45: last page")
            << 45 << 3 << 3 << QStringList{"41", "45"} << QStringList{"第5单", "第1单"};
        QTest::newRow("70: a full page of the back half")
            << 70 << 3 << 4 << QStringList{"41", "60"} << QStringList{"第30单", "第11单"};
        QTest::newRow("beyond the last page") << 45 << 4 << 3 << QStringList{} << QStringList{};
    }
    void paging()
    {
        QFETCH(int, orders);
        QFETCH(int, page);
        QFETCH(int, pages);
        QFETCH(QStringList, numbers);
        QFETCH(QStringList, shown);
        TestProgram p;
        add_orders(p, orders);
        const ListPage list = read_orders_page(p.ctx, QString(), page);
        QCOMPARE(list.records, orders);
        QCOMPARE(list.pages, pages);
        const int n = int(list.rows.size());
        QStringList gotNumbers, gotShown;
        if (n > 0) {
            gotNumbers << order_list_row(list, 0).number << order_list_row(list, n - 1).number;
            gotShown << titles(list).first() << titles(list).last();
        }
        QCOMPARE(gotNumbers, numbers);
        QCOMPARE(gotShown, shown);
        // Every row of a page is the next older order.
        for (int r = 1; r < n; ++r)
            QVERIFY(list.cell(r, "id").toInt() < list.cell(r - 1, "id").toInt());
    }

    void searchByWholeOrderNumber_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("whole number") << "ORD007" << QStringList{"第7单"};
        QTest::newRow("blanks and quotes are dropped") << " 'ORD0'07' " << QStringList{"第7单"};
        QTest::newRow("part of a number") << "ORD00" << QStringList{};
        QTest::newRow("lower case") << "ord007" << QStringList{};
        QTest::newRow("unknown") << "NOPE" << QStringList{};
    }
    void searchByWholeOrderNumber()
    {
        QFETCH(QString, keyword);
        QFETCH(QStringList, found);
        TestProgram p;
        add_orders(p, 25);
        const ListPage list = read_orders_page(p.ctx, keyword, 1);
        QCOMPARE(titles(list), found);
        QCOMPARE(list.records, int(found.size()));
        QCOMPARE(list.pages, found.isEmpty() ? 0 : 1);
    }

    void rowCells_data()
    {
        QTest::addColumn<int>("tid");
        QTest::addColumn<int>("iscal");
        QTest::addColumn<int>("stat");
        QTest::addColumn<int>("paytype");
        QTest::addColumn<QString>("paid");
        QTest::addColumn<QString>("payname");
        QTest::addColumn<QString>("kind");
        QTest::newRow("open order") << 0 << 0 << 0 << 0 << "0.00"
                                    << "未支付"
                                    << "点餐";
        QTest::newRow("settled, stat 1") << 0 << 1 << 1 << 5 << "88.50"
                                         << "现金"
                                         << "点餐";
        QTest::newRow("settled, table reserved since") << 0 << 1 << 3 << 6 << "88.50"
                                                       << "银行卡"
                                                       << "点餐";
        QTest::newRow("settled from the balance") << 0 << 1 << 0 << 9 << "88.50"
                                                  << "余额支付"
                                                  << "点餐";
        QTest::newRow("pending recharge") << 1 << 0 << 0 << 1 << "0.00"
                                          << "微信在线"
                                          << "充值";
        QTest::newRow("paid recharge") << 1 << 0 << 1 << 5 << "88.50"
                                       << "现金"
                                       << "充值";
    }
    void rowCells()
    {
        QFETCH(int, tid);
        QFETCH(int, iscal);
        QFETCH(int, stat);
        QFETCH(int, paytype);
        TestProgram p;
        add_desks(p, 1);
        OrderSpec o;
        o.ordid = "A1";
        o.deskid = tid == 1 ? 0 : 1;
        o.tid = tid;
        o.iscal = iscal;
        o.stat = stat;
        o.paytype = paytype;
        o.allprice = 100;
        o.price = 88.5;
        o.balance = 11.5;
        o.yj = "50";
        o.nums = 4;
        o.addtime = wall_ms(2024, 3, 5, 14, 7, 9) / 1000;
        add_order(p, o);
        const OrderListRow r = order_list_row(read_orders_page(p.ctx, QString(), 1), 0);
        QTEST(r.paid, "paid");
        QTEST(r.paytype, "payname");
        QTEST(r.kind, "kind");
        QCOMPARE(r.number, QString("1"));
        QCOMPARE(r.ordid, QString("A1"));
        QCOMPARE(r.addtime, QString("2024-03-05 14:07"));
        QCOMPARE(r.allprice, QString("100.00"));
        QCOMPARE(r.balance, QString("11.50"));
        QCOMPARE(r.yj, QString("50"));
        QCOMPARE(r.nums, QString("4"));
        QCOMPARE(r.deskno, tid == 1 ? QString() : QString("01"));
    }

    // An order outlives its table: it still shows, with its table id.
    void orderOfADeletedTable()
    {
        TestProgram p;
        add_desks(p, 2);
        OrderSpec o;
        o.deskid = 2;
        o.ordid = "GONE";
        add_order(p, o);
        o.deskid = 1;
        o.ordid = "HERE";
        add_order(p, o);
        p.exec("DELETE FROM lumo_desk WHERE id=2");
        const ListPage list = read_orders_page(p.ctx, QString(), 1);
        QCOMPARE(list.records, 2);
        const OrderListRow gone = order_list_row(list, 1);
        QCOMPARE(gone.ordid, QString("GONE"));
        QCOMPARE(gone.deskid, QString("2"));
        QCOMPARE(gone.deskno, QString());
        QCOMPARE(order_list_row(list, 0).deskno, QString("01"));
    }

    void linesOfAnOrder()
    {
        TestProgram p;
        add_desks(p, 1);
        const QString order = open_order(p, 1);
        const QString other = open_order(p, 1);
        add_line(p, order, "宫保鸡丁", "18.5", "2", "0", "37");
        add_line(p, other, "可乐", "5", "1");
        add_line(p, order, "米饭", "2.5", "3", "8"); // returned, still listed
        add_line(p, order, "茶位", "1.5", "3", "3");
        const QVector<ShownLine> lines = read_shown_lines(p.ctx, order);
        QStringList got;
        for (const ShownLine &l : lines)
            got << QStringList{l.title, l.oneprice, l.quantity, l.amount}.join('|');
        QCOMPARE(got, QStringList({"宫保鸡丁|18.5|2|37.00", "米饭|2.5|3|7.50", "茶位|1.5|3|4.50"}));
        QVERIFY(read_shown_lines(p.ctx, QString()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestOrdersList)
#include "tst_orders_list.moc"
