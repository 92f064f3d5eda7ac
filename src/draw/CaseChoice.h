#pragma once
// What the plotting window offers to show of a frame analysed under load
// cases (Program::caseResults): every case, every combination, and the
// moment envelopes of the long-term and the short-term combinations.

#include "model/LoadCases.h"

#include <string>
#include <vector>

namespace rahmen {

class Program;
struct CaseResult;
struct Model;

struct CaseChoiceEntry {
    std::string item;  // the entry of the drop-down list
    std::string title; // what the window's caption adds while it is shown
    int result = -1;   // index into Program::caseResults; -1 for an envelope
    bool envelope = false;
    LoadTerm term = LoadTerm::Long; // of a combination or an envelope
};

// The entries in the order of caseResults: a case as its label ("G"), a
// combination as its label, term and expression ("S1（短期）G+P+KX"; the
// expression only when the program's load cases still name it), then
// "長期包絡" and "短期包絡" for the terms that have combinations. Empty without
// case results.
std::vector<CaseChoiceEntry> caseChoiceEntries(const Program& program);

// The kept result whose displacements and end forces the model holds now (the
// first such), or -1 when none does (or the model is another frame).
int resultInModel(const Model& model, const std::vector<CaseResult>& results);

} // namespace rahmen
