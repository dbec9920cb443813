#pragma once

#include "app/context.h"
#include "store/sqlite_db.h"

#include <QString>
#include <QStringList>
#include <QVector>

#include <functional>

// The paged list of every master-data screen (and the orders list): keyword,
// page arithmetic, the paging bar's states, the page query and the editor's
// add/edit toggle. Widget-free; the list screen window only shows the results.

// The keyword a list searches with: every single quote removed, blanks trimmed.
// A text of only quotes and blanks is no keyword.
QString list_keyword(const QString &text);

// Pages for a record count: count / page size rounded up, 0 without records.
int list_page_count(int records, int page_size);
// The page "尾页" goes to: the last page, page 1 when there are none.
int list_last_page(int pages);
// Row number shown in a list's first column; numbering continues across pages.
int list_row_number(int page, int page_size, int position);

// The paging bar's buttons and "查询".
enum class PageMove { First, Previous, Next, Last, Search };
// The page a button leads to from page of pages, or 0 when it does nothing
// ("上一页" on page 1, "下一页" on the last page). The others always reload.
int page_after(PageMove move, int page, int pages);

// One paging button after set_page_bar: disabled, enabled or left as it was.
enum class BarButton { Off, On, Keep };
struct PageBarState
{
    BarButton first = BarButton::Keep;
    BarButton pre = BarButton::Keep;
    BarButton next = BarButton::Keep;
    BarButton last = BarButton::Keep;
    QString nums; // "共有" + records + "条符合条件的记录"
    QString page; // "当前" + page + "页/共" + pages + "页"
};
// The paging bar for page p of n pages with r records. A page beyond the last
// (the only row of the last page was deleted) keeps the buttons as they were,
// so "上一页" still leads back.
PageBarState page_bar_state(int page, int pages, int records);

// A WHERE clause (empty for none) and the values bound to its placeholders.
struct SqlCondition
{
    QString sql;
    SqlParams params;
    // No index serves the condition, so every row is read: one pass finds the ids of
    // the matching rows, counted and paged at once, instead of a scan for the count
    // and another for the page. The list's select names its id column id_column.
    bool full_scan = false;
};

// What one list screen reads. The count and the page run with the same condition.
struct ListQuery
{
    QString count;    // "SELECT count(*) FROM lumo_desk AS A1" (one value)
    QString select;   // "SELECT A1.id,... FROM lumo_desk AS A1 LEFT JOIN ..."
    QString order_by; // "ORDER BY A1.sort ASC"
    // The condition for a keyword already cleaned by list_keyword (may be empty).
    std::function<SqlCondition(const QString &keyword)> condition;
    // When set ("lumo_orders AS A1"), a page first picks its ids from this table
    // alone, with the condition and the order, and joins only those rows, so a deep
    // page skips the rows before it without joining them. The condition may then
    // name only this table's columns.
    QString ids_from;
    QString id_column = QStringLiteral("id"); // "A1.id"
    // order_by backwards, for an order on a unique column ("ORDER BY A1.id ASC"):
    // a page in the back half is then read from the far end and turned round, so
    // the last page costs what the first does.
    QString order_by_reversed;
};
// The LIKE pattern that finds the keyword anywhere in a text, as typed: "%", "_"
// and the escape character itself match only themselves (with LikeEscape).
QString like_pattern(const QString &keyword);
inline const QString LikeEscape = QStringLiteral(" ESCAPE '\\'");
// The common keyword condition: column LIKE %keyword%, nothing without a keyword.
std::function<SqlCondition(const QString &keyword)> like_condition(const QString &column);

// One page of a list as read.
struct ListPage
{
    int records = 0;
    int pages = 0;
    int page = 1;
    int page_size = 15;
    QStringList columns;
    QVector<QStringList> rows;

    // Cell of a row by column name (case-insensitive); empty when there is no such column.
    QString cell(int row, const QString &column) const;
    // Row number of a row of this page.
    int number(int row) const { return list_row_number(page, page_size, row); }
};
// Count, page count and the rows of one page; keyword_text is the raw text of the
// keyword field.
ListPage read_list_page(const AppContext &ctx,
                        const ListQuery &query,
                        const QString &keyword_text,
                        int page,
                        int page_size);

// The editor of a list screen: add mode or edit mode of one record, and the ids
// its toggles remember.
struct ListEditor
{
    bool editing = false;
    QString edit_id;
    QString last_click_id;  // row whose 编辑 cell was clicked last
    QString last_double_id; // row double-clicked last
};
// seteditstat(isedit, id): true when it leads to edit mode for id, false when to
// add mode. isedit 0 toggles: edit mode goes to add mode, add mode to edit mode.
bool editor_goes_to_edit(const ListEditor &editor, int isedit);
// The isedit a click on a row's 编辑 cell passes to seteditstat: 1 for another
// row than last time, 0 (toggle) for the same. Remembers the row.
int edit_click(ListEditor &editor, const QString &id);
// The same for a double-click; the two remembered ids are independent.
int edit_double_click(ListEditor &editor, const QString &id);

// ---- sort numbers and number fields ----

// A number as the master-data editors take it: digits with at most one "." and at
// least one digit. More than one "." first shows the warning of check_one_point.
bool number_text_ok(const QString &text, Prompts &prompts);
// The value to bind for an accepted number text: a whole number or a real.
QVariant number_param(const QString &text);
// "" and "0" ask for the default sort number.
bool wants_default_sort(const QString &sort);
// The whole part of the table's largest numeric sort number plus 1; 1 when there
// is none. Text left in the column by older versions is passed over.
qint64 default_sort(TSQLiteDatabase &db, const QString &table);

// Ids and titles of a choice list (areas, categories) in their sort order.
struct Choice
{
    QString id;
    QString title;
};
QVector<Choice> read_choices(const AppContext &ctx, const QString &table);

// Shown when an edited record was deleted meanwhile.
inline const QString RecordGoneText = QStringLiteral("数据不存在，可能已被删除");
