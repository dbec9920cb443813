#pragma once

#include "app/context.h"

#include <QObject>
#include <QPointer>

class BackupJob;
class QTimer;

// Makes the backups of the program folder's backup/ folder: on demand, and once a
// day at the backup hour while the automatic backup is on. One at a time.
class BackupScheduler : public QObject
{
    Q_OBJECT
public:
    explicit BackupScheduler(AppContext &ctx, QObject *parent = nullptr);

    // Looks once a minute (and at once) whether the daily backup is due.
    void start_watching();
    // Starts the daily backup when it is due; the job, or nullptr.
    BackupJob *tick();
    // Starts a backup now; nullptr with the reason when it cannot start.
    BackupJob *backup_now(bool automatic, QString *error = nullptr);
    BackupJob *current() const { return m_job; }

    static constexpr int KeepAutomatic = 30;

signals:
    void started(BackupJob *job);
    // The backup is written (ok) or failed with message; the folder is tidied.
    void finished(bool ok, const QString &message);

private:
    AppContext &m_ctx;
    QPointer<BackupJob> m_job;
    QTimer *m_timer = nullptr;
};
