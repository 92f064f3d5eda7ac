#include "analysis/MemberResults.h"
#include "analysis/ana.h"

#include "TestFrame.h"
#include "analysis/NodeOrder.h"
#include "model/Model.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

using namespace rahmen;
using namespace rahmen::test;

namespace {

#define EXPECT_REL(actual, expected, tol)                                                          \
    EXPECT_NEAR((actual), (expected), (tol)*std::abs(double(expected)))

// A fixed-fixed beam of 600 cm along X between two supports.
Frame supportedBeam() {
    Frame f;
    f.node(0, 0, 0, true);
    f.node(600, 0, 0, true);
    f.member(1, 2, 60, 30000, 2000, 50);
    return f;
}

} // namespace

TEST(Analysis, CantileverColumnWithHorizontalEndLoad) {
    for (float kappa : {0.0f, 1.2f}) {
        Frame f;
        f.node(0, 0, 0, true);
        f.node(0, 0, 300);
        f.member(1, 2, 100, 20000, 10000, 30000); // going up: member y along X, Iz bends it
        f.m.MemberShearAreaY[1] = 60;
        f.m.MemberShearAreaZ[1] = 50;
        f.m.ShearShapeFactor = kappa;
        f.load(2, 1, 10);
        const AnalysisOutcome out = run(f);
        ASSERT_TRUE(out.ok) << out.message;
        // P·L³/(3EI) = 0.4390244 cm; with shear + P·L·κ/(G·As) = 0.4481383 cm.
        EXPECT_REL(f.disp(2, 1), kappa == 0 ? 0.43902439 : 0.44813831, 1e-5);
        EXPECT_EQ(f.disp(1, 1), 0.0);
        EXPECT_REL(reaction(out, 1, 1), -10.0, 1e-5);
        EXPECT_REL(reaction(out, 1, 5), -3000.0, 1e-5); // load × height, kN·cm
        EXPECT_NEAR(reaction(out, 1, 3), 0.0, 1e-4);
        // End forces in member axes: shear 10 kN along y, base moment 30 kN·m about z.
        EXPECT_REL(f.m.MemberEndForce[1][8], 10.0, 1e-5);
        EXPECT_REL(std::abs(f.m.MemberEndForce[1][3]), 30.0, 1e-5);
        EXPECT_NEAR(f.m.MemberEndForce[1][6], 0.0, 1e-4);
    }
}

TEST(Analysis, RotationalSpringAtTheBaseOfACantilever) {
    Frame f;
    f.node(0, 0, 0, true);
    f.node(0, 0, 300);
    f.member(1, 2, 100, 20000, 10000, 30000);
    f.m.SpringStart[1][6] = 2e6; // kN·cm/rad about member z
    f.m.MemberStartSprung[1] = 1;
    f.load(2, 1, 10);
    const AnalysisOutcome out = run(f);
    ASSERT_TRUE(out.ok) << out.message;
    // P·L³/(3EI) + P·L²/k = 0.4390244 + 0.45 cm; the spring turns by M/k = -0.0015 rad.
    EXPECT_REL(f.disp(2, 1), 0.88902439, 1e-5);
    EXPECT_REL(f.m.SpringRotation[1][2], -0.0015, 1e-5);
}

TEST(Analysis, BeamBetweenTwoSupportsUnderUniformLoad) {
    Frame f = supportedBeam();
    f.uniform(1, 0, -20); // 20 kN/m downward
    const AnalysisOutcome out = run(f);
    ASSERT_TRUE(out.ok) << out.message;
    for (int k = 1; k <= 12; ++k)
        EXPECT_EQ(f.m.NodeDisplacement[k], 0.0);
    const auto& ef = f.m.MemberEndForce[1];
    // End moments wL²/12 = 60 kN·m, end shears wL/2 = 60 kN at both ends.
    EXPECT_REL(ef[2], -60.0, 1e-6);
    EXPECT_REL(ef[5], 60.0, 1e-6);
    EXPECT_REL(ef[9], 60.0, 1e-6);
    // The start's own shear, as the report lists it: −(m,9) − wz·L.
    EXPECT_REL(-ef[9] - (-20.0f) * 6.0f, 60.0, 1e-6);
    EXPECT_NEAR(ef[7], 0.0, 1e-6);
    // Intermediate maximum moment |wL²/8 − wL²/12| = wL²/24 = 30 kN·m.
    EXPECT_REL(intermediateMaxMoments(f.m, 1)[0], 30.0, 1e-6);
    EXPECT_NEAR(intermediateMaxMoments(f.m, 1)[1], 0.0, 1e-6);
    EXPECT_REL(f.m.MemberLoadMoment[1][13], -9000.0, 1e-6); // wz·L²/8, stays
    EXPECT_EQ(f.m.MemberLoadMoment[1][5], 0.0f);            // fixed-end moments cleared
    // Reactions: 60 kN up at each end, ∓60 kN·m about Y.
    EXPECT_REL(reaction(out, 1, 3), 60.0, 1e-6);
    EXPECT_REL(reaction(out, 2, 3), 60.0, 1e-6);
    EXPECT_REL(reaction(out, 1, 5), -6000.0, 1e-6);
    EXPECT_REL(reaction(out, 2, 5), 6000.0, 1e-6);
    EXPECT_EQ(f.m.EquivalentNodeLoad[3], 0.0f);
    EXPECT_EQ(f.m.SupportEquivalentLoad[3], 0.0f);
}

