#pragma once
// The analysis of every load case of the program's frame with its files: a
// report NAME_LABEL.adt per case and combination (the report writer of a
// single analysis) and the envelope NAME_ENV.csv, and the snapshot of each
// case and combination in Program::caseResults. The load-case form, the grid
// generation and rahmen-batch all analyse their cases through it.

#include "analysis/AnalysisFileHandlers.h"
#include "analysis/LoadCaseAnalysis.h"
#include "model/LoadCases.h"

#include <functional>
#include <string>

namespace rahmen {

class Program;

// The problem with the names NAME_LABEL.adt of the reports of every case and
// combination and NAME_ENV.csv ("" when all are data names).
std::string caseReportNamesProblem(const std::string& name, const LoadCaseSet& set);

// Whether any of those files exists in the current folder already.
bool caseReportsExist(Program& program, const std::string& name, const LoadCaseSet& set);

struct CaseReportOptions {
    std::string name;       // NAME of the files
    bool writeFiles = true; // false: the results only (nothing written)
    // Around the writing of each file (its name), for a caller that names the
    // file in its messages or times the writing.
    std::function<void(const std::string& fileName)> beforeWrite;
    std::function<void()> afterWrite;
    // Where the reports' bytes go (by default straight to their files): a
    // caller may write them later and report failures itself.
    ReportFileWrite write;
};

struct CaseReportOutcome {
    bool analysed = false; // false: refused, with today's message shown once
    bool written = false;  // every file written (a failure is shown)
    LoadCaseTimes times;   // of the analysis's phases
};

// Analyses the frame under every case of `set` with the progress window
// (FORM12) and fills Program::caseResults (cases, then combinations, with
// their term). Each report goes through the report writer without the
// question about an existing file: NAME_LABEL follows from NAME, and the
// caller asks once for all of them. The model keeps the loads and results of
// the last combination (the last case without combinations), AnalysisDone = 1
// and DataName = NAME. A refused frame leaves caseResults empty.
CaseReportOutcome analyseCaseReports(Program& program, const LoadCaseSet& set,
                                     const CaseReportOptions& options);

} // namespace rahmen
