#pragma once

// What the program asks of SQLite during an action: every connection it opens and
// every statement it runs (with its bound values), caught through SQLite's own
// hooks, so the program is measured unchanged. The floor of an action is the same
// statements run again on one kept connection.

#include <sqlite3.h>

#include <QByteArray>
#include <QElapsedTimer>
#include <QString>
#include <QVector>

#include <cstdio>

namespace sql_trace {

struct State
{
    bool recording = false;
    int opens = 0;
    QVector<QByteArray> statements;
};

inline State &state()
{
    static State s;
    return s;
}

inline int on_statement(unsigned, void *, void *p, void *)
{
    State &s = state();
    if (!s.recording)
        return 0;
    auto *stmt = static_cast<sqlite3_stmt *>(p);
    char *sql = sqlite3_expanded_sql(stmt);
    if (sql) {
        s.statements << QByteArray(sql);
        sqlite3_free(sql);
    }
    return 0;
}

inline int on_open(sqlite3 *db, const char **, const sqlite3_api_routines *)
{
    ++state().opens;
    sqlite3_trace_v2(db, SQLITE_TRACE_STMT, on_statement, nullptr);
    return SQLITE_OK;
}

// Call once, before the program opens its first connection.
inline void install()
{
    sqlite3_auto_extension(reinterpret_cast<void (*)()>(on_open));
}

// Connections opened and statements run while body runs.
struct Recording
{
    int opens = 0;
    QVector<QByteArray> statements;
};

template<class F> Recording record(F &&body)
{
    State &s = state();
    s.statements.clear();
    const int before = s.opens;
    s.recording = true;
    body();
    s.recording = false;
    return {s.opens - before, s.statements};
}

// Runs the recorded statements on one connection: prepared, stepped to the end,
// every column read as text (as the store reads them). Returns milliseconds.
// Only for recordings that write nothing, or whose writes may happen again.
inline double replay(sqlite3 *db, const QVector<QByteArray> &statements)
{
    QElapsedTimer t;
    t.start();
    for (const QByteArray &sql : statements) {
        sqlite3_stmt *stmt = nullptr;
        if (sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &stmt, nullptr) != SQLITE_OK) {
            std::fprintf(stderr, "replay: %s: %s\n", sql.constData(), sqlite3_errmsg(db));
            continue;
        }
        while (sqlite3_step(stmt) == SQLITE_ROW) {
            for (int i = 0, n = sqlite3_column_count(stmt); i < n; ++i)
                (void)sqlite3_column_text(stmt, i);
        }
        sqlite3_finalize(stmt);
    }
    return t.nsecsElapsed() / 1e6;
}

// The kept connection of the floor; the tracing hook sees it too but records nothing.
struct Connection
{
    explicit Connection(const QString &path)
    {
        sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
        sqlite3_busy_timeout(db, 5000);
    }
    ~Connection() { sqlite3_close_v2(db); }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;
    sqlite3 *db = nullptr;
};

} // namespace sql_trace
