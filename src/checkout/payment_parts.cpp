#include "checkout/payment_parts.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "checkout/checkout.h"
#include "checkout/pay_methods.h"
#include "checkout/settlement.h"
#include "ordering/orders.h"
#include "store/sqlite_db.h"

#include <QSet>

namespace {

struct Refusal
{
    PartsResult::Outcome outcome;
    QString message;
};

QString placeholders(qsizetype n)
{
    QStringList marks;
    for (qsizetype i = 0; i < n; ++i)
        marks << QStringLiteral("?");
    return marks.join(QChar(','));
}

QVariantList as_params(const QStringList &values)
{
    QVariantList out;
    for (const QString &v : values)
        out << v;
    return out;
}

// The totals of the chosen lines alone, as the checkout sums a whole order.
CheckoutTotals line_totals(TSQLiteDatabase &db, const QString &order_id, const QStringList &ids)
{
    CheckoutTotals t;
    QVariantList params{order_id};
    params << as_params(ids);
    const QString in
        = QStringLiteral(" AND A1.id in(") + placeholders(ids.size()) + QStringLiteral(")");
    t.allprice = db.GetTable(QStringLiteral("SELECT Sum(A1.oneprice*A1.quantity) FROM "
                                            "lumo_orders_detail AS A1 where A1.rootid=? AND "
                                            "A1.stat in(0,1,2,3,4,5,6,7)")
                                 + in,
                             params)
                     .FieldAsDouble(0);
    t.allzekouprice = db.GetTable(QStringLiteral("SELECT Sum(A1.oneprice*A1.quantity) FROM "
                                                 "lumo_orders_detail AS A1 LEFT JOIN lumo_caipin "
                                                 "AS A2 ON A1.caipinid=A2.id where A1.rootid=? "
                                                 "AND A1.stat in(0,1,2,3,4,5,6,7) AND A2.iszk=1")
                                      + in,
                                  params)
                          .FieldAsDouble(0);
    return t;
}

PaymentPart part_of(const TSQLiteTable &t)
{
    PaymentPart p;
    p.id = t.FieldAsInteger(0);
    p.paytype = t.FieldAsString(1);
    p.amount_fen = t.FieldAsInteger(2);
    p.given_fen = t.FieldAsInteger(3);
    p.note = t.FieldAsString(4);
    p.ordid = t.FieldAsString(5);
    p.stat = int(t.FieldAsInteger(6));
    p.addtime = t.FieldAsInteger(7);
    return p;
}

const QString PartColumns
    = QStringLiteral("id,paytype,amount_fen,given_fen,note,ordid,stat,addtime");

// The parts of an order, in the order they were paid; `filter` narrows them further.
QVector<PaymentPart> parts_of(TSQLiteDatabase &db, const QString &order_id, const QString &filter)
{
    QVector<PaymentPart> out;
    for (TSQLiteTable t = db.GetTable(QStringLiteral("SELECT ") + PartColumns
                                          + QStringLiteral(" FROM mivo_payment where orderid=?")
                                          + filter + QStringLiteral(" order by id"),
                                      {order_id});
         !t.isEof();
         t.Next())
        out.append(part_of(t));
    return out;
}

QVector<PaymentPart> received_of(TSQLiteDatabase &db, const QString &order_id)
{
    return parts_of(db, order_id, QStringLiteral(" AND stat=0"));
}

// The bill of the order (or of its chosen lines) inside an open connection.
PartsBill bill_in(TSQLiteDatabase &db,
                  const QString &order_id,
                  const QString &discount,
                  const QString &reduction,
                  const QStringList &line_ids)
{
    PartsBill b;
    const TSQLiteTable order = db.GetTable(
        QStringLiteral("SELECT deskid,iscal FROM lumo_orders where id=?"), {order_id});
    if (order.Count() == 0)
        return b;
    b.open = order.FieldAsString(1).trimmed() == QLatin1String("0");
    b.desk_id = order.FieldAsString(0);
    const CheckoutTotals totals
        = line_ids.isEmpty() ? getalprice(db, order_id) : line_totals(db, order_id, line_ids);
    const Payable discounted = auto_cal(totals, 0, QString(), discount, QString());
    const Payable p = auto_cal(totals, 0, QString(), discount, reduction);
    b.allprice_fen = fen_of_yuan(totals.allprice);
    b.discount_fen = b.allprice_fen - fen_of_yuan(discounted.payprice);
    b.reduction_fen = fen_of_yuan(discounted.payprice) - fen_of_yuan(p.payprice);
    b.payable_fen = fen_of_yuan(p.payprice);
    b.deposit_fen = fen_of_yuan(num_value(
        db.scalar(QStringLiteral("SELECT yj FROM lumo_desk where id=?"), {b.desk_id}).trimmed()));
    b.received = received_of(db, order_id);
    for (const PaymentPart &r : std::as_const(b.received))
        b.received_fen += r.amount_fen;
    return b;
}

void check_lines(TSQLiteDatabase &db, const QString &order_id, const QStringList &ids)
{
    QVariantList params{order_id};
    params << as_params(ids);
    const qint64 live = db.scalar(QStringLiteral("SELECT count(*) FROM lumo_orders_detail where "
                                                 "rootid=? AND stat in(0,1,2,3,4,5,6,7) AND "
                                                 "id in(")
                                      + placeholders(ids.size()) + QStringLiteral(")"),
                                  params)
                            .toLongLong();
    if (live != QSet<QString>(ids.begin(), ids.end()).size())
        throw Refusal{PartsResult::BadLines, BadLinesText};
}

void settle_parts_in(AppContext &ctx,
                     TSQLiteDatabase &db,
                     const PartsRequest &req,
                     PartsResult &r,
                     QString &member_charged)
{
    // Parts paid here are offline methods or the balance; an online part only counts
    // once the service reported it, and then it is on the bill already.
    qint64 balance_fen = 0;
    qint64 deposit_fen = 0;
    qint64 given_fen = 0;
    for (const PaymentPart &p : req.parts) {
        const qint64 type = int_value(p.paytype.trimmed(), -1);
        const bool deposit = p.note == DepositNote;
        if (p.amount_fen <= 0 || !((type >= 3 && type <= 7) || type == 9)
            || (deposit && p.paytype != OtherMethod))
            throw Refusal{PartsResult::BadPart, BadPartText};
        if (type == 9)
            balance_fen += p.amount_fen;
        if (deposit)
            deposit_fen += p.amount_fen;
        if (p.paytype == CashMethod) {
            if (p.given_fen != 0 && p.given_fen < p.amount_fen)
                throw Refusal{PartsResult::CashShort, CashGivenShortText};
            r.cash_fen += p.amount_fen;
            given_fen += p.given_fen != 0 ? p.given_fen : p.amount_fen;
        }
    }
    r.change_fen = given_fen - r.cash_fen;

    const TSQLiteTable order = db.GetTable(
        QStringLiteral("SELECT id,deskid,iscal,title,addtime FROM lumo_orders where id=?"),
        {req.order_id});
    if (order.Count() == 0 || order.value(QStringLiteral("iscal")).trimmed() != QLatin1String("0"))
        throw Refusal{PartsResult::OrderGone, OrderGoneText};
    r.desk_id = order.value(QStringLiteral("deskid"));

    // Only some lines: unless they are every line the order has, they leave as an order
    // of their own.
    QStringList lines = req.line_ids;
    if (!lines.isEmpty()) {
        check_lines(db, req.order_id, lines);
        const qint64 all = db.scalar(QStringLiteral("SELECT count(*) FROM lumo_orders_detail "
                                                    "where rootid=?"),
                                     {req.order_id})
                               .toLongLong();
        if (all == QSet<QString>(lines.begin(), lines.end()).size())
            lines.clear();
    }

    const PartsBill bill = bill_in(db, req.order_id, req.discount, req.reduction, lines);
    if (bill.payable_fen < 0)
        throw Refusal{PartsResult::Negative, SettleFailedText};
    if (req.shown_payable_fen && *req.shown_payable_fen != bill.payable_fen)
        throw Refusal{PartsResult::AmountChanged, AmountChangedText};
    if (bill.received_fen > bill.payable_fen)
        throw Refusal{PartsResult::Mismatch, ReceivedTooMuchText};
    qint64 sum = bill.received_fen;
    for (const PaymentPart &p : req.parts)
        sum += p.amount_fen;
    if (sum != bill.payable_fen || (sum == 0 && req.parts.isEmpty()))
        throw Refusal{PartsResult::Mismatch, PartsMismatchText};
    if (deposit_fen > bill.deposit_fen)
        throw Refusal{PartsResult::DepositShort, DepositShortText};

    qint64 member_fen = 0;
    if (balance_fen > 0) {
        const TSQLiteTable m = req.member_id.isEmpty()
                                   ? TSQLiteTable()
                                   : db.GetTable(QStringLiteral("SELECT balance FROM lumo_member "
                                                                "where id=? AND stat=0"),
                                                 {req.member_id});
        if (m.Count() == 0)
            throw Refusal{PartsResult::MemberGone, MemberMissingText};
        member_fen = fen_of_yuan(num_value(m.FieldAsString(0).trimmed()));
        if (balance_fen > member_fen)
            throw Refusal{PartsResult::BalanceShort, DeductionTooMuchText};
    }

    const TSQLiteTable desk = db.GetTable(
        QStringLiteral("SELECT id,fwy,yj,nums,ydtruename FROM lumo_desk where id=? limit 1"),
        {r.desk_id});
    if (desk.Count() == 0)
        throw Refusal{PartsResult::Failed, SettleFailedText};

    QVector<PaymentPart> all_parts = bill.received;
    all_parts += req.parts;
    const OrderPayColumns cols = order_pay_columns(all_parts);
    r.paytype = cols.paytype;
    const qint64 now = unix_now_secs(ctx.clock());

    QString settled = req.order_id;
    if (lines.isEmpty()) {
        db.ExecSQL(QStringLiteral("UPDATE lumo_orders_detail set iscal=1 where rootid=?"),
                   {req.order_id});
        db.ExecSQL(QStringLiteral("UPDATE lumo_orders set iscal=1,balance=?,paytime=?,paytype=?,"
                                  "price=?,yj=?,fwy=?,nums=?,truename=? where id=?"),
                   {double(cols.balance_fen) / 100.0,
                    now,
                    cols.paytype,
                    double(cols.price_fen) / 100.0,
                    desk.value(QStringLiteral("yj")),
                    desk.value(QStringLiteral("fwy")),
                    desk.value(QStringLiteral("nums")).toLongLong(),
                    desk.value(QStringLiteral("ydtruename")),
                    req.order_id});
        // Two counters can each have opened an order for one table; the table stays
        // with the party that is still eating.
        if (!db.scalar(QStringLiteral("SELECT id FROM lumo_orders where iscal=0 AND deskid=? "
                                      "limit 1"),
                       {r.desk_id})
                 .isEmpty())
            cal_desk_price(ctx, db, r.desk_id);
        else
            db.ExecSQL(QStringLiteral("UPDATE lumo_desk set stat=0,nums=0,price='0.00',fwy='',"
                                      "ydtruename='',yj=0,gldesk='',addtime=0 where id=?"),
                       {r.desk_id});
    } else {
        // The guest who pays his own dishes leaves with an order of his own; the table
        // and its open order stay with the rest. The deposit he used is gone from it.
        db.ExecSQL(QStringLiteral("INSERT INTO lumo_orders(ordid,title,truename,nums,allprice,"
                                  "price,iscal,addtime,stat,paytype,deskid,yj,fwy,balance,"
                                  "paytime) VALUES(?,?,?,0,?,?,1,?,0,?,?,?,?,?,?)"),
                   {make_ordid(ctx.clock(), ctx.random(), QString()),
                    order.value(QStringLiteral("title")),
                    desk.value(QStringLiteral("ydtruename")),
                    double(bill.allprice_fen) / 100.0,
                    double(cols.price_fen) / 100.0,
                    order.value(QStringLiteral("addtime")).toLongLong(),
                    cols.paytype,
                    r.desk_id,
                    double(deposit_fen) / 100.0,
                    desk.value(QStringLiteral("fwy")),
                    double(cols.balance_fen) / 100.0,
                    now});
        settled = QString::number(db.GetLastInsertRowID());
        QVariantList params{settled, req.order_id};
        params << as_params(lines);
        db.ExecSQL(QStringLiteral("UPDATE lumo_orders_detail set rootid=?,iscal=1 where rootid=? "
                                  "AND id in(")
                       + placeholders(lines.size()) + QStringLiteral(")"),
                   params);
        if (deposit_fen > 0)
            db.ExecSQL(QStringLiteral("UPDATE lumo_desk set yj=? where id=?"),
                       {double(bill.deposit_fen - deposit_fen) / 100.0, r.desk_id});
        cal_desk_price(ctx, db, r.desk_id);
    }
    r.order_id = settled;
    db.ExecSQL(QStringLiteral("UPDATE mivo_payment set stat=1,orderid=? where orderid=? AND "
                              "stat=0"),
               {settled, req.order_id});
    write_parts(db, ctx, settled, req.parts, now);
    BillFacts facts;
    facts.allprice_fen = bill.allprice_fen;
    facts.discount_fen = bill.discount_fen;
    facts.reduction_fen = bill.reduction_fen;
    facts.deposit_fen = lines.isEmpty() ? bill.deposit_fen : deposit_fen;
    if (balance_fen > 0) {
        db.ExecSQL(QStringLiteral("UPDATE lumo_member set balance=? where id=?"),
                   {double(member_fen - balance_fen) / 100.0, req.member_id});
        member_charged = req.member_id;
        facts.member_id = req.member_id;
        facts.balance_left_fen = member_fen - balance_fen;
    }
    write_bill_facts(db, ctx, settled, facts, now);
}

} // namespace

