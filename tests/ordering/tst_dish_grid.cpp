#include "ordering/dish_grid.h"

#include <QTest>

class TestDishGrid : public QObject
{
    Q_OBJECT

private slots:
    void recordText()
    {
        TileRecord r;
        r.id = "7";
        r.selected = "1";
        r.quantity = "3";
        r.cid = "2";
        r.stock = "99";
        r.zfid = "1,3";
        r.zfidstr = "微辣,加蛋";
        r.title = "宫保鸡丁";
        r.price = "28";
        r.titleen = "gbjd";
        r.remark = "少油";
        QCOMPARE(r.encode(),
                 QString("7@@@1@@@3@@@2@@@99@@@1,3@@@微辣,加蛋@@@宫保鸡丁@@@28@@@gbjd@@@少油"));
        QCOMPARE(TileRecord::decode(r.encode()), r);

        // A fresh record of a dish, and a short text padded with empty fields.
        const TileRecord fresh = TileRecord::decode("5@@@0@@@1@@@2@@@0@@@@@@@@@汤@@@8@@@t");
        QCOMPARE(fresh.encode(), QString("5@@@0@@@1@@@2@@@0@@@@@@@@@汤@@@8@@@t@@@"));
        QCOMPARE(fresh.remark, QString());
        QVERIFY(!fresh.isSelected());

        // The remark is the last field and keeps a separator of its own.
        r.remark = "a@@@b";
        QCOMPARE(TileRecord::decode(r.encode()).remark, QString("a@@@b"));

        r.resetChoices();
        QCOMPARE(r.encode(), QString("7@@@0@@@1@@@2@@@99@@@@@@@@@宫保鸡丁@@@28@@@gbjd@@@"));
    }

    void matching_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("titleen");
        QTest::addColumn<QString>("cid");
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QString>("category");
        QTest::addColumn<bool>("match");

