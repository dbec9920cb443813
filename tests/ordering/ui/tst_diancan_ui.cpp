#include "ordering_fixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>

class TestDiancanUi : public QObject
{
    Q_OBJECT

private slots:
    void tilesAndSubmitTwice()
    {
        OrderingFixture f;
        f.dish(1, "宫保鸡丁", "gbjd", "28");
        f.dish(2, "酸梅汤", "smt", "6.5");
        f.open();
        QCOMPARE(f.label("label_bh")->text(), QString("桌号：A1"));

        DishTile *a = f.tile(1);
        QVERIFY(a);
        QCOMPARE(a->recordText(), QString("1@@@0@@@1@@@1@@@99@@@@@@@@@宫保鸡丁@@@28@@@gbjd@@@"));
        QCOMPARE(a->colour(), QColor(204, 255, 204));
        QCOMPARE(a->geometry(), QRect(6, 4, 120, 60));
        QCOMPARE(f.tile(2)->pos(), QPoint(134, 4));
        QCOMPARE(a->titleText(), QString("宫保鸡丁"));
        QCOMPARE(a->priceText(), QString("28.00"));
        QCOMPARE(f.tile(2)->priceText(), QString("6.50"));
        QCOMPARE(a->findChild<QLabel *>("caipin_static3_1")->text(), QString("1"));
        QCOMPARE(a->findChild<QLabel *>("caipin_static4_1")->text(), QString());
        QCOMPARE(a->findChild<QLabel *>("box_bz_1")->y(), -50);

        f.clickTile(1);
        QCOMPARE(a->colour(), QColor(245, 121, 255));
        QCOMPARE(a->record().selected, QString("1"));
        QCOMPARE(f.screen->current_dish(), QString("1"));

        // Quantity 2 through the methods dialog.
        f.press("数量");
        QVERIFY(f.zuofa->isVisible());
        QCOMPARE(f.zuofa->findChild<QLabel *>("label_caipin")->text(),
                 QString("菜品名称：宫保鸡丁"));
        QCOMPARE(f.zuofa->findChild<QLabel *>("label_bh")->text(), QString("桌号：A1"));
        auto *qty = f.zuofa->findChild<QLineEdit *>("edit_quantity");
        QCOMPARE(qty->text(), QString("1"));
        GuiProgram::click(f.zuofa->findChild<QWidget *>("image_plus"));
        QCOMPARE(qty->text(), QString("2"));
        GuiProgram::click(OrderingFixture::button(f.zuofa, "确定设置"));
        QVERIFY(!f.zuofa->isVisible());
        QCOMPARE(a->findChild<QLabel *>("caipin_static3_1")->text(), QString("2"));

        f.press("一键批量落单");
        QCOMPARE(f.p.prompts->confirms, QStringList{"确认要批量添加菜品吗"});
        QCOMPARE(f.lines(), QStringList{"1|2||||0"});
        QCOMPARE(f.list()->rowCount(), 1);
        QCOMPARE(f.list()->item(0, 6)->text(), QString("56.00"));
        QCOMPARE(f.p.scalar("SELECT price FROM lumo_desk"), QString("56.00"));

        // The tiles keep their choices: a second submit writes the same line again.
        f.press("一键批量落单");
        QCOMPARE(f.p.prompts->confirms.size(), 2);
        QCOMPARE(f.lines(), QStringList{"1|2||||0"});
        QCOMPARE(f.p.scalar("SELECT price FROM lumo_desk"), QString("56.00"));
    }

