#include "model/TextFile.h"

#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace rahmen {
namespace {

// The line written by `write`, without its CR LF.
template <class Write> std::string lineOf(Write write) {
    LineWriter w;
    write(w);
    return w.bytes();
}

std::string masked(const char* mask, double value) {
    return lineOf([&](LineWriter& w) { w.masked(mask, value); });
}

std::string freeNumber(double value) {
    return lineOf([&](LineWriter& w) { w.number(value); });
}

// ---------------------------------------------------------------------------
// Writing

TEST(LineWriter, FreeFormatNumbersAreShortestAndBlankFramed) {
    EXPECT_EQ(freeNumber(12), " 12 ");
    EXPECT_EQ(freeNumber(-3.5), "-3.5 ");
    EXPECT_EQ(freeNumber(0.5), " .5 ");
    EXPECT_EQ(freeNumber(-0.25), "-.25 ");
    EXPECT_EQ(freeNumber(0), " 0 ");
    EXPECT_EQ(freeNumber(-0.0), " 0 ");
    EXPECT_EQ(freeNumber(205000), " 205000 ");
    EXPECT_EQ(freeNumber(1234567), " 1234567 ");
    // Single precision: the double 98.0665 is stored as the nearest float.
    EXPECT_EQ(freeNumber(98.0665), " 98.0665 ");
    EXPECT_EQ(freeNumber(0.1), " .1 ");
    EXPECT_EQ(freeNumber(0.3), " .3 ");
    EXPECT_EQ(freeNumber(0.00012), " .00012 ");
    EXPECT_EQ(freeNumber(1e7), " 1E+07 ");
    EXPECT_EQ(freeNumber(-2.5e10), "-2.5E+10 ");
    EXPECT_EQ(freeNumber(1.5e-6), " 1.5E-06 ");
}

TEST(LineWriter, ValuesThatCannotBeWrittenAreRefused) {
    LineWriter w("frame1.fdt");
    w.text("a").endLine();
    EXPECT_THROW(w.number(std::nan("")), DataFileError);
    EXPECT_THROW(w.number(1e300), DataFileError); // infinite as a float
    EXPECT_THROW(w.masked("#####", INFINITY), DataFileError);
    try {
        w.masked("###.##^^^^", std::nan(""));
        FAIL();
    } catch (const DataFileError& e) {
        EXPECT_EQ(e.fileName(), "frame1.fdt");
        EXPECT_EQ(e.line(), 2);
    }
    EXPECT_THROW(w.masked("abc", 1), std::invalid_argument);
    EXPECT_THROW(w.maskedText("abc", "x"), std::invalid_argument);
}

TEST(LineWriter, PlainMasksRoundToTheirDecimals) {
    EXPECT_EQ(masked("#####", 250.6), "  251");
    EXPECT_EQ(masked("#####", 123.6), "  124");
    EXPECT_EQ(masked("#####", -12.4), "  -12");
    EXPECT_EQ(masked("#####", -0.4), "    0");
    EXPECT_EQ(masked("  #####", 7), "      7");
    EXPECT_EQ(masked("########.##", 0.5), "       0.50");
    EXPECT_EQ(masked("   ########.##", 1234.567), "       1234.57");
    EXPECT_EQ(masked("#.####", 0.5236), "0.5236");
    EXPECT_EQ(masked("#.####", -0.5), "-.5000");
    EXPECT_EQ(masked("        ###   ", 3), "          3   ");
    // Ties go away from zero.
    EXPECT_EQ(masked("#####", 250.5), "  251");
    EXPECT_EQ(masked("#####", -250.5), " -251");
    EXPECT_EQ(masked("###.##", 0.125), "  0.13");
}

TEST(LineWriter, ExponentMasksKeepTheirSignificantDigits) {
    EXPECT_EQ(masked("#######^^^^", 18700), " 187000E-01");
    EXPECT_EQ(masked("#######^^^^", -18700), "-187000E-01");
    EXPECT_EQ(masked("#######^^^^", 1234567), " 123457E+01");
    EXPECT_EQ(masked("######^^^^", 12345.6), " 12346E+00");
    EXPECT_EQ(masked("###.##^^^^", 12.5), " 12.50E+00");
    EXPECT_EQ(masked("###.##^^^^", -0.00123), "-12.30E-04");
    EXPECT_EQ(masked("###.##^^^^", 0), "  0.00E+00");
    EXPECT_EQ(masked("###.##^^^^", 99.996), " 10.00E+01");
    EXPECT_EQ(masked("###.##^^^^  ", 1), " 10.00E-01  ");
    EXPECT_EQ(masked("##.###^^^^", 2.5), " 2.500E+00");
    EXPECT_EQ(masked("   ##.###^^^^", -250), "   -2.500E+02");
    EXPECT_EQ(masked("      ##.####^^^^", 0.012345), "       1.2345E-02");
}

// Values one step below a decimal tie in binary round as the tie they stand
// for; values beyond nine digits or the exact powers of ten take the slow way.
TEST(LineWriter, MasksRoundNearTiesAndLongValues) {
    EXPECT_EQ(masked("###.##", 2.675), "  2.68"); // 2.67499999999999982...
    EXPECT_EQ(masked("#####.###", 1.0005), "    1.001");
    EXPECT_EQ(masked("############", 12345678901.0), " 12345678901");
    EXPECT_EQ(masked("###.#########^^^^", 1.0 / 3), " 33.333333333E-02");
    EXPECT_EQ(masked("###.##^^^^", 1e-30), " 10.00E-31");
    EXPECT_EQ(masked("###.##^^^^", -4.5e25), "-45.00E+24");
}

// The masked number as the writer formed it before its digits were made in
// place: every number through std::to_chars (exact, locale-free), ties
// rounded away from zero by moving the magnitude one unit up in the last
// place; the reference the writer's fast paths must agree with byte for byte.
std::string referenceMasked(const std::string& mask, double value) {
    std::size_t begin = mask.find('#');
    if (begin > 0 && mask[begin - 1] == '.') --begin; // a field starting at its point
    std::size_t i = begin;
    int whole = 0, decimals = 0;
    bool point = false, exponent = false;
    for (; i < mask.size() && mask[i] == '#'; ++i)
        ++whole;
    if (i < mask.size() && mask[i] == '.')
        for (point = true, ++i; i < mask.size() && mask[i] == '#'; ++i)
            ++decimals;
    if (mask.compare(i, 4, "^^^^") == 0) {
        exponent = true;
        i += 4;
    }
    const std::string lead = mask.substr(0, begin), tail = mask.substr(i);
    const std::size_t width = whole + (point ? 1 + decimals : 0) + (exponent ? 4 : 0);

    double a = std::fabs(value);
    if (a != 0) {
        std::uint64_t bits;
        std::memcpy(&bits, &a, sizeof a);
        ++bits;
        std::memcpy(&a, &bits, sizeof a);
    }
    char buf[512];
    std::string body;
    if (!exponent) {
        const auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::fixed, decimals);
        std::string digits(buf, r.ptr);
        const std::size_t dot = digits.find('.');
        std::string w = digits.substr(0, dot);
        const bool negative = value < 0 && digits.find_first_of("123456789") != std::string::npos;
        if (w == "0" && (negative ? 2 : 1) > whole) w.clear();
        body = (negative ? "-" : "") + w + (point ? "." + digits.substr(dot + 1) : "");
    } else {
        int lw = whole > 0 ? whole - 1 : 0;
        if (lw + decimals == 0) lw = 1;
        if (value == 0) // one zero before the point, whatever the mask
            return lead +
                   std::string(width - (lw > 0 ? 1 : 0) - (point ? 1 + decimals : 0) - 4, ' ') +
                   (lw > 0 ? "0" : "") + (point ? "." + std::string(decimals, '0') : "") + "E+00" +
                   tail;
        const auto r = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific,
                                     lw + decimals - 1);
        const std::string text(buf, r.ptr);
        std::string digits;
        for (char c : text.substr(0, text.find('e')))
            if (c != '.') digits += c;
        const int e = std::atoi(text.c_str() + text.find('e') + 1);
        const int shown = e - lw + 1;
        char ex[16];
        std::snprintf(ex, sizeof ex, "E%c%02d", shown < 0 ? '-' : '+', std::abs(shown));
        body = (value < 0 ? "-" : "") + digits.substr(0, static_cast<std::size_t>(lw)) +
               (point ? "." + digits.substr(static_cast<std::size_t>(lw)) : "") + ex;
    }
    std::string head = lead;
    if (body.size() <= width) {
        body.insert(0, width - body.size(), ' ');
    } else {
        std::size_t blanks = 0;
        while (blanks < lead.size() && lead[lead.size() - 1 - blanks] == ' ')
            ++blanks;
        head.resize(lead.size() - std::min(body.size() - width, blanks > 0 ? blanks - 1 : 0));
    }
    return head + body + tail;
}

