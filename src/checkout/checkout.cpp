#include "checkout/checkout.h"

#include "app/helpers.h"
#include "store/sqlite_db.h"

#include <cmath>

qint64 cents_half_up(double yuan)
{
    if (!std::isfinite(yuan))
        return 0;
    // Eight decimals drop the binary noise of sums and products (33.33 * 0.85 is
    // 28.330499999...); the third decimal then decides, as on paper.
    const QString text = QString::asprintf("%.8f", std::fabs(yuan));
    const qsizetype point = text.indexOf(QChar('.'));
    qint64 cents = text.left(point).toLongLong() * 100 + text.mid(point + 1, 2).toLongLong();
    if (text.at(point + 3) >= QChar('5'))
        ++cents;
    return yuan < 0 ? -cents : cents;
}

double round_cents(double yuan)
{
    return double(cents_half_up(yuan)) / 100.0;
}

// ---- totals ----

CheckoutTotals getalprice(TSQLiteDatabase &db, const QString &order_id)
{
    CheckoutTotals t;
    // A sum over no line is NULL, which reads as 0.
    t.allprice = db.GetTable(QStringLiteral("SELECT Sum(oneprice*quantity) as nums FROM "
                                            "lumo_orders_detail where rootid=? AND "
                                            "stat in(0,1,2,3,4,5,6,7)"),
                             {order_id})
                     .FieldAsDouble(0);
    t.allzekouprice
        = db.GetTable(QStringLiteral("SELECT Sum(A1.oneprice*A1.quantity) as nums FROM "
                                     "lumo_orders_detail AS A1 LEFT JOIN lumo_caipin AS A2 ON "
                                     "A1.caipinid=A2.id where A1.rootid=? AND A1.stat in "
                                     "(0,1,2,3,4,5,6,7) AND A2.iszk=1"),
                      {order_id})
              .FieldAsDouble(0);
    return t;
}

CheckoutTotals getalprice(const AppContext &ctx, const QString &order_id)
{
    TSQLiteDatabase db(ctx.db_path);
    return getalprice(db, order_id);
}

// ---- payable amount ----

bool is_plain_decimal(const QString &text, Prompts *prompts)
{
    if (!is_decimal_text(text))
        return false;
    if (prompts)
        return check_one_point(text, *prompts);
    return text.count(QChar('.')) <= 1;
}

Payable auto_cal(const CheckoutTotals &totals,
                 double allbalance,
                 const QString &deduction,
                 const QString &discount,
                 const QString &reduction,
                 Prompts *prompts)
{
    const QString b_text = deduction.trimmed();
    const QString z_text = discount.trimmed();
    const QString d_text = reduction.trimmed();
    const qint64 b = is_plain_decimal(b_text, prompts) ? cents_half_up(b_text.toDouble()) : 0;
    const double z = is_plain_decimal(z_text, prompts) ? z_text.toDouble() : 10.0;

    double pay = totals.allprice;
    if (z >= 1 && z < 10)
        pay = z / 10.0 * totals.allzekouprice + (totals.allprice - totals.allzekouprice);
    // Money off, or with a minus sign a surcharge.
    if (is_num_text(d_text))
        pay -= num_value(d_text);

    // Rounded once; everything after is whole cents.
    const qint64 before = cents_half_up(pay);
    const qint64 balance = cents_half_up(allbalance);
    const qint64 used = b > 0 && b <= balance ? b : 0;

    Payable p;
    p.before_deduction = double(before) / 100.0;
    p.deduction = double(used) / 100.0;
    p.payprice = double(before - used) / 100.0;
    p.reduction = double(cents_half_up(totals.allprice) - before) / 100.0;
    return p;
}

QString reduction_text(double reduction)
{
    if (reduction < 0)
        return QStringLiteral("+") + format_money(-reduction);
    return QStringLiteral("-") + format_money(reduction);
}

QString check_deduction(const QString &text, double allbalance, Prompts *prompts)
{
    QString t = text.trimmed();
    if (t.isEmpty())
        t = QStringLiteral("0");
    if (t.contains(QChar('-')) || !is_plain_decimal(t, prompts))
        return DeductionWrongText;
    if (cents_half_up(t.toDouble()) > cents_half_up(allbalance))
        return DeductionTooMuchText;
    return {};
}

