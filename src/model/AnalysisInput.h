#pragma once
// What the analysis conditions and load forms set in the model before an
// analysis, shared with the command-line analysis: the standard material
// constants and the removal of nodal loads from support nodes.

#include <vector>

namespace rahmen {

class Program;
struct Model;

// The standard material constants of the analysis conditions form in the
// model's unit system: steel (205000 / 79000 N/mm², 2100 / 810 tf/cm²) and
// concrete (210 and 90 times the unit factor).
void setSteelConstants(Model& model);
void setConcreteConstants(Model& model);

// What the load form does for every row of loads it stores: node `n` marked
// as loaded and the loaded-node count raised (it only has to tell "none" from
// "some", so it stops at its largest value instead of wrapping round); member
// `e` marked as loaded and counted once.
void markNodeLoaded(Model& model, int n);
void markMemberLoaded(Model& model, int e);

// What the load form does before the analysis: every support node loses its
// nodal load, with one message "支持点n は荷重付加点から除きます。" per node.
void stripSupportLoads(Program& program);
// The same on the model alone, without messages: the nodes stripped, in order.
std::vector<int> stripSupportLoads(Model& model);

} // namespace rahmen
