#include "app/gbk.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>

namespace {

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

bool is_gbk_lead(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

bool is_gbk_trail(unsigned char c)
{
    return c >= 0x40 && c <= 0xFE && c != 0x7F;
}

} // namespace

QByteArray to_gbk(const QString &text)
{
    thread_local GbkEncoder encoder;
    return encoder.encode(text);
}

QString from_gbk(const QByteArray &bytes, bool *ok)
{
    if (ok)
        *ok = true;
    iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == iconv_t(-1)) {
        if (ok)
            *ok = false;
        return QString::fromLatin1(bytes);
    }
    QByteArray out;
    out.reserve(bytes.size() * 2 + 8);
    char buffer[4096];
    char *inp = const_cast<char *>(bytes.constData());
    size_t inleft = size_t(bytes.size());
    while (inleft > 0) {
        char *outp = buffer;
        size_t outleft = sizeof buffer;
        const size_t rc = iconv(cd, &inp, &inleft, &outp, &outleft);
        out.append(buffer, qsizetype(outp - buffer));
        if (rc != size_t(-1) || errno == E2BIG)
            continue;
        // EILSEQ or EINVAL: one replacement character for the bad sequence, which
        // is two bytes only when the second could be the trail of a pair.
        if (ok)
            *ok = false;
        out.append("\xEF\xBF\xBD");
        const auto lead = static_cast<unsigned char>(inp[0]);
        const size_t skip
            = inleft >= 2 && is_gbk_lead(lead) && is_gbk_trail(static_cast<unsigned char>(inp[1]))
                  ? 2
                  : 1;
        inp += skip;
        inleft -= skip;
    }
    iconv_close(cd);
    return QString::fromUtf8(out);
}
