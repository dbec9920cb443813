#include "masterdata/desk_rules.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "store/sqlite_db.h"

ListQuery desk_list_query()
{
    ListQuery q;
    q.count = QStringLiteral("SELECT count(*) AS nums FROM lumo_desk AS A1");
    q.select
        = QStringLiteral("SELECT A1.id,A1.title,A1.bh,A1.cid,A1.sort,A2.title AS cname "
                         "FROM lumo_desk AS A1 LEFT JOIN lumo_desk_class AS A2 ON A1.cid=A2.id");
    q.order_by = QStringLiteral("ORDER BY A1.sort ASC");
    q.condition = like_condition(QStringLiteral("A1.title"));
    return q;
}

DeskEdit read_desk_edit(const AppContext &ctx, const QString &id)
{
    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,title,bh,sort,cid FROM lumo_desk WHERE id=?"), {id});
    if (t.Count() == 0)
        return {};
    return {true,
            t.value(QStringLiteral("title")),
            t.value(QStringLiteral("bh")),
            t.value(QStringLiteral("sort")),
            t.value(QStringLiteral("cid"))};
}

SaveOutcome save_desk(AppContext &ctx, const DeskForm &form)
{
    SaveOutcome out;
    const QString name = strip_quotes(form.name);
    if (name.isEmpty()) {
        out.message = QStringLiteral("请填写桌位名称");
        return out;
    }
    const QString bh = strip_quotes(form.bh);
    if (bh.isEmpty()) {
        out.message = QStringLiteral("请填写编号");
        return out;
    }
    const QString area = strip_quotes(form.area_id);
    if (!number_text_ok(area, ctx.prompts())) {
        out.message = QStringLiteral("分类ID只能是数字");
        return out;
    }
    const QString sort = strip_quotes(form.sort);
    if (!number_text_ok(sort, ctx.prompts())) {
        out.message = QStringLiteral("排序号只能是数字");
        return out;
    }
    const QString area_name = strip_quotes(form.area_name);

    TSQLiteDatabase db(ctx.db_path);
    db.transaction([&] {
        const QVariant sort_value = wants_default_sort(sort)
                                        ? QVariant(default_sort(db, QStringLiteral("lumo_desk")))
                                        : number_param(sort);
        if (!form.edit_id.isEmpty()) {
            if (db.scalar(QStringLiteral("SELECT count(*) FROM lumo_desk WHERE id=?"),
                          {form.edit_id})
                == QLatin1String("0")) {
                out.message = RecordGoneText;
                return;
            }
            // Another table's number is not refused when editing.
            db.ExecSQL(
                QStringLiteral("UPDATE lumo_desk SET title=?,bh=?,cid=?,sort=?,cname=? WHERE id=?"),
                {name, bh, number_param(area), sort_value, area_name, form.edit_id});
            out.id = form.edit_id;
            out.message = QStringLiteral("桌位修改成功");
        } else {
            if (db.GetTable(QStringLiteral("SELECT id,title FROM lumo_desk WHERE bh=? LIMIT 1"),
                            {bh})
                    .Count()
                > 0) {
                out.message = QStringLiteral("餐桌编号已存在");
                return;
            }
            db.ExecSQL(
                QStringLiteral("INSERT INTO lumo_desk(title,bh,cid,sort,cname) VALUES(?,?,?,?,?)"),
                {name, bh, number_param(area), sort_value, area_name});
            out.id = QString::number(db.GetLastInsertRowID());
            out.message = QStringLiteral("桌位添加成功");
        }
        out.saved = true;
    });
    if (out.saved)
        ctx.notifier().areas_changed();
    return out;
}

QString delete_desk(AppContext &ctx, const QString &id)
{
    TSQLiteDatabase db(ctx.db_path);
    QString refusal;
    db.transaction([&] {
        // An open order (a table opened or reserved, with or without lines yet) or
        // unsettled lines written for this table keep it. Lines that went with
        // their order to another table by a transfer belong to that table now.
        const TSQLiteTable open = db.GetTable(
            QStringLiteral("SELECT id FROM lumo_orders WHERE deskid=?1 AND iscal=0 AND tid=0 "
                           "UNION ALL "
                           "SELECT d.id FROM lumo_orders_detail AS d LEFT JOIN lumo_orders AS o "
                           "ON o.id=d.rootid WHERE d.deskid=?1 AND d.iscal=0 "
                           "AND (o.id IS NULL OR o.deskid=?1) LIMIT 1"),
            {id});
        if (open.Count() > 0) {
            refusal = QStringLiteral("此桌号还有未结账的订单，请结完账后再删除");
            return;
        }
        db.ExecSQL(QStringLiteral("DELETE FROM lumo_desk WHERE id=?"), {id});
    });
    if (refusal.isEmpty())
        ctx.notifier().areas_changed();
    return refusal;
}
