#include "analysis/BandMatrix.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

using namespace rahmen;

namespace {

// A random symmetric positive definite band matrix (diagonally dominant),
// filled into both the fast storage and the plain reference. With `profile`,
// each row starts at a random column inside the band (a wavefront that
// widens and narrows) and leaves random gaps after it, so the columns'
// envelope differs from the band and from each column's own lowest entry.
struct RandomBand {
    BandMatrix fast;
    PlainBand plain;
    std::vector<double> rhs;

    RandomBand(int n, int hb, unsigned seed, bool profile = false) : plain(n, hb), rhs(n + 1) {
        fast.reset(n, hb);
        std::mt19937 gen(seed);
        std::uniform_real_distribution<double> u(-1.0, 1.0);
        std::vector<int> first(n + 1);
        for (int r = 1; r <= n; ++r)
            first[r] = profile ? std::max(1, r - int(gen() % unsigned(hb))) : 1;
        std::vector<double> rowSum(n + 1, 0.0);
        for (int c = 1; c <= n; ++c)
            for (int r = c + 1; r <= std::min(n, c + hb - 1); ++r) {
                // Gaps inside a row, as between the nodes of a frame.
                if (c < first[r] || (profile && gen() % 3 == 0)) continue;
                const double v = u(gen);
                fast.at(r, c) = v;
                plain.B(r - c + 1, c) = v;
                rowSum[r] += std::abs(v);
                rowSum[c] += std::abs(v);
            }
        for (int c = 1; c <= n; ++c) {
            const double d = rowSum[c] + 0.5 + std::abs(u(gen));
            fast.at(c, c) = d;
            plain.B(1, c) = d;
            rhs[c] = u(gen);
        }
    }
};

double relativeDifference(const std::vector<double>& a, const std::vector<double>& b) {
    double diff = 0.0, scale = 0.0;
    for (std::size_t i = 1; i < a.size(); ++i) {
        diff = std::max(diff, std::abs(a[i] - b[i]));
        scale = std::max(scale, std::abs(b[i]));
    }
    return diff / scale;
}

} // namespace

// Sizes around the block and tile edges: smaller than a block, several blocks,
// band wider than the matrix, band of 1 (diagonal only), odd sizes; the band
// full, and rows starting at random inside it (the decomposition and the
// substitutions then work inside the envelope only).
TEST(BandMatrix, FastDecompositionAgreesWithPlainTranscriptionOnRandomSpdMatrices) {
    const int cases[][2] = {{1, 1},    {5, 1},    {12, 12}, {7, 30},    {50, 13},   {200, 64},
                            {203, 65}, {300, 97}, {333, 5}, {640, 180}, {1000, 300}};
    unsigned seed = 1;
    for (const bool profile : {false, true})
        for (const auto& c : cases) {
            const int n = c[0], hb = c[1];
            RandomBand m(n, hb, seed++, profile);
            ASSERT_EQ(factorBand(m.fast), 0) << n << " " << hb;
            ASSERT_EQ(factorPlain(m.plain), 0);

            // Every stored factor entry agrees with the plain one.
            double diff = 0.0, scale = 0.0;
            for (int col = 1; col <= n; ++col)
                for (int r = col; r <= std::min(n, col + hb - 1); ++r) {
                    diff =
                        std::max(diff, std::abs(m.fast.at(r, col) - m.plain.B(r - col + 1, col)));
                    scale = std::max(scale, std::abs(m.plain.B(r - col + 1, col)));
                }
            EXPECT_LT(diff / scale, 1e-10) << "factor, n=" << n << " hb=" << hb;

            std::vector<double> xFast = m.rhs, xPlain = m.rhs;
            solveBand(m.fast, xFast.data());
            solvePlain(m.plain, xPlain);
            EXPECT_LT(relativeDifference(xFast, xPlain), 1e-10)
                << "solution, n=" << n << " hb=" << hb;

            // Thirteen right-hand sides at once (blocks of 8, 4 and 1): each
            // column exactly as solved alone.
            const int count = 13;
            std::vector<double> many((n + 1) * count);
            for (int c = 1; c <= n; ++c)
                for (int r = 0; r < count; ++r)
                    many[c * count + r] = m.rhs[c] * (1 + r) + 0.01 * r;
            solveBand(m.fast, many.data(), count);
            for (int r = 0; r < count; ++r) {
                std::vector<double> one(n + 1);
                for (int c = 1; c <= n; ++c)
                    one[c] = m.rhs[c] * (1 + r) + 0.01 * r;
                solveBand(m.fast, one.data());
                for (int c = 1; c <= n; ++c)
                    ASSERT_EQ(many[c * count + r], one[c]) << "n=" << n << " column " << r;
            }
        }
}

TEST(BandMatrix, SolutionSatisfiesTheEquations) {
    RandomBand m(400, 120, 99);
    BandMatrix original = m.fast;
    std::vector<double> x = m.rhs;
    ASSERT_EQ(factorBand(m.fast), 0);
    solveBand(m.fast, x.data());
    // Residual |K·x - rhs| / |rhs| with K from the untouched copy.
    double res = 0.0, norm = 0.0;
    for (int i = 1; i <= 400; ++i) {
        double s = 0.0;
        for (int j = std::max(1, i - 119); j <= std::min(400, i + 119); ++j)
            s += (i >= j ? original.at(i, j) : original.at(j, i)) * x[j];
        res = std::max(res, std::abs(s - m.rhs[i]));
        norm = std::max(norm, std::abs(m.rhs[i]));
    }
    EXPECT_LT(res / norm, 1e-12);
}

