#include "analysis/MemberStiffness.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace rahmen;

namespace {

void expectAxes(const Axes& r, std::array<std::array<float, 3>, 3> expected) {
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            EXPECT_NEAR(r[i][j], expected[i][j], 1e-7) << i << "," << j;
}

MemberSection steelBeam(double L) {
    MemberSection s;
    s.L = L;
    s.E = 20500;
    s.G = 7900;
    s.A = 60;
    s.Asy = 40;
    s.Asz = 25;
    s.Iy = 30000;
    s.Iz = 2000;
    s.J = 50;
    return s;
}

double rel(double a, double b) {
    return std::abs(a - b) / std::max(std::abs(b), 1e-300);
}

// The bending plane (v, θz) of a beam built the long way: an ordinary
// shear-flexible beam element between internal section rotations φ1, φ2, with
// rotational spring elements joining them to the node rotations θ1, θ2, and the
// internal rotations condensed out. k < 0 marks a rigid end (φ = θ), k = 0 a pin.
// Returns the 4 × 4 on (v1, θ1, v2, θ2).
std::vector<std::vector<double>> condensedBeam(double EI, double L, double phi, double k1,
                                               double k2) {
    // Global numbering: 0 v1, 1 θ1, 2 v2, 3 θ2, 4 φ1, 5 φ2 (if not rigid).
    int n = 4;
    const int p1 = k1 < 0 ? 1 : n++;
    const int p2 = k2 < 0 ? 3 : n++;
    std::vector<std::vector<double>> K(n, std::vector<double>(n, 0.0));
    const double c = EI / (L * L * L * (1 + phi));
    const double kb[4][4] = {{12 * c, 6 * L * c, -12 * c, 6 * L * c},
                             {6 * L * c, (4 + phi) * L * L * c, -6 * L * c, (2 - phi) * L * L * c},
                             {-12 * c, -6 * L * c, 12 * c, -6 * L * c},
                             {6 * L * c, (2 - phi) * L * L * c, -6 * L * c, (4 + phi) * L * L * c}};
    const int map[4] = {0, p1, 2, p2};
    for (int a = 0; a < 4; ++a)
        for (int b = 0; b < 4; ++b)
            K[map[a]][map[b]] += kb[a][b];
    auto spring = [&K](int i, int j, double k) {
        K[i][i] += k;
        K[j][j] += k;
        K[i][j] -= k;
        K[j][i] -= k;
    };
    if (k1 >= 0) spring(1, p1, k1);
    if (k2 >= 0) spring(3, p2, k2);
    // Static condensation of the internal rotations, last first.
    for (int q = n - 1; q >= 4; --q) {
        for (int i = 0; i < q; ++i)
            for (int j = 0; j < q; ++j)
                K[i][j] -= K[i][q] * K[q][j] / K[q][q];
    }
    K.resize(4);
    for (auto& row : K)
        row.resize(4);
    return K;
}

} // namespace

TEST(MemberAxes, HorizontalMembersAlongTheGlobalAxes) {
    expectAxes(memberAxes(500, 0, 0, 0), {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}});
    expectAxes(memberAxes(0, 500, 0, 0), {{{0, 1, 0}, {-1, 0, 0}, {0, 0, 1}}});
}

TEST(MemberAxes, VerticalMemberGoingUpAndGoingDown) {
    // Up: y along global X, z along global Y.
    expectAxes(memberAxes(0, 0, 350, 0), {{{0, 0, 1}, {1, 0, 0}, {0, 1, 0}}});
    // Down: x to -Z, y to -X.
    expectAxes(memberAxes(0, 0, -350, 0), {{{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}}});
    // Up, turned by 90 degrees: y along Y, z along -X.
    expectAxes(memberAxes(0, 0, 350, M_PI / 2), {{{0, 0, 1}, {0, 1, 0}, {-1, 0, 0}}});
}

TEST(MemberAxes, PrincipalAxisAngleAndInclinedMember) {
    // A beam along X turned by 90 degrees: y up, z along -Y.
    expectAxes(memberAxes(600, 0, 0, M_PI / 2), {{{1, 0, 0}, {0, 0, 1}, {0, -1, 0}}});
    // An inclined member keeps z in the vertical plane through it.
    expectAxes(memberAxes(300, 0, 400, 0), {{{0.6f, 0, 0.8f}, {0, 1, 0}, {-0.8f, 0, 0.6f}}});
}

