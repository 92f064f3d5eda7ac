#pragma once
// The linear static analysis of the whole frame (ANALYSIS_ON): equivalent nodal
// loads of uniform member loads (CH_UL), half band width, assembly in band
// storage, supports, banded Cholesky solution, member end forces, reactions and
// the rotations of end springs and one-sided pins.
//
// The band is assembled and solved in a node order the analysis chooses for a
// narrow band (NodeOrder.h), whatever the user's numbering; every result is
// mapped back to the user's numbering. The progress window shows the band
// actually decomposed.
//
// runAnalysis is the analysis itself, free of forms and dialogs; ANALYSIS_ON is
// the program's entry point around it (progress window and message box).

#include "analysis/BandMatrix.h"
#include "analysis/FrameView.h"
#include "analysis/MemberStiffness.h"
#include "analysis/SparseCholesky.h"

#include <array>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace rahmen {

struct Model;
class Program;

// Where the analysis reports its steps (the progress window FORM12).
class AnalysisProgress {
public:
    virtual ~AnalysisProgress() = default;
    // The text of the current step.
    virtual void step(const std::string& text) = 0;
    // One line printed into the window's picture.
    virtual void print(const std::string& line) = 0;
};

// A progress that shows nothing, for analyses run apart from the window
// (benchmarks, tools, the right-hand sides of load cases).
class SilentProgress : public AnalysisProgress {
public:
    void step(const std::string&) override {}
    void print(const std::string&) override {}
};

class Form12;

// The analysis's steps shown in the progress window FORM12.
class ProgressWindow : public AnalysisProgress {
public:
    explicit ProgressWindow(Form12& form) : form_(form) {}
    void step(const std::string& text) override;
    void print(const std::string& line) override;

private:
    Form12& form_;
};

// Seconds spent in each phase of one analysis.
struct AnalysisTimes {
    double equivalentLoads = 0;
    double bandWidth = 0;
    double assembly = 0;
    double supports = 0;
    double decomposition = 0;
    double decompositionCpu = 0; // processor time of all threads, for loaded machines
    double substitution = 0;
    double endForces = 0;
};

struct AnalysisOutcome {
    bool ok = false;
    std::string message;             // when !ok: the text for a message box titled "rahmen"
    int failedDof = 0;               // degree of freedom whose pivot failed, 0 if none
    int scannedHalfBandWidth = 0;    // by the node scan
    int halfBandWidth = 0;           // of the user's numbering, widened for members the scan missed
    int factorisedHalfBandWidth = 0; // in the node order the analysis solves in
    // Support reactions per degree of freedom (1..N, index 0 unused): forces and
    // force·cm, global axes; 0 at free degrees of freedom.
    std::vector<float> Reaction;
    AnalysisTimes times;
    std::size_t workBytes = 0; // band matrix and work arrays
    // The solver that decomposed the frame and the estimates it was chosen by:
    // flops of the band inside its envelope (Σ of the squared column heights,
    // at most N·hb²) and of the sparse factor (estimated from the
    // node order; 0 when the sparse path was not considered), then CHOLMOD's
    // own count of the factor it built.
    bool sparse = false;
    double bandFlops = 0;
    double sparseFlops = 0;
    double factorFlops = 0;
};

// Step 10 of the analysis: writes the report file DataName.adt from the model's
// results and the reactions. It is given by the caller; without one no file is
// written.
using ReportWriter =
    std::function<void(Model&, const std::vector<float>& reaction, AnalysisProgress&)>;
// The same for an analysis of a view: the results are in the view's columns.
using FrameReport = std::function<void(const std::vector<float>& reaction)>;

// What the end forces need of a member's matrices: built once by the
// assembly and read again for every load the decomposed frame is solved for.
struct AssembledMember {
    double L = 0;
    Axes R{};
    Matrix12 K{}; // global axes
};

