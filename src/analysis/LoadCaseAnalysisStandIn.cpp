// TEMPORARY stand-in for the load-case analysis, so that rahmen-batch can be
// built and tested before the real one exists: a full analysis for every case
// and every combination, and an envelope file with its heading only. To be
// replaced by the one-decomposition analysis of LoadCaseAnalysis.h.

#include "analysis/LoadCaseAnalysis.h"

#include "model/Limits.h"
#include "model/Model.h"

#include <algorithm>

namespace rahmen {

namespace {

void clearLoads(Model& m) {
    m.NodeLoad = {};
    m.NodeLoadFlag = {};
    m.LoadedNodeCount = 0;
    m.MemberUniformLoad = {};
    m.MemberLoadFlag = {};
    m.LoadedMemberCount = 0;
}

bool analyseOne(Model& m, const std::string& label, AnalysisProgress& progress,
                const CaseResultSink& sink, LoadCaseOutcome& outcome) {
    const AnalysisOutcome one = runAnalysis(
        m, progress, [&](Model& model, const std::vector<float>& reaction, AnalysisProgress&) {
            sink(label, model, reaction);
        });
    if (!one.ok) outcome.message = one.message;
    return one.ok;
}

const LoadCase* findCase(const LoadCaseSet& set, const std::string& label) {
    for (const LoadCase& c : set.cases)
        if (c.label == label) return &c;
    return nullptr;
}

} // namespace

LoadCaseOutcome analyseLoadCases(Model& m, const LoadCaseSet& set, AnalysisProgress& progress,
                                 const CaseResultSink& sink) {
    LoadCaseOutcome outcome;
    for (const LoadCase& c : set.cases) {
        clearLoads(m);
        addCaseLoads(m, c, 1.0);
        if (!analyseOne(m, c.label, progress, sink, outcome)) return outcome;
    }
    for (const Combination& combination : set.combinations) {
        clearLoads(m);
        for (const CombinationTerm& t : combination.terms)
            if (const LoadCase* c = findCase(set, t.caseLabel)) addCaseLoads(m, *c, t.factor);
        if (!analyseOne(m, combination.label, progress, sink, outcome)) return outcome;
    }
    outcome.ok = true;
    return outcome;
}

std::string envelopeCsv(const Model&, const std::vector<MemberEnvelope>&) {
    return "\xEF\xBB\xBF部材,期間\r\n";
}

} // namespace rahmen
