#include "staff/accounts.h"

#include "app/helpers.h"
#include "app/ini.h"
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
    remember_login(ctx, 1, ctx.account.username, ctx.account.digest, 9);
    return true;
}

bool remember_login(
    const AppContext &ctx, qint64 uid, const QString &username, const QString &digest, int role)
{
    const IniFile ini(ctx.paths.ini);
    bool ok = ini.writeString("Memberinfo", "member_uid", QString::number(uid));
    ok = ini.writeString("Memberinfo", "member_username", username) && ok;
    ok = ini.writeString("Memberinfo", "member_password", digest) && ok;
    ok = ini.writeString("Memberinfo", "member_tid", QString::number(role)) && ok;
    return ok;
}

bool forget_login(const AppContext &ctx)
{
    return remember_login(ctx, 0, QString(), QString(), 0);
}
