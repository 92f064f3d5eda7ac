#pragma once
// Picking a node with the mouse on a picture of the frame: the node nearest
// to the click in the picture that is on screen (normal or enlarged), so that
// what the user clicks is what the program takes.

namespace rahmen {

struct Model;
struct ViewState;

// The node nearest to the picture point (x, y) among the placed nodes of the
// view, the first one on ties; 0 when none lies within 10 pixels.
int nearestNode(const ViewState& view, int x, int y);

// The member joining nodes a and b in either direction (the first one), 0 when
// there is none.
int memberBetween(const Model& model, int a, int b);

} // namespace rahmen