TEST(Analysis, MemberPinnedAboutYAtItsEndOnly) {
    Frame f = supportedBeam();
    f.m.PinEndY[1] = -1;
    f.m.MemberEndPinned[1] = 1;
    f.uniform(1, 0, -20);
    const AnalysisOutcome out = run(f);
    ASSERT_TRUE(out.ok) << out.message;
    const auto& ef = f.m.MemberEndForce[1];
    // wL²/8 = 90 kN·m at the start, 0 at the pin; shears 5wL/8 = 75 and 3wL/8 = 45.
    EXPECT_REL(ef[2], -90.0, 1e-6);
    EXPECT_NEAR(ef[5], 0.0, 1e-6);
    EXPECT_REL(ef[9], 45.0, 1e-6);
    EXPECT_REL(-ef[9] - (-20.0f) * 6.0f, 75.0, 1e-6);
    EXPECT_REL(reaction(out, 1, 3), 75.0, 1e-6);
    EXPECT_REL(reaction(out, 2, 3), 45.0, 1e-6);
    EXPECT_REL(reaction(out, 1, 5), -9000.0, 1e-6);
    EXPECT_NEAR(reaction(out, 2, 5), 0.0, 1e-3);
}

TEST(Analysis, EndSpringsChangeTheFixedEndMomentsAndTakeTheirRotation) {
    // Spring at the start with 4·E·I/L: moments 60 → 30 kN·m at the start and
    // 75 kN·m at the end; the spring turns by M/k with M the fixed-end moment.
    Frame f = supportedBeam();
    f.m.SpringStart[1][5] = 4.1e6;
    f.m.MemberStartSprung[1] = 1;
    f.uniform(1, 0, -20);
    AnalysisOutcome out = run(f);
    ASSERT_TRUE(out.ok) << out.message;
    EXPECT_REL(f.m.MemberEndForce[1][2], -30.0, 1e-6);
    EXPECT_REL(f.m.MemberEndForce[1][5], 75.0, 1e-6);
    EXPECT_REL(f.m.MemberEndForce[1][9], 67.5, 1e-6);
    EXPECT_REL(reaction(out, 1, 3), 52.5, 1e-6);
    EXPECT_REL(f.m.SpringRotation[1][1], -7.3170732e-4, 1e-6);

    // Equal springs of 10⁶ kN·cm/rad at both ends: 60 → 19.67213 kN·m.
    Frame g = supportedBeam();
    g.m.SpringStart[1][5] = g.m.SpringEnd[1][5] = 1e6;
    g.uniform(1, 0, -20);
    out = run(g);
    ASSERT_TRUE(out.ok) << out.message;
    EXPECT_REL(g.m.MemberEndForce[1][2], -19.67213, 1e-6);
    EXPECT_REL(g.m.MemberEndForce[1][5], 19.67213, 1e-6);
    EXPECT_REL(g.m.MemberEndForce[1][9], 60.0, 1e-6);
}

TEST(Analysis, TorsionOfACantilever) {
    // T·L/(G·J) = 1000·400/(7900·500) = 0.1012658 rad; J = 0 uses Iy + Iz;
    // a torsion spring of 2·10⁶ kN·cm/rad at the end adds T/k.
    struct Case {
        float J, Iy, Iz, spring;
        double expected;
    };
    for (const Case& c : {Case{500, 3000, 2000, 0, 0.10126582}, Case{0, 300, 200, 0, 0.10126582},
                          Case{500, 3000, 2000, 2e6, 0.10176582}}) {
        Frame f;
        f.node(0, 0, 0, true);
        f.node(400, 0, 0);
        f.member(1, 2, 60, c.Iy, c.Iz, c.J);
        f.m.SpringEnd[1][4] = c.spring;
        f.load(2, 4, 1000);
        const AnalysisOutcome out = run(f);
        ASSERT_TRUE(out.ok) << out.message;
        EXPECT_REL(f.disp(2, 4), c.expected, 1e-5);
        EXPECT_REL(f.m.MemberEndForce[1][4], 10.0, 1e-5); // torsion 10 kN·m at the end
        EXPECT_REL(reaction(out, 1, 4), -1000.0, 1e-5);
    }
}

