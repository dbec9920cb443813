// The receipt of a bill paid in parts names how it was paid; one settled by an older
// counter, without parts, prints as before.
#include "checkout/payment_parts.h"
#include "printing/order_prints.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QTest>

namespace {

// A1 with a deposit of 50 and 100.00 of lines (60.00 discountable); member with 200.
void seat(TestProgram &p)
{
    p.exec("INSERT INTO lumo_desk(id,title,bh,stat,nums,price,yj) "
           "VALUES(1,'大厅','A1',1,4,'100.00',50)");
    p.exec("INSERT INTO lumo_caipin(id,title,price,iszk) VALUES(1,'鱼','30',1),(2,'酒','10',0)");
    p.exec("INSERT INTO lumo_orders(id,title,deskid,iscal,allprice,price,nums) "
           "VALUES(3,'订单名称',1,0,100,100,4)");
    p.exec("INSERT INTO lumo_orders_detail(id,rootid,caipinid,title,oneprice,quantity,stat) "
           "VALUES(11,3,1,'鱼',30,2,0),(12,3,2,'酒',10,4,0)");
    p.exec("INSERT INTO lumo_member(id,mobile,truename,zekou,balance) "
           "VALUES(7,'13800138000','李四',850,200)");
}

// The footer: every row after the lines, the date row left out (it is the clock's).
QStringList footer(const ComposedPrint &c)
{
    QStringList out;
    for (qsizetype i = 4; i < c.rows.size(); ++i)
        if (!c.rows[i].first().title.startsWith("日期："))
            out << c.rows[i].first().title;
    return out;
}

} // namespace

class TestReceiptPayments : public QObject
{
    Q_OBJECT

private slots:
    void openBillShowsDepositAndReceivedParts()
    {
        TestProgram p;
        seat(p);
        QVERIFY(record_received_part(p.ctx, "3", "1", 3000, "WX1"));
        QCOMPARE(footer(compose_receipt(p.ctx, "店", "A1", "1", "0")),
                 QStringList({"订单金额：100.00",
                              "您需支付：100.00",
                              "开台押金：50.00",
                              "已收款项：微信 30.00"}));
    }

    void settledBillShowsEveryPart()
    {
        TestProgram p;
        seat(p);
        QVERIFY(record_received_part(p.ctx, "3", "1", 3000, "WX1"));
        PartsRequest r;
        r.order_id = "3";
        r.member_id = "7";
        r.discount = "8.5";
        r.reduction = "1";
        // 100.00 - 9.00 discount - 1.00 = 90.00: QR 30, deposit 20, balance 15, cash 25.
        PaymentPart deposit = make_part("7", 2000);
        deposit.note = DepositNote;
        PaymentPart cash = make_part("5", 2500);
        cash.given_fen = 5000;
        r.parts = {deposit, make_part("9", 1500), cash};
        const PartsResult res = settle_with_parts(p.ctx, r);
        QVERIFY2(res.ok(), qPrintable(res.message));
        QCOMPARE(res.change_fen, qint64(2500));
        QCOMPARE(footer(compose_receipt(p.ctx, "店", "A1", "1", "3")),
                 QStringList({"订单金额：100.00",
                              "您需支付：75.00",
                              "会员折扣：-9.00",
                              "减免金额：-1.00",
                              "开台押金：50.00",
                              "微信支付：30.00",
                              "押金抵扣：20.00",
                              "现金支付：25.00",
                              "实收现金：50.00",
                              "找零：25.00",
                              "余额支付：15.00",
                              "会员余额：185.00"}));
    }

    void olderCountersBillPrintsAsBefore()
    {
        TestProgram p;
        seat(p);
        p.exec("UPDATE lumo_orders SET iscal=1,paytime=1709640000,paytype=5,price=100");
        QCOMPARE(footer(compose_receipt(p.ctx, "店", "A1", "1", "3")),
                 QStringList({"订单金额：100.00", "您需支付：100.00"}));
    }
};

QTEST_GUILESS_MAIN(TestReceiptPayments)
#include "tst_receipt_payments.moc"
