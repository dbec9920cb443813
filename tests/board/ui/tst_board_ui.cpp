#include "app/ui/toast.h"
#include "board/board.h"
#include "board/ui/tform_desk_zhuantai.h"
#include "board/ui/tform_desk_zt.h"
#include "board/ui/tform_main.h"
#include "checkout/ui/tform_cancel.h"
#include "ordering/ui/tform_diancan.h"
#include "printing/ui/tform_chuda.h"
#include "reports/ui/tform_orders.h"
#include "reports/ui/tform_takings.h"
#include "support/fixtures.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>

#include <cmath>

namespace {

// A board 1600 wide: seven tiles per row.
const QSize BoardSize(1600, 1000);

QString colour(const QWidget *w)
{
    return w->palette().color(QPalette::Window).name().toUpper();
}

} // namespace

// The main window of a fresh program folder, shown at a known size.
class Board : public GuiProgram
{
public:
    TForm_main *main() const { return forms->main; }
    void show()
    {
        main()->set_board_size(BoardSize);
        main()->show();
    }
    QFrame *tile(const QString &id) const
    {
        return main()->findChild<QFrame *>("desklist_groupbox_" + id);
    }
    QLabel *tile_label(int n, const QString &id) const
    {
        return main()->findChild<QLabel *>(QStringLiteral("desklist_groupbox_static%1_").arg(n)
                                           + id);
    }
    QFrame *area(const QString &id) const
    {
        return main()->findChild<QFrame *>("desklist_class_groupbox_" + id);
    }
    QPushButton *button(const QString &name) const
    {
        return main()->findChild<QPushButton *>(name);
    }
    QTreeWidget *lines() const { return main()->findChild<QTreeWidget *>("order_list"); }
    QLabel *label(const QString &name) const { return main()->findChild<QLabel *>(name); }
    QString toast() const { return forms->toast->isShown() ? forms->toast->text() : QString(); }
    // Ids of the shown tiles, in board order.
    QStringList shown() const
    {
        QStringList ids;
        for (int i = 1; i <= 200; ++i)
            if (QFrame *t = tile(QString::number(i)); t && !t->isHidden())
                ids << QString::number(i);
        return ids;
    }
    void menu(int id) const
    {
        QFrame *box = main()->findChild<QFrame *>(QStringLiteral("menu_box_%1").arg(id));
        QVERIFY2(box, qPrintable(QStringLiteral("no menu entry %1").arg(id)));
        click(box);
    }
};

class TestBoardUi : public QObject
{
    Q_OBJECT

private slots:
    void fortyTablesPageThroughTheBoard()
    {
        Board b;
        add_desks(b, 40);
        b.show();
        QCOMPARE(b.main()->W(), 1600);
        QCOMPARE(b.main()->tiles_per_row(), 7);
        QCOMPARE(b.shown().size(), 36);
        QList<int> tops;
        for (const QString &id : b.shown())
            if (!tops.contains(b.tile(id)->y()))
                tops << b.tile(id)->y();
        QCOMPARE(tops, (QList<int>{10, 180, 350, 520, 690, 860}));
        QCOMPARE(b.tile("36")->pos(), QPoint(5, 860));
        QCOMPARE(b.tile("7")->pos(), QPoint(995, 10));
        QCOMPARE(b.tile("1")->size(), QSize(160, 160));
        QVERIFY(!b.button("cn_pre")->isEnabled());
        QVERIFY(b.button("cn_next")->isEnabled());

        Board::click(b.button("cn_next"));
        QCOMPARE(b.main()->board_page(), 2);
        QCOMPARE(b.shown(), (QStringList{"37", "38", "39", "40"}));
        for (int i = 0; i < 4; ++i)
            QCOMPARE(b.tile(QString::number(37 + i))->pos(), QPoint(5 + 165 * i, 10));
        QVERIFY(b.button("cn_pre")->isEnabled());
        QVERIFY(!b.button("cn_next")->isEnabled());

        Board::click(b.button("cn_pre"));
        QCOMPARE(b.shown().size(), 36);
        QCOMPARE(b.shown().first(), QString("1"));
    }

