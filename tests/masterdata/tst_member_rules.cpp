#include "masterdata/member_rules.h"
#include "store/sqlite_db.h"
#include "support/testkit.h"

#include <QTest>

#include <sqlite3.h>

#include <cstring>

namespace {

// Statements that search member names, run by connections opened meanwhile.
int &name_searches()
{
    static int n = 0;
    return n;
}
int on_statement(unsigned, void *, void *stmt, void *)
{
    const char *sql = sqlite3_sql(static_cast<sqlite3_stmt *>(stmt));
    if (sql && std::strstr(sql, "lumo_member") && std::strstr(sql, "truename LIKE"))
        ++name_searches();
    return 0;
}
int on_open(sqlite3 *db, const char **, const sqlite3_api_routines *)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, on_statement, nullptr);
    return SQLITE_OK;
}

// Another counter that adds a member with this number the moment this counter
// begins its write.
struct RivalCounter
{
    QString db_path;
    QString mobile;
};
RivalCounter *&rival()
{
    static RivalCounter *r = nullptr;
    return r;
}
int on_begin(unsigned, void *, void *stmt, void *)
{
    const char *sql = sqlite3_sql(static_cast<sqlite3_stmt *>(stmt));
    RivalCounter *r = rival();
    if (r && sql && std::strncmp(sql, "BEGIN", 5) == 0) {
        rival() = nullptr;
        TSQLiteDatabase other(r->db_path);
        other.ExecSQL("INSERT INTO lumo_member(mobile,truename,stat) VALUES(?,'别的收银台',0)",
                      {r->mobile});
    }
    return 0;
}
int on_open_begin(sqlite3 *db, const char **, const sqlite3_api_routines *)
{
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, on_begin, nullptr);
    return SQLITE_OK;
}

QStringList names(const TestProgram &p, const QString &keyword)
{
    const ListPage page = read_list_page(p.ctx, member_list_query(), keyword, 1, 15);
    QStringList out;
    for (int r = 0; r < page.rows.size(); ++r)
        out << page.cell(r, "truename");
    return out;
}

} // namespace