TEST(Analysis, AxialSpringsActInSeriesWithTheMember) {
    // u = P·(L/EA + 1/k1 + 1/k2) = 50·(400/2050000 + 1/10⁵ + 1/(2·10⁵)) = 0.01050610 cm.
    Frame f;
    f.node(0, 0, 0, true);
    f.node(400, 0, 0);
    f.member(1, 2, 100, 3000, 2000, 500);
    f.m.SpringStart[1][1] = 1e5;
    f.m.SpringEnd[1][1] = 2e5;
    f.load(2, 1, 50);
    const AnalysisOutcome out = run(f);
    ASSERT_TRUE(out.ok) << out.message;
    EXPECT_REL(f.disp(2, 1), 0.010506098, 1e-5);
    EXPECT_REL(f.m.MemberEndForce[1][7], 50.0, 1e-5);
}

TEST(Analysis, VerticalAndTurnedMembersCarryLoadsInTheirOwnAxes) {
    // A column going down from node 1 (top, loaded) to the support node 2 sees
    // the X load along its member y (−X), bent by Iz; the same column turned
    // by 90° is bent by Iy.
    for (float angle : {0.0f, float(M_PI / 2)}) {
        Frame f;
        f.node(0, 0, 300);
        f.node(0, 0, 0, true);
        f.member(1, 2, 100, 40000, 10000, 30000, angle);
        f.load(1, 1, 10);
        const AnalysisOutcome out = run(f);
        ASSERT_TRUE(out.ok) << out.message;
        // P·L³/(3EI): 0.4390244 cm with Iz = 10000, 0.1097561 cm with Iy = 40000.
        EXPECT_REL(f.disp(1, 1), angle == 0 ? 0.43902439 : 0.10975610, 1e-5);
        // The support holds the end with −10 kN in X: +10 along member y (−X) at
        // angle 0, −10 along member z (+X) at 90°.
        if (angle == 0)
            EXPECT_REL(f.m.MemberEndForce[1][8], 10.0, 1e-5);
        else
            EXPECT_REL(f.m.MemberEndForce[1][9], -10.0, 1e-5);
    }
}

TEST(Analysis, TwoStoreyFrameAgreesWithThreeIndependentPrograms) {
    Frame f;
    const float xy[4][2] = {{0, 0}, {600, 0}, {0, 500}, {600, 500}};
    for (float z : {0.0f, 350.0f, 700.0f})
        for (const auto& p : xy)
            f.node(p[0], p[1], z, z == 0);
    auto column = [&](int i, int j) { f.member(i, j, 100, 20000, 20000, 30000); };
    auto beam = [&](int i, int j) { f.member(i, j, 60, 30000, 2000, 50); };
    column(1, 5), column(2, 6), column(3, 7), column(4, 8);
    beam(5, 6), beam(7, 8), beam(5, 7), beam(6, 8);
    column(5, 9), column(6, 10), column(7, 11), column(8, 12);
    beam(9, 10), beam(11, 12), beam(9, 11), beam(10, 12);
    for (int n : {9, 10, 11, 12})
        f.load(n, 1, 50);
    f.uniform(13, 0, -20);
    const AnalysisOutcome out = run(f);
    ASSERT_TRUE(out.ok) << out.message;

    const double disp[4][6] = {
        {1.968943, -1.368002e-2, -1.617667e-3, 3.800844e-5, 2.601108e-3, 1.926787e-6},
        {1.961687, -1.368002e-2, -3.929713e-2, 3.800844e-5, 6.357971e-4, -1.926787e-6},
        {1.965318, -1.368002e-2, 1.880932e-2, 3.800844e-5, 1.618602e-3, 1.926787e-6},
        {1.965312, -1.368002e-2, -1.887014e-2, 3.800844e-5, 1.618304e-3, -1.926787e-6}};
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 6; ++k) {
            const double expected = disp[r][k];
            const double tol =
                (k >= 3 && std::abs(expected) < 1e-4) ? 1e-8 : 1e-4 * std::abs(expected);
            EXPECT_NEAR(f.disp(9 + r, k + 1), expected, tol)
                << "node " << 9 + r << " dof " << k + 1;
        }

    // FX, FZ, MX, MY, MZ of the supports (kN, kN·cm); FY ≈ 0.
    const double react[4][5] = {{-53.40788, -18.55019, -23.52409, -11830.91, 1.051228},
                                {-46.59212, 138.3620, -23.52409, -11095.43, -1.051228},
                                {-50.00033, -78.36200, -23.52409, -11463.18, 1.051228},
                                {-49.99967, 78.55019, -23.52409, -11463.16, -1.051228}};
    const int dofOf[5] = {1, 3, 4, 5, 6};
    for (int n = 1; n <= 4; ++n) {
        for (int c = 0; c < 5; ++c)
            EXPECT_NEAR(reaction(out, n, dofOf[c]), react[n - 1][c],
                        1e-4 * std::abs(react[n - 1][c]))
                << "support " << n << " dof " << dofOf[c];
        EXPECT_NEAR(reaction(out, n, 2), 0.0, 1e-3);
    }
}

