#!/usr/bin/env python3
"""Generate src/masterdata/pinyin_table.cpp: the GBK -> pinyin reading table
used by im_code() to build dish search codes (宫保鸡丁 -> gbjd).

Usage:  python3 tools/gen_pinyin_table.py [output.cpp]
        (default output: src/masterdata/pinyin_table.cpp next to this tool)

Data source
-----------
pinyin_dict.go from the Debian package golang-github-mozillazg-go-pinyin-dev
(upstream https://github.com/mozillazg/go-pinyin, MIT licence,
Copyright 2016 mozillazg).  It maps Unicode code points to comma-separated
toned readings, most common reading first.  The package version is read with
dpkg-query and written into the generated file's header.

Reading table
-------------
One unsigned 16-bit syllable number per GBK code with lead byte 0x81..0xFE
and trail byte 0x40..0xFE, at index (lead - 0x81) * 191 + (trail - 0x40);
0 = no reading.  Each code is decoded with Python's 'gbk' codec; the first
reading of the character is taken, tones are stripped and ü is written v.
Rows 0xA1..0xA9 (symbols, kana, Greek, Cyrillic, box drawing) are forced to
0: im_code() handles the few of them that have a meaningful code itself.

Syllable table (numbers 1..405)
-------------------------------
  1..393  toneless syllables, alphabetical (a, ai, an, ang, ao, ba ... zun, zuo)
  394     empty (never referenced)
  395..405 ei, m, n, dia, cen, nou, jv, qv, xv, lv, nv
The tail's numbering is fixed, so those syllables are kept out of 1..393 and
characters read with them point at the tail entries.

1..393 is the Mandarin syllable inventory in STANDARD_SYLLABLES below (407
syllables) minus the six that live in the tail (ei, dia, cen, nou, lv, nv),
i.e. 401, minus the eight in OMITTED to reach 393:
  dei, shei, zhei  no GBK character has one of these as its first reading;
  den, chua, eng   used only by GBK-only characters (扥扽, 欻歘, 鞥), which
                   fall back to a later reading or to "no reading";
  lia              俩/倆 fall back to their other reading liang (same initial);
  yo               哟 loses its reading, 唷 falls back to yu - an interjection
                   that never occurs in a dish name.
The dictionary also gives a handful of first readings outside the standard
inventory (fiao, hm, lo, nun, rua - all on GBK-only characters).  Whenever a
character's first reading is not in the table, the next reading of the
character that is in the table is used; if there is none it gets 0.  The
generator asserts that every GB2312 hanzi but at most 8 keeps a reading.

Overrides
---------
See OVERRIDES below: the reading a waiter expects when typing a dish name,
where the dictionary's first reading is a different (often literary) one.
"""

import os
import re
import subprocess
import sys
import unicodedata

DICT_PATH = '/usr/share/gocode/src/github.com/mozillazg/go-pinyin/pinyin_dict.go'
PACKAGE = 'golang-github-mozillazg-go-pinyin-dev'

ROW_LEN = 191           # trail bytes 0x40..0xFE
ROWS = 126              # lead bytes 0x81..0xFE
PER_LINE = 24

STANDARD_SYLLABLES = '''
a ai an ang ao e ei en eng er o ou
ba bai ban bang bao bei ben beng bi bian biao bie bin bing bo bu
pa pai pan pang pao pei pen peng pi pian piao pie pin ping po pou pu
ma mai man mang mao me mei men meng mi mian miao mie min ming miu mo mou mu
fa fan fang fei fen feng fo fou fu
da dai dan dang dao de dei den deng di dia dian diao die ding diu dong dou du
duan dui dun duo
ta tai tan tang tao te teng ti tian tiao tie ting tong tou tu tuan tui tun tuo
na nai nan nang nao ne nei nen neng ni nian niang niao nie nin ning niu nong
nou nu nuan nuo nv nve
la lai lan lang lao le lei leng li lia lian liang liao lie lin ling liu long
lou lu luan lun luo lv lve
ga gai gan gang gao ge gei gen geng gong gou gu gua guai guan guang gui gun guo
ka kai kan kang kao ke ken keng kong kou ku kua kuai kuan kuang kui kun kuo
ha hai han hang hao he hei hen heng hong hou hu hua huai huan huang hui hun huo
ji jia jian jiang jiao jie jin jing jiong jiu ju juan jue jun
qi qia qian qiang qiao qie qin qing qiong qiu qu quan que qun
xi xia xian xiang xiao xie xin xing xiong xiu xu xuan xue xun
zha zhai zhan zhang zhao zhe zhei zhen zheng zhi zhong zhou zhu zhua zhuai
zhuan zhuang zhui zhun zhuo
cha chai chan chang chao che chen cheng chi chong chou chu chua chuai chuan
chuang chui chun chuo
sha shai shan shang shao she shei shen sheng shi shou shu shua shuai shuan
shuang shui shun shuo
ran rang rao re ren reng ri rong rou ru ruan rui run ruo
za zai zan zang zao ze zei zen zeng zi zong zou zu zuan zui zun zuo
ca cai can cang cao ce cen ceng ci cong cou cu cuan cui cun cuo
sa sai san sang sao se sen seng si song sou su suan sui sun suo
ya yan yang yao ye yi yin ying yo yong you yu yuan yue yun
wa wai wan wang wei wen weng wo wu
'''.split()

