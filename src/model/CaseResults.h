#pragma once
// The loads and results of one load case or combination as the analysis of
// all cases left them in the model: kept by the program after that analysis,
// so that the plotting window, the member and storey checks can put any case
// or combination back into the model's tables and read it as after a single
// analysis of its loads.

#include "model/LoadCases.h"

#include <array>
#include <string>
#include <vector>

namespace rahmen {

struct Model;

struct CaseResult {
    std::string label;
    bool combination = false;       // false: a load case
    LoadTerm term = LoadTerm::Long; // of a combination
    int nodeCount = 0, memberCount = 0;

    // Loads (as the load form stores them) and results, rows 1..count at 0..count-1.
    std::vector<float> nodeLoad;     // 6 per node
    std::vector<float> nodeLoadFlag; // per node
    std::vector<std::array<float, 2>> memberUniformLoad;
    std::vector<float> memberLoadFlag;
    int loadedNodeCount = 0;
    float loadedMemberCount = 0;
    std::vector<double> displacement;                 // 6 per node
    std::vector<float> reaction;                      // 6 per node
    std::vector<float> equivalent, supportEquivalent; // 6 per node
    std::vector<std::array<float, 9>> endForce;
    std::vector<std::array<float, 4>> springRotation, pinRotation;
    std::vector<std::array<float, 14>> loadMoment;
};

// The loads and results in the model now (`reaction` 1..6n as the analysis
// hands them to its report writer).
CaseResult captureCaseResult(const Model& model, const std::string& label,
                             const std::vector<float>& reaction);

// The result the analysis of `set` hands over `index`-th (0-based): its cases
// in their order, then its combinations, each marked with its term.
CaseResult captureCaseResult(const Model& model, const LoadCaseSet& set, std::size_t index,
                             const std::string& label, const std::vector<float>& reaction);

// Puts a captured case or combination back into the model's load and result
// tables (AnalysisDone = 1). The frame must be the one it was captured from
// (the same node and member counts); returns false and changes nothing
// otherwise.
bool applyCaseResult(Model& model, const CaseResult& result);

// The reactions of a captured result as the report writer takes them (1..6n).
std::vector<float> caseReactions(const CaseResult& result);

} // namespace rahmen
