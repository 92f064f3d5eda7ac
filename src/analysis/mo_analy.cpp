#include "analysis/mo_analy.h"

#include "model/Model.h"

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
            md.NodeLoad[6 * (n - 1) + 1 + k] = k < 3 ? load.value[k] : load.value[k] * 100.0f;
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

} // namespace rahmen
