#include "ordering/diancan.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "printing/kitchen.h"
#include "staff/sign_in.h"
#include "store/sqlite_db.h"

QVector<DishRow> read_dishes(const AppContext &ctx)
{
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t = db.GetTable(QStringLiteral(
        "SELECT id,title,titleen,price,cid,stock,zfid FROM lumo_caipin order by id ASC"));
    QVector<DishRow> rows;
    rows.reserve(t.Count());
    for (; !t.isEof(); t.Next())
        rows.append({t.FieldAsString(0),
                     t.FieldAsString(1),
                     t.FieldAsString(2),
                     t.FieldAsString(3),
                     t.FieldAsString(4),
                     t.FieldAsString(5),
                     t.FieldAsString(6)});
    return rows;
}

QVector<CategoryRow> read_categories(const AppContext &ctx)
{
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t
        = db.GetTable(QStringLiteral("SELECT id,title FROM lumo_caipin_class order by sort ASC"));
    QVector<CategoryRow> rows;
    for (; !t.isEof(); t.Next())
        rows.append({t.FieldAsString(0), t.FieldAsString(1)});
    return rows;
}

QVector<OrderLineView> read_order_lines(const AppContext &ctx, const QString &desk_id)
{
    QVector<OrderLineView> rows;
    if (desk_id.isEmpty())
        return rows;
    const QString order_id = get_desk_order_id(ctx, desk_id);
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,title,oneprice,quantity,price,addtime,stat,zfidstr,remark "
                       "FROM lumo_orders_detail where rootid=? order by id ASC"),
        {order_id});
    rows.reserve(t.Count());
    for (int n = 1; !t.isEof(); t.Next(), ++n) {
        OrderLineView v;
        v.number = line_number(n);
        v.id = t.FieldAsString(0);
        v.title = t.FieldAsString(1);
        const double oneprice = t.FieldAsDouble(2);
        const qint64 quantity = t.FieldAsInteger(3);
        v.oneprice = format_money(oneprice);
        v.quantity = t.FieldAsString(3);
        v.amount = format_money(double(quantity) * oneprice);
        v.stat = line_stat_name(t.FieldAsString(6));
        v.zfidstr = t.FieldAsString(7);
        v.remark = t.FieldAsString(8);
        v.returned = v.stat == QStringLiteral("已退菜");
        rows.append(v);
    }
    return rows;
}

QVector<MethodRow> read_methods(const AppContext &ctx, const QString &dish_id)
{
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,title FROM lumo_caipin_zuofa where rootid=?"), {dish_id});
    QVector<MethodRow> rows;
    for (; !t.isEof(); t.Next())
        rows.append({t.FieldAsString(0), t.FieldAsString(1)});
    return rows;
}

QString read_dish_title(const AppContext &ctx, const QString &dish_id)
{
    TSQLiteDatabase db(ctx.db_path);
    return db.scalar(QStringLiteral("SELECT title FROM lumo_caipin where id=? limit 1"), {dish_id});
}

QString read_desk_bh(const AppContext &ctx, const QString &desk_id)
{
    TSQLiteDatabase db(ctx.db_path);
    return db.scalar(QStringLiteral("SELECT bh FROM lumo_desk where id=? limit 1"), {desk_id});
}

SubmitResult submit_cart(AppContext &ctx, const QVector<CartItem> &items)
{
    return submit_cart(ctx, ctx.desk_id, items);
}

SubmitResult submit_cart(AppContext &ctx, const QString &desk, const QVector<CartItem> &items)
{
    SubmitResult r;
    if (!signed_in(ctx)) {
        r.kind = SubmitResult::SignedOut;
        return r;
    }
    const QString submit_time = unix_now(ctx.clock());
    if (desk.isEmpty()) {
        r.kind = SubmitResult::DeskNotOpen;
        return r;
    }
    TSQLiteDatabase db(ctx.db_path);
    // The status as it is now: another counter may have cleared the table meanwhile.
    const QString stat
        = db.scalar(QStringLiteral("SELECT stat FROM lumo_desk where id=? limit 1"), {desk})
              .trimmed();
    if (!desk_takes_orders(stat)) {
        r.kind = SubmitResult::DeskNotOpen;
        return r;
    }
    // The open order is made before anything is asked, and stays when the waiter cancels.
    db.transaction([&] { r.order_id = add_order_for_desk(ctx, db, desk, {}, {}, {}, {}); });
    if (items.isEmpty()) {
        r.kind = SubmitResult::NothingSelected;
        return r;
    }
    if (!ctx.prompts().confirm(ConfirmSubmitText)) {
        r.kind = SubmitResult::Cancelled;
        return r;
    }
    // Read before the write: the kitchen tickets go in the same transaction as the lines.
    const bool to_kitchen = auto_kitchen(ctx);
    int kitchen_jobs = 0;
    QString lines_desk = desk;
    db.transaction([&] {
        kitchen_jobs = 0;
        // The confirmation may have stayed up while another counter settled this bill or
        // cleared the table: its lines must not land in a paid order, nor in the next
        // party's, nor on a free table. A bill moved to another table goes on there.
        const TSQLiteTable o
            = db.GetTable(QStringLiteral("SELECT iscal,deskid FROM lumo_orders where id=? limit 1"),
                          {r.order_id});
        if (o.Count() == 0 || o.value(QStringLiteral("iscal")) != QLatin1String("0")) {
            r.kind = SubmitResult::OrderSettled;
            return;
        }
        lines_desk = o.value(QStringLiteral("deskid"));
        if (!desk_takes_orders(db.scalar(QStringLiteral("SELECT stat FROM lumo_desk where id=? "
                                                        "limit 1"),
                                         {o.value(QStringLiteral("deskid"))}))) {
            r.kind = SubmitResult::DeskNotOpen;
            return;
        }
        write_cart(ctx, db, r.order_id, items, submit_time);
        if (to_kitchen)
            kitchen_jobs = queue_new_lines(ctx, db, r.order_id);
        // The total these lines made, read before anyone else can write.
        r.total = format_num(
            db.scalar(QStringLiteral("SELECT price FROM lumo_desk where id=? limit 1"), {desk})
                .trimmed(),
            2);
        r.kind = SubmitResult::Done;
    });
    if (kitchen_jobs > 0)
        emit ctx.notifier().print_queued();
    // Settled elsewhere meanwhile: the screens show the bill as it is now.
    if (r.kind == SubmitResult::Done || r.kind == SubmitResult::OrderSettled)
        ctx.notifier().lines_changed(r.order_id, lines_desk);
    return r;
}

BatchTexts batch_texts(LineOp op)
{
    switch (op) {
    case LineOp::Return:
        return {QStringLiteral("确认要将这些菜品退掉吗"), QStringLiteral("退菜成功")};
    case LineOp::Ordered:
        return {QStringLiteral("确认要将这些菜品设置为下单状态吗"),
                QStringLiteral("设置为下单状态成功")};
    case LineOp::Served:
        return {QStringLiteral("确认要将这些菜品设置为已出餐吗"),
                QStringLiteral("设置为已出餐成功")};
    case LineOp::Delete:
        return {QStringLiteral("确定要删除这些菜品吗，删除后不可恢复"), QStringLiteral("批量成功")};
    }
    return {};
}

bool desk_takes_orders(const QString &stat)
{
    const QString s = stat.trimmed();
    return s == QLatin1String("1") || s == QLatin1String("3");
}
