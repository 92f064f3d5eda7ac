#include "forms/Form15.h"
#include "MenuStandIn.h"
#include "forms/Form14.h"
#include "model/Grid.h"
#include "model/ModelFiles.h"
#include "model/Program.h"
#include "model/TextFile.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
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

namespace rahmen::testing {
namespace {

// The grid form's sizes and load factors, and the section settings' sizes and
// properties: the value at the end of a box's range is stored, one just
// beyond is refused with a message naming the box and the range, and no grid
// or type is made.
TEST_F(GridForm, SizesAndFactorsBeyondTheirRangeAreRefused) {
    const struct {
        const char* box;
        const char* typed;
        const char* message; // "" accepted
        float held = 0;      // in cm where a size
        std::function<float(const Program&)> stored = nullptr;
    } cases[] = {
        {"EDIT143", "100", "", 10000, [](const Program& p) { return p.grid.SpanX; }},
        {"EDIT143", "100.5",
         "Ｘ方向のスパン長さは 0 から 100 までです（100.5 が入力されました）。"},
        {"EDIT144", "1e39", "Ｙ方向のスパン長さは 0 から 100 までです（1E+39 が入力されました）。"},
        {"EDIT148", "10", "", 1000, [](const Program& p) { return p.grid.StoreyHeight; }},
        {"EDIT148", "10.01", "階高は 0 から 10 までです（10.01 が入力されました）。"},
        {"EDIT149", "-10", "", -10, [](const Program& p) { return p.grid.BaseShearCoefficient; }},
        {"EDIT149", "10.5", "標準せん断力係数は -10 から 10 までです（10.5 が入力されました）。"},
        {"EDIT150", "1e30", "", 1e30f, [](const Program& p) { return p.model.ShearShapeFactor; }},
        {"EDIT150", "-1",
         "せん断に対する形状係数は 0 から 1E+30 までです（-1 が入力されました）。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        p->model.resetAll();
        p->grid = {};
        Form15& f = openWithSizes("6", "5", "1", "1", "2", "3");
        const bool loads = std::string(c.box) >= "EDIT149";
        if (loads) {
            f.click("CHECK11");
            f.click("RADIO8");
            f.click("CHECK13");
        }
        f.typeText(c.box, c.typed);
        platform.dialogs.clearLog();
        platform.dialogs.queueInput(std::nullopt); // no files
        ASSERT_TRUE(f.click("BUTTON73"));
        if (*c.message) {
            EXPECT_EQ(lastMessage(), c.message);
            EXPECT_EQ(m().NodeCount, 0);
            EXPECT_TRUE(f.isOpen());
            f.click("BUTTON89");
        } else {
            // (A κ this large leaves no shear stiffness: the analysis says so.)
            EXPECT_EQ(lastMessage().find("が入力されました"), std::string::npos) << lastMessage();
            EXPECT_EQ(c.stored(*p), c.held);
        }
    }
}

// The largest grid of the tables at the largest accepted sizes: its default
// sections are written and read back (to the five or six digits of the file), and the
// frame analyses and its report is written.
TEST_F(GridForm, TheLargestGridAtTheLargestSizesWritesAFrameThatReadsBack) {
    Form15& f = openWithSizes("100", "100", "1", "1", "374", "10");
    f.click("RADIO6");
    f.click("CHECK12");
    f.click("RADIO10");
    f.typeText("EDIT149", "10");
    platform.dialogs.queueInput(std::string("big"));
    ASSERT_TRUE(f.click("BUTTON73"));
    ASSERT_EQ(m().NodeCount, 1500);
    auto read = platform.files.read("big.fdt");
    ASSERT_TRUE(read.ok) << read.error;
    Model back;
    ItemReader in(read.bytes, "big.fdt");
    ASSERT_NO_THROW(readFrameFile(back, in));
    for (int k = 1; k <= m().MemberCount; k += 7) {
        for (const auto& [read, held] : {std::pair{back.MemberArea[k], m().MemberArea[k]},
                                         {back.MemberIy[k], m().MemberIy[k]},
                                         {back.MemberJ[k], m().MemberJ[k]}})
            ASSERT_NEAR(read, held, 1e-4 * held) << k;
    }
    EXPECT_TRUE(platform.files.exists("big.adt")) << lastMessage();
}

// Section settings of a concrete grid: the rectangle sizes and the typed
// properties.
TEST_F(GridForm, SectionSettingsBeyondTheirRangeAreRefused) {
    const struct {
        const char* button;
        const char* box;
        const char* typed;
        const char* message; // "" accepted
        float area;          // of type 1
    } cases[] = {
        {"BUTTON82", "EDIT159", "1e7", "", 1e14f},
        {"BUTTON82", "EDIT160", "1.0000001e7",
         "Ｂ寸法は 0 から 10000000 までです（10000001 が入力されました）。", 0},
        {"BUTTON83", "EDIT161", "1e30", "", 1e30f},
        {"BUTTON83", "EDIT161", "1e39",
         "断面積は -1E+30 から 1E+30 までです（1E+39 が入力されました）。", 0},
        {"BUTTON83", "EDIT164", "1e31",
         "ねじり定数は -1E+30 から 1E+30 までです（1E+31 が入力されました）。", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        p->model.resetAll();
        setGridSize(p->grid, 600, 500, 1, 1, 2, 300);
        p->grid.StructureKind = 2;
        layOutGrid(m(), p->grid);
        auto* f = dynamic_cast<Form14*>(p->openForm("FORM14"));
        ASSERT_NE(f, nullptr);
        f->typeText("EDIT158", "2");
        for (const char* box : {"EDIT159", "EDIT160", "EDIT161", "EDIT162", "EDIT163", "EDIT164"})
            f->typeText(box, "1e7");
        f->typeText(c.box, c.typed);
        platform.dialogs.clearLog();
        ASSERT_TRUE(f->click(c.button));
        EXPECT_EQ(m().TypeArea[1], c.area);
        if (*c.message) {
            EXPECT_EQ(lastMessage(), c.message);
            EXPECT_EQ(f->TypesMade, 0);
            EXPECT_EQ(m().MemberTypeNo[1], 0);
        } else {
            EXPECT_EQ(platform.dialogs.messages().size(), 0u) << lastMessage();
            EXPECT_EQ(m().MemberTypeNo[1], 1);
        }
        f->close();
    }
}

} // namespace
} // namespace rahmen::testing
