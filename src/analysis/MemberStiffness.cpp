#include "analysis/MemberStiffness.h"

#include "model/Model.h"

#include <algorithm>
#include <cmath>

namespace rahmen {

namespace {

double flexibility(double constant) {
    return constant != 0.0 ? 1.0 / constant : 0.0;
}

// 6κ·E·I / (G·As·L²); no shear deformation without a shape factor.
double shearParameter(const MemberSection& s, double I, double As) {
    if (s.kappa == 0.0) return 0.0;
    return 6.0 * s.kappa * s.E * (I / s.L) / (s.G * As * s.L);
}

} // namespace

Axes memberAxes(double dx, double dy, double dz, double angle) {
    const double L = std::sqrt(dx * dx + dy * dy + dz * dz);
    const double S = std::sin(angle);
    const double C = std::cos(angle);
    Axes r{};
    auto set = [&r](int row, double a, double b, double c) {
        r[row] = {static_cast<float>(a), static_cast<float>(b), static_cast<float>(c)};
    };
    if (dx == 0.0 && dy == 0.0) {
        if (dz >= 0.0) {
            set(0, 0, 0, 1);
            set(1, C, S, 0);
            set(2, -S, C, 0);
        } else {
            set(0, 0, 0, -1);
            set(1, -C, S, 0);
            set(2, S, C, 0);
        }
        return r;
    }
    // Any other member: x along the member (direction cosines l, m, n). At
    // angle 0, y is horizontal and z = x × y points upwards:
    //   y0 = (-m, l, 0) / D,  z0 = x × y0 = (-l n, -m n, D²) / D,  D = √(l² + m²);
    // the principal-axis angle turns both about x: y = C·y0 + S·z0,
    // z = -S·y0 + C·z0, which are the rows below.
    const double l = dx / L, m = dy / L, n = dz / L;
    const double D = std::sqrt(l * l + m * m);
    set(0, l, m, n);
    set(1, -(C * m + S * n * l) / D, (C * l - S * m * n) / D, S * D);
    set(2, (S * m - C * n * l) / D, -(S * l + C * m * n) / D, C * D);
    return r;
}

PlaneFactors planeFactors(double e, double beta, double fs, double fe, bool pinStart, bool pinEnd) {
    PlaneFactors f;
    if (pinStart && pinEnd) return f; // no bending in this plane
    if (pinStart) {
        f.ae = 3.0 / (12.0 * e * fe + 4.0 + 2.0 * beta);
        return f;
    }
    if (pinEnd) {
        f.as = 3.0 / (12.0 * e * fs + 4.0 + 2.0 * beta);
        return f;
    }
    const double D =
        1.0 + 2.0 * beta + 4.0 * e * (fs + fe) * (1.0 + beta / 2.0) + 12.0 * e * e * fs * fe;
    f.as = (1.0 + 3.0 * e * fe + beta / 2.0) / D;
    f.ae = (1.0 + 3.0 * e * fs + beta / 2.0) / D;
    f.b = (1.0 - beta) / D;
    return f;
}

double MemberSection::betaY() const {
    return shearParameter(*this, Iy, Asy);
}
double MemberSection::betaZ() const {
    return shearParameter(*this, Iz, Asz);
}
double MemberSection::torsionalRigidity() const {
    return G * (J != 0.0 ? J : Iy + Iz);
}

PlaneFactors factorsY(const MemberSection& s) {
    return planeFactors(s.E * s.Iy / s.L, s.betaY(), flexibility(s.springStart[5]),
                        flexibility(s.springEnd[5]), s.pinStartY, s.pinEndY);
}

PlaneFactors factorsZ(const MemberSection& s) {
    return planeFactors(s.E * s.Iz / s.L, s.betaZ(), flexibility(s.springStart[6]),
                        flexibility(s.springEnd[6]), s.pinStartZ, s.pinEndZ);
}

MemberSection memberSection(const FrameView& frame, int m, double E, double G) {
    MemberSection s;
    Axes unused;
    s.L = memberGeometry(frame, m, unused);
    s.E = E;
    s.G = G;
    s.kappa = frame.ShearShapeFactor;
    s.A = frame.MemberArea[m];
    s.Asy = frame.MemberShearAreaY[m] != 0.0f ? frame.MemberShearAreaY[m] : frame.MemberArea[m];
    s.Asz = frame.MemberShearAreaZ[m] != 0.0f ? frame.MemberShearAreaZ[m] : frame.MemberArea[m];
    s.Iy = frame.MemberIy[m];
    s.Iz = frame.MemberIz[m];
    s.J = frame.MemberJ[m];
    for (int k = 1; k <= 6; ++k) {
        s.springStart[k] = frame.SpringStart[m][k];
        s.springEnd[k] = frame.SpringEnd[m][k];
    }
    s.pinStartX = frame.PinStartX[m] == -1;
    s.pinStartY = frame.PinStartY[m] == -1;
    s.pinStartZ = frame.PinStartZ[m] == -1;
    s.pinEndX = frame.PinEndX[m] == -1;
    s.pinEndY = frame.PinEndY[m] == -1;
    s.pinEndZ = frame.PinEndZ[m] == -1;
    return s;
}

Matrix12 localStiffness(const MemberSection& s) {
    const double L = s.L;
    const double E = s.E;
    const double rhoY = s.Iy / L;
    const double rhoZ = s.Iz / L;

    const PlaneFactors y = factorsY(s);
    const PlaneFactors z = factorsZ(s);

    // End moments per unit rotation and the shears that go with them.
    const double Ays = 4.0 * E * rhoY * y.as, Aye = 4.0 * E * rhoY * y.ae,
                 By = 2.0 * E * rhoY * y.b;
    const double Azs = 4.0 * E * rhoZ * z.as, Aze = 4.0 * E * rhoZ * z.ae,
                 Bz = 2.0 * E * rhoZ * z.b;
    const double Sys = (Ays + By) / L, Sye = (Aye + By) / L;
    const double Szs = (Azs + Bz) / L, Sze = (Aze + Bz) / L;
    const double Ty = (Sys + Sye) / L, Tz = (Szs + Sze) / L;

    // Axial and torsional stiffness with the end springs in series. A torsion
    // release at either end leaves the member without torsional stiffness: the
    // member then neither carries torsion nor holds either node against it.
    const double ka =
        1.0 / (L / (E * s.A) + flexibility(s.springStart[1]) + flexibility(s.springEnd[1]));
    const double kt = (s.pinStartX || s.pinEndX)
                          ? 0.0
                          : 1.0 / (L / s.torsionalRigidity() + flexibility(s.springStart[4]) +
                                   flexibility(s.springEnd[4]));

    Matrix12 k{};
    auto set = [&k](int a, int b, double v) {
        k[a - 1][b - 1] = static_cast<float>(v);
        k[b - 1][a - 1] = static_cast<float>(v);
    };
    set(1, 1, ka);
    set(1, 7, -ka);
    set(2, 2, Tz);
    set(2, 6, Szs);
    set(2, 8, -Tz);
    set(2, 12, Sze);
    set(3, 3, Ty);
    set(3, 5, -Sys);
    set(3, 9, -Ty);
    set(3, 11, -Sye);
    set(4, 4, kt);
    set(4, 10, -kt);
    set(5, 5, Ays);
    set(5, 9, Sys);
    set(5, 11, By);
    set(6, 6, Azs);
    set(6, 8, -Szs);
    set(6, 12, Bz);
    set(7, 7, ka);
    set(8, 8, Tz);
    set(8, 12, -Sze);
    set(9, 9, Ty);
    set(9, 11, Sye);
    set(10, 10, kt);
    set(11, 11, Aye);
    set(12, 12, Aze);
    return k;
}

Matrix12 toGlobal(const Matrix12& k, const Axes& r) {
    // Block (I, J) of K is Rᵀ · k(I, J) · R; k·T is formed first, then Tᵀ times it.
    Matrix12 K{};
    for (int bi = 0; bi < 4; ++bi)
        for (int bj = 0; bj < 4; ++bj) {
            double kr[3][3];
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) {
                    double s = 0.0;
                    for (int q = 0; q < 3; ++q)
                        s += double(k[3 * bi + i][3 * bj + q]) * r[q][j];
                    kr[i][j] = static_cast<float>(s);
                }
            for (int i = 0; i < 3; ++i)
                for (int j = 0; j < 3; ++j) {
                    double s = 0.0;
                    for (int q = 0; q < 3; ++q)
                        s += double(r[q][i]) * kr[q][j];
                    K[3 * bi + i][3 * bj + j] = static_cast<float>(s);
                }
        }
    return K;
}

