#include "support/fault_db.h"

#include "store/sqlite_db.h"

#include <QElapsedTimer>

namespace {

qint64 cents(double yuan)
{
    return qRound64(yuan * 100);
}

// One text per row: the row's cells joined with blanks.
QStringList rows(TSQLiteDatabase &db, const QString &sql)
{
    TSQLiteTable t = db.GetTable(sql);
    QStringList out;
    for (; !t.isEof(); t.Next()) {
        QStringList cells;
        for (int i = 0; i < t.FieldCount(); ++i)
            cells << t.FieldAsString(i);
        out << cells.join(QChar(' '));
    }
    return out;
}

// The sum of an order's live lines (status 0-7) as a SQL expression over lumo_orders o.
const QString LiveSum = QStringLiteral(
    "IFNULL((SELECT sum(l.oneprice*l.quantity) FROM lumo_orders_detail l WHERE l.rootid=o.id "
    "AND l.stat IN (0,1,2,3,4,5,6,7)),0)");

} // namespace

void seed_fault_fixture(const TestProgram &p, int desks, int dishes)
{
    TSQLiteDatabase db(p.ctx.db_path);
    db.transaction([&] {
        for (int i = 1; i <= desks; ++i) {
            const QString bh = QStringLiteral("%1").arg(i, 2, 10, QChar('0'));
            db.ExecSQL(
                "INSERT INTO lumo_desk(id,title,bh,sort,stat,price) VALUES(?,?,?,?,0,'0.00')",
                {i, QStringLiteral("桌位") + bh, bh, i});
        }
        for (int i = 1; i <= dishes; ++i) {
            db.ExecSQL("INSERT INTO lumo_caipin(id,title,price,iszk,cid) VALUES(?,?,?,?,0)",
                       {i,
                        QStringLiteral("菜品%1").arg(i),
                        QString::number(8.5 + i, 'f', 2),
                        i % 3 == 0 ? 0 : 1});
            db.ExecSQL("INSERT INTO lumo_caipin_zuofa(title,rootid) VALUES('微辣',?),('不要葱',?)",
                       {i, i});
        }
        db.ExecSQL("INSERT INTO lumo_member(id,mobile,truename,zekou,balance) "
                   "VALUES(1,'13800138000','会员甲',900,0)");
    });
}

