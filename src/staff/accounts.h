#pragma once

#include "app/context.h"

// Seeds the administrator when lumo_admin is empty and signs it in (account and
// the remembered login). Returns whether it seeded.
bool admin_init(AppContext &ctx);

// Remembers the account at this counter: a new login token in [Mivologin] and the
// [Memberinfo] keys an older program reads, member_password left empty (it never holds
// the digest). False when the configuration file could not be written.
bool remember_login(const AppContext &ctx, qint64 uid, const QString &username, int role);
// Forgets the remembered login and every token of the account signed in.
bool forget_login(const AppContext &ctx);
