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
        for (const auto& [field, text] : {std::pair{"EDIT143", sx},
                                          {"EDIT144", sy},
                                          {"EDIT145", nx},
                                          {"EDIT146", ny},
                                          {"EDIT147", storeys},
                                          {"EDIT148", h}})
            f.typeText(field, text);
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

TEST_F(GridForm, SizesAreCheckedBeforeAnythingIsGenerated) {
    const struct {
        const char* field;
        const char* text;
        const char* message;
    } cases[] = {
        {"EDIT143", "", "Ｘ方向のスパン長さには 0 より大きい値を入力してください。"},
        {"EDIT146", "0", "Ｙ方向のスパン数には 1 以上の数を入力してください。"},
        {"EDIT148", "abc", "階高には 0 より大きい値を入力してください。"},
        {"EDIT147", "12", "節点数は 1500 までです（1573 が指定されました）。"},
        {"EDIT147", "9", "部材数は 3000 までです（3069 が指定されました）。"},
    };
    for (const auto& c : cases) {
        Form15& f = openWithSizes("6", "5", "10", "10", "3", "3");
        f.typeText(c.field, c.text);
        f.click("BUTTON73");
        EXPECT_EQ(lastMessage(), c.message) << c.field;
        EXPECT_EQ(m().NodeCount, 0) << c.field;
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
        platform.dialogs.queueInput(std::nullopt);
        ASSERT_TRUE(f.click("BUTTON73"));
        EXPECT_FLOAT_EQ(m().MemberArea[1], c.column1Area) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberIy[4], c.column1I) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberJ[4], 2 * c.column1I) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberArea[17], c.column3Area) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberArea[5], c.yBeamArea) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberIy[6], c.yBeamIy) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberIz[6], c.yBeamIz) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberShearAreaZ[6], c.yBeamShear) << c.radio;
        EXPECT_FLOAT_EQ(m().MemberArea[8], c.xBeamArea) << c.radio;
        m().FrameReady = 0;
        m().GridGenerated = 0;
    }
}

TEST_F(GridForm, AiGrowsTowardTheTop) {
    EXPECT_DOUBLE_EQ(storeyShearFactor(1, 1, 0.3), 1.0);
    EXPECT_NEAR(storeyShearFactor(3, 3, 0.27), 1.4173, 5e-5);
}

TEST_F(GridForm, FloorForcesAddUpToC0TimesTheWeightAndTheFloorsPushDown) {
    // 5 m × 4 m, three storeys of 3 m, steel: 16 tf per floor, T = 0.27.
    // Floor forces 2.13441, 2.93024 and 4.53535 tf over four nodes each.
    const struct {
        float unitFactor;
        double topShare, baseShear, downward;
    } cases[] = {{1.0f, 1.1338375, 9.6, -4.5}, {kSiUnitFactor, 11.119148, 94.14384, -44.129925}};
    GridVariables grid;
    setGridSize(grid, 500, 400, 1, 1, 3, 300);
    grid.StructureKind = 1;
    grid.BaseShearCoefficient = 0.2f;
    layOutGrid(m(), grid);
    for (const auto& c : cases) {
        m().UnitFactor = c.unitFactor;
        setDefaultLoads(m(), grid, 1, true);
        double sum = 0;
        for (int n = 1; n <= 16; ++n)
            sum += m().NodeLoad[6 * n - 5];
        EXPECT_NEAR(sum, c.baseShear, 1e-4 * c.baseShear);
        EXPECT_NEAR(m().NodeLoad[6 * 16 - 5], c.topShare, 1e-5 * c.topShare);
        EXPECT_NEAR(m().NodeLoad[6 * 5 - 3], c.downward, 1e-5 * -c.downward);
        EXPECT_EQ(m().LoadedNodeCount, 12);
    }
    // Both directions: each gets the share over √2, and no vertical load.
    m().UnitFactor = 1;
    setDefaultLoads(m(), grid, 3, false);
    EXPECT_NEAR(m().NodeLoad[6 * 16 - 5], 0.8017442, 1e-6);
    EXPECT_NEAR(m().NodeLoad[6 * 16 - 4], 0.8017442, 1e-6);
    EXPECT_EQ(m().NodeLoad[6 * 16 - 3], 0.0f);
}

