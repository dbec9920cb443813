// The remembered login: a token in info.ini that signs in only while the database
// keeps its digest; never the password digest itself.

#include "app/helpers.h"
#include "app/ini.h"
#include "app/startup.h"
#include "masterdata/staff_rules.h"
#include "staff/login.h"
#include "staff/login_token.h"
#include "staff/profile.h"
#include "store/schema.h"
#include "support/testkit.h"

#include <QFile>
#include <QTest>

#include <sys/stat.h>

namespace {

// What the next start of the program in this folder signs in: "uid/name/role" or "".
QString next_start(const TestProgram &p)
{
    AppContext again;
    start_core(again, p.dir.path());
    if (again.account.uid == 0)
        return {};
    return QStringLiteral("%1/%2/%3")
        .arg(again.account.uid)
        .arg(again.account.username)
        .arg(again.account.role);
}

QString token(const TestProgram &p)
{
    return IniFile(p.ctx.paths.ini).readString(TokenSection, TokenKey);
}

// Every value in info.ini.
QStringList ini_values(const TestProgram &p)
{
    QFile f(p.ctx.paths.ini);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList out;
    for (const QByteArray &line : f.readAll().split('\n'))
        if (const int eq = line.indexOf('='); eq > 0)
            out << QString::fromUtf8(line.mid(eq + 1)).trimmed();
    return out;
}

int mode(const QString &path)
{
    struct stat st = {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

} // namespace

class TestLoginToken : public QObject
{
    Q_OBJECT

private slots:
    void rememberedByATokenNotByTheDigest()
    {
        TestProgram p; // a new installation: the administrator is signed in and remembered
        const QStringList digests = p.rows("SELECT encmd5 FROM lumo_admin");
        for (const QString &v : ini_values(p))
            QVERIFY2(!digests.contains(v), qPrintable(v));
        const QString t = token(p);
        QCOMPARE(t.size(), 64); // 256 random bits
        QCOMPARE(p.rows("SELECT uid FROM mivo_login_token"), QStringList{"1"});
        QVERIFY(!p.scalar("SELECT token_digest FROM mivo_login_token").contains(t));
        QCOMPARE(next_start(p), QString("1/admin/9"));

        // Another installation's token signs in nobody here.
        TestProgram other;
        IniFile(p.ctx.paths.ini).writeString(TokenSection, TokenKey, token(other));
        QCOMPARE(next_start(p), QString());
    }

    void aCopiedDigestSignsInNobody_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("token");
        QTest::newRow("digest as the old key") << QString(AdminDigest) << QString();
        QTest::newRow("digest beside a dropped token") << QString(AdminDigest) << "dropped";
        QTest::newRow("digest as the token") << QString() << QString(AdminDigest);
    }
    void aCopiedDigestSignsInNobody()
    {
        QFETCH(QString, password);
        QFETCH(QString, token);
        TestProgram p;
        const IniFile ini(p.ctx.paths.ini);
        if (token == "dropped") {
            p.exec("DELETE FROM mivo_login_token");
            token = ::token(p);
        }
        ini.writeString("Memberinfo", "member_password", password);
        ini.writeString(TokenSection, TokenKey, token);
        QCOMPARE(next_start(p), QString());
    }

    void anOlderInstallationKeepsItsLoginOnce()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_admin(id,username,rndstr,encmd5,truename,tid) "
               "VALUES(2,'xiaoli','abcdefghij','"
               + pass_digest("secret1", "abcdefghij") + "','小李',3)");
        // As an older program left them: no token table, the digest remembered.
        p.exec("DROP TABLE mivo_login_token");
        QFile::remove(p.ctx.paths.ini);
        const IniFile ini(p.ctx.paths.ini);
        ini.writeString("Memberinfo", "member_uid", "2");
        ini.writeString("Memberinfo", "member_username", "xiaoli");
        ini.writeString("Memberinfo", "member_password", pass_digest("secret1", "abcdefghij"));
        ini.writeString("Memberinfo", "member_tid", "3");

