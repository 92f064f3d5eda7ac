#pragma once
// The global stiffness matrix in band storage and its Cholesky decomposition.
//
// Only the lower triangle inside the band is kept, column by column. With N
// degrees of freedom and a half band width hb (diagonal included):
//
//            column c →   1        2        3      ...     N
//   k = 1  (diagonal)    K(1,1)   K(2,2)   K(3,3)          K(N,N)
//   k = 2                K(2,1)   K(3,2)   K(4,3)          (unused)
//   ...                  ...
//   k = hb               K(hb,1)  K(hb+1,2)
//   k = hb+1 .. ld       0        0        0               0        ← padding
//
// B(k, c) = K(c + k - 1, c) is stored at data[(c - 1) * ld + (k - 1)], so walking
// down a column is contiguous. The padding rows (ld = hb + block - 1) stay zero;
// they give the blocked decomposition room to treat the band as a dense matrix:
// K(i, j) sits at data[(j - 1) * (ld - 1) + (i - 1)], a column-major matrix with
// leading dimension ld - 1, for every pair with 0 <= i - j < ld.
//
// The Cholesky factor L overwrites the matrix in place (L has the same band).
//
// Inside the band the matrix keeps an envelope: the matrix records, per
// column, the lowest row it was given an entry in (add and the writable at).
// A row's first entry stays its first entry in L, so column c of L has no
// entry below last(c), the lowest row given in columns 1..c. The decomposition
// and the substitutions work down to last(c) only: a frame numbered by
// reverse Cuthill–McKee has a wavefront that widens and narrows again, and its
// envelope holds about 0.6 of the band.

#include <cstddef>
#include <vector>

namespace rahmen {

// Zero-filled doubles in memory fresh from the system, asked for as huge pages
// where the system offers them: the band of a large frame is tens of
// megabytes, and touched page by page it would cost thousands of page faults.
class ZeroedArray {
public:
    ZeroedArray() = default;
    ZeroedArray(const ZeroedArray& other);
    ZeroedArray& operator=(const ZeroedArray& other);
    ~ZeroedArray();

    // Makes the first n values 0, keeping the memory when it is large enough.
    void zero(std::size_t n);
    double* data() { return values_; }
    const double* data() const { return values_; }
    std::size_t capacity() const { return capacity_; }

private:
    void release();

    double* values_ = nullptr;
    std::size_t size_ = 0, capacity_ = 0;
    void* mapping_ = nullptr;
    std::size_t mappedBytes_ = 0;
};

class BandMatrix {
public:
    // Makes an N × N zero matrix of half band width hb. Memory is kept between
    // calls and only grows, so a second analysis of the same frame allocates nothing.
    void reset(int n, int hb);

    int size() const { return n_; }
    int halfBand() const { return hb_; }
    int leadingDimension() const { return ld_; }
    std::size_t bytes() const;

    // Entry K(row, col), 1-based, col <= row < col + hb. The writable entry
    // counts as given (it widens the envelope).
    double& at(int row, int col) {
        widen(row, col);
        return data_.data()[index(row, col)];
    }
    double at(int row, int col) const { return data_.data()[index(row, col)]; }

    // Adds v to K(i, j) = K(j, i) (either order); the pair must lie inside the band.
    void add(int i, int j, double v);

    double* data() { return data_.data(); }
    const double* data() const { return data_.data(); }

    // last(c) for the 1-based column c: the lowest row of the envelope, c at
    // least. Valid once envelope() has been called after the last entry was
    // given (the decomposition calls it).
    int lastRow(int col) const { return envelope_[static_cast<std::size_t>(col)]; }
    const int* lastRows() const { return envelope_.data(); } // last(c) at [c]
    // Sets last(c) from the lowest rows given; returns the multiply-adds of
    // the decomposition inside it counted twice, Σ (last(c) − c + 1)², the
    // envelope's N·hb².
    double envelope();

    // Work areas of the decomposition, sized by reset().
    std::vector<double>& packRows() { return packRows_; }
    std::vector<double>& packCols() { return packCols_; }
    std::vector<double>& diagonal() { return diagonal_; }

private:
    std::size_t index(int row, int col) const {
        return static_cast<std::size_t>(col - 1) * static_cast<std::size_t>(ld_) +
               static_cast<std::size_t>(row - col);
    }

    void widen(int row, int col) {
        int& lowest = lowest_[static_cast<std::size_t>(col)];
        if (row > lowest) lowest = row;
    }

    int n_ = 0;
    int hb_ = 0;
    int ld_ = 0;
    ZeroedArray data_;
    std::vector<int> lowest_;   // 1..N: lowest row given in the column (0: none)
    std::vector<int> envelope_; // 1..N: last(c)
    std::vector<double> packRows_, packCols_, diagonal_;
};

// A pivot counts as failed when it is not larger than this fraction of the
// diagonal the degree of freedom had before the decomposition. A mechanism does
// not leave exact zeros: the single-precision member matrices are not exactly
// singular, and a sway mechanism of a portal leaves pivots of about 3e-10 of the
// diagonal. Sound frames stay far above (1e-2 and more in typical frames); a
// pivot below 1e-8 would lose every digit of the single-precision matrices anyway.
constexpr double kPivotTolerance = 1e-8;

// Cholesky decomposition K = L·Lᵀ in place, blocked: with LAPACK (OpenBLAS) the
// diagonal blocks, the solves below them and the symmetric updates of the
// trailing triangle are LAPACK's and BLAS's; otherwise factorBandKernel.
// Returns 0, or the 1-based degree of freedom whose pivot failed (the matrix is
// then partly overwritten). Allocates nothing.
int factorBand(BandMatrix& b);

// OpenBLAS starts its worker threads as it is loaded, and each spins for its
// work (some 0.1 s of processor time) before it sleeps: through the reading of
// files, which needs no BLAS, it takes the other core from the program's own
// threads and from other work. A command calls this at its start; the
// decomposition starts the pool again. Without OpenBLAS it does nothing.
void stopBlasThreads();

// The same decomposition by the program's own kernel: the bulk of the work is a
// register-blocked symmetric update over contiguous memory.
int factorBandKernel(BandMatrix& b);

// Solves L·Lᵀ·x = rhs after factorBand; x holds rhs on entry, 1-based
// (x[1..N], x[0] unused).
void solveBand(const BandMatrix& b, double* x);

// The same for `count` right-hand sides at once, reading the band once: row c
// (1-based) of right-hand side r (0-based) at x[c * count + r], the first
// `count` entries unused. Each column gets exactly the numbers solveBand gives.
void solveBand(const BandMatrix& b, double* x, int count);

// The decomposition and the two substitutions written out as plain loops on
// B(k, c), hb rows by N columns, exactly in the textbook order: slow, and kept
// as the reference the fast code is checked against.
struct PlainBand {
    int n = 0;
    int hb = 0;
    std::vector<double> values; // hb * n, column c at (c - 1) * hb

    PlainBand(int n_, int hb_) : n(n_), hb(hb_), values(static_cast<std::size_t>(n_) * hb_) {}
    double& B(int k, int c) { return values[static_cast<std::size_t>(c - 1) * hb + (k - 1)]; }
    double B(int k, int c) const { return values[static_cast<std::size_t>(c - 1) * hb + (k - 1)]; }
};

// Returns 0 or the 1-based degree of freedom whose pivot failed (same test as factorBand).
int factorPlain(PlainBand& p);
// x[1..N] holds the right-hand side on entry and the solution on return.
void solvePlain(const PlainBand& p, std::vector<double>& x);

} // namespace rahmen
