#include "board/ui/tform_main.h"

#include "app/demo_data.h"
#include "ordering/diancan.h"

#include "app/helpers.h"
#include "app/startup.h"
#include "app/ui/box_prompts.h"
#include "board/clearing.h"
#include "board/ui/order_line_delegate.h"
#include "board/ui/tform_desk_zhuantai.h"
#include "board/ui/tform_desk_zt.h"
#include "checkout/ui/tform_cancel.h"
#include "masterdata/ui/tform_caipin.h"
#include "masterdata/ui/tform_cp_class.h"
#include "masterdata/ui/tform_desk.h"
#include "masterdata/ui/tform_member.h"
#include "masterdata/ui/tform_yuangong.h"
#include "ordering/ui/tform_diancan.h"
#include "printing/order_prints.h"
#include "printing/ui/tform_chuda.h"
#include "reports/ui/tform_orders.h"
#include "settings/ui/tform_system.h"
#include "staff/login.h"
#include "staff/menu.h"
#include "staff/ui/tform_modify.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QScrollArea>
#include <QShowEvent>
#include <QTimer>
#include <QTreeWidget>

#include <algorithm>
#include <climits>
#include <cmath>

// Resources of a static library have to be registered by hand.
static void init_icon_resources()
{
    Q_INIT_RESOURCE(icons);
}

namespace {

const char *DeskIdProperty = "deskid";
const char *ClassIdProperty = "classid";
const char *MenuIdProperty = "menuid";

const QString TilePrefix = QStringLiteral("desklist_groupbox_");
const QString ClassPrefix = QStringLiteral("desklist_class_groupbox_");

// Menu bar and summary bar have no border, so their inner heights are their heights.
constexpr int MenuBarHeight = 60;
constexpr int SummaryHeight = 85;

void paint(QWidget *w, const QString &colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::Window, QColor(colour));
    w->setPalette(pal);
    w->setAutoFillBackground(true);
}

QString painted(const QWidget *w)
{
    return w->palette().color(QPalette::Window).name(QColor::HexRgb).toUpper();
}

void set_text_colour(QWidget *w, const QColor &colour)
{
    QPalette pal = w->palette();
    pal.setColor(QPalette::WindowText, colour);
    w->setPalette(pal);
}

// Takes a widget off the window now and deletes it once the current event is over:
// a click may rebuild the very box it was made on.
void retire(QWidget *w)
{
    if (!w)
        return;
    w->hide();
    w->setParent(nullptr);
    w->deleteLater();
}

QLabel *make_label(QWidget *parent,
                   const QString &text,
                   const QRect &geometry,
                   const QString &name = QString())
{
    auto *l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    l->setGeometry(geometry);
    return l;
}

QPushButton *make_colour_button(QWidget *parent,
                                const QString &text,
                                const QString &colour,
                                const QString &textColour,
                                const QString &name)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setStyleSheet(QStringLiteral("QPushButton{background:%1;color:%2;border:1px solid #B0B0B0;}"
                                    "QPushButton:disabled{color:#E8E8E8;}")
                         .arg(colour, textColour));
    return b;
}

} // namespace

TForm_main::TForm_main(Forms &forms, const QString &program_folder)
    : QWidget(nullptr)
    , m_forms(forms)
{
    init_icon_resources();
    setObjectName(QStringLiteral("TForm_main"));
    setWindowTitle(QStringLiteral("Mivo餐饮管理软件"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/mivo.png")));
    // No maximise button: the window stays maximised once shown.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowCloseButtonHint);
    resize(1280, 800);
    m_started = guarded(ctx(), [&] { start_core(ctx(), program_folder); });

    m_sync_timer = new QTimer(this);
    m_sync_timer->setObjectName(QStringLiteral("Timertb"));
    connect(m_sync_timer, &QTimer::timeout, this, &TForm_main::sync_tick);
    build_regions();
}

void TForm_main::toast(const QString &text, int seconds)
{
    show_toast(m_forms, text, seconds, this);
}

void TForm_main::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        first_show();
    }
}

