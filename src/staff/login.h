#pragma once

#include "app/context.h"

#include <QString>

class IniFile;

// What a login attempt tells the user; ok only for "登录成功".
struct LoginResult
{
    bool ok = false;
    QString message;
    // Signed in, but the configuration file did not take the remembered login.
    bool remembered = true;
};

// Checks the login name and password against lumo_admin. On success the account is
// signed in and remembered in [Memberinfo]; nothing is written on a refusal.
LoginResult login(AppContext &ctx, const QString &name_field, const QString &password);

// Loads the remembered login into the signed-in account when nobody is signed in
// and the configuration file exists: the account of the remembered token, as stored
// now. A password digest remembered by an older program signs in only when legacy is
// set (the start that created the token table); the file then gets a token instead.
void check_local_login(AppContext &ctx);
// The same from a file already read.
void check_local_login(AppContext &ctx, const IniFile &ini, bool legacy = false);

// Forgets the remembered login and clears the signed-in account; false when the
// configuration file could not be written, so the next start would sign in again.
bool logout(AppContext &ctx);