// Which solver decomposes the frame: the band, the sparse supernodal
// Cholesky, or (Automatic) the one chooseSolver estimates faster. The
// environment variable RAHMEN_SOLVER=band|sparse forces either for an
// Automatic work (tests and benchmarks).
enum class Solver { Automatic, Band, Sparse };

// The cost model of the two decompositions on this machine, seconds from
// flops. Neither runs at one rate: the band's blocks grow with its half band
// hb, and its rate rises towards a peak as R·hb / (hb + h0); CHOLMOD's
// supernodes grow with the factor, and its rate rises with the factor's
// flops F as r0·(F / F0)^a up to a peak. CHOLMOD also spends time besides
// its flops (ordering, the symbolic factor, the sparse assembly) per entry
// of the frame's sparse matrix, and the band per byte of its matrix (fresh
// memory zeroed by the system as the assembly first touches it, and read
// again by the substitution).
struct SolverRates {
    double bandPeakFlopsPerSecond; // R
    double bandHalfRateWidth;      // h0
    double bandSecondsPerByte;
    double sparseFlopsPerSecond;     // r0, at F0
    double sparseReferenceFlops;     // F0
    double sparseRateExponent;       // a
    double sparsePeakFlopsPerSecond; // the rate's bound
    double sparseSecondsPerEntry;
};
extern const SolverRates kSolverRates;

// Estimated seconds of the band's decomposition (flops inside its envelope,
// half band hb, N degrees of freedom) and of the sparse one (its factor's
// flops, `entries` of the lower triangle of the sparse matrix).
double bandSeconds(double bandFlops, int halfBand, int dofs);
double sparseSeconds(double sparseFlops, double entries);

// A band estimated faster than this is decomposed before the sparse order
// could pay for itself: the sparse path is not considered.
constexpr double kSparseWorthSeconds = 0.05;

// True when the sparse decomposition is estimated faster.
bool sparseEstimatedFaster(double bandFlops, int halfBand, int dofs, double sparseFlops,
                           double entries);

// Memory of an analysis, kept by a caller that runs many (the benchmark) so
// that a repeated analysis allocates nothing.
struct AnalysisWork {
    Solver solver = Solver::Automatic;
    std::vector<AssembledMember> members; // 1..M, by the assembly
    BandMatrix band;
    bool sparse = false;                         // the frame is decomposed in the two below
    SparseStiffness stiffness;                   // the sparse matrix, rows in the band's order
    SparseCholesky cholesky;                     // its factor
    std::vector<int> toBand;                     // user's degree of freedom → row of the band
    std::vector<double> rhs;                     // right-hand side, then displacements, band order
    std::vector<double> x;                       // displacements, user's numbering
    std::vector<double> reaction;                // summed in double, 1..N
    std::vector<std::array<float, 13>> fixedEnd; // fixed-end forces of uniform loads, 1..12
    std::vector<std::array<float, 2>> midspan;   // wz·L²/8, wy·L²/8 of loaded members
};

// Runs the whole analysis. On success the results are in the model (NodeDisplacement,
// MemberEndForce, SpringRotation, PinRotation, MemberLoadMoment(m, 13..14),
// AnalysisDone = 1). A refused model or a failed decomposition leaves the results
// of the previous analysis as they were and returns the message to show.
AnalysisOutcome runAnalysis(Model& model, AnalysisProgress& progress,
                            const ReportWriter& writeReport = {});
AnalysisOutcome runAnalysis(Model& model, AnalysisProgress& progress, AnalysisWork& work,
                            const ReportWriter& writeReport = {});
// The same on a frame seen through a view, of any size: the results in its
// columns, AnalysisDone set where the view has it.
AnalysisOutcome runAnalysis(const FrameView& frame, AnalysisProgress& progress, AnalysisWork& work);

// ---- the analysis in two halves, for one frame under many loads

// The first half of runAnalysis: the check, the numbering, the assembly, the
// supports and the decomposition, kept in `work`. False with out.message when
// the model is refused or the frame is unstable (the results untouched).
bool decomposeFrame(const FrameView& frame, AnalysisProgress& progress, AnalysisWork& work,
                    AnalysisOutcome& out);