// Every number field the writers use, random values of every size and sign
// (doubles, floats as the tables hold them, values on and beside decimal
// ties, whole numbers): the writer agrees with the reference byte for byte.
TEST(LineWriter, MaskedNumbersAgreeWithTheReferenceFormatter) {
    const char* const fields[] = {"#",           "##",
                                  "###",         "####",
                                  "#####",       "#.####",
                                  "########.##", "###.##^^^^",
                                  "##.###^^^^",  "##.####^^^^",
                                  "#######^^^^", "######^^^^",
                                  "####.##^^^^", "###.#########^^^^",
                                  ".##",         "#.##^^^^"};
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int compared = 0;
    for (const char* field : fields) {
        const std::string mask = std::string("  ") + field + " ";
        for (int k = 0; k < 4000; ++k) {
            const double magnitude = std::pow(10.0, -12 + 42 * unit(random));
            double v = (random() & 1 ? -1 : 1) * magnitude * (1 + unit(random));
            switch (k % 5) {
            case 1:
                v = static_cast<float>(v);
                break;
            case 2:
                v = std::round(v * 1e4) / 1e4 + 0.00005;
                break; // beside a tie of four decimals
            case 3:
                v = std::round(v * 100) / 100 + 0.005;
                break;
            case 4:
                v = std::round(v / 1e3);
                break;
            }
            if (k == 0) v = 0;
            if (!(std::fabs(v) < 1e30)) continue;
            ASSERT_EQ(masked(mask.c_str(), v), referenceMasked(mask, v))
                << "mask \"" << mask << "\", value " << v;
            ++compared;
        }
    }
    EXPECT_GT(compared, 50000);
}

