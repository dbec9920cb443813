#pragma once

#include "app/context.h"
#include "app/helpers.h"

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>

// The table board's queries and arithmetic; the main window only shows the results.

// Board constants.
inline constexpr int TileSize = 160;
inline constexpr int TileGap = 5;
inline constexpr int OrderPanelWidth = 420;
inline constexpr const char *FreeColour = "#CCFFCC";
inline constexpr const char *OpenColour = "#FF8888";
inline constexpr const char *ReservedColour = "#CCCCCC";
inline constexpr const char *CleaningColour = "#FFFFCA";
inline constexpr const char *SelectedColour = "#F579FF";
inline constexpr const char *AreaColour = "#F0F0F0";

// Tile colour of a desk status: open, reserved, cleaning, free for anything else.
QString desk_colour(const QString &stat);

// The nine lumo_desk columns a tile carries, as read (addtime as stored seconds).
struct DeskRecord
{
    QString id, title, bh, stat, nums, price, addtime, cid, cname;

    bool exists() const { return !id.isEmpty(); }
    // The fields joined by "@@@".
    QString text() const;
};

// Every table in board order (sort ascending).
QVector<DeskRecord> load_desk_records(const AppContext &ctx);
// One table; an empty record when the row is gone. Single quotes are dropped from the id.
DeskRecord desk_record(const AppContext &ctx, const QString &desk_id);

// Texts of a tile's labels.
QString tile_people_text(const DeskRecord &r);                     // nums + "人"
QString tile_amount_text(const QString &bh, const QString &price); // "桌" + bh + "￥" + price
// The amount is green unless the stored price text is exactly "0".
bool tile_amount_green(const QString &price);

struct DeskClass
{
    QString id, title;
};
QVector<DeskClass> load_desk_classes(const AppContext &ctx);

// id, price and bh of every table, for the synchronisation timer.
struct DeskAmount
{
    QString id, price, bh;
};
QVector<DeskAmount> load_desk_amounts(const AppContext &ctx);

// ---- layout ----

// Tiles per row for a window W pixels wide: those that fit whole left of the order
// panel (may be below 1 on a narrow window).
int tiles_per_row(int window_width);
// A page size below 1 would divide by zero; such a setting counts as 36.
int effective_page_size(int page_size);
int page_count(int tiles, int page_size);
// Position of the n-th tile of a page (n from 1) inside the tile area.
QPoint tile_position(int n, int per_row);

struct BoardLayout
{
    // False when the area filter leaves no tile: every tile is hidden and the page
    // count, visible count and paging buttons keep their values.
    bool any_visible = false;
    int visible_count = 0;
    int page_count = 1;
    QVector<bool> shown;       // per tile, in tile order
    QVector<QPoint> positions; // per tile; meaningful where shown
    bool prev_enabled = false;
    bool next_enabled = false;
};

// The layout pass over the tiles' area ids (in tile order) for the selected area
// (empty or "0": all) and the board page.
BoardLayout
layout_board(const QStringList &cids, const QString &area, int page, int page_size, int per_row);

// ---- order panel ----

// The table's open order, or NoOrderId when it has none (or no table is given).
QString desk_open_order(const AppContext &ctx, const QString &desk_id);

// One row of the order panel's line list.
struct PanelLine
{
    QString no, title, zfidstr, oneprice, quantity, amount, status;
    QString stat; // raw line status, for drawing returned lines
};
QVector<PanelLine> panel_lines(const AppContext &ctx, const QString &desk_id);

// The header texts of the order panel; found is false without the table row.
struct DeskInfo
{
    bool found = false;
    QString bh, addtime, nums, fwy, ydtruename, yj, price;
};
DeskInfo desk_info(const AppContext &ctx, const QString &desk_id);

// ---- summary bar ----

struct BoardSummary
{
    QString total;                     // settled + unsettled, "%.2f"
    QString people;                    // SUM(nums), empty without tables
    QString settled;                   // dining orders settled today, "%.2f"
    QString unsettled;                 // running amounts of the tables, "%.2f"
    QString all, free, reserved, busy; // counter texts
};
BoardSummary board_summary(const AppContext &ctx);
