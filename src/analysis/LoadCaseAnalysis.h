#pragma once
// The analysis of every load case of a frame at once, and its combinations by
// superposition: one assembly and one decomposition of the frame, one
// substitution per case, and each combination as the factored sum of its
// cases' results (displacements, end forces, reactions, rotations, the member
// results along the span) — never a new analysis.

#include "analysis/ana.h"
#include "model/LoadCases.h"

#include <functional>
#include <string>
#include <vector>

namespace rahmen {

struct Model;

// Called once per case (in the set's order) and then once per combination
// (in its order), with the model's load tables holding the loads of that case
// or combination and its result tables the results, exactly as after
// ANALYSIS_ON with those loads, and with the support reactions per degree of
// freedom (as AnalysisOutcome::Reaction): the caller writes its report.
using CaseResultSink = std::function<void(const std::string& label, Model& model,
                                          const std::vector<float>& reaction)>;

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

struct LoadCaseOutcome {
    bool ok = false;
    std::string message; // when !ok: as AnalysisOutcome::message (refused once)
    std::vector<MemberEnvelope> envelope;
};

// Analyses the frame in `model` under every case of `set` (the model's own
// load tables are replaced; supports are stripped of loads as the load form
// does) and calls `sink` for each case and combination. A frame the analysis
// refuses is refused once, with the message of today.
LoadCaseOutcome analyseLoadCases(Model& model, const LoadCaseSet& set,
                                 AnalysisProgress& progress, const CaseResultSink& sink);

// The envelope as a CSV file: UTF-8 with a byte-order mark, one heading row
// with units (e.g. "My(kN·m)"), comma separated, numbers with a dot.
std::string envelopeCsv(const Model& model, const std::vector<MemberEnvelope>& envelope);

} // namespace rahmen
