// Dialogs keep the table they were opened for, and the board follows every change
// they make: tile, order panel and summary bar.

#include "app/notifier.h"
#include "app/ui/toast.h"
#include "board/board.h"
#include "board/ui/tform_desk_zhuantai.h"
#include "board/ui/tform_desk_zt.h"
#include "board/ui/tform_main.h"
#include "ordering/ui/tform_diancan.h"
#include "ordering/ui/tform_gaijia.h"
#include "support/fixtures.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>

namespace {

QString colour(const QWidget *w)
{
    return w->palette().color(QPalette::Window).name().toUpper();
}

// Ten tables 01..10 on a board 1600 wide; 01 and 10 are open with an empty order each.
class Counter : public GuiProgram
{
public:
    Counter()
    {
        add_desks(*this, 10);
        exec("UPDATE lumo_desk SET stat=1,nums=2,price='0.00' WHERE id IN (1,10)");
        order1 = open_order(*this, 1);
        order10 = open_order(*this, 10);
        exec("INSERT INTO lumo_caipin(id,title,titleen,price) VALUES(1,'宫保鸡丁','gbjd','29.8')");
        forms->main->set_board_size(QSize(1600, 1000));
        forms->main->show();
    }
    TForm_main *main() const { return forms->main; }
    template<class W = QWidget> W *find(QWidget *in, const QString &name) const
    {
        W *w = in->findChild<W *>(name);
        if (!w)
            qFatal("no widget %s", qPrintable(name));
        return w;
    }
    QString text(const QString &label) const { return find<QLabel>(main(), label)->text(); }
    void tile(const QString &id) const { click(find(main(), "desklist_groupbox_" + id)); }
    void menu(int id) const { click(find(main(), QStringLiteral("menu_label_%1").arg(id))); }
    QPushButton *button(QWidget *in, const QString &caption) const
    {
        for (QPushButton *b : in->findChildren<QPushButton *>())
            if (b->text() == caption)
                return b;
        qFatal("no button %s", qPrintable(caption));
        return nullptr;
    }
    // The summary bar as the database has it now.
    QString summary() const
    {
        const BoardSummary s = board_summary(ctx);
        return s.unsettled + "|" + s.total + "|" + s.people + "|" + s.busy;
    }
    QString shownSummary() const
    {
        return text("sum_unsettled") + "|" + text("sum_total") + "|" + text("sum_people") + "|"
               + find<QPushButton>(main(), "count_busy")->text();
    }

    QString order1, order10;
};

} // namespace

class TestDeskFollowUi : public QObject
{
    Q_OBJECT

private slots:
    void orderingScreenKeepsItsTable()
    {
        Counter c;
        c.tile("1");
        c.menu(41);
        TForm_diancan *dc = c.forms->diancan;
        QVERIFY(dc->isVisible());
        QCOMPARE(c.find<QLabel>(dc, "label_bh")->text(), QString("桌号：01"));

        // The cashier clicks table 10 on the board behind the open screen.
        c.tile("10");
        QCOMPARE(c.ctx.desk_id, QString("10"));
        GuiProgram::click(c.find(dc, "box_caipin_1"));
        c.prompts->queue(true);
        GuiProgram::click(c.button(dc, "一键批量落单"));

        QCOMPARE(c.scalar("SELECT rootid||'|'||deskid FROM lumo_orders_detail"), c.order1 + "|1");
        QCOMPARE(c.scalar("SELECT price FROM lumo_desk WHERE id=1"), QString("29.80"));
        QCOMPARE(c.scalar("SELECT price FROM lumo_desk WHERE id=10"), QString("0.00"));
        QCOMPARE(c.find<QLabel>(dc, "label_bh")->text(), QString("桌号：01"));
        // 01's tile and the summary follow; the panel still shows table 10.
        QCOMPARE(c.text("desklist_groupbox_static5_1"), QString("桌01￥29.80"));
        QCOMPARE(c.shownSummary(), c.summary());
        QCOMPARE(c.text("sum_unsettled"), QString("29.80"));
        QCOMPARE(c.text("info_bh"), QString("桌位编号：10"));
        QCOMPARE(c.find<QTreeWidget>(c.main(), "order_list")->topLevelItemCount(), 0);

        // Back on 01, a price change through the screen shows on the panel and the bar.
        c.tile("1");
        const QString line = c.scalar("SELECT id FROM lumo_orders_detail");
        c.forms->gaijia->open_with("1", c.order1, line);
        c.find<QLineEdit>(c.forms->gaijia, "edit_1_" + line)->setText("20");
        GuiProgram::click(c.button(c.forms->gaijia, "批量保存"));
        QCOMPARE(c.text("info_price"), QString("订单金额：20.00"));
        QCOMPARE(c.text("sum_unsettled"), QString("20.00"));
        QCOMPARE(c.shownSummary(), c.summary());
        QCOMPARE(c.find<QTreeWidget>(c.main(), "order_list")->topLevelItem(0)->text(5),
                 QString("20.00"));
        QVERIFY(c.prompts->errors.isEmpty());
    }