QString part_method_name(const QString &paytype)
{
    static const QStringList names = {QStringLiteral("微信"),
                                      QStringLiteral("支付宝"),
                                      QStringLiteral("微信"),
                                      QStringLiteral("支付宝"),
                                      QStringLiteral("现金"),
                                      QStringLiteral("银行卡"),
                                      QStringLiteral("其它")};
    const qint64 type = int_value(paytype.trimmed(), -1);
    if (type == 9)
        return QStringLiteral("会员余额");
    if (type >= 1 && type <= 7)
        return names[int(type - 1)];
    return QStringLiteral("其它");
}

qint64 fen_of_yuan(double yuan)
{
    return cents_half_up(yuan);
}

QString fen_money(qint64 fen)
{
    const qint64 a = fen < 0 ? -fen : fen;
    return QStringLiteral("%1%2.%3")
        .arg(fen < 0 ? QStringLiteral("-") : QString())
        .arg(a / 100)
        .arg(a % 100, 2, 10, QChar('0'));
}

std::optional<qint64> parse_fen(const QString &text)
{
    const QString t = text.trimmed();
    if (!is_plain_decimal(t))
        return std::nullopt;
    const qsizetype point = t.indexOf(QChar('.'));
    if (point >= 0 && t.size() - point - 1 > 2)
        return std::nullopt;
    if (t.size() > 12)
        return std::nullopt;
    const qint64 fen = cents_half_up(t.toDouble());
    if (fen <= 0)
        return std::nullopt;
    return fen;
}

