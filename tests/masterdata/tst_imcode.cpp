#include "masterdata/imcode.h"
#include "masterdata/pinyin_table.h"

#include <QStringList>
#include <QTest>

#include <cerrno>
#include <iconv.h>

using namespace Qt::StringLiterals;

namespace {

// Independent UTF-8 -> GBK conversion for building inputs; the texts used
// here are all representable, so any failure is a broken test environment.
QByteArray gbk(const char *text)
{
    const QByteArray utf8(text);
    iconv_t cd = iconv_open("GBK", "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        qFatal("no GBK converter");
    QByteArray out(utf8.size() + 1, '\0');
    char *in = const_cast<char *>(utf8.constData());
    size_t in_left = static_cast<size_t>(utf8.size());
    char *dst = out.data();
    size_t dst_left = static_cast<size_t>(out.size());
    const size_t rc = iconv(cd, &in, &in_left, &dst, &dst_left);
    iconv_close(cd);
    if (rc == static_cast<size_t>(-1))
        qFatal("cannot convert %s to GBK", text);
    out.truncate(dst - out.data());
    return out;
}

constexpr int kInitials = 0;
constexpr int kWhole = 1;
constexpr int kMark = 2;
constexpr int kKeep = 4;

} // namespace

class TestImCode : public QObject
{
    Q_OBJECT

private slots:
    void imCode_data();
    void imCode();
    void dishNames_data();
    void dishNames();
    void searchCode_data();
    void searchCode();
    void syllableTable();
    void readingTable();
};

void TestImCode::imCode_data()
{
    QTest::addColumn<QByteArray>("input");
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("maxLen");
    QTest::addColumn<QString>("expected");

    // Fixed readings: initial without bit 0, whole syllable with it.
    const struct
    {
        const char *utf8;
        const char *code;
        const char *syllable;
    } readings[] = {
        {"啊", "B0A1", "a"},
        {"菜", "B2CB", "cai"},
        {"国", "B9FA", "guo"},
        {"鸡", "BCA6", "ji"},
        {"行", "D0D0", "hang"},
        {"长", "B3A4", "zhang"},
        {"重", "D6D8", "zhong"},
        {"中", "D6D0", "zhong"},
        {"丂", "8140", "yu"},
    };
    for (const auto &r : readings) {
        const QByteArray bytes = QByteArray::fromHex(r.code);
        QCOMPARE(gbk(r.utf8), bytes); // the row tests what it says
        const QString whole = QString::fromLatin1(r.syllable).toUpper();
        QTest::addRow("%s initial", r.code) << bytes << kInitials << 255 << whole.left(1);
        QTest::addRow("%s whole", r.code) << bytes << kWhole << 255 << whole;
    }

    QTest::newRow("dish initials") << gbk("宫保鸡丁") << kMark << 255 << u"GBJD"_s;
    QTest::newRow("dish whole") << gbk("宫保鸡丁") << kWhole << 255 << u"GONGBAOJIDING"_s;
    QTest::newRow("dish whole marked")
        << gbk("乐山钵钵鸡") << (kWhole | kMark) << 255 << u"LESHANBOBOJI"_s;
    QTest::newRow("brackets in name") << gbk("水煮肉片(中份)") << kMark << 255 << u"SZRPZF"_s;

    // Half-width and full-width punctuation is dropped; 【】 and 。 live in
    // the symbol row A1, so they are characters without a reading.
    const QByteArray punct = gbk("（）【】，。()[]!?");
    QTest::newRow("punctuation") << punct << kInitials << 255 << u""_s;
    QTest::newRow("punctuation marked") << punct << kMark << 255 << u"???"_s;
    QTest::newRow("punctuation kept") << punct << kKeep << 255 << u"(),()[]!?"_s;

    QTest::newRow("star A1EF") << QByteArray("\xA1\xEF") << kInitials << 255 << u""_s;
    QTest::newRow("star A1EF marked") << QByteArray("\xA1\xEF") << kMark << 255 << u"?"_s;
    QTest::newRow("arrow A1FB marked") << QByteArray("\xA1\xFB") << kMark << 255 << u"?"_s;
    QTest::newRow("hiragana marked") << gbk("あ") << kMark << 255 << u"?"_s;
    QTest::newRow("cyrillic marked") << gbk("Ж") << kMark << 255 << u"?"_s;
    QTest::newRow("symbol among hanzi") << gbk("鸡★丁") << kMark << 255 << u"J?D"_s;

    QTest::newRow("ascii kept in place") << gbk("青岛啤酒500ml") << kMark << 255 << u"QDPJ500ML"_s;
    QTest::newRow("ascii between hanzi") << gbk("可乐2L装") << kInitials << 255 << u"KL2LZ"_s;
    QTest::newRow("ascii symbols dropped") << QByteArray("a-b c!") << kInitials << 255 << u"ABC"_s;
    QTest::newRow("ascii symbols kept") << QByteArray("a-b c!") << kKeep << 255 << u"A-B C!"_s;

    // Numbered-symbol row A2.
    QTest::newRow("circled ten") << gbk("⑩") << kInitials << 255 << u"10"_s;
    QTest::newRow("full stop one") << gbk("⒈") << kInitials << 255 << u"1"_s;
    QTest::newRow("full stop twenty") << gbk("⒛") << kInitials << 255 << u"20"_s;
    QTest::newRow("small roman one") << gbk("ⅰ") << kInitials << 255 << u"1"_s;
    QTest::newRow("roman twelve") << gbk("Ⅻ") << kInitials << 255 << u"12"_s;
    QTest::newRow("parenthesised 1..20")
        << QByteArray::fromHex("A2C5A2D8") << kInitials << 255 << u"120"_s;
    QTest::newRow("ideographic 1..10")
        << QByteArray::fromHex("A2E5A2EE") << kInitials << 255 << u"110"_s;
    QTest::newRow("numbered gaps")
        << QByteArray::fromHex("A2ABA2B0A2E3A2EFA2FE") << (kMark | kKeep) << 255 << u""_s;
    QTest::newRow("numbered row below A1") << QByteArray::fromHex("A2A0") << kMark << 255 << u"?"_s;
    QTest::newRow("numbered row below A1 unmarked")
        << QByteArray::fromHex("A2A0") << kInitials << 255 << u""_s;
    QTest::newRow("numbered with hanzi") << gbk("鸡⑵") << kInitials << 255 << u"J2"_s;

    // Full-width ASCII row A3: copied as plain ASCII.
    QTest::newRow("full-width alnum") << gbk("ＡＢ１") << kInitials << 255 << u"AB1"_s;
    QTest::newRow("full-width lower case") << gbk("ａｂ") << kInitials << 255 << u"ab"_s;
    QTest::newRow("full-width symbol") << gbk("＋") << kMark << 255 << u""_s;
    QTest::newRow("full-width symbol kept") << gbk("＋") << kKeep << 255 << u"+"_s;
    QTest::newRow("full-width row low trail")
        << QByteArray::fromHex("A341") << kMark << 255 << u"?"_s;

    // Greek row A6: always the table entry, capitals and small letters alike.
    QTest::newRow("alpha") << gbk("α") << kInitials << 255 << u"A"_s;
    QTest::newRow("theta") << gbk("θ") << kInitials << 255 << u"TH"_s;
    QTest::newRow("theta whole") << gbk("θ") << kWhole << 255 << u"TH"_s;
    QTest::newRow("capital theta") << gbk("Θ") << kInitials << 255 << u"TH"_s;
    QTest::newRow("omega") << gbk("Ω") << kInitials << 255 << u"O"_s;
    QTest::newRow("small omega") << gbk("ω") << kInitials << 255 << u"O"_s;
    QTest::newRow("psi") << gbk("ψ") << kInitials << 255 << u"PS"_s;
    QTest::newRow("greek gap") << QByteArray::fromHex("A6B9") << kMark << 255 << u"?"_s;
    QTest::newRow("greek gap unmarked") << QByteArray::fromHex("A6B9") << kInitials << 255 << u""_s;

    // Byte-level edges: a lead byte without a valid trail is a single byte.
    QTest::newRow("lone lead at end") << QByteArray("\xB9\xAC\xB9") << kMark << 255 << u"G"_s;
    QTest::newRow("lead before digit") << QByteArray("\xB9"
                                                     "1")
                                       << kMark << 255 << u"1"_s;
    QTest::newRow("lead FF pair") << QByteArray("\xFF\x41") << kMark << 255 << u"?"_s;
    QTest::newRow("unassigned hanzi code") << QByteArray::fromHex("D7FA") << kMark << 255 << u"?"_s;

    QTest::newRow("cut initials") << gbk("宫保鸡丁") << kInitials << 2 << u"GB"_s;
    QTest::newRow("cut inside syllable") << gbk("宫保鸡丁") << kWhole << 5 << u"GONGB"_s;
    QTest::newRow("cut inside number") << gbk("鸡⑩") << kInitials << 2 << u"J1"_s;
    QTest::newRow("cut zero") << gbk("宫保鸡丁") << kInitials << 0 << u""_s;
    QTest::newRow("cut longer than result") << gbk("宫保") << kInitials << 3 << u"GB"_s;

    QTest::newRow("negative flags") << gbk("宫保鸡丁") << -1 << 255 << u""_s;
    QTest::newRow("negative flags with bits") << gbk("宫保鸡丁") << -6 << 255 << u""_s;
    QTest::newRow("empty input") << QByteArray() << kMark << 255 << u""_s;
}

void TestImCode::imCode()
{
    QFETCH(QByteArray, input);
    QFETCH(int, flags);
    QFETCH(int, maxLen);
    QFETCH(QString, expected);

    QCOMPARE(im_code(input, flags, maxLen), expected);
}

void TestImCode::dishNames_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expected");

