#include "ordering/ui/tform_diancan.h"
#include "ordering/ui/diancan_columns.h"

#include "app/notifier.h"
#include "app/ui/box_prompts.h"
#include "app/ui/toast.h"
#include "ordering/diancan.h"
#include "ordering/ui/dish_tile.h"
#include "ordering/ui/line_rows.h"
#include "ordering/ui/tform_caipin_zuofa.h"
#include "ordering/ui/tform_gaijia.h"
#include "staff/sign_in.h"
#include "store/keep_connection.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QTableWidget>

using namespace diancan_list;

namespace {

const QColor ClassNormal(240, 240, 240);
const QColor ClassCurrent(245, 121, 255);
const QColor ClassBorder(176, 176, 176);

constexpr int Margin = 10;
constexpr int ListTop = 77;
constexpr int StripHeight = 46;
constexpr int ClassPitch = 79;
constexpr int ClassWidth = 80;

} // namespace

TForm_diancan::TForm_diancan(Forms &forms, QWidget *parent)
    : DeskDialog(forms, parent)
{
    setWindowTitle(QStringLiteral("点餐"));
    setObjectName(QStringLiteral("TForm_diancan"));

    m_header = new QLabel(QStringLiteral("桌号："), this);
    m_header->setObjectName(QStringLiteral("label_bh"));
    QFont hf = m_header->font();
    hf.setPointSize(11);
    hf.setBold(true);
    m_header->setFont(hf);

    const LineBatchBar bar = make_line_batch_bar(
        this, [this](LineOp op) { batch_click(op); }, [this] { gaijia_click(); });
    m_all = bar.all;
    connect(m_all, &QCheckBox::clicked, this, &TForm_diancan::all_click);
    m_batch_buttons = bar.buttons;

    m_list = make_line_list(this,
                            {QStringLiteral("行号"),
                             QStringLiteral("id"),
                             QStringLiteral("菜品"),
                             QStringLiteral("做法"),
                             QStringLiteral("单价"),
                             QStringLiteral("数量"),
                             QStringLiteral("金额"),
                             QStringLiteral("状态"),
                             QStringLiteral("备注")},
                            ColId,
                            QAbstractItemView::SingleSelection);
    connect(m_list, &QTableWidget::itemChanged, this, &TForm_diancan::line_item_changed);

    const char *zuofa[][2] = {{"数量", "btn_sl"}, {"做法", "btn_zf"}, {"备注", "btn_bz"}};
    for (const auto &z : zuofa) {
        QPushButton *btn = make_dialog_button(this, QString::fromUtf8(z[0]), QLatin1String(z[1]));
        connect(btn, &QPushButton::clicked, this, &TForm_diancan::zuofa_click);
        m_zuofa_buttons << btn;
    }

    m_keyword_label = new QLabel(QStringLiteral("关键字搜索："), this);
    m_keyword = new QLineEdit(this);
    m_keyword->setObjectName(QStringLiteral("edit_keyword"));
    connect(m_keyword, &QLineEdit::textChanged, this, &TForm_diancan::restart_filter);
    m_clear = make_dialog_button(this, QStringLiteral("清空"), QStringLiteral("btn_clear"));
    connect(m_clear, &QPushButton::clicked, this, [this] {
        const QSignalBlocker quiet(m_keyword);
        m_keyword->clear();
        restart_filter();
    });
    m_search = make_dialog_button(this, QStringLiteral("搜索"), QStringLiteral("btn_search"));
    connect(m_search, &QPushButton::clicked, this, &TForm_diancan::restart_filter);
    m_search->setDefault(true);

    m_strip_area = new QScrollArea(this);
    m_strip_area->setObjectName(QStringLiteral("caipin_class_area"));
    m_strip_area->setFrameShape(QFrame::NoFrame);
    m_strip_area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_strip_area->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_strip_area->setWidgetResizable(false);

    m_dish_area = new QWidget(this);
    m_dish_area->setObjectName(QStringLiteral("caipin_area"));

    m_submit
        = make_dialog_button(this, QStringLiteral("一键批量落单"), QStringLiteral("btn_submit"));
    connect(m_submit, &QPushButton::clicked, this, &TForm_diancan::submit_click);
    m_prev = make_dialog_button(this, QStringLiteral("上一页"), QStringLiteral("btn_prev"));
    connect(m_prev, &QPushButton::clicked, this, &TForm_diancan::prev_click);
    m_next = make_dialog_button(this, QStringLiteral("下一页"), QStringLiteral("btn_next"));
    connect(m_next, &QPushButton::clicked, this, &TForm_diancan::next_click);
    subscribe();
    // What a waiter chose and did not submit is not left for whoever signs in next.
    connect(&ctx().notifier(), &ChangeNotifier::account_changed, this, [this] {
        if (!signed_in(ctx()))
            reset_tiles();
    });
}