void TForm_main::closeEvent(QCloseEvent *event)
{
    // Closing the main window ends the program at once; every operation has
    // already written its data.
    QWidget::closeEvent(event);
    if (m_tray)
        m_tray->hide();
    QCoreApplication::quit();
}

// ---------------------------------------------------------------------------
// Regions

void TForm_main::build_regions()
{
    m_menu_box = new QFrame(this);
    m_menu_box->setObjectName(QStringLiteral("menu_box"));

    // The tile area and the area bar are created by load_desk / load_desk_class.

    m_summary = new QFrame(this);
    m_summary->setObjectName(QStringLiteral("summary_box"));
    paint(m_summary, QStringLiteral("#F7F7F7"));
    struct Figure
    {
        const char *caption;
        const char *name;
        const char *initial;
        QLabel **target;
    };
    const Figure figures[] = {
        {"消费总计：", "sum_total", "0.00", &m_sum_total},
        {"消费人数：", "sum_people", "0", &m_sum_people},
        {"已结消费：", "sum_settled", "0.00", &m_sum_settled},
        {"未结消费：", "sum_unsettled", "0.00", &m_sum_unsettled},
    };
    int x = 14;
    for (const Figure &f : figures) {
        make_label(m_summary, QString::fromUtf8(f.caption), QRect(x, 12, 75, 22));
        *f.target = make_label(m_summary,
                               QString::fromUtf8(f.initial),
                               QRect(x + 75, 12, 95, 22),
                               QString::fromLatin1(f.name));
        set_text_colour(*f.target, QColor("#C0392B"));
        x += 185;
    }
    make_label(m_summary, QStringLiteral("客位状态："), QRect(14, 48, 75, 22));
    struct Counter
    {
        const char *text;
        const char *colour;
        const char *name;
    };
    const Counter counters[] = {
        {"全部0", "#DEDEDE", "count_all"},
        {"空闲0", "#CCFFCC", "count_free"},
        {"预定0", "#CCCCCC", "count_reserved"},
        {"占用0", "#FF8888", "count_busy"},
        {"清扫0", "#FFFFCA", "count_clean"},
    };
    for (int i = 0; i < 5; ++i) {
        m_count[i] = make_colour_button(m_summary,
                                        QString::fromUtf8(counters[i].text),
                                        QString::fromLatin1(counters[i].colour),
                                        QStringLiteral("#333333"),
                                        QString::fromLatin1(counters[i].name));
        m_count[i]->setGeometry(89 + i * 82, 48, 77, 22);
        m_count[i]->setFocusPolicy(Qt::NoFocus);
    }
    m_count[4]->hide(); // never updated
    m_operator = make_label(m_summary,
                            QStringLiteral("操作人员："),
                            QRect(430, 48, 260, 22),
                            QStringLiteral("operator"));

    m_paging = new QWidget(this);
    m_paging->setObjectName(QStringLiteral("paging_box"));
    m_pre = make_colour_button(m_paging,
                               QStringLiteral("上一页"),
                               QStringLiteral("#87B87F"),
                               QStringLiteral("white"),
                               QStringLiteral("cn_pre"));
    m_pre->setGeometry(3, 0, 100, 32);
    m_next = make_colour_button(m_paging,
                                QStringLiteral("下一页"),
                                QStringLiteral("#87B87F"),
                                QStringLiteral("white"),
                                QStringLiteral("cn_next"));
    m_next->setGeometry(109, 0, 100, 32);
    connect(m_pre, &QPushButton::clicked, this, &TForm_main::cn_preClick);
    connect(m_next, &QPushButton::clicked, this, &TForm_main::cn_nextClick);

    // Order panel: header labels in two columns, a rule, the line list.
    m_order_panel = new QFrame(this);
    m_order_panel->setObjectName(QStringLiteral("order_panel"));
    paint(m_order_panel, QStringLiteral("#FFFFFF"));
    const char *headers[8] = {"桌号：",
                              "单号：",
                              "开台时间：",
                              "用餐人数：",
                              "服务人员：",
                              "预订人名：",
                              "开台押金：",
                              "订单金额："};
    const char *names[8] = {"info_bh",
                            "info_ordid",
                            "info_addtime",
                            "info_nums",
                            "info_fwy",
                            "info_ydtruename",
                            "info_yj",
                            "info_price"};
    const int tops[4] = {13, 49, 74, 97};
    for (int i = 0; i < 8; ++i)
        m_info[i] = make_label(m_order_panel,
                               QString::fromUtf8(headers[i]),
                               QRect(i % 2 ? 243 : 14, tops[i / 2], 170, 18),
                               QString::fromLatin1(names[i]));
    auto *rule = new QFrame(m_order_panel);
    rule->setGeometry(0, 36, OrderPanelWidth, 1);
    paint(rule, QStringLiteral("#D0D0D0"));

    m_order_list = new QTreeWidget(m_order_panel);
    m_order_list->setObjectName(QStringLiteral("order_list"));
    m_order_list->setColumnCount(7);
    m_order_list->setHeaderLabels({QStringLiteral("行号"),
                                   QStringLiteral("菜品名称"),
                                   QStringLiteral("做法"),
                                   QStringLiteral("单价"),
                                   QStringLiteral("数量"),
                                   QStringLiteral("金额"),
                                   QStringLiteral("状态")});
    const int widths[7] = {50, 421 - 320 - 24, 60, 50, 50, 50, 60};
    for (int i = 0; i < 7; ++i)
        m_order_list->setColumnWidth(i, widths[i]);
    m_order_list->setRootIsDecorated(false);
    m_order_list->setUniformRowHeights(true);
    m_order_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_order_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_order_list->setItemDelegate(new OrderLineDelegate(m_order_list));
    m_order_list->header()->setStretchLastSection(false);
    m_order_list->header()->setSectionsMovable(false);

    // Login box over a cover that hides the board.
    m_login_cover = new QWidget(this);
    m_login_cover->setObjectName(QStringLiteral("login_cover"));
    paint(m_login_cover, QStringLiteral("#E9EEF3"));
    m_login_box = new QFrame(this);
    m_login_box->setObjectName(QStringLiteral("login_box"));
    m_login_box->setFrameShape(QFrame::Box);
    paint(m_login_box, QStringLiteral("#FFFFFF"));
    auto *picture = new QLabel(m_login_box);
    picture->setObjectName(QStringLiteral("login_picture"));
    picture->setGeometry(50, 29, 300, 200);
    picture->setScaledContents(true);
    picture->setPixmap(QPixmap(QStringLiteral(":/icons/login.png")));
    make_label(m_login_box, QStringLiteral("登录账号："), QRect(50, 255, 80, 30));
    m_login_name = new QLineEdit(m_login_box);
    m_login_name->setObjectName(QStringLiteral("login_name"));
    m_login_name->setPlaceholderText(QStringLiteral("请输入登录账号"));
    m_login_name->setGeometry(130, 255, 220, 30);
    make_label(m_login_box, QStringLiteral("登录密码："), QRect(50, 300, 80, 30));
    m_login_password = new QLineEdit(m_login_box);
    m_login_password->setObjectName(QStringLiteral("login_password"));
    m_login_password->setEchoMode(QLineEdit::Password);
    // Typed characters show as "*", not the style's dot.
    m_login_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42;"));
    m_login_password->setPlaceholderText(QStringLiteral("请输入登录密码"));
    m_login_password->setGeometry(130, 300, 220, 30);
    auto *button = make_colour_button(m_login_box,
                                      QStringLiteral("登录"),
                                      QStringLiteral("#428BCA"),
                                      QStringLiteral("white"),
                                      QStringLiteral("login_button"));
    button->setGeometry(73, 360, 254, 45);
    connect(button, &QPushButton::clicked, this, &TForm_main::login);
    connect(m_login_name, &QLineEdit::returnPressed, this, &TForm_main::login);
    connect(m_login_password, &QLineEdit::returnPressed, this, &TForm_main::login);
    m_login_cover->hide();
    m_login_box->hide();
}

