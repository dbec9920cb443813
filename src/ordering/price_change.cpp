#include "ordering/price_change.h"

#include "app/helpers.h"
#include "app/input_checks.h"
#include "app/notifier.h"
#include "ordering/orders.h"
#include "staff/sign_in.h"
#include "store/sqlite_db.h"

QStringList split_line_ids(const QString &ids)
{
    QStringList out;
    for (const QString &piece : ids.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        const QString id = piece.trimmed();
        bool ok = false;
        id.toLongLong(&ok);
        if (ok)
            out << id;
    }
    return out;
}

QVector<PriceLine> read_price_lines(const AppContext &ctx, const QString &ids)
{
    QVector<PriceLine> rows;
    const BoundIds list = bound_ids(ids);
    if (list.isEmpty())
        return rows;
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,title,quantity,oneprice,price,zfidstr,rootid,remark "
                       "FROM lumo_orders_detail where id in(%1)")
            .arg(list.placeholders),
        list.values);
    for (; !t.isEof(); t.Next()) {
        PriceLine l;
        l.id = t.FieldAsString(0);
        l.title = t.FieldAsString(1);
        l.quantity = t.FieldAsString(2);
        l.oneprice = general_decimal(t.FieldAsDouble(3));
        l.price = t.FieldAsString(4);
        l.zfidstr = t.FieldAsString(5);
        l.rootid = t.FieldAsString(6);
        l.remark = t.FieldAsString(7);
        l.subtotal = general_decimal(double(t.FieldAsInteger(2)) * t.FieldAsDouble(3));
        rows.append(l);
    }
    return rows;
}

double price_value(const QString &text)
{
    const QString t = text.trimmed();
    if (!is_num_text(t))
        return 0.0;
    const double v = num_value(t);
    return v < 0.01 ? 0.0 : v;
}

qint64 quantity_value(const QString &text)
{
    const QString t = text.trimmed();
    if (!is_int_text(t))
        return 1;
    const qint64 v = int_value(t);
    return v <= 0 ? 1 : v;
}

QString price_subtotal(const QString &price, const QString &quantity)
{
    return general_decimal(price_value(price) * double(quantity_value(quantity)));
}

StoredPrice stored_price(const PriceEdit &edit)
{
    StoredPrice s;
    s.oneprice = QString::asprintf("%.2f", price_value(edit.price));
    s.quantity = QString::asprintf("%.0f", double(quantity_value(edit.quantity)));
    s.price = QString::asprintf("%.0f", s.quantity.toDouble() * s.oneprice.toDouble());
    s.remark = strip_quotes(edit.remark);
    return s;
}

PriceEditRefusal refused_price_edit(const QVector<PriceEdit> &edits)
{
    for (const PriceEdit &e : edits) {
        if (const CheckedNumber c = check_unit_price(e.price); !c.ok())
            return {e.id, c.refusal, true};
        if (const CheckedNumber c = check_quantity(e.quantity); !c.ok())
            return {e.id, c.refusal, false};
    }
    return {};
}

QString
save_price_changes(AppContext &ctx, const QString &order_id, const QVector<PriceEdit> &edits)
{
    if (!signed_in(ctx) || !refused_price_edit(edits).id.isEmpty())
        return {};
    TSQLiteDatabase db(ctx.db_path);
    QString total;
    QString desk;
    // The rows and the recomputed totals land together or not at all.
    db.transaction([&] {
        // A bill paid while the dialog stayed open keeps the lines it was paid for.
        QStringList ids;
        for (const PriceEdit &e : edits)
            ids << e.id;
        if (lines_of_settled_order(db, ids.join(QChar(',')))
            || db.scalar(QStringLiteral("SELECT iscal FROM lumo_orders where id=?"), {order_id})
                   != QLatin1String("0"))
            return;
        for (const PriceEdit &e : edits) {
            const StoredPrice s = stored_price(e);
            db.ExecSQL(QStringLiteral("UPDATE lumo_orders_detail set oneprice=?,quantity=?,"
                                      "price=?,remark=? where id=?"),
                       {s.oneprice.toDouble(),
                        s.quantity.toLongLong(),
                        s.price.toDouble(),
                        s.remark,
                        e.id});
        }
        total = recompute_order_total(db, order_id);
        desk = db.scalar(QStringLiteral("SELECT deskid FROM lumo_orders where id=?"), {order_id});
    });
    if (!total.isEmpty())
        ctx.notifier().lines_changed(order_id, desk);
    return total;
}
