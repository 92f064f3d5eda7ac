// Times the analysis of many load cases against that of one, on the largest
// grid the tables allow, in one run:
//
//   bench_cases [runs [RAHMEN-BATCH]]      default 9, ../src/batch/rahmen-batch beside
//                                          the benchmark
//
// The grid is bench_analysis's (10 × 10 bays, 8 storeys). One case: the
// grid's own loads, analysed by runAnalysis. Eight cases (dead loads G and
// G2, live P, snow S, wind WX, WY, seismic KX, KY) and twelve combinations
// of them, analysed by analyseLoadCases: one decomposition for all cases.
// Printed per phase, as medians and bests of the runs (ms), and the ratio of
// the two analyses (everything but reading and writing files).
//
// Then the whole rahmen-batch command, once with the one case
// (`--loads`) and once with the eight cases and twelve combinations
// (`--cases DATA.lcd`, writing 20 reports and the envelope), in a temporary
// folder, and the ratio of their wall times (medians).

#include "analysis/AnalysisFile.h"
#include "analysis/LoadCaseAnalysis.h"
#include "analysis/ana.h"
#include "batch/GridFrame.h"
#include "model/LoadCases.h"
#include "model/Model.h"
#include "platform/Clock.h"
#include "platform/Files.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace rahmen;