    void areaFilter()
    {
        Board b;
        b.exec("INSERT INTO lumo_desk_class(id,title,sort) VALUES(3,'大厅',1),(4,'包间',2),"
               "(5,'露台',3)");
        add_desks(b, 40, {"3", "3", "3", "3", "4"}); // 32 in 大厅, 8 in 包间, none on 露台
        b.show();
        QCOMPARE(b.area("0")->findChild<QLabel *>()->text(), QString("全部"));
        QCOMPARE(colour(b.area("0")), QString("#F579FF"));
        QCOMPARE(colour(b.area("3")), QString("#F0F0F0"));
        QCOMPARE(b.area("4")->x(), 2 * 79);
        QCOMPARE(b.area("4")->size(), QSize(81, 44));

        // The area's label stands for its box.
        Board::click(b.area("4")->findChild<QLabel *>());
        QCOMPARE(b.main()->selected_area(), QString("4"));
        QCOMPARE(b.shown(), (QStringList{"5", "10", "15", "20", "25", "30", "35", "40"}));
        QCOMPARE(b.tile("10")->pos(), QPoint(170, 10));
        QCOMPARE(colour(b.area("4")), QString("#F579FF"));
        QCOMPARE(colour(b.area("0")), QString("#F0F0F0"));
        QVERIFY(!b.button("cn_next")->isEnabled());

        // Back to all tables on page 2, then an empty area: nothing shows and the
        // paging buttons stay as they were.
        Board::click(b.area("0"));
        Board::click(b.button("cn_next"));
        QVERIFY(b.button("cn_pre")->isEnabled());
        QVERIFY(!b.button("cn_next")->isEnabled());
        Board::click(b.area("5"));
        QVERIFY(b.shown().isEmpty());
        QCOMPARE(b.main()->board_page(), 1);
        QVERIFY(b.button("cn_pre")->isEnabled());
        QVERIFY(!b.button("cn_next")->isEnabled());
    }

    void lastTableDeletedElsewhere()
    {
        // Every table goes (deleted at another counter), the board is rebuilt: areas,
        // paging and the sync tick find nothing to show and raise nothing.
        Board b;
        b.exec("INSERT INTO lumo_desk_class(id,title,sort) VALUES(3,'大厅',1)");
        add_desks(b, 40, {"3"});
        b.ctx.settings.is_time_tb = 1;
        b.show();
        Board::click(b.button("cn_next"));
        b.exec("DELETE FROM lumo_desk");
        b.main()->reload_board();
        b.main()->get_tongji_info();
        Board::click(b.area("3"));
        Board::click(b.area("0"));
        Board::click(b.button("cn_pre"));
        Board::click(b.button("cn_next"));
        b.main()->sync_tick();
        QVERIFY(b.shown().isEmpty());
        QCOMPARE(b.main()->board_page(), 1);
        QCOMPARE(b.button("count_all")->text(), QString("全部：0"));
        QCOMPARE(b.label("sum_people")->text(), QString());
        QCOMPARE(b.prompts->errors, QStringList());
    }

    void aRepeatingSyncFailureIsShownOnce()
    {
        Board b;
        add_desks(b, 3);
        b.show();
        b.exec("ALTER TABLE lumo_desk DROP COLUMN price"); // by a tool, while running
        for (int i = 0; i < 3; ++i)
            b.main()->sync_tick();
        QCOMPARE(b.prompts->errors.size(), 1);
        QVERIFY2(b.prompts->errors.first().contains("no such column"),
                 qPrintable(b.prompts->errors.first()));
        // A tick that works again ends the failure; the next one is shown again.
        b.exec("ALTER TABLE lumo_desk ADD COLUMN price DOUBLE (2) DEFAULT (0)");
        b.main()->sync_tick();
        b.exec("ALTER TABLE lumo_desk DROP COLUMN price");
        b.main()->sync_tick();
        b.main()->sync_tick();
        QCOMPARE(b.prompts->errors.size(), 2);
    }

    void tileOfATableDeletedElsewhere()
    {
        // Its tile is still on this board; clicking it must not leave the order panel
        // showing the table selected before.
        Board b;
        add_desks(b, 3);
        b.exec("UPDATE lumo_desk set stat=1,nums=4,fwy='小王' where id=2");
        b.show();
        Board::click(b.tile("2"));
        QCOMPARE(b.label("info_fwy")->text(), QString("服务人员：小王"));
        b.exec("DELETE FROM lumo_desk where id=3");
        Board::click(b.tile("3"));
        QCOMPARE(b.label("info_bh")->text(), QString("桌位编号："));
        QCOMPARE(b.label("info_nums")->text(), QString("用餐人数："));
        QCOMPARE(b.label("info_fwy")->text(), QString("服务人员："));
        QCOMPARE(b.prompts->errors, QStringList());
    }

