#include "app/helpers.h"
#include "app/ini.h"
#include "staff/login.h"
#include "staff/login_token.h"
#include "staff/menu.h"
#include "staff/profile.h"
#include "store/schema.h"
#include "support/testkit.h"

#include <QTest>

namespace {

// Adds an account with the given password (salted as the program does) and role.
void add_account(const TestProgram &p,
                 int id,
                 const QString &name,
                 const QString &password,
                 int role,
                 const QString &salt = QStringLiteral("abcdefghij"))
{
    p.exec(QStringLiteral("INSERT INTO lumo_admin(id,username,rndstr,encmd5,truename,tid) "
                          "VALUES(%1,'%2','%3','%4','某人',%5)")
               .arg(id)
               .arg(name, salt, pass_digest(password, salt))
               .arg(role));
}

QString ini_key(const TestProgram &p, const QString &key)
{
    return IniFile(p.ctx.paths.ini).readString("Memberinfo", key);
}

QString ini_token(const TestProgram &p)
{
    return IniFile(p.ctx.paths.ini).readString(TokenSection, TokenKey);
}

QList<int> ids(const QVector<MenuRow> &rows)
{
    QList<int> out;
    for (const MenuRow &r : rows)
        out << r.id;
    return out;
}

const QList<int> StaffIds = {11, 21, 31, 41, 42, 51, 54, 52, 111, 121};
const QList<int> AdminIds = {11, 21, 31, 41, 42, 51, 54, 52, 53, 61, 71, 72, 81, 91, 101, 111, 121};

} // namespace

