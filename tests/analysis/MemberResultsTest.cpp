#include "analysis/MemberResults.h"

#include "TestFrame.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace rahmen;
using namespace rahmen::test;

namespace {

// A beam of L = 6 m along X between two fixed supports (E = 20500 kN/cm²,
// Iy = 30000 cm⁴) under q = 20 kN/m downward (member z), pinned about member
// y at the ends asked for.
constexpr double kL = 6, kQ = 20, kEI = 20500.0 * 30000.0;

Frame loadedBeam(bool pinStart, bool pinEnd) {
    Frame f;
    f.node(0, 0, 0, true);
    f.node(600, 0, 0, true);
    f.member(1, 2, 60, 30000, 2000, 50);
    f.m.PinStartY[1] = pinStart ? -1 : 0;
    f.m.PinEndY[1] = pinEnd ? -1 : 0;
    f.m.MemberStartPinned[1] = pinStart;
    f.m.MemberEndPinned[1] = pinEnd;
    f.uniform(1, 0, -kQ);
    return f;
}

} // namespace

// Textbook beams: the moment line M(x) = Ms·(1 − x/L) + Me·x/L − q·x·(L − x)/2
// (hogging end moments Ms, Me; sagging negative), its shear dM/dx, the largest
// moment and its place, and the deflection line w(x)·EI/q.
TEST(MemberResults, ClosedFormsOfUniformlyLoadedBeams) {
    const double wl2 = kQ * kL * kL;
    using Line = double (*)(double x, double L);
    struct Case {
        const char* name;
        bool pinStart, pinEnd;
        double Ms, Me;      // hogging end moments, kN·m
        double largest, at; // largest |M| (signed) and its place, m; at < 0: either end
        Line deflection;    // downward deflection times EI/q
    } cases[] = {
        {"simply supported", true, true, 0, 0, -wl2 / 8, kL / 2,
         [](double x, double L) { return x * (L * L * L - 2 * L * x * x + x * x * x) / 24; }},
        {"fixed at both ends", false, false, wl2 / 12, wl2 / 12, wl2 / 12, -1,
         [](double x, double L) { return x * x * (L - x) * (L - x) / 24; }},
        {"propped (pinned at its end)", false, true, wl2 / 8, 0, wl2 / 8, 0,
         [](double x, double L) { return x * x * (3 * L * L - 5 * L * x + 2 * x * x) / 48; }},
        {"pinned at its start", true, false, 0, wl2 / 8, wl2 / 8, kL,
         [](double x, double L) {
             const double y = L - x;
             return y * y * (3 * L * L - 5 * L * y + 2 * y * y) / 48;
         }},
    };
    for (const Case& c : cases) {
        Frame f = loadedBeam(c.pinStart, c.pinEnd);
        ASSERT_TRUE(run(f).ok) << c.name;
        EXPECT_DOUBLE_EQ(memberLength(f.m, 1), 600.0);
        for (double x : {0.0, 1.0, 2.25, 3.0, 3.75, 5.0, kL}) {
            const double M = c.Ms * (1 - x / kL) + c.Me * x / kL - kQ * x * (kL - x) / 2;
            const double Q = (c.Me - c.Ms) / kL - kQ * (kL - 2 * x) / 2;
            const SectionForces s = forcesAt(f.m, 1, x);
            EXPECT_NEAR(s.My, M, 1e-4) << c.name << " x = " << x;
            EXPECT_NEAR(s.Qz, Q, 1e-4) << c.name << " x = " << x;
            EXPECT_NEAR(s.N, 0.0, 1e-6) << c.name;
            EXPECT_NEAR(s.Mz, 0.0, 1e-6) << c.name;
        }
        const LargestMoments largest = largestMoments(f.m, 1);
        EXPECT_NEAR(largest.My, c.largest, 1e-4) << c.name;
        if (c.at >= 0)
            EXPECT_NEAR(largest.xMy, c.at, 1e-6) << c.name;
        else
            EXPECT_TRUE(largest.xMy == 0 || largest.xMy == kL) << c.name;

        // Midspan: the diagrams' and the report's moment is M(L/2).
        const double mid = (c.Ms + c.Me) / 2 - wl2 / 8;
        EXPECT_NEAR(memberMoments(f.m, 1).MyMid, mid, 1e-4) << c.name;
        EXPECT_NEAR(intermediateMaxMoments(f.m, 1)[0], std::abs(mid), 1e-4) << c.name;

        // The deflected shape in cm (s = D = 1): one point per cm, midspan at 300.
        const DeflectedShape shape = deflectedShape(f.m, 1, 1.0, 1.0);
        ASSERT_EQ(shape.steps, 600) << c.name;
        for (int x : {150, 300, 450})
            EXPECT_NEAR(shape.at(x)[2], -kQ / 100 * c.deflection(x, 600) / kEI, 1e-9)
                << c.name << " x = " << x;
        EXPECT_NEAR(shape.at(600)[2], 0.0, 1e-12) << c.name;
    }
}

// A beam 1–2–3 on two fixed supports, the second member pinned about y at
// node 2, under P at node 2: both members hold node 2 with 3EI/L³, so it
// sinks by δ = P·L³/(6EI). The second member is a propped cantilever whose
// pin has sunk: its pin turns by δ/(2L) from its chord, and its line is
// w(t) = δ·(1 − 3t/(2L) + t³/(2L³)), 5δ/16 at midspan.
TEST(MemberResults, PinRotationAndShapeOfAMemberPinnedAtOneEnd) {
    Frame f;
    f.node(0, 0, 0, true);
    f.node(400, 0, 0);
    f.node(800, 0, 0, true);
    f.member(1, 2, 60, 30000, 2000, 50);
    f.member(2, 3, 60, 30000, 2000, 50);
    f.m.PinStartY[2] = -1;
    f.m.MemberStartPinned[2] = 1;
    f.load(2, 3, -10);
    ASSERT_TRUE(run(f).ok);
    const double L = 400, EI = 20500.0 * 30000.0;
    const double delta = -10 * L * L * L / (6 * EI);
    ASSERT_NEAR(f.disp(2, 3), delta, 1e-9);
    EXPECT_NEAR(std::abs(f.m.PinRotation[2][1]), std::abs(delta) / (2 * L), 1e-8);

    const DeflectedShape shape = deflectedShape(f.m, 2, 1.0, 1.0);
    for (int t : {0, 100, 200, 300}) {
        const double xi = t / L;
        EXPECT_NEAR(shape.at(t)[2], delta * (1 - 1.5 * xi + xi * xi * xi / 2), 1e-7) << t;
    }
    // The start moment of the pinned member is 0, its end moment 3EIδ/L².
    EXPECT_NEAR(forcesAt(f.m, 2, 0).My, 0.0, 1e-4);
    EXPECT_NEAR(std::abs(forcesAt(f.m, 2, 4).My), 3 * EI * std::abs(delta) / (L * L) / 100, 1e-4);
}
