// The analysis data file as written: the exact bytes of two small frames (one
// in each unit system), the writer's dialogs and progress texts, the lists that
// must agree with the reader, and write → read round trips.
#include "analysis/AnalysisFile.h"
#include "analysis/AnalysisFileHandlers.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/resource.h>

namespace rahmen {
namespace {

// `write()` with no file of this process allowed to grow beyond `bytes`:
// writes past it fail with EFBIG, as on a full disk (root is held to it too).
template <class Write> bool withFileSizeLimit(rlim_t bytes, Write write) {
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    auto* const previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
    const bool result = write();
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);
    return result;
}

std::string fixture(const std::string& name) {
    std::ifstream in(std::string(RAHMEN_FIXTURES) + "/adt/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A small frame with every kind of line the file has: two supports, a column
// with a start spring, a loaded beam with springs at both ends, a member pinned
// at its end only, one pinned at both ends, a loaded member with an end spring,
// a member with a principal-axis angle, two loaded nodes; results filled in
// directly.
void buildFrame(Model& md, bool older) {
    md.DataName = "portal";
    md.UnitFactor = older ? 1.0f : kSiUnitFactor;
    md.YoungModulus = older ? 2100 : 205000;
    md.ShearModulus = older ? 810 : 79000;
    md.ShearShapeFactor = 1.2f;
    md.NodeCount = 6;
    const float xyz[7][3] = {{0, 0, 0},   {0, 0, 0},     {0, 0, 350},       {600.4f, 0, 350},
                             {600, 0, 0}, {0, 500, 350}, {600, 500, 349.5f}};
    for (int n = 1; n <= 6; ++n) {
        md.NodeX[n] = xyz[n][0];
        md.NodeY[n] = xyz[n][1];
        md.NodeZ[n] = xyz[n][2];
    }
    md.NodeIsSupport[1] = md.NodeIsSupport[4] = -1;
    md.SupportCount = 2;

    md.MemberCount = 6;
    const int ends[7][2] = {{0, 0}, {1, 2}, {2, 3}, {3, 4}, {2, 5}, {3, 6}, {5, 6}};
    for (int m = 1; m <= 6; ++m) {
        md.MemberStartNode[m] = static_cast<int16_t>(ends[m][0]);
        md.MemberEndNode[m] = static_cast<int16_t>(ends[m][1]);
        md.MemberArea[m] = 100.5f + m;
        md.MemberIy[m] = 12000.25f * m;
        md.MemberIz[m] = 4000.5f * m;
    }
    md.MemberAngle[6] = 0.5236f;
    md.SpringStart[1][5] = 5.0e6f; // kN·cm/rad
    md.SpringStart[2][6] = 2.0e6f;
    md.SpringEnd[2][6] = 3.5e6f;
    md.PinEndY[3] = -1;
    md.PinStartZ[4] = -1;
    md.PinEndZ[4] = -1;
    md.SpringEnd[5][5] = 1.25e7f;
    for (int m = 1; m <= 6; ++m)
        md.updateEndSummaries(m);

    md.NodeLoad[6 * 5 - 3] = older ? -2.5f : -20; // node 5, Z
    md.NodeLoad[6 * 6 - 5] = older ? 1.0f : 10;   // node 6, X
    md.NodeLoad[6 * 6 - 1] = older ? 50.0f : 500; // node 6, about Y (force·cm)
    md.NodeLoadFlag[5] = md.NodeLoadFlag[6] = 1;
    md.LoadedNodeCount = 2;
    md.MemberUniformLoad[2][1] = older ? 0.3f : 3;
    md.MemberUniformLoad[2][2] = older ? -1.2f : -12;
    md.MemberUniformLoad[5][1] = older ? -0.2f : -2;
    md.MemberLoadFlag[2] = md.MemberLoadFlag[5] = 1;
    md.LoadedMemberCount = 2;

    // Results as an analysis would leave them.
    for (int n = 1; n <= 6; ++n)
        for (int k = 1; k <= 6; ++k)
            md.NodeDisplacement[6 * n - 6 + k] =
                md.NodeIsSupport[n] ? 0.0
                                    : (k <= 3 ? 0.0125 : -0.000347) * (n + k) * (k % 2 ? 1 : -1);
    for (int m = 1; m <= 6; ++m)
        for (int k = 1; k <= 9; ++k)
            md.MemberEndForce[m][k] = (k % 3 == 0 ? -1.0f : 1.0f) * (1.5f * m + 0.25f * k);
    md.MemberLoadMoment[2][13] = -12 * 0.01f * 600.4f * 600.4f / 8 * (older ? 0.1f : 1);
    md.MemberLoadMoment[2][14] = 3 * 0.01f * 600.4f * 600.4f / 8 * (older ? 0.1f : 1);
    md.MemberLoadMoment[5][14] = -2 * 0.01f * 500 * 500 / 8 * (older ? 0.1f : 1);
    md.SpringRotation[1][1] = 0.00123f;
    md.SpringRotation[1][2] = 0;
    md.SpringRotation[2][1] = 0;
    md.SpringRotation[2][2] = -0.000456f;
    md.SpringRotation[2][3] = 0;
    md.SpringRotation[2][4] = 0.000789f;
    md.SpringRotation[5][3] = -2.5e-5f;
    md.PinRotation[3][3] = 0.0042f;
    md.PinRotation[3][4] = 0;
    md.AnalysisDone = 1;
}

std::vector<float> frameReactions(bool older) {
    std::vector<float> r(6 * 6 + 1, 0.0f);
    const float scale = older ? 0.1f : 1.0f;
    const float values[6] = {-5.25f, 0.75f, 61.5f, 120.0f, -830.5f, 3.0f};
    for (int k = 1; k <= 6; ++k) {
        r[static_cast<std::size_t>(k)] = values[k - 1] * scale;
        r[static_cast<std::size_t>(18 + k)] = -values[k - 1] * scale * 0.5f;
    }
    return r;
}

class AnalysisFileWrite : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    std::unique_ptr<Program> program = Program::create(platform.services());
    Model& md = program->model;

    std::string written(const std::string& name) {
        auto r = platform.files.read(name);
        EXPECT_TRUE(r.ok) << r.error;
        return r.bytes;
    }
    // Writes the frame and compares with the fixture; on a difference the
    // bytes written are kept beside the test run for a look.
    void expectGolden(bool older, const std::string& fixtureName) {
        buildFrame(md, older);
        ASSERT_TRUE(writeAnalysisFile(*program, frameReactions(older)));
        const std::string bytes = written("portal.adt");
        const std::string expected = fixture(fixtureName);
        if (bytes != expected) {
            std::ofstream(fixtureName + ".actual", std::ios::binary) << bytes;
            FAIL() << "differs from " << fixtureName << "; written to " << fixtureName << ".actual";
        }
    }
};

TEST_F(AnalysisFileWrite, SiFrameIsWrittenByteForByte) {
    expectGolden(false, "portal_si.adt");
}

TEST_F(AnalysisFileWrite, OlderUnitsFrameIsWrittenByteForByte) {
    expectGolden(true, "portal_older.adt");
}

TEST_F(AnalysisFileWrite, NothingIsWrittenForThePlottingWindowsQuickAnalysis) {
    buildFrame(md, false);
    md.DataName.clear();
    program->SkipAnalysisFile = -1;
    EXPECT_FALSE(writeAnalysisFile(*program, frameReactions(false)));
    EXPECT_TRUE(platform.dialogs.inputs().empty());
    EXPECT_TRUE(platform.files.list("*").empty());
    EXPECT_EQ(md.AnalysisFileWritten, 0);
}

TEST_F(AnalysisFileWrite, NameIsAskedWhenThereIsNoneAndProgressTextsFollow) {
    buildFrame(md, false);
    md.DataName.clear();
    platform.dialogs.queueInput(std::string("frameA"));
    program->progress.begin(0);
    ASSERT_TRUE(writeAnalysisFile(*program, frameReactions(false)));
    ASSERT_EQ(platform.dialogs.inputs().size(), 1u);
    EXPECT_EQ(platform.dialogs.inputs()[0].prompt,
              "作成される解析ﾃﾞｰﾀﾌｧｲﾙの名前を入力してください");
    EXPECT_EQ(platform.dialogs.inputs()[0].title, "rahmen");
    EXPECT_EQ(md.DataName, "frameA");
    EXPECT_TRUE(platform.files.exists("frameA.adt"));
    EXPECT_FALSE(platform.files.exists("frameA.adt.tmp"));
    EXPECT_EQ(md.AnalysisFileWritten, 1);

    EXPECT_EQ(program->progress.c("EDIT151").caption, " データファイルが作成されました。");
    const auto& lines = program->progress.picture()->items();
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0].text, "ζζζζζζζζζζζζζζζζζζζζζζζ");
    EXPECT_EQ(lines[6].text, "ζζζζζζζζζζζζζζζζζζζζζζζ");
    EXPECT_EQ(lines[7].text, "ηηηηηηηηηηηηηηηηηηηηηηη");
    EXPECT_EQ(lines[13].text, "ηηηηηηηηηηηηηηηηηηηηηηη");
    EXPECT_TRUE(program->progress.isOpen()); // the analysis closes it
}

