#include "analysis/SparseCholesky.h"

#include "analysis/BandMatrix.h"

#include <algorithm>
#include <cstring>

#if RAHMEN_HAVE_CHOLMOD
#include <cholmod.h>
#endif

namespace rahmen {

void SparseStiffness::setPattern(int nodes, const std::vector<std::vector<int>>& neighbours,
                                 const std::vector<char>& held) {
    n = 6 * nodes;
    start.assign(static_cast<std::size_t>(n) + 1, 0);
    row.clear();
    for (int p = 0; p < nodes; ++p)
        for (int k = 0; k < 6; ++k) {
            const int c = 6 * p + k;
            start[static_cast<std::size_t>(c)] = static_cast<long>(row.size());
            if (held[static_cast<std::size_t>(p)]) {
                row.push_back(c);
                continue;
            }
            for (int l = k; l < 6; ++l)
                row.push_back(6 * p + l);
            for (int q : neighbours[static_cast<std::size_t>(p)])
                for (int l = 0; l < 6; ++l)
                    row.push_back(6 * q + l);
        }
    start[static_cast<std::size_t>(n)] = static_cast<long>(row.size());
    value.assign(row.size(), 0.0);
}

double& SparseStiffness::at(int i, int j) {
    if (i < j) std::swap(i, j);
    const long* first = row.data() + start[static_cast<std::size_t>(j - 1)];
    const long* last = row.data() + start[static_cast<std::size_t>(j)];
    const long* hit = std::lower_bound(first, last, long(i - 1));
    return value[static_cast<std::size_t>(hit - row.data())];
}

std::size_t SparseStiffness::bytes() const {
    return start.capacity() * sizeof(long) + row.capacity() * sizeof(long) +
           value.capacity() * sizeof(double);
}

#if RAHMEN_HAVE_CHOLMOD

namespace {

// A cholmod_sparse view of a lower triangle held elsewhere (no copy).
cholmod_sparse lowerView(long n, const long* start, const long* row, const double* value) {
    cholmod_sparse a{};
    a.nrow = static_cast<std::size_t>(n);
    a.ncol = static_cast<std::size_t>(n);
    a.nzmax = static_cast<std::size_t>(start[n]);
    a.p = const_cast<long*>(start);
    a.i = const_cast<long*>(row);
    a.x = const_cast<double*>(value);
    a.stype = -1;
    a.itype = CHOLMOD_LONG;
    a.xtype = value ? CHOLMOD_REAL : CHOLMOD_PATTERN;
    a.dtype = CHOLMOD_DOUBLE;
    a.sorted = 1;
    a.packed = 1;
    return a;
}

} // namespace

struct SparseCholesky::Impl {
    Impl() {
        cholmod_l_start(&common);
        common.print = 0;
        common.error_handler = nullptr;
    }
    ~Impl() {
        if (factor) cholmod_l_free_factor(&factor, &common);
        cholmod_l_finish(&common);
    }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    cholmod_common common{};
    cholmod_factor* factor = nullptr;
    std::vector<long> nodePerm; // elimination order of the nodes
    std::vector<long> dofPerm;
    std::vector<double> diagonal; // K's diagonal in elimination order
};

SparseCholesky::SparseCholesky() : impl_(std::make_unique<Impl>()) {}
SparseCholesky::~SparseCholesky() = default;
SparseCholesky::SparseCholesky(SparseCholesky&&) noexcept = default;
SparseCholesky& SparseCholesky::operator=(SparseCholesky&&) noexcept = default;

bool SparseCholesky::available() {
    return true;
}

double SparseCholesky::orderNodes(int nodes, const std::vector<std::vector<int>>& neighbours,
                                  const std::vector<char>& held) {
    std::vector<long> start(static_cast<std::size_t>(nodes) + 1, 0), row;
    for (int p = 0; p < nodes; ++p) {
        start[static_cast<std::size_t>(p)] = static_cast<long>(row.size());
        row.push_back(p);
        if (!held[static_cast<std::size_t>(p)])
            for (int q : neighbours[static_cast<std::size_t>(p)])
                row.push_back(q);
    }
    start[static_cast<std::size_t>(nodes)] = static_cast<long>(row.size());
    cholmod_sparse graph = lowerView(nodes, start.data(), row.data(), nullptr);

    cholmod_common& c = impl_->common;
    // CHOLMOD keeps the order with the fewest entries. Its own nested
    // dissection (METIS's bisections, the separators ordered by constrained
    // minimum degree) gave the sparsest factor on every grid measured, from
    // 10 × 10 × 8 bays (3.29e8 flops against plain METIS's 3.36e8) to
    // 20 × 20 × 20 (3.45e10 against 5.28e10, minimum degree's 8e10), so plain
    // METIS, which took a third of the ordering's time, is not tried.
    // Minimum degree stays for small and irregular frames, where it is cheap.
    c.nmethods = 2;
    c.method[0].ordering = CHOLMOD_AMD;
    c.method[1].ordering = CHOLMOD_NESDIS;
    c.postorder = 1;
    c.supernodal = CHOLMOD_SIMPLICIAL;
    cholmod_factor* symbolic = cholmod_l_analyze(&graph, &c);
    if (!symbolic) return 0;
    const long* perm = static_cast<const long*>(symbolic->Perm);
    const long* count = static_cast<const long*>(symbolic->ColCount);
    impl_->nodePerm.assign(perm, perm + nodes);
    // A free node's column of c nodes becomes six columns of 6c, 6c − 1, …,
    // 6c − 5 entries; a held node's six columns hold their diagonal only.
    double flops = 0;
    for (int j = 0; j < nodes; ++j) {
        if (held[static_cast<std::size_t>(perm[j])]) {
            flops += 6;
            continue;
        }
        const double cc = double(count[j]);
        flops += 216 * cc * cc - 180 * cc + 55;
    }
    cholmod_l_free_factor(&symbolic, &c);
    return flops;
}

double SparseCholesky::analyse(const SparseStiffness& k) {
    Impl& m = *impl_;
    cholmod_common& c = m.common;
    if (m.factor) cholmod_l_free_factor(&m.factor, &c);
    m.dofPerm.resize(static_cast<std::size_t>(k.n));
    for (std::size_t j = 0; j < m.nodePerm.size(); ++j)
        for (int d = 0; d < 6; ++d)
            m.dofPerm[6 * j + d] = 6 * m.nodePerm[j] + d;
    cholmod_sparse a = lowerView(k.n, k.start.data(), k.row.data(), nullptr);
    c.nmethods = 1;
    c.method[0].ordering = CHOLMOD_GIVEN;
    c.postorder = 1;
    c.supernodal = CHOLMOD_SUPERNODAL;
    m.factor = cholmod_l_analyze_p(&a, m.dofPerm.data(), nullptr, 0, &c);
    return m.factor ? c.fl : 0;
}

int SparseCholesky::factor(const SparseStiffness& k) {
    Impl& m = *impl_;
    cholmod_common& c = m.common;
    cholmod_sparse a = lowerView(k.n, k.start.data(), k.row.data(), k.value.data());
    const long* perm = static_cast<const long*>(m.factor->Perm);
    m.diagonal.resize(static_cast<std::size_t>(k.n));
    for (int j = 0; j < k.n; ++j) // the diagonal leads each column
        m.diagonal[static_cast<std::size_t>(j)] =
            k.value[static_cast<std::size_t>(k.start[static_cast<std::size_t>(perm[j])])];
    cholmod_l_factorize(&a, m.factor, &c);
    const long stopped = c.status == CHOLMOD_NOT_POSDEF ? long(m.factor->minor) : long(k.n);

    // The band's pivot test on every column factored, in elimination order.
    const cholmod_factor& f = *m.factor;
    const long* super = static_cast<const long*>(f.super);
    const long* pi = static_cast<const long*>(f.pi);
    const long* px = static_cast<const long*>(f.px);
    const double* x = static_cast<const double*>(f.x);
    for (std::size_t s = 0; s < f.nsuper; ++s) {
        const long rows = pi[s + 1] - pi[s];
        for (long j = super[s]; j < super[s + 1] && j < stopped; ++j) {
            const long jj = j - super[s];
            const double d = x[px[s] + jj * rows + jj];
            if (!(d * d > kPivotTolerance * m.diagonal[static_cast<std::size_t>(j)]))
                return int(perm[j]) + 1;
        }
    }
    return stopped < k.n ? int(perm[stopped]) + 1 : 0;
}

void SparseCholesky::solve(double* x, int count) const {
    Impl& m = *impl_;
    const long n = long(m.factor->n);
    cholmod_dense* b = cholmod_l_allocate_dense(std::size_t(n), std::size_t(count), std::size_t(n),
                                                CHOLMOD_REAL, &m.common);
    double* bx = static_cast<double*>(b->x);
    for (long i = 0; i < n; ++i)
        for (int r = 0; r < count; ++r)
            bx[r * n + i] = x[(i + 1) * count + r];
    cholmod_dense* solution = cholmod_l_solve(CHOLMOD_A, m.factor, b, &m.common);
    const double* sx = static_cast<const double*>(solution->x);
    for (long i = 0; i < n; ++i)
        for (int r = 0; r < count; ++r)
            x[(i + 1) * count + r] = sx[r * n + i];
    cholmod_l_free_dense(&solution, &m.common);
    cholmod_l_free_dense(&b, &m.common);
}

double SparseCholesky::factorEntries() const {
    return impl_->factor ? double(impl_->factor->xsize) : 0;
}

std::size_t SparseCholesky::bytes() const {
    const cholmod_factor* f = impl_->factor;
    if (!f) return 0;
    return f->xsize * sizeof(double) + (f->ssize + 2 * f->n) * sizeof(long);
}

#else

struct SparseCholesky::Impl {};

SparseCholesky::SparseCholesky() = default;
SparseCholesky::~SparseCholesky() = default;
SparseCholesky::SparseCholesky(SparseCholesky&&) noexcept = default;
SparseCholesky& SparseCholesky::operator=(SparseCholesky&&) noexcept = default;

bool SparseCholesky::available() {
    return false;
}
double SparseCholesky::orderNodes(int, const std::vector<std::vector<int>>&,
                                  const std::vector<char>&) {
    return 0;
}
double SparseCholesky::analyse(const SparseStiffness&) {
    return 0;
}
int SparseCholesky::factor(const SparseStiffness&) {
    return 1;
}
void SparseCholesky::solve(double*, int) const {}
double SparseCholesky::factorEntries() const {
    return 0;
}
std::size_t SparseCholesky::bytes() const {
    return 0;
}

#endif

} // namespace rahmen