TEST(LineWriter, OverflowingNumbersStaySeparated) {
    // Adjacent fields without blanks of their own.
    EXPECT_EQ(lineOf([](LineWriter& w) { w.masked("#####", 123456).masked("#####", 5); }),
              "123456    5");
    EXPECT_EQ(lineOf([](LineWriter& w) { w.masked("#####", 12345).masked("#####", 123456); }),
              "12345 123456");
    EXPECT_EQ(lineOf([](LineWriter& w) { w.masked("#####", 12345).masked("#####", -1234); }),
              "12345 -1234");
    EXPECT_EQ(
        lineOf([](LineWriter& w) { w.masked(" ###", 100).masked("########.##", 12345678.5); }),
        " 100 12345678.50");
    EXPECT_EQ(lineOf([](LineWriter& w) { w.masked("###.##^^^^", 1).masked("###.##^^^^", 1e-300); }),
              " 10.00E-01 10.00E-301");
    // An overflow takes the field's leading blanks but one.
    EXPECT_EQ(masked("         ###", 12345), "       12345");
    EXPECT_EQ(masked("         #", -1), "        -1");
    EXPECT_EQ(masked(" #####", -123456), " -123456");
    // Whatever follows a number directly is kept apart from it.
    EXPECT_EQ(lineOf([](LineWriter& w) { w.masked("###", 123).number(-3); }), "123 -3 ");
    EXPECT_EQ(lineOf([](LineWriter& w) { w.masked("###", 123).text("abc"); }), "123 abc");
    EXPECT_EQ(lineOf([](LineWriter& w) { w.masked("###", 123).text("  abc"); }), "123  abc");
    EXPECT_EQ(lineOf([](LineWriter& w) { w.masked("###", 123).byte04(); }), "123 \x04");
}