TEST_F(AnalysisFileWrite, CancelledNamePromptWritesTheExtensionOnly) {
    buildFrame(md, false);
    md.DataName.clear();
    platform.dialogs.queueInput(std::nullopt);
    ASSERT_TRUE(writeAnalysisFile(*program, frameReactions(false)));
    EXPECT_EQ(md.DataName, "");
    EXPECT_TRUE(platform.files.exists(".adt"));
}

TEST_F(AnalysisFileWrite, NamePromptAsksAgainForANameThatIsNoPlainFileName) {
    buildFrame(md, false);
    md.DataName.clear();
    platform.dialogs.queueInput(std::string("../outside"));
    platform.dialogs.queueInput(std::string("portal9"));
    ASSERT_TRUE(writeAnalysisFile(*program, frameReactions(false)));
    ASSERT_EQ(platform.dialogs.inputs().size(), 2u);
    ASSERT_EQ(platform.dialogs.messages().size(), 1u);
    EXPECT_EQ(platform.dialogs.messages()[0].text.substr(0, 51),
              "データ名に使えない文字があります。");
    EXPECT_EQ(md.DataName, "portal9");
    EXPECT_TRUE(platform.files.exists("portal9.adt"));
    EXPECT_FALSE(std::filesystem::exists(platform.files.folder().parent_path() / "outside.adt"));
}