TAIL = ['ei', 'm', 'n', 'dia', 'cen', 'nou', 'jv', 'qv', 'xv', 'lv', 'nv']
OMITTED = {'dei', 'shei', 'zhei', 'den', 'chua', 'eng', 'lia', 'yo'}

OVERRIDES = {
    '行': 'hang',   # pinned: hang (行业, 银行), not the dictionary's xing
    '丂': 'yu',     # pinned: yu, not the dictionary's kao
    '长': 'zhang',  # pinned (same as the dictionary today)
    '重': 'zhong',  # pinned (same as the dictionary today)
    '茄': 'qie',    # 茄子 (dictionary: jia, as in 雪茄)
    '豉': 'chi',    # 豆豉 (dictionary: shi)
    '蛤': 'ge',     # 蛤蜊, 花蛤 (dictionary: ha, as in 蛤蟆)
    '参': 'shen',   # 海参 (dictionary: can)
    '扒': 'pa',     # 扒鸡, 扒白菜 (dictionary: ba)
    '佛': 'fo',     # 佛跳墙 (dictionary: fu)
}

# Readings the result must have; the generator refuses to write otherwise.
EXPECTED = {0xB0A1: 'a', 0xB2CB: 'cai', 0xB9FA: 'guo', 0xBCA6: 'ji',
            0xD0D0: 'hang', 0xB3A4: 'zhang', 0xD6D8: 'zhong', 0xD6D0: 'zhong',
            0x8140: 'yu'}
MIN_GB2312_COVERAGE = 6760


def toneless(reading):
    s = unicodedata.normalize('NFD', reading).replace('u\u0308', 'v')
    return ''.join(c for c in s if not unicodedata.combining(c))


def load_dict():
    text = open(DICT_PATH, encoding='utf-8').read()
    entries = {}
    for m in re.finditer(r'0x([0-9A-Fa-f]+): "([^"]*)"', text):
        entries[int(m.group(1), 16)] = [toneless(r) for r in m.group(2).split(',')]
    if not entries:
        sys.exit('no entries parsed from ' + DICT_PATH)
    return entries


def package_version():
    try:
        return subprocess.run(['dpkg-query', '-W', '-f=${Version}', PACKAGE],
                              check=True, capture_output=True,
                              text=True).stdout.strip()
    except (OSError, subprocess.CalledProcessError):
        sys.exit('cannot determine the version of ' + PACKAGE)


def build_syllables():
    tail = set(TAIL)
    assert len(set(STANDARD_SYLLABLES)) == len(STANDARD_SYLLABLES)
    assert OMITTED <= set(STANDARD_SYLLABLES)
    core = sorted(s for s in STANDARD_SYLLABLES
                  if s not in tail and s not in OMITTED)
    if len(core) != 393:
        sys.exit('expected 393 syllables, got %d' % len(core))
    table = core + [''] + TAIL
    assert len(table) == 405 and all(len(s) <= 6 for s in table)
    return table