// ---- member ----

bool is_mobile(const QString &text)
{
    return text.size() == 11 && text.at(0) == QChar('1') && is_decimal_text(text)
           && !text.contains(QChar('.'));
}

MemberInfo get_member_info(const AppContext &ctx, const QString &mobile)
{
    MemberInfo m;
    TSQLiteDatabase db(ctx.db_path);
    // The number is bound as text and the column holds text, so "013800138000" or
    // "13800138000.0" never meet 13800138000 as numbers would. A member deleted on the
    // members screen (stat 4) keeps its row but is no longer a member here.
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,mobile,truename,zekou,balance,addtime FROM lumo_member "
                       "where mobile=? AND stat=0 limit 1"),
        {mobile});
    if (t.Count() == 0)
        return m;
    m.found = true;
    m.id = t.value(QStringLiteral("id"));
    m.mobile = t.value(QStringLiteral("mobile"));
    m.truename = t.value(QStringLiteral("truename"));
    // Stored times 100; 1000 means no discount.
    m.zekou = format_money(num_value(t.value(QStringLiteral("zekou")).trimmed()) / 100.0);
    m.balance = t.value(QStringLiteral("balance"));
    m.balance_value = num_value(m.balance.trimmed());
    return m;
}

// ---- lines and table ----

QVector<CheckoutLine> read_checkout_lines(const AppContext &ctx, const QString &order_id)
{
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT A1.id,A1.title,A1.oneprice,A1.quantity,A1.price,A1.addtime,"
                       "A1.stat,A1.zfidstr,A1.remark,A2.iszk FROM lumo_orders_detail AS A1 "
                       "LEFT JOIN lumo_caipin AS A2 ON A1.caipinid=A2.id where A1.rootid=? "
                       "order by A1.id ASC"),
        {order_id});
    QVector<CheckoutLine> out;
    out.reserve(t.Count());
    for (int n = 1; !t.isEof(); t.Next(), ++n) {
        CheckoutLine l;
        l.number = line_number(n);
        l.id = t.FieldAsString(0);
        l.title = t.FieldAsString(1);
        const double price = t.FieldAsDouble(2);
        const qint64 quantity = t.FieldAsInteger(3);
        l.oneprice = format_money(price);
        l.quantity = t.FieldAsString(3);
        l.amount = format_money(price * double(quantity));
        l.stat = line_stat_name(t.FieldAsString(6));
        l.zfidstr = t.FieldAsString(7);
        l.remark = t.FieldAsString(8);
        // Lines without a dish row (the tableware line) never take the discount.
        l.zk = t.FieldAsString(9) == QLatin1String("1") ? QStringLiteral("打折")
                                                        : QStringLiteral("不打折");
        l.returned = l.stat == QStringLiteral("已退菜");
        out.append(l);
    }
    return out;
}

int order_line_count(const AppContext &ctx, const QString &order_id)
{
    TSQLiteDatabase db(ctx.db_path);
    return db
        .scalar(QStringLiteral("SELECT count(*) as nums FROM lumo_orders_detail where rootid=?"),
                {order_id})
        .toInt();
}

CheckoutDesk get_desk_info(const AppContext &ctx, const QString &desk_id)
{
    CheckoutDesk d;
    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,title,bh,addtime,nums,fwy FROM lumo_desk where id=?"), {desk_id});
    if (t.Count() == 0)
        return d;
    d.bh = t.value(QStringLiteral("bh"));
    d.nums = t.value(QStringLiteral("nums"));
    d.addtime = format_time(t.value(QStringLiteral("addtime")));
    d.fwy = t.value(QStringLiteral("fwy"));
    return d;
}

QString order_desk_id(const AppContext &ctx, const QString &order_id)
{
    TSQLiteDatabase db(ctx.db_path);
    return db.scalar(QStringLiteral("SELECT deskid FROM lumo_orders where id=?"), {order_id});
}

bool order_is_open(const AppContext &ctx, const QString &order_id)
{
    TSQLiteDatabase db(ctx.db_path);
    return db.scalar(QStringLiteral("SELECT iscal FROM lumo_orders where id=?"), {order_id})
               .trimmed()
           == QLatin1String("0");
}
