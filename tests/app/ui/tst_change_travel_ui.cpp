// Changes written by core functions with no window involved (as a phone's order or a
// timer writes them) reach every open screen through the notifier alone.

#include "board/desk_state.h"
#include "board/transfer.h"
#include "board/ui/tform_main.h"
#include "checkout/recharge.h"
#include "checkout/settlement.h"
#include "checkout/ui/tform_cancel.h"
#include "masterdata/desk_rules.h"
#include "masterdata/dish_rules.h"
#include "masterdata/ui/tform_member.h"
#include "ordering/diancan.h"
#include "ordering/ui/dish_tile.h"
#include "ordering/ui/tform_diancan.h"
#include "reports/ui/tform_orders.h"
#include "support/fixtures.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QLabel>
#include <QTableWidget>

namespace {

// Tables 01..04; 01 open with an empty order; two dishes; one member with 10 yuan.
class Counter : public GuiProgram
{
public:
    Counter()
    {
        add_desks(*this, 4);
        exec("UPDATE lumo_desk SET stat=1,nums=2,price='0.00' WHERE id=1");
        order = open_order(*this, 1);
        exec("INSERT INTO lumo_caipin(id,title,titleen,price) VALUES(1,'宫保鸡丁','gbjd','29.8'),"
             "(2,'米饭','mf','2')");
        exec("INSERT INTO lumo_member(id,mobile,truename,balance,stat) "
             "VALUES(1,'13800000001','张三',10,0)");
        forms->main->set_board_size(QSize(1600, 1000));
        forms->main->show();
    }
    QString amount(const QString &desk) const
    {
        auto *l = forms->main->findChild<QLabel *>("desklist_groupbox_static5_" + desk);
        return l ? l->text() : QStringLiteral("(no tile)");
    }
    bool on_board(const QString &desk) const
    {
        return forms->main->findChild<QFrame *>("desklist_groupbox_" + desk) != nullptr;
    }
    static int rows(QWidget *w) { return w->findChild<QTableWidget *>()->rowCount(); }
    QVector<CartItem> cart(const QString &dish, const QString &price, const QString &qty) const
    {
        return {CartItem{dish, "菜", price, qty, "0", "", "", ""}};
    }

    QString order;
};

} // namespace

class TestChangeTravelUi : public QObject
{
    Q_OBJECT

private slots:
    void linesWrittenOutsideTheWindowsReachEveryScreen()
    {
        Counter c;
        c.forms->diancan->open_with("1", c.order);
        c.forms->cancel->open_with("1", c.order);
        c.forms->orders->open_centred();
        QCOMPARE(Counter::rows(c.forms->diancan), 0);
        QCOMPARE(Counter::rows(c.forms->cancel), 0);
        const int orders_before = c.forms->orders->list()->rowCount();

        // A submit nobody clicked: the board's tile, the ordering screen, the checkout
        // and the orders list show the lines and the amount.
        c.prompts->queue(true);
        const SubmitResult r = submit_cart(c.ctx, "1", c.cart("1", "29.8", "2"));
        QCOMPARE(r.kind, SubmitResult::Done);
        QCOMPARE(c.amount("1"), QString("桌01￥59.60"));
        QCOMPARE(Counter::rows(c.forms->diancan), 1);
        QCOMPARE(Counter::rows(c.forms->cancel), 1);
        QVERIFY(c.forms->cancel->findChild<QLabel *>("Label_allprice")->text().contains("59.6"));

        // Lines returned elsewhere: the amount follows on the board and at the checkout.
        const QString line = c.scalar("SELECT id FROM lumo_orders_detail WHERE rootid=" + c.order);
        QVERIFY(batch_lines(c.ctx, LineOp::Return, line));
        QCOMPARE(c.amount("1"), QString("桌01￥0.00"));
        QCOMPARE(c.forms->diancan->findChild<QTableWidget *>()->item(0, 7)->text(),
                 QString("已退菜"));

        // Settled elsewhere: the board frees the table, the checkout empties its bill.
        c.prompts->queue(true);
        submit_cart(c.ctx, "1", c.cart("2", "2", "3"));
        QCOMPARE(Counter::rows(c.forms->cancel), 2);
        SettleRequest s;
        s.order_id = c.order;
        s.paytype = "1";
        QVERIFY(settle_order(c.ctx, s).ok());
        QCOMPARE(c.forms->main->findChild<QLabel *>("desklist_groupbox_static4_1")->text(),
                 QString("空闲"));
        QCOMPARE(c.amount("1"), QString("桌01￥0.00"));

        // A table opened elsewhere: its new order appears in the open orders list.
        DeskStateForm open;
        open.stat = 1;
        open.nums = "3";
        c.prompts->queue(true);
        QVERIFY(save_desk_state(c.ctx, "2", open).saved);
        QCOMPARE(c.forms->main->findChild<QLabel *>("desklist_groupbox_static4_2")->text(),
                 QString("开台"));
        QCOMPARE(c.forms->orders->list()->rowCount(), orders_before + 1);
    }

    void transferAndMasterDataWrittenOutsideTheWindowsReachEveryScreen()
    {
        Counter c;
        QTest::mouseClick(c.forms->main->findChild<QFrame *>("desklist_groupbox_1"),
                          Qt::LeftButton);
        QCOMPARE(c.ctx.desk_id, QString("1"));
        c.forms->diancan->open_with("1", c.order);

        // A transfer nobody clicked: the board follows the guests, the ordering screen too.
        c.prompts->queue(true);
        QCOMPARE(transfer_desk(c.ctx, "1", "3").outcome, TransferResult::Done);
        QCOMPARE(c.ctx.desk_id, QString("3"));
        QCOMPARE(c.forms->diancan->findChild<QLabel *>("label_bh")->text(), QString("桌号：03"));

        // A table and a dish added elsewhere: a tile and a dish tile appear.
        QVERIFY(save_desk(c.ctx, {QString(), "新桌", "05", "0", QString(), "9"}).saved);
        const QString desk = c.scalar("SELECT id FROM lumo_desk WHERE bh='05'");
        QVERIFY(c.on_board(desk));
        DishForm d;
        d.name = "酸辣汤";
        d.price = "8";
        d.stock = "0";
        d.sort = "1";
        QVERIFY(save_dish(c.ctx, d).saved);
        const QString dish = c.scalar("SELECT id FROM lumo_caipin WHERE title='酸辣汤'");
        QVERIFY(c.forms->diancan->dish(dish));

        // A recharge elsewhere shows in the open members list.
        c.forms->member->open_centred();
        QVERIFY(set_vip_balance(c.ctx, "1", "1", "40"));
        const QTableWidget *members = c.forms->member->list();
        bool shown = false;
        for (int r = 0; r < members->rowCount(); ++r)
            for (int col = 0; col < members->columnCount(); ++col)
                shown
                    = shown || (members->item(r, col) && members->item(r, col)->text() == "50.00");
        QVERIFY(shown);
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestChangeTravelUi t;
    return QTest::qExec(&t, argc, argv);
}

#include "tst_change_travel_ui.moc"