TEST(Analysis, ReactionAtASupportWhereTwoLoadedMembersMeet) {
    // Two cantilevers from the support node 2, loaded with 20 and 10 kN/m over
    // 3 m each: 90 kN up and 4500 kN·cm about Y. Subtracting the support's
    // equivalent loads once per member would count both members' loads twice.
    Frame f;
    f.node(0, 0, 0);
    f.node(300, 0, 0, true);
    f.node(600, 0, 0);
    f.member(1, 2, 60, 30000, 2000, 50);
    f.member(2, 3, 60, 30000, 2000, 50);
    f.uniform(1, 0, -20);
    f.uniform(2, 0, -10);
    const AnalysisOutcome out = run(f);
    ASSERT_TRUE(out.ok) << out.message;
    EXPECT_REL(reaction(out, 2, 3), 90.0, 1e-5);
    EXPECT_REL(reaction(out, 2, 5), 4500.0, 1e-5);
    EXPECT_NEAR(reaction(out, 2, 1), 0.0, 1e-4);
}

TEST(Analysis, GlobalEquilibriumOfAFrameWithPinsSpringsAndShear) {
    // The shared portal (TestFrame.h): one beam pinned about y at its end, one
    // with end springs, one torsion-released, one column turned; loads on nodes
    // and beams. Reactions and loads must balance in force and moment.
    Frame f = releasedPortal(true);
    const int b1 = 5, b2 = 6, b3 = 7, b4 = 8;
    f.uniform(b1, 0, -20); // along X: z = Z
    f.uniform(b2, 5, -12); // along X: y = Y
    f.uniform(b3, 4, -15); // along Y: y = −X
    f.uniform(b4, 0, -8);
    f.load(6, 1, 30);
    f.load(7, 2, -20);
    f.load(8, 6, 500);
    const AnalysisOutcome out = run(f);
    ASSERT_TRUE(out.ok) << out.message;

    // Applied loads: nodal, and w·L at each beam's midpoint (global components by hand).
    struct Force {
        double x, y, z, fx, fy, fz;
    };
    const Force loads[] = {{600, 0, 400, 30, 0, 0},    {0, 500, 400, 0, -20, 0},
                           {300, 0, 400, 0, 0, -120},  {300, 500, 400, 0, 30, -72},
                           {0, 250, 400, -20, 0, -75}, {600, 250, 400, 0, 0, -40}};
    double F[3] = {}, M[3] = {0, 0, 500}; // the nodal moment about Z
    auto add = [&](double x, double y, double z, double fx, double fy, double fz) {
        F[0] += fx, F[1] += fy, F[2] += fz;
        M[0] += y * fz - z * fy, M[1] += z * fx - x * fz, M[2] += x * fy - y * fx;
    };
    for (const Force& l : loads)
        add(l.x, l.y, l.z, l.fx, l.fy, l.fz);
    for (int n = 1; n <= 4; ++n) {
        add(f.m.NodeX[n], f.m.NodeY[n], 0, reaction(out, n, 1), reaction(out, n, 2),
            reaction(out, n, 3));
        for (int k = 0; k < 3; ++k)
            M[k] += reaction(out, n, 4 + k);
    }
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(F[k], 0.0, 1e-3) << "force " << k;
        EXPECT_NEAR(M[k], 0.0, 0.5) << "moment " << k; // of loads ~10⁵ kN·cm
    }
}

TEST(Analysis, LoadOnASupportNodeGoesIntoItsReaction) {
    Frame f = supportedBeam();
    f.load(2, 3, 40);
    const AnalysisOutcome out = run(f);
    ASSERT_TRUE(out.ok) << out.message;
    EXPECT_EQ(f.disp(2, 3), 0.0);
    EXPECT_REL(reaction(out, 2, 3), -40.0, 1e-6);
}

TEST(Analysis, HalfBandWidth) {
    // One member between nodes 1 and 2, node 1 a support.
    Frame one;
    one.node(0, 0, 0, true);
    one.node(100, 0, 0);
    one.member(1, 2, 10, 100, 100, 100);
    EXPECT_EQ(halfBandWidth(one.m), 12);
    ASSERT_TRUE(run(one).ok);
    for (int k = 1; k <= 6; ++k)
        EXPECT_EQ(one.disp(1, k), 0.0);

    // Node-number differences of at most 3: 24, whatever the size.
    Frame chain;
    for (int n = 1; n <= 40; ++n)
        chain.node(100.0f * n, 0, 0, n <= 3);
    for (int n = 1; n + 3 <= 40; ++n)
        chain.member(n, n + 3, 10, 100, 100, 100);
    EXPECT_EQ(scannedHalfBandWidth(chain.m), 24);
    EXPECT_EQ(halfBandWidth(chain.m), 24);
}

