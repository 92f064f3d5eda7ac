#include "LoadFormTesting.h"

#include "forms/Form10.h"
#include "model/LoadCases.h"

#include <memory>

namespace rahmen::testing {
namespace {

class LoadForm : public LoadFormsTest {
protected:
    LoadForm() {
        twoBayFrame();
        for (const char* name : {"BUTTON3", "BUTTON35", "BUTTON93"})
            menu.c(name).enabled = true;
        menu.c("BUTTON92").enabled = false;
    }

    Form10& open() { return *dynamic_cast<Form10*>(p->openForm("FORM10")); }

    // Types one row of a table, column by column.
    template <class Box> void row(Form10& f, Box box, int i, std::vector<std::string> values) {
        for (std::size_t j = 0; j < values.size(); ++j)
            ASSERT_TRUE(f.typeText(box(i, static_cast<int>(j)), values[j]));
    }
    void nodeRow(Form10& f, int i, std::vector<std::string> values) {
        row(f, Form10::nodeBox, i, values);
    }
    void levelRow(Form10& f, int i, std::vector<std::string> values) {
        row(f, Form10::levelBox, i, values);
    }
    void memberRow(Form10& f, int i, std::vector<std::string> values) {
        row(f, Form10::memberBox, i, values);
    }

    float load(int n, int k) { return m().NodeLoad[6 * n - 6 + k]; } // k = 1..6
};

TEST_F(LoadForm, OpensWithTheCaptionsOfTheUnitSystem) {
    Form10& f = open();
    EXPECT_EQ(f.caption(), "荷重入力（全体座標系）");
    EXPECT_EQ(f.c("TEXT106").caption, "単位 ： kN , m");
    EXPECT_EQ(f.c("GROUP22").caption, "等分布荷重の設定(部材座標系 ：kN/m)");
    EXPECT_EQ(f.c("GROUP21").caption, "レベルごとに荷重設定(全荷重を入力、節点に振分けます)");
    EXPECT_EQ(f.c("HEAD20_6").caption, "Mｙ方向");
    EXPECT_EQ(f.focus(), "RADIO45");
    f.close();
    m().UnitFactor = 1;
    Form10& older = open();
    EXPECT_EQ(older.c("TEXT106").caption, "単位 ： t , m");
    EXPECT_EQ(older.c("GROUP22").caption, "等分布荷重の設定(部材座標系：t/m)");
}

TEST_F(LoadForm, BeforeAModeIsChosenTheBoxesAreDisabledAndTheButtonsAskForOne) {
    Form10& f = open();
    for (const char* box : {"EDIT103", "EDIT170", "EDIT195"})
        EXPECT_FALSE(f.c(box).enabled) << box;
    f.click("BUTTON30");
    f.click("BUTTON31");
    EXPECT_TRUE(f.isOpen());
    EXPECT_EQ(messages(), std::vector<std::string>(2, "荷重の設定方法を選択してください。"));
    EXPECT_EQ(m().LoadedNodeCount, 0);
}

TEST_F(LoadForm, NodalLoadsOfALaterPageReplaceTheEarlierOnes) {
    Form10& f = open();
    f.click("RADIO45");
    EXPECT_FALSE(f.c("EDIT170").enabled);
    EXPECT_FALSE(f.c("EDIT195").enabled);
    nodeRow(f, 0, {"5", "10", "-2", "-30", "1.5", "0", "-0.25"});
    nodeRow(f, 1, {"7", "4"});
    nodeRow(f, 3, {"8", "99"}); // after the empty row: not read
    f.click("BUTTON30");
    EXPECT_EQ(load(5, 1), 10.0f);
    EXPECT_EQ(load(5, 2), -2.0f);
    EXPECT_EQ(load(5, 3), -30.0f);
    EXPECT_EQ(load(5, 4), 150.0f); // Mx 1.5 kN·m held in kN·cm
    EXPECT_EQ(load(5, 6), -25.0f);
    EXPECT_EQ(load(7, 1), 4.0f);
    EXPECT_EQ(m().NodeLoadFlag[8], 0.0f);
    EXPECT_EQ(m().LoadedNodeCount, 2);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 7; ++j)
            EXPECT_EQ(f.c(Form10::nodeBox(i, j)).caption, "");

