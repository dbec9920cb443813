#include "ordering/orders.h"
#include "store/sqlite_db.h"
#include "support/testkit.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

namespace {

QString add_desk(const TestProgram &p, int stat, const QString &bh = QStringLiteral("A1"))
{
    p.exec(QStringLiteral("INSERT INTO lumo_desk(title,bh,stat,price) VALUES('t','%1',%2,'0.00')")
               .arg(bh)
               .arg(stat));
    return p.scalar(QStringLiteral("SELECT max(id) FROM lumo_desk"));
}

CartItem dish(const QString &id,
              const QString &quantity,
              const QString &zfid = QString(),
              const QString &price = QStringLiteral("10.00"))
{
    return CartItem{id,
                    QStringLiteral("菜") + id,
                    price,
                    quantity,
                    QStringLiteral("99"),
                    zfid,
                    zfid.isEmpty() ? QString() : QStringLiteral("做法") + zfid,
                    QString()};
}

// "dish|methods|quantity" -> cart item
CartItem parse_item(const QString &text)
{
    const QStringList f = text.split(QChar('|'));
    return dish(f[0], f[2], f[1]);
}

// Every line of the order as "caipinid|zfid|quantity|stat", in id order.
QStringList lines_of(const TestProgram &p, const QString &order)
{
    TSQLiteDatabase db(p.ctx.db_path);
    TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT caipinid,zfid,quantity,stat FROM lumo_orders_detail where rootid=? "
                       "order by id"),
        {order});
    QStringList out;
    for (; !t.isEof(); t.Next())
        out << QStringList{t.FieldAsString(0),
                           t.FieldAsString(1),
                           t.FieldAsString(2),
                           t.FieldAsString(3)}
                   .join(QChar('|'));
    return out;
}

// The three stored totals: table price text, order allprice, order price.
QString totals(const TestProgram &p, const QString &desk, const QString &order)
{
    return p.scalar(QStringLiteral("SELECT (SELECT price FROM lumo_desk WHERE id=%1)||' '||"
                                   "allprice||' '||price FROM lumo_orders WHERE id=%2")
                        .arg(desk, order));
}

} // namespace

class TestOrders : public QObject
{
    Q_OBJECT

private slots:
    void openOrderLookup()
    {
        TestProgram p;
        const QString desk = add_desk(p, 1);
        QCOMPARE(get_desk_order_id(p.ctx, QString()), QString("9999999999999"));
        QCOMPARE(get_desk_order_id(p.ctx, desk), NoOrderId);

        p.exec("INSERT INTO lumo_orders(deskid,iscal) VALUES(" + desk + ",1)");
        QCOMPARE(get_desk_order_id(p.ctx, desk), NoOrderId); // settled orders do not count
        p.exec("INSERT INTO lumo_orders(deskid,iscal) VALUES(" + desk + ",0)");
        const QString open = p.scalar("SELECT max(id) FROM lumo_orders");
        p.exec("INSERT INTO lumo_orders(deskid,iscal) VALUES(" + desk + ",0)");
        QCOMPARE(get_desk_order_id(p.ctx, desk), open); // the first open order wins

        // A line query by the sentinel finds nothing, even with stray lines about.
        p.exec("INSERT INTO lumo_orders_detail(rootid,title) VALUES(0,'x')");
        QCOMPARE(lines_of(p, NoOrderId), QStringList());
    }

    void createOpenOrder_data()
    {
        QTest::addColumn<QString>("fee");
        QTest::addColumn<QString>("guests");
        QTest::addColumn<QString>("line"); // title|oneprice|quantity|price, empty: none
        QTest::addColumn<QString>("total");

        QTest::newRow("fee 2.00, 4 guests") << "2.00"
                                            << "4"
                                            << "餐具|2.0|4|8.0"
                                            << "8.00";
        QTest::newRow("fee 1.5, no guest count") << "1.5"
                                                 << ""
                                                 << "餐具|1.5|0|0.0"
                                                 << "0.00";
        QTest::newRow("no fee") << "0.00"
                                << "4"
                                << ""
                                << "0.00";
        QTest::newRow("unreadable fee") << "abc"
                                        << "4"
                                        << ""
                                        << "0.00";
        QTest::newRow("negative fee") << "-2"
                                      << "4"
                                      << ""
                                      << "0.00";
    }