TEST_F(AnalysisFileWrite, ExistingReportAnsweredNoIsReplaced) {
    buildFrame(md, false);
    ASSERT_TRUE(platform.files.writeAtomic("portal.adt", "old report").ok);
    platform.dialogs.queueMessage(MessageResult::No);
    ASSERT_TRUE(writeAnalysisFile(*program, frameReactions(false)));
    ASSERT_EQ(platform.dialogs.messages().size(), 1u);
    const MessageCall& asked = platform.dialogs.messages()[0];
    EXPECT_EQ(asked.text, "既存の解析データがあります、新しいデータ名を入力しますか？\r\n\r\n"
                          "同名データ作成は既存ﾃﾞｰﾀをﾃﾞｨﾚｸﾄﾘｰより移動→いいえﾎﾞﾀﾝ");
    EXPECT_EQ(asked.title, "rahmen");
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(asked.icon, MessageIcon::Question);
    EXPECT_TRUE(platform.dialogs.inputs().empty());
    EXPECT_EQ(written("portal.adt"), fixture("portal_si.adt"));
}

TEST_F(AnalysisFileWrite, ExistingReportAnsweredYesTakesANewNameAndKeepsTheOldFile) {
    buildFrame(md, false);
    ASSERT_TRUE(platform.files.writeAtomic("portal.adt", "old report").ok);
    ASSERT_TRUE(platform.files.writeAtomic("portal2.adt", "another old report").ok);
    // The second name exists too: asked again, and a third name is given.
    platform.dialogs.queueMessage(MessageResult::Yes);
    platform.dialogs.queueInput(std::string("portal2"));
    platform.dialogs.queueMessage(MessageResult::Yes);
    platform.dialogs.queueInput(std::string("portal3"));
    ASSERT_TRUE(writeAnalysisFile(*program, frameReactions(false)));
    EXPECT_EQ(platform.dialogs.messages().size(), 2u);
    EXPECT_EQ(md.DataName, "portal3");
    EXPECT_EQ(written("portal.adt"), "old report");
    EXPECT_EQ(written("portal2.adt"), "another old report");
    EXPECT_TRUE(platform.files.exists("portal3.adt"));
    EXPECT_EQ(platform.dialogs.unscripted(), 0);
}

