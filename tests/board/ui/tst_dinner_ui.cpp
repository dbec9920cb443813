// A whole dinner through the real windows: tile, table state, ordering, clearing
// refused, transfer; the tile, the order panel and the stored totals must agree.
#include "app/ui/toast.h"
#include "board/ui/tform_desk_zhuantai.h"
#include "board/ui/tform_desk_zt.h"
#include "board/ui/tform_main.h"
#include "ordering/ui/tform_diancan.h"
#include "ordering/ui/tform_gaijia.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

class TestDinnerUi : public QObject
{
    Q_OBJECT

    template<class T = QWidget> static T *find(QWidget *in, const QString &name)
    {
        T *w = in->findChild<T *>(name);
        if (!w)
            qFatal("no widget %s", qPrintable(name));
        return w;
    }
    static QPushButton *button(QWidget *in, const QString &text)
    {
        for (QPushButton *b : in->findChildren<QPushButton *>())
            if (b->text() == text)
                return b;
        qFatal("no button %s", qPrintable(text));
        return nullptr;
    }

private slots:
    void dinnerFromOpeningToTransfer()
    {
        GuiProgram p;
        p.exec("INSERT INTO lumo_desk(id,title,bh,sort) "
               "VALUES(1,'大厅一','A1',1),(2,'大厅二','A2',2)");
        p.exec("INSERT INTO lumo_caipin(id,title,titleen,price) VALUES(1,'宫保鸡丁','gbjd','29.8'),"
               "(2,'米饭','mf','2.0')");
        p.exec("INSERT INTO lumo_caipin_zuofa(id,title,rootid) VALUES(1,'微辣',1)");
        TForm_main *main = p.forms->main;
        main->set_board_size(QSize(1600, 1000));
        main->show();

        // Select A1 and open it for 2 guests.
        GuiProgram::click(find(main, "desklist_groupbox_1"));
        QCOMPARE(p.ctx.desk_id, QString("1"));
        GuiProgram::click(find(main, "menu_label_11"));
        TForm_desk_zt *zt = p.forms->desk_zt;
        QVERIFY(zt->isVisible());
        find<QLineEdit>(zt, "Edit_nums")->setText("2");
        find<QLineEdit>(zt, "Edit_fwy")->setText("小王");
        find<QRadioButton>(zt, "Radio_stat_1")->setChecked(true);
        GuiProgram::click(find(zt, "Button_save"));
        QCOMPARE(p.forms->toast->text(), QString("操作成功"));
        QCOMPARE(find<QLabel>(main, "desklist_groupbox_static4_1")->text(), QString("开台"));
        QCOMPARE(find<QLabel>(main, "desklist_groupbox_static1_1")->text(), QString("2人"));

        // Order one 宫保鸡丁 and one 米饭.
        GuiProgram::click(find(main, "menu_label_41"));
        TForm_diancan *dc = p.forms->diancan;
        QVERIFY(dc->isVisible());
        GuiProgram::click(find(dc, "box_caipin_1"));
        GuiProgram::click(find(dc, "box_caipin_2"));
        p.prompts->queue(true);
        GuiProgram::click(button(dc, "一键批量落单"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders_detail"), QString("2"));
        // 29.8 + 2.0
        QCOMPARE(find<QLabel>(main, "desklist_groupbox_static5_1")->text(), QString("桌A1￥31.80"));
        QCOMPARE(p.scalar("SELECT price FROM lumo_desk WHERE id=1"), QString("31.80"));
        QCOMPARE(p.scalar("SELECT allprice||'|'||price FROM lumo_orders WHERE deskid=1"),
                 QString("31.8|31.8"));
        auto *panel = find<QTreeWidget>(main, "order_list");
        QCOMPARE(panel->topLevelItemCount(), 2);
        QCOMPARE(panel->topLevelItem(0)->text(1), QString("宫保鸡丁"));

        // Clearing is refused while the order has lines.
        p.prompts->queue(true);
        GuiProgram::click(find(main, "menu_label_31"));
        QCOMPARE(p.forms->toast->text(), QString("此桌位有未结算的订单，请先结算订单再消台"));
        QCOMPARE(p.scalar("SELECT stat FROM lumo_desk WHERE id=1"), QString("1"));

        // Move the guests to A2.
        GuiProgram::click(find(main, "menu_label_21"));
        TForm_desk_zhuantai *zh = p.forms->desk_zhuantai;
        QVERIFY(zh->isVisible());
        QVERIFY(!find<QRadioButton>(zh, "zhuantai_radio_1")->isEnabled());
        find<QRadioButton>(zh, "zhuantai_radio_2")->setChecked(true);
        p.prompts->queue(true);
        GuiProgram::click(find(zh, "Button_zhuantai"));
        QCOMPARE(p.prompts->infos.last(), QString("转台成功"));
        QCOMPARE(p.scalar("SELECT stat||'|'||price||'|'||nums||'|'||fwy FROM lumo_desk WHERE id=2"),
                 QString("1|31.80|2|小王"));
        QCOMPARE(p.scalar("SELECT stat||'|'||price FROM lumo_desk WHERE id=1"), QString("0|0.00"));
        QCOMPARE(p.scalar("SELECT deskid FROM lumo_orders"), QString("2"));
        QCOMPARE(find<QLabel>(main, "desklist_groupbox_static5_2")->text(), QString("桌A2￥31.80"));
        QCOMPARE(find<QLabel>(main, "desklist_groupbox_static4_2")->text(), QString("开台"));

        // The cashier, still on A1, changes the price of the 宫保鸡丁 line: A2's tile follows.
        const QString line = p.scalar("SELECT id FROM lumo_orders_detail WHERE caipinid=1");
        TForm_gaijia *gj = p.forms->gaijia;
        gj->open_with("1", p.scalar("SELECT id FROM lumo_orders"), line);
        find<QLineEdit>(gj, "edit_1_" + line)->setText("25");
        GuiProgram::click(button(gj, "批量保存"));
        QCOMPARE(p.forms->toast->text(), QString("批量价格修改成功"));
        QCOMPARE(p.scalar("SELECT price FROM lumo_desk WHERE id=2"), QString("27.00"));
        QCOMPARE(find<QLabel>(main, "desklist_groupbox_static5_2")->text(), QString("桌A2￥27.00"));
        QVERIFY(p.prompts->errors.isEmpty());
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestDinnerUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_dinner_ui.moc"
