#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace rahmen {
namespace {

std::string bytes(std::initializer_list<int> list) {
    std::string s;
    for (int b : list)
        s.push_back(static_cast<char>(b));
    return s;
}

TEST(Sjis, SecondByte5CKeepsItsCharacter) {
    EXPECT_EQ(utf8ToCp932("ソ"), bytes({0x83, 0x5C}));
    EXPECT_EQ(utf8ToCp932("表"), bytes({0x95, 0x5C}));
    EXPECT_EQ(utf8ToCp932("構"), bytes({0x8D, 0x5C}));
    EXPECT_EQ(cp932ToUtf8(bytes({0x83, 0x5C, 0x95, 0x5C})), "ソ表");
}

TEST(Sjis, AsciiBackslashAndTildeStayAscii) {
    EXPECT_EQ(utf8ToCp932("a\\b~c"), "a\\b~c");
    EXPECT_EQ(cp932ToUtf8("a\\b~c"), "a\\b~c");
}

TEST(Sjis, HalfWidthKatakanaOneByteFullWidthTwo) {
    EXPECT_EQ(utf8ToCp932("ﾃﾞｰﾀ"), bytes({0xC3, 0xDE, 0xB0, 0xC0}));
    EXPECT_EQ(utf8ToCp932("データ"), bytes({0x83, 0x66, 0x81, 0x5B, 0x83, 0x5E}));
    EXPECT_EQ(cp932Width("ﾃﾞｰﾀ"), 4u);
    EXPECT_EQ(cp932Width("データ"), 6u);
    EXPECT_EQ(cp932Width(" 節点数:"), 8u);
    EXPECT_EQ(cp932Width("　"), 2u);
}

TEST(Sjis, WindowsExtensionsConvert) {
    EXPECT_EQ(utf8ToCp932("㎡"), bytes({0x87, 0x75}));
    EXPECT_EQ(utf8ToCp932("①"), bytes({0x87, 0x40}));
    EXPECT_EQ(utf8ToCp932("～"), bytes({0x81, 0x60}));
    EXPECT_EQ(cp932ToUtf8(bytes({0x87, 0x75, 0x87, 0x40, 0x81, 0x60})), "㎡①～");
}

TEST(Sjis, RoundTrip) {
    const std::string text =
        "骨組構造３次元解析･ZEN　for Windows 断面積(c㎡) ﾋﾟﾝ接合数: 形鋼(2～4) ①";
    EXPECT_EQ(cp932ToUtf8(utf8ToCp932(text)), text);
    EXPECT_EQ(cp932ToUtf8(utf8ToCp932("")), "");
}

TEST(Sjis, UnconvertibleCharactersBecomeReplacements) {
    // An emoji has no CP932 form; broken UTF-8 is replaced as well.
    EXPECT_EQ(utf8ToCp932("a\xF0\x9F\x98\x80"
                          "b"),
              "a?b");
    EXPECT_EQ(utf8ToCp932("a\xC3(b"), "a?(b");
    EXPECT_EQ(utf8ToCp932("表\xE3\x81"), bytes({0x95, 0x5C, '?'}));
    EXPECT_EQ(cp932Width("a\xF0\x9F\x98\x80"), 2u);

    // A lead byte at the end of the bytes, or followed by a line end.
    EXPECT_EQ(cp932ToUtf8(bytes({'a', 0x83})), "a\xEF\xBF\xBD");
    EXPECT_EQ(cp932ToUtf8(bytes({0x83, '\n', 'b'})), "\xEF\xBF\xBD\nb");
}

TEST(Sjis, ConvertsFromSeveralThreads) {
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([t, &failures] {
            for (int i = 0; i < 2000; ++i) {
                if (utf8ToCp932("ソ表㎡") != bytes({0x83, 0x5C, 0x95, 0x5C, 0x87, 0x75}))
                    ++failures[t];
                if (cp932ToUtf8(bytes({0xC3, 0xDE, 0x81, 0x60})) != "ﾃﾞ～") ++failures[t];
            }
        });
    for (auto& th : threads)
        th.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
}

} // namespace
} // namespace rahmen
