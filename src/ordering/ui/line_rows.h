#pragma once

#include "ordering/diancan.h"

#include <QAbstractItemView>
#include <QStringList>
#include <QVector>

#include <functional>

class QCheckBox;
class QPushButton;
class QTableWidget;
class QWidget;

// An order-line list "list_ord" with these column titles, rows of fixed height,
// nothing editable in place, whole rows selected, the id column hidden.
QTableWidget *make_line_list(QWidget *parent,
                             const QStringList &titles,
                             int id_column,
                             QAbstractItemView::SelectionMode selection);

// Fills one row of an order-line list (ordering screen, checkout): the first cell
// carries the row's check box; a returned line stays listed, grey and struck out
// in its cells up to last_struck_column.
void set_line_row(
    QTableWidget *list, int row, const QStringList &cells, bool returned, int last_struck_column);

// Checks or unchecks every row, without announcing each change.
void set_all_lines_checked(QTableWidget *list, bool checked);
// True when the list has rows and every one is checked.
bool all_lines_checked(const QTableWidget *list);
// The id_column texts of the checked rows, comma-separated.
QString checked_row_ids(const QTableWidget *list, int id_column);

// A button of a dialog; never the default one, so Enter in an input field does not
// press it.
QPushButton *make_dialog_button(QWidget *parent, const QString &text, const QString &name);

// What stands above an order-line list: "全选" and the batch buttons ("退菜",
// "设置为下单", "设置为已出餐", "改价", "批量删除"), not yet placed. "改价" calls
// on_gaijia, the others on_batch with their operation.
struct LineBatchBar
{
    QCheckBox *all = nullptr;
    QVector<QPushButton *> buttons;
};
LineBatchBar make_line_batch_bar(QWidget *parent,
                                 const std::function<void(LineOp)> &on_batch,
                                 const std::function<void()> &on_gaijia);
