#pragma once
// The loads of the plotting window's interactive analysis: storing a load
// typed for the picked nodes or the picked member (SET_LOAD's work on the
// model). The window itself (draw/Form13) reads the boxes and the picks and
// calls these; CALL_LOAD, which reads the loads of a report, lives with the
// report reader (analysis/AnalysisFile).

#include <cstdint>
#include <vector>

namespace rahmen {

struct Model;

// The six values typed for a nodal load: forces X, Y, Z, then the moments
// about X, Y, Z in force·m as the user types them.
struct TypedNodalLoad {
    float value[6] = {0, 0, 0, 0, 0, 0};
};

// Gives each node of `nodes` the load (moments × 100, force·cm), replacing
// (not adding to) a load it had; LoadedNodeCount grows by the nodes that had
// none. Numbers outside 1..NodeCount are passed over. Returns the number of
// nodes that were already loaded.
int storeNodalLoad(Model& model, const std::vector<int16_t>& nodes, const TypedNodalLoad& load);

// Gives member m the uniform loads wy and wz (force/m, member y and z),
// replacing a load it had. A member that gets 0 in both carries no load: its
// flag is cleared and LoadedMemberCount counts it no longer, so that the count
// always equals the members a report lists. Nothing for m outside 1..MemberCount.
void storeUniformLoad(Model& model, int m, float wy, float wz);

} // namespace rahmen
