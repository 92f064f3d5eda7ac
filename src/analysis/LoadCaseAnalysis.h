#pragma once
// The analysis of every load case of a frame at once, and its combinations by
// superposition: one assembly and one decomposition of the frame, one
// substitution per case, and each combination as the factored sum of its
// cases' results (displacements, end forces, reactions, rotations, the member
// results along the span) — never a new analysis.

#include "analysis/ana.h"
#include "model/CaseResults.h"
#include "model/LoadCases.h"

#include <functional>
#include <string>
#include <vector>

namespace rahmen {

struct Model;

// Called once per case (in the set's order) and then once per combination
// (in its order), with the model's load tables holding the loads of that case
// or combination and its result tables the results, as the report writer of
// ANALYSIS_ON sees them with those loads (the equivalent loads and fixed-end
// moments still in place; AnalysisDone is 1 from the second call on), and
// with the support reactions per degree of freedom (as
// AnalysisOutcome::Reaction): the caller writes its report.
using CaseResultSink =
    std::function<void(const std::string& label, Model& model, const std::vector<float>& reaction)>;

// The largest and smallest value of one member quantity over the
// combinations of one term, and the combination that gives each.
struct EnvelopeValue {
    double largest = 0, smallest = 0;
    std::string largestBy, smallestBy;
};

// Per member and term (long, short): the envelope of the end forces of both
// ends (N, Qy, Qz, Mx, My, Mz) and of the moments My, Mz along the span.
struct MemberEnvelope {
    int member = 0;
    LoadTerm term = LoadTerm::Long;
    EnvelopeValue start[6], end[6], spanMy, spanMz;
};

// Seconds spent in each phase of an analysis of all cases (the benchmark's).
struct LoadCaseTimes {
    AnalysisTimes frame;     // numbering, assembly, decomposition (and the per-case phases)
    double loadVectors = 0;  // every case's equivalent loads and right-hand side
    double substitution = 0; // one substitution for all right-hand sides
    double caseResults = 0;  // per case: end forces, reactions, rotations, kept for the sums
    double combinations = 0; // per combination: its loads and its sums of the cases' results
    double envelope = 0;     // end forces and moments along the span per combination
    double sink = 0;         // in the caller's sink (its reports)
};

struct LoadCaseOutcome {
    bool ok = false;
    std::string message; // when !ok: as AnalysisOutcome::message (refused once)
    std::vector<MemberEnvelope> envelope;
    LoadCaseTimes times;
};

// Analyses the frame in `model` under every case of `set` (the model's own
// load tables are replaced; supports are stripped of loads as the load form
// does, without its messages) and calls `sink` for each case and
// combination. A frame the analysis refuses (the model, an unstable frame,
// a case's displacements beyond the program's range) is refused once, with
// the message of today, and the sink is never called. At the end the model holds the
// loads and results of the last call to the sink (the last combination, or
// the last case when there are none), with the load work cleared and
// AnalysisDone = 1 as after ANALYSIS_ON. The midspan moments and rotations of
// members without them are 0 (not left from an earlier analysis). The
// envelope lists the members with long-term combinations, then those with
// short-term ones, each in member order; a term without combinations has no
// rows.
LoadCaseOutcome analyseLoadCases(Model& model, const LoadCaseSet& set, AnalysisProgress& progress,
                                 const CaseResultSink& sink);

// The envelope as a CSV file: UTF-8 with a byte-order mark, one heading row
// with units (e.g. "My(kN·m)"), comma separated, numbers with a dot, lines
// ended by CR LF. Per row: member, 長期/短期, then for each end force of the
// start and the end and for My, Mz along the span: largest, its combination,
// smallest, its combination.
std::string envelopeCsv(const Model& model, const std::vector<MemberEnvelope>& envelope);

// The largest and smallest bending moments about member y and z (force·m, as
// forcesAt gives them) at one point of a member over several combinations.
struct MomentRange {
    double MyLargest = 0, MySmallest = 0, MzLargest = 0, MzSmallest = 0;
};

// The moment envelope of member m over the kept combinations of one term (the
// cases among `results` and results of another frame are passed over): at
// each station x (m from the start node) the range of the moments the
// combinations give there, uniform loads included. Empty when the term has
// no combination. The geometry is the model's; its result tables are not read.
std::vector<MomentRange> momentEnvelope(const Model& model, const std::vector<CaseResult>& results,
                                        LoadTerm term, int m, const std::vector<double>& stations);

} // namespace rahmen
