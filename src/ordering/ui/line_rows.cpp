#include "ordering/ui/line_rows.h"

#include <QCheckBox>
#include <QColor>
#include <QFont>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>

QTableWidget *make_line_list(QWidget *parent,
                             const QStringList &titles,
                             int id_column,
                             QAbstractItemView::SelectionMode selection)
{
    auto *list = new QTableWidget(0, int(titles.size()), parent);
    list->setObjectName(QStringLiteral("list_ord"));
    list->setHorizontalHeaderLabels(titles);
    list->verticalHeader()->hide();
    list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->verticalHeader()->setDefaultSectionSize(28);
    list->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(selection);
    list->setColumnHidden(id_column, true);
    return list;
}

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

void set_all_lines_checked(QTableWidget *list, bool checked)
{
    const QSignalBlocker quiet(list);
    for (int r = 0; r < list->rowCount(); ++r)
        list->item(r, 0)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

bool all_lines_checked(const QTableWidget *list)
{
    bool all = list->rowCount() > 0;
    for (int r = 0; all && r < list->rowCount(); ++r)
        all = list->item(r, 0)->checkState() == Qt::Checked;
    return all;
}

QString checked_row_ids(const QTableWidget *list, int id_column)
{
    QStringList ids;
    for (int r = 0; r < list->rowCount(); ++r)
        if (list->item(r, 0)->checkState() == Qt::Checked)
            ids << list->item(r, id_column)->text().trimmed();
    return ids.join(QLatin1Char(','));
}

QPushButton *make_dialog_button(QWidget *parent, const QString &text, const QString &name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setCursor(Qt::PointingHandCursor);
    b->setAutoDefault(false);
    return b;
}

LineBatchBar make_line_batch_bar(QWidget *parent,
                                 const std::function<void(LineOp)> &on_batch,
                                 const std::function<void()> &on_gaijia)
{
    LineBatchBar bar;
    bar.all = new QCheckBox(QStringLiteral("全选"), parent);
    bar.all->setObjectName(QStringLiteral("check_all"));
    const struct
    {
        const char *text;
        const char *name;
        LineOp op;
        bool gaijia;
    } batch[] = {{"退菜", "btn_tc", LineOp::Return, false},
                 {"设置为下单", "btn_xd", LineOp::Ordered, false},
                 {"设置为已出餐", "btn_cc", LineOp::Served, false},
                 {"改价", "btn_gj", LineOp::Return, true},
                 {"批量删除", "btn_del", LineOp::Delete, false}};
    for (const auto &b : batch) {
        QPushButton *btn
            = make_dialog_button(parent, QString::fromUtf8(b.text), QLatin1String(b.name));
        if (b.gaijia)
            QObject::connect(btn, &QPushButton::clicked, parent, on_gaijia);
        else
            QObject::connect(
                btn, &QPushButton::clicked, parent, [on_batch, op = b.op] { on_batch(op); });
        bar.buttons << btn;
    }
    return bar;
}
