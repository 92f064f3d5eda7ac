// The plotting window of a frame analysed under load cases: the choice of the
// case, combination or envelope its diagrams show. A portal in the X–Z plane,
// its beam in two members (the second drawn backwards), the right column
// drawn downwards: G loads the beam, K pushes it sideways.

#include "DrawingTesting.h"

#include "analysis/LoadCaseAnalysis.h"
#include "draw/Form13.h"
#include "draw/LoadArrows.h"
#include "forms/MenuStandIn.h"
#include "platform/Svg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace rahmen {
namespace {

struct StressWindow : testing::PlotWindowStandIn {
    StressWindow() {
        for (const char* name : {"TEXT63", "TEXT64", "TEXT65"})
            addLabel(name, "", 0, 0, 10, 10);
    }
};

class CaseChoice : public ::testing::Test {
protected:
    CaseChoice() : p(Program::create(platform.services())) {
        registerPlotForms(*p);
        p->mainMenu = &menu;
        Model& md = p->model;
        md.YoungModulus = 205000, md.ShearModulus = 79000;
        const int xz[5][2] = {{0, 0}, {0, 400}, {300, 400}, {600, 400}, {600, 0}};
        const int ends[4][2] = {{1, 2}, {2, 3}, {4, 3}, {4, 5}};
        for (int i = 1; i <= 5; ++i)
            md.NodeX[i] = float(xz[i - 1][0]), md.NodeZ[i] = float(xz[i - 1][1]);
        for (int m = 1; m <= 4; ++m) {
            md.MemberStartNode[m] = int16_t(ends[m - 1][0]),
            md.MemberEndNode[m] = int16_t(ends[m - 1][1]);
            md.MemberArea[m] = 100, md.MemberIy[m] = md.MemberIz[m] = 20000, md.MemberJ[m] = 500;
        }
        md.NodeCount = 5, md.MemberCount = 4, md.SupportCount = 2;
        md.NodeIsSupport[1] = md.NodeIsSupport[5] = -1;
        p->loadCases.cases = {
            {"G",
             LoadKind::Dead,
             LoadDirection::None,
             {{3, {0, 0, -20}, {0, 0, 0}}},
             {{2, 0, -12}, {3, 0, -12}}},
            {"K", LoadKind::Seismic, LoadDirection::X, {{2, {30, 0, 0}, {0, 0, 0}}}, {}}};
        p->loadCases.combinations = {{"L1", LoadTerm::Long, {{1, "G"}}},
                                     {"S1", LoadTerm::Short, {{1, "G"}, {1, "K"}}},
                                     {"S2", LoadTerm::Short, {{1, "G"}, {-1, "K"}}}};
    }
    // The analysis of every case, keeping each result as the program does,
    // and the plane diagram of all members and the diagram of member 2 as
    // drawn from the analysis' own tables.
    void analyse() {
        const LoadCaseSet& set = p->loadCases;
        p->caseResults.clear();
        const LoadCaseOutcome out = analyseLoadCases(
            p->model, set, progress,
            [&](const std::string& label, Model& md, const std::vector<float>& reaction) {
                p->caseResults.push_back(
                    captureCaseResult(md, set, p->caseResults.size(), label, reaction));
                endForces[label] = md.MemberEndForce;
                picks.MemberSelected.fill(1), picks.PickedPlaneAxis = "y";
                FORCE_ON(*p, picks, standIn);
                planes[label] = *standIn.picture();
                picks.MemberSelected[2] = 1;
                SFRCE_ON(*p, picks, standIn);
                members[label] = *standIn.picture();
            });
        ASSERT_TRUE(out.ok) << out.message;
    }

    Form13& open(int mode = 0) {
        p->PlotWindowMode = static_cast<int16_t>(mode);
        if (mode == 1) platform.dialogs.queueMessage(MessageResult::No);
        return *dynamic_cast<Form13*>(p->openForm("FORM13"));
    }

    // The plane diagram of every member (the plane Y = 0) shown in the window.
    void showStress(Form13& f) {
        ASSERT_TRUE(f.click("RADIO60") && f.click("BUTTON69"));
        for (int n : {1, 2, 3}) {
            const PicturePoint at = nodePoint(f.plot.view, n);
            f.mouseDown(MouseButton::Left, int(std::lround(at.x)), int(std::lround(at.y)));
        }
        ASSERT_TRUE(f.click("BUTTON69"));
    }