QRect TForm_main::tile_region() const
{
    return QRect(0, 96, m_cw - OrderPanelWidth, m_ch - SummaryHeight - MenuBarHeight - 34);
}

void TForm_main::place_tile_area()
{
    if (!m_desk_area)
        return;
    const QRect region = tile_region();
    m_desk_area->setGeometry(region);
    // The scroll bar stays left of the order panel, which overlaps the area's last 20 pixels.
    m_desk_scroll->setGeometry(0, 0, std::max(0, region.width() - 20), region.height());
}

void TForm_main::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The window manager maximises after the first showing; the regions that follow
    // the client size are placed again once, when its size is known.
    if (!m_shown || m_client_known || m_board_size.isValid() || !isMaximized())
        return;
    m_client_known = true;
    if (size() == QSize(m_cw, m_ch))
        return;
    m_cw = width();
    m_ch = height();
    place_tile_area();
    place_summary();
}

void TForm_main::place_order_panel()
{
    m_order_panel->setGeometry(m_w - 440, 59, OrderPanelWidth, m_h - 107);
    // The list would reach 110 pixels below the panel; it ends with the panel so its
    // last rows and scroll bar stay reachable.
    const int listHeight = std::min(m_h - 114, m_order_panel->height() - 117);
    m_order_list->setGeometry(0, 117, 421, std::max(0, listHeight));
}

