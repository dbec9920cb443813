#pragma once

#include <QByteArray>
#include <QString>

// Search codes for dish names: waiters type pinyin initials (宫保鸡丁 -> gbjd).
//
// im_code() walks GBK-encoded text and produces an upper-case code.
// flags:
//   bit 0  whole syllables instead of initials (宫保鸡丁 -> GONGBAOJIDING)
//   bit 1  a double-byte character without a reading gives "?"
//   bit 2  keep every single-byte character and full-width symbol, not only
//          letters and digits
// Negative flags give an empty result; the result is cut to max_len characters.
QString im_code(const QByteArray &gbk, int flags, int max_len);

// The code stored with a dish: lower-cased im_code(GBK(title), 2, 255).
// Characters GBK cannot represent are dropped.
QString search_code(const QString &title);
