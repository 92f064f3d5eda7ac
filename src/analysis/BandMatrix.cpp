#include "analysis/BandMatrix.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#if defined(__FMA__) && defined(__AVX__)
#include <immintrin.h>
#endif

// Under AddressSanitizer the band comes from the ordinary heap, where reads and
// writes beyond it are caught.
#if defined(__SANITIZE_ADDRESS__)
#define RAHMEN_CHECKED_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RAHMEN_CHECKED_HEAP 1
#endif
#endif
#if defined(__linux__) && !defined(RAHMEN_CHECKED_HEAP)
#define RAHMEN_HUGE_PAGES 1
#include <sys/mman.h>
#endif

#if RAHMEN_HAVE_LAPACK
// LAPACK and BLAS (OpenBLAS), Fortran calling convention: every argument by
// address, the lengths of the character arguments appended.
extern "C" {
void dpotrf_(const char* uplo, const int* n, double* a, const int* lda, int* info, std::size_t);
void dtrsm_(const char* side, const char* uplo, const char* transa, const char* diag, const int* m,
            const int* n, const double* alpha, const double* a, const int* lda, double* b,
            const int* ldb, std::size_t, std::size_t, std::size_t, std::size_t);
void dsyrk_(const char* uplo, const char* trans, const int* n, const int* k, const double* alpha,
            const double* a, const int* lda, const double* beta, double* c, const int* ldc,
            std::size_t, std::size_t);
void dgemm_(const char* transa, const char* transb, const int* m, const int* n, const int* k,
            const double* alpha, const double* a, const int* lda, const double* b, const int* ldb,
            const double* beta, double* c, const int* ldc, std::size_t, std::size_t);
// OpenBLAS's own thread count; absent from other BLAS libraries.
int openblas_get_num_threads(void) __attribute__((weak));
void openblas_set_num_threads(int) __attribute__((weak));
int blas_thread_shutdown_(void) __attribute__((weak)); // exported, not declared by OpenBLAS
}
#include <atomic>
#include <limits>
#include <thread>
#endif

