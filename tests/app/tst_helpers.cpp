#include "app/helpers.h"
#include "support/testkit.h"

#include <QDir>
#include <QFile>
#include <QTest>

class TestHelpers : public QObject
{
    Q_OBJECT

private slots:
    void codeNames_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("name");
        QTest::newRow("role 1") << "role"
                                << "1"
                                << "点菜师";
        QTest::newRow("role 9") << "role"
                                << "9"
                                << "管理员";
        QTest::newRow("role other") << "role"
                                    << "2"
                                    << "";
        QTest::newRow("line empty") << "line"
                                    << ""
                                    << "已下单";
        QTest::newRow("line 3") << "line"
                                << "3"
                                << "已出餐";
        QTest::newRow("line 8") << "line"
                                << "8"
                                << "已退菜";
        QTest::newRow("line 4") << "line"
                                << "4"
                                << "";
        QTest::newRow("desk empty") << "desk"
                                    << ""
                                    << "空闲";
        QTest::newRow("desk 3") << "desk"
                                << "3"
                                << "预订";
        QTest::newRow("desk 7") << "desk"
                                << "7"
                                << "消台";
        QTest::newRow("desk 2") << "desk"
                                << "2"
                                << "";
        QTest::newRow("pay empty") << "pay"
                                   << ""
                                   << "未支付";
        QTest::newRow("pay 5") << "pay"
                               << "5"
                               << "现金";
        QTest::newRow("pay 6") << "pay"
                               << "6"
                               << "银行卡";
        QTest::newRow("pay 8") << "pay"
                               << "8"
                               << "未支付";
        QTest::newRow("pay 9") << "pay"
                               << "9"
                               << "余额支付";
    }
    void codeNames()
    {
        QFETCH(QString, kind);
        QFETCH(QString, value);
        QFETCH(QString, name);
        const QString got = kind == "role"   ? role_name(value)
                            : kind == "line" ? line_stat_name(value)
                            : kind == "desk" ? desk_stat_name(value)
                                             : pay_type_name(value);
        QCOMPARE(got, name);
    }

    void numberChecks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("isInt");
        QTest::addColumn<bool>("isNum");
        QTest::addColumn<bool>("isDecimal");
        QTest::newRow("12") << "12" << true << true << true;
        QTest::newRow("-3") << "-3" << true << true << false;
        QTest::newRow("hex $") << "$1F" << true << true << false;
        QTest::newRow("hex 0x") << "0x10" << true << true << false;
        QTest::newRow("too big") << "2147483648" << false << true << true;
        QTest::newRow("int max") << "2147483647" << true << true << true;
        QTest::newRow("1.5") << "1.5" << false << true << true;
        QTest::newRow("1e3") << "1e3" << false << true << false;
        QTest::newRow("1.2.3") << "1.2.3" << false << false << true;
        QTest::newRow("blank 12") << " 12" << false << false << false;
        QTest::newRow("abc") << "abc" << false << false << false;
        QTest::newRow("empty") << "" << false << false << false;
        QTest::newRow("dot") << "." << false << false << true;
    }
    void numberChecks()
    {
        QFETCH(QString, text);
        QFETCH(bool, isInt);
        QFETCH(bool, isNum);
        QFETCH(bool, isDecimal);
        QCOMPARE(is_int_text(text), isInt);
        QCOMPARE(is_num_text(text), isNum);
        QCOMPARE(is_decimal_text(text), isDecimal);
    }

    void checkOnePointWarns()
    {
        ScriptedPrompts p;
        QVERIFY(check_one_point("12.5", p));
        QVERIFY(p.warnings.isEmpty());
        QVERIFY(!check_one_point("1.2.3", p));
        QCOMPARE(p.warnings, QStringList{"请检查小数点输入是否正确！"});
    }

    void nameChecks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("letters");
        QTest::addColumn<bool>("userName");
        QTest::newRow("Ab_1") << "Ab_1" << false << true;
        QTest::newRow("1ab") << "1ab" << false << false;
        QTest::newRow("a") << "a" << true << false;
        QTest::newRow("gbjd") << "gbjd" << true << true;
        QTest::newRow("GB") << "GB" << true << true;
        QTest::newRow("g1") << "g1" << false << true;
        QTest::newRow("empty") << "" << true << false;
        QTest::newRow("chinese") << "鸡" << false << false;
        QTest::newRow("dash") << "ab-c" << false << false;
    }
    void nameChecks()
    {
        QFETCH(QString, text);
        QFETCH(bool, letters);
        QFETCH(bool, userName);
        QCOMPARE(is_letters(text), letters);
        QCOMPARE(is_user_name(text), userName);
    }

    void textUtilities()
    {
        QCOMPARE(strip_quotes(" it's "), QString("its"));
        QCOMPARE(strip_quotes("O'Brien"), QString("OBrien"));
        QCOMPARE(strip_quotes(""), QString(""));
        QCOMPARE(split_text("a@@@@@@b", "@@@"), (QStringList{"a", "", "b"}));
        QCOMPARE(split_text("", ","), QStringList{""});
        QCOMPARE(split_text("a,b,", ","), (QStringList{"a", "b", ""}));
        QCOMPARE(split_text("abc", ","), QStringList{"abc"});
        QCOMPARE(text_between("x<a>y</a>", "<a>", "</a>"), QString("y"));
        QCOMPARE(text_between("</a>x<a>y", "<a>", "</a>"), QString(""));
        QCOMPARE(text_between("x<a>y", "<a>", "</a>"), QString(""));
        QCOMPARE(format_num("abc", 2), QString("0.00"));
        QCOMPARE(format_num("12.345", 2), QString("12.35"));
        QCOMPARE(format_num("7", 0), QString("7"));
        QCOMPARE(format_num("37.2", 0), QString("37"));
    }

    void timeAndIdentities()
    {
        // 2024-03-05 14:07:09.125 on the wall clock.
        FixedClock clock(wall_ms(2024, 3, 5, 14, 7, 9, 125));
        FixedRandom random;
        QCOMPARE(unix_now(clock), QString::number(wall_ms(2024, 3, 5, 14, 7, 10) / 1000));
        random.values = {7};
        const QString ms = QString::number(clock.ms);
        QCOMPARE(make_ordid(clock, random, ""), "240305140710" + ms.right(4) + "7");
        random.values = {98};
        QCOMPARE(make_ordid(clock, random, "shop9"), "240305140710shop9" + ms.right(4) + "98");
        clock.ms = wall_ms(2024, 3, 5, 14, 7, 9, 0); // a whole second stays
        QCOMPARE(unix_now(clock), QString::number(wall_ms(2024, 3, 5, 14, 7, 9) / 1000));
        QCOMPARE(format_time(unix_now(clock)), QString("2024-03-05 14:07"));
        QCOMPARE(format_time("0"), QString(""));
        QCOMPARE(format_time(""), QString(""));

        random.values = {0, 25, 2};
        QCOMPARE(random_letters(random, 3), QString("azc"));
        Random real;
        const QString salt = random_letters(real, 10);
        QCOMPARE(salt.size(), 10);
        for (const QChar c : salt)
            QVERIFY(c >= 'a' && c <= 'z');
    }

    void digests()
    {
        QCOMPARE(md5_hex(""), QString("d41d8cd98f00b204e9800998ecf8427e"));
        QCOMPARE(md5_hex("abc"), QString("900150983cd24fb0d6963f7d28e17f72"));
        // md5(md5("abc") + "salt")
        QCOMPARE(pass_digest("abc", "qoxuvremtk"),
                 md5_hex(QByteArray("900150983cd24fb0d6963f7d28e17f72qoxuvremtk")));
        // Outside ASCII the legacy code page's bytes are hashed: 中 is D6 D0 in GBK.
        QCOMPARE(pass_digest("中", "s"), md5_hex((md5_hex("\xD6\xD0") + "s").toLatin1()));
    }

    void databaseHelpers()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_desk(id,bh,stat) VALUES(5,'A5',3)");
        QCOMPARE(get_desk_field(p.ctx, "5", "bh"), QString("A5"));
        QCOMPARE(get_desk_field(p.ctx, "5", "stat"), QString("3"));
        QCOMPARE(get_desk_field(p.ctx, "6", "bh"), QString(""));
        QCOMPARE(get_desk_field(p.ctx, "5 or 1=1", "bh"), QString(""));

        p.exec("INSERT INTO lumo_admin(id,username,encmd5,tid) VALUES(7,'li','d1',NULL)");
        QVERIFY(check_login(p.ctx, "li", "d1"));
        QCOMPARE(p.ctx.account.uid, 7);
        QCOMPARE(p.ctx.account.role, 1); // an empty role counts as 1
        QVERIFY(!check_login(p.ctx, "li", "D1"));
        QCOMPARE(p.ctx.account.uid, 0);
        QCOMPARE(p.ctx.account.username, QString());
        QVERIFY(check_login(p.ctx, "admin", "51908e47ccd2df1cf9ec909d153468af"));
        QCOMPARE(p.ctx.account.role, 9);
        QVERIFY(!check_login(p.ctx, "nobody", "d1"));
        QCOMPARE(p.ctx.account.role, 0);
        QVERIFY(!check_login(p.ctx, "li", ""));
    }

    void files()
    {
        QTemporaryDir dir;
        const QString deep = dir.filePath("a/b/c");
        QVERIFY(force_folder(deep));
        QVERIFY(QDir(deep).exists());
        QVERIFY(write_text_file("hello", deep + "/x.txt"));
        QVERIFY(write_text_file("again", deep + "/x.txt"));
        QFile f(deep + "/x.txt");
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("again\n"));
    }
};

QTEST_GUILESS_MAIN(TestHelpers)
#include "tst_helpers.moc"
