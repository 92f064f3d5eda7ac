#include "analysis/CaseReports.h"

#include "analysis/AnalysisFileHandlers.h"
#include "analysis/LoadCaseAnalysis.h"
#include "model/CaseResults.h"
#include "model/DataName.h"
#include "model/Program.h"

namespace rahmen {

namespace {

std::vector<std::string> fileLabels(const LoadCaseSet& set) {
    std::vector<std::string> labels;
    for (const LoadCase& c : set.cases)
        labels.push_back(c.label);
    for (const Combination& c : set.combinations)
        labels.push_back(c.label);
    return labels;
}

// A message box text on one line.
std::string oneLine(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.replace(at, 2, " ");
    return text;
}

} // namespace

std::string caseReportNamesProblem(const std::string& name, const LoadCaseSet& set) {
    std::vector<std::string> labels = fileLabels(set);
    labels.push_back("ENV");
    for (const std::string& label : labels)
        if (std::string problem = dataNameProblem(name + "_" + label); !problem.empty())
            return name + "_" + label + ": " + oneLine(problem);
    return "";
}

bool caseReportsExist(Program& p, const std::string& name, const LoadCaseSet& set) {
    if (p.io.files.exists(name + "_ENV.csv")) return true;
    for (const std::string& label : fileLabels(set))
        if (p.io.files.exists(name + "_" + label + ".adt")) return true;
    return false;
}

CaseReportOutcome analyseCaseReports(Program& p, const LoadCaseSet& set,
                                     const CaseReportOptions& o) {
    Model& m = p.model;
    CaseReportOutcome outcome;
    bool written = true;
    p.caseResults.clear();
    std::vector<CaseResult> results;
    std::size_t calls = 0;
    const CaseResultSink sink = [&](const std::string& label, Model&,
                                    const std::vector<float>& reaction) {
        results.push_back(captureCaseResult(m, set, calls++, label, reaction));
        if (!o.writeFiles) return;
        m.DataName = o.name + "_" + label;
        if (o.beforeWrite) o.beforeWrite(m.DataName + ".adt");
        written = writeReportFile(p, reaction, o.write) && written;
        if (o.afterWrite) o.afterWrite();
    };
    p.progress.begin(p.FontOffset);
    ProgressWindow window(p.progress);
    const LoadCaseOutcome analysed = analyseLoadCases(m, set, window, sink);
    m.DataName = o.name;
    if (!analysed.ok) {
        p.progress.closeWindow();
        p.say(analysed.message, MessageButtons::Ok, MessageIcon::Exclamation);
        return outcome;
    }
    outcome.analysed = true;
    outcome.times = analysed.times;
    p.caseResults = std::move(results);
    if (o.writeFiles) {
        const std::string csv = o.name + "_ENV.csv";
        if (o.beforeWrite) o.beforeWrite(csv);
        if (const FileResult r = p.io.files.writeAtomic(csv, envelopeCsv(m, analysed.envelope));
            !r) {
            p.progress.closeWindow();
            p.say("包絡線のファイルを書けませんでした。\n" + r.error);
            written = false;
        }
        if (o.afterWrite) o.afterWrite();
    }
    outcome.written = written && o.writeFiles;
    if (p.progress.isOpen()) {
        if (o.writeFiles)
            p.progress.finish();
        else
            p.progress.closeWindow();
    }
    return outcome;
}

} // namespace rahmen
