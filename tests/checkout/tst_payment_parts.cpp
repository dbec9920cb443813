// A bill paid in parts on a real database file: what is written when the parts add up
// to the fen, that anything else writes nothing, online parts that count only once
// reported paid, equal shares, cash given, a part of the bill and two tables on one.
#include "app/notifier.h"
#include "board/merge.h"
#include "checkout/payment_parts.h"
#include "checkout/settlement.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Table A1 open for 4 guests with a deposit of 50 and an order of 100.00: 60.00 of a
// discountable dish, 40.00 not, and a returned line; member 李四 with 200.
struct Dinner
{
    Dinner()
    {
        p.exec("INSERT INTO lumo_desk(id,title,bh,stat,nums,price,fwy,yj,ydtruename,addtime) "
               "VALUES(1,'大厅','A1',1,4,'100.00','小王',50,'张三',1709640000)");
        p.exec(
            "INSERT INTO lumo_caipin(id,title,price,iszk) VALUES(1,'鱼','30',1),(2,'酒','10',0)");
        p.exec("INSERT INTO lumo_orders(id,title,deskid,iscal,stat,allprice,price,nums,yj,fwy,"
               "addtime) VALUES(3,'订单名称',1,0,1,100,100,4,'50','小王',1709640000)");
        p.exec("INSERT INTO lumo_orders_detail(id,rootid,caipinid,title,oneprice,quantity,stat) "
               "VALUES(11,3,1,'鱼',30,2,3),(12,3,2,'酒',10,4,0),(13,3,2,'酒',10,1,8)");
        p.exec("INSERT INTO lumo_member(id,mobile,truename,zekou,balance) "
               "VALUES(7,'13800138000','李四',850,200)");
    }

    // Everything a settlement may touch.
    QString state() const
    {
        return dump(p, "lumo_orders") + "\n" + dump(p, "lumo_orders_detail") + "\n"
               + dump(p, "lumo_desk") + "\n" + dump(p, "lumo_member") + "\n"
               + dump(p, "mivo_payment");
    }

    PartsRequest request(const QString &parts, const QString &discount = {}) const
    {
        PartsRequest r;
        r.order_id = "3";
        r.member_id = "7";
        r.discount = discount;
        r.parts = parse(parts);
        return r;
    }

    // "5:5000,9:2000,7d:1000": method and fen; "d" marks the deposit, "/6000" cash given.
    static QVector<PaymentPart> parse(const QString &text)
    {
        QVector<PaymentPart> out;
        for (const QString &item : text.split(',', Qt::SkipEmptyParts)) {
            QString type = item.section(':', 0, 0);
            const QString amount = item.section(':', 1);
            PaymentPart part;
            if (type.endsWith('d')) {
                type.chop(1);
                part.note = DepositNote;
            }
            part.paytype = type;
            part.amount_fen = amount.section('/', 0, 0).toLongLong();
            part.given_fen = amount.section('/', 1).toLongLong();
            out.append(part);
        }
        return out;
    }

    TestProgram p;
};

} // namespace

