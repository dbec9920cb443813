#include "settings/backup_scheduler.h"

#include "settings/backup.h"

#include <QDir>
#include <QTimer>

BackupScheduler::BackupScheduler(AppContext &ctx, QObject *parent)
    : QObject(parent)
    , m_ctx(ctx)
{}

void BackupScheduler::start_watching()
{
    if (!m_timer) {
        m_timer = new QTimer(this);
        m_timer->setInterval(60 * 1000);
        connect(m_timer, &QTimer::timeout, this, [this] { tick(); });
    }
    m_timer->start();
    // After the current event: the board is built before a backup starts.
    QTimer::singleShot(0, this, [this] { tick(); });
}

BackupJob *BackupScheduler::tick()
{
    if (m_job)
        return nullptr;
    const QString folder = backup_folder(m_ctx.paths);
    if (!automatic_backup_due(m_ctx.settings, wall_time(m_ctx.clock()), list_backups(folder)))
        return nullptr;
    return backup_now(true);
}

BackupJob *BackupScheduler::backup_now(bool automatic, QString *error)
{
    if (m_job) {
        if (error)
            *error = QStringLiteral("正在备份，请稍候");
        return nullptr;
    }
    const QString folder = backup_folder(m_ctx.paths);
    QDir().mkpath(folder);
    const QString name = backup_file_name(folder, wall_time(m_ctx.clock()), automatic);
    auto *job = new BackupJob(m_ctx.db_path, folder + name, this);
    if (!job->start()) {
        if (error)
            *error = QStringLiteral("备份失败：") + job->error();
        delete job;
        return nullptr;
    }
    m_job = job;
    connect(job, &BackupJob::finished, this, [this, job, automatic, folder](bool ok) {
        if (ok && automatic)
            prune_automatic(folder, KeepAutomatic);
        const QString message
            = ok ? QStringLiteral("备份完成") : QStringLiteral("备份失败：") + job->error();
        m_job = nullptr;
        job->deleteLater();
        emit finished(ok, message);
    });
    emit started(job);
    return job;
}
