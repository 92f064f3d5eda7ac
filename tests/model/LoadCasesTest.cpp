#include "model/LoadCases.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace rahmen {
namespace {

LoadCase loadCase(const char* label, LoadKind kind, LoadDirection d = LoadDirection::None) {
    LoadCase c;
    c.label = label;
    c.kind = kind;
    c.direction = d;
    return c;
}

TEST(LoadCases, LabelsAreAsciiLettersDigitsAndUnderscoreFromALetterUpToEight) {
    const struct {
        const char* label;
        const char* problem;
    } cases[] = {
        {"G", ""},
        {"KX_2", ""},
        {"Abcdefg8", ""},
        {"", "ラベルが入力されていません。"},
        {"Abcdefgh9", "ラベルが長すぎます。ラベルは 8 文字までにしてください。"},
        {"2G", "ラベルは英字で始めてください。"},
        {"_G", "ラベルは英字で始めてください。"},
        {"G+P", "ラベルに使えない文字があります。\r\n使える文字は英字、数字と「_」です。"},
        {"固定", "ラベルに使えない文字があります。\r\n使える文字は英字、数字と「_」です。"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(labelProblem(c.label), c.problem) << c.label;
}

TEST(LoadCases, ExpressionsParseToTermsAndPrintBackToTheSameTerms) {
    const std::vector<LoadCase> cases{loadCase("G", LoadKind::Dead), loadCase("P", LoadKind::Live),
                                      loadCase("S", LoadKind::Snow),
                                      loadCase("KX", LoadKind::Seismic, LoadDirection::X),
                                      loadCase("KY", LoadKind::Seismic, LoadDirection::Y)};
    const struct {
        const char* text;
        std::vector<CombinationTerm> terms;
        const char* printed; // "" for the text itself
    } good[] = {
        {"G+P", {{1, "G"}, {1, "P"}}, ""},
        {"G+P-KX", {{1, "G"}, {1, "P"}, {-1, "KX"}}, ""},
        {"G+P+0.35S+KY", {{1, "G"}, {1, "P"}, {0.35, "S"}, {1, "KY"}}, ""},
        {"1.2G+0.7KX", {{1.2, "G"}, {0.7, "KX"}}, ""},
        {" -G + 2.50P - .125KY ", {{-1, "G"}, {2.5, "P"}, {-0.125, "KY"}}, "-G+2.5P-0.125KY"},
        {"1.G+1P", {{1, "G"}, {1, "P"}}, "G+P"},
    };
    for (const auto& g : good) {
        std::vector<CombinationTerm> terms;
        ASSERT_EQ(parseCombination(g.text, cases, terms), "") << g.text;
        ASSERT_EQ(terms.size(), g.terms.size()) << g.text;
        for (std::size_t i = 0; i < terms.size(); ++i) {
            EXPECT_EQ(terms[i].factor, g.terms[i].factor) << g.text;
            EXPECT_EQ(terms[i].caseLabel, g.terms[i].caseLabel) << g.text;
        }
        const std::string printed = combinationExpression({"C", LoadTerm::Short, terms});
        EXPECT_EQ(printed, *g.printed ? g.printed : g.text);
        std::vector<CombinationTerm> again;
        ASSERT_EQ(parseCombination(printed, cases, again), "");
        for (std::size_t i = 0; i < terms.size(); ++i)
            EXPECT_EQ(again[i].factor, terms[i].factor) << printed;
    }
    const struct {
        std::string text;
        std::string problem;
    } bad[] = {
        {"", "組合せ式が入力されていません。"},
        {"G+Q", "荷重ケース Q はありません。"},
        {"G+P+", "組合せ式の 3 項目（+）が読めません。"},
        {"G++P", "組合せ式の 2 項目（+）が読めません。"},
        {"G+1.2.3P", "組合せ式の 2 項目（+1.2.3P）が読めません。"},
        {"G+2 P", "組合せ式の 2 項目（+2 P）が読めません。"},
        {"G*P", "組合せ式の 1 項目（G*P）が読めません。"},
        {"G+1e3P", "荷重ケース e3P はありません。"}, // no exponents
        {"G+1" + std::string(40, '0') + "P",
         "組合せ式の 2 項目の係数が大きすぎます（1" + std::string(40, '0') + "）。"},
    };
    for (const auto& b : bad) {
        std::vector<CombinationTerm> terms;
        EXPECT_EQ(parseCombination(b.text, cases, terms), b.problem) << b.text;
    }
}

TEST(LoadCases, TheCodesCombinationsForTheCasesPresent) {
    using K = LoadKind;
    using D = LoadDirection;
    const LoadCase G = loadCase("G", K::Dead), P = loadCase("P", K::Live),
                   S = loadCase("S", K::Snow), WX = loadCase("WX", K::Wind, D::X),
                   KX = loadCase("KX", K::Seismic, D::X), KY = loadCase("KY", K::Seismic, D::Y);
    const struct {
        std::vector<LoadCase> cases;
        bool heavySnow;
        std::vector<std::string> expected; // label term expression
    } tables[] = {
        {{G, P, KX, KY},
         false,
         {"L1 長期 G+P", "S1 短期 G+P+KX", "S2 短期 G+P-KX", "S3 短期 G+P+KY", "S4 短期 G+P-KY"}},
        {{G, P, KX, KY},
         true,
         {"L1 長期 G+P", "S1 短期 G+P+KX", "S2 短期 G+P-KX", "S3 短期 G+P+KY", "S4 短期 G+P-KY"}},
        {{G, KX}, false, {"L1 長期 G", "S1 短期 G+KX", "S2 短期 G-KX"}},
        {{G, P, S, WX, KX},
         false,
         {"L1 長期 G+P", "S1 短期 G+P+S", "S2 短期 G+P+WX", "S3 短期 G+P-WX", "S4 短期 G+P+KX",
          "S5 短期 G+P-KX"}},
        {{G, P, S, WX, KX},
         true,
         {"L1 長期 G+P", "L2 長期 G+P+0.7S", "S1 短期 G+P+S", "S2 短期 G+P+WX", "S3 短期 G+P-WX",
          "S4 短期 G+P+0.35S+WX", "S5 短期 G+P+0.35S-WX", "S6 短期 G+P+0.35S+KX",
          "S7 短期 G+P+0.35S-KX"}},
    };
    for (const auto& t : tables) {
        std::vector<std::string> got;
        for (const Combination& c : codeCombinations(t.cases, t.heavySnow))
            got.push_back(c.label + (c.term == LoadTerm::Long ? " 長期 " : " 短期 ") +
                          combinationExpression(c));
        EXPECT_EQ(got, t.expected) << t.cases.size() << " cases, heavy snow " << t.heavySnow;
    }
}

LoadCaseSet sampleSet() {
    LoadCaseSet set;
    LoadCase g = loadCase("G", LoadKind::Dead);
    g.nodeLoads.push_back({5, {10, -2, -30.25f}, {1.5f, 0, -0.1f}});
    g.nodeLoads.push_back({2, {0, 0, 1e29f}, {0, 1e28f, 0}});
    g.memberLoads.push_back({7, -12.5f, 0.3f});
    LoadCase kx = loadCase("KX", LoadKind::Seismic, LoadDirection::X);
    kx.nodeLoads.push_back({8, {40, 0, 0}, {0, 0, 0}});
    LoadCase w = loadCase("W_Y2", LoadKind::Wind, LoadDirection::Y);
    set.cases = {g, kx, w};
    set.combinations = codeCombinations(set.cases, false);
    set.combinations.push_back({"X1", LoadTerm::Short, {{1.2, "G"}, {-0.1 / 3, "KX"}}});
    return set;
}

TEST(LoadCaseFile, WritesAndReadsBackTheSameSet) {
    const LoadCaseSet set = sampleSet();
    const std::string bytes = loadCaseFileBytes(set);
    EXPECT_EQ(bytes.substr(0, 2), utf8ToCp932("荷"));
    EXPECT_NE(bytes.find("\r\n"), std::string::npos);
    ItemReader in(bytes, "frame1.lcd");
    LoadCaseSet back;
    readLoadCaseFile(in, back, 9, 10);
    EXPECT_EQ(loadCaseFileBytes(back), bytes);
    ASSERT_EQ(back.cases.size(), 3u);
    EXPECT_EQ(back.cases[2].direction, LoadDirection::Y);
    EXPECT_EQ(back.cases[0].nodeLoads[0].force[2], -30.25f);
    EXPECT_EQ(back.cases[0].nodeLoads[0].moment[2], -0.1f);
    EXPECT_EQ(back.cases[0].memberLoads[0].wz, 0.3f);
    ASSERT_EQ(back.combinations.size(), set.combinations.size());
    EXPECT_EQ(back.combinations.back().terms[1].factor, -0.1 / 3);
    EXPECT_EQ(back.combinations[1].term, LoadTerm::Short);
}

// Each malformed file is the sample's with one line replaced.
TEST(LoadCaseFile, RefusesMalformedFilesNamingTheLine) {
    const std::string good = cp932ToUtf8(loadCaseFileBytes(sampleSet()));
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < good.size();) {
        const std::size_t end = good.find("\r\n", at);
        lines.push_back(good.substr(at, end - at));
        at = end + 2;
    }
    ASSERT_EQ(lines[4], "      5 10 -2 -30.25  1.5  0 -.1 ");
    const struct {
        int line; // 1-based
        const char* text;
        const char* problem;
    } cases[] = {
        {2, "荷重ケース数:  65  組合せ数:  6 ",
         "荷重ケース数は 64 までです（65 が指定されました）。"},
        {4, "荷重ケース:  1 , ラベル: 1G, 種類: G, 方向: -, 節点荷重数:  2  部材荷重数:  1 ",
         "ラベルは英字で始めてください。（1G）"},
        {4, "荷重ケース:  1 , ラベル: G, 種類: Q, 方向: -, 節点荷重数:  2  部材荷重数:  1 ",
         "荷重の種類 Q はありません。"},
        {4, "荷重ケース:  1 , ラベル: G, 種類: G, 方向: X, 節点荷重数:  2  部材荷重数:  1 ",
         "荷重 G の方向 X は指定できません。"},
        {10, "荷重ケース:  1 , ラベル: KX, 種類: K, 方向: X, 節点荷重数:  1  部材荷重数:  0 ",
         "荷重ケース番号 1 が二度あります"},
        {5, "     10 10 -2 -30.25  1.5  0 -.1 ", "節点番号"},
        {5, "      5 10 -2 -30.25  1E+29  0 -.1 ", "モーメント荷重"},
        {6, "      2 0  0  1E+31  0  1E+28  0 ", "荷重"},
        {7, "      6 1  0  0  0  0  0 ", "節点荷重リスト"},
        {10, "荷重ケース:  2 , ラベル: G, 種類: K, 方向: X, 節点荷重数:  1  部材荷重数:  0 ",
         "ラベル G が二度あります。"},
        {18, "      2 , S1, 長期, G+KY", "荷重ケース KY はありません。"},
        {18, "      2 , S1, 中期, G+KX", "組合せの区分 中期 はありません（長期か短期）。"},
        {18, "      2 , L1, 短期, G+KX", "ラベル L1 が二度あります。"},
        {23, "      7 , X2, 短期, G", "組合せリスト"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> changed = lines;
        changed[c.line - 1] = c.text;
        std::string text;
        for (const std::string& l : changed)
            text += l + "\r\n";
        ItemReader in(utf8ToCp932(text), "frame1.lcd");
        LoadCaseSet set;
        try {
            readLoadCaseFile(in, set, 9, 10);
            ADD_FAILURE() << "read: line " << c.line << " " << c.text;
        } catch (const DataFileError& e) {
            EXPECT_EQ(e.fileName(), "frame1.lcd");
            EXPECT_EQ(e.line(), c.line) << c.text << ": " << e.what();
            if (*c.problem) {
                EXPECT_NE(std::string(e.what()).find(c.problem), std::string::npos) << e.what();
            }
        }
    }
}

} // namespace
} // namespace rahmen
