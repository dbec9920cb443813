// Nobody signed in at the counter: every write of money, lines or a table's state is
// refused with "请先登录" and writes nothing; signed in, the same call writes.

#include "board/clearing.h"
#include "board/desk_state.h"
#include "board/transfer.h"
#include "checkout/recharge.h"
#include "checkout/settlement.h"
#include "ordering/diancan.h"
#include "ordering/orders.h"
#include "ordering/price_change.h"
#include "staff/sign_in.h"
#include "support/fixtures.h"

#include <QTest>

#include <functional>

namespace {

// Table 1 open with an order of one line, table 2 open with an empty order, table 3
// free; member 7 with a balance of 200 and an online recharge of 50 waiting.
struct Counter
{
    Counter()
    {
        add_desks(p, 3);
        p.exec("UPDATE lumo_desk SET stat=1,nums=2 WHERE id IN(1,2)");
        order = open_order(p, 1);
        add_line(p, order, "鱼", "30", "1");
        line = p.scalar("SELECT id FROM lumo_orders_detail");
        empty_order = open_order(p, 2);
        p.exec("INSERT INTO lumo_caipin(id,title,titleen,price,iszk) VALUES(1,'鱼','y','30',1)");
        p.exec("INSERT INTO lumo_member(id,mobile,truename,balance) "
               "VALUES(7,'13800138000','李四',200)");
        insert_pending_recharge(p.ctx, "R1", "50"); // a QR recharge waiting for its payment
    }
    QString everything() const
    {
        QStringList out;
        for (const char *t : {"lumo_desk", "lumo_orders", "lumo_orders_detail", "lumo_member"})
            out << dump(p, QString::fromLatin1(t));
        return out.join("\n--\n");
    }

    TestProgram p;
    QString order;
    QString line;
    QString empty_order;
};

// One write; returns what it told the cashier ("" when it says nothing but a result).
using Write = std::function<QString(Counter &)>;

const QList<QPair<const char *, Write>> &writes()
{
    static const QList<QPair<const char *, Write>> list = {
        {"settle",
         [](Counter &c) {
             SettleRequest r;
             r.order_id = c.order;
             r.paytype = "5";
             return settle_order(c.p.ctx, r).message;
         }},
        {"settle from the balance",
         [](Counter &c) {
             SettleRequest r;
             r.order_id = c.order;
             r.paytype = "3";
             r.member_id = "7";
             r.deduction = "30";
             return settle_order(c.p.ctx, r).message;
         }},
        {"recharge",
         [](Counter &c) {
             return set_vip_balance(c.p.ctx, "7", "5", "50") ? QString("充值成功")
                                                             : SignInFirstText;
         }},
        {"online recharge paid",
         [](Counter &c) {
             return online_credit_message(complete_online_recharge(c.p.ctx, "7", "R1", "1", "50"));
         }},
        {"submit",
         [](Counter &c) {
             const SubmitResult r
                 = submit_cart(c.p.ctx, "1", {CartItem{"1", "鱼", "30", "2", "0", {}, {}, {}}});
             return r.kind == SubmitResult::SignedOut ? SignInFirstText : QString("落单");
         }},
        {"price change",
         [](Counter &c) {
             const QString total
                 = save_price_changes(c.p.ctx, c.order, {PriceEdit{c.line, "25", "1", "少辣"}});
             return total.isEmpty() ? SignInFirstText : total;
         }},
        {"return lines",
         [](Counter &c) {
             return batch_lines(c.p.ctx, LineOp::Return, c.line) ? QString("退菜")
                                                                 : SignInFirstText;
         }},
        {"delete lines",
         [](Counter &c) {
             return batch_lines(c.p.ctx, LineOp::Delete, c.line) ? QString("删除")
                                                                 : SignInFirstText;
         }},
        {"transfer",
         [](Counter &c) {
             return transfer_desk(c.p.ctx, "1", "3").message;
         }},
        {"clear",
         [](Counter &c) {
             return clear_desk(c.p.ctx, "2");
         }},
        {"table state",
         [](Counter &c) {
             DeskStateForm f;
             f.stat = 1;
             f.nums = "4";
             return save_desk_state(c.p.ctx, "3", f).message;
         }},
    };
    return list;
}

} // namespace

class TestSignInRequired : public QObject
{
    Q_OBJECT

private slots:
    void writesRefuseNobody_data()
    {
        QTest::addColumn<int>("write");
        for (int i = 0; i < writes().size(); ++i)
            QTest::newRow(writes().at(i).first) << i;
    }
    void writesRefuseNobody()
    {
        QFETCH(int, write);
        Counter c;
        const Account admin = c.p.ctx.account;
        QVERIFY(signed_in(c.p.ctx));
        const QString before = c.everything();

        c.p.ctx.account.clear();
        QCOMPARE(writes().at(write).second(c), SignInFirstText);
        QCOMPARE(c.everything(), before);
        const QString refused = c.everything();

        // The same call writes for a cashier signed in.
        c.p.ctx.account = admin;
        QVERIFY(writes().at(write).second(c) != SignInFirstText);
        QVERIFY(c.everything() != refused);
    }
};

QTEST_GUILESS_MAIN(TestSignInRequired)
#include "tst_sign_in_required.moc"