TEST_F(AnalysisFileWrite, CancelledNewNameKeepsTheNameAndReplacesTheFile) {
    buildFrame(md, false);
    ASSERT_TRUE(platform.files.writeAtomic("portal.adt", "old report").ok);
    platform.dialogs.queueMessage(MessageResult::Yes);
    platform.dialogs.queueInput(std::nullopt);
    ASSERT_TRUE(writeAnalysisFile(*program, frameReactions(false)));
    EXPECT_EQ(md.DataName, "portal");
    EXPECT_EQ(written("portal.adt"), fixture("portal_si.adt"));
}

TEST_F(AnalysisFileWrite, FailedWriteLeavesTheExistingReportWhole) {
    buildFrame(md, false);
    ASSERT_TRUE(platform.files.writeAtomic("portal.adt", "old report").ok);
    platform.dialogs.queueMessage(MessageResult::No);
    EXPECT_FALSE(
        withFileSizeLimit(100, [&] { return writeAnalysisFile(*program, frameReactions(false)); }));
    EXPECT_EQ(written("portal.adt"), "old report");
    EXPECT_TRUE(platform.files.list("*.tmp").empty()) << "the temporary file is removed";
    EXPECT_EQ(md.AnalysisFileWritten, 0);
    ASSERT_EQ(platform.dialogs.messages().size(), 2u);
    EXPECT_EQ(platform.dialogs.messages()[1].text.rfind(
                  "解析データファイル portal.adt を作成できませんでした。\r\n", 0),
              0u);
}

TEST_F(AnalysisFileWrite, ValueThatIsNotANumberIsRefusedBeforeTheFileIsTouched) {
    buildFrame(md, false);
    ASSERT_TRUE(platform.files.writeAtomic("portal.adt", "old report").ok);
    md.NodeDisplacement[9] = std::nan("");
    platform.dialogs.queueMessage(MessageResult::No);
    EXPECT_FALSE(writeAnalysisFile(*program, frameReactions(false)));
    EXPECT_EQ(written("portal.adt"), "old report");
    EXPECT_EQ(md.AnalysisFileWritten, 0);
    EXPECT_EQ(platform.dialogs.messages().back().text.rfind(
                  "解析データファイルを作成できませんでした。\r\nportal.adt の 64 行目: ", 0),
              0u);
}

