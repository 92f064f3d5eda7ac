#include "model/AnalysisInput.h"

#include "model/Program.h"

#include <cstdint>
#include <limits>
#include <string>

namespace rahmen {

void setSteelConstants(Model& m) {
    const bool older = m.UnitFactor == 1.0f;
    m.YoungModulus = older ? 2100.0f : 205000.0f;
    m.ShearModulus = older ? 810.0f : 79000.0f;
}

void setConcreteConstants(Model& m) {
    // In single precision, as the program has always computed them.
    m.YoungModulus = 210.0f * m.UnitFactor;
    m.ShearModulus = 90.0f * m.UnitFactor;
}

void markNodeLoaded(Model& m, int n) {
    m.NodeLoadFlag[n] = 1;
    if (m.LoadedNodeCount < std::numeric_limits<int16_t>::max()) ++m.LoadedNodeCount;
}

void markMemberLoaded(Model& m, int e) {
    if (m.MemberLoadFlag[e] != 0) return;
    m.MemberLoadFlag[e] = 1;
    m.LoadedMemberCount += 1;
}

std::vector<int> stripSupportLoads(Model& m) {
    std::vector<int> stripped;
    const int nodes = m.NodeCount < kMaxNodes ? m.NodeCount : kMaxNodes;
    for (int n = 1; n <= nodes; ++n) {
        if (m.NodeIsSupport[n] != -1 || m.NodeLoadFlag[n] != 1) continue;
        for (int d = 6 * n - 5; d <= 6 * n; ++d)
            m.NodeLoad[d] = 0;
        if (m.LoadedNodeCount > std::numeric_limits<int16_t>::min()) --m.LoadedNodeCount;
        m.NodeLoadFlag[n] = 0;
        stripped.push_back(n);
    }
    return stripped;
}

void stripSupportLoads(Program& p) {
    for (int n : stripSupportLoads(p.model))
        p.say("支持点" + std::to_string(n) + " は荷重付加点から除きます。");
}

} // namespace rahmen
