#include "app/helpers.h"
#include "checkout/recharge.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QTest>

namespace {

QString add_member(const TestProgram &p, const QString &mobile, const QString &balance)
{
    p.exec("INSERT INTO lumo_member(mobile,truename,balance) VALUES('" + mobile + "','王芳',"
           + balance + ")");
    return p.scalar("SELECT id FROM lumo_member WHERE mobile='" + mobile + "'");
}

QString balance(const TestProgram &p, const QString &uid)
{
    return QString::number(
        p.scalar("SELECT balance FROM lumo_member WHERE id=" + uid).toDouble(), 'g', 15);
}

} // namespace

class TestRecharge : public QObject
{
    Q_OBJECT

private slots:
    void amountChecks_data()
    {
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("empty") << ""
                               << "请输入充值金额";
        QTest::newRow("words") << "一百"
                               << "请输入充值金额";
        QTest::newRow("half a fen") << "0.005"
                                    << "充值金额最少0.01元";
        QTest::newRow("negative") << "-5"
                                  << "充值金额最少0.01元";
        QTest::newRow("one fen") << "0.01"
                                 << "";
        QTest::newRow("blanks around") << " 200 "
                                       << "";
        QTest::newRow("the most") << "1000000"
                                  << "";
        QTest::newRow("one fen over") << "1000000.01"
                                      << "充值金额最多1000000元";
    }
    void amountChecks()
    {
        QFETCH(QString, amount);
        QFETCH(QString, refusal);
        QCOMPARE(recharge_amount_refusal(amount), refusal);
    }

    void cashRechargeCreditsAndRecords()
    {
        TestProgram p;
        const QString uid = add_member(p, "13800000001", "50");
        QVERIFY(set_vip_balance(p.ctx, uid, "5", "200"));
        QCOMPARE(balance(p, uid), QString("250"));
        TSQLiteDatabase db(p.ctx.db_path);
        const TSQLiteTable t = db.GetTable(
            "SELECT title,ordid,addtime,stat,paytype,allprice,price,tid,iscal FROM lumo_orders");
        QCOMPARE(t.Count(), 1);
        QCOMPARE(t.value("title"), QString("会员充值"));
        QVERIFY(!t.value("ordid").isEmpty());
        QCOMPARE(t.integer("addtime"), unix_now_secs(*p.clock));
        QCOMPARE(t.value("stat"), QString("1"));
        QCOMPARE(t.value("paytype"), QString("5"));
        QCOMPARE(t.real("allprice"), 200.0);
        QCOMPARE(t.real("price"), 200.0);
        QCOMPARE(t.value("tid"), QString("1"));
    }

    void noMemberWritesNothing_data()
    {
        QTest::addColumn<bool>("deleted");
        QTest::newRow("no member id") << false;
        QTest::newRow("member deleted meanwhile") << true;
    }
    void noMemberWritesNothing()
    {
        QFETCH(bool, deleted);
        TestProgram p;
        const QString uid = add_member(p, "13800000001", "50");
        if (deleted)
            p.exec("DELETE FROM lumo_member WHERE id=" + uid);
        const QString members = dump(p, "lumo_member");
        QVERIFY(!set_vip_balance(p.ctx, deleted ? uid : QString(), "5", "200"));
        QCOMPARE(dump(p, "lumo_member"), members);
        QCOMPARE(dump(p, "lumo_orders"), QString());
    }

