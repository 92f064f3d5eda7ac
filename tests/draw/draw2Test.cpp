#include "draw/draw2.h"

#include "analysis/ana.h"
#include "model/Program.h"
#include "platform/Form.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
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

SilentProgress noProgress;

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
        m().MemberArea[k] = 60, m().MemberIy[k] = 30000, m().MemberIz[k] = m().MemberJ[k] = 2000;
    }
    // A fixed-fixed beam of 600 cm along X with 20 kN/m downward, analysed.
    void analysedBeam() {
        m().YoungModulus = 205000, m().ShearModulus = 79000;
        node(0, 0, 0), node(600, 0, 0), member(1, 2);
        m().MemberUniformLoad[1][2] = -20, m().MemberLoadFlag[1] = m().LoadedMemberCount = 1;
        ASSERT_TRUE(runAnalysis(m(), noProgress).ok);
    }
    // The primitives of one kind and colour, as "x1,y1" ("x1,y1>x2,y2" for a
    // line) rounded to 1/1000 pixel, with a text's own text in front.
    std::vector<std::string> drawn(Shape shape, int color) {
        auto xy = [](double x, double y) {
            char s[64];
            std::snprintf(s, sizeof s, "%g,%g", std::round(x * 1000) / 1000,
                          std::round(y * 1000) / 1000);
            return std::string(s);
        };
        std::vector<std::string> found;
        for (const Primitive& i : items())
            if (i.shape == shape && i.color == color)
                found.push_back((shape == Shape::Text ? i.text + "@" : "") + xy(i.x1, i.y1) +
                                (shape == Shape::Line ? ">" + xy(i.x2, i.y2) : ""));
        return found;
    }

    ScriptedPlatform platform;
    std::unique_ptr<Program> p;
    PlotWindow window;
    StressSelection picks;
};

TEST_F(StressDiagram, FixedBeamParabolasPassThroughTheEndAndMidSpanMoments) {
    using V = std::vector<std::string>;
    analysedBeam();
    picks.MemberSelected[1] = 1;
    picks.PickedPlaneAxis = "y";
    FORCE_ON(*p, picks, window);
    // Scale 570/600 cm: the beam lies from x = 40 to 610 at picture y = 460. End
    // moments 60 kN·m (hogging, drawn above), mid-span -90 + 60 = -30 kN·m, the
    // largest drawn 35 pixels from the member; one curve point per pixel.
    EXPECT_EQ(drawn(Shape::Line, 5), (V{"40,460>40,425", "610,425>610,460"}));
    const V curve = drawn(Shape::Point, 5);
    ASSERT_GE(curve.size(), 570u);
    EXPECT_EQ(curve[57], "97,443.9"); // a tenth of the span: 35 - 52.5·0.36 above
    EXPECT_EQ(curve[285], "325,477.5");
    // Labels: the end moments and the shear; the axial force is 0 and has none.
    const std::string legend = "　　　　　　　　　　  モーメント (↓+↑) *****@0,0";
    EXPECT_EQ(drawn(Shape::Text, 2), (V{legend, "60.0@48,450", "-60.0@584,460"}));
    EXPECT_EQ(drawn(Shape::Text, 4), (V{"　　せんだん力 (↓+↑) *****@508,0", "60.0@312,450"}));
    EXPECT_EQ(drawn(Shape::Text, 1), (V{"　　軸 方向力 (引張り→＋) *****@300,0"}));
    EXPECT_FALSE(window.c("HSCROLL1").visible);
    EXPECT_FALSE(window.c("BUTTON67").enabled);
    EXPECT_EQ(picks.MemberSelected[1], 0);

    // The single-member diagram: q1 = 60, q3 = -60, q5 = -30 scaled by 70/60,
    // 70 above the datum at both ends and 35 below it in the middle.
    picks.MemberSelected[1] = 1;
    SFRCE_ON(*p, picks, window);
    EXPECT_EQ(drawn(Shape::Point, 5).at(108), "164,137.2"); // 70 - 105·0.64 at a fifth
    EXPECT_EQ(drawn(Shape::Line, 5), (V{"55,140>55,70", "600,70>600,140", "55,420>600,420",
                                        "55,420>55,420", "600,420>600,420"}));
    EXPECT_EQ(drawn(Shape::Text, 2), (V{legend, "60.0@40,150", "-60.0@540,150", "0.0@40,430",
                                        "0.0@540,430", "中間最大モーメント：-30.0@260,120"}));
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
        SCOPED_TRACE(::testing::Message() << c.plane << " " << c.x2 << c.y2 << c.z2);
        std::vector<std::string> labels; // between the legend and the axis lines
        double dx = NAN, dy = NAN;       // the first curve line: to the start value
        for (const Primitive& t : items()) {
            if (t.shape == Shape::Text && t.y1 > 0 && t.y1 < 500) labels.push_back(t.text);
            if (t.shape == Shape::Line && t.color == 5 && std::isnan(dx))
                dx = t.x2 - t.x1, dy = t.y2 - t.y1;
        }
        EXPECT_EQ(labels, c.labels);
        EXPECT_NEAR(dx, c.dx, 1e-3);
        EXPECT_NEAR(dy, c.dy, 1e-3);
    }
}

