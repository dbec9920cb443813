#pragma once

#include "support/testkit.h"

#include <QProcess>
#include <QStringList>

// What the fault runs start from: tables "01".. (all free), dishes 1..dishes priced
// 8.50 + id yuan (every third one never discounted), each with the cooking methods
// "微辣" and "不要葱", and one member (id 1, mobile 13800138000) whose balance starts at
// 0, so that every change to it is a recharge or a settlement recorded in lumo_orders.
void seed_fault_fixture(const TestProgram &p, int desks, int dishes);

// Every rule a write must never leave broken, checked on the file as it is now; one
// text per breach, none when the file is sound. A free table may keep an open order
// without lines: clearing leaves it for the next party.
QStringList check_invariants(const QString &db_path);

// The helper program that drives the write paths (tests/faults/fault_driver.cpp).
class FaultDriver
{
public:
    FaultDriver(const QString &db_path, const QStringList &arguments);
    ~FaultDriver();

    // Waits for the line "ready" on its output.
    bool waitReady(int ms = 10000);
    // Kills it without warning (SIGKILL) and waits until it is gone.
    void kill();
    // Waits for it to end by itself; false when it had to be killed.
    bool finish(int ms);

    QProcess process;
    QString out; // everything it printed so far
    QString err;

private:
    void read();
};
