#include "app/demo_data.h"
#include "app/helpers.h"
#include "app/ini.h"
#include "app/ui/toast.h"
#include "board/ui/tform_desk_zhuantai.h"
#include "board/ui/tform_desk_zt.h"
#include "board/ui/tform_main.h"
#include "masterdata/ui/tform_yuangong.h"
#include "reports/ui/tform_orders.h"
#include "staff/login.h"
#include "staff/ui/tform_modify.h"
#include "store/schema.h"
#include "support/ui/guikit.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSystemTrayIcon>

namespace {

class Window : public GuiProgram
{
public:
    TForm_main *main() const { return forms->main; }
    void show() const
    {
        main()->set_board_size(QSize(1600, 1000));
        if (demo_offer_due(ctx))
            prompts->queue(false); // no demonstration data here
        main()->show();
        prompts->confirms.clear();
    }
    template<class T = QWidget> T *find(const QString &name) const
    {
        return main()->findChild<T *>(name);
    }
    // Ids of the menu entries, left to right.
    QList<int> entries() const
    {
        QMap<int, int> byLeft;
        QFrame *bar = find<QFrame>("menu_box");
        for (QFrame *f : bar->findChildren<QFrame *>(Qt::FindDirectChildrenOnly))
            byLeft.insert(f->x(), f->objectName().mid(9).toInt());
        return byLeft.values();
    }
    void menu(int id) const { click(find<QLabel>(QStringLiteral("menu_label_%1").arg(id))); }
    bool login_shown() const
    {
        return !find("login_box")->isHidden() && !find("login_cover")->isHidden();
    }
    QString toast() const { return forms->toast->isShown() ? forms->toast->text() : QString(); }
    QString ini(const QString &key) const
    {
        return IniFile(ctx.paths.ini).readString("Memberinfo", key);
    }
};

const QList<int> AdminEntries
    = {11, 21, 31, 41, 42, 51, 54, 52, 53, 61, 71, 72, 81, 91, 111, 121, 101};

} // namespace

class TestStaffUi : public QObject
{
    Q_OBJECT

private slots:
    void newInstallationIsSignedInAsAdministrator()
    {
        Window w;
        w.show();
        QVERIFY(!w.login_shown());
        QCOMPARE(w.entries(), AdminEntries);
        QCOMPARE(w.find<QLabel>("operator")->text(), QString("操作人员：admin"));
        // Left entries step 79 pixels; 系统设置 sits against the right edge.
        QCOMPARE(w.find("menu_box_21")->geometry(), QRect(79, 0, 80, 70));
        QCOMPARE(w.find("menu_box_111")->x(), 14 * 79);
        QCOMPARE(w.find("menu_box_101")->x(), 1580 - 80 + 8);
        QLabel *label = w.find<QLabel>("menu_label_21");
        QCOMPARE(label->text(), QString("转台"));
        QCOMPARE(label->toolTip(), QString("转台"));
        QCOMPARE(label->pos(), QPoint(24, 40));
        QCOMPARE(label->font().pointSize(), 10);
        QLabel *picture = w.find<QLabel>("menu_pic_21");
        QCOMPARE(picture->geometry(), QRect(24, 2, 32, 32));
        QVERIFY(!picture->pixmap().isNull());
        QCOMPARE(w.find("menu_box_21")->cursor().shape(), Qt::PointingHandCursor);
    }

