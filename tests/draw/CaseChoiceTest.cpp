// The plotting window of a frame analysed under load cases: the choice of the
// case, combination or envelope its diagrams show. A portal in the X–Z plane,
// its beam in two members (the second drawn backwards), the right column
// drawn downwards: G loads the beam, K pushes it sideways.

#include "DrawingTesting.h"

#include "analysis/LoadCaseAnalysis.h"
#include "draw/Form13.h"
#include "forms/MenuStandIn.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

namespace rahmen {
namespace {

struct Silent : AnalysisProgress {
    void step(const std::string&) override {}
    void print(const std::string&) override {}
};

// The plotting window's controls the stress diagrams read.
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
        md.YoungModulus = 205000;
        md.ShearModulus = 79000;
        const float xz[5][2] = {{0, 0}, {0, 400}, {300, 400}, {600, 400}, {600, 0}};
        for (int n = 1; n <= 5; ++n)
            md.NodeX[n] = xz[n - 1][0], md.NodeZ[n] = xz[n - 1][1];
        md.NodeCount = 5;
        const int ends[4][2] = {{1, 2}, {2, 3}, {4, 3}, {4, 5}};
        for (int m = 1; m <= 4; ++m) {
            md.MemberStartNode[m] = static_cast<int16_t>(ends[m - 1][0]);
            md.MemberEndNode[m] = static_cast<int16_t>(ends[m - 1][1]);
            md.MemberArea[m] = 100;
            md.MemberIy[m] = md.MemberIz[m] = 20000;
            md.MemberJ[m] = 500;
        }
        md.MemberCount = 4;
        md.NodeIsSupport[1] = md.NodeIsSupport[5] = -1;
        md.SupportCount = 2;
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

    // The analysis of every case, keeping each result as the program does and
    // the plane diagram of all members as it was drawn from the analysis' own
    // tables.
    void analyse() {
        const LoadCaseSet& set = p->loadCases;
        p->caseResults.clear();
        Silent progress;
        const LoadCaseOutcome out = analyseLoadCases(
            p->model, set, progress,
            [&](const std::string& label, Model& md, const std::vector<float>& reaction) {
                CaseResult r = captureCaseResult(md, label, reaction);
                const std::size_t i = p->caseResults.size();
                r.combination = i >= set.cases.size();
                if (r.combination) r.term = set.combinations[i - set.cases.size()].term;
                p->caseResults.push_back(r);
                endForces[label] = md.MemberEndForce;
                planeDiagrams[label] = planeDiagram([&] { FORCE_ON(*p, picks, standIn); });
            });
        ASSERT_TRUE(out.ok) << out.message;
    }

    std::vector<Primitive> planeDiagram(const std::function<void()>& draw) {
        for (int m = 1; m <= 4; ++m)
            picks.MemberSelected[m] = 1;
        picks.PickedPlaneAxis = "y";
        draw();
        return standIn.picture()->items();
    }

    Form13& open(int mode = 0) {
        p->PlotWindowMode = static_cast<int16_t>(mode);
        if (mode == 1) platform.dialogs.queueMessage(MessageResult::No);
        return *dynamic_cast<Form13*>(p->openForm("FORM13"));
    }

    // The plane diagram of every member shown in the window.
    void showStress(Form13& f) {
        ASSERT_TRUE(f.click("RADIO60"));
        ASSERT_TRUE(f.click("BUTTON69"));
        for (int n : {1, 2, 3}) { // the plane Y = 0
            const PicturePoint at = nodePoint(f.plot.view, n);
            f.mouseDown(MouseButton::Left, int(std::lround(at.x)), int(std::lround(at.y)));
        }
        ASSERT_EQ(f.stress.PickedPlaneAxis, "y");
        ASSERT_TRUE(f.click("BUTTON69"));
    }

    ScriptedPlatform platform;
    std::unique_ptr<Program> p;
    testing::MenuStandIn menu;
    StressWindow standIn;
    StressSelection picks;
    std::map<std::string, decltype(Model::MemberEndForce)> endForces;
    std::map<std::string, std::vector<Primitive>> planeDiagrams;
};

bool samePrimitives(const std::vector<Primitive>& a, const std::vector<Primitive>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].shape != b[i].shape || a[i].color != b[i].color || a[i].text != b[i].text ||
            a[i].x1 != b[i].x1 || a[i].y1 != b[i].y1 || a[i].x2 != b[i].x2 || a[i].y2 != b[i].y2)
            return false;
    return true;
}

std::string layout(const Control& c) {
    std::string items;
    for (const std::string& item : c.items)
        items += item + ";";
    return c.name + "|" + c.caption + "|" + std::to_string(c.enabled) + std::to_string(c.visible) +
           std::to_string(c.checked) + "|" + std::to_string(c.x) + "," + std::to_string(c.y) + "," +
           std::to_string(c.width) + "," + std::to_string(c.height) + "|" +
           std::to_string(c.tabIndex) + "|" + items + std::to_string(c.selected);
}

