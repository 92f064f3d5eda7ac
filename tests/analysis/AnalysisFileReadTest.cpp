// Reading analysis data files: in full (CALLADT_ON) from the files this
// program writes and from hand-written files of older layouts, damaged files,
// and the loads only (CALL_LOAD).
#include "analysis/AnalysisFileHandlers.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace rahmen {
namespace {

std::string fixture(const std::string& name) {
    std::ifstream in(std::string(RAHMEN_FIXTURES) + "/adt/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The main menu's controls that a read changes.
class Menu : public Form {
public:
    Menu() : Form("MAINFORM", "プログラムメニュー", 400, 300) {
        for (const char* name : {"BUTTON27", "BUTTON52", "BUTTON68", "BUTTON84", "BUTTON91"})
            addButton(name, name, 0, 0, 10, 10);
        addButton("BUTTON4", "データ  作図", 0, 0, 10, 10).enabled = false;
        addButton("BUTTON88", "ﾘｾｯﾄ", 0, 0, 10, 10).enabled = false;
    }
};

class AnalysisFileRead : public ::testing::Test {
protected:
    ScriptedPlatform platform;
    std::unique_ptr<Program> program = Program::create(platform.services());
    Model& md = program->model;
    Menu menu;

    void SetUp() override { program->mainMenu = &menu; }

    // Puts the bytes in the current folder under `name` and reads them in full.
    bool readFile(const std::string& name, const std::string& bytes) {
        EXPECT_TRUE(platform.files.writeAtomic(name, bytes).ok);
        platform.dialogs.queueOpenFile(name);
        return CALLADT_ON(*program);
    }
    bool readFixture(const std::string& name) { return readFile(name, fixture(name)); }

    // A fixture with one text replaced (the text must occur exactly once).
    static std::string edited(const std::string& name, const std::string& from,
                              const std::string& to) {
        std::string text = cp932ToUtf8(fixture(name));
        const auto at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        EXPECT_EQ(text.find(from, at + 1), std::string::npos) << from;
        if (at != std::string::npos) text.replace(at, from.size(), to);
        return utf8ToCp932(text);
    }

    std::string lastMessage() const {
        const auto& log = platform.dialogs.messages();
        return log.empty() ? std::string() : log.back().text;
    }
};

TEST_F(AnalysisFileRead, ReportOfThisProgramRestoresModelResultsAndMenu) {
    md.UnitFactor = 1; // the file's SI units win
    ASSERT_TRUE(readFixture("portal_si.adt"));

    ASSERT_EQ(platform.dialogs.openFiles().size(), 1u);
    EXPECT_EQ(platform.dialogs.openFiles()[0].title, "解析データの呼出");
    EXPECT_EQ(platform.dialogs.openFiles()[0].filterLabel, "データ(*.adt)");
    EXPECT_EQ(platform.dialogs.openFiles()[0].pattern, "*.adt");
    EXPECT_TRUE(platform.dialogs.messages().empty());
    EXPECT_FALSE(program->progress.isOpen());
    EXPECT_EQ(program->progress.picture()->items().back().text, "　　　解析データ呼出し中");

    EXPECT_FLOAT_EQ(md.UnitFactor, 98.0665f);
    EXPECT_EQ(program->UnitsToShow, 1);
    EXPECT_EQ(md.DataName, "portal_si");
    EXPECT_EQ(md.AnalysisDone, 1);
    EXPECT_TRUE(menu.c("BUTTON4").enabled);
    EXPECT_TRUE(menu.c("BUTTON88").enabled);
    for (const char* name : {"BUTTON27", "BUTTON52", "BUTTON68", "BUTTON84", "BUTTON91"})
        EXPECT_FALSE(menu.c(name).enabled) << name;

    EXPECT_EQ(md.NodeCount, 6);
    EXPECT_EQ(md.MemberCount, 6);
    EXPECT_EQ(md.SupportCount, 2);
    EXPECT_EQ(md.PinnedEndCount, 3);
    EXPECT_EQ(md.SprungEndCount, 4);
    EXPECT_EQ(md.LoadedNodeCount, 2);
    EXPECT_EQ(md.LoadedMemberCount, 2);
    EXPECT_EQ(md.YoungModulus, 205000);
    EXPECT_EQ(md.ShearModulus, 79000);
    EXPECT_FLOAT_EQ(md.ShearShapeFactor, 1.2f);

    // Coordinates come back as whole centimetres (600.4 → 600, 349.5 → 350).
    EXPECT_EQ(md.NodeX[3], 600);
    EXPECT_EQ(md.NodeZ[6], 350);
    EXPECT_EQ(md.NodeY[5], 500);
    EXPECT_EQ(md.NodeIsSupport[1], -1);
    EXPECT_EQ(md.NodeIsSupport[4], -1);
    EXPECT_EQ(md.NodeIsSupport[2], 0);

    EXPECT_EQ(md.MemberStartNode[5], 3);
    EXPECT_EQ(md.MemberEndNode[5], 6);
    EXPECT_FLOAT_EQ(md.MemberArea[2], 102.5f);
    EXPECT_FLOAT_EQ(md.MemberIy[3], 36000.75f);
    EXPECT_FLOAT_EQ(md.MemberIz[6], 24003.0f);
    EXPECT_FLOAT_EQ(md.MemberAngle[6], 0.5236f);
    // Springs are listed in kN·m/rad and kept in kN·cm/rad.
    EXPECT_FLOAT_EQ(md.SpringStart[1][5], 5.0e6f);
    EXPECT_FLOAT_EQ(md.SpringStart[2][6], 2.0e6f);
    EXPECT_FLOAT_EQ(md.SpringEnd[2][6], 3.5e6f);
    EXPECT_FLOAT_EQ(md.SpringEnd[5][5], 1.25e7f);
    EXPECT_EQ(md.MemberStartSprung[1], 1);
    EXPECT_EQ(md.MemberEndSprung[1], 0);
    EXPECT_EQ(md.MemberEndSprung[5], 1);
    EXPECT_EQ(md.PinEndY[3], -1);
    EXPECT_EQ(md.PinStartZ[4], -1);
    EXPECT_EQ(md.PinEndZ[4], -1);
    EXPECT_EQ(md.MemberEndPinned[3], 1);
    EXPECT_EQ(md.MemberStartPinned[3], 0);

    // Loads: moments listed in kN·m, kept in kN·cm.
    EXPECT_EQ(md.NodeLoadFlag[5], 1);
    EXPECT_EQ(md.NodeLoadFlag[6], 1);
    EXPECT_EQ(md.NodeLoadFlag[2], 0);
    EXPECT_FLOAT_EQ(md.NodeLoad[27], -20.0f);
    EXPECT_FLOAT_EQ(md.NodeLoad[31], 10.0f);
    EXPECT_FLOAT_EQ(md.NodeLoad[35], 500.0f);
    EXPECT_EQ(md.MemberLoadFlag[2], 1);
    EXPECT_EQ(md.MemberLoadFlag[5], 1);
    EXPECT_FLOAT_EQ(md.MemberUniformLoad[2][1], 3.0f);
    EXPECT_FLOAT_EQ(md.MemberUniformLoad[2][2], -12.0f);
    EXPECT_FLOAT_EQ(md.MemberUniformLoad[5][1], -2.0f);
    // The midspan moments of the loads, from the whole-centimetre length:
    // wz·L²/8 = -0.12 kN/cm × 600² / 8.
    EXPECT_NEAR(md.MemberLoadMoment[2][13], -5400.0, 0.01);
    EXPECT_NEAR(md.MemberLoadMoment[2][14], 1350.0, 0.01);
    EXPECT_NEAR(md.MemberLoadMoment[5][14], -625.0, 0.01);

    EXPECT_NEAR(md.NodeDisplacement[7], 0.0375, 1e-9);
    EXPECT_NEAR(md.NodeDisplacement[11], -0.002429, 1e-9);
    EXPECT_EQ(md.NodeDisplacement[1], 0.0);

    // End forces: the end line's N, Qy, Qz, not the start line's.
    EXPECT_FLOAT_EQ(md.MemberEndForce[2][7], 4.75f);
    EXPECT_FLOAT_EQ(md.MemberEndForce[2][8], 5.0f);
    EXPECT_FLOAT_EQ(md.MemberEndForce[2][9], -5.25f);
    EXPECT_FLOAT_EQ(md.MemberEndForce[2][1], 3.25f);
    EXPECT_FLOAT_EQ(md.MemberEndForce[2][6], -4.5f);
    EXPECT_FLOAT_EQ(md.MemberEndForce[6][4], 10.0f);

    EXPECT_FLOAT_EQ(md.SpringRotation[1][1], 0.00123f);
    EXPECT_FLOAT_EQ(md.SpringRotation[2][2], -0.000456f);
    EXPECT_FLOAT_EQ(md.SpringRotation[2][4], 0.000789f);
    EXPECT_FLOAT_EQ(md.SpringRotation[5][3], -2.5e-5f);
    EXPECT_FLOAT_EQ(md.PinRotation[3][3], 0.0042f);
}

TEST_F(AnalysisFileRead, OlderUnitsReportSetsOlderUnits) {
    ASSERT_TRUE(readFixture("portal_older.adt"));
    EXPECT_EQ(md.UnitFactor, 1.0f);
    EXPECT_EQ(program->UnitsToShow, 1);
    EXPECT_EQ(md.YoungModulus, 2100);
    EXPECT_FLOAT_EQ(md.NodeLoad[35], 50.0f); // 0.5 t·m
    EXPECT_FLOAT_EQ(md.MemberUniformLoad[2][2], -1.2f);
}

TEST_F(AnalysisFileRead, CancelledDialogDoesNothing) {
    platform.dialogs.queueOpenFile(std::nullopt);
    EXPECT_FALSE(CALLADT_ON(*program));
    EXPECT_FALSE(program->progress.isOpen());
    EXPECT_EQ(program->progress.picture()->items().size(), 0u);
    EXPECT_EQ(md.AnalysisDone, 0);
    EXPECT_TRUE(menu.c("BUTTON52").enabled);
}

TEST_F(AnalysisFileRead, DataNameComesFromTheChosenPathWithoutFolderAndExtension) {
    std::filesystem::create_directory(platform.files.path("old runs"));
    ASSERT_TRUE(readFile("old runs/frame.v2.adt", fixture("portal_si.adt")));
    EXPECT_EQ(md.DataName, "frame.v2");
}

TEST_F(AnalysisFileRead, LegacyMemberLayoutTakesSpringsAsTheyStandAndEndSummaries) {
    ASSERT_TRUE(readFixture("legacy_members.adt")) << lastMessage();
    EXPECT_EQ(md.DataName, "legacy_members");
    EXPECT_EQ(md.NodeCount, 3);
    EXPECT_EQ(md.MemberCount, 2);
    EXPECT_EQ(md.MemberStartNode[1], 1);
    EXPECT_EQ(md.MemberEndNode[1], 2);
    EXPECT_EQ(md.MemberStartNode[2], 2);
    EXPECT_EQ(md.MemberEndNode[2], 3);
    EXPECT_FLOAT_EQ(md.MemberAngle[2], 0.5236f);
    EXPECT_FLOAT_EQ(md.SpringStart[1][5], 2.5e6f); // no factor 100
    EXPECT_EQ(md.MemberStartSprung[1], 1);
    EXPECT_EQ(md.MemberEndPinned[2], 1);
    EXPECT_EQ(md.MemberStartPinned[2], 0);
    EXPECT_EQ(md.PinEndY[2], 0); // the layout has no pins per axis
    EXPECT_EQ(md.PinEndZ[2], 0);
    EXPECT_EQ(md.PinnedEndCount, 1);
    EXPECT_EQ(md.SprungEndCount, 1);
    EXPECT_EQ(md.NodeIsSupport[1], -1);
    EXPECT_FLOAT_EQ(md.NodeLoad[13], 15.0f);
    EXPECT_FLOAT_EQ(md.NodeLoad[17], 250.0f);
    EXPECT_FLOAT_EQ(md.MemberUniformLoad[2][2], -8.0f);
    EXPECT_FLOAT_EQ(md.MemberEndForce[2][9], 30.0f);
    EXPECT_FLOAT_EQ(md.MemberEndForce[1][5], 2.0f);
    EXPECT_FLOAT_EQ(md.SpringRotation[1][1], -1.2e-4f);
    EXPECT_FLOAT_EQ(md.PinRotation[2][3], 3.3e-3f);
    EXPECT_NEAR(md.NodeDisplacement[17], -6.1e-3, 1e-12);
}

TEST_F(AnalysisFileRead, LegacyMemberLayoutWithTheSecondColumnLine) {
    const std::string bytes =
        edited("legacy_members.adt",
               " No.   (rad)    終点→  番号　  (kN･cm/rad)     (kN･cm/rad)     ピン   バネ",
               "  No. (下)→ 終点   部材角(rad)     (cm4)     ;Iz     (kN･m/rad)     (kN･m/rad)"
               "     終ﾋﾟﾝ   終ﾊﾞﾈ");
    ASSERT_TRUE(readFile("legacy_b.adt", bytes)) << lastMessage();
    EXPECT_FLOAT_EQ(md.SpringStart[1][5], 2.5e6f);
    EXPECT_FLOAT_EQ(md.PinRotation[2][3], 3.3e-3f);
}

TEST_F(AnalysisFileRead, OlderFileWithoutSupportAndLoadedMemberCounts) {
    md.SupportCount = 5; // left from an earlier frame: the file decides
    ASSERT_TRUE(readFixture("no_support_count.adt")) << lastMessage();
    EXPECT_EQ(md.UnitFactor, 1.0f);
    EXPECT_EQ(md.NodeCount, 4);
    EXPECT_EQ(md.MemberCount, 3);
    EXPECT_EQ(md.PinnedEndCount, 0);
    EXPECT_EQ(md.LoadedNodeCount, 1);
    // The support list and the uniform-load list are read without counts.
    EXPECT_EQ(md.SupportCount, 2);
    EXPECT_EQ(md.NodeIsSupport[1], -1);
    EXPECT_EQ(md.NodeIsSupport[4], -1);
    EXPECT_EQ(md.LoadedMemberCount, 1);
    EXPECT_EQ(md.MemberLoadFlag[2], 1);
    EXPECT_FLOAT_EQ(md.MemberUniformLoad[2][2], -2.0f);
    EXPECT_FLOAT_EQ(md.MemberArea[2], 84.12f);
    EXPECT_FLOAT_EQ(md.MemberIz[2], 1600.0f);
    EXPECT_FLOAT_EQ(md.MemberEndForce[2][9], 8.8f);
    EXPECT_FLOAT_EQ(md.MemberEndForce[3][5], 1.31f);
    EXPECT_EQ(md.AnalysisDone, 1);
}

TEST_F(AnalysisFileRead, LoadCountAboveTheListedNodesStopsAtTheEndOfTheList) {
    // A report whose counts line overstates the loaded nodes, as the load form
    // counted them, still reads.
    const std::string bytes = edited("portal_si.adt", "荷重点数: 2 ", "荷重点数: 5 ");
    ASSERT_TRUE(readFile("overcount.adt", bytes)) << lastMessage();
    EXPECT_EQ(md.LoadedNodeCount, 2);
    EXPECT_FLOAT_EQ(md.MemberUniformLoad[2][2], -12.0f);
    EXPECT_FLOAT_EQ(md.PinRotation[3][3], 0.0042f);
}

TEST_F(AnalysisFileRead, UnknownUnitWordLeavesUnitsToTheEndForceColumns) {
    const std::string bytes = edited("portal_si.adt", "　SI単位　", "　SIunit　");
    md.UnitFactor = 1;
    ASSERT_TRUE(readFile("unknown.adt", bytes)) << lastMessage();
    EXPECT_FLOAT_EQ(md.UnitFactor, 98.0665f);
}

TEST_F(AnalysisFileRead, OlderUnitWordWithKilonewtonColumnsReadsToTheEndAndStops) {
    const std::string bytes = edited("portal_si.adt", "　SI単位　", "　旧単位　");
    EXPECT_FALSE(readFile("mixed.adt", bytes));
    EXPECT_EQ(lastMessage(), "解析データの読込みを中止しました。\r\nmixed.adt の 110 行目: "
                             "ファイルが途中で終わっています（データが足りません）");
    EXPECT_EQ(md.AnalysisDone, 0);
}

TEST_F(AnalysisFileRead, TruncatedFileKeepsWhatWasReadAndDoesNotMarkTheAnalysisDone) {
    const std::string whole = fixture("portal_si.adt");
    // Cut inside the member list: nodes and the first members are in.
    const auto at = whole.find(utf8ToCp932("   3           3"));
    ASSERT_NE(at, std::string::npos);
    EXPECT_FALSE(readFile("cut.adt", whole.substr(0, at)));
    EXPECT_EQ(lastMessage(), "解析データの読込みを中止しました。\r\ncut.adt の 36 行目: "
                             "ファイルが途中で終わっています（データが足りません）");
    EXPECT_EQ(md.NodeCount, 6);
    EXPECT_EQ(md.NodeX[3], 600);
    EXPECT_FLOAT_EQ(md.MemberArea[2], 102.5f);
    EXPECT_EQ(md.AnalysisDone, 0);
    EXPECT_EQ(md.DataName, "");
    EXPECT_FALSE(program->progress.isOpen());
    EXPECT_TRUE(menu.c("BUTTON52").enabled);
    EXPECT_FALSE(menu.c("BUTTON4").enabled);
}

TEST_F(AnalysisFileRead, NumbersOutsideTheTablesStopTheReadingNamingFileAndLine) {
    struct Case {
        const char* from;
        const char* to;
        const char* message;
    };
    const Case cases[] = {
        {" 節点数: 6 ", " 節点数: 1501 ",
         "bad.adt の 13 行目: 節点数は 1500 までです（1501 が指定されました）。"},
        {"部材数: 6 ", "部材数: 3001 ",
         "bad.adt の 13 行目: 部材数は 3000 までです（3001 が指定されました）。"},
        {"支持点数: 2 ", "支持点数: 7 ",
         "bad.adt の 13 行目: 支持点数は 6 までです（7 が指定されました）。"},
        {" 節点数: 6 ", " 節点数: -2 ", "bad.adt の 13 行目: 節点数に負の値 -2 は指定できません。"},
        {"      6           600            500            350",
         "      7           600            500            350",
         "bad.adt の 26 行目: 節点番号 7 は 1 から 6 の範囲にありません"},
        {"   6           5        106.50", "   0           5        106.50",
         "bad.adt の 43 行目: 部材番号 0 は 1 から 6 の範囲にありません"},
        {"   2           2        102.50", "   2           9        102.50",
         "bad.adt の 35 行目: 節点番号 9 は 1 から 6 の範囲にありません"},
        {"   5              -20.00E-01", "   8              -20.00E-01",
         "bad.adt の 56 行目: 等分布荷重の部材番号 8 は 1 から 6 の範囲にありません"},
        {"   4    26.25E-01", "  44    26.25E-01",
         "bad.adt の 76 行目: 支持点の節点番号 44 は 1 から 6 の範囲にありません"},
        {"      1             0              0              0",
         "    1.5             0              0              0",
         "bad.adt の 21 行目: 節点番号 が整数ではありません（1.5）"},
        {"   1    12.30E-04", "   1    12.30E+34",
         "bad.adt の 101 行目: 数値 が大きすぎます（1.23E+35、絶対値は 1E+30 まで）"},
        {"   5           3        105.50", "   6           3        105.50",
         "bad.adt の 43 行目: 部材番号 6 が二度あります"},
        {"  No. (下)→ 終点   部材角(rad)", "  No. (上)→ 終点   部材角(rad)",
         "bad.adt の 32 行目: 部材条件リストの見出しが読めません"},
        {"   2  始点: -47.50E-01", "   2  始点: -47.50X-01",
         "bad.adt の 84 行目: 数値が読めません（-47.50X-01）"},
    };
    for (const Case& c : cases) {
        ScriptedPlatform fresh;
        auto p = Program::create(fresh.services());
        const std::string bytes = edited("portal_si.adt", c.from, c.to);
        ASSERT_TRUE(fresh.files.writeAtomic("bad.adt", bytes).ok);
        fresh.dialogs.queueOpenFile("bad.adt");
        EXPECT_FALSE(CALLADT_ON(*p)) << c.to;
        ASSERT_EQ(fresh.dialogs.messages().size(), 1u) << c.to;
        EXPECT_EQ(fresh.dialogs.messages()[0].text,
                  std::string("解析データの読込みを中止しました。\r\n") + c.message);
        EXPECT_EQ(fresh.dialogs.messages()[0].title, "rahmen");
        EXPECT_EQ(p->model.AnalysisDone, 0);
        EXPECT_LE(p->model.NodeCount, kMaxNodes);
        EXPECT_LE(p->model.MemberCount, kMaxMembers);
    }
}

TEST_F(AnalysisFileRead, NodesAndMembersReadDropWhatAnEarlierFrameLeftOnThem) {
    // Flags of an earlier frame on nodes and members that the file describes.
    md.NodeIsSupport[2] = -1;
    md.NodeLoadFlag[3] = 1;
    md.MemberLoadFlag[6] = 1;
    md.MemberStartSprung[6] = 1;
    md.SpringStart[6][1] = 800; // axial spring: not in the file
    md.PinStartX[3] = -1;       // torsion pin: not in the file
    ASSERT_TRUE(readFixture("portal_si.adt")) << lastMessage();
    EXPECT_EQ(md.NodeIsSupport[2], 0);
    EXPECT_EQ(md.NodeLoadFlag[3], 0);
    EXPECT_EQ(md.MemberLoadFlag[6], 0);
    EXPECT_EQ(md.MemberStartSprung[6], 0);
    EXPECT_EQ(md.SpringStart[6][1], 0);
    EXPECT_EQ(md.PinStartX[3], 0);
    EXPECT_EQ(md.SprungEndCount, 4);
    EXPECT_EQ(md.PinnedEndCount, 3);
}

// ---- CALL_LOAD

class CallLoad : public AnalysisFileRead {
protected:
    // The frame on screen: the portal's six nodes and members, no loads.
    void SetUp() override {
        AnalysisFileRead::SetUp();
        md.NodeCount = 6;
        md.MemberCount = 6;
        md.NodeX[3] = 611;
        md.NodeIsSupport[1] = md.NodeIsSupport[4] = -1;
        md.NodeDisplacement[7] = 0.5;
        ASSERT_TRUE(platform.files.writeAtomic("portal.adt", fixture("portal_si.adt")).ok);
    }
    bool callLoad() {
        platform.dialogs.queueOpenFile("portal.adt");
        return CALL_LOAD(*program);
    }
};

TEST_F(CallLoad, TakesOnlyTheLoadsWithMomentsTimes100) {
    ASSERT_TRUE(callLoad()) << lastMessage();
    EXPECT_TRUE(platform.dialogs.messages().empty());
    EXPECT_EQ(platform.dialogs.openFiles()[0].title, "解析データの呼出");
    EXPECT_FALSE(program->progress.isOpen());
    EXPECT_EQ(program->progress.picture()->items().back().text, "　　　解析データ呼出し中");

    EXPECT_FLOAT_EQ(md.NodeLoad[27], -20.0f);
    EXPECT_FLOAT_EQ(md.NodeLoad[31], 10.0f);
    EXPECT_FLOAT_EQ(md.NodeLoad[35], 500.0f);
    EXPECT_EQ(md.NodeLoadFlag[5], 1);
    EXPECT_EQ(md.NodeLoadFlag[6], 1);
    EXPECT_EQ(md.LoadedNodeCount, 2);
    EXPECT_FLOAT_EQ(md.MemberUniformLoad[2][1], 3.0f);
    EXPECT_FLOAT_EQ(md.MemberUniformLoad[5][1], -2.0f);
    EXPECT_EQ(md.MemberLoadFlag[2], 1);
    EXPECT_EQ(md.LoadedMemberCount, 2);

    // Nothing else of the file reaches the model.
    EXPECT_EQ(md.NodeX[3], 611);
    EXPECT_EQ(md.NodeDisplacement[7], 0.5);
    EXPECT_EQ(md.MemberArea[2], 0);
    EXPECT_EQ(md.MemberEndForce[2][7], 0);
    EXPECT_EQ(md.SpringStart[1][5], 0);
    EXPECT_EQ(md.AnalysisDone, 0);
    EXPECT_EQ(md.DataName, "");
}

TEST_F(CallLoad, OtherUnitSystemIsAskedAboutAndNoStoresNothing) {
    md.UnitFactor = 1;
    platform.dialogs.queueMessage(MessageResult::No);
    EXPECT_FALSE(callLoad());
    ASSERT_EQ(platform.dialogs.messages().size(), 1u);
    const MessageCall& asked = platform.dialogs.messages()[0];
    EXPECT_EQ(asked.text, "解析単位と荷重の単位が違います、読込みますか");
    EXPECT_EQ(asked.title, "rahmen");
    EXPECT_EQ(asked.buttons, MessageButtons::YesNo);
    EXPECT_EQ(asked.icon, MessageIcon::Question);
    EXPECT_FALSE(program->progress.isOpen());
    EXPECT_EQ(md.NodeLoadFlag[5], 0);
    EXPECT_EQ(md.LoadedNodeCount, 0);
    EXPECT_EQ(md.MemberLoadFlag[2], 0);
}

// The numbers of the other unit system are converted: 1 tf = 9.80665 kN, for
// forces, moments and line loads alike (-20 kN = -2.0394324 tf).
TEST_F(CallLoad, OtherUnitSystemAnsweredYesConvertsTheValues) {
    md.UnitFactor = 1;
    platform.dialogs.queueMessage(MessageResult::Yes);
    ASSERT_TRUE(callLoad());
    EXPECT_FLOAT_EQ(md.NodeLoad[27], -2.0394324f);
    EXPECT_FLOAT_EQ(md.MemberUniformLoad[2][2], -1.2236594f);
    EXPECT_EQ(md.UnitFactor, 1.0f);
}

TEST_F(CallLoad, OlderUnitsFileIntoSiProgramIsAskedAboutAndConverted) {
    ASSERT_TRUE(platform.files.writeAtomic("portal.adt", fixture("portal_older.adt")).ok);
    platform.dialogs.queueMessage(MessageResult::Yes);
    ASSERT_TRUE(callLoad());
    EXPECT_EQ(platform.dialogs.messages()[0].text, "解析単位と荷重の単位が違います、読込みますか");
    // 0.5 t·m = 50 t·cm = 490.3325 kN·cm.
    EXPECT_FLOAT_EQ(md.NodeLoad[35], 490.3325f);
}

TEST_F(CallLoad, LoadsOnSupportNodesAreStrippedWithTheLoadFormsMessage) {
    md.NodeIsSupport[5] = -1;
    ASSERT_TRUE(callLoad());
    EXPECT_EQ(md.NodeLoadFlag[5], 0);
    EXPECT_EQ(md.NodeLoad[27], 0);
    EXPECT_EQ(md.NodeLoadFlag[6], 1);
    EXPECT_EQ(md.LoadedNodeCount, 1);
    EXPECT_EQ(lastMessage(), "支持点5 は荷重付加点から除きます。");
}

TEST_F(CallLoad, LoadsOfTheFileReplaceTheLoadsOnScreen) {
    md.NodeLoadFlag[2] = 1;
    md.NodeLoad[7] = 9;
    md.NodeLoad[29] = 4; // node 5, Z: the file gives X and Y only
    md.MemberLoadFlag[1] = 1;
    md.MemberUniformLoad[1][1] = 7;
    md.LoadedNodeCount = 2;
    md.LoadedMemberCount = 1;
    ASSERT_TRUE(callLoad());
    EXPECT_EQ(md.NodeLoadFlag[2], 0);
    EXPECT_EQ(md.NodeLoad[7], 0);
    EXPECT_EQ(md.NodeLoad[29], 0);
    EXPECT_EQ(md.MemberLoadFlag[1], 0);
    EXPECT_EQ(md.MemberUniformLoad[1][1], 0);
    EXPECT_EQ(md.LoadedNodeCount, 2);
    EXPECT_EQ(md.LoadedMemberCount, 2);
}

TEST_F(CallLoad, FileOfAnotherFrameSizeIsRefusedNamingBothCounts) {
    md.NodeCount = 5;
    md.NodeLoadFlag[2] = 1;
    md.LoadedNodeCount = 1;
    EXPECT_FALSE(callLoad());
    EXPECT_EQ(lastMessage(), "荷重の読込みを中止しました。\r\nportal.adt の 13 行目: "
                             "節点数 6・部材数 6 の解析データです。"
                             "画面の骨組は節点数 5・部材数 6 です");
    // Nothing of the loads on screen is lost.
    EXPECT_EQ(md.NodeLoadFlag[2], 1);
    EXPECT_EQ(md.NodeLoadFlag[5], 0);
    EXPECT_EQ(md.LoadedNodeCount, 1);
    EXPECT_FALSE(program->progress.isOpen());
}

TEST_F(CallLoad, CancelledDialogDoesNothing) {
    platform.dialogs.queueOpenFile(std::nullopt);
    EXPECT_FALSE(CALL_LOAD(*program));
    EXPECT_FALSE(program->progress.isOpen());
    EXPECT_EQ(md.LoadedNodeCount, 0);
}

TEST_F(CallLoad, OlderFileWithoutLoadedMemberCountStillGivesTheMemberLoads) {
    ASSERT_TRUE(platform.files.writeAtomic("portal.adt", fixture("no_support_count.adt")).ok);
    md.UnitFactor = 1;
    md.NodeCount = 4;
    md.MemberCount = 3;
    md.NodeIsSupport[5] = 0;
    ASSERT_TRUE(callLoad()) << lastMessage();
    EXPECT_FLOAT_EQ(md.NodeLoad[7], 1.5f);
    EXPECT_FLOAT_EQ(md.MemberUniformLoad[2][2], -2.0f);
    EXPECT_EQ(md.LoadedMemberCount, 1);
}

} // namespace
} // namespace rahmen
