#include "staff/login_token.h"

#include "app/helpers.h"
#include "store/sqlite_db.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

bool ensure_login_tokens(const QString &db_path)
{
    TSQLiteDatabase db(db_path);
    if (db.TableExists(QStringLiteral("mivo_login_token")))
        return false;
    db.ExecSQL(QStringLiteral("CREATE TABLE IF NOT EXISTS mivo_login_token (id INTEGER PRIMARY "
                              "KEY, uid INTEGER NOT NULL, token_digest TEXT NOT NULL UNIQUE, "
                              "addtime INTEGER NOT NULL DEFAULT 0)"));
    return true;
}

QString login_token_digest(const QString &token, const QString &encmd5)
{
    return QString::fromLatin1(
        QCryptographicHash::hash((token + QChar('\n') + encmd5.trimmed()).toUtf8(),
                                 QCryptographicHash::Sha256)
            .toHex());
}

namespace {

QString account_digest(TSQLiteDatabase &db, qint64 uid)
{
    return db.scalar(QStringLiteral("SELECT encmd5 FROM lumo_admin WHERE id=? limit 1"), {uid});
}

} // namespace

QString issue_login_token(const AppContext &ctx, qint64 uid)
{
    // 256 bits from the system's secure source.
    quint32 words[8];
    QRandomGenerator::system()->fillRange(words);
    const QString token = QString::fromLatin1(
        QByteArray(reinterpret_cast<const char *>(words), sizeof words).toHex());
    TSQLiteDatabase db(ctx.db_path);
    const QString digest = login_token_digest(token, account_digest(db, uid));
    db.ExecSQL(
        QStringLiteral("INSERT INTO mivo_login_token(uid,token_digest,addtime) VALUES(?,?,?)"),
        {uid, digest, unix_now_secs(ctx.clock())});
    return token;
}

bool login_token_holds(const AppContext &ctx, qint64 uid, const QString &token)
{
    if (token.isEmpty() || uid == 0)
        return false;
    TSQLiteDatabase db(ctx.db_path);
    const QString digest = login_token_digest(token, account_digest(db, uid));
    return db.scalar(QStringLiteral("SELECT count(*) FROM mivo_login_token WHERE uid=? AND "
                                    "token_digest=?"),
                     {uid, digest})
           != QLatin1String("0");
}

void drop_login_tokens(TSQLiteDatabase &db, qint64 uid)
{
    db.ExecSQL(QStringLiteral("DELETE FROM mivo_login_token WHERE uid=?"), {uid});
}

void drop_login_tokens(const AppContext &ctx, qint64 uid)
{
    TSQLiteDatabase db(ctx.db_path);
    drop_login_tokens(db, uid);
}
