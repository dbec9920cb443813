#include "masterdata_fixture.h"

class TestDeskUi : public QObject
{
    Q_OBJECT

private slots:
    void menuEntriesOpenTheScreens_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("window");
        QTest::newRow("桌位管理") << 61 << "TForm_desk";
        QTest::newRow("菜品管理") << 71 << "TForm_caipin";
        QTest::newRow("菜品分类") << 72 << "TForm_cp_class";
    }
    void menuEntriesOpenTheScreens()
    {
        QFETCH(int, entry);
        QFETCH(QString, window);
        MasterdataFixture f;
        f.showBoard();
        f.menu(entry);
        auto *w = f.main()->findChild<QDialog *>(window);
        QVERIFY(w && w->isVisible());
        QCOMPARE(w->findChild<QLabel *>("page_nums")->text(), QString("共有0条符合条件的记录"));
    }

    // "删除数据" shows at once in the open tables and dishes screens; the owner's own
    // dish stays.
    void screensFollowTheDemonstrationRemoval()
    {
        MasterdataFixture f;
        f.prompts->queue(true); // take the demonstration data
        f.main()->set_board_size(QSize(1600, 1000));
        f.main()->show();
        f.exec("INSERT INTO lumo_caipin(title,price,sort) VALUES('自制酸奶','8',999)");
        f.menu(61);
        f.menu(71);
        QCOMPARE(f.desk()->page_rows().records, 20);
        QVERIFY(f.dishes()->page_rows().records > 1);

        f.prompts->queue(true);
        f.menu(114);
        QCOMPARE(f.scalar("SELECT count(*) FROM lumo_desk"), QString("0"));
        QCOMPARE(f.desk()->page_rows().records, 0);
        QCOMPARE(f.desk()->list()->rowCount(), 0);
        QCOMPARE(f.dishes()->page_rows().records, 1);
        QCOMPARE(f.dishes()->list()->item(0, 1)->text(), QString("自制酸奶"));
    }

    // The save's checks in order; nothing is written.
    void refusals_data()
    {
        QTest::addColumn<bool>("areas");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("bh");
        QTest::addColumn<QString>("typedArea"); // typed into the area choice; empty: left
        QTest::addColumn<QString>("sort");
        QTest::addColumn<QString>("message");
        QTest::newRow("name") << true << " "
                              << ""
                              << ""
                              << ""
                              << "请填写桌位名称";
        QTest::newRow("number") << true << "一号桌"
                                << "''"
                                << ""
                                << ""
                                << "请填写编号";
        QTest::newRow("no area defined") << false << "一号桌"
                                         << "A1"
                                         << ""
                                         << "1"
                                         << "分类ID只能是数字";
        QTest::newRow("area typed") << true << "一号桌"
                                    << "A1"
                                    << "大厅"
                                    << "1"
                                    << "分类ID只能是数字";
        QTest::newRow("sort text") << true << "一号桌"
                                   << "A1"
                                   << ""
                                   << "1a"
                                   << "排序号只能是数字";
        QTest::newRow("sort empty") << true << "一号桌"
                                    << "A1"
                                    << ""
                                    << ""
                                    << "排序号只能是数字";
    }
    void refusals()
    {
        QFETCH(bool, areas);
        QFETCH(QString, typedArea);
        MasterdataFixture f;
        if (areas)
            f.exec("INSERT INTO lumo_desk_class(title,sort) VALUES('大厅',1)");
        TForm_desk *s = f.desk();
        s->open_centred();
        QFETCH(QString, name);
        MasterdataFixture::type(s, "LabeledEdit2", name);
        QFETCH(QString, bh);
        QFETCH(QString, sort);
        MasterdataFixture::type(s, "LabeledEdit3", bh);
        MasterdataFixture::type(s, "LabeledEdit4", sort);
        auto *combo = s->findChild<QComboBox *>("ComboBox1");
        QCOMPARE(combo->count(), areas ? 2 : 0);
        if (!typedArea.isEmpty()) {
            combo->lineEdit()->selectAll();
            QTest::keyClick(combo->lineEdit(), Qt::Key_Backspace);
            for (const QChar c : typedArea)
                QTest::sendKeyEvent(
                    QTest::Click, combo->lineEdit(), Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        MasterdataFixture::save(s);
        QTEST(f.toast(), "message");
        QCOMPARE(f.scalar("SELECT count(*) FROM lumo_desk"), QString("0"));
    }

    // Add, a taken number, edit to another's number, and deletes, with the board
    // following each change.
    void addEditDeleteFollowedByTheBoard()
    {
        MasterdataFixture f;
        f.exec("INSERT INTO lumo_desk_class(id,title,sort) VALUES(1,'大厅',1),(2,'包间',2)");
        f.showBoard();
        f.menu(61);
        TForm_desk *s = f.desk();
        QCOMPARE(MasterdataFixture::captions(s), QString("新增桌位/新增桌位保存"));
        QCOMPARE(s->findChild<QComboBox *>("ComboBox1")->currentText(), QString("选择分类"));

        MasterdataFixture::choose(s, "包间");
        MasterdataFixture::type(s, "LabeledEdit2", "一号桌");
        MasterdataFixture::type(s, "LabeledEdit3", "A1");
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("桌位添加成功"));
        QCOMPARE(MasterdataFixture::rows(s), QStringList{"1|一号桌|A1|1|包间"});
        QCOMPARE(f.db("SELECT title,bh,cid,sort,cname,stat FROM lumo_desk"),
                 QStringList{"一号桌|A1|2|1|包间|0"});
        QVERIFY(f.tile("1"));
        QCOMPARE(f.main()->findChild<QLabel *>("desklist_groupbox_static2_1")->text(),
                 QString("包间"));

        // The same number again: refused, the typed texts stay for correcting.
        MasterdataFixture::type(s, "LabeledEdit2", "二号桌");
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("餐桌编号已存在"));
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit2"), QString("二号桌"));
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit3"), QString("A1"));
        QCOMPARE(MasterdataFixture::rows(s).size(), 1);
        MasterdataFixture::type(s, "LabeledEdit3", "A2");
        MasterdataFixture::save(s);
        QCOMPARE(f.tileCount(), 2);
        QCOMPARE(MasterdataFixture::label(s, "page_nums"), QString("共有2条符合条件的记录"));

        // Editing to another table's number is accepted.
        MasterdataFixture::clickCell(s, 1, 5);
        QCOMPARE(MasterdataFixture::captions(s), QString("编辑桌位/编辑桌位保存"));
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit4"), QString("2"));
        MasterdataFixture::type(s, "LabeledEdit3", "A1");
        MasterdataFixture::choose(s, "大厅");
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("桌位修改成功"));
        QCOMPARE(f.db("SELECT id,bh,cid,cname FROM lumo_desk ORDER BY id"),
                 (QStringList{"1|A1|2|包间", "2|A1|1|大厅"}));
        QCOMPARE(f.main()->findChild<QLabel *>("desklist_groupbox_static2_2")->text(),
                 QString("大厅"));

        // The board's selection survives the rebuild, and goes with its table.
        GuiProgram::click(f.tile("1"));
        QCOMPARE(f.ctx.desk_id, QString("1"));
        MasterdataFixture::save(s);
        QCOMPARE(f.ctx.desk_id, QString("1"));
        QCOMPARE(f.tile("1")->palette().color(QPalette::Window), QColor("#F579FF"));

        // Unsettled lines keep a table; once settled it goes and its lines stay.
        f.exec("INSERT INTO lumo_orders(id,deskid,iscal,tid) VALUES(7,1,1,0)");
        f.exec("INSERT INTO lumo_orders_detail(deskid,rootid,iscal) VALUES(1,7,0)");
        MasterdataFixture::clickCell(s, 0, 6);
        QCOMPARE(f.toast(), QString("此桌号还有未结账的订单，请结完账后再删除"));
        QCOMPARE(f.scalar("SELECT count(*) FROM lumo_desk"), QString("2"));
        QVERIFY(f.tile("1"));
        f.exec("UPDATE lumo_orders_detail SET iscal=1");
        MasterdataFixture::clickCell(s, 0, 6);
        QCOMPARE(f.db("SELECT id FROM lumo_desk"), QStringList{"2"});
        QCOMPARE(f.scalar("SELECT count(*) FROM lumo_orders_detail"), QString("1"));
        QCOMPARE(MasterdataFixture::rows(s), QStringList{"1|二号桌|A1|2|大厅"});
        QVERIFY(!f.tile("1"));
        QCOMPARE(f.tileCount(), 1);
        QCOMPARE(f.ctx.desk_id, QString());
    }

    // Deleting an area: its tables keep area id and name; the choices, the tables
    // list and the board's area bar follow.
    void areaDeleteKeepsItsTables()
    {
        MasterdataFixture f;
        f.exec("INSERT INTO lumo_desk_class(id,title,sort) VALUES(1,'大厅',1),(2,'包间',2)");
        f.exec("INSERT INTO lumo_desk(title,bh,cid,sort,cname) VALUES('雅间','B1',2,1,'包间')");
        f.showBoard();
        QVERIFY(f.areaBox("2"));
        // The board shows only the area about to go.
        GuiProgram::click(f.areaBox("2"));
        QCOMPARE(f.main()->selected_area(), QString("2"));
        f.menu(61);
        MasterdataFixture::press(f.desk(), "CnButton2");
        TForm_desk_class *a = f.areas();
        QVERIFY(a->isVisible());
        MasterdataFixture::clickCell(a, 1, 4);
        QCOMPARE(f.db("SELECT id FROM lumo_desk_class"), QStringList{"1"});
        QCOMPARE(f.db("SELECT cid,cname FROM lumo_desk"), QStringList{"2|包间"});
        QCOMPARE(MasterdataFixture::rows(f.desk()), QStringList{"1|雅间|B1|1|"});
        QCOMPARE(f.desk()->findChild<QComboBox *>("ComboBox1")->findText("包间"), -1);
        QVERIFY(!f.areaBox("2"));
        // The gone area no longer filters the board: its table shows under 全部.
        QCOMPARE(f.main()->selected_area(), QString("0"));
        QVERIFY(!f.tile("1")->isHidden());
    }
};

QTEST_MAIN(TestDeskUi)
#include "tst_desk_ui.moc"
