#include "reports/ui/tform_orders.h"

#include "app/notifier.h"
#include "app/ui/box_prompts.h"
#include "board/ui/tform_main.h"
#include "masterdata/ui/page_bar.h"
#include "printing/order_prints.h"
#include "printing/ui/tform_chuda.h"
#include "reports/orders_list.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace {

constexpr int Margin = 10;
constexpr int LinesWidth = 385;
constexpr int RowHeight = 32;
constexpr int PictureSize = 24;
const QColor FocusFill(255, 241, 197);
const QColor RowLine(255, 0, 0);

struct ColumnSpec
{
    const char *title;
    int width; // 0: the title column, which takes the rest
};
// In the order of TForm_orders::Column.
constexpr ColumnSpec OrderColumns[] = {{"编号", 50},
                                       {"订单名称", 0},
                                       {"订单号", 130},
                                       {"添加时间", 140},
                                       {"支付方式", 80},
                                       {"订单金额", 60},
                                       {"实际支付", 60},
                                       {"押金", 60},
                                       {"人数", 40},
                                       {"deskid", 50},
                                       {"类型", 50},
                                       {"扣除", 60},
                                       {"客打", 40},
                                       {"厨打", 40}};
constexpr ColumnSpec LineColumns[] = {{"名称", 150}, {"单价", 60}, {"数量", 40}, {"金额", 60}};

// The two pictures of the reprint columns, drawn once: a printer for the receipt,
// a cooking pot for the kitchen ticket.
QPixmap print_picture(bool kitchen)
{
    static QPixmap pictures[2];
    QPixmap &pm = pictures[kitchen ? 1 : 0];
    if (!pm.isNull())
        return pm;
    pm = QPixmap(PictureSize, PictureSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    if (!kitchen) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(66, 139, 202));
        p.drawRoundedRect(QRectF(2, 8, 20, 10), 2, 2);
        p.setBrush(Qt::white);
        p.setPen(QPen(QColor(66, 139, 202), 1.5));
        p.drawRect(QRectF(6, 3, 12, 6));
        p.drawRect(QRectF(6, 14, 12, 8));
        p.drawLine(QPointF(8, 17), QPointF(16, 17));
        p.drawLine(QPointF(8, 19.5), QPointF(14, 19.5));
    } else {
        const QColor c(240, 140, 40);
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawRoundedRect(QRectF(3, 10, 18, 11), 3, 3);
        p.drawRect(QRectF(1, 11, 22, 2));
        p.drawEllipse(QRectF(10, 5, 4, 4));
        p.setPen(QPen(c, 1.5, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(7, 3), QPointF(8, 6));
        p.drawLine(QPointF(16, 3), QPointF(17, 6));
    }
    return pm;
}

// Draws both lists: the focused row on light yellow, the others on white, texts
// on one line with an ellipsis, the pictures of the reprint columns, and a red
// line under every row.
class OrdersRowDelegate : public QStyledItemDelegate
{
public:
    OrdersRowDelegate(QObject *parent, bool pictures)
        : QStyledItemDelegate(parent)
        , m_pictures(pictures)
    {}

    void
    paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QRect r = option.rect;
        p->save();
        p->fillRect(r, (option.state & QStyle::State_Selected) ? FocusFill : QColor(Qt::white));
        const int column = index.column();
        if (m_pictures
            && (column == TForm_orders::ColReceipt || column == TForm_orders::ColKitchen)) {
            const QPixmap pm = print_picture(column == TForm_orders::ColKitchen);
            p->drawPixmap(r.left() + (r.width() - PictureSize) / 2,
                          r.top() + (r.height() - PictureSize) / 2,
                          pm);
        } else {
            p->setFont(option.font);
            p->setPen(Qt::black);
            const QRect text = r.adjusted(4, 0, -4, 0);
            const QString shown = option.fontMetrics.elidedText(
                index.data().toString().trimmed(), Qt::ElideRight, text.width());
            p->drawText(text, int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine), shown);
        }
        p->setPen(RowLine);
        p->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        p->restore();
    }

private:
    bool m_pictures;
};