    void selectAndDeselectATile()
    {
        Board b;
        add_desks(b, 3);
        b.exec("UPDATE lumo_desk set stat=1,nums=2,price='37.50',fwy='小王',addtime=1709647629 "
               "where id=2");
        const QString order = open_order(b, 2);
        add_line(b, order, "鱼香肉丝", "12.5", "3", "0", "999");
        add_line(b, order, "米饭", "2", "1", "8");
        b.show();

        Board::click(b.tile_label(5, "2")); // a label stands for its tile
        QCOMPARE(b.ctx.desk_id, QString("2"));
        QCOMPARE(b.ctx.desk_bh, QString("02"));
        QCOMPARE(colour(b.tile("2")), QString("#F579FF"));
        QCOMPARE(b.lines()->topLevelItemCount(), 2);
        const QTreeWidgetItem *first = b.lines()->topLevelItem(0);
        QCOMPARE(first->text(0), QString("01"));
        QCOMPARE(first->text(1), QString("鱼香肉丝"));
        QCOMPARE(first->text(5), QString("37.50"));
        QCOMPARE(first->text(6), QString("已下单"));
        QCOMPARE(b.lines()->topLevelItem(1)->text(6), QString("已退菜"));
        QCOMPARE(b.label("info_bh")->text(), QString("桌位编号：02"));
        QCOMPARE(b.label("info_addtime")->text(), QString("开台时间：2024-03-05 14:07"));
        QCOMPARE(b.label("info_fwy")->text(), QString("服务人员：小王"));
        QCOMPARE(b.label("info_price")->text(), QString("订单金额：37.50"));
        QCOMPARE(b.label("info_ordid")->text(), QString("单号："));

        // Another tile: the first goes back to its status colour.
        Board::click(b.tile("3"));
        QCOMPARE(colour(b.tile("2")), QString("#FF8888"));
        QCOMPARE(b.ctx.desk_id, QString("3"));
        QCOMPARE(b.lines()->topLevelItemCount(), 0);
        Board::click(b.tile("2"));
        QCOMPARE(b.lines()->topLevelItemCount(), 2);

        // The second click deselects; the header keeps its texts.
        Board::click(b.tile("2"));
        QCOMPARE(b.ctx.desk_id, QString());
        QCOMPARE(b.ctx.desk_bh, QString());
        QCOMPARE(colour(b.tile("2")), QString("#FF8888"));
        QCOMPARE(b.lines()->topLevelItemCount(), 0);
        QCOMPARE(b.label("info_bh")->text(), QString("桌位编号：02"));

        // After a rebuild the current table stays set but unhighlighted; a click
        // on it selects it again instead of deselecting.
        Board::click(b.tile("2"));
        b.main()->load_desk();
        QCOMPARE(b.ctx.desk_id, QString("2"));
        QCOMPARE(colour(b.tile("2")), QString("#FF8888"));
        Board::click(b.tile("2"));
        QCOMPARE(b.ctx.desk_id, QString("2"));
        QCOMPARE(colour(b.tile("2")), QString("#F579FF"));
    }

    void tileTextsAndAmountColour()
    {
        Board b;
        add_desks(b, 3);
        b.exec("UPDATE lumo_desk set stat=3,nums=4,cname='大厅',addtime=1709647629 where id=1");
        b.exec("UPDATE lumo_desk set price=0 where id=2");
        b.show();
        QCOMPARE(b.tile_label(1, "1")->text(), QString("4人"));
        QCOMPARE(b.tile_label(2, "1")->text(), QString("大厅"));
        QCOMPARE(b.tile_label(3, "1")->text(), QString("2024-03-05 14:07"));
        QCOMPARE(b.tile_label(4, "1")->text(), QString("预订"));
        QCOMPARE(b.tile_label(3, "2")->text(), QString());
        QCOMPARE(colour(b.tile("1")), QString("#CCCCCC"));
        QCOMPARE(colour(b.tile("2")), QString("#CCFFCC"));

        const auto amount = [&](const QString &id) {
            return b.tile_label(5, id)->palette().color(QPalette::WindowText).name().toUpper();
        };
        QCOMPARE(b.tile_label(5, "1")->text(), QString("桌01￥0.0"));
        QCOMPARE(amount("1"), QString("#008000")); // "0.0": never had an order
        QCOMPARE(b.tile_label(5, "2")->text(), QString("桌02￥0"));
        QCOMPARE(amount("2"), QString("#000000"));

        // A refresh changes texts, never the colours.
        b.exec("UPDATE lumo_desk set price=0,stat=1 where id=1");
        b.main()->set_desk_sub("1");
        QCOMPARE(b.tile_label(5, "1")->text(), QString("桌01￥0"));
        QCOMPARE(b.tile_label(4, "1")->text(), QString("开台"));
        QCOMPARE(amount("1"), QString("#008000"));
        QCOMPARE(colour(b.tile("1")), QString("#CCCCCC"));
        b.main()->set_desk_price("1", " 12.00 ");
        QCOMPARE(b.tile_label(5, "1")->text(), QString("桌01￥12.00"));
        b.main()->reload_board();
        QCOMPARE(amount("1"), QString("#000000"));
        QCOMPARE(colour(b.tile("1")), QString("#FF8888"));
    }

