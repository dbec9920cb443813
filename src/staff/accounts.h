#pragma once

#include "app/context.h"

// Seeds the administrator when lumo_admin is empty and signs it in (account and
// the remembered login). Returns whether it seeded.
bool admin_init(AppContext &ctx);

// The four [Memberinfo] keys of the remembered login; false when the configuration
// file could not be written.
bool remember_login(
    const AppContext &ctx, qint64 uid, const QString &username, const QString &digest, int role);
bool forget_login(const AppContext &ctx);