    nodeRow(f, 0, {"5", "1"});
    f.click("BUTTON30");
    EXPECT_EQ(load(5, 1), 1.0f);
    EXPECT_EQ(load(5, 3), 0.0f);
    EXPECT_EQ(load(5, 4), 0.0f);
    EXPECT_EQ(m().LoadedNodeCount, 3); // a node stored twice counts twice
}

TEST_F(LoadForm, ALevelLoadIsSharedOutOverTheNodesOfThatLevel) {
    Form10& f = open();
    f.click("RADIO46");
    EXPECT_FALSE(f.c("EDIT103").enabled);
    EXPECT_TRUE(f.c("EDIT189").enabled);
    EXPECT_EQ(f.focus(), "EDIT170");
    m().NodeLoad[6 * 4 - 2] = 77; // moments of the level's nodes are left alone
    levelRow(f, 0, {"350", "30", "0", "-60"});
    levelRow(f, 1, {"700", "9", "", "-3"});
    levelRow(f, 2, {"700", "3", "", "-3"}); // the same level again: replaces
    f.click("BUTTON30");
    for (int n : {4, 5, 6}) {
        EXPECT_EQ(load(n, 1), 10.0f) << n;
        EXPECT_EQ(load(n, 2), 0.0f) << n;
        EXPECT_EQ(load(n, 3), -20.0f) << n;
        EXPECT_EQ(m().NodeLoadFlag[n], 1.0f) << n;
    }
    EXPECT_EQ(load(4, 4), 77.0f);
    for (int n : {7, 8, 9}) {
        EXPECT_EQ(load(n, 1), 1.0f) << n;
        EXPECT_EQ(load(n, 3), -1.0f) << n;
    }
    EXPECT_EQ(m().NodeLoadFlag[1], 0.0f);
    EXPECT_EQ(m().LoadedNodeCount, 9);
    EXPECT_EQ(f.c("EDIT170").caption, "");
}

TEST_F(LoadForm, ALevelWithNoNodeIsReportedAndThePageStaysForCorrection) {
    Form10& f = open();
    f.click("RADIO46");
    levelRow(f, 0, {"350", "30", "0", "-60"});
    levelRow(f, 1, {"500", "30", "0", "-60"});
    levelRow(f, 2, {"700", "30", "0", "-60"});
    f.click("BUTTON30");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "入力したレベル、Ｚ＝500　に節点は、ありません、修正してください。");
    EXPECT_EQ(load(4, 1), 10.0f); // the row before is shared out
    EXPECT_EQ(m().NodeLoadFlag[7], 0.0f);
    EXPECT_EQ(f.c("EDIT174").caption, "500");
    EXPECT_EQ(f.focus(), "EDIT174");

    // Under "データ解析" the analysis is not started either.
    f.click("BUTTON31");
    EXPECT_TRUE(f.isOpen());
    EXPECT_EQ(messages().size(), 2u);
    EXPECT_EQ(m().AnalysisDone, 0);
}

TEST_F(LoadForm, AMemberEnteredTwiceCountsOnceAndKeepsTheLastLoads) {
    Form10& f = open();
    f.click("RADIO68");
    EXPECT_FALSE(f.c("EDIT103").enabled);
    EXPECT_FALSE(f.c("EDIT170").enabled);
    memberRow(f, 0, {"7", "-10", "2"});
    memberRow(f, 1, {"7", "-20"});
    memberRow(f, 2, {"9", "0", "-5"});
    f.click("BUTTON30");
    EXPECT_EQ(m().LoadedMemberCount, 2.0f);
    EXPECT_EQ(m().MemberUniformLoad[7][1], -20.0f);
    EXPECT_EQ(m().MemberUniformLoad[7][2], 0.0f);
    EXPECT_EQ(m().MemberUniformLoad[9][2], -5.0f);
    EXPECT_EQ(m().MemberLoadFlag[9], 1.0f);
    EXPECT_EQ(f.c("EDIT195").caption, "");
}

