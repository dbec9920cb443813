#include "ordering/orders.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "printing/kitchen.h"
#include "staff/sign_in.h"
#include "store/sqlite_db.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

// Line statuses that still belong to the bill: everything but returned (8) and settled (9).
const QString LiveLines = QStringLiteral("(stat in(0,1,2,3,4,5,6,7))");

QString open_order_id(TSQLiteDatabase &db, const QString &desk_id)
{
    if (desk_id.isEmpty())
        return NoOrderId;
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,title FROM lumo_orders where iscal=0 AND deskid=?"), {desk_id});
    // Where several open orders exist (two counters at once), the first one wins everywhere.
    return t.Count() > 0 ? t.value(QStringLiteral("id")) : NoOrderId;
}

// Sum of the order's live lines as "%.2f"; "0.00" when none is left.
QString live_total(TSQLiteDatabase &db, const QString &order_id)
{
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT Sum(oneprice*quantity) as nums FROM lumo_orders_detail "
                       "where rootid=? AND ")
            + LiveLines,
        {order_id});
    return format_money(t.Count() > 0 ? t.FieldAsDouble(0) : 0.0);
}

void store_order_total(TSQLiteDatabase &db, const QString &order_id, const QString &total)
{
    db.ExecSQL(QStringLiteral("UPDATE lumo_orders set price=?,allprice=? where id=?"),
               {total.toDouble(), total.toDouble(), order_id});
}

void store_desk_total(TSQLiteDatabase &db, const QString &desk_id, const QString &total)
{
    // The table keeps its amount as text, as the tile shows it.
    db.ExecSQL(QStringLiteral("UPDATE lumo_desk set price=? where id=?"), {total, desk_id});
}

// Recomputes an open order's stored totals and its table's copy; a settled order
// keeps the amount that was paid. Returns the total, empty when nothing was written.
QString refresh_order_totals(TSQLiteDatabase &db, const QString &order_id)
{
    const TSQLiteTable o = db.GetTable(
        QStringLiteral("SELECT deskid,iscal FROM lumo_orders where id=?"), {order_id});
    if (o.Count() == 0 || o.value(QStringLiteral("iscal")) != QLatin1String("0"))
        return {};
    const QString total = live_total(db, order_id);
    store_order_total(db, order_id, total);
    const QString desk = o.value(QStringLiteral("deskid"));
    // Only when this is the order the table shows; an older duplicate must not overwrite it.
    if (open_order_id(db, desk) == order_id)
        store_desk_total(db, desk, total);
    return total;
}

QString desk_total(TSQLiteDatabase &db, const QString &desk_id)
{
    const QString order = open_order_id(db, desk_id);
    const QString total = live_total(db, order);
    store_desk_total(db, desk_id, total);
    if (order != NoOrderId)
        store_order_total(db, order, total);
    return total;
}

const QString LineInsert = QStringLiteral(
    "INSERT INTO lumo_orders_detail(title,oneprice,quantity,price,deskid,caipinid,zfid,zfidstr,"
    "stat,addtime,rootid,remark)VALUES(?,?,?,?,?,?,?,?,?,?,?,?)");

} // namespace

QString get_desk_order_id(const AppContext &ctx, const QString &desk_id)
{
    if (desk_id.isEmpty())
        return NoOrderId;
    TSQLiteDatabase db(ctx.db_path);
    return open_order_id(db, desk_id);
}

QString get_desk_order_id(TSQLiteDatabase &db, const QString &desk_id)
{
    return open_order_id(db, desk_id);
}

QString add_desk_order(AppContext &ctx,
                       const QString &truename,
                       const QString &yj,
                       const QString &fwy,
                       const QString &nums)
{
    if (ctx.desk_id.isEmpty())
        return {};
    TSQLiteDatabase db(ctx.db_path);
    QString id;
    // The order and its tableware line appear together or not at all.
    db.transaction([&] { id = add_desk_order(ctx, db, truename, yj, fwy, nums); });
    ctx.notifier().desk_changed(ctx.desk_id);
    return id;
}

