#pragma once

#include "app/context.h"

#include <QString>
#include <QVector>

// Moving a table's guests and open order to a free table.

struct TransferChoice
{
    QString id;
    QString bh;
    QString title;
    QString stat;
};

// Every table in board order, as the transfer dialog lists them.
QVector<TransferChoice> transfer_choices(const AppContext &ctx);

struct TransferResult
{
    enum Outcome {
        Cancelled, // the confirmation box was answered Cancel
        Refused,   // message goes to the toast
        Blocked,   // message goes to a message box
        Done
    };
    Outcome outcome = Cancelled;
    QString message;
};

// Said when the table to move was freed (settled or cleared) at another counter meanwhile.
inline const QString TransferFreedText
    = QStringLiteral("当前桌位已空闲（可能已在别处结算），无需转台");

// Transfers the table source_id to target_id after the confirmation box: the target is
// opened with the source's guest data and amount, the source is freed and its open order
// moves, all in one transaction. The table is always given: a dialog acts on the table it
// was opened with, whatever the board has selected since.
TransferResult transfer_desk(AppContext &ctx, const QString &source_id, const QString &target_id);
