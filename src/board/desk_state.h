#pragma once

#include "app/context.h"

#include <QString>

// The table-state dialog's rules: open, reserve or keep a table free, and edit its
// guest data.

// The fields of one lumo_desk row as the dialog shows them.
struct DeskRow
{
    bool found = false;
    QString id, title, bh, nums, addtime, price, ydtruename, yj, fwy, gldesk, stat;
};

DeskRow read_desk_row(const AppContext &ctx, const QString &desk_id);

// A desk status as a code; an empty status is free.
QString desk_stat_code(const QString &stat);

// What the dialog holds when "确认保存" is pressed.
struct DeskStateForm
{
    int stat = 0; // 0 free, 1 open, 3 reserved
    QString ydtruename;
    QString yj;
    QString nums;
    QString fwy;
};

struct DeskStateResult
{
    bool saved = false;
    QString message;    // toast text; empty when the user cancelled
    QString order_id;   // the open order, when the table was opened or reserved
    bool stale = false; // refused: the table changed elsewhere since it was shown
};

// Saves the current table's state (ctx.desk_id) after the confirmation box.
// Refusals come back as the message with nothing written (a deposit or guest
// count that is not one is refused before the box); the open order, the table
// and the order are written in one transaction. Single quotes are removed from
// the names.
DeskStateResult save_desk_state(AppContext &ctx, const DeskStateForm &form);
// The same for the given table, whatever the board has selected since. Given the
// status the dialog showed, a table freed elsewhere since (settled, cleared) or taken
// elsewhere (opened, reserved) is not saved over; the result is then stale.
DeskStateResult save_desk_state(AppContext &ctx,
                                const QString &desk_id,
                                const DeskStateForm &form,
                                const QString &shown_stat = QString());