    void logoutAndLoginAgain()
    {
        Window w;
        w.show();
        w.prompts->queue(false);
        w.menu(121);
        QCOMPARE(w.prompts->confirms, QStringList{"确认要退出登录吗"});
        QVERIFY(!w.login_shown());
        QCOMPARE(w.ini("member_username"), QString("admin"));

        w.menu(121);
        QCOMPARE(w.toast(), QString("您已退出成功"));
        QVERIFY(w.login_shown());
        // The cover hides the whole board, paging buttons included.
        const QObjectList stack = w.main()->children();
        QVERIFY(stack.indexOf(w.find("login_cover")) > stack.indexOf(w.find("paging_box")));
        QVERIFY(stack.indexOf(w.find("login_box")) > stack.indexOf(w.find("login_cover")));
        QVERIFY(w.entries().isEmpty());
        QCOMPARE(w.find<QLabel>("operator")->text(), QString("操作人员："));
        QCOMPARE(w.ini("member_uid"), QString("0"));
        QCOMPARE(w.ini("member_username"), QString());
        QCOMPARE(w.ini("member_password"), QString());
        QCOMPARE(w.ini("member_tid"), QString("0"));

        auto *name = w.find<QLineEdit>("login_name");
        auto *password = w.find<QLineEdit>("login_password");
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QCOMPARE(name->placeholderText(), QString("请输入登录账号"));
        Window::click(w.find<QPushButton>("login_button"));
        QCOMPARE(w.toast(), QString("请输入登录账号"));
        name->setText("admin");
        password->setText("wrong");
        QCOMPARE(password->displayText(), QString("*****"));
        Window::click(w.find<QPushButton>("login_button"));
        QCOMPARE(w.toast(), QString("登录密码错误"));
        QVERIFY(w.login_shown());

        password->setText(AdminInitialPassword);
        QTest::keyClick(password, Qt::Key_Return);
        QCOMPARE(w.toast(), QString("登录成功"));
        QCOMPARE(w.forms->toast->countdown(), 3);
        QVERIFY(!w.login_shown());
        QCOMPARE(w.entries(), AdminEntries);
        QCOMPARE(w.find<QLabel>("operator")->text(), QString("操作人员：admin"));
        QCOMPARE(w.ini("member_username"), QString("admin"));
    }

    void logoutForgetsWhatWasTyped()
    {
        Window w;
        w.exec("INSERT INTO lumo_desk(title,bh,istest) VALUES('桌位01','01',1)");
        w.show();
        w.main()->createmenu();
        QVERIFY(w.entries().contains(114));
        w.menu(121);
        auto *name = w.find<QLineEdit>("login_name");
        auto *password = w.find<QLineEdit>("login_password");
        QCOMPARE(w.main()->focusWidget(), name);
        // Nobody signed in: no entry may change data, deleting the demonstration included.
        QVERIFY(w.entries().isEmpty());

        name->setText("admin");
        password->setText(AdminInitialPassword);
        Window::click(w.find<QPushButton>("login_button"));
        QVERIFY(!w.login_shown());
        QVERIFY(w.entries().contains(114));

        // The next person to come to the counter finds both fields empty.
        w.menu(121);
        QVERIFY(w.login_shown());
        QCOMPARE(name->text(), QString());
        QCOMPARE(password->text(), QString());
        QCOMPARE(w.main()->focusWidget(), name);
        Window::click(w.find<QPushButton>("login_button"));
        QVERIFY(w.login_shown());
        QCOMPARE(w.ctx.account.username, QString());
    }

    void logoutClosesTheWindowsOfTheAccount()
    {
        Window w;
        w.show();
        w.menu(91);  // 员工设置, administrators only
        w.menu(111); // 修改资料, the own profile
        w.menu(52);  // 订单, anyone's
        QVERIFY(w.forms->yuangong->isVisible());
        QVERIFY(w.forms->modify->isVisible());
        // The table dialogs change tables with the rights of whoever is signed in.
        w.forms->desk_zt->open_with("1", QString());
        w.forms->desk_zhuantai->open_with("1", QString());
        w.menu(121);
        QVERIFY(!w.forms->desk_zt->isVisible());
        QVERIFY(!w.forms->desk_zhuantai->isVisible());
        QVERIFY(w.login_shown());
        // The next person to sign in, whatever the role, does not find them open.
        QVERIFY(!w.forms->yuangong->isVisible());
        QVERIFY(!w.forms->modify->isVisible());
        // Nor anyone's list of orders, with its reprints.
        QVERIFY(!w.forms->orders->isVisible());
    }

