#include "masterdata/dish_rules.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "masterdata/imcode.h"
#include "store/sqlite_db.h"

ListQuery dish_list_query()
{
    ListQuery q;
    q.count = QStringLiteral("SELECT count(*) AS nums FROM lumo_caipin AS A1");
    q.select = QStringLiteral(
        "SELECT A1.id,A1.title,A1.price,A1.stock,A1.addtime,A1.sort,A1.iszk,A2.title AS cname "
        "FROM lumo_caipin AS A1 LEFT JOIN lumo_caipin_class AS A2 ON A1.cid=A2.id");
    q.order_by = QStringLiteral("ORDER BY A1.id ASC");
    q.condition = like_condition(QStringLiteral("A1.title"));
    return q;
}

DishEdit read_dish_edit(const AppContext &ctx, const QString &id)
{
    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT title,price,stock,sort,cid,iszk FROM lumo_caipin WHERE id=?"), {id});
    if (t.Count() == 0)
        return {};
    return {true,
            t.FieldAsString(0),
            t.FieldAsString(1),
            t.FieldAsString(2),
            t.FieldAsString(3),
            t.FieldAsString(4),
            t.FieldAsString(5)};
}

QVector<MethodEntry> read_dish_methods(const AppContext &ctx, const QString &dish_id)
{
    TSQLiteDatabase db(ctx.db_path);
    TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,title FROM lumo_caipin_zuofa WHERE rootid=? ORDER BY id ASC"),
        {dish_id});
    QVector<MethodEntry> out;
    for (; !t.isEof(); t.Next())
        out.append({t.FieldAsString(0), t.FieldAsString(1)});
    return out;
}

QString clean_method_title(const QString &text)
{
    QString t = strip_quotes(text);
    t.remove(QChar(','));
    // Removing one "@@@" can join two halves into a new one.
    while (t.contains(QStringLiteral("@@@")))
        t.remove(QStringLiteral("@@@"));
    return t.trimmed();
}

QString method_label(int i)
{
    return line_number(i + 1) + QStringLiteral("：");
}

SaveOutcome save_dish(AppContext &ctx, const DishForm &form)
{
    SaveOutcome out;
    Prompts &prompts = ctx.prompts();
    const QString name = strip_quotes(form.name);
    if (name.isEmpty()) {
        out.message = QStringLiteral("请输入菜品名称");
        return out;
    }
    const QString price = strip_quotes(form.price);
    if (price.isEmpty()) {
        out.message = QStringLiteral("请输入菜品价格");
        return out;
    }
    if (!number_text_ok(price, prompts)) {
        out.message = QStringLiteral("菜品价格只能是数字");
        return out;
    }
    const QString stock = strip_quotes(form.stock);
    if (stock.isEmpty()) {
        out.message = QStringLiteral("请输入菜品每日库存");
        return out;
    }
    if (!number_text_ok(stock, prompts)) {
        out.message = QStringLiteral("菜品每日库存只能是数字");
        return out;
    }
    const QString sort = strip_quotes(form.sort);
    if (!number_text_ok(sort, prompts)) {
        out.message = QStringLiteral("排序号只能是数字");
        return out;
    }
    QString category = strip_quotes(form.category_id);
    if (category.isEmpty() || !is_int_text(category))
        category = QStringLiteral("0");
    const QString code = search_code(name);

    TSQLiteDatabase db(ctx.db_path);
    db.transaction([&] {
        const QVariant sort_value = wants_default_sort(sort)
                                        ? QVariant(default_sort(db, QStringLiteral("lumo_caipin")))
                                        : number_param(sort);
        QString dish = form.edit_id;
        if (!dish.isEmpty()) {
            if (db.scalar(QStringLiteral("SELECT count(*) FROM lumo_caipin WHERE id=?"), {dish})
                == QLatin1String("0")) {
                out.message = RecordGoneText;
                return;
            }
            db.ExecSQL(QStringLiteral("UPDATE lumo_caipin SET title=?,titleen=?,price=?,stock=?,"
                                      "cid=?,sort=?,iszk=? WHERE id=?"),
                       {name,
                        code,
                        number_param(price),
                        number_param(stock),
                        int_value(category),
                        sort_value,
                        form.discount ? 1 : 0,
                        dish});
            out.message = QStringLiteral("菜品修改成功");
        } else {
            db.ExecSQL(QStringLiteral("INSERT INTO lumo_caipin(title,titleen,price,stock,addtime,"
                                      "cid,sort,iszk) VALUES(?,?,?,?,?,?,?,?)"),
                       {name,
                        code,
                        number_param(price),
                        number_param(stock),
                        unix_now_secs(ctx.clock()),
                        int_value(category),
                        sort_value,
                        form.discount ? 1 : 0});
            dish = QString::number(db.GetLastInsertRowID());
            out.message = QStringLiteral("菜品录入成功");
        }

        // The stored methods become exactly the box's non-empty rows.
        SqlParams kept{dish};
        for (const MethodEntry &m : form.methods) {
            const QString title = clean_method_title(m.title);
            if (title.isEmpty())
                continue;
            const QString row = m.row_id.trimmed();
            if (!row.isEmpty()
                && db.scalar(QStringLiteral("SELECT count(*) FROM lumo_caipin_zuofa WHERE id=? AND "
                                            "rootid=?"),
                             {row, dish})
                       != QLatin1String("0")) {
                db.ExecSQL(QStringLiteral("UPDATE lumo_caipin_zuofa SET title=? WHERE id=?"),
                           {title, row});
                kept << row.toLongLong();
            } else {
                db.ExecSQL(
                    QStringLiteral("INSERT INTO lumo_caipin_zuofa(title,rootid) VALUES(?,?)"),
                    {title, dish});
                kept << db.GetLastInsertRowID();
            }
        }
        QString in;
        for (qsizetype i = 1; i < kept.size(); ++i)
            in += i > 1 ? QStringLiteral(",?") : QStringLiteral("?");
        db.ExecSQL(QStringLiteral("DELETE FROM lumo_caipin_zuofa WHERE rootid=?")
                       + (in.isEmpty() ? QString() : QStringLiteral(" AND id NOT IN(") + in + ")"),
                   kept);
        out.id = dish;
        out.saved = true;
    });
    if (out.saved)
        ctx.notifier().dishes_changed();
    return out;
}

QString delete_dish(AppContext &ctx, const QString &id)
{
    TSQLiteDatabase db(ctx.db_path);
    QString refusal;
    db.transaction([&] {
        if (db.GetTable(QStringLiteral("SELECT id FROM lumo_orders_detail WHERE caipinid=? AND "
                                       "iscal=0 LIMIT 1"),
                        {id})
                .Count()
            > 0) {
            refusal = QStringLiteral("此菜品还有未结账的订单，请结完账后再删除");
            return;
        }
        db.ExecSQL(QStringLiteral("DELETE FROM lumo_caipin WHERE id=?"), {id});
        // A later dish can get the same id; it must not inherit these methods.
        db.ExecSQL(QStringLiteral("DELETE FROM lumo_caipin_zuofa WHERE rootid=?"), {id});
    });
    if (refusal.isEmpty())
        ctx.notifier().dishes_changed();
    return refusal;
}