        QTest::newRow("letters search the code") << "宫保鸡丁"
                                                 << "gbjd"
                                                 << "1"
                                                 << "gb"
                                                 << "" << true;
        QTest::newRow("code is case-sensitive") << "宫保鸡丁"
                                                << "GBJD"
                                                << "1"
                                                << "gb"
                                                << "" << false;
        QTest::newRow("upper keyword") << "宫保鸡丁"
                                       << "gbjd"
                                       << "1"
                                       << "GB"
                                       << "" << false;
        QTest::newRow("letters never search the title") << "gb豆腐"
                                                        << "dfu"
                                                        << "1"
                                                        << "gb"
                                                        << "" << false;
        QTest::newRow("chinese searches the title") << "宫保鸡丁"
                                                    << "gbjd"
                                                    << "1"
                                                    << "鸡"
                                                    << "" << true;
        QTest::newRow("a digit searches the title") << "g1套餐"
                                                    << "gtc"
                                                    << "1"
                                                    << "g1"
                                                    << "" << true;
        QTest::newRow("digit keyword not in code") << "套餐"
                                                   << "g1tc"
                                                   << "1"
                                                   << "g1"
                                                   << "" << false;
        QTest::newRow("empty keyword") << "汤"
                                       << "t"
                                       << "1"
                                       << ""
                                       << "" << true;
        QTest::newRow("category 0 is all") << "汤"
                                           << "t"
                                           << "4"
                                           << ""
                                           << "0" << true;
        QTest::newRow("other category") << "汤"
                                        << "t"
                                        << "4"
                                        << ""
                                        << "2" << false;
        QTest::newRow("category and keyword") << "鸡汤"
                                              << "jt"
                                              << "2"
                                              << "jt"
                                              << "2" << true;
        QTest::newRow("category is a whole id") << "鸡汤"
                                                << "jt"
                                                << "12"
                                                << ""
                                                << "2" << false;
    }

    void matching()
    {
        QFETCH(QString, title);
        QFETCH(QString, titleen);
        QFETCH(QString, cid);
        QFETCH(QString, keyword);
        QFETCH(QString, category);
        QFETCH(bool, match);
        QCOMPARE(tile_matches(title, titleen, cid, keyword, category), match);
    }

    void paging_data()
    {
        QTest::addColumn<int>("matches");
        QTest::addColumn<int>("perPage");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("pageCount");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");

        QTest::newRow("100 at 81, page 1") << 100 << 81 << 1 << 2 << 0 << 81;
        QTest::newRow("100 at 81, page 2") << 100 << 81 << 2 << 2 << 81 << 100;
        QTest::newRow("page beyond the last") << 100 << 81 << 3 << 2 << 100 << 100;
        QTest::newRow("exactly one page") << 81 << 81 << 1 << 1 << 0 << 81;
        QTest::newRow("one more than a page") << 82 << 81 << 2 << 2 << 81 << 82;
        QTest::newRow("nothing matches") << 0 << 81 << 1 << 0 << 0 << 0;
        QTest::newRow("page size 0 counts as 1") << 3 << 0 << 2 << 3 << 1 << 2;
    }

    void paging()
    {
        QFETCH(int, matches);
        QFETCH(int, perPage);
        QFETCH(int, page);
        QFETCH(int, pageCount);
        QFETCH(int, first);
        QFETCH(int, last);
        const int count = grid_page_count(matches, perPage);
        QCOMPARE(count, pageCount);
        const PageSpan s = grid_page_span(matches, page, perPage);
        QCOMPARE(s.first, first);
        QCOMPARE(s.last, last);
        QCOMPARE(grid_prev_enabled(page), page >= 2);
        QCOMPARE(grid_next_enabled(page, count), page < count);
    }

    void positions()
    {
        // Whole tiles per row: the eighth ends at 6 + 7 x 128 + 120 = 1022; at least one.
        QCOMPARE(grid_columns(1022), 8);
        QCOMPARE(grid_columns(1021), 7);
        QCOMPARE(grid_columns(120), 1);
        QCOMPARE(grid_columns(0), 1);

        QCOMPARE(grid_tile_position(0, 4), QPoint(6, 4));
        QCOMPARE(grid_tile_position(3, 4), QPoint(6 + 3 * 128, 4));
        QCOMPARE(grid_tile_position(4, 4), QPoint(6, 74));
        QCOMPARE(grid_tile_position(18, 4), QPoint(6 + 2 * 128, 4 + 4 * 70));
        QCOMPARE(grid_tile_position(2, 1), QPoint(6, 144));
    }

    void pageSize_data()
    {
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("setting");
        QTest::addColumn<int>("columns");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("size");
        // A row ends 4 + 70 n + 60 pixels down.
        QTest::newRow("1920 x 1080 screen") << 842 << 81 << 6 << 12 << 72;
        QTest::newRow("setting smaller") << 842 << 20 << 6 << 12 << 20;
        QTest::newRow("last row exactly") << 4 + 70 * 2 + 60 << 81 << 4 << 3 << 12;
        QTest::newRow("a pixel short") << 4 + 70 * 2 + 59 << 81 << 4 << 2 << 8;
        QTest::newRow("too low for one") << 30 << 81 << 4 << 1 << 4;
        QTest::newRow("setting below 1") << 842 << 0 << 6 << 12 << 1;
    }
    void pageSize()
    {
        QFETCH(int, height);
        QFETCH(int, setting);
        QFETCH(int, columns);
        QFETCH(int, rows);
        QFETCH(int, size);
        QCOMPARE(grid_rows(height), rows);
        QCOMPARE(grid_page_size(setting, columns, rows), size);
    }

    void methods()
    {
        QVERIFY(method_chosen("1,3", "3"));
        QVERIFY(method_chosen("1,3", "1"));
        QVERIFY(!method_chosen("1,13", "3"));
        QVERIFY(!method_chosen("11", "1"));
        QVERIFY(!method_chosen("", "1"));

        // Checked boxes in list order, trimmed, without a trailing separator.
        const ChosenMethods c
            = chosen_methods({{"1", " 微辣 ", true}, {"2", "不辣", false}, {" 3", "加蛋", true}});
        QCOMPARE(c.ids, QString("1,3"));
        QCOMPARE(c.titles, QString("微辣,加蛋"));
        const ChosenMethods none = chosen_methods({{"1", "微辣", false}});
        QCOMPARE(none.ids, QString());
        QCOMPARE(none.titles, QString());
    }

    void tileQuantity_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("stored");
        QTest::newRow("whole") << "2"
                               << "2";
        QTest::newRow("spaces") << " 12 "
                                << "12";
        QTest::newRow("zero") << "0"
                              << "1";
        QTest::newRow("negative") << "-3"
                                  << "1";
        QTest::newRow("fraction") << "1.5"
                                  << "1";
        QTest::newRow("text") << "abc"
                              << "1";
        QTest::newRow("empty") << ""
                               << "1";
    }

    void tileQuantity()
    {
        QFETCH(QString, text);
        QFETCH(QString, stored);
        QCOMPARE(clean_tile_quantity(text), stored);
    }
};

QTEST_GUILESS_MAIN(TestDishGrid)
#include "tst_dish_grid.moc"
