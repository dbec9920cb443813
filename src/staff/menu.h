#pragma once

#include "app/context.h"

#include <QByteArray>
#include <QString>
#include <QVector>

// One entry of the main window's menu bar.
struct MenuRow
{
    int id = 0;
    QString title;
    int icon = 0;    // number in the 32 x 32 icon list
    int isright = 0; // 1: laid out from the right edge of the bar

    bool operator==(const MenuRow &) const = default;
};

// Every entry in menu order, whoever may see it.
const QVector<MenuRow> &all_menu_rows();

// The entries the signed-in account may see, in menu order. Verifies the account
// with check_login (which reloads or clears it), so the administrator rows follow
// the role just read from lumo_admin; "删除数据" shows while demonstration tables exist.
// Nobody signed in: no entry at all.
QVector<MenuRow> menu_rows(AppContext &ctx);

// The rows as the JSON array the menu bar is built from, and back.
QByteArray menu_rows_json(const QVector<MenuRow> &rows);
QVector<MenuRow> menu_rows_from_json(const QByteArray &json);

// Left edge of the index-th collected row in a bar of the given width: left entries
// step 79 pixels from the left edge, right entries are packed against the right edge.
int menu_entry_left(const QVector<MenuRow> &rows, int index, int bar_width);
// Left of an entry's title label in its 80-pixel box.
int menu_label_left(const QString &title);
