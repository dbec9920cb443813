#include "masterdata/class_rules.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "store/sqlite_db.h"

namespace {

void announce(AppContext &ctx, ClassKind kind)
{
    if (kind == ClassKind::DeskArea)
        ctx.notifier().areas_changed();
    else
        ctx.notifier().dishes_changed();
}

} // namespace

QString class_table(ClassKind kind)
{
    return kind == ClassKind::DeskArea ? QStringLiteral("lumo_desk_class")
                                       : QStringLiteral("lumo_caipin_class");
}

ListQuery class_list_query(ClassKind kind)
{
    const QString table = class_table(kind);
    ListQuery q;
    q.count = QStringLiteral("SELECT count(*) AS nums FROM ") + table;
    q.select = QStringLiteral("SELECT id,title,sort FROM ") + table;
    q.order_by = QStringLiteral("ORDER BY sort ASC");
    q.condition = like_condition(QStringLiteral("title"));
    return q;
}

ClassRecord read_class(const AppContext &ctx, ClassKind kind, const QString &id)
{
    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t = db.GetTable(QStringLiteral("SELECT id,title,sort FROM ")
                                           + class_table(kind) + QStringLiteral(" WHERE id=?"),
                                       {id});
    if (t.Count() == 0)
        return {};
    return {true, t.value(QStringLiteral("title")), t.value(QStringLiteral("sort"))};
}

SaveOutcome save_class(AppContext &ctx,
                       ClassKind kind,
                       const QString &edit_id,
                       const QString &name_text,
                       const QString &sort_text)
{
    SaveOutcome out;
    const QString name = strip_quotes(name_text);
    if (name.isEmpty()) {
        out.message = QStringLiteral("请输入分类名称");
        return out;
    }
    const QString sort = strip_quotes(sort_text);
    // An empty sort number asks for the default; anything else must be a number,
    // or it would be stored as text and break the ordering.
    if (!sort.isEmpty() && !number_text_ok(sort, ctx.prompts())) {
        out.message = QStringLiteral("排序号只能是数字");
        return out;
    }
    const QString table = class_table(kind);
    const QString noun
        = kind == ClassKind::DeskArea ? QStringLiteral("桌位分类") : QStringLiteral("菜品分类");
    TSQLiteDatabase db(ctx.db_path);
    db.transaction([&] {
        const QVariant sort_value
            = wants_default_sort(sort) ? QVariant(default_sort(db, table)) : number_param(sort);
        if (!edit_id.isEmpty()) {
            if (db.scalar(QStringLiteral("SELECT count(*) FROM ") + table
                              + QStringLiteral(" WHERE id=?"),
                          {edit_id})
                == QLatin1String("0")) {
                out.message = RecordGoneText;
                return;
            }
            db.ExecSQL(QStringLiteral("UPDATE ") + table
                           + QStringLiteral(" SET title=?,sort=? WHERE id=?"),
                       {name, sort_value, edit_id});
            out.id = edit_id;
            out.message = noun + QStringLiteral("修改成功");
        } else {
            if (kind == ClassKind::DeskArea) {
                // Tables keep the id of a deleted area; a new area must not take it
                // over and pull them in.
                db.ExecSQL(QStringLiteral("INSERT INTO lumo_desk_class(id,title,sort) VALUES("
                                          "max(ifnull((SELECT max(id) FROM lumo_desk_class),0),"
                                          "ifnull((SELECT max(cid) FROM lumo_desk),0))+1,?,?)"),
                           {name, sort_value});
            } else {
                db.ExecSQL(QStringLiteral("INSERT INTO lumo_caipin_class(title,sort) VALUES(?,?)"),
                           {name, sort_value});
            }
            out.id = QString::number(db.GetLastInsertRowID());
            out.message = noun + QStringLiteral("添加成功");
        }
        out.saved = true;
    });
    if (out.saved)
        announce(ctx, kind);
    return out;
}

QString delete_class(AppContext &ctx, ClassKind kind, const QString &id)
{
    // Tables and dishes of a deleted area or category keep its id: the dishes are still
    // offered under "所有菜品" and by their search codes.
    TSQLiteDatabase db(ctx.db_path);
    db.ExecSQL(QStringLiteral("DELETE FROM ") + class_table(kind) + QStringLiteral(" WHERE id=?"),
               {id});
    announce(ctx, kind);
    return {};
}
