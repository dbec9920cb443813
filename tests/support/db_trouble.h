#pragma once

#include <QString>

struct sqlite3;

// Another counter holding the database: a connection of its own with a transaction
// begun "IMMEDIATE" (others still read, nobody else writes) or "EXCLUSIVE" (nobody
// else reads either), until release() or the end of the holder.
class LockHolder
{
public:
    LockHolder(const QString &db_path, const char *mode);
    ~LockHolder();
    LockHolder(const LockHolder &) = delete;
    LockHolder &operator=(const LockHolder &) = delete;

    bool held() const { return m_held; }
    void release();

private:
    sqlite3 *m_db = nullptr;
    bool m_held = false;
};

// Makes a file or a folder refuse writes for this process, root included (the
// immutable attribute where the process is root, permissions otherwise), until the
// end of the object. ok() is false where the system allows neither.
class ReadOnlyPath
{
public:
    explicit ReadOnlyPath(QString path);
    ~ReadOnlyPath();
    ReadOnlyPath(const ReadOnlyPath &) = delete;
    ReadOnlyPath &operator=(const ReadOnlyPath &) = delete;

    bool ok() const { return m_ok; }

private:
    QString m_path;
    bool m_ok = false;
    bool m_root = false;
};

// Writes text over a file's bytes from offset on (a damaged page), or makes a file
// of that text alone (offset < 0).
void spoil_file(const QString &path, qint64 offset, const QByteArray &bytes);
