#include "checkout/settlement.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "checkout/checkout.h"
#include "checkout/pay_methods.h"
#include "checkout/payment_parts.h"
#include "ordering/orders.h"
#include "printing/kitchen.h"
#include "staff/sign_in.h"
#include "store/sqlite_db.h"

namespace {

// Thrown inside the transaction to roll it back with a refusal instead of a store error.
struct Refusal
{
    SettleResult::Outcome outcome;
    QString message;
};

void settle_in(AppContext &ctx, TSQLiteDatabase &db, const SettleRequest &req, SettleResult &r)
{
    // Pay types are the method ids 1-7 and the balance's 9; anything else (an online
    // payment's report may carry any number) would be an order nobody can tell how it
    // was paid.
    const qint64 type = int_value(req.paytype.trimmed(), -1);
    if (type < 1 || type > 9 || type == 8)
        throw Refusal{SettleResult::Failed, SettleFailedText};
    // Everything is read again here: another counter may have settled the order,
    // changed its lines or spent the member's balance since the checkout showed them.
    const TSQLiteTable order = db.GetTable(
        QStringLiteral("SELECT id,deskid,iscal FROM lumo_orders where id=?"), {req.order_id});
    if (order.Count() > 0)
        r.desk_id = order.value(QStringLiteral("deskid"));
    if (order.Count() == 0 || order.value(QStringLiteral("iscal")).trimmed() != QLatin1String("0"))
        throw Refusal{SettleResult::OrderGone, OrderGoneText};

    const CheckoutTotals totals = getalprice(db, req.order_id);
    double balance = 0;
    bool member = false;
    if (!req.member_id.isEmpty()) {
        const TSQLiteTable m
            = db.GetTable(QStringLiteral("SELECT balance FROM lumo_member where id=? AND stat=0"),
                          {req.member_id});
        member = m.Count() > 0;
        balance = member ? num_value(m.FieldAsString(0).trimmed()) : 0.0;
    }
    const QString b_text = req.deduction.trimmed();
    const qint64 wanted = is_plain_decimal(b_text) ? cents_half_up(b_text.toDouble()) : 0;
    if (wanted > 0 && !req.member_id.isEmpty()) {
        if (!member)
            throw Refusal{SettleResult::MemberGone, MemberMissingText};
        if (wanted > cents_half_up(balance))
            throw Refusal{SettleResult::BalanceShort, DeductionTooMuchText};
    }

    const Payable p = auto_cal(totals, balance, req.deduction, req.discount, req.reduction);
    if (p.negative())
        throw Refusal{SettleResult::Negative, SettleFailedText};
    if (req.shown_payprice && cents_half_up(*req.shown_payprice) != cents_half_up(p.payprice))
        throw Refusal{SettleResult::AmountChanged, AmountChangedText};
    const bool from_balance = member && p.deduction > 0;
    r.paytype = from_balance && cents_half_up(p.payprice) == 0 ? PayMemberBalance : req.paytype;
    r.price = p.payprice;

    const TSQLiteTable desk = db.GetTable(
        QStringLiteral("SELECT id,title,bh,fwy,yj,nums,ydtruename FROM lumo_desk where id=? "
                       "limit 1"),
        {r.desk_id});
    if (desk.Count() == 0)
        throw Refusal{SettleResult::Failed, SettleFailedText};

    const qint64 now = unix_now_secs(ctx.clock());
    db.ExecSQL(QStringLiteral("UPDATE lumo_orders_detail set iscal=1 where rootid=?"),
               {req.order_id});
    db.ExecSQL(QStringLiteral("UPDATE lumo_orders set iscal=1,balance=?,paytime=?,paytype=?,"
                              "price=?,yj=?,fwy=?,nums=?,truename=? where id=?"),
               {p.deduction,
                now,
                r.paytype,
                p.payprice,
                desk.value(QStringLiteral("yj")),
                desk.value(QStringLiteral("fwy")),
                desk.value(QStringLiteral("nums")).toLongLong(),
                desk.value(QStringLiteral("ydtruename")),
                req.order_id});
    // Two counters can each have opened an order for one table; the table stays
    // with the party that is still eating.
    const bool other_party = !db.scalar(QStringLiteral("SELECT id FROM lumo_orders where iscal=0 "
                                                       "AND deskid=? limit 1"),
                                        {r.desk_id})
                                  .isEmpty();
    if (other_party) {
        cal_desk_price(ctx, db, r.desk_id);
    } else {
        db.ExecSQL(QStringLiteral("UPDATE lumo_desk set stat=0,nums=0,price='0.00',fwy='',"
                                  "ydtruename='',yj=0,gldesk='',addtime=0 where id=?"),
                   {r.desk_id});
    }
    if (from_balance) {
        // Whole cents, never below 0.
        const qint64 left
            = std::max<qint64>(0, cents_half_up(balance) - cents_half_up(p.deduction));
        db.ExecSQL(QStringLiteral("UPDATE lumo_member set balance=? where id=?"),
                   {double(left) / 100.0, req.member_id});
    }
    // The same payment as parts, so every bill this program settles is counted one way.
    write_parts(db,
                ctx,
                req.order_id,
                {make_part(r.paytype, cents_half_up(p.payprice)),
                 make_part(PayMemberBalance, from_balance ? cents_half_up(p.deduction) : 0)},
                now);
    BillFacts facts;
    facts.allprice_fen = cents_half_up(totals.allprice);
    facts.discount_fen
        = facts.allprice_fen
          - cents_half_up(auto_cal(totals, 0, QString(), req.discount, QString()).payprice);
    facts.reduction_fen
        = facts.allprice_fen - facts.discount_fen - cents_half_up(p.before_deduction);
    facts.deposit_fen = cents_half_up(num_value(desk.value(QStringLiteral("yj")).trimmed()));
    if (from_balance) {
        facts.member_id = req.member_id;
        facts.balance_left_fen
            = std::max<qint64>(0, cents_half_up(balance) - cents_half_up(p.deduction));
    }
    write_bill_facts(db, ctx, req.order_id, facts, now);
}

} // namespace

SettleResult settle_order(AppContext &ctx, const SettleRequest &request)
{
    SettleResult r;
    if (!signed_in(ctx)) {
        r.outcome = SettleResult::SignedOut;
        r.message = SignInFirstText;
        return r;
    }
    try {
        TSQLiteDatabase db(ctx.db_path);
        db.transaction([&] { settle_in(ctx, db, request, r); });
        r.outcome = SettleResult::Done;
        r.message = SettledText;
    } catch (const Refusal &refusal) {
        r.outcome = refusal.outcome;
        r.message = refusal.message;
        // Settled or deleted at another counter: the screens catch up with it.
        if (r.outcome == SettleResult::OrderGone)
            ctx.notifier().lines_changed(request.order_id, r.desk_id);
        return r;
    } catch (const ESQLiteException &e) {
        r.outcome = SettleResult::Failed;
        r.message = SettleFailedText;
        r.error = store_failure_text(e);
        return r;
    }
    ChangeNotifier &n = ctx.notifier();
    n.lines_changed(request.order_id, r.desk_id);
    n.desk_changed(r.desk_id);
    if (!request.member_id.isEmpty())
        n.member_changed(request.member_id);
    // After the commit: the drawer opens for cash that was really taken.
    if (r.ok())
        queue_cash_drawer(ctx, r.paytype);
    return r;
}