    void createOpenOrder()
    {
        QFETCH(QString, fee);
        QFETCH(QString, guests);
        QFETCH(QString, line);
        QFETCH(QString, total);

        TestProgram p;
        p.ctx.settings.cwf = fee;
        const QString desk = add_desk(p, 1);
        p.ctx.desk_id = desk;
        p.random->values = {42};

        const QString id = add_desk_order(p.ctx, "O'Brien", "100", "小王", guests);
        QVERIFY(!id.isEmpty());
        QCOMPARE(get_desk_order_id(p.ctx, desk), id);
        // 2024-03-05 14:07:09.125 rounds up to :10; then the last four millisecond digits
        // and the random part; the service-account infix is empty for now.
        QCOMPARE(p.scalar("SELECT ordid||'|'||title||'|'||truename||'|'||nums||'|'||yj||'|'||fwy"
                          "||'|'||stat||'|'||iscal||'|'||paytype||'|'||deskid||'|'||addtime "
                          "FROM lumo_orders WHERE id="
                          + id),
                 QString("240305140710912542|订单名称|O'Brien|%1|100|小王|0|0|0|%2|%3")
                     .arg(guests.isEmpty() ? "0" : guests,
                          desk,
                          QString::number(wall_ms(2024, 3, 5, 14, 7, 10) / 1000)));
        QCOMPARE(p.scalar("SELECT title||'|'||oneprice||'|'||quantity||'|'||price "
                          "FROM lumo_orders_detail WHERE rootid="
                          + id),
                 line);
        if (!line.isEmpty())
            QCOMPARE(p.scalar("SELECT caipinid||'|'||zfid||'|'||zfidstr||'|'||stat||'|'||deskid "
                              "FROM lumo_orders_detail WHERE rootid="
                              + id),
                     "0|||0|" + desk);
        // Stored totals follow the new line at once.
        QCOMPARE(totals(p, desk, id), total + " " + total.chopped(1) + " " + total.chopped(1));
    }

