#include "store/schema.h"
#include "store/sqlite_db.h"

#include <QTemporaryDir>
#include <QTest>

class TestSchema : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_n = 0;
    QString m_db;

    QStringList objects(const QString &db)
    {
        TSQLiteDatabase d(db);
        TSQLiteTable t
            = d.GetTable("SELECT type||' '||name||': '||sql FROM sqlite_master ORDER BY name");
        QStringList out;
        for (; !t.isEof(); t.Next())
            out << t.FieldAsString(0);
        return out;
    }

    // name|type|notnull|default|pk of a column as the file holds it.
    static QString column(const QString &db, const QString &table, const QString &name)
    {
        TSQLiteDatabase d(db);
        return d.scalar("SELECT name||'|'||type||'|'||\"notnull\"||'|'||ifnull(dflt_value,'-')||'|'"
                        "||pk FROM pragma_table_info(?) WHERE name=?",
                        {table, name});
    }

private slots:
    void init() { m_db = m_dir.filePath(QString("s%1.db").arg(++m_n)); }

    void missingColumnsComeBack_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<QString>("name");
        QTest::newRow("a table's amount") << "lumo_desk"
                                          << "price";
        QTest::newRow("a member's balance") << "lumo_member"
                                            << "balance";
        QTest::newRow("a line's remark") << "lumo_orders_detail"
                                         << "remark";
        QTest::newRow("a dish's stock") << "lumo_caipin"
                                        << "stock";
    }
    void missingColumnsComeBack()
    {
        QFETCH(QString, table);
        QFETCH(QString, name);
        const QString fresh = m_dir.filePath(QString("fresh%1.db").arg(m_n));
        ensure_schema(fresh);
        ensure_schema(m_db);
        {
            TSQLiteDatabase d(m_db);
            d.ExecSQL(QString("INSERT INTO %1(id) VALUES(7)").arg(table));
            d.ExecSQL(QString("ALTER TABLE %1 DROP COLUMN %2").arg(table, name));
        }
        QCOMPARE(column(m_db, table, name), QString());
        add_missing_columns(m_db);
        QCOMPARE(column(m_db, table, name), column(fresh, table, name));
        TSQLiteDatabase d(m_db);
        QCOMPARE(d.scalar(QString("SELECT count(*) FROM %1 WHERE id=7").arg(table)), QString("1"));
        // Nothing else changed, and a second pass adds nothing.
        add_missing_columns(m_db);
        QCOMPARE(
            d.scalar(QString("SELECT count(*) FROM pragma_table_info(?)"), {table}),
            TSQLiteDatabase(fresh).scalar("SELECT count(*) FROM pragma_table_info(?)", {table}));
    }

    void aColumnThatCannotBeAddedIsNamed()
    {
        // A table already at SQLite's limit of 2000 columns takes no more.
        QStringList filler;
        for (int i = 1; i < 2000; ++i)
            filler << QString("c%1").arg(i);
        {
            TSQLiteDatabase d(m_db);
            d.ExecSQL("CREATE TABLE lumo_desk (id INTEGER PRIMARY KEY," + filler.join(',') + ")");
        }
        ensure_schema(m_db);
        try {
            add_missing_columns(m_db);
            QFAIL("a column was added beyond the limit");
        } catch (const ESQLiteException &e) {
            QVERIFY2(
                e.message().startsWith(QStringLiteral("表 lumo_desk 缺少列 title，无法补上：")),
                qPrintable(e.message().left(200)));
        }
    }

    void emptyDatabaseGetsEverything()
    {
        ensure_schema(m_db);
        TSQLiteDatabase d(m_db);
        QCOMPARE(
            d.scalar("SELECT count(*) FROM sqlite_master WHERE type='table' AND name LIKE 'lumo%'"),
            QString("10"));
        QCOMPARE(
            d.scalar(
                "SELECT count(*) FROM sqlite_master WHERE type='index' AND name NOT LIKE 'mivo_%'"),
            QString("32"));
        QCOMPARE(d.scalar("SELECT group_concat(name) FROM pragma_table_info('mivo_print_station')"),
                 QString("id,title,printer,cids,copies,enabled,columns"));
        QCOMPARE(d.scalar("SELECT count(*) FROM sqlite_master WHERE name LIKE 'mivo%'"),
                 QString("6"));
        QCOMPARE(d.scalar("SELECT sql FROM sqlite_master WHERE name='lumo_admin'"),
                 QString("CREATE TABLE lumo_admin ([id] INTEGER PRIMARY KEY,[username] VARCHAR "
                         "(100),[rndstr] VARCHAR (20),[encmd5] VARCHAR (40),[truename] VARCHAR "
                         "(100),[tid] INTEGER (2) default (1),[isjob] INTEGER (1) default "
                         "(0),[addtime] INTEGER (11) default (0))"));
        QVERIFY(d.scalar("SELECT sql FROM sqlite_master WHERE name='lumo_orders'")
                    .contains(",balance INTEGER (11) default (0),"));
        QCOMPARE(d.scalar("SELECT sql FROM sqlite_master WHERE name='lumo_admin_username'"),
                 QString("CREATE INDEX lumo_admin_username ON [lumo_admin]([username])"));
        const TSQLiteTable sys
            = d.GetTable("SELECT id,username,rndstr,encmd5,shopname FROM lumo_system");
        QCOMPARE(sys.Count(), 1);
        QCOMPARE(sys.value("id"), QString("1"));
        QCOMPARE(sys.value("shopname"), QString(""));
        // Column defaults as a new row reads them back.
        d.ExecSQL("INSERT INTO lumo_desk(title) VALUES('x')");
        const TSQLiteTable desk = d.GetTable("SELECT price,yj,stat,nums FROM lumo_desk");
        QCOMPARE(desk.value("price"), QString("0.0"));
        QCOMPARE(desk.value("yj"), QString("0.0"));
        QCOMPARE(desk.value("stat"), QString("0"));
    }

    void completeDatabaseUnchanged()
    {
        ensure_schema(m_db);
        {
            TSQLiteDatabase d(m_db);
            d.ExecSQL("UPDATE lumo_system SET shopname='kept'");
        }
        const QStringList before = objects(m_db);
        ensure_schema(m_db);
        QCOMPARE(objects(m_db), before);
        TSQLiteDatabase d(m_db);
        QCOMPARE(d.scalar("SELECT count(*) FROM lumo_system"), QString("1"));
        QCOMPARE(d.scalar("SELECT shopname FROM lumo_system"), QString("kept"));
    }

    void partialDatabaseGetsOnlyWhatIsMissing()
    {
        ensure_schema(m_db);
        {
            TSQLiteDatabase d(m_db);
            d.ExecSQL("DROP TABLE lumo_system");
            d.ExecSQL("DROP INDEX desk_bh"); // an existing table's indexes are left alone
            d.ExecSQL("INSERT INTO lumo_desk(title) VALUES('kept')");
        }
        ensure_schema(m_db);
        TSQLiteDatabase d(m_db);
        QCOMPARE(d.scalar("SELECT id||','||username||','||rndstr||','||encmd5||','||shopname FROM "
                          "lumo_system"),
                 QString("1,,,,"));
        QCOMPARE(d.scalar("SELECT count(*) FROM sqlite_master WHERE name='desk_bh'"), QString("0"));
        QCOMPARE(d.scalar("SELECT title FROM lumo_desk"), QString("kept"));
    }

    void settledOrdersOfADayAreFoundByIndex()
    {
        // A database made before the index existed gets it at the next start, and
        // the day's settled total searches by it instead of scanning every order.
        ensure_schema(m_db);
        {
            TSQLiteDatabase d(m_db);
            d.ExecSQL("DROP INDEX order_iscal_paytime");
        }
        ensure_schema(m_db);
        TSQLiteDatabase d(m_db);
        QCOMPARE(d.scalar("SELECT sql FROM sqlite_master WHERE name='order_iscal_paytime'"),
                 QString("CREATE INDEX order_iscal_paytime ON lumo_orders(iscal,paytime)"));
        TSQLiteTable plan = d.GetTable("EXPLAIN QUERY PLAN SELECT SUM(price) AS allnums FROM "
                                       "lumo_orders where iscal=1 AND tid=0 AND paytime>=? AND "
                                       "paytime<?",
                                       {1709596800, 1709683200});
        QStringList steps;
        for (; !plan.isEof(); plan.Next())
            steps << plan.value("detail");
        QVERIFY2(steps.join('|').contains("USING INDEX order_iscal_paytime (iscal=? AND paytime>? "
                                          "AND paytime<?)"),
                 qPrintable(steps.join('|')));
    }

    void paymentPartsTableComesBesideAnOlderFile()
    {
        // A file an older counter made has only the lumo_ tables; starting here adds the
        // payment parts table with its columns and leaves the rest alone.
        ensure_schema(m_db);
        {
            TSQLiteDatabase d(m_db);
            d.ExecSQL("DROP TABLE mivo_payment");
            d.ExecSQL("INSERT INTO lumo_orders(id,title) VALUES(5,'x')");
        }
        ensure_schema(m_db);
        TSQLiteDatabase d(m_db);
        QCOMPARE(d.scalar("SELECT group_concat(name) FROM pragma_table_info('mivo_payment')"),
                 QString("id,orderid,paytype,amount_fen,addtime,uid,stat,given_fen,note,ordid"));
        QCOMPARE(d.scalar("SELECT title FROM lumo_orders where id=5"), QString("x"));
        ensure_schema(m_db); // again: nothing fails on what is there
    }

    void upperCaseTableCountsAsPresent()
    {
        {
            TSQLiteDatabase d(m_db);
            d.ExecSQL("CREATE TABLE LUMO_DESK (x)");
        }
        ensure_schema(m_db);
        TSQLiteDatabase d(m_db);
        QCOMPARE(d.scalar("SELECT sql FROM sqlite_master WHERE lower(name)='lumo_desk'"),
                 QString("CREATE TABLE LUMO_DESK (x)"));
        QCOMPARE(
            d.scalar("SELECT count(*) FROM sqlite_master WHERE type='table' AND name LIKE 'lumo%'"),
            QString("10"));
    }

    void failureRollsEverythingBack()
    {
        {
            // An index name already taken makes the creation of lumo_orders' indexes fail
            // after four tables were created in the same transaction.
            TSQLiteDatabase d(m_db);
            d.ExecSQL("CREATE TABLE other (x)");
            d.ExecSQL("CREATE INDEX order_stat ON other(x)");
        }
        QVERIFY_THROWS_EXCEPTION(ESQLiteException, ensure_schema(m_db));
        TSQLiteDatabase d(m_db);
        QCOMPARE(d.scalar("SELECT count(*) FROM sqlite_master WHERE name LIKE 'lumo_%'"),
                 QString("0"));
    }
};

QTEST_GUILESS_MAIN(TestSchema)
#include "tst_schema.moc"