    ScriptedPlatform platform;
    SilentProgress progress;
    std::unique_ptr<Program> p;
    testing::MenuStandIn menu;
    StressWindow standIn;
    StressSelection picks;
    std::map<std::string, decltype(Model::MemberEndForce)> endForces;
    std::map<std::string, Canvas> planes, members;
};

std::string controlsOf(const Form& f) {
    std::string all;
    for (const Control& c : f.controls()) {
        // The case choice, the 検定比図 and the storey pictures' controls (the portal has a
        // seismic case) are what the case results add; the load display moves below them.
        const std::string added[] = {"COMBO13", "CHECK130", "BUTTON136", "BUTTON137",
                                     "TEXT136", "COMBO136", "CHECK131"};
        if (std::find(std::begin(added), std::end(added), c.name) != std::end(added)) continue;
        all += c.name + "|" + c.caption + "|" + std::to_string(c.enabled) +
               std::to_string(c.visible) + std::to_string(c.checked) + std::to_string(c.x) + "," +
               std::to_string(c.y) + "," + std::to_string(c.width) + "," +
               std::to_string(c.height) + "\n";
    }
    return all;
}

TEST_F(CaseChoice, WithoutCaseResultsNothingChangesAndWithThemOnlyTheChoiceIsAdded) {
    p->model.AnalysisDone = 1;
    Form13& plain = open();
    const std::string before = controlsOf(plain);
    EXPECT_FALSE(plain.has("COMBO13"));
    EXPECT_FALSE(plain.has("CHECK130"));
    EXPECT_EQ(plain.height(), 600);
    // The load display in the window's own size, over no control.
    const Control& loads = plain.c("CHECK131");
    EXPECT_LE(loads.y + loads.height, 600);
    for (const Control& c : plain.controls())
        EXPECT_TRUE(&c == &loads || c.x + c.width <= loads.x || loads.x + loads.width <= c.x ||
                    c.y + c.height <= loads.y || loads.y + loads.height <= c.y)
            << c.name;
    plain.close();
    analyse();
    Form13& f = open();
    EXPECT_EQ(controlsOf(f), before);
    // Beside the picture, below the status line, over no other control; the
    // 検定比図 of the combinations below it, the window grown to hold it.
    for (const char* added : {"COMBO13", "CHECK130", "CHECK131"}) {
        const Control& box = f.c(added);
        EXPECT_LE(box.y + box.height, f.height());
        for (const Control& c : f.controls())
            EXPECT_TRUE(&c == &box || c.x + c.width <= box.x || box.x + box.width <= c.x ||
                        c.y + c.height <= box.y || box.y + box.height <= c.y)
                << c.name;
    }
    f.close();
    Form13& mouse = open(1); // the mouse analysis has neither
    EXPECT_FALSE(mouse.has("COMBO13"));
    EXPECT_FALSE(mouse.has("CHECK131"));
}

TEST_F(CaseChoice, ListsCasesCombinationsAndTheEnvelopesOfTheTermsWithCombinations) {
    analyse();
    Form13& f = open();
    EXPECT_EQ(f.c("COMBO13").items,
              (std::vector<std::string>{"G", "K", "L1（長期）G", "S1（短期）G+K", "S2（短期）G-K",
                                        "長期包絡", "短期包絡"}));
    // The analysis left the last combination in the model.
    EXPECT_EQ(f.c("COMBO13").selected, 4);
    EXPECT_EQ(f.caption(), "データ作図　組合せ S2（短期）G-K");
    f.close();
    p->loadCases.combinations.resize(1);
    analyse();
    EXPECT_EQ(open().c("COMBO13").items,
              (std::vector<std::string>{"G", "K", "L1（長期）G", "長期包絡"}));
}

TEST_F(CaseChoice, AChosenCaseOrCombinationIsInTheModelAndTheStressDiagramIsDrawnFromIt) {
    analyse();
    Form13& f = open();
    showStress(f);
    EXPECT_EQ(canvasToSvg(*f.picture()), canvasToSvg(planes["S2"]));
    for (auto [index, label, title] : {std::tuple{2, "L1", "組合せ L1（長期）G"},
                                       {3, "S1", "組合せ S1（短期）G+K"},
                                       {0, "G", "荷重ケース G"}}) {
        SCOPED_TRACE(label);
        ASSERT_TRUE(f.choose("COMBO13", index));
        EXPECT_EQ(f.caption(), std::string("データ作図　") + title);
        // A saved picture names it too.
        EXPECT_EQ(f.savedCaption(), std::string("（データ名なし）　応力図　") + title +
                                        "　単位：kN,m,rad　2026-12-08 10:20");
        EXPECT_TRUE(p->model.MemberEndForce == endForces[label]);
        EXPECT_EQ(canvasToSvg(*f.picture()), canvasToSvg(planes[label]));
    }
}

TEST_F(CaseChoice, TheEnvelopeBoundsEveryCombinationOfItsTermAndIsTheCurveOfASingleOne) {
    analyse();
    Model& md = p->model;
    for (LoadTerm term : {LoadTerm::Long, LoadTerm::Short}) {
        for (int m = 1; m <= 4; ++m) {
            std::vector<double> x;
            for (int i = 0; i <= 40; ++i)
                x.push_back(memberLength(md, m) / 100 * i / 40);
            const auto range = momentEnvelope(md, p->caseResults, term, m, x);
            ASSERT_EQ(range.size(), x.size());
            std::vector<double> largest(x.size(), -1e30), smallest(x.size(), 1e30);
            for (const CaseResult& r : p->caseResults) {
                if (!r.combination || r.term != term || !applyCaseResult(md, r)) continue;
                for (std::size_t i = 0; i < x.size(); ++i) {
                    largest[i] = std::max(largest[i], forcesAt(md, m, x[i]).My);
                    smallest[i] = std::min(smallest[i], forcesAt(md, m, x[i]).My);
                }
            }
            for (std::size_t i = 0; i < x.size(); ++i) {
                EXPECT_NEAR(range[i].MyLargest, largest[i], 1e-9) << m << " " << x[i];
                EXPECT_NEAR(range[i].MySmallest, smallest[i], 1e-9) << m << " " << x[i];
            }
        }
    }

    // The long term has L1 alone: every point of both boundary curves lies on
    // its moment curve (to float digits: the envelope takes the moment at the
    // end from the start's forces, the curve the end's own).
    auto expectOnCurve = [](const Canvas& drawn, const Canvas& reference, int least) {
        int points = 0;
        for (const Primitive& d : drawn.items()) {
            if (d.shape != Shape::Point || d.color != kMagenta) continue;
            ++points;
            bool on = false;
            for (const Primitive& c : reference.items()) {
                const double dx = c.x2 - c.x1, dy = c.y2 - c.y1, l = std::hypot(dx, dy);
                on = on ||
                     (c.color == kMagenta && c.shape == Shape::Point &&
                      std::hypot(c.x1 - d.x1, c.y1 - d.y1) < 1e-3) ||
                     (c.color == kMagenta && c.shape == Shape::Line && l > 0 &&
                      std::abs((d.x1 - c.x1) * dy - (d.y1 - c.y1) * dx) / l < 1e-3);
            }
            EXPECT_TRUE(on) << d.x1 << "," << d.y1;
        }
        EXPECT_GT(points, least);
    };
    Form13& f = open();
    showStress(f);
    ASSERT_TRUE(f.choose("COMBO13", 5));
    EXPECT_EQ(f.caption(), "データ作図　長期包絡");
    expectOnCurve(*f.picture(), planes["L1"], 2 * 4 * 100);
    picks.MemberSelected[2] = 1;
    envelopeMemberDiagram(*p, picks, standIn, LoadTerm::Long);
    expectOnCurve(*standIn.picture(), members["L1"], 4 * 540);
}

TEST_F(CaseChoice, TheDeformationIsDrawnAgainForTheChoiceAndGivenUpForAnEnvelope) {
    analyse();
    Form13& f = open();
    ASSERT_TRUE(f.click("RADIO55") && f.click("BUTTON69") && f.click("BUTTON79"));
    const std::string s2 = canvasToSvg(*f.picture()); // the enlarged deformation of S2
    ASSERT_TRUE(f.choose("COMBO13", 3));
    EXPECT_NE(canvasToSvg(*f.picture()), s2);
    ASSERT_TRUE(f.choose("COMBO13", 4));
    EXPECT_EQ(canvasToSvg(*f.picture()), s2);
    EXPECT_EQ(f.c("TEXT54").caption, "何かキーを押してください。");

    ASSERT_TRUE(f.choose("COMBO13", 6));
    EXPECT_EQ(f.plot.DrawingActive, 0);
    EXPECT_FALSE(f.c("RADIO55").enabled || f.c("BUTTON69").enabled);
    ASSERT_TRUE(f.choose("COMBO13", 2));
    EXPECT_TRUE(f.c("RADIO55").enabled);
}

TEST_F(CaseChoice, TheLoadDisplayShowsTheLoadsOfTheCaseOrCombinationChosen) {
    analyse();
    Form13& f = open();
    ASSERT_TRUE(f.click("RADIO56") && f.click("BUTTON69"));
    EXPECT_FALSE(f.c("CHECK131").checked); // off until the user asks
    ASSERT_TRUE(f.click("CHECK131"));
    auto values = [&](int colour) {
        std::vector<std::string> texts;
        for (const Primitive& item : f.picture()->items())
            if (item.shape == Shape::Text && item.color == colour) texts.push_back(item.text);
        return texts;
    };
    using Texts = std::vector<std::string>;
    struct Case {
        int entry;
        Texts nodes, members;
    } const cases[] = {{0, {"20kN"}, {"12kN/m", "12kN/m"}},
                       {1, {"30kN"}, {}},
                       {3, {"30kN", "20kN"}, {"12kN/m", "12kN/m"}}};
    for (const Case& c : cases) {
        ASSERT_TRUE(f.choose("COMBO13", c.entry));
        EXPECT_EQ(values(kNodeLoadColour), c.nodes) << c.entry;
        EXPECT_EQ(values(kMemberLoadColour), c.members) << c.entry;
    }
    ASSERT_TRUE(f.click("CHECK131"));
    EXPECT_TRUE(values(kNodeLoadColour).empty() && values(kMemberLoadColour).empty());
}

} // namespace
} // namespace rahmen
