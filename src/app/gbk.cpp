#include "app/gbk.h"

#include <iconv.h>

#include <cerrno>

namespace {

// Converts with iconv; on an unconvertible input sequence writes `bad` and skips
// one input character (of `step` bytes as told by the caller).
QByteArray convert(
    const char *to, const char *from, const QByteArray &in, const QByteArray &bad, bool utf8_input)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == iconv_t(-1))
        return {};
    QByteArray out;
    out.reserve(in.size() * 2 + 8);
    char buffer[4096];
    char *inp = const_cast<char *>(in.constData());
    size_t inleft = size_t(in.size());
    while (inleft > 0) {
        char *outp = buffer;
        size_t outleft = sizeof buffer;
        const size_t rc = iconv(cd, &inp, &inleft, &outp, &outleft);
        out.append(buffer, qsizetype(outp - buffer));
        if (rc != size_t(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL: replace one character and go on.
        out.append(bad);
        size_t skip = 1;
        if (utf8_input) {
            const auto lead = static_cast<unsigned char>(*inp);
            skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        } else if (static_cast<unsigned char>(*inp) >= 0x81 && inleft >= 2) {
            skip = 2;
        }
        if (skip > inleft)
            skip = inleft;
        inp += skip;
        inleft -= skip;
    }
    iconv_close(cd);
    return out;
}

} // namespace

QByteArray to_gbk(const QString &text)
{
    return convert("GBK", "UTF-8", text.toUtf8(), QByteArrayLiteral("?"), true);
}

QString from_gbk(const QByteArray &bytes)
{
    return QString::fromUtf8(
        convert("UTF-8", "GBK", bytes, QByteArrayLiteral("\xEF\xBF\xBD"), false));
}
