#pragma once

#include "app/context.h"

#include <QString>

class TSQLiteDatabase;

// The remembered login is a random token, not the password digest: info.ini holds the
// token, mivo_login_token only its digest, so neither file alone signs anybody in.

// Creates mivo_login_token when it is missing; true when this call created it (the
// first start of this program on an older installation).
bool ensure_login_tokens(const QString &db_path);

// A new token for the account, its digest stored; the token itself is returned.
QString issue_login_token(const AppContext &ctx, qint64 uid);
// Whether the token was issued to the account and still holds: a password changed since,
// here or by an older program on the same file, ends it.
bool login_token_holds(const AppContext &ctx, qint64 uid, const QString &token);
// Forgets every token of an account (signing out, a new password, the account deleted).
void drop_login_tokens(TSQLiteDatabase &db, qint64 uid);
void drop_login_tokens(const AppContext &ctx, qint64 uid);

// The digest stored for a token: SHA-256 (hexadecimal) of the token and the account's
// password digest of the moment.
QString login_token_digest(const QString &token, const QString &encmd5);

// Where info.ini keeps the token: a section of its own, after the older keys.
inline constexpr const char *TokenSection = "Mivologin";
inline constexpr const char *TokenKey = "token";