class TestStaff : public QObject
{
    Q_OBJECT

private slots:
    void loginRules_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty name") << ""
                                    << "secret1"
                                    << "请输入登录账号";
        QTest::newRow("only blanks and quotes") << " '' "
                                                << "secret1"
                                                << "请输入登录账号";
        QTest::newRow("empty password") << "zhang"
                                        << ""
                                        << "请输入登录密码";
        QTest::newRow("unknown account") << "li"
                                         << "secret1"
                                         << "登录账号不存在,请确认";
        QTest::newRow("wrong password") << "zhang"
                                        << "secret2"
                                        << "登录密码错误";
        QTest::newRow("password is not trimmed") << "zhang"
                                                 << " secret1"
                                                 << "登录密码错误";
        QTest::newRow("success") << "zhang"
                                 << "secret1"
                                 << "登录成功";
        QTest::newRow("apostrophe removed") << "zh'ang"
                                            << "secret1"
                                            << "登录成功";
        QTest::newRow("name trimmed") << " zhang "
                                      << "secret1"
                                      << "登录成功";
    }
    void loginRules()
    {
        QFETCH(QString, name);
        QFETCH(QString, password);
        QFETCH(QString, message);
        TestProgram p;
        add_account(p, 7, "zhang", "secret1", 3);
        p.ctx.account.clear();

        const LoginResult r = login(p.ctx, name, password);
        QCOMPARE(r.message, message);
        QCOMPARE(r.ok, message == "登录成功");
        if (r.ok) {
            const QString digest = pass_digest("secret1", "abcdefghij");
            QCOMPARE(ini_key(p, "member_uid"), QString("7"));
            QCOMPARE(ini_key(p, "member_username"), QString("zhang"));
            // Remembered by a token, never by the digest.
            QCOMPARE(ini_key(p, "member_password"), QString());
            QVERIFY(login_token_holds(p.ctx, 7, ini_token(p)));
            QCOMPARE(ini_key(p, "member_tid"), QString("3"));
            QCOMPARE(p.ctx.account.uid, qint64(7));
            QCOMPARE(p.ctx.account.username, QString("zhang"));
            QCOMPARE(p.ctx.account.digest, digest);
            QCOMPARE(p.ctx.account.role, 3);
        } else {
            // A refusal writes nothing: the seeded administrator is still remembered.
            QCOMPARE(ini_key(p, "member_username"), QString("admin"));
            QCOMPARE(p.ctx.account.uid, qint64(0));
        }
    }

    void loginComparesTheFirstOfTwoAccountsWithOneName()
    {
        TestProgram p;
        add_account(p, 5, "wang", "first1", 1);
        add_account(p, 6, "wang", "second", 9);
        QCOMPARE(login(p.ctx, "wang", "second").message, QString("登录密码错误"));
        QCOMPARE(login(p.ctx, "wang", "first1").message, QString("登录成功"));
        QCOMPARE(p.ctx.account.uid, qint64(5));
        QCOMPARE(p.ctx.account.role, 1);
    }

    void blanksAroundStoredDigestAndSaltStillSignIn()
    {
        // Rows written by other tools may carry blanks around the salt and digest.
        TestProgram p;
        p.exec(QStringLiteral("INSERT INTO lumo_admin(id,username,rndstr,encmd5,tid) "
                              "VALUES(7,'zhang',' abcdefghij ',' %1 ',1)")
                   .arg(pass_digest("secret1", "abcdefghij")));
        p.ctx.account.clear();
        QVERIFY(login(p.ctx, "zhang", "secret1").ok);
        // The signed-in account verifies against the row, now and at the next start.
        QCOMPARE(ids(menu_rows(p.ctx)), StaffIds);
        p.ctx.account.clear();
        check_local_login(p.ctx);
        QCOMPARE(ids(menu_rows(p.ctx)), StaffIds);
        QCOMPARE(p.ctx.account.uid, qint64(7));
    }

    void menuRowsFollowTheRoleInTheDatabase_data()
    {
        QTest::addColumn<int>("role");
        QTest::addColumn<QList<int>>("expected");
        QTest::newRow("点菜师") << 1 << StaffIds;
        QTest::newRow("保洁员") << 3 << StaffIds;
        QTest::newRow("厨师") << 5 << StaffIds;
        QTest::newRow("管理员") << 9 << AdminIds;
    }
    void menuRowsFollowTheRoleInTheDatabase()
    {
        QFETCH(int, role);
        QFETCH(QList<int>, expected);
        TestProgram p;
        add_account(p, 7, "zhang", "secret1", role);
        QVERIFY(login(p.ctx, "zhang", "secret1").ok);
        // A role held in memory (or in info.ini) never counts; the row's role does.
        p.ctx.account.role = role == 9 ? 1 : 9;
        const QVector<MenuRow> rows = menu_rows(p.ctx);
        QCOMPARE(ids(rows), expected);
        QCOMPARE(p.ctx.account.role, role);
        if (role == 9) {
            const MenuRow &setting = rows[14];
            QCOMPARE(setting.title, QString("系统设置"));
            QCOMPARE(setting.isright, 1);
            QCOMPARE(setting.icon, 13);
        }
    }

    void demonstrationEntryOnlyWhileSignedIn()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_desk(title,bh,istest) VALUES('桌位01','01',1)");
        QVector<MenuRow> rows = menu_rows(p.ctx);
        QCOMPARE(ids(rows), AdminIds + QList<int>{114});
        QCOMPARE(rows.last(), (MenuRow{114, "删除数据", 18, 1}));

        // Signed out, not even the deleting entry is offered.
        logout(p.ctx);
        QVERIFY(menu_rows(p.ctx).isEmpty());
    }

    void menuLayoutArithmetic()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_desk(title,bh,istest) VALUES('桌位01','01',1)");
        const QVector<MenuRow> rows = menu_rows(p.ctx); // 16 left entries, 101 and 114 right
        const int bar = 1580;
        QCOMPARE(menu_entry_left(rows, 0, bar), 0);
        QCOMPARE(menu_entry_left(rows, 1, bar), 79);
        QCOMPARE(menu_entry_left(rows, 13, bar), 13 * 79);       // 员工设置
        QCOMPARE(menu_entry_left(rows, 15, bar), 14 * 79);       // 修改资料, after 系统设置
        QCOMPARE(menu_entry_left(rows, 14, bar), bar - 160 + 8); // 系统设置
        QCOMPARE(menu_entry_left(rows, 17, bar), bar + 79 - 160 + 8); // 删除数据
        // Only one right entry: it sits 72 pixels in from the right edge.
        const QVector<MenuRow> admin = rows.mid(0, 17);
        QCOMPARE(menu_entry_left(admin, 14, bar), bar - 80 + 8);
        QCOMPARE(menu_label_left("桌位状态"), 8);
        QCOMPARE(menu_label_left("转台"), 24);
    }

    void menuRowsJsonRoundTrip()
    {
        const QVector<MenuRow> rows = all_menu_rows();
        const QByteArray json = menu_rows_json(rows.mid(0, 1));
        QCOMPARE(json, QByteArray(R"([{"i":"0","id":"11","isright":0,"title":"桌位状态"}])"));
        QCOMPARE(menu_rows_from_json(menu_rows_json(rows)), rows);
    }

    void rememberedLoginIsLoadedAndDroppedWhenItNoLongerVerifies()
    {
        TestProgram p;
        add_account(p, 7, "zhang", "secret1", 1);
        QVERIFY(login(p.ctx, "zhang", "secret1").ok);

        // Next start: nobody in memory, the remembered login verifies.
        p.ctx.account.clear();
        check_local_login(p.ctx);
        QCOMPARE(p.ctx.account.username, QString("zhang"));
        QCOMPARE(p.ctx.account.uid, qint64(7)); // the remembered token names the account
        QCOMPARE(ids(menu_rows(p.ctx)), StaffIds);
        QCOMPARE(p.ctx.account.uid, qint64(7));

        // Someone changes the password at another counter.
        p.exec(QStringLiteral("UPDATE lumo_admin set encmd5='%1' where id=7")
                   .arg(pass_digest("newpass", "abcdefghij")));
        QVERIFY(menu_rows(p.ctx).isEmpty());
        QCOMPARE(p.ctx.account.username, QString());
        QCOMPARE(p.ctx.account.uid, qint64(0));
    }

    void logoutForgetsTheRememberedLogin()
    {
        TestProgram p;
        logout(p.ctx);
        QCOMPARE(ini_key(p, "member_uid"), QString("0"));
        QCOMPARE(ini_key(p, "member_username"), QString());
        QCOMPARE(ini_key(p, "member_password"), QString());
        QCOMPARE(ini_key(p, "member_tid"), QString("0"));
        QCOMPARE(p.ctx.account.username, QString());
        // The next start reads the empty keys and stays signed out.
        check_local_login(p.ctx);
        QVERIFY(menu_rows(p.ctx).isEmpty());
    }

    void profileSave_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("changed");
        QTest::newRow("five characters keep the password") << "abcde" << false;
        QTest::newRow("empty keeps the password") << "" << false;
        QTest::newRow("blanks around six characters") << " abcdef " << true;
    }
    void profileSave()
    {
        QFETCH(QString, password);
        QFETCH(bool, changed);
        TestProgram p;
        p.random->values = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}; // salt "abcdefghij"
        const QString before = p.scalar("SELECT encmd5 FROM lumo_admin where id=1");
        const QString token = ini_token(p);

        QCOMPARE(save_profile(p.ctx, " O'Neil ", password), QString("资料修改成功"));
        QCOMPARE(p.scalar("SELECT truename FROM lumo_admin where id=1"), QString("ONeil"));
        QCOMPARE(ini_key(p, "member_uid"), QString("1"));
        const QString digest = p.scalar("SELECT encmd5 FROM lumo_admin where id=1");
        if (!changed) {
            QCOMPARE(digest, before);
            QCOMPARE(p.scalar("SELECT rndstr FROM lumo_admin where id=1"), QString(AdminSalt));
            QCOMPARE(ini_token(p), token);
            QVERIFY(login_token_holds(p.ctx, 1, token));
            return;
        }
        QCOMPARE(p.scalar("SELECT rndstr FROM lumo_admin where id=1"), QString("abcdefghij"));
        QCOMPARE(digest, pass_digest("abcdef", "abcdefghij"));
        // The new password ends the old remembered login; this counter gets a new one.
        QCOMPARE(ini_key(p, "member_password"), QString());
        QVERIFY(!login_token_holds(p.ctx, 1, token));
        QVERIFY(login_token_holds(p.ctx, 1, ini_token(p)));
        QCOMPARE(p.ctx.account.digest, digest);
        QCOMPARE(login(p.ctx, "admin", "abcdef").message, QString("登录成功"));
        QCOMPARE(login(p.ctx, "admin", " abcdef ").message, QString("登录密码错误"));
    }

    void profileNeedsASignedInAccount()
    {
        TestProgram p;
        QCOMPARE(load_profile(p.ctx).truename, QString("管理员"));
        QCOMPARE(load_profile(p.ctx).role, QString("管理员"));
        p.ctx.account.clear();
        QVERIFY(!load_profile(p.ctx).found);
        QCOMPARE(save_profile(p.ctx, "someone", "abcdefg"), QString());
        QCOMPARE(p.scalar("SELECT truename FROM lumo_admin where id=1"), QString("管理员"));
        // The account row is gone.
        p.ctx.account.uid = 42;
        QCOMPARE(save_profile(p.ctx, "someone", "abcdefg"), QString());
    }
};

QTEST_GUILESS_MAIN(TestStaff)
#include "tst_staff.moc"
