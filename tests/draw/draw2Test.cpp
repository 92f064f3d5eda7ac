#include "draw/draw2.h"

#include "analysis/ana.h"
#include "model/Program.h"
#include "platform/Form.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace rahmen {
namespace {

// The controls of the plotting window the stress diagrams touch, and its picture.
class PlotWindow : public Form {
public:
    PlotWindow() : Form("FORM13", "データ作図", 700, 640) {
        addPicture("PICTURE1", 0, 0, 680, 600);
        addHScroll("HSCROLL1", 80, 520, 490, 20);
        addVScroll("VSCROLL1", 0, 40, 20, 450);
        addVScroll("VSCROLL2", 640, 50, 20, 440);
        for (const char* name : {"TEXT54", "TEXT63", "TEXT64", "TEXT65"})
            addLabel(name, "", 0, 0, 10, 10);
        addButton("BUTTON67", "終了", 0, 0, 10, 10);
    }
};

struct NoProgress : AnalysisProgress {
    void step(const std::string&) override {}
    void print(const std::string&) override {}
};

class StressDiagram : public ::testing::Test {
protected:
    StressDiagram() : p(Program::create(platform.services())) {}
    Model& m() { return p->model; }
    const std::vector<Primitive>& items() { return window.picture()->items(); }

    void node(float x, float y, float z) {
        const int n = ++m().NodeCount;
        m().NodeX[n] = x, m().NodeY[n] = y, m().NodeZ[n] = z;
        m().NodeIsSupport[n] = -1;
        m().SupportCount = int16_t(n);
    }
    void member(int i, int j) {
        const int k = ++m().MemberCount;
        m().MemberStartNode[k] = int16_t(i), m().MemberEndNode[k] = int16_t(j);
        m().MemberArea[k] = 60, m().MemberIy[k] = 30000, m().MemberIz[k] = 2000;
        m().MemberJ[k] = 50;
    }
    // A fixed-fixed beam of 600 cm along X with 20 kN/m downward, analysed.
    void analysedBeam() {
        m().YoungModulus = 205000, m().ShearModulus = 79000;
        node(0, 0, 0), node(600, 0, 0), member(1, 2);
        m().MemberUniformLoad[1][2] = -20, m().MemberLoadFlag[1] = 1;
        m().LoadedMemberCount = 1;
        NoProgress progress;
        ASSERT_TRUE(runAnalysis(m(), progress).ok);
    }
    std::vector<Primitive> of(Shape shape, int color) {
        std::vector<Primitive> found;
        for (const Primitive& item : items())
            if (item.shape == shape && item.color == color) found.push_back(item);
        return found;
    }
    // The point of the moment curve drawn at picture x.
    const Primitive* curvePointAt(double x) {
        for (const Primitive& item : items())
            if (item.shape == Shape::Point && std::abs(item.x1 - x) < 1e-3) return &item;
        return nullptr;
    }

