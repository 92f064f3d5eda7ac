#include "forms/CaseChecks.h"

#include "model/Model.h"
#include "model/Program.h"
#include "platform/Files.h"

#include <memory>

namespace rahmen {

bool hasCombinationResults(const Program& p) {
    for (const CaseResult& r : p.caseResults)
        if (r.combination) return true;
    return false;
}

std::vector<MemberCheck> caseMemberChecks(Program& p, std::string& problem) {
    CheckConditions conditions;
    problem = readCheckConditions(p.io.files, p.model, conditions);
    if (!problem.empty()) conditions = {};
    // checkCombinations puts every combination into the model in turn; the
    // whole model is kept and put back, so that whatever the plotting window
    // shows (a case, a combination, its loads) stays as it was.
    const auto before = std::make_unique<Model>(p.model);
    std::vector<MemberCheck> rows = checkCombinations(p.model, p.caseResults, conditions);
    p.model = *before;
    return rows;
}

bool caseCheckFilesExist(Program& p, const std::string& name) {
    return !p.loadCases.combinations.empty() &&
           (p.io.files.exists(name + "_CHK.csv") || p.io.files.exists(name + ".chk"));
}

void writeCaseChecks(Program& p, const std::string& name) {
    if (name.empty() || !hasCombinationResults(p)) return;
    std::string problem;
    const std::vector<MemberCheck> rows = caseMemberChecks(p, problem);
    if (!problem.empty())
        p.say("検定条件ファイルを読めません。既定の条件で検定します。\r\n" + problem);
    if (const std::string why = nothingCheckedReason(rows); !why.empty()) p.say(why);
    if (const std::string failed = writeCheckFiles(p.io.files, p.model, name, rows);
        !failed.empty())
        p.say(failed);
}

} // namespace rahmen