// ---- showing and layout ----

void TForm_diancan::open_with(const QString &desk_id, const QString &order_id)
{
    hold(desk_id, order_id);
    // A visible screen gets no new showing; another table must still replace its lines.
    if (isVisible())
        prepare();
    open_centred();
    m_keyword->setFocus(Qt::OtherFocusReason);
}

void TForm_diancan::showEvent(QShowEvent *event)
{
    DeskDialog::showEvent(event);
    // Restoring a minimised screen is not a new showing.
    if (event->spontaneous())
        return;
    prepare();
    // A waiter types a search code at once.
    m_keyword->setFocus(Qt::OtherFocusReason);
}

void TForm_diancan::prepare()
{
    layout_panes();
    m_page = 1;
    m_columns = grid_columns(m_dish_rect.width());
    // Lines, header, categories and dishes read through one connection.
    const KeepConnection keep;
    guarded(ctx(), [&] {
        load_desk_ord_1();
        m_header->setText(QStringLiteral("桌号：") + read_desk_bh(ctx(), m_desk_id));
        if (!m_built) {
            load_caipin_class();
            load_caipin();
            m_built = true;
        }
        set_caipin_lat();
        reset_tiles();
    });
}

void TForm_diancan::resizeEvent(QResizeEvent *event)
{
    DeskDialog::resizeEvent(event);
    layout_panes();
    const int columns = grid_columns(m_dish_rect.width());
    if (m_built && columns != m_columns) {
        m_columns = columns;
        set_caipin_lat();
    }
}

void TForm_diancan::follow_desk_transfer(const QString &from_id, const QString &to_id)
{
    if (from_id.isEmpty() || from_id != m_desk_id)
        return;
    hold(to_id, m_order_id);
    if (!isVisible())
        return;
    guarded(ctx(), [&] {
        m_header->setText(QStringLiteral("桌号：") + read_desk_bh(ctx(), m_desk_id));
        load_desk_ord_1();
    });
}

int TForm_diancan::page_size() const
{
    return grid_page_size(
        ctx().settings.caipin_perpage, m_columns, grid_rows(m_dish_rect.height()));
}

void TForm_diancan::follow_desk_change(const QString &desk_id)
{
    if (isVisible() && !desk_id.isEmpty() && desk_id == m_desk_id)
        load_desk_ord_1();
}

void TForm_diancan::subscribe()
{
    ChangeNotifier &n = ctx().notifier();
    connect(&n, &ChangeNotifier::desk_changed, this, &TForm_diancan::follow_desk_change);
    connect(&n,
            &ChangeNotifier::lines_changed,
            this,
            [this](const QString &order, const QString &desk) {
                // The bill may be on another table by now: the order decides too.
                follow_desk_change(!order.isEmpty() && order == m_order_id ? m_desk_id : desk);
            });
    connect(&n, &ChangeNotifier::desk_transferred, this, &TForm_diancan::follow_desk_transfer);
    // The tiles are kept between showings: they follow the menu as it is saved.
    const auto reload_menu = [this] {
        guarded(ctx(), [&] {
            load_caipin_class();
            load_caipin();
        });
    };
    connect(&n, &ChangeNotifier::dishes_changed, this, reload_menu);
    connect(&n, &ChangeNotifier::database_replaced, this, reload_menu);
}

void TForm_diancan::layout_panes()
{
    const int W = width();
    const int H = height();
    const int listW = qMax(520, int(W * 0.45));

    m_header->setGeometry(Margin, Margin, listW, 24);
    int x = Margin;
    m_all->setGeometry(x, 42, 60, 28);
    x += 64;
    for (QPushButton *b : std::as_const(m_batch_buttons)) {
        const int w = text_width(b->text()) + 24;
        b->setGeometry(x, 42, w, 28);
        x += w + 6;
    }

    m_list->setGeometry(Margin, ListTop, listW, qMax(60, H - 87));
    const int fixed[ColumnCount] = {50, 0, 0, 80, 55, 45, 60, 60, 100};
    int others = 0;
    for (int c = 0; c < ColumnCount; ++c) {
        if (c != ColTitle)
            m_list->setColumnWidth(c, fixed[c]);
        others += fixed[c];
    }
    m_list->setColumnWidth(ColTitle, qMax(40, listW - others - 24));

    const int colX = Margin + listW + 6;
    for (int i = 0; i < m_zuofa_buttons.size(); ++i)
        m_zuofa_buttons[i]->setGeometry(colX, ListTop + 48 * i, 60, 40);

    const int dx = colX + 60 + Margin;
    const int dw = qMax(dish_grid::TileWidth + 12, W - dx - Margin);
    m_keyword_label->setGeometry(dx, Margin + 8, 84, 30);
    m_keyword->setGeometry(dx + 84, Margin + 8, 130, 30);
    m_clear->setGeometry(dx + 220, Margin + 8, 56, 30);
    m_search->setGeometry(dx + 282, Margin + 8, 56, 30);

    m_dish_rect = QRect(dx, 0, dw, 0);
    place_strip();

    m_submit->setGeometry(dx, H - 50, 140, 40);
    m_prev->setGeometry(dx + dw - 206, H - 50, 100, 40);
    m_next->setGeometry(dx + dw - 100, H - 50, 100, 40);
}