    void choicesSurviveToggleAndReopeningClears()
    {
        OrderingFixture f;
        f.dish(1, "宫保鸡丁", "gbjd", "28");
        f.dish(2, "酸梅汤", "smt", "6");
        f.method(1, 1, "微辣");
        f.method(2, 2, "冰");
        f.method(3, 1, "加蛋");
        f.open();
        f.clickTile(1);
        f.press("做法");
        QGroupBox *group = f.zuofa->findChild<QGroupBox *>("group_zuofa");
        QCOMPARE(group->title(), QString("菜品做法"));
        const QList<QCheckBox *> boxes = group->findChildren<QCheckBox *>();
        QCOMPARE(boxes.size(), 2);
        QCOMPARE(boxes[0]->text(), QString("微辣"));
        QCOMPARE(boxes[1]->text(), QString("加蛋"));
        // Clicked in reverse order, written in list order.
        GuiProgram::click(boxes[1]);
        GuiProgram::click(boxes[0]);
        GuiProgram::click(f.zuofa->findChild<QWidget *>("image_plus"));
        OrderingFixture::keys(f.zuofa->findChild<QLineEdit *>("edit_remark"), " 少'油 ");
        GuiProgram::click(OrderingFixture::button(f.zuofa, "确定设置"));

        DishTile *a = f.tile(1);
        QCOMPARE(a->recordText(),
                 QString("1@@@1@@@2@@@1@@@99@@@1,3@@@微辣,加蛋@@@宫保鸡丁@@@28@@@gbjd@@@少油"));
        QCOMPARE(a->findChild<QLabel *>("caipin_static4_1")->text(), QString("微辣,加蛋"));
        QCOMPARE(a->findChild<QLabel *>("box_bz_1")->y(), -3);

        // Off and on again: the choices stay and are submitted.
        f.clickTile(1);
        QCOMPARE(a->colour(), QColor(204, 255, 204));
        QCOMPARE(f.screen->current_dish(), QString());
        QCOMPARE(a->record().zfid, QString("1,3"));
        f.clickTile(1);
        f.press("一键批量落单");
        QCOMPARE(f.lines(), QStringList{"1|2|1,3|微辣,加蛋|少油|0"});

        // Reopening the dialog shows what was saved.
        f.press("备注");
        const QList<QCheckBox *> again
            = f.zuofa->findChild<QGroupBox *>("group_zuofa")->findChildren<QCheckBox *>();
        QVERIFY(again[0]->isChecked() && again[1]->isChecked());
        QCOMPARE(f.zuofa->findChild<QLineEdit *>("edit_quantity")->text(), QString("2"));
        QCOMPARE(f.zuofa->findChild<QLineEdit *>("edit_remark")->text(), QString("少油"));

        // A new showing of the screen clears every choice but keeps the keyword; the
        // methods dialog left open goes with the choices it showed.
        OrderingFixture::keys(f.screen->findChild<QLineEdit *>("edit_keyword"), "gb");
        f.screen->hide();
        f.open();
        QVERIFY(!f.zuofa->isVisible());
        QCOMPARE(a->recordText(), QString("1@@@0@@@1@@@1@@@99@@@@@@@@@宫保鸡丁@@@28@@@gbjd@@@"));
        QCOMPARE(a->colour(), QColor(204, 255, 204));
        QCOMPARE(a->findChild<QLabel *>("caipin_static3_1")->text(), QString("1"));
        QCOMPARE(a->findChild<QLabel *>("caipin_static4_1")->text(), QString());
        QCOMPARE(a->findChild<QLabel *>("box_bz_1")->y(), -50);
        QCOMPARE(f.screen->findChild<QLineEdit *>("edit_keyword")->text(), QString("gb"));
        QCOMPARE(f.shownTiles(), QStringList{"1"});
        QCOMPARE(f.list()->rowCount(), 1);

        // Likewise when the open screen is shown for another table: the dialog's
        // "桌号：A1" and choices would otherwise go to the other table's submit.
        f.clickTile(1);
        f.press("数量");
        QVERIFY(f.zuofa->isVisible());
        f.p.exec("INSERT INTO lumo_desk(title,bh,stat) VALUES('大厅','A2',1)");
        f.screen->open_with(f.p.scalar("SELECT max(id) FROM lumo_desk"), QString());
        QVERIFY(!f.zuofa->isVisible());
        QCOMPARE(f.label("label_bh")->text(), QString("桌号：A2"));
    }

