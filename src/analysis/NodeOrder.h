#pragma once
// The order in which the analysis numbers the nodes of its band matrix.
//
// The cost of the banded decomposition grows with N·hb², and hb follows from
// the largest difference of the two node positions of a member. The user's
// numbering may make that difference as large as the frame (editing inserts
// nodes anywhere), so the analysis chooses its own order: among the user's
// numbering, the reverse Cuthill–McKee order of the node graph and sweeps
// through the frame along each coordinate axis (which, for a regular grid,
// cross its smallest section), the one with the narrowest band. Results are
// mapped back to the user's numbering, so the order changes rounding only.

#include "analysis/FrameView.h"

#include <vector>

namespace rahmen {

struct Model;

struct NodeOrder {
    // position[n]: 0-based place of node n (1..NodeCount) in the band; index 0 unused.
    std::vector<int> position;
    // The largest position difference of the two nodes of a member.
    int maxDifference = 0;
    // Half band width of the degrees of freedom in this order, 6 · (maxDifference + 1).
    int halfBandWidth() const { return 6 * (maxDifference + 1); }
};

// The largest position difference over all members (members with a node outside
// 1..NodeCount are not counted: the analysis refuses them beforehand).
int positionSpread(const FrameView& frame, const std::vector<int>& position);
int positionSpread(const Model& model, const std::vector<int>& position);

// Reverse Cuthill–McKee positions of the node graph, each connected part started
// from a pseudo-peripheral node; nodes without members come last.
std::vector<int> reverseCuthillMcKee(const FrameView& frame);
std::vector<int> reverseCuthillMcKee(const Model& model);

// The order with the narrowest band among the candidates above; the user's
// numbering wins ties, so a well-numbered frame is solved as numbered.
NodeOrder chooseNodeOrder(const FrameView& frame);
NodeOrder chooseNodeOrder(const Model& model);

} // namespace rahmen
