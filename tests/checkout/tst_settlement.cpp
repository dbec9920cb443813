// Settling an order on a real database file: what is written, and that a refusal
// or a failure anywhere writes nothing, also when another counter got there first.
#include "app/helpers.h"
#include "checkout/settlement.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QTest>

namespace {

// Table A1 open for 4 guests (deposit 50, waiter 小王, guest name 张三) with an open
// order of 100.00: 60.00 of a discountable dish, 40.00 not; member 李四 with 200.
struct Dinner
{
    Dinner()
    {
        p.exec("INSERT INTO lumo_desk(id,title,bh,stat,nums,price,fwy,yj,ydtruename,addtime,"
               "gldesk) VALUES(1,'大厅','A1',1,4,'100.00','小王',50,'张三',1709640000,'2')");
        p.exec(
            "INSERT INTO lumo_caipin(id,title,price,iszk) VALUES(1,'鱼','30',1),(2,'酒','10',0)");
        p.exec("INSERT INTO lumo_orders(id,title,deskid,iscal,stat,allprice,price,nums,yj,fwy) "
               "VALUES(3,'订单名称',1,0,1,100,100,4,'50','小王')");
        p.exec("INSERT INTO lumo_orders_detail(rootid,caipinid,title,oneprice,quantity,stat) "
               "VALUES(3,1,'鱼',30,2,3),(3,2,'酒',10,4,0),(3,2,'酒',10,1,8)");
        p.exec("INSERT INTO lumo_member(id,mobile,truename,zekou,balance) "
               "VALUES(7,'13800138000','李四',850,200)");
    }

    SettleRequest cash() const
    {
        SettleRequest r;
        r.order_id = "3";
        r.paytype = "5";
        return r;
    }

    // Everything settling may touch.
    QString state() const
    {
        return dump(p, "lumo_orders") + "\n" + dump(p, "lumo_orders_detail") + "\n"
               + dump(p, "lumo_desk") + "\n" + dump(p, "lumo_member");
    }

    TestProgram p;
};

} // namespace

class TestSettlement : public QObject
{
    Q_OBJECT

private slots:
    void cashSettlesOrderAndFreesTable()
    {
        Dinner d;
        SettleRequest r = d.cash();
        r.discount = "8.5";
        r.shown_payprice = 91.0;
        const SettleResult res = settle_order(d.p.ctx, r);
        QVERIFY2(res.ok(), qPrintable(res.message + res.error));
        QCOMPARE(res.message, QString("结算成功"));
        QCOMPARE(res.desk_id, QString("1"));
        const QString paytime = QString::number(unix_now_secs(d.p.ctx.clock()));
        QCOMPARE(d.p.scalar("SELECT iscal||'|'||paytype||'|'||paytime||'|'||price||'|'||balance||"
                            "'|'||yj||'|'||fwy||'|'||nums||'|'||truename||'|'||allprice "
                            "FROM lumo_orders WHERE id=3"),
                 "1|5|" + paytime + "|91.0|0|50.0|小王|4|张三|100.0");
        QCOMPARE(d.p.scalar("SELECT group_concat(iscal) FROM lumo_orders_detail"),
                 QString("1,1,1"));
        QCOMPARE(d.p.scalar("SELECT stat||'|'||nums||'|'||price||'|'||fwy||'|'||ydtruename||'|'||"
                            "yj||'|'||gldesk||'|'||addtime FROM lumo_desk WHERE id=1"),
                 QString("0|0|0.00|||0.0||0"));
        QCOMPARE(d.p.scalar("SELECT balance FROM lumo_member"), QString("200.0"));
    }

    void balancePaysTheWholeBill()
    {
        Dinner d;
        d.p.exec("UPDATE lumo_orders_detail SET oneprice=oneprice*1.5");
        SettleRequest r = d.cash();
        r.member_id = "7";
        r.deduction = "150";
        const SettleResult res = settle_order(d.p.ctx, r);
        QVERIFY2(res.ok(), qPrintable(res.message + res.error));
        QCOMPARE(res.paytype, QString("9"));
        QCOMPARE(d.p.scalar("SELECT paytype||'|'||balance||'|'||price FROM lumo_orders"),
                 QString("9|150|0.0"));
        QCOMPARE(d.p.scalar("SELECT balance FROM lumo_member"), QString("50.0"));
    }

