// The main window's staff access and menu entries.

#include "board/ui/tform_main.h"
#include "board/ui/tform_main_util.h"

#include "app/ui/box_prompts.h"

#include "app/demo_data.h"
#include "app/helpers.h"
#include "app/start_failure.h"
#include "board/clearing.h"
#include "board/ui/tform_desk_zhuantai.h"
#include "board/ui/tform_desk_zt.h"
#include "checkout/ui/tform_cancel.h"
#include "masterdata/ui/tform_caipin.h"
#include "masterdata/ui/tform_cp_class.h"
#include "masterdata/ui/tform_desk.h"
#include "masterdata/ui/tform_desk_class.h"
#include "masterdata/ui/tform_member.h"
#include "masterdata/ui/tform_yuangong.h"
#include "ordering/diancan.h"
#include "ordering/ui/tform_diancan.h"
#include "printing/order_prints.h"
#include "printing/ui/tform_chuda.h"
#include "reports/ui/tform_orders.h"
#include "reports/ui/tform_takings.h"
#include "settings/ui/tform_backup.h"
#include "settings/ui/tform_system.h"
#include "staff/login.h"
#include "staff/menu.h"
#include "staff/ui/tform_modify.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>

using namespace main_ui;

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
    if (auto *picture = m_login_box->findChild<QLabel *>(QStringLiteral("login_picture"));
        picture && picture->pixmap().isNull())
        picture->setPixmap(QPixmap(QStringLiteral(":/icons/login.png")));
    m_login_cover->show();
    m_login_cover->raise();
    m_login_box->show();
    m_login_box->raise();
    // Typing starts with the login name.
    m_login_name->setFocus(Qt::OtherFocusReason);
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
        if (!r.remembered)
            ctx().prompts().warning(login_not_remembered_text(ctx().paths));
    });
}

void TForm_main::ClickLogout()
{
    if (!ctx().prompts().confirm(QStringLiteral("确认要退出登录吗")))
        return;
    guarded(ctx(), [&] {
        const QString who = ctx().account.username;
        if (!logout(ctx()))
            ctx().prompts().warning(logout_not_remembered_text(ctx().paths, who));
        // Nobody may sign back in with what the last person typed. The windows the last
        // person left open have gone with the sign-out (follow_account).
        m_login_name->clear();
        m_login_password->clear();
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
    case 53:
        ClickTakings();
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

QString TForm_main::open_order_of_selected() const
{
    QString order;
    guarded(ctx(), [&] { order = desk_open_order(ctx(), ctx().desk_id); });
    return order == NoOrderId ? QString() : order;
}

void TForm_main::ClickKaitai()
{
    if (need_desk())
        m_forms.desk_zt->open_with(ctx().desk_id, open_order_of_selected());
}

void TForm_main::ClickZhuantai()
{
    if (need_desk())
        m_forms.desk_zhuantai->open_with(ctx().desk_id, open_order_of_selected());
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
        m_forms.diancan->open_with(ctx().desk_id, open_order_of_selected());
    });
}

void TForm_main::ClickJiezhang()
{
    if (!need_desk())
        return;
    guarded(ctx(), [&] {
        m_forms.cancel->open_with(ctx().desk_id, get_desk_order_id(ctx(), ctx().desk_id));
    });
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

void TForm_main::ClickTakings()
{
    m_forms.takings->open_centred();
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
    // Every screen reads everything again; the board forgets a deleted current table.
    guarded(ctx(), [&] { delete_demo_data(ctx()); });
}