    void tableStateDialogKeepsItsTable()
    {
        Counter c;
        c.tile("2");
        c.menu(11);
        TForm_desk_zt *zt = c.forms->desk_zt;
        QCOMPARE(c.find<QLabel>(zt, "Label_bh")->text(), QString("02"));

        c.tile("3");
        c.find<QLineEdit>(zt, "Edit_nums")->setText("4");
        c.find<QRadioButton>(zt, "Radio_stat_1")->setChecked(true);
        GuiProgram::click(c.find(zt, "Button_save"));
        QCOMPARE(c.forms->toast->text(), QString("操作成功"));
        QCOMPARE(c.scalar("SELECT stat||'|'||nums FROM lumo_desk WHERE id=2"), QString("1|4"));
        QCOMPARE(c.scalar("SELECT stat||'|'||nums FROM lumo_desk WHERE id=3"), QString("0|0"));
        QCOMPARE(c.scalar("SELECT count(*) FROM lumo_orders WHERE deskid=3"), QString("0"));
        // 02's tile takes its new status although 03 is the one selected.
        QCOMPARE(c.text("desklist_groupbox_static4_2"), QString("开台"));
        QCOMPARE(colour(c.find(c.main(), "desklist_groupbox_2")), QString(OpenColour));
        QCOMPARE(c.shownSummary(), c.summary());

        // Opened again while still visible, for table 03: it shows 03.
        QVERIFY(zt->isVisible());
        c.menu(11);
        QCOMPARE(c.find<QLabel>(zt, "Label_bh")->text(), QString("03"));
        QCOMPARE(c.find<QLineEdit>(zt, "Edit_nums")->text(), QString("0"));
    }

    void tableStateDialogFollowsItsTable()
    {
        Counter c;
        c.exec("UPDATE lumo_desk SET fwy='小王' WHERE id=1");
        c.tile("1");
        c.menu(11);
        TForm_desk_zt *zt = c.forms->desk_zt;
        auto *fwy = c.find<QLineEdit>(zt, "Edit_fwy");
        QCOMPARE(fwy->text(), QString("小王"));

        // A change that leaves the shown fields alone keeps what is being typed.
        fwy->setText("小李");
        c.exec("UPDATE lumo_desk SET price='30.00' WHERE id=1");
        emit c.ctx.notifier().desk_changed("1");
        QCOMPARE(fwy->text(), QString("小李"));

        // The guests move to 04: the dialog goes with them, so a save there opens no
        // second party on the table they left.
        c.menu(21);
        GuiProgram::click(c.find(c.forms->desk_zhuantai, "zhuantai_radio_4"));
        c.prompts->queue(true);
        GuiProgram::click(c.find(c.forms->desk_zhuantai, "Button_zhuantai"));
        QCOMPARE(c.find<QLabel>(zt, "Label_bh")->text(), QString("04"));
        QCOMPARE(fwy->text(), QString("小王"));
        c.prompts->queue(true);
        GuiProgram::click(c.find(zt, "Button_save"));
        QCOMPARE(c.scalar("SELECT stat||'|'||nums FROM lumo_desk WHERE id=1"), QString("0|0"));
        QCOMPARE(c.scalar("SELECT count(*) FROM lumo_orders WHERE deskid=1"), QString("0"));
        QCOMPARE(c.scalar("SELECT stat||'|'||fwy FROM lumo_desk WHERE id=4"), QString("1|小王"));

        // Table 10 is cleared at the board: the dialog shows it free, and a save keeps it so.
        c.tile("10");
        c.menu(11);
        QVERIFY(c.find<QRadioButton>(zt, "Radio_stat_1")->isChecked());
        c.prompts->queue(true);
        c.menu(31);
        QCOMPARE(c.forms->toast->text(), QString("消台成功"));
        QVERIFY(c.find<QRadioButton>(zt, "Radio_stat_0")->isChecked());
        QCOMPARE(c.find<QLineEdit>(zt, "Edit_nums")->text(), QString("0"));
        c.prompts->queue(true);
        GuiProgram::click(c.find(zt, "Button_save"));
        QCOMPARE(c.scalar("SELECT stat FROM lumo_desk WHERE id=10"), QString("0"));
    }

