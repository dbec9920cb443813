#include "masterdata_fixture.h"
#include "ordering/ui/dish_tile.h"
#include "ordering/ui/tform_caipin_zuofa.h"

#include <QCheckBox>

namespace {

QStringList shownDishes(TForm_diancan *screen)
{
    QStringList titles;
    for (DishTile *t : screen->findChildren<DishTile *>())
        if (!t->isHidden())
            titles << t->record().title;
    titles.sort();
    return titles;
}

QStringList methodEdits(TForm_caipin *s)
{
    QStringList out;
    for (const MethodEntry &m : s->method_rows())
        out << m.title;
    return out;
}

void addDishMethods(const MasterdataFixture &f, int dish, int n)
{
    TSQLiteDatabase db(f.ctx.db_path);
    for (int i = 1; i <= n; ++i)
        db.ExecSQL("INSERT INTO lumo_caipin_zuofa(title,rootid) VALUES(?,?)",
                   {QStringLiteral("做法%1").arg(i), dish});
}

} // namespace

class TestCaipinUi : public QObject
{
    Q_OBJECT

private slots:
    void refusals_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("stock");
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("message");
        QTest::newRow("name") << ""
                              << ""
                              << ""
                              << ""
                              << "请输入菜品名称";
        QTest::newRow("price") << "鱼"
                               << ""
                               << ""
                               << ""
                               << "请输入菜品价格";
        QTest::newRow("price text") << "鱼"
                                    << "十元"
                                    << ""
                                    << ""
                                    << "菜品价格只能是数字";
        QTest::newRow("stock") << "鱼"
                               << "10"
                               << ""
                               << ""
                               << "请输入菜品每日库存";
        QTest::newRow("stock text") << "鱼"
                                    << "10"
                                    << "3x"
                                    << ""
                                    << "菜品每日库存只能是数字";
        QTest::newRow("sort") << "鱼"
                              << "10"
                              << "3"
                              << ""
                              << "排序号只能是数字";
    }
    void refusals()
    {
        QFETCH(QString, name);
        QFETCH(QString, price);
        QFETCH(QString, stock);
        QFETCH(QString, sort);
        MasterdataFixture f;
        TForm_caipin *s = f.dishes();
        s->open_centred();
        MasterdataFixture::type(s, "LabeledEdit4", name);
        MasterdataFixture::type(s, "LabeledEdit2", price);
        MasterdataFixture::type(s, "LabeledEdit3", stock);
        MasterdataFixture::type(s, "LabeledEdit5", sort);
        MasterdataFixture::save(s);
        QTEST(f.toast(), "message");
        QCOMPARE(f.scalar("SELECT count(*) FROM lumo_caipin"), QString("0"));
    }

    // A saved dish reaches the open ordering screen at once and is found by its
    // search code; the editor goes on with the stored dish and its methods.
    void saveReachesTheOrderingScreen()
    {
        MasterdataFixture f;
        f.exec("INSERT INTO lumo_caipin_class(id,title,sort) VALUES(1,'热菜',1)");
        f.exec("INSERT INTO lumo_desk(title,bh,stat) VALUES('大厅','A1',1)");
        f.ctx.desk_id = "1";
        TForm_diancan *order = f.forms->diancan;
        order->resize(1152, 720);
        order->open_with("1", QString());
        MasterdataFixture::type(order, "edit_keyword", "gbjd");
        QVERIFY(shownDishes(order).isEmpty());

        TForm_caipin *s = f.dishes();
        s->open_centred();
        QCOMPARE(MasterdataFixture::captions(s), QString("菜品添加/新增菜品保存"));
        MasterdataFixture::type(s, "LabeledEdit4", "宫保鸡丁");
        MasterdataFixture::type(s, "LabeledEdit2", "28");
        MasterdataFixture::type(s, "LabeledEdit3", "30");
        MasterdataFixture::choose(s, "热菜");
        GuiProgram::click(s->findChild<QCheckBox *>("CheckBox1"));
        MasterdataFixture::press(s, "CnButton2");
        MasterdataFixture::press(s, "CnButton2");
        MasterdataFixture::press(s, "CnButton2");
        MasterdataFixture::type(s, "zf_labelededit_1", "微,辣'");
        MasterdataFixture::type(s, "zf_labelededit_3", "加@@@蛋");
        QCOMPARE(MasterdataFixture::label(s, "zf_label_3"), QString("03："));
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("菜品录入成功"));
        QCOMPARE(f.db("SELECT id,title,titleen,price,stock,cid,sort,iszk FROM lumo_caipin"),
                 QStringList{"1|宫保鸡丁|gbjd|28|30|1|1|0"});
        QCOMPARE(f.db("SELECT id,title,rootid FROM lumo_caipin_zuofa"),
                 (QStringList{"1|微辣|1", "2|加蛋|1"}));
        QCOMPARE(MasterdataFixture::rows(s),
                 QStringList{"1|宫保鸡丁|28.00|热菜|30|2024-03-05 14:07|不打折"});
        // Edit mode with the dish as stored: the empty row is gone.
        QVERIFY(s->editing());
        QCOMPARE(s->edit_id(), QString("1"));
        QCOMPARE(MasterdataFixture::captions(s), QString("编辑菜品/编辑菜品保存"));
        QCOMPARE(methodEdits(s), (QStringList{"微辣", "加蛋"}));

        QCOMPARE(shownDishes(order), QStringList{"宫保鸡丁"});
        QCOMPARE(order->tile("1")->record().price, QString("28"));

        // A second save updates the same dish and methods.
        MasterdataFixture::type(s, "LabeledEdit2", "32.5");
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("菜品修改成功"));
        QCOMPARE(f.db("SELECT count(*),price FROM lumo_caipin"), QStringList{"1|32.5"});
        QCOMPARE(f.db("SELECT id FROM lumo_caipin_zuofa"), (QStringList{"1", "2"}));
        QCOMPARE(order->tile("1")->record().price, QString("32.5"));
    }

    // Three stored methods, the second removed: exactly that one is deleted.
    // Removing all of them empties the dish's methods.
    void removedMethodsAreDeleted()
    {
        MasterdataFixture f;
        f.exec("INSERT INTO lumo_caipin(id,title,price,stock,sort,iszk) VALUES(1,'鱼','58',9,3,1)");
        addDishMethods(f, 1, 3);
        TForm_caipin *s = f.dishes();
        s->open_centred();
        MasterdataFixture::clickCell(s, 0, 7);
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit5"), QString("3"));
        QCOMPARE(methodEdits(s), (QStringList{"做法1", "做法2", "做法3"}));
        // Closed and shown again while editing: the stored methods are back, typing is not.
        MasterdataFixture::type(s, "zf_labelededit_1", "改过");
        MasterdataFixture::press(s, "CnButton2");
        s->hide();
        s->open_centred();
        QVERIFY(s->editing());
        QCOMPARE(methodEdits(s), (QStringList{"做法1", "做法2", "做法3"}));
        MasterdataFixture::press(s, "zf_button_2");
        QCOMPARE(methodEdits(s), (QStringList{"做法1", "做法3"}));
        QCOMPARE(MasterdataFixture::label(s, "zf_label_3"), QString("02："));
        MasterdataFixture::save(s);
        QCOMPARE(f.db("SELECT id,title FROM lumo_caipin_zuofa ORDER BY id"),
                 (QStringList{"1|做法1", "3|做法3"}));

        MasterdataFixture::press(s, "zf_button_1");
        MasterdataFixture::press(s, "zf_button_2");
        QVERIFY(s->method_rows().isEmpty());
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("菜品修改成功"));
        QCOMPARE(f.scalar("SELECT count(*) FROM lumo_caipin_zuofa"), QString("0"));
        QCOMPARE(f.db("SELECT sort FROM lumo_caipin"), QStringList{"3"});
    }

    // Ten rows at most can be added; a dish stored with twelve shows all twelve.
    void methodLimit()
    {
        MasterdataFixture f;
        f.exec("INSERT INTO lumo_caipin(id,title,price,stock,sort) VALUES(1,'鱼','58',9,1)");
        addDishMethods(f, 1, 12);
        TForm_caipin *s = f.dishes();
        s->open_centred();
        for (int i = 0; i < 10; ++i)
            MasterdataFixture::press(s, "CnButton2");
        QCOMPARE(s->method_rows().size(), 10);
        QCOMPARE(f.toast(), QString());
        MasterdataFixture::press(s, "CnButton2");
        QCOMPARE(f.toast(), QString("最多只能设置10种做法"));
        QCOMPARE(s->method_rows().size(), 10);

        MasterdataFixture::clickCell(s, 0, 7);
        QCOMPARE(s->method_rows().size(), 12);
        QCOMPARE(MasterdataFixture::label(s, "zf_label_12"), QString("12："));
        QCOMPARE(MasterdataFixture::text(s, "zf_labelededit_12"), QString("做法12"));
        MasterdataFixture::press(s, "CnButton2");
        QCOMPARE(s->method_rows().size(), 12);
    }

    // A dish with unsettled lines stays; with only settled lines it goes, its lines stay.
    void deleteDish()
    {
        MasterdataFixture f;
        f.exec(
            "INSERT INTO lumo_caipin(id,title,price,stock) VALUES(1,'鱼','58',9),(2,'虾','40',9)");
        f.exec("INSERT INTO lumo_orders_detail(caipinid,iscal) VALUES(1,0),(2,1)");
        TForm_caipin *s = f.dishes();
        s->open_centred();
        MasterdataFixture::clickCell(s, 0, 8);
        QCOMPARE(f.toast(), QString("此菜品还有未结账的订单，请结完账后再删除"));
        MasterdataFixture::clickCell(s, 1, 8);
        QCOMPARE(f.db("SELECT id FROM lumo_caipin"), QStringList{"1"});
        QCOMPARE(MasterdataFixture::rows(s).size(), 1);
        QCOMPARE(f.scalar("SELECT count(*) FROM lumo_orders_detail"), QString("2"));
    }

    // From an empty database through the screens to the board and the ordering screen.
    void flowFromAnEmptyDatabase()
    {
        MasterdataFixture f;
        f.showBoard();
        QCOMPARE(f.tileCount(), 0);

        f.menu(61);
        TForm_desk *d = f.desk();
        MasterdataFixture::press(d, "CnButton2");
        for (const QString &area : QStringList{"大厅", "包间"}) {
            MasterdataFixture::type(f.areas(), "LabeledEdit2", area);
            MasterdataFixture::save(f.areas());
        }
        f.areas()->hide();
        const QStringList tables{"大厅|A1", "大厅|A2", "大厅|A3", "包间|B1", "包间|B2"};
        for (const QString &t : tables) {
            MasterdataFixture::choose(d, t.section('|', 0, 0));
            MasterdataFixture::type(d, "LabeledEdit2", t.section('|', 1) + "桌");
            MasterdataFixture::type(d, "LabeledEdit3", t.section('|', 1));
            MasterdataFixture::save(d);
            QCOMPARE(f.toast(), QString("桌位添加成功"));
        }
        d->hide();

        f.menu(72);
        for (const QString &c : QStringList{"热菜", "凉菜"}) {
            MasterdataFixture::type(f.categories(), "LabeledEdit2", c);
            MasterdataFixture::save(f.categories());
        }
        f.categories()->hide();

        f.menu(71);
        TForm_caipin *s = f.dishes();
        const QStringList dishes{
            "热菜|水煮鱼|68|微辣", "热菜|宫保鸡丁|28|不要花生", "凉菜|拍黄瓜|12|"};
        for (const QString &dish : dishes) {
            // Back to add mode for each new dish.
            if (s->editing())
                MasterdataFixture::clickCell(s, 0, 7);
            if (s->editing())
                MasterdataFixture::clickCell(s, 0, 7);
            QVERIFY(!s->editing());
            const QStringList parts = dish.split('|');
            MasterdataFixture::choose(s, parts[0]);
            MasterdataFixture::type(s, "LabeledEdit4", parts[1]);
            MasterdataFixture::type(s, "LabeledEdit2", parts[2]);
            MasterdataFixture::type(s, "LabeledEdit3", "50");
            if (!parts[3].isEmpty()) {
                MasterdataFixture::press(s, "CnButton2");
                MasterdataFixture::type(s, "zf_labelededit_1", parts[3]);
            }
            MasterdataFixture::save(s);
            QCOMPARE(f.toast(), QString("菜品录入成功"));
        }
        s->hide();

        // Five tiles in their areas.
        QCOMPARE(f.tileCount(), 5);
        QCOMPARE(f.main()->findChild<QLabel *>("desklist_groupbox_static2_4")->text(),
                 QString("包间"));
        GuiProgram::click(f.areaBox("2"));
        QStringList shown;
        for (int id = 1; id <= 5; ++id)
            if (!f.tile(QString::number(id))->isHidden())
                shown << QString::number(id);
        QCOMPARE(shown, (QStringList{"4", "5"}));

        // The ordering screen: three dishes, each with its methods.
        f.ctx.desk_id = "4";
        TForm_diancan *order = f.forms->diancan;
        order->resize(1152, 720);
        order->open_with("4", QString());
        QCOMPARE(shownDishes(order), (QStringList{"宫保鸡丁", "拍黄瓜", "水煮鱼"}));
        QVERIFY(order->findChild<QWidget *>("box_caipin_class_2"));
        GuiProgram::click(order->tile("2"));
        f.forms->caipin_zuofa->open_with("4", QString());
        QStringList methods;
        for (QCheckBox *c : f.forms->caipin_zuofa->findChildren<QCheckBox *>())
            methods << c->text();
        QCOMPARE(methods, QStringList{"不要花生"});
        QCOMPARE(f.db("SELECT title,rootid FROM lumo_caipin_zuofa ORDER BY id"),
                 (QStringList{"微辣|1", "不要花生|2"}));
    }
};

QTEST_MAIN(TestCaipinUi)
#include "tst_caipin_ui.moc"
