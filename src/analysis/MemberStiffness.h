#pragma once
// The stiffness of one member: its 12 × 12 matrix in member axes, the rotation
// from global to member axes, and the matrix in global axes.
//
// Degrees of freedom of a member: 1..6 at the start node, 7..12 at the end node;
// at each end u, v, w along member x, y, z and the rotations about x, y, z.
// Matrices are indexed 0-based here: entry (a, b) of the tables is [a-1][b-1].
//
// The matrices are single precision, as the program has always kept them; the
// scalar quantities they are built from are worked out in double.

#include "analysis/FrameView.h"

#include <array>

namespace rahmen {

struct Model;

using Matrix12 = std::array<std::array<float, 12>, 12>;
// Rows: the member's x, y and z axes in global components.
using Axes = std::array<std::array<float, 3>, 3>;

// Member axes of a member running along (dx, dy, dz), turned about its axis by
// the principal-axis angle (rad). A vertical member (dx = dy = 0) has its own
// two cases: going up, y lies along global X at angle 0; going down, x points
// to -Z and y to -X.
Axes memberAxes(double dx, double dy, double dz, double angle);

// Bending in one plane of a member with end springs and pins, as factors on the
// stiffness of the plain beam: end moment per unit end rotation 4·e·as at the
// start, 4·e·ae at the end, and 2·e·b carried over, with e = E·I/L.
//
// These are the exact values of a shear-flexible beam (β = 6κ·E·I/(G·As·L²),
// i.e. φ = 2β) with rotational springs of flexibility fs, fe (0 = rigid) in
// series at its ends: with D = 1 + 2β + 4·e·(fs + fe)·(1 + β/2) + 12·e²·fs·fe,
//   as = (1 + 3·e·fe + β/2) / D,  ae = (1 + 3·e·fs + β/2) / D,  b = (1 − β) / D.
// A pin at one end leaves the other end 3 / (12·e·f + 4 + 2β) and nothing carried
// over; pins at both ends leave no bending stiffness at all.
//
// The same factors give the fixed-end moments of a uniform load:
// start × (2·as − b), end × (2·ae − b) of those of the fixed beam.
struct PlaneFactors {
    double as = 0.0;
    double ae = 0.0;
    double b = 0.0;
};
PlaneFactors planeFactors(double e, double beta, double fs, double fe, bool pinStart, bool pinEnd);

// Everything the member matrix needs, in analysis units (cm, force, rad).
struct MemberSection {
    double L = 0;     // length
    double E = 0;     // Young's modulus, force/cm²
    double G = 0;     // shear modulus, force/cm²
    double kappa = 0; // shear shape factor, 0 = no shear deformation
    double A = 0, Asy = 0, Asz = 0, Iy = 0, Iz = 0;
    double J = 0;                                     // torsion constant (0 → Iy + Iz)
    std::array<double, 7> springStart{}, springEnd{}; // constants, index 1..6, 0 = rigid
    bool pinStartX = false, pinStartY = false, pinStartZ = false;
    bool pinEndX = false, pinEndY = false, pinEndZ = false;

    double betaY() const; // 6κ·E·Iy / (G·Asy·L²), 0 without shear deformation
    double betaZ() const;
    double torsionalRigidity() const; // G·J, or G·(Iy + Iz) where J is 0
};

// The section of member m as the analysis sees it; shear areas of 0 stand for A.
MemberSection memberSection(const FrameView& frame, int m, double E, double G);

// The two bending planes of a section: y plane (moments about y: Iy, Asy, k = 5)
// and z plane (moments about z: Iz, Asz, k = 6).
PlaneFactors factorsY(const MemberSection& s);
PlaneFactors factorsZ(const MemberSection& s);

// The member matrix in member axes, entry by entry as the stiffness table lists it.
Matrix12 localStiffness(const MemberSection& s);

// K = Tᵀ · (k · T), using that T is block diagonal.
Matrix12 toGlobal(const Matrix12& k, const Axes& r);

// Everything built for one member, kept by the caller until the next member.
struct MemberMatrices {
    double L = 0;
    Axes R{};
    Matrix12 k{}; // member axes
    Matrix12 K{}; // global axes
};

// Builds L, the axes and both matrices of member m.
void buildMemberMatrices(const FrameView& frame, int m, double E, double G, MemberMatrices& out);

// Length and axes of member m (the geometry part of buildMemberMatrices); a
// member with an end outside the node columns has length 0.
double memberGeometry(const FrameView& frame, int m, Axes& r);
double memberGeometry(const Model& model, int m, Axes& r);

} // namespace rahmen
