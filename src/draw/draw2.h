#pragma once
// The stress diagrams of the plotting window (FORM13): the plane diagram
// (FORCE_ON), which draws every picked member of a plane parallel to a
// coordinate plane in true elevation or plan with its bending-moment curve and
// its end moments, axial and shear force as value labels; and the
// single-member diagram (SFRCE_ON), which draws the moment diagrams of one
// member about its local y and z axes over two datum lines.
//
// Both are functions of the model with its results, the window's picks and
// the window itself: they draw into the window's picture, hide the angle
// scroll bars, and show their messages through the program. Drawing twice
// gives the same display list.

#include "analysis/MemberResults.h"
#include "model/LoadCases.h"
#include "model/Model.h"

#include <cstdint>
#include <string>

namespace rahmen {

class Canvas;
class Form;
class Program;

// What the plotting window has picked for a stress diagram, and its two
// check boxes. The window owns one; the diagrams read it and clear the picks
// they have drawn.
struct StressSelection {
    Table<int16_t, kMaxMembers> MemberSelected{}; // 1: the member is to be drawn
    std::string PickedPlaneAxis;   // axis normal to the plane: "x", "y", "z"; "" none
    int16_t HideStressValues = 0;  // "応力値非表示": no legend, no labels, no messages
    int16_t HideStressDiagram = 0; // "応力図非表示": no moment curves
};

// The picks of a plane diagram: every member whose two ends lie in the plane
// normal to `axis` ('x', 'y' or 'z') at `coordinate` (cm), as picking three
// nodes of that plane selects them.
StressSelection planeSelection(const Model& model, char axis, float coordinate);

// The bending moments of member m as the diagrams read them (force·m,
// analysis/MemberResults.h): the end moments, and the mid-span moments of a
// uniformly loaded member whose nodes lie in the node table. All are 0 for a
// number outside the member table.
MemberMoments diagramMoments(const Model& model, int m);

// Pixels per unit of moment of the plane diagram, 35 / Mmax with Mmax the
// largest end or mid-span moment of all members; 0 when no member carries a
// moment (or the largest is not a number), and the diagrams then draw no curves.
double stressMomentScale(const Model& model);

// A point of the plane diagram: x to the right, y upward from the bottom of
// the picture (drawn at picture y = 530 − y).
struct PlanePoint {
    double x = 0;
    double y = 0;
};

// The 2-D fit of the whole model into the picked plane. `axis` is the axis
// normal to the plane ('x': the Y–Z plane, 'y': the X–Z plane, 'z': the X–Y plane).
class PlaneLayout {
public:
    PlaneLayout(const Model& model, char axis);
    char axis() const { return axis_; }
    // Pixels per cm: the smallest non-zero candidate of the bounding box, or 1
    // when there is none (a model of one point).
    double scale() const { return k_; }
    PlanePoint node(int n) const;

private:
    const Model& model_;
    char axis_;
    double k_ = 1;
    double xMin_ = 0, yMin_ = 0, zMin_ = 0;
    double wx_ = 0, wy_ = 0;
};

// A value label: rounded to one decimal as 0.1·INT(10·v + 0.5) and written in
// fixed notation ("-12.3", "0.5", "60.0"); "" for a value that is zero (or
// rounds to zero, or is not a number), which gets no label.
std::string stressLabel(double value);

// The plane diagram of the members selected in `picks`, in the plane named by
// picks.PickedPlaneAxis, drawn into the picture of `window` (FORM13). Hides the
// three angle scroll bars and TEXT63–TEXT65, disables BUTTON67, and clears
// every member's selection at the end. A member with a principal-axis angle
// gets a message (once per member and drawing) instead of its diagram.
void FORCE_ON(Program& program, StressSelection& picks, Form& window);

// The single-member diagram of the selected member with the lowest number;
// only that member's selection is cleared. Sets the status line TEXT54.
void SFRCE_ON(Program& program, StressSelection& picks, Form& window);

// The moment envelope of the combinations of one term (Program::caseResults,
// analysis/LoadCaseAnalysis.h) in place of the moment diagrams: for every
// member two curves, the largest and the smallest moment at each point the
// moment curve is drawn at, in its colour and with its closing lines, scaled
// as the plane diagram scales one result; the legend's moment text, and at
// each end the largest and smallest end moment as labels. The model's results
// are not read; the selection is cleared as by FORCE_ON and SFRCE_ON.
void envelopePlaneDiagram(Program& program, StressSelection& picks, Form& window, LoadTerm term);
void envelopeMemberDiagram(Program& program, StressSelection& picks, Form& window, LoadTerm term);

// The check box "応力値非表示": switches the value labels of the next plane
// diagram off and on.
void CHVAL_ON(StressSelection& picks);

} // namespace rahmen