TEST(Analysis, MemberBeyondTheScannedBandWidensTheBand) {
    // Nodes 1 and 40 each have 15 members before the member 1-40, so neither
    // node's scan of 14 members sees it: the scan gives 6·16, the member needs 6·40.
    Frame f;
    f.node(0, 0, 0);
    for (int n = 2; n <= 39; ++n)
        f.node(float(n * 37 % 11) * 50 - 250, float(n) * 20, 300, true);
    f.node(1000, 0, 0);
    for (int n = 2; n <= 16; ++n)
        f.member(1, n, 50, 5000, 5000, 5000);
    for (int n = 25; n <= 39; ++n)
        f.member(n, 40, 50, 5000, 5000, 5000);
    f.member(1, 40, 50, 5000, 5000, 5000);
    f.load(40, 1, 100);
    f.load(1, 2, -30);
    EXPECT_EQ(scannedHalfBandWidth(f.m), 96);
    EXPECT_EQ(halfBandWidth(f.m), 240);
    const AnalysisOutcome out = run(f);
    ASSERT_TRUE(out.ok) << out.message;
    EXPECT_EQ(out.halfBandWidth, 240);
    double fx = 100, fy = -30;
    for (int n = 2; n <= 39; ++n)
        fx += reaction(out, n, 1), fy += reaction(out, n, 2);
    EXPECT_NEAR(fx, 0.0, 1e-3);
    EXPECT_NEAR(fy, 0.0, 1e-3);
}

TEST(Analysis, RefusesMembersTheAnalysisWouldDivideBy) {
    struct Case {
        const char* text;
        std::function<void(Frame&)> spoil;
    };
    const Case cases[] = {
        {"部材 2 の長さが 0 です（節点 2 と節点 3 が同じ位置にあります）。",
         [](Frame& f) { f.m.NodeX[3] = 300; }},
        {"部材 2 の断面積が 0 です。", [](Frame& f) { f.m.MemberArea[2] = 0; }},
        {"部材 2 の断面2次モーメント Iy が 0 です。", [](Frame& f) { f.m.MemberIy[2] = 0; }},
        {"部材 2 の断面2次モーメント Iz が 0 です。", [](Frame& f) { f.m.MemberIz[2] = 0; }},
        {"部材 2 の節点番号（始点 2、終点 7）が正しくありません。",
         [](Frame& f) { f.m.MemberEndNode[2] = 7; }},
        {"ヤング係数が 0 以下です。\n解析条件でヤング係数を入力してください。",
         [](Frame& f) { f.m.YoungModulus = 0; }},
        {"せん断弾性係数が 0 以下です。\n解析条件でせん断弾性係数を入力してください。",
         [](Frame& f) { f.m.ShearModulus = 0; }},
    };
    for (const Case& c : cases) {
        Frame f;
        f.node(0, 0, 0, true);
        f.node(300, 0, 0);
        f.node(600, 0, 0);
        f.member(1, 2, 60, 30000, 2000, 50);
        f.member(2, 3, 60, 30000, 2000, 50);
        f.uniform(2, 0, -20);
        f.m.NodeDisplacement[7] = 1.25; // results of an earlier analysis
        f.m.MemberEndForce[2][2] = 7.5f;
        f.m.AnalysisDone = 1;
        c.spoil(f);
        const AnalysisOutcome out = run(f);
        EXPECT_FALSE(out.ok);
        EXPECT_EQ(out.message, c.text);
        EXPECT_EQ(f.m.NodeDisplacement[7], 1.25);
        EXPECT_EQ(f.m.MemberEndForce[2][2], 7.5f);
        EXPECT_EQ(f.m.MemberShearAreaY[1], 0.0f); // the model is untouched
        EXPECT_EQ(f.m.EquivalentNodeLoad[9], 0.0f);
    }
}

TEST(Analysis, NumbersOutOfRangeAreToldFromAnUnstableFrame) {
    const char* const check =
        "\n座標（部材長）、断面性能、ヤング係数、荷重の値と単位を確かめてください。";
    struct Case {
        std::string text; // the message up to its last line
        std::function<void(Frame&)> spoil;
    };
    const Case cases[] = {
        {"部材 2 の断面積が負の値です。", [](Frame& f) { f.m.MemberArea[2] = -60; }},
        {"部材 2 の断面2次モーメント Iy が負の値です。", [](Frame& f) { f.m.MemberIy[2] = -1; }},
        {"部材 1 の剛性が計算できる数値の範囲を超えました。" + std::string(check),
         [](Frame& f) { f.m.YoungModulus = 1e38f; }},
        {"変位が数値の範囲（絶対値 1E+30 まで）を超えました（節点 2 のZ方向）。" +
             std::string(check),
         [](Frame& f) { f.m.YoungModulus = f.m.ShearModulus = 1e-30f; }},
        {"剛性の数値の開きが大きすぎて解けません", [](Frame& f) { f.m.NodeX[3] = 300.001f; }},
    };
    for (const Case& c : cases) {
        Frame f;
        f.node(0, 0, 0, true);
        f.node(300, 0, 0);
        f.node(600, 0, 0);
        f.member(1, 2, 60, 30000, 2000, 50);
        f.member(2, 3, 60, 30000, 2000, 50);
        f.uniform(2, 0, -20);
        f.m.NodeDisplacement[7] = 1.25; // results of an earlier analysis
        c.spoil(f);
        const AnalysisOutcome out = run(f);
        EXPECT_FALSE(out.ok) << c.text;
        EXPECT_EQ(out.message.substr(0, c.text.size()), c.text);
        EXPECT_EQ(out.message.find("不安定"), std::string::npos) << out.message;
        EXPECT_EQ(f.m.NodeDisplacement[7], 1.25);
        EXPECT_EQ(f.m.EquivalentNodeLoad[9], 0.0f);
    }
}

