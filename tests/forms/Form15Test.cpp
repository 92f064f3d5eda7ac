#include "forms/Form15.h"
#include "MenuStandIn.h"
#include "forms/Form14.h"
#include "model/Grid.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

namespace rahmen::testing {
namespace {

class GridForm : public ::testing::Test {
protected:
    GridForm() : p(Program::create(platform.services())) {
        registerGridForms(*p);
        p->mainMenu = &menu;
    }
    Model& m() { return p->model; }
    Form15& open() { return *dynamic_cast<Form15*>(p->openForm("FORM15")); }
    // X span, Y span (m), X spans, Y spans, storeys, storey height (m).
    Form15& openWithSizes(const char* sx, const char* sy, const char* nx, const char* ny,
                          const char* storeys, const char* h) {
        Form15& f = open();
        f.typeText("EDIT143", sx);
        f.typeText("EDIT144", sy);
        f.typeText("EDIT145", nx);
        f.typeText("EDIT146", ny);
        f.typeText("EDIT147", storeys);
        f.typeText("EDIT148", h);
        return f;
    }
    std::string lastMessage() const {
        const auto& shown = platform.dialogs.messages();
        return shown.empty() ? "" : shown.back().text;
    }

    ScriptedPlatform platform;
    std::unique_ptr<Program> p;
    MenuStandIn menu;
};

TEST_F(GridForm, TheSixthChangeOfTheSizesMakesTheButtonsUsable) {
    Form15& f = open();
    for (const char* field : {"EDIT143", "EDIT143", "EDIT147", "EDIT148", "EDIT145"})
        f.typeText(field, "3");
    for (const char* name : {"BUTTON84", "BUTTON73", "CHECK11", "CHECK12"})
        EXPECT_FALSE(f.c(name).enabled) << name;
    f.typeText("EDIT143", "6");
    for (const char* name : {"BUTTON84", "BUTTON73", "CHECK11", "CHECK12"})
        EXPECT_TRUE(f.c(name).enabled) << name;
}

TEST_F(GridForm, SizesAreCheckedBeforeAnythingIsGenerated) {
    const struct {
        const char* field;
        const char* text;
        const char* message;
    } cases[] = {
        {"EDIT143", "", "Ｘ方向のスパン長さには 0 より大きい値を入力してください。"},
        {"EDIT146", "0", "Ｙ方向のスパン数には 1 以上の数を入力してください。"},
        {"EDIT147", "-2", "階数には 1 以上の数を入力してください。"},
        {"EDIT148", "abc", "階高には 0 より大きい値を入力してください。"},
        {"EDIT147", "12", "節点数は 1500 までです（1573 が指定されました）。"},
        {"EDIT147", "9", "部材数は 3000 までです（3069 が指定されました）。"},
    };
    for (const auto& c : cases) {
        Form15& f = openWithSizes("6", "5", "10", "10", "3", "3");
        f.typeText(c.field, c.text);
        f.click("BUTTON73");
        EXPECT_EQ(lastMessage(), c.message) << c.field;
        EXPECT_TRUE(f.isOpen());
        EXPECT_EQ(m().NodeCount, 0) << c.field;
        EXPECT_EQ(m().GridGenerated, 0) << c.field;
        f.click("BUTTON89");
    }
}

TEST_F(GridForm, DefaultSectionsOfASteelAndAConcreteStructure) {
    // 6 m × 5 m bays, 3 storeys of 3 m: members 1-4 columns, 5-6 Y-direction
    // and 7-8 X-direction beams of storey 1; 17 the first column of storey 3.
    const struct {
        const char* radio;
        float column1Area, column1I, column3Area, yBeamArea, yBeamIy, yBeamIz, yBeamShear,
            xBeamArea;
    } cases[] = {
        {"RADIO5", 173, 29800, 158, 136, 38700, 7210, 68, 195.84f},
        {"RADIO6", 3025, 762552.08f, 2500, 2112.5f, 743776.04f, 185944.01f, 2112.5f, 3042},
    };
    for (const auto& c : cases) {
        Form15& f = openWithSizes("6", "5", "1", "1", "3", "3");
        f.click(c.radio);
        f.typeText("EDIT148", "3");
        platform.dialogs.queueInput(std::nullopt);
        ASSERT_TRUE(f.click("BUTTON73"));
        EXPECT_EQ(m().MemberCount, 24);
        EXPECT_FLOAT_EQ(m().MemberArea[1], c.column1Area) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberIy[4], c.column1I) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberJ[4], 2 * c.column1I) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberArea[17], c.column3Area) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberArea[5], c.yBeamArea) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberIy[6], c.yBeamIy) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberIz[6], c.yBeamIz) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberShearAreaZ[6], c.yBeamShear) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberArea[8], c.xBeamArea) << c.radio;
        EXPECT_EQ(m().MemberTypeNo[8], 0);
        m().FrameReady = 0;
        m().GridGenerated = 0;
    }
}

