#pragma once
// rahmen-batch: the analysis of the program without its window, for scripts,
// parametric studies and regression checks.
//
//   rahmen-batch FRAME.fdt --loads LOADS.adt [--material steel|concrete | --E E --G G]
//                [--kappa K] [--units si|old] [--out NAME] [--timings]
//   rahmen-batch FRAME.fdt --case LABEL=LOADS.adt … [--combo LABEL=EXPR …]
//                [--term LABEL=long|short] [conditions as above] [--out NAME]
//   rahmen-batch FRAME.fdt --cases DATA.lcd [conditions as above] [--out NAME]
//   (either with --storeys: the storey checks of the seismic cases as well;
//   with --pdf: the calculation report NAME.pdf)
//   rahmen-batch --reanalyse REPORT.adt [--out NAME] [--timings]
//   rahmen-batch --generate-grid BX BY STOREYS NAME [--shuffle-nodes SEED]
//
// The first form reads a frame file, takes over the loads of an analysis data
// file as the plotting window does, sets E, G and κ as the analysis
// conditions form does, takes the loads off supports as the load form does,
// and runs the analysis, which writes NAME.adt into the current folder. The
// second analyses a report again with its own loads and constants, taking the
// sections, pins and springs (which a report lacks) from the frame file of its
// data name beside it, or, without one, assuming them and saying so. The third writes a
// regular grid frame and its loads, the benchmark's model, as files, its nodes
// numbered floor by floor or shuffled.
//
// Messages go to the error stream, each line prefixed with the file concerned.
// Exit status: 0 success, 1 an input refused (a file missing or malformed, no
// loads, a unit system that does not fit, an unstable frame, a report that
// could not be written), 2 a usage error (with the usage on the error stream).

#include "batch/BatchChecks.h"
#include "checks/StoreyCheck.h"
#include "model/LoadCases.h"

#include <functional>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace rahmen {

struct Model;
class Program;

constexpr int kBatchSuccess = 0;
constexpr int kBatchRefused = 1;
constexpr int kBatchUsageError = 2;

enum class BatchMode { Help, Analyse, AnalyseCases, Reanalyse, GenerateGrid };
enum class Material { Steel, Concrete, Direct };

struct BatchOptions {
    BatchMode mode = BatchMode::Help;
    std::string frame; // Analyse: the frame file
    std::string loads; // Analyse: the analysis data file giving the loads
    // AnalyseCases: the cases (their loads still to be read from caseFiles, in
    // the same order) and the combinations, or a load-case file instead.
    LoadCaseSet cases;
    std::vector<std::string> caseFiles;
    std::string caseSetFile;
    std::string report; // Reanalyse: the report analysed again
    std::optional<std::string> out;
    Material material = Material::Steel;
    float youngModulus = 0; // Material::Direct, in the analysis' unit system
    float shearModulus = 0;
    float kappa = 0;
    std::optional<float> unitFactor; // --units: 98.0665 (si) or 1 (old)
    bool timings = false;
    bool storeys = false;     // AnalyseCases: also the storey checks, NAME_STY.csv and NAME.sty
    bool pdf = false;         // AnalyseCases: also the calculation report NAME.pdf
    BatchCheckOptions checks; // AnalyseCases: --check, --grade, --lb, --lk
    int gridBaysX = 0, gridBaysY = 0, gridStoreys = 0; // GenerateGrid
    std::string gridName;
    unsigned gridShuffleSeed = 0; // 0: nodes numbered floor by floor
};

struct ParsedCommand {
    BatchOptions options;
    std::string error; // empty when the command line is usable
};

// Reads the arguments (without the program name).
ParsedCommand parseBatchCommand(const std::vector<std::string>& args);

// The text of --help.
std::string batchUsage();

// E and G of the analysis conditions form's standard choices in the unit
// system of `unitFactor` (1: the older units): steel 205000 and 79000 N/mm²
// (2100 and 810 t/cm²), concrete 210 and 90 times the unit factor.
void setStandardMaterial(Model& model, Material material);

// The kind and direction of a case from its label: G, P, S, or W or K followed
// by X or Y (KX, WY2). The problem with the label ("" when it names a case).
std::string caseKindProblem(const std::string& label, LoadCase& c);

// The calculation report as PDF bytes for the frame in the program after the
// analysis of all cases, with the member checks and storey checks made
// (nullptr: not asked for); nullopt when it could not be made. Painting pages
// needs Qt, which the command does not link: without a writer given, --pdf
// opens the renderer's module (batch/BatchPdf.h), and without that module
// --pdf is refused.
using BatchPdfWriter = std::function<std::optional<std::string>(
    Program& program, const std::vector<MemberCheck>* checks, const StoreyCheckResult* storeys)>;

// Runs the command; the exit status.
int runBatch(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
             const BatchPdfWriter& pdf = {});

} // namespace rahmen