TEST_F(LoadForm, NodeAndMemberNumbersOutsideTheFrameAreRefusedBeforeAnythingIsStored) {
    Form10& f = open();
    f.click("RADIO45");
    nodeRow(f, 0, {"2", "5"});
    nodeRow(f, 1, {"10", "5"});
    f.click("BUTTON30");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0],
              "節点番号 10 の節点はありません（節点番号は 1～9）。修正してください。");
    EXPECT_EQ(m().NodeLoadFlag[2], 0.0f);
    EXPECT_EQ(m().LoadedNodeCount, 0);
    EXPECT_EQ(f.c("EDIT103").caption, "2");
    EXPECT_EQ(f.focus(), "EDIT104");
    nodeRow(f, 1, {"-3"});
    f.click("BUTTON31");
    EXPECT_TRUE(f.isOpen());
    EXPECT_EQ(messages().size(), 2u);

    f.click("RADIO68");
    memberRow(f, 0, {"3", "-1"});
    memberRow(f, 1, {"11", "-1"});
    f.click("BUTTON31");
    EXPECT_TRUE(f.isOpen());
    ASSERT_EQ(messages().size(), 3u);
    EXPECT_EQ(messages()[2],
              "部材番号 11 の部材はありません（部材番号は 1～10）。修正してください。");
    EXPECT_EQ(m().MemberLoadFlag[3], 0.0f);
    EXPECT_EQ(m().LoadedMemberCount, 0.0f);
    EXPECT_EQ(m().AnalysisDone, 0);
}

TEST_F(LoadForm, ANodeNumberOfZeroEndsThePage) {
    Form10& f = open();
    f.click("RADIO45");
    nodeRow(f, 0, {"4", "1"});
    nodeRow(f, 1, {"0", "1"});
    nodeRow(f, 2, {"6", "1"});
    f.click("BUTTON30");
    EXPECT_EQ(m().NodeLoadFlag[4], 1.0f);
    EXPECT_EQ(m().NodeLoadFlag[6], 0.0f);
    EXPECT_TRUE(messages().empty());
}

TEST_F(LoadForm, AnalysisWithAnEmptyFirstRowAndNothingStoredIsIgnored) {
    Form10& f = open();
    f.click("RADIO45");
    f.click("BUTTON31");
    EXPECT_TRUE(f.isOpen());
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(menu.c("BUTTON3").enabled);
    EXPECT_FALSE(menu.c("BUTTON92").enabled);
}

TEST_F(LoadForm, LevelZeroLoadsTheSupportsWhichTheAnalysisStripsWithOneMessageEach) {
    Form10& f = open();
    f.click("RADIO46");
    levelRow(f, 0, {"0", "3", "", "-30"});
    f.click("BUTTON30");
    EXPECT_EQ(load(2, 3), -10.0f);
    EXPECT_EQ(m().LoadedNodeCount, 3);

    f.click("RADIO45");
    nodeRow(f, 0, {"8", "20"});
    f.click("BUTTON31");
    EXPECT_FALSE(f.isOpen());
    const auto texts = messages();
    ASSERT_GE(texts.size(), 3u);
    EXPECT_EQ(texts[0], "支持点1 は荷重付加点から除きます。");
    EXPECT_EQ(texts[1], "支持点2 は荷重付加点から除きます。");
    EXPECT_EQ(texts[2], "支持点3 は荷重付加点から除きます。");
    for (int n : {1, 2, 3}) {
        EXPECT_EQ(m().NodeLoadFlag[n], 0.0f) << n;
        for (int k = 1; k <= 6; ++k)
            EXPECT_EQ(load(n, k), 0.0f) << n;
    }
    EXPECT_EQ(m().LoadedNodeCount, 1);
    EXPECT_EQ(load(8, 1), 20.0f);
    // The analysis ran on what was left: the roof moves with its load.
    EXPECT_EQ(m().AnalysisDone, 1);
    EXPECT_GT(m().NodeDisplacement[6 * 8 - 5], 0.0);
    EXPECT_TRUE(platform.files.exists("frame1.adt"));
    EXPECT_EQ(m().AnalysisFileWritten, 1);
}

TEST_F(LoadForm, RefusedAnalysisLeavesTheMenuAsItWasBefore) {
    m().YoungModulus = 0; // the analysis refuses this frame with a message
    for (const char* name : {"BUTTON3", "BUTTON35", "BUTTON93", "BUTTON88"})
        menu.c(name).enabled = true;
    menu.c("BUTTON92").enabled = false;
    Form10& f = open();
    f.click("RADIO45");
    nodeRow(f, 0, {"8", "20"});
    f.click("BUTTON31");
    EXPECT_FALSE(f.isOpen());
    // The conditions and loads can be corrected and the analysis run again.
    for (const char* name : {"BUTTON3", "BUTTON35", "BUTTON93", "BUTTON88"})
        EXPECT_TRUE(menu.c(name).enabled) << name;
    EXPECT_FALSE(menu.c("BUTTON92").enabled);
    EXPECT_EQ(m().AnalysisDone, 0);
    EXPECT_EQ(messages().size(), 1u); // the analysis's own
}