TEST_F(GridForm, AiGrowsTowardTheTop) {
    EXPECT_DOUBLE_EQ(storeyShearFactor(1, 1, 0.3), 1.0);
    EXPECT_NEAR(storeyShearFactor(3, 3, 0.27), 1.4173, 5e-5);
    EXPECT_NEAR(storeyShearFactor(3, 2, 0.27), 1.1665, 5e-5);
    EXPECT_DOUBLE_EQ(storeyShearFactor(3, 1, 0.27), 1.0);
}

TEST_F(GridForm, FloorForcesAddUpToC0TimesTheWeightAndTheFloorsPushDown) {
    // 5 m × 4 m, three storeys of 3 m, steel: 16 tf per floor, T = 0.27.
    // Floor forces 2.13441, 2.93024 and 4.53535 tf over four nodes each.
    const struct {
        float unitFactor;
        double topShare, baseShear, downward;
    } cases[] = {{1.0f, 1.1338375, 9.6, -4.5}, {kSiUnitFactor, 11.119148, 94.14384, -44.129925}};
    for (const auto& c : cases) {
        m().UnitFactor = c.unitFactor;
        GridVariables g;
        setGridSize(g, 500, 400, 1, 1, 3, 300);
        g.StructureKind = 1;
        g.BaseShearCoefficient = 0.2f;
        layOutGrid(m(), g);
        setDefaultLoads(m(), g, 1, true);
        double sum = 0;
        for (int n = 1; n <= 16; ++n)
            sum += m().NodeLoad[6 * n - 5];
        EXPECT_NEAR(sum, c.baseShear, 1e-4 * c.baseShear);
        EXPECT_NEAR(m().NodeLoad[6 * 16 - 5], c.topShare, 1e-5 * c.topShare);
        EXPECT_NEAR(m().NodeLoad[6 * 5 - 3], c.downward, 1e-5 * -c.downward);
        EXPECT_EQ(m().NodeLoad[6 * 5 - 4], 0.0f);
        EXPECT_EQ(m().NodeLoad[6 * 4 - 5], 0.0f); // the ground carries nothing
        EXPECT_EQ(m().NodeLoadFlag[5], 1.0f);
        EXPECT_EQ(m().LoadedNodeCount, 12);
    }
    // Both directions: each gets the share over √2, and no vertical load.
    GridVariables g;
    setGridSize(g, 500, 400, 1, 1, 3, 300);
    g.StructureKind = 1;
    g.BaseShearCoefficient = 0.2f;
    m().UnitFactor = 1;
    layOutGrid(m(), g);
    setDefaultLoads(m(), g, 3, false);
    EXPECT_NEAR(m().NodeLoad[6 * 16 - 5], 0.8017442, 1e-6);
    EXPECT_NEAR(m().NodeLoad[6 * 16 - 4], 0.8017442, 1e-6);
    EXPECT_EQ(m().NodeLoad[6 * 16 - 3], 0.0f);
    EXPECT_EQ(m().YoungModulus, 2100.0f);
}

