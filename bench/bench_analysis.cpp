// Times the analysis of a regular grid frame, phase by phase, with its nodes
// numbered floor by floor and with the same nodes numbered at random; then
// how the analysis scales on grids past the program's tables, with the band
// and with the sparse solver.
//
//   bench_analysis [bays-x bays-y storeys [runs [seed]]] [--sizes LIST]
//                  [--scaling-runs R] [--no-scaling | --scaling-only]
//
// defaults 10 10 8 9 17, --sizes 5,6,8,10,12,14,16,18,20, --scaling-runs 2.
// LIST: sizes n (n × n × n bays) or AxBxC (A × B bays, C storeys), comma-separated.
//
// The frame is the grid that `rahmen-batch --generate-grid` writes: bays of
// 600 cm both ways, storeys of 350 cm, fixed supports on the ground, a
// horizontal load at every floor node and a uniform load on every beam. The
// analysis chooses its own node order, so both numberings should cost the same
// and give the same results; the benchmark shows both and how far the results
// differ. Wall times are medians and bests of the runs; on a machine shared
// with other work the CPU time of the decomposition (all threads) says more.

#include "analysis/BandMatrix.h"
#include "analysis/FrameView.h"
#include "analysis/ana.h"
#include "batch/GridFrame.h"
#include "model/Model.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace rahmen;

namespace {

long peakKilobytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double best(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

// Multiply-adds of the banded Cholesky decomposition counted twice: about
// N · (hb − 1)², the basis of the rate shown.
double decompositionFlops(int n, int hb) {
    return double(n) * double(hb - 1) * double(hb - 1);
}

struct Timing {
    AnalysisOutcome out;
    std::vector<std::vector<double>> phases = std::vector<std::vector<double>>(9);
};

// Adds `runs` analyses of `model` to t.
void timeAnalyses(Model& model, int runs, Timing& t) {
    SilentProgress progress;
    thread_local AnalysisWork work;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        t.out = runAnalysis(model, progress, work);
        const double whole =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!t.out.ok) {
            std::fprintf(stderr, "analysis failed: %s\n", t.out.message.c_str());
            std::exit(1);
        }
        const AnalysisTimes& p = t.out.times;
        const double phases[] = {p.equivalentLoads, p.bandWidth,     p.assembly,
                                 p.supports,        p.decomposition, p.substitution,
                                 p.endForces,       whole,           p.decompositionCpu};
        for (int i = 0; i < 9; ++i)
            t.phases[i].push_back(phases[i]);
    }
}

void report(const char* title, const Model& model, const Timing& t) {
    static const char* const names[] = {"equivalent loads", "band width",     "assembly",
                                        "supports",         "decomposition",  "substitution",
                                        "end forces",       "whole analysis", "decomp. CPU"};
    const int N = 6 * model.NodeCount;
    const int hb = t.out.factorisedHalfBandWidth;
    std::printf("%s: half band of the numbering %d, decomposed %d\n", title, t.out.halfBandWidth,
                hb);
    for (int i = 0; i < 9; ++i)
        std::printf("  %-17s %9.2f %9.2f\n", names[i], 1e3 * median(t.phases[i]),
                    1e3 * best(t.phases[i]));
    // The flops of the decomposition that ran: the band's inside its
    // envelope, or the sparse factor's.
    const double flops = t.out.sparse ? t.out.factorFlops : t.out.bandFlops;
    std::printf("  decomposition rate: %.1f GFLOP/s (median), %.1f GFLOP/s (best), %.1f GFLOP/s "
                "per CPU second; %.3g flop (band's N·hb² %.3g)\n",
                flops / median(t.phases[4]) / 1e9, flops / best(t.phases[4]) / 1e9,
                flops / median(t.phases[8]) / 1e9, flops, decompositionFlops(N, hb));
}

// Largest difference relative to the largest magnitude.
struct Spread {
    double diff = 0, scale = 0;
    void add(double a, double b) {
        diff = std::max(diff, std::abs(a - b));
        scale = std::max(scale, std::abs(b));
    }
    double relative() const { return scale > 0 ? diff / scale : diff; }
};