    void failedRecordLeavesTheBalance()
    {
        TestProgram p;
        const QString uid = add_member(p, "13800000001", "50");
        p.exec("CREATE TRIGGER refuse BEFORE INSERT ON lumo_orders "
               "BEGIN SELECT RAISE(ABORT,'disk full'); END");
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, set_vip_balance(p.ctx, uid, "6", "200"));
        QCOMPARE(balance(p, uid), QString("50"));
        QCOMPARE(dump(p, "lumo_orders"), QString());
    }

    void onlineRechargeCreditsOnce()
    {
        TestProgram p;
        const QString uid = add_member(p, "13800000001", "10");
        insert_pending_recharge(p.ctx, "PS1001", "88.8");
        QCOMPARE(p.scalar("SELECT stat||'|'||paytype||'|'||tid FROM lumo_orders"),
                 QString("0|0|1"));
        QCOMPARE(p.scalar("SELECT price FROM lumo_orders").toDouble(), 88.8);
        QCOMPARE(balance(p, uid), QString("10"));

        QCOMPARE(complete_online_recharge(p.ctx, uid, "PS1001", "2", "88.80"),
                 OnlineCredit::Credited);
        QCOMPARE(balance(p, uid), QString("98.8"));
        QCOMPARE(p.scalar("SELECT stat||'|'||paytype FROM lumo_orders"), QString("1|2"));

        // The same report again, or one for a payment never recorded here.
        QCOMPARE(complete_online_recharge(p.ctx, uid, "PS1001", "2", "88.80"),
                 OnlineCredit::AlreadyCredited);
        QCOMPARE(complete_online_recharge(p.ctx, uid, "PS9999", "2", "88.80"),
                 OnlineCredit::AlreadyCredited);
        QCOMPARE(balance(p, uid), QString("98.8"));
    }

    void paidAmountNotice_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("paid");
        QTest::addColumn<QString>("notice");
        QTest::newRow("same") << "88.8"
                              << "88.80"
                              << "";
        QTest::newRow("same to the fen") << "100"
                                         << "100.001"
                                         << "";
        QTest::newRow("paid less")
            << "88.8"
            << "80"
            << "实际支付金额 80.00 元与充值金额 88.80 元不一致，已按实际支付金额充值";
        QTest::newRow("paid a fen more")
            << "100"
            << "100.01"
            << "实际支付金额 100.01 元与充值金额 100.00 元不一致，已按实际支付金额充值";
    }
    void paidAmountNotice()
    {
        QFETCH(QString, asked);
        QFETCH(QString, paid);
        QFETCH(QString, notice);
        QCOMPARE(paid_amount_notice(asked, paid), notice);
    }

    void onlineCompletionRefusals_data()
    {
        QTest::addColumn<QString>("price");
        QTest::addColumn<bool>("deleteMember");
        QTest::addColumn<bool>("failUpdate");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("message");
        const QString badPrice = "支付服务返回的金额无法识别，未充值，请核对后手动处理";
        QTest::newRow("price is no number")
            << "十元" << false << false << int(OnlineCredit::BadPrice) << badPrice;
        QTest::newRow("empty price")
            << "" << false << false << int(OnlineCredit::BadPrice) << badPrice;
        QTest::newRow("nothing paid")
            << "0.00" << false << false << int(OnlineCredit::BadPrice) << badPrice;
        // Paid, but nobody to credit: not a plain "充值失败", there is money to give back.
        QTest::newRow("member deleted")
            << "88.8" << true << false << int(OnlineCredit::NoMember)
            << "已收到在线支付，但该会员已不存在，未能充值，请核对后处理";
        QTest::newRow("store failure") << "88.8" << false << true << -1 << QString();
    }
    void onlineCompletionRefusals()
    {
        QFETCH(QString, price);
        QFETCH(bool, deleteMember);
        QFETCH(bool, failUpdate);
        QFETCH(int, result);
        QFETCH(QString, message);
        TestProgram p;
        const QString uid = add_member(p, "13800000001", "10");
        insert_pending_recharge(p.ctx, "PS1001", "88.8");
        if (deleteMember)
            p.exec("DELETE FROM lumo_member WHERE id=" + uid);
        if (failUpdate)
            p.exec("CREATE TRIGGER refuse BEFORE UPDATE ON lumo_member "
                   "BEGIN SELECT RAISE(ABORT,'disk full'); END");
        const QString members = dump(p, "lumo_member");
        const QString orders = dump(p, "lumo_orders");
        if (result < 0) {
            QVERIFY_THROWS_EXCEPTION(ESQLiteException,
                                     complete_online_recharge(p.ctx, uid, "PS1001", "1", price));
        } else {
            QCOMPARE(int(complete_online_recharge(p.ctx, uid, "PS1001", "1", price)), result);
            QCOMPARE(online_credit_message(OnlineCredit(result)), message);
        }
        QCOMPARE(dump(p, "lumo_member"), members);
        QCOMPARE(dump(p, "lumo_orders"), orders); // still pending, can be completed later
    }
};

QTEST_GUILESS_MAIN(TestRecharge)
#include "tst_recharge.moc"