    void balancePaysPart()
    {
        Dinner d;
        SettleRequest r = d.cash();
        r.member_id = "7";
        r.discount = "8.50";
        r.deduction = "33.33";
        const SettleResult res = settle_order(d.p.ctx, r);
        QVERIFY2(res.ok(), qPrintable(res.message + res.error));
        // Part paid in cash: the chosen method stays.
        QCOMPARE(d.p.scalar("SELECT paytype||'|'||balance||'|'||price FROM lumo_orders"),
                 QString("5|33.33|57.67"));
        QCOMPARE(d.p.scalar("SELECT balance FROM lumo_member"), QString("166.67"));
    }

    void everyLineReturned()
    {
        Dinner d;
        d.p.exec("UPDATE lumo_orders_detail SET stat=8");
        const SettleResult res = settle_order(d.p.ctx, d.cash());
        QVERIFY(res.ok());
        QCOMPARE(d.p.scalar("SELECT iscal||'|'||price FROM lumo_orders"), QString("1|0.0"));
        QCOMPARE(d.p.scalar("SELECT stat FROM lumo_desk"), QString("0"));
    }

    // The order moved to A2 after the checkout was opened: A2 is freed, A1 is not touched.
    void freesTheTableTheOrderIsOnNow()
    {
        Dinner d;
        d.p.exec(
            "INSERT INTO lumo_desk(id,title,bh,stat,nums,price) VALUES(2,'包间','A2',0,0,'0.00')");
        d.p.exec("UPDATE lumo_desk SET stat=1,nums=4,price='100.00',fwy='小王',yj=50 WHERE id=2");
        d.p.exec("UPDATE lumo_desk SET stat=0,nums=0,price='0.00',fwy='',yj=0,ydtruename='' "
                 "WHERE id=1");
        d.p.exec("UPDATE lumo_orders SET deskid=2");
        const QString a1 = dump(d.p, "lumo_desk").section('\n', 0, 0);
        const SettleResult res = settle_order(d.p.ctx, d.cash());
        QVERIFY(res.ok());
        QCOMPARE(res.desk_id, QString("2"));
        QCOMPARE(d.p.scalar("SELECT stat||'|'||price FROM lumo_desk WHERE id=2"),
                 QString("0|0.00"));
        QCOMPARE(dump(d.p, "lumo_desk").section('\n', 0, 0), a1);
    }

    // Two counters each opened an order for A1: settling one leaves the table open
    // for the other party, showing that party's total.
    void tableStaysWithTheOtherParty()
    {
        Dinner d;
        d.p.exec("INSERT INTO lumo_orders(id,title,deskid,iscal,stat) VALUES(4,'订单名称',1,0,1)");
        d.p.exec("INSERT INTO lumo_orders_detail(rootid,caipinid,title,oneprice,quantity,stat) "
                 "VALUES(4,1,'鱼',30,1,0)");
        const SettleResult res = settle_order(d.p.ctx, d.cash());
        QVERIFY(res.ok());
        QCOMPARE(d.p.scalar("SELECT iscal FROM lumo_orders WHERE id=3"), QString("1"));
        QCOMPARE(d.p.scalar("SELECT stat||'|'||nums||'|'||price FROM lumo_desk"),
                 QString("1|4|30.00"));
        QCOMPARE(d.p.scalar("SELECT iscal FROM lumo_orders WHERE id=4"), QString("0"));
    }

