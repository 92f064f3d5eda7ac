#include "draw/CaseChoice.h"

#include "model/CaseResults.h"
#include "model/Model.h"
#include "model/Program.h"

namespace rahmen {

namespace {

const char* termText(LoadTerm term) {
    return term == LoadTerm::Long ? "長期" : "短期";
}

} // namespace

std::vector<CaseChoiceEntry> caseChoiceEntries(const Program& program) {
    std::vector<CaseChoiceEntry> entries;
    bool terms[2] = {false, false};
    const auto& results = program.caseResults;
    for (std::size_t i = 0; i < results.size(); ++i) {
        const CaseResult& r = results[i];
        CaseChoiceEntry e;
        e.result = static_cast<int>(i);
        e.term = r.term;
        if (!r.combination) {
            e.item = r.label;
            e.title = "荷重ケース " + r.label;
        } else {
            terms[r.term == LoadTerm::Long ? 0 : 1] = true;
            e.item = r.label + "（" + termText(r.term) + "）";
            for (const Combination& c : program.loadCases.combinations)
                if (c.label == r.label) e.item += combinationExpression(c);
            e.title = "組合せ " + e.item;
        }
        entries.push_back(e);
    }
    for (LoadTerm term : {LoadTerm::Long, LoadTerm::Short}) {
        if (!terms[term == LoadTerm::Long ? 0 : 1]) continue;
        CaseChoiceEntry e;
        e.item = e.title = std::string(termText(term)) + "包絡";
        e.envelope = true;
        e.term = term;
        entries.push_back(e);
    }
    return entries;
}

int resultInModel(const Model& model, const std::vector<CaseResult>& results) {
    for (std::size_t i = 0; i < results.size(); ++i) {
        const CaseResult& r = results[i];
        if (r.nodeCount != model.NodeCount || r.memberCount != model.MemberCount) continue;
        bool same = true;
        for (std::size_t d = 0; d < r.displacement.size() && same; ++d)
            same = r.displacement[d] == model.NodeDisplacement[d + 1];
        for (std::size_t m = 0; m < r.endForce.size() && same; ++m)
            for (int k = 1; k <= 9 && same; ++k)
                same = r.endForce[m][k - 1] == model.MemberEndForce[m + 1][k];
        if (same) return static_cast<int>(i);
    }
    return -1;
}

} // namespace rahmen