    void existingOrderIsReused()
    {
        TestProgram p;
        p.ctx.settings.cwf = "2.00";
        QCOMPARE(add_desk_order(p.ctx, "a", "1", "b", "3"), QString()); // no current table
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders"), QString("0"));

        p.ctx.desk_id = add_desk(p, 1);
        // The ordering screen's first submit on an open table without an order.
        const QString id = add_desk_order(p.ctx, "", "", "", "");
        QCOMPARE(p.scalar("SELECT nums||'|'||truename FROM lumo_orders WHERE id=" + id),
                 QString("0|"));
        QCOMPARE(p.scalar("SELECT quantity FROM lumo_orders_detail WHERE rootid=" + id),
                 QString("0"));
        QCOMPARE(add_desk_order(p.ctx, "x", "50", "y", "6"), id);
        QCOMPARE(p.scalar("SELECT count(*)||'|'||max(nums)||'|'||max(fwy) FROM lumo_orders"),
                 QString("1|0|"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders_detail"), QString("1"));
    }

    void failingTablewareLeavesNoOrder()
    {
        TestProgram p;
        p.ctx.settings.cwf = "2.00";
        p.ctx.desk_id = add_desk(p, 1);
        p.exec("CREATE TRIGGER no_lines BEFORE INSERT ON lumo_orders_detail "
               "BEGIN SELECT RAISE(ABORT,'x'); END");
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, add_desk_order(p.ctx, "", "", "", "4"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders"), QString("0"));
    }

    void mergeRule_data()
    {
        QTest::addColumn<QStringList>("first"); // dish|methods|quantity
        QTest::addColumn<bool>("returnFirst");  // return every line after the first submit
        QTest::addColumn<QStringList>("second");
        QTest::addColumn<QStringList>("lines"); // caipinid|zfid|quantity|stat

        QTest::newRow("same dish and methods: quantity replaced")
            << QStringList{"1|1,3|2"} << false << QStringList{"1|1,3|1"}
            << QStringList{"1|1,3|1|0"};
        QTest::newRow("no methods vs methods")
            << QStringList{"1|1,3|2"} << false << QStringList{"1||1"}
            << QStringList{"1|1,3|2|0", "1||1|0"};
        QTest::newRow("method order matters")
            << QStringList{"1|1,3|2"} << false << QStringList{"1|3,1|1"}
            << QStringList{"1|1,3|2|0", "1|3,1|1|0"};
        QTest::newRow("one method id matches its stored number")
            << QStringList{"1|3|2"} << false << QStringList{"1|3|5"} << QStringList{"1|3|5|0"};
        QTest::newRow("other dish, same methods")
            << QStringList{"1|1|2"} << false << QStringList{"2|1|2"}
            << QStringList{"1|1|2|0", "2|1|2|0"};
        QTest::newRow("returned line replaced, stays returned")
            << QStringList{"1||2"} << true << QStringList{"1||3"} << QStringList{"1||3|8"};
        QTest::newRow("one submit, same dish twice: last one wins")
            << QStringList{"1||2", "1||4"} << false << QStringList{} << QStringList{"1||4|0"};
    }

    void mergeRule()
    {
        QFETCH(QStringList, first);
        QFETCH(bool, returnFirst);
        QFETCH(QStringList, second);
        QFETCH(QStringList, lines);

        TestProgram p;
        p.ctx.desk_id = add_desk(p, 1);
        const QString order = add_desk_order(p.ctx, "", "", "", "");
        QVector<CartItem> cart;
        for (const QString &s : first)
            cart << parse_item(s);
        write_cart(p.ctx, order, cart, "1000");
        if (returnFirst) {
            const QString ids = p.scalar("SELECT group_concat(id) FROM lumo_orders_detail");
            batch_lines(p.ctx, LineOp::Return, ids);
        }
        cart.clear();
        for (const QString &s : second)
            cart << parse_item(s);
        write_cart(p.ctx, order, cart, "2000");
        QCOMPARE(lines_of(p, order), lines);
    }

    void replacedLineKeepsTitleAndTime()
    {
        TestProgram p;
        p.ctx.desk_id = add_desk(p, 1);
        const QString order = add_desk_order(p.ctx, "", "", "", "");
        write_cart(
            p.ctx, order, {CartItem{"7", "旧名", "10.00", "2", "", "1", "辣", "少盐"}}, "1000");
        write_cart(p.ctx, order, {CartItem{"7", "新名", "12.5", "3", "", "1", "微辣", ""}}, "2000");
        QCOMPARE(p.scalar("SELECT title||'|'||addtime||'|'||oneprice||'|'||quantity||'|'||price"
                          "||'|'||zfidstr||'|'||remark||'|'||deskid FROM lumo_orders_detail"),
                 "旧名|1000|12.5|3|37.5|微辣||" + p.ctx.desk_id);
    }

    void totalsFromLiveLines_data()
    {
        QTest::addColumn<int>("op");        // -1 none, else LineOp applied to `which`
        QTest::addColumn<QString>("which"); // dish ids whose lines the op takes
        QTest::addColumn<QString>("total");

        // The cart: 2 x dish 1 at 10.00 and 1 x dish 2 at 5.00, then dish 1 served
        // and dish 2 returned.
        QTest::newRow("served counts, returned not") << -1 << ""
                                                     << "20.00";
        QTest::newRow("return the rest") << int(LineOp::Return) << "1"
                                         << "0.00";
        QTest::newRow("back to ordered") << int(LineOp::Ordered) << "2"
                                         << "25.00";
        QTest::newRow("delete the live line") << int(LineOp::Delete) << "1"
                                              << "0.00";
        QTest::newRow("delete every line") << int(LineOp::Delete) << "1,2"
                                           << "0.00";
        QTest::newRow("delete the returned line") << int(LineOp::Delete) << "2"
                                                  << "20.00";
    }

    void totalsFromLiveLines()
    {
        QFETCH(int, op);
        QFETCH(QString, which);
        QFETCH(QString, total);

        TestProgram p;
        const QString desk = add_desk(p, 1);
        p.ctx.desk_id = desk;
        const QString order = add_desk_order(p.ctx, "", "", "", "");
        write_cart(p.ctx, order, {dish("1", "2"), dish("2", "1", "", "5.00")}, "1000");
        QCOMPARE(totals(p, desk, order), QString("25.00 25.0 25.0"));
        const auto line = [&](const QString &dishes) {
            return p.scalar("SELECT group_concat(id) FROM lumo_orders_detail WHERE caipinid in("
                            + dishes + ")");
        };
        batch_lines(p.ctx, LineOp::Served, line("1"));
        batch_lines(p.ctx, LineOp::Return, line("2"));
        if (op >= 0)
            batch_lines(p.ctx, LineOp(op), line(which));

        const QString stored = total + " " + total.chopped(1) + " " + total.chopped(1);
        QCOMPARE(totals(p, desk, order), stored);
        // Both recomputes agree with what the batch operations left.
        p.exec("UPDATE lumo_desk SET price='x'");
        p.exec("UPDATE lumo_orders SET allprice=-1,price=-1");
        QCOMPARE(cal_desk_price(p.ctx, desk), total);
        QCOMPARE(totals(p, desk, order), stored);
        p.exec("UPDATE lumo_desk SET price='x'");
        p.exec("UPDATE lumo_orders SET allprice=-1,price=-1");
        QCOMPARE(cal_order_price(p.ctx, order), total);
        QCOMPARE(totals(p, desk, order), stored);
    }

    void totalsLeaveSettledAndOtherOrdersAlone()
    {
        TestProgram p;
        const QString desk = add_desk(p, 1);
        p.ctx.desk_id = desk;
        const QString open = add_desk_order(p.ctx, "", "", "", "");
        write_cart(p.ctx, open, {dish("1", "1")}, "1000");
        p.exec("INSERT INTO lumo_orders(deskid,iscal,price,allprice) VALUES(" + desk + ",1,88,90)");
        const QString settled = p.scalar("SELECT max(id) FROM lumo_orders");
        p.exec("INSERT INTO lumo_orders_detail(rootid,caipinid,oneprice,quantity,stat) VALUES("
               + settled + ",5,90,1,9)");
        // A batch change on a settled order's line keeps the amount paid and the table's amount.
        batch_lines(p.ctx,
                    LineOp::Return,
                    p.scalar("SELECT id FROM lumo_orders_detail WHERE rootid=" + settled));
        QCOMPARE(p.scalar("SELECT price||' '||allprice FROM lumo_orders WHERE id=" + settled),
                 QString("88.0 90.0"));
        QCOMPARE(totals(p, desk, open), QString("10.00 10.0 10.0"));

        // The price change's recompute on a settled order (the dialog stayed open while
        // the bill was paid) keeps the amount paid and the table's amount.
        QCOMPARE(cal_order_price(p.ctx, settled), QString());
        QCOMPARE(p.scalar("SELECT price||' '||allprice FROM lumo_orders WHERE id=" + settled),
                 QString("88.0 90.0"));
        QCOMPARE(totals(p, desk, open), QString("10.00 10.0 10.0"));

        // Another table current meanwhile: the order's own table takes its total, the
        // current one keeps its own.
        const QString other = add_desk(p, 1, "B2");
        p.exec("UPDATE lumo_desk SET price='7.00' WHERE id=" + other);
        p.exec("UPDATE lumo_orders_detail SET quantity=3 WHERE rootid=" + open);
        p.ctx.desk_id = other;
        QCOMPARE(cal_order_price(p.ctx, open), QString("30.00"));
        QCOMPARE(totals(p, desk, open), QString("30.00 30.0 30.0"));
        QCOMPARE(p.scalar("SELECT price FROM lumo_desk WHERE id=" + other), QString("7.00"));

        // Without a current table the price change recompute does nothing.
        p.ctx.desk_id.clear();
        QCOMPARE(cal_order_price(p.ctx, open), QString());
        QCOMPARE(cal_desk_price(p.ctx, QString()), QString());
    }

    // A bill settled meanwhile (another counter, or the checkout while the ordering
    // screen stayed open) keeps its lines as they were paid, even when the selection
    // also holds a line of an open order.
    void settledLinesStayAsPaid_data()
    {
        QTest::addColumn<int>("op");
        QTest::newRow("return") << int(LineOp::Return);
        QTest::newRow("ordered") << int(LineOp::Ordered);
        QTest::newRow("served") << int(LineOp::Served);
        QTest::newRow("delete") << int(LineOp::Delete);
    }

    void settledLinesStayAsPaid()
    {
        QFETCH(int, op);
        TestProgram p;
        const QString desk = add_desk(p, 1);
        p.ctx.desk_id = desk;
        const QString paid = add_desk_order(p.ctx, "", "", "", "");
        write_cart(p.ctx, paid, {dish("1", "2")}, "1000");
        p.exec("UPDATE lumo_orders SET iscal=1 WHERE id=" + paid);
        p.exec("UPDATE lumo_orders_detail SET iscal=1,stat=9 WHERE rootid=" + paid);
        const QString open = add_desk_order(p.ctx, "", "", "", "");
        write_cart(p.ctx, open, {dish("2", "1")}, "1001");
        const QString ids = p.scalar("SELECT group_concat(id) FROM lumo_orders_detail");

        QVERIFY(!batch_lines(p.ctx, LineOp(op), ids));
        QCOMPARE(lines_of(p, paid), QStringList{"1||2|9"});
        QCOMPARE(lines_of(p, open), QStringList{"2||1|0"});
        QCOMPARE(totals(p, desk, open), QString("10.00 10.0 10.0"));
    }

    void secondOpenOrderNeverTakesTheTile()
    {
        // Two counters opened the same table at once: the first open order is the
        // one the tile shows, and lines written into the second stay out of it.
        TestProgram p;
        const QString desk = add_desk(p, 1);
        p.ctx.desk_id = desk;
        const QString first = add_desk_order(p.ctx, "", "", "", "");
        write_cart(p.ctx, first, {dish("1", "2")}, "1000");
        p.exec("INSERT INTO lumo_orders(deskid,iscal,stat) VALUES(" + desk + ",0,1)");
        const QString second = p.scalar("SELECT max(id) FROM lumo_orders");
        QCOMPARE(get_desk_order_id(p.ctx, desk), first);

        write_cart(p.ctx, second, {dish("2", "5")}, "1001");
        QCOMPARE(p.scalar("SELECT price FROM lumo_desk WHERE id=" + desk), QString("20.00"));
        QCOMPARE(p.scalar("SELECT price FROM lumo_orders WHERE id=" + second), QString("50.0"));
        batch_lines(p.ctx,
                    LineOp::Return,
                    p.scalar("SELECT id FROM lumo_orders_detail WHERE rootid=" + second));
        QCOMPARE(p.scalar("SELECT price FROM lumo_desk WHERE id=" + desk), QString("20.00"));
        QCOMPARE(totals(p, desk, first), QString("20.00 20.0 20.0"));
    }

    void failingLineLeavesCartUnwritten()
    {
        TestProgram p;
        p.ctx.desk_id = add_desk(p, 1);
        const QString order = add_desk_order(p.ctx, "", "", "", "");
        write_cart(p.ctx, order, {dish("1", "2")}, "1000");
        p.exec("CREATE TRIGGER no_dish_2 BEFORE INSERT ON lumo_orders_detail "
               "WHEN NEW.caipinid=2 BEGIN SELECT RAISE(ABORT,'x'); END");
        // The first item replaces dish 1's line, the second item fails.
        QVERIFY_THROWS_EXCEPTION(
            ESQLiteException,
            write_cart(p.ctx, order, {dish("1", "5"), dish("3", "1"), dish("2", "1")}, "2000"));
        QCOMPARE(lines_of(p, order), QStringList{"1||2|0"});
        QCOMPARE(totals(p, p.ctx.desk_id, order), QString("20.00 20.0 20.0"));
    }

    void submitOnOneConnection()
    {
        TestProgram p;
        p.ctx.settings.cwf = "2.00";
        p.ctx.desk_id = add_desk(p, 1);
        p.exec("CREATE TRIGGER no_dish_2 BEFORE INSERT ON lumo_orders_detail "
               "WHEN NEW.caipinid=2 BEGIN SELECT RAISE(ABORT,'x'); END");
        const auto submit = [&](const QVector<CartItem> &cart) {
            TSQLiteDatabase db(p.ctx.db_path);
            db.transaction([&] {
                const QString order = add_desk_order(p.ctx, db, "", "", "", "");
                write_cart(p.ctx, db, order, cart, "1000");
            });
        };
        // The first submit fails on its second dish: not even the order is left.
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, submit({dish("1", "1"), dish("2", "1")}));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders"), QString("0"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders_detail"), QString("0"));

        submit({dish("1", "3")});
        const QString order = get_desk_order_id(p.ctx, p.ctx.desk_id);
        QCOMPARE(lines_of(p, order), (QStringList{"0||0|0", "1||3|0"}));
        QCOMPARE(totals(p, p.ctx.desk_id, order), QString("30.00 30.0 30.0"));
    }