    // Nothing at all is written when the settlement is refused or fails.
    void refusedOrFailedWritesNothing_data()
    {
        QTest::addColumn<QString>("situation");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("message");
        QTest::newRow("reduction over the amount")
            << "reduction" << int(SettleResult::Negative) << "结算失败";
        QTest::newRow("store failure at the last statement")
            << "trigger" << int(SettleResult::Failed) << "结算失败";
        QTest::newRow("balance spent at another counter")
            << "spent" << int(SettleResult::BalanceShort) << "扣除的金额超过账户余额";
        QTest::newRow("member deleted meanwhile")
            << "member gone" << int(SettleResult::MemberGone) << "查找的会员信息不存在";
        QTest::newRow("settled at another counter")
            << "settled" << int(SettleResult::OrderGone) << "此订单已结算或已删除，无法结算";
        QTest::newRow("order deleted")
            << "deleted" << int(SettleResult::OrderGone) << "此订单已结算或已删除，无法结算";
        QTest::newRow("lines added at another counter")
            << "added" << int(SettleResult::AmountChanged) << "订单金额已变化，请核对后重新结算";
        QTest::newRow("table deleted") << "no table" << int(SettleResult::Failed) << "结算失败";
        QTest::newRow("no pay type") << "no pay type" << int(SettleResult::Failed) << "结算失败";
        // A paid report may carry any number; 8 has no name and would read "未支付".
        QTest::newRow("pay type with no name")
            << "pay type 8" << int(SettleResult::Failed) << "结算失败";
    }
    void refusedOrFailedWritesNothing()
    {
        QFETCH(QString, situation);
        QFETCH(int, outcome);
        QFETCH(QString, message);
        Dinner d;
        SettleRequest r = d.cash();
        r.member_id = "7";
        r.deduction = "50";
        r.discount = "8.50";
        r.shown_payprice = 41.0; // 100 less 9.00 discount less 50 from the balance

        // What another connection does between the checkout's display and the click.
        TSQLiteDatabase other(d.p.ctx.db_path);
        if (situation == "reduction") {
            r.reduction = "92";
            r.shown_payprice.reset();
        } else if (situation == "trigger") {
            other.ExecSQL("CREATE TRIGGER fail BEFORE UPDATE ON lumo_member "
                          "BEGIN SELECT RAISE(ABORT,'disk I/O error'); END");
        } else if (situation == "spent") {
            other.ExecSQL("UPDATE lumo_member SET balance=49.99 WHERE id=7");
        } else if (situation == "member gone") {
            other.ExecSQL("DELETE FROM lumo_member WHERE id=7");
        } else if (situation == "settled") {
            // Settled there, and the table opened again for the next party.
            other.ExecSQL("UPDATE lumo_orders SET iscal=1,paytype=6,price=100 WHERE id=3");
            other.ExecSQL("UPDATE lumo_orders_detail SET iscal=1 WHERE rootid=3");
            other.ExecSQL("UPDATE lumo_desk SET stat=1,nums=2,price='12.00' WHERE id=1");
            other.ExecSQL("INSERT INTO lumo_orders(id,title,deskid,iscal,stat) "
                          "VALUES(4,'订单名称',1,0,1)");
        } else if (situation == "deleted") {
            other.ExecSQL("DELETE FROM lumo_orders WHERE id=3");
        } else if (situation == "added") {
            other.ExecSQL("INSERT INTO lumo_orders_detail(rootid,caipinid,title,oneprice,"
                          "quantity,stat) VALUES(3,2,'酒',10,1,0)");
        } else if (situation == "no pay type") {
            r.paytype = "";
        } else if (situation == "pay type 8") {
            r.paytype = "8";
        } else if (situation == "no table") {
            other.ExecSQL("DELETE FROM lumo_desk WHERE id=1");
        }
        const QString before = d.state();

        const SettleResult res = settle_order(d.p.ctx, r);
        QCOMPARE(int(res.outcome), outcome);
        QCOMPARE(res.message, message);
        QCOMPARE(d.state(), before);
        if (situation == "trigger")
            QVERIFY(res.error.contains("disk I/O error"));
    }
};

QTEST_GUILESS_MAIN(TestSettlement)
#include "tst_settlement.moc"