namespace {

using Stopwatch = std::chrono::steady_clock;

double secondsSince(Stopwatch::time_point start) {
    return std::chrono::duration<double>(Stopwatch::now() - start).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double best(const std::vector<double>& v) {
    return *std::min_element(v.begin(), v.end());
}

// The eight cases on the grid: vertical beam loads (G, G2, P, S) and
// horizontal floor-node loads (W and K in X and Y).
LoadCaseSet gridCases(const Model& grid) {
    LoadCaseSet set;
    auto add = [&](const char* label, LoadKind kind, LoadDirection dir) -> LoadCase& {
        LoadCase c;
        c.label = label;
        c.kind = kind;
        c.direction = dir;
        set.cases.push_back(c);
        return set.cases.back();
    };
    struct Beam {
        const char* label;
        LoadKind kind;
        float wz;
    };
    for (const Beam& b : {Beam{"G", LoadKind::Dead, -20.0f}, Beam{"G2", LoadKind::Dead, -3.0f},
                          Beam{"P", LoadKind::Live, -8.0f}, Beam{"S", LoadKind::Snow, -2.0f}}) {
        LoadCase& c = add(b.label, b.kind, LoadDirection::None);
        for (int m = 1; m <= grid.MemberCount; ++m)
            if (grid.MemberLoadFlag[m] == 1) c.memberLoads.push_back({m, 0.0f, b.wz});
    }
    struct Side {
        const char* label;
        LoadKind kind;
        LoadDirection dir;
        float force;
    };
    for (const Side& s : {Side{"WX", LoadKind::Wind, LoadDirection::X, 4.0f},
                          Side{"WY", LoadKind::Wind, LoadDirection::Y, 4.0f},
                          Side{"KX", LoadKind::Seismic, LoadDirection::X, 10.0f},
                          Side{"KY", LoadKind::Seismic, LoadDirection::Y, 10.0f}}) {
        LoadCase& c = add(s.label, s.kind, s.dir);
        for (int n = 1; n <= grid.NodeCount; ++n) {
            if (grid.NodeLoadFlag[n] != 1) continue;
            CaseNodeLoad l;
            l.node = n;
            l.force[s.dir == LoadDirection::X ? 0 : 1] = s.force;
            c.nodeLoads.push_back(l);
        }
    }
    struct Combo {
        const char* label;
        LoadTerm term;
        const char* expression;
    };
    for (const Combo& k :
         {Combo{"L1", LoadTerm::Long, "G+G2+P"}, Combo{"L2", LoadTerm::Long, "G+G2+P+0.7S"},
          Combo{"S1", LoadTerm::Short, "G+G2+P+S"}, Combo{"S2", LoadTerm::Short, "G+G2+P+WX"},
          Combo{"S3", LoadTerm::Short, "G+G2+P-WX"}, Combo{"S4", LoadTerm::Short, "G+G2+P+WY"},
          Combo{"S5", LoadTerm::Short, "G+G2+P-WY"}, Combo{"S6", LoadTerm::Short, "G+G2+P+KX"},
          Combo{"S7", LoadTerm::Short, "G+G2+P-KX"}, Combo{"S8", LoadTerm::Short, "G+G2+P+KY"},
          Combo{"S9", LoadTerm::Short, "G+G2+P-KY"},
          Combo{"S10", LoadTerm::Short, "G+G2+P+0.35S+KX"}}) {
        Combination c;
        c.label = k.label;
        c.term = k.term;
        const std::string problem = parseCombination(k.expression, set.cases, c.terms);
        if (!problem.empty()) {
            std::fprintf(stderr, "%s: %s\n", k.expression, problem.c_str());
            std::exit(1);
        }
        set.combinations.push_back(c);
    }
    return set;
}

struct Phases {
    std::vector<const char*> names;
    std::vector<std::vector<double>> seconds;
    void add(std::size_t i, const char* name, double s) {
        if (names.size() <= i) {
            names.resize(i + 1);
            seconds.resize(i + 1);
        }
        names[i] = name;
        seconds[i].push_back(s);
    }
    void print(const char* title) const {
        std::printf("%s\n", title);
        for (std::size_t i = 0; i < names.size(); ++i)
            std::printf("  %-22s %9.2f %9.2f\n", names[i], 1e3 * median(seconds[i]),
                        1e3 * best(seconds[i]));
    }
};

// Runs `argv` in `folder` and waits, its standard output into `output` in
// that folder; the wall time in seconds, or -1 when it failed.
// `cpu`, when given, gets its processor time (user and system, all threads).
double runCommand(const std::vector<std::string>& args, const std::filesystem::path& folder,
                  const char* output, double* cpu = nullptr) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::fflush(stdout);
    const auto start = Stopwatch::now();
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(folder.c_str()) != 0) _exit(126);
        if (!std::freopen(output, "w", stdout) || !std::freopen("/dev/null", "w", stderr))
            _exit(126);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    const double s = secondsSince(start);
    if (cpu)
        *cpu = usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
               1e-6 * (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? s : -1;
}

// The "NAME-ms VALUE" lines of rahmen-batch --timings into `phases`, and the
// process's start and exit (the wall clock less the command's own time).
void addTimings(const std::filesystem::path& file, double wall, Phases& phases) {
    std::FILE* in = std::fopen(file.c_str(), "r");
    if (!in) return;
    char name[64];
    double ms = 0;
    std::size_t i = 0;
    static std::set<std::string> names; // kept for the printed table
    while (std::fscanf(in, "%63s %lf", name, &ms) == 2) {
        std::string n = name;
        if (n.size() < 3 || n.compare(n.size() - 3, 3, "-ms") != 0) continue;
        n.resize(n.size() - 3);
        if (n == "command") {
            phases.add(i++, "start and exit", wall - ms / 1e3);
            n = "command (in process)";
        }
        phases.add(i++, names.insert(n).first->c_str(), ms / 1e3);
    }
    std::fclose(in);
    phases.add(i, "whole command", wall);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 9;
    const std::string batch =
        argc >= 3 ? std::string(argv[2])
                  : (std::filesystem::canonical("/proc/self/exe").parent_path().parent_path() /
                     "src/batch/rahmen-batch")
                        .string();
    const int bx = 10, by = 10, storeys = 8;

    auto one = gridFrame(bx, by, storeys);
    auto many = gridFrame(bx, by, storeys);
    const LoadCaseSet set = gridCases(*many);
    std::printf("grid %d x %d bays, %d storeys: %d nodes, %d members; %zu cases, %zu "
                "combinations; %d runs, median and best (ms)\n",
                bx, by, storeys, one->NodeCount, one->MemberCount, set.cases.size(),
                set.combinations.size(), runs);

    SilentProgress progress;
    Phases single, multi;
    std::vector<double> singleWhole, multiWhole;
    // The two analyses take turns, so that both see the same load of the machine.
    for (int run = 0; run < runs; ++run) {
        auto start = Stopwatch::now();
        const AnalysisOutcome out = runAnalysis(*one, progress);
        singleWhole.push_back(secondsSince(start));
        if (!out.ok) {
            std::fprintf(stderr, "analysis failed: %s\n", out.message.c_str());
            return 1;
        }
        const AnalysisTimes& t = out.times;
        single.add(0, "numbering", t.bandWidth);
        single.add(1, "assembly", t.assembly + t.supports);
        single.add(2, "decomposition", t.decomposition);
        single.add(3, "equivalent loads", t.equivalentLoads);
        single.add(4, "substitution", t.substitution);
        single.add(5, "end forces", t.endForces);
        single.add(6, "whole analysis", singleWhole.back());

        start = Stopwatch::now();
        const LoadCaseOutcome lc = analyseLoadCases(*many, set, progress, {});
        multiWhole.push_back(secondsSince(start));
        if (!lc.ok) {
            std::fprintf(stderr, "analysis of the cases failed: %s\n", lc.message.c_str());
            return 1;
        }
        const LoadCaseTimes& c = lc.times;
        multi.add(0, "numbering", c.frame.bandWidth);
        multi.add(1, "assembly", c.frame.assembly + c.frame.supports);
        multi.add(2, "decomposition", c.frame.decomposition);
        multi.add(3, "load vectors", c.loadVectors);
        multi.add(4, "substitution", c.substitution);
        multi.add(5, "case results", c.caseResults);
        multi.add(6, "combinations", c.combinations);
        multi.add(7, "envelope", c.envelope);
        multi.add(8, "whole analysis", multiWhole.back());
    }
    single.print("one case (runAnalysis):");
    multi.print("8 cases, 12 combinations (analyseLoadCases):");
    std::printf("analysis, 8 cases and 12 combinations / one case: %.2f (medians), %.2f (bests); "
                "target at most 1.3\n",
                median(multiWhole) / median(singleWhole), best(multiWhole) / best(singleWhole));

    // The whole command, with its files in a temporary folder.
    if (access(batch.c_str(), X_OK) != 0) {
        std::printf("%s not found: the command is not timed (build rahmen-batch)\n", batch.c_str());
        return 0;
    }
    char folderName[] = "/tmp/bench_cases.XXXXXX";
    if (!mkdtemp(folderName)) return 1;
    const std::filesystem::path folder(folderName);
    Files files(folder);
    const DateTime when{2024, 1, 1, 12, 0, 0};
    if (const std::string problem = writeGridFiles(files, "grid", bx, by, storeys, when);
        !problem.empty()) {
        std::fprintf(stderr, "%s\n", problem.c_str());
        return 1;
    }
    if (!files.writeAtomic("grid.lcd", loadCaseFileBytes(set))) return 1;

    // One report: its bytes formed, and written as the program writes every
    // file (a temporary file, on the disk, renamed over the report).
    {
        std::vector<double> form, write;
        const AnalysisOutcome out = runAnalysis(*one, progress);
        std::size_t size = 0;
        for (int run = 0; run < runs; ++run) {
            auto start = Stopwatch::now();
            const std::string bytes = analysisReport(*one, out.Reaction, when);
            form.push_back(secondsSince(start));
            start = Stopwatch::now();
            if (!files.writeAtomic("report.adt", bytes)) return 1;
            write.push_back(secondsSince(start));
            size = bytes.size();
        }
        std::printf("one report of %.2f MB: bytes formed %9.2f %9.2f, file written %9.2f %9.2f\n",
                    size / 1048576.0, 1e3 * median(form), 1e3 * best(form), 1e3 * median(write),
                    1e3 * best(write));
    }
    std::vector<double> oneCommand, manyCommand, oneCpu, manyCpu;
    double cpu = 0;
    Phases onePhases, manyPhases;
    for (int run = 0; run < runs; ++run) {
        oneCommand.push_back(runCommand(
            {batch, "grid.fdt", "--loads", "grid_loads.adt", "--out", "one", "--timings"}, folder,
            "one.times", &cpu));
        oneCpu.push_back(cpu);
        manyCommand.push_back(
            runCommand({batch, "grid.fdt", "--cases", "grid.lcd", "--out", "many", "--timings"},
                       folder, "many.times", &cpu));
        manyCpu.push_back(cpu);
        if (oneCommand.back() < 0 || manyCommand.back() < 0) {
            std::fprintf(stderr, "rahmen-batch failed in %s\n", folderName);
            return 1;
        }
        addTimings(folder / "one.times", oneCommand.back(), onePhases);
        addTimings(folder / "many.times", manyCommand.back(), manyPhases);
    }
    onePhases.print("rahmen-batch --loads, one case (--timings):");
    manyPhases.print("rahmen-batch --cases, 8 cases and 12 combinations (--timings):");
    long reports = 0;
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().rfind("many_", 0) == 0) {
            ++reports;
            bytes += entry.file_size();
        }
    std::printf("rahmen-batch, one case: %9.2f %9.2f\n", 1e3 * median(oneCommand),
                1e3 * best(oneCommand));
    std::printf("rahmen-batch, 8 cases and 12 combinations (%ld files, %.1f MB): %9.2f %9.2f\n",
                reports, bytes / 1048576.0, 1e3 * median(manyCommand), 1e3 * best(manyCommand));
    std::printf("command, 8 cases and 12 combinations / one case: %.2f (medians), %.2f (bests); "
                "target at most 3\n",
                median(manyCommand) / median(oneCommand), best(manyCommand) / best(oneCommand));
    std::printf("processor time (all threads), one case %.2f, 8 cases and 12 combinations %.2f "
                "(medians, ms): %.2f\n",
                1e3 * median(oneCpu), 1e3 * median(manyCpu), median(manyCpu) / median(oneCpu));
    std::filesystem::remove_all(folder);
    return 0;
}
