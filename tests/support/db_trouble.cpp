#include "support/db_trouble.h"

#include <sqlite3.h>

#include <QFile>
#include <QFileInfo>
#include <QProcess>

#include <unistd.h>

LockHolder::LockHolder(const QString &db_path, const char *mode)
{
    if (sqlite3_open_v2(
            QFile::encodeName(db_path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr)
        != SQLITE_OK)
        return;
    const QByteArray begin = QByteArray("BEGIN ") + mode;
    m_held = sqlite3_exec(m_db, begin.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

LockHolder::~LockHolder()
{
    release();
    sqlite3_close(m_db);
}

void LockHolder::release()
{
    if (m_held)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    m_held = false;
}

namespace {

bool chattr(const QString &flag, const QString &path)
{
    QProcess p;
    p.start(QStringLiteral("chattr"), {flag, path});
    return p.waitForFinished() && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace

ReadOnlyPath::ReadOnlyPath(QString path)
    : m_path(std::move(path))
    , m_root(geteuid() == 0)
{
    if (m_root) {
        m_ok = chattr(QStringLiteral("+i"), m_path);
        return;
    }
    const QFileDevice::Permissions write = QFileDevice::WriteOwner | QFileDevice::WriteUser
                                           | QFileDevice::WriteGroup | QFileDevice::WriteOther;
    m_ok = QFile::setPermissions(m_path, QFile::permissions(m_path) & ~write);
}

ReadOnlyPath::~ReadOnlyPath()
{
    if (!m_ok)
        return;
    if (m_root)
        chattr(QStringLiteral("-i"), m_path);
    else
        QFile::setPermissions(
            m_path, QFile::permissions(m_path) | QFileDevice::WriteOwner | QFileDevice::WriteUser);
}

void spoil_file(const QString &path, qint64 offset, const QByteArray &bytes)
{
    QFile f(path);
    if (offset < 0) {
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
        return;
    }
    f.open(QIODevice::ReadWrite);
    f.seek(offset);
    f.write(bytes);
}
