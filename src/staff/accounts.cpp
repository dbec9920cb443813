#include "staff/accounts.h"

#include "app/helpers.h"
#include "app/ini.h"
#include "staff/login_token.h"
#include "store/schema.h"
#include "store/sqlite_db.h"

bool admin_init(AppContext &ctx)
{
    {
        TSQLiteDatabase db(ctx.db_path);
        if (db.scalar(QStringLiteral("SELECT count(*) as nums FROM lumo_admin")) != "0")
            return false;
        db.ExecSQL(QStringLiteral("INSERT INTO lumo_admin(id,username,rndstr,encmd5,truename,"
                                  "addtime,isjob,tid)Values(?,?,?,?,?,?,?,?)"),
                   {1,
                    QStringLiteral("admin"),
                    QString::fromLatin1(AdminSalt),
                    QString::fromLatin1(AdminDigest),
                    QStringLiteral("管理员"),
                    unix_now_secs(ctx.clock()),
                    1,
                    9});
    }
    ctx.account.uid = 1;
    ctx.account.username = QStringLiteral("admin");
    ctx.account.digest = QString::fromLatin1(AdminDigest);
    ctx.account.role = 9;
    remember_login(ctx, 1, ctx.account.username, 9);
    return true;
}

namespace {

bool write_login(
    const AppContext &ctx, qint64 uid, const QString &username, int role, const QString &token)
{
    const IniFile ini(ctx.paths.ini);
    bool ok = ini.writeString("Memberinfo", "member_uid", QString::number(uid));
    ok = ini.writeString("Memberinfo", "member_username", username) && ok;
    ok = ini.writeString("Memberinfo", "member_password", QString()) && ok;
    ok = ini.writeString("Memberinfo", "member_tid", QString::number(role)) && ok;
    ok = ini.writeString(TokenSection, TokenKey, token) && ok;
    return ok;
}

} // namespace

bool remember_login(const AppContext &ctx, qint64 uid, const QString &username, int role)
{
    return write_login(ctx, uid, username, role, issue_login_token(ctx, uid));
}

bool forget_login(const AppContext &ctx)
{
    const IniFile ini(ctx.paths.ini);
    for (const qint64 uid :
         {ini.readString("Memberinfo", "member_uid").toLongLong(), ctx.account.uid})
        if (uid != 0)
            drop_login_tokens(ctx, uid);
    return write_login(ctx, 0, QString(), 0, QString());
}