void TForm_diancan::place_strip()
{
    const int sx = m_search->geometry().right() + 1 + 6;
    const int sw = qMax(ClassWidth, m_dish_rect.right() + 1 - sx);
    int sh = StripHeight;
    // Many categories scroll sideways instead of running off the screen.
    if (m_strip && m_strip->width() > sw)
        sh += m_strip_area->horizontalScrollBar()->sizeHint().height();
    m_strip_area->setGeometry(sx, Margin, sw, sh);

    const int top = Margin + sh + 8;
    m_dish_rect.setTop(top);
    m_dish_rect.setHeight(qMax(dish_grid::TileHeight, height() - top - 58));
    m_dish_area->setGeometry(m_dish_rect);
}

// ---- category strip ----

void TForm_diancan::load_caipin_class()
{
    guarded(ctx(), [&] {
        const QVector<CategoryRow> rows = read_categories(ctx());

        m_class_tiles.clear();
        delete m_strip_area->takeWidget();
        m_strip = new QWidget;
        m_strip->setObjectName(QStringLiteral("caipin_class_strip"));
        m_strip->resize(ClassPitch * (int(rows.size()) + 1) + 1, StripHeight);

        QFont f;
        f.setPointSize(10);
        bool known = m_current_class.isEmpty() || m_current_class == QLatin1String("0");
        const auto add = [&](const QString &id, const QString &title, int left) {
            auto *box = new ClickFrame(m_strip);
            box->setObjectName(QStringLiteral("box_caipin_class_") + id);
            box->setProperty("value", id);
            box->setGeometry(left, 0, ClassWidth, StripHeight);
            box->setBorder(ClassBorder);
            auto *label = new QLabel(title, box);
            label->setFont(f);
            label->setAlignment(Qt::AlignCenter);
            label->setGeometry(0, 0, ClassWidth, StripHeight);
            label->setCursor(Qt::PointingHandCursor);
            connect(box, &ClickFrame::clicked, this, [this, id] { class_click(id); });
            m_class_tiles << box;
        };
        add(QStringLiteral("0"), QStringLiteral("所有菜品"), 0);
        m_class_ids = QStringLiteral("0");
        for (int n = 0; n < rows.size(); ++n) {
            add(rows[n].id, rows[n].title, ClassPitch * (n + 1));
            m_class_ids += QStringLiteral("@@@") + rows[n].id;
            known = known || rows[n].id == m_current_class;
        }
        // A category that is gone no longer filters the dishes.
        if (!known) {
            m_current_class.clear();
            m_page = 1;
        }
        const QString current = m_current_class.isEmpty() ? QStringLiteral("0") : m_current_class;
        for (ClickFrame *box : std::as_const(m_class_tiles))
            box->setColour(box->property("value").toString() == current ? ClassCurrent
                                                                        : ClassNormal);
        m_strip_area->setWidget(m_strip);
        place_strip();
        if (!known && m_built && !m_dishes.isEmpty())
            set_caipin_lat();
    });
}

void TForm_diancan::class_click(const QString &class_id)
{
    m_current_class = class_id;
    m_page = 1;
    for (ClickFrame *box : std::as_const(m_class_tiles))
        box->setColour(box->property("value").toString() == class_id ? ClassCurrent : ClassNormal);
    set_caipin_lat();
}

// ---- dish tiles ----

