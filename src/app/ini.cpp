#include "app/ini.h"

#include "app/gbk.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringList>

namespace {

QStringList read_lines(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    if (utf8.hasError())
        text = from_gbk(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    QStringList lines = text.split(QChar('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool is_section(const QString &line, QString *name)
{
    const QString t = line.trimmed();
    if (t.size() < 2 || !t.startsWith(QChar('[')) || !t.endsWith(QChar(']')))
        return false;
    *name = t.mid(1, t.size() - 2).trimmed();
    return true;
}

bool key_of(const QString &line, QString *key, QString *value)
{
    const qsizetype eq = line.indexOf(QChar('='));
    if (eq <= 0)
        return false;
    *key = line.left(eq).trimmed();
    if (value)
        *value = line.mid(eq + 1).trimmed();
    return true;
}

} // namespace

IniFile::IniFile(QString path)
    : m_path(std::move(path))
{}

bool IniFile::exists() const
{
    return QFile::exists(m_path);
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    bool inSection = false;
    for (const QString &line : read_lines(m_path)) {
        QString name;
        if (is_section(line, &name)) {
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        QString k, v;
        if (inSection && key_of(line, &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0)
            return v;
    }
    return def;
}

int IniFile::readInt(const QString &section, const QString &key, int def) const
{
    bool ok = false;
    const int v = readString(section, key).toInt(&ok);
    return ok ? v : def;
}

bool IniFile::writeString(const QString &section, const QString &key, const QString &value) const
{
    QStringList lines = read_lines(m_path);
    const QString entry = key + QChar('=') + value;
    qsizetype sectionLine = -1;
    qsizetype lastInSection = -1;
    bool inSection = false;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString name;
        if (is_section(lines.at(i), &name)) {
            if (inSection)
                break;
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            if (inSection)
                sectionLine = lastInSection = i;
            continue;
        }
        if (!inSection)
            continue;
        QString k;
        if (key_of(lines.at(i), &k, nullptr) && k.compare(key, Qt::CaseInsensitive) == 0) {
            lines[i] = entry;
            goto write;
        }
        if (!lines.at(i).trimmed().isEmpty())
            lastInSection = i;
    }
    if (sectionLine < 0) {
        if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
            lines << QString();
        lines << QStringLiteral("[%1]").arg(section) << entry;
    } else {
        lines.insert(lastInSection + 1, entry);
    }
write:
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write((lines.join(QChar('\n')) + QChar('\n')).toUtf8());
    return f.commit();
}

bool IniFile::writeInt(const QString &section, const QString &key, int value) const
{
    return writeString(section, key, QString::number(value));
}
