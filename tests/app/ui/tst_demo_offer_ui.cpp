#include "app/demo_data.h"
#include "board/ui/desk_tile.h"
#include "board/ui/tform_main.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

const QString Offer = "系统检测到，您还没有添加基础数据，是否添加体验数据，体验后体验数据可删除";
const QString DeleteQuestion = "确认要删除体验数据吗？删除体验数据后将不可恢复";

// Ids of the menu entries shown.
QList<int> entries(TForm_main *main)
{
    QList<int> ids;
    for (QFrame *f :
         main->findChild<QFrame *>("menu_box")->findChildren<QFrame *>(Qt::FindDirectChildrenOnly))
        ids << f->objectName().mid(9).toInt();
    std::sort(ids.begin(), ids.end());
    return ids;
}

int visibleTiles(TForm_main *main)
{
    int n = 0;
    for (QWidget *w : main->findChildren<QWidget *>(QRegularExpression("^desklist_groupbox_\\d+$")))
        n += w->isVisibleTo(main) ? 1 : 0;
    return n;
}

void show(GuiProgram &p)
{
    p.forms->main->set_board_size(QSize(1600, 1000));
    p.forms->main->show();
}

} // namespace

class TestDemoOfferUi : public QObject
{
    Q_OBJECT

private slots:
    void acceptedOnEmptyDatabase()
    {
        GuiProgram p;
        p.prompts->queue(true);
        show(p);
        QCOMPARE(p.prompts->confirms, QStringList{Offer});
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_desk WHERE istest=1"), QString("20"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_caipin WHERE istest=1"), QString("22"));
        QVERIFY(entries(p.forms->main).contains(114));
        QCOMPARE(visibleTiles(p.forms->main), 20);
        QCOMPARE(p.forms->main->findChild<QPushButton *>("count_all")->text(), QString("全部：20"));
        QCOMPARE(p.forms->main->findChild<QPushButton *>("count_free")->text(),
                 QString("空闲：20"));
    }

    void declinedLeavesEverythingEmpty()
    {
        GuiProgram p;
        p.prompts->queue(false);
        show(p);
        QCOMPARE(p.prompts->confirms, QStringList{Offer});
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_desk"), QString("0"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_caipin"), QString("0"));
        QVERIFY(!entries(p.forms->main).contains(114));
    }

    void deleteEntryRemovesDemonstrationRowsAndTheNextStartOffersAgain()
    {
        GuiProgram p;
        p.prompts->queue(true);
        show(p);
        p.exec("INSERT INTO lumo_caipin(title,price) VALUES('自制酸奶','8')");
        // A party still seated at demonstration table 01, and one that paid there.
        p.exec("INSERT INTO lumo_orders(title,deskid,iscal,stat) VALUES('open',1,0,1)");
        p.exec("INSERT INTO lumo_orders_detail(title,rootid,deskid,oneprice,quantity) "
               "VALUES('米饭',(SELECT max(id) FROM lumo_orders),1,2,1)");
        p.exec("INSERT INTO lumo_orders(title,deskid,iscal,stat) VALUES('paid',1,1,9)");

        p.prompts->queue(false); // cancel first: nothing happens
        GuiProgram::click(p.forms->main->findChild<QLabel *>("menu_label_114"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_desk"), QString("20"));

        p.prompts->queue(true);
        GuiProgram::click(p.forms->main->findChild<QLabel *>("menu_label_114"));
        QCOMPARE(p.prompts->confirms.mid(1), (QStringList{DeleteQuestion, DeleteQuestion}));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_desk"), QString("0"));
        QCOMPARE(p.scalar("SELECT group_concat(title) FROM lumo_caipin"), QString("自制酸奶"));
        // No bill is left behind for the next table 01; the paid one stays as history.
        QCOMPARE(p.scalar("SELECT group_concat(title) FROM lumo_orders"), QString("paid"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders_detail"), QString("0"));
        QTRY_VERIFY(!entries(p.forms->main).contains(114));
        QCOMPARE(visibleTiles(p.forms->main), 0);
        QCOMPARE(p.forms->main->findChild<QPushButton *>("count_all")->text(), QString("全部：0"));

        // The next start in the same folder offers again; its tables come, the own dish stays
        // alone.
        p.forms.reset();
        p.prompts->confirms.clear();
        p.prompts->queue(true);
        p.forms = create_forms(p.ctx, p.dir.path());
        show(p);
        QCOMPARE(p.prompts->confirms, QStringList{Offer});
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_desk"), QString("20"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_caipin"), QString("1"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders WHERE iscal=0"), QString("0"));
    }

    void deleteForgetsADeletedCurrentTable_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<QString>("current"); // the current table afterwards
        QTest::addColumn<QString>("info");    // the order panel's table number
        QTest::newRow("demonstration table") << "3"
                                             << ""
                                             << "桌位编号：";
        QTest::newRow("own table") << "21"
                                   << "21"
                                   << "桌位编号：A1";
    }

    void deleteForgetsADeletedCurrentTable()
    {
        QFETCH(QString, selected);
        QFETCH(QString, current);
        QFETCH(QString, info);
        GuiProgram p;
        p.prompts->queue(true);
        show(p);
        p.exec("INSERT INTO lumo_desk(id,title,bh,sort) VALUES(21,'大厅','A1',21)");
        p.forms->main->reload_board();
        GuiProgram::click(p.forms->main->findChild<QWidget *>("desklist_groupbox_" + selected));
        QCOMPARE(p.ctx.desk_id, selected);

        p.prompts->queue(true);
        GuiProgram::click(p.forms->main->findChild<QLabel *>("menu_label_114"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_desk"), QString("1"));
        // No operation may go on acting on a table that is gone.
        QCOMPARE(p.ctx.desk_id, current);
        QCOMPARE(p.forms->main->findChild<QLabel *>("info_bh")->text(), info);
        if (!current.isEmpty()) {
            auto *tile = p.forms->main->findChild<DeskTile *>("desklist_groupbox_" + current);
            QVERIFY(tile && tile->selected());
        }
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestDemoOfferUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_demo_offer_ui.moc"
