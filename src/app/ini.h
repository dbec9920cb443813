#pragma once

#include <QString>

// info.ini: [section] headers and key=value lines. Every read or write opens and
// closes the file; nothing is cached. Section and key names match case-insensitively.
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
    QString m_path;
};