void set_up_list(QTableWidget *t, const char *name, bool pictures)
{
    t->setObjectName(QLatin1String(name));
    QHeaderView *header = t->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(10);
    t->verticalHeader()->hide();
    t->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    t->verticalHeader()->setDefaultSectionSize(RowHeight);
    t->setShowGrid(false);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    t->setItemDelegate(new OrdersRowDelegate(t, pictures));
}

template<std::size_t N> void set_titles(QTableWidget *t, const ColumnSpec (&columns)[N])
{
    t->setColumnCount(int(N));
    QStringList titles;
    for (const ColumnSpec &c : columns)
        titles << QString::fromUtf8(c.title);
    t->setHorizontalHeaderLabels(titles);
}

} // namespace

TForm_orders::TForm_orders(Forms &forms, QWidget *parent)
    : MivoDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("订单"));
    setObjectName(QStringLiteral("TForm_orders"));

    m_list = new QTableWidget(this);
    m_lines = new QTableWidget(this);
    build_lists();

    m_bar = new PageBar(this);
    connect(m_bar->first(), &QPushButton::clicked, this, &TForm_orders::btn_firstClick);
    connect(m_bar->pre(), &QPushButton::clicked, this, &TForm_orders::btn_preClick);
    connect(m_bar->next(), &QPushButton::clicked, this, &TForm_orders::btn_nextClick);
    connect(m_bar->last(), &QPushButton::clicked, this, &TForm_orders::btn_lastClick);
    connect(m_bar->search(), &QPushButton::clicked, this, &TForm_orders::btn_searchClick);
    resize(1200, 640);
    // Orders are opened, changed, settled, moved and written by recharges.
    ChangeNotifier &n = ctx().notifier();
    connect(&n, &ChangeNotifier::desk_changed, this, &TForm_orders::follow_change);
    connect(&n, &ChangeNotifier::lines_changed, this, &TForm_orders::follow_change);
    connect(&n, &ChangeNotifier::member_changed, this, &TForm_orders::follow_change);
    connect(&n, &ChangeNotifier::database_replaced, this, &TForm_orders::follow_change);
}

void TForm_orders::build_lists()
{
    set_up_list(m_list, "ListView1", true);
    set_titles(m_list, OrderColumns);
    connect(m_list, &QTableWidget::cellClicked, this, &TForm_orders::FlClick);

    set_up_list(m_lines, "ListView2", false);
    set_titles(m_lines, LineColumns);
    for (int c = 0; c < int(std::size(LineColumns)); ++c)
        m_lines->setColumnWidth(c, LineColumns[c].width);
}

void TForm_orders::lay_out()
{
    const int bodyH = height() - PageBar::Height - 2 * Margin;
    // The order list takes the width the line list leaves, less 30.
    const int listW = std::max(400, width() - LinesWidth - 30);
    m_list->setGeometry(Margin, Margin, listW, bodyH);
    m_lines->setGeometry(Margin + listW + Margin, Margin, LinesWidth, bodyH);
    m_bar->setGeometry(0, height() - PageBar::Height, width(), PageBar::Height);
    int widths[ColumnCount];
    int fixed = 0;
    for (int c = 0; c < ColumnCount; ++c) {
        widths[c] = OrderColumns[c].width;
        fixed += widths[c];
    }
    // An order number has 18 digits, one made by the payment service may have more; the
    // column grows (from the title column) until every one on the page shows whole,
    // whatever the font.
    int ordidW = m_list->fontMetrics().horizontalAdvance(QString(18, QLatin1Char('0'))) + 10;
    for (int r = 0; r < m_rows.rows.size(); ++r)
        ordidW = std::max(
            ordidW, m_list->fontMetrics().horizontalAdvance(order_list_row(m_rows, r).ordid) + 10);
    if (ordidW > widths[ColOrdid]) {
        fixed += ordidW - widths[ColOrdid];
        widths[ColOrdid] = ordidW;
    }
    for (int c = 0; c < ColumnCount; ++c)
        m_list->setColumnWidth(c, widths[c] > 0 ? widths[c] : std::max(80, listW - fixed - 24));
}

void TForm_orders::resizeEvent(QResizeEvent *event)
{
    MivoDialog::resizeEvent(event);
    lay_out();
}

