#include "app/helpers.h"
#include "ordering/diancan.h"
#include "ordering/orders.h"
#include "support/testkit.h"

#include <QTest>

namespace {

QString add_desk(TestProgram &p, int stat)
{
    p.exec(QStringLiteral("INSERT INTO lumo_desk(title,bh,stat,price) VALUES('t','A1',%1,'0.0')")
               .arg(stat));
    p.ctx.desk_id = p.scalar("SELECT max(id) FROM lumo_desk");
    return p.ctx.desk_id;
}

CartItem item(const QString &id, const QString &price, const QString &quantity)
{
    return CartItem{id, "菜" + id, price, quantity, "0", "", "", ""};
}

} // namespace

class TestDiancan : public QObject
{
    Q_OBJECT

private slots:
    void onlyOpenOrReservedTablesTakeOrders_data()
    {
        QTest::addColumn<QString>("stat");
        QTest::addColumn<bool>("takes");
        QTest::newRow("free") << "0" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("open") << "1" << true;
        QTest::newRow("reserved") << "3" << true;
        QTest::newRow("cleaning") << "5" << false;
        QTest::newRow("cleared") << "7" << false;
    }
    void onlyOpenOrReservedTablesTakeOrders()
    {
        QFETCH(QString, stat);
        QFETCH(bool, takes);
        QCOMPARE(desk_takes_orders(stat), takes);
    }

    void submitRefusals_data()
    {
        QTest::addColumn<int>("stat");
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("orders");
        QTest::addColumn<QStringList>("confirms");

        const QStringList asked{"确认要批量添加菜品吗"};
        QTest::newRow("free table")
            << 0 << true << true << int(SubmitResult::DeskNotOpen) << 0 << QStringList();
        QTest::newRow("cleared table")
            << 5 << true << true << int(SubmitResult::DeskNotOpen) << 0 << QStringList();
        // The open order is made before the selection is looked at, and stays.
        QTest::newRow("nothing selected")
            << 1 << false << true << int(SubmitResult::NothingSelected) << 1 << QStringList();
        QTest::newRow("cancelled")
            << 3 << true << false << int(SubmitResult::Cancelled) << 1 << asked;
    }

    void submitRefusals()
    {
        QFETCH(int, stat);
        QFETCH(bool, selected);
        QFETCH(bool, confirm);
        QFETCH(int, kind);
        QFETCH(int, orders);
        QFETCH(QStringList, confirms);

        TestProgram p;
        add_desk(p, stat);
        p.prompts->queue(confirm);
        const QVector<CartItem> items
            = selected ? QVector<CartItem>{item("1", "10", "2")} : QVector<CartItem>{};
        const SubmitResult r = submit_cart(p.ctx, items);
        QCOMPARE(int(r.kind), kind);
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders").toInt(), orders);
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders_detail"), QString("0"));
        QCOMPARE(p.prompts->confirms, confirms);
    }

    void submitWritesAndTotals()
    {
        TestProgram p;
        const QString desk = add_desk(p, 1);
        SubmitResult r = submit_cart(p.ctx, {item("1", "12.5", "2"), item("2", "3", "1")});
        QCOMPARE(int(r.kind), int(SubmitResult::Done));
        QCOMPARE(r.order_id, get_desk_order_id(p.ctx, desk));
        QCOMPARE(r.total, QString("28.00"));
        QCOMPARE(p.scalar("SELECT price FROM lumo_desk WHERE id=" + desk), r.total);
        // All lines of one submit share the submit time (the clock stands at ...:09.125).
        QCOMPARE(p.scalar("SELECT group_concat(DISTINCT addtime) FROM lumo_orders_detail"),
                 unix_now(p.ctx.clock()));

        // The same dishes again replace their quantities instead of adding to them.
        r = submit_cart(p.ctx, {item("1", "12.5", "1")});
        QCOMPARE(r.total, QString("15.50"));
        QCOMPARE(p.scalar("SELECT group_concat(quantity) FROM lumo_orders_detail"), QString("1,1"));
    }

    void submitGoesToTheGivenTable()
    {
        TestProgram p;
        const QString first = add_desk(p, 1);
        const QString other = add_desk(p, 1); // the board's selection by now
        QCOMPARE(p.ctx.desk_id, other);
        const SubmitResult r = submit_cart(p.ctx, first, {item("1", "10", "2")});
        QCOMPARE(int(r.kind), int(SubmitResult::Done));
        QCOMPARE(r.order_id, get_desk_order_id(p.ctx, first));
        QCOMPARE(p.scalar("SELECT group_concat(deskid) FROM lumo_orders"), first);
        QCOMPARE(p.scalar("SELECT deskid FROM lumo_orders_detail"), first);
        QCOMPARE(p.scalar("SELECT price FROM lumo_desk WHERE id=" + first), QString("20.00"));
        QCOMPARE(p.scalar("SELECT price FROM lumo_desk WHERE id=" + other), QString("0.0"));
    }

    void lineList()
    {
        TestProgram p;
        const QString desk = add_desk(p, 1);
        QVERIFY(read_order_lines(p.ctx, QString()).isEmpty());
        QVERIFY(read_order_lines(p.ctx, desk).isEmpty());

        QVector<CartItem> items;
        for (int i = 1; i <= 10; ++i)
            items << item(QString::number(i), "2.5", QString::number(i));
        items[2].zfidstr = "微辣";
        items[2].remark = "少油";
        const QString order = add_desk_order(p.ctx, {}, {}, {}, {});
        write_cart(p.ctx, order, items, "1700000000");
        const QString third = p.scalar("SELECT id FROM lumo_orders_detail WHERE caipinid=3");
        batch_lines(p.ctx, LineOp::Return, third);
        // The amount comes from unit price x quantity, whatever the stored line total says.
        p.exec("UPDATE lumo_orders_detail SET price=999 WHERE caipinid=10");

        const QVector<OrderLineView> rows = read_order_lines(p.ctx, desk);
        QCOMPARE(rows.size(), 10);
        QCOMPARE(rows[0].number, QString("01"));
        QCOMPARE(rows[8].number, QString("09"));
        QCOMPARE(rows[9].number, QString("10"));
        QCOMPARE(rows[2].id, third);
        QCOMPARE(rows[2].title, QString("菜3"));
        QCOMPARE(rows[2].zfidstr, QString("微辣"));
        QCOMPARE(rows[2].oneprice, QString("2.50"));
        QCOMPARE(rows[2].quantity, QString("3"));
        QCOMPARE(rows[2].amount, QString("7.50"));
        QCOMPARE(rows[2].stat, QString("已退菜"));
        QCOMPARE(rows[2].remark, QString("少油"));
        QVERIFY(rows[2].returned);
        QCOMPARE(rows[0].stat, QString("已下单"));
        QVERIFY(!rows[0].returned);
        QCOMPARE(rows[9].amount, QString("25.00"));
    }
};

QTEST_GUILESS_MAIN(TestDiancan)
#include "tst_diancan.moc"
