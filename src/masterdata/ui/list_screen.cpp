#include "masterdata/ui/list_screen.h"

#include "app/notifier.h"
#include "app/ui/box_prompts.h"
#include "masterdata/ui/page_bar.h"

#include <algorithm>

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QStyledItemDelegate>
#include <QTableWidget>

namespace {

constexpr int Margin = 10;
constexpr int PanelWidth = 286;
constexpr int RowHeight = 32;
constexpr int IconSize = 20;
constexpr int CellPadding = 4; // text inset on each side of a cell
const QColor FocusFill(255, 241, 197);

// The list's icons, drawn once: a blue pencil for 编辑, a red cross for 删除 and
// a green coin for any further action.
QPixmap list_icon(ListColumn::Kind kind)
{
    static QPixmap icons[4];
    QPixmap &pm = icons[kind];
    if (!pm.isNull())
        return pm;
    pm = QPixmap(IconSize, IconSize);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    switch (kind) {
    case ListColumn::EditIcon: {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(66, 139, 202));
        p.drawRoundedRect(QRectF(0, 0, IconSize, IconSize), 4, 4);
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 14), QPointF(14, 6));
        p.drawLine(QPointF(5, 15), QPointF(8, 15));
        break;
    }
    case ListColumn::DeleteIcon:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(217, 83, 79));
        p.drawRoundedRect(QRectF(0, 0, IconSize, IconSize), 4, 4);
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(6, 6), QPointF(14, 14));
        p.drawLine(QPointF(14, 6), QPointF(6, 14));
        break;
    default:
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(92, 184, 92));
        p.drawEllipse(QRectF(0, 0, IconSize, IconSize));
        p.setPen(QPen(Qt::white, 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(10, 5), QPointF(10, 15));
        p.drawLine(QPointF(5, 10), QPointF(15, 10));
        break;
    }
    return pm;
}

} // namespace

// Draws every cell: the row's fill (focus colour on the selected row), the text
// trimmed with an ellipsis on one line, or the icon, and the line under the row.
class ListRowDelegate : public QStyledItemDelegate
{
public:
    explicit ListRowDelegate(ListScreen *screen)
        : QStyledItemDelegate(screen)
        , m_screen(screen)
    {}

    void
    paint(QPainter *p, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const ListScreenConfig &cfg = m_screen->config();
        const QRect r = option.rect;
        p->save();
        p->fillRect(r, (option.state & QStyle::State_Selected) ? FocusFill : QColor(Qt::white));
        const ListColumn &col = cfg.columns[index.column()];
        if (col.kind == ListColumn::Text) {
            QFont f = option.font;
            if (cfg.row_font_size > 0)
                f.setPointSize(cfg.row_font_size);
            p->setFont(f);
            p->setPen(m_screen->row_text_colour(index.row()));
            const QRect text = r.adjusted(CellPadding, 0, -CellPadding, 0);
            const QString shown = QFontMetrics(f).elidedText(
                index.data().toString().trimmed(), Qt::ElideRight, text.width());
            p->drawText(text, int(col.align | Qt::AlignVCenter | Qt::TextSingleLine), shown);
        } else {
            const QRect cell = r.adjusted(5, 0, -5, 0);
            const QPixmap icon = list_icon(col.kind);
            const int x = col.align & Qt::AlignHCenter ? cell.center().x() - IconSize / 2 + 1
                                                       : cell.left() + 7;
            p->drawPixmap(x, r.top() + (r.height() - IconSize) / 2, icon);
        }
        p->setPen(cfg.line_colour);
        p->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        p->restore();
    }

private:
    ListScreen *m_screen;
};