CashGiven cash_given(qint64 part_fen, const QString &given_text)
{
    CashGiven c;
    if (given_text.trimmed().isEmpty()) {
        c.ok = true;
        c.given_fen = part_fen;
        return c;
    }
    const std::optional<qint64> given = parse_fen(given_text);
    if (!given) {
        c.message = CashGivenWrongText;
        return c;
    }
    if (*given < part_fen) {
        c.message = CashGivenShortText;
        return c;
    }
    c.ok = true;
    c.given_fen = *given;
    c.change_fen = *given - part_fen;
    return c;
}

QVector<qint64> equal_shares(qint64 total_fen, int n)
{
    QVector<qint64> out;
    if (n < 1 || total_fen < 0)
        return out;
    const qint64 base = total_fen / n;
    const qint64 odd = total_fen % n;
    for (int i = 0; i < n; ++i)
        out.append(base + (i < odd ? 1 : 0));
    return out;
}

PartsBill read_parts_bill(AppContext &ctx,
                          const QString &order_id,
                          const QString &discount,
                          const QString &reduction,
                          const QStringList &line_ids)
{
    TSQLiteDatabase db(ctx.db_path);
    PartsBill b;
    db.snapshot([&] { b = bill_in(db, order_id, discount, reduction, line_ids); });
    return b;
}

