#include "masterdata/class_rules.h"
#include "masterdata/list_page.h"
#include "store/sqlite_db.h"
#include "support/testkit.h"

#include <QTest>

class TestListPage : public QObject
{
    Q_OBJECT

private slots:
    void pageBar_data()
    {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("buttons"); // first, pre, next, last: 0 off, 1 on, - kept
        QTest::addColumn<QString>("nums");
        QTest::addColumn<QString>("pageText");
        QTest::newRow("no records") << 1 << 0 << 0 << "0000"
                                    << "共有0条符合条件的记录"
                                    << "当前1页/共0页";
        QTest::newRow("one page") << 1 << 1 << 15 << "0000"
                                  << "共有15条符合条件的记录"
                                  << "当前1页/共1页";
        QTest::newRow("first of two") << 1 << 2 << 16 << "0011"
                                      << "共有16条符合条件的记录"
                                      << "当前1页/共2页";
        QTest::newRow("middle") << 2 << 3 << 31 << "1111"
                                << "共有31条符合条件的记录"
                                << "当前2页/共3页";
        QTest::newRow("last") << 3 << 3 << 31 << "1100"
                              << "共有31条符合条件的记录"
                              << "当前3页/共3页";
        QTest::newRow("beyond the last") << 3 << 2 << 30 << "----"
                                         << "共有30条符合条件的记录"
                                         << "当前3页/共2页";
        QTest::newRow("page 0 without records") << 0 << 0 << 0 << "0000"
                                                << "共有0条符合条件的记录"
                                                << "当前0页/共0页";
    }
    void pageBar()
    {
        QFETCH(int, page);
        QFETCH(int, pages);
        QFETCH(int, records);
        QFETCH(QString, buttons);
        const PageBarState s = page_bar_state(page, pages, records);
        QString got;
        for (BarButton b : {s.first, s.pre, s.next, s.last})
            got += b == BarButton::On ? '1' : b == BarButton::Off ? '0' : '-';
        QCOMPARE(got, buttons);
        QTEST(s.nums, "nums");
        QTEST(s.page, "pageText");
    }

    void pageArithmetic()
    {
        QCOMPARE(list_page_count(0, 15), 0);
        QCOMPARE(list_page_count(15, 15), 1);
        QCOMPARE(list_page_count(16, 15), 2);
        QCOMPARE(list_page_count(41, 20), 3);
        // "尾页" on an empty list stays on page 1, so a later record is numbered 1.
        QCOMPARE(list_last_page(0), 1);
        QCOMPARE(list_last_page(4), 4);
        QCOMPARE(list_row_number(1, 15, 0), 1);
        QCOMPARE(list_row_number(3, 20, 4), 45);
    }

    void pagingButtons_data()
    {
        QTest::addColumn<int>("move");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("pages");
        QTest::addColumn<int>("after"); // 0: the button does nothing
        const int first = int(PageMove::First), pre = int(PageMove::Previous),
                  next = int(PageMove::Next), last = int(PageMove::Last),
                  search = int(PageMove::Search);
        QTest::newRow("首页") << first << 3 << 3 << 1;
        QTest::newRow("上一页 back one") << pre << 3 << 3 << 2;
        QTest::newRow("上一页 on page 1") << pre << 1 << 3 << 0;
        QTest::newRow("上一页 beyond the last page") << pre << 3 << 2 << 2;
        QTest::newRow("下一页 on one") << next << 2 << 3 << 3;
        QTest::newRow("下一页 on the last page") << next << 3 << 3 << 0;
        QTest::newRow("下一页 beyond the last page") << next << 3 << 2 << 0;
        QTest::newRow("尾页") << last << 1 << 3 << 3;
        QTest::newRow("尾页 without records") << last << 1 << 0 << 1;
        QTest::newRow("查询") << search << 3 << 3 << 1;
    }
    void pagingButtons()
    {
        QFETCH(int, move);
        QFETCH(int, page);
        QFETCH(int, pages);
        QTEST(page_after(PageMove(move), page, pages), "after");
    }