namespace {

// Length and axes of a member from i to j among `nodes` node coordinates
// (1-based); an end outside them gives length 0.
double geometry(const float* X, const float* Y, const float* Z, int nodes, int i, int j,
                float angle, Axes& r) {
    double dx = 0, dy = 0, dz = 0;
    if (i >= 1 && i <= nodes && j >= 1 && j <= nodes) {
        dx = double(X[j]) - double(X[i]);
        dy = double(Y[j]) - double(Y[i]);
        dz = double(Z[j]) - double(Z[i]);
    }
    r = memberAxes(dx, dy, dz, angle);
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

} // namespace

double memberGeometry(const FrameView& frame, int m, Axes& r) {
    const int nodes = std::min({frame.NodeX.last(), frame.NodeY.last(), frame.NodeZ.last()});
    return geometry(frame.NodeX.data, frame.NodeY.data, frame.NodeZ.data, nodes,
                    frame.MemberStartNode[m], frame.MemberEndNode[m], frame.MemberAngle[m], r);
}

double memberGeometry(const Model& model, int m, Axes& r) {
    return geometry(model.NodeX.data(), model.NodeY.data(), model.NodeZ.data(), kMaxNodes,
                    model.MemberStartNode[m], model.MemberEndNode[m], model.MemberAngle[m], r);
}

void buildMemberMatrices(const FrameView& frame, int m, double E, double G, MemberMatrices& out) {
    const MemberSection s = memberSection(frame, m, E, G);
    out.L = memberGeometry(frame, m, out.R);
    out.k = localStiffness(s);
    out.K = toGlobal(out.k, out.R);
}

} // namespace rahmen
