#pragma once

#include "app/context.h"

#include <QString>

// What a write of money, lines or a table's state answers when nobody is signed in at
// this counter: signing out hides the windows, and this keeps a window left open, a
// timer or a late payment answer from writing for nobody.
inline const QString SignInFirstText = QStringLiteral("请先登录");

inline bool signed_in(const AppContext &ctx)
{
    return ctx.account.uid != 0 && !ctx.account.username.isEmpty();
}