TEST_F(GridForm, DefaultLoadsWithANameWriteTheFrameAndItsReport) {
    Form15& f = openWithSizes("6", "5", "2", "1", "3", "3");
    f.typeText("EDIT148", "3");
    f.click("CHECK12");
    EXPECT_EQ(f.c("BUTTON73").caption, "解析開始");
    EXPECT_FALSE(f.c("BUTTON73").enabled);
    EXPECT_FALSE(f.c("CHECK11").enabled);
    EXPECT_EQ(f.c("EDIT149").caption, "0.2");
    f.click("RADIO10");
    platform.dialogs.queueInput(std::string("../grid"));
    platform.dialogs.queueInput(std::string("grid"));
    ASSERT_TRUE(f.click("BUTTON73"));
    EXPECT_EQ(platform.dialogs.inputs().front().prompt, "データファイル名？(作成しない→ｷｬﾝｾﾙ)");
    EXPECT_EQ(platform.dialogs.inputs().size(), 2u); // the unusable name asked again
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(m().DataName, "grid");
    EXPECT_TRUE(platform.files.exists("grid.fdt"));
    EXPECT_TRUE(platform.files.exists("grid.adt"));
    EXPECT_EQ(m().AnalysisDone, 1);
    EXPECT_EQ(m().GridGenerated, 1);
    EXPECT_EQ(menu.c("BUTTON84").caption, "ﾃﾞﾌｫﾙﾄ荷重");
    EXPECT_FALSE(menu.c("BUTTON84").enabled);
    EXPECT_FALSE(menu.c("BUTTON3").enabled);
    EXPECT_TRUE(menu.c("BUTTON4").enabled);
    EXPECT_TRUE(menu.c("BUTTON88").enabled);
}

TEST_F(GridForm, DefaultLoadsWithoutANameAnalyseWithoutFiles) {
    Form15& f = openWithSizes("6", "5", "1", "1", "2", "3");
    f.typeText("EDIT148", "3");
    f.click("CHECK11");
    f.click("RADIO8");
    platform.dialogs.queueInput(std::nullopt);
    f.click("BUTTON73");
    EXPECT_EQ(m().AnalysisDone, 1);
    EXPECT_TRUE(platform.files.list("*").empty());
    // No plotting window to take the flag back: the next analysis writes its file.
    EXPECT_EQ(p->SkipAnalysisFile, 0);
}

TEST_F(GridForm, WithoutLoadsTheFrameIsFinishedForTableInput) {
    Form15& f = openWithSizes("6", "5", "1", "1", "1", "3");
    f.typeText("EDIT148", "3");
    platform.dialogs.queueInput(std::string("frame"));
    f.click("BUTTON73");
    EXPECT_FALSE(f.isOpen());
    EXPECT_TRUE(platform.files.exists("frame.fdt"));
    EXPECT_EQ(m().FrameReady, 1);
    EXPECT_EQ(m().AnalysisDone, 0);
    EXPECT_EQ(p->grid.GridLengthX, 600.0f);
    for (const char* name : {"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON70", "BUTTON92", "BUTTON93"})
        EXPECT_TRUE(menu.c(name).enabled) << name;
    for (const char* name : {"BUTTON27", "BUTTON52", "BUTTON68", "BUTTON84", "BUTTON91"})
        EXPECT_FALSE(menu.c(name).enabled) << name;
    EXPECT_EQ(menu.focus(), "BUTTON3");
}

TEST_F(GridForm, AFrameReadFromAFileGetsNoDefaultLoads) {
    m().FrameReady = 1;
    m().NodeCount = 4;
    Form15& f = open();
    EXPECT_FALSE(f.c("EDIT143").enabled);
    EXPECT_FALSE(f.c("GROUP12").enabled);
    f.click("CHECK11");
    EXPECT_FALSE(f.c("CHECK11").checked);
    EXPECT_EQ(lastMessage(),
              "ファイルから読み込んだ骨組にはグリッドの寸法がないため、デフォルト荷重"
              "は設定できません。");
    EXPECT_FALSE(f.c("BUTTON73").enabled);
    EXPECT_EQ(m().LoadedNodeCount, 0);
}

} // namespace
} // namespace rahmen::testing
