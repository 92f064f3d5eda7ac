// Times the analysis of a regular grid frame, phase by phase.
//
//   bench_analysis [bays-x bays-y storeys [runs]]     default 10 10 8 5
//
// The frame is the grid that `rahmen-batch --generate-grid` writes: bays of
// 600 cm both ways, storeys of 350 cm, fixed supports on the ground, a
// horizontal load at every floor node and a uniform load on every beam. Nodes
// are numbered floor by floor, so the half band width is six times the nodes of
// one floor plus one.

#include "analysis/ana.h"
#include "batch/GridFrame.h"
#include "model/Model.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
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

} // namespace

int main(int argc, char** argv) {
    int bx = 10, by = 10, storeys = 8, runs = 5;
    if (argc >= 4) {
        bx = std::atoi(argv[1]);
        by = std::atoi(argv[2]);
        storeys = std::atoi(argv[3]);
    }
    if (argc >= 5) runs = std::max(1, std::atoi(argv[4]));
    if ((bx + 1) * (by + 1) * (storeys + 1) > kMaxNodes) {
        std::fprintf(stderr, "too many nodes for the program's tables\n");
        return 1;
    }

    auto model = gridFrame(bx, by, storeys);
    const int N = 6 * model->NodeCount;

    SilentProgress progress;
    AnalysisWork work;
    const char* names[] = {"equivalent loads", "band width",   "assembly",   "supports",
                           "decomposition",    "substitution", "end forces", "whole analysis"};
    std::vector<std::vector<double>> t(8);
    AnalysisOutcome out;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        out = runAnalysis(*model, progress, work);
        const double whole =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (!out.ok) {
            std::fprintf(stderr, "analysis failed: %s\n", out.message.c_str());
            return 1;
        }
        const AnalysisTimes& p = out.times;
        const double phases[] = {p.equivalentLoads, p.bandWidth,    p.assembly,  p.supports,
                                 p.decomposition,   p.substitution, p.endForces, whole};
        for (int i = 0; i < 8; ++i)
            t[i].push_back(phases[i]);
    }

    const double hb = out.halfBandWidth;
    const double flops = 2.0 * N * hb * hb / 2.0; // two operations per multiply-add
    std::printf("grid %d x %d bays, %d storeys: %d nodes, %d members, N = %d, half band %d\n", bx,
                by, storeys, model->NodeCount, model->MemberCount, N, out.halfBandWidth);
    std::printf("%d runs, median and best (ms):\n", runs);
    for (int i = 0; i < 8; ++i)
        std::printf("  %-17s %9.2f %9.2f\n", names[i], 1e3 * median(t[i]),
                    1e3 * *std::min_element(t[i].begin(), t[i].end()));
    std::printf("decomposition rate: %.1f GFLOP/s (median), %.1f GFLOP/s (best); %.3g flop\n",
                flops / median(t[4]) / 1e9,
                flops / *std::min_element(t[4].begin(), t[4].end()) / 1e9, flops);
    std::printf("band matrix and work arrays: %.1f MB; peak memory of the process: %.1f MB\n",
                out.workBytes / 1048576.0, peakKilobytes() / 1024.0);
    std::printf("check: roof node %d dX = %.6g cm\n", model->NodeCount,
                model->NodeDisplacement[6 * (model->NodeCount - 1) + 1]);
    return 0;
}
