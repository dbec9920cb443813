// Signing out at the counter closes whatever the last person left open: the money
// windows with their QR payments, the ordering screen with its choices, the lists.

#include "app/helpers.h"
#include "app/ui/toast.h"
#include "board/ui/tform_desk_zhuantai.h"
#include "board/ui/tform_desk_zt.h"
#include "board/ui/tform_main.h"
#include "checkout/ui/qr_panel.h"
#include "checkout/ui/tform_cancel.h"
#include "checkout/ui/tform_chongzhi.h"
#include "masterdata/ui/tform_member.h"
#include "masterdata/ui/tform_yuangong.h"
#include "ordering/dish_grid.h"
#include "ordering/ui/tform_diancan.h"
#include "ordering/ui/tform_gaijia.h"
#include "printing/ui/tform_chuda.h"
#include "reports/ui/tform_orders.h"
#include "support/fixtures.h"
#include "support/paysim_process.h"
#include "support/ui/guikit.h"

#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

template<class T = QWidget> T *find(QWidget *in, const QString &name)
{
    T *w = in->findChild<T *>(name);
    if (!w)
        qFatal("no widget %s", qPrintable(name));
    return w;
}

// Tables 1 and 2 (1 open with a bill of 鱼 30), member 7, a waiter account, the board
// shown and the payment service running.
struct Counter
{
    Counter()
    {
        add_desks(p, 2);
        p.exec("UPDATE lumo_desk SET stat=1,nums=2 WHERE id=1");
        order = open_order(p, 1);
        add_line(p, order, "鱼", "30", "1");
        p.exec("INSERT INTO lumo_caipin(id,title,titleen,price,iszk) VALUES(1,'鱼','y','30',1)");
        p.exec("INSERT INTO lumo_member(id,mobile,truename,balance) "
               "VALUES(7,'13800138000','李四',200)");
        p.exec(QStringLiteral("INSERT INTO lumo_admin(id,username,rndstr,encmd5,truename,tid) "
                              "VALUES(2,'xiaoli','abcdefghij','%1','小李',1)")
                   .arg(pass_digest("secret1", "abcdefghij")));
        p.ctx.settings.payservice_url = sim.base;
        main = p.forms->main;
        main->set_board_size(QSize(1600, 1000));
        main->show();
        GuiProgram::click(find(main, "desklist_groupbox_1"));
    }
    void menu(int id) { GuiProgram::click(find(main, QStringLiteral("menu_label_%1").arg(id))); }
    QString everything() const
    {
        QStringList out;
        for (const char *t : {"lumo_desk", "lumo_orders", "lumo_orders_detail", "lumo_member"})
            out << dump(p, QString::fromLatin1(t));
        return out.join("\n--\n");
    }
    QStringList shown_windows() const
    {
        QStringList out;
        for (QWidget *w : main->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            if (w->isWindow() && w->isVisible() && w->windowType() != Qt::ToolTip)
                out << w->objectName() + "/" + w->windowTitle();
        return out;
    }

    PaySimProcess sim;
    GuiProgram p;
    QString order;
    TForm_main *main = nullptr;
};

} // namespace

