#pragma once
// The allowable stresses of steel members (許容応力度) of 平成13年国交省告示第1024号,
// with the formulas of 日本建築学会「鋼構造設計規準」; F, the standard strength of
// the grade, is that of 平成12年建設省告示第2464号 (checks/SteelGrades.h).
//
// Everything here is in N/mm² and long-term; the short-term values are 1.5
// times the long-term ones (shortTerm()). Slenderness ratios are plain
// numbers (a length and a radius of gyration in the same unit).

namespace rahmen {

// Λ = √(π²E / (0.6F)), the limiting slenderness (119.8 for F = 235).
double limitingSlenderness(double F);

// ft = F/1.5.
double tensionAllowable(double F);

// fs = F/(1.5√3).
double shearAllowable(double F);

// fc at the slenderness λ: λ ≤ Λ: F·(1 − 0.4(λ/Λ)²)/ν with
// ν = 3/2 + (2/3)(λ/Λ)²; λ > Λ: 0.277F/(λ/Λ)².
double compressionAllowable(double F, double lambda);

// The moment-gradient factor C = 1.75 + 1.05·r + 0.3·r², at most 2.3, where
// r = M2/M1 is the smaller over the larger end moment, positive in double
// curvature and negative in single curvature.
double momentGradientFactor(double m2OverM1);

// C from the two end moments and the largest moment inside the span, all in
// one sign convention along the member (the internal moment diagram), so
// that end moments of the same sign bend the member in single curvature:
// 1 when the span moment exceeds the larger end moment M1 (a beam under a
// uniform load) or both end moments are zero, else momentGradientFactor.
double momentGradientFactor(double startMoment, double endMoment, double spanMoment);

// The two formulas of the allowable bending stress of an H section about its
// strong axis; lbOverIb = lb / i_b, eta = i_b·h/Af of the section table.
double bendingAllowableByBuckling(double F, double lbOverIb, double C); // F(2/3 − …)
double bendingAllowableByFlange(double lbOverIb, double eta);           // 89000/((lb/i_b)·η)

// fb of an H section about its strong axis: the larger of the two formulas,
// at most ft.
double hStrongAxisBendingAllowable(double F, double lbOverIb, double eta, double C);

// The long-term allowable stresses of one member and what they came from.
struct AllowableStresses {
    double ft = 0, fc = 0, fs = 0;
    double fbStrong = 0; // about member y (the strong axis of an H)
    double fbWeak = 0;   // about member z
};

// The short-term values: 1.5 times each.
AllowableStresses shortTerm(const AllowableStresses& longTerm);

} // namespace rahmen
