#include "app/ini.h"

#include "app/gbk.h"

#include <QFile>
#include <QSaveFile>
#include <QStringConverter>
#include <QStringList>

#include <algorithm>

namespace {

// The file's lines and how it was written, so a write keeps the encoding and line
// ends an older counter sharing the folder expects.
struct IniText
{
    QStringList lines;
    bool gbk = false;
    bool crlf = false;
    bool bom = false;
};

bool is_han(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0x3400 && u <= 0x4DBF)
           || (u >= 0xF900 && u <= 0xFAFF);
}

bool has_han(const QString &text)
{
    return std::any_of(text.cbegin(), text.cend(), is_han);
}

IniText read_text(const QString &path)
{
    IniText out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    const QByteArray bytes = f.readAll();
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8(bytes);
    out.bom = bytes.startsWith("\xEF\xBB\xBF");
    if (utf8.hasError()) {
        text = from_gbk(bytes);
        out.gbk = true;
    } else if (!out.bom) {
        // GBK bytes are often valid UTF-8 too ("小楼" reads as "С¥"): a file that
        // gives Chinese only as GBK is GBK.
        bool gbk_ok = true;
        const QString gbk = from_gbk(bytes, &gbk_ok);
        if (gbk_ok && !has_han(text) && has_han(gbk)) {
            text = gbk;
            out.gbk = true;
        }
    }
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    out.crlf = text.contains(QStringLiteral("\r\n"));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar('\r'), QChar('\n'));
    out.lines = text.split(QChar('\n'));
    if (!out.lines.isEmpty() && out.lines.last().isEmpty())
        out.lines.removeLast();
    return out;
}

QByteArray encode(const IniText &ini)
{
    const QString eol = ini.crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    const QString text = ini.lines.join(eol) + eol;
    if (ini.gbk) {
        // A value GBK cannot hold would turn into '?': rather write UTF-8 and keep it.
        // A byte that was already unreadable stays a '?' in GBK.
        const QByteArray gbk = to_gbk(text);
        if (from_gbk(gbk) == QString(text).replace(QChar(0xFFFD), QChar('?')))
            return gbk;
    }
    return (ini.bom ? QByteArrayLiteral("\xEF\xBB\xBF") : QByteArray()) + text.toUtf8();
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

const QStringList &IniFile::lines() const
{
    if (!m_lines)
        m_lines = read_text(m_path).lines;
    return *m_lines;
}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    bool inSection = false;
    for (const QString &line : lines()) {
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
    IniText ini = read_text(m_path);
    QStringList &lines = ini.lines;
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
    m_lines.reset();
    // It holds the remembered login: for the owner's eyes only.
    make_private_file(m_path);
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    f.write(encode(ini));
    return f.commit();
}

bool IniFile::writeInt(const QString &section, const QString &key, int value) const
{
    return writeString(section, key, QString::number(value));
}

bool make_private_file(const QString &path)
{
    const QFileDevice::Permissions owner = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (!QFile::exists(path)) {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return false;
    }
    return QFile::setPermissions(path, owner);
}
