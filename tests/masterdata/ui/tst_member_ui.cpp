#include "app/notifier.h"
#include "checkout/ui/tform_cancel.h"
#include "checkout/ui/tform_chongzhi.h"
#include "masterdata/ui/tform_member.h"
#include "masterdata_fixture.h"

class TestMemberUi : public QObject
{
    Q_OBJECT

    static TForm_member *screen(MasterdataFixture &f)
    {
        TForm_member *s = f.forms->member;
        s->open_centred();
        return s;
    }
    static void fill(TForm_member *s, const QString &mobile, const QString &name, const QString &zk)
    {
        MasterdataFixture::type(s, "LabeledEdit2", mobile);
        MasterdataFixture::type(s, "LabeledEdit3", name);
        MasterdataFixture::type(s, "LabeledEdit4", zk);
    }

private slots:
    // The save's checks in order as the owner meets them; nothing is written.
    void refusals_data()
    {
        QTest::addColumn<QString>("mobile");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("discount");
        QTest::addColumn<QString>("message");
        QTest::newRow("mobile") << ""
                                << ""
                                << "x"
                                << "请输入会员手机号";
        QTest::newRow("name") << "1"
                              << ""
                              << "x"
                              << "请输入姓名";
        QTest::newRow("short mobile") << "1380000000"
                                      << "张三"
                                      << "x"
                                      << "请输入正确的手机号";
        QTest::newRow("taken") << "13800000001"
                               << "张三"
                               << "x"
                               << "会员号手机号已存在，请确认";
        QTest::newRow("discount") << "13800000002"
                                  << "张三"
                                  << "8.8.8"
                                  << "折扣输入错误，请检查";
        QTest::newRow("above 10") << "13800000002"
                                  << "张三"
                                  << "10.01"
                                  << "折扣设置超过10了，请检查";
        QTest::newRow("below 1") << "13800000002"
                                 << "张三"
                                 << "0.99"
                                 << "折扣设置低于1了，请检查";
    }
    void refusals()
    {
        MasterdataFixture f;
        f.exec("INSERT INTO lumo_member(mobile,truename) VALUES('13800000001','老王')");
        TForm_member *s = screen(f);
        QFETCH(QString, mobile);
        QFETCH(QString, name);
        QFETCH(QString, discount);
        fill(s, mobile, name, discount);
        MasterdataFixture::save(s);
        QTEST(f.toast(), "message");
        QCOMPARE(f.scalar("SELECT count(*) FROM lumo_member"), QString("1"));
    }

