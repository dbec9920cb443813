#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <QVector>

// The dish grid of the ordering screen: what a dish tile carries, which tiles a
// keyword and a category let through, and where the shown ones go.

// The dish and the waiter's choices for it. As text its 11 fields are joined with
// "@@@" in the order below.
struct TileRecord
{
    QString id;
    QString selected = QStringLiteral("0"); // "1" selected
    QString quantity = QStringLiteral("1"); // whole number
    QString cid;
    QString stock;
    QString zfid;    // chosen method ids joined with ","
    QString zfidstr; // chosen method titles joined with ","
    QString title;
    QString price;   // the dish's stored price text
    QString titleen; // search code
    QString remark;

    static constexpr int FieldCount = 11;

    QString encode() const;
    // Missing fields stay empty. The remark is the last field, so it keeps any
    // "@@@" of its own.
    static TileRecord decode(const QString &text);

    bool isSelected() const { return selected == QLatin1String("1"); }
    // Back to "not chosen": unselected, quantity 1, no methods, no remark.
    void resetChoices();

    bool operator==(const TileRecord &) const = default;
};

// A keyword of letters A-Z/a-z only is looked for in the search code, anything
// else in the title (the caller trims it).
bool keyword_searches_code(const QString &keyword);

// Whether a dish tile passes the keyword (case-sensitive substring; empty matches
// all) and the category (empty or "0" means every category).
bool tile_matches(const QString &title,
                  const QString &titleen,
                  const QString &cid,
                  const QString &keyword,
                  const QString &category);
inline bool tile_matches(const TileRecord &r, const QString &keyword, const QString &category)
{
    return tile_matches(r.title, r.titleen, r.cid, keyword, category);
}

// Tile geometry of the grid.
namespace dish_grid {
inline constexpr int TileWidth = 120;
inline constexpr int TileHeight = 60;
inline constexpr int Gap = 8;
inline constexpr int RowPitch = 70;
inline constexpr int ColumnPitch = TileWidth + Gap; // 128
inline constexpr int Top = 4;
inline constexpr int Left = 6;
} // namespace dish_grid

// Whole tiles per row for a dish area of the given width (at least 1).
int grid_columns(int area_width);

// Whole tile rows in a dish area of the given height (at least 1).
int grid_rows(int area_height);
// Tiles on one page: the setting (below 1 counts as 1), but never more than the
// columns x rows that fit, so no tile of a page lies out of sight.
int grid_page_size(int setting, int columns, int rows);

// Pages for n matching tiles (n / per_page rounded up; per_page below 1 counts as 1).
int grid_page_count(int matches, int per_page);

// Which of the matching tiles (positions from 0, in tile order) a page shows:
// [first, last). Empty when the page lies beyond them.
struct PageSpan
{
    int first = 0;
    int last = 0;
    bool contains(int k) const { return k >= first && k < last; }
};
PageSpan grid_page_span(int matches, int page, int per_page);

// Top-left corner of the k-th shown tile (from 0).
QPoint grid_tile_position(int k, int columns);

// Paging buttons after a layout.
inline bool grid_prev_enabled(int page)
{
    return page >= 2;
}
inline bool grid_next_enabled(int page, int page_count)
{
    return page < page_count;
}

// ---- cooking methods chosen in the methods dialog ----

// Whether a method id is among the chosen ids ("1,3" contains 3 but not 13).
bool method_chosen(const QString &zfid, const QString &method_id);

struct MethodChoice
{
    QString id;
    QString title;
    bool checked = false;
};
struct ChosenMethods
{
    QString ids;
    QString titles;
};
// Ids and titles of the checked methods, trimmed, in list order, joined with ",".
ChosenMethods chosen_methods(const QVector<MethodChoice> &methods);

// A quantity as the tile keeps it: a whole number of at least 1, "1" otherwise.
QString clean_tile_quantity(const QString &text);