TEST(Analysis, UnstableFrameStopsWithNodeAndDirection) {
    // A cantilever released for torsion at its support end cannot hold its
    // free end against twisting: X rotation (member along X) of node 2.
    Frame f;
    f.node(0, 0, 0, true);
    f.node(400, 0, 0);
    f.member(1, 2, 60, 3000, 2000, 500);
    f.m.PinStartX[1] = -1;
    f.m.MemberStartPinned[1] = 1;
    f.uniform(1, 0, -10);
    f.m.NodeDisplacement[8] = 2.5;
    f.m.MemberLoadMoment[1][13] = 77;
    AnalysisOutcome out = run(f);
    EXPECT_FALSE(out.ok);
    EXPECT_EQ(out.failedDof, 10);
    EXPECT_EQ(out.message, "骨組が不安定です。節点 2 のX軸周りを支える剛性がありません。\n"
                           "支持点、ピン接合、部材の配置を確かめてください。");
    EXPECT_EQ(f.m.NodeDisplacement[8], 2.5);       // previous results kept
    EXPECT_EQ(f.m.MemberLoadMoment[1][13], 77.0f); // including the midspan moments
    EXPECT_EQ(f.m.EquivalentNodeLoad[9], 0.0f);    // the equivalent loads cleaned up
    EXPECT_EQ(f.m.MemberLoadMoment[1][5], 0.0f);

    // A frame without any support.
    Frame loose;
    loose.node(0, 0, 0);
    loose.node(400, 0, 0);
    loose.node(400, 300, 200);
    loose.member(1, 2, 60, 3000, 2000, 500);
    loose.member(2, 3, 60, 3000, 2000, 500);
    loose.load(3, 3, 10);
    out = run(loose);
    EXPECT_FALSE(out.ok);
    EXPECT_NE(out.message.find("骨組が不安定です。"), std::string::npos);
    EXPECT_NE(instabilityMessage(12).find("節点 2 のZ軸周り"), std::string::npos);
    EXPECT_NE(instabilityMessage(13).find("節点 3 のX方向"), std::string::npos);
}

TEST(Analysis, ProgressStepsAndLines) {
    Frame f;
    f.node(0, 0, 0, true);
    f.node(100, 0, 0);
    f.member(1, 2, 10, 100, 100, 100);
    RecordingProgress progress;
    ASSERT_TRUE(runAnalysis(f.m, progress).ok);
    EXPECT_EQ(progress.steps,
              (std::vector<std::string>{"　バンド幅計算", "　剛性行列作成中", "　三角分解",
                                        "　前進代入", "　部材端力計算"}));
    ASSERT_EQ(progress.lines.size(), 7u + 7u + 3u + 3u + 7u + 7u);
    EXPECT_EQ(progress.lines[0], "ααααααααααααααααααααααα");
    EXPECT_EQ(progress.lines[7], "βββββββββββββββββββββββ");
    EXPECT_EQ(progress.lines[14], "γγγγγγγγγγγγγγγγγγγγγγγ");
    EXPECT_EQ(progress.lines[17], "　マトリックスボリューム ＝ 12 × 12");
    EXPECT_EQ(progress.lines[18], "　所要時間：約 0.00864 秒(Pentium200MHz)");
    EXPECT_EQ(progress.lines[19], "γγγγγγγγγγγγγγγγγγγγγγγ");
    EXPECT_EQ(progress.lines[20], "δδδδδδδδδδδδδδδδδδδδδδδ");
    EXPECT_EQ(progress.lines[27], "εεεεεεεεεεεεεεεεεεεεεεε");
}