        QCOMPARE(next_start(p), QString("2/xiaoli/3"));
        QCOMPARE(ini.readString("Memberinfo", "member_password"), QString());
        QCOMPARE(next_start(p), QString("2/xiaoli/3")); // now by its token

        // After that the digest is worth nothing.
        ini.writeString("Memberinfo", "member_password", pass_digest("secret1", "abcdefghij"));
        ini.writeString(TokenSection, TokenKey, QString());
        QCOMPARE(next_start(p), QString());
        // Nor does a wrong digest pass on the start that brings the tokens in.
        p.exec("DROP TABLE mivo_login_token");
        ini.writeString("Memberinfo", "member_password", pass_digest("wrong", "abcdefghij"));
        QCOMPARE(next_start(p), QString());
    }

    void theTokenEnds_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("signing out") << "logout";
        QTest::newRow("password changed in the employees form") << "staff";
        QTest::newRow("password changed by an older program") << "sql";
        QTest::newRow("account deleted") << "delete";
        QTest::newRow("login name changed") << "rename";
    }
    void theTokenEnds()
    {
        QFETCH(QString, how);
        TestProgram p;
        p.exec("INSERT INTO lumo_admin(id,username,rndstr,encmd5,truename,tid) "
               "VALUES(2,'xiaoli','abcdefghij','"
               + pass_digest("secret1", "abcdefghij") + "','小李',3)");
        p.ctx.account.clear();
        QVERIFY(login(p.ctx, "xiaoli", "secret1").ok);
        const QString remembered = token(p);
        QCOMPARE(next_start(p), QString("2/xiaoli/3"));

        AppContext admin = p.ctx; // the administrator at this counter's desk
        admin.account = {1, "admin", AdminDigest, 9};
        if (how == "logout")
            QVERIFY(logout(p.ctx));
        else if (how == "staff")
            QVERIFY(save_staff(admin, {"2", "xiaoli", "another1", "小李", "3"}).saved);
        else if (how == "sql")
            p.exec("UPDATE lumo_admin SET encmd5='" + pass_digest("another1", "abcdefghij")
                   + "' WHERE id=2");
        else if (how == "delete")
            QCOMPARE(delete_staff(admin, "2"), QString());
        else if (how == "rename")
            p.exec("UPDATE lumo_admin SET username='xiaowang' WHERE id=2");
        // The token kept elsewhere (a copied info.ini) signs in nobody either.
        IniFile(p.ctx.paths.ini).writeString(TokenSection, TokenKey, remembered);
        IniFile(p.ctx.paths.ini).writeString("Memberinfo", "member_uid", "2");
        IniFile(p.ctx.paths.ini).writeString("Memberinfo", "member_username", "xiaoli");
        QCOMPARE(next_start(p), QString());
        if (how != "sql" && how != "rename")
            QCOMPARE(p.scalar("SELECT count(*) FROM mivo_login_token WHERE uid=2"), QString("0"));
    }

    void filesKeptFromOthers()
    {
        TestProgram p;
        QCOMPARE(mode(p.ctx.paths.ini), 0600);
        // A file an older program or a copy left open to everyone is closed at start;
        // the group keeps what it had, for other counters.
        ::chmod(QFile::encodeName(p.ctx.paths.ini).constData(), 0644);
        ::chmod(QFile::encodeName(p.ctx.db_path).constData(), 0666);
        IniFile(p.ctx.paths.ini).writeString("Shopinfo", "shopname", "小馆");
        QCOMPARE(mode(p.ctx.paths.ini), 0600);
        QCOMPARE(next_start(p), QString("1/admin/9"));
        QCOMPARE(mode(p.ctx.db_path), 0660);
        ::chmod(QFile::encodeName(p.ctx.db_path).constData(), 0644);
        next_start(p);
        QCOMPARE(mode(p.ctx.db_path), 0640);
    }
};

QTEST_GUILESS_MAIN(TestLoginToken)
#include "tst_login_token.moc"
