#include "settings/backup.h"

#include "app/notifier.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <QTimer>

#include <memory>

#include <sqlite3.h>
#include <unistd.h>

namespace {

const QString TimeFormat = QStringLiteral("yyyyMMdd_HHmmss");

const QRegularExpression &name_pattern()
{
    static const QRegularExpression re(
        QStringLiteral("^(auto|manual)_(\\d{8}_\\d{6})(_\\d+)?\\.db$"));
    return re;
}

QString sqlite_text(sqlite3 *db, int rc)
{
    return db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
}

// Copies the whole of one open database into another in one go.
int copy_all(sqlite3 *from, sqlite3 *to)
{
    sqlite3_backup *b = sqlite3_backup_init(to, "main", from, "main");
    if (!b)
        return sqlite3_errcode(to);
    int rc;
    do {
        rc = sqlite3_backup_step(b, -1);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
            sqlite3_sleep(50);
    } while (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED);
    const int fin = sqlite3_backup_finish(b);
    return rc == SQLITE_DONE ? fin : rc;
}

sqlite3 *open_db(const QString &path, int flags, QString *error)
{
    sqlite3 *db = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        if (error)
            *error = sqlite_text(db, rc);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_busy_timeout(db, 5000);
    return db;
}

// An empty file only its owner may read, for SQLite to fill: a copy of the database
// must not be more open than the database.
bool create_private(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate)
           && f.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

// The unfinished copies being written by this program now.
QSet<QString> &parts_in_progress()
{
    static QSet<QString> parts;
    return parts;
}

// Unfinished copies left by a backup or restore that was killed: never complete, each
// as large as the database.
void remove_stale_parts(const QString &folder, const QString &pattern)
{
    const QFileInfoList files = QDir(folder).entryInfoList({pattern}, QDir::Files);
    for (const QFileInfo &fi : files)
        if (!parts_in_progress().contains(fi.absoluteFilePath()))
            QFile::remove(fi.absoluteFilePath());
}

// Forces the file's data onto the disk.
bool flush_file(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadWrite) && ::fsync(f.handle()) == 0;
}

} // namespace

QString backup_folder(const Paths &paths)
{
    return paths.program + QStringLiteral("backup/");
}

QVector<BackupEntry> list_backups(const QString &folder)
{
    QVector<BackupEntry> out;
    const QFileInfoList files = QDir(folder).entryInfoList({QStringLiteral("*.db")}, QDir::Files);
    for (const QFileInfo &fi : files) {
        const auto m = name_pattern().match(fi.fileName());
        if (!m.hasMatch())
            continue;
        BackupEntry e;
        e.file_name = fi.fileName();
        e.path = fi.absoluteFilePath();
        e.time = QDateTime::fromString(m.captured(2), TimeFormat);
        e.time.setTimeSpec(Qt::UTC);
        e.size = fi.size();
        e.automatic = m.captured(1) == QLatin1String("auto");
        out << e;
    }
    std::sort(out.begin(), out.end(), [](const BackupEntry &a, const BackupEntry &b) {
        return a.time != b.time ? a.time > b.time : a.file_name > b.file_name;
    });
    return out;
}

QString backup_file_name(const QString &folder, const QDateTime &time, bool automatic)
{
    const QString stem = (automatic ? QStringLiteral("auto_") : QStringLiteral("manual_"))
                         + time.toString(TimeFormat);
    QString name = stem + QStringLiteral(".db");
    for (int n = 2; QFile::exists(QDir(folder).filePath(name))
                    || QFile::exists(QDir(folder).filePath(name + QStringLiteral(".part")));
         ++n)
        name = stem + QStringLiteral("_%1.db").arg(n);
    return name;
}

QString size_text(qint64 bytes)
{
    if (bytes >= 1024 * 1024)
        return QString::number(double(bytes) / (1024 * 1024), 'f', 1) + QStringLiteral(" MB");
    if (bytes >= 1024)
        return QString::number((bytes + 1023) / 1024) + QStringLiteral(" KB");
    return QString::number(bytes) + QStringLiteral(" B");
}

void prune_automatic(const QString &folder, int keep)
{
    int kept = 0;
    for (const BackupEntry &e : list_backups(folder)) {
        if (!e.automatic)
            continue;
        if (kept < keep)
            ++kept;
        else
            QFile::remove(e.path);
    }
}