void TForm_diancan::load_caipin()
{
    guarded(ctx(), [&] {
        const QVector<DishRow> rows = read_dishes(ctx());

        m_dishes.clear();
        m_dish_index.clear();
        m_tile_by_id.clear();
        for (DishTile *t : std::as_const(m_page_tiles)) {
            t->hide();
            t->clearRecord();
        }

        if (m_current_class == QLatin1String("0"))
            m_current_class.clear();
        m_dishes.reserve(rows.size());
        m_dish_index.reserve(rows.size());
        for (const DishRow &d : rows) {
            TileRecord rec;
            rec.id = d.id;
            rec.cid = d.cid;
            rec.stock = d.stock;
            rec.title = d.title;
            rec.price = d.price;
            rec.titleen = d.titleen;
            m_dish_index.insert(d.id, int(m_dishes.size()));
            m_dishes.append(rec);
        }
        if (m_built)
            set_caipin_lat();
    });
}

void TForm_diancan::set_caipin_lat()
{
    const QString keyword = m_keyword->text().trimmed();
    const int perPage = page_size();

    QVector<int> matching;
    matching.reserve(m_dishes.size());
    for (int i = 0; i < m_dishes.size(); ++i) {
        if (tile_matches(m_dishes[i], keyword, m_current_class))
            matching << i;
    }
    const int n = int(matching.size());
    m_page_count = grid_page_count(n, perPage);
    if (n == 0) {
        show_page({});
        return;
    }
    const PageSpan span = grid_page_span(n, m_page, perPage);
    show_page(matching.mid(span.first, span.last - span.first));
    m_prev->setEnabled(grid_prev_enabled(m_page));
    m_next->setEnabled(grid_next_enabled(m_page, m_page_count));
}

void TForm_diancan::show_page(const QVector<int> &dishes)
{
    m_tile_by_id.clear();
    // Hide first, so the tiles that move never overlap old ones on screen.
    for (qsizetype k = dishes.size(); k < m_page_tiles.size(); ++k) {
        DishTile *t = m_page_tiles[k];
        if (!t->isHidden())
            t->hide();
        if (!t->record().id.isEmpty())
            t->clearRecord();
    }
    while (m_page_tiles.size() < dishes.size()) {
        auto *t = new DishTile(m_dish_area);
        t->hide();
        connect(t, &ClickFrame::clicked, this, [this, t] { toggle_dish(t); });
        m_page_tiles << t;
    }
    for (int k = 0; k < dishes.size(); ++k) {
        DishTile *t = m_page_tiles[k];
        const TileRecord &r = m_dishes[dishes[k]];
        if (t->record() != r)
            t->setRecord(r);
        const QPoint pos = grid_tile_position(k, m_columns);
        if (t->pos() != pos)
            t->move(pos);
        if (t->isHidden())
            t->show();
        m_tile_by_id.insert(r.id, t);
    }
}

void TForm_diancan::reset_tiles()
{
    // The methods dialog shows choices (and a table) that are cleared now: saving it
    // would put them into the next table's submit.
    if (m_forms.caipin_zuofa && m_forms.caipin_zuofa->isVisible())
        m_forms.caipin_zuofa->hide();
    for (TileRecord &r : m_dishes)
        r.resetChoices();
    for (DishTile *t : std::as_const(m_page_tiles)) {
        if (!t->record().id.isEmpty())
            t->resetChoices();
    }
}

const TileRecord *TForm_diancan::dish(const QString &dish_id) const
{
    const int i = m_dish_index.value(dish_id, -1);
    return i < 0 ? nullptr : &m_dishes[i];
}

void TForm_diancan::toggle_dish(DishTile *tile)
{
    const int i = m_dish_index.value(tile->record().id, -1);
    if (i < 0)
        return;
    TileRecord &r = m_dishes[i];
    const bool select = !r.isSelected();
    r.selected = select ? QStringLiteral("1") : QStringLiteral("0");
    tile->setSelected(select);
    if (select)
        m_current_dish = r.id;
    else
        m_current_dish.clear();
}

bool TForm_diancan::apply_choices(const QString &dish_id,
                                  const QString &quantity,
                                  const QString &zfid,
                                  const QString &zfidstr,
                                  const QString &remark)
{
    const int i = m_dish_index.value(dish_id, -1);
    if (i < 0)
        return false;
    TileRecord &r = m_dishes[i];
    r.quantity = quantity;
    r.zfid = zfid;
    r.zfidstr = zfidstr;
    r.remark = remark;
    if (DishTile *t = tile(dish_id))
        t->setChoices(quantity, zfid, zfidstr, remark);
    return true;
}

void TForm_diancan::restart_filter()
{
    m_page = 1;
    set_caipin_lat();
}

void TForm_diancan::prev_click()
{
    if (m_page > 1)
        --m_page;
    set_caipin_lat();
}

void TForm_diancan::next_click()
{
    if (m_page < m_page_count)
        ++m_page;
    set_caipin_lat();
}