    void tableStateDialogSeesAnotherCounter()
    {
        // Table 01 is shown open; another counter settles it (the board here sees no
        // signal). The save opens no new party there; dialog and board show it free.
        Counter c;
        c.tile("1");
        c.menu(11);
        TForm_desk_zt *zt = c.forms->desk_zt;
        QVERIFY(c.find<QRadioButton>(zt, "Radio_stat_1")->isChecked());
        c.exec("UPDATE lumo_desk SET stat=0,nums=0,addtime=0,fwy='' WHERE id=1");
        c.exec("UPDATE lumo_orders SET iscal=1 WHERE id=" + c.order1);
        c.find<QLineEdit>(zt, "Edit_fwy")->setText("小李");
        c.prompts->queue(true);
        GuiProgram::click(c.find(zt, "Button_save"));
        QCOMPARE(c.forms->toast->text(), QString("此桌位已在别处结算或消台，请核对后重新操作"));
        QCOMPARE(c.scalar("SELECT stat||'|'||fwy FROM lumo_desk WHERE id=1"), QString("0|"));
        QCOMPARE(c.scalar("SELECT count(*) FROM lumo_orders WHERE iscal=0 AND deskid=1"),
                 QString("0"));
        QVERIFY(c.find<QRadioButton>(zt, "Radio_stat_0")->isChecked());
        QCOMPARE(c.find<QLineEdit>(zt, "Edit_fwy")->text(), QString());
        QCOMPARE(colour(c.find(c.main(), "desklist_groupbox_1")), QString("#F579FF"));
        QCOMPARE(c.text("desklist_groupbox_static4_1"), QString("空闲"));
        QCOMPARE(c.shownSummary(), c.summary());

        // Now that it shows free, opening it again is the cashier's own choice.
        c.prompts->queue(true);
        GuiProgram::click(c.find(zt, "Radio_stat_1"));
        GuiProgram::click(c.find(zt, "Button_save"));
        QCOMPARE(c.forms->toast->text(), QString("操作成功"));
        QCOMPARE(c.scalar("SELECT stat FROM lumo_desk WHERE id=1"), QString("1"));
    }

    void transferListFollowsTheTables()
    {
        Counter c;
        c.tile("1");
        c.menu(21);
        TForm_desk_zhuantai *zh = c.forms->desk_zhuantai;
        auto radio = [&](const QString &id) {
            return c.find<QRadioButton>(zh, "zhuantai_radio_" + id);
        };
        GuiProgram::click(radio("5"));

        // Table 03 is opened meanwhile: it can no longer be chosen; the choice of 05 stays.
        c.tile("3");
        c.menu(11);
        c.find<QRadioButton>(c.forms->desk_zt, "Radio_stat_1")->setChecked(true);
        c.prompts->queue(true);
        GuiProgram::click(c.find(c.forms->desk_zt, "Button_save"));
        QCOMPARE(radio("3")->text(), QString("桌号：03,状态：开台"));
        QVERIFY(!radio("3")->isEnabled());
        QVERIFY(radio("5")->isChecked());

        // The chosen table is taken: the choice goes with it.
        c.exec("UPDATE lumo_desk SET stat=3 WHERE id=5");
        emit c.ctx.notifier().desk_changed("5");
        QVERIFY(!radio("5")->isEnabled());
        QVERIFY(!radio("5")->isChecked());
    }