def build_readings(entries, number_of):
    readings = [0] * (ROWS * ROW_LEN)
    for lead in range(0x81, 0xFF):
        if 0xA1 <= lead <= 0xA9:
            continue
        for trail in range(0x40, 0xFF):
            try:
                ch = bytes([lead, trail]).decode('gbk')
            except UnicodeDecodeError:
                continue
            if len(ch) != 1:
                continue
            if ch in OVERRIDES:
                candidates = [OVERRIDES[ch]]
            else:
                candidates = entries.get(ord(ch), [])
            number = next((number_of[s] for s in candidates if s in number_of), 0)
            readings[(lead - 0x81) * ROW_LEN + (trail - 0x40)] = number
    return readings


def check(readings, syllables):
    def reading(code):
        n = readings[((code >> 8) - 0x81) * ROW_LEN + ((code & 0xFF) - 0x40)]
        return syllables[n - 1] if n else ''

    for code, want in EXPECTED.items():
        if reading(code) != want:
            sys.exit('%04X reads %r, expected %r' % (code, reading(code), want))
    for ch, want in OVERRIDES.items():
        if reading(int.from_bytes(ch.encode('gbk'), 'big')) != want:
            sys.exit('override for %s not applied' % ch)
    covered = sum(1 for lead in range(0xB0, 0xF8) for trail in range(0xA1, 0xFF)
                  if reading((lead << 8) | trail))
    if covered < MIN_GB2312_COVERAGE:
        sys.exit('only %d GB2312 hanzi have a reading' % covered)
    return covered


def write(path, readings, syllables, version, covered):
    out = []
    out.append('// clang-format off\n')
    out.append('// Generated by tools/gen_pinyin_table.py - do not edit by hand.\n')
    out.append('//\n')
    out.append('// Readings from %s\n' % DICT_PATH)
    out.append('// (Debian package %s %s; upstream go-pinyin by mozillazg,\n'
               % (PACKAGE, version))
    out.append('// MIT licence, Copyright 2016 mozillazg), first reading per character,\n')
    out.append('// tones stripped, u-umlaut written v, with the overrides listed in the\n')
    out.append('// generator.  %d of the 6768 GB2312 hanzi have a reading.\n' % covered)
    out.append('\n#include "pinyin_table.h"\n\n')
    out.append('namespace {\n\n')
    out.append('const char *const kSyllables[%d] = {\n' % len(syllables))
    for i in range(0, len(syllables), 10):
        out.append('    ' + ' '.join('"%s",' % s for s in syllables[i:i + 10]) + '\n')
    out.append('};\n\n')
    out.append('// Index (lead - 0x81) * %d + (trail - 0x40); 0 = no reading.\n' % ROW_LEN)
    out.append('const unsigned short kReadings[%d] = {\n' % len(readings))
    for i in range(0, len(readings), PER_LINE):
        out.append(','.join(str(n) for n in readings[i:i + PER_LINE]) + ',\n')
    out.append('};\n\n')
    out.append('} // namespace\n\n')
    out.append('namespace pinyin_table {\n\n')
    out.append('unsigned short reading(unsigned char lead, unsigned char trail)\n{\n')
    out.append('    if (lead < 0x81 || lead > 0xFE || trail < 0x40 || trail > 0xFE)\n')
    out.append('        return 0;\n')
    out.append('    return kReadings[(lead - 0x81) * %d + (trail - 0x40)];\n}\n\n' % ROW_LEN)
    out.append('const char *syllable(int number)\n{\n')
    out.append('    if (number < 1 || number > kSyllableCount)\n')
    out.append('        return "";\n')
    out.append('    return kSyllables[number - 1];\n}\n\n')
    out.append('} // namespace pinyin_table\n')
    with open(path, 'w', encoding='utf-8', newline='\n') as f:
        f.write(''.join(out))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        here, '..', 'src', 'masterdata', 'pinyin_table.cpp')
    syllables = build_syllables()
    number_of = {s: i + 1 for i, s in enumerate(syllables) if s}
    unknown = set(OVERRIDES.values()) - set(number_of)
    if unknown:
        sys.exit('override readings not in the syllable table: %s' % unknown)
    readings = build_readings(load_dict(), number_of)
    covered = check(readings, syllables)
    write(path, readings, syllables, package_version(), covered)
    print('wrote %s (%d GB2312 hanzi covered)' % (os.path.normpath(path), covered))


if __name__ == '__main__':
    main()
