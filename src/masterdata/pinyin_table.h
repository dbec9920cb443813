#pragma once

// GBK -> pinyin reading table, generated into pinyin_table.cpp by
// tools/gen_pinyin_table.py.  Used by im_code() for dish search codes.
namespace pinyin_table {

// Syllable numbers run from 1 to kSyllableCount; 0 means "no reading".
inline constexpr int kSyllableCount = 405;

// Syllable number of the GBK double-byte code (lead, trail); 0 when the
// character has no reading or the code is outside 0x81..0xFE / 0x40..0xFE.
unsigned short reading(unsigned char lead, unsigned char trail);

// Toneless lower-case syllable (at most 6 letters, u-umlaut written v) for a
// syllable number; "" for 0, out-of-range numbers and the unused entry 394.
const char *syllable(int number);

} // namespace pinyin_table
