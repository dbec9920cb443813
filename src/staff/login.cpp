#include "staff/login.h"

#include "app/helpers.h"
#include "app/ini.h"
#include "app/notifier.h"
#include "staff/accounts.h"
#include "staff/login_token.h"
#include "store/sqlite_db.h"

LoginResult login(AppContext &ctx, const QString &name_field, const QString &password)
{
    const QString name = strip_quotes(name_field);
    if (name.isEmpty())
        return {false, QStringLiteral("请输入登录账号")};
    if (password.isEmpty())
        return {false, QStringLiteral("请输入登录密码")};

    TSQLiteTable t;
    {
        TSQLiteDatabase db(ctx.db_path);
        t = db.GetTable(QStringLiteral("SELECT id,username,rndstr,encmd5,addtime,tid FROM "
                                       "lumo_admin where username=?"),
                        {name});
    }
    if (t.Count() == 0)
        return {false, QStringLiteral("登录账号不存在,请确认")};

    // Two accounts with one login name: the first row is the one compared.
    QString id = t.value(QStringLiteral("id"));
    if (id.isEmpty())
        id = QStringLiteral("0");
    QString tid = t.value(QStringLiteral("tid"));
    if (tid.isEmpty())
        tid = QStringLiteral("1");
    const QString digest = t.value(QStringLiteral("encmd5")).trimmed();
    const QString salt = t.value(QStringLiteral("rndstr")).trimmed();
    if (pass_digest(password, salt) != digest)
        return {false, QStringLiteral("登录密码错误")};

    const qint64 uid = id.toLongLong();
    const int role = tid.toInt();
    const bool remembered = remember_login(ctx, uid, name, role);
    ctx.account.uid = uid;
    ctx.account.username = name;
    ctx.account.digest = digest;
    ctx.account.role = role;
    ctx.notifier().account_changed();
    return {true, QStringLiteral("登录成功"), remembered};
}

void check_local_login(AppContext &ctx)
{
    if (!ctx.account.username.isEmpty())
        return;
    check_local_login(ctx, IniFile(ctx.paths.ini));
}

void check_local_login(AppContext &ctx, const IniFile &ini, bool legacy)
{
    if (!ctx.account.username.isEmpty() || !ini.exists())
        return;
    // The name shows as the operator whether or not the login still holds.
    const QString name = ini.readString("Memberinfo", "member_username");
    ctx.account.username = name;
    if (name.isEmpty())
        return;
    const QString token = ini.readString(TokenSection, TokenKey);
    const QString old_digest = ini.readString("Memberinfo", "member_password");
    qint64 uid = ini.readString("Memberinfo", "member_uid").toLongLong();
    if (!login_token_holds(ctx, uid, token))
        uid = 0;
    if (uid == 0 && !(legacy && !old_digest.isEmpty()))
        return;

    TSQLiteDatabase db(ctx.db_path);
    const TSQLiteTable t = uid != 0
                               ? db.GetTable(QStringLiteral("SELECT id,username,encmd5,tid FROM "
                                                            "lumo_admin where id=? limit 1"),
                                             {uid})
                               : db.GetTable(QStringLiteral("SELECT id,username,encmd5,tid FROM "
                                                            "lumo_admin where username=?"),
                                             {name});
    if (t.Count() == 0 || t.value(QStringLiteral("username")) != name)
        return;
    const QString digest = t.value(QStringLiteral("encmd5")).trimmed();
    // An older program remembered the digest itself: trusted once, on the start that
    // brings the tokens in, and replaced by one at once.
    if (uid == 0 && old_digest != digest)
        return;
    QString tid = t.value(QStringLiteral("tid"));
    if (tid.isEmpty())
        tid = QStringLiteral("1");
    ctx.account.uid = t.value(QStringLiteral("id")).toLongLong();
    ctx.account.digest = digest;
    ctx.account.role = tid.toInt();
    if (uid == 0)
        remember_login(ctx, ctx.account.uid, name, ctx.account.role);
    else if (!old_digest.isEmpty())
        IniFile(ctx.paths.ini).writeString("Memberinfo", "member_password", QString());
    ctx.notifier().account_changed();
}

bool logout(AppContext &ctx)
{
    const bool forgotten = forget_login(ctx);
    ctx.account.clear();
    ctx.notifier().account_changed();
    return forgotten;
}
