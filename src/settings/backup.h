#pragma once

#include "app/context.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QVector>

struct sqlite3;
struct sqlite3_backup;
class QThread;
class QTimer;

// One file in the backup folder.
struct BackupEntry
{
    QString file_name;
    QString path;
    QDateTime time; // wall-clock time of the backup, from its name
    qint64 size = 0;
    bool automatic = false;
};

// The backup folder of the program folder, with a trailing separator.
QString backup_folder(const Paths &paths);

// Backups in the folder, newest first. Other files are left out.
QVector<BackupEntry> list_backups(const QString &folder);

// A free name for a backup made at that wall-clock time.
QString backup_file_name(const QString &folder, const QDateTime &time, bool automatic);

// "1.5 MB", "820 KB", "512 B".
QString size_text(qint64 bytes);

// Removes the oldest automatic backups beyond keep; manual ones stay.
void prune_automatic(const QString &folder, int keep = 30);

// Empty when the file is a sound database of this program; otherwise why not.
QString check_backup_file(const QString &path);

// True when an automatic backup is due at now: switched on, the hour reached, and
// none made since today's backup hour. A missed hour is made up later that day.
bool automatic_backup_due(const Settings &settings,
                          const QDateTime &now,
                          const QVector<BackupEntry> &existing);

// Wall-clock time of the clock as a date and time.
QDateTime wall_time(const Clock &clock);

// A consistent copy of a database in use, made with SQLite's online backup a few
// pages at a time from the event loop, so the counter keeps working meanwhile.
// Another counter's write makes SQLite start the copy again; the result holds
// what was committed when the copy finished.
class BackupJob : public QObject
{
    Q_OBJECT
public:
    BackupJob(QString source, QString target, QObject *parent = nullptr);
    ~BackupJob() override;

    // Starts copying; false (with error()) when either file cannot be opened.
    bool start();
    // Copies the next pages; true while there is more to do.
    bool step();
    // Runs to the end without the event loop; false on failure.
    bool run();

    bool running() const { return m_backup != nullptr; }
    QString error() const { return m_error; }
    const QString &target() const { return m_target; }

    // Pages copied per step: about 1 MB with SQLite's default page size.
    int pages_per_step = 256;

signals:
    // Percent done, 0 to 100.
    void progress(int percent);
    // ok false with error() when the copy failed; no file is left then.
    void finished(bool ok);

private:
    // Closes the copy and both connections; SQLite's result of finishing the copy.
    int release();
    void close(bool ok);
    // Renames the finished copy into place (ok) or removes it, and reports.
    void finish(bool ok);

    QString m_source;
    QString m_target;
    QString m_part;
    QString m_error;
    sqlite3 *m_from = nullptr;
    sqlite3 *m_to = nullptr;
    sqlite3_backup *m_backup = nullptr;
    QTimer *m_timer = nullptr;
    QThread *m_flush = nullptr;
    bool m_blocking = false;
};

// Puts a checked backup in place of the database at db_path. The current database
// is first copied beside itself (its name + ".before_restore_" + time stamp);
// aside receives that path. Empty on success; otherwise the message, and the
// database is as it was.
QString restore_backup(const QString &backup_path,
                       const QString &db_path,
                       const QDateTime &now,
                       QString *aside = nullptr);
// The same for the program's database, at the clock's time; after a restore every
// screen reads everything again (database_replaced).
QString restore_database(AppContext &ctx, const QString &backup_path, QString *aside = nullptr);