TEST_F(AnalysisFileWrite, FrameWithoutLoadsWritesTheLoadTitleOnly) {
    buildFrame(md, false);
    for (int n = 1; n <= 6; ++n)
        md.NodeLoadFlag[n] = 0;
    md.MemberLoadFlag[2] = md.MemberLoadFlag[5] = 0;
    md.LoadedNodeCount = 0;
    md.LoadedMemberCount = 0;
    const std::string text = cp932ToUtf8(analysisReport(md, frameReactions(false), {}));
    const std::string title = "荷重条件リスト  \x04\x04\x04\x04   "
                              "(節点荷重;全体座標系/等分布荷重;部材座標系）\r\n\r\n\r\n"
                              "  \x04\x04\x04\x04  節点変位リスト";
    EXPECT_NE(text.find(title), std::string::npos);
    EXPECT_NE(text.find("荷重点数: 0 "), std::string::npos);
    EXPECT_NE(text.find("等分布荷重材数: 0 "), std::string::npos);
    EXPECT_EQ(text.find("中間最大モーメント"), std::string::npos);

    // The reader skips the same and goes on to the results.
    auto back = std::make_unique<Model>();
    ItemReader in(analysisReport(md, frameReactions(false), {}), "noloads.adt");
    readAnalysisReport(*back, in);
    EXPECT_EQ(back->LoadedNodeCount, 0);
    EXPECT_EQ(back->LoadedMemberCount, 0);
    EXPECT_FLOAT_EQ(back->MemberEndForce[6][4], 10.0f);
    EXPECT_FLOAT_EQ(back->PinRotation[3][3], 0.0042f);
}

TEST_F(AnalysisFileWrite, DataNameWithColonAndCommaStaysOneItem) {
    buildFrame(md, false);
    md.DataName = "run:1,2";
    const std::string bytes = analysisReport(md, frameReactions(false), {});
    EXPECT_NE(cp932ToUtf8(bytes).find(" デ ー タ 名: run：1，2\r\n"), std::string::npos);
    auto back = std::make_unique<Model>();
    ItemReader in(bytes, "run.adt");
    readAnalysisReport(*back, in);
    EXPECT_EQ(back->NodeCount, 6);
}

// The counts line states what the lists hold, so that the reader reads as many
// lines as there are.
TEST_F(AnalysisFileWrite, CountsStateTheListedNodesAndMembers) {
    buildFrame(md, false);
    md.LoadedNodeCount = 4;          // the load form counted node 5 three times
    md.MemberUniformLoad[3][2] = -7; // left behind by a reset that cleared only the flag
    md.SupportCount = 1;
    const std::string text = cp932ToUtf8(analysisReport(md, frameReactions(false), {}));
    EXPECT_NE(text.find("支持点数: 2 "), std::string::npos);
    EXPECT_NE(text.find("荷重点数: 2 "), std::string::npos);
    EXPECT_NE(text.find("等分布荷重材数: 2 "), std::string::npos);
    EXPECT_EQ(text.find("-70.00E-01"), std::string::npos);
}

// Axial and torsion springs and torsion pins are not shown in the member list;
// their ends get no rotation lines, which the reader could not place.
TEST_F(AnalysisFileWrite, EndsTheFileDoesNotShowGetNoRotationLines) {
    buildFrame(md, false);
    md.SpringStart[6][1] = 900; // axial
    md.SpringEnd[6][4] = 1e5f;  // torsion
    md.PinStartX[6] = -1;       // torsion pin at one end
    md.updateEndSummaries(6);
    ASSERT_EQ(md.MemberStartSprung[6], 1);
    ASSERT_EQ(md.MemberStartPinned[6], 1);
    const std::string text = cp932ToUtf8(analysisReport(md, frameReactions(false), {}));
    const auto springs = text.find("バネ部材;");
    ASSERT_NE(springs, std::string::npos);
    const std::string rotations = text.substr(springs);
    EXPECT_EQ(rotations.find("\r\n   6 "), std::string::npos) << rotations;
    EXPECT_NE(rotations.find("\r\n   3 "), std::string::npos) << rotations;
}

// ---- round trips