void TForm_orders::showEvent(QShowEvent *event)
{
    MivoDialog::showEvent(event);
    // Restoring a minimised window is not a new showing.
    if (event->spontaneous())
        return;
    // 90% of the main window's width, centred on it.
    if (QWidget *main = m_forms.main) {
        const QRect frame = main->frameGeometry();
        const int w = std::max(900, frame.width() * 9 / 10);
        const int h = std::max(560, frame.height() * 8 / 10);
        setGeometry(
            frame.x() + (frame.width() - w) / 2, frame.y() + (frame.height() - h) / 2, w, h);
    }
    guarded(ctx(), [&] {
        getlist();
        // The order chosen last time stays chosen, highlighted, while it is on the page
        // shown; otherwise a new showing lists no lines of an order nobody sees.
        if (m_list->selectedItems().isEmpty() && !m_shown.isEmpty()) {
            m_shown.clear();
            list_lines();
        }
    });
}

void TForm_orders::getlist()
{
    m_list->setRowCount(0);
    m_rows = read_orders_page(ctx(), m_bar->keyword()->text(), m_page);
    set_page_bar(m_page, m_rows.pages, this, m_rows.records);
    fill_rows();
    lay_out();
    list_lines();
    // The row of the order whose lines are listed is the one highlighted.
    m_list->clearSelection();
    for (int r = 0; r < m_rows.rows.size(); ++r)
        if (!m_shown.isEmpty() && order_list_row(m_rows, r).id == m_shown)
            m_list->selectRow(r);
}

void TForm_orders::fill_rows()
{
    m_list->setUpdatesEnabled(false);
    const auto done = qScopeGuard([this] { m_list->setUpdatesEnabled(true); });
    m_list->setRowCount(int(m_rows.rows.size()));
    for (int r = 0; r < m_rows.rows.size(); ++r) {
        const OrderListRow o = order_list_row(m_rows, r);
        const QString cells[ColumnCount] = {o.number,
                                            o.title,
                                            o.ordid,
                                            o.addtime,
                                            o.paytype,
                                            o.allprice,
                                            o.paid,
                                            o.yj,
                                            o.nums,
                                            o.deskid,
                                            o.kind,
                                            o.balance,
                                            QString(),
                                            QString()};
        for (int c = 0; c < ColumnCount; ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            // A long order number is cut in its column; the whole one shows on hover.
            item->setToolTip(cells[c]);
            m_list->setItem(r, c, item);
        }
    }
}

void TForm_orders::list_lines()
{
    m_lines->setRowCount(0);
    const QVector<ShownLine> lines = read_shown_lines(ctx(), m_shown);
    m_lines->setRowCount(int(lines.size()));
    for (int r = 0; r < lines.size(); ++r) {
        const ShownLine &l = lines[r];
        const QString cells[] = {l.title, l.oneprice, l.quantity, l.amount};
        for (int c = 0; c < int(std::size(cells)); ++c)
            m_lines->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
}

void TForm_orders::FlClick(int row, int column)
{
    if (row < 0 || row >= m_rows.rows.size())
        return;
    const OrderListRow o = order_list_row(m_rows, row);
    m_shown = o.id;
    guarded(ctx(), [&] { list_lines(); });
    if (column == ColReceipt) {
        if (!ctx().prompts().confirm(QStringLiteral("确定要打印客户小票吗")))
            return;
        guarded(ctx(),
                [&] { print_receipt(ctx(), ctx().settings.shopname, o.deskno, o.deskid, o.id); });
    } else if (column >= ColKitchen) {
        m_forms.chuda->open_with(o.deskid, o.id);
    }
}

void TForm_orders::follow_change()
{
    if (isVisible())
        guarded(ctx(), [&] { getlist(); });
}

void TForm_orders::turn_page(PageMove move)
{
    const int page = page_after(move, m_page, m_rows.pages);
    if (page == 0)
        return;
    m_page = page;
    guarded(ctx(), [&] { getlist(); });
}

void TForm_orders::btn_firstClick()
{
    turn_page(PageMove::First);
}

void TForm_orders::btn_preClick()
{
    turn_page(PageMove::Previous);
}

void TForm_orders::btn_nextClick()
{
    turn_page(PageMove::Next);
}

void TForm_orders::btn_lastClick()
{
    turn_page(PageMove::Last);
}

void TForm_orders::btn_searchClick()
{
    turn_page(PageMove::Search);
}