    // A tile shows one dish at a time; the choices belong to the dish, wherever the
    // page or the keyword takes it, and the submit takes dishes that are not shown.
    void choicesFollowTheDishOffThePage()
    {
        OrderingFixture f;
        for (int i = 1; i <= 40; ++i)
            f.dish(i, QString("菜%1").arg(i), "c", "10");
        f.method(1, 1, "微辣");
        f.open();
        QCOMPARE(f.screen->page_size(), 32);
        f.clickTile(1);
        f.press("做法");
        GuiProgram::click(f.zuofa->findChild<QGroupBox *>("group_zuofa")->findChild<QCheckBox *>());
        OrderingFixture::keys(f.zuofa->findChild<QLineEdit *>("edit_remark"), "少油");
        GuiProgram::click(OrderingFixture::button(f.zuofa, "确定设置"));

        // The next page's first dish stands where dish 1 stood, with nothing of its choices.
        f.press("下一页");
        QCOMPARE(f.shownTiles().first(), QString("33"));
        QVERIFY(!f.tile(1));
        DishTile *t = f.tile(33);
        QCOMPARE(t->pos(), QPoint(6, 4));
        QCOMPARE(t->record().selected, QString("0"));
        QCOMPARE(t->colour(), DishTile::Normal);
        QCOMPARE(t->titleText(), QString("菜33"));
        QCOMPARE(t->findChild<QLabel *>("caipin_static3_33")->text(), QString("1"));
        QCOMPARE(t->findChild<QLabel *>("caipin_static4_33")->text(), QString());
        QCOMPARE(t->findChild<QLabel *>("box_bz_33")->y(), DishTile::MarkerHidden);
        const QRegularExpression dishOne("^(box_caipin|caipin_static3|caipin_static4|box_bz)_1$");
        QCOMPARE(f.screen->findChildren<QWidget *>(dishOne).size(), 0);

        // The methods dialog opened for dish 1 before paging still acts on dish 1.
        f.screen->apply_choices("1", "3", "1", "微辣", "少油");
        f.clickTile(33);

        // Back by keyword: dish 1 shows its choices again.
        OrderingFixture::keys(f.screen->findChild<QLineEdit *>("edit_keyword"), "菜1");
        DishTile *one = f.tile(1);
        QCOMPARE(one->colour(), DishTile::Selected);
        QCOMPARE(one->findChild<QLabel *>("caipin_static3_1")->text(), QString("3"));
        QCOMPARE(one->findChild<QLabel *>("caipin_static4_1")->text(), QString("微辣"));
        QCOMPARE(one->findChild<QLabel *>("box_bz_1")->y(), DishTile::MarkerShown);
        QVERIFY(!f.tile(33));

        f.press("一键批量落单");
        QCOMPARE(f.lines(), (QStringList{"1|3|1|微辣|少油|0", "33|1||||0"}));
    }

