#include "support/fixtures.h"

#include "store/sqlite_db.h"

void add_desks(const TestProgram &p, int n, const QStringList &cids)
{
    TSQLiteDatabase db(p.ctx.db_path);
    db.transaction([&] {
        for (int i = 1; i <= n; ++i) {
            const QString nn = QStringLiteral("%1").arg(i, 2, 10, QChar('0'));
            db.ExecSQL("INSERT INTO lumo_desk(title,bh,sort,cid,cname) VALUES(?,?,?,?,'')",
                       {QStringLiteral("桌位") + nn, nn, i, cids[(i - 1) % cids.size()]});
        }
    });
}

QString open_order(const TestProgram &p, int desk)
{
    TSQLiteDatabase db(p.ctx.db_path);
    db.ExecSQL("INSERT INTO lumo_orders(title,deskid,iscal,stat) VALUES('o',?,0,1)", {desk});
    return QString::number(db.GetLastInsertRowID());
}

void add_line(const TestProgram &p,
              const QString &order,
              const QString &title,
              const QString &oneprice,
              const QString &quantity,
              const QString &stat,
              const QString &price)
{
    TSQLiteDatabase db(p.ctx.db_path);
    db.ExecSQL("INSERT INTO lumo_orders_detail(title,rootid,oneprice,quantity,price,stat,zfidstr) "
               "VALUES(?,?,?,?,?,?,'微辣')",
               {title,
                order.toLongLong(),
                oneprice.toDouble(),
                quantity.toLongLong(),
                price.toDouble(),
                stat.toLongLong()});
}

QString dump(const TestProgram &p, const QString &table)
{
    TSQLiteDatabase db(p.ctx.db_path);
    TSQLiteTable t = db.GetTable("SELECT * FROM " + table + " ORDER BY id");
    QStringList rows;
    for (; !t.isEof(); t.Next()) {
        QStringList cells;
        for (int i = 0; i < t.FieldCount(); ++i)
            cells << (t.FieldIsNull(i) ? QStringLiteral("<null>") : t.FieldAsString(i));
        rows << cells.join(QChar('|'));
    }
    return rows.join(QChar('\n'));
}