QStringList check_invariants(const QString &db_path)
{
    QStringList bad;
    TSQLiteDatabase db(db_path);
    const QStringList integrity = rows(db, QStringLiteral("PRAGMA integrity_check"));
    if (integrity != QStringList{QStringLiteral("ok")})
        bad << QStringLiteral("integrity_check: ") + integrity.join(QStringLiteral("; "));

    for (const QString &r :
         rows(db,
              QStringLiteral("SELECT id,n FROM (SELECT d.id,(SELECT count(*) FROM lumo_orders o "
                             "WHERE o.tid=0 AND o.iscal=0 AND o.deskid=d.id) AS n FROM lumo_desk "
                             "d WHERE d.stat IN (1,3)) WHERE n<>1")))
        bad << QStringLiteral("open table with other than one open order (table, orders): ") + r;

    // Clearing a table keeps its empty open order for the next party: only an order with
    // lines must be on an open or reserved table.
    for (const QString &r :
         rows(db,
              QStringLiteral("SELECT o.id,o.deskid,IFNULL(d.stat,'gone') FROM lumo_orders o LEFT "
                             "JOIN lumo_desk d ON d.id=o.deskid WHERE o.tid=0 AND o.iscal=0 AND "
                             "(d.id IS NULL OR (d.stat NOT IN (1,3) AND EXISTS (SELECT 1 FROM "
                             "lumo_orders_detail l WHERE l.rootid=o.id)))")))
        bad << QStringLiteral("open order not on an open table (order, table, status): ") + r;

    {
        TSQLiteTable t
            = db.GetTable(QStringLiteral("SELECT o.id,o.allprice,o.price,") + LiveSum
                          + QStringLiteral(" FROM lumo_orders o WHERE o.tid=0 AND o.iscal=0"));
        for (; !t.isEof(); t.Next()) {
            const qint64 live = cents(t.FieldAsDouble(3));
            if (cents(t.FieldAsDouble(1)) != live || cents(t.FieldAsDouble(2)) != live)
                bad << QStringLiteral("stored total differs from the lines (order %1: %2/%3, "
                                      "lines %4)")
                           .arg(t.FieldAsString(0),
                                t.FieldAsString(1),
                                t.FieldAsString(2),
                                t.FieldAsString(3));
        }
    }
    {
        TSQLiteTable t = db.GetTable(
            QStringLiteral("SELECT d.id,d.price,") + LiveSum
            + QStringLiteral(" FROM lumo_desk d JOIN lumo_orders o ON o.deskid=d.id AND "
                             "o.tid=0 AND o.iscal=0 WHERE d.stat IN (1,3)"));
        for (; !t.isEof(); t.Next()) {
            if (cents(t.FieldAsString(1).toDouble()) != cents(t.FieldAsDouble(2)))
                bad << QStringLiteral("table amount differs from its order (table %1: %2, "
                                      "lines %3)")
                           .arg(t.FieldAsString(0), t.FieldAsString(1), t.FieldAsString(2));
        }
    }
    for (const QString &r : rows(db,
                                 QStringLiteral("SELECT id,price FROM lumo_desk WHERE stat=0 AND "
                                                "CAST(IFNULL(price,0) AS REAL)<>0")))
        bad << QStringLiteral("free table still shows an amount (table, amount): ") + r;

    for (const QString &r :
         rows(db,
              QStringLiteral("SELECT o.id,o.iscal,count(*) FROM lumo_orders_detail l JOIN "
                             "lumo_orders o ON o.id=l.rootid WHERE l.iscal<>o.iscal GROUP BY "
                             "o.id")))
        bad << QStringLiteral("lines not settled like their order (order, settled, lines): ") + r;
    for (const QString &r :
         rows(db,
              QStringLiteral("SELECT l.id,l.rootid FROM lumo_orders_detail l LEFT JOIN "
                             "lumo_orders o ON o.id=l.rootid WHERE o.id IS NULL")))
        bad << QStringLiteral("line of no order (line, order): ") + r;

    // Payment parts: each belongs to a bill; the parts a bill was settled with add up to
    // what it stores as paid (price, and balance for the member's part), and no open bill
    // has parts counted as settled.
    for (const QString &r :
         rows(db,
              QStringLiteral("SELECT p.id,p.orderid FROM mivo_payment p LEFT JOIN lumo_orders o "
                             "ON o.id=p.orderid WHERE o.id IS NULL")))
        bad << QStringLiteral("payment part of no order (part, order): ") + r;
    for (const QString &r :
         rows(db,
              QStringLiteral("SELECT p.id,p.orderid FROM mivo_payment p JOIN lumo_orders o ON "
                             "o.id=p.orderid WHERE p.stat=1 AND o.iscal<>1")))
        bad << QStringLiteral("settled payment part of an open order (part, order): ") + r;
    {
        TSQLiteTable t = db.GetTable(
            QStringLiteral("SELECT o.id,o.price,o.balance,sum(p.amount_fen),sum(CASE WHEN "
                           "p.paytype=9 THEN p.amount_fen ELSE 0 END) FROM lumo_orders o JOIN "
                           "mivo_payment p ON p.orderid=o.id AND p.stat=1 WHERE o.iscal=1 "
                           "GROUP BY o.id"));
        for (; !t.isEof(); t.Next()) {
            const qint64 price = cents(t.FieldAsDouble(1));
            const qint64 from_balance = cents(t.FieldAsDouble(2));
            if (price + from_balance != t.FieldAsInteger(3) || from_balance != t.FieldAsInteger(4))
                bad << QStringLiteral("parts do not add up to their bill (order %1: price %2, "
                                      "balance %3, parts %4 of which balance %5)")
                           .arg(t.FieldAsString(0),
                                t.FieldAsString(1),
                                t.FieldAsString(2),
                                t.FieldAsString(3),
                                t.FieldAsString(4));
        }
    }

    const double balance
        = db.scalar(QStringLiteral("SELECT balance FROM lumo_member WHERE id=1")).toDouble();
    const double credits = db.scalar(QStringLiteral("SELECT IFNULL(sum(price),0) FROM lumo_orders "
                                                    "WHERE tid=1 AND stat=1"))
                               .toDouble();
    const double debits = db.scalar(QStringLiteral("SELECT IFNULL(sum(balance),0) FROM lumo_orders "
                                                   "WHERE tid=0 AND iscal=1"))
                              .toDouble();
    if (cents(balance) != cents(credits) - cents(debits))
        bad << QStringLiteral("member balance %1 is not recharges %2 less payments %3")
                   .arg(balance)
                   .arg(credits)
                   .arg(debits);
    return bad;
}

FaultDriver::FaultDriver(const QString &db_path, const QStringList &arguments)
{
    process.setProgram(QStringLiteral(MIVO_FAULT_DRIVER));
    process.setArguments(QStringList{db_path} + arguments);
    process.start();
}

FaultDriver::~FaultDriver()
{
    if (process.state() != QProcess::NotRunning)
        kill();
}

void FaultDriver::read()
{
    out += QString::fromUtf8(process.readAllStandardOutput());
    err += QString::fromUtf8(process.readAllStandardError());
}

bool FaultDriver::waitReady(int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!out.contains(QStringLiteral("ready\n")) && clock.elapsed() < ms) {
        if (process.state() == QProcess::NotRunning)
            break;
        process.waitForReadyRead(50);
        read();
    }
    return out.contains(QStringLiteral("ready\n"));
}

void FaultDriver::kill()
{
    process.kill(); // SIGKILL on Unix: no handler, no clean-up, like a power cut
    process.waitForFinished(5000);
    read();
}

bool FaultDriver::finish(int ms)
{
    const bool ended = process.waitForFinished(ms);
    if (!ended)
        kill();
    read();
    return ended;
}