    void methodsDialogEdges()
    {
        OrderingFixture f;
        f.dish(1, "米饭", "mf", "2");
        f.dish(2, "宫保鸡丁", "gbjd", "28");
        f.method(1, 2, "微辣");
        f.open();

        // No current dish: nothing to set.
        f.press("做法");
        QCOMPARE(f.zuofa->findChild<QLabel *>("label_caipin")->text(), QString("菜品名称：------"));
        GuiProgram::click(OrderingFixture::button(f.zuofa, "确定设置"));
        QCOMPARE(f.toast(), QString("请选择一个菜品设置"));
        QVERIFY(f.zuofa->isVisible());
        f.zuofa->hide();

        // Methods of another dish are gone from the group.
        f.clickTile(2);
        f.press("做法");
        QCOMPARE(f.zuofa->findChild<QGroupBox *>("group_zuofa")->findChildren<QCheckBox *>().size(),
                 1);
        f.zuofa->hide();

        // Minus never goes below 1; a quantity that is no whole number from 1 to 9999
        // is refused and the dialog stays open.
        f.clickTile(1);
        f.press("数量");
        QCOMPARE(f.zuofa->findChild<QGroupBox *>("group_zuofa")->findChildren<QCheckBox *>().size(),
                 0);
        auto *qty = f.zuofa->findChild<QLineEdit *>("edit_quantity");
        QWidget *minus = f.zuofa->findChild<QWidget *>("image_minus");
        GuiProgram::click(minus);
        QCOMPARE(qty->text(), QString("1"));
        GuiProgram::click(f.zuofa->findChild<QWidget *>("image_plus"));
        GuiProgram::click(f.zuofa->findChild<QWidget *>("image_plus"));
        GuiProgram::click(minus);
        QCOMPARE(qty->text(), QString("2"));
        OrderingFixture::keys(f.zuofa->findChild<QLineEdit *>("edit_remark"), "打包");
        for (const char *typed : {"0", "1.5", "10000", "-2"}) {
            OrderingFixture::type(qty, typed);
            QCOMPARE(qty->text(), QString(typed));
            GuiProgram::click(OrderingFixture::button(f.zuofa, "确定设置"));
            QCOMPARE(f.toast(), QString("数量请输入1到9999的整数"));
            QVERIFY(f.zuofa->isVisible());
            QCOMPARE(f.tile(1)->record().quantity, QString("1"));
            QCOMPARE(f.tile(1)->record().remark, QString());
        }
        OrderingFixture::type(qty, "3");
        GuiProgram::click(OrderingFixture::button(f.zuofa, "确定设置"));
        QVERIFY(!f.zuofa->isVisible());
        QCOMPARE(f.tile(1)->record().quantity, QString("3"));
        QCOMPARE(f.tile(1)->findChild<QLabel *>("box_bz_1")->y(), -3);

        // Emptying the remark hides the marker again.
        f.press("备注");
        f.zuofa->findChild<QLineEdit *>("edit_remark")->clear();
        GuiProgram::click(OrderingFixture::button(f.zuofa, "确定设置"));
        QCOMPARE(f.tile(1)->record().remark, QString());
        QCOMPARE(f.tile(1)->findChild<QLabel *>("box_bz_1")->y(), -50);
    }

