#include "store/keep_connection.h"
#include "store/sqlite_db.h"

#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <thread>

class TestStore : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString db() const { return m_dir.filePath(QStringLiteral("t.db")); }

private slots:
    void init()
    {
        QFile::remove(db());
        TSQLiteDatabase d(db());
        d.ExecSQL("CREATE TABLE t ([id] INTEGER PRIMARY KEY,[name] VARCHAR (50),"
                  "[price] varchar (20) default (0.00),[amount] DOUBLE (2) default (0.00),"
                  "[n] INTEGER (11) default (0))");
    }

    void valuesReadBack_data()
    {
        QTest::addColumn<QString>("insert");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("expected");
        QTest::newRow("text default real as text") << "INSERT INTO t(name) VALUES('a')"
                                                   << "SELECT price FROM t"
                                                   << "0.0";
        QTest::newRow("declared real keeps decimal") << "INSERT INTO t(amount) VALUES(58.8)"
                                                     << "SELECT amount FROM t"
                                                     << "58.8";
        QTest::newRow("declared real zero") << "INSERT INTO t(name) VALUES('a')"
                                            << "SELECT amount FROM t"
                                            << "0.0";
        QTest::newRow("bare price into text column") << "INSERT INTO t(price) VALUES(2.0)"
                                                     << "SELECT price FROM t"
                                                     << "2.0";
        QTest::newRow("id digits") << "INSERT INTO t(name) VALUES('a')"
                                   << "SELECT id FROM t"
                                   << "1";
        QTest::newRow("sum of reals shortest") << "INSERT INTO t(amount) VALUES(12.0)"
                                               << "SELECT SUM(amount) AS s FROM t"
                                               << "12";
        QTest::newRow("expression 15 digits") << "INSERT INTO t(name) VALUES('a')"
                                              << "SELECT 0.1+0.2 AS s"
                                              << "0.3";
        QTest::newRow("sum over empty is empty") << "SELECT 1"
                                                 << "SELECT SUM(n) AS s FROM t WHERE 0"
                                                 << "";
        QTest::newRow("count over empty") << "SELECT 1"
                                          << "SELECT count(*) AS c FROM t WHERE 0"
                                          << "0";
        QTest::newRow("null as empty") << "INSERT INTO t(name) VALUES(NULL)"
                                       << "SELECT name FROM t"
                                       << "";
    }

    void valuesReadBack()
    {
        QFETCH(QString, insert);
        QFETCH(QString, query);
        QFETCH(QString, expected);
        TSQLiteDatabase d(db());
        if (insert.startsWith("INSERT"))
            d.ExecSQL(insert);
        const TSQLiteTable t = d.GetTable(query);
        QCOMPARE(t.FieldAsString(0), expected);
    }

    void typedReads()
    {
        TSQLiteDatabase d(db());
        d.ExecSQL("INSERT INTO t(name,amount,n) VALUES(?,?,?)", {QString("O'Brien"), 12.5, 7});
        TSQLiteTable t = d.GetTable("SELECT name,amount,n,SUM(n) AS s FROM t WHERE id=?", {1});
        QCOMPARE(t.value("NAME"), QString("O'Brien")); // bound, so the quote is kept intact
        QCOMPARE(t.FieldAsDouble(t.FieldIndex("amount")), 12.5);
        QCOMPARE(t.FieldAsInteger(t.FieldIndex("n")), 7);
        QCOMPARE(t.FieldAsDouble(t.FieldIndex("n")), 7.0);
        t = d.GetTable("SELECT NULL AS x, 'abc' AS y");
        QCOMPARE(t.FieldAsInteger(0), 0);
        QCOMPARE(t.FieldAsDouble(0), 0.0);
        try {
            t.FieldAsInteger(1);
            QFAIL("no exception");
        } catch (const ESQLiteException &e) {
            QCOMPARE(e.message(), QString("Not an integer or numeric field"));
        }
    }

    void cursorMessages()
    {
        TSQLiteDatabase d(db());
        d.ExecSQL("INSERT INTO t(name) VALUES('a')");
        TSQLiteTable t = d.GetTable("SELECT name FROM t");
        QCOMPARE(t.Count(), 1);
        QVERIFY(!t.isEof());
        auto expect = [](auto &&fn, const QString &message) {
            try {
                fn();
                QFAIL("no exception");
            } catch (const ESQLiteException &e) {
                QCOMPARE(e.message(), message);
            }
        };
        expect([&] { t.FieldIndex("nope"); }, "Field not found in dataset: nope");
        t.Next();
        QVERIFY(t.isEof());
        expect([&] { t.FieldAsString(0); }, "Table is at End of File");
        TSQLiteTable empty = d.GetTable("SELECT name FROM t WHERE 0");
        expect([&] { empty.FieldIndex("name"); }, "Field name Not found. Empty dataset");
        expect(
            [&] {
                d.BeginTransaction();
                d.BeginTransaction();
            },
            "Transaction already open");
    }

    void statementMessages()
    {
        TSQLiteDatabase d(db());
        try {
            d.ExecSQL("SELEC x");
            QFAIL("no exception");
        } catch (const ESQLiteException &e) {
            QCOMPARE(e.message(),
                     QString("Error executing SQL.\rError [1]: SQL error or missing "
                             "database.\r\"SELEC x\": near \"SELEC\": syntax error"));
        }
        try {
            d.ExecSQL("   ");
            QFAIL("no exception");
        } catch (const ESQLiteException &e) {
            QCOMPARE(e.message(), QString("Could not prepare SQL statement"));
        }
        try {
            d.ExecSQL("INSERT INTO t(name) VALUES(?)", {QString("a"), QString("b")});
            QFAIL("no exception");
        } catch (const ESQLiteException &e) {
            QVERIFY2(e.message().startsWith("Error executing SQL.\rError [25]: 2nd parameter to "
                                            "sqlite3_bind out of range."),
                     qPrintable(e.message()));
        }
        d.ExecSQL("CREATE TABLE u (x INTEGER NOT NULL)");
        try {
            d.ExecSQL("INSERT INTO u(x) VALUES(NULL)");
            QFAIL("no exception");
        } catch (const ESQLiteException &e) {
            QVERIFY2(e.message().startsWith("Error executing SQL statement.\rError [19]: Abort due "
                                            "to contraint violation.\r\"INSERT INTO u(x) "
                                            "VALUES(NULL)\": NOT NULL"),
                     qPrintable(e.message()));
        }
    }

    void codeNames_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("name");
        QTest::newRow("0") << 0 << "Successful result";
        QTest::newRow("5") << 5 << "The database file is locked";
        QTest::newRow("26") << 26 << "File opened that is not a database file";
        QTest::newRow("101") << 101 << "sqlite3_step() has finished executing";
        QTest::newRow("other") << 42 << "Unknown SQLite Error Code \"42\"";
    }
    void codeNames()
    {
        QFETCH(int, code);
        QFETCH(QString, name);
        QCOMPARE(sqlite_code_name(code), name);
    }

    void openFailure()
    {
        const QString bad = m_dir.filePath("missing/dir/x.db");
        try {
            TSQLiteDatabase d(bad);
            QFAIL("no exception");
        } catch (const ESQLiteException &e) {
            QCOMPARE(
                e.message(),
                QString("Failed to open database \"%1\" : unable to open database file").arg(bad));
        }
    }

    void transactionAllOrNothing()
    {
        {
            TSQLiteDatabase d(db());
            try {
                d.transaction([&] {
                    d.ExecSQL("INSERT INTO t(name) VALUES('a')");
                    d.ExecSQL("INSERT INTO nowhere(name) VALUES('b')");
                });
                QFAIL("no exception");
            } catch (const ESQLiteException &) {
            }
            QVERIFY(!d.inTransaction());
            QCOMPARE(d.scalar("SELECT count(*) FROM t"), QString("0"));
        }
        {
            // Closing a connection with an open transaction rolls it back.
            TSQLiteDatabase d(db());
            d.BeginTransaction();
            d.ExecSQL("INSERT INTO t(name) VALUES('a')");
        }
        TSQLiteDatabase d(db());
        QCOMPARE(d.scalar("SELECT count(*) FROM t"), QString("0"));
        d.ExecSQL("INSERT INTO t(name) VALUES('x')");
        QCOMPARE(d.GetLastInsertRowID(), 1);
    }

    // Inside a keeper the steps of an action share one connection, nested keepers
    // too; a failed open leaves nothing kept; without a keeper each has its own.
    void keeperSharesOneConnection()
    {
        {
            const KeepConnection keep;
            QVERIFY_THROWS_EXCEPTION(ESQLiteException,
                                     TSQLiteDatabase(m_dir.filePath("missing/x.db")));
            TSQLiteDatabase a(db());
            a.ExecSQL("INSERT INTO t(name) VALUES('x')");
            {
                const KeepConnection inner;
                TSQLiteDatabase b(db());
                QCOMPARE(b.handle(), a.handle());
            }
            TSQLiteDatabase c(db());
            QCOMPARE(c.handle(), a.handle());
            QCOMPARE(c.scalar("SELECT count(*) FROM t"), QString("1"));
            TSQLiteDatabase other(m_dir.filePath("other.db"));
            QVERIFY(other.handle() != a.handle());
        }
        TSQLiteDatabase d(db());
        TSQLiteDatabase e(db());
        QVERIFY(d.handle() != e.handle());
        QCOMPARE(e.scalar("SELECT name FROM t"), QString("x"));
    }

    // A window's held connection goes from one action to the next and reads what
    // others wrote meanwhile; after a store failure, a transaction left open or with
    // the file replaced, the next action opens the file afresh.
    void heldConnectionLastsUntilTrouble()
    {
        HeldConnection held;
        sqlite3 *first = nullptr;
        {
            const KeepConnection keep(held);
            TSQLiteDatabase a(db());
            first = a.handle();
        }
        QVERIFY(held.held());
        TSQLiteDatabase(db()).ExecSQL("INSERT INTO t(name) VALUES('by another')");
        {
            const KeepConnection keep(held);
            QVERIFY(!held.held()); // lent to the action
            TSQLiteDatabase a(db());
            QCOMPARE(a.handle(), first);
            QCOMPARE(a.scalar("SELECT name FROM t"), QString("by another"));
        }
        QVERIFY(held.held());

        // Nested in another keeper, the outer keeper's connection is used and closed.
        {
            const KeepConnection outer;
            TSQLiteDatabase a(db());
            const KeepConnection keep(held);
            TSQLiteDatabase b(db());
            QCOMPARE(b.handle(), a.handle());
            QVERIFY(held.held());
        }

        // A failed statement: not given back.
        {
            const KeepConnection keep(held);
            TSQLiteDatabase a(db());
            QVERIFY_THROWS_EXCEPTION(ESQLiteException, a.GetTable("SELECT * FROM missing"));
        }
        QVERIFY(!held.held());

        // A transaction left open: not given back, and it is rolled back.
        {
            const KeepConnection keep(held);
            TSQLiteDatabase a(db());
            a.ExecSQL("BEGIN");
            a.ExecSQL("INSERT INTO t(name) VALUES('half')");
        }
        QVERIFY(!held.held());
        QCOMPARE(TSQLiteDatabase(db()).scalar("SELECT count(*) FROM t"), QString("1"));

        // The file replaced by another one (a backup put in its place): the next action
        // reads the new file, not the old one still open.
        {
            const KeepConnection keep(held);
            TSQLiteDatabase(db()).scalar("SELECT count(*) FROM t");
        }
        QVERIFY(held.held());
        const QString other = m_dir.filePath("replacement.db");
        {
            TSQLiteDatabase d(other);
            d.ExecSQL("CREATE TABLE t (id INTEGER PRIMARY KEY, name TEXT)");
            d.ExecSQL("INSERT INTO t(name) VALUES('restored')");
        }
        QVERIFY(QFile::remove(db()));
        QVERIFY(QFile::copy(other, db()));
        {
            const KeepConnection keep(held);
            QCOMPARE(TSQLiteDatabase(db()).scalar("SELECT name FROM t"), QString("restored"));
        }
        QVERIFY(held.held());
        held.close();
        QVERIFY(!held.held());
    }

    void tableExistsIgnoresCase()
    {
        TSQLiteDatabase d(db());
        d.ExecSQL("CREATE TABLE LUMO_DESK (x)");
        QVERIFY(d.TableExists("lumo_desk"));
        QVERIFY(d.TableExists("t"));
        QVERIFY(!d.TableExists("lumo_orders"));
    }

    void waitsForAnotherCounter()
    {
        // Another counter holds the write lock for a moment: the statement waits
        // for it instead of failing at once.
        TSQLiteDatabase a(db());
        a.BeginTransaction();
        a.ExecSQL("INSERT INTO t(name) VALUES('a')");
        std::thread other([raw = a.handle()] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            sqlite3_exec(raw, "COMMIT", nullptr, nullptr, nullptr);
        });
        TSQLiteDatabase b(db());
        b.ExecSQL("INSERT INTO t(name) VALUES('b')");
        other.join();
        QCOMPARE(b.scalar("SELECT count(*) FROM t"), QString("2"));
    }

    // A snapshot reads beside another counter's open write without waiting for it
    // and without its uncommitted rows; it ends cleanly, also when its body fails.
    void snapshotReadsBesideAWriter()
    {
        TSQLiteDatabase writer(db());
        writer.BeginTransaction();
        writer.ExecSQL("INSERT INTO t(name) VALUES('a')");
        TSQLiteDatabase reader(db());
        QString seen;
        reader.snapshot([&] { seen = reader.scalar("SELECT count(*) FROM t"); });
        QCOMPARE(seen, QString("0"));
        QVERIFY(!reader.inTransaction());
        writer.Commit(); // the reader holds no lock any more
        QVERIFY_THROWS_EXCEPTION(ESQLiteException,
                                 reader.snapshot([&] { reader.scalar("SELECT * FROM nowhere"); }));
        QVERIFY(!reader.inTransaction());
        QCOMPARE(reader.scalar("SELECT count(*) FROM t"), QString("1"));
    }

    void idListsAreBound()
    {
        // Pieces that are not whole numbers never reach the statement.
        const BoundIds ids = bound_ids(" 3,x) OR (1=1,,4 ,2.5");
        QCOMPARE(ids.placeholders, QString("?,?"));
        QCOMPARE(ids.values, (SqlParams{qint64(3), qint64(4)}));
        QVERIFY(bound_ids(",x,").isEmpty());
        TSQLiteDatabase d(db());
        for (const char *name : {"a", "b", "c", "d"})
            d.ExecSQL("INSERT INTO t(name) VALUES(?)", {QString(name)});
        QCOMPARE(d.scalar("SELECT group_concat(name) FROM t WHERE id in(" + ids.placeholders + ")",
                          ids.values),
                 QString("c,d"));
    }

    void twoWritersBothSucceed()
    {
        // Two counters each read and then write in one transaction, overlapping in
        // time. The second waits for the first and reads what it wrote, instead of
        // being refused because both held read locks.
        std::atomic<bool> firstHasRead{false};
        const auto writer = [this, &firstHasRead](const QString &name, QString *error) {
            try {
                TSQLiteDatabase d(db());
                d.transaction([&] {
                    const QString n = d.scalar("SELECT count(*) FROM t");
                    if (name == "first") {
                        firstHasRead = true;
                        std::this_thread::sleep_for(std::chrono::milliseconds(300));
                    }
                    d.ExecSQL("INSERT INTO t(name,n) VALUES(?,?)", {name, n.toInt() + 1});
                });
            } catch (const ESQLiteException &e) {
                *error = e.message();
            }
            firstHasRead = true;
        };
        QString firstError, secondError;
        std::thread first(writer, QStringLiteral("first"), &firstError);
        while (!firstHasRead)
            std::this_thread::yield();
        std::thread second(writer, QStringLiteral("second"), &secondError);
        first.join();
        second.join();
        QCOMPARE(firstError, QString());
        QCOMPARE(secondError, QString());
        TSQLiteDatabase d(db());
        QCOMPARE(d.scalar("SELECT group_concat(name||'='||n, ',') FROM t ORDER BY id"),
                 QString("first=1,second=2"));
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
