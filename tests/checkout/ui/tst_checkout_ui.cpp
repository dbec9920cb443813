// The checkout and the default payment dialog through real clicks on the windows.
#include "app/ini.h"
#include "app/ui/toast.h"
#include "board/ui/tform_desk_zt.h"
#include "board/ui/tform_main.h"
#include "checkout/ui/tform_cancel.h"
#include "checkout/ui/tform_defaultpay.h"
#include "ordering/ui/tform_caipin_zuofa.h"
#include "ordering/ui/tform_diancan.h"
#include "ordering/ui/tform_gaijia.h"
#include "qr_decode.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/paysim_process.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTreeWidget>

namespace {

template<class T = QWidget> T *find(QWidget *in, const QString &name)
{
    T *w = in->findChild<T *>(name);
    if (!w)
        qFatal("no widget %s", qPrintable(name));
    return w;
}

QPushButton *button(QWidget *in, const QString &text)
{
    for (QPushButton *b : in->findChildren<QPushButton *>())
        if (b->text() == text)
            return b;
    qFatal("no button %s", qPrintable(text));
    return nullptr;
}

QString text(QWidget *in, const QString &name)
{
    return find<QLabel>(in, name)->text();
}

// Puts a whole text into a field at once, as pasting does: one change.
void type(QLineEdit *e, const QString &t)
{
    e->setText(t);
}

// Tables A1 and A2, dishes 鱼 30 and 米饭 2 (discountable) and 酒 10 (not), member 李四
// (13800138000, 8.5, balance 200), the board shown.
struct Restaurant
{
    Restaurant()
    {
        p.exec("INSERT INTO lumo_desk(id,title,bh,sort) VALUES(1,'大厅一','A1',1),"
               "(2,'大厅二','A2',2)");
        p.exec("INSERT INTO lumo_caipin(id,title,titleen,price,iszk) VALUES"
               "(1,'鱼','y','30',1),(2,'酒','j','10',0),(3,'米饭','mf','2',1)");
        p.exec("INSERT INTO lumo_member(id,mobile,truename,zekou,balance) "
               "VALUES(7,'13800138000','李四',850,200)");
        main = p.forms->main;
        main->set_board_size(QSize(1600, 1000));
        main->show();
        cancel = p.forms->cancel;
    }

    // Opens the table for two guests with the table-state dialog and orders the dishes.
    void seat_and_order(int desk, const QStringList &dishes)
    {
        GuiProgram::click(find(main, "desklist_groupbox_" + QString::number(desk)));
        GuiProgram::click(find(main, "menu_label_11"));
        TForm_desk_zt *zt = p.forms->desk_zt;
        find<QLineEdit>(zt, "Edit_nums")->setText("2");
        find<QLineEdit>(zt, "Edit_fwy")->setText("小王");
        find<QRadioButton>(zt, "Radio_stat_1")->setChecked(true);
        GuiProgram::click(find(zt, "Button_save"));
        zt->hide();
        GuiProgram::click(find(main, "menu_label_41"));
        TForm_diancan *dc = p.forms->diancan;
        for (const QString &d : dishes)
            GuiProgram::click(find(dc, "box_caipin_" + d));
        p.prompts->queue(true);
        GuiProgram::click(button(dc, "一键批量落单"));
        dc->hide();
    }

    void open_checkout() { GuiProgram::click(find(main, "menu_label_42")); }
    QString toast() const { return p.forms->toast->text(); }
    QLineEdit *edit(const QString &name) const { return find<QLineEdit>(cancel, name); }
    QString shown(const QString &name) const { return text(cancel, name); }
    void settle(bool ok = true)
    {
        p.prompts->queue(ok);
        GuiProgram::click(find(cancel, "Button_settle"));
    }
    QString checked_method() const
    {
        QStringList on;
        for (QRadioButton *b : find<QGroupBox>(cancel, "paybox")->findChildren<QRadioButton *>())
            if (b->isChecked())
                on << b->objectName();
        return on.join(',');
    }

    GuiProgram p;
    TForm_main *main = nullptr;
    TForm_cancel *cancel = nullptr;
};

} // namespace

