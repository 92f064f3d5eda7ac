// Times the analysis of a regular grid frame, phase by phase, with its nodes
// numbered floor by floor and with the same nodes numbered at random.
//
//   bench_analysis [bays-x bays-y storeys [runs [seed]]]     default 10 10 8 9 17
//
// The frame is the grid that `rahmen-batch --generate-grid` writes: bays of
// 600 cm both ways, storeys of 350 cm, fixed supports on the ground, a
// horizontal load at every floor node and a uniform load on every beam. The
// analysis chooses its own node order, so both numberings should cost the same
// and give the same results; the benchmark shows both and how far the results
// differ. Wall times are medians and bests of the runs; on a machine shared
// with other work the CPU time of the decomposition (all threads) says more.

#include "analysis/BandMatrix.h"
#include "analysis/ana.h"
#include "batch/GridFrame.h"
#include "model/Model.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace rahmen;

namespace {

class SilentProgress : public AnalysisProgress {
public:
    void step(const std::string&) override {}
    void print(const std::string&) override {}
};

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
    const double flops = decompositionFlops(N, hb);
    std::printf("  decomposition rate: %.1f GFLOP/s (median), %.1f GFLOP/s (best), %.1f GFLOP/s "
                "per CPU second; %.3g flop\n",
                flops / median(t.phases[4]) / 1e9, flops / best(t.phases[4]) / 1e9,
                flops / median(t.phases[8]) / 1e9, flops);
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

} // namespace

int main(int argc, char** argv) {
    int bx = 10, by = 10, storeys = 8, runs = 9;
    unsigned seed = 17;
    if (argc >= 4) {
        bx = std::atoi(argv[1]);
        by = std::atoi(argv[2]);
        storeys = std::atoi(argv[3]);
    }
    if (argc >= 5) runs = std::max(1, std::atoi(argv[4]));
    if (argc >= 6) seed = static_cast<unsigned>(std::max(1, std::atoi(argv[5])));
    if (gridNodeCount(bx, by, storeys) > kMaxNodes ||
        gridMemberCount(bx, by, storeys) > kMaxMembers) {
        std::fprintf(stderr, "too many nodes or members for the program's tables\n");
        return 1;
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
    return 0;
}
