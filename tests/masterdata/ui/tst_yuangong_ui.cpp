#include "masterdata/ui/tform_yuangong.h"
#include "masterdata_fixture.h"
#include "staff/ui/tform_modify.h"

class TestYuangongUi : public QObject
{
    Q_OBJECT

    static void chooseRole(TForm_yuangong *s, const QString &name)
    {
        auto *box = s->findChild<QComboBox *>("ComboBox1");
        const int i = box->findText(name);
        QVERIFY2(i >= 0, qPrintable(name));
        box->showPopup();
        QAbstractItemView *v = box->view();
        const QRect r = v->visualRect(v->model()->index(i, 0));
        QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, r.center());
        QTRY_VERIFY(!v->isVisible());
    }

private slots:
    // Signed in as another administrator: adding works, editing is refused first.
    void nonSuperAdministrator()
    {
        MasterdataFixture f;
        f.showBoard();
        f.ctx.account.uid = 2;
        f.menu(91);
        TForm_yuangong *s = f.forms->yuangong;
        QVERIFY(s->isVisible());
        QCOMPARE(MasterdataFixture::captions(s), QString("新增员工/新增员工保存"));
        // The password shows as "*", one for each character typed.
        QCOMPARE(s->findChild<QLineEdit *>("LabeledEdit3")->echoMode(), QLineEdit::Password);
        MasterdataFixture::type(s, "LabeledEdit3", "pw");
        QCOMPARE(s->findChild<QLineEdit *>("LabeledEdit3")->displayText(), QString("**"));
        MasterdataFixture::type(s, "LabeledEdit3", "");

        MasterdataFixture::type(s, "LabeledEdit2", "Admin");
        MasterdataFixture::type(s, "LabeledEdit4", "王厨");
        chooseRole(s, "厨师");
        QCOMPARE(s->findChild<QComboBox *>("ComboBox2")->currentText(), QString("5"));
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("员工信息录入成功"));
        const QStringList rows = MasterdataFixture::rows(s);
        QCOMPARE(rows.size(), 2);
        QCOMPARE(rows.at(0), QString("1|Admin|王厨|1|2024-03-05 14:07|厨师"));
        QVERIFY(rows.at(1).startsWith("2|admin|"));

        // Editing the new account: the role comes back; the save is refused.
        MasterdataFixture::clickCell(s, 0, 6);
        QCOMPARE(MasterdataFixture::captions(s), QString("编辑员工信息/编辑员工信息保存"));
        QCOMPARE(s->findChild<QComboBox *>("ComboBox1")->currentText(), QString("厨师"));
        MasterdataFixture::type(s, "LabeledEdit4", "李厨");
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("请使用超级管理员权限来操作"));
        QCOMPARE(f.scalar("SELECT truename FROM lumo_admin WHERE username='Admin'"),
                 QString("王厨"));

        // Account 1 cannot be deleted, asked first; another can.
        f.prompts->queue(true);
        MasterdataFixture::clickCell(s, 1, 7);
        QCOMPARE(f.toast(), QString("系统保留账号，不能删除"));
        f.prompts->queue(true);
        MasterdataFixture::clickCell(s, 0, 7);
        QCOMPARE(f.db("SELECT id FROM lumo_admin"), QStringList{"1"});
        QCOMPARE(MasterdataFixture::rows(s).size(), 1);
    }

    // The super administrator changes a role and name.
    // A name changed under "修改资料" shows at once in the open employees list.
    void followsTheOwnProfile()
    {
        MasterdataFixture f;
        f.showBoard();
        f.ctx.account.uid = 1;
        f.menu(91);
        TForm_yuangong *s = f.forms->yuangong;
        QVERIFY(MasterdataFixture::rows(s).at(0).contains("|管理员|"));
        f.menu(111);
        TForm_modify *m = f.forms->modify;
        QVERIFY(m->isVisible());
        MasterdataFixture::type(m, "truename", "老板娘");
        MasterdataFixture::press(m, "save");
        QVERIFY2(MasterdataFixture::rows(s).at(0).contains("|老板娘|"),
                 qPrintable(MasterdataFixture::rows(s).join(',')));
    }

    void superAdministratorEdits()
    {
        MasterdataFixture f;
        f.ctx.account.uid = 1;
        f.exec(
            "INSERT INTO lumo_admin(id,username,truename,tid,isjob) VALUES(2,'cook','老李',5,1)");
        TForm_yuangong *s = f.forms->yuangong;
        s->open_centred();
        MasterdataFixture::clickCell(s, 0, 6);
        QCOMPARE(MasterdataFixture::text(s, "LabeledEdit2"), QString("cook"));
        chooseRole(s, "管理员");
        MasterdataFixture::save(s);
        QCOMPARE(f.toast(), QString("员工信息修改成功"));
        QCOMPARE(f.db("SELECT username,truename,tid FROM lumo_admin WHERE id=2"),
                 QStringList{"cook|老李|9"});
        QVERIFY(MasterdataFixture::rows(s).first().endsWith("|管理员"));
    }
};

QTEST_MAIN(TestYuangongUi)
#include "tst_yuangong_ui.moc"
