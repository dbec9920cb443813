#include "printing/escpos.h"

#include "app/gbk.h"

#include <algorithm>
#include <cmath>

namespace escpos {

namespace {

constexpr char ESC = 0x1B;
constexpr char GS = 0x1D;
constexpr char FS = 0x1C;
constexpr char DLE = 0x10;
constexpr char EOT = 0x04;

QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray out;
    for (int b : list)
        out.append(char(b));
    return out;
}

// A character cell of a QString position: a surrogate pair is one character.
int char_cells(QChar c)
{
    if (c.isLowSurrogate())
        return 0;
    return c.unicode() < 0x80 ? 1 : 2;
}

} // namespace

QByteArray init()
{
    return bytes({ESC, '@', FS, '&'});
}

QByteArray cut()
{
    return bytes({ESC, 'd', 4, GS, 'V', 66, 0});
}

QByteArray drawer_pulse()
{
    return bytes({ESC, 'p', 0, 25, 250});
}

QByteArray status_query()
{
    return bytes({DLE, EOT, 1});
}

bool is_status_byte(char b)
{
    // Bits 1 and 4 are always set, bits 0 and 7 always clear.
    return (b & 0x93) == 0x12;
}

bool status_online(char b)
{
    return is_status_byte(b) && (b & 0x08) == 0;
}

int cell_width(const QString &text)
{
    int w = 0;
    for (const QChar c : text)
        w += char_cells(c);
    return w;
}

QString clip_cells(const QString &text, int width)
{
    int w = 0;
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const int c = char_cells(text[i]);
        if (w + c > width)
            break;
        w += c;
    }
    // Never end on half a surrogate pair.
    if (i > 0 && i < text.size() && text[i - 1].isHighSurrogate())
        --i;
    return text.left(i);
}

QByteArray gbk_text(const QString &text)
{
    QString t = text;
    t.replace(QChar(0x00A5), QChar(0xFFE5));
    // Control characters in a stored name would be read as commands.
    for (QChar &c : t) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QLatin1Char(' ');
    }
    return to_gbk(t);
}

Writer::Writer(int columns)
    : m_columns(std::max(columns, 8))
    , m_out(init())
{}

void Writer::set_style(int style)
{
    m_out += bytes({ESC, 'E', (style & Bold) ? 1 : 0});
    // GS ! for the ASCII font, FS ! for Chinese characters.
    m_out += bytes({GS, '!', (style & Tall) ? 0x01 : 0x00});
    m_out += bytes({FS, '!', (style & Tall) ? 0x08 : 0x00});
}

void Writer::line(const QString &text, int style)
{
    if (style != Plain)
        set_style(style);
    QString rest = text;
    do {
        const QString part = clip_cells(rest, m_columns);
        // A first character wider than the paper still has to move on.
        const QString piece = part.isEmpty() ? rest.left(1) : part;
        m_out += gbk_text(piece);
        m_out += '\n';
        rest = rest.mid(piece.size());
    } while (!rest.isEmpty());
    if (style != Plain)
        set_style(Plain);
}

void Writer::split_line(const QString &left, const QString &right, int style)
{
    const int lw = cell_width(left);
    const int rw = cell_width(right);
    if (lw + 1 + rw > m_columns) {
        line(left, style);
        line(QString(std::max(0, m_columns - rw), QLatin1Char(' ')) + right, style);
        return;
    }
    line(left + QString(m_columns - lw - rw, QLatin1Char(' ')) + right, style);
}

void Writer::rule()
{
    line(QString(m_columns, QLatin1Char('-')));
}

void Writer::blank()
{
    m_out += '\n';
}

QByteArray Writer::finish() const
{
    return m_out + cut();
}

QByteArray render_document(const QVector<PrintRow> &rows, int columns, int big_rows)
{
    const int width = std::max(columns, 8);
    QByteArray out = init();
    bool bold_on = false;
    const auto bold = [&](bool on) {
        if (on != bold_on)
            out += bytes({ESC, 'E', on ? 1 : 0});
        bold_on = on;
    };
    for (qsizetype r = 0; r < rows.size(); ++r) {
        const bool big = r < big_rows;
        if (big) {
            out += bytes({GS, '!', 0x01});
            out += bytes({FS, '!', 0x08});
        }
        int cursor = 0; // cells used on the current line
        const bool struck
            = std::any_of(rows[r].begin(), rows[r].end(), [](const PrintCell &c) { return c.del; });
        for (qsizetype i = 0; i < rows[r].size(); ++i) {
            const PrintCell &cell = rows[r][i];
            QString text = cell.title;
            if (i == 0 && struck)
                text.prepend(QStringLiteral("[退]"));
            bool ok = false;
            const double x = cell.x.trimmed().toDouble(&ok);
            int col = ok && std::isfinite(x) && x > 0
                          ? int(std::min(std::floor(x / CellCm + 1e-9), double(width)))
                          : 0;
            if (col >= width)
                col = 0;
            if (cursor > 0 && col < cursor + 1)
                col = cursor + 1;
            if (cursor > 0 && col + cell_width(text) > width) {
                out += '\n';
                cursor = 0;
                col = std::min(col, width - 1);
                if (col + cell_width(text) > width)
                    col = 0;
            }
            out += QByteArray(col - cursor, ' ');
            cursor = col;
            bold(cell.bold || big);
            // A text longer than the line goes on over the next lines from their start.
            QString rest = text;
            while (!rest.isEmpty()) {
                QString part = clip_cells(rest, width - cursor);
                if (part.isEmpty()) {
                    out += '\n';
                    cursor = 0;
                    part = clip_cells(rest, width);
                    if (part.isEmpty())
                        part = rest.left(1);
                }
                out += gbk_text(part);
                cursor += cell_width(part);
                rest = rest.mid(part.size());
            }
            bold(false);
        }
        out += '\n';
        if (big) {
            out += bytes({GS, '!', 0x00});
            out += bytes({FS, '!', 0x00});
        }
    }
    return out + cut();
}

} // namespace escpos
