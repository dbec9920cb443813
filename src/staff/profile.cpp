#include "staff/profile.h"

#include "app/helpers.h"
#include "app/ini.h"
#include "app/notifier.h"
#include "staff/accounts.h"
#include "staff/login_token.h"
#include "store/sqlite_db.h"

Profile load_profile(const AppContext &ctx)
{
    Profile p;
    if (ctx.account.uid == 0)
        return p;
    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t
        = db.GetTable(QStringLiteral("SELECT id,truename,tid FROM lumo_admin where id=? limit 1"),
                      {ctx.account.uid});
    if (t.Count() == 0)
        return p;
    p.found = true;
    p.truename = t.value(QStringLiteral("truename"));
    p.role = role_name(t.value(QStringLiteral("tid")));
    return p;
}

QString save_profile(AppContext &ctx,
                     const QString &truename_field,
                     const QString &password_field,
                     bool *remembered)
{
    if (remembered)
        *remembered = true;
    if (ctx.account.uid == 0)
        return {};
    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t = db.GetTable(QStringLiteral("SELECT id,truename,username,encmd5,tid "
                                                      "FROM lumo_admin where id=? limit 1"),
                                       {ctx.account.uid});
    if (t.Count() == 0)
        return {};

    const QString name = strip_quotes(truename_field);
    const QString password = password_field.trimmed();
    // Fewer than six characters means "keep the password".
    const bool change = password.size() > 5;
    QString digest;
    if (change) {
        const QString salt = random_letters(ctx.random(), 10);
        digest = pass_digest(password, salt);
        db.ExecSQL(QStringLiteral("UPDATE lumo_admin set truename=?,rndstr=?,encmd5=? WHERE id=?"),
                   {name, salt, digest, ctx.account.uid});
    } else {
        db.ExecSQL(QStringLiteral("UPDATE lumo_admin set truename=? WHERE id=?"),
                   {name, ctx.account.uid});
    }

    const IniFile ini(ctx.paths.ini);
    ini.writeString("Memberinfo", "member_uid", QString::number(ctx.account.uid));
    if (change) {
        // A new password ends every remembered login of the account; this counter,
        // where it was typed, gets a new one. Not remembered, the next start asks for
        // the password: the caller says so.
        drop_login_tokens(ctx, ctx.account.uid);
        const bool written
            = remember_login(ctx, ctx.account.uid, ctx.account.username, ctx.account.role);
        if (remembered)
            *remembered = written;
        ctx.account.digest = digest;
    }
    ctx.notifier().staff_changed();
    return QStringLiteral("资料修改成功");
}
