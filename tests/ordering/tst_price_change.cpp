#include "ordering/orders.h"
#include "ordering/price_change.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QTest>

namespace {

// An open table with an order of two lines: 10.00 x 2 (live) and 5.00 x 1 (returned).
struct PricedOrder
{
    explicit PricedOrder(TestProgram &p)
    {
        p.exec("INSERT INTO lumo_desk(title,bh,stat,price) VALUES('t','A1',1,'0.00')");
        desk = p.scalar("SELECT max(id) FROM lumo_desk");
        p.ctx.desk_id = desk;
        order = add_desk_order(p.ctx, {}, {}, {}, {});
        write_cart(p.ctx,
                   order,
                   {CartItem{"1", "宫保鸡丁", "10.00", "2", "0", "", "", ""},
                    CartItem{"2", "酸梅汤", "5.00", "1", "0", "", "", ""}},
                   "1700000000");
        live = p.scalar("SELECT id FROM lumo_orders_detail WHERE caipinid=1");
        returned = p.scalar("SELECT id FROM lumo_orders_detail WHERE caipinid=2");
        batch_lines(p.ctx, LineOp::Return, returned);
    }
    QString desk, order, live, returned;
};

QString dump_all(const TestProgram &p)
{
    return dump(p, "lumo_desk") + dump(p, "lumo_orders") + dump(p, "lumo_orders_detail");
}

} // namespace

class TestPriceChange : public QObject
{
    Q_OBJECT

private slots:
    void numberRules_data()
    {
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("oneprice");
        QTest::addColumn<QString>("storedQuantity");
        QTest::addColumn<QString>("lineTotal");
        QTest::addColumn<QString>("subtotal");

        QTest::newRow("12.4 x 3") << "12.4"
                                  << "3"
                                  << "12.40"
                                  << "3"
                                  << "37"
                                  << "37.2";
        QTest::newRow("spaces") << " 8.5 "
                                << " 2 "
                                << "8.50"
                                << "2"
                                << "17"
                                << "17";
        QTest::newRow("rounded price") << "3.333"
                                       << "3"
                                       << "3.33"
                                       << "3"
                                       << "10"
                                       << "9.999";
        QTest::newRow("abc") << "abc"
                             << "2"
                             << "0.00"
                             << "2"
                             << "0"
                             << "0";
        QTest::newRow("-5") << "-5"
                            << "2"
                            << "0.00"
                            << "2"
                            << "0"
                            << "0";
        QTest::newRow("below a cent") << "0.009"
                                      << "2"
                                      << "0.00"
                                      << "2"
                                      << "0"
                                      << "0";
        QTest::newRow("quantity 0") << "10"
                                    << "0"
                                    << "10.00"
                                    << "1"
                                    << "10"
                                    << "10";
        QTest::newRow("quantity -2") << "10"
                                     << "-2"
                                     << "10.00"
                                     << "1"
                                     << "10"
                                     << "10";
        QTest::newRow("quantity 1.5") << "10"
                                      << "1.5"
                                      << "10.00"
                                      << "1"
                                      << "10"
                                      << "10";
        QTest::newRow("quantity empty") << "10"
                                        << ""
                                        << "10.00"
                                        << "1"
                                        << "10"
                                        << "10";
    }

    void numberRules()
    {
        QFETCH(QString, price);
        QFETCH(QString, quantity);
        QFETCH(QString, oneprice);
        QFETCH(QString, storedQuantity);
        QFETCH(QString, lineTotal);
        QFETCH(QString, subtotal);
        const StoredPrice s = stored_price({"1", price, quantity, " it's "});
        QCOMPARE(s.oneprice, oneprice);
        QCOMPARE(s.quantity, storedQuantity);
        QCOMPARE(s.price, lineTotal);
        QCOMPARE(s.remark, QString("its"));
        QCOMPARE(price_subtotal(price, quantity), subtotal);
    }

    // What a save stores, and what the order total counts afterwards.
    void save_data()
    {
        QTest::addColumn<bool>("onReturned");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<double>("oneprice");
        QTest::addColumn<int>("storedQuantity");
        QTest::addColumn<double>("lineTotal");
        QTest::addColumn<QString>("orderTotal");

        QTest::newRow("12.4 x 3") << false << "12.4"
                                  << "3" << 12.4 << 3 << 37.0 << "37.20";
        QTest::newRow("smallest price kept") << false << "0.01"
                                             << "3" << 0.01 << 3 << 0.0 << "0.03";
        QTest::newRow("largest amounts")
            << false << "99999.99"
            << "9999" << 99999.99 << 9999 << 999899900.0 << "999899900.01";
        // A returned line takes the new price and stays out of the total.
        QTest::newRow("returned line") << true << "99"
                                       << "3" << 99.0 << 3 << 297.0 << "20.00";
    }