    void summaryBar()
    {
        Board b;
        add_desks(b, 4);
        b.exec("UPDATE lumo_desk set stat=1,nums=3,price='20.50' where id=1");
        b.exec("UPDATE lumo_desk set stat=3,nums=2 where id=2");
        b.exec(QStringLiteral("INSERT INTO lumo_orders(title,iscal,tid,price,paytime) "
                              "VALUES('o',1,0,100,%1)")
                   .arg(wall_ms(2024, 3, 5, 12, 0, 0) / 1000));
        b.show();
        QCOMPARE(b.label("sum_settled")->text(), QString("100.00"));
        QCOMPARE(b.label("sum_unsettled")->text(), QString("20.50"));
        QCOMPARE(b.label("sum_total")->text(), QString("120.50"));
        QCOMPARE(b.label("sum_people")->text(), QString("5"));
        QCOMPARE(b.button("count_all")->text(), QString("全部：4"));
        QCOMPARE(b.button("count_free")->text(), QString("空闲：2"));
        QCOMPARE(b.button("count_reserved")->text(), QString("预定：1"));
        QCOMPARE(b.button("count_busy")->text(), QString("占用：2"));
        QVERIFY(b.button("count_clean")->isHidden());
        QCOMPARE(b.label("operator")->text(), QString("操作人员：admin"));
    }

    void synchronisationOnlyWithoutASelection()
    {
        Board b;
        add_desks(b, 2);
        b.ctx.settings.is_time_tb = 1;
        b.ctx.settings.time_tb = 1;
        b.show();
        QVERIFY(b.main()->sync_timer()->isActive());
        QCOMPARE(b.main()->sync_timer()->interval(), 1000);

        // Another counter writes an amount.
        b.exec("UPDATE lumo_desk set price='66.00',stat=1 where id=1");
        QTRY_COMPARE(b.tile_label(5, "1")->text(), QString("桌01￥66.00"));
        QCOMPARE(colour(b.tile("1")), QString("#CCFFCC")); // only the amount follows

        Board::click(b.tile("2"));
        b.exec("UPDATE lumo_desk set price='77.00' where id=1");
        b.main()->sync_tick();
        QCOMPARE(b.tile_label(5, "1")->text(), QString("桌01￥66.00"));
        Board::click(b.tile("2")); // deselect
        b.main()->sync_tick();
        QCOMPARE(b.tile_label(5, "1")->text(), QString("桌01￥77.00"));
    }