void TForm_main::place_login()
{
    m_login_cover->setGeometry(0, 58, m_w, m_h - 60);
    m_login_box->setGeometry(
        int(std::ceil(m_w / 2.0)) - 200, int(std::ceil(m_h / 2.0)) - 225, 400, 450);
}

void TForm_main::place_summary()
{
    const QRect tiles = tile_region();
    m_summary->setGeometry(0, tiles.bottom() + 1 - 2, m_w - OrderPanelWidth, SummaryHeight);
    m_paging->setGeometry(m_order_panel->x() - 214, m_summary->y() + 10, 209, 32);
    restack();
}

void TForm_main::restack()
{
    // Bottom to top: tile area, area bar, summary, order panel, paging, menu bar, then
    // the login box over its cover while it is up.
    if (m_class_box)
        m_class_box->raise();
    m_summary->raise();
    m_order_panel->raise();
    m_paging->raise();
    m_menu_box->raise();
    if (!m_login_box->isHidden()) {
        m_login_cover->raise();
        m_login_box->raise();
    }
}

// ---------------------------------------------------------------------------
// First showing

void TForm_main::first_show()
{
    // 1. Maximise, record W and H; the ordering window is 90 % of each.
    QSize size = m_board_size;
    if (!size.isValid()) {
        const QRect avail = screen() ? screen()->availableGeometry() : QRect(0, 0, 1280, 800);
        size = avail.size();
        setGeometry(avail);
        setWindowState(windowState() | Qt::WindowMaximized);
    } else {
        resize(size);
    }
    m_w = size.width();
    m_h = size.height();
    m_cw = m_w;
    m_ch = m_h;
    m_per_row = ::tiles_per_row(m_w);
    if (m_forms.diancan)
        m_forms.diancan->resize(int(std::ceil(0.9 * m_w)), int(std::ceil(0.9 * m_h)));

    // 2. Order panel, login box and cover, line list.
    place_order_panel();
    place_login();

    if (m_started) {
        guarded(ctx(), [&] {
            createmenu();      // 3.
            get_tongji_info(); // 4.
            offer_demo_data(); // 5.
            load_desk();       // 6.
            load_desk_class();
            set_desk_lat();
        });
        // 7. Synchronisation with the other counters.
        // A stored interval below one second would poll the database without pause.
        if (ctx().settings.is_time_tb == 1)
            m_sync_timer->start(std::clamp(ctx().settings.time_tb, 1, INT_MAX / 1000) * 1000);
    }

    // 8. Summary bar and paging buttons.
    place_summary();

    // 9. The login box unless the signed-in account verifies.
    hide_login_box();
    if (m_started)
        guarded(ctx(), [&] { showlogin(); });
}

void TForm_main::offer_demo_data()
{
    // A new installation has nothing to show: offer tables and dishes to try.
    if (!demo_offer_due(ctx()))
        return;
    if (!ctx().prompts().confirm(QStringLiteral(
            "系统检测到，您还没有添加基础数据，是否添加体验数据，体验后体验数据可删除")))
        return;
    seed_demo_data(ctx());
    createmenu();
    load_desk();
    // The counters were filled before the offer; they must count the new tables.
    get_tongji_info();
}

