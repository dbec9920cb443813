#include "app/demo_data.h"
#include "store/sqlite_db.h"
#include "support/testkit.h"

#include <QTest>

class TestDemoData : public QObject
{
    Q_OBJECT

private slots:
    void seedsTablesAndDishes()
    {
        TestProgram p;
        QVERIFY(demo_offer_due(p.ctx));
        QVERIFY(!has_demo_desks(p.ctx));
        seed_demo_data(p.ctx);
        QVERIFY(!demo_offer_due(p.ctx));
        QVERIFY(has_demo_desks(p.ctx));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_desk WHERE istest=1"), QString("20"));
        QCOMPARE(
            p.scalar(
                "SELECT title||'|'||bh||'|'||cid||'|'||sort||'|'||cname||'|'||price||'|'||stat "
                "FROM lumo_desk WHERE sort=7"),
            QString("桌位07|07|0|7||0.0|0"));
        QCOMPARE(
            p.scalar("SELECT group_concat(bh,',') FROM (SELECT bh FROM lumo_desk ORDER BY sort)"),
            QString("01,02,03,04,05,06,07,08,09,10,11,12,13,14,15,16,17,18,19,20"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_caipin WHERE istest=1"), QString("22"));
        QCOMPARE(p.scalar("SELECT price||'|'||iszk||'|'||sort||'|'||stock||'|'||cid||'|'||addtime "
                          "FROM lumo_caipin WHERE title='米饭'"),
                 QString("2.0|0|20|0|0|") + QString::number(p.clock->ms / 1000 + 1));
        QCOMPARE(p.scalar("SELECT price FROM lumo_caipin WHERE title='印象毛血旺(大份)'"),
                 QString("56"));
        QCOMPARE(p.scalar("SELECT price FROM lumo_caipin WHERE title='乐山钵钵鸡'"),
                 QString("58.8"));
        QCOMPARE(p.scalar("SELECT price FROM lumo_caipin WHERE title='青岛啤酒'"), QString("5.0"));
    }

    void searchCodes_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("code");
        const char *rows[][2] = {{"乐山钵钵鸡", "lsbbj"},
                                 {"盐菜回锅肉", "ychgr"},
                                 {"水煮肉片(中份)", "szrpzf"},
                                 {"酸辣土豆丝", "sltds"},
                                 {"鱼香肉丝", "yxrs"},
                                 {"印象毛血旺(大份)", "yxmxwdf"},
                                 {"肉沫茄子", "rmqz"},
                                 {"陈麻婆豆腐", "cmpdf"},
                                 {"玉米虾仁", "ymxr"},
                                 {"莴笋木耳肉片", "wsmerp"},
                                 {"四川麻辣口水鸡", "scmlksj"},
                                 {"土豆烧鸡", "tdsj"},
                                 {"宫保鸡丁", "gbjd"},
                                 {"夫妻肺片", "fqfp"},
                                 {"烟笋炒腊肉", "ysclr"},
                                 {"干煸肥肠", "gbfc"},
                                 {"泡椒腰花", "pjyh"},
                                 {"香辣虾", "xlx"},
                                 {"清炒上海青", "qcshq"},
                                 {"泡椒鲜鸭血", "pjxyx"},
                                 {"米饭", "mf"},
                                 {"青岛啤酒", "qdpj"}};
        for (const auto &r : rows)
            QTest::newRow(r[0]) << QString::fromUtf8(r[0]) << QString::fromUtf8(r[1]);
    }
    void searchCodes()
    {
        static TestProgram p;
        static bool seeded = false;
        if (!seeded) {
            seed_demo_data(p.ctx);
            seeded = true;
        }
        QFETCH(QString, title);
        QFETCH(QString, code);
        TSQLiteDatabase db(p.ctx.db_path);
        QCOMPARE(db.scalar("SELECT titleen FROM lumo_caipin WHERE title=?", {title}), code);
    }

    void ownDishesGetTablesOnly()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_caipin(title,price) VALUES('招牌牛肉','48')");
        seed_demo_data(p.ctx);
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_desk"), QString("20"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_caipin"), QString("1"));
    }

    void deleteRemovesOnlyDemonstrationRows()
    {
        TestProgram p;
        seed_demo_data(p.ctx);
        p.exec("INSERT INTO lumo_desk(title,bh) VALUES('包间','V1')");
        p.exec("INSERT INTO lumo_caipin(title) VALUES('自制酸奶')");
        const QString own = p.scalar("SELECT id FROM lumo_desk where bh='V1'");
        // An open bill of demonstration table 01 with a line, a settled bill of it,
        // and an open bill of the restaurant's own table.
        p.exec("INSERT INTO lumo_orders(title,deskid,iscal) VALUES('open demo',1,0)");
        p.exec("INSERT INTO lumo_orders_detail(title,rootid,deskid) VALUES('鱼香肉丝',"
               "(SELECT max(id) FROM lumo_orders),1)");
        p.exec("INSERT INTO lumo_orders(title,deskid,iscal) VALUES('settled demo',1,1)");
        p.exec("INSERT INTO lumo_orders_detail(title,rootid,deskid,stat) VALUES('米饭',"
               "(SELECT max(id) FROM lumo_orders),1,9)");
        p.exec("INSERT INTO lumo_orders(title,deskid,iscal) VALUES('own'," + own + ",0)");
        p.exec("INSERT INTO lumo_orders_detail(title,rootid,deskid) VALUES('酸奶',"
               "(SELECT max(id) FROM lumo_orders),"
               + own + ")");
        p.exec("INSERT INTO lumo_caipin_zuofa(title,rootid) VALUES('微辣',1)");
        delete_demo_data(p.ctx);
        QCOMPARE(p.scalar("SELECT group_concat(title) FROM lumo_desk"), QString("包间"));
        QCOMPARE(p.scalar("SELECT group_concat(title) FROM lumo_caipin"), QString("自制酸奶"));
        QCOMPARE(p.scalar("SELECT group_concat(title) FROM (SELECT title FROM lumo_orders "
                          "ORDER BY id)"),
                 QString("settled demo,own"));
        QCOMPARE(p.scalar("SELECT group_concat(title) FROM (SELECT title FROM lumo_orders_detail "
                          "ORDER BY id)"),
                 QString("米饭,酸奶"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_caipin_zuofa"), QString("1"));
        QVERIFY(!has_demo_desks(p.ctx));
        QVERIFY(!demo_offer_due(p.ctx));
        p.exec("DELETE FROM lumo_desk");
        QVERIFY(demo_offer_due(p.ctx)); // offered again at the next start
        // The new table 01 (same id) starts without the old party's bill.
        seed_demo_data(p.ctx);
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_orders where iscal=0 AND deskid=1"),
                 QString("0"));
    }

    void failedDeleteKeepsTablesAndBills()
    {
        TestProgram p;
        seed_demo_data(p.ctx);
        p.exec("INSERT INTO lumo_orders(title,deskid,iscal) VALUES('open demo',1,0)");
        p.exec("CREATE TRIGGER keep BEFORE DELETE ON lumo_caipin "
               "BEGIN SELECT RAISE(ABORT,'disk full'); END");
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, delete_demo_data(p.ctx));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_desk"), QString("20"));
        QCOMPARE(p.scalar("SELECT title FROM lumo_orders"), QString("open demo"));
    }

    void failedSeedLeavesNothingHalfDone()
    {
        TestProgram p;
        // The tenth table cannot be written: none of the twenty may stay.
        p.exec("CREATE TRIGGER stop10 BEFORE INSERT ON lumo_desk WHEN NEW.sort=10 "
               "BEGIN SELECT RAISE(ABORT,'disk full'); END");
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, seed_demo_data(p.ctx));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_desk"), QString("0"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_caipin"), QString("0"));
    }
};

QTEST_GUILESS_MAIN(TestDemoData)
#include "tst_demo_data.moc"
