#pragma once

#include <QString>
#include <QVariant>
#include <QVector>

#include <functional>
#include <stdexcept>

struct sqlite3;

// The only exception of the store layer. Its text is the technical detail; the user
// sees it below what store_failure_text says in Chinese.
class ESQLiteException : public std::runtime_error
{
public:
    explicit ESQLiteException(const QString &message, int code = 0);
    const QString &message() const { return m_message; }
    // SQLite's primary result code (5 busy, 8 read-only, 26 not a database, ...);
    // 0 when the store layer itself refused.
    int code() const { return m_code; }

private:
    QString m_message;
    int m_code = 0;
};

// What a cashier reads about a store failure: one Chinese line saying what happened
// and what to do ("数据库正忙，请稍后再试" when another counter holds the lock), then,
// after a blank line, the technical detail.
QString store_failure_text(const ESQLiteException &e);
// The Chinese line alone.
QString store_failure_headline(int code);

// Values bound to the ? placeholders of a statement, in order. A QString binds
// as text, integral types as integers, double as real, a null QVariant as NULL.
using SqlParams = QVector<QVariant>;

// The complete result of one query, held in memory; the cursor starts on the first row.
class TSQLiteTable
{
public:
    struct Cell
    {
        int type = 5; // SQLITE_NULL
        QString text;
        qint64 integer = 0;
        double real = 0.0;
    };

    int Count() const { return int(m_rows.size()); }
    bool EOF_() const { return m_row >= m_rows.size(); }
    bool isEof() const { return EOF_(); }
    void Next();
    void First() { m_row = 0; }
    int FieldCount() const { return int(m_columns.size()); }
    int FieldIndex(const QString &name) const;
    QString FieldAsString(int index) const;
    qint64 FieldAsInteger(int index) const;
    double FieldAsDouble(int index) const;
    bool FieldIsNull(int index) const;

    // By name: FieldIndex then the typed read.
    QString value(const QString &name) const { return FieldAsString(FieldIndex(name)); }
    qint64 integer(const QString &name) const { return FieldAsInteger(FieldIndex(name)); }
    double real(const QString &name) const { return FieldAsDouble(FieldIndex(name)); }

    // Internal: filled by TSQLiteDatabase::GetTable.
    QStringList m_columns;
    QVector<QVector<Cell>> m_rows;

private:
    const Cell &cell(int index) const;
    qsizetype m_row = 0;
};

// One open connection to the database file. Closing it with a transaction still
// open rolls the transaction back.
class TSQLiteDatabase
{
public:
    explicit TSQLiteDatabase(const QString &path);
    ~TSQLiteDatabase();
    TSQLiteDatabase(const TSQLiteDatabase &) = delete;
    TSQLiteDatabase &operator=(const TSQLiteDatabase &) = delete;

    void ExecSQL(const QString &sql, const SqlParams &params = {});
    TSQLiteTable GetTable(const QString &sql, const SqlParams &params = {});
    bool TableExists(const QString &name);
    void BeginTransaction();
    void Commit();
    void Rollback();
    bool inTransaction() const { return m_inTransaction; }
    qint64 GetLastInsertRowID() const;

    // Runs body inside one write transaction (begun IMMEDIATE): committed when it returns, rolled
    // back when it throws (the exception goes on to the caller).
    void transaction(const std::function<void()> &body);

    // Runs body's reads as of one moment: a deferred transaction that takes no write
    // lock, so it goes on while another counter is writing; that counter's commit
    // lands wholly before or after it.
    void snapshot(const std::function<void()> &body);

    // First column of the first row as text, empty when there is no row.
    QString scalar(const QString &sql, const SqlParams &params = {});

    sqlite3 *handle() const { return m_db; }

    // How long a statement waits for another counter's lock before failing.
    static constexpr int BusyTimeoutMs = 5000;

private:
    void begin(const QString &statement);
    // Runs body in the transaction just begun: committed when it returns, rolled back
    // when it throws.
    void finish(const std::function<void()> &body);

    sqlite3 *m_db = nullptr;
    bool m_inTransaction = false;
};

// The whole-number ids of a "1,2,3" text as bound values, with the matching
// "?,?,?" for an in(...) list. Pieces that are not whole numbers are left out, so
// they never reach a statement.
struct BoundIds
{
    SqlParams values;
    QString placeholders;
    bool isEmpty() const { return values.isEmpty(); }
};
BoundIds bound_ids(const QString &ids);

// SQLite's description of a primary result code.
QString sqlite_code_name(int code);

// Shortest decimal form, at most 15 significant digits ("12" for 12.0).
QString general_decimal(double value);
