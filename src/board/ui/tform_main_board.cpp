// The main window's table board, order panel and summary bar.

#include "board/ui/tform_main.h"
#include "board/ui/tform_main_util.h"

#include "app/ui/box_prompts.h"

#include "app/notifier.h"
#include "board/ui/desk_tile.h"
#include "board/ui/order_line_delegate.h"
#include "store/keep_connection.h"

#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollArea>
#include <QTreeWidget>

#include <algorithm>

using namespace main_ui;

// ---------------------------------------------------------------------------
// Clicks on run-time controls

bool TForm_main::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::MouseButtonRelease)
        return QWidget::eventFilter(watched, event);
    auto *me = static_cast<QMouseEvent *>(event);
    auto *w = qobject_cast<QWidget *>(watched);
    if (!w || me->button() != Qt::LeftButton || !w->rect().contains(me->position().toPoint()))
        return QWidget::eventFilter(watched, event);

    const QVariant area = watched->property(ClassIdProperty);
    if (area.isValid()) {
        desk_class_click(area.toString());
        return true;
    }
    const QVariant menu = watched->property(MenuIdProperty);
    if (menu.isValid()) {
        run_menu_entry(menu.toInt());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Table board

void TForm_main::remove_desk()
{
    // Every tile lives in the scroll area's content widget: retiring that one widget
    // takes them all off the window in one step.
    if (m_desk_scroll && m_desk_scroll->widget()) {
        retire(m_desk_scroll->takeWidget());
        m_desk_content = new QWidget;
        m_desk_content->setObjectName(QStringLiteral("desklist_content"));
        m_desk_scroll->setWidget(m_desk_content);
    }
    m_tiles.clear();
    m_unbuilt.clear();
    m_tile_ids.clear();
}

void TForm_main::remove_desk_class()
{
    for (const QString &id : std::as_const(m_area_ids))
        if (m_class_box)
            retire(m_class_box->findChild<QFrame *>(ClassPrefix + id));
    m_area_ids.clear();
}

void TForm_main::make_tile(const DeskRecord &r, int index)
{
    UnbuiltTile u;
    u.record = r;
    u.index = index;
    m_unbuilt.insert(r.id, u);
    m_tile_ids << r.id;
}

DeskTile *TForm_main::tile(const QString &desk_id)
{
    if (DeskTile *t = m_tiles.value(desk_id))
        return t;
    const auto it = m_unbuilt.constFind(desk_id);
    if (it == m_unbuilt.cend())
        return nullptr;
    // Built from the row it was loaded with, then given what reached it since, as if
    // it had been built at once.
    const UnbuiltTile u = *it;
    m_unbuilt.erase(it);
    auto *t = new DeskTile(m_desk_content, u.record);
    t->move(u.index * 170 + 6, 0);
    connect(t, &DeskTile::clicked, this, [this, desk_id] { ClickDesklist(desk_id); });
    m_tiles.insert(desk_id, t);
    if (u.amount_set)
        t->set_amount(u.bh, u.price);
    return t;
}

DeskTile *TForm_main::built_tile(const QString &desk_id) const
{
    return m_tiles.value(desk_id);
}

void TForm_main::set_tile_amount(const QString &desk_id, const QString &bh, const QString &price)
{
    if (DeskTile *t = built_tile(desk_id)) {
        t->set_amount(bh, price);
    } else if (const auto it = m_unbuilt.find(desk_id); it != m_unbuilt.end()) {
        it->amount_set = true;
        it->bh = bh;
        it->price = price;
    }
}

void TForm_main::load_desk()
{
    remove_desk();
    retire(m_desk_area);
    m_desk_area = nullptr;
    m_desk_area = new QWidget(this);
    m_desk_area->setObjectName(QStringLiteral("desklist_box"));
    m_desk_scroll = new QScrollArea(m_desk_area);
    m_desk_scroll->setFrameShape(QFrame::NoFrame);
    // Rows never grow wider than the tiles per row; only a long page scrolls.
    m_desk_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    place_tile_area();
    m_desk_content = new QWidget;
    m_desk_content->setObjectName(QStringLiteral("desklist_content"));
    m_desk_scroll->setWidget(m_desk_content);
    m_desk_area->lower();
    // Shown once its tiles are built: filling a hidden widget is much cheaper.
    const auto show_area = qScopeGuard([this] { m_desk_area->show(); });

    const QVector<DeskRecord> records = load_desk_records(ctx());
    m_visible_count = int(records.size());
    if (records.isEmpty()) {
        m_page_count = 1;
        set_desk_lat();
        return;
    }
    m_page_count = ::page_count(int(records.size()), ctx().settings.desk_perpage);
    m_unbuilt.reserve(records.size());
    for (int i = 0; i < records.size(); ++i)
        make_tile(records[i], i);
    set_desk_lat();
}

void TForm_main::reload_board()
{
    remove_desk();
    load_desk();
}

void TForm_main::reselect_after_rebuild(const QString &selected)
{
    if (selected.isEmpty())
        return;
    if (desk_record(ctx(), selected).exists()) {
        ClickDesklist(selected);
    } else {
        ctx().desk_id.clear();
        ctx().desk_bh.clear();
        load_desk_ord();
    }
}

void TForm_main::set_desk_lat()
{
    if (m_tile_ids.isEmpty())
        return;
    QStringList cids;
    cids.reserve(m_tile_ids.size());
    for (const QString &id : std::as_const(m_tile_ids))
        if (const DeskTile *t = built_tile(id))
            cids << t->record().cid;
        else
            cids << m_unbuilt.value(id).record.cid;
    const BoardLayout l
        = layout_board(cids, m_area, m_page, ctx().settings.desk_perpage, m_per_row);
    int right = 0;
    int bottom = 0;
    for (int i = 0; i < m_tile_ids.size(); ++i) {
        if (!l.shown[i]) {
            if (DeskTile *box = built_tile(m_tile_ids[i]))
                box->hide();
            continue;
        }
        DeskTile *box = tile(m_tile_ids[i]);
        if (!box)
            continue;
        box->move(l.positions[i]);
        box->show();
        right = std::max(right, box->geometry().right() + 1 + TileGap);
        bottom = std::max(bottom, box->geometry().bottom() + 1 + 10);
    }
    if (m_desk_content)
        m_desk_content->resize(right, bottom);
    if (!l.any_visible)
        return;
    m_visible_count = l.visible_count;
    m_page_count = l.page_count;
    m_pre->setEnabled(l.prev_enabled);
    m_next->setEnabled(l.next_enabled);
}

void TForm_main::set_desk_vis()
{
    set_desk_lat();
}

void TForm_main::load_desk_class()
{
    remove_desk_class();
    retire(m_class_box);
    m_class_box = new QFrame(this);
    m_class_box->setObjectName(QStringLiteral("desklist_class_box"));
    m_class_box->setGeometry(0, 58, m_w - 20, 49);
    paint(m_class_box, QStringLiteral("#FFFFFF"));

    auto add_box = [&](const QString &id, const QString &title, int left, const QString &colour) {
        auto *box = new QFrame(m_class_box);
        box->setObjectName(ClassPrefix + id);
        box->setGeometry(left, 2, 81, 44);
        box->setCursor(Qt::PointingHandCursor);
        box->setFrameShape(QFrame::Box);
        box->setProperty(ClassIdProperty, id);
        paint(box, colour);
        box->installEventFilter(this);
        auto *label = new QLabel(title, box);
        label->setObjectName(QStringLiteral("desklist_class_static_") + id);
        label->setGeometry(0, 15, 80, 18);
        label->setAlignment(Qt::AlignCenter);
        label->setProperty(ClassIdProperty, id);
        label->installEventFilter(this);
    };
    add_box(QStringLiteral("0"), QStringLiteral("全部"), 0, QString::fromLatin1(SelectedColour));
    m_area_ids = QStringList{QStringLiteral("0")};
    const QVector<DeskClass> classes = load_desk_classes(ctx());
    for (int k = 0; k < classes.size(); ++k) {
        add_box(classes[k].id, classes[k].title, k * 79 + 79, QString::fromLatin1(AreaColour));
        m_area_ids << classes[k].id;
    }
    m_class_box->show();
    restack();
}

void TForm_main::desk_class_click(const QString &class_id)
{
    m_area = class_id;
    m_page = 1;
    if (m_class_box) {
        for (const QString &id : std::as_const(m_area_ids))
            if (QFrame *box = m_class_box->findChild<QFrame *>(ClassPrefix + id))
                paint(box, QString::fromLatin1(id == class_id ? SelectedColour : AreaColour));
    }
    set_desk_lat();
}

void TForm_main::cn_preClick()
{
    if (m_page > 1)
        --m_page;
    set_desk_lat();
}

void TForm_main::cn_nextClick()
{
    if (m_page < m_page_count)
        ++m_page;
    set_desk_lat();
}

void TForm_main::ClickDesklist(const QString &desk_id)
{
    // The tile, the order panel and its header read through one connection.
    const KeepConnection keep(m_reads);
    guarded(ctx(), [&] {
        if (desk_id == m_last_clicked) {
            if (DeskTile *t = built_tile(desk_id); t && t->selected()) {
                // A second click on the highlighted tile deselects it; the panel's
                // header keeps its texts.
                t->set_selected(false);
                m_order_list->clear();
                ctx().desk_id.clear();
                ctx().desk_bh.clear();
                return;
            }
        }
        select_desk(desk_id);
    });
}

void TForm_main::select_desk(const QString &desk_id)
{
    // Everything is read before anything changes: a read that fails (another counter
    // holds the lock) leaves the selection, the panel and the current table as they were.
    const QString bh = desk_record(ctx(), desk_id).bh;
    const QVector<PanelLine> lines = panel_lines(ctx(), desk_id);
    const DeskInfo info = desk_info(ctx(), desk_id);
    if (DeskTile *old = built_tile(m_last_clicked))
        old->set_selected(false);
    m_last_clicked = desk_id;
    ctx().desk_id = desk_id;
    ctx().desk_bh = bh;
    if (DeskTile *t = tile(desk_id))
        t->set_selected(true);
    show_desk_ord(lines, info);
}

void TForm_main::on_desk_changed(const QString &desk_id)
{
    const KeepConnection keep(m_reads);
    guarded(ctx(), [&] {
        set_desk_sub(desk_id);
        // Unlike a plain refresh, a change takes the status colour along.
        if (DeskTile *t = tile(desk_id))
            t->show_status();
        if (!desk_id.isEmpty() && desk_id == ctx().desk_id)
            load_desk_ord();
        get_tongji_info();
    });
}

void TForm_main::on_desk_transferred(const QString &from_id, const QString &to_id)
{
    const KeepConnection keep(m_reads);
    guarded(ctx(), [&] {
        for (const QString &id : {from_id, to_id}) {
            set_desk_sub(id);
            if (DeskTile *t = tile(id))
                t->show_status();
        }
        // The guests are at the target now: the board follows them.
        select_desk(to_id);
        get_tongji_info();
    });
}

void TForm_main::load_desk_ord()
{
    const QVector<PanelLine> lines = panel_lines(ctx(), ctx().desk_id);
    show_desk_ord(lines, ctx().desk_id.isEmpty() ? DeskInfo{} : desk_info(ctx(), ctx().desk_id));
}

void TForm_main::show_desk_ord(const QVector<PanelLine> &lines, const DeskInfo &info)
{
    m_order_list->clear();
    QList<QTreeWidgetItem *> items;
    items.reserve(lines.size());
    for (const PanelLine &l : lines) {
        auto *item = new QTreeWidgetItem(
            QStringList{l.no, l.title, l.zfidstr, l.oneprice, l.quantity, l.amount, l.status});
        item->setData(0, OrderLineDelegate::StatRole, l.stat);
        items << item;
    }
    m_order_list->addTopLevelItems(items);
    show_desk_info(info);
}

void TForm_main::set_desk_info()
{
    show_desk_info(ctx().desk_id.isEmpty() ? DeskInfo{} : desk_info(ctx(), ctx().desk_id));
}

void TForm_main::show_desk_info(const DeskInfo &info)
{
    static const char *captions[8] = {"桌位编号：",
                                      nullptr,
                                      "开台时间：",
                                      "用餐人数：",
                                      "服务人员：",
                                      "预订人名：",
                                      "开台押金：",
                                      "订单金额："};
    // A table deleted at another counter shows no other table's figures either.
    if (ctx().desk_id.isEmpty() || !info.found) {
        for (int i = 0; i < 8; ++i)
            if (captions[i])
                m_info[i]->setText(QString::fromUtf8(captions[i]));
        return;
    }
    const QString values[8] = {info.bh,
                               QString(),
                               info.addtime,
                               info.nums,
                               info.fwy,
                               info.ydtruename,
                               info.yj,
                               info.price};
    for (int i = 0; i < 8; ++i)
        if (captions[i]) // "单号：" is never changed
            m_info[i]->setText(QString::fromUtf8(captions[i]) + values[i]);
}

void TForm_main::set_desk_sub(const QString &desk_id)
{
    const DeskRecord r = desk_record(ctx(), desk_id);
    if (!r.exists())
        return;
    if (DeskTile *t = tile(r.id))
        t->set_record(r);
}

void TForm_main::set_desk_price(const QString &desk_id, const QString &amount)
{
    set_tile_amount(desk_id, desk_record(ctx(), desk_id).bh, amount);
}

void TForm_main::get_tongji_info()
{
    const KeepConnection keep(m_reads);
    const BoardSummary s = board_summary(ctx());
    m_sum_total->setText(s.total);
    m_sum_people->setText(s.people);
    m_sum_settled->setText(s.settled);
    m_sum_unsettled->setText(s.unsettled);
    m_count[0]->setText(s.all);
    m_count[1]->setText(s.free);
    m_count[2]->setText(s.reserved);
    m_count[3]->setText(s.busy);
}

void TForm_main::reload_desk()
{
    // One added at another counter has no tile here.
    for (const DeskAmount &a : load_desk_amounts(ctx()))
        set_tile_amount(a.id, a.bh, a.price);
}

void TForm_main::sync_tick()
{
    if (!ctx().desk_id.isEmpty())
        return;
    const KeepConnection keep(m_reads);
    try {
        reload_desk();
        m_sync_failed = false;
    } catch (const ESQLiteException &e) {
        if (!m_sync_failed)
            ctx().prompts().error(store_failure_text(e));
        m_sync_failed = true;
    }
}

void TForm_main::subscribe()
{
    ChangeNotifier &n = ctx().notifier();
    connect(&n, &ChangeNotifier::desk_changed, this, &TForm_main::on_desk_changed);
    connect(&n, &ChangeNotifier::desk_transferred, this, &TForm_main::on_desk_transferred);
    // A table's amount follows its lines.
    connect(&n, &ChangeNotifier::lines_changed, this, [this](const QString &, const QString &desk) {
        on_desk_changed(desk);
    });
    connect(&n, &ChangeNotifier::areas_changed, this, &TForm_main::follow_areas);
    connect(&n, &ChangeNotifier::settings_changed, this, &TForm_main::apply_settings);
    connect(&n, &ChangeNotifier::database_replaced, this, &TForm_main::follow_database);
}

void TForm_main::follow_areas()
{
    if (!board_built())
        return;
    const KeepConnection keep(m_reads);
    guarded(ctx(), [&] {
        const QString selected = ctx().desk_id;
        const QString area = m_area;
        reload_board();
        get_tongji_info();
        reselect_after_rebuild(selected);
        load_desk_class();
        // A deleted area no longer filters the board.
        bool known = area.isEmpty() || area == QLatin1String("0");
        for (const DeskClass &c : load_desk_classes(ctx()))
            known = known || c.id == area;
        desk_class_click(known && !area.isEmpty() ? area : QStringLiteral("0"));
    });
}

void TForm_main::follow_database()
{
    if (!board_built())
        return;
    const KeepConnection keep(m_reads);
    guarded(ctx(), [&] {
        const QString selected = ctx().desk_id;
        createmenu();
        load_desk_class();
        reload_board();
        get_tongji_info();
        // The selected table may be gone with the old file or the demonstration data.
        reselect_after_rebuild(selected);
        load_desk_ord();
    });
}