    void transferLeavesTheTargetSelected()
    {
        Counter c;
        add_line(c, c.order1, "鱼香肉丝", "12.5", "2");
        c.exec("UPDATE lumo_desk SET price='25.00',fwy='小王' WHERE id=1");
        c.tile("1");
        c.menu(21);
        TForm_desk_zhuantai *zh = c.forms->desk_zhuantai;
        // Meanwhile the board selects another table; the guests of 01 move all the same.
        c.tile("5");
        GuiProgram::click(c.find(zh, "zhuantai_radio_4"));
        c.prompts->queue(true);
        GuiProgram::click(c.find(zh, "Button_zhuantai"));
        QCOMPARE(c.prompts->infos, QStringList{"转台成功"});
        QCOMPARE(c.scalar("SELECT deskid FROM lumo_orders WHERE id=" + c.order1), QString("4"));

        QCOMPARE(c.ctx.desk_id, QString("4"));
        QCOMPARE(c.text("info_bh"), QString("桌位编号：04"));
        QCOMPARE(c.text("info_nums"), QString("用餐人数：2"));
        QCOMPARE(c.text("info_fwy"), QString("服务人员：小王"));
        QCOMPARE(c.text("info_price"), QString("订单金额：25.00"));
        QCOMPARE(c.find<QTreeWidget>(c.main(), "order_list")->topLevelItemCount(), 1);
        QCOMPARE(colour(c.find(c.main(), "desklist_groupbox_4")), QString(SelectedColour));
        QCOMPARE(colour(c.find(c.main(), "desklist_groupbox_1")), QString(FreeColour));
        QCOMPARE(colour(c.find(c.main(), "desklist_groupbox_5")), QString(FreeColour));
        QCOMPARE(c.text("desklist_groupbox_static4_1"), QString("空闲"));
        QCOMPARE(c.text("desklist_groupbox_static5_4"), QString("桌04￥25.00"));
        QCOMPARE(c.shownSummary(), c.summary());
    }

    void orderingScreenGoesWithTheGuests()
    {
        Counter c;
        c.tile("1");
        c.menu(41);
        TForm_diancan *dc = c.forms->diancan;
        c.menu(21);
        GuiProgram::click(c.find(c.forms->desk_zhuantai, "zhuantai_radio_4"));
        c.prompts->queue(true);
        GuiProgram::click(c.find(c.forms->desk_zhuantai, "Button_zhuantai"));
        QCOMPARE(c.find<QLabel>(dc, "label_bh")->text(), QString("桌号：04"));

        // The next submit lands in the moved order, not refused on the freed table.
        GuiProgram::click(c.find(dc, "box_caipin_1"));
        c.prompts->queue(true);
        GuiProgram::click(c.button(dc, "一键批量落单"));
        QCOMPARE(c.prompts->infos, QStringList{"转台成功"});
        QCOMPARE(c.scalar("SELECT rootid||'|'||deskid FROM lumo_orders_detail"), c.order1 + "|4");
        QCOMPARE(c.text("desklist_groupbox_static5_4"), QString("桌04￥29.80"));
    }

    void clearingEmptiesThePanel()
    {
        Counter c;
        c.exec("UPDATE lumo_desk SET nums=6,fwy='小李' WHERE id=10");
        c.tile("10");
        QCOMPARE(c.text("info_nums"), QString("用餐人数：6"));
        c.prompts->queue(true);
        c.menu(31);
        QCOMPARE(c.forms->toast->text(), QString("消台成功"));
        QCOMPARE(c.text("info_nums"), QString("用餐人数：0"));
        QCOMPARE(c.text("info_fwy"), QString("服务人员："));
        QCOMPARE(c.shownSummary(), c.summary());
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestDeskFollowUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_desk_follow_ui.moc"