    void keyword_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("keyword");
        QTest::newRow("plain") << "大厅"
                               << "大厅";
        QTest::newRow("blanks around") << "  大厅 "
                                       << "大厅";
        QTest::newRow("quotes inside") << "O'Bri'en"
                                       << "OBrien";
        QTest::newRow("only quotes and blanks") << " ' '' "
                                                << "";
        QTest::newRow("quote then blank") << "'  "
                                          << "";
    }
    void keyword()
    {
        QFETCH(QString, typed);
        QTEST(list_keyword(typed), "keyword");
    }

    // The count and the page use the same condition; a keyword of quotes lists all.
    void readPage()
    {
        TestProgram p;
        {
            TSQLiteDatabase db(p.ctx.db_path);
            for (int i = 1; i <= 17; ++i)
                db.ExecSQL(
                    "INSERT INTO lumo_desk_class(title,sort) VALUES(?,?)",
                    {(i % 2 ? QStringLiteral("大厅") : QStringLiteral("包间")) + QString::number(i),
                     18 - i});
        }
        const ListQuery q = class_list_query(ClassKind::DeskArea);
        ListPage all = read_list_page(p.ctx, q, " '' ", 2, 15);
        QCOMPARE(all.records, 17);
        QCOMPARE(all.pages, 2);
        QCOMPARE(all.rows.size(), 2);
        // Sorted by sort ascending: page 2 holds the two largest sort numbers.
        QCOMPARE(all.cell(0, "title"), QString("包间2"));
        QCOMPARE(all.cell(1, "TITLE"), QString("大厅1"));
        QCOMPARE(all.number(1), 17);

        ListPage hall = read_list_page(p.ctx, q, " 大'厅 ", 1, 15);
        QCOMPARE(hall.records, 9);
        QCOMPARE(hall.pages, 1);
        QCOMPARE(hall.rows.size(), 9);
        QCOMPARE(hall.cell(0, "title"), QString("大厅17"));

        ListPage none = read_list_page(p.ctx, q, "露台", 1, 15);
        QCOMPARE(none.records, 0);
        QCOMPARE(none.pages, 0);
        QVERIFY(none.rows.isEmpty());
    }

    // 编辑 clicked three times on one row: edit, add, edit; another row always edits.
    void editToggle()
    {
        ListEditor e;
        auto apply = [&](int isedit, const QString &id) {
            e.editing = editor_goes_to_edit(e, isedit);
            e.edit_id = e.editing ? id : QString();
        };
        QStringList modes;
        for (int i = 0; i < 3; ++i) {
            apply(edit_click(e, "7"), "7");
            modes << (e.editing ? "edit " + e.edit_id : QStringLiteral("add"));
        }
        QCOMPARE(modes, (QStringList{"edit 7", "add", "edit 7"}));
        apply(edit_click(e, "8"), "8");
        QVERIFY(e.editing);
        QCOMPARE(e.edit_id, QString("8"));
        // The double-click remembers its own row: the first one on 8 edits 8 again.
        apply(edit_double_click(e, "8"), "8");
        QVERIFY(e.editing);
        apply(edit_double_click(e, "8"), "8");
        QVERIFY(!e.editing);
    }

    void defaultSort_data()
    {
        QTest::addColumn<QStringList>("sorts"); // SQL literals stored
        QTest::addColumn<qint64>("next");
        QTest::newRow("empty table") << QStringList{} << qint64(1);
        QTest::newRow("after 7") << QStringList{"3", "7", "5"} << qint64(8);
        QTest::newRow("after 1.5") << QStringList{"1", "1.5"} << qint64(2);
        QTest::newRow("old text passed over") << QStringList{"4", "'abc'"} << qint64(5);
        QTest::newRow("only text") << QStringList{"'x'"} << qint64(1);
    }
    void defaultSort()
    {
        QFETCH(QStringList, sorts);
        TestProgram p;
        TSQLiteDatabase db(p.ctx.db_path);
        for (const QString &s : sorts)
            db.ExecSQL("INSERT INTO lumo_caipin_class(title,sort) VALUES('c'," + s + ")");
        QTEST(default_sort(db, "lumo_caipin_class"), "next");
    }

    void numberText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("warnings");
        QTest::newRow("whole") << "12" << true << 0;
        QTest::newRow("decimal") << "1.5" << true << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("letters") << "1a" << false << 0;
        QTest::newRow("negative") << "-1" << false << 0;
        QTest::newRow("point only") << "." << false << 0;
        QTest::newRow("two points") << "1.2.3" << false << 1;
    }
    void numberText()
    {
        QFETCH(QString, text);
        TestProgram p(false);
        QTEST(number_text_ok(text, *p.prompts), "ok");
        QTEST(int(p.prompts->warnings.size()), "warnings");
    }
};

QTEST_GUILESS_MAIN(TestListPage)
#include "tst_list_page.moc"