TEST_F(LoadForm, TheModeIsKeptBetweenOpeningsAndShownWhenTheFormOpens) {
    Form10& f = open();
    f.click("RADIO68");
    memberRow(f, 0, {"7", "-10"});
    f.click("BUTTON32"); // the page on screen is not stored
    EXPECT_EQ(m().MemberLoadFlag[7], 0.0f);
    EXPECT_EQ(p->LoadInputMode, 3);

    Form10& again = open();
    EXPECT_TRUE(again.c("RADIO68").checked);
    EXPECT_FALSE(again.c("RADIO45").checked);
    EXPECT_TRUE(again.c("EDIT195").enabled);
    EXPECT_FALSE(again.c("EDIT103").enabled);
    EXPECT_EQ(again.focus(), "EDIT195");
    memberRow(again, 0, {"7", "-10"});
    again.click("BUTTON31");
    EXPECT_FALSE(again.isOpen());
    EXPECT_EQ(m().MemberUniformLoad[7][1], -10.0f);
}

TEST_F(LoadForm, HelpOpensTheTableInputTopic) {
    open().click("BUTTON62");
    ASSERT_EQ(platform.dialogs.helps().size(), 1u);
    EXPECT_EQ(platform.dialogs.helps()[0].keyword, "表入力解析");
}

// Two cases added with factors fill the load tables exactly as the form does
// when the summed loads are typed into it.
TEST_F(LoadForm, CaseLoadsAddedWithFactorsFillTheTablesAsTheFormStoresTheirSum) {
    Form10& f = open();
    f.click("RADIO45");
    nodeRow(f, 0, {"5", "10", "-2", "-30", "1.5", "1", "-0.25"});
    nodeRow(f, 1, {"7", "4", "0", "0", "0", "0", "0"});
    f.click("BUTTON30");
    f.click("RADIO68");
    memberRow(f, 0, {"7", "-10", "2"});
    memberRow(f, 1, {"9", "0", "-3"});
    f.click("BUTTON30");
    const auto copy = std::make_unique<Model>(m());
    const Model& typed = *copy;
    for (int n = 1; n <= 9; ++n) {
        m().NodeLoadFlag[n] = 0;
        for (int k = 6 * n - 5; k <= 6 * n; ++k)
            m().NodeLoad[k] = 0;
    }
    for (int e = 1; e <= 10; ++e)
        m().MemberLoadFlag[e] = m().MemberUniformLoad[e][1] = m().MemberUniformLoad[e][2] = 0;
    m().LoadedNodeCount = 0;
    m().LoadedMemberCount = 0;
    LoadCase a;
    a.nodeLoads = {{5, {5, -1, -15}, {0.75f, 0, -0.125f}}, {7, {2, 0, 0}, {0, 0, 0}}};
    a.memberLoads = {{7, -5, 1}, {9, 0, -1.5f}};
    LoadCase b;
    b.nodeLoads = {{5, {0, 0, 0}, {0, 1, 0}}};
    b.memberLoads = {{7, 0, 0}};
    addCaseLoads(m(), a, 2);
    addCaseLoads(m(), b, 1);
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(m().NodeLoadFlag[n], typed.NodeLoadFlag[n]) << n;
        for (int k = 6 * n - 5; k <= 6 * n; ++k)
            EXPECT_EQ(m().NodeLoad[k], typed.NodeLoad[k]) << k;
    }
    for (int e = 1; e <= 10; ++e) {
        EXPECT_EQ(m().MemberLoadFlag[e], typed.MemberLoadFlag[e]) << e;
        EXPECT_EQ(m().MemberUniformLoad[e][1], typed.MemberUniformLoad[e][1]) << e;
        EXPECT_EQ(m().MemberUniformLoad[e][2], typed.MemberUniformLoad[e][2]) << e;
    }
    EXPECT_EQ(m().LoadedNodeCount, typed.LoadedNodeCount);
    EXPECT_EQ(m().LoadedMemberCount, typed.LoadedMemberCount);
}

} // namespace
} // namespace rahmen::testing