TEST(LineWriter, ZonesAndTabsCountBytes) {
    EXPECT_EQ(lineOf([](LineWriter& w) { w.zone().text("x"); }), std::string(14, ' ') + "x");
    EXPECT_EQ(lineOf([](LineWriter& w) { w.text("ab").zone().text("x"); }),
              "ab" + std::string(12, ' ') + "x");
    // Already at a zone start: the separator moves to the next zone.
    EXPECT_EQ(lineOf([](LineWriter& w) { w.text(std::string(14, 'a')).zone().text("x"); }),
              std::string(14, 'a') + std::string(14, ' ') + "x");
    EXPECT_EQ(lineOf([](LineWriter& w) { w.text("abcd").tab(3).text("x"); }), "abcdx");
    EXPECT_EQ(lineOf([](LineWriter& w) { w.tab(5).text("No."); }), "     No.");

    // Full-width characters count two columns.
    std::string line = lineOf([](LineWriter& w) {
        w.text("  No. 位置")
            .tab(14)
            .text("N(ton)")
            .tab(24)
            .text("Qy(ton)")
            .tab(34)
            .text(" Qz(ton)");
        w.tab(47).text("Mx(t・m)").tab(58).text("My(t・m)").tab(69).text("Mz(t・m)");
    });
    EXPECT_EQ(cp932ToUtf8(line),
              "  No. 位置    N(ton)    Qy(ton)    Qz(ton)     Mx(t・m)   My(t・m)   Mz(t・m)");
}

TEST(LineWriter, BytesOfAFile) {
    LineWriter w;
    w.text("    ").byte04(4).text(" 節点").endLine();
    w.text("ﾃﾞｰﾀ表").endLine();
    w.endLine();
    EXPECT_EQ(w.bytes(), "    \x04\x04\x04\x04 \x90\xdf\x93\x5f\r\n"
                         "\xc3\xde\xb0\xc0\x95\x5c\r\n"
                         "\r\n");
    EXPECT_EQ(w.line(), 4);
    EXPECT_EQ(w.column(), 0u);
}

TEST(LineWriter, LineBreaksInsideATextBecomeBlanks) {
    EXPECT_EQ(lineOf([](LineWriter& w) { w.text("a\r\nb\nc"); }), "a  b c");
}

TEST(LineWriter, MaskedTextIsCutByBytes) {
    const char* mask = "           &               &";
    EXPECT_EQ(lineOf([&](LineWriter& w) { w.maskedText(mask, "H-200x100"); }),
              std::string(11, ' ') + "H-200x100        ");
    // 18 bytes of full-width text: the ninth character does not fit in 17.
    std::string cut =
        lineOf([](LineWriter& w) { w.maskedText("&               &", "ＡＢＣＤＥＦＧＨＩ"); });
    EXPECT_EQ(cut.size(), 17u);
    EXPECT_EQ(cp932ToUtf8(cut), "ＡＢＣＤＥＦＧＨ ");
    // Half-width katakana are one byte each.
    EXPECT_EQ(lineOf([](LineWriter& w) { w.maskedText("&  &", "ﾃﾞｰﾀﾃﾞｰﾀ"); }), "\xc3\xde\xb0\xc0");
    // A comma or colon would split the field into two items when read.
    EXPECT_EQ(cp932ToUtf8(lineOf([](LineWriter& w) { w.maskedText("&     &", "a,b:c"); })),
              "a，b：c");
}

TEST(LineWriter, DateAndTime) {
    DateTime t{2005, 3, 7, 9, 5, 2};
    EXPECT_EQ(lineOf([&](LineWriter& w) { w.date(t).text("  ").time(t); }), "05/03/07  09:05:02");
    DateTime y2k{2000, 12, 31, 23, 59, 59};
    EXPECT_EQ(lineOf([&](LineWriter& w) { w.date(y2k); }), "00/12/31");
}

