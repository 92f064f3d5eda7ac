#include "model/CaseResults.h"

#include "model/Model.h"

namespace rahmen {

CaseResult captureCaseResult(const Model& model, const std::string& label,
                             const std::vector<float>& reaction) {
    const int n = model.NodeCount, m = model.MemberCount, dofs = 6 * n;
    CaseResult r;
    r.label = label;
    r.nodeCount = n;
    r.memberCount = m;
    r.loadedNodeCount = model.LoadedNodeCount;
    r.loadedMemberCount = model.LoadedMemberCount;
    for (int d = 1; d <= dofs; ++d) {
        r.nodeLoad.push_back(model.NodeLoad[d]);
        r.displacement.push_back(model.NodeDisplacement[d]);
        r.reaction.push_back(d < int(reaction.size()) ? reaction[d] : 0.0f);
        r.equivalent.push_back(model.EquivalentNodeLoad[d]);
        r.supportEquivalent.push_back(model.SupportEquivalentLoad[d]);
    }
    for (int i = 1; i <= n; ++i)
        r.nodeLoadFlag.push_back(model.NodeLoadFlag[i]);
    for (int e = 1; e <= m; ++e) {
        r.memberUniformLoad.push_back(
            {model.MemberUniformLoad[e][1], model.MemberUniformLoad[e][2]});
        r.memberLoadFlag.push_back(model.MemberLoadFlag[e]);
        std::array<float, 9> f{};
        for (int k = 1; k <= 9; ++k)
            f[k - 1] = model.MemberEndForce[e][k];
        r.endForce.push_back(f);
        std::array<float, 4> s{}, p{};
        for (int k = 1; k <= 4; ++k) {
            s[k - 1] = model.SpringRotation[e][k];
            p[k - 1] = model.PinRotation[e][k];
        }
        r.springRotation.push_back(s);
        r.pinRotation.push_back(p);
        std::array<float, 14> lm{};
        for (int k = 1; k <= 14; ++k)
            lm[k - 1] = model.MemberLoadMoment[e][k];
        r.loadMoment.push_back(lm);
    }
    return r;
}

CaseResult captureCaseResult(const Model& model, const LoadCaseSet& set, std::size_t index,
                             const std::string& label, const std::vector<float>& reaction) {
    CaseResult r = captureCaseResult(model, label, reaction);
    if (index >= set.cases.size()) {
        r.combination = true;
        r.term = set.combinations[index - set.cases.size()].term;
    }
    return r;
}

bool applyCaseResult(Model& model, const CaseResult& r) {
    if (r.nodeCount != model.NodeCount || r.memberCount != model.MemberCount) return false;
    const int n = r.nodeCount, m = r.memberCount, dofs = 6 * n;
    model.LoadedNodeCount = static_cast<int16_t>(r.loadedNodeCount);
    model.LoadedMemberCount = r.loadedMemberCount;
    for (int d = 1; d <= dofs; ++d) {
        model.NodeLoad[d] = r.nodeLoad[d - 1];
        model.NodeDisplacement[d] = r.displacement[d - 1];
        model.EquivalentNodeLoad[d] = r.equivalent[d - 1];
        model.SupportEquivalentLoad[d] = r.supportEquivalent[d - 1];
    }
    for (int i = 1; i <= n; ++i)
        model.NodeLoadFlag[i] = r.nodeLoadFlag[i - 1];
    for (int e = 1; e <= m; ++e) {
        model.MemberUniformLoad[e][1] = r.memberUniformLoad[e - 1][0];
        model.MemberUniformLoad[e][2] = r.memberUniformLoad[e - 1][1];
        model.MemberLoadFlag[e] = r.memberLoadFlag[e - 1];
        for (int k = 1; k <= 9; ++k)
            model.MemberEndForce[e][k] = r.endForce[e - 1][k - 1];
        for (int k = 1; k <= 4; ++k) {
            model.SpringRotation[e][k] = r.springRotation[e - 1][k - 1];
            model.PinRotation[e][k] = r.pinRotation[e - 1][k - 1];
        }
        for (int k = 1; k <= 14; ++k)
            model.MemberLoadMoment[e][k] = r.loadMoment[e - 1][k - 1];
    }
    model.AnalysisDone = 1;
    return true;
}

std::vector<float> caseReactions(const CaseResult& r) {
    std::vector<float> reaction(r.reaction.size() + 1, 0.0f);
    for (std::size_t i = 0; i < r.reaction.size(); ++i)
        reaction[i + 1] = r.reaction[i];
    return reaction;
}

} // namespace rahmen