    const struct
    {
        const char *title;
        const char *code;
    } dishes[] = {
        {"乐山钵钵鸡", "lsbbj"},    {"盐菜回锅肉", "ychgr"},       {"水煮肉片(中份)", "szrpzf"},
        {"酸辣土豆丝", "sltds"},    {"鱼香肉丝", "yxrs"},          {"印象毛血旺(大份)", "yxmxwdf"},
        {"肉沫茄子", "rmqz"},       {"陈麻婆豆腐", "cmpdf"},       {"玉米虾仁", "ymxr"},
        {"莴笋木耳肉片", "wsmerp"}, {"四川麻辣口水鸡", "scmlksj"}, {"土豆烧鸡", "tdsj"},
        {"宫保鸡丁", "gbjd"},       {"夫妻肺片", "fqfp"},          {"烟笋炒腊肉", "ysclr"},
        {"干煸肥肠", "gbfc"},       {"泡椒腰花", "pjyh"},          {"香辣虾", "xlx"},
        {"清炒上海青", "qcshq"},    {"泡椒鲜鸭血", "pjxyx"},       {"米饭", "mf"},
        {"青岛啤酒", "qdpj"},
    };
    for (const auto &d : dishes)
        QTest::newRow(d.title) << QString::fromUtf8(d.title) << QString::fromLatin1(d.code);
}