// ---------------------------------------------------------------------------
// Reading back what was written

TEST(TextRoundTrip, LabelWithCount) {
    LineWriter w;
    w.text(" 節点数:").number(12).endLine();
    EXPECT_EQ(w.bytes(), " \x90\xdf\x93\x5f\x90\x94: 12 \r\n");
    ItemReader r(w.bytes(), "a.cdt");
    EXPECT_EQ(r.readText(), "節点数");
    EXPECT_EQ(r.readNumber(), 12);
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(r.line(), 2);
}

TEST(TextRoundTrip, CountsLineWithZones) {
    LineWriter w;
    w.text(" 節点数:")
        .number(12)
        .zone()
        .text("部材数:")
        .number(-3)
        .zone()
        .text("ﾋﾟﾝ接合数:")
        .number(0);
    w.endLine();
    ItemReader r(w.bytes(), "a.adt");
    EXPECT_EQ(r.readText(), "節点数");
    EXPECT_EQ(r.readNumber(), 12);
    EXPECT_EQ(r.readText(), "部材数");
    EXPECT_EQ(r.readNumber(), -3);
    EXPECT_EQ(r.readText(), "ﾋﾟﾝ接合数");
    EXPECT_EQ(r.readNumber(), 0);
    EXPECT_TRUE(r.atEnd());
}

TEST(TextRoundTrip, MaskedNumbersReadBack) {
    LineWriter w;
    w.masked("###.##^^^^", 12.5).masked("#####", 123.6).masked("#####", -250.6);
    w.masked("   ##.###^^^^", 2.5).masked("#######^^^^", 18700).masked("#.####", -0.5).endLine();
    ItemReader r(w.bytes(), "a.fdt");
    EXPECT_EQ(r.readNumber(), 12.5);
    EXPECT_EQ(r.readNumber(), 124);
    EXPECT_EQ(r.readNumber(), -251);
    EXPECT_EQ(r.readNumber(), 2.5);
    EXPECT_EQ(r.readNumber(), 18700);
    EXPECT_EQ(r.readNumber(), -0.5);
    EXPECT_TRUE(r.atEnd());
}

TEST(TextRoundTrip, OverflowingFieldsReadBackOneByOne) {
    const std::vector<double> values{0, 1, -1, 99999, -9999, 123456789, -123456789, 0.4, 2.5e9};
    const std::vector<double> expected{0, 1, -1, 99999, -9999, 123456789, -123456789, 0, 2.5e9};
    LineWriter w;
    for (double v : values)
        w.masked("#####", v);
    w.endLine();
    for (double v : values)
        w.masked("#", v);
    w.endLine();
    ItemReader r(w.bytes(), "a.fdt");
    for (int pass = 0; pass < 2; ++pass)
        for (double e : expected)
            EXPECT_EQ(r.readNumber(), e);
    EXPECT_TRUE(r.atEnd());
}

TEST(TextRoundTrip, EmptyLineBetweenNumberLinesIsOneEmptyItem) {
    LineWriter w;
    w.masked("####", 1).masked("####", 2).endLine();
    w.endLine();
    w.number(3).endLine();
    ItemReader r(w.bytes(), "a.adt");
    EXPECT_EQ(r.readNumber(), 1);
    EXPECT_EQ(r.readNumber(), 2);
    EXPECT_EQ(r.readText(), "");
    EXPECT_EQ(r.readNumber(), 3);
    EXPECT_TRUE(r.atEnd());
}