OrderPayColumns order_pay_columns(const QVector<PaymentPart> &parts)
{
    OrderPayColumns c;
    qint64 largest = -1;
    for (const PaymentPart &p : parts) {
        if (p.paytype == PayMemberBalance) {
            c.balance_fen += p.amount_fen;
            continue;
        }
        c.price_fen += p.amount_fen;
        if (p.amount_fen > largest) {
            largest = p.amount_fen;
            c.paytype = p.paytype;
        }
    }
    if (c.paytype.isEmpty())
        c.paytype = PayMemberBalance;
    return c;
}

void write_parts(TSQLiteDatabase &db,
                 const AppContext &ctx,
                 const QString &order_id,
                 const QVector<PaymentPart> &parts,
                 qint64 now)
{
    for (const PaymentPart &p : parts) {
        if (p.amount_fen == 0)
            continue;
        db.ExecSQL(QStringLiteral("INSERT INTO mivo_payment(orderid,paytype,amount_fen,addtime,"
                                  "uid,stat,given_fen,note,ordid) VALUES(?,?,?,?,?,1,?,?,?)"),
                   {order_id.toLongLong(),
                    p.paytype.toLongLong(),
                    p.amount_fen,
                    now,
                    ctx.account.uid,
                    p.given_fen,
                    p.note,
                    p.ordid});
    }
}

