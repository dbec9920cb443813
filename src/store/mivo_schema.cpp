#include "store/mivo_schema.h"

const QStringList &mivo_table_statements()
{
    static const QStringList statements = {
        // The payments of a bill, one row per part: methods 1-7 and the balance's 9.
        // stat 0: received (an online part paid while its bill is still open), 1: the
        // bill is settled with it, 2: given back at the counter. given_fen is the cash
        // handed over for a cash part (0 when not typed); note says what a part of
        // method 7 was ("押金抵扣"); ordid is the payment service's number of an online
        // part.
        QStringLiteral("CREATE TABLE IF NOT EXISTS mivo_payment (id INTEGER PRIMARY KEY,"
                       "orderid INTEGER NOT NULL,paytype INTEGER NOT NULL,"
                       "amount_fen INTEGER NOT NULL,addtime INTEGER NOT NULL DEFAULT 0,"
                       "uid INTEGER NOT NULL DEFAULT 0,stat INTEGER NOT NULL DEFAULT 1,"
                       "given_fen INTEGER NOT NULL DEFAULT 0,note TEXT NOT NULL DEFAULT '',"
                       "ordid TEXT NOT NULL DEFAULT '')"),
        QStringLiteral("CREATE INDEX IF NOT EXISTS mivo_payment_orderid ON mivo_payment(orderid)"),
        // How a settled bill came to what was paid, for its receipt: the amount before
        // the discount, the member's discount, the reduction (negative: a surcharge),
        // the table's deposit, and the member's balance left after paying.
        QStringLiteral("CREATE TABLE IF NOT EXISTS mivo_bill (orderid INTEGER PRIMARY KEY,"
                       "allprice_fen INTEGER NOT NULL DEFAULT 0,discount_fen INTEGER NOT NULL "
                       "DEFAULT 0,reduction_fen INTEGER NOT NULL DEFAULT 0,deposit_fen INTEGER "
                       "NOT NULL DEFAULT 0,memberid INTEGER NOT NULL DEFAULT 0,balance_left_fen "
                       "INTEGER NOT NULL DEFAULT 0,addtime INTEGER NOT NULL DEFAULT 0,"
                       "uid INTEGER NOT NULL DEFAULT 0)"),
    };
    return statements;
}