// Times the two decompositions on one diagonally dominant band of the size given.
void compareKernels(int n, int hb) {
    BandMatrix b;
    auto fill = [&] {
        b.reset(n, hb);
        for (int c = 1; c <= n; ++c) {
            for (int r = c + 1; r <= std::min(n, c + hb - 1); ++r)
                b.at(r, c) = 1.0 / (1 + r - c);
            b.at(c, c) = 2.0 * hb;
        }
    };
    for (int kernel = 0; kernel < 2; ++kernel) {
        std::vector<double> t;
        for (int run = 0; run < 3; ++run) {
            fill();
            const auto start = std::chrono::steady_clock::now();
            const int failed = kernel == 0 ? factorBand(b) : factorBandKernel(b);
            t.push_back(
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
            if (failed != 0) std::fprintf(stderr, "decomposition failed at %d\n", failed);
        }
        std::printf("  %-17s %9.2f %9.2f  (%.1f GFLOP/s best)\n",
                    kernel == 0 ? "factorBand" : "own kernel", 1e3 * median(t), 1e3 * best(t),
                    decompositionFlops(n, hb) / best(t) / 1e9);
    }
}

// The two numberings of one grid within the tables, phase by phase.
void largestGrid(int bx, int by, int storeys, int runs, unsigned seed) {
    if (gridNodeCount(bx, by, storeys) > kMaxNodes ||
        gridMemberCount(bx, by, storeys) > kMaxMembers) {
        std::fprintf(stderr, "too many nodes or members for the program's tables\n");
        std::exit(1);
    }

    auto natural = gridFrame(bx, by, storeys);
    auto shuffled = gridFrame(bx, by, storeys, seed);
    const int N = 6 * natural->NodeCount;
    std::printf("grid %d x %d bays, %d storeys: %d nodes, %d members, N = %d; %d runs, median "
                "and best (ms)\n",
                bx, by, storeys, natural->NodeCount, natural->MemberCount, N, runs);

    // The two numberings take turns, so that both see the same load of the machine.
    Timing a, b;
    for (int run = 0; run < runs; ++run) {
        timeAnalyses(*natural, 1, a);
        timeAnalyses(*shuffled, 1, b);
    }
    report("natural numbering", *natural, a);
    report("shuffled numbering", *shuffled, b);

    // The same frame: node n of the natural numbering is node number[n] of the
    // shuffled one; members keep their numbers and directions.
    const std::vector<int> number = shuffledNodeNumbers(natural->NodeCount, seed);
    Spread disp, forces, reactions;
    for (int n = 1; n <= natural->NodeCount; ++n)
        for (int k = 1; k <= 6; ++k) {
            const int d = 6 * (n - 1) + k, e = 6 * (number[n] - 1) + k;
            disp.add(shuffled->NodeDisplacement[e], natural->NodeDisplacement[d]);
            reactions.add(b.out.Reaction[e], a.out.Reaction[d]);
        }
    for (int m = 1; m <= natural->MemberCount; ++m)
        for (int k = 1; k <= 9; ++k)
            forces.add(shuffled->MemberEndForce[m][k], natural->MemberEndForce[m][k]);
    std::printf("shuffled / natural: whole analysis %.2f (median), decomposition CPU %.2f; "
                "results differ by %.1e (displacements), %.1e (end forces), %.1e (reactions) "
                "of the largest\n",
                median(b.phases[7]) / median(a.phases[7]),
                median(b.phases[8]) / median(a.phases[8]), disp.relative(), forces.relative(),
                reactions.relative());

    std::printf("decomposition of a band %d x %d alone:\n", a.out.factorisedHalfBandWidth, N);
    compareKernels(N, a.out.factorisedHalfBandWidth);
    std::printf("band matrix and work arrays: %.1f MB; peak memory of the process: %.1f MB\n",
                a.out.workBytes / 1048576.0, peakKilobytes() / 1024.0);
    std::printf("check: roof node %d dX = %.6g cm\n", natural->NodeCount,
                natural->NodeDisplacement[6 * (natural->NodeCount - 1) + 1]);
}

// ---- scaling past the tables

// Resets the process's peak resident memory (VmHWM) to its present size, so
// that the next reading is the peak of what runs in between.
void resetPeakMemory() {
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}

struct Bays {
    int x, y, z;
};

struct SolverRun {
    bool ran = false;
    double whole = 0, decomposition = 0; // best of the runs, s
    double peakMb = 0;                   // largest VmHWM after a run
    AnalysisOutcome out;
};

// Analyses the tables `runs` times with the solver given, each run in a work
// of its own released afterwards. Peak memory is the process's high-water
// mark during a run: everything resident, i.e. the program, the frame's
// tables and the analysis's own matrices and work arrays.
SolverRun timeSolver(FrameTables& tables, Solver solver, int runs) {
    SolverRun r;
    SilentProgress progress;
    for (int run = 0; run < runs; ++run) {
        resetPeakMemory();
        {
            AnalysisWork work;
            work.solver = solver;
            const auto start = std::chrono::steady_clock::now();
            AnalysisOutcome out = runAnalysis(tables.view(), progress, work);
            const double whole =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            if (!out.ok) {
                std::fprintf(stderr, "analysis failed: %s\n", out.message.c_str());
                std::exit(1);
            }
            if (!r.ran || out.times.decomposition < r.decomposition)
                r.decomposition = out.times.decomposition;
            if (!r.ran || whole < r.whole) {
                r.whole = whole;
                r.out = std::move(out); // the best run's
            }
            r.ran = true;
        }
        r.peakMb = std::max(r.peakMb, peakKilobytes() / 1024.0);
    }
    return r;
}

// Least-squares slope of log(time) against log(dofs).
double growthExponent(const std::vector<std::array<double, 2>>& points) {
    const double n = double(points.size());
    if (points.size() < 2) return 0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const auto& p : points) {
        const double x = std::log(p[0]), y = std::log(p[1]);
        sx += x, sy += y, sxx += x * x, sxy += x * y;
    }
    return (n * sxy - sx * sy) / (n * sxx - sx * sx);
}