void TestImCode::dishNames()
{
    QFETCH(QString, title);
    QFETCH(QString, expected);

    QCOMPARE(search_code(title), expected);
}

void TestImCode::searchCode_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expected");

    QTest::newRow("ascii lower-cased") << u"青岛啤酒500ml"_s << u"qdpj500ml"_s;
    QTest::newRow("mixed case ascii") << u"雪碧Sprite"_s << u"xbsprite"_s;
    QTest::newRow("full-width brackets") << u"回锅肉（小份）"_s << u"hgrxf"_s;
    QTest::newRow("symbol row marked") << u"招牌★鸡"_s << u"zp?j"_s;
    QTest::newRow("greek") << u"α鸡"_s << u"aj"_s;
    QTest::newRow("last greek letter") << u"ω鸡"_s << u"oj"_s;
    QTest::newRow("numbered") << u"套餐⑩"_s << u"tc10"_s;
    // Characters GBK cannot hold become '?' bytes, which are dropped.
    QTest::newRow("emoji dropped") << u"牛肉面🍜"_s << u"nrm"_s;
    QTest::newRow("hangul dropped") << u"한牛"_s << u"n"_s;
    QTest::newRow("only unrepresentable") << u"🍜🍜"_s << u""_s;
    // GBK beyond GB2312: traditional characters keep their readings.
    QTest::newRow("traditional characters") << u"宮保雞丁"_s << u"gbjd"_s;
    QTest::newRow("empty") << QString() << u""_s;
    QTest::newRow("capped at 255")
        << QString(300, QLatin1Char('a')) << QString(255, QLatin1Char('a'));
    QTest::newRow("cap counts codes")
        << QString(200, QChar(0x9E21)) + QString(100, QLatin1Char('b')) // 鸡 x200
        << QString(200, QLatin1Char('j')) + QString(55, QLatin1Char('b'));
    // Dish readings that differ from a dictionary's first reading.
    QTest::newRow("eggplant") << u"鱼香茄子"_s << u"yxqz"_s;
    QTest::newRow("black beans") << u"豆豉排骨"_s << u"dcpg"_s;
    QTest::newRow("sea cucumber") << u"葱烧海参"_s << u"cshs"_s;
    QTest::newRow("clams") << u"辣炒花蛤"_s << u"lchg"_s;
    QTest::newRow("braised chicken") << u"德州扒鸡"_s << u"dzpj"_s;
    QTest::newRow("buddha jumps") << u"佛跳墙"_s << u"ftq"_s;
}