TEST(MemberStiffness, ClassicalBeamWithoutSpringsPinsOrShear) {
    const MemberSection s = steelBeam(600);
    const Matrix12 k = localStiffness(s);
    const double EIz = 20500.0 * 2000, EIy = 20500.0 * 30000, L = 600;
    EXPECT_LT(rel(k[0][0], 20500.0 * 60 / 600), 1e-6);     // EA/L
    EXPECT_LT(rel(k[3][3], 7900.0 * 50 / 600), 1e-6);      // GJ/L
    EXPECT_LT(rel(k[1][1], 12 * EIz / (L * L * L)), 1e-6); // 12EI/L³
    EXPECT_LT(rel(k[1][5], 6 * EIz / (L * L)), 1e-6);      // 6EI/L²
    EXPECT_LT(rel(k[5][5], 4 * EIz / L), 1e-6);            // 4EI/L
    EXPECT_LT(rel(k[5][11], 2 * EIz / L), 1e-6);           // 2EI/L
    EXPECT_LT(rel(k[2][4], -6 * EIy / (L * L)), 1e-6);     // sign of the x-z plane
    EXPECT_LT(rel(k[10][10], 4 * EIy / L), 1e-6);
    // With κ = 0 the matrix does not depend on G except for torsion.
    MemberSection other = s;
    other.G = 100;
    const Matrix12 k2 = localStiffness(other);
    for (int a = 0; a < 12; ++a)
        for (int b = 0; b < 12; ++b)
            if (a % 6 != 3 && b % 6 != 3) {
                EXPECT_EQ(k[a][b], k2[a][b]);
            }
}

TEST(MemberStiffness, ShearDeformationGivesTheShearFlexibleBeam) {
    MemberSection s = steelBeam(300);
    s.kappa = 1.2;
    const Matrix12 k = localStiffness(s);
    // φ = 12κEI/(G·As·L²) = 2β.
    const double EIz = 20500.0 * 2000, L = 300;
    const double phi = 12 * 1.2 * EIz / (7900.0 * 25 * L * L); // Iz goes with Asz
    EXPECT_LT(rel(k[5][5], 4 * EIz / L * (1 + phi / 4) / (1 + phi)), 1e-6);
    EXPECT_LT(rel(k[5][11], 2 * EIz / L * (1 - phi / 2) / (1 + phi)), 1e-6);
    EXPECT_LT(rel(k[1][1], 12 * EIz / (L * L * L) / (1 + phi)), 1e-6);
}

// The factors against an independent model: ordinary beam element, separate
// rotational spring elements, static condensation.
TEST(MemberStiffness, EndFactorsAgreeWithACondensedBeamAndSpringModel) {
    struct Case {
        const char* name;
        double kappa, kStart, kEnd; // spring constants; 0 pin, -1 rigid
    };
    const Case cases[] = {
        {"spring at the start", 0, 3e6, -1},
        {"spring at the end", 0, -1, 8e5},
        {"springs at both ends", 0, 1e6, 2.5e6},
        {"springs at both ends with kappa", 1.2, 1e6, 4e5},
        {"spring at one end with kappa", 1.0, 6e5, -1},
        {"pin at the end", 0, -1, 0},
        {"pin at the start with kappa", 1.2, 0, -1},
        {"pin at the start, spring at the end", 1.2, 0, 7e5},
        {"pins at both ends", 0, 0, 0},
    };
    for (const Case& c : cases) {
        MemberSection s = steelBeam(250);
        s.Iz = 20000; // a short deep section makes shear deformation count
        s.kappa = c.kappa;
        s.pinStartZ = c.kStart == 0;
        s.pinEndZ = c.kEnd == 0;
        s.springStart[6] = c.kStart > 0 ? c.kStart : 0;
        s.springEnd[6] = c.kEnd > 0 ? c.kEnd : 0;
        const Matrix12 k = localStiffness(s);

        const double EI = s.E * s.Iz;
        const double phi = 12 * c.kappa * EI / (s.G * s.Asz * s.L * s.L);
        const auto ref = condensedBeam(EI, s.L, phi, c.kStart, c.kEnd);
        const int dofs[4] = {1, 5, 7, 11}; // v1, θz1, v2, θz2
        double scale = 0;
        for (auto& row : ref)
            for (double v : row)
                scale = std::max(scale, std::abs(v));
        for (int a = 0; a < 4; ++a)
            for (int b = 0; b < 4; ++b) {
                const double expected = ref[a][b];
                EXPECT_NEAR(k[dofs[a]][dofs[b]], expected, 2e-6 * std::abs(expected) + 1e-7 * scale)
                    << c.name << " (" << a << "," << b << ")";
            }

        // The x-z plane uses the same factors (Iy with Asy, springs k = 5).
        MemberSection y = s;
        y.Iy = s.Iz;
        y.Asy = s.Asz;
        y.pinStartY = s.pinStartZ;
        y.pinEndY = s.pinEndZ;
        y.springStart[5] = s.springStart[6];
        y.springEnd[5] = s.springEnd[6];
        const Matrix12 ky = localStiffness(y);
        EXPECT_FLOAT_EQ(ky[4][4], k[5][5]) << c.name;
        EXPECT_FLOAT_EQ(ky[10][10], k[11][11]) << c.name;
        EXPECT_FLOAT_EQ(ky[4][10], k[5][11]) << c.name;
        EXPECT_FLOAT_EQ(ky[2][2], k[1][1]) << c.name;
    }
}

