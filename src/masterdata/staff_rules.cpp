#include "masterdata/staff_rules.h"

#include "app/helpers.h"
#include "app/notifier.h"
#include "staff/login_token.h"
#include "store/sqlite_db.h"

ListQuery staff_list_query()
{
    ListQuery q;
    q.count = QStringLiteral("SELECT count(*) AS nums FROM lumo_admin");
    q.select = QStringLiteral(
        "SELECT id,username,rndstr,encmd5,truename,addtime,isjob,tid FROM lumo_admin");
    q.order_by = QStringLiteral("ORDER BY id DESC");
    q.condition = like_condition(QStringLiteral("username"));
    return q;
}

StaffEdit read_staff(const AppContext &ctx, const QString &id)
{
    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t = db.GetTable(
        QStringLiteral("SELECT id,username,truename,tid FROM lumo_admin WHERE id=?"), {id});
    if (t.Count() != 1)
        return {};
    return {true,
            t.value(QStringLiteral("username")),
            t.value(QStringLiteral("truename")),
            t.value(QStringLiteral("tid"))};
}

SaveOutcome save_staff(AppContext &ctx, const StaffForm &form)
{
    SaveOutcome out;
    const bool editing = !form.edit_id.isEmpty();
    if (editing && ctx.account.uid != 1) {
        out.message = QStringLiteral("请使用超级管理员权限来操作");
        return out;
    }
    const QString username = strip_quotes(form.username.trimmed());
    if (form.username.trimmed().isEmpty()) {
        out.message = QStringLiteral("请输入员工账号");
        return out;
    }
    if (!is_user_name(form.username.trimmed())) {
        out.message = QStringLiteral("员工账号只支持字母数字和下划线");
        return out;
    }
    const QString truename = strip_quotes(form.truename);
    if (truename.isEmpty()) {
        out.message = QStringLiteral("请输入员工姓名");
        return out;
    }
    const QString password = form.password.trimmed();
    const QString role = form.role.trimmed();
    // Only account 1 may change accounts and only administrators reach this screen:
    // account 1 with another role would lock everyone out of it for good.
    if (editing && form.edit_id.trimmed() == QLatin1String("1") && role != QLatin1String("9")) {
        out.message = SuperAdminRoleText;
        return out;
    }
    const QString now = unix_now(ctx.clock());

    TSQLiteDatabase db(ctx.db_path);
    db.transaction([&] {
        // SQLite's = compares exactly, so Admin and admin are different names.
        const TSQLiteTable taken
            = editing ? db.GetTable(
                  QStringLiteral("SELECT id FROM lumo_admin WHERE username=? AND id<>?"),
                  {username, form.edit_id})
                      : db.GetTable(QStringLiteral("SELECT id FROM lumo_admin WHERE username=?"),
                                    {username});
        if (taken.Count() > 0) {
            out.message = QStringLiteral("员工账号已存在，请确认");
            return;
        }
        if (editing) {
            const TSQLiteTable t = db.GetTable(
                QStringLiteral("SELECT id,rndstr FROM lumo_admin WHERE id=?"), {form.edit_id});
            if (t.Count() != 1) {
                out.message = RecordGoneText;
                return;
            }
            // Shorter than 6 keeps the password, as the help text says; 6 or more
            // changes it under the account's own salt.
            if (password.size() >= 6) {
                const QString salt = t.value(QStringLiteral("rndstr"));
                db.ExecSQL(QStringLiteral("UPDATE lumo_admin SET encmd5=? WHERE id=?"),
                           {pass_digest(password, salt), form.edit_id});
                // Remembered logins of the account end with its old password.
                drop_login_tokens(db, form.edit_id.toLongLong());
            }
            db.ExecSQL(QStringLiteral(
                           "UPDATE lumo_admin SET username=?,truename=?,isjob=1,tid=? WHERE id=?"),
                       {username, truename, role, form.edit_id});
            out.id = form.edit_id;
            out.message = QStringLiteral("员工信息修改成功");
        } else {
            const QString used = password.size() < 6 ? DefaultPassword : password;
            const QString salt = random_letters(ctx.random(), 10);
            db.ExecSQL(QStringLiteral("INSERT INTO lumo_admin(username,rndstr,encmd5,truename,"
                                      "addtime,isjob,tid) VALUES(?,?,?,?,?,1,?)"),
                       {username, salt, pass_digest(used, salt), truename, now, role});
            out.id = QString::number(db.GetLastInsertRowID());
            out.message = QStringLiteral("员工信息录入成功");
        }
        out.saved = true;
    });
    if (out.saved)
        ctx.notifier().staff_changed();
    return out;
}

QString delete_staff(AppContext &ctx, const QString &id)
{
    if (id == QLatin1String("1"))
        return QStringLiteral("系统保留账号，不能删除");
    TSQLiteDatabase db(ctx.db_path);
    db.transaction([&] {
        db.ExecSQL(QStringLiteral("DELETE FROM lumo_admin WHERE id=?"), {id});
        drop_login_tokens(db, id.toLongLong());
    });
    ctx.notifier().staff_changed();
    return {};
}
