#include "reports/orders_list.h"

#include "app/helpers.h"
#include "store/sqlite_db.h"

ListQuery orders_list_query()
{
    ListQuery q;
    q.count = QStringLiteral("SELECT count(*) AS nums FROM lumo_orders AS A1");
    q.select = QStringLiteral(
        "SELECT A1.id,A1.title,A1.tid,A1.ordid,A1.addtime,A1.deskid,A1.allprice,A1.balance,"
        "A1.price,A1.stat,A1.iscal,A1.paytype,A1.yj,A1.fwy,A1.nums,A2.bh AS deskno "
        "FROM lumo_orders AS A1 LEFT JOIN lumo_desk AS A2 ON A1.deskid=A2.id");
    q.order_by = QStringLiteral("ORDER BY A1.id DESC");
    // Deep pages of a year's orders: pick the page's ids alone before joining, and
    // read the back half from the oldest end.
    q.ids_from = QStringLiteral("lumo_orders AS A1");
    q.id_column = QStringLiteral("A1.id");
    q.order_by_reversed = QStringLiteral("ORDER BY A1.id ASC");
    q.condition = [](const QString &keyword) {
        if (keyword.isEmpty())
            return SqlCondition{};
        return SqlCondition{QStringLiteral("WHERE A1.ordid=?"), {keyword}};
    };
    return q;
}

ListPage read_orders_page(const AppContext &ctx, const QString &keyword_text, int page)
{
    return read_list_page(ctx, orders_list_query(), keyword_text, page, OrdersPageSize);
}

QString
order_paid_text(const QString &tid, const QString &iscal, const QString &stat, const QString &price)
{
    const bool recharge = tid.trimmed() == QLatin1String("1");
    const bool paid
        = recharge ? stat.trimmed() == QLatin1String("1") : iscal.trimmed() == QLatin1String("1");
    return format_money(paid ? num_value(price.trimmed()) : 0.0);
}

OrderListRow order_list_row(const ListPage &page, int row)
{
    const auto cell = [&](const char *column) {
        return page.cell(row, QLatin1String(column));
    };
    const auto money = [&](const char *column) {
        return format_money(num_value(cell(column).trimmed()));
    };
    OrderListRow r;
    r.id = cell("id");
    r.number = QString::number(page.number(row));
    r.title = cell("title");
    r.ordid = cell("ordid");
    r.addtime = format_time(cell("addtime"));
    r.paytype = pay_type_name(cell("paytype"));
    r.allprice = money("allprice");
    r.paid = order_paid_text(cell("tid"), cell("iscal"), cell("stat"), cell("price"));
    r.yj = cell("yj");
    r.nums = cell("nums");
    r.deskid = cell("deskid");
    r.kind = cell("tid").trimmed() == QLatin1String("1") ? QStringLiteral("充值")
                                                         : QStringLiteral("点餐");
    r.balance = money("balance");
    r.deskno = cell("deskno");
    return r;
}

QVector<ShownLine> read_shown_lines(const AppContext &ctx, const QString &order_id)
{
    QVector<ShownLine> out;
    if (order_id.isEmpty())
        return out;
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,title,oneprice,quantity,price,addtime FROM lumo_orders_detail "
                       "WHERE rootid=? ORDER BY id ASC"),
        {order_id});
    out.reserve(t.Count());
    for (; !t.isEof(); t.Next()) {
        ShownLine l;
        l.id = t.value(QStringLiteral("id"));
        l.title = t.value(QStringLiteral("title"));
        const double oneprice = t.real(QStringLiteral("oneprice"));
        l.oneprice = general_decimal(oneprice);
        l.quantity = t.value(QStringLiteral("quantity"));
        l.amount = format_money(num_value(l.quantity.trimmed()) * oneprice);
        out << l;
    }
    return out;
}
