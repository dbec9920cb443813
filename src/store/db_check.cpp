#include "store/db_check.h"

#include "store/sqlite_db.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>

namespace {

[[noreturn]] void refuse(const QString &path, const QString &why, int code)
{
    throw ESQLiteException(QStringLiteral("Failed to open database \"%1\" : %2").arg(path, why),
                           code);
}

} // namespace

void check_database(const QString &path, qint64 full_check_below)
{
    const QFileInfo file(path);
    if (!file.absoluteDir().exists())
        refuse(path, QStringLiteral("folder does not exist"), SQLITE_CANTOPEN);
    if (!file.exists())
        return;

    TSQLiteDatabase db(path);
    // Damage shows here, before the schema step could create tables over it. The
    // first page is read even by an empty check, so "file is not a database" fails too.
    QStringList checks{QStringLiteral("PRAGMA quick_check")};
    if (file.size() >= full_check_below) {
        checks.clear();
        TSQLiteTable tables = db.GetTable(
            QStringLiteral("SELECT name FROM sqlite_master WHERE type='table' AND name NOT IN "
                           "('lumo_orders','lumo_orders_detail') ORDER BY name"));
        for (int i = 0; i < tables.Count(); ++i, tables.Next())
            checks << QStringLiteral("PRAGMA quick_check(\"%1\")").arg(tables.FieldAsString(0));
    }
    for (const QString &sql : std::as_const(checks)) {
        const TSQLiteTable check = db.GetTable(sql);
        const QString verdict = check.Count() > 0 ? check.FieldAsString(0) : QString();
        if (verdict != QLatin1String("ok"))
            refuse(path, QStringLiteral("quick_check: ") + verdict, SQLITE_CORRUPT);
    }

    // SQLite opens a file it may not write read-only, without saying so.
    if (sqlite3_db_readonly(db.handle(), "main") == 1)
        refuse(path, QStringLiteral("the file is read-only"), SQLITE_READONLY);
    // A folder that takes no new file refuses the journal of the first write: try one
    // and roll it back, so the file stays as it was.
    db.BeginTransaction();
    try {
        db.ExecSQL(QStringLiteral("CREATE TABLE mivo_write_check(x)"));
    } catch (const ESQLiteException &e) {
        db.Rollback();
        if (e.code() == SQLITE_CANTOPEN || e.code() == SQLITE_READONLY)
            refuse(path, QStringLiteral("the folder is read-only"), SQLITE_READONLY);
        throw;
    }
    db.Rollback();
}