    void keyword_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("gb in codes") << "gb" << QStringList{"1"};
        QTest::newRow("GB in codes") << "GB" << QStringList{"2"};
        QTest::newRow("title") << "鸡" << QStringList{"1", "3"};
        QTest::newRow("digit searches titles") << "g1" << QStringList{"4"};
        QTest::newRow("trimmed") << " gb " << QStringList{"1"};
        QTest::newRow("no match") << "zz" << QStringList{};
    }

    void keyword()
    {
        QFETCH(QString, keyword);
        QFETCH(QStringList, shown);
        OrderingFixture f;
        f.dish(1, "宫保鸡丁", "gbjd", "28");
        f.dish(2, "干煸豆角", "GBDJ", "22");
        f.dish(3, "鸡蛋汤", "jdt", "12");
        f.dish(4, "g1套餐", "gtc", "38");
        f.dish(5, "可乐", "kl", "5", 2);
        f.open();
        QCOMPARE(f.shownTiles(), (QStringList{"1", "2", "3", "4", "5"}));
        OrderingFixture::keys(f.screen->findChild<QLineEdit *>("edit_keyword"), keyword);
        QCOMPARE(f.shownTiles(), shown);
        // The shown tiles close ranks from the first place.
        if (!shown.isEmpty())
            QCOMPARE(f.tile(shown.first().toInt())->pos(), QPoint(6, 4));
        f.press("清空");
        QCOMPARE(f.screen->findChild<QLineEdit *>("edit_keyword")->text(), QString());
        QCOMPARE(f.shownTiles().size(), 5);
    }

    void pagingAndCategories()
    {
        OrderingFixture f;
        f.category(1, "热菜", 2);
        f.category(2, "凉菜", 1);
        f.category(3, "酒水", 3);
        for (int i = 1; i <= 100; ++i)
            f.dish(i, QString("菜%1").arg(i), "c", "10", i <= 50 ? 1 : 2);
        f.open();
        QCOMPARE(f.screen->columns(), 4);

        // The strip: all dishes first, then the categories by sort.
        QStringList strip;
        for (ClickFrame *box :
             f.screen->findChildren<ClickFrame *>(QRegularExpression("^box_caipin_class_")))
            strip << QString("%1@%2").arg(box->objectName().mid(17)).arg(box->x());
        QCOMPARE(strip, (QStringList{"0@0", "2@79", "1@158", "3@237"}));
        QCOMPARE(f.screen->findChild<ClickFrame *>("box_caipin_class_0")->colour(),
                 QColor(245, 121, 255));

        QAbstractButton *prev = f.button("上一页");
        QAbstractButton *next = f.button("下一页");
        // Four columns of eight rows fit, fewer than the 81 of the setting: a page
        // holds the 32 that can be seen.
        QCOMPARE(f.screen->page_size(), 32);
        QCOMPARE(f.shownTiles().size(), 32);
        QVERIFY(!prev->isEnabled());
        QVERIFY(next->isEnabled());

        for (int page = 2; page <= 4; ++page)
            f.press("下一页");
        QCOMPARE(f.shownTiles(), (QStringList{"97", "98", "99", "100"}));
        QCOMPARE(f.screen->page(), 4);
        QCOMPARE(f.screen->page_count(), 4);
        QCOMPARE(f.tile(97)->pos(), QPoint(6, 4));
        QCOMPARE(f.tile(100)->pos(), QPoint(6 + 3 * 128, 4));
        QVERIFY(prev->isEnabled());
        QVERIFY(!next->isEnabled());
        f.press("下一页");
        QCOMPARE(f.screen->page(), 4);

        // An empty category hides every tile and leaves the page buttons alone.
        GuiProgram::click(f.screen->findChild<ClickFrame *>("box_caipin_class_3"));
        QCOMPARE(f.shownTiles(), QStringList());
        QVERIFY(prev->isEnabled());
        QVERIFY(!next->isEnabled());
        QCOMPARE(f.screen->findChild<ClickFrame *>("box_caipin_class_3")->colour(),
                 QColor(245, 121, 255));
        QCOMPARE(f.screen->findChild<ClickFrame *>("box_caipin_class_0")->colour(),
                 QColor(240, 240, 240));

        // A category's title passes the click to its box.
        GuiProgram::click(
            f.screen->findChild<ClickFrame *>("box_caipin_class_2")->findChild<QLabel *>());
        QCOMPARE(f.shownTiles().size(), 32);
        QCOMPARE(f.shownTiles().first(), QString("51"));
        QVERIFY(!prev->isEnabled());
        QVERIFY(next->isEnabled());

        GuiProgram::click(f.screen->findChild<ClickFrame *>("box_caipin_class_0"));
        QCOMPARE(f.shownTiles().size(), 32);
    }

    // The master-data screens ask for rebuilds after they save.
    void rebuilds()
    {
        OrderingFixture f;
        f.category(1, "热菜", 1);
        f.category(2, "酒水", 2);
        f.dish(1, "宫保鸡丁", "gbjd", "28");
        f.dish(2, "可乐", "kl", "5", 2);
        f.open();
        f.clickTile(1);
        f.clickTile(2);

        // A saved dish gets its tile at once, laid out; the choices are gone.
        f.dish(3, "米饭", "mf", "2");
        f.p.exec("DELETE FROM lumo_caipin WHERE id=2");
        f.screen->load_caipin();
        QCOMPARE(f.shownTiles(), (QStringList{"1", "3"}));
        QCOMPARE(f.tile(3)->pos(), QPoint(134, 4));
        QCOMPARE(f.tile(1)->record().selected, QString("0"));
        // The dish selected last has no tile any more: nothing to set.
        QCOMPARE(f.screen->current_dish(), QString("2"));
        f.press("做法");
        GuiProgram::click(OrderingFixture::button(f.zuofa, "确定设置"));
        QCOMPARE(f.toast(), QString("请选择一个菜品设置"));
        f.zuofa->hide();

        // The current category is gone from the strip: the dishes are no longer filtered by it.
        GuiProgram::click(f.screen->findChild<ClickFrame *>("box_caipin_class_2"));
        QCOMPARE(f.shownTiles(), QStringList());
        f.p.exec("DELETE FROM lumo_caipin_class WHERE id=2");
        f.screen->load_caipin_class();
        QVERIFY(!f.screen->findChild<ClickFrame *>("box_caipin_class_2"));
        QCOMPARE(f.screen->findChild<ClickFrame *>("box_caipin_class_0")->colour(),
                 QColor(245, 121, 255));
        QCOMPARE(f.shownTiles(), (QStringList{"1", "3"}));
        QCOMPARE(f.screen->findChild<ClickFrame *>("box_caipin_class_1")->colour(),
                 QColor(240, 240, 240));

        // A category that stays keeps its highlight through a rebuild.
        GuiProgram::click(f.screen->findChild<ClickFrame *>("box_caipin_class_1"));
        f.screen->load_caipin_class();
        QCOMPARE(f.screen->findChild<ClickFrame *>("box_caipin_class_1")->colour(),
                 QColor(245, 121, 255));
        QCOMPARE(f.screen->findChild<ClickFrame *>("box_caipin_class_0")->colour(),
                 QColor(240, 240, 240));
    }

    void submitRefusals()
    {
        OrderingFixture f;
        f.dish(1, "宫保鸡丁", "gbjd", "28");
        f.open();
        f.press("一键批量落单");
        QCOMPARE(f.toast(), QString("请选择至少一个菜品"));
        QVERIFY(f.p.prompts->confirms.isEmpty());
        QCOMPARE(f.lines(), QStringList());

        // Another counter clears the table while the screen is open.
        f.clickTile(1);
        f.p.exec("UPDATE lumo_desk SET stat=0");
        f.press("一键批量落单");
        QCOMPARE(f.p.prompts->infos, QStringList{"此桌位状态不能点单"});
        QVERIFY(f.p.prompts->confirms.isEmpty());
        QCOMPARE(f.lines(), QStringList());

        // Enter in the keyword edit searches; it submits nothing.
        f.p.exec("UPDATE lumo_desk SET stat=1");
        auto *edit = f.screen->findChild<QLineEdit *>("edit_keyword");
        OrderingFixture::keys(edit, "gb");
        QTest::keyClick(edit, Qt::Key_Return);
        QVERIFY(f.screen->isVisible());
        QVERIFY(f.p.prompts->confirms.isEmpty());
        QCOMPARE(f.shownTiles(), QStringList{"1"});

        // Cancelling the confirmation writes nothing.
        f.p.exec("UPDATE lumo_desk SET stat=3");
        f.p.prompts->queue(false);
        f.press("一键批量落单");
        QCOMPARE(f.p.prompts->confirms, QStringList{"确认要批量添加菜品吗"});
        QCOMPARE(f.lines(), QStringList());
    }

    void batchButtons_data()
    {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("question");
        QTest::addColumn<QString>("done");
        QTest::addColumn<QStringList>("after");

        QTest::newRow("return") << "退菜"
                                << "确认要将这些菜品退掉吗"
                                << "退菜成功" << QStringList{"1|1||||0", "2|1||||8", "3|1||||8"};
        QTest::newRow("ordered") << "设置为下单"
                                 << "确认要将这些菜品设置为下单状态吗"
                                 << "设置为下单状态成功"
                                 << QStringList{"1|1||||0", "2|1||||0", "3|1||||0"};
        QTest::newRow("served") << "设置为已出餐"
                                << "确认要将这些菜品设置为已出餐吗"
                                << "设置为已出餐成功"
                                << QStringList{"1|1||||0", "2|1||||3", "3|1||||3"};
        QTest::newRow("delete") << "批量删除"
                                << "确定要删除这些菜品吗，删除后不可恢复"
                                << "批量成功" << QStringList{"1|1||||0"};
    }

    void batchButtons()
    {
        QFETCH(QString, caption);
        QFETCH(QString, question);
        QFETCH(QString, done);
        QFETCH(QStringList, after);

        OrderingFixture f;
        for (int i = 1; i <= 3; ++i)
            f.dish(i, QString("菜%1").arg(i), "c", "10");
        f.open();
        for (int i = 1; i <= 3; ++i)
            f.clickTile(i);
        f.press("一键批量落单");
        f.p.exec("UPDATE lumo_orders_detail SET stat=8 WHERE caipinid=3");
        f.screen->load_desk_ord_1();
        QCOMPARE(f.list()->rowCount(), 3);

        f.press(caption);
        QCOMPARE(f.toast(), QString("请至少选中一项操作"));

        auto *all = f.screen->findChild<QCheckBox *>("check_all");
        f.checkRow(1);
        QVERIFY(!all->isChecked());
        f.checkRow(2);
        f.checkRow(0);
        QVERIFY(all->isChecked());
        f.checkRow(0);
        QVERIFY(!all->isChecked());

        f.p.prompts->queue(false);
        f.press(caption);
        QCOMPARE(f.lines().size(), 3);
        QCOMPARE(f.lines()[1], QString("2|1||||0"));

        f.press(caption);
        QCOMPARE(f.p.prompts->confirms, (QStringList{"确认要批量添加菜品吗", question, question}));
        QCOMPARE(f.toast(), done);
        QCOMPARE(f.lines(), after);
        QCOMPARE(f.list()->rowCount(), after.size());
        // The live lines make the table's total.
        const double live = 10.0 * after.filter(QRegularExpression("\\|[0-7]$")).size();
        QCOMPARE(f.p.scalar("SELECT price FROM lumo_desk"), QString::asprintf("%.2f", live));
    }

    void lineListAndSelectAll()
    {
        OrderingFixture f;
        for (int i = 1; i <= 3; ++i)
            f.dish(i, QString("菜%1").arg(i), "c", "12.5");
        f.open();
        for (int i = 1; i <= 3; ++i)
            f.clickTile(i);
        f.press("一键批量落单");
        f.p.exec("UPDATE lumo_orders_detail SET stat=8 WHERE caipinid=2");
        f.screen->load_desk_ord_1();

        QTableWidget *t = f.list();
        QStringList headers;
        for (int c = 0; c < t->columnCount(); ++c)
            headers << t->horizontalHeaderItem(c)->text();
        QCOMPARE(
            headers,
            (QStringList{"行号", "id", "菜品", "做法", "单价", "数量", "金额", "状态", "备注"}));
        QVERIFY(t->isColumnHidden(1));
        QCOMPARE(t->rowHeight(0), 28);
        QCOMPARE(t->height(), 720 - 87);
        QCOMPARE(t->item(1, 0)->text(), QString("02"));
        QCOMPARE(t->item(1, 4)->text(), QString("12.50"));
        QCOMPARE(t->item(1, 7)->text(), QString("已退菜"));
        // A returned line: grey and struck out up to its unit price, plain after it.
        for (int c = 0; c < t->columnCount(); ++c) {
            const bool marked = c <= 4;
            QCOMPARE(t->item(1, c)->font().strikeOut(), marked);
            QCOMPARE(t->item(1, c)->foreground().color() == QColor(153, 153, 153), marked);
            QVERIFY(!t->item(0, c)->font().strikeOut());
        }

        auto *all = f.screen->findChild<QCheckBox *>("check_all");
        GuiProgram::click(all);
        for (int r = 0; r < 3; ++r)
            QCOMPARE(t->item(r, 0)->checkState(), Qt::Checked);
        GuiProgram::click(all);
        for (int r = 0; r < 3; ++r)
            QCOMPARE(t->item(r, 0)->checkState(), Qt::Unchecked);

        // Opened without a table, there is no line to check.
        f.screen->open_with(QString(), QString());
        QCOMPARE(t->rowCount(), 0);
        GuiProgram::click(all);
        QCOMPARE(t->rowCount(), 0);
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestDiancanUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_diancan_ui.moc"
