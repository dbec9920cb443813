#pragma once

#include "app/context.h"

// The real message boxes, over the active window.
class BoxPrompts : public Prompts
{
public:
    bool confirm(const QString &text) override;
    void information(const QString &text) override;
    void warning(const QString &text) override;
    void error(const QString &text) override;
};

// Runs an event handler's work; a store failure is shown in the error box and
// leaves the window usable. Returns false when the work failed.
template<class F> bool guarded(AppContext &ctx, F &&work);

#include "store/sqlite_db.h"

template<class F> bool guarded(AppContext &ctx, F &&work)
{
    try {
        work();
        return true;
    } catch (const ESQLiteException &e) {
        ctx.prompts().error(e.message());
    }
    return false;
}