TEST(TextRoundTrip, UnitAndDateLine) {
    DateTime t{2025, 1, 31, 13, 45, 7};
    LineWriter w;
    w.text(" 解析単位 :　SI単位　")
        .zone()
        .text("　解析日時: ")
        .date(t)
        .text("  ")
        .time(t)
        .endLine();
    w.number(1).endLine();
    ItemReader r(w.bytes(), "a.adt");
    EXPECT_EQ(r.readText(), "解析単位");
    std::string unit = r.readTextBytes();
    EXPECT_EQ(cp932ToUtf8(unit.substr(2, 6)), "SI単位");
    EXPECT_EQ(r.readText(), "25/01/31  13");
    EXPECT_EQ(r.readText(), "45");
    EXPECT_EQ(r.readText(), "07");
    EXPECT_EQ(r.readNumber(), 1);
}

TEST(TextRoundTrip, MaskedTextIsOneItem) {
    LineWriter w;
    w.masked(" ###", 1)
        .masked("       ###", 12)
        .maskedText("           &               &", "H-200x100, 5:8");
    w.endLine();
    ItemReader r(w.bytes(), "a.fdt");
    EXPECT_EQ(r.readNumber(), 1);
    EXPECT_EQ(r.readNumber(), 12);
    EXPECT_EQ(r.readText(), "H-200x100， 5：8");
    EXPECT_TRUE(r.atEnd());
}

TEST(TextRoundTrip, TypedNameIsOneItem) {
    LineWriter w;
    w.text(" データ名: ").itemText("frame,1:a").endLine();
    w.text(" 節点数:").number(3).endLine();
    ItemReader r(w.bytes(), "a.cdt");
    EXPECT_EQ(r.readText(), "データ名");
    EXPECT_EQ(r.readText(), "frame，1：a");
    EXPECT_EQ(r.readText(), "節点数");
    EXPECT_EQ(r.readNumber(), 3);
}

// ---------------------------------------------------------------------------
// Reading rules

TEST(ItemReader, TextItemsEndAtCommaColonOrLineEnd) {
    ItemReader r("  a b ,c:d  \r\n\r\n   \r\ne:\r\nlast", "x.fdt");
    EXPECT_EQ(r.peekText(), "a b");
    EXPECT_EQ(r.readText(), "a b");
    EXPECT_EQ(r.readText(), "c");
    EXPECT_EQ(r.readText(), "d");
    EXPECT_EQ(r.line(), 2);
    EXPECT_EQ(r.readText(), "");
    EXPECT_EQ(r.readText(), "");
    EXPECT_EQ(r.readText(), "e");
    EXPECT_EQ(r.readText(), "");
    EXPECT_EQ(r.readText(), "last");
    EXPECT_TRUE(r.atEnd());
}

TEST(ItemReader, SecondBytesAreNeverDelimiters) {
    // ソ and 表 end in 0x5C, 漾 starts with 0xE0; half-width katakana are
    // single bytes in the lead-byte-free range 0xA1..0xDF.
    ItemReader r("\x83\x5c\x95\x5c\xe0\x40:\xc3\xde\xb0\xc0,\x83,x\r\n", "x.fdt");
    EXPECT_EQ(r.readText(), "ソ表漾");
    EXPECT_EQ(r.readText(), "ﾃﾞｰﾀ");
    // A lead byte before a comma is a broken character; the comma still ends
    // the item.
    EXPECT_EQ(r.readTextBytes(), "\x83");
    EXPECT_EQ(r.readText(), "x");
    EXPECT_TRUE(r.atEnd());
}

TEST(ItemReader, NumbersFlowAcrossLinesAndTakeTheirBlanks) {
    ItemReader r("1 2   \r\n3,4 , 5\n-6\r7", "x.adt");
    EXPECT_EQ(r.readNumber(), 1);
    EXPECT_EQ(r.readNumber(), 2);
    EXPECT_EQ(r.line(), 2);
    EXPECT_EQ(r.readNumber(), 3);
    EXPECT_EQ(r.readNumber(), 4);
    EXPECT_EQ(r.readNumber(), 5);
    EXPECT_EQ(r.line(), 3);
    EXPECT_EQ(r.readNumber(), -6);
    EXPECT_EQ(r.readNumber(), 7);
    EXPECT_TRUE(r.atEnd());
}

