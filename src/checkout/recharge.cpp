#include "checkout/recharge.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "staff/sign_in.h"
#include "store/sqlite_db.h"

namespace {

const QString Title = QStringLiteral("会员充值");

QVariant paytype_value(const QString &paytype)
{
    const QString t = paytype.trimmed();
    return is_int_text(t) ? QVariant(int_value(t)) : QVariant(t);
}

bool member_exists(TSQLiteDatabase &db, const QString &uid)
{
    return db.GetTable(QStringLiteral("SELECT id,mobile FROM lumo_member where id=? limit 1"),
                       {uid})
               .Count()
           > 0;
}

} // namespace

RechargeMember read_recharge_member(const AppContext &ctx, const QString &uid)
{
    RechargeMember m;
    if (uid.isEmpty())
        return m;
    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,mobile,truename FROM lumo_member where id=? limit 1"), {uid});
    if (t.Count() > 0)
        m = {t.value("id"), t.value("mobile"), t.value("truename")};
    return m;
}

QString recharge_amount_refusal(const QString &amount)
{
    const QString a = amount.trimmed();
    if (!is_num_text(a))
        return QStringLiteral("请输入充值金额");
    const double v = num_value(a);
    if (v < 0.01)
        return QStringLiteral("充值金额最少0.01元");
    if (v > 1000000)
        return QStringLiteral("充值金额最多1000000元");
    return QString();
}

QString recharge_question(const QString &amount)
{
    return QStringLiteral("确认要充值") + amount + QStringLiteral("元吗");
}

bool set_vip_balance(AppContext &ctx,
                     const QString &uid,
                     const QString &paytype,
                     const QString &amount)
{
    if (uid.isEmpty() || !signed_in(ctx))
        return false;
    const double a = num_value(amount.trimmed());
    TSQLiteDatabase db(ctx.db_path);
    bool done = false;
    db.transaction([&] {
        if (!member_exists(db, uid))
            return;
        db.ExecSQL(QStringLiteral("update lumo_member set balance=balance+? where id=?"), {a, uid});
        db.ExecSQL(QStringLiteral("INSERT INTO lumo_orders(title,ordid,addtime,stat,paytype,"
                                  "allprice,price,tid)VALUES(?,?,?,1,?,?,?,1)"),
                   {Title,
                    make_ordid(ctx.clock(), ctx.random(), QString()),
                    unix_now_secs(ctx.clock()),
                    paytype_value(paytype),
                    a,
                    a});
        done = true;
    });
    if (done)
        ctx.notifier().member_changed(uid);
    return done;
}

void insert_pending_recharge(AppContext &ctx, const QString &ordid, const QString &amount)
{
    const double a = num_value(amount.trimmed());
    TSQLiteDatabase db(ctx.db_path);
    db.ExecSQL(QStringLiteral("INSERT INTO lumo_orders(title,ordid,addtime,stat,allprice,price,"
                              "tid)VALUES(?,?,?,0,?,?,1)"),
               {Title, ordid, unix_now_secs(ctx.clock()), a, a});
    // A row of the orders list, on no table; no balance changed yet.
    ctx.notifier().lines_changed(QString::number(db.GetLastInsertRowID()), QString());
}

OnlineCredit complete_online_recharge(AppContext &ctx,
                                      const QString &uid,
                                      const QString &ordid,
                                      const QString &paytype,
                                      const QString &price)
{
    if (!signed_in(ctx))
        return OnlineCredit::SignedOut;
    const QString p = price.trimmed();
    // Nothing paid is no payment (a service reporting one it does not know says 0.00).
    if (!is_num_text(p) || num_value(p) < 0.01)
        return OnlineCredit::BadPrice;
    if (uid.isEmpty())
        return OnlineCredit::NoMember;
    OnlineCredit result = OnlineCredit::Credited;
    TSQLiteDatabase db(ctx.db_path);
    db.transaction([&] {
        if (!member_exists(db, uid)) {
            result = OnlineCredit::NoMember;
            return;
        }
        // The row records what is credited, so the books show the member's balance.
        db.ExecSQL(QStringLiteral("update lumo_orders set stat=1,paytype=?,allprice=?,price=? "
                                  "where ordid=? and tid=1 and stat=0"),
                   {paytype_value(paytype), num_value(p), num_value(p), ordid});
        if (db.scalar(QStringLiteral("SELECT changes()")).toInt() == 0) {
            result = OnlineCredit::AlreadyCredited;
            return;
        }
        db.ExecSQL(QStringLiteral("update lumo_member set balance=balance+? where id=?"),
                   {num_value(p), uid});
    });
    if (result == OnlineCredit::Credited)
        ctx.notifier().member_changed(uid);
    return result;
}

QString online_credit_message(OnlineCredit result)
{
    switch (result) {
    case OnlineCredit::Credited:
        return QString();
    case OnlineCredit::SignedOut:
        return SignInFirstText;
    case OnlineCredit::AlreadyCredited:
        return QStringLiteral("这笔充值已经入账，不再重复充值");
    case OnlineCredit::NoMember:
        // The guest has paid: the counter must know there is money to give back.
        return QStringLiteral("已收到在线支付，但该会员已不存在，未能充值，请核对后处理");
    case OnlineCredit::BadPrice:
        return QStringLiteral("支付服务返回的金额无法识别，未充值，请核对后手动处理");
    }
    return QString();
}

QString paid_amount_notice(const QString &asked, const QString &paid)
{
    const double a = num_value(asked.trimmed());
    const double p = num_value(paid.trimmed());
    if (qRound64(a * 100) == qRound64(p * 100))
        return QString();
    return QStringLiteral("实际支付金额 %1 元与充值金额 %2 元不一致，已按实际支付金额充值")
        .arg(QString::number(p, 'f', 2), QString::number(a, 'f', 2));
}