ListScreen::ListScreen(Forms &forms, QWidget *parent, ListScreenConfig config)
    : MivoDialog(forms, parent)
    , m_config(std::move(config))
{
    setObjectName(m_config.object_name);
    setWindowTitle(m_config.caption);
    resize(m_config.size);
    // An open list shows what a restored file or the removed demonstration data left.
    connect(&ctx().notifier(), &ChangeNotifier::database_replaced, this, [this] {
        if (isVisible())
            guarded(ctx(), [&] { getlist(); });
    });
    const int W = m_config.size.width();
    const int H = m_config.size.height();
    const int bodyH = H - PageBar::Height - 2 * Margin;

    m_list = new QTableWidget(this);
    m_list->setObjectName(QStringLiteral("ListView1"));
    m_list->setGeometry(Margin, Margin, W - PanelWidth - 3 * Margin, bodyH);
    build_list();

    m_panel = new QGroupBox(m_config.first_panel, this);
    m_panel->setObjectName(m_config.panel_name);
    m_panel->setGeometry(W - PanelWidth - Margin, Margin, PanelWidth, bodyH);

    m_save
        = flat_button(m_panel, m_config.first_button, QStringLiteral("CnButton1"), {66, 139, 202});
    m_save->setGeometry(10, bodyH - 56, PanelWidth - 20, 40);
    connect(m_save, &QPushButton::clicked, this, [this] { guarded(ctx(), [&] { save(); }); });

    m_bar = new PageBar(this);
    m_bar->setGeometry(0, H - PageBar::Height, W, PageBar::Height);
    connect(m_bar->first(), &QPushButton::clicked, this, &ListScreen::btn_firstClick);
    connect(m_bar->pre(), &QPushButton::clicked, this, &ListScreen::btn_preClick);
    connect(m_bar->next(), &QPushButton::clicked, this, &ListScreen::btn_nextClick);
    connect(m_bar->last(), &QPushButton::clicked, this, &ListScreen::btn_lastClick);
    connect(m_bar->search(), &QPushButton::clicked, this, &ListScreen::btn_searchClick);
}

void ListScreen::build_list()
{
    const int n = int(m_config.columns.size());
    m_list->setColumnCount(n);
    QFont rowFont = m_list->font();
    if (m_config.row_font_size > 0)
        rowFont.setPointSize(m_config.row_font_size);
    const QFontMetrics rowMetrics(rowFont);
    QStringList titles;
    int fixed = 0;
    for (ListColumn &c : m_config.columns) {
        titles << c.title;
        if (c.width > 0 && !c.fits.isEmpty())
            c.width = std::max(c.width, rowMetrics.horizontalAdvance(c.fits) + 2 * CellPadding + 2);
        fixed += c.width;
    }
    m_list->setHorizontalHeaderLabels(titles);
    QHeaderView *header = m_list->horizontalHeader();
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setSectionResizeMode(QHeaderView::Fixed);
    header->setMinimumSectionSize(10);
    for (int c = 0; c < n; ++c) {
        const ListColumn &col = m_config.columns[c];
        // The name column gets what the others leave.
        m_list->setColumnWidth(c, col.width > 0 ? col.width : m_list->width() - fixed - 4);
        // The caption sits where the column's cells do.
        m_list->horizontalHeaderItem(c)->setTextAlignment(col.align | Qt::AlignVCenter);
    }
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_list->verticalHeader()->setDefaultSectionSize(RowHeight);
    m_list->setShowGrid(false);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setFocusPolicy(Qt::StrongFocus);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setItemDelegate(new ListRowDelegate(this));
    connect(m_list, &QTableWidget::cellClicked, this, &ListScreen::FlClick);
    connect(m_list, &QTableWidget::cellDoubleClicked, this, &ListScreen::ListView1DblClick);
}

void ListScreen::showEvent(QShowEvent *event)
{
    MivoDialog::showEvent(event);
    // Restoring a minimised window is not a new showing.
    if (event->spontaneous())
        return;
    guarded(ctx(), [&] { show_step(); });
}

void ListScreen::getlist()
{
    m_list->setRowCount(0);
    m_rows = read_list_page(
        ctx(), m_config.query, m_bar->keyword()->text(), m_page, m_config.page_size);
    set_page_bar(m_page, m_rows.pages, this, m_rows.records);
    fill_rows();
}