    void orderFields()
    {
        TestProgram p;
        p.ctx.desk_id = add_desk(p, 1);
        const QString order = add_desk_order(p.ctx, "张三", "50", "小李", "2");
        QCOMPARE(get_order_fields(p.ctx, order, "truename,nums,yj,fwy,nosuch col"),
                 (QStringList{"张三", "2", "50", "小李", ""}));
        QCOMPARE(get_order_fields(p.ctx, "12345", "truename,nums"), (QStringList{"", ""}));
        QCOMPARE(get_order_fields(p.ctx, "", "truename"), QStringList{""});
    }

    void cartJsonRoundTrip()
    {
        const QVector<CartItem> cart{
            CartItem{"12", "宫保\"鸡丁\"", "28.50", "2", "99", "1,3", "微辣,少盐", "不要'葱'\\"},
            CartItem{"3", "米饭", "2", "1", "0", "", "", ""}};
        const QByteArray json = cart_to_json(cart);
        const QJsonArray rows = QJsonDocument::fromJson(json).array();
        QCOMPARE(rows.size(), 2);
        const QJsonObject first = rows.at(0).toObject();
        QCOMPARE(first.keys(),
                 (QStringList{
                     "id", "price", "quantity", "remark", "stock", "title", "zfid", "zfidstr"}));
        for (const QJsonValue v : first)
            QVERIFY(v.isString());
        QCOMPARE(first.value("title").toString(), QString("宫保\"鸡丁\""));

        const QVector<CartItem> back = cart_from_json(json);
        QCOMPARE(back.size(), 2);
        for (int i = 0; i < 2; ++i) {
            QCOMPARE(back[i].id, cart[i].id);
            QCOMPARE(back[i].title, cart[i].title);
            QCOMPARE(back[i].price, cart[i].price);
            QCOMPARE(back[i].quantity, cart[i].quantity);
            QCOMPARE(back[i].stock, cart[i].stock);
            QCOMPARE(back[i].zfid, cart[i].zfid);
            QCOMPARE(back[i].zfidstr, cart[i].zfidstr);
            QCOMPARE(back[i].remark, cart[i].remark);
        }
        QCOMPARE(cart_from_json("not json").size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestOrders)
#include "tst_orders.moc"