// ---------------------------------------------------------------------------
// Staff access

void TForm_main::set_operator()
{
    m_operator->setText(QStringLiteral("操作人员：") + ctx().account.username);
}

void TForm_main::create_menu_box()
{
    retire(m_menu_box);
    m_menu_box = new QFrame(this);
    m_menu_box->setObjectName(QStringLiteral("menu_box"));
    m_menu_box->setGeometry(0, 0, m_w - 20, MenuBarHeight);
    paint(m_menu_box, QStringLiteral("#FAFAFA"));
    m_menu_box->show();
}

void TForm_main::createmenu()
{
    create_menu_box();
    check_local_login(ctx());
    set_operator();
    const QVector<MenuRow> rows = menu_rows(ctx());
    const int bar = m_menu_box->width();
    for (int i = 0; i < rows.size(); ++i) {
        const MenuRow &r = rows[i];
        const QString id = QString::number(r.id);
        auto *box = new QFrame(m_menu_box);
        box->setObjectName(QStringLiteral("menu_box_") + id);
        box->setGeometry(menu_entry_left(rows, i, bar), 0, 80, 70);
        box->setCursor(Qt::PointingHandCursor);

        auto *picture = new QLabel(box);
        picture->setObjectName(QStringLiteral("menu_pic_") + id);
        picture->setGeometry(24, 2, 32, 32);
        picture->setScaledContents(true);
        picture->setPixmap(
            QPixmap(QStringLiteral(":/icons/menu_%1.png").arg(r.icon, 2, 10, QChar('0'))));

        auto *label = new QLabel(r.title, box);
        label->setObjectName(QStringLiteral("menu_label_") + id);
        QFont f = label->font();
        f.setPointSize(10);
        label->setFont(f);
        label->setToolTip(r.title);
        label->move(menu_label_left(r.title), 40);
        label->adjustSize();

        for (QWidget *w : {static_cast<QWidget *>(box),
                           static_cast<QWidget *>(picture),
                           static_cast<QWidget *>(label)}) {
            w->setProperty(MenuIdProperty, r.id);
            w->installEventFilter(this);
        }
        box->show();
    }
    restack();
}

void TForm_main::show_login_box()
{
    m_login_cover->show();
    m_login_cover->raise();
    m_login_box->show();
    m_login_box->raise();
}

void TForm_main::hide_login_box()
{
    m_login_box->hide();
    m_login_cover->hide();
}

void TForm_main::showlogin()
{
    if (!check_login(ctx(), ctx().account.username, ctx().account.digest))
        show_login_box();
}

void TForm_main::login()
{
    guarded(ctx(), [&] {
        const LoginResult r = ::login(ctx(), m_login_name->text(), m_login_password->text());
        if (!r.ok) {
            toast(r.message);
            return;
        }
        set_operator();
        toast(r.message, 3);
        hide_login_box();
        createmenu();
    });
}

void TForm_main::ClickLogout()
{
    if (!ctx().prompts().confirm(QStringLiteral("确认要退出登录吗")))
        return;
    guarded(ctx(), [&] {
        logout(ctx());
        set_operator();
        toast(QStringLiteral("您已退出成功"));
        createmenu();
        show_login_box();
    });
}

// ---------------------------------------------------------------------------
// Menu entries

bool TForm_main::need_desk()
{
    if (!ctx().desk_id.isEmpty())
        return true;
    toast(QStringLiteral("请选择一个桌号"));
    return false;
}

