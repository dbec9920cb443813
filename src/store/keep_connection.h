#pragma once

// While one lives, the TSQLiteDatabase objects of this thread on one database file
// share one connection: the first of them opens it (with the usual failures), the
// keeper closes it. An action that reads in several steps then opens the file and
// reads its schema once. Keepers nest; the outermost one closes. Only for actions
// whose steps could as well run on one connection: a step inside another's
// transaction would see that transaction's changes.
class KeepConnection
{
public:
    KeepConnection();
    ~KeepConnection();
    KeepConnection(const KeepConnection &) = delete;
    KeepConnection &operator=(const KeepConnection &) = delete;

    // Closes the kept connection while the keepers stay, so the next use opens the
    // file afresh (a start that failed and is tried again may face a replaced file).
    // Only when no database object of this thread is alive.
    static void reopen();
};