TEST_F(GridForm, DefaultLoadsWithANameWriteTheFrameAndItsReport) {
    Form15& f = openWithSizes("6", "5", "2", "1", "3", "3");
    f.click("CHECK12");
    EXPECT_EQ(f.c("BUTTON73").caption, "解析開始");
    EXPECT_FALSE(f.c("BUTTON73").enabled); // until a direction is chosen
    f.click("RADIO10");
    platform.dialogs.queueInput(std::string("../grid"));
    platform.dialogs.queueInput(std::string("grid"));
    ASSERT_TRUE(f.click("BUTTON73"));
    EXPECT_EQ(platform.dialogs.inputs().front().prompt, "データファイル名？(作成しない→ｷｬﾝｾﾙ)");
    EXPECT_EQ(platform.dialogs.inputs().size(), 2u); // the unusable name asked again
    EXPECT_TRUE(platform.files.exists("grid.fdt"));
    EXPECT_TRUE(platform.files.exists("grid.adt"));
    EXPECT_EQ(m().AnalysisDone, 1);
    EXPECT_FALSE(menu.c("BUTTON84").enabled);
    EXPECT_FALSE(menu.c("BUTTON3").enabled);
}

TEST_F(GridForm, DefaultLoadsWithoutANameAnalyseWithoutFiles) {
    Form15& f = openWithSizes("6", "5", "1", "1", "2", "3");
    f.click("CHECK11");
    f.click("RADIO8");
    platform.dialogs.queueInput(std::nullopt);
    f.click("BUTTON73");
    EXPECT_EQ(m().AnalysisDone, 1);
    EXPECT_TRUE(platform.files.list("*").empty());
    // No plotting window to take the flag back: the next analysis writes its file.
    EXPECT_EQ(p->SkipAnalysisFile, 0);
}

TEST_F(GridForm, AFrameReadFromAFileGetsNoDefaultLoads) {
    m().FrameReady = 1;
    m().NodeCount = 4;
    Form15& f = open();
    EXPECT_FALSE(f.c("EDIT143").enabled);
    f.click("CHECK11");
    EXPECT_FALSE(f.c("CHECK11").checked);
    EXPECT_EQ(lastMessage(),
              "ファイルから読み込んだ骨組にはグリッドの寸法がないため、デフォルト荷重"
              "は設定できません。");
    EXPECT_EQ(m().LoadedNodeCount, 0);
}

TEST_F(GridForm, MemberSettingsAreCheckedBeforeATypeIsMade) {
    // A steel grid of one bay and two storeys, laid out for the settings.
    setGridSize(p->grid, 600, 500, 1, 1, 2, 300);
    p->grid.StructureKind = 1;
    layOutGrid(m(), p->grid);
    auto* f = dynamic_cast<Form14*>(p->openForm("FORM14"));
    const struct {
        const char* group; // "" none chosen
        const char* first;
        const char* last;
        const char* family;
        const char* button;
        const char* message;
    } cases[] = {
        {"", "1", "2", "RADIO28", "BUTTON82", "断面設定する部材を選択してください。"},
        {"RADIO33", "1", "3", "RADIO28", "BUTTON82",
         "断面設定する階は 1～2 の範囲で、始めの階から終りの階の順に入力してください。"},
        {"RADIO31", "1", "2", "", "BUTTON82", "形鋼の種類と断面を選択してください。"},
        {"RADIO31", "1", "2", "", "BUTTON83",
         "断面積、断面二次モーメント、ねじり定数には 0 より大きい値を入力してください。"},
    };
    ASSERT_NE(f, nullptr);
    for (const auto& c : cases) {
        if (*c.group) {
            f->click(c.group);
        } else {
            f->c("RADIO31").checked = false;
            f->MemberGroup = 0;
        }
        if (*c.family) f->click(c.family);
        f->typeText("EDIT157", c.first);
        f->typeText("EDIT158", c.last);
        for (const char* box : {"EDIT161", "EDIT162", "EDIT163"})
            f->typeText(box, "10");
        f->typeText("EDIT164", "0");
        f->click(c.button);
        EXPECT_EQ(lastMessage(), c.message) << c.button;
        EXPECT_EQ(f->TypesMade, 0) << c.message;
        EXPECT_EQ(m().MemberTypeNo[1], 0) << c.message;
        f->c("COMBO6").selected = -1;
        f->SteelFamily = 0;
    }
}

} // namespace
} // namespace rahmen::testing