TEST(ItemReader, SkipAndPeek) {
    ItemReader r(utf8ToCp932("\r\n***\r\n\r\n title\r\n 部材数: 3 "), "x.cdt");
    r.skipItems(4);
    EXPECT_EQ(r.peekText(), "部材数");
    EXPECT_EQ(r.peekText(), "部材数");
    EXPECT_EQ(r.line(), 5);
    EXPECT_EQ(r.readText(), "部材数");
    EXPECT_EQ(r.readNumber(), 3);
    EXPECT_TRUE(r.atEnd());
}

TEST(ItemReader, NumberForms) {
    ItemReader r("+3 -.5 5. 1D2 1d-2 12.50E+00 -187000E-01 1e-400 007", "x.adt");
    EXPECT_EQ(r.readNumber(), 3);
    EXPECT_EQ(r.readNumber(), -0.5);
    EXPECT_EQ(r.readNumber(), 5);
    EXPECT_EQ(r.readNumber(), 100);
    EXPECT_EQ(r.readNumber(), 0.01);
    EXPECT_EQ(r.readNumber(), 12.5);
    EXPECT_EQ(r.readNumber(), -18700);
    EXPECT_EQ(r.readNumber(), 0);
    EXPECT_EQ(r.readNumber(), 7);
}

TEST(ItemReader, TextThatIsNoNumberNamesFileAndLine) {
    for (const char* bad : {"abc", "1E", "1.2.3", "--1", "+", ".", "inf", "nan", "0x10", "1e400",
                            "12:30", "E5", "1 E5x"}) {
        ItemReader r(std::string("1\r\n2\r\n") + bad + "\r\n", "frame1.fdt");
        r.readNumber();
        r.readNumber();
        if (std::string(bad) == "1 E5x") r.readNumber();
        try {
            r.readNumber();
            ADD_FAILURE() << bad;
        } catch (const DataFileError& e) {
            EXPECT_EQ(e.line(), 3) << bad;
            EXPECT_EQ(e.fileName(), "frame1.fdt");
            EXPECT_EQ(std::string(e.what()).rfind("frame1.fdt の 3 行目: 数値が読めません", 0), 0u)
                << e.what();
        }
    }
    ItemReader r("1\r\n abc \r\n", "frame1.fdt");
    r.readNumber();
    try {
        r.readNumber();
        FAIL();
    } catch (const DataFileError& e) {
        EXPECT_STREQ(e.what(), "frame1.fdt の 2 行目: 数値が読めません（abc）");
    }
}

TEST(ItemReader, EmptyItemIsNoNumber) {
    ItemReader r("1\r\n\r\n2", "a.adt");
    r.readNumber();
    try {
        r.readNumber();
        FAIL();
    } catch (const DataFileError& e) {
        EXPECT_STREQ(e.what(), "a.adt の 2 行目: 数値が読めません（数値がありません）");
    }
}

TEST(ItemReader, TruncatedFileNamesTheLastLine) {
    LineWriter w;
    w.text(" 節点数:").number(2).endLine();
    w.masked("  #####", 1).masked("     #####", 100).endLine();
    ItemReader r(w.bytes(), "frame1.fdt");
    r.readText();
    EXPECT_EQ(r.readNumber(), 2);
    EXPECT_EQ(r.readNumber(), 1);
    EXPECT_EQ(r.readNumber(), 100);
    try {
        r.readNumber();
        FAIL();
    } catch (const DataFileError& e) {
        EXPECT_EQ(e.line(), 2);
        EXPECT_STREQ(e.what(),
                     "frame1.fdt の 2 行目: ファイルが途中で終わっています（データが足りません）");
    }
    EXPECT_THROW(r.readText(), DataFileError);
    EXPECT_THROW(r.peekText(), DataFileError);
    EXPECT_THROW(r.skipItems(1), DataFileError);

    ItemReader empty("", "empty.cdt");
    EXPECT_TRUE(empty.atEnd());
    try {
        empty.readText();
        FAIL();
    } catch (const DataFileError& e) {
        EXPECT_EQ(e.line(), 1);
    }
}

} // namespace
} // namespace rahmen
