// The storey pictures in the plotting window: a grid of 2 × 1 bays and three
// storeys analysed under G, KX and KY as the program keeps the results, the
// window read through its controls and its picture's display list.

#include "analysis/LoadCaseAnalysis.h"
#include "draw/Form13.h"
#include "draw/Projection.h"
#include "draw/StoreyPicture.h"
#include "forms/MenuStandIn.h"
#include "model/Grid.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"
#include "platform/Svg.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>

namespace rahmen {
namespace {

class StoreyWindow : public ::testing::Test {
protected:
    StoreyWindow() : p(Program::create(platform.services())) {
        registerPlotForms(*p);
        p->mainMenu = &menu;
        Model& m = p->model;
        GridVariables grid;
        setGridSize(grid, 600, 600, 2, 1, 3, 350);
        layOutGrid(m, grid);
        m.UnitFactor = kSiUnitFactor;
        m.YoungModulus = 205000, m.ShearModulus = 79000;
        LoadCaseSet& set = p->loadCases;
        set.cases = {{"G", LoadKind::Dead, LoadDirection::None, {}, {}},
                     {"KX", LoadKind::Seismic, LoadDirection::X, {}, {}},
                     {"KY", LoadKind::Seismic, LoadDirection::Y, {}, {}}};
        for (int k = 1; k <= m.MemberCount; ++k) {
            const bool column = isGridColumn(grid, k);
            m.MemberArea[k] = column ? 200 : 80;
            m.MemberIy[k] = column ? 50000 : 60000;
            m.MemberIz[k] = column ? 50000 : 3000;
            m.MemberJ[k] = column ? 80000 : 100;
            if (!column) set.cases[0].memberLoads.push_back({k, 0, -20});
        }
        for (int n = grid.NodesPerFloor + 1; n <= m.NodeCount; ++n) {
            set.cases[1].nodeLoads.push_back({n, {10, 0, 0}, {0, 0, 0}});
            set.cases[2].nodeLoads.push_back({n, {0, 10, 0}, {0, 0, 0}});
        }
    }
    // The analysis of all cases as the program keeps it.
    void analyse() {
        LoadCaseSet& set = p->loadCases;
        set.combinations = codeCombinations(set.cases, false);
        p->caseResults.clear();
        const LoadCaseOutcome out = analyseLoadCases(
            p->model, set, progress,
            [&](const std::string& label, Model& md, const std::vector<float>& reaction) {
                p->caseResults.push_back(
                    captureCaseResult(md, set, p->caseResults.size(), label, reaction));
            });
        ASSERT_TRUE(out.ok) << out.message;
        p->model.AnalysisDone = 1;
    }

    Form13& open() {
        p->PlotWindowMode = 0;
        return *dynamic_cast<Form13*>(p->openForm("FORM13"));
    }

    // A click on the node at (x, y, z) where the picking picture shows it.
    void pickNode(Form13& f, float x, float y, float z) {
        const Model& m = p->model;
        for (int n = 1; n <= m.NodeCount; ++n)
            if (m.NodeX[n] == x && m.NodeY[n] == y && m.NodeZ[n] == z) {
                const PicturePoint at = nodePoint(f.plot.view, n);
                f.mouseDown(MouseButton::Left, int(std::lround(at.x)), int(std::lround(at.y)));
            }
    }