QString check_backup_file(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QStringLiteral("备份文件无法读取");
    if (f.read(16) != QByteArray("SQLite format 3\0", 16))
        return QStringLiteral("备份文件已损坏，不是有效的数据库文件");
    f.close();
    QString error;
    sqlite3 *db = open_db(path, SQLITE_OPEN_READONLY, &error);
    if (!db)
        return QStringLiteral("备份文件无法打开：") + error;
    QString problem;
    sqlite3_stmt *st = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &st, nullptr) != SQLITE_OK) {
        problem = QStringLiteral("备份文件已损坏：") + sqlite_text(db, 0);
    } else {
        const int rc = sqlite3_step(st);
        const QString first
            = rc == SQLITE_ROW
                  ? QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(st, 0)))
                  : sqlite_text(db, rc);
        if (first != QLatin1String("ok"))
            problem = QStringLiteral("备份文件已损坏：") + first;
    }
    sqlite3_finalize(st);
    if (problem.isEmpty()) {
        // A sound database that is not ours would leave every screen empty.
        sqlite3_stmt *t = nullptr;
        sqlite3_prepare_v2(db,
                           "SELECT count(*) FROM sqlite_master WHERE type='table' AND "
                           "name IN ('lumo_desk','lumo_orders','lumo_system')",
                           -1,
                           &t,
                           nullptr);
        if (!t || sqlite3_step(t) != SQLITE_ROW || sqlite3_column_int(t, 0) != 3)
            problem = QStringLiteral("备份文件不是本软件的数据库");
        sqlite3_finalize(t);
    }
    sqlite3_close(db);
    return problem;
}

bool automatic_backup_due(const Settings &settings,
                          const QDateTime &now,
                          const QVector<BackupEntry> &existing)
{
    if (settings.isautobackup != 1)
        return false;
    const int hour = settings.backuph >= 0 && settings.backuph <= 23 ? settings.backuph : 5;
    const QDateTime since(now.date(), QTime(hour, 0), Qt::UTC);
    if (now < since)
        return false;
    for (const BackupEntry &e : existing) {
        if (e.automatic && e.time >= since)
            return false;
    }
    return true;
}

QDateTime wall_time(const Clock &clock)
{
    return QDateTime::fromMSecsSinceEpoch(clock.now_ms(), Qt::UTC);
}

// ---- BackupJob ----

BackupJob::BackupJob(QString source, QString target, QObject *parent)
    : QObject(parent)
    , m_source(std::move(source))
    , m_target(std::move(target))
    , m_part(m_target + QStringLiteral(".part"))
{}

BackupJob::~BackupJob()
{
    if (m_flush) {
        m_flush->wait();
        delete m_flush;
    }
    if (m_backup) {
        release();
        QFile::remove(m_part);
    }
    parts_in_progress().remove(QFileInfo(m_part).absoluteFilePath());
}

