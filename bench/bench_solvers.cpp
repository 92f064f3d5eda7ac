// The band decomposition against CHOLMOD's sparse supernodal one on regular
// grids, also past the size the program's tables allow: the solver layer
// alone, on a matrix of the grid's pattern assembled in memory.
//
//   bench_solvers [runs] [bays-x bays-y storeys]...     default 3, the sizes below
//
// Each member adds a 12 × 12 block [A −A; −A A] (A a fixed positive definite
// 6 × 6 block) between its nodes' degrees of freedom, the ground nodes are
// held (unit diagonal), as the analysis assembles a frame. The cost of either
// decomposition depends only on the pattern. The nodes are numbered by
// reverse Cuthill–McKee from a corner, as the analysis numbers a grid; the
// sparse path orders the node graph as the analysis does. Printed per size:
// degrees of freedom, both flop counts (the band's inside the envelope it
// decomposes), best wall times, the rates, the
// cost model's estimates and its choice, and which path was faster.

#include "analysis/BandMatrix.h"
#include "analysis/SparseCholesky.h"
#include "analysis/ana.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <queue>
#include <vector>

using namespace rahmen;

namespace {

using Timer = std::chrono::steady_clock;

double since(Timer::time_point t) {
    return std::chrono::duration<double>(Timer::now() - t).count();
}

struct Grid {
    int nodes = 0;
    std::vector<std::pair<int, int>> members; // node positions after numbering
    std::vector<char> held;
    int spread = 0; // largest position difference of a member
};

Grid makeGrid(int nx, int ny, int nz) {
    Grid g;
    auto id = [&](int i, int j, int k) { return (k * (ny + 1) + j) * (nx + 1) + i; };
    g.nodes = (nx + 1) * (ny + 1) * (nz + 1);
    std::vector<std::pair<int, int>> raw;
    for (int k = 1; k <= nz; ++k)
        for (int j = 0; j <= ny; ++j)
            for (int i = 0; i <= nx; ++i) {
                raw.push_back({id(i, j, k - 1), id(i, j, k)});
                if (i < nx) raw.push_back({id(i, j, k), id(i + 1, j, k)});
                if (j < ny) raw.push_back({id(i, j, k), id(i, j + 1, k)});
            }
    // Reverse Cuthill–McKee from the top corner.
    std::vector<std::vector<int>> adj(static_cast<std::size_t>(g.nodes));
    for (auto [a, b] : raw) {
        adj[a].push_back(b);
        adj[b].push_back(a);
    }
    std::vector<int> order, pos(static_cast<std::size_t>(g.nodes), -1);
    std::queue<int> q;
    q.push(id(nx, ny, nz));
    pos[id(nx, ny, nz)] = 0;
    while (!q.empty()) {
        const int v = q.front();
        q.pop();
        order.push_back(v);
        std::vector<int> next;
        for (int w : adj[v])
            if (pos[w] < 0) next.push_back(w);
        std::sort(next.begin(), next.end(),
                  [&](int a, int b) { return adj[a].size() < adj[b].size(); });
        for (int w : next) {
            pos[w] = 0;
            q.push(w);
        }
    }
    for (int p = 0; p < g.nodes; ++p)
        pos[order[p]] = g.nodes - 1 - p;
    g.held.assign(static_cast<std::size_t>(g.nodes), 0);
    for (int j = 0; j <= ny; ++j)
        for (int i = 0; i <= nx; ++i)
            g.held[pos[id(i, j, 0)]] = 1;
    for (auto [a, b] : raw) {
        g.members.push_back({pos[a], pos[b]});
        g.spread = std::max(g.spread, std::abs(pos[a] - pos[b]));
    }
    return g;
}

// A fixed positive definite 6 × 6 block of member-like magnitudes.
double block(int a, int b) {
    static const double d[6] = {2e3, 1e2, 1e2, 5e5, 8e6, 8e6};
    return a == b ? d[a] : 0.1 * std::sqrt(d[a] * d[b]) / (1 + std::abs(a - b));
}

template <class Matrix> void assemble(const Grid& g, Matrix& m) {
    for (auto [p, q] : g.members) {
        if (g.held[p] || g.held[q]) continue;
        const int ends[2] = {p, q};
        for (int e = 0; e < 2; ++e)
            for (int f = 0; f <= e; ++f)
                for (int a = 0; a < 6; ++a)
                    for (int b = 0; b < 6; ++b) {
                        const int i = 6 * ends[e] + a + 1, j = 6 * ends[f] + b + 1;
                        if (e == f && j > i) continue;
                        m.add(i, j, (e == f ? 1 : -1) * block(a, b));
                    }
    }
    for (int p = 0; p < g.nodes; ++p)
        for (int a = 0; a < 6; ++a)
            m.add(6 * p + a + 1, 6 * p + a + 1, g.held[p] ? 1.0 : 1e-3 * block(a, a));
}

} // namespace

