#include "imcode.h"

#include "pinyin_table.h"

#include "app/gbk.h"

namespace {

constexpr int kWholeSyllable = 0x1;
constexpr int kMarkUnknown = 0x2;
constexpr int kKeepSymbols = 0x4;

constexpr unsigned char kNumberedRow = 0xA2;
constexpr unsigned char kFullWidthRow = 0xA3;
constexpr unsigned char kGreekRow = 0xA6;

bool is_ascii_alnum(unsigned c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

QChar ascii_upper(unsigned c)
{
    return QChar(c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c);
}

// Row 0xA2 holds numbered symbols (ⅰ, ⒈, ⑴, ①, ㈠, Ⅰ ...): the number they
// show.  Gaps in the row give nothing, and are not "no reading".
struct NumberRun
{
    unsigned char first;
    unsigned char last;
    bool numbered;
};
constexpr NumberRun kNumberRuns[] = {
    {0xA1, 0xAA, true},
    {0xAB, 0xB0, false},
    {0xB1, 0xC4, true},
    {0xC5, 0xD8, true},
    {0xD9, 0xE2, true},
    {0xE3, 0xE4, false},
    {0xE5, 0xEE, true},
    {0xEF, 0xF0, false},
    {0xF1, 0xFC, true},
    {0xFD, 0xFE, false},
};

// Greek letters in alphabet order; the capital (A1..B8) and small (C1..D8)
// halves of row 0xA6 share it.
constexpr const char *kGreek[24] = {
    "a", "b", "g", "d", "e", "z", "e", "th", "i",  "k",  "l",  "m",
    "n", "x", "o", "p", "r", "s", "t", "u",  "ph", "kh", "ps", "o",
};

void append_upper(QString &out, const char *latin)
{
    for (; *latin; ++latin)
        out += ascii_upper(static_cast<unsigned char>(*latin));
}

// Appends the code of the double-byte character (b, t).
void append_pair(QString &out, unsigned b, unsigned t, int flags)
{
    const auto no_reading = [&] {
        if (flags & kMarkUnknown)
            out += QLatin1Char('?');
    };

    if (b == kNumberedRow) {
        for (const NumberRun &run : kNumberRuns) {
            if (t >= run.first && t <= run.last) {
                if (run.numbered)
                    out += QString::number(t - run.first + 1);
                return;
            }
        }
        no_reading(); // below 0xA1 (or 0xFF)
        return;
    }
    if (b == kFullWidthRow) {
        if (t < 0x80) { // not a full-width ASCII code at all
            no_reading();
            return;
        }
        // Copied as the plain ASCII character, case kept.
        const unsigned c = t - 0x80;
        if ((flags & kKeepSymbols) || is_ascii_alnum(c))
            out += QChar(c);
        return;
    }
    if (b == kGreekRow) {
        if (t >= 0xA1 && t <= 0xB8)
            append_upper(out, kGreek[t - 0xA1]);
        else if (t >= 0xC1 && t <= 0xD8)
            append_upper(out, kGreek[t - 0xC1]);
        else
            no_reading();
        return;
    }

    const unsigned short number = pinyin_table::reading(b, t);
    const char *syllable = pinyin_table::syllable(number);
    if (*syllable == '\0') {
        no_reading();
        return;
    }
    if (flags & kWholeSyllable)
        append_upper(out, syllable);
    else
        out += ascii_upper(static_cast<unsigned char>(*syllable));
}

} // namespace

QString im_code(const QByteArray &gbk, int flags, int max_len)
{
    QString out;
    if (flags < 0 || max_len <= 0)
        return out;

    const auto *bytes = reinterpret_cast<const unsigned char *>(gbk.constData());
    const qsizetype size = gbk.size();
    // Appending never shortens the result, so stopping once max_len is
    // reached and cutting gives the same code as converting everything.
    for (qsizetype i = 0; i < size && out.size() < max_len;) {
        const unsigned b = bytes[i];
        const unsigned t = i + 1 < size ? bytes[i + 1] : 0;
        if (b < 0x81 || t < 0x40) {
            if ((flags & kKeepSymbols) || is_ascii_alnum(b))
                out += ascii_upper(b);
            ++i;
            continue;
        }
        append_pair(out, b, t, flags);
        i += 2;
    }
    out.truncate(max_len);
    return out;
}

QString search_code(const QString &title)
{
    return im_code(to_gbk(title), kMarkUnknown, 255).toLower();
}
