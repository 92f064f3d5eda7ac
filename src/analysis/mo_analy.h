#pragma once
// The interactive analysis of the plotting window ("マウス骨組解析") apart from
// its pictures: which nodes a pick may load, the loads stored on the model
// (SET_LOAD's work), taking them all away again for "再解析", the material
// chosen, and the analysis run from the window. The window (draw/Form13)
// reads its boxes and picks, calls these and shows the outcome; CALL_LOAD,
// which reads the loads of a report, lives with the report reader
// (analysis/AnalysisFile).

#include <cstdint>
#include <string>
#include <vector>

namespace rahmen {

class Program;
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

// Takes every load off the frame: the nodal and uniform loads, their flags
// and both counts. The window's "再解析" starts again from a frame without loads.
void clearLoads(Model& model);

// A support takes no nodal load here (the analysis holds every direction
// there): the message refusing a nodal-load pick of `node`, empty when the
// node may be picked.
std::string refusedLoadNode(const Model& model, int node);

// The nodes a pick of `node` adds when its whole level is chosen: every other
// node among 1..nodeCount at the same Z, in number order, except those in
// `picked`. Supports are listed with `support` set, to be named and left out.
struct LevelNode {
    int node = 0;
    bool support = false;
};
std::vector<LevelNode> sameLevelNodes(const Model& model, int node, int nodeCount,
                                      const std::vector<int16_t>& picked);

// The material chosen in the window ("　Ｓ　造", "　ＲＣ造", "E/S　入力").
enum class StructureType : int16_t { None = 0, Steel = 1, Concrete = 2, TypedModuli = 3 };

// Sets the moduli of the model for the structure type: the steel or concrete
// constants, or the typed Young's modulus e and shear modulus g.
void chooseStructure(Model& model, StructureType type, float e = 0, float g = 0);

// Analyses the frame with the loads applied (ANALYSIS_ON: a report is written
// unless SkipAnalysisFile is -1). After a completed analysis the main menu's
// buttons that would change the frame under its results are disabled. False
// when the analysis was refused or failed; its message has been shown.
bool analyseAppliedLoads(Program& program);

} // namespace rahmen
