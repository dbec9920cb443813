#include "imcode.h"

#include "pinyin_table.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

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

// UTF-8 -> GBK through glibc iconv.  The descriptor is opened once per thread
// (iconv_open is far more expensive than a dish name) and reset per call.
class GbkEncoder
{
public:
    GbkEncoder()
        : cd_(iconv_open("GBK", "UTF-8"))
    {}
    ~GbkEncoder()
    {
        if (valid())
            iconv_close(cd_);
    }
    GbkEncoder(const GbkEncoder &) = delete;
    GbkEncoder &operator=(const GbkEncoder &) = delete;

    QByteArray encode(const QString &text)
    {
        const QByteArray utf8 = text.toUtf8();
        if (!valid())
            return ascii_only(utf8);

        // GBK never needs more bytes than UTF-8 for the same text, and an
        // unconvertible character shrinks to a single '?'.
        QByteArray out(utf8.size() + 1, '\0');
        char *in = const_cast<char *>(utf8.constData());
        size_t in_left = static_cast<size_t>(utf8.size());
        char *dst = out.data();
        size_t dst_left = static_cast<size_t>(out.size());

        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        while (in_left > 0) {
            if (iconv(cd_, &in, &in_left, &dst, &dst_left) != static_cast<size_t>(-1))
                break;
            if (errno == E2BIG) {
                const qsizetype used = dst - out.data();
                out.resize(out.size() * 2);
                dst = out.data() + used;
                dst_left = static_cast<size_t>(out.size() - used);
                continue;
            }
            if (dst_left == 0) {
                const qsizetype used = dst - out.data();
                out.resize(out.size() + 16);
                dst = out.data() + used;
                dst_left = static_cast<size_t>(out.size() - used);
            }
            *dst++ = '?';
            --dst_left;
            if (errno != EILSEQ) // truncated sequence at the end
                break;
            const size_t skip = std::min(sequence_length(static_cast<unsigned char>(*in)), in_left);
            in += skip;
            in_left -= skip;
        }
        out.truncate(dst - out.data());
        return out;
    }

private:
    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    static size_t sequence_length(unsigned char lead)
    {
        if (lead >= 0xF0)
            return 4;
        if (lead >= 0xE0)
            return 3;
        if (lead >= 0xC0)
            return 2;
        return 1;
    }

    // Without a GBK converter only ASCII survives; the rest becomes '?'.
    static QByteArray ascii_only(const QByteArray &utf8)
    {
        QByteArray out;
        out.reserve(utf8.size());
        for (qsizetype i = 0; i < utf8.size();) {
            const auto c = static_cast<unsigned char>(utf8[i]);
            if (c < 0x80) {
                out += char(c);
                ++i;
            } else {
                out += '?';
                i += static_cast<qsizetype>(sequence_length(c));
            }
        }
        return out;
    }

    iconv_t cd_;
};

QByteArray to_gbk(const QString &text)
{
    thread_local GbkEncoder encoder;
    return encoder.encode(text);
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