// The band is left out where its matrix would exceed this.
constexpr double kLargestBandBytes = 3e9;

void scaling(const std::vector<Bays>& sizes, int runs) {
    std::printf("\nscaling: grids generated into FrameTables, best of %d runs (ms), peak "
                "resident memory of the process (MB)\n",
                runs);
    std::printf("%-10s %6s %7s %6s %-6s %9s %9s %9s %9s %7s %9s %9s %7s %8s\n", "bays", "nodes",
                "members", "dofs", "auto", "band flop", "fact flop", "band", "band dec", "band MB",
                "sparse", "sp. dec", "sp. MB", "max diff");
    std::vector<std::array<double, 2>> band, sparse, automatic;
    double largestDiff = 0;
    for (const Bays& b : sizes) {
        FrameTables tables;
        gridFrameTables(tables, b.x, b.y, b.z);
        const int N = 6 * tables.NodeCount;

        // Automatic's choice, and the band's size, from one analysis.
        const SolverRun chosen = timeSolver(tables, Solver::Automatic, 1);
        const double bandBytes = 8.0 * N * chosen.out.factorisedHalfBandWidth;
        const SolverRun s = timeSolver(tables, Solver::Sparse, runs);
        const std::vector<double> xs(tables.NodeDisplacement);
        SolverRun d;
        double diff = 0, scale = 0;
        if (bandBytes <= kLargestBandBytes) {
            d = timeSolver(tables, Solver::Band, runs);
            for (int k = 1; k <= N; ++k) {
                diff = std::max(diff, std::abs(tables.NodeDisplacement[k] - xs[k]));
                scale = std::max(scale, std::abs(xs[k]));
            }
        }
        const double relative = scale > 0 ? diff / scale : 0;
        largestDiff = std::max(largestDiff, relative);

        char name[32];
        std::snprintf(name, sizeof name, "%dx%dx%d", b.x, b.y, b.z);
        std::printf("%-10s %6d %7d %6d %-6s %9.3g %9.3g ", name, tables.NodeCount,
                    tables.MemberCount, N, chosen.out.sparse ? "sparse" : "band", s.out.bandFlops,
                    s.out.factorFlops);
        if (d.ran)
            std::printf("%9.1f %9.1f %7.0f ", 1e3 * d.whole, 1e3 * d.decomposition, d.peakMb);
        else
            std::printf("%9s %9s %7s ", "-", "-", "-");
        std::printf("%9.1f %9.1f %7.0f ", 1e3 * s.whole, 1e3 * s.decomposition, s.peakMb);
        if (d.ran)
            std::printf("%8.1e\n", relative);
        else
            std::printf("%8s\n", "-");
        std::fflush(stdout);

        if (&b == &sizes.back()) {
            const SolverRun& a = chosen.out.sparse ? s : d;
            const AnalysisTimes& t = a.out.times;
            std::printf("  %s, the automatic choice (ms): numbering %.1f, assembly %.1f, "
                        "decomposition %.1f, substitution %.1f, end forces %.1f, the rest %.1f\n",
                        name, 1e3 * t.bandWidth, 1e3 * t.assembly, 1e3 * t.decomposition,
                        1e3 * t.substitution, 1e3 * t.endForces,
                        1e3 * (a.whole - t.bandWidth - t.assembly - t.decomposition -
                               t.substitution - t.endForces));
        }
        sparse.push_back({double(N), s.whole});
        if (d.ran) band.push_back({double(N), d.whole});
        if (!chosen.out.sparse && !d.ran) continue;
        automatic.push_back({double(N), chosen.out.sparse ? s.whole : d.whole});
    }
    std::printf("growth exponent of the whole analysis's time in the dofs (least squares on "
                "the logs): band %.2f (%zu sizes), sparse %.2f (%zu sizes), automatic %.2f (%zu "
                "sizes)\n",
                growthExponent(band), band.size(), growthExponent(sparse), sparse.size(),
                growthExponent(automatic), automatic.size());
    std::printf("largest difference of the two solvers' displacements: %.1e of the largest\n",
                largestDiff);
}

