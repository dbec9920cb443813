#pragma once

#include <QString>
#include <QStringList>

class TSQLiteDatabase;

// The receipt's rows of how a bill is paid: the member's discount, the reduction, each
// payment part with its method, cash given and change, the balance used and left, and
// the deposit. For an open bill: the deposit and online parts already received. A bill
// settled by an older counter has none of them.
QStringList receipt_payment_rows(TSQLiteDatabase &db,
                                 const QString &order_id,
                                 const QString &desk_id,
                                 bool settled);