class TestCheckoutUi : public QObject
{
    Q_OBJECT

private slots:
    void noTableSelected()
    {
        Restaurant r;
        r.open_checkout();
        QCOMPARE(r.toast(), QString("请选择一个桌号"));
        QVERIFY(!r.cancel->isVisible());
    }

    // Member, deduction, a dish returned from the checkout, settled in cash; the
    // board follows, and the board's selection in between changes nothing.
    void dinnerSettledWithMemberAndDeduction()
    {
        Restaurant r;
        r.seat_and_order(1, {"1", "2", "3"});
        r.open_checkout();
        TForm_cancel *c = r.cancel;
        QVERIFY(c->isVisible());
        QCOMPARE(c->windowTitle(), QString("结账"));
        auto *list = find<QTableWidget>(c, "list_ord");
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(list->item(0, 0)->text(), QString("01"));
        QCOMPARE(list->item(1, 2)->text(), QString("酒"));
        QCOMPARE(list->item(1, 7)->text(), QString("不打折"));
        QCOMPARE(list->item(2, 7)->text(), QString("打折"));
        QCOMPARE(r.shown("Label_allprice"), QString("订单金额：42.00"));
        QCOMPARE(r.shown("Label_payprice"), QString("应付金额：42.00"));
        QCOMPARE(r.shown("Label_bh"), QString("桌位编号：A1"));
        QCOMPARE(r.shown("Label_nums"), QString("用餐人数：2"));
        QCOMPARE(r.shown("Label_fwy"), QString("服务员：小王"));
        QCOMPARE(r.checked_method(), QString("pay_radio_3"));

        // The cashier clicks A2 on the board meanwhile; the checkout stays with A1.
        GuiProgram::click(find(r.main, "desklist_groupbox_2"));
        QCOMPARE(r.p.ctx.desk_id, QString("2"));

        type(r.edit("Edit_mobile"), "1380013800");
        GuiProgram::click(find(c, "Button_search"));
        QCOMPARE(r.toast(), QString("手机号输入错误"));
        type(r.edit("Edit_mobile"), "13900139000");
        GuiProgram::click(find(c, "Button_search"));
        QCOMPARE(r.toast(), QString("查找的会员信息不存在"));
        type(r.edit("Edit_mobile"), "13800138000");
        GuiProgram::click(find(c, "Button_search"));
        QCOMPARE(r.shown("Label_member_zekou"), QString("会员折扣：8.50折"));
        QCOMPARE(r.shown("Label_member_balance"), QString("账户余额：200.0"));
        QCOMPARE(r.edit("Edit_zekou")->text(), QString("8.50"));
        // 32.00 discountable at 8.5 is 27.20, plus 10.00 of wine.
        QCOMPARE(r.shown("Label_zkprice"), QString("参与打折菜品：32.00"));
        QCOMPARE(r.shown("Label_jmprice"), QString("减免金额：-4.80"));
        QCOMPARE(r.shown("Label_payprice"), QString("应付金额：37.20"));

        type(r.edit("Edit_deduct"), "300");
        QCOMPARE(r.toast(), QString("扣除的金额超过账户余额"));
        QCOMPARE(r.edit("Edit_deduct")->text(), QString("0"));
        type(r.edit("Edit_deduct"), "-5");
        QCOMPARE(r.toast(), QString("扣除数据错误"));
        QCOMPARE(r.edit("Edit_deduct")->text(), QString("0"));
        type(r.edit("Edit_deduct"), "20");
        QCOMPARE(r.shown("Label_payprice"), QString("应付金额：17.20"));
        // A number of no member forgets the member, its discount and the deduction.
        type(r.edit("Edit_mobile"), "13900139000");
        GuiProgram::click(find(c, "Button_search"));
        QCOMPARE(r.edit("Edit_deduct")->text(), QString("0"));
        QCOMPARE(r.shown("Label_member_balance"), QString("账户余额："));
        QCOMPARE(r.shown("Label_payprice"), QString("应付金额：42.00"));
        type(r.edit("Edit_mobile"), "13800138000");
        GuiProgram::click(find(c, "Button_search"));
        type(r.edit("Edit_deduct"), "20");
        QCOMPARE(r.shown("Label_payprice"), QString("应付金额：17.20"));

        // Return the rice from the checkout list.
        list->item(2, 0)->setCheckState(Qt::Checked);
        r.p.prompts->queue(true);
        GuiProgram::click(find(c, "btn_tc"));
        QCOMPARE(r.p.prompts->confirms.last(), QString("确认要将这些菜品退掉吗"));
        QCOMPARE(r.toast(), QString("退菜成功"));
        QCOMPARE(list->rowCount(), 3);
        QCOMPARE(list->item(2, 8)->text(), QString("已退菜"));
        QCOMPARE(list->item(2, 2)->foreground().color(), QColor(153, 153, 153));
        QVERIFY(list->item(2, 4)->font().strikeOut());
        QVERIFY(!list->item(2, 6)->font().strikeOut());
        QCOMPARE(r.shown("Label_allprice"), QString("订单金额：40.00"));
        // 30.00 at 8.5 is 25.50, plus 10.00, less 20.00 from the balance.
        QCOMPARE(r.shown("Label_payprice"), QString("应付金额：15.50"));
        QCOMPARE(r.shown("Label_member_zekou"), QString("会员折扣：8.50折"));
        QCOMPARE(r.edit("Edit_deduct")->text(), QString("20"));
        // The table's stored total and its tile follow.
        QCOMPARE(text(r.main, "desklist_groupbox_static5_1"), QString("桌A1￥40.00"));

        GuiProgram::click(find(c, "pay_radio_5"));
        r.settle();
        QCOMPARE(r.p.prompts->confirms.last(), QString("确认要结算当前订单吗"));
        QCOMPARE(r.toast(), QString("结算成功"));
        QVERIFY(c->isVisible());
        QCOMPARE(r.p.scalar("SELECT iscal||'|'||paytype||'|'||price||'|'||balance||'|'||fwy||'|'||"
                            "nums FROM lumo_orders WHERE deskid=1"),
                 QString("1|5|15.5|20|小王|2"));
        QCOMPARE(r.p.scalar("SELECT balance FROM lumo_member"), QString("180.0"));
        QCOMPARE(r.p.scalar("SELECT stat FROM lumo_desk WHERE id=1"), QString("0"));
        QCOMPARE(text(r.main, "desklist_groupbox_static4_1"), QString("空闲"));
        QCOMPARE(text(r.main, "desklist_groupbox_static5_1"), QString("桌A1￥0.00"));
        // Settled takings count the balance paid, as the takings report does: 15.50 + 20.
        QCOMPARE(text(r.main, "sum_settled"), QString("35.50"));
        QCOMPARE(find<QPushButton>(r.main, "count_free")->text(), QString("空闲：2"));
        QCOMPARE(find<QPushButton>(r.main, "count_busy")->text(), QString("占用：0"));
        QVERIFY(r.p.prompts->errors.isEmpty());

        // Nothing is left to settle on this table.
        QCOMPARE(list->rowCount(), 0);
        r.settle();
        QCOMPARE(r.toast(), QString("商品无订单，无需结算"));
    }

