#pragma once

#include "store/sqlite_db.h"
#include "support/testkit.h"

// Orders as the counter leaves them, written straight into the database.
struct OrderSpec
{
    QString title = QStringLiteral("订单名称");
    QString ordid;
    qint64 deskid = 0;
    int tid = 0; // 1: a recharge
    int iscal = 0;
    int stat = 0;
    int paytype = 0;
    double allprice = 0;
    double price = 0;
    double balance = 0;
    QString yj;
    int nums = 0;
    qint64 addtime = 0;
};

inline QString add_order(const TestProgram &p, const OrderSpec &o)
{
    TSQLiteDatabase db(p.ctx.db_path);
    db.ExecSQL("INSERT INTO lumo_orders(title,ordid,deskid,tid,iscal,stat,paytype,allprice,price,"
               "balance,yj,nums,addtime) VALUES(?,?,?,?,?,?,?,?,?,?,?,?,?)",
               {o.title,
                o.ordid,
                o.deskid,
                o.tid,
                o.iscal,
                o.stat,
                o.paytype,
                o.allprice,
                o.price,
                o.balance,
                o.yj,
                o.nums,
                o.addtime});
    return QString::number(db.GetLastInsertRowID());
}

// n settled dining orders "第1单".."第n单" numbered ORD001.. in the order written.
inline void add_orders(const TestProgram &p, int n)
{
    TSQLiteDatabase db(p.ctx.db_path);
    db.transaction([&] {
        for (int i = 1; i <= n; ++i)
            db.ExecSQL("INSERT INTO lumo_orders(title,ordid,iscal,stat,paytype,allprice,price) "
                       "VALUES(?,?,1,1,5,?,?)",
                       {QStringLiteral("第%1单").arg(i),
                        QStringLiteral("ORD%1").arg(i, 3, 10, QChar('0')),
                        i,
                        i});
    });
}
