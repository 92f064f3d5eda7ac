#include "forms/StoreyFiles.h"

#include "checks/StoreyCheck.h"
#include "model/Program.h"
#include "platform/Sjis.h"

#include <algorithm>
#include <utility>

namespace rahmen {

bool hasSeismicCase(const LoadCaseSet& set) {
    return std::any_of(set.cases.begin(), set.cases.end(),
                       [](const LoadCase& c) { return c.kind == LoadKind::Seismic; });
}

bool storeyFilesExist(Program& p, const std::string& name, const LoadCaseSet& set) {
    return hasSeismicCase(set) &&
           (p.io.files.exists(name + "_STY.csv") || p.io.files.exists(name + ".sty"));
}

bool writeStoreyFiles(Program& p, const std::string& name) {
    if (name.empty() || !hasSeismicCase(p.loadCases)) return true;
    const StoreyCheckResult result = checkStoreys(p.model, p.loadCases, p.caseResults);
    if (!result.problem.empty()) {
        // The reports are there; the storey table is not, and the progress
        // window (still open over the reports it lists) says why.
        if (p.progress.isOpen()) p.progress.print("　層の検定なし：" + result.problem);
        return true;
    }
    const std::pair<std::string, std::string> files[] = {
        {name + "_STY.csv", storeyCsv(result)},
        {name + ".sty", utf8ToCp932(storeyReportText(result, name))}};
    for (const auto& [file, bytes] : files)
        if (const FileResult written = p.io.files.writeAtomic(file, bytes); !written) {
            p.say("層の検定のファイルを書けませんでした。\n" + file + "\n" + written.error);
            return false;
        }
    return true;
}

} // namespace rahmen