namespace rahmen {

namespace {

// Columns per block of the decomposition. With LAPACK the block is the rank of
// each symmetric update: on the largest grid the tables allow (half band 516,
// both threads of TwoThreadBand) rank 48 ran fastest, 32 and 64 about 4 %
// slower, 96 20 % slower. The own kernel packs the panel of a
// block (hb × kBlock doubles) into a buffer that stays in the second-level
// cache while the trailing triangle is updated.
#if RAHMEN_HAVE_LAPACK
constexpr int kBlock = 48;
#else
constexpr int kBlock = 64;
#endif

// Register tile of the symmetric update: kMR rows × kNR columns of accumulators,
// two vectors of kW doubles per column. With AVX that is 12 ymm registers; the
// portable build uses SSE2 registers and a smaller tile.
#if defined(__AVX__)
constexpr int kW = 4;
constexpr int kNR = 6;
#else
constexpr int kW = 2;
constexpr int kNR = 4;
#endif
constexpr int kMR = 2 * kW;

typedef double Vec __attribute__((vector_size(kW * sizeof(double))));

inline Vec load(const double* p) {
    Vec v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

inline void store(double* p, Vec v) {
    std::memcpy(p, &v, sizeof v);
}

inline Vec splat(double x) {
    Vec v;
    for (int i = 0; i < kW; ++i)
        v[i] = x;
    return v;
}

// a·b + c, rounded once where the processor has a fused multiply-add, else
// rounded after the product and after the sum. The substitutions spell every
// product and sum this way, so that one right-hand side solved alone and the
// same one solved beside others give the same bits whatever the compiler
// vectorises.
#if defined(__FMA__)
inline double mulAdd(double a, double b, double c) {
    return std::fma(a, b, c);
}
#else
inline double mulAdd(double a, double b, double c) {
    return a * b + c;
}
#endif
#if defined(__FMA__) && defined(__AVX__)
inline Vec mulAdd(Vec a, Vec b, Vec c) {
    return _mm256_fmadd_pd(a, b, c);
}
#else
inline Vec mulAdd(Vec a, Vec b, Vec c) {
    Vec r;
    for (int i = 0; i < kW; ++i)
        r[i] = mulAdd(a[i], b[i], c[i]);
    return r;
}
#endif

// acc = Σ_k ap(k, 0..kMR-1) ⊗ bp(k, 0..kNR-1); then either C -= acc directly
// (a tile wholly inside the triangle) or acc is left in tmp for a masked update.
template <bool Direct>
inline void microKernel(int kc, const double* ap, const double* bp, double* c, std::ptrdiff_t ldc,
                        double* tmp) {
    Vec acc[kNR][2];
    for (int j = 0; j < kNR; ++j)
        acc[j][0] = acc[j][1] = splat(0.0);
    for (int k = 0; k < kc; ++k) {
        const Vec a0 = load(ap + k * kMR);
        const Vec a1 = load(ap + k * kMR + kW);
#pragma GCC unroll 8
        for (int j = 0; j < kNR; ++j) {
            const Vec b = splat(bp[k * kNR + j]);
            acc[j][0] += a0 * b;
            acc[j][1] += a1 * b;
        }
    }
#pragma GCC unroll 8
    for (int j = 0; j < kNR; ++j) {
        if (Direct) {
            double* cj = c + j * ldc;
            store(cj, load(cj) - acc[j][0]);
            store(cj + kW, load(cj + kW) - acc[j][1]);
        } else {
            store(tmp + j * kMR, acc[j][0]);
            store(tmp + j * kMR + kW, acc[j][1]);
        }
    }
}

// C(r, c) -= Σ_k P(r, k)·P(c, k) for 0 <= c <= r < m, where P(i, k) = A(t0 + i, j + k)
// and C(r, c) = A(t0 + r, t0 + c); A is the band seen as a column-major matrix
// with leading dimension lda.
void symmetricUpdate(double* a, std::ptrdiff_t lda, int t0, int m, int j, int kc, double* packRows,
                     double* packCols) {
    const int rowTiles = (m + kMR - 1) / kMR;
    const int colTiles = (m + kNR - 1) / kNR;

    // Pack P twice: in strips of kMR rows (k outer) and of kNR rows, zero-filled past m.
    for (int t = 0; t < rowTiles; ++t) {
        double* dst = packRows + static_cast<std::ptrdiff_t>(t) * kc * kMR;
        const int r0 = t * kMR;
        const int rows = std::min(kMR, m - r0);
        for (int k = 0; k < kc; ++k) {
            const double* src = a + (j + k) * lda + t0 + r0;
            int i = 0;
            for (; i < rows; ++i)
                dst[k * kMR + i] = src[i];
            for (; i < kMR; ++i)
                dst[k * kMR + i] = 0.0;
        }
    }
    for (int s = 0; s < colTiles; ++s) {
        double* dst = packCols + static_cast<std::ptrdiff_t>(s) * kc * kNR;
        const int c0 = s * kNR;
        const int cols = std::min(kNR, m - c0);
        for (int k = 0; k < kc; ++k) {
            const double* src = a + (j + k) * lda + t0 + c0;
            int i = 0;
            for (; i < cols; ++i)
                dst[k * kNR + i] = src[i];
            for (; i < kNR; ++i)
                dst[k * kNR + i] = 0.0;
        }
    }

    alignas(64) double tmp[kNR * kMR];
    for (int s = 0; s < colTiles; ++s) {
        const int c0 = s * kNR;
        const double* bp = packCols + static_cast<std::ptrdiff_t>(s) * kc * kNR;
        for (int t = c0 / kMR; t < rowTiles; ++t) {
            const int r0 = t * kMR;
            const double* ap = packRows + static_cast<std::ptrdiff_t>(t) * kc * kMR;
            double* c = a + (t0 + c0) * lda + t0 + r0;
            if (r0 >= c0 + kNR - 1 && r0 + kMR <= m && c0 + kNR <= m) {
                microKernel<true>(kc, ap, bp, c, lda, nullptr);
                continue;
            }
            microKernel<false>(kc, ap, bp, c, lda, tmp);
            for (int jj = 0; jj < kNR && c0 + jj < m; ++jj) {
                for (int i = 0; i < kMR; ++i) {
                    const int r = r0 + i;
                    if (r >= c0 + jj && r < m) c[jj * lda + i] -= tmp[jj * kMR + i];
                }
            }
        }
    }
}

} // namespace

ZeroedArray::ZeroedArray(const ZeroedArray& other) {
    zero(other.size_);
    if (size_ != 0) std::memcpy(values_, other.values_, size_ * sizeof(double));
}

ZeroedArray& ZeroedArray::operator=(const ZeroedArray& other) {
    if (this != &other) {
        zero(other.size_);
        if (size_ != 0) std::memcpy(values_, other.values_, size_ * sizeof(double));
    }
    return *this;
}

ZeroedArray::~ZeroedArray() {
    release();
}

void ZeroedArray::release() {
#if RAHMEN_HUGE_PAGES
    if (mapping_) munmap(mapping_, mappedBytes_);
#else
    std::free(mapping_);
#endif
    values_ = nullptr;
    mapping_ = nullptr;
    size_ = capacity_ = mappedBytes_ = 0;
}

void ZeroedArray::zero(std::size_t n) {
    if (n <= capacity_) {
        if (n != 0) std::memset(values_, 0, n * sizeof(double));
        size_ = n;
        return;
    }
    release();
#if RAHMEN_HUGE_PAGES
    const std::size_t bytes = n * sizeof(double);
    // Aligned to a huge page, so that the whole band can be mapped by them.
    constexpr std::size_t kHugePage = std::size_t(2) << 20;
    const std::size_t whole = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    mappedBytes_ = whole + kHugePage;
    void* map =
        mmap(nullptr, mappedBytes_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (map == MAP_FAILED) throw std::bad_alloc();
    mapping_ = map;
    const auto start =
        (reinterpret_cast<std::uintptr_t>(map) + kHugePage - 1) & ~(std::uintptr_t(kHugePage) - 1);
    values_ = reinterpret_cast<double*>(start);
    madvise(values_, whole, MADV_HUGEPAGE);
#else
    mapping_ = std::calloc(n, sizeof(double));
    if (!mapping_) throw std::bad_alloc();
    values_ = static_cast<double*>(mapping_);
#endif
    size_ = capacity_ = n;
}

void BandMatrix::reset(int n, int hb) {
    n_ = std::max(n, 0);
    hb_ = std::max(hb, 1);
    const int block = std::min(kBlock, hb_);
    ld_ = hb_ + block - 1;
    data_.zero(static_cast<std::size_t>(ld_) * static_cast<std::size_t>(n_));
    const std::size_t panelRows = static_cast<std::size_t>(hb_) + kMR + kNR;
    packRows_.resize(panelRows * block);
    packCols_.resize(panelRows * block);
    diagonal_.resize(static_cast<std::size_t>(n_) + 1);
    lowest_.assign(static_cast<std::size_t>(n_) + 1, 0);
    envelope_.assign(static_cast<std::size_t>(n_) + 1, 0);
}

double BandMatrix::envelope() {
    double flops = 0;
    int last = 0;
    for (int c = 1; c <= n_; ++c) {
        last = std::max({last, lowest_[static_cast<std::size_t>(c)], c});
        envelope_[static_cast<std::size_t>(c)] = last;
        flops += double(last - c + 1) * double(last - c + 1);
    }
    return flops;
}

std::size_t BandMatrix::bytes() const {
    return (data_.capacity() + packRows_.capacity() + packCols_.capacity() + diagonal_.capacity()) *
               sizeof(double) +
           (lowest_.capacity() + envelope_.capacity()) * sizeof(int);
}

void BandMatrix::add(int i, int j, double v) {
    if (i < j) std::swap(i, j);
    at(i, j) += v;
}

int factorBandKernel(BandMatrix& bm) {
    const int n = bm.size();
    const int hb = bm.halfBand();
    const int ld = bm.leadingDimension();
    const int block = ld - hb + 1;
    const std::ptrdiff_t lda = ld - 1;
    double* a = bm.data();
    double* diag0 = bm.diagonal().data();
    double* packRows = bm.packRows().data();
    double* packCols = bm.packCols().data();

    for (int c = 0; c < n; ++c)
        diag0[c] = a[static_cast<std::ptrdiff_t>(c) * ld];
    bm.envelope();

    for (int j = 0; j < n; j += block) {
        const int kc = std::min(block, n - j);

        // Panel: the kc columns of the block, right-looking among themselves.
        for (int c = j; c < j + kc; ++c) {
            double* col = a + static_cast<std::ptrdiff_t>(c) * ld;
            const double s = col[0];
            if (!(s > kPivotTolerance * diag0[c])) return c + 1;
            const double d = std::sqrt(s);
            col[0] = d;
            const int len = bm.lastRow(c + 1) - c; // rows c .. c + len - 1, the envelope
            const double inv = 1.0 / d;
            for (int k = 1; k < len; ++k)
                col[k] *= inv;
            const int last = std::min(j + kc - 1, c + len - 1);
            for (int c2 = c + 1; c2 <= last; ++c2) {
                const double l = col[c2 - c];
                if (l == 0.0) continue;
                double* col2 = a + static_cast<std::ptrdiff_t>(c2) * ld;
                const double* src = col + (c2 - c);
                const int count = c + len - c2;
                for (int r = 0; r < count; ++r)
                    col2[r] -= l * src[r];
            }
        }

        // Trailing triangle below and right of the block, inside the envelope.
        const int t0 = j + kc;
        const int t1 = bm.lastRow(j + kc) - 1;
        if (t0 <= t1) symmetricUpdate(a, lda, t0, t1 - t0 + 1, j, kc, packRows, packCols);
    }
    return 0;
}

#if RAHMEN_HAVE_LAPACK
namespace {

// The band seen as a dense column-major matrix (leading dimension ld - 1),
// decomposed block by block of columns: LAPACK's Cholesky of the block's
// diagonal, the triangular solve of the rows below it inside the envelope,
// and the symmetric update of the trailing triangle by those rows. The
// padding rows give the solve and the update room for the whole block; what
// falls outside the band there is zero and stays so.
class BlockedBand {
public:
    // Keeps the diagonal for the pivot test and sets the envelope.
    explicit BlockedBand(BandMatrix& bm)
        : n(bm.size()), block(bm.leadingDimension() - bm.halfBand() + 1),
          ld_(bm.leadingDimension()), lda_(ld_ - 1), a_(bm.data()), diag0_(bm.diagonal().data()),
          bm_(bm) {
        for (int c = 0; c < n; ++c)
            diag0_[c] = a_[static_cast<std::ptrdiff_t>(c) * ld_];
        bm_.envelope();
    }

    const int n, block;

    // Columns of the block starting at j, and its rows below inside the
    // envelope: none of the rows further down has an entry in the block's
    // columns, in K or in L.
    int width(int j) const { return std::min(block, n - j); }
    int below(int j) const { return bm_.lastRow(j + width(j)) - (j + width(j)); }

    // Cholesky of block j's diagonal and the solve of its rows below; 0, or
    // the 1-based degree of freedom of the first pivot that is not positive
    // enough (LAPACK stops only at one that is not positive at all).
    int factorBlock(int j) const {
        const int kc = width(j);
        int info = 0;
        dpotrf_("L", &kc, at(j, j), &lda_, &info, 1);
        const int computed = info > 0 ? info - 1 : kc;
        for (int c = j; c < j + computed; ++c) {
            const double d = a_[static_cast<std::ptrdiff_t>(c) * ld_];
            if (!(d * d > kPivotTolerance * diag0_[c])) return c + 1;
        }
        if (info > 0) return j + info;
        const int m = below(j);
        const double one = 1.0;
        if (m > 0)
            dtrsm_("R", "L", "T", "N", &m, &kc, &one, at(j, j), &lda_, at(j + kc, j), &lda_, 1, 1,
                   1, 1);
        return 0;
    }

    // Columns c0 .. c1 - 1 of the trailing triangle of block j (0 at its
    // first row), rows from the column down to the triangle's last: the
    // diagonal part by a symmetric update, the part below by a product.
    void update(int j, int c0, int c1) const {
        if (c0 >= c1) return;
        const int kc = width(j), m = below(j), t0 = j + kc;
        const int w = c1 - c0, rest = m - c1;
        const double one = 1.0, minusOne = -1.0;
        dsyrk_("L", "N", &w, &kc, &minusOne, at(t0 + c0, j), &lda_, &one, at(t0 + c0, t0 + c0),
               &lda_, 1, 1);
        if (rest > 0)
            dgemm_("N", "T", &rest, &w, &kc, &minusOne, at(t0 + c1, j), &lda_, at(t0 + c0, j),
                   &lda_, &one, at(t0 + c1, t0 + c0), &lda_, 1, 1);
    }

private:
    double* at(int r, int c) const {
        return a_ + static_cast<std::ptrdiff_t>(c) * lda_ + static_cast<std::ptrdiff_t>(r);
    }

    const int ld_, lda_;
    double* const a_;
    double* const diag0_;
    BandMatrix& bm_;
};

// The blocks one after the other, each updating its whole trailing triangle.
int factorBandLapack(BandMatrix& bm) {
    const BlockedBand band(bm);
    for (int j = 0; j < band.n; j += band.block) {
        if (const int failed = band.factorBlock(j)) return failed;
        band.update(j, 0, band.below(j));
    }
    return 0;
}

// Two threads meeting after every block: spinning briefly (a block takes tens
// of microseconds), then giving the processor away, so that a machine busy
// with other work does not lose a time slice to the waiting thread.
class Meeting {
public:
    void meet() {
        const int round = round_.load(std::memory_order_relaxed);
        if (waiting_.fetch_add(1, std::memory_order_acq_rel) == 1) {
            waiting_.store(0, std::memory_order_relaxed);
            round_.store(round + 1, std::memory_order_release);
            return;
        }
        for (int spin = 0; round_.load(std::memory_order_acquire) == round; ++spin)
            if (spin > 4000) std::this_thread::yield();
#if defined(__x86_64__) || defined(__i386__)
            else
                __builtin_ia32_pause();
#endif
    }

private:
    std::atomic<int> waiting_{0};
    std::atomic<int> round_{0};
};

// The blocks of BlockedBand on two threads, with one block of look-ahead.
// Once block j is factored, its rows below update the trailing triangle T:
// the first thread updates the columns of block j + 1 and factors that block
// and takes the last columns of T as far as that balances the work; the
// second thread updates the rest of T. Both meet before block j + 1's rows
// update the next triangle. Each BLAS call runs on its own thread, so that
// OpenBLAS does not split the small calls of a band of a few hundred rows
// between the cores itself.
class TwoThreadBand {
public:
    explicit TwoThreadBand(BandMatrix& bm) : band_(bm), n_(band_.n), block_(band_.block) {}

    int run() {
        // The second thread starts while the first block is factored, and
        // meets the first thread when that is done.
        std::thread second([this] {
            meeting_.meet();
            if (failedAt_.load() > kBeforeTheFirstBlock) work(1);
        });
        if (const int failed = band_.factorBlock(0)) {
            failed_.store(failed);
            failedAt_.store(kBeforeTheFirstBlock);
        }
        meeting_.meet();
        if (failedAt_.load() > kBeforeTheFirstBlock) work(0);
        second.join();
        return failed_.load();
    }

private:
    void work(int thread) {
        for (int j = 0; j < n_; j += block_) {
            const int kc = std::min(block_, n_ - j), m = band_.below(j);
            const int next = j + kc;
            // The columns of block j + 1 inside the triangle, and where the
            // first thread's share of the rest begins.
            const int first = std::min(m, std::min(block_, n_ - next));
            const int split = balance(j, m, first);
            if (thread == 0) {
                band_.update(j, 0, first);
                if (next < n_)
                    if (const int f = band_.factorBlock(next)) {
                        failed_.store(f);
                        failedAt_.store(j);
                    }
                band_.update(j, split, m);
            } else {
                band_.update(j, first, split);
            }
            meeting_.meet();
            // Both stop after the meeting of the block whose successor
            // failed; a failure the first thread finds in the next block,
            // before the second has looked, is not this meeting's.
            if (failedAt_.load() <= j) return;
        }
    }

    // The column from which the first thread updates the rest of the
    // triangle: its block's update and factor plus that share weigh as much
    // as the second thread's columns. Counted in multiply-adds.
    int balance(int j, int m, int first) const {
        const int kc = std::min(block_, n_ - j);
        const int next = j + kc;
        const double kcn = std::min(block_, n_ - next);
        const double own =
            double(m) * first * kc +
            (next < n_ ? kcn * kcn * kcn / 3 + double(band_.below(next)) * kcn * kcn : 0);
        auto triangle = [&](double from) { return (m - from) * (m - from + 1) / 2 * kc; };
        const double rest = triangle(first);
        if (own >= rest) return m;
        // (m - split)² kc / 2 = (rest - own) / 2
        const double share = std::sqrt((rest - own) / kc);
        return std::max(first, m - int(share));
    }

    static constexpr int kBeforeTheFirstBlock = -1;
    const BlockedBand band_;
    const int n_, block_;
    std::atomic<int> failed_{0};
    std::atomic<int> failedAt_{std::numeric_limits<int>::max()}; // the block that found it
    Meeting meeting_;
};

// Below this many multiply-adds a second thread costs more than it saves.
constexpr double kTwoThreadFlops = 2e7;

bool twoThreads(const BandMatrix& bm) {
    const double hb = bm.halfBand();
    return bm.halfBand() > 2 * kBlock && double(bm.size()) * hb * hb > kTwoThreadFlops &&
           std::thread::hardware_concurrency() >= 2;
}

} // namespace
#endif

void stopBlasThreads() {
#if RAHMEN_HAVE_LAPACK
    if (blas_thread_shutdown_) blas_thread_shutdown_();
#endif
}

int factorBand(BandMatrix& bm) {
#if RAHMEN_HAVE_LAPACK
    // A diagonal matrix leaves no room for the dense view's leading dimension.
    if (bm.halfBand() < 2) return factorBandKernel(bm);
    if (!twoThreads(bm) || !openblas_set_num_threads) return factorBandLapack(bm);
    // One BLAS thread per caller while the two threads run, OpenBLAS's own
    // count again afterwards. Setting the count starts OpenBLAS's pool if it
    // was stopped; its idle thread then yields the other core to the second
    // thread at once. Measured on rahmen-batch's largest grid, 3 × 8 runs
    // each: 20 ms median with the pool so started, 25–35 ms median (the same
    // 20 ms best) with the pool left stopped, where the second thread's core
    // has been idle since the process started.
    const int threads = openblas_get_num_threads ? openblas_get_num_threads() : 1;
    openblas_set_num_threads(1);
    const int failed = TwoThreadBand(bm).run();
    openblas_set_num_threads(threads);
    return failed;
#else
    return factorBandKernel(bm);
#endif
}

void solveBand(const BandMatrix& bm, double* x) {
    const int n = bm.size();
    const int ld = bm.leadingDimension();
    const double* a = bm.data();
    double* y = x + 1; // 0-based view

    // Forward: L·y = rhs, column by column.
    for (int c = 0; c < n; ++c) {
        const double* col = a + static_cast<std::ptrdiff_t>(c) * ld;
        const double yc = y[c] / col[0];
        y[c] = yc;
        const int len = bm.lastRow(c + 1) - c;
        double* yr = y + c;
        for (int k = 1; k < len; ++k)
            yr[k] = mulAdd(-col[k], yc, yr[k]);
    }
    // Back: Lᵀ·x = y, one dot product per column.
    for (int c = n - 1; c >= 0; --c) {
        const double* col = a + static_cast<std::ptrdiff_t>(c) * ld;
        const int len = bm.lastRow(c + 1) - c;
        const double* xr = y + c;
        double t = 0.0;
        for (int k = 1; k < len; ++k)
            t = mulAdd(col[k], xr[k], t);
        y[c] = (y[c] - t) / col[0];
    }
}

namespace {

// W right-hand sides side by side (row c at y + c * stride), each solved
// exactly as solveBand solves one (the same products and sums in the same
// order); W a multiple of the vector width, so that the columns of one row
// go through the processor's vector registers together.
template <int W>
void solveColumns(const double* a, int n, const int* last, int ld, double* y,
                  std::ptrdiff_t stride) {
    static_assert(W % kW == 0, "whole vectors per row");
    constexpr int V = W / kW;
    for (int c = 0; c < n; ++c) {
        const double* col = a + static_cast<std::ptrdiff_t>(c) * ld;
        double* yc = y + c * stride;
        const Vec d = splat(col[0]);
        Vec v[V];
        for (int r = 0; r < V; ++r) {
            v[r] = load(yc + r * kW) / d;
            store(yc + r * kW, v[r]);
        }
        const int len = last[c + 1] - c;
        for (int k = 1; k < len; ++k) {
            double* yk = yc + k * stride;
            const Vec ck = splat(col[k]);
            for (int r = 0; r < V; ++r)
                store(yk + r * kW, mulAdd(-ck, v[r], load(yk + r * kW)));
        }
    }
    for (int c = n - 1; c >= 0; --c) {
        const double* col = a + static_cast<std::ptrdiff_t>(c) * ld;
        double* yc = y + c * stride;
        const int len = last[c + 1] - c;
        Vec t[V];
        for (int r = 0; r < V; ++r)
            t[r] = splat(0.0);
        for (int k = 1; k < len; ++k) {
            const double* yk = yc + k * stride;
            const Vec ck = splat(col[k]);
            for (int r = 0; r < V; ++r)
                t[r] = mulAdd(ck, load(yk + r * kW), t[r]);
        }
        const Vec d = splat(col[0]);
        for (int r = 0; r < V; ++r)
            store(yc + r * kW, (load(yc + r * kW) - t[r]) / d);
    }
}

// One right-hand side of several (row c at y + c * stride), as solveBand.
void solveColumn(const double* a, int n, const int* last, int ld, double* y,
                 std::ptrdiff_t stride) {
    for (int c = 0; c < n; ++c) {
        const double* col = a + static_cast<std::ptrdiff_t>(c) * ld;
        const double yc = y[c * stride] / col[0];
        y[c * stride] = yc;
        const int len = last[c + 1] - c;
        for (int k = 1; k < len; ++k)
            y[(c + k) * stride] = mulAdd(-col[k], yc, y[(c + k) * stride]);
    }
    for (int c = n - 1; c >= 0; --c) {
        const double* col = a + static_cast<std::ptrdiff_t>(c) * ld;
        const int len = last[c + 1] - c;
        double t = 0.0;
        for (int k = 1; k < len; ++k)
            t = mulAdd(col[k], y[(c + k) * stride], t);
        y[c * stride] = (y[c * stride] - t) / col[0];
    }
}

} // namespace

void solveBand(const BandMatrix& bm, double* x, int count) {
    const int n = bm.size();
    const int* last = bm.lastRows();
    const int ld = bm.leadingDimension();
    double* y = x + count; // row c (0-based) at y + c * count
    int r = 0;
    for (; count - r >= 2 * kW; r += 2 * kW)
        solveColumns<2 * kW>(bm.data(), n, last, ld, y + r, count);
    for (; count - r >= kW; r += kW)
        solveColumns<kW>(bm.data(), n, last, ld, y + r, count);
    for (; r < count; ++r)
        solveColumn(bm.data(), n, last, ld, y + r, count);
}

int factorPlain(PlainBand& p) {
    const int n = p.n;
    const int hb = p.hb;
    if (n == 0) return 0;
    std::vector<double> diag0(static_cast<std::size_t>(n) + 1);
    for (int c = 1; c <= n; ++c)
        diag0[c] = p.B(1, c);

    if (!(p.B(1, 1) > kPivotTolerance * diag0[1])) return 1;
    p.B(1, 1) = std::sqrt(p.B(1, 1));
    for (int r = 2; r <= hb; ++r)
        p.B(r, 1) = p.B(r, 1) / p.B(1, 1);
    for (int c = 2; c <= n; ++c) {
        double s = p.B(1, c);
        for (int k = std::max(c - hb + 1, 1); k <= c - 1; ++k)
            s -= p.B(c - k + 1, k) * p.B(c - k + 1, k);
        if (!(s > kPivotTolerance * diag0[c])) return c;
        p.B(1, c) = std::sqrt(s);
        if (c == n) break;
        for (int r = c + 1; r <= std::min(c + hb - 1, n); ++r) {
            double t = 0.0;
            for (int k = std::max(r - hb + 1, 1); k <= c - 1; ++k)
                t += p.B(r - k + 1, k) * p.B(c - k + 1, k);
            p.B(r - c + 1, c) = (p.B(r - c + 1, c) - t) / p.B(1, c);
        }
    }
    return 0;
}

void solvePlain(const PlainBand& p, std::vector<double>& x) {
    const int n = p.n;
    const int hb = p.hb;
    if (n == 0) return;
    x[1] = x[1] / p.B(1, 1);
    for (int c = 2; c <= n; ++c) {
        double s = x[c];
        for (int k = std::max(c - hb + 1, 1); k <= c - 1; ++k)
            s -= p.B(c - k + 1, k) * x[k];
        x[c] = s / p.B(1, c);
    }
    x[n] = x[n] / p.B(1, n);
    for (int c = n - 1; c >= 1; --c) {
        double s = x[c];
        for (int r = c + 1; r <= std::min(c + hb - 1, n); ++r)
            s -= p.B(r - c + 1, c) * x[r];
        x[c] = s / p.B(1, c);
    }
}

} // namespace rahmen
