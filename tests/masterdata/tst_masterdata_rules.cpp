#include "masterdata/class_rules.h"
#include "masterdata/desk_rules.h"
#include "masterdata/dish_rules.h"
#include "ordering/diancan.h"
#include "ordering/dish_grid.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QTest>

namespace {} // namespace

class TestMasterdataRules : public QObject
{
    Q_OBJECT

private slots:
    void classSave_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("stored"); // title|sort after the save
        const QStringList before{"大厅|7"};
        for (int kind : {0, 1}) {
            const QString noun = kind == 0 ? "桌位分类" : "菜品分类";
            const QByteArray k = kind == 0 ? "area " : "category ";
            QTest::newRow(k + "empty name") << kind << "  ''  "
                                            << "3"
                                            << "请输入分类名称" << before;
            QTest::newRow(k + "sort not a number") << kind << "包间"
                                                   << "3a"
                                                   << "排序号只能是数字" << before;
            QTest::newRow(k + "default sort")
                << kind << "包'间"
                << "" << noun + "添加成功" << QStringList{"大厅|7", "包间|8"};
            QTest::newRow(k + "sort 0 is the default")
                << kind << "包间"
                << "0" << noun + "添加成功" << QStringList{"大厅|7", "包间|8"};
            QTest::newRow(k + "given sort")
                << kind << " 包间 "
                << "2" << noun + "添加成功" << QStringList{"大厅|7", "包间|2"};
        }
    }
    void classSave()
    {
        QFETCH(int, kind);
        QFETCH(QString, name);
        QFETCH(QString, sort);
        const ClassKind k = kind == 0 ? ClassKind::DeskArea : ClassKind::DishCategory;
        TestProgram p;
        p.exec("INSERT INTO " + class_table(k) + "(title,sort) VALUES('大厅',7)");
        const SaveOutcome r = save_class(p.ctx, k, {}, name, sort);
        QTEST(r.message, "message");
        QTEST(p.rows("SELECT title,sort FROM " + class_table(k) + " ORDER BY id"), "stored");
    }

    void classEditAndGone()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_caipin_class(title,sort) VALUES('凉菜',1)");
        SaveOutcome r = save_class(p.ctx, ClassKind::DishCategory, "1", "冷菜", "1.5");
        QCOMPARE(r.message, QString("菜品分类修改成功"));
        QCOMPARE(p.rows("SELECT id,title,sort FROM lumo_caipin_class"), QStringList{"1|冷菜|1.5"});
        // The record was deleted meanwhile: nothing written, no success reported.
        QCOMPARE(delete_class(p.ctx, ClassKind::DishCategory, "1"), QString());
        r = save_class(p.ctx, ClassKind::DishCategory, "1", "冷菜", "1");
        QVERIFY(!r.saved);
        QCOMPARE(r.message, QString("数据不存在，可能已被删除"));
        QVERIFY(p.rows("SELECT id FROM lumo_caipin_class").isEmpty());
    }

    // An area's tables keep its id and name; a new area does not take the id over.
    void areaDeleteKeepsTables()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_desk_class(id,title,sort) VALUES(1,'大厅',1),(2,'包间',2)");
        p.exec("INSERT INTO lumo_desk(title,bh,cid,cname) VALUES('包间一','B1',2,'包间')");
        QCOMPARE(delete_class(p.ctx, ClassKind::DeskArea, "2"), QString());
        QCOMPARE(p.rows("SELECT cid,cname FROM lumo_desk"), QStringList{"2|包间"});
        const SaveOutcome r = save_class(p.ctx, ClassKind::DeskArea, {}, "露台", "");
        QCOMPARE(r.id, QString("3"));
        QCOMPARE(p.rows("SELECT id,title,sort FROM lumo_desk_class ORDER BY id"),
                 (QStringList{"1|大厅|1", "3|露台|2"}));
    }

    void categoryInUseIsDeletedAndItsDishesStayOffered()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_caipin_class(id,title,sort) VALUES(1,'热菜',1),(2,'凉菜',2)");
        p.exec("INSERT INTO lumo_caipin(title,titleen,cid) VALUES('拍黄瓜','phg',2)");
        QCOMPARE(delete_class(p.ctx, ClassKind::DishCategory, "2"), QString());
        QCOMPARE(p.rows("SELECT id FROM lumo_caipin_class"), QStringList{"1"});
        QCOMPARE(p.rows("SELECT title,cid FROM lumo_caipin"), QStringList{"拍黄瓜|2"});
        // On the ordering screen: under "所有菜品" and by its search code.
        const QVector<DishRow> dishes = read_dishes(p.ctx);
        QCOMPARE(dishes.size(), 1);
        const DishRow &d = dishes.first();
        QVERIFY(tile_matches(d.title, d.titleen, d.cid, QString(), QString()));
        QVERIFY(tile_matches(d.title, d.titleen, d.cid, "phg", QString()));
        QVERIFY(!tile_matches(d.title, d.titleen, d.cid, QString(), "1"));
    }

    void deskSave_data()
    {
        QTest::addColumn<QString>("editId");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("bh");
        QTest::addColumn<QString>("area");
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QStringList>("stored"); // title|bh|cid|sort|cname
        const QStringList before{"一号桌|A1|1|5|大厅"};
        QTest::newRow("no name") << ""
                                 << " "
                                 << ""
                                 << ""
                                 << ""
                                 << "请填写桌位名称" << before;
        QTest::newRow("no number") << ""
                                   << "二号桌"
                                   << "'"
                                   << ""
                                   << ""
                                   << "请填写编号" << before;
        QTest::newRow("no area") << ""
                                 << "二号桌"
                                 << "A2"
                                 << ""
                                 << "x"
                                 << "分类ID只能是数字" << before;
        QTest::newRow("sort") << ""
                              << "二号桌"
                              << "A2"
                              << "1"
                              << ""
                              << "排序号只能是数字" << before;
        QTest::newRow("number taken") << ""
                                      << "二号桌"
                                      << "A1"
                                      << "1"
                                      << "3"
                                      << "餐桌编号已存在" << before;
        QTest::newRow("add, default sort")
            << ""
            << "二'号桌"
            << "A2"
            << "1"
            << "0"
            << "桌位添加成功" << QStringList{"一号桌|A1|1|5|大厅", "二号桌|A2|1|6|大厅"};
        QTest::newRow("edit to another's number")
            << "1"
            << "一号桌"
            << "A2"
            << "0"
            << "1.5"
            << "桌位修改成功" << QStringList{"一号桌|A2|0|1.5|选择分类"};
        QTest::newRow("edited table gone") << "9"
                                           << "一号桌"
                                           << "A2"
                                           << "1"
                                           << "2"
                                           << "数据不存在，可能已被删除" << before;
    }
    void deskSave()
    {
        QFETCH(QString, editId);
        QFETCH(QString, area);
        TestProgram p;
        p.exec("INSERT INTO lumo_desk(title,bh,cid,sort,cname) VALUES('一号桌','A1',1,5,'大厅')");
        QFETCH(QString, name);
        QFETCH(QString, bh);
        QFETCH(QString, sort);
        const SaveOutcome s
            = save_desk(p.ctx, {editId, name, bh, area, area == "0" ? "选择分类" : "大厅", sort});
        QTEST(s.message, "message");
        QTEST(p.rows("SELECT title,bh,cid,sort,cname FROM lumo_desk ORDER BY id"), "stored");
    }
    void dishChecks_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("stock");
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("warnings");
        QTest::newRow("name") << " ' "
                              << ""
                              << ""
                              << ""
                              << "请输入菜品名称" << 0;
        QTest::newRow("price empty") << "鱼"
                                     << " "
                                     << ""
                                     << ""
                                     << "请输入菜品价格" << 0;
        QTest::newRow("price text") << "鱼"
                                    << "12元"
                                    << ""
                                    << ""
                                    << "菜品价格只能是数字" << 0;
        QTest::newRow("price two points") << "鱼"
                                          << "1.2.3"
                                          << ""
                                          << ""
                                          << "菜品价格只能是数字" << 1;
        QTest::newRow("stock empty") << "鱼"
                                     << "12"
                                     << ""
                                     << ""
                                     << "请输入菜品每日库存" << 0;
        QTest::newRow("stock text") << "鱼"
                                    << "12"
                                    << "-1"
                                    << ""
                                    << "菜品每日库存只能是数字" << 0;
        QTest::newRow("sort empty") << "鱼"
                                    << "12"
                                    << "30"
                                    << ""
                                    << "排序号只能是数字" << 0;
        QTest::newRow("sort text") << "鱼"
                                   << "12"
                                   << "30"
                                   << "a"
                                   << "排序号只能是数字" << 0;
    }
    void dishChecks()
    {
        QFETCH(QString, name);
        QFETCH(QString, price);
        QFETCH(QString, stock);
        QFETCH(QString, sort);
        TestProgram p;
        DishForm f;
        f.name = name;
        f.price = price;
        f.stock = stock;
        f.sort = sort;
        f.methods = {{{}, "微辣"}};
        const SaveOutcome r = save_dish(p.ctx, f);
        QVERIFY(!r.saved);
        QTEST(r.message, "message");
        QTEST(int(p.prompts->warnings.size()), "warnings");
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_caipin"), QString("0"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_caipin_zuofa"), QString("0"));
    }

    // Add with methods, then edit: one method kept and renamed, one emptied, one
    // removed, one new; the stored rows are exactly what the box held.
    void dishSaveWithMethods()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_caipin(title,sort) VALUES('旧菜',4.5)");
        DishForm f;
        f.name = " 宫保'鸡丁 ";
        f.price = "28.5";
        f.stock = "30";
        f.sort = "0";
        f.category_id = "2";
        f.discount = false;
        f.methods = {{{}, "微辣"}, {{}, " 不要'香,菜@@@ "}, {{}, "  "}, {{}, "加@@,@蛋"}};
        SaveOutcome r = save_dish(p.ctx, f);
        QVERIFY(r.saved);
        QCOMPARE(r.message, QString("菜品录入成功"));
        QCOMPARE(r.id, QString("2"));
        QCOMPARE(p.rows("SELECT title,titleen,price,stock,cid,sort,iszk,addtime FROM lumo_caipin "
                        "WHERE id=2"),
                 QStringList{"宫保鸡丁|gbjd|28.5|30|2|5|0|1709647630"});
        QCOMPARE(p.rows("SELECT id,title,rootid FROM lumo_caipin_zuofa ORDER BY id"),
                 (QStringList{"1|微辣|2", "2|不要香菜|2", "3|加蛋|2"}));

        f.edit_id = "2";
        f.name = "宫保鸡丁(大份)";
        f.sort = "5";
        f.discount = true;
        f.methods = {{"3", "加蛋"}, {"1", ""}, {{}, "免辣"}};
        r = save_dish(p.ctx, f);
        QCOMPARE(r.message, QString("菜品修改成功"));
        QCOMPARE(p.rows("SELECT title,titleen,iszk,addtime FROM lumo_caipin WHERE id=2"),
                 QStringList{"宫保鸡丁(大份)|gbjddf|1|1709647630"});
        QCOMPARE(p.rows("SELECT id,title FROM lumo_caipin_zuofa ORDER BY id"),
                 (QStringList{"3|加蛋", "4|免辣"}));

        // An empty box empties the stored methods.
        f.methods.clear();
        QVERIFY(save_dish(p.ctx, f).saved);
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_caipin_zuofa"), QString("0"));
    }

    void methodTitle_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("plain") << " 微辣 "
                               << "微辣";
        QTest::newRow("quote and comma") << "少',油"
                                         << "少油";
        QTest::newRow("separator") << "a@@@b"
                                   << "ab";
        QTest::newRow("separator made by removing") << "a@@,@b"
                                                    << "ab";
        QTest::newRow("nested separators") << "@@@@@@"
                                           << "";
        QTest::newRow("two at signs stay") << "a@@b"
                                           << "a@@b";
    }
    void methodTitle()
    {
        QFETCH(QString, typed);
        QTEST(clean_method_title(typed), "stored");
    }

    // A table is kept while it has an open order (even one without lines) or
    // unsettled lines; settled lines stay when it goes. Lines that moved with
    // their order to another table do not hold the old one.
    void deskDelete_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<bool>("deleted");
        QTest::newRow("no orders") << "" << true;
        QTest::newRow("open order without lines")
            << "INSERT INTO lumo_orders(id,deskid,iscal,tid) VALUES(5,1,0,0)" << false;
        QTest::newRow("unsettled line") << "INSERT INTO lumo_orders_detail(deskid,iscal,rootid) "
                                           "VALUES(1,0,0)"
                                        << false;
        QTest::newRow("settled order and line")
            << "INSERT INTO lumo_orders(id,deskid,iscal,tid) VALUES(5,1,1,0);"
               "INSERT INTO lumo_orders_detail(deskid,iscal,rootid) VALUES(1,1,5)"
            << true;
        QTest::newRow("order moved to table 2")
            << "INSERT INTO lumo_orders(id,deskid,iscal,tid) VALUES(5,2,0,0);"
               "INSERT INTO lumo_orders_detail(deskid,iscal,rootid) VALUES(1,0,5)"
            << true;
    }
    void deskDelete()
    {
        QFETCH(QString, setup);
        QFETCH(bool, deleted);
        TestProgram p;
        add_desks(p, 2);
        for (const QString &s : setup.split(';', Qt::SkipEmptyParts))
            p.exec(s);
        const QString lines = dump(p, "lumo_orders_detail");
        const QString refusal = delete_desk(p.ctx, "1");
        QCOMPARE(refusal,
                 deleted ? QString() : QString("此桌号还有未结账的订单，请结完账后再删除"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_desk WHERE id=1"),
                 deleted ? QString("0") : QString("1"));
        QCOMPARE(dump(p, "lumo_orders_detail"), lines);
    }

    void dishDelete()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_caipin(id,title) VALUES(1,'鱼'),(2,'虾')");
        p.exec("INSERT INTO lumo_caipin_zuofa(title,rootid) VALUES('清蒸',1),('白灼',2)");
        p.exec("INSERT INTO lumo_orders_detail(caipinid,iscal) VALUES(1,0),(2,1)");
        QCOMPARE(delete_dish(p.ctx, "1"), QString("此菜品还有未结账的订单，请结完账后再删除"));
        QCOMPARE(delete_dish(p.ctx, "2"), QString());
        QCOMPARE(p.rows("SELECT id FROM lumo_caipin"), QStringList{"1"});
        // Its methods go with it, so a later dish with the same id starts without any.
        QCOMPARE(p.rows("SELECT title FROM lumo_caipin_zuofa"), QStringList{"清蒸"});
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders_detail"), QString("2"));
    }
};

QTEST_GUILESS_MAIN(TestMasterdataRules)
#include "tst_masterdata_rules.moc"
