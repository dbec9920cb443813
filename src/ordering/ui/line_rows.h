#pragma once

#include <QStringList>

class QTableWidget;

// Fills one row of an order-line list (ordering screen, checkout): the first cell
// carries the row's check box; a returned line stays listed, grey and struck out
// in its cells up to last_struck_column.
void set_line_row(
    QTableWidget *list, int row, const QStringList &cells, bool returned, int last_struck_column);