TEST(BandMatrix, PaddingRowsStayZeroAfterTheDecomposition) {
    RandomBand m(300, 40, 7);
    ASSERT_EQ(factorBand(m.fast), 0);
    const int ld = m.fast.leadingDimension();
    for (int c = 0; c < 300; ++c)
        for (int k = 40; k < ld; ++k)
            ASSERT_EQ(m.fast.data()[c * ld + k], 0.0) << c << " " << k;
}

TEST(BandMatrix, FailingPivotReportsItsDegreeOfFreedom) {
    // A spring chain 1-2-3-4 held at nothing: singular at the last degree of freedom.
    BandMatrix b;
    b.reset(4, 2);
    for (int i = 1; i < 4; ++i) {
        b.add(i, i, 1.0);
        b.add(i + 1, i + 1, 1.0);
        b.add(i + 1, i, -1.0);
    }
    EXPECT_EQ(factorBand(b), 4);

    // A zero diagonal in the middle fails there, in both implementations; the
    // larger band is decomposed on two threads, the failure deep inside it.
    for (const auto& [n, hb, d] : {std::array<int, 3>{100, 20, 60}, {1200, 150, 700}}) {
        RandomBand m(n, hb, 3);
        for (int r = d; r <= std::min(n, d + hb - 1); ++r)
            m.fast.at(r, d) = 0.0;
        for (int c = std::max(1, d - hb + 1); c <= d; ++c)
            m.fast.at(d, c) = 0.0;
        for (int k = 1; k <= hb; ++k)
            m.plain.B(k, d) = 0.0;
        for (int c = std::max(1, d - hb + 1); c < d; ++c)
            m.plain.B(d - c + 1, c) = 0.0;
        EXPECT_EQ(factorBand(m.fast), d);
        EXPECT_EQ(factorPlain(m.plain), d);
    }

    // A negative diagonal at the first degree of freedom.
    BandMatrix neg;
    neg.reset(3, 2);
    neg.at(1, 1) = -2.0;
    neg.at(2, 2) = neg.at(3, 3) = 1.0;
    EXPECT_EQ(factorBand(neg), 1);
}

// A degree of freedom with a unit row and column (as a fixed one) solves apart
// from the others.
TEST(BandMatrix, UnitRowAndColumnSolveApart) {
    BandMatrix b;
    b.reset(3, 3);
    for (int c = 1; c <= 3; ++c)
        for (int r = c; r <= 3; ++r)
            b.at(r, c) = (r == c) ? 4.0 : 1.0;
    b.at(2, 1) = b.at(3, 2) = 0.0;
    b.at(2, 2) = 1.0;
    std::vector<double> x = {0.0, 5.0, 0.0, 5.0};
    ASSERT_EQ(factorBand(b), 0);
    solveBand(b, x.data());
    // 4x1 + x3 = 5, x1 + 4x3 = 5 -> x1 = x3 = 1; x2 = 0.
    EXPECT_NEAR(x[1], 1.0, 1e-14);
    EXPECT_NEAR(x[2], 0.0, 1e-14);
    EXPECT_NEAR(x[3], 1.0, 1e-14);
}

// Both decompositions against the plain one, with bands around the blocks of
// 32, 64 and 128 columns and a pivot that is positive but lost to rounding (a mechanism).
TEST(BandMatrix, BothDecompositionsAgreeAndStopAtALostPivot) {
    for (auto factor : {factorBand, factorBandKernel}) {
        for (const auto& c :
             {std::array<int, 2>{257, 129}, {97, 33}, {300, 31}, {130, 200}, {200, 65}}) {
            RandomBand m(c[0], c[1], 11);
            ASSERT_EQ(factor(m.fast), 0);
            ASSERT_EQ(factorPlain(m.plain), 0);
            std::vector<double> xFast = m.rhs, xPlain = m.rhs;
            solveBand(m.fast, xFast.data());
            solvePlain(m.plain, xPlain);
            EXPECT_LT(relativeDifference(xFast, xPlain), 1e-10) << c[0] << " " << c[1];
        }
        // Degrees of freedom 150 and 151 move together: the pivot of 151 is 1e-12.
        BandMatrix b;
        b.reset(300, 30);
        for (int d = 1; d <= 300; ++d)
            b.at(d, d) = 1.0;
        b.at(151, 150) = 1.0;
        b.at(151, 151) = 1.0 + 1e-12;
        EXPECT_EQ(factor(b), 151);
    }
}

TEST(BandMatrix, AResetMatrixIsZeroAgainInTheMemoryItKeeps) {
    BandMatrix b;
    b.reset(50, 10);
    for (int c = 1; c <= 50; ++c)
        b.at(c, c) = 3.0;
    b.reset(40, 8);
    for (int c = 0; c < 40 * b.leadingDimension(); ++c)
        ASSERT_EQ(b.data()[c], 0.0) << c;
}