std::vector<Bays> parseSizes(const std::string& list) {
    std::vector<Bays> sizes;
    std::stringstream in(list);
    std::string item;
    while (std::getline(in, item, ',')) {
        Bays b{};
        if (std::sscanf(item.c_str(), "%dx%dx%d", &b.x, &b.y, &b.z) != 3) b.y = b.z = b.x;
        if (b.x < 1 || b.y < 1 || b.z < 1) {
            std::fprintf(stderr, "bad size: %s\n", item.c_str());
            std::exit(2);
        }
        sizes.push_back(b);
    }
    return sizes;
}

} // namespace

int main(int argc, char** argv) {
    int bx = 10, by = 10, storeys = 8, runs = 9, scalingRuns = 2;
    unsigned seed = 17;
    bool tableGrid = true, scalingRun = true;
    std::vector<Bays> sizes = parseSizes("5,6,8,10,12,14,16,18,20");
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--sizes" && i + 1 < argc)
            sizes = parseSizes(argv[++i]);
        else if (a == "--scaling-runs" && i + 1 < argc)
            scalingRuns = std::max(1, std::atoi(argv[++i]));
        else if (a == "--no-scaling")
            scalingRun = false;
        else if (a == "--scaling-only")
            tableGrid = false;
        else
            args.push_back(a);
    }
    if (args.size() >= 3) {
        bx = std::atoi(args[0].c_str());
        by = std::atoi(args[1].c_str());
        storeys = std::atoi(args[2].c_str());
    }
    if (args.size() >= 4) runs = std::max(1, std::atoi(args[3].c_str()));
    if (args.size() >= 5) seed = static_cast<unsigned>(std::max(1, std::atoi(args[4].c_str())));
    if (tableGrid) largestGrid(bx, by, storeys, runs, seed);
    if (scalingRun) scaling(sizes, scalingRuns);
    return 0;
}