TEST(Analysis, AnalysisOnShowsProgressWritesTheReportAndReportsFailures) {
    ScriptedPlatform platform;
    auto program = Program::create(platform.services());
    Model& m = program->model;
    m.UnitFactor = kSiUnitFactor;
    m.YoungModulus = 205000;
    m.ShearModulus = 79000;
    m.NodeCount = 2;
    m.NodeX[2] = 300;
    m.NodeIsSupport[1] = -1;
    m.MemberCount = 1;
    m.MemberStartNode[1] = 1;
    m.MemberEndNode[1] = 2;
    m.MemberArea[1] = 100;
    m.MemberIy[1] = m.MemberIz[1] = 20000;
    m.NodeLoad[9] = -10;

    int reports = 0;
    float reportedReaction = 0;
    const ReportWriter writer = [&](Model&, const std::vector<float>& r, AnalysisProgress&) {
        ++reports;
        reportedReaction = r[3];
    };
    ASSERT_TRUE(ANALYSIS_ON(*program, writer));
    EXPECT_EQ(reports, 1);
    EXPECT_FLOAT_EQ(reportedReaction, 10.0f);
    EXPECT_EQ(m.AnalysisDone, 1);
    EXPECT_TRUE(program->progress.isOpen());
    EXPECT_TRUE(program->progress.c("BUTTON64").enabled);
    EXPECT_EQ(program->progress.c("EDIT151").caption, "　部材端力計算");

    // From the plotting window: no report, the window closes at once.
    program->SkipAnalysisFile = -1;
    ASSERT_TRUE(ANALYSIS_ON(*program, writer));
    EXPECT_EQ(reports, 1);
    EXPECT_FALSE(program->progress.isOpen());

    // An unstable frame: the window closes and the message is shown.
    program->SkipAnalysisFile = 0;
    m.NodeIsSupport[1] = 0;
    EXPECT_FALSE(ANALYSIS_ON(*program, writer));
    EXPECT_FALSE(program->progress.isOpen());
    ASSERT_EQ(platform.dialogs.messages().size(), 1u);
    EXPECT_EQ(platform.dialogs.messages()[0].title, "rahmen");
    EXPECT_NE(platform.dialogs.messages()[0].text.find("骨組が不安定です。"), std::string::npos);
    EXPECT_EQ(reports, 1);
}

TEST(Analysis, AnalysisOnWritesTheAnalysisDataFileByDefault) {
    ScriptedPlatform platform;
    auto program = Program::create(platform.services());
    Model& m = program->model;
    m.DataName = "frame1";
    m.YoungModulus = 205000;
    m.ShearModulus = 79000;
    m.NodeCount = 2;
    m.NodeZ[2] = 350;
    m.NodeIsSupport[1] = -1;
    m.SupportCount = 1;
    m.MemberCount = 1;
    m.MemberStartNode[1] = 1;
    m.MemberEndNode[1] = 2;
    m.MemberArea[1] = 100;
    m.MemberIy[1] = m.MemberIz[1] = 20000;
    m.NodeLoad[7] = 10;
    m.NodeLoadFlag[2] = 1;
    m.LoadedNodeCount = 1;
    ASSERT_TRUE(ANALYSIS_ON(*program));
    EXPECT_TRUE(platform.files.exists("frame1.adt"));
    EXPECT_EQ(m.AnalysisFileWritten, 1);
    EXPECT_TRUE(platform.dialogs.messages().empty());
}

namespace {

// A frame of 2 × 1 bays and 2 storeys (18 nodes, supports at the bottom) with
// nodal and uniform loads, a one-sided pin and an end spring; node n of the
// natural numbering (floor by floor) gets the number number[n]. Members keep
// their order and direction.
Frame numberedFrame(const std::vector<int>& number) {
    Frame f;
    f.m.NodeCount = 18;
    for (int n = 1; n <= 18; ++n) {
        const int floor = (n - 1) / 6, ix = (n - 1) % 3, iy = (n - 1) / 3 % 2;
        const int p = number[n];
        f.m.NodeX[p] = 500.0f * ix;
        f.m.NodeY[p] = 400.0f * iy;
        f.m.NodeZ[p] = 350.0f * floor;
        if (floor == 0) f.m.NodeIsSupport[p] = -1;
    }
    auto member = [&](int i, int j) { return f.member(number[i], number[j], 80, 9000, 4000, 500); };
    for (int n = 1; n <= 12; ++n)
        member(n, n + 6);
    for (int n = 7; n <= 18; ++n) {
        if ((n - 1) % 3 < 2) f.uniform(member(n, n + 1), 0, -15);
        if ((n - 1) / 3 % 2 == 0) member(n, n + 3);
    }
    f.m.PinEndY[3] = -1;
    f.m.MemberEndPinned[3] = 1;
    f.m.SpringStart[5][6] = 2e6f;
    f.m.MemberStartSprung[5] = 1;
    f.load(number[18], 1, 30);
    f.load(number[13], 2, -12);
    f.load(number[10], 6, 400);
    return f;
}

} // namespace