TEST_F(StressDiagram, PrincipalAxisAngleMessageOncePerMemberAndNoneWithTheValuesHidden) {
    node(0, 0, 0), node(600, 0, 0), node(1200, 0, 0), node(1800, 0, 0);
    member(1, 2), member(2, 3), member(3, 4);
    m().MemberEndForce[1][2] = m().MemberEndForce[2][2] = m().MemberEndForce[3][2] = 10;
    m().MemberAngle[1] = m().MemberAngle[3] = 0.5f;
    for (int hidden : {0, 1}) {
        picks.MemberSelected[1] = picks.MemberSelected[2] = picks.MemberSelected[3] = 1;
        picks.PickedPlaneAxis = "y";
        FORCE_ON(*p, picks, window);
        std::vector<std::string> shown;
        for (const MessageCall& call : platform.dialogs.messages())
            shown.push_back(call.title + ":" + call.text);
        EXPECT_EQ(shown, (std::vector<std::string>{
                             "rahmen:部材番号1 は部材角があるため応力を表示できません。",
                             "rahmen:部材番号3 は部材角があるため応力を表示できません。"}));
        EXPECT_EQ(drawn(Shape::Line, 0).size(), 3u); // every member is drawn
        EXPECT_EQ(drawn(Shape::Line, 5).size(), 3u); // only member 2 gets its (straight) curve
        EXPECT_EQ(drawn(Shape::Text, 2).size(), hidden ? 0u : 2u); // legend, 2's start label
        CHVAL_ON(picks);
    }
}

TEST_F(StressDiagram, MembersTheDiagramCannotShow) {
    node(0, 0, 0), node(0, 600, 0), node(0, 0, 300);
    member(1, 2), member(1, 3), member(3, 9); // 1 runs across the X–Z plane, 3 to no node
    picks.MemberSelected[1] = picks.MemberSelected[2] = picks.MemberSelected[3] = 1;
    picks.PickedPlaneAxis = "y";
    FORCE_ON(*p, picks, window); // no moments at all: Mmax = 0
    // Only the column is drawn. The scale comes from the whole model (570 / 600
    // cm in Y), not from the plane's own extent: it stands at x = 325 from y = 460 to 175.
    EXPECT_EQ(drawn(Shape::Line, 0), std::vector<std::string>{"325,460>325,175"});
    EXPECT_TRUE(drawn(Shape::Line, 5).empty());
    EXPECT_TRUE(drawn(Shape::Point, 5).empty());
    // The X–Y plane of a model without extent in X and Y has no scale candidate.
    EXPECT_EQ(PlaneLayout(m(), 'z').scale(), 400.0 / 600);
    m().NodeY[2] = 0;
    EXPECT_EQ(PlaneLayout(m(), 'z').scale(), 1.0);
}

TEST(StressLabel, OneDecimalInFixedNotationAndNoLabelForZero) {
    const std::pair<double, const char*> cases[] = {
        {-12.34, "-12.3"}, {0.3f, "0.3"}, {-0.25, "-0.2"}, {60, "60.0"},
        {0, ""},           {0.04, ""},    {-0.06, "-0.1"}, {NAN, ""}};
    for (auto [value, text] : cases)
        EXPECT_EQ(stressLabel(value), text) << value;
}

} // namespace
} // namespace rahmen
