#include "app/notifier.h"
#include "app/ui/box_prompts.h"
#include "board/ui/tform_main.h"
#include "checkout/ui/tform_cancel.h"
#include "masterdata/ui/page_bar.h"
#include "printing/recording_device.h"
#include "printing/ui/tform_chuda.h"
#include "reports/orders_fixture.h"
#include "reports/ui/tform_orders.h"
#include "support/fixtures.h"
#include "support/ui/guikit.h"
#include "support/ui/print_counter.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace {

// The board with tables 01 and 02, a recording printer, and the orders list
// reached through its menu entry.
class Counter : public PrintCounter<>
{
public:
    Counter()
        : PrintCounter(2)
    {
        show_board();
    }
    TForm_orders *orders() const { return forms->orders; }
    TForm_chuda *chuda() const { return forms->chuda; }
    QTableWidget *list() const { return orders()->list(); }

    void open() const
    {
        menu(52);
        QVERIFY(orders()->isVisible());
    }
    void press(const char *name) const
    {
        click(orders()->findChild<QPushButton *>(QLatin1String(name)));
    }
    void search(const QString &keyword) const
    {
        auto *edit = orders()->findChild<QLineEdit *>("lab_keyword");
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, keyword);
        press("btn_search");
    }
    void clickCell(int row, int column) const
    {
        QTableWidget *t = list();
        QVERIFY2(row < t->rowCount(), "no such row");
        t->scrollToItem(t->item(row, column));
        const QRect r = t->visualItemRect(t->item(row, column));
        QTest::mouseClick(t->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
    }
    QString cell(int row, int column) const { return list()->item(row, column)->text(); }
    QString column(int c) const
    {
        QStringList out;
        for (int r = 0; r < list()->rowCount(); ++r)
            out << cell(r, c);
        return out.join(',');
    }
    QString label(const char *name) const
    {
        return orders()->findChild<QLabel *>(QLatin1String(name))->text();
    }
    // The four paging buttons: 1 enabled, 0 disabled.
    QString pagingButtons() const
    {
        QString out;
        for (const char *n : {"btn_first", "btn_pre", "btn_next", "btn_last"})
            out += orders()->findChild<QPushButton *>(QLatin1String(n))->isEnabled() ? '1' : '0';
        return out;
    }
    QStringList lines() const
    {
        QTableWidget *t = orders()->lines();
        QStringList out;
        for (int r = 0; r < t->rowCount(); ++r) {
            QStringList cells;
            for (int c = 0; c < t->columnCount(); ++c)
                cells << t->item(r, c)->text();
            out << cells.join('|');
        }
        return out;
    }
    // A settled dinner at table 01 and the open order now at the same table.
    void pastAndOpenOrder()
    {
        OrderSpec o;
        o.ordid = "PAST";
        o.deskid = 1;
        o.iscal = 1;
        o.stat = 1;
        o.paytype = 5;
        o.allprice = o.price = 37;
        past = add_order(*this, o);
        add_line(*this, past, "宫保鸡丁", "18.5", "2", "0", "37");
        now = open_order(*this, 1);
        add_line(*this, now, "可乐", "5", "1");
    }

    QString past, now;
};

} // namespace

class TestOrdersUi : public QObject
{
    Q_OBJECT
private slots:
    void pagingThroughTheBar()
    {
        Counter c;
        add_orders(c, 45);
        c.open();
        QCOMPARE(c.list()->rowCount(), 20);
        QCOMPARE(c.cell(0, TForm_orders::ColTitle), QString("第45单"));
        QCOMPARE(c.label("page_nums"), QString("共有45条符合条件的记录"));
        QCOMPARE(c.label("page_page"), QString("当前1页/共3页"));
        QCOMPARE(c.pagingButtons(), QString("0011"));

        c.press("btn_last");
        QCOMPARE(c.column(TForm_orders::ColNumber), QString("41,42,43,44,45"));
        QCOMPARE(c.column(TForm_orders::ColTitle), QString("第5单,第4单,第3单,第2单,第1单"));
        QCOMPARE(c.label("page_page"), QString("当前3页/共3页"));
        QCOMPARE(c.pagingButtons(), QString("1100"));
        c.press("btn_pre");
        QCOMPARE(c.cell(0, TForm_orders::ColNumber), QString("21"));
        QCOMPARE(c.pagingButtons(), QString("1111"));
        c.press("btn_next");
        QCOMPARE(c.orders()->current_page(), 3);

        // Closing and opening again keeps the page, and shows what was added meanwhile.
        c.orders()->hide();
        add_orders(c, 1);
        c.open();
        QCOMPARE(c.label("page_page"), QString("当前3页/共3页"));
        QCOMPARE(c.column(TForm_orders::ColNumber), QString("41,42,43,44,45,46"));
        c.press("btn_first");
        QCOMPARE(c.cell(0, TForm_orders::ColTitle), QString("第1单")); // the newest, ORD001 again
        QCOMPARE(c.orders()->current_page(), 1);
    }