class TestSignOutUi : public QObject
{
    Q_OBJECT

private slots:
    void signingOutClosesEveryWindowAndGivesUpThePayments()
    {
        Counter c;
        QVERIFY(c.sim.started());

        // A QR payment waiting in the checkout.
        c.menu(42);
        TForm_cancel *cancel = c.p.forms->cancel;
        GuiProgram::click(find(cancel, "pay_radio_1"));
        c.p.prompts->queue(true);
        GuiProgram::click(find(cancel, "Button_settle"));
        QTRY_VERIFY(find(cancel, "qr_panel")->isVisible());

        // And one in the recharge dialog.
        TForm_chongzhi *recharge = c.p.forms->chongzhi;
        recharge->open_with("7");
        find<QLineEdit>(recharge, "edit_amount")->setText("50");
        GuiProgram::click(find(recharge, "pay_radio_2"));
        GuiProgram::click(find(recharge, "btn_submit"));
        QTRY_VERIFY(recharge->qrPanel()->isVisible());

        // A dish chosen on the ordering screen and not submitted.
        c.menu(41);
        TForm_diancan *diancan = c.p.forms->diancan;
        GuiProgram::click(find(diancan, "box_caipin_1"));
        QVERIFY(diancan->dish("1")->isSelected());

        c.p.forms->gaijia->open_with("1", c.order, c.p.scalar("SELECT id FROM lumo_orders_detail"));
        c.menu(54); // 厨打
        c.menu(52); // 订单
        c.menu(11); // 桌位状态
        c.p.forms->desk_zhuantai->open_with("1", c.order);
        c.menu(81); // 会员管理
        c.menu(91); // 员工设置, a new account half typed
        TForm_yuangong *staff = c.p.forms->yuangong;
        find<QLineEdit>(staff, "LabeledEdit2")->setText("newcook");
        find<QLineEdit>(staff, "LabeledEdit3")->setText("cook123");
        for (QWidget *w : std::initializer_list<QWidget *>{cancel,
                                                           recharge,
                                                           diancan,
                                                           c.p.forms->gaijia,
                                                           c.p.forms->chuda,
                                                           c.p.forms->orders,
                                                           c.p.forms->desk_zt,
                                                           c.p.forms->desk_zhuantai,
                                                           c.p.forms->member,
                                                           staff})
            QVERIFY2(w->isVisible(), qPrintable(w->windowTitle()));
        const QString before = c.everything();
        const QJsonArray payments = c.sim.payments();
        QCOMPARE(payments.size(), 2);

        c.menu(121);
        QVERIFY(!find(c.main, "login_box")->isHidden());
        QCOMPARE(c.shown_windows(), QStringList());
        QVERIFY(!cancel->findChild<QrPanel *>()->payment().polling());
        QVERIFY(!recharge->qrPanel()->payment().polling());
        QVERIFY(!diancan->dish("1")->isSelected());
        QCOMPARE(find<QLineEdit>(staff, "LabeledEdit2")->text(), QString());
        QCOMPARE(find<QLineEdit>(staff, "LabeledEdit3")->text(), QString());

        // The guests pay afterwards: nothing is settled or credited for nobody.
        for (const QJsonValue &pay : payments)
            QVERIFY(c.sim.open_link(QStringLiteral("%1/pay?id=%2")
                                        .arg(c.sim.base)
                                        .arg(pay.toObject().value("id").toInt())));
        QTest::qWait(3500); // longer than a first check and a repeat
        QCOMPARE(c.everything(), before);
        QCOMPARE(c.p.prompts->infos, QStringList());

        // A waiter signs in next: the administrator's screens stay shut to the role.
        find<QLineEdit>(c.main, "login_name")->setText("xiaoli");
        find<QLineEdit>(c.main, "login_password")->setText("secret1");
        GuiProgram::click(find(c.main, "login_button"));
        QCOMPARE(c.p.ctx.account.role, 1);
        QCOMPARE(c.shown_windows(), QStringList());
        staff->open_centred();
        c.p.forms->member->open_centred();
        QCOMPARE(c.shown_windows(), QStringList());
        QCOMPARE(c.p.forms->toast->text(), AdminOnlyText);
        QCOMPARE(find<QLineEdit>(staff, "LabeledEdit2")->text(), QString());
    }

    void anAccountThatStopsVerifyingClosesTheWindowsToo()
    {
        Counter c;
        c.menu(42);
        c.menu(91);
        QVERIFY(c.p.forms->cancel->isVisible());
        // The password changed at another counter: the next menu build drops the account.
        c.p.exec(QStringLiteral("UPDATE lumo_admin SET encmd5='%1' WHERE id=1")
                     .arg(pass_digest("another", "x")));
        c.main->createmenu();
        QCOMPARE(c.p.ctx.account.uid, qint64(0));
        QCOMPARE(c.shown_windows(), QStringList());
    }
};

QTEST_MAIN(TestSignOutUi)
#include "tst_sign_out_ui.moc"