    void nextStartAfterLogoutShowsTheLoginBox()
    {
        Window w;
        w.show();
        w.menu(121);

        AppContext again;
        again.setPrompts(w.prompts);
        again.setClock(w.clock);
        auto forms = create_forms(again, w.dir.path());
        forms->main->set_board_size(QSize(1600, 1000));
        w.prompts->queue(false); // the demonstration data offer
        forms->main->show();
        QVERIFY(!forms->main->findChild<QWidget *>("login_box")->isHidden());
        QVERIFY(forms->main->findChild<QFrame *>("menu_box")->findChildren<QFrame *>().isEmpty());
        QCOMPARE(forms->main->focusWidget(), forms->main->findChild<QLineEdit *>("login_name"));
    }

    void staffSeeTheTenEntries()
    {
        Window w;
        w.exec(QStringLiteral("INSERT INTO lumo_admin(id,username,rndstr,encmd5,truename,tid) "
                              "VALUES(2,'xiaoli','abcdefghij','%1','小李',1)")
                   .arg(pass_digest("secret1", "abcdefghij")));
        // Remembered at the last run, with an administrator's role put into info.ini
        // since: the role in the database decides.
        w.ctx.account.clear();
        QVERIFY(login(w.ctx, "xiaoli", "secret1").ok);
        IniFile ini(w.ctx.paths.ini);
        ini.writeString("Memberinfo", "member_tid", "9");
        w.ctx.account.clear();
        w.show();
        QVERIFY(!w.login_shown());
        QCOMPARE(w.entries(), (QList<int>{11, 21, 31, 41, 42, 51, 54, 52, 111, 121}));
        QCOMPARE(w.find<QLabel>("operator")->text(), QString("操作人员：xiaoli"));
        QCOMPARE(w.ctx.account.uid, qint64(2));
    }

    void changedPasswordElsewhereDropsTheAccountAtTheNextMenu()
    {
        Window w;
        w.show();
        w.exec(QStringLiteral("UPDATE lumo_admin set encmd5='%1'")
                   .arg(pass_digest("another", AdminSalt)));
        w.main()->createmenu();
        QVERIFY(w.entries().isEmpty());
        QCOMPARE(w.ctx.account.username, QString());
        // The login box comes back only through logout or the next start.
        QVERIFY(!w.login_shown());
    }

    void profileDialog()
    {
        Window w;
        w.random->values = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
        w.show();
        w.menu(111);
        TForm_modify *m = w.forms->modify;
        QVERIFY(m->isVisible());
        auto *name = m->findChild<QLineEdit *>("truename");
        auto *password = m->findChild<QLineEdit *>("password");
        QCOMPARE(name->text(), QString("管理员"));
        QCOMPARE(m->findChild<QLabel *>("role")->text(), QString("管理员"));
        QCOMPARE(password->placeholderText(), QString("小于6位字符表示不修改密码"));

        name->setText("老板");
        password->setText("12345");
        Window::click(m->findChild<QPushButton *>("save"));
        QCOMPARE(w.toast(), QString("资料修改成功"));
        QCOMPARE(w.scalar("SELECT truename||','||encmd5 FROM lumo_admin where id=1"),
                 QString("老板,") + AdminDigest);

        password->setText(" abcdef ");
        Window::click(m->findChild<QPushButton *>("save"));
        const QString digest = pass_digest("abcdef", "abcdefghij");
        QCOMPARE(w.scalar("SELECT encmd5 FROM lumo_admin where id=1"), digest);
        QCOMPARE(w.ini("member_password"), QString());
        // Still signed in with the new digest at the next menu rebuild.
        w.main()->createmenu();
        QCOMPARE(w.entries(), AdminEntries);
    }

    void minimisingWithoutANotificationArea()
    {
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("this platform has a notification area");
        Window w;
        w.show();
        w.main()->setWindowState(Qt::WindowMinimized);
        QCoreApplication::processEvents();
        QVERIFY(!w.main()->tray_icon());
        QVERIFY(!w.main()->isHidden());
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TestStaffUi t;
    return QTest::qExec(&t, argc, argv);
}
#include "tst_staff_ui.moc"
