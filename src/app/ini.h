#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Makes the file readable and writable by its owner only, creating it empty when it
// is missing: a QSaveFile written over it afterwards keeps these rights.
bool make_private_file(const QString &path);

// info.ini: [section] headers and key=value lines. An IniFile reads the file at its
// first read and answers later reads from those lines (so keep one only as long as
// the file may be taken as unchanged); every write reads the file afresh, writes it
// and drops the lines read. Section and key names match case-insensitively.
// A new file is UTF-8. A file that is not valid UTF-8, or gives Chinese only when
// read as GBK, is GBK (older installations) and is written back as GBK, with the
// line ends it had.
class IniFile
{
public:
    explicit IniFile(QString path);

    bool exists() const;
    QString
    readString(const QString &section, const QString &key, const QString &def = QString()) const;
    // A value that is not a whole number reads as the default.
    int readInt(const QString &section, const QString &key, int def) const;
    // Creates the file and the section when needed; an empty value leaves "key=".
    bool writeString(const QString &section, const QString &key, const QString &value) const;
    bool writeInt(const QString &section, const QString &key, int value) const;

    const QString &path() const { return m_path; }

private:
    const QStringList &lines() const;

    QString m_path;
    mutable std::optional<QStringList> m_lines;
};
