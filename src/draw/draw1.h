#pragma once
// The frame diagram and the deformation diagram of the plotting window, and
// the member and node marking they share with the other pictures of the frame.
//
// A drawing is a function of the model, the results and the window's view: it
// clears the form's picture and draws it again, so drawing twice gives the same
// display list. Where a drawing waits (for the view angles, for one key press
// before its labels) it returns with that wait noted in the PlotState; the
// window's next event moves it on:
//   scroll bar moved          -> SCROLL_CHANGE1
//   BUTTON79 (angle/enlarge)  -> LOOP_END1
//   key pressed               -> DRAW_KEY
//
// The form handed in is the plotting window: it must have the controls
// BUTTON79, BUTTON67, BUTTON69, TEXT54, HSCROLL1, VSCROLL1, VSCROLL2, RADIO57,
// RADIO58, RADIO59 and CHECK17, and a picture.

#include "draw/PlotState.h"
#include "draw/Projection.h"
#include "platform/Canvas.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace rahmen {

class Form;
class Program;
struct Model;

// ---- status texts of the plotting window
extern const char* const kFrameAngleStatus;    // frame diagram waiting for angles
extern const char* const kDeformAngleStatus;   // deformation diagram waiting for angles
extern const char* const kPressKeyStatus;      // "何かキーを押してください。"
extern const char* const kChooseDiagramStatus; // no drawing running

// ---- marking the frame (also used by the editing window and the picking picture)

// Per-node work marks of one picture: a pinned or sprung member end at the
// node, and the number of member ends meeting there (1-based, by node).
struct FrameMarks {
    std::vector<int16_t> pin, spring, members;
    explicit FrameMarks(int nodeCount = 0);
};

// The thirds of member m next to a pinned end (kLightMagenta) and a sprung end
// (kMagenta).
void drawReleaseThirds(const Model& model, const ViewState& view, Canvas& canvas, int m);

// One member as a straight line in `colour`; notes its pins and springs in the
// marks, and in the enlarged view (DrawState 1) draws the third next to a
// pinned end in kLightMagenta and next to a sprung end in kMagenta. Counts the
// member at both end nodes.
void drawMember(const Model& model, const ViewState& view, Canvas& canvas, int m, int colour,
                FrameMarks& marks);

// The marks of every node, in this order: pin (kLightMagenta, radius 3 or 4
// with a spring) and spring (kMagenta, radius 3) circles; a support's filled
// circle (kGreen, radius 2), otherwise a circle (kCyan, radius 3) where exactly
// two members meet and there is neither pin nor spring. Clears the marks.
void drawNodeMarks(const Model& model, const ViewState& view, Canvas& canvas, FrameMarks& marks);

// The local axes of member m (x kLightBlue, y kLightMagenta, z kMagenta; 15
// pixels long) from its midpoint.
void EL_CO3(const Model& model, const ViewState& view, Canvas& canvas, int m);

struct FrameStyle {
    // Colour of member m; empty: kCyan.
    std::function<int(int m)> memberColour;
    bool memberAxes = false;
};

// Every member and node mark of the frame in the placed view, as the frame
// diagram draws them (no clear, no triad).
// The legend of the local-axis marks (EL_CO3): which colour is x, y and z,
// one block of overlay labels the shown picture puts where it covers nothing.
void drawAxisLegend(Canvas& canvas);

void drawFrameMarks(const Model& model, const ViewState& view, Canvas& canvas,
                    const FrameStyle& style = {});

// ---- the frame diagram

// "骨組図": starts the frame diagram in the normal view and waits for the
// angles. While another frame or deformation drawing runs, ends that one instead.
void FRAME0_ON(Program& program, PlotState& plot, Form& form);

// ---- the deformation diagram

// The displacement scale D (pixels per cm of displacement) for the frame scale
// s (pixels per cm), from the largest displacement and the estimated
// uniform-load deflections. `largest` receives U (cm).
double deformationScale(const Model& model, double s, double* largest = nullptr);

// The deformed curve of member m in the placed (enlarged) view: the member's
// deflected shape (analysis/MemberResults.h) at D pixels per cm of
// displacement and s, the scale of that picture, per cm of length, placed and
// projected. One point per pixel of deformed length; a member under one pixel
// long is drawn as the chord between its displaced ends. Nothing of the model
// changes.
struct MemberCurve {
    std::vector<PicturePoint> points;
    // The same points in member axes (pixels, from the start node's place):
    // x along the member, y and z across.
    std::vector<std::array<double, 3>> local;
    bool chordOnly = false;
};
MemberCurve memberCurve(const Model& model, const ViewState& view, int m, double D);

// "変形図": starts the deformation diagram (at once in the enlarged view after
// an interactive analysis that wrote no report).
void DEFORM_ON(Program& program, PlotState& plot, Form& form);

// ---- events while a frame or deformation drawing runs

// A scroll bar moved: the plain rotated frame with the stored normal fit.
void SCROLL_CHANGE1(Program& program, PlotState& plot, Form& form);

// BUTTON79: first press shows the enlarged picture, second press ends the drawing.
void LOOP_END1(Program& program, PlotState& plot, Form& form);

// A key pressed in the window: the labels a drawing waited for.
void DRAW_KEY(Program& program, PlotState& plot, Form& form);

// The running frame or deformation drawing again for new results in the
// model (another load case or combination), as it stands: waiting for the
// angles, the turned frame; the enlarged deformation picture with its scale
// worked out afresh, waiting for the key press again (the enlarged frame
// diagram only when PlotState::framePicture draws it, as redrawFrame).
void redrawRunning(Program& program, PlotState& plot, Form& form);

// The running frame diagram again as it stands (its frame drawn by
// PlotState::framePicture or not): waiting for the angles, the turned
// frame; enlarged, the enlarged picture, waiting for the key press again.
void redrawFrame(Program& program, PlotState& plot, Form& form);

// Ends the running frame or deformation drawing (picture cleared, buttons
// back to choosing a diagram).
void endDrawing(Program& program, PlotState& plot, Form& form);

} // namespace rahmen
