#include "masterdata/staff_rules.h"
#include "staff/login.h"
#include "store/sqlite_db.h"
#include "support/testkit.h"

#include <QTest>

namespace {

// The account signed in.
void signed_in_as(TestProgram &p, qint64 uid)
{
    p.ctx.account.uid = uid;
}

} // namespace

class TestStaffRules : public QObject
{
    Q_OBJECT

private slots:
    // Checks in order for a new account; account 1 is "admin".
    void addChecks_data()
    {
        QTest::addColumn<QString>("username");
        QTest::addColumn<QString>("truename");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << " "
                               << ""
                               << "请输入员工账号";
        QTest::newRow("one letter") << "a"
                                    << ""
                                    << "员工账号只支持字母数字和下划线";
        QTest::newRow("digit first") << "1abc"
                                     << ""
                                     << "员工账号只支持字母数字和下划线";
        QTest::newRow("hyphen") << "ab-c"
                                << ""
                                << "员工账号只支持字母数字和下划线";
        QTest::newRow("chinese") << "张三"
                                 << ""
                                 << "员工账号只支持字母数字和下划线";
        QTest::newRow("no full name") << "ab"
                                      << " "
                                      << "请输入员工姓名";
        QTest::newRow("taken") << "admin"
                               << "王"
                               << "员工账号已存在，请确认";
        QTest::newRow("ab") << "ab"
                            << "王"
                            << "员工信息录入成功";
        QTest::newRow("A_1") << "A_1"
                             << "王"
                             << "员工信息录入成功";
        QTest::newRow("case differs") << "Admin"
                                      << "王"
                                      << "员工信息录入成功";
    }
    void addChecks()
    {
        TestProgram p;
        signed_in_as(p, 5); // anyone may add
        const QString before = p.scalar("SELECT count(*) FROM lumo_admin");
        QFETCH(QString, username);
        QFETCH(QString, truename);
        const SaveOutcome r = save_staff(p.ctx, {"", username, "", truename, "1"});
        QTEST(r.message, "message");
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_admin").toInt(),
                 before.toInt() + (r.saved ? 1 : 0));
    }

    // The password a new account gets, proved by signing in.
    void newAccountPassword_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("works");
        QTest::newRow("empty") << ""
                               << "804731";
        QTest::newRow("5 characters") << "12345"
                                      << "804731";
        QTest::newRow("6 characters") << "abc123"
                                      << "abc123";
    }
    void newAccountPassword()
    {
        TestProgram p;
        signed_in_as(p, 1);
        QFETCH(QString, typed);
        const SaveOutcome r = save_staff(p.ctx, {"", "waiter", typed, "小王", "9"});
        QVERIFY(r.saved);
        const QStringList a
            = p.rows("SELECT rndstr,isjob,tid FROM lumo_admin WHERE username='waiter'");
        QCOMPARE(a.size(), 1);
        QCOMPARE(a.first().section('|', 0, 0).size(), 10);
        QCOMPARE(a.first().section('|', 1), QString("1|9"));
        QVERIFY(!login(p.ctx, "waiter", "wrong").ok);
        QFETCH(QString, works);
        QVERIFY(login(p.ctx, "waiter", works).ok);
    }

    // Editing: only account 1; 5 characters keep the password, 6 change it under
    // the same salt; a deleted account is reported.
    void edit()
    {
        TestProgram p;
        signed_in_as(p, 1);
        const QString id = save_staff(p.ctx, {"", "waiter", "", "小王", "1"}).id;
        const QString salt = p.scalar("SELECT rndstr FROM lumo_admin WHERE id=" + id);

        signed_in_as(p, 2);
        SaveOutcome r = save_staff(p.ctx, {id, "", "", "", "1"});
        QCOMPARE(r.message, QString("请使用超级管理员权限来操作"));

        signed_in_as(p, 1);
        r = save_staff(p.ctx, {id, "admin", "", "小王", "1"});
        QCOMPARE(r.message, QString("员工账号已存在，请确认"));
        r = save_staff(p.ctx, {id, "waiter", "12345", "小王二", "5"});
        QCOMPARE(r.message, QString("员工信息修改成功"));
        QVERIFY(login(p.ctx, "waiter", "804731").ok);
        QCOMPARE(p.rows("SELECT truename,tid FROM lumo_admin WHERE id=" + id),
                 QStringList{"小王二|5"});

        signed_in_as(p, 1); // signing in as waiter above changed the account
        r = save_staff(p.ctx, {id, "waiter", "654321", "小王二", "5"});
        QCOMPARE(r.message, QString("员工信息修改成功"));
        QVERIFY(login(p.ctx, "waiter", "654321").ok);
        QVERIFY(!login(p.ctx, "waiter", "804731").ok);
        QCOMPARE(p.scalar("SELECT rndstr FROM lumo_admin WHERE id=" + id), salt);

        // Account 1 keeps its administrator role: with another one nobody could
        // reach or change the accounts again.
        signed_in_as(p, 1);
        r = save_staff(p.ctx, {"1", "admin", "", "管理员", "1"});
        QCOMPARE(r.message, QString("超级管理员账号的权限只能是管理员"));
        QCOMPARE(p.scalar("SELECT tid FROM lumo_admin WHERE id=1"), QString("9"));
        r = save_staff(p.ctx, {"1", "boss", "", "老板", "9"});
        QCOMPARE(r.message, QString("员工信息修改成功"));
        QCOMPARE(p.rows("SELECT username,truename,tid FROM lumo_admin WHERE id=1"),
                 QStringList{"boss|老板|9"});

        p.exec("DELETE FROM lumo_admin WHERE id=" + id);
        signed_in_as(p, 1);
        r = save_staff(p.ctx, {id, "waiter", "", "小王", "1"});
        QCOMPARE(r.message, QString("数据不存在，可能已被删除"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_admin WHERE username='waiter'"), QString("0"));
    }

    void deleteKeepsAccountOne()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_admin(id,username) VALUES(2,'cook')");
        QCOMPARE(delete_staff(p.ctx, "1"), QString("系统保留账号，不能删除"));
        QCOMPARE(delete_staff(p.ctx, "2"), QString());
        QCOMPARE(p.rows("SELECT id FROM lumo_admin"), QStringList{"1"});
    }
};

QTEST_GUILESS_MAIN(TestStaffRules)
#include "tst_staff_rules.moc"