class TestPaymentParts : public QObject
{
    Q_OBJECT

private slots:
    void partsSettleOnlyWhenTheyAddUp_data()
    {
        QTest::addColumn<QString>("parts");
        QTest::addColumn<QString>("discount");
        QTest::addColumn<QString>("memberBalance");
        QTest::addColumn<int>("outcome");
        // lumo_orders paytype|price|balance, and the member's balance after
        QTest::addColumn<QString>("order");
        QTest::addColumn<QString>("member");

        QTest::newRow("half cash, half WeChat") << "5:5000,3:5000"
                                                << ""
                                                << "200" << int(PartsResult::Done) << "5|100.0|0"
                                                << "200.0";
        QTest::newRow("balance and card") << "9:3000,6:7000"
                                          << ""
                                          << "200" << int(PartsResult::Done) << "6|70.0|30"
                                          << "170.0";
        QTest::newRow("balance alone") << "9:10000"
                                       << ""
                                       << "200" << int(PartsResult::Done) << "9|0.0|100"
                                       << "100.0";
        QTest::newRow("three parts after 8.5") << "5:4100,4:3000,9:2000"
                                               << "8.5"
                                               << "200" << int(PartsResult::Done) << "5|71.0|20"
                                               << "180.0";
        QTest::newRow("deposit and cash") << "7d:5000,5:5000"
                                          << ""
                                          << "200" << int(PartsResult::Done) << "7|100.0|0"
                                          << "200.0";
        QTest::newRow("cash with change") << "5:10000/20000"
                                          << ""
                                          << "200" << int(PartsResult::Done) << "5|100.0|0"
                                          << "200.0";
        QTest::newRow("a fen short") << "5:5000,3:4999"
                                     << ""
                                     << "200" << int(PartsResult::Mismatch) << ""
                                     << "";
        QTest::newRow("a fen over") << "5:5001,3:5000"
                                    << ""
                                    << "200" << int(PartsResult::Mismatch) << ""
                                    << "";
        QTest::newRow("no parts") << ""
                                  << ""
                                  << "200" << int(PartsResult::Mismatch) << ""
                                  << "";
        QTest::newRow("balance part beyond the balance")
            << "9:5000,5:5000"
            << ""
            << "30" << int(PartsResult::BalanceShort) << ""
            << "";
        QTest::newRow("deposit beyond the deposit") << "7d:6000,5:4000"
                                                    << ""
                                                    << "200" << int(PartsResult::DepositShort) << ""
                                                    << "";
        QTest::newRow("cash given below its part") << "5:10000/9999"
                                                   << ""
                                                   << "200" << int(PartsResult::CashShort) << ""
                                                   << "";
        QTest::newRow("a part of nothing") << "5:0,3:10000"
                                           << ""
                                           << "200" << int(PartsResult::BadPart) << ""
                                           << "";
        QTest::newRow("an online part typed in") << "1:10000"
                                                 << ""
                                                 << "200" << int(PartsResult::BadPart) << ""
                                                 << "";
        QTest::newRow("the deposit as cash") << "5d:5000,5:5000"
                                             << ""
                                             << "200" << int(PartsResult::BadPart) << ""
                                             << "";
    }

    void partsSettleOnlyWhenTheyAddUp()
    {
        QFETCH(QString, parts);
        QFETCH(QString, discount);
        QFETCH(QString, memberBalance);
        QFETCH(int, outcome);
        QFETCH(QString, order);
        QFETCH(QString, member);
        Dinner d;
        d.p.exec("UPDATE lumo_member SET balance=" + memberBalance);
        const QString before = d.state();
        const PartsResult r = settle_with_parts(d.p.ctx, d.request(parts, discount));
        QCOMPARE(int(r.outcome), outcome);
        if (outcome != PartsResult::Done) {
            QVERIFY(!r.message.isEmpty());
            QCOMPARE(d.state(), before);
            return;
        }
        QCOMPARE(r.message, QString("结算成功"));
        QCOMPARE(d.p.scalar("SELECT paytype||'|'||price||'|'||balance FROM lumo_orders"), order);
        QCOMPARE(d.p.scalar("SELECT balance FROM lumo_member"), member);
        QCOMPARE(d.p.scalar("SELECT iscal FROM lumo_orders"), QString("1"));
        QCOMPARE(d.p.scalar("SELECT stat||'|'||price FROM lumo_desk"), QString("0|0.00"));
        // Every part stored as given, each on the settled bill.
        QStringList stored;
        for (const PaymentPart &part : Dinner::parse(parts))
            stored << QString("3|%1|%2|1|%3|%4")
                          .arg(part.paytype)
                          .arg(part.amount_fen)
                          .arg(part.given_fen)
                          .arg(part.note);
        QCOMPARE(d.p.rows("SELECT orderid,paytype,amount_fen,stat,given_fen,note FROM "
                          "mivo_payment ORDER BY id"),
                 stored);
    }

    void onlinePartCountsOnceReportedPaid_data()
    {
        QTest::addColumn<bool>("reported");
        QTest::newRow("reported paid") << true;
        QTest::newRow("not reported") << false;
    }

    void onlinePartCountsOnceReportedPaid()
    {
        QFETCH(bool, reported);
        Dinner d;
        if (reported)
            QVERIFY(record_received_part(d.p.ctx, "3", "1", 6000, "WX01"));
        const QString before = d.state();
        const PartsResult r = settle_with_parts(d.p.ctx, d.request("9:4000"));
        if (!reported) {
            QCOMPARE(int(r.outcome), int(PartsResult::Mismatch));
            QCOMPARE(d.state(), before);
            return;
        }
        QVERIFY2(r.ok(), qPrintable(r.message));
        QCOMPARE(d.p.scalar("SELECT paytype||'|'||price||'|'||balance FROM lumo_orders"),
                 QString("1|60.0|40"));
        QCOMPARE(d.p.rows("SELECT paytype,amount_fen,stat,ordid FROM mivo_payment ORDER BY id"),
                 QStringList({"1|6000|1|WX01", "9|4000|1|"}));
        QVERIFY(received_parts(d.p.ctx).isEmpty());
    }