class TestMemberRules : public QObject
{
    Q_OBJECT

private slots:
    void discount_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("stored");
        QTest::addColumn<QString>("refusal");
        QTest::newRow("10") << "10" << 1000 << "";
        QTest::newRow("9") << "9" << 900 << "";
        QTest::newRow("8.88") << "8.88" << 888 << "";
        QTest::newRow("8.5") << "8.5" << 850 << "";
        QTest::newRow("1") << "1" << 100 << "";
        QTest::newRow("10.00 as the editor shows it") << " 10.00 " << 1000 << "";
        QTest::newRow("rounded to two decimals") << "8.886" << 889 << "";
        QTest::newRow("empty is 10") << "" << 1000 << "";
        QTest::newRow("0.99") << "0.99" << 0 << "折扣设置低于1了，请检查";
        QTest::newRow("10.01") << "10.01" << 0 << "折扣设置超过10了，请检查";
        QTest::newRow("two points") << "8.8.8" << 0 << "折扣输入错误，请检查";
        QTest::newRow("letters") << "abc" << 0 << "折扣输入错误，请检查";
        QTest::newRow("a point alone") << "." << 0 << "折扣输入错误，请检查";
        QTest::newRow("negative") << "-9" << 0 << "折扣输入错误，请检查";
    }
    void discount()
    {
        QFETCH(QString, text);
        const Discount d = member_discount(text);
        QTEST(d.refusal, "refusal");
        if (d.refusal.isEmpty())
            QTEST(d.value, "stored");
    }

    void shownInZhe_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("1000") << "1000"
                              << "10";
        QTest::newRow("850") << "850"
                             << "8.5";
        QTest::newRow("888") << "888"
                             << "8.88";
        QTest::newRow("100") << "100"
                             << "1";
    }
    void shownInZhe()
    {
        QFETCH(QString, stored);
        QTEST(zekou_text(stored), "shown");
    }

    // The checks in order: each row fails only the check it names once the earlier
    // ones pass. 13800000000 belongs to a deleted member.
    void saveChecks_data()
    {
        QTest::addColumn<QString>("mobile");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("discount");
        QTest::addColumn<QString>("message");
        QTest::newRow("no mobile") << "  "
                                   << ""
                                   << "abc"
                                   << "请输入会员手机号";
        QTest::newRow("no name") << "123"
                                 << " "
                                 << "abc"
                                 << "请输入姓名";
        QTest::newRow("10 digits") << "1380000000"
                                   << "张三"
                                   << "abc"
                                   << "请输入正确的手机号";
        QTest::newRow("letters") << "1380000000a"
                                 << "张三"
                                 << "abc"
                                 << "请输入正确的手机号";
        // Passes as a number, and no search by mobile would ever find the member.
        QTest::newRow("a point among the digits") << "1380013800."
                                                  << "张三"
                                                  << "abc"
                                                  << "请输入正确的手机号";
        QTest::newRow("a full-width digit") << "1380013800１"
                                            << "张三"
                                            << "abc"
                                            << "请输入正确的手机号";
        QTest::newRow("taken by a deleted member") << " 13800000000 "
                                                   << "张三"
                                                   << "abc"
                                                   << "会员号手机号已存在，请确认";
        QTest::newRow("discount") << "13900000000"
                                  << "张三"
                                  << "abc"
                                  << "折扣输入错误，请检查";
        QTest::newRow("too high") << "13900000000"
                                  << "张三"
                                  << "11"
                                  << "折扣设置超过10了，请检查";
        QTest::newRow("saved") << "13900000000"
                               << "张三"
                               << ""
                               << "会员信息录入成功";
    }
    void saveChecks()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_member(mobile,truename,stat) VALUES('13800000000','旧会员',4)");
        QFETCH(QString, mobile);
        QFETCH(QString, name);
        QFETCH(QString, discount);
        const SaveOutcome r = save_member(p.ctx, {"", mobile, name, discount});
        QTEST(r.message, "message");
        QCOMPARE(r.saved, r.message == QString("会员信息录入成功"));
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_member"), QString(r.saved ? "2" : "1"));
    }

    // Added with addtime and uptime, the mobile number kept as typed (leading 0),
    // edited with a new uptime, its own number not counted as taken.
    void addAndEdit()
    {
        TestProgram p;
        p.clock->ms = 1700000000000;
        SaveOutcome r = save_member(p.ctx, {"", "01234567890", "O'Neil", "8.8"});
        QCOMPARE(r.message, QString("会员信息录入成功"));
        QCOMPARE(p.rows("SELECT mobile,typeof(mobile),truename,zekou,balance,addtime,uptime,stat "
                        "FROM lumo_member"),
                 QStringList{"01234567890|text|ONeil|880|0.0|1700000000|1700000000|0"});
        QCOMPARE(names(p, "01234567890"), QStringList{"ONeil"});

        const MemberEdit e = read_member(p.ctx, r.id);
        QCOMPARE(e.mobile, QString("01234567890"));
        QCOMPARE(e.zekou, QString("8.80"));
        QCOMPARE(e.balance, QString("￥0.00"));

        p.clock->ms = 1700000100000;
        r = save_member(p.ctx, {r.id, e.mobile, e.truename, e.zekou});
        QCOMPARE(r.message, QString("会员信息修改成功"));
        QCOMPARE(p.rows("SELECT mobile,zekou,addtime,uptime FROM lumo_member"),
                 QStringList{"01234567890|880|1700000000|1700000100"});

        // Another member's number is refused when editing too.
        p.exec("INSERT INTO lumo_member(mobile,truename) VALUES('13900000000','李四')");
        r = save_member(p.ctx, {r.id, "13900000000", "ONeil", "9"});
        QCOMPARE(r.message, QString("会员号手机号已存在，请确认"));
        QCOMPARE(p.scalar("SELECT zekou FROM lumo_member WHERE truename='ONeil'"), QString("880"));

        // A member deleted meanwhile is not written again.
        p.exec("DELETE FROM lumo_member WHERE truename='ONeil'");
        r = save_member(p.ctx, {"1", "13700000000", "ONeil", "9"});
        QCOMPARE(r.message, RecordGoneText);
        QCOMPARE(p.scalar("SELECT count(*) FROM lumo_member"), QString("1"));
    }

    // Two counters adding (or editing to) the same number at once: the number is
    // tested again under the write lock, so only the first one gets it.
    void numberTakenMeanwhile_data()
    {
        QTest::addColumn<bool>("editing");
        QTest::newRow("adding") << false;
        QTest::newRow("editing") << true;
    }
    void numberTakenMeanwhile()
    {
        QFETCH(bool, editing);
        TestProgram p;
        p.exec("INSERT INTO lumo_member(id,mobile,truename,zekou) VALUES(1,'13700000000','张三',"
               "1000)");
        RivalCounter r{p.ctx.db_path, "13900000000"};
        rival() = &r;
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(on_open_begin));
        const SaveOutcome out
            = save_member(p.ctx, {editing ? "1" : "", "13900000000", "李四", "9"});
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(on_open_begin));
        QVERIFY(rival() == nullptr); // the other counter did write meanwhile
        QCOMPARE(out.message, QString("会员号手机号已存在，请确认"));
        QVERIFY(!out.saved);
        QCOMPARE(p.rows("SELECT mobile,truename,zekou FROM lumo_member ORDER BY id"),
                 QStringList({"13700000000|张三|1000", "13900000000|别的收银台|1000"}));
    }

    // Keyword rule: an 11-digit number finds that mobile only; anything else
    // searches names. Deleted members are never listed. Newest first.
    void search_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("none") << "" << QStringList{"abcdefghijk", "王138", "张三"};
        QTest::newRow("138 in names") << "138" << QStringList{"王138"};
        QTest::newRow("mobile") << "13800000001" << QStringList{"张三"};
        QTest::newRow("part of a mobile") << "1380000000" << QStringList{};
        QTest::newRow("deleted member's mobile") << "13800000009" << QStringList{};
        QTest::newRow("11-letter name") << "abcdefghijk" << QStringList{"abcdefghijk"};
    }
    void search()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_member(id,mobile,truename,stat) VALUES"
               "(1,'13800000001','张三',0),(2,'13900000002','王138',0),"
               "(3,'13800000009','已删除',4),(4,'13700000003','abcdefghijk',0)");
        QFETCH(QString, keyword);
        QTEST(names(p, keyword), "found");
    }

    // A name search (no index serves it) goes through the members once for its page
    // and its count, not once for each; the rows are those of a count and a page read
    // apart. 王 are the odd ids but the deleted 5.
    void nameSearchReadsOnce_data()
    {
        QTest::addColumn<QString>("keyword");
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("records");
        QTest::addColumn<QString>("found");
        const auto names = [](int from, int to, int step) {
            QStringList out;
            for (int i = from; i != to; i += step)
                if (i != 5)
                    out << QStringLiteral("王%1").arg(i);
            return out.join(' ');
        };
        QTest::newRow("first page") << "王" << 1 << 19 << names(39, 9, -2);
        QTest::newRow("last page") << "王" << 2 << 19 << names(9, -1, -2);
        QTest::newRow("past the last page") << "王" << 3 << 19 << "";
        QTest::newRow("nobody") << "赵" << 1 << 0 << "";
    }
    void nameSearchReadsOnce()
    {
        QFETCH(QString, keyword);
        QFETCH(int, page);
        TestProgram p;
        {
            TSQLiteDatabase db(p.ctx.db_path);
            db.transaction([&] {
                for (int i = 1; i <= 40; ++i)
                    db.ExecSQL("INSERT INTO lumo_member(id,mobile,truename,stat) VALUES(?,?,?,?)",
                               {i,
                                QStringLiteral("138%1").arg(i, 8, 10, QChar('0')),
                                QString(i % 2 ? "王" : "李") + QString::number(i),
                                i == 5 ? 4 : 0});
            });
        }
        sqlite3_auto_extension(reinterpret_cast<void (*)()>(on_open));
        name_searches() = 0;
        const ListPage l = read_list_page(p.ctx, member_list_query(), keyword, page, 15);
        sqlite3_cancel_auto_extension(reinterpret_cast<void (*)()>(on_open));
        QStringList found;
        for (int r = 0; r < l.rows.size(); ++r)
            found << l.cell(r, "truename");
        QTEST(l.records, "records");
        QCOMPARE(l.pages, (l.records + 14) / 15);
        QCOMPARE(
            l.columns,
            QStringList({"id", "mobile", "truename", "balance", "zekou", "addtime", "uptime"}));
        QTEST(found.join(' '), "found");
        QCOMPARE(name_searches(), 1);
    }

    void softDelete()
    {
        TestProgram p;
        p.exec("INSERT INTO lumo_member(id,mobile,truename) VALUES(1,'13800000001','张三')");
        delete_member(p.ctx, "1");
        QCOMPARE(p.rows("SELECT id,stat FROM lumo_member"), QStringList{"1|4"});
        QCOMPARE(names(p, ""), QStringList{});
    }
};

QTEST_GUILESS_MAIN(TestMemberRules)
#include "tst_member_rules.moc"