int main(int argc, char** argv) {
    int runs = argc > 1 ? std::atoi(argv[1]) : 3;
    std::vector<std::array<int, 3>> sizes;
    for (int a = 2; a + 2 < argc; a += 3)
        sizes.push_back({std::atoi(argv[a]), std::atoi(argv[a + 1]), std::atoi(argv[a + 2])});
    if (sizes.empty()) sizes = {{6, 6, 5}, {10, 10, 8}, {12, 12, 10}, {15, 15, 10}, {20, 20, 10}};
    if (!SparseCholesky::available()) {
        std::printf("built without CHOLMOD\n");
        return 1;
    }
    std::printf("%-10s %6s %4s | %9s %8s %6s | %9s %9s %8s %8s %6s | %8s %8s %6s %6s\n", "grid",
                "dofs", "hb", "band fl", "band s", "GF/s", "sparse fl", "L entries", "order s",
                "factor s", "GF/s", "est band", "est sp", "choice", "faster");
    for (auto [nx, ny, nz] : sizes) {
        const Grid g = makeGrid(nx, ny, nz);
        const int n = 6 * g.nodes, hb = 6 * (g.spread + 1);
        double bandFl = double(n) * hb * hb; // the envelope's, once assembled
        std::vector<std::vector<int>> neighbours(static_cast<std::size_t>(g.nodes));
        double entries = 0;
        for (auto [p, q] : g.members)
            if (!g.held[p] && !g.held[q]) neighbours[std::min(p, q)].push_back(std::max(p, q));
        for (auto& l : neighbours) {
            std::sort(l.begin(), l.end());
            entries += 21 + 36 * double(l.size());
        }

        // The band, unless it would not fit in memory a shared machine has.
        double bandBest = 1e30;
        const double bandBytes = double(n) * (hb + 32) * 8;
        if (bandBytes < 1.5e9) {
            BandMatrix band;
            for (int r = 0; r < runs; ++r) {
                band.reset(n, hb);
                assemble(g, band);
                bandFl = band.envelope();
                const auto t = Timer::now();
                if (factorBand(band) != 0) std::printf("band: lost pivot\n");
                bandBest = std::min(bandBest, since(t));
            }
        }
        double orderBest = 1e30, factorBest = 1e30, sparseFl = 0, factorFl = 0, lEntries = 0;
        for (int r = 0; r < runs; ++r) {
            SparseCholesky chol;
            SparseStiffness k;
            auto t = Timer::now();
            sparseFl = chol.orderNodes(g.nodes, neighbours, g.held);
            k.setPattern(g.nodes, neighbours, g.held);
            assemble(g, k);
            factorFl = chol.analyse(k);
            orderBest = std::min(orderBest, since(t));
            t = Timer::now();
            if (chol.factor(k) != 0) std::printf("sparse: lost pivot\n");
            factorBest = std::min(factorBest, since(t));
            lEntries = chol.factorEntries();
        }
        const double estBand = bandSeconds(bandFl, hb, n);
        const double estSparse = sparseSeconds(sparseFl, entries);
        const bool chooseSparse = estBand >= kSparseWorthSeconds && estSparse < estBand;
        const double sparseTotal = orderBest + factorBest;
        char name[32];
        std::snprintf(name, sizeof name, "%dx%dx%d", nx, ny, nz);
        char bandTime[16] = "-", bandRate[16] = "-";
        if (bandBest < 1e30) {
            std::snprintf(bandTime, sizeof bandTime, "%.4f", bandBest);
            std::snprintf(bandRate, sizeof bandRate, "%.1f", bandFl / bandBest * 1e-9);
        }
        std::printf("%-10s %6d %4d | %9.3g %8s %6s | %9.3g %9.3g %8.4f %8.4f %6.1f | %8.4f %8.4f "
                    "%6s %6s\n",
                    name, n, hb, bandFl, bandTime, bandRate, factorFl, lEntries, orderBest,
                    factorBest, factorFl / factorBest * 1e-9, estBand, estSparse,
                    chooseSparse ? "sparse" : "band",
                    bandBest < 1e30 ? (sparseTotal < bandBest ? "sparse" : "band") : "?");
        if (std::abs(sparseFl - factorFl) > 1e-9 * factorFl)
            std::printf("  node-order estimate %.6g differs from CHOLMOD's count\n", sparseFl);
    }
    return 0;
}
