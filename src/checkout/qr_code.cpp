#include "checkout/qr_code.h"

#include <qrencode.h>

namespace {
constexpr int Version = 10;
constexpr int QuietZone = 4;
} // namespace

QrModules qr_modules(const QString &link)
{
    QrModules out;
    const QByteArray bytes = link.toUtf8();
    // Version 10 is the smallest the encoder may choose; it grows the symbol when the
    // link does not fit, and such a symbol is refused below.
    QRcode *code = QRcode_encodeString8bit(bytes.constData(), Version, QR_ECLEVEL_L);
    if (!code)
        return out;
    if (code->version == Version) {
        const int w = code->width;
        out.size = w + 2 * QuietZone;
        out.dark.fill(false, out.size * out.size);
        for (int y = 0; y < w; ++y) {
            for (int x = 0; x < w; ++x) {
                if (code->data[y * w + x] & 1)
                    out.dark[(y + QuietZone) * out.size + x + QuietZone] = true;
            }
        }
    }
    QRcode_free(code);
    return out;
}
