#include "checks/AllowableStress.h"

#include "checks/SteelGrades.h"

#include <algorithm>
#include <cmath>

namespace rahmen {

namespace {
constexpr double kPi = 3.14159265358979323846;
constexpr double kCapC = 2.3;
} // namespace

double limitingSlenderness(double F) {
    return std::sqrt(kPi * kPi * kSteelYoungModulus / (0.6 * F));
}

double tensionAllowable(double F) {
    return F / 1.5;
}

double shearAllowable(double F) {
    return F / (1.5 * std::sqrt(3.0));
}

double compressionAllowable(double F, double lambda) {
    const double mu = lambda / limitingSlenderness(F);
    if (mu <= 1.0) {
        const double nu = 1.5 + (2.0 / 3.0) * mu * mu;
        return F * (1.0 - 0.4 * mu * mu) / nu;
    }
    return 0.277 * F / (mu * mu);
}

double momentGradientFactor(double r) {
    return std::min(kCapC, 1.75 + 1.05 * r + 0.3 * r * r);
}

double momentGradientFactor(double startMoment, double endMoment, double spanMoment) {
    const double a = std::abs(startMoment), b = std::abs(endMoment);
    const double m1 = std::max(a, b);
    // A span moment beyond M1 (by more than the rounding of the sums that
    // give it) leaves the end moments no say: the uniform-moment value.
    if (m1 == 0.0 || std::abs(spanMoment) > m1 * (1.0 + 1e-9)) return 1.0;
    const double m2 = a >= b ? endMoment : startMoment;
    const double larger = a >= b ? startMoment : endMoment;
    // Same signs along the member: single curvature, r negative.
    return momentGradientFactor(-m2 / larger);
}

double bendingAllowableByBuckling(double F, double lbOverIb, double C) {
    const double L = limitingSlenderness(F);
    return F * (2.0 / 3.0 - (4.0 / 15.0) * lbOverIb * lbOverIb / (C * L * L));
}

double bendingAllowableByFlange(double lbOverIb, double eta) {
    const double d = lbOverIb * eta;
    return d > 0 ? 89000.0 / d : HUGE_VAL;
}

double hStrongAxisBendingAllowable(double F, double lbOverIb, double eta, double C) {
    return std::min(tensionAllowable(F), std::max(bendingAllowableByBuckling(F, lbOverIb, C),
                                                  bendingAllowableByFlange(lbOverIb, eta)));
}

AllowableStresses shortTerm(const AllowableStresses& a) {
    return {1.5 * a.ft, 1.5 * a.fc, 1.5 * a.fs, 1.5 * a.fbStrong, 1.5 * a.fbWeak};
}

} // namespace rahmen