bool decomposeFrame(Model& model, AnalysisProgress& progress, AnalysisWork& work,
                    AnalysisOutcome& out);

// Solves the decomposed frame for `count` right-hand sides in the band's
// order, laid out as solveBand takes them, by the solver that decomposed it.
void solveFrame(const AnalysisWork& work, double* x, int count = 1);

// The right-hand side of the loads in the model's tables, in the band's order
// (1..N) of the frame decomposeFrame decomposed; the load work is cleared again.
void frameLoadVector(const FrameView& frame, AnalysisWork& work, std::vector<double>& rhs);
void frameLoadVector(Model& model, AnalysisWork& work, std::vector<double>& rhs);

// The second half, for the loads in the model's tables, with the band that
// decomposeFrame left in `work` (which may serve any number of loads):
// equivalent loads, substitution (or, when `solved` is given, the band-order
// solution of frameLoadVector's right-hand side solved already),
// displacements, end forces, rotations and reactions, the report through
// writeReport, then the load work cleared and AnalysisDone = 1. False with
// out.message when the displacements are beyond the program's range (the
// previous results kept).
bool solveFrameLoads(const FrameView& frame, AnalysisProgress& progress, AnalysisWork& work,
                     AnalysisOutcome& out, const FrameReport& writeReport = {},
                     const std::vector<double>* solved = nullptr);
bool solveFrameLoads(Model& model, AnalysisProgress& progress, AnalysisWork& work,
                     AnalysisOutcome& out, const ReportWriter& writeReport = {},
                     const std::vector<double>* solved = nullptr);

// ---- the steps, for tests and callers that need one of them

// E and G in force/cm²: as entered in the older units, one tenth of N/mm² in SI.
double analysisModulus(const Model& model, float modulus);

// Checks what the analysis relies on (counts within the tables, node numbers,
// member lengths and section values, E and G). Empty when the model can be
// analysed, otherwise the message naming the member or quantity. A view's
// counts are checked against its columns, a model's against its tables.
std::string checkAnalysisFrame(const FrameView& frame);
std::string checkAnalysisModel(const Model& model);

// Half band width by the node scan: the largest node-number difference among the
// first 14 members of each node, plus one, times six.
int scannedHalfBandWidth(const FrameView& frame);
int scannedHalfBandWidth(const Model& model);
// The half band width that holds every member: the scan's, widened where a
// member's node-number difference lies beyond it.
int halfBandWidth(const FrameView& frame);
int halfBandWidth(const Model& model);

// Equivalent nodal loads of the uniform member loads into EquivalentNodeLoad and
// SupportEquivalentLoad, the fixed-end moments into MemberLoadMoment(m, 5, 6, 11,
// 12), all fixed-end forces (-q(1..12)) into work.fixedEnd and the simple-beam
// midspan moments into work.midspan.
void CH_UL(const FrameView& frame, double E, double G, AnalysisWork& work);

// Clean-up at the end of every analysis, successful or not: the equivalent
// loads (1..dofs) and the fixed-end moments of members 1..MemberCount are
// built anew by the next one.
void clearLoadWork(const FrameView& frame, int dofs);
void clearLoadWork(Model& model, int dofs);

// The message for a failed pivot at degree of freedom d (node and direction).
std::string instabilityMessage(int d);

// The program's analysis: opens the progress window, runs the analysis, writes the
// report unless SkipAnalysisFile is -1 (through writeReport when given, otherwise
// the analysis data file writer, writeAnalysisFile), and closes the window (at
// once without a report; otherwise the user closes it). A refused model or an
// unstable frame closes the window and shows the message. True on success.
// `times`, when given, gets the time of each phase (rahmen-batch --timings).
bool ANALYSIS_ON(Program& program, const ReportWriter& writeReport = {},
                 AnalysisTimes* times = nullptr);

} // namespace rahmen
