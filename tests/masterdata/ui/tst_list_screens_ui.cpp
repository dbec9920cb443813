#include "masterdata/ui/page_bar.h"
#include "masterdata/ui/tform_member.h"
#include "masterdata_fixture.h"

#include <QHeaderView>

class TestListScreensUi : public QObject
{
    Q_OBJECT

private slots:
    // Areas (opened from the tables screen) and categories (from the menu): the
    // refusals, add, the edit toggle, edit, delete, and the refresh each announces.
    void classScreens_data()
    {
        QTest::addColumn<bool>("area");
        QTest::newRow("桌号分类") << true;
        QTest::newRow("菜品分类") << false;
    }
    void classScreens()
    {
        QFETCH(bool, area);
        MasterdataFixture f;
        f.showBoard();
        ListScreen *s = nullptr;
        if (area) {
            f.menu(61);
            MasterdataFixture::press(f.desk(), "CnButton2");
            s = f.areas();
        } else {
            f.menu(72);
            s = f.categories();
        }
        QVERIFY(s->isVisible());
        const QString noun = area ? "桌位分类" : "菜品分类";
        const QString table = area ? "lumo_desk_class" : "lumo_caipin_class";
        QCOMPARE(MasterdataFixture::captions(s),
                 (area ? "新增桌号分类" : "新增菜品分类") + QString("/新增") + noun + "保存");
        QCOMPARE(MasterdataFixture::label(s, "page_nums"), QString("共有0条符合条件的记录"));
        QCOMPARE(MasterdataFixture::label(s, "page_page"), QString("当前1页/共0页"));
        QCOMPARE(MasterdataFixture::pagingButtons(s), QString("0000"));

        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("请输入分类名称"));
        MasterdataFixture::type(s, "LabeledEdit2", "大厅");
        MasterdataFixture::type(s, "LabeledEdit3", "1a");
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("排序号只能是数字"));
        QVERIFY(f.db("SELECT id FROM " + table).isEmpty());

        MasterdataFixture::type(s, "LabeledEdit3", "");
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), noun + "添加成功");
        MasterdataFixture::type(s, "LabeledEdit2", "包间");
        MasterdataFixture::save(s);
        QCOMPARE(f.db("SELECT id,title,sort FROM " + table), (QStringList{"1|大厅|1", "2|包间|2"}));
        QCOMPARE(MasterdataFixture::rows(s), (QStringList{"1|大厅|1", "2|包间|2"}));
        QCOMPARE(MasterdataFixture::label(s, "page_nums"), QString("共有2条符合条件的记录"));
        QCOMPARE(MasterdataFixture::label(s, "page_page"), QString("当前1页/共1页"));
        // The editor keeps its texts after a save.
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit2"), QString("包间"));

        // The board's area bar or the ordering screen's category strip follows.
        if (area) {
            QVERIFY(f.areaBox("2"));
            QVERIFY(f.desk()->findChild<QComboBox *>("ComboBox1")->findText("包间") > 0);
        } else {
            QVERIFY(f.forms->diancan->findChild<QWidget *>("box_caipin_class_2"));
            QVERIFY(f.dishes()->findChild<QComboBox *>("ComboBox1")->findText("包间") > 0);
        }

        // 编辑 three times on one row: edit, add (cleared), edit.
        MasterdataFixture::clickCell(s, 1, 3);
        QVERIFY(s->editing());
        QCOMPARE(MasterdataFixture::captions(s), "编辑" + noun + "/编辑" + noun + "保存");
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit3"), QString("2"));
        MasterdataFixture::clickCell(s, 1, 3);
        QVERIFY(!s->editing());
        QCOMPARE(MasterdataFixture::captions(s), "添加" + noun + "/新增" + noun + "保存");
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit2"), QString());
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit3"), QString());
        MasterdataFixture::clickCell(s, 1, 3);
        QVERIFY(s->editing());
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit2"), QString("包间"));

        MasterdataFixture::type(s, "LabeledEdit2", "雅座");
        MasterdataFixture::type(s, "LabeledEdit3", "0.5");
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), noun + "修改成功");
        QCOMPARE(MasterdataFixture::rows(s), (QStringList{"1|雅座|0.5", "2|大厅|1"}));
        if (area)
            QCOMPARE(f.areaBox("2")->findChild<QLabel *>()->text(), QString("雅座"));

        // Delete asks first; Cancel keeps the row.
        f.prompts->confirms.clear();
        f.prompts->queue(false);
        MasterdataFixture::clickCell(s, 0, 4);
        QCOMPARE(f.prompts->confirms, QStringList{"确认要删除吗"});
        QCOMPARE(f.db("SELECT id FROM " + table).size(), 2);
        MasterdataFixture::clickCell(s, 0, 4);
        QCOMPARE(f.db("SELECT id,title FROM " + table), QStringList{"1|大厅"});
        QCOMPARE(MasterdataFixture::rows(s), QStringList{"1|大厅|1"});
        QCOMPARE(MasterdataFixture::label(s, "page_nums"), QString("共有1条符合条件的记录"));
        if (area)
            QVERIFY(!f.areaBox("2"));
        else
            QVERIFY(!f.forms->diancan->findChild<QWidget *>("box_caipin_class_2"));
    }

    // The paging bar through its buttons, the numbering across pages, the keyword,
    // and a deleted last row that leaves the page beyond the last.
    void pagingAndKeyword()
    {
        MasterdataFixture f;
        {
            TSQLiteDatabase db(f.ctx.db_path);
            for (int i = 1; i <= 31; ++i)
                db.ExecSQL("INSERT INTO lumo_caipin_class(title,sort) VALUES(?,?)",
                           {QStringLiteral("分类%1").arg(i), i});
        }
        TForm_cp_class *s = f.categories();
        s->open_centred();
        QCOMPARE(MasterdataFixture::pagingButtons(s), QString("0011"));
        QCOMPARE(MasterdataFixture::label(s, "page_page"), QString("当前1页/共3页"));
        QCOMPARE(MasterdataFixture::rows(s).size(), 15);

        MasterdataFixture::press(s, "btn_next");
        QCOMPARE(MasterdataFixture::pagingButtons(s), QString("1111"));
        QCOMPARE(MasterdataFixture::rows(s).first(), QString("16|分类16|16"));
        MasterdataFixture::press(s, "btn_last");
        QCOMPARE(MasterdataFixture::pagingButtons(s), QString("1100"));
        QCOMPARE(MasterdataFixture::rows(s), QStringList{"31|分类31|31"});
        QCOMPARE(MasterdataFixture::label(s, "page_nums"), QString("共有31条符合条件的记录"));

        // The only row of the last page goes: page 3 of 2, buttons as they were.
        MasterdataFixture::clickCell(s, 0, 4);
        QVERIFY(MasterdataFixture::rows(s).isEmpty());
        QCOMPARE(MasterdataFixture::label(s, "page_page"), QString("当前3页/共2页"));
        QCOMPARE(MasterdataFixture::pagingButtons(s), QString("1100"));
        MasterdataFixture::press(s, "btn_pre");
        QCOMPARE(MasterdataFixture::label(s, "page_page"), QString("当前2页/共2页"));
        QCOMPARE(MasterdataFixture::rows(s).size(), 15);

        // A keyword: quotes and blanks dropped; paging keeps the search.
        MasterdataFixture::type(s, "lab_keyword", " 分类'1 ");
        MasterdataFixture::press(s, "btn_search");
        QCOMPARE(MasterdataFixture::label(s, "page_nums"), QString("共有11条符合条件的记录"));
        QCOMPARE(MasterdataFixture::label(s, "page_page"), QString("当前1页/共1页"));
        QCOMPARE(MasterdataFixture::rows(s).first(), QString("1|分类1|1"));
        QCOMPARE(MasterdataFixture::pagingButtons(s), QString("0000"));
        MasterdataFixture::type(s, "lab_keyword", " '' ");
        QTest::keyClick(s->findChild<QLineEdit *>("lab_keyword"), Qt::Key_Return);
        QCOMPARE(MasterdataFixture::label(s, "page_nums"), QString("共有30条符合条件的记录"));
        QVERIFY(s->isVisible());

        // Showing the window again keeps its page.
        MasterdataFixture::press(s, "btn_last");
        s->hide();
        s->open_centred();
        QCOMPARE(MasterdataFixture::label(s, "page_page"), QString("当前2页/共2页"));
    }

    // The paging texts stay inside every list screen, the narrow area and category
    // screens included, even with many pages; a dish's time shows whole.
    void textsFitTheWindow_data()
    {
        QTest::addColumn<int>("screen");
        QTest::newRow("桌号分类") << 0;
        QTest::newRow("菜品分类") << 1;
        QTest::newRow("桌位管理") << 2;
        QTest::newRow("菜品管理") << 3;
        QTest::newRow("会员管理") << 4;
    }
    void textsFitTheWindow()
    {
        QFETCH(int, screen);
        MasterdataFixture f;
        f.exec("INSERT INTO lumo_caipin(title,price,addtime) VALUES('米饭','2','1796969280')");
        f.exec("INSERT INTO lumo_member(mobile,truename,balance) VALUES('13800000001','张三',"
               "493826.8)");
        ListScreen *const screens[]
            = {f.areas(), f.categories(), f.desk(), f.dishes(), f.forms->member};
        ListScreen *s = screens[screen];
        s->open_centred();
        set_page_bar(123, 456, s, 6840);
        auto *bar = s->findChild<QWidget *>("box_page");
        auto *nums = s->findChild<QLabel *>("page_nums");
        auto *page = s->findChild<QLabel *>("page_page");
        QCOMPARE(page->text(), QString("当前123页/共456页"));
        QVERIFY(bar->geometry().right() <= s->width());
        QVERIFY2(page->geometry().right() < bar->width(), qPrintable(page->text()));
        QVERIFY(page->width() >= page->fontMetrics().horizontalAdvance(page->text()));
        QVERIFY(nums->width() >= nums->fontMetrics().horizontalAdvance(nums->text()));
        QVERIFY(nums->geometry().right() < page->geometry().left());

        if (screen == 3) {
            auto *list = s->findChild<QTableWidget *>("ListView1");
            const QString time = list->item(0, 5)->text();
            QCOMPARE(time.size(), 16); // yyyy-mm-dd hh:mm
            QFont rowFont = list->font();
            rowFont.setPointSize(10);
            QVERIFY2(list->columnWidth(5) - 8 >= QFontMetrics(rowFont).horizontalAdvance(time),
                     qPrintable(time));
            // The name column keeps its room.
            QVERIFY(list->columnWidth(1) > 200);
        }
        if (screen == 4) {
            // A six-figure balance shows whole, not "493...".
            auto *list = s->findChild<QTableWidget *>("ListView1");
            const QString balance = list->item(0, 5)->text();
            QCOMPARE(balance, QString("493826.80"));
            QVERIFY2(list->columnWidth(5) - 8 >= list->fontMetrics().horizontalAdvance(balance),
                     qPrintable(QString::number(list->columnWidth(5))));
            QVERIFY(list->columnWidth(1) > 100); // the name keeps its room
        }
    }

    // A double-click in the first two columns toggles like 编辑, with its own memory.
    // Every list screen's columns: title, width ("*" for the name column, which gets
    // what the others leave less 4) and where the header puts its caption (L, C, R).
    void columns_data()
    {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QString>("columns");
        QTest::newRow("桌号分类") << "TForm_desk_class"
                                  << "行号 50 L|分类名称 * L|排序号 140 L|编辑 50 C|删除 50 C";
        QTest::newRow("菜品分类") << "TForm_cp_class"
                                  << "编号 50 L|分类名称 * L|排序号 140 L|编辑 50 C|删除 50 L";
        QTest::newRow("桌位管理")
            << "TForm_desk"
            << "行号 50 L|桌位名称 * L|编号 100 L|排序号 100 L|所属分类 100 L|"
               "编辑 50 C|删除 50 C";
        QTest::newRow("菜品管理")
            << "TForm_caipin"
            << "编号 50 L|菜品名称 * L|菜品价格 80 L|所属分类 80 L|每日库存 60 L|"
               "添加时间 120+ L|打折 60 L|编辑 50 C|删除 50 L";
        QTest::newRow("会员管理")
            << "TForm_member"
            << "编号 50 L|会员姓名 * L|会员手机号 100 L|添加时间 140 L|折扣 50 L|"
               "余额 50+ L|充值 50 C|编辑 50 C|删除 50 R";
        QTest::newRow("员工设置")
            << "TForm_yuangong"
            << "编号 50 L|登录账号 * L|真实姓名 100 L|是否在职 80 L|添加时间 140 L|"
               "权限 80 L|编辑 50 C|删除 50 C";
    }
    void columns()
    {
        QFETCH(QString, screen);
        QFETCH(QString, columns);
        MasterdataFixture f;
        auto *s = f.main()->findChild<ListScreen *>(screen);
        QVERIFY2(s, qPrintable(screen));
        QTableWidget *t = s->list();
        const QStringList expected = columns.split('|');
        QCOMPARE(t->columnCount(), expected.size());
        // "120+": at least 120, wider where the font needs it for a whole time;
        // the name column ("*") then gives up the difference.
        int fixed = 0;
        for (int c = 0; c < expected.size(); ++c)
            fixed += expected[c].section(' ', 1, 1).endsWith('+')
                         ? t->columnWidth(c)
                         : expected[c].section(' ', 1, 1).toInt();
        QStringList seen;
        for (int c = 0; c < t->columnCount(); ++c) {
            // A caption without its own alignment is drawn the header's way.
            const int own = t->horizontalHeaderItem(c)->textAlignment();
            const Qt::Alignment a
                = (own ? Qt::Alignment(own) : t->horizontalHeader()->defaultAlignment())
                  & Qt::AlignHorizontal_Mask;
            const QString want = expected[c].section(' ', 1, 1);
            QString width = QString::number(t->columnWidth(c));
            if (want == QLatin1String("*") && t->columnWidth(c) == t->width() - fixed - 4)
                width = want;
            else if (want.endsWith('+') && t->columnWidth(c) >= want.chopped(1).toInt())
                width = want;
            seen << t->horizontalHeaderItem(c)->text() + ' ' + width + ' '
                        + (a == Qt::AlignHCenter ? 'C'
                           : a == Qt::AlignRight ? 'R'
                                                 : 'L');
        }
        QCOMPARE(seen.join('|'), columns);
    }

    void doubleClickToggles()
    {
        MasterdataFixture f;
        f.exec("INSERT INTO lumo_desk_class(title,sort) VALUES('大厅',1),('包间',2)");
        TForm_desk_class *s = f.areas();
        s->open_centred();
        MasterdataFixture::doubleClickCell(s, 0, 1);
        QVERIFY(s->editing());
        QCOMPARE(s->edit_id(), QString("1"));
        MasterdataFixture::doubleClickCell(s, 0, 0);
        QVERIFY(!s->editing());
        MasterdataFixture::doubleClickCell(s, 1, 2);
        QVERIFY(!s->editing());
        MasterdataFixture::clickCell(s, 1, 3);
        QCOMPARE(s->edit_id(), QString("2"));
    }
};

QTEST_MAIN(TestListScreensUi)
#include "tst_list_screens_ui.moc"