    void searchFindsTheWholeOrderNumberOnly()
    {
        Counter c;
        add_orders(c, 45);
        c.open();
        c.press("btn_last");
        c.search("ORD007");
        QCOMPARE(c.column(TForm_orders::ColOrdid), QString("ORD007"));
        QCOMPARE(c.label("page_nums"), QString("共有1条符合条件的记录"));
        QCOMPARE(c.label("page_page"), QString("当前1页/共1页"));
        QCOMPARE(c.pagingButtons(), QString("0000"));
        // The keyword stays for the next showing.
        c.orders()->hide();
        c.open();
        QCOMPARE(c.column(TForm_orders::ColOrdid), QString("ORD007"));

        c.search("ORD00");
        QCOMPARE(c.list()->rowCount(), 0);
        QCOMPARE(c.label("page_nums"), QString("共有0条符合条件的记录"));
        QCOMPARE(c.pagingButtons(), QString("0000"));
    }

    void kindsPayTypesAndGoneTables()
    {
        Counter c;
        OrderSpec recharge;
        recharge.title = "会员充值";
        recharge.ordid = "R1";
        recharge.tid = 1;
        recharge.stat = 1;
        recharge.paytype = 5;
        recharge.allprice = recharge.price = 200;
        add_order(c, recharge);
        OrderSpec gone;
        gone.ordid = "G1";
        gone.deskid = 2;
        gone.iscal = 1;
        gone.stat = 3;
        gone.paytype = 6;
        gone.allprice = gone.price = 66;
        add_order(c, gone);
        c.exec("DELETE FROM lumo_desk WHERE id=2");
        open_order(c, 1);
        c.open();
        QCOMPARE(c.column(TForm_orders::ColKind), QString("点餐,点餐,充值"));
        QCOMPARE(c.column(TForm_orders::ColPaytype), QString("未支付,银行卡,现金"));
        QCOMPARE(c.column(TForm_orders::ColPaid), QString("0.00,66.00,200.00"));
        QCOMPARE(c.column(TForm_orders::ColDeskid), QString("1,2,0"));
    }

    // The clicked order's lines show beside the list and stay for the next showing.
    // A whole order number (18 digits) shows in its column, not cut with "…".
    void orderNumberShowsWhole()
    {
        Counter c;
        OrderSpec o;
        o.ordid = "261210140903229097";
        o.deskid = 1;
        o.stat = 1;
        add_order(c, o);
        c.open();
        QCOMPARE(c.cell(0, TForm_orders::ColOrdid), o.ordid);
        QTableWidget *t = c.list();
        QVERIFY(t->columnWidth(TForm_orders::ColOrdid) - 8
                >= t->fontMetrics().horizontalAdvance(o.ordid));
        QVERIFY(t->columnWidth(TForm_orders::ColTitle) >= 80);
    }
    void linesOfTheClickedOrder()
    {
        Counter c;
        c.pastAndOpenOrder();
        add_line(c, c.past, "米饭", "2", "1", "8");
        c.open();
        QVERIFY(c.lines().isEmpty());
        c.clickCell(1, TForm_orders::ColTitle);
        QCOMPARE(c.lines(), QStringList({"宫保鸡丁|18.5|2|37.00", "米饭|2|1|2.00"}));
        QCOMPARE(c.device->jobs, 0);
        QVERIFY(c.prompts->confirms.isEmpty());
        c.clickCell(0, TForm_orders::ColOrdid);
        QCOMPARE(c.lines(), QStringList{"可乐|5|1|5.00"});
        c.orders()->hide();
        add_line(c, c.now, "雪碧", "6", "2");
        c.open();
        QCOMPARE(c.lines(), QStringList({"可乐|5|1|5.00", "雪碧|6|2|12.00"}));
        // ... with its row highlighted, so the lines say whose they are.
        QCOMPARE(c.list()->selectionModel()->selectedRows().size(), 1);
        QCOMPARE(c.list()->selectionModel()->selectedRows().first().row(), 0);

        // An order no longer on the page shown: a new showing lists no lines of it.
        c.orders()->hide();
        c.exec("DELETE FROM lumo_orders WHERE id=" + c.now);
        c.open();
        QVERIFY(c.lines().isEmpty());
        QVERIFY(c.list()->selectionModel()->selectedRows().isEmpty());
    }

