#include "masterdata/class_rules.h"
#include "masterdata/desk_rules.h"
#include "masterdata/dish_rules.h"
#include "store/sqlite_db.h"
#include "support/fixtures.h"
#include "support/testkit.h"

#include <QTest>

namespace {

QStringList rows(const TestProgram &p, const QString &sql)
{
    TSQLiteDatabase db(p.ctx.db_path);
    TSQLiteTable t = db.GetTable(sql);
    QStringList out;
    for (; !t.isEof(); t.Next()) {
        QStringList cells;
        for (int i = 0; i < t.FieldCount(); ++i)
            cells << t.FieldAsString(i);
        out << cells.join('|');
    }
    return out;
}

} // namespace

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
        QTEST(rows(p, "SELECT title,sort FROM " + class_table(k) + " ORDER BY id"), "stored");
    }

    void classEditAndGone()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_caipin_class(title,sort) VALUES('凉菜',1)");
        SaveOutcome r = save_class(p.ctx, ClassKind::DishCategory, "1", "冷菜", "1.5");
        QCOMPARE(r.message, QString("菜品分类修改成功"));
        QCOMPARE(rows(p, "SELECT id,title,sort FROM lumo_caipin_class"), QStringList{"1|冷菜|1.5"});
        // The record was deleted meanwhile: nothing written, no success reported.
        QCOMPARE(delete_class(p.ctx, ClassKind::DishCategory, "1"), QString());
        r = save_class(p.ctx, ClassKind::DishCategory, "1", "冷菜", "1");
        QVERIFY(!r.saved);
        QCOMPARE(r.message, QString("数据不存在，可能已被删除"));
        QVERIFY(rows(p, "SELECT id FROM lumo_caipin_class").isEmpty());
    }

    // An area's tables keep its id and name; a new area does not take the id over.
    void areaDeleteKeepsTables()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_desk_class(id,title,sort) VALUES(1,'大厅',1),(2,'包间',2)");
        p.exec("INSERT INTO lumo_desk(title,bh,cid,cname) VALUES('包间一','B1',2,'包间')");
        QCOMPARE(delete_class(p.ctx, ClassKind::DeskArea, "2"), QString());
        QCOMPARE(rows(p, "SELECT cid,cname FROM lumo_desk"), QStringList{"2|包间"});
        const SaveOutcome r = save_class(p.ctx, ClassKind::DeskArea, {}, "露台", "");
        QCOMPARE(r.id, QString("3"));
        QCOMPARE(rows(p, "SELECT id,title,sort FROM lumo_desk_class ORDER BY id"),
                 (QStringList{"1|大厅|1", "3|露台|2"}));
    }

    void categoryInUseIsKept()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_caipin_class(id,title,sort) VALUES(1,'热菜',1),(2,'凉菜',2)");
        p.exec("INSERT INTO lumo_caipin(title,cid) VALUES('拍黄瓜',2)");
        QCOMPARE(delete_class(p.ctx, ClassKind::DishCategory, "2"),
                 QString("此分类下还有菜品，请先修改这些菜品的分类后再删除"));
        QCOMPARE(delete_class(p.ctx, ClassKind::DishCategory, "1"), QString());
        QCOMPARE(rows(p, "SELECT id FROM lumo_caipin_class"), QStringList{"2"});
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
        QTEST(rows(p, "SELECT title,bh,cid,sort,cname FROM lumo_desk ORDER BY id"), "stored");
    }
};

QTEST_GUILESS_MAIN(TestMasterdataRules)
#include "tst_masterdata_rules.moc"