void ListScreen::fill_rows()
{
    const int n = int(m_config.columns.size());
    // One repaint for the whole page instead of one per cell.
    m_list->setUpdatesEnabled(false);
    const auto done = qScopeGuard([this] { m_list->setUpdatesEnabled(true); });
    m_list->setRowCount(int(m_rows.rows.size()));
    for (int r = 0; r < m_rows.rows.size(); ++r) {
        for (int c = 0; c < n; ++c) {
            const ListColumn &col = m_config.columns[c];
            QString text;
            if (col.kind == ListColumn::Text) {
                if (col.format)
                    text = col.format(m_rows, r);
                else if (col.field == QLatin1String("#"))
                    text = QString::number(m_rows.number(r));
                else
                    text = m_rows.cell(r, col.field);
            }
            m_list->setItem(r, c, new QTableWidgetItem(text));
        }
    }
}

QString ListScreen::row_id(int row) const
{
    return m_rows.cell(row, QStringLiteral("id"));
}

void ListScreen::seteditstat(int isedit, const QString &id)
{
    guarded(ctx(), [&] {
        if (!editor_goes_to_edit(m_editor, isedit)) {
            m_editor.editing = false;
            m_editor.edit_id.clear();
            m_panel->setTitle(m_config.add_panel);
            m_save->setText(m_config.add_button);
            set_edit(0, QString());
            return;
        }
        m_editor.editing = true;
        m_editor.edit_id = id;
        m_panel->setTitle(m_config.edit_panel);
        m_save->setText(m_config.edit_button);
        set_edit(1, id);
    });
}

void ListScreen::FlClick(int row, int column)
{
    const QString id = row_id(row);
    if (id.isEmpty() || column < 0 || column >= m_config.columns.size())
        return;
    switch (m_config.columns[column].kind) {
    case ListColumn::EditIcon:
        seteditstat(edit_click(m_editor, id), id);
        break;
    case ListColumn::DeleteIcon:
        if (ctx().prompts().confirm(QStringLiteral("确认要删除吗")))
            guarded(ctx(), [&] { mydel(id); });
        break;
    case ListColumn::ActionIcon:
        action_click(column, id);
        break;
    case ListColumn::Text:
        break;
    }
}

void ListScreen::ListView1DblClick(int row, int column)
{
    const QString id = row_id(row);
    if (id.isEmpty() || column > 1)
        return;
    seteditstat(edit_double_click(m_editor, id), id);
}

void ListScreen::action_click(int, const QString &) {}

QColor ListScreen::row_text_colour(int) const
{
    return Qt::black;
}

void ListScreen::turn_page(PageMove move)
{
    const int page = page_after(move, m_page, m_rows.pages);
    if (page == 0)
        return;
    m_page = page;
    guarded(ctx(), [&] { getlist(); });
}

void ListScreen::btn_firstClick()
{
    turn_page(PageMove::First);
}

void ListScreen::btn_preClick()
{
    turn_page(PageMove::Previous);
}

void ListScreen::btn_nextClick()
{
    turn_page(PageMove::Next);
}

void ListScreen::btn_lastClick()
{
    turn_page(PageMove::Last);
}

void ListScreen::btn_searchClick()
{
    turn_page(PageMove::Search);
}

QLineEdit *ListScreen::add_field(const QString &label, const QString &name, int y)
{
    auto *l = new QLabel(label, m_panel);
    l->setGeometry(10, y, 80, 30);
    l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    auto *e = new QLineEdit(m_panel);
    e->setObjectName(name);
    e->setGeometry(94, y, 180, 30);
    l->setBuddy(e);
    return e;
}

QPushButton *ListScreen::flat_button(QWidget *parent,
                                     const QString &text,
                                     const QString &name,
                                     const QColor &face)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    b->setCursor(Qt::PointingHandCursor);
    b->setStyleSheet(QStringLiteral("QPushButton{background:%1;color:white;border:none;}"
                                    "QPushButton:pressed{background:%2;}")
                         .arg(face.name(), face.darker(115).name()));
    return b;
}