void TForm_main::run_menu_entry(int id)
{
    switch (id) {
    case 11:
        ClickKaitai();
        break;
    case 21:
        ClickZhuantai();
        break;
    case 31:
        ClickXiaotai();
        break;
    case 41:
        ClickDiancan();
        break;
    case 42:
        ClickJiezhang();
        break;
    case 51:
        ClickPrint();
        break;
    case 54:
        ClickPrintCs();
        break;
    case 52:
        ClickOrder();
        break;
    case 61:
        ClickDesk();
        break;
    case 71:
        ClickCaipin();
        break;
    case 72:
        ClickCaipinClass();
        break;
    case 81:
        ClickHuiyuan();
        break;
    case 91:
        ClickChongzhi();
        break;
    case 101:
        ClickSetting();
        break;
    case 111:
        ClickModify();
        break;
    case 121:
        ClickLogout();
        break;
    case 114:
        ClickDeleteTest();
        break;
    default:
        break;
    }
}

void TForm_main::ClickKaitai()
{
    if (need_desk())
        m_forms.desk_zt->open_centred();
}

void TForm_main::ClickZhuantai()
{
    if (need_desk())
        m_forms.desk_zhuantai->open_centred();
}

void TForm_main::ClickXiaotai()
{
    if (!need_desk())
        return;
    if (!ctx().prompts().confirm(QStringLiteral("确认要消台吗")))
        return;
    guarded(ctx(), [&] { set_desk_stat(ctx().desk_id, QStringLiteral("0")); });
}

void TForm_main::set_desk_stat(const QString &desk_id, const QString &stat)
{
    // Clearing is the only state change made from the board itself; opening and
    // reserving go through the table-state dialog.
    if (stat != QLatin1String("0"))
        return;
    const QString message = clear_desk(ctx(), desk_id);
    toast(message);
    if (clear_desk_succeeded(message)) {
        set_desk_sub(desk_id);
        get_tongji_info();
    }
}

void TForm_main::ClickDiancan()
{
    if (!need_desk())
        return;
    guarded(ctx(), [&] {
        const QString stat = get_desk_field(ctx(), ctx().desk_id, QStringLiteral("stat"));
        if (!desk_takes_orders(stat)) {
            toast(QStringLiteral("只有开台、预订状态，才可以点餐哟！"));
            return;
        }
        m_forms.diancan->resize(int(std::ceil(0.9 * m_w)), int(std::ceil(0.9 * m_h)));
        m_forms.diancan->open_centred();
    });
}

void TForm_main::ClickJiezhang()
{
    if (!need_desk())
        return;
    m_forms.cancel->userid.clear();
    m_forms.cancel->open_centred();
}

void TForm_main::ClickPrint()
{
    if (!need_desk())
        return;
    if (!ctx().prompts().confirm(QStringLiteral("确定要打印当前订单详情吗")))
        return;
    guarded(ctx(), [&] {
        print_receipt(
            ctx(), ctx().settings.shopname, ctx().desk_bh, ctx().desk_id, QStringLiteral("0"));
    });
}

void TForm_main::ClickPrintCs()
{
    if (!need_desk())
        return;
    m_forms.chuda->open_with(ctx().desk_id, QString());
}

void TForm_main::ClickOrder()
{
    m_forms.orders->open_centred();
}

void TForm_main::ClickDesk()
{
    m_forms.desk->open_centred();
}

void TForm_main::ClickCaipin()
{
    m_forms.caipin->open_centred();
}

void TForm_main::ClickCaipinClass()
{
    m_forms.cp_class->open_centred();
}

void TForm_main::ClickHuiyuan()
{
    m_forms.member->open_centred();
}

void TForm_main::ClickChongzhi()
{
    m_forms.yuangong->open_centred();
}

void TForm_main::ClickSetting()
{
    m_forms.system->open_centred();
}

void TForm_main::apply_settings()
{
    m_page = 1;
    m_page_count = ::page_count(int(m_tile_ids.size()), ctx().settings.desk_perpage);
    set_desk_lat();
    if (ctx().settings.is_time_tb == 1)
        m_sync_timer->start(std::clamp(ctx().settings.time_tb, 1, INT_MAX / 1000) * 1000);
    else
        m_sync_timer->stop();
}

void TForm_main::ClickModify()
{
    m_forms.modify->open_centred();
}

