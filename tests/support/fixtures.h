#pragma once

#include "support/testkit.h"

#include <QStringList>

// n tables "桌位01".. numbered 01.. in board order; cid cycles through the given areas.
void add_desks(const TestProgram &p, int n, const QStringList &cids = {"0"});

// An open order (stat 1) for the table; returns its id.
QString open_order(const TestProgram &p, int desk);

// One order line with the method titles "微辣"; price is the stored line total,
// which no screen reads back.
void add_line(const TestProgram &p,
              const QString &order,
              const QString &title,
              const QString &oneprice,
              const QString &quantity,
              const QString &stat = "0",
              const QString &price = "0");

// Every row of a table, every column joined, to see that nothing changed.
QString dump(const TestProgram &p, const QString &table);
