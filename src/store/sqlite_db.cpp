#include "store/sqlite_db.h"
#include "store/keep_connection.h"

#include <sqlite3.h>

#include <QByteArray>
#include <QStringList>

#include <utility>

namespace {

QString detail(int code, const QString &sql, const QString &message)
{
    return QStringLiteral(".\rError [%1]: %2.\r\"%3\": %4")
        .arg(code)
        .arg(sqlite_code_name(code), sql, message);
}

QString errmsg(sqlite3 *db)
{
    return QString::fromUtf8(sqlite3_errmsg(db));
}

void bind_all(sqlite3 *db, sqlite3_stmt *stmt, const QString &sql, const SqlParams &params)
{
    for (int i = 0; i < params.size(); ++i) {
        const QVariant &v = params.at(i);
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(stmt, i + 1);
        } else {
            switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::Long:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(stmt, i + 1, v.toDouble());
                break;
            default: {
                const QByteArray text = v.toString().toUtf8();
                rc = sqlite3_bind_text(
                    stmt, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK) {
            // The caller's statement guard finalizes it.
            throw ESQLiteException(
                QStringLiteral("Error executing SQL") + detail(rc, sql, errmsg(db)), rc);
        }
    }
}

// Prepares one statement and binds its values; throws with the store's messages.
void prepare(sqlite3 *db, const QString &sql, const SqlParams &params, sqlite3_stmt **stmt)
{
    const QByteArray utf8 = sql.toUtf8();
    const int rc = sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), stmt, nullptr);
    if (rc != SQLITE_OK)
        throw ESQLiteException(QStringLiteral("Error executing SQL") + detail(rc, sql, errmsg(db)),
                               rc);
    if (!*stmt) {
        // Only blanks or comments: nothing to run.
        throw ESQLiteException(QStringLiteral("Could not prepare SQL statement")
                               + (sqlite3_errcode(db) != SQLITE_OK
                                      ? detail(sqlite3_errcode(db), sql, errmsg(db))
                                      : QString()));
    }
    bind_all(db, *stmt, sql, params);
}

// The connection of the running KeepConnection scopes of this thread.
struct Kept
{
    int depth = 0;
    QString path;
    sqlite3 *db = nullptr;
};
thread_local Kept t_kept;
// Store failures raised on this thread so far: a held connection that saw one is
// not given back.
thread_local int t_failures = 0;

struct Stmt
{
    sqlite3_stmt *p = nullptr;
    ~Stmt() { sqlite3_finalize(p); }
};

} // namespace

ESQLiteException::ESQLiteException(const QString &message, int code)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_code(code & 0xff)
{
    ++t_failures;
}

QString store_failure_headline(int code)
{
    switch (code) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("数据库正忙，请稍后再试");
    case SQLITE_READONLY:
        return QStringLiteral("数据库文件是只读的，无法保存，请检查数据库文件及其文件夹的写入权限");
    case SQLITE_CANTOPEN:
        return QStringLiteral("无法打开数据库文件，请检查数据库文件及其文件夹是否存在、能否写入");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("数据库文件已损坏，请从备份恢复");
    case SQLITE_FULL:
        return QStringLiteral("磁盘已满，数据没有保存");
    case SQLITE_IOERR:
        return QStringLiteral("读写数据库文件时出错，请检查磁盘或网络连接");
    default:
        return QStringLiteral("数据库操作失败");
    }
}

QString store_failure_text(const ESQLiteException &e)
{
    // The store's texts separate their parts with carriage returns; a box shows lines.
    QString detail = e.message();
    detail.replace(QChar('\r'), QChar('\n'));
    return store_failure_headline(e.code()) + QStringLiteral("\n\n") + detail;
}

