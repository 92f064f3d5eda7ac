#pragma once
// The results of one member after an analysis, in one place: its length, its
// end forces, the forces and moments at any point along it with its uniform
// loads, the largest moment of the span and where it lies, the midspan moments
// the report and the stress diagrams print, the rotations of end springs and
// one-sided pins, and the deflected shape the deformation diagram draws.
//
// The analysis stores its results in the model (MemberEndForce, PinRotation,
// SpringRotation, NodeDisplacement); everything here is worked out from them
// and the member's loads, so that the report, the pictures and the coming
// checks read the same numbers.
//
// Units are those of the report: forces in kN (SI) or t, moments in force·m,
// uniform loads in force/m, positions along the member in m — except where a
// function says it takes the analysis' units (cm, force·cm).

#include "analysis/FrameView.h"

#include <array>

namespace rahmen {

struct Model;

// ---- geometry

// End node minus start node of member m (cm), worked out in double; 0 for a
// member whose node numbers lie outside the node table.
std::array<double, 3> memberChord(const Model& model, int m);

// Length of member m in cm (0 for a member without valid nodes). Every part of
// the program that needs a member's length takes it from here.
double memberLength(const Model& model, int m);

// ---- forces

// wL²/8: the midspan moment of a simply supported span L under the uniform
// load w (any consistent units: force/cm and cm give force·cm).
double simpleBeamMoment(double w, double L);

// Forces and moments in member axes: N along x, Qy and Qz across, Mx torsion,
// My and Mz bending.
struct SectionForces {
    double N = 0, Qy = 0, Qz = 0;  // force
    double Mx = 0, My = 0, Mz = 0; // force·m
};

// The two ends as the report's list of end forces shows them: at the end node
// MemberEndForce(m, 7..9) and (m, 4..6); at the start node the moments
// (m, 1..3) and the forces of the end reversed, less the span's uniform load
// (force/m times m), since the stored shears carry the load's share at the
// end node only.
struct MemberEndForces {
    SectionForces start, end;
};
MemberEndForces memberEndForces(const Model& model, int m);

// The forces at x (m, 0 at the start node) of member m: those the part of the
// member beyond x exerts on the part before it, in member axes. At x = L they
// are the end line of the report, at x = 0 its start line reversed; the
// shears grow linearly and the bending moments as parabolas with the uniform
// loads (force/m, member y and z).
SectionForces forcesAt(const Model& model, int m, double x);

// The same for results kept outside the model's tables (a load case or a
// combination): f the member's MemberEndForce(m, 1..9) at f[0..8], w its
// uniform loads (force/m, member y and z; 0 without the load flag), L its
// length in m.
SectionForces forcesAt(const std::array<float, 9>& f, const std::array<double, 2>& w, double L,
                       double x);

// The largest absolute bending moment of the span about member y and about
// member z (signed, as forcesAt gives it) and where it lies (m from the start
// node): at an end, or where the shear of that plane changes sign inside the
// span.
struct LargestMoments {
    double My = 0, xMy = 0;
    double Mz = 0, xMz = 0;
};
LargestMoments largestMoments(const Model& model, int m);

// Midspan moment in the stress diagrams' sign (sagging of a beam under a
// downward load negative about y, the diagrams' "↓+↑"): the simple-beam moment
// M0 plus the mean of the two end moments as MemberEndForce holds them. About
// y that is the moment forcesAt gives at L/2, about z that moment reversed.
// Templates because the report works them out in float and the diagrams in
// double, and each must keep its own digits.
template <typename T> T midspanMomentY(T simpleBeam, T startMoment, T endMoment) {
    return simpleBeam + (-startMoment + endMoment) / T(2);
}
template <typename T> T midspanMomentZ(T simpleBeam, T startMoment, T endMoment) {
    return simpleBeam + (startMoment - endMoment) / T(2);
}

// The two intermediate maximum moments the report lists for a uniformly loaded
// member ("中間最大モーメント(絶対値)"), force·m: |midspan moment| about member
// y (from the z load) and about member z (from the y load), from the
// simple-beam moments the analysis keeps in MemberLoadMoment(m, 13..14). In
// float, as the report has always printed them.
std::array<float, 2> intermediateMaxMoments(const Model& model, int m);

// The bending moments of member m as the stress diagrams read them (force·m):
// the end moments about y and z from MemberEndForce, and for a member with a
// uniform load the midspan moments of that load's components (0 for a
// component without load, or without the load flag).
struct MemberMoments {
    double MyStart = 0, MzStart = 0, MyEnd = 0, MzEnd = 0;
    double MyMid = 0, MzMid = 0;
};
// The end moments only.
MemberMoments memberEndMoments(const Model& model, int m);
// With the midspan moments; m must have both nodes in the node table.
MemberMoments memberMoments(const Model& model, int m);

// ---- rotations, as the analysis stores them

// Rotation of the pinned end of a member pinned at one end, relative to its
// chord, from the moment M (force·cm) the end displacements cause at the
// other end: a beam pinned at one end that turns by θ at the other carries
// M = 3EI/L·θ there and turns back by θ/2 at the pin, i.e. by −M·L/(6EI).
double pinRotation(double M, double L, double EI);

// Stores the spring rotations M/k (moments with their fixed-end moments) and
// the pin rotations of a member pinned at one end, from the member-axis end
// forces f (1-based, 1..12, analysis units, without fixed-end forces) and the
// fixed-end moments in MemberLoadMoment; L in cm, E force/cm². Entries the
// member has no spring or one-sided pin for keep their values.
void storeEndRotations(const FrameView& frame, int m, const float (&f)[13], double L, double E);

// ---- the deflected shape

// Deflection (cm) of a uniformly loaded member at xi = 0..1 of its length (q
// force/cm, L cm, E force/cm², I cm⁴), by its pins in that plane.
double uniformLoadDeflection(double q, double L, double E, double I, bool pinStart, bool pinEnd,
                             double xi);

// The rough largest deflection (cm) of member m under its uniform load, the
// larger of its two planes, used to choose the deformation picture's scale:
// f·q·L⁴/(384·E·I) with f = 5 pinned at both ends, 3 at one, 2 at none. 0
// without the load flag.
double estimatedLoadDeflection(const Model& model, int m);

// The deflected shape of member m in member axes, at the scales of a picture:
// lengths along the member in s units per cm, displacements in D units per cm
// (s = D = 1 gives cm). The end translations come from NodeDisplacement, the
// end slopes from its rotations times r = D / s, corrected for the end springs
// (SpringRotation) and pins (PinRotation, or the other end's slope where the
// analysis gave none); between the ends a cubic with those slopes, plus the
// deflection of the uniform load by the pins of each plane.
//
// Its points are those of the deformation diagram: one per unit of deformed
// length, at i = 0 .. steps (steps = INT of the deformed length). A member
// under one unit long has only its chord between the displaced ends.
struct DeflectedShape {
    bool chordOnly = false;
    double length = 0;   // ℓ = L·s
    double deformed = 0; // ℓ' = ℓ + Δu, the length the points are spread over
    int steps = 0;       // INT(ℓ'), 0 for a chord only
    // End translations in member axes (u along x, v along y, w along z).
    double ua = 0, va = 0, wa = 0, ub = 0, vb = 0, wb = 0;
    // End slopes of the cubic: φz (dv/dx, from rotations about z) and φy
    // (dw/dx; rotations about y turn the other way, hence the sign flip the
    // shape applies).
    double phiY1 = 0, phiY2 = 0, phiZ1 = 0, phiZ2 = 0;
    // Cubic w(t) = wa + φy1·t + bw2·t² + bw3·t³ through both ends, likewise v.
    double bw2 = 0, bw3 = 0, bv2 = 0, bv3 = 0;
    // Pin rotations (relative to the chord, rad, 1..4 as PinRotation) the
    // shape used.
    std::array<double, 5> pinRotation{};
    // The uniform load's share, in member y and z.
    bool loaded = false;
    double L = 0, E = 0, D = 0, qy = 0, qz = 0, Iy = 0, Iz = 0;
    bool pinStartY = false, pinEndY = false, pinStartZ = false, pinEndZ = false;

    // Point i (0..steps) of the shape in member axes, from the start node's
    // place: x along the member, y and z across.
    std::array<double, 3> at(int i) const;
    // The two ends of a chord-only shape.
    std::array<double, 3> chordStart() const { return {ua, va, wa}; }
    std::array<double, 3> chordEnd() const { return {ub + length, vb, wb}; }
};
DeflectedShape deflectedShape(const Model& model, int m, double s, double D);

} // namespace rahmen