    void balancePaysTheWholeBill()
    {
        Restaurant r;
        r.seat_and_order(1, {"1", "2"});
        r.open_checkout();
        type(r.edit("Edit_mobile"), "13800138000");
        GuiProgram::click(find(r.cancel, "Button_search"));
        type(r.edit("Edit_zekou"), "");
        type(r.edit("Edit_deduct"), "15");
        QCOMPARE(r.shown("Label_payprice"), QString("应付金额：25.00"));
        // Pressed twice: the balance pays the whole 40.00 either way.
        GuiProgram::click(find(r.cancel, "Button_usebalance"));
        QCOMPARE(r.edit("Edit_deduct")->text(), QString("40"));
        GuiProgram::click(find(r.cancel, "Button_usebalance"));
        QCOMPARE(r.edit("Edit_deduct")->text(), QString("40"));
        QCOMPARE(r.shown("Label_payprice"), QString("应付金额：0.00"));
        r.settle();
        QCOMPARE(r.toast(), QString("结算成功"));
        QCOMPARE(r.p.scalar("SELECT paytype||'|'||balance||'|'||price FROM lumo_orders"),
                 QString("9|40|0.0"));
        QCOMPARE(r.p.scalar("SELECT balance FROM lumo_member"), QString("160.0"));
    }