QString add_desk_order(AppContext &ctx,
                       TSQLiteDatabase &db,
                       const QString &truename,
                       const QString &yj,
                       const QString &fwy,
                       const QString &nums)
{
    return add_order_for_desk(ctx, db, ctx.desk_id, truename, yj, fwy, nums);
}

QString add_order_for_desk(AppContext &ctx,
                           TSQLiteDatabase &db,
                           const QString &desk,
                           const QString &truename,
                           const QString &yj,
                           const QString &fwy,
                           const QString &nums)
{
    if (desk.isEmpty())
        return {};
    const QString existing = open_order_id(db, desk);
    if (existing != NoOrderId)
        return existing; // the table-state dialog writes changed guest data itself

    const qint64 guests = int_value(nums.trimmed(), 0);
    const qint64 now = unix_now_secs(ctx.clock());
    // The infix would be the payment-service account's user identifier. The account
    // kept here is a user name and a password digest with no identifier of its own,
    // so the number is built without it, which make_ordid accepts.
    const QString ordid = make_ordid(ctx.clock(), ctx.random(), QString());
    db.ExecSQL(QStringLiteral("INSERT INTO lumo_orders(ordid,title,truename,nums,allprice,price,"
                              "iscal,addtime,stat,paytype,deskid,yj,fwy)"
                              "VALUES(?,?,?,?,0,0,0,?,0,0,?,?,?)"),
               {ordid, QStringLiteral("订单名称"), truename, guests, now, desk, yj, fwy});
    const QString order = QString::number(db.GetLastInsertRowID());

    QString fee = ctx.settings.cwf.trimmed();
    if (!is_num_text(fee))
        fee = QStringLiteral("0.00");
    const double unit = num_value(fee);
    if (unit > 0) {
        db.ExecSQL(LineInsert,
                   {ctx.settings.cwf_tit,
                    unit,
                    guests,
                    general_decimal(unit * double(guests)),
                    desk,
                    0,
                    QString(),
                    QString(),
                    0,
                    now,
                    order,
                    QString()});
        refresh_order_totals(db, order);
    }
    return order;
}

QStringList get_order_fields(const AppContext &ctx, const QString &order_id, const QString &columns)
{
    static const QRegularExpression ident(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    const QStringList names = columns.split(QChar(','));
    QStringList out;
    for (qsizetype i = 0; i < names.size(); ++i)
        out << QString();
    if (order_id.isEmpty())
        return out;

    // Column names are ours, never user input; anything else reads as empty.
    QStringList wanted;
    for (const QString &n : names) {
        const QString c = n.trimmed();
        if (ident.match(c).hasMatch() && !wanted.contains(c, Qt::CaseInsensitive))
            wanted << c;
    }
    if (wanted.isEmpty())
        return out;
    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT %1 FROM lumo_orders where id=?").arg(wanted.join(QChar(','))),
        {order_id});
    if (t.Count() == 0)
        return out;
    for (qsizetype i = 0; i < names.size(); ++i) {
        const QString c = names[i].trimmed();
        if (ident.match(c).hasMatch())
            out[i] = t.value(c);
    }
    return out;
}

QByteArray cart_to_json(const QVector<CartItem> &items)
{
    QJsonArray rows;
    for (const CartItem &it : items) {
        rows.append(QJsonObject{{QStringLiteral("id"), it.id},
                                {QStringLiteral("title"), it.title},
                                {QStringLiteral("price"), it.price},
                                {QStringLiteral("quantity"), it.quantity},
                                {QStringLiteral("stock"), it.stock},
                                {QStringLiteral("zfid"), it.zfid},
                                {QStringLiteral("zfidstr"), it.zfidstr},
                                {QStringLiteral("remark"), it.remark}});
    }
    return QJsonDocument(rows).toJson(QJsonDocument::Compact);
}

