#pragma once
// The global stiffness matrix stored sparse and its supernodal Cholesky
// decomposition by CHOLMOD (SuiteSparse), the analysis's second solver beside
// the band (BandMatrix.h).
//
// The band's cost grows with N·hb², and hb with the smallest section of the
// frame; a nested-dissection order cuts a large frame into parts whose factor
// stays much sparser. CHOLMOD runs at a fraction of the band kernel's rate,
// so the analysis chooses between the two by their estimated times (ana.h).
//
// The matrix is kept in the band's row order (the node order the analysis
// chose, six degrees of freedom per node): the lower triangle column by
// column, rows ascending. The fill-reducing order is found on the graph of
// the nodes (six times smaller than that of the degrees of freedom) and
// handed to CHOLMOD node by node, so each node's six degrees of freedom stay
// together in the factor's supernodes.
//
// Without CHOLMOD (the build option RAHMEN_CHOLMOD off, or the library not
// installed) available() is false and the analysis always uses the band.

#include <cstddef>
#include <memory>
#include <vector>

namespace rahmen {

// The lower triangle of the stiffness matrix in compressed columns, 0-based
// rows and columns inside, 1-based at the interface like BandMatrix.
struct SparseStiffness {
    int n = 0;
    std::vector<long> start; // n + 1 column starts
    std::vector<long> row;   // row of each entry, ascending within a column
    std::vector<double> value;

    // The pattern of a frame of `nodes` nodes (in band order): each node's
    // 6 × 6 block, and the blocks of the node pairs in `neighbours` (for
    // node p, the nodes after p joined to it by a member, ascending). A held
    // node keeps its diagonal only. Values are set to 0.
    void setPattern(int nodes, const std::vector<std::vector<int>>& neighbours,
                    const std::vector<char>& held);

    // Entry K(i, j), 1-based, either order; the pair must lie in the pattern.
    double& at(int i, int j);
    void add(int i, int j, double v) { at(i, j) += v; }
    std::size_t bytes() const;
};

class SparseCholesky {
public:
    SparseCholesky();
    ~SparseCholesky();
    SparseCholesky(SparseCholesky&&) noexcept;
    SparseCholesky& operator=(SparseCholesky&&) noexcept;

    // True when the program was built with CHOLMOD.
    static bool available();

    // Orders the node graph (as SparseStiffness::setPattern takes it) by
    // CHOLMOD's analysis, trying minimum degree and CHOLMOD's nested
    // dissection and keeping the sparser, and returns the estimated flops of the
    // stiffness matrix's factor in that order: CHOLMOD's column counts of the
    // node graph, each node widened to its six degrees of freedom. 0 without
    // CHOLMOD.
    double orderNodes(int nodes, const std::vector<std::vector<int>>& neighbours,
                      const std::vector<char>& held);

    // The symbolic factor of the matrix in the node order orderNodes found,
    // supernodal. Returns CHOLMOD's own flop count of the factor (Σ of the
    // squared column counts, the band's N·hb² on the same scale).
    double analyse(const SparseStiffness& k);

    // K = L·Lᵀ after analyse; returns 0, or the 1-based row (band order) of
    // the first pivot in elimination order that is not larger than
    // kPivotTolerance of its diagonal — the band's own test.
    int factor(const SparseStiffness& k);

    // Solves K·x = rhs; x as solveBand takes it: x[1..N], or for `count`
    // right-hand sides row c of column r at x[c * count + r].
    void solve(double* x, int count = 1) const;

    // Entries of the factor and the bytes it holds.
    double factorEntries() const;
    std::size_t bytes() const;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

} // namespace rahmen
