#include "analysis/mo_analy.h"

#include "analysis/ana.h"
#include "model/AnalysisInput.h"
#include "model/Model.h"
#include "model/Program.h"

#include <algorithm>

namespace rahmen {

int storeNodalLoad(Model& md, const std::vector<int16_t>& nodes, const TypedNodalLoad& load) {
    const int last = std::clamp<int>(md.NodeCount, 0, kMaxNodes);
    int alreadyLoaded = 0;
    int newlyLoaded = 0;
    for (const int n : nodes) {
        if (n < 1 || n > last) continue;
        if (md.NodeLoadFlag[n] == 1)
            ++alreadyLoaded;
        else
            ++newlyLoaded;
        md.NodeLoadFlag[n] = 1;
        for (int k = 0; k < 6; ++k)
            md.NodeLoad[6 * (n - 1) + 1 + k] =
                k < 3 ? load.value[k] : load.value[k] * kHeldMomentScale;
    }
    md.LoadedNodeCount = static_cast<int16_t>(md.LoadedNodeCount + newlyLoaded);
    return alreadyLoaded;
}

void storeUniformLoad(Model& md, int m, float wy, float wz) {
    if (m < 1 || m > std::clamp<int>(md.MemberCount, 0, kMaxMembers)) return;
    md.MemberUniformLoad[m][1] = wy;
    md.MemberUniformLoad[m][2] = wz;
    const bool loaded = wy != 0.0f || wz != 0.0f;
    if (loaded && md.MemberLoadFlag[m] != 1) {
        md.MemberLoadFlag[m] = 1;
        md.LoadedMemberCount += 1;
    } else if (!loaded && md.MemberLoadFlag[m] == 1) {
        md.MemberLoadFlag[m] = 0;
        md.LoadedMemberCount -= 1;
    }
}

void clearLoads(Model& md) {
    const int nodes = std::clamp<int>(md.NodeCount, 0, kMaxNodes);
    for (int n = 1; n <= nodes; ++n) {
        md.NodeLoadFlag[n] = 0;
        for (int k = 6 * n - 5; k <= 6 * n; ++k)
            md.NodeLoad[k] = 0;
    }
    const int members = std::clamp<int>(md.MemberCount, 0, kMaxMembers);
    for (int m = 1; m <= members; ++m) {
        md.MemberLoadFlag[m] = 0;
        md.MemberUniformLoad[m][1] = md.MemberUniformLoad[m][2] = 0;
    }
    md.LoadedNodeCount = 0;
    md.LoadedMemberCount = 0;
}

std::string refusedLoadNode(const Model& md, int node) {
    return md.NodeIsSupport[node] == -1 ? "支持点に荷重は付加できません。" : "";
}

std::vector<LevelNode> sameLevelNodes(const Model& md, int node, int nodeCount,
                                      const std::vector<int16_t>& picked) {
    std::vector<LevelNode> level;
    const int last = std::clamp(nodeCount, 0, kMaxNodes);
    for (int k = 1; k <= last; ++k) {
        if (k == node || md.NodeZ[k] != md.NodeZ[node]) continue;
        const bool support = md.NodeIsSupport[k] == -1;
        // A node picked before is not picked twice.
        if (!support && std::find(picked.begin(), picked.end(), k) != picked.end()) continue;
        level.push_back({k, support});
    }
    return level;
}

void chooseStructure(Model& md, StructureType type, float e, float g) {
    switch (type) {
    case StructureType::Steel:
        setSteelConstants(md);
        break;
    case StructureType::Concrete:
        setConcreteConstants(md);
        break;
    case StructureType::TypedModuli:
        md.YoungModulus = e;
        md.ShearModulus = g;
        break;
    case StructureType::None:
        break;
    }
}

bool analyseAppliedLoads(Program& program) {
    if (!ANALYSIS_ON(program)) return false;
    program.menuEnable({}, {"BUTTON3", "BUTTON35", "BUTTON93"});
    return true;
}

} // namespace rahmen
