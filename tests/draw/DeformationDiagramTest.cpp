#include "DrawingTesting.h"

#include "draw/draw1.h"

#include <algorithm>
#include <cmath>

namespace rahmen::testing {
namespace {

class DeformationDiagram : public DrawingTest {
protected:
    // A member of `length` cm along X from node 1 (a support) to node 2.
    void beam(float length) {
        node(1, 0, 0, 0);
        node(2, length, 0, 0);
        member(1, 1, 2);
        m().NodeIsSupport[1] = -1;
    }
    // The enlarged view at angles 0 (for a 600 cm beam: 1.225652 px/cm).
    void enlarged() {
        startView(m(), plot.view);
        enlargeView(plot.view);
    }
    double& displacement(int node, int k) { return m().NodeDisplacement[6 * node - 6 + k]; }
};

TEST_F(DeformationDiagram, MagnificationFollowsTheBandOfTheLargestDisplacement) {
    beam(600);
    const struct {
        double U, D;
    } bands[] = {{0, 100},        {1, 30},    {4, 8.75},
                 {14, 40.0 / 14}, {40, 1.25}, {150, 0.5}}; // at s = 0.5 px/cm
    for (const auto& b : bands) {
        displacement(2, 1) = b.U;
        double U = -1;
        EXPECT_NEAR(deformationScale(m(), 0.5, &U), b.D, 1e-9) << b.U;
        EXPECT_EQ(U, b.U);
    }
}

TEST_F(DeformationDiagram, UniformLoadDeflectionUsesTheAnalysisModulusInBothUnitSystems) {
    // A 600 cm fixed-fixed beam, Iy = 38700 cm⁴, loaded downward.
    const struct {
        const char* name;
        float unitFactor, E, load;
        double midspan, largest;
    } cases[] = {{"older units, 2 t/m", 1.0f, 2100, -2, 0.0830565, 0.1661130},
                 {"SI, 20 kN/m", kSiUnitFactor, 205000, -20, 0.0850822, 0.1701645}};
    for (const auto& c : cases) {
        beam(600);
        m().NodeIsSupport[2] = -1;
        m().UnitFactor = c.unitFactor;
        m().YoungModulus = c.E;
        m().MemberIy[1] = 38700;
        m().MemberIz[1] = 38700;
        m().MemberUniformLoad[1][2] = c.load;
        m().MemberLoadFlag[1] = 1;
        enlarged();
        double U = 0;
        const double D = deformationScale(m(), plot.view.placed.scale, &U);
        EXPECT_NEAR(U, c.largest, 1e-6) << c.name;
        const MemberCurve curve = memberCurve(m(), plot.view, 1, D);
        double deepest = 0;
        for (const auto& p : curve.local)
            deepest = std::min(deepest, p[2]);
        EXPECT_NEAR(-deepest / D, c.midspan, 1e-6) << c.name;
        EXPECT_NEAR(curve.local.back()[2], 0.0, 1e-9) << c.name;
    }
}

TEST_F(DeformationDiagram, CantileverCurveIsTheCubicEndingAtTheDisplacedTip) {
    // 300 cm, tip 1 cm down and turned by PL²/2EI = 1.5 / 300 about Y.
    beam(300);
    displacement(2, 3) = -1;
    displacement(2, 5) = 0.005;
    DEFORM_ON(*p, plot, window);
    EXPECT_NEAR(plot.view.ViewScale, 1.555635, 1e-6);
    EXPECT_DOUBLE_EQ(plot.DeformScale, 35.0); // 1 <= p = 1.56 < 5
    EXPECT_TRUE(items(Shape::Point).empty());

    LOOP_END1(*p, plot, window);
    EXPECT_NEAR(plot.view.placed.scale, 2.451304, 1e-6);
    const MemberCurve curve = memberCurve(m(), plot.view, 1, 35.0);
    ASSERT_EQ(curve.local.size(), 736u); // deformed length 735.39 pixels
    for (std::size_t i = 0; i < curve.local.size(); i += 49) {
        const double xi = i / 735.3911;
        EXPECT_NEAR(curve.local[i][2], -35 * xi * xi * (3 - xi) / 2, 1e-3) << i;
        EXPECT_NEAR(curve.local[i][1], 0.0, 1e-9);
    }
    // The tip (node 2 moved 35 px down, i.e. 35 * 0.8165 on screen).
    const PicturePoint tip = nodePoint(plot.view, 2);
    EXPECT_NEAR(curve.points.back().x, tip.x, 0.5);
    EXPECT_NEAR(curve.points.back().y, tip.y + 35 * 0.8165, 0.5);
    EXPECT_EQ(items(Shape::Point, 5).size(), 736u);

    // The header and the ratio of the enlarged picture: 35 / 2.451304 = 14.278.
    // In ems of 17.33 px: head 4 x 0.6 + 16, ratio 11 x 0.6 and tail 4 x 0.6 + 1
    // with two gaps of 0.6 (513.1 px) end 8 px before the right edge: head at
    // x 158.9, ratio at 158.9 + 318.9 + 10.4 = 488.3, tail at 613.1.
    const auto header = items(Shape::Text, 0);
    ASSERT_GE(header.size(), 2u);
    EXPECT_EQ(header[header.size() - 2].text, "***変形図(架構縮尺に対する変位の倍率");
    EXPECT_EQ(header[header.size() - 2].x1, 158);
    EXPECT_EQ(header.back().text, "倍)***");
    EXPECT_EQ(header.back().x1, 612);
    EXPECT_EQ(header.back().fontSize, 13);
    const auto ratio = items(Shape::Text, 6);
    ASSERT_EQ(ratio.size(), 1u);
    EXPECT_EQ(ratio[0].text, " 142.78E-01");
    EXPECT_EQ(ratio[0].x1, 488);
    EXPECT_EQ(window.c("TEXT54").caption, "何かキーを押してください。");

    DRAW_KEY(*p, plot, window);
    EXPECT_EQ(items(Shape::Text, 6).size(), 3u); // the ratio and two node numbers
    EXPECT_EQ(items(Shape::Text, 6).back().fontSize, 10);
    EXPECT_EQ(canvas().fontSize(), 9); // the next picture starts as this one did
    EXPECT_TRUE(window.c("BUTTON79").enabled);
    EXPECT_EQ(window.c("BUTTON79").caption, "変形図終了");

    LOOP_END1(*p, plot, window);
    EXPECT_EQ(plot.DrawingActive, 0);
    EXPECT_EQ(window.c("BUTTON79").caption, "");
    EXPECT_FALSE(window.c("RADIO57").enabled);
}

TEST_F(DeformationDiagram, AfterAnInteractiveAnalysisTheEnlargedPictureComesAtOnce) {
    beam(300);
    displacement(2, 3) = -1;
    m().NodeLoadFlag[2] = 1;
    p->SkipAnalysisFile = -1;
    DEFORM_ON(*p, plot, window);
    EXPECT_EQ(items(Shape::FilledCircle, 6).size(), 1u); // the support
    EXPECT_EQ(items(Shape::FilledCircle, 7).size(), 1u); // the loaded node
    EXPECT_EQ(p->SkipAnalysisFile, 0);
    EXPECT_EQ(window.c("BUTTON79").caption, "変形図終了");
    EXPECT_FALSE(window.c("BUTTON79").enabled);
    // Placed by the normal fit, on the enlarged baseline: 35 / 1.555635 = 22.499.
    EXPECT_EQ(plot.view.Baseline, 590.0f);
    EXPECT_EQ(items(Shape::Text, 6)[0].text, " 224.99E-01");
    // Turning the picture: the plain frame, the magnification kept for the next one.
    window.c("VSCROLL1").scrollPos = -500;
    SCROLL_CHANGE1(*p, plot, window);
    EXPECT_EQ(window.c("BUTTON79").caption, "角度決定");
    EXPECT_TRUE(items(Shape::Point).empty());
    EXPECT_EQ(items(Shape::FilledCircle, 7).size(), 1u);
    EXPECT_DOUBLE_EQ(plot.DeformScale, 35.0);
}

TEST_F(DeformationDiagram, RigidBodyTurnDrawsAStraightMemberAtAnyMagnification) {
    // Tiny displacements give D / s far above 5000; slopes and chord still agree.
    beam(600);
    displacement(1, 6) = 1e-7;
    displacement(2, 6) = 1e-7;
    displacement(2, 2) = 6e-5;
    enlarged();
    const double D = deformationScale(m(), plot.view.placed.scale);
    EXPECT_NEAR(D, 5e5, 1e-3);
    const MemberCurve curve = memberCurve(m(), plot.view, 1, D);
    const double slope = 30.0 / 735.3911;
    for (const auto& p : curve.local)
        ASSERT_NEAR(p[1], slope * p[0], 1e-5);
}

TEST_F(DeformationDiagram, PinsAreDecidedPlaneByPlane) {
    // A 600 cm beam without displacements (D = 50 / s, r = D / s = 33.284,
    // l = 735.391 px), turned at its ends; the curve at pixel 100.
    const struct {
        const char* name;
        int16_t pinSY, pinEY, pinSZ, pinEZ, startPinned, endPinned;
        double startY, startZ, endY; // node rotations about Y and Z
        float pinRotationZ1;         // from the analysis: start, about z
        double v, w;
    } cases[] = {
        // v = 0.002 r x (1 - x/l)² from the pin; w = -0.001 r x (1 - x/l)² from the node.
        {"start pinned about z only", 0, 0, -1, 0, 1, 0, 0.001, 0, 0, 0.002f, 4.969484, -2.484742},
        // Pinned about y at the start and about z at the end: the analysis gives
        // no pin rotation; each pinned end turns back half the other end's slope.
        {"y at the start, z at the end", -1, 0, 0, -1, 1, 1, 0, 0.001, 0.002, 0, 2.680271,
         3.266856},
    };
    for (const auto& c : cases) {
        beam(600);
        m().PinStartY[1] = c.pinSY;
        m().PinEndY[1] = c.pinEY;
        m().PinStartZ[1] = c.pinSZ;
        m().PinEndZ[1] = c.pinEZ;
        m().MemberStartPinned[1] = c.startPinned;
        m().MemberEndPinned[1] = c.endPinned;
        displacement(1, 5) = c.startY;
        displacement(1, 6) = c.startZ;
        displacement(2, 5) = c.endY;
        m().PinRotation[1][2] = c.pinRotationZ1;
        enlarged();
        EXPECT_NEAR(plot.view.placed.scale, 1.2256518, 1e-6);
        const MemberCurve curve = memberCurve(m(), plot.view, 1, 50 / 1.2256518);
        EXPECT_NEAR(curve.local[100][1], c.v, 1e-4) << c.name;
        EXPECT_NEAR(curve.local[100][2], c.w, 1e-4) << c.name;
        EXPECT_FLOAT_EQ(m().PinRotation[1][2], c.pinRotationZ1) << c.name;
    }
}

TEST_F(DeformationDiagram, MemberUnderOnePixelIsDrawnAsItsChord) {
    beam(600);
    node(3, 0.5f, 0, 0);
    member(2, 1, 3);
    m().MemberLoadFlag[2] = 1;
    m().MemberUniformLoad[2][2] = -10;
    m().YoungModulus = 205000;
    m().MemberIy[2] = 1000;
    enlarged();
    const MemberCurve curve = memberCurve(m(), plot.view, 2, 10.0);
    EXPECT_TRUE(curve.chordOnly);
    ASSERT_EQ(curve.points.size(), 2u);
    EXPECT_TRUE(std::isfinite(curve.points[1].y));
}

} // namespace
} // namespace rahmen::testing