QVector<CartItem> cart_from_json(const QByteArray &json)
{
    const auto text = [](const QJsonObject &o, const char *key) {
        const QJsonValue v = o.value(QLatin1String(key));
        if (v.isDouble())
            return general_decimal(v.toDouble());
        return v.toString();
    };
    QVector<CartItem> out;
    const QJsonArray rows = QJsonDocument::fromJson(json).array();
    for (const QJsonValue &row : rows) {
        const QJsonObject o = row.toObject();
        out.append(CartItem{text(o, "id"),
                            text(o, "title"),
                            text(o, "price"),
                            text(o, "quantity"),
                            text(o, "stock"),
                            text(o, "zfid"),
                            text(o, "zfidstr"),
                            text(o, "remark")});
    }
    return out;
}

void write_cart(AppContext &ctx,
                const QString &order_id,
                const QVector<CartItem> &items,
                const QString &submit_time)
{
    // Lines without an order would belong to no bill.
    if (order_id.isEmpty() || order_id == NoOrderId || items.isEmpty())
        return;
    TSQLiteDatabase db(ctx.db_path);
    // A submit lands completely or not at all.
    QString desk;
    db.transaction([&] {
        write_cart(ctx, db, order_id, items, submit_time);
        desk = db.scalar(QStringLiteral("SELECT deskid FROM lumo_orders where id=?"), {order_id});
    });
    ctx.notifier().lines_changed(order_id, desk);
}

void write_cart(AppContext &ctx,
                TSQLiteDatabase &db,
                const QString &order_id,
                const QVector<CartItem> &items,
                const QString &submit_time)
{
    if (order_id.isEmpty() || order_id == NoOrderId || items.isEmpty())
        return;
    // The lines belong to the order's own table, whatever the board shows now.
    QString desk
        = db.scalar(QStringLiteral("SELECT deskid FROM lumo_orders where id=?"), {order_id});
    if (desk.isEmpty())
        desk = ctx.desk_id;
    for (const CartItem &it : items) {
        // A cart may come back from its saved copy: its remark is cleaned here too.
        const QString remark = strip_quotes(it.remark);
        const qint64 quantity = int_value(it.quantity.trimmed(), 0);
        const double price = num_value(it.price.trimmed());
        const QString total = general_decimal(double(quantity) * price);
        const TSQLiteTable match = db.GetTable(
            QStringLiteral("select id from lumo_orders_detail where rootid=? AND caipinid=? "
                           "AND zfid=?"),
            {order_id, it.id, it.zfid});
        if (match.Count() == 0) {
            db.ExecSQL(LineInsert,
                       {it.title,
                        price,
                        quantity,
                        total,
                        desk,
                        it.id,
                        it.zfid,
                        it.zfidstr,
                        0,
                        submit_time,
                        order_id,
                        remark});
        } else {
            db.ExecSQL(QStringLiteral("UPDATE lumo_orders_detail set quantity=?,oneprice=?,"
                                      "price=?,zfid=?,zfidstr=?,remark=? where id=?"),
                       {quantity,
                        price,
                        total,
                        it.zfid,
                        it.zfidstr,
                        remark,
                        match.value(QStringLiteral("id"))});
        }
    }
    refresh_order_totals(db, order_id);
}

QString cal_desk_price(AppContext &ctx, const QString &desk_id)
{
    if (desk_id.isEmpty())
        return {};
    TSQLiteDatabase db(ctx.db_path);
    QString total;
    db.transaction([&] { total = desk_total(db, desk_id); });
    ctx.notifier().desk_changed(desk_id);
    return total;
}

QString cal_desk_price(AppContext &, TSQLiteDatabase &db, const QString &desk_id)
{
    if (desk_id.isEmpty())
        return {};
    return desk_total(db, desk_id);
}