// Compares the frame read back with the one written: values to the precision
// of their masks, coordinates as whole centimetres.
void expectSameFrame(const Model& a, const Model& b) {
    auto near = [](double x, double y, double relative) {
        return std::fabs(x - y) <= relative * std::max(std::fabs(x), 1e-12) + 1e-15;
    };
    EXPECT_EQ(a.UnitFactor, b.UnitFactor);
    EXPECT_EQ(a.YoungModulus, b.YoungModulus);
    EXPECT_EQ(a.ShearModulus, b.ShearModulus);
    EXPECT_EQ(a.ShearShapeFactor, b.ShearShapeFactor);
    EXPECT_EQ(a.NodeCount, b.NodeCount);
    EXPECT_EQ(a.MemberCount, b.MemberCount);
    EXPECT_EQ(a.SupportCount, b.SupportCount);
    EXPECT_EQ(a.PinnedEndCount, b.PinnedEndCount);
    EXPECT_EQ(a.SprungEndCount, b.SprungEndCount);
    EXPECT_EQ(a.LoadedNodeCount, b.LoadedNodeCount);
    EXPECT_EQ(a.LoadedMemberCount, b.LoadedMemberCount);
    for (int n = 1; n <= a.NodeCount; ++n) {
        EXPECT_EQ(std::round(a.NodeX[n]), b.NodeX[n]) << n;
        EXPECT_EQ(std::round(a.NodeY[n]), b.NodeY[n]) << n;
        EXPECT_EQ(std::round(a.NodeZ[n]), b.NodeZ[n]) << n;
        EXPECT_EQ(a.NodeIsSupport[n], b.NodeIsSupport[n]) << n;
        EXPECT_EQ(a.NodeLoadFlag[n], b.NodeLoadFlag[n]) << n;
        for (int d = 6 * n - 5; d <= 6 * n; ++d) {
            EXPECT_TRUE(near(a.NodeLoad[d], b.NodeLoad[d], 5e-4)) << d;
            EXPECT_TRUE(near(a.NodeDisplacement[d], b.NodeDisplacement[d], 5e-4)) << d;
        }
    }
    for (int m = 1; m <= a.MemberCount; ++m) {
        EXPECT_EQ(a.MemberStartNode[m], b.MemberStartNode[m]);
        EXPECT_EQ(a.MemberEndNode[m], b.MemberEndNode[m]);
        EXPECT_NEAR(a.MemberArea[m], b.MemberArea[m], 0.005) << m;
        EXPECT_NEAR(a.MemberIy[m], b.MemberIy[m], 0.005) << m;
        EXPECT_NEAR(a.MemberIz[m], b.MemberIz[m], 0.005) << m;
        EXPECT_NEAR(a.MemberAngle[m], b.MemberAngle[m], 0.00005) << m;
        for (int k = 5; k <= 6; ++k) {
            EXPECT_TRUE(near(a.SpringStart[m][k], b.SpringStart[m][k], 5e-5)) << m;
            EXPECT_TRUE(near(a.SpringEnd[m][k], b.SpringEnd[m][k], 5e-5)) << m;
        }
        EXPECT_EQ(a.PinStartY[m], b.PinStartY[m]) << m;
        EXPECT_EQ(a.PinStartZ[m], b.PinStartZ[m]) << m;
        EXPECT_EQ(a.PinEndY[m], b.PinEndY[m]) << m;
        EXPECT_EQ(a.PinEndZ[m], b.PinEndZ[m]) << m;
        EXPECT_EQ(a.MemberStartPinned[m], b.MemberStartPinned[m]) << m;
        EXPECT_EQ(a.MemberEndPinned[m], b.MemberEndPinned[m]) << m;
        EXPECT_EQ(a.MemberStartSprung[m], b.MemberStartSprung[m]) << m;
        EXPECT_EQ(a.MemberEndSprung[m], b.MemberEndSprung[m]) << m;
        EXPECT_EQ(a.MemberLoadFlag[m], b.MemberLoadFlag[m]) << m;
        for (int k = 1; k <= 2; ++k)
            EXPECT_TRUE(near(a.MemberUniformLoad[m][k], b.MemberUniformLoad[m][k], 5e-4)) << m;
        for (int k = 1; k <= 9; ++k)
            EXPECT_TRUE(near(a.MemberEndForce[m][k], b.MemberEndForce[m][k], 5e-4)) << m << k;
        for (int k = 1; k <= 4; ++k) {
            const bool sprung = k <= 2 ? a.MemberStartSprung[m] : a.MemberEndSprung[m];
            if (sprung) {
                EXPECT_TRUE(near(a.SpringRotation[m][k], b.SpringRotation[m][k], 5e-4)) << m;
            }
            if (a.MemberStartPinned[m] != a.MemberEndPinned[m]) {
                EXPECT_TRUE(near(a.PinRotation[m][k], b.PinRotation[m][k], 5e-4)) << m;
            }
        }
    }
}