bool BackupJob::start()
{
    m_error.clear();
    QDir().mkpath(QFileInfo(m_target).absolutePath());
    parts_in_progress().insert(QFileInfo(m_part).absoluteFilePath());
    remove_stale_parts(QFileInfo(m_target).absolutePath(), QStringLiteral("*.db.part*"));
    QFile::remove(m_part);
    m_from = open_db(m_source, SQLITE_OPEN_READONLY, &m_error);
    if (m_from && !create_private(m_part))
        m_error = QStringLiteral("备份文件无法保存：") + m_target;
    if (m_from && m_error.isEmpty())
        m_to = open_db(m_part, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &m_error);
    // The copy is only trusted once complete and renamed: no journal, and one flush
    // at the end instead of SQLite's own (which would hold up the event loop).
    if (m_to)
        sqlite3_exec(
            m_to, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    if (m_to)
        m_backup = sqlite3_backup_init(m_to, "main", m_from, "main");
    if (!m_backup) {
        if (m_error.isEmpty() && m_to)
            m_error = sqlite_text(m_to, 0);
        release();
        QFile::remove(m_part);
        return false;
    }
    m_timer = new QTimer(this);
    m_timer->setInterval(0);
    connect(m_timer, &QTimer::timeout, this, [this] { step(); });
    m_timer->start();
    return true;
}

bool BackupJob::step()
{
    if (!m_backup)
        return false;
    const int rc = sqlite3_backup_step(m_backup, pages_per_step);
    const int total = sqlite3_backup_pagecount(m_backup);
    const int left = sqlite3_backup_remaining(m_backup);
    if (rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        if (total > 0)
            emit progress(int(100LL * (total - left) / total));
        return true;
    }
    if (rc != SQLITE_DONE)
        m_error = sqlite_text(m_to, rc);
    close(rc == SQLITE_DONE);
    return false;
}

bool BackupJob::run()
{
    if (!m_backup && !start())
        return false;
    m_timer->stop();
    m_blocking = true;
    while (step()) {
    }
    return m_error.isEmpty();
}

int BackupJob::release()
{
    if (m_timer)
        m_timer->stop();
    const int rc = m_backup ? sqlite3_backup_finish(m_backup) : SQLITE_OK;
    m_backup = nullptr;
    sqlite3_close(m_from);
    sqlite3_close(m_to);
    m_from = m_to = nullptr;
    return rc;
}

void BackupJob::close(bool ok)
{
    const int rc = release();
    if (ok && rc != SQLITE_OK) {
        ok = false;
        m_error = QString::fromUtf8(sqlite3_errstr(rc));
    }
    if (!ok) {
        finish(false);
        return;
    }
    if (m_blocking) {
        finish(flush_file(m_part));
        return;
    }
    // Writing a large copy out to disk takes a while: off the event loop.
    auto flushed = std::make_shared<bool>(false);
    m_flush = QThread::create([part = m_part, flushed] { *flushed = flush_file(part); });
    connect(m_flush, &QThread::finished, this, [this, flushed] {
        m_flush->deleteLater();
        m_flush = nullptr;
        finish(*flushed);
    });
    m_flush->start();
}

void BackupJob::finish(bool ok)
{
    if (ok) {
        QFile::remove(m_target);
        ok = QFile::rename(m_part, m_target);
    }
    if (!ok) {
        if (m_error.isEmpty())
            m_error = QStringLiteral("备份文件无法保存：") + m_target;
        QFile::remove(m_part);
    } else {
        emit progress(100);
    }
    emit finished(ok);
}

QString restore_backup(const QString &backup_path,
                       const QString &db_path,
                       const QDateTime &now,
                       QString *aside)
{
    if (const QString problem = check_backup_file(backup_path); !problem.isEmpty())
        return problem;

    const QString aside_path
        = db_path + QStringLiteral(".before_restore_") + now.toString(TimeFormat);
    // The copy aside is written under a name of its own and gets its real name only
    // when complete: a restore killed meanwhile leaves no file that looks like a
    // database and is not one.
    const QString aside_part = aside_path + QStringLiteral(".part");
    const QFileInfo db_file(db_path);
    remove_stale_parts(db_file.absolutePath(),
                       db_file.fileName() + QStringLiteral(".before_restore_*.part*"));
    QString error;
    sqlite3 *current = open_db(db_path, SQLITE_OPEN_READWRITE, &error);
    if (!current)
        return QStringLiteral("当前数据库无法打开：") + error;
    sqlite3 *copy = create_private(aside_part)
                        ? open_db(aside_part, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, &error)
                        : nullptr;
    if (!copy) {
        sqlite3_close(current);
        QFile::remove(aside_part);
        return QStringLiteral("当前数据库无法另存：") + error;
    }
    // Trusted only once complete and renamed: no journal beside it, one flush at the end.
    sqlite3_exec(
        copy, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    int rc = copy_all(current, copy);
    sqlite3_close(copy);
    if (rc == SQLITE_OK && !(flush_file(aside_part) && QFile::rename(aside_part, aside_path)))
        rc = SQLITE_IOERR;
    if (rc != SQLITE_OK) {
        sqlite3_close(current);
        QFile::remove(aside_part);
        return QStringLiteral("当前数据库无法另存：") + QString::fromUtf8(sqlite3_errstr(rc));
    }

    sqlite3 *from = open_db(backup_path, SQLITE_OPEN_READONLY, &error);
    if (!from) {
        sqlite3_close(current);
        return QStringLiteral("备份文件无法打开：") + error;
    }
    // Through SQLite, not a file copy: the other connections and the journal stay
    // consistent, and a failure part-way leaves the database as it was.
    rc = copy_all(from, current);
    sqlite3_close(from);
    sqlite3_close(current);
    if (rc != SQLITE_OK)
        return QStringLiteral("恢复失败：") + QString::fromUtf8(sqlite3_errstr(rc));
    if (aside)
        *aside = aside_path;
    return {};
}

QString restore_database(AppContext &ctx, const QString &backup_path, QString *aside)
{
    const QString problem = restore_backup(backup_path, ctx.db_path, wall_time(ctx.clock()), aside);
    if (problem.isEmpty()) {
        // The restored file may not hold the selected table.
        ctx.desk_id.clear();
        ctx.desk_bh.clear();
        ctx.notifier().database_replaced();
    }
    return problem;
}