    // The guest paid by QR, then the bill was settled another way (or left): the money
    // stays listed until it is given back.
    void receivedPartOfAGivenUpBillStaysListed()
    {
        Dinner d;
        QVERIFY(record_received_part(d.p.ctx, "3", "2", 3000, "ALI9"));
        SettleRequest cash;
        cash.order_id = "3";
        cash.paytype = "5";
        QVERIFY(settle_order(d.p.ctx, cash).ok());
        const QVector<ReceivedPart> listed = received_parts(d.p.ctx);
        QCOMPARE(listed.size(), 1);
        QCOMPARE(listed[0].part.amount_fen, qint64(3000));
        QCOMPARE(listed[0].part.paytype, QString("2"));
        QCOMPARE(listed[0].bh, QString("A1"));
        QVERIFY(listed[0].settled);
        QVERIFY(refund_received_part(d.p.ctx, listed[0].part.id));
        QVERIFY(!refund_received_part(d.p.ctx, listed[0].part.id));
        QVERIFY(received_parts(d.p.ctx).isEmpty());
        QCOMPARE(d.p.scalar("SELECT stat FROM mivo_payment WHERE paytype=2"), QString("2"));
        // The cash settlement itself is stored as its part.
        QCOMPARE(d.p.scalar("SELECT paytype||'|'||amount_fen FROM mivo_payment WHERE stat=1"),
                 QString("5|10000"));
    }

    void receivedMoreThanTheBillIsNotSettled()
    {
        Dinner d;
        QVERIFY(record_received_part(d.p.ctx, "3", "1", 8000, "WX02"));
        d.p.exec("UPDATE lumo_orders_detail SET stat=8 WHERE id=11"); // 60.00 returned
        const QString before = d.state();
        const PartsResult r = settle_with_parts(d.p.ctx, d.request(""));
        QCOMPARE(r.message, ReceivedTooMuchText);
        QCOMPARE(d.state(), before);
    }

    void singleMethodSettlementIsStoredAsParts()
    {
        Dinner d;
        SettleRequest r;
        r.order_id = "3";
        r.paytype = "6";
        r.member_id = "7";
        r.deduction = "30";
        QVERIFY(settle_order(d.p.ctx, r).ok());
        QCOMPARE(d.p.rows("SELECT paytype,amount_fen FROM mivo_payment ORDER BY id"),
                 QStringList({"6|7000", "9|3000"}));
    }

    void equalShares_data()
    {
        QTest::addColumn<qint64>("total");
        QTest::addColumn<int>("n");
        QTest::addColumn<QString>("shares");
        QTest::newRow("100.00 / 3") << qint64(10000) << 3 << "3334,3333,3333";
        QTest::newRow("0.05 / 4") << qint64(5) << 4 << "2,1,1,1";
        QTest::newRow("0.01 / 3") << qint64(1) << 3 << "1,0,0";
        QTest::newRow("even") << qint64(9000) << 2 << "4500,4500";
        QTest::newRow("one") << qint64(777) << 1 << "777";
        QTest::newRow("none") << qint64(777) << 0 << "";
    }

    void equalShares()
    {
        QFETCH(qint64, total);
        QFETCH(int, n);
        QFETCH(QString, shares);
        QStringList got;
        for (qint64 s : equal_shares(total, n))
            got << QString::number(s);
        QCOMPARE(got.join(','), shares);
    }

    // Three friends each pay a third of 91.00 in another way: the bill is settled.
    void sharesSettleTheBillExactly()
    {
        Dinner d;
        const PartsBill bill = read_parts_bill(d.p.ctx, "3", "8.5", "");
        QCOMPARE(bill.payable_fen, qint64(9100));
        QCOMPARE(bill.discount_fen, qint64(900));
        QCOMPARE(bill.deposit_fen, qint64(5000));
        const QVector<qint64> shares = equal_shares(bill.payable_fen, 3);
        PartsRequest r = d.request("", "8.5");
        const QStringList methods{"5", "3", "6"};
        for (int i = 0; i < 3; ++i)
            r.parts << make_part(methods[i], shares[i]);
        r.shown_payable_fen = bill.payable_fen;
        QVERIFY2(settle_with_parts(d.p.ctx, r).ok(), "shares");
        QCOMPARE(d.p.scalar("SELECT sum(amount_fen) FROM mivo_payment"), QString("9100"));
        QCOMPARE(d.p.scalar("SELECT paytype||'|'||price FROM lumo_orders"), QString("5|91.0"));
    }