void TForm_main::ClickDeleteTest()
{
    if (!ctx().prompts().confirm(QStringLiteral("确认要删除体验数据吗？删除体验数据后将不可恢复")))
        return;
    guarded(ctx(), [&] {
        delete_demo_data(ctx());
        createmenu();
        load_desk();
        get_tongji_info();
    });
}

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

    const QVariant desk = watched->property(DeskIdProperty);
    if (desk.isValid()) {
        ClickDesklist(desk.toString());
        return true;
    }
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
    m_records.clear();
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
    Tile t;
    auto *box = new QFrame(m_desk_content);
    t.box = box;
    box->setObjectName(TilePrefix + r.id);
    box->setGeometry(index * 170 + 6, 0, TileSize, TileSize);
    box->setCursor(Qt::PointingHandCursor);
    box->setProperty(DeskIdProperty, r.id);
    box->setProperty("desk_record", r.text());
    paint(box, desk_colour(r.stat));
    box->installEventFilter(this);

    const QRect places[5] = {QRect(10, 10, 60, 18),
                             QRect(75, 10, 80, 18),
                             QRect(10, 140, 118, 18),
                             QRect(130, 140, 30, 18),
                             QRect(5, 70, 150, 24)};
    for (int i = 0; i < 5; ++i) {
        auto *l = new QLabel(box);
        l->setObjectName(TilePrefix + QStringLiteral("static%1_").arg(i + 1) + r.id);
        l->setGeometry(places[i]);
        l->setProperty(DeskIdProperty, r.id);
        l->installEventFilter(this);
        t.label[i] = l;
    }
    t.label[1]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    QLabel *amount = t.label[4];
    amount->setAlignment(Qt::AlignCenter);
    QFont f = amount->font();
    f.setPointSize(10);
    amount->setFont(f);
    amount->setAutoFillBackground(true); // opaque, in the tile's colour
    // Decided once, when the tile is built.
    set_text_colour(amount, tile_amount_green(r.price) ? QColor("#008000") : QColor(Qt::black));
    set_tile_texts(t, r);

    m_tiles.insert(r.id, t);
    m_records.insert(r.id, r);
    m_tile_ids << r.id;
}

void TForm_main::set_tile_texts(const Tile &t, const DeskRecord &r)
{
    t.label[4]->setText(tile_amount_text(r.bh, r.price));
    t.label[0]->setText(tile_people_text(r));
    t.label[1]->setText(r.cname);
    t.label[2]->setText(format_time(r.addtime));
    t.label[3]->setText(desk_stat_name(r.stat));
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
    m_tiles.reserve(records.size());
    for (int i = 0; i < records.size(); ++i)
        make_tile(records[i], i);
    set_desk_lat();
}

void TForm_main::reload_board()
{
    remove_desk();
    load_desk();
}

