#include "ordering/ui/line_rows.h"

#include <QColor>
#include <QFont>
#include <QTableWidget>

void set_line_row(
    QTableWidget *list, int row, const QStringList &cells, bool returned, int last_struck_column)
{
    static const QColor ReturnedText(153, 153, 153);
    QFont struck = list->font();
    struck.setStrikeOut(true);
    for (int c = 0; c < cells.size(); ++c) {
        auto *item = new QTableWidgetItem(cells[c]);
        if (c == 0) {
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
        if (returned && c <= last_struck_column) {
            item->setForeground(ReturnedText);
            item->setFont(struck);
        }
        list->setItem(row, c, item);
    }
}
