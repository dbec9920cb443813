#include "reports/takings.h"

#include "app/helpers.h"
#include "checkout/checkout.h"
#include "checkout/pay_methods.h"
#include "store/sqlite_db.h"

#include <QDateTime>
#include <QHash>

#include <algorithm>

namespace {

// Stored seconds are the local wall clock counted as if it were UTC.
QDate day_of(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC).date();
}

qint64 start_of(const QDate &day)
{
    return QDateTime(day, QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
}

// Settled dining orders paid in the period; the (iscal, paytime) index finds them.
// The + keeps the planner off the tid index, which holds nearly every order.
const QString SettledIn
    = QStringLiteral("A1.iscal=1 AND A1.paytime>=? AND A1.paytime<? AND +A1.tid=0");

// What a bill was lowered by: amount less what was paid in money and from the
// balance, to the cent (a negative reduction makes it negative).
const QString OffExpr = QStringLiteral("round(A1.allprice-A1.price-A1.balance,2)");

} // namespace

double settled_takings(TSQLiteDatabase &db, const Period &p)
{
    const TSQLiteTable t
        = db.GetTable(QStringLiteral("SELECT Sum(A1.price) AS price,Sum(A1.balance) AS balance "
                                     "FROM lumo_orders AS A1 WHERE %1")
                          .arg(SettledIn),
                      {p.from, p.to});
    return round_cents(t.real(QStringLiteral("price")) + t.real(QStringLiteral("balance")));
}

namespace {

void read_orders(TSQLiteDatabase &db, const Period &p, TakingsReport &r)
{
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT A1.paytype,count(*) AS n,Sum(A1.nums) AS guests,"
                       "Sum(A1.allprice) AS allprice,Sum(A1.price) AS price,"
                       "Sum(A1.balance) AS balance,Sum(A1.balance>0) AS balance_orders,"
                       "Sum(max(%1,0)) AS off,Sum(max(-%1,0)) AS added "
                       "FROM lumo_orders AS A1 WHERE %2 GROUP BY A1.paytype ORDER BY A1.paytype")
            .arg(OffExpr, SettledIn),
        {p.from, p.to});
    for (TSQLiteTable row = t; !row.isEof(); row.Next()) {
        const qint64 n = row.integer(QStringLiteral("n"));
        const double paid = row.real(QStringLiteral("price"));
        r.orders += n;
        r.guests += row.integer(QStringLiteral("guests"));
        r.allprice += row.real(QStringLiteral("allprice"));
        r.balance += row.real(QStringLiteral("balance"));
        r.balance_orders += row.integer(QStringLiteral("balance_orders"));
        r.discounts += row.real(QStringLiteral("off"));
        r.surcharges += row.real(QStringLiteral("added"));
        const QString type = row.value(QStringLiteral("paytype")).trimmed();
        // Bills the balance paid in full are the balance's line, not a pay type's.
        if (type == PayMemberBalance && round_cents(paid) == 0)
            continue;
        r.takings.append({type, pay_type_name(type), n, round_cents(paid)});
    }
    r.balance = round_cents(r.balance);
    r.total = settled_takings(db, p);
    r.allprice = round_cents(r.allprice);
    r.discounts = round_cents(r.discounts);
    r.surcharges = round_cents(r.surcharges);
    r.per_order = r.orders > 0 ? round_cents(r.total / double(r.orders)) : 0;
    r.per_guest = r.guests > 0 ? round_cents(r.total / double(r.guests)) : 0;
}