TEST(MemberStiffness, EqualSpringsAtBothEndsGiveTheStiffnessOfMechanics) {
    // 600 cm, Iy = 30000 cm⁴, E = 20500 kN/cm², springs of 10⁶ kN·cm/rad at both
    // ends: end stiffness 766135.5 kN·cm/rad (the doubled term in the denominator
    // would give 485471, 37 % too low), carry-over 94004.36.
    MemberSection s = steelBeam(600);
    s.springStart[5] = 1e6;
    s.springEnd[5] = 1e6;
    const Matrix12 k = localStiffness(s);
    EXPECT_NEAR(k[4][4], 766135.5, 0.2);
    EXPECT_NEAR(k[10][10], 766135.5, 0.2);
    EXPECT_NEAR(k[4][10], 94004.36, 0.02);
    // Fixed-end moment factor of a uniform load: 60 kN·m becomes 19.672 kN·m.
    const PlaneFactors f = factorsY(s);
    EXPECT_NEAR(60 * (2 * f.as - f.b), 19.67213, 1e-5);
}

TEST(MemberStiffness, PinsAndSpringsPerAxis) {
    // Pinned about y at both ends: axial, torsion and bending about z remain.
    MemberSection s = steelBeam(600);
    s.pinStartY = s.pinEndY = true;
    Matrix12 k = localStiffness(s);
    for (int a : {2, 4, 8, 10})
        for (int b = 0; b < 12; ++b)
            EXPECT_EQ(k[a][b], 0.0f) << a << "," << b;
    EXPECT_GT(k[0][0], 0.0f);
    EXPECT_GT(k[3][3], 0.0f);
    EXPECT_GT(k[5][5], 0.0f);

    // Pinned about z at the end only: 3EI/L at the start, nothing at the end.
    s = steelBeam(600);
    s.pinEndZ = true;
    k = localStiffness(s);
    EXPECT_LT(rel(k[5][5], 3 * 20500.0 * 2000 / 600), 1e-6);
    EXPECT_EQ(k[11][11], 0.0f);
    EXPECT_EQ(k[5][11], 0.0f);

    // A torsion release at one end removes the torsional stiffness altogether:
    // the other end's node is not held against twisting by a member that
    // cannot carry torsion.
    for (bool atStart : {true, false}) {
        s = steelBeam(600);
        (atStart ? s.pinStartX : s.pinEndX) = true;
        k = localStiffness(s);
        EXPECT_EQ(k[3][3], 0.0f);
        EXPECT_EQ(k[3][9], 0.0f);
        EXPECT_EQ(k[9][9], 0.0f);
    }

    // A spring of constant 0 is rigid, not a hinge.
    s = steelBeam(600);
    const Matrix12 plain = localStiffness(s);
    s.springStart = {0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(localStiffness(s), plain);

    // Torsion constant 0 stands for Iy + Iz.
    s = steelBeam(600);
    s.J = 0;
    EXPECT_LT(rel(localStiffness(s)[3][3], 7900.0 * 32000 / 600), 1e-6);
}

TEST(MemberStiffness, GlobalMatrixIsSymmetricAndRigidMotionsGiveNoForces) {
    MemberSection s = steelBeam(0);
    const double dx = 230, dy = -410, dz = 170;
    s.L = std::sqrt(dx * dx + dy * dy + dz * dz);
    s.kappa = 1.2;
    s.springStart[5] = 2e6;
    s.springEnd[6] = 5e5;
    s.springStart[1] = 1e5;
    s.pinEndY = true;
    const Axes r = memberAxes(dx, dy, dz, 0.4);
    const Matrix12 K = toGlobal(localStiffness(s), r);
    double scale = 0;
    for (int a = 0; a < 12; ++a)
        for (int b = 0; b < 12; ++b) {
            EXPECT_NEAR(K[a][b], K[b][a], 1e-6 * std::abs(K[a][a]) + 1e-6) << a << "," << b;
            scale = std::max(scale, double(std::abs(K[a][b])));
        }
    // Translations along X, Y, Z and rotations about X, Y, Z of the whole member
    // (start node at the origin, end node at (dx, dy, dz)).
    const double pos[3] = {dx, dy, dz};
    for (int mode = 0; mode < 6; ++mode) {
        double d[12] = {};
        if (mode < 3) {
            d[mode] = d[6 + mode] = 1.0;
        } else {
            double w[3] = {};
            w[mode - 3] = 1e-3;
            d[3 + mode - 3] = d[9 + mode - 3] = 1e-3;
            d[6] = w[1] * pos[2] - w[2] * pos[1]; // ω × r at the end node
            d[7] = w[2] * pos[0] - w[0] * pos[2];
            d[8] = w[0] * pos[1] - w[1] * pos[0];
        }
        double dmax = 0;
        for (double v : d)
            dmax = std::max(dmax, std::abs(v));
        for (int a = 0; a < 12; ++a) {
            double f = 0;
            for (int b = 0; b < 12; ++b)
                f += double(K[a][b]) * d[b];
            EXPECT_NEAR(f, 0.0, 2e-5 * scale * dmax) << "mode " << mode << " row " << a;
        }
    }
}
