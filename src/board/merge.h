#pragma once

#include "app/context.h"

#include <QString>

// Two tables that ate together pay one bill: the open order of the other table joins
// this table's order and the other table is freed.

struct MergeResult
{
    bool ok = false;
    QString message;  // "并台成功" or why nothing was written
    QString order_id; // this table's order, with both tables' lines
};

inline const QString MergeDoneText = QStringLiteral("并台成功");
inline const QString MergeSameText = QStringLiteral("不能与当前桌位并台");
inline const QString MergeGoneText = QStringLiteral("桌位已结算或已空闲，无法并台");

// Moves the lines, guests, deposit and received online payments of other_desk's open
// order into the open order of desk_id and frees other_desk as a transfer frees the
// table it leaves. One transaction; refused, writing nothing, when either table was
// settled or freed meanwhile.
MergeResult merge_desks(AppContext &ctx, const QString &desk_id, const QString &other_desk);