void read_lines(TSQLiteDatabase &db, const Period &p, TakingsReport &r)
{
    // Categories by dish id, read once: a month holds far more lines than dishes.
    QHash<QString, QString> category;
    for (TSQLiteTable c
         = db.GetTable(QStringLiteral("SELECT A3.id,A4.title FROM lumo_caipin AS A3 "
                                      "JOIN lumo_caipin_class AS A4 ON A4.id=A3.cid"));
         !c.isEof();
         c.Next())
        category.insert(c.FieldAsString(0), c.FieldAsString(1));

    // Lines still on the bill (0-7) sold; returned ones (8) are counted apart.
    TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT A2.caipinid,A2.title,A2.stat=8 AS returned,count(*) AS n,"
                       "Sum(A2.quantity) AS quantity,Sum(A2.oneprice*A2.quantity) AS amount "
                       "FROM lumo_orders AS A1 JOIN lumo_orders_detail AS A2 ON A2.rootid=A1.id "
                       "WHERE %1 AND A2.stat in(0,1,2,3,4,5,6,7,8) "
                       "GROUP BY A2.caipinid,A2.title,A2.stat=8")
            .arg(SettledIn),
        {p.from, p.to});
    for (; !t.isEof(); t.Next()) {
        if (t.value(QStringLiteral("returned")) == QLatin1String("1")) {
            r.returned_lines += t.integer(QStringLiteral("n"));
            r.returned_value += t.real(QStringLiteral("amount"));
            continue;
        }
        const QString dish_category = category.value(t.value(QStringLiteral("caipinid")));
        r.dishes.append({t.value(QStringLiteral("title")),
                         dish_category.isEmpty() ? NoCategoryText : dish_category,
                         t.integer(QStringLiteral("quantity")),
                         t.real(QStringLiteral("amount"))});
    }
    r.returned_value = round_cents(r.returned_value);

    for (DishSales &d : r.dishes) {
        d.amount = round_cents(d.amount);
        auto c = std::find_if(r.categories.begin(), r.categories.end(), [&](const auto &k) {
            return k.title == d.category;
        });
        if (c == r.categories.end())
            r.categories.append({d.category, d.quantity, d.amount});
        else {
            c->quantity += d.quantity;
            c->amount = round_cents(c->amount + d.amount);
        }
    }
    std::sort(r.dishes.begin(), r.dishes.end(), [](const DishSales &a, const DishSales &b) {
        if (a.quantity != b.quantity)
            return a.quantity > b.quantity;
        if (a.amount != b.amount)
            return a.amount > b.amount;
        return a.title < b.title;
    });
    std::sort(r.categories.begin(),
              r.categories.end(),
              [](const CategorySales &a, const CategorySales &b) {
                  if (a.amount != b.amount)
                      return a.amount > b.amount;
                  return a.title < b.title;
              });
}

void read_recharges(TSQLiteDatabase &db, const Period &p, TakingsReport &r)
{
    // A recharge is paid when its row says so (stat 1); it has no settlement time.
    TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT paytype,count(*) AS n,Sum(price) AS amount FROM lumo_orders "
                       "WHERE tid=1 AND stat=1 AND addtime>=? AND addtime<? "
                       "GROUP BY paytype ORDER BY paytype"),
        {p.from, p.to});
    for (; !t.isEof(); t.Next()) {
        const QString type = t.value(QStringLiteral("paytype")).trimmed();
        const double amount = round_cents(t.real(QStringLiteral("amount")));
        r.recharges.append({type, pay_type_name(type), t.integer(QStringLiteral("n")), amount});
        r.recharge_total += amount;
    }
    r.recharge_total = round_cents(r.recharge_total);
}

void read_open_tables(TSQLiteDatabase &db, TakingsReport &r)
{
    TSQLiteTable t = db.GetTable(QStringLiteral(
        "SELECT A2.bh,A2.title,A2.nums,(SELECT Sum(oneprice*quantity) FROM lumo_orders_detail "
        "WHERE rootid=A1.id AND stat in(0,1,2,3,4,5,6,7)) AS amount "
        "FROM lumo_orders AS A1 LEFT JOIN lumo_desk AS A2 ON A2.id=A1.deskid "
        "WHERE A1.iscal=0 AND +A1.tid=0 ORDER BY A2.sort,A2.id,A1.id"));
    for (; !t.isEof(); t.Next()) {
        const double amount = round_cents(t.real(QStringLiteral("amount")));
        r.open_tables.append({t.value(QStringLiteral("bh")),
                              t.value(QStringLiteral("title")),
                              t.integer(QStringLiteral("nums")),
                              amount});
        r.open_total += amount;
    }
    r.open_total = round_cents(r.open_total);
}

} // namespace

Period named_period(PeriodKind kind, qint64 now)
{
    const QDate today = day_of(now);
    QDate first = today;
    QDate next = today.addDays(1);
    switch (kind) {
    case PeriodKind::Today:
        break;
    case PeriodKind::Yesterday:
        first = today.addDays(-1);
        next = today;
        break;
    case PeriodKind::ThisWeek:
        first = today.addDays(1 - today.dayOfWeek());
        next = first.addDays(7);
        break;
    case PeriodKind::ThisMonth:
        first = QDate(today.year(), today.month(), 1);
        next = first.addMonths(1);
        break;
    }
    return {start_of(first), start_of(next)};
}

Period free_period(qint64 first_second, qint64 last_second)
{
    return {first_second, last_second + 1};
}

QString second_text(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString period_text(const Period &period)
{
    return second_text(period.from) + QStringLiteral(" 至 ") + second_text(period.to - 1);
}

TakingsReport takings_report(TSQLiteDatabase &db, const Period &period)
{
    TakingsReport r;
    r.period = period;
    read_orders(db, period, r);
    read_lines(db, period, r);
    read_recharges(db, period, r);
    read_open_tables(db, r);
    return r;
}

TakingsReport takings_report(const QString &db_path, const Period &period)
{
    TSQLiteDatabase db(db_path);
    TakingsReport r;
    // One read transaction: a settlement at another counter lands wholly before or after.
    db.snapshot([&] { r = takings_report(db, period); });
    return r;
}