class AnalysisFileRoundTrip : public AnalysisFileWrite,
                              public ::testing::WithParamInterface<bool> {};

TEST_P(AnalysisFileRoundTrip, FrameWrittenAndReadBackIsTheSame) {
    const bool older = GetParam();
    buildFrame(md, older);
    ASSERT_TRUE(writeAnalysisFile(*program, frameReactions(older)));

    auto other = Program::create(platform.services());
    other->model.UnitFactor = older ? kSiUnitFactor : 1.0f;
    platform.dialogs.queueOpenFile(std::string("portal.adt"));
    ASSERT_TRUE(CALLADT_ON(*other));
    expectSameFrame(md, other->model);
    EXPECT_EQ(other->model.AnalysisDone, 1);
}

INSTANTIATE_TEST_SUITE_P(BothUnitSystems, AnalysisFileRoundTrip, ::testing::Values(false, true));

TEST_F(AnalysisFileWrite, ReportReadBackAndWrittenAgainIsUnchanged) {
    buildFrame(md, false);
    md.NodeX[3] = 600; // whole centimetres, as a file read back has them
    md.NodeZ[6] = 350;
    md.MemberLoadMoment[2][13] = -12 * 0.01f * 600 * 600 / 8;
    md.MemberLoadMoment[2][14] = 3 * 0.01f * 600 * 600 / 8;
    const std::string first = analysisReport(md, frameReactions(false), {});

    ASSERT_TRUE(platform.files.writeAtomic("again.adt", first).ok);
    auto other = Program::create(platform.services());
    platform.dialogs.queueOpenFile(std::string("again.adt"));
    ASSERT_TRUE(CALLADT_ON(*other));
    other->model.DataName = "portal";
    EXPECT_EQ(analysisReport(other->model, frameReactions(false), {}), first);
}

TEST_F(AnalysisFileWrite, FileWithCountsTheModelGotWrongReadsBack) {
    buildFrame(md, false);
    md.LoadedNodeCount = 4;
    md.MemberUniformLoad[3][2] = -7;
    md.SpringStart[6][1] = 900;
    md.PinStartX[6] = -1;
    md.updateEndSummaries(6);
    ASSERT_TRUE(writeAnalysisFile(*program, frameReactions(false)));
    auto other = Program::create(platform.services());
    platform.dialogs.queueOpenFile(std::string("portal.adt"));
    ASSERT_TRUE(CALLADT_ON(*other)) << platform.dialogs.messages().back().text;
    EXPECT_EQ(other->model.LoadedNodeCount, 2);
    EXPECT_EQ(other->model.LoadedMemberCount, 2);
    EXPECT_EQ(other->model.MemberLoadFlag[3], 0);
    EXPECT_FLOAT_EQ(other->model.PinRotation[3][3], 0.0042f);
}

} // namespace
} // namespace rahmen