void TForm_main::set_desk_lat()
{
    if (m_tile_ids.isEmpty())
        return;
    QStringList cids;
    cids.reserve(m_tile_ids.size());
    for (const QString &id : std::as_const(m_tile_ids))
        cids << m_records.value(id).cid;
    const BoardLayout l
        = layout_board(cids, m_area, m_page, ctx().settings.desk_perpage, m_per_row);
    int right = 0;
    int bottom = 0;
    for (int i = 0; i < m_tile_ids.size(); ++i) {
        QFrame *box = m_tiles.value(m_tile_ids[i]).box;
        if (!box)
            continue;
        if (!l.shown[i]) {
            box->hide();
            continue;
        }
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
    guarded(ctx(), [&] {
        const QString previous = m_last_clicked;
        m_order_list->clear();
        if (previous != desk_id) {
            if (QFrame *old = m_tiles.value(previous).box)
                paint(old, desk_colour(m_records.value(previous).stat));
        } else if (QFrame *box = m_tiles.value(desk_id).box;
                   box && painted(box) == QLatin1String(SelectedColour)) {
            // A second click on the highlighted tile deselects it.
            paint(box, desk_colour(m_records.value(desk_id).stat));
            ctx().desk_id.clear();
            ctx().desk_bh.clear();
            return;
        }
        m_last_clicked = desk_id;
        ctx().desk_id = desk_id;
        ctx().desk_bh = desk_record(ctx(), desk_id).bh;
        if (QFrame *box = m_tiles.value(desk_id).box)
            paint(box, QString::fromLatin1(SelectedColour));
        load_desk_ord();
    });
}

void TForm_main::load_desk_ord()
{
    m_order_list->clear();
    const QVector<PanelLine> lines = panel_lines(ctx(), ctx().desk_id);
    QList<QTreeWidgetItem *> items;
    items.reserve(lines.size());
    for (const PanelLine &l : lines) {
        auto *item = new QTreeWidgetItem(
            QStringList{l.no, l.title, l.zfidstr, l.oneprice, l.quantity, l.amount, l.status});
        item->setData(0, OrderLineDelegate::StatRole, l.stat);
        items << item;
    }
    m_order_list->addTopLevelItems(items);
    set_desk_info();
}

void TForm_main::set_desk_info()
{
    static const char *captions[8] = {"桌位编号：",
                                      nullptr,
                                      "开台时间：",
                                      "用餐人数：",
                                      "服务人员：",
                                      "预订人名：",
                                      "开台押金：",
                                      "订单金额："};
    if (ctx().desk_id.isEmpty()) {
        for (int i = 0; i < 8; ++i)
            if (captions[i])
                m_info[i]->setText(QString::fromUtf8(captions[i]));
        return;
    }
    const DeskInfo info = desk_info(ctx(), ctx().desk_id);
    if (!info.found)
        return;
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
    const auto it = m_tiles.constFind(r.id);
    if (it == m_tiles.constEnd() || !it->box)
        return;
    m_records.insert(r.id, r);
    it->box->setProperty("desk_record", r.text());
    set_tile_texts(*it, r);
}

void TForm_main::set_desk_price(const QString &desk_id, const QString &amount)
{
    const auto it = m_tiles.constFind(desk_id);
    if (it == m_tiles.constEnd() || !it->label[4])
        return;
    it->label[4]->setText(tile_amount_text(desk_record(ctx(), desk_id).bh, amount));
}

void TForm_main::get_tongji_info()
{
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
    for (const DeskAmount &a : load_desk_amounts(ctx())) {
        const auto it = m_tiles.constFind(a.id);
        if (it == m_tiles.constEnd() || !it->label[4])
            continue; // added at another counter: no tile here
        it->label[4]->setText(tile_amount_text(a.bh, a.price));
    }
}

void TForm_main::sync_tick()
{
    if (ctx().desk_id.isEmpty())
        guarded(ctx(), [&] { reload_desk(); });
}

// ---------------------------------------------------------------------------
// Notification area

void TForm_main::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && (windowState() & Qt::WindowMinimized)
        && QSystemTrayIcon::isSystemTrayAvailable())
        minimise_to_tray();
}

void TForm_main::minimise_to_tray()
{
    if (!m_tray) {
        m_tray = new QSystemTrayIcon(windowIcon(), this);
        m_tray->setToolTip(QStringLiteral("Mivo"));
        m_tray_menu = new QMenu(this);
        m_tray_menu->addAction(QStringLiteral("返回软件"), this, &TForm_main::N1Click);
        m_tray_menu->addAction(QStringLiteral("退出系统"), this, &TForm_main::N2Click);
        m_tray->setContextMenu(m_tray_menu); // the right button opens it
        connect(m_tray, &QSystemTrayIcon::activated, this, &TForm_main::WMBarIcon);
    }
    m_tray->show();
    // Hide once the state change is over; hiding inside it confuses some platforms.
    QTimer::singleShot(0, this, &QWidget::hide);
}

void TForm_main::WMBarIcon(QSystemTrayIcon::ActivationReason reason)
{
    if (reason == QSystemTrayIcon::Trigger)
        RestoreWindow();
}

void TForm_main::RestoreWindow()
{
    if (m_tray)
        m_tray->hide();
    setWindowState((windowState() & ~Qt::WindowMinimized)
                   | (m_board_size.isValid() ? Qt::WindowNoState : Qt::WindowMaximized));
    show();
    raise();
    activateWindow();
}

void TForm_main::N1Click()
{
    RestoreWindow();
}

void TForm_main::N2Click()
{
    RestoreWindow();
    close();
}