TEST_F(CaseChoice, WithoutCaseResultsNothingChangesAndWithThemOnlyTheChoiceIsAdded) {
    p->model.AnalysisDone = 1;
    std::vector<std::string> before;
    Form13& plain = open();
    for (const Control& c : plain.controls())
        before.push_back(layout(c));
    plain.close();
    analyse();
    Form13& f = open();
    std::vector<std::string> after;
    for (const Control& c : f.controls()) {
        if (c.name != "COMBO13") after.push_back(layout(c));
    }
    EXPECT_EQ(after, before);
    // Beside the picture, below the status line, over no other control.
    const Control& choice = f.c("COMBO13");
    EXPECT_LE(choice.y + choice.height, f.height());
    for (const Control& c : f.controls()) {
        if (c.name == "COMBO13") continue;
        EXPECT_TRUE(c.x + c.width <= choice.x || choice.x + choice.width <= c.x ||
                    c.y + c.height <= choice.y || choice.y + choice.height <= c.y)
            << c.name;
    }
    f.close();
    EXPECT_FALSE(open(1).has("COMBO13")); // the mouse analysis has none
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
    ASSERT_TRUE(f.choose("COMBO13", 1));
    EXPECT_EQ(f.caption(), "データ作図　荷重ケース K");
    f.close();

    p->loadCases.combinations.resize(1);
    analyse();
    EXPECT_EQ(open().c("COMBO13").items,
              (std::vector<std::string>{"G", "K", "L1（長期）G", "長期包絡"}));
}

TEST_F(CaseChoice, AChosenCombinationIsInTheModelAndTheStressDiagramIsDrawnFromIt) {
    analyse();
    Form13& f = open();
    showStress(f);
    ASSERT_TRUE(samePrimitives(f.picture()->items(), planeDiagrams["S2"]));
    for (auto [index, label] : {std::pair{2, "L1"}, {3, "S1"}, {0, "G"}}) {
        SCOPED_TRACE(label);
        ASSERT_TRUE(f.choose("COMBO13", index));
        EXPECT_TRUE(p->model.MemberEndForce == endForces[label]);
        EXPECT_TRUE(samePrimitives(f.picture()->items(), planeDiagrams[label]));
    }
}

TEST_F(CaseChoice, TheEnvelopeBoundsEveryCombinationOfItsTermAndIsTheCurveOfASingleOne) {
    analyse();
    Model& md = p->model;
    for (LoadTerm term : {LoadTerm::Long, LoadTerm::Short}) {
        for (int m = 1; m <= 4; ++m) {
            const double L = memberLength(md, m) / 100;
            std::vector<double> x;
            for (int i = 0; i <= 40; ++i)
                x.push_back(L * i / 40);
            const auto range = momentEnvelope(md, p->caseResults, term, m, x);
            ASSERT_EQ(range.size(), x.size());
            std::vector<double> largest(x.size(), -1e30), smallest(x.size(), 1e30);
            for (const CaseResult& r : p->caseResults) {
                if (!r.combination || r.term != term) continue;
                applyCaseResult(md, r);
                for (std::size_t i = 0; i < x.size(); ++i) {
                    const double v = forcesAt(md, m, x[i]).My;
                    largest[i] = std::max(largest[i], v);
                    smallest[i] = std::min(smallest[i], v);
                }
            }
            for (std::size_t i = 0; i < x.size(); ++i) {
                EXPECT_NEAR(range[i].MyLargest, largest[i], 1e-9) << m << " " << x[i];
                EXPECT_NEAR(range[i].MySmallest, smallest[i], 1e-9) << m << " " << x[i];
            }
        }
    }

    // The long term has L1 alone: both boundary curves lie on its moment curve
    // (to float digits: the envelope takes the moment at the end from the
    // start's forces, the curve the end's own).
    Form13& f = open();
    showStress(f);
    ASSERT_TRUE(f.choose("COMBO13", 5));
    EXPECT_EQ(f.caption(), "データ作図　長期包絡");
    std::vector<Primitive> curve;
    for (const Primitive& item : planeDiagrams["L1"])
        if (item.color == kMagenta) curve.push_back(item);
    auto onCurve = [&](double x, double y) {
        for (const Primitive& c : curve) {
            if (c.shape == Shape::Point && std::hypot(c.x1 - x, c.y1 - y) < 1e-3) return true;
            const double dx = c.x2 - c.x1, dy = c.y2 - c.y1, l = std::hypot(dx, dy);
            if (c.shape == Shape::Line && l > 0 &&
                std::abs((x - c.x1) * dy - (y - c.y1) * dx) / l < 1e-3)
                return true;
        }
        return false;
    };
    int points = 0;
    for (const Primitive& item : f.picture()->items()) {
        if (item.shape != Shape::Point || item.color != kMagenta) continue;
        ++points;
        EXPECT_TRUE(onCurve(item.x1, item.y1)) << item.x1 << "," << item.y1;
    }
    EXPECT_GT(points, 2 * 4 * 100);
}

TEST_F(CaseChoice, TheDeformationIsDrawnAgainForTheChoiceAndGivenUpForAnEnvelope) {
    analyse();
    Form13& f = open();
    ASSERT_TRUE(f.click("RADIO55"));
    ASSERT_TRUE(f.click("BUTTON69"));
    ASSERT_TRUE(f.click("BUTTON79")); // the enlarged deformation picture
    const std::vector<Primitive> s2 = f.picture()->items();
    ASSERT_TRUE(f.choose("COMBO13", 3));
    EXPECT_FALSE(samePrimitives(f.picture()->items(), s2));
    ASSERT_TRUE(f.choose("COMBO13", 4));
    EXPECT_TRUE(samePrimitives(f.picture()->items(), s2));
    EXPECT_EQ(f.c("TEXT54").caption, "何かキーを押してください。");

    ASSERT_TRUE(f.choose("COMBO13", 6));
    EXPECT_EQ(f.plot.DrawingActive, 0);
    EXPECT_FALSE(f.c("RADIO55").enabled);
    EXPECT_FALSE(f.c("BUTTON69").enabled);
    ASSERT_TRUE(f.choose("COMBO13", 2));
    EXPECT_TRUE(f.c("RADIO55").enabled);
}

} // namespace
} // namespace rahmen