    // An order number made by the payment service, longer than the program's own.
    void serviceOrderNumberShowsWhole()
    {
        Counter c;
        OrderSpec o;
        o.ordid = "PS20261211160723000000000000000042";
        o.deskid = 1;
        o.stat = 1;
        add_order(c, o);
        c.open();
        QTableWidget *t = c.list();
        QVERIFY(t->columnWidth(TForm_orders::ColOrdid) - 8
                >= t->fontMetrics().horizontalAdvance(o.ordid));
    }

    void receiptOfTheClickedOrder_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK prints") << true;
        QTest::newRow("Cancel prints nothing") << false;
    }
    void receiptOfTheClickedOrder()
    {
        QFETCH(bool, ok);
        Counter c;
        c.pastAndOpenOrder();
        c.open();
        c.prompts->queue(ok);
        c.clickCell(1, TForm_orders::ColReceipt);
        QCOMPARE(c.prompts->confirms, QStringList{"确定要打印客户小票吗"});
        QCOMPARE(c.orders()->shown_order(), c.past);
        QCOMPARE(c.device->jobs, ok ? 1 : 0);
        if (ok) {
            QCOMPARE(c.device->selected, QString("Receipt_80"));
            const QStringList texts = c.printed();
            QCOMPARE(texts.mid(0, 2), QStringList({"匿名店铺", "桌号：01"}));
            // The settled order, not what the table holds now.
            QVERIFY2(texts.contains("宫保鸡丁") && !texts.contains("可乐"),
                     qPrintable(texts.join(',')));
        }
        QVERIFY(c.prompts->warnings.isEmpty());
    }

    // The kitchen choice prints the clicked order; the board's entry afterwards
    // prints the board's table again.
    void kitchenTicketOfTheClickedOrder()
    {
        Counter c;
        c.pastAndOpenOrder();
        c.open();
        c.clickCell(1, TForm_orders::ColKitchen);
        QVERIFY(c.chuda()->isVisible());
        QCOMPARE(c.chuda()->mydeskid, QString("1"));
        QCOMPARE(c.chuda()->mydekno, QString("01"));
        QCOMPARE(c.chuda()->myrootid, c.past);
        auto *all = c.chuda()->findChild<QRadioButton *>("chuda_all");
        QTest::mouseClick(all, Qt::LeftButton, Qt::NoModifier, QPoint(8, all->height() / 2));
        GuiProgram::click(c.chuda()->findChild<QPushButton *>("chuda_print"));
        QVERIFY2(c.printed().contains("宫保鸡丁") && !c.printed().contains("可乐"),
                 qPrintable(c.printed().join(',')));

        GuiProgram::click(c.forms->main->findChild<QFrame *>("desklist_groupbox_1"));
        c.menu(54);
        QCOMPARE(c.chuda()->myrootid, QString());
        GuiProgram::click(c.chuda()->findChild<QPushButton *>("chuda_print"));
        QCOMPARE(c.printed().count("宫保鸡丁"), 1);
        QVERIFY(c.printed().contains("可乐"));
    }

    // An open list follows the orders the other windows write.
    void followsChangesWhileOpen()
    {
        Counter c;
        add_orders(c, 2);
        c.open();
        QCOMPARE(c.list()->rowCount(), 2);
        add_orders(c, 1);
        emit c.ctx.notifier().lines_changed(QString(), "1");
        QCOMPARE(c.list()->rowCount(), 3);
        QCOMPARE(c.label("page_nums"), QString("共有3条符合条件的记录"));
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestOrdersUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_orders_ui.moc"
