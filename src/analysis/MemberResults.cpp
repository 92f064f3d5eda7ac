#include "analysis/MemberResults.h"

#include "analysis/MemberStiffness.h"
#include "analysis/ana.h"
#include "model/Limits.h"
#include "model/Model.h"

#include <algorithm>
#include <cmath>

namespace rahmen {

namespace {

bool inNodeTable(int n) {
    return n >= 1 && n <= kMaxNodes;
}

bool released(int16_t pin) {
    return pin != 0;
}

// The uniform loads of member m, force/m along member y and z; 0 without the
// load flag.
std::array<double, 2> uniformLoads(const Model& model, int m) {
    if (model.MemberLoadFlag[m] != 1) return {0, 0};
    return {model.MemberUniformLoad[m][1], model.MemberUniformLoad[m][2]};
}

// The moment along one plane of a member, M(x) = a + b·x + c·x², and its
// largest absolute value over 0..L: at an end, or at the vertex -b/(2c) when
// that lies inside the span.
void largestOf(double a, double b, double c, double L, double& value, double& at) {
    auto moment = [&](double x) { return a + (b + c * x) * x; };
    value = moment(0);
    at = 0;
    auto consider = [&](double x) {
        const double v = moment(x);
        if (std::abs(v) > std::abs(value)) value = v, at = x;
    };
    consider(L);
    if (c != 0) {
        const double vertex = -b / (2 * c);
        if (vertex > 0 && vertex < L) consider(vertex);
    }
}

} // namespace

std::array<double, 3> memberChord(const Model& model, int m) {
    const int i = model.MemberStartNode[m];
    const int j = model.MemberEndNode[m];
    if (!inNodeTable(i) || !inNodeTable(j)) return {0, 0, 0};
    return {double(model.NodeX[j]) - double(model.NodeX[i]),
            double(model.NodeY[j]) - double(model.NodeY[i]),
            double(model.NodeZ[j]) - double(model.NodeZ[i])};
}

double memberLength(const Model& model, int m) {
    const auto [dx, dy, dz] = memberChord(model, m);
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

double simpleBeamMoment(double w, double L) {
    return w * L * L / 8;
}

namespace {

// The end forces of a member from its MemberEndForce row (f(k) for k = 1..9)
// and its uniform loads w (force/m) over lengthM metres.
template <typename Row>
MemberEndForces endForcesOf(const Row& f, const std::array<double, 2>& w, double lengthM) {
    // The span's load in force: force/m times the length in m.
    const double wy = w[0] * lengthM, wz = w[1] * lengthM;
    MemberEndForces out;
    out.end = {f(7), f(8), f(9), f(4), f(5), f(6)};
    out.start = {-f(7), -f(8) - wy, -f(9) - wz, f(1), f(2), f(3)};
    return out;
}

SectionForces forcesFromStart(const SectionForces& s, const std::array<double, 2>& w, double x) {
    // Equilibrium of the part 0..x: the start forces, the load w·x acting at
    // x/2, and the forces at x sum to nothing.
    SectionForces at;
    at.N = -s.N;
    at.Qy = -s.Qy - w[0] * x;
    at.Qz = -s.Qz - w[1] * x;
    at.Mx = -s.Mx;
    at.My = -s.My - s.Qz * x - w[1] * x * x / 2;
    at.Mz = -s.Mz + s.Qy * x + w[0] * x * x / 2;
    return at;
}

} // namespace

MemberEndForces memberEndForces(const Model& model, int m) {
    const auto& f = model.MemberEndForce[m];
    return endForcesOf([&f](int k) { return f[k]; }, uniformLoads(model, m),
                       memberLength(model, m) / 100);
}

SectionForces forcesAt(const Model& model, int m, double x) {
    return forcesFromStart(memberEndForces(model, m).start, uniformLoads(model, m), x);
}

SectionForces forcesAt(const std::array<float, 9>& f, const std::array<double, 2>& w, double L,
                       double x) {
    const MemberEndForces ends = endForcesOf([&f](int k) { return f[k - 1]; }, w, L);
    return forcesFromStart(ends.start, w, x);
}

LargestMoments largestMoments(const Model& model, int m) {
    const SectionForces s = memberEndForces(model, m).start;
    const std::array<double, 2> w = uniformLoads(model, m);
    const double L = memberLength(model, m) / 100;
    LargestMoments out;
    largestOf(-s.My, -s.Qz, -w[1] / 2, L, out.My, out.xMy);
    largestOf(-s.Mz, s.Qy, w[0] / 2, L, out.Mz, out.xMz);
    return out;
}

// The report's digits need m0 rounded to float before the sum: fused into one
// multiply-add with the sum (which GCC may do where the processor has one),
// the printed value can move by the last digit. The half difference is exact,
// so this is the value the report has always printed.
#if defined(__GNUC__) && !defined(__clang__)
__attribute__((optimize("fp-contract=off")))
#endif
std::array<float, 2>
intermediateMaxMoments(const Model& model, int m) {
    const auto& f = model.MemberEndForce[m];
    // MemberLoadMoment holds wL²/8 in force·cm; the end forces are in force·m.
    const float m0z = kMomentCmToM * model.MemberLoadMoment[m][13];
    const float m0y = kMomentCmToM * model.MemberLoadMoment[m][14];
    return {std::abs(midspanMomentY(m0z, f[2], f[5])), std::abs(midspanMomentZ(m0y, f[3], f[6]))};
}

MemberMoments memberEndMoments(const Model& model, int m) {
    MemberMoments mm;
    if (m < 1 || m > kMaxMembers) return mm;
    const auto& f = model.MemberEndForce[m];
    mm.MyStart = f[2];
    mm.MzStart = f[3];
    mm.MyEnd = f[5];
    mm.MzEnd = f[6];
    return mm;
}

MemberMoments memberMoments(const Model& model, int m) {
    MemberMoments mm = memberEndMoments(model, m);
    if (m < 1 || m > kMaxMembers || model.MemberLoadFlag[m] != 1) return mm;
    // In double from the loads as they stand (force/m and m), as the diagrams
    // have always drawn them.
    const double lengthM = memberLength(model, m) / 100;
    const double wy = model.MemberUniformLoad[m][1];
    const double wz = model.MemberUniformLoad[m][2];
    if (wz != 0) mm.MyMid = midspanMomentY(simpleBeamMoment(wz, lengthM), mm.MyStart, mm.MyEnd);
    if (wy != 0) mm.MzMid = midspanMomentZ(simpleBeamMoment(wy, lengthM), mm.MzStart, mm.MzEnd);
    return mm;
}

double pinRotation(double M, double L, double EI) {
    return -M * L / (6.0 * EI);
}

void storeEndRotations(const FrameView& frame, int m, const float (&f)[13], double L, double E) {
    const auto& mlm = frame.MemberLoadMoment[m];
    // A spring about member y (k = 5) or z (k = 6) turns by its moment over its
    // constant; the moment includes the fixed-end moment of the span load.
    for (int k = 5; k <= 6; ++k) {
        if (frame.SpringStart[m][k] != 0.0f)
            frame.SpringRotation[m][k - 4] = (f[k] + mlm[k]) / frame.SpringStart[m][k];
        if (frame.SpringEnd[m][k] != 0.0f)
            frame.SpringRotation[m][k - 2] = (f[k + 6] + mlm[k + 6]) / frame.SpringEnd[m][k];
    }
    // A pinned end from the other end's moment of the displacements alone; the
    // span load's share of the pin's turn is in the load's deflected shape.
    const double EIy = E * frame.MemberIy[m];
    const double EIz = E * frame.MemberIz[m];
    if (frame.MemberEndPinned[m] == 1 && frame.MemberStartPinned[m] == 0) {
        frame.PinRotation[m][3] = static_cast<float>(pinRotation(f[5], L, EIy));
        frame.PinRotation[m][4] = static_cast<float>(pinRotation(f[6], L, EIz));
    }
    if (frame.MemberStartPinned[m] == 1 && frame.MemberEndPinned[m] == 0) {
        frame.PinRotation[m][1] = static_cast<float>(pinRotation(f[11], L, EIy));
        frame.PinRotation[m][2] = static_cast<float>(pinRotation(f[12], L, EIz));
    }
}

double uniformLoadDeflection(double q, double L, double E, double I, bool pinStart, bool pinEnd,
                             double xi) {
    if (E * I == 0) return 0;
    const double x2 = xi * xi, x3 = x2 * xi, x4 = x3 * xi;
    const double L4 = std::pow(L, 4);
    // The deflection lines of a uniformly loaded beam, 0 at both ends:
    // simply supported qL⁴/(24EI)·(ξ⁴ − 2ξ³ + ξ) (5qL⁴/384EI at midspan);
    // pinned at the start, fixed at the end qL⁴/(48EI)·(2ξ⁴ − 3ξ³ + ξ);
    // fixed at the start, pinned at the end qL⁴/(48EI)·(2ξ⁴ − 5ξ³ + 3ξ²);
    // fixed at both ends qL⁴/(24EI)·(ξ⁴ − 2ξ³ + ξ²) (qL⁴/384EI at midspan).
    if (pinStart && pinEnd) return q * L4 / (24 * E * I) * (x4 - 2 * x3 + xi);
    if (pinStart) return q * L4 / (48 * E * I) * (2 * x4 - 3 * x3 + xi);
    if (pinEnd) return q * L4 / (48 * E * I) * (2 * x4 - 5 * x3 + 3 * x2);
    return q * L4 / (24 * E * I) * (x4 - 2 * x3 + x2);
}

namespace {

double roughDeflection(double q, double L, double E, double I, bool pinStart, bool pinEnd) {
    if (E * I == 0) return 0;
    const double f = pinStart && pinEnd ? 5 : (pinStart || pinEnd ? 3 : 2);
    return std::fabs(f * q * std::pow(L, 4) / (384 * E * I));
}

} // namespace

double estimatedLoadDeflection(const Model& model, int m) {
    if (model.MemberLoadFlag[m] != 1) return 0;
    // The analysis' modulus (force/cm²) in either unit system.
    const double E = analysisModulus(model, model.YoungModulus);
    const double L = memberLength(model, m);
    const double z = roughDeflection(0.01 * model.MemberUniformLoad[m][2], L, E, model.MemberIy[m],
                                     released(model.PinStartY[m]), released(model.PinEndY[m]));
    const double y = roughDeflection(0.01 * model.MemberUniformLoad[m][1], L, E, model.MemberIz[m],
                                     released(model.PinStartZ[m]), released(model.PinEndZ[m]));
    return std::max(z, y);
}

std::array<double, 3> DeflectedShape::at(int i) const {
    // The cubic in pixels of the picture, or cm at s = D = 1.
    double y = va + phiZ1 * i + bv2 * i * i + bv3 * i * i * i;
    double z = wa + phiY1 * i + bw2 * i * i + bw3 * i * i * i;
    if (loaded) {
        // The load's shape is spread over the points drawn, i = 0 .. steps.
        const double xi = static_cast<double>(i) / steps;
        y += uniformLoadDeflection(qy, L, E, Iz, pinStartZ, pinEndZ, xi) * D;
        z += uniformLoadDeflection(qz, L, E, Iy, pinStartY, pinEndY, xi) * D;
    }
    return {ua + i, y, z};
}

namespace {

// The six displacements of a node (cm, rad), global axes.
std::array<double, 6> nodeDisplacement(const Model& model, int node) {
    std::array<double, 6> d{};
    for (int k = 0; k < 6; ++k)
        d[k] = model.NodeDisplacement[6 * node - 5 + k];
    return d;
}

double dot(const std::array<float, 3>& axis, double x, double y, double z) {
    return axis[0] * x + axis[1] * y + axis[2] * z;
}

// The end slopes of the shape with springs and pins (the chord angles κ of
// both planes given): a spring takes its rotation off its end's slope; a
// pinned end turns by its pin rotation from the chord, both ends pinned
// follow the chord. Where the analysis gave no pin rotation for the member
// (it gives them for a member pinned at one end only, by the per-end
// summary), and where a spring at the other end changes the other end's
// slope, the pin's rotation comes from that slope as for a beam pinned at
// one end: the pinned end turns back by half the other end's turn from the
// chord. The analysis results stay as they are.
void endSlopes(const Model& model, int m, double r, double kappaY, double kappaZ,
               DeflectedShape& c) {
    const bool analysed = (model.MemberStartPinned[m] == 1) != (model.MemberEndPinned[m] == 1);
    std::array<bool, 5> known{};
    for (int k = 1; k <= 4; ++k) {
        c.pinRotation[k] = model.PinRotation[m][k];
        known[k] = analysed;
    }
    auto fromOtherEnd = [&](int k, double otherSlope, double chord) {
        c.pinRotation[k] = -(otherSlope - chord) / 2 / r;
        known[k] = true;
    };
    if (model.SpringStart[m][5] != 0) {
        c.phiY1 -= model.SpringRotation[m][1] * r;
        if (c.pinEndY) fromOtherEnd(3, c.phiY1, kappaY);
    }
    if (model.SpringStart[m][6] != 0) {
        c.phiZ1 -= model.SpringRotation[m][2] * r;
        if (c.pinEndZ) fromOtherEnd(4, c.phiZ1, kappaZ);
    }
    if (model.SpringEnd[m][5] != 0) {
        c.phiY2 -= model.SpringRotation[m][3] * r;
        if (c.pinStartY) fromOtherEnd(1, c.phiY2, kappaY);
    }
    if (model.SpringEnd[m][6] != 0) {
        c.phiZ2 -= model.SpringRotation[m][4] * r;
        if (c.pinStartZ) fromOtherEnd(2, c.phiZ2, kappaZ);
    }

    // Plane by plane; a torsion pin changes no slope.
    auto pinSlopes = [&](bool pinStart, bool pinEnd, int startK, int endK, double chord,
                         double& slope1, double& slope2) {
        if (pinStart && pinEnd) {
            slope1 = slope2 = chord;
        } else if (pinStart) {
            if (!known[startK]) fromOtherEnd(startK, slope2, chord);
            slope1 = c.pinRotation[startK] * r + chord;
        } else if (pinEnd) {
            if (!known[endK]) fromOtherEnd(endK, slope1, chord);
            slope2 = c.pinRotation[endK] * r + chord;
        }
    };
    pinSlopes(c.pinStartY, c.pinEndY, 1, 3, kappaY, c.phiY1, c.phiY2);
    pinSlopes(c.pinStartZ, c.pinEndZ, 2, 4, kappaZ, c.phiZ1, c.phiZ2);
}

} // namespace

DeflectedShape deflectedShape(const Model& model, int m, double s, double D) {
    DeflectedShape c;
    const double r = D / s;
    Axes R;
    const double L = memberGeometry(model, m, R);
    c.length = L * s;

    // End translations (× D) and rotations (× r) in member axes.
    const std::array<double, 6> a = nodeDisplacement(model, model.MemberStartNode[m]);
    const std::array<double, 6> b = nodeDisplacement(model, model.MemberEndNode[m]);
    auto local = [&R](int axis, const std::array<double, 6>& d, int from, double factor) {
        return factor * dot(R[axis], d[from], d[from + 1], d[from + 2]);
    };
    c.ua = local(0, a, 0, D), c.va = local(1, a, 0, D), c.wa = local(2, a, 0, D);
    c.ub = local(0, b, 0, D), c.vb = local(1, b, 0, D), c.wb = local(2, b, 0, D);
    c.phiY1 = local(1, a, 3, r), c.phiZ1 = local(2, a, 3, r);
    c.phiY2 = local(1, b, 3, r), c.phiZ2 = local(2, b, 3, r);

    const double du = c.ub - c.ua, dv = c.vb - c.va, dw = c.wb - c.wa;
    c.deformed = c.length + du;
    c.steps = c.deformed >= 1 ? static_cast<int>(std::floor(c.deformed)) : 0;
    if (c.steps == 0) {
        c.chordOnly = true;
        return c;
    }

    c.pinStartY = released(model.PinStartY[m]), c.pinEndY = released(model.PinEndY[m]);
    c.pinStartZ = released(model.PinStartZ[m]), c.pinEndZ = released(model.PinEndZ[m]);
    // Chord angles of the deformed member: dv/dx turns about z, dw/dx about
    // y the other way round.
    const double kappaZ = std::atan(dv / c.deformed);
    const double kappaY = -std::atan(dw / c.deformed);
    endSlopes(model, m, r, kappaY, kappaZ, c);
    // Rotations about y turn w the other way: the slopes of w(x) are −φy.
    c.phiY1 = -c.phiY1;
    c.phiY2 = -c.phiY2;

    // The cubic v(t) = φ1·t + b2·t² + b3·t³ (from the start's place) with
    // v(ℓ') = Δ and v'(ℓ') = φ2: the two conditions
    //   φ1·ℓ' + b2·ℓ'² + b3·ℓ'³ = Δ,  φ1 + 2·b2·ℓ' + 3·b3·ℓ'² = φ2
    // give b3 = (φ1 + φ2)/ℓ'² − 2Δ/ℓ'³ and b2 = 3Δ/ℓ'² − (2φ1 + φ2)/ℓ'.
    const double l = c.deformed, l2 = l * l, l3 = l2 * l;
    c.bw3 = (c.phiY1 + c.phiY2) / l2 - 2 * dw / l3;
    c.bw2 = 3 * dw / l2 - (2 * c.phiY1 + c.phiY2) / l;
    c.bv3 = (c.phiZ1 + c.phiZ2) / l2 - 2 * dv / l3;
    c.bv2 = 3 * dv / l2 - (2 * c.phiZ1 + c.phiZ2) / l;

    c.loaded = model.MemberLoadFlag[m] == 1;
    c.L = L;
    c.D = D;
    c.E = analysisModulus(model, model.YoungModulus);
    c.qy = 0.01 * model.MemberUniformLoad[m][1]; // force/cm
    c.qz = 0.01 * model.MemberUniformLoad[m][2];
    c.Iy = model.MemberIy[m];
    c.Iz = model.MemberIz[m];
    return c;
}

} // namespace rahmen