    void save()
    {
        QFETCH(bool, onReturned);
        QFETCH(QString, price);
        QFETCH(QString, quantity);
        QFETCH(double, oneprice);
        QFETCH(int, storedQuantity);
        QFETCH(double, lineTotal);
        QFETCH(QString, orderTotal);

        TestProgram p;
        PricedOrder o(p);
        const QString line = onReturned ? o.returned : o.live;
        QCOMPARE(save_price_changes(p.ctx, o.order, {{line, price, quantity, "少'辣"}}),
                 orderTotal);

        TSQLiteDatabase db(p.ctx.db_path);
        TSQLiteTable t = db.GetTable(
            "SELECT oneprice,quantity,price,remark,stat FROM lumo_orders_detail WHERE id=?",
            {line});
        QCOMPARE(t.FieldAsDouble(0), oneprice);
        QCOMPARE(t.FieldAsInteger(1), qint64(storedQuantity));
        QCOMPARE(t.FieldAsDouble(2), lineTotal);
        QCOMPARE(t.FieldAsString(3), QString("少辣"));
        QCOMPARE(t.FieldAsString(4), onReturned ? QString("8") : QString("0"));
        QCOMPARE(p.scalar("SELECT price FROM lumo_desk WHERE id=" + o.desk), orderTotal);
        QCOMPARE(p.scalar("SELECT printf('%.2f',allprice)||' '||printf('%.2f',price) FROM "
                          "lumo_orders WHERE id="
                          + o.order),
                 orderTotal + " " + orderTotal);
    }

    void notAnAmountIsRefused_data()
    {
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<bool>("onPrice");
        const QString price = "单价请输入数字（最多一个小数点），不超过99999.99";
        const QString quantity = "数量请输入1到9999的整数";
        QTest::newRow("letters") << "abc"
                                 << "3" << price << true;
        QTest::newRow("negative price") << "-5"
                                        << "3" << price << true;
        QTest::newRow("exponent") << "1e308"
                                  << "2" << price << true;
        QTest::newRow("price above bound") << "99999999999"
                                           << "2147483647" << price << true;
        QTest::newRow("quantity 0") << "10"
                                    << "0" << quantity << false;
        QTest::newRow("quantity -2") << "10"
                                     << "-2" << quantity << false;
        QTest::newRow("quantity 1.5") << "10"
                                      << "1.5" << quantity << false;
        QTest::newRow("quantity above bound") << "10"
                                              << "10000" << quantity << false;
    }

    void notAnAmountIsRefused()
    {
        QFETCH(QString, price);
        QFETCH(QString, quantity);
        QFETCH(QString, refusal);
        QFETCH(bool, onPrice);
        TestProgram p;
        PricedOrder o(p);
        // The first row is fine; the second one refuses the whole save.
        const QVector<PriceEdit> edits{{o.live, "50", "4", ""}, {o.returned, price, quantity, ""}};
        const PriceEditRefusal r = refused_price_edit(edits);
        QCOMPARE(r.id, o.returned);
        QCOMPARE(r.text, refusal);
        QCOMPARE(r.price, onPrice);
        const QString before = dump_all(p);
        QCOMPARE(save_price_changes(p.ctx, o.order, edits), QString());
        QCOMPARE(dump_all(p), before);
    }

    void settledOrderKeepsItsLines()
    {
        // The dialog stayed open while the bill was paid: its save changes nothing.
        TestProgram p;
        PricedOrder o(p);
        p.exec("UPDATE lumo_orders SET iscal=1,price=20 WHERE id=" + o.order);
        p.exec("UPDATE lumo_orders_detail SET iscal=1 WHERE rootid=" + o.order);
        const QString before = dump_all(p);
        QCOMPARE(save_price_changes(p.ctx, o.order, {{o.live, "1", "1", "改"}}), QString());
        QCOMPARE(dump_all(p), before);
    }

    void allOrNothing()
    {
        TestProgram p;
        PricedOrder o(p);
        // The second row fails, so the first must not stay written either.
        p.exec("CREATE TRIGGER refuse BEFORE UPDATE ON lumo_orders_detail WHEN new.id=" + o.returned
               + " BEGIN SELECT RAISE(ABORT,'refused'); END");
        QVERIFY_THROWS_EXCEPTION(
            ESQLiteException,
            save_price_changes(
                p.ctx, o.order, {{o.live, "50", "4", ""}, {o.returned, "1", "1", ""}}));
        QCOMPARE(
            p.scalar("SELECT oneprice||' '||quantity FROM lumo_orders_detail WHERE id=" + o.live),
            QString("10.0 2"));
        QCOMPARE(p.scalar("SELECT price FROM lumo_desk WHERE id=" + o.desk), QString("20.00"));
    }

    void listing()
    {
        TestProgram p;
        PricedOrder o(p);
        p.exec("UPDATE lumo_orders_detail SET oneprice=12.4,quantity=3,zfidstr='微辣' WHERE id="
               + o.live);
        // Pieces that are not ids are left out rather than reaching the statement.
        const QVector<PriceLine> lines
            = read_price_lines(p.ctx, o.returned + ",x) OR (1=1," + o.live);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0].id, o.live);
        QCOMPARE(lines[0].oneprice, QString("12.4"));
        QCOMPARE(lines[0].quantity, QString("3"));
        QCOMPARE(lines[0].subtotal, QString("37.2"));
        QCOMPARE(lines[0].zfidstr, QString("微辣"));
        QCOMPARE(lines[0].rootid, o.order);
        QCOMPARE(lines[1].title, QString("酸梅汤"));
        QVERIFY(read_price_lines(p.ctx, "").isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestPriceChange)
#include "tst_price_change.moc"