QString sqlite_code_name(int code)
{
    switch (code) {
    case 0:
        return QStringLiteral("Successful result");
    case 1:
        return QStringLiteral("SQL error or missing database");
    case 2:
        return QStringLiteral("An internal logic error in SQLite");
    case 3:
        return QStringLiteral("Access permission denied");
    case 4:
        return QStringLiteral("Callback routine requested an abort");
    case 5:
        return QStringLiteral("The database file is locked");
    case 6:
        return QStringLiteral("A table in the database is locked");
    case 7:
        return QStringLiteral("A malloc() failed");
    case 8:
        return QStringLiteral("Attempt to write a readonly database");
    case 9:
        return QStringLiteral("Operation terminated by sqlite3_interrupt()");
    case 10:
        return QStringLiteral("Some kind of disk I/O error occurred");
    case 11:
        return QStringLiteral("The database disk image is malformed");
    case 12:
        return QStringLiteral("(Internal Only) Table or record not found");
    case 13:
        return QStringLiteral("Insertion failed because database is full");
    case 14:
        return QStringLiteral("Unable to open the database file");
    case 15:
        return QStringLiteral("Database lock protocol error");
    case 16:
        return QStringLiteral("Database is empty");
    case 17:
        return QStringLiteral("The database schema changed");
    case 18:
        return QStringLiteral("Too much data for one row of a table");
    case 19:
        return QStringLiteral("Abort due to contraint violation");
    case 20:
        return QStringLiteral("Data type mismatch");
    case 21:
        return QStringLiteral("Library used incorrectly");
    case 22:
        return QStringLiteral("Uses OS features not supported on host");
    case 23:
        return QStringLiteral("Authorization denied");
    case 24:
        return QStringLiteral("Auxiliary database format error");
    case 25:
        return QStringLiteral("2nd parameter to sqlite3_bind out of range");
    case 26:
        return QStringLiteral("File opened that is not a database file");
    case 100:
        return QStringLiteral("sqlite3_step() has another row ready");
    case 101:
        return QStringLiteral("sqlite3_step() has finished executing");
    default:
        return QStringLiteral("Unknown SQLite Error Code \"%1\"").arg(code);
    }
}