void write_bill_facts(TSQLiteDatabase &db,
                      const AppContext &ctx,
                      const QString &order_id,
                      const BillFacts &f,
                      qint64 now)
{
    db.ExecSQL(QStringLiteral("INSERT OR REPLACE INTO mivo_bill(orderid,allprice_fen,"
                              "discount_fen,reduction_fen,deposit_fen,memberid,"
                              "balance_left_fen,addtime,uid) VALUES(?,?,?,?,?,?,?,?,?)"),
               {order_id.toLongLong(),
                f.allprice_fen,
                f.discount_fen,
                f.reduction_fen,
                f.deposit_fen,
                f.member_id.toLongLong(),
                f.balance_left_fen,
                now,
                ctx.account.uid});
}

std::optional<BillFacts> read_bill_facts(TSQLiteDatabase &db, const QString &order_id)
{
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT allprice_fen,discount_fen,reduction_fen,deposit_fen,memberid,"
                       "balance_left_fen FROM mivo_bill where orderid=?"),
        {order_id});
    if (t.Count() == 0)
        return std::nullopt;
    BillFacts f;
    f.allprice_fen = t.FieldAsInteger(0);
    f.discount_fen = t.FieldAsInteger(1);
    f.reduction_fen = t.FieldAsInteger(2);
    f.deposit_fen = t.FieldAsInteger(3);
    if (t.FieldAsInteger(4) != 0)
        f.member_id = t.FieldAsString(4);
    f.balance_left_fen = t.FieldAsInteger(5);
    return f;
}

