// rahmen-batch --pdf: the calculation report of the two-storey example with
// table sections, three load cases, the building code's combinations, the
// member checks and the storey checks, read back with pdftotext and pdffonts.

#include "model/LoadCases.h"
#include "model/Model.h"
#include "model/ModelFiles.h"
#include "model/TextFile.h"
#include "platform/Sjis.h"
#include "sections/Sections.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

using namespace rahmen;
namespace fs = std::filesystem;

namespace {

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

int shell(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The first line of a CP932 report file that starts with `start` (after blanks), in UTF-8.
std::vector<std::string> utf8Lines(const std::string& cp932) {
    std::vector<std::string> lines;
    std::istringstream in(cp932ToUtf8(cp932));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> out;
    std::string w;
    while (in >> w)
        out.push_back(w);
    return out;
}

class BatchPdf : public ::testing::Test {
protected:
    fs::path work;
    void SetUp() override {
        work = fs::temp_directory_path() / ("rahmen_batch_pdf_" + std::to_string(::getpid()));
        fs::remove_all(work);
        fs::create_directories(work);
    }
    void TearDown() override {
        if (!std::getenv("RAHMEN_KEEP")) fs::remove_all(work);
    }
};

TEST_F(BatchPdf, ReportOfTheTwoStoreyFrameHoldsEverySectionRatioAndRoofDisplacement) {
    ASSERT_EQ(shell("command -v pdftotext >/dev/null && command -v pdffonts >/dev/null && "
                    "command -v qpdf >/dev/null"),
              0)
        << "poppler-utils and qpdf (scripts/install-deps.sh) are needed";
    // The example frame with steel sections: columns □-300x300x12, beams H.
    Model m;
    {
        ItemReader in(bytesOf(fs::path(RAHMEN_EXAMPLES) / "two_storey.fdt"), "two_storey.fdt");
        readFrameFile(m, in);
    }
    DAT_READ(m);
    storeSteelSection(
        m, 1, *SteelSectionProperties(m, kSectionSquarePipe, 50, SquarePipeShear::HalfArea));
    storeSteelSection(m, 2,
                      *SteelSectionProperties(m, kSectionHShape, 30, SquarePipeShear::HalfArea));
    for (int k = 1; k <= m.MemberCount; ++k)
        m.copyTypeToMember(k, m.MemberTypeNo[k]);
    m.DataName = "two_storey";
    std::ofstream(work / "two_storey.fdt", std::ios::binary)
        << frameFileBytes(m, {2026, 1, 2, 3, 4, 5});
    LoadCaseSet set;
    LoadCase g{"G", LoadKind::Dead, LoadDirection::None, {}, {}};
    for (int beam : {5, 6, 13, 14})
        g.memberLoads.push_back({beam, 0, -20});
    LoadCase kx{"KX", LoadKind::Seismic, LoadDirection::X, {}, {}};
    LoadCase ky{"KY", LoadKind::Seismic, LoadDirection::Y, {}, {}};
    for (int n = 5; n <= 12; ++n) {
        kx.nodeLoads.push_back({n, {n > 8 ? 50.0f : 30.0f, 0, 0}, {0, 0, 0}});
        ky.nodeLoads.push_back({n, {0, n > 8 ? 40.0f : 25.0f, 0}, {0, 0, 0}});
    }
    set.cases = {g, kx, ky};
    set.combinations = codeCombinations(set.cases, false);
    std::ofstream(work / "cases.lcd", std::ios::binary) << loadCaseFileBytes(set);

    const std::string batch = std::string("cd '") + work.string() + "' && '" + RAHMEN_BATCH + "'";
    ASSERT_EQ(shell(batch + " two_storey.fdt --cases cases.lcd --check --storeys --pdf --out frame"
                            " 2>stderr"),
              0)
        << bytesOf(work / "stderr");
    ASSERT_TRUE(fs::exists(work / "frame.pdf"));
    // The text layer reads the characters written: 骨 and 日, not the Kangxi
    // radicals ⾻ and ⽇ whose glyphs IPAexGothic shares with them. The file
    // with its update is sound.
    ASSERT_EQ(shell("cd '" + work.string() +
                    "' && pdftotext -layout frame.pdf frame.txt && pdffonts frame.pdf > fonts.txt"
                    " && qpdf --check frame.pdf > check.txt 2>&1"),
              0)
        << bytesOf(work / "check.txt");
    const std::string text = bytesOf(work / "frame.txt");

    // Every section, as its heading (the title page's contents name them too,
    // so each must appear at least twice).
    for (const char* heading :
         {"構造計算書", "1. 骨組全体図", "2. 骨組の入力データ", "3. 荷重ケースと組合せ",
          "4. 節点変位と支持点反力", "5. 部材端力", "6. 応力図", "7. 変形図",
          "8. 部材の検定（許容応力度）", "9. 層の検定（層間変形角・剛性率・偏心率）"}) {
        const auto first = text.find(heading);
        ASSERT_NE(first, std::string::npos) << heading;
        EXPECT_NE(text.find(heading, first + 1), std::string::npos) << heading;
    }
    for (const char* radical : {"⾻", "⽇", "⼊", "⼒", "⽀", "⾓", "⽅", "⻑", "⾯"})
        EXPECT_FALSE(contains(text, radical)) << radical;
    for (const char* part :
         {"SN400B", "骨組", "支持点", "入力", "作成日", "方向", "長期", "断面", "最大", "検定比",
          "偏心率", "X = 0 cm", "X = 600 cm", "Y = 0 cm", "Y = 500 cm", "組合せ S1", "層間変形角"})
        EXPECT_TRUE(contains(text, part)) << part;

    // Every member's governing ratio and judgement as NAME.chk gives them.
    int members = 0;
    for (const std::string& line : utf8Lines(bytesOf(work / "frame.chk"))) {
        const auto w = words(line);
        if (w.size() < 4 || !std::regex_match(w[0], std::regex("[0-9]+")) ||
            !std::regex_match(w[1], std::regex("[0-9]+\\.[0-9]{3}")))
            continue;
        ++members;
        const std::regex row("\\n\\s*" + w[0] + "\\s+[^\\n]*\\s" + w[3] + "\\s[^\\n]*\\s" +
                             std::regex_replace(w[1], std::regex("\\."), "\\.") + "\\s+" + w[2] +
                             "\\b");
        EXPECT_TRUE(std::regex_search(text, row)) << line;
    }
    EXPECT_EQ(members, 16);

    // The roof displacements (nodes 9..12) of each case and combination as
    // its report NAME_LABEL.adt gives them.
    int roofLines = 0;
    for (const std::string label : {"G", "KX", "KY", "L1", "S1", "S2", "S3", "S4"}) {
        ASSERT_TRUE(fs::exists(work / ("frame_" + label + ".adt"))) << label;
        bool inList = false;
        for (const std::string& line : utf8Lines(bytesOf(work / ("frame_" + label + ".adt")))) {
            if (contains(line, "節点変位リスト")) inList = true;
            if (contains(line, "支持点反力リスト")) break;
            const auto w = words(line);
            if (!inList || w.size() != 7 ||
                (w[0] != "9" && w[0] != "10" && w[0] != "11" && w[0] != "12"))
                continue;
            std::string pattern = "\\n\\s*" + w[0];
            for (std::size_t i = 1; i < 7; ++i)
                pattern += "\\s+" + std::regex_replace(w[i], std::regex("([.+])"), "\\$1");
            EXPECT_TRUE(std::regex_search(text, std::regex(pattern))) << label << ": " << line;
            ++roofLines;
        }
    }
    EXPECT_EQ(roofLines, 32);

    // The pages: title and contents, input, loads, results of 8 results
    // (tables and one plane diagram per plane and result), checks, storeys.
    std::ifstream info;
    ASSERT_EQ(shell("cd '" + work.string() + "' && pdfinfo frame.pdf > info.txt"), 0);
    std::smatch pages;
    const std::string infoText = bytesOf(work / "info.txt");
    ASSERT_TRUE(std::regex_search(infoText, pages, std::regex("Pages:\\s+([0-9]+)")));
    const int count = std::stoi(pages[1]);
    EXPECT_GE(count, 30);
    EXPECT_LE(count, 50);
    // The Japanese font is embedded (pdffonts: "emb" column yes).
    const std::string fonts = bytesOf(work / "fonts.txt");
    EXPECT_TRUE(std::regex_search(fonts, std::regex("IPAexGothic[^\\n]*\\byes\\b"))) << fonts;
    EXPECT_FALSE(std::regex_search(fonts, std::regex("\\n[^\\n]*\\bno\\s+no\\s+no\\b"))) << fonts;
}

} // namespace