    ScriptedPlatform platform;
    std::unique_ptr<Program> p;
    PlotWindow window;
    StressSelection picks;
};

TEST_F(StressDiagram, FixedBeamPlaneDiagramHasTheParabolaThroughEndAndMidSpanMoments) {
    analysedBeam();
    picks.MemberSelected[1] = 1;
    picks.PickedPlaneAxis = "y";
    FORCE_ON(*p, picks, window);
    // Scale 570/600 cm: the beam lies from x = 40 to 610 at picture y = 460. End
    // moments 60 kN·m (hogging, drawn above), mid-span -90 + 60 = -30 kN·m, the
    // largest drawn 35 pixels from the member.
    const auto curve = of(Shape::Line, 5);
    ASSERT_EQ(curve.size(), 2u);
    EXPECT_NEAR(curve[0].x1, 40, 1e-3);
    EXPECT_NEAR(curve[0].y1, 460, 1e-3);
    EXPECT_NEAR(curve[0].x2, 40, 1e-3);
    EXPECT_NEAR(curve[0].y2, 425, 1e-3);
    EXPECT_NEAR(curve[1].x1, 610, 1e-3);
    EXPECT_NEAR(curve[1].y1, 425, 1e-3);
    const double points[][2] = {{40, 425}, {325, 477.5}, {97, 443.9}};
    for (auto [x, y] : points) {
        const Primitive* point = curvePointAt(x);
        ASSERT_NE(point, nullptr) << x;
        EXPECT_NEAR(point->y1, y, 1e-3) << x;
    }
    // Labels: start 60.0, end -60.0 (moments), the shear 60.0; the axial force is 0.
    const auto moments = of(Shape::Text, 2);
    ASSERT_EQ(moments.size(), 3u); // the legend and the two end moments
    EXPECT_EQ(moments[1].text, "60.0");
    EXPECT_EQ(moments[1].x1, 48);
    EXPECT_EQ(moments[1].y1, 450);
    EXPECT_EQ(moments[2].text, "-60.0");
    EXPECT_EQ(moments[2].x1, 584);
    EXPECT_EQ(moments[2].y1, 460);
    const auto shears = of(Shape::Text, 4);
    ASSERT_EQ(shears.size(), 2u);
    EXPECT_EQ(shears[1].text, "60.0");
    EXPECT_EQ(shears[1].x1, 312);
    EXPECT_EQ(shears[1].y1, 450);
    EXPECT_EQ(of(Shape::Text, 1).size(), 1u) << "only the legend: N = 0 has no label";
    EXPECT_FALSE(window.c("HSCROLL1").visible);
    EXPECT_FALSE(window.c("TEXT65").visible);
    EXPECT_FALSE(window.c("BUTTON67").enabled);
    EXPECT_EQ(picks.MemberSelected[1], 0);
}

TEST_F(StressDiagram, FixedBeamSingleMemberDiagram) {
    analysedBeam();
    picks.MemberSelected[1] = 1;
    SFRCE_ON(*p, picks, window);
    // q1 = 60, q3 = -60, q5 = -30 scaled by 70/60: 70 above the datum at both
    // ends, 35 below it in the middle; at a fifth of the span 70 - 105·0.64 = 2.8.
    const double points[][2] = {{164, 137.2}, {600, 70}, {56, 70.769228}};
    for (auto [x, y] : points) {
        const Primitive* point = curvePointAt(x);
        ASSERT_NE(point, nullptr) << x;
        EXPECT_NEAR(point->y1, y, 1e-3) << x;
    }
    const auto closing = of(Shape::Line, 5);
    ASSERT_EQ(closing.size(), 5u); // about y: two closing lines; about z: a flat line and two
    EXPECT_NEAR(closing[0].y2, 70, 1e-3);
    EXPECT_NEAR(closing[1].y1, 70, 1e-3);
    std::vector<std::string> texts;
    for (const Primitive& t : of(Shape::Text, 2))
        texts.push_back(t.text);
    EXPECT_EQ(texts,
              (std::vector<std::string>{"　　　　　　　　　　  モーメント (↓+↑) *****", "60.0",
                                        "-60.0", "0.0", "0.0", "中間最大モーメント：-30.0"}));
    EXPECT_EQ(window.c("TEXT54").caption, "ボタンを選択してください。");
}

// One member with distinct end values: which component and sign each plane
// shows, and on which side the start value is drawn (s = 35/35 = 1).
TEST_F(StressDiagram, ComponentAndSignByPlaneAndDirection) {
    struct Case {
        const char* plane;
        float x2, y2, z2; // end node; the start node is at the origin
        std::vector<std::string> labels;
        double dx, dy; // picture offset of the drawn start value
    } cases[] = {
        {"y", 600, 0, 0, {"-10.0", "-30.0", "5.0", "7.0"}, 0, 10},
        {"y", -600, 0, 0, {"10.0", "30.0", "5.0", "-7.0"}, 0, 10},
        {"y", 0, 0, 300, {"-20.0", "-35.0", "5.0", "-6.0"}, 20, 0},
        {"x", 0, 0, 300, {"10.0", "30.0", "5.0", "-7.0"}, -10, 0},
        {"x", 0, 0, -300, {"-10.0", "-30.0", "5.0", "7.0"}, -10, 0},
        {"x", 0, 600, 0, {"-10.0", "-30.0", "5.0", "7.0"}, 0, 10},
        {"z", 0, -600, 0, {"20.0", "35.0", "5.0", "6.0"}, 20, 0},
    };
    for (const Case& c : cases) {
        m().NodeCount = m().MemberCount = 0;
        node(0, 0, 0), node(c.x2, c.y2, c.z2), member(1, 2);
        const float forces[10] = {0, 0, 10, 20, 0, 30, 35, 5, 6, 7};
        std::copy(forces, forces + 10, m().MemberEndForce[1].begin());
        picks.MemberSelected[1] = 1;
        picks.PickedPlaneAxis = c.plane;
        FORCE_ON(*p, picks, window);
        std::vector<std::string> labels;
        for (const Primitive& t : items())
            if (t.shape == Shape::Text && t.y1 > 0 && t.y1 < 500) labels.push_back(t.text);
        EXPECT_EQ(labels, c.labels) << c.plane << c.x2 << c.y2 << c.z2;
        const Primitive start = of(Shape::Line, 5).at(0);
        EXPECT_NEAR(start.x2 - start.x1, c.dx, 1e-3) << c.plane << c.x2 << c.y2 << c.z2;
        EXPECT_NEAR(start.y2 - start.y1, c.dy, 1e-3) << c.plane << c.x2 << c.y2 << c.z2;
    }
}

TEST_F(StressDiagram, PrincipalAxisAngleMessageOncePerMemberAndDrawing) {
    node(0, 0, 0), node(600, 0, 0), node(1200, 0, 0), node(1800, 0, 0);
    member(1, 2), member(2, 3), member(3, 4);
    for (int k : {1, 2, 3})
        m().MemberEndForce[k][2] = 10;
    m().MemberAngle[1] = m().MemberAngle[3] = 0.5f;
    for (int16_t hide : {0, -1}) {
        platform.dialogs.clearLog();
        picks.HideStressValues = hide;
        picks.MemberSelected[1] = picks.MemberSelected[2] = picks.MemberSelected[3] = 1;
        picks.PickedPlaneAxis = "y";
        FORCE_ON(*p, picks, window);
        std::vector<std::string> shown;
        for (const MessageCall& call : platform.dialogs.messages())
            shown.push_back(call.title + ":" + call.text);
        if (hide)
            EXPECT_TRUE(shown.empty());
        else
            EXPECT_EQ(shown, (std::vector<std::string>{
                                 "rahmen:部材番号1 は部材角があるため応力を表示できません。",
                                 "rahmen:部材番号3 は部材角があるため応力を表示できません。"}));
        EXPECT_EQ(of(Shape::Line, 0).size(), 3u); // every member is drawn
        EXPECT_EQ(of(Shape::Line, 5).size(), 3u); // only member 2 gets its (straight) curve
        EXPECT_EQ(of(Shape::Text, 2).size(), hide ? 0u : 2u); // legend, 2's start label
    }
    CHVAL_ON(picks);
    EXPECT_EQ(picks.HideStressValues, 0);
}

TEST_F(StressDiagram, MembersTheDiagramCannotShow) {
    node(0, 0, 0), node(0, 600, 0), node(0, 0, 300);
    member(1, 2), member(1, 3), member(3, 9); // 1 runs across the X–Z plane, 3 to no node
    picks.MemberSelected[1] = picks.MemberSelected[2] = picks.MemberSelected[3] = 1;
    picks.PickedPlaneAxis = "y";
    FORCE_ON(*p, picks, window); // no moments at all: Mmax = 0
    const auto lines = of(Shape::Line, 0);
    ASSERT_EQ(lines.size(), 1u) << "the column only";
    // The scale comes from the whole model (570 / 600 cm in Y), not from the
    // plane's own extent: the column stands at x = 325 from y = 460 up to 175.
    EXPECT_NEAR(lines[0].x1, 325, 1e-3);
    EXPECT_NEAR(lines[0].y1, 460, 1e-3);
    EXPECT_NEAR(lines[0].y2, 175, 1e-3);
    EXPECT_TRUE(of(Shape::Line, 5).empty());
    EXPECT_TRUE(of(Shape::Point, 5).empty());
    EXPECT_EQ(stressMomentScale(m()), 0.0);
    // The X–Y plane of a model without extent in X and Y has no scale candidate.
    EXPECT_EQ(PlaneLayout(m(), 'z').scale(), 400.0 / 600);
    m().NodeY[2] = 0;
    EXPECT_EQ(PlaneLayout(m(), 'z').scale(), 1.0);
}

TEST(StressLabel, OneDecimalInFixedNotationAndNoLabelForZero) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{12.34, "12.3"}, {-12.34, "-12.3"}, {0.3f, "0.3"},     {0.25, "0.3"},
                 {-0.25, "-0.2"}, {60, "60.0"},      {0, ""},           {0.04, ""},
                 {-0.06, "-0.1"}, {NAN, ""},         {1e6, "1000000.0"}};
    for (const auto& c : cases)
        EXPECT_EQ(stressLabel(c.value), c.text) << c.value;
}

} // namespace
} // namespace rahmen