    // Add, list in 折 and with the balance, edit through the 编辑 cell, soft delete
    // that hides the member and keeps the number taken.
    void addEditDelete()
    {
        MasterdataFixture f;
        f.showBoard();
        f.menu(81);
        TForm_member *s = f.forms->member;
        QVERIFY(s->isVisible());
        QCOMPARE(MasterdataFixture::captions(s), QString("新增会员/新增会员保存"));
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit4"), QString("10"));
        QCOMPARE(MasterdataFixture::label(s, "Label3"), QString("￥0.00"));

        fill(s, "13800000001", "张三", "8.5");
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("会员信息录入成功"));
        f.exec("UPDATE lumo_member SET balance=120.5");
        fill(s, "01234567890", "李四", "");
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("会员信息录入成功"));
        // Newest first; the editor keeps its texts after a save.
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit3"), QString("李四"));
        QCOMPARE(MasterdataFixture::rows(s),
                 (QStringList{"1|李四|01234567890|2024-03-05 14:07|10|0.00|",
                              "2|张三|13800000001|2024-03-05 14:07|8.5|120.50|"}));

        // 编辑 on 张三: the fields, the discount with two decimals and the balance.
        MasterdataFixture::clickCell(s, 1, 7);
        QCOMPARE(MasterdataFixture::captions(s), QString("编辑会员信息/编辑会员信息保存"));
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit2"), QString("13800000001"));
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit4"), QString("8.50"));
        QCOMPARE(MasterdataFixture::label(s, "Label3"), QString("￥120.50"));
        MasterdataFixture::type(s, "LabeledEdit4", "8.88");
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("会员信息修改成功"));
        QCOMPARE(f.db("SELECT truename,zekou FROM lumo_member ORDER BY id"),
                 (QStringList{"张三|888", "李四|1000"}));
        // The same cell again: back to add mode with empty fields.
        MasterdataFixture::clickCell(s, 1, 7);
        QCOMPARE(MasterdataFixture::captions(s), QString("添加会员/新增会员保存"));
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit4"), QString());
        QCOMPARE(MasterdataFixture::label(s, "Label3"), QString("￥0.00"));

        // Search by the exact number, then delete after the confirmation.
        MasterdataFixture::type(s, "lab_keyword", "01234567890");
        MasterdataFixture::press(s, "btn_search");
        QCOMPARE(MasterdataFixture::rows(s).size(), 1);
        QVERIFY(MasterdataFixture::rows(s).first().startsWith("1|李四|"));
        f.prompts->queue(true);
        MasterdataFixture::clickCell(s, 0, 8);
        QCOMPARE(MasterdataFixture::rows(s), QStringList{});
        QCOMPARE(f.db("SELECT truename,stat FROM lumo_member ORDER BY id"),
                 (QStringList{"张三|0", "李四|4"}));

        fill(s, "01234567890", "王五", "");
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("会员号手机号已存在，请确认"));
        QCOMPARE(f.scalar("SELECT count(*) FROM lumo_member"), QString("2"));
    }

    // The 充值 cell opens the recharge window for that row's member; a recharge
    // shows in the list.
    void rechargeCell()
    {
        MasterdataFixture f;
        f.exec("INSERT INTO lumo_member(id,mobile,truename) VALUES(1,'13800000001','张三'),"
               "(2,'13800000002','李四')");
        TForm_member *s = screen(f);
        QVERIFY(!f.forms->chongzhi->isVisible());
        MasterdataFixture::clickCell(s, 1, 6);
        QVERIFY(f.forms->chongzhi->isVisible());
        QCOMPARE(f.forms->chongzhi->uid, QString("1"));
        QCOMPARE(f.forms->chongzhi->truename, QString("张三"));

        f.exec("UPDATE lumo_member SET balance=50 WHERE id=1");
        emit f.ctx.notifier().member_changed("1");
        QVERIFY(MasterdataFixture::rows(s).at(1).endsWith("|50.00|"));
    }

    // A balance changed by a recharge or by a bill paid from it shows at once, in
    // the list and beside the member being edited; what the owner typed stays.
    void balanceFollowsPayments()
    {
        MasterdataFixture f;
        f.exec("INSERT INTO lumo_member(id,mobile,truename,balance) VALUES(1,'13800000001','张三',"
               "10),(2,'13800000002','李四',0)");
        TForm_member *s = screen(f);
        MasterdataFixture::clickCell(s, 1, 7);
        auto *balance = s->findChild<QLabel *>("Label3");
        QCOMPARE(balance->text(), QString("￥10.00"));
        MasterdataFixture::type(s, "LabeledEdit3", "张三丰");

        f.exec("UPDATE lumo_member SET balance=60 WHERE id=1");
        emit f.ctx.notifier().member_changed("1");
        QCOMPARE(balance->text(), QString("￥60.00"));
        QVERIFY(MasterdataFixture::rows(s).at(1).endsWith("|60.00|"));

        f.exec("UPDATE lumo_member SET balance=25.5 WHERE id=1");
        emit f.ctx.notifier().member_changed("1"); // as a settlement paid from it announces
        QCOMPARE(balance->text(), QString("￥25.50"));
        QVERIFY(MasterdataFixture::rows(s).at(1).endsWith("|25.50|"));
        QCOMPARE(s->findChild<QLineEdit *>("LabeledEdit3")->text(), QString("张三丰"));
        QVERIFY(s->editing());

        // Paid from while the window was hidden: shown again, it shows what is stored.
        s->hide();
        f.exec("UPDATE lumo_member SET balance=400 WHERE id=1");
        s->show();
        QCOMPARE(balance->text(), QString("￥400.00"));
        QVERIFY(MasterdataFixture::rows(s).at(1).endsWith("|400.00|"));
    }
};

QTEST_MAIN(TestMemberUi)
#include "tst_member_ui.moc"
