#pragma once

#include "app/context.h"

#include <QString>

// Frees a table ("消台") when its open order has no lines, whatever their status.
// Returns the toast text: "消台成功", or the refusal. An open order without lines
// stays open and is reused when the table is opened again.
QString clear_desk(AppContext &ctx, const QString &desk_id);

// True for the text clear_desk returns when it freed the table.
bool clear_desk_succeeded(const QString &message);
