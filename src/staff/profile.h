#pragma once

#include "app/context.h"

#include <QString>

// What the profile dialog shows of the signed-in account.
struct Profile
{
    bool found = false;
    QString truename;
    QString role; // role display name
};

Profile load_profile(const AppContext &ctx);

// Saves the full name and, when it has more than 5 characters after trimming, the
// new password with a fresh salt. Returns the toast text, or empty text when nobody
// is signed in or the account row is gone (nothing happens then).
// remembered (when given) becomes false when a new password could not be written to the
// remembered login, so the next start asks for the password.
QString save_profile(AppContext &ctx,
                     const QString &truename_field,
                     const QString &password_field,
                     bool *remembered = nullptr);