PartsResult settle_with_parts(AppContext &ctx, const PartsRequest &request)
{
    PartsResult r;
    QString member;
    try {
        TSQLiteDatabase db(ctx.db_path);
        db.transaction([&] { settle_parts_in(ctx, db, request, r, member); });
        r.outcome = PartsResult::Done;
        r.message = SettledText;
    } catch (const Refusal &refusal) {
        r.outcome = refusal.outcome;
        r.message = refusal.message;
        return r;
    } catch (const ESQLiteException &e) {
        r.outcome = PartsResult::Failed;
        r.message = SettleFailedText;
        r.error = store_failure_text(e);
        return r;
    }
    ChangeNotifier &n = ctx.notifier();
    emit n.lines_changed(r.order_id, r.desk_id);
    if (r.order_id != request.order_id)
        emit n.lines_changed(request.order_id, r.desk_id);
    emit n.desk_changed(r.desk_id);
    if (!member.isEmpty())
        emit n.member_changed(member);
    return r;
}

bool record_received_part(AppContext &ctx,
                          const QString &order_id,
                          const QString &paytype,
                          qint64 amount_fen,
                          const QString &ordid)
{
    TSQLiteDatabase db(ctx.db_path);
    bool done = false;
    QString desk;
    db.transaction([&] {
        desk = db.scalar(QStringLiteral("SELECT deskid FROM lumo_orders where id=?"), {order_id});
        if (desk.isEmpty())
            return;
        db.ExecSQL(QStringLiteral("INSERT INTO mivo_payment(orderid,paytype,amount_fen,addtime,"
                                  "uid,stat,ordid) VALUES(?,?,?,?,?,0,?)"),
                   {order_id.toLongLong(),
                    int_value(paytype.trimmed(), 1),
                    amount_fen,
                    unix_now_secs(ctx.clock()),
                    ctx.account.uid,
                    ordid});
        done = true;
    });
    if (done)
        emit ctx.notifier().lines_changed(order_id, desk);
    return done;
}

QVector<ReceivedPart> received_parts(const AppContext &ctx, const QString &order_id)
{
    TSQLiteDatabase db(ctx.db_path);
    QString sql = QStringLiteral("SELECT P.id,P.paytype,P.amount_fen,P.given_fen,P.note,P.ordid,"
                                 "P.stat,P.addtime,P.orderid,D.bh,O.iscal FROM mivo_payment AS P "
                                 "LEFT JOIN lumo_orders AS O ON O.id=P.orderid LEFT JOIN "
                                 "lumo_desk AS D ON D.id=O.deskid where P.stat=0");
    QVariantList params;
    if (!order_id.isEmpty()) {
        sql += QStringLiteral(" AND P.orderid=?");
        params << order_id;
    }
    QVector<ReceivedPart> out;
    for (TSQLiteTable t = db.GetTable(sql + QStringLiteral(" order by P.id"), params); !t.isEof();
         t.Next()) {
        ReceivedPart r;
        r.part = part_of(t);
        r.order_id = t.FieldAsString(8);
        r.bh = t.FieldAsString(9);
        r.settled = t.FieldAsString(10).trimmed() == QLatin1String("1");
        out.append(r);
    }
    return out;
}

bool refund_received_part(AppContext &ctx, qint64 part_id)
{
    TSQLiteDatabase db(ctx.db_path);
    QString order;
    db.transaction([&] {
        order = db.scalar(QStringLiteral("SELECT orderid FROM mivo_payment where id=? AND stat=0"),
                          {part_id});
        if (order.isEmpty())
            return;
        db.ExecSQL(QStringLiteral("UPDATE mivo_payment set stat=2,uid=? where id=?"),
                   {ctx.account.uid, part_id});
    });
    if (order.isEmpty())
        return false;
    emit ctx.notifier().lines_changed(order, QString());
    return true;
}

QVector<PaymentPart> order_parts(TSQLiteDatabase &db, const QString &order_id)
{
    return parts_of(db, order_id, QString());
}