BoundIds bound_ids(const QString &ids)
{
    BoundIds out;
    QStringList marks;
    for (const QString &part : ids.split(QChar(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const qint64 id = part.trimmed().toLongLong(&ok);
        if (!ok)
            continue;
        out.values << id;
        marks << QStringLiteral("?");
    }
    out.placeholders = marks.join(QChar(','));
    return out;
}

QString general_decimal(double value)
{
    return QString::number(value, 'g', 15);
}

// ---- TSQLiteTable ----

void TSQLiteTable::Next()
{
    if (m_row < m_rows.size())
        ++m_row;
}

int TSQLiteTable::FieldIndex(const QString &name) const
{
    if (m_rows.isEmpty())
        throw ESQLiteException(QStringLiteral("Field ") + name
                               + QStringLiteral(" Not found. Empty dataset"));
    for (int i = 0; i < m_columns.size(); ++i) {
        if (m_columns.at(i).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    throw ESQLiteException(QStringLiteral("Field not found in dataset: ") + name);
}

const TSQLiteTable::Cell &TSQLiteTable::cell(int index) const
{
    if (m_row >= m_rows.size())
        throw ESQLiteException(QStringLiteral("Table is at End of File"));
    const auto &row = m_rows.at(m_row);
    if (index < 0 || index >= row.size())
        throw ESQLiteException(QStringLiteral("Field not found in dataset: %1").arg(index));
    return row.at(index);
}

QString TSQLiteTable::FieldAsString(int index) const
{
    return cell(index).text;
}

qint64 TSQLiteTable::FieldAsInteger(int index) const
{
    const Cell &c = cell(index);
    switch (c.type) {
    case SQLITE_NULL:
        return 0;
    case SQLITE_INTEGER:
        return c.integer;
    case SQLITE_FLOAT:
        return qint64(c.real);
    default:
        throw ESQLiteException(QStringLiteral("Not an integer or numeric field"));
    }
}

double TSQLiteTable::FieldAsDouble(int index) const
{
    const Cell &c = cell(index);
    switch (c.type) {
    case SQLITE_NULL:
        return 0.0;
    case SQLITE_INTEGER:
        return double(c.integer);
    case SQLITE_FLOAT:
        return c.real;
    default:
        throw ESQLiteException(QStringLiteral("Not an integer or numeric field"));
    }
}

bool TSQLiteTable::FieldIsNull(int index) const
{
    return cell(index).type == SQLITE_NULL;
}

// ---- TSQLiteDatabase ----

KeepConnection::KeepConnection()
{
    ++t_kept.depth;
}

KeepConnection::KeepConnection(HeldConnection &held)
    : KeepConnection()
{
    // Nested, the outer keeper's connection is used and the outer keeper closes it.
    if (t_kept.depth != 1 || t_kept.db)
        return;
    m_held = &held;
    m_failures = t_failures;
    sqlite3 *db = std::exchange(held.m_db, nullptr);
    if (!db)
        return;
    int moved = 0;
    if (sqlite3_file_control(db, "main", SQLITE_FCNTL_HAS_MOVED, &moved) != SQLITE_OK || moved) {
        sqlite3_close_v2(db);
        return;
    }
    t_kept.db = db;
    t_kept.path = held.m_path;
}

KeepConnection::~KeepConnection()
{
    if (--t_kept.depth > 0)
        return;
    if (m_held && t_kept.db && t_failures == m_failures && sqlite3_get_autocommit(t_kept.db)) {
        m_held->close();
        m_held->m_db = std::exchange(t_kept.db, nullptr);
        m_held->m_path = std::exchange(t_kept.path, QString());
        return;
    }
    reopen();
}

HeldConnection::~HeldConnection()
{
    close();
}

void HeldConnection::close()
{
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
    m_path.clear();
}

void KeepConnection::reopen()
{
    if (!t_kept.db)
        return;
    sqlite3_close_v2(t_kept.db);
    t_kept.db = nullptr;
    t_kept.path.clear();
}

TSQLiteDatabase::TSQLiteDatabase(const QString &path)
{
    if (t_kept.db && t_kept.path == path) {
        m_db = t_kept.db;
        return;
    }
    const QByteArray utf8 = path.toUtf8();
    const int rc = sqlite3_open_v2(
        utf8.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const QString why = m_db ? errmsg(m_db) : QStringLiteral("unknown error");
        sqlite3_close(m_db);
        m_db = nullptr;
        throw ESQLiteException(QStringLiteral("Failed to open database \"%1\" : %2").arg(path, why),
                               rc);
    }
    // Another counter may hold the write lock for a moment: wait instead of failing.
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    if (t_kept.depth > 0 && !t_kept.db) {
        t_kept.db = m_db;
        t_kept.path = path;
    }
}

TSQLiteDatabase::~TSQLiteDatabase()
{
    if (m_inTransaction)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    // A kept connection is closed by its keeper.
    if (m_db != t_kept.db)
        sqlite3_close_v2(m_db);
}

void TSQLiteDatabase::ExecSQL(const QString &sql, const SqlParams &params)
{
    Stmt stmt;
    prepare(m_db, sql, params, &stmt.p);
    const int rc = sqlite3_step(stmt.p);
    if (rc != SQLITE_DONE) {
        // The primary code tells more than SQLITE_ERROR from step.
        const int code = sqlite3_errcode(m_db) != SQLITE_OK ? sqlite3_errcode(m_db) : rc;
        throw ESQLiteException(QStringLiteral("Error executing SQL statement")
                                   + detail(code, sql, errmsg(m_db)),
                               code);
    }
}

TSQLiteTable TSQLiteDatabase::GetTable(const QString &sql, const SqlParams &params)
{
    Stmt stmt;
    prepare(m_db, sql, params, &stmt.p);

    TSQLiteTable table;
    const int columns = sqlite3_column_count(stmt.p);
    QVector<bool> declared(columns);
    for (int i = 0; i < columns; ++i) {
        table.m_columns << QString::fromUtf8(sqlite3_column_name(stmt.p, i));
        declared[i] = sqlite3_column_decltype(stmt.p, i) != nullptr;
    }
    for (;;) {
        const int rc = sqlite3_step(stmt.p);
        if (rc == SQLITE_DONE)
            break;
        if (rc == SQLITE_BUSY)
            throw ESQLiteException(
                QStringLiteral("Could not retrieve data") + detail(rc, sql, errmsg(m_db)), rc);
        if (rc != SQLITE_ROW)
            throw ESQLiteException(QStringLiteral("Could not retrieve data")
                                       + detail(sqlite3_errcode(m_db), sql, errmsg(m_db)),
                                   sqlite3_errcode(m_db));
        QVector<TSQLiteTable::Cell> row(columns);
        for (int i = 0; i < columns; ++i) {
            TSQLiteTable::Cell &c = row[i];
            c.type = sqlite3_column_type(stmt.p, i);
            switch (c.type) {
            case SQLITE_NULL:
                break;
            case SQLITE_INTEGER:
                c.integer = sqlite3_column_int64(stmt.p, i);
                c.text = QString::number(c.integer);
                break;
            case SQLITE_FLOAT:
                c.real = sqlite3_column_double(stmt.p, i);
                // A declared column reads as SQLite renders it (0.0, 58.8); an
                // expression in its shortest form (12 for 12.0).
                c.text = declared[i] ? QString::fromUtf8(
                             reinterpret_cast<const char *>(sqlite3_column_text(stmt.p, i)))
                                     : general_decimal(c.real);
                break;
            default:
                c.text = QString::fromUtf8(
                    reinterpret_cast<const char *>(sqlite3_column_text(stmt.p, i)),
                    sqlite3_column_bytes(stmt.p, i));
                break;
            }
        }
        table.m_rows.append(std::move(row));
    }
    return table;
}

bool TSQLiteDatabase::TableExists(const QString &name)
{
    const TSQLiteTable t = GetTable(
        QStringLiteral(
            "select [sql] from sqlite_master where [type] = 'table' and lower(name) = ?"),
        {name.toLower()});
    return t.Count() > 0;
}

void TSQLiteDatabase::BeginTransaction()
{
    // Every transaction here reads and then writes. Taking the write lock at the
    // start lets another counter's writer wait for it (busy timeout) instead of
    // both holding read locks and one of them being refused with "locked".
    begin(QStringLiteral("BEGIN IMMEDIATE TRANSACTION"));
}

void TSQLiteDatabase::begin(const QString &statement)
{
    if (m_inTransaction)
        throw ESQLiteException(QStringLiteral("Transaction already open"));
    ExecSQL(statement);
    m_inTransaction = true;
}

void TSQLiteDatabase::Commit()
{
    ExecSQL(QStringLiteral("COMMIT"));
    m_inTransaction = false;
}

void TSQLiteDatabase::Rollback()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

qint64 TSQLiteDatabase::GetLastInsertRowID() const
{
    return sqlite3_last_insert_rowid(m_db);
}

void TSQLiteDatabase::transaction(const std::function<void()> &body)
{
    BeginTransaction();
    finish(body);
}

void TSQLiteDatabase::snapshot(const std::function<void()> &body)
{
    begin(QStringLiteral("BEGIN DEFERRED TRANSACTION"));
    finish(body);
}

void TSQLiteDatabase::finish(const std::function<void()> &body)
{
    try {
        body();
        Commit();
    } catch (...) {
        Rollback();
        throw;
    }
}

QString TSQLiteDatabase::scalar(const QString &sql, const SqlParams &params)
{
    const TSQLiteTable t = GetTable(sql, params);
    return t.Count() > 0 && t.FieldCount() > 0 ? t.FieldAsString(0) : QString();
}