    void cashGiven_data()
    {
        QTest::addColumn<QString>("given");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<qint64>("change");
        QTest::addColumn<QString>("message");
        QTest::newRow("not typed: exactly the part") << "" << true << qint64(0) << "";
        QTest::newRow("a fifty") << "50" << true << qint64(1650) << "";
        QTest::newRow("exact") << "33.50" << true << qint64(0) << "";
        QTest::newRow("a fen short") << "33.49" << false << qint64(0) << CashGivenShortText;
        QTest::newRow("letters") << "abc" << false << qint64(0) << CashGivenWrongText;
        QTest::newRow("negative") << "-50" << false << qint64(0) << CashGivenWrongText;
        QTest::newRow("three decimals") << "50.005" << false << qint64(0) << CashGivenWrongText;
    }

    void cashGiven()
    {
        QFETCH(QString, given);
        QFETCH(bool, ok);
        QFETCH(qint64, change);
        QFETCH(QString, message);
        const CashGiven c = cash_given(3350, given);
        QCOMPARE(c.ok, ok);
        QCOMPARE(c.change_fen, change);
        QCOMPARE(c.message, message);
    }

    // One guest pays his fish with the member's discount and leaves; the table keeps
    // its bill with the rest, which is then settled and frees the table.
    void splitThenTheRest()
    {
        Dinner d;
        PartsRequest r = d.request("5:5100/10000", "8.5");
        r.line_ids = {"11"};
        const PartsResult first = settle_with_parts(d.p.ctx, r);
        QVERIFY2(first.ok(), qPrintable(first.message));
        QCOMPARE(first.change_fen, qint64(4900));
        QVERIFY(first.order_id != "3");
        QCOMPARE(d.p.scalar("SELECT iscal||'|'||allprice||'|'||price||'|'||paytype||'|'||deskid "
                            "FROM lumo_orders WHERE id="
                            + first.order_id),
                 QString("1|60.0|51.0|5|1"));
        QCOMPARE(d.p.rows("SELECT id||'|'||rootid||'|'||iscal FROM lumo_orders_detail ORDER BY id"),
                 QStringList({"11|" + first.order_id + "|1", "12|3|0", "13|3|0"}));
        QCOMPARE(d.p.scalar("SELECT stat||'|'||price FROM lumo_desk"), QString("1|40.00"));
        QCOMPARE(d.p.scalar("SELECT count(*) FROM lumo_orders WHERE iscal=0 AND deskid=1"),
                 QString("1"));

        PartsRequest rest = d.request("7d:1000,3:3000");
        const PartsResult second = settle_with_parts(d.p.ctx, rest);
        QVERIFY2(second.ok(), qPrintable(second.message));
        QCOMPARE(second.order_id, QString("3"));
        QCOMPARE(d.p.scalar("SELECT iscal||'|'||price||'|'||paytype FROM lumo_orders WHERE id=3"),
                 QString("1|40.0|3"));
        QCOMPARE(d.p.scalar("SELECT stat FROM lumo_desk"), QString("0"));
    }