    void reductionAndSurcharge()
    {
        Restaurant r;
        r.seat_and_order(1, {"1", "2"});
        r.open_checkout();
        type(r.edit("Edit_jianmian"), "-5");
        QCOMPARE(r.shown("Label_jmprice"), QString("减免金额：+5.00"));
        QCOMPARE(r.shown("Label_payprice"), QString("应付金额：45.00"));
        type(r.edit("Edit_jianmian"), "41");
        QCOMPARE(r.toast(), QString("减免金额超过总订单金额"));
        // The displays keep the last amount that made sense.
        QCOMPARE(r.shown("Label_payprice"), QString("应付金额：45.00"));
        const QString before = dump(r.p, "lumo_orders") + dump(r.p, "lumo_desk");
        r.settle();
        QCOMPARE(r.toast(), QString("结算失败"));
        QCOMPARE(dump(r.p, "lumo_orders") + dump(r.p, "lumo_desk"), before);
    }

    // Another counter got there first: refused, nothing written, the dialog shows
    // the bill as it is now.
    void settledOrSpentElsewhere()
    {
        Restaurant r;
        r.seat_and_order(1, {"1", "2"});
        r.open_checkout();
        type(r.edit("Edit_mobile"), "13800138000");
        GuiProgram::click(find(r.cancel, "Button_search"));
        type(r.edit("Edit_deduct"), "30");
        r.p.exec("UPDATE lumo_member SET balance=25 WHERE id=7");
        r.settle();
        QCOMPARE(r.toast(), QString("扣除的金额超过账户余额"));
        QCOMPARE(r.p.scalar("SELECT iscal FROM lumo_orders"), QString("0"));
        QCOMPARE(r.shown("Label_member_balance"), QString("账户余额：25.0"));
        QCOMPARE(r.edit("Edit_deduct")->text(), QString("0"));

        // Settled at another counter, and the table taken by the next party.
        r.p.exec("UPDATE lumo_orders SET iscal=1,paytype=6");
        r.p.exec("INSERT INTO lumo_orders(id,title,deskid,iscal,stat) VALUES(50,'订单名称',1,0,1)");
        r.settle();
        QCOMPARE(r.toast(), QString("此订单已结算或已删除，无法结算"));
        QCOMPARE(r.p.scalar("SELECT paytype FROM lumo_orders WHERE id<>50"), QString("6"));
        QCOMPARE(r.p.scalar("SELECT stat FROM lumo_desk WHERE id=1"), QString("1"));
        QCOMPARE(r.cancel->order_id(), QString("50"));
        QCOMPARE(find<QTableWidget>(r.cancel, "list_ord")->rowCount(), 0);
        QVERIFY(r.p.prompts->errors.isEmpty());
    }