    void synchronisationInterval_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<int>("interval");
        QTest::newRow("3 s") << 3 << 3000;
        QTest::newRow("zero polls once a second") << 0 << 1000;
        QTest::newRow("negative polls once a second") << -5 << 1000;
    }
    void synchronisationInterval()
    {
        QFETCH(int, seconds);
        QFETCH(int, interval);
        Board b;
        b.ctx.settings.is_time_tb = 1;
        b.ctx.settings.time_tb = seconds;
        b.show();
        QVERIFY(b.main()->sync_timer()->isActive());
        QCOMPARE(b.main()->sync_timer()->interval(), interval);
    }

    void noSynchronisationUnlessConfigured()
    {
        Board b;
        b.show();
        QVERIFY(!b.main()->sync_timer()->isActive());
    }

    void entriesThatNeedATable_data()
    {
        QTest::addColumn<int>("id");
        for (int id : {11, 21, 31, 41, 42, 51, 54})
            QTest::newRow(qPrintable(QString::number(id))) << id;
    }
    void entriesThatNeedATable()
    {
        QFETCH(int, id);
        Board b;
        add_desks(b, 2);
        b.show();
        b.menu(id);
        QCOMPARE(b.toast(), QString("请选择一个桌号"));
        QVERIFY(b.prompts->confirms.isEmpty());
        const QList<QDialog *> open = b.main()->findChildren<QDialog *>();
        for (QDialog *d : open)
            QVERIFY2(!d->isVisible(), qPrintable(d->windowTitle()));
    }

    void entriesOpenTheirDialogs()
    {
        Board b;
        add_desks(b, 2);
        b.show();
        b.menu(52);
        QVERIFY(b.forms->orders->isVisible());
        b.menu(53);
        QVERIFY(b.forms->takings->isVisible());

        Board::click(b.tile("2"));
        b.menu(11);
        QVERIFY(b.forms->desk_zt->isVisible());
        b.menu(21);
        QVERIFY(b.forms->desk_zhuantai->isVisible());

        b.forms->cancel->userid = "15";
        b.menu(42);
        QVERIFY(b.forms->cancel->isVisible());
        QCOMPARE(b.forms->cancel->userid, QString());

        b.forms->chuda->myrootid = "99";
        b.menu(54);
        QVERIFY(b.forms->chuda->isVisible());
        QCOMPARE(b.forms->chuda->mydeskid, QString("2"));
        QCOMPARE(b.forms->chuda->mydekno, QString("02"));
        QCOMPARE(b.forms->chuda->myrootid, QString());

        b.prompts->queue(false);
        b.menu(51);
        QCOMPARE(b.prompts->confirms, QStringList{"确定要打印当前订单详情吗"});
    }

    void orderingNeedsAnOpenOrReservedTable_data()
    {
        QTest::addColumn<QString>("stat");
        QTest::addColumn<bool>("opens");
        QTest::newRow("free") << "0" << false;
        QTest::newRow("cleaning") << "5" << false;
        QTest::newRow("open") << "1" << true;
        QTest::newRow("reserved") << "3" << true;
    }
    void orderingNeedsAnOpenOrReservedTable()
    {
        QFETCH(QString, stat);
        QFETCH(bool, opens);
        Board b;
        add_desks(b, 1);
        b.exec("UPDATE lumo_desk set stat=" + stat);
        b.show();
        Board::click(b.tile("1"));
        b.menu(41);
        QCOMPARE(b.forms->diancan->isVisible(), opens);
        if (!opens) {
            QCOMPARE(b.toast(), QString("只有开台、预订状态，才可以点餐哟！"));
            return;
        }
        QCOMPARE(b.forms->diancan->size(), QSize(1440, 900));
    }

    void clearingFromTheMenu()
    {
        Board b;
        add_desks(b, 2);
        b.exec("UPDATE lumo_desk set stat=1,nums=4,price='0.0' where id=1");
        b.exec("UPDATE lumo_desk set stat=1,nums=2,price='12.00' where id=2");
        const QString empty = open_order(b, 1);
        add_line(b, open_order(b, 2), "米饭", "2", "1", "8"); // returned only
        b.show();
        QCOMPARE(b.button("count_busy")->text(), QString("占用：2"));

        Board::click(b.tile("2"));
        b.menu(31);
        QCOMPARE(b.prompts->confirms.last(), QString("确认要消台吗"));
        QCOMPARE(b.toast(), QString("此桌位有未结算的订单，请先结算订单再消台"));
        QCOMPARE(b.scalar("SELECT stat FROM lumo_desk where id=2"), QString("1"));

        Board::click(b.tile("1"));
        b.prompts->queue(false);
        b.menu(31);
        QCOMPARE(b.scalar("SELECT stat FROM lumo_desk where id=1"), QString("1"));

        b.menu(31);
        QCOMPARE(b.toast(), QString("消台成功"));
        QCOMPARE(b.scalar("SELECT stat||','||nums||','||price FROM lumo_desk where id=1"),
                 QString("0,0,0"));
        QCOMPARE(b.scalar("SELECT iscal FROM lumo_orders where id=" + empty), QString("0"));
        QCOMPARE(b.tile_label(4, "1")->text(), QString("空闲"));
        QCOMPARE(b.tile_label(5, "1")->text(), QString("桌01￥0"));
        QCOMPARE(b.button("count_busy")->text(), QString("占用：1"));
        QCOMPARE(b.label("sum_people")->text(), QString("2"));
    }

    void regionsArePlacedFromTheWindowSize()
    {
        Board b;
        b.show();
        const auto geometry = [&](const QString &name) {
            return b.main()->findChild<QWidget *>(name)->geometry();
        };
        QCOMPARE(geometry("menu_box"), QRect(0, 0, 1580, 60));
        QCOMPARE(geometry("desklist_class_box"), QRect(0, 58, 1580, 49));
        QCOMPARE(geometry("desklist_box"), QRect(0, 96, 1180, 1000 - 85 - 60 - 34));
        QCOMPARE(geometry("summary_box"), QRect(0, 96 + 821 - 2, 1180, 85));
        QCOMPARE(geometry("order_panel"), QRect(1160, 59, 420, 893));
        QCOMPARE(geometry("paging_box"), QRect(1160 - 214, 915 + 10, 209, 32));
        QCOMPARE(geometry("login_cover"), QRect(0, 58, 1600, 940));
        QCOMPARE(geometry("login_box"), QRect(600, 275, 400, 450));
        QCOMPARE(b.button("cn_next")->geometry(), QRect(109, 0, 100, 32));
        QCOMPARE(b.main()->findChild<QLabel *>("info_yj")->pos(), QPoint(14, 97));
        QCOMPARE(b.main()->findChild<QLabel *>("info_price")->pos(), QPoint(243, 97));
        // The line list ends with the panel so that its last rows can be scrolled to.
        QCOMPARE(b.lines()->geometry(), QRect(0, 117, 421, 893 - 117));
        QCOMPARE(b.lines()->columnWidth(1), 77);
    }

    // Thirty tables in three areas, some open with amounts, one selected: the board
    // as a cashier sees it. Set MIVO_SCREENSHOT_DIR to keep a picture of it.
    void boardWithThreeAreas()
    {
        Board b;
        b.exec("INSERT INTO lumo_desk_class(id,title,sort) VALUES(1,'大厅',1),(2,'包间',2),"
               "(3,'露台',3)");
        add_desks(b, 30, {"1", "1", "2", "3"});
        b.exec("UPDATE lumo_desk set cname=(SELECT title FROM lumo_desk_class "
               "WHERE lumo_desk_class.id=lumo_desk.cid)");
        const char *dishes[][3] = {{"乐山钵钵鸡", "58.8", "1"},
                                   {"鱼香肉丝", "27.8", "2"},
                                   {"酸辣土豆丝", "13.5", "1"},
                                   {"宫保鸡丁", "29.8", "1"},
                                   {"米饭", "2.0", "4"},
                                   {"青岛啤酒", "5.0", "6"},
                                   {"夫妻肺片", "38.8", "1"}};
        for (int d : {2, 5, 9, 14, 21, 26}) {
            const QString order = open_order(b, d);
            double total = 0;
            for (int k = 0; k < (d == 9 ? 7 : 3); ++k) {
                add_line(b, order, dishes[k][0], dishes[k][1], dishes[k][2], k == 5 ? "8" : "0");
                if (k != 5)
                    total += QString(dishes[k][1]).toDouble() * QString(dishes[k][2]).toDouble();
            }
            b.exec(QStringLiteral("UPDATE lumo_desk set stat=1,nums=%1,price='%2',fwy='小李',"
                                  "addtime=1709647629 where id=%3")
                       .arg(d % 5 + 2)
                       .arg(total, 0, 'f', 2)
                       .arg(d));
        }
        b.exec("UPDATE lumo_desk set stat=3,ydtruename='王先生',addtime=1709650000 where id=7");
        b.exec("UPDATE lumo_desk set stat=5 where id=12");
        b.exec("UPDATE lumo_orders_detail set zfidstr='微辣,少油' where title='鱼香肉丝'");
        b.main()->set_board_size(QSize(1920, 1080));
        b.main()->show();
        Board::click(b.tile("9"));

        QCOMPARE(b.shown().size(), 30);
        QCOMPARE(b.lines()->topLevelItemCount(), 7);
        QCOMPARE(b.lines()->topLevelItem(0)->text(1), QString("乐山钵钵鸡"));
        QCOMPARE(b.label("info_bh")->text(), QString("桌位编号：09"));
        QCOMPARE(colour(b.tile("9")), QString("#F579FF"));
        QCOMPARE(colour(b.tile("7")), QString("#CCCCCC"));
        QCOMPARE(colour(b.tile("12")), QString("#FFFFCA"));

        const QString dir = qEnvironmentVariable("MIVO_SCREENSHOT_DIR");
        if (!dir.isEmpty())
            QVERIFY(b.main()->grab().save(QDir(dir).filePath("board.png")));
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestBoardUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_board_ui.moc"
