#pragma once

#include <QString>

struct sqlite3;
class HeldConnection;

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
    // As the outermost keeper, starts from the held connection instead of opening the
    // file, and at its end gives the connection back instead of closing it.
    explicit KeepConnection(HeldConnection &held);
    ~KeepConnection();
    KeepConnection(const KeepConnection &) = delete;
    KeepConnection &operator=(const KeepConnection &) = delete;

    // Closes the kept connection while the keepers stay, so the next use opens the
    // file afresh (a start that failed and is tried again may face a replaced file).
    // Only when no database object of this thread is alive.
    static void reopen();

private:
    HeldConnection *m_held = nullptr;
    int m_failures = 0;
};

// A connection kept from one action to the next by a window that reads on every
// click and timer tick, so those reads neither open the file nor read its schema
// again. Given back only by an action that ended without a store failure and outside
// a transaction; dropped when the file was moved, removed or replaced meanwhile, so
// the next action opens the file afresh as if nothing had been kept.
class HeldConnection
{
public:
    HeldConnection() = default;
    ~HeldConnection();
    HeldConnection(const HeldConnection &) = delete;
    HeldConnection &operator=(const HeldConnection &) = delete;

    bool held() const { return m_db != nullptr; }
    void close();

private:
    friend class KeepConnection;
    QString m_path;
    sqlite3 *m_db = nullptr;
};