    void splitRefusals_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("parts");
        QTest::addColumn<int>("outcome");
        QTest::newRow("a returned line")
            << QStringList{"13"} << "5:1000" << int(PartsResult::BadLines);
        QTest::newRow("a line of no order")
            << QStringList{"99"} << "5:1000" << int(PartsResult::BadLines);
        QTest::newRow("parts of the whole bill")
            << QStringList{"12"} << "5:10000" << int(PartsResult::Mismatch);
    }

    void splitRefusals()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, parts);
        QFETCH(int, outcome);
        Dinner d;
        const QString before = d.state();
        PartsRequest r = d.request(parts);
        r.line_ids = lines;
        QCOMPARE(int(settle_with_parts(d.p.ctx, r).outcome), outcome);
        QCOMPARE(d.state(), before);
    }

    void settlingTellsTheScreens()
    {
        Dinner d;
        QSignalSpy lines(&d.p.ctx.notifier(), &ChangeNotifier::lines_changed);
        QSignalSpy desks(&d.p.ctx.notifier(), &ChangeNotifier::desk_changed);
        QSignalSpy members(&d.p.ctx.notifier(), &ChangeNotifier::member_changed);
        QVERIFY(!settle_with_parts(d.p.ctx, d.request("5:1")).ok());
        QCOMPARE(lines.count() + desks.count() + members.count(), 0);
        QVERIFY(settle_with_parts(d.p.ctx, d.request("9:3000,6:7000")).ok());
        QCOMPARE(lines.value(0), QVariantList({"3", "1"}));
        QCOMPARE(desks.value(0), QVariantList({"1"}));
        QCOMPARE(members.value(0), QVariantList({"7"}));
    }

    // A2 (2 guests, deposit 20, a soup of 20.00) ate with A1 and pays on A1's bill.
    void mergeTwoTables()
    {
        Dinner d;
        d.p.exec("INSERT INTO lumo_desk(id,title,bh,stat,nums,price,fwy,yj,addtime) "
                 "VALUES(2,'大厅','A2',1,2,'20.00','小李',20,1709640100)");
        d.p.exec("INSERT INTO lumo_orders(id,title,deskid,iscal,allprice,price,nums) "
                 "VALUES(4,'订单名称',2,0,20,20,2)");
        d.p.exec("INSERT INTO lumo_orders_detail(id,rootid,deskid,title,oneprice,quantity,stat) "
                 "VALUES(21,4,2,'汤',20,1,0)");
        QVERIFY(record_received_part(d.p.ctx, "4", "1", 2000, "WX03"));
        QSignalSpy desks(&d.p.ctx.notifier(), &ChangeNotifier::desk_changed);

        QCOMPARE(merge_desks(d.p.ctx, "1", "1").message, MergeSameText);
        const MergeResult m = merge_desks(d.p.ctx, "1", "2");
        QVERIFY2(m.ok, qPrintable(m.message));
        QCOMPARE(m.order_id, QString("3"));
        QCOMPARE(d.p.scalar("SELECT rootid FROM lumo_orders_detail WHERE id=21"), QString("3"));
        QCOMPARE(d.p.rows("SELECT stat||'|'||nums||'|'||yj||'|'||price FROM lumo_desk ORDER BY id"),
                 QStringList({"1|6|70.0|120.00", "0|0|0.0|0.00"}));
        QCOMPARE(d.p.scalar("SELECT nums||'|'||allprice FROM lumo_orders WHERE id=3"),
                 QString("6|120.0"));
        QCOMPARE(d.p.scalar("SELECT orderid FROM mivo_payment"), QString("3"));
        QCOMPARE(desks.count(), 2);

        // One bill for both: the soup's QR part counts.
        const PartsResult r = settle_with_parts(d.p.ctx, d.request("5:10000"));
        QVERIFY2(r.ok(), qPrintable(r.message));
        QCOMPARE(d.p.scalar("SELECT sum(amount_fen) FROM mivo_payment WHERE stat=1"),
                 QString("12000"));
    }

    void mergeRefusedWhenATableWasSettledMeanwhile_data()
    {
        QTest::addColumn<QString>("settled");
        QTest::newRow("the other table") << "4";
        QTest::newRow("this table") << "3";
    }

    void mergeRefusedWhenATableWasSettledMeanwhile()
    {
        QFETCH(QString, settled);
        Dinner d;
        d.p.exec("INSERT INTO lumo_desk(id,title,bh,stat,nums,price,yj) "
                 "VALUES(2,'大厅','A2',1,2,'20.00',0)");
        d.p.exec("INSERT INTO lumo_orders(id,title,deskid,iscal,allprice,price,nums) "
                 "VALUES(4,'订单名称',2,0,20,20,2)");
        d.p.exec("INSERT INTO lumo_orders_detail(id,rootid,title,oneprice,quantity,stat) "
                 "VALUES(21,4,'汤',20,1,0)");
        SettleRequest other;
        other.order_id = settled;
        other.paytype = "5";
        QVERIFY(settle_order(d.p.ctx, other).ok());
        const QString before = d.state();
        const MergeResult m = merge_desks(d.p.ctx, "1", "2");
        QVERIFY(!m.ok);
        QCOMPARE(m.message, MergeGoneText);
        QCOMPARE(d.state(), before);
    }
};

QTEST_GUILESS_MAIN(TestPaymentParts)
#include "tst_payment_parts.moc"