    // The batch buttons above the list: the same line rules as the ordering screen,
    // with the checkout's own question for deleting; amounts, tile and stored totals follow.
    void batchButtons_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("done");
        QTest::addColumn<QString>("stats"); // of the two lines afterwards
        QTest::addColumn<QString>("amount");
        QTest::newRow("return") << "btn_tc"
                                << "确认要将这些菜品退掉吗"
                                << "退菜成功"
                                << "8"
                                << "订单金额：10.00";
        QTest::newRow("ordered") << "btn_xd"
                                 << "确认要将这些菜品设置为下单状态吗"
                                 << "设置为下单状态成功"
                                 << "0"
                                 << "订单金额：40.00";
        QTest::newRow("served") << "btn_cc"
                                << "确认要将这些菜品设置为已出餐吗"
                                << "设置为已出餐成功"
                                << "3"
                                << "订单金额：40.00";
        QTest::newRow("delete") << "btn_del"
                                << "确定要批量删除这些订单菜品吗"
                                << "批量成功"
                                << ""
                                << "订单金额：10.00";
    }
    void batchButtons()
    {
        QFETCH(QString, button);
        QFETCH(QString, question);
        QFETCH(QString, done);
        QFETCH(QString, stats);
        QFETCH(QString, amount);
        Restaurant r;
        r.seat_and_order(1, {"1", "2"});
        r.p.exec("UPDATE lumo_orders_detail SET stat=1 WHERE caipinid=1");
        r.open_checkout();
        auto *list = find<QTableWidget>(r.cancel, "list_ord");
        auto *all = find<QCheckBox>(r.cancel, "check_all");

        const qsizetype asked = r.p.prompts->confirms.size();
        GuiProgram::click(find(r.cancel, button));
        QCOMPARE(r.toast(), QString("请至少选中一项操作"));
        QCOMPARE(r.p.prompts->confirms.size(), asked);

        // "全选" checks every row; one row unchecked unchecks "全选", checked again re-checks it.
        GuiProgram::click(all);
        const int wine = list->item(0, 2)->text() == "酒" ? 0 : 1;
        QCOMPARE(list->item(wine, 0)->checkState(), Qt::Checked);
        QCOMPARE(list->item(1 - wine, 0)->checkState(), Qt::Checked);
        list->item(wine, 0)->setCheckState(Qt::Unchecked);
        QVERIFY(!all->isChecked());
        list->item(wine, 0)->setCheckState(Qt::Checked);
        QVERIFY(all->isChecked());
        list->item(wine, 0)->setCheckState(Qt::Unchecked); // only the fish

        r.p.prompts->queue(false);
        GuiProgram::click(find(r.cancel, button));
        QCOMPARE(r.p.prompts->confirms.last(), question);
        QCOMPARE(r.p.scalar("SELECT group_concat(stat) FROM (SELECT stat FROM lumo_orders_detail "
                            "ORDER BY caipinid)"),
                 QString("1,0"));

        r.p.prompts->queue(true);
        GuiProgram::click(find(r.cancel, button));
        QCOMPARE(r.toast(), done);
        QCOMPARE(r.p.scalar("SELECT group_concat(stat) FROM lumo_orders_detail WHERE caipinid=1"),
                 stats);
        QCOMPARE(r.shown("Label_allprice"), amount);
        const QString total = amount.mid(5);
        QCOMPARE(r.p.scalar("SELECT price FROM lumo_desk WHERE id=1"), total);
        QCOMPARE(text(r.main, "desklist_groupbox_static5_1"), "桌A1￥" + total);
        QVERIFY(r.p.prompts->errors.isEmpty());
    }

    // A price changed from the checkout's own list shows in its amounts when the
    // cashier comes back to it; the member and the inputs stay.
    void priceChangeFollows()
    {
        Restaurant r;
        r.seat_and_order(1, {"1", "2"});
        r.open_checkout();
        type(r.edit("Edit_zekou"), "8");
        QCOMPARE(r.shown("Label_payprice"), QString("应付金额：34.00"));
        auto *list = find<QTableWidget>(r.cancel, "list_ord");
        list->item(0, 0)->setCheckState(Qt::Checked);
        GuiProgram::click(find(r.cancel, "btn_gj"));
        TForm_gaijia *gj = r.p.forms->gaijia;
        QVERIFY(gj->isVisible());
        const QString line = list->item(0, 1)->text();
        find<QLineEdit>(gj, "edit_1_" + line)->setText("25");
        GuiProgram::click(button(gj, "批量保存"));
        gj->hide();
        r.cancel->activateWindow();
        QTRY_COMPARE(r.shown("Label_allprice"), QString("订单金额：35.00"));
        QCOMPARE(r.shown("Label_payprice"), QString("应付金额：30.00"));
        QCOMPARE(r.edit("Edit_zekou")->text(), QString("8"));
        QCOMPARE(list->item(0, 4)->text(), QString("25.00"));
    }

    // The ordering screen and a price change left open show the bill as the checkout
    // and the ordering screen leave it, so a save does not write old quantities back.
    void openWindowsFollowTheBill()
    {
        Restaurant r;
        r.seat_and_order(1, {"1", "2"});
        GuiProgram::click(find(r.main, "menu_label_41"));
        TForm_diancan *dc = r.p.forms->diancan;
        auto *lines = find<QTableWidget>(dc, "list_ord");
        lines->item(0, 0)->setCheckState(Qt::Checked);
        GuiProgram::click(button(dc, "改价"));
        TForm_gaijia *gj = r.p.forms->gaijia;
        const QString fish = lines->item(0, 1)->text();
        QCOMPARE(find<QLineEdit>(gj, "edit_2_" + fish)->text(), QString("1"));

        // Three fish now, submitted again from the ordering screen.
        GuiProgram::click(find(dc, "box_caipin_1"));
        GuiProgram::click(button(dc, "数量"));
        find<QLineEdit>(r.p.forms->caipin_zuofa, "edit_quantity")->setText("3");
        GuiProgram::click(button(r.p.forms->caipin_zuofa, "确定设置"));
        r.p.prompts->queue(true);
        GuiProgram::click(button(dc, "一键批量落单"));
        QCOMPARE(find<QLineEdit>(gj, "edit_2_" + fish)->text(), QString("3"));
        find<QLineEdit>(gj, "edit_1_" + fish)->setText("25");
        GuiProgram::click(button(gj, "批量保存"));
        QCOMPARE(
            r.p.scalar("SELECT quantity||' '||oneprice FROM lumo_orders_detail WHERE id=" + fish),
            QString("3 25.0"));

        // The checkout returns the fish, then settles: the ordering screen follows both.
        r.open_checkout();
        auto *list = find<QTableWidget>(r.cancel, "list_ord");
        list->item(0, 0)->setCheckState(Qt::Checked);
        r.p.prompts->queue(true);
        GuiProgram::click(find(r.cancel, "btn_tc"));
        QCOMPARE(lines->item(0, 7)->text(), QString("已退菜"));
        r.settle();
        QCOMPARE(r.toast(), QString("结算成功"));
        QCOMPARE(lines->rowCount(), 0);
    }

    void onlineMethodsHandOver()
    {
        // Without the service's address nothing is sent and nothing settled.
        Restaurant r;
        r.seat_and_order(1, {"1"});
        r.open_checkout();
        GuiProgram::click(find(r.cancel, "pay_radio_1"));
        r.settle();
        QCOMPARE(r.toast(), QString("请在系统设置中设置支付服务地址"));
        QCOMPARE(r.p.scalar("SELECT iscal FROM lumo_orders"), QString("0"));
    }

    // A WeChat payment through the stand-in service: the bill is locked while its code
    // is out, and the guest's payment settles the order shown and frees the table.
    void onlinePaymentSettlesTheShownOrder()
    {
        PaySimProcess sim;
        QVERIFY(sim.started());
        Restaurant r;
        r.p.ctx.settings.payservice_url = sim.base;
        r.seat_and_order(1, {"1", "3"});
        r.open_checkout();
        GuiProgram::click(find(r.cancel, "pay_radio_1"));
        r.settle();
        QTRY_VERIFY(find(r.cancel, "qr_panel")->isVisible());
        QVERIFY(!find(r.cancel, "Button_settle")->isEnabled());
        QVERIFY(!r.edit("Edit_jianmian")->isEnabled());
        keep_screenshot(r.cancel, "checkout-qr.png");
        // The board moving on meanwhile changes nothing about which order is paid.
        GuiProgram::click(find(r.main, "desklist_groupbox_2"));

        const QJsonArray sent = sim.payments();
        QCOMPARE(sent.size(), 1);
        QCOMPARE(sent.at(0).toObject().value("price").toString(), QString("3200"));
        const int id = sent.at(0).toObject().value("id").toInt();
        QVERIFY(sim.open_link(QString("%1/pay?id=%2").arg(sim.base).arg(id)));

        QTRY_COMPARE_WITH_TIMEOUT(
            r.p.scalar("SELECT iscal||'|'||paytype||'|'||printf('%.2f',price) FROM "
                       "lumo_orders"),
            QString("1|1|32.00"),
            5000);
        QTRY_VERIFY(!r.cancel->isVisible());
        QCOMPARE(r.p.scalar("SELECT stat FROM lumo_desk WHERE id=1"), QString("0"));
        QCOMPARE(r.p.scalar("SELECT count(*) FROM lumo_orders_detail WHERE iscal=0"), QString("0"));
    }

    // What the guest paid is what is recorded: while the code is out nothing here can
    // change the bill or the member, and a bill changed elsewhere meanwhile (a dish
    // ordered on the ordering screen) is not settled for the amount the code asked.
    void onlinePaymentRecordsOnlyWhatWasPaid()
    {
        PaySimProcess sim;
        QVERIFY(sim.started());
        Restaurant r;
        r.p.ctx.settings.payservice_url = sim.base;
        r.seat_and_order(1, {"1", "3"});
        r.open_checkout();
        find<QTableWidget>(r.cancel, "list_ord")->item(0, 0)->setCheckState(Qt::Checked);
        type(r.edit("Edit_mobile"), "13800138000");
        GuiProgram::click(find(r.cancel, "pay_radio_1"));
        r.settle();
        QTRY_VERIFY(find(r.cancel, "qr_panel")->isVisible());
        for (const char *name : {"btn_tc",
                                 "btn_xd",
                                 "btn_cc",
                                 "btn_gj",
                                 "btn_del",
                                 "Button_search",
                                 "Button_usebalance"})
            QVERIFY2(!find(r.cancel, name)->isEnabled(), name);

        const QString order = r.p.scalar("SELECT id FROM lumo_orders");
        r.p.exec("INSERT INTO lumo_orders_detail(rootid,deskid,caipinid,title,oneprice,quantity,"
                 "stat) VALUES("
                 + order + ",1,2,'酒',10,1,0)");
        r.cancel->on_desk_changed("1");
        QCOMPARE(r.shown("Label_payprice"), QString("应付金额：42.00"));

        const int id = sim.payments().at(0).toObject().value("id").toInt();
        QVERIFY(sim.open_link(QString("%1/pay?id=%2").arg(sim.base).arg(id)));
        QTRY_COMPARE_WITH_TIMEOUT(r.p.prompts->warnings.size(), 1, 5000);
        QCOMPARE(r.p.scalar("SELECT iscal FROM lumo_orders"), QString("0"));
        QCOMPARE(r.p.scalar("SELECT stat FROM lumo_desk WHERE id=1"), QString("1"));
        QVERIFY(r.cancel->isVisible());
        QVERIFY(find(r.cancel, "btn_tc")->isEnabled());
    }

    void defaultPaymentTakesEffectAtNextOpening()
    {
        Restaurant r;
        r.seat_and_order(1, {"1"});
        r.open_checkout();
        QCOMPARE(r.checked_method(), QString("pay_radio_3"));

        TForm_defaultpay *d = r.p.forms->defaultpay;
        d->open_centred();
        QCOMPARE(find<QGroupBox>(d, "paybox")->title(), QString("默认支付方式设置"));
        QCOMPARE(find<QGroupBox>(d, "paybox")->geometry(), QRect(8, 8, 330, 164));
        GuiProgram::click(find(d, "pay_radio_5"));
        GuiProgram::click(button(d, "保存设置"));
        QCOMPARE(r.toast(), QString("默认支付方式设置成功"));
        QCOMPARE(IniFile(r.p.ctx.paths.ini).readString("Config", "defaultpay"), QString("5"));
        QCOMPARE(r.p.ctx.settings.defaultpay, QString("5"));
        // The checkout already open keeps its choice.
        QCOMPARE(r.checked_method(), QString("pay_radio_3"));

        r.cancel->hide();
        r.open_checkout();
        QCOMPARE(r.checked_method(), QString("pay_radio_5"));
        r.settle();
        QCOMPARE(r.toast(), QString("结算成功"));
        QCOMPARE(r.p.scalar("SELECT paytype FROM lumo_orders"), QString("5"));
    }

    void defaultOutsideTheList()
    {
        Restaurant r;
        r.seat_and_order(1, {"1"});
        r.p.ctx.settings.defaultpay = "8";
        r.open_checkout();
        QCOMPARE(r.checked_method(), QString());
        // No method chosen: the bill stays open, nothing is said.
        r.settle();
        QCOMPARE(r.p.scalar("SELECT iscal FROM lumo_orders"), QString("0"));

        TForm_defaultpay *d = r.p.forms->defaultpay;
        d->open_centred();
        GuiProgram::click(button(d, "保存设置"));
        QCOMPARE(r.toast(), QString("请选择一个支付方式"));
        QCOMPARE(IniFile(r.p.ctx.paths.ini).readString("Config", "defaultpay"), QString());
        QCOMPARE(r.p.ctx.settings.defaultpay, QString());
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestCheckoutUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_checkout_ui.moc"
