// The main window: its regions, the first showing and the notification area. The
// board lives in tform_main_board.cpp, staff access and menu entries in
// tform_main_menu.cpp.

#include "board/ui/tform_main.h"
#include "board/ui/tform_main_util.h"

#include "app/ui/box_prompts.h"

#include "app/demo_data.h"
#include "app/helpers.h"
#include "app/start_failure.h"
#include "app/startup.h"
#include "board/ui/order_line_delegate.h"
#include "ordering/ui/tform_diancan.h"
#include "store/keep_connection.h"

#include <QCoreApplication>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
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

using namespace main_ui;

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
    m_started = start(program_folder);

    m_sync_timer = new QTimer(this);
    m_sync_timer->setObjectName(QStringLiteral("Timertb"));
    connect(m_sync_timer, &QTimer::timeout, this, &TForm_main::sync_tick);
    build_regions();
    subscribe();
}

bool TForm_main::start(const QString &program_folder)
{
    // A database that cannot be used is named with what to do; the cashier tries
    // again or quits, and no window is shown that cannot work.
    for (;;) {
        try {
            start_core(ctx(), program_folder);
            break;
        } catch (const ESQLiteException &e) {
            // The next try opens the file afresh: it may have been replaced meanwhile.
            KeepConnection::reopen();
            if (!ctx().prompts().retry(start_failure_text(ctx(), e)))
                return false;
        }
    }
    if (const QString problem = config_write_problem(ctx().paths); !problem.isEmpty())
        ctx().prompts().warning(problem);
    return true;
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
    // The picture is read when the box is first shown: a remembered login never shows it.
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