void TestImCode::searchCode()
{
    QFETCH(QString, title);
    QFETCH(QString, expected);

    QCOMPARE(search_code(title), expected);
}

void TestImCode::syllableTable()
{
    using pinyin_table::syllable;

    QCOMPARE(pinyin_table::kSyllableCount, 405);
    QCOMPARE(syllable(1), "a");
    QCOMPARE(syllable(6), "ba");
    QCOMPARE(syllable(392), "zun");
    QCOMPARE(syllable(393), "zuo");
    QCOMPARE(syllable(394), "");
    const char *const tail[] = {"ei", "m", "n", "dia", "cen", "nou", "jv", "qv", "xv", "lv", "nv"};
    for (int i = 0; i < 11; ++i)
        QCOMPARE(syllable(395 + i), tail[i]);
    QCOMPARE(syllable(0), "");
    QCOMPARE(syllable(406), "");

    QStringList seen;
    for (int n = 1; n <= pinyin_table::kSyllableCount; ++n) {
        const QString s = QString::fromLatin1(syllable(n));
        QVERIFY2(s.size() <= 6, qPrintable(s));
        for (QChar c : s)
            QVERIFY2(c >= QLatin1Char('a') && c <= QLatin1Char('z'), qPrintable(s));
        if (n != 394) {
            QVERIFY2(!s.isEmpty(), qPrintable(QString::number(n)));
            QVERIFY2(!seen.contains(s), qPrintable(s));
        }
        if (n > 1 && n <= 393)
            QVERIFY2(seen.last() < s, qPrintable(s));
        seen << s;
    }
}

void TestImCode::readingTable()
{
    using pinyin_table::reading;

    int covered = 0;
    for (int lead = 0xB0; lead <= 0xF7; ++lead)
        for (int trail = 0xA1; trail <= 0xFE; ++trail)
            covered += reading(lead, trail) != 0;
    QVERIFY2(covered >= 6760, qPrintable(QString::number(covered)));

    for (int lead = 0x81; lead <= 0xFE; ++lead) {
        for (int trail = 0x40; trail <= 0xFE; ++trail) {
            const int n = reading(lead, trail);
            if (lead >= 0xA1 && lead <= 0xA9)
                QVERIFY2(n == 0, qPrintable(QString::number(lead << 8 | trail, 16)));
            QVERIFY(n <= pinyin_table::kSyllableCount && n != 394);
        }
    }

    QCOMPARE(int(reading(0x80, 0x80)), 0);
    QCOMPARE(int(reading(0xFF, 0x80)), 0);
    QCOMPARE(int(reading(0xB0, 0x3F)), 0);
    QCOMPARE(int(reading(0xB0, 0xFF)), 0);
    QVERIFY(reading(0xB0, 0xA1) != 0);
}

QTEST_APPLESS_MAIN(TestImCode)
#include "tst_imcode.moc"
