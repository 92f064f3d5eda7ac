#pragma once
// The loads of the model drawn over the frame and deformation diagrams when
// the plotting window's "荷重表示" is on: an arrow at every node with a nodal
// force, and a row of small arrows along every member with a uniform load,
// each with its value and unit as a label the shown picture may move.

#include "draw/Projection.h"
#include "platform/Canvas.h"

#include <string>

namespace rahmen {

struct Model;

// Length in picture pixels of a nodal force's arrow and of the arrows along
// a uniformly loaded member.
constexpr double kNodeArrowLength = 36;
constexpr double kMemberArrowLength = 14;
constexpr int kNodeLoadColour = kRed;
constexpr int kMemberLoadColour = kLightRed;

// A load's value as its label: at most two decimals, without trailing zeros,
// and the unit ("kN", "kN/m"; "t", "t/m" in the older units).
std::string loadText(double value, const char* unit);

// The arrows of the loads in the model's load tables (NodeLoad's forces,
// MemberUniformLoad) in the placed view. An arrow points along the load's
// direction projected into the view and ends at the node, or on the member;
// a load seen end on draws no arrow, only its value. The arrows are lines of
// the picture labels keep clear of (a member's own load label may lie on its
// arrows); the values are labels.
void drawLoadArrows(const Model& model, const ViewState& view, Canvas& canvas);

} // namespace rahmen