QString cal_order_price(AppContext &ctx, const QString &order_id)
{
    if (ctx.desk_id.isEmpty())
        return {};
    TSQLiteDatabase db(ctx.db_path);
    QString total;
    QString desk;
    db.transaction([&] {
        total = refresh_order_totals(db, order_id);
        desk = db.scalar(QStringLiteral("SELECT deskid FROM lumo_orders where id=?"), {order_id});
    });
    if (!total.isEmpty())
        ctx.notifier().lines_changed(order_id, desk);
    return total;
}

QString recompute_order_total(TSQLiteDatabase &db, const QString &order_id)
{
    return refresh_order_totals(db, order_id);
}

QString cal_order_price(AppContext &ctx, TSQLiteDatabase &db, const QString &order_id)
{
    if (ctx.desk_id.isEmpty())
        return {};
    // The price-change dialog stays open: its order may have been settled or the
    // current table changed since. A settled order keeps the amount paid, and only
    // the order's own table takes its total.
    return refresh_order_totals(db, order_id);
}

bool lines_of_settled_order(TSQLiteDatabase &db, const QString &ids)
{
    const BoundIds list = bound_ids(ids);
    if (list.isEmpty())
        return false;
    return db.scalar(QStringLiteral("SELECT count(*) FROM lumo_orders_detail AS d JOIN "
                                    "lumo_orders AS o ON o.id=d.rootid WHERE o.iscal<>0 AND "
                                    "d.id in(")
                         + list.placeholders + QStringLiteral(")"),
                     list.values)
               .toInt()
           > 0;
}

bool batch_lines(AppContext &ctx, LineOp op, const QString &ids)
{
    if (!signed_in(ctx))
        return false;
    const BoundIds list = bound_ids(ids);
    if (list.isEmpty())
        return true;
    const QString in = QStringLiteral(" where id in(") + list.placeholders + QStringLiteral(");");
    QString sql;
    switch (op) {
    case LineOp::Return:
        sql = QStringLiteral("UPDATE lumo_orders_detail set stat=8") + in;
        break;
    case LineOp::Ordered:
        sql = QStringLiteral("UPDATE lumo_orders_detail set stat=0") + in;
        break;
    case LineOp::Served:
        sql = QStringLiteral("UPDATE lumo_orders_detail set stat=3") + in;
        break;
    case LineOp::Delete:
        sql = QStringLiteral("delete from lumo_orders_detail") + in;
        break;
    }
    TSQLiteDatabase db(ctx.db_path);
    bool done = false;
    int kitchen_jobs = 0;
    QVector<std::pair<QString, QString>> changed; // order, its table
    db.transaction([&] {
        changed.clear();
        kitchen_jobs = 0;
        // Checked inside the transaction: another counter may have settled the bill
        // while the lines were on screen.
        if (lines_of_settled_order(db, ids))
            return;
        // The kitchen must not cook what was sent and is returned or deleted now.
        if (op == LineOp::Return || op == LineOp::Delete)
            kitchen_jobs = queue_returned_lines(ctx, db, ids);
        // The orders to recompute, found before a delete takes their lines away.
        const TSQLiteTable orders = db.GetTable(
            QStringLiteral("SELECT DISTINCT rootid FROM lumo_orders_detail where id in(")
                + list.placeholders + QStringLiteral(")"),
            list.values);
        db.ExecSQL(sql, list.values);
        TSQLiteTable o = orders;
        for (o.First(); !o.isEof(); o.Next()) {
            const QString order = o.FieldAsString(0);
            refresh_order_totals(db, order);
            changed.append(
                {order,
                 db.scalar(QStringLiteral("SELECT deskid FROM lumo_orders where id=?"), {order})});
        }
        done = true;
    });
    if (kitchen_jobs > 0)
        emit ctx.notifier().print_queued();
    for (const auto &[order, desk] : std::as_const(changed))
        ctx.notifier().lines_changed(order, desk);
    return done;
}