TEST(Analysis, ResultsDoNotDependOnTheNodeNumbering) {
    std::vector<int> natural(19);
    for (int n = 0; n <= 18; ++n)
        natural[n] = n;
    Frame reference = numberedFrame(natural);
    const AnalysisOutcome ref = run(reference);
    ASSERT_TRUE(ref.ok) << ref.message;
    EXPECT_EQ(ref.factorisedHalfBandWidth, 42); // sweeping across X: 6 · (6 + 1)

    const std::vector<std::vector<int>> numberings = {
        {0, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1},
        {0, 1, 18, 2, 17, 3, 16, 4, 15, 5, 14, 6, 13, 7, 12, 8, 11, 9, 10},
        {0, 7, 14, 3, 11, 18, 1, 9, 16, 5, 12, 2, 10, 17, 4, 13, 6, 15, 8},
    };
    for (const auto& number : numberings) {
        Frame f = numberedFrame(number);
        const AnalysisOutcome out = run(f);
        ASSERT_TRUE(out.ok) << out.message;
        EXPECT_EQ(out.factorisedHalfBandWidth, 42);
        double diff = 0, scale = 0;
        auto compare = [&](double a, double b) {
            diff = std::max(diff, std::abs(a - b));
            scale = std::max(scale, std::abs(b));
        };
        for (int n = 1; n <= 18; ++n)
            for (int k = 1; k <= 6; ++k) {
                compare(f.disp(number[n], k), reference.disp(n, k));
                compare(reaction(out, number[n], k) * 1e-3, reaction(ref, n, k) * 1e-3);
            }
        for (int m = 1; m <= f.m.MemberCount; ++m)
            for (int k = 1; k <= 9; ++k)
                compare(f.m.MemberEndForce[m][k], reference.m.MemberEndForce[m][k]);
        compare(f.m.SpringRotation[5][2], reference.m.SpringRotation[5][2]);
        compare(f.m.PinRotation[3][3], reference.m.PinRotation[3][3]);
        EXPECT_LT(diff, 1e-9 * scale) << number[2];
    }
}

TEST(Analysis, BadlyNumberedChainIsSolvedInItsOwnOrder) {
    // Six nodes along X numbered 1, 6, 2, 5, 3, 4 from the support: the
    // numbering's band is 6 · (5 + 1), the chain's own 6 · (1 + 1).
    Frame f;
    const int number[] = {1, 6, 2, 5, 3, 4};
    f.m.NodeCount = 6;
    for (int k = 0; k < 6; ++k)
        f.m.NodeX[number[k]] = 100.0f * k;
    f.m.NodeIsSupport[1] = -1;
    for (int k = 0; k + 1 < 6; ++k)
        f.member(number[k], number[k + 1], 10, 100, 100, 100);
    f.load(4, 3, -1);
    RecordingProgress progress;
    const AnalysisOutcome out = runAnalysis(f.m, progress);
    ASSERT_TRUE(out.ok) << out.message;
    EXPECT_EQ(out.halfBandWidth, 36);
    EXPECT_EQ(out.factorisedHalfBandWidth, 12);
    EXPECT_EQ(progress.lines[17], "　マトリックスボリューム ＝ 12 × 36");
    // Cantilever of 500 cm, tip load 1 kN: PL³/3EI = 1.25e8 / (3 · 20500 · 100).
    EXPECT_REL(f.disp(4, 3), -1.25e8 / (3.0 * 20500 * 100),
               1e-5); // single-precision member matrices

    // A node without members fails in the user's numbering, whatever its place in the band.
    f.m.NodeCount = 7;
    f.m.NodeX[7] = -300;
    std::swap(f.m.NodeX[7], f.m.NodeX[3]);
    for (int m = 1; m <= 5; ++m) {
        if (f.m.MemberStartNode[m] == 3) f.m.MemberStartNode[m] = 7;
        if (f.m.MemberEndNode[m] == 3) f.m.MemberEndNode[m] = 7;
    }
    const AnalysisOutcome bad = run(f);
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.failedDof, 13); // node 3, X
}

TEST(NodeOrder, AShuffledPlaneGridGetsTheBandOfItsShorterSide) {
    // 4 × 3 nodes in the XY plane, numbered at random: the narrowest band
    // numbers across the 3-node side, a node difference of 3.
    Frame f;
    const int number[12] = {5, 11, 2, 8, 12, 1, 9, 4, 7, 3, 10, 6};
    f.m.NodeCount = 12;
    for (int k = 0; k < 12; ++k) {
        f.m.NodeX[number[k]] = 100.0f * (k % 4);
        f.m.NodeY[number[k]] = 100.0f * (k / 4);
    }
    for (int k = 0; k < 12; ++k) {
        if (k % 4 < 3) f.member(number[k], number[k + 1], 1, 1, 1, 1);
        if (k < 8) f.member(number[k], number[k + 4], 1, 1, 1, 1);
    }
    EXPECT_EQ(positionSpread(f.m, chooseNodeOrder(f.m).position), 3);
    EXPECT_EQ(chooseNodeOrder(f.m).halfBandWidth(), 24);
    const std::vector<int> rcm = reverseCuthillMcKee(f.m);
    std::vector<int> sorted(rcm.begin() + 1, rcm.end());
    std::sort(sorted.begin(), sorted.end());
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(sorted[k], k); // a permutation of the places
}