    ScriptedPlatform platform;
    SilentProgress progress;
    std::unique_ptr<Program> p;
    testing::MenuStandIn menu;
};

const char* const kStoreyControls[] = {"BUTTON136", "BUTTON137", "TEXT136", "COMBO136"};

TEST_F(StoreyWindow, ThereOnlyWithStoreyRowsBelowTheCaseChoiceOverNoOtherControl) {
    p->model.AnalysisDone = 1;
    // No case results: the window as it always was.
    {
        Form13& f = open();
        EXPECT_EQ(f.height(), 600);
        for (const char* name : kStoreyControls)
            EXPECT_FALSE(f.has(name)) << name;
        f.close();
    }
    // Cases without a seismic one: the case choice, no storey pictures.
    const LoadCaseSet all = p->loadCases;
    p->loadCases.cases.resize(1);
    analyse();
    {
        Form13& f = open();
        EXPECT_TRUE(f.has("COMBO13"));
        EXPECT_FALSE(f.has("BUTTON136"));
        EXPECT_EQ(f.height(), 666); // grown for the 検定比図 and the load display below it
        f.close();
    }
    p->loadCases = all;
    analyse();
    Form13& f = open();
    EXPECT_EQ(f.c("COMBO136").items, (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(f.c("COMBO136").selected, 0);
    for (const char* name : kStoreyControls) {
        const Control& mine = f.c(name);
        EXPECT_GE(mine.y, 664) << name;
        EXPECT_GE(mine.x, 680) << name; // beside the picture
        EXPECT_LE(mine.y + mine.height, f.height()) << name;
        EXPECT_LE(mine.x + mine.width, f.width()) << name;
        for (const Control& c : f.controls())
            EXPECT_TRUE(&c == &mine || c.x + c.width <= mine.x || mine.x + mine.width <= c.x ||
                        c.y + c.height <= mine.y || mine.y + mine.height <= c.y)
                << name << " over " << c.name;
    }
    // A frame changed since the analysis: its results are not the frame's.
    f.close();
    p->model.AnalysisDone = 0;
    EXPECT_FALSE(open().has("BUTTON136"));
}

TEST_F(StoreyWindow, PicturesAreTheStoreyDrawingsAndGiveWayToTheWindowsDiagrams) {
    analyse();
    Form13& f = open();
    const StoreyCheckResult check = checkStoreys(p->model, p->loadCases, p->caseResults);
    ASSERT_EQ(check.rows.size(), 6u);
    auto drawn = [&](auto draw) {
        Canvas c(f.picture()->width(), f.picture()->height());
        draw(c);
        return canvasToSvg(c);
    };
    const std::string drifts = drawn([&](Canvas& c) { drawStoreyDrifts(c, check); });

    ASSERT_TRUE(f.click("BUTTON136"));
    EXPECT_EQ(canvasToSvg(*f.picture()), drifts);
    for (const char* over : {"HSCROLL1", "TEXT54"}) // nothing lies over the picture
        EXPECT_FALSE(f.c(over).visible) << over;
    // A storey chosen: its plan; the plan button draws the storey chosen.
    for (int storey : {3, 2}) {
        ASSERT_TRUE(f.choose("COMBO136", storey - 1));
        EXPECT_EQ(canvasToSvg(*f.picture()),
                  drawn([&](Canvas& c) { drawStoreyPlan(c, check, storey); }))
            << storey;
    }
    ASSERT_TRUE(f.click("BUTTON136"));
    ASSERT_TRUE(f.click("BUTTON137"));
    EXPECT_EQ(canvasToSvg(*f.picture()), drawn([&](Canvas& c) { drawStoreyPlan(c, check, 2); }));

    // Another case shown keeps the storey picture, which is of all cases.
    ASSERT_TRUE(f.choose("COMBO13", 0));
    EXPECT_EQ(canvasToSvg(*f.picture()), drawn([&](Canvas& c) { drawStoreyPlan(c, check, 2); }));

    // The frame diagram takes the picture and its bars back; the storey
    // pictures wait until it has ended.
    for (const char* diagram : {"RADIO56", "RADIO60"}) {
        SCOPED_TRACE(diagram);
        ASSERT_TRUE(f.click("BUTTON136"));
        ASSERT_TRUE(f.click(diagram) && f.click("BUTTON69"));
        EXPECT_NE(canvasToSvg(*f.picture()), drifts);
        for (const char* over : {"HSCROLL1", "TEXT54"})
            EXPECT_TRUE(f.c(over).visible) << over;
        for (const char* name : kStoreyControls)
            EXPECT_FALSE(f.c(name).enabled) << name;
        EXPECT_FALSE(f.click("BUTTON136"));
        // Ended: the frame diagram after its enlarged picture and its numbers, the
        // stress picking by a diagram shown and ended.
        if (std::string(diagram) == "RADIO56") {
            ASSERT_TRUE(f.click("BUTTON79"));
            ASSERT_TRUE(f.keyPress(32)); // the numbers after a key
            EXPECT_FALSE(f.c("BUTTON136").enabled);
            ASSERT_TRUE(f.click("BUTTON79"));
        } else {
            for (auto [x, z] : {std::pair{0.0f, 0.0f}, {600.0f, 0.0f}, {0.0f, 350.0f}})
                pickNode(f, x, 0, z);         // the plane Y = 0
            ASSERT_TRUE(f.click("BUTTON69")); // 応力表示
            EXPECT_FALSE(f.c("BUTTON136").enabled);
            ASSERT_TRUE(f.click("BUTTON79")); // 応力図終了
        }
        for (const char* name : kStoreyControls)
            EXPECT_TRUE(f.c(name).enabled) << name;
    }
}

} // namespace
} // namespace rahmen
