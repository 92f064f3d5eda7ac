#pragma once
// The 3-D view every picture of the frame uses: node coordinates centred on
// the bounding box of all nodes, turned by the three scroll-bar angles (about
// Z, then X, then Y), projected isometrically and fitted into the picture.
//
// Each window that shows the frame owns one ViewState (the plotting window and
// the editing window each keep their own). With all angles 0 the global X axis
// points to the lower left, Y to the lower right and Z straight up.
//
// Picture coordinates are pixels, x to the right and y downward. A projected
// node is held as its x (ScreenX) and its height above the baseline
// (ScreenH) and drawn at y = Baseline - ScreenH.

#include "model/Model.h"
#include "platform/Canvas.h"

#include <cstdint>
#include <vector>

namespace rahmen {

class Form;

// The two boxes a picture is fitted into.
enum class FitBox {
    Normal,  // 330 x 330, centred in 680 x 480, baseline 530
    Enlarged // 520 x 440, centred in 680 x 660, baseline 590
};

constexpr float kNormalBaseline = 530.0f;
constexpr float kEnlargedBaseline = 590.0f;

// Scale and placement of one picture.
struct ViewFit {
    float scale = 1.0f; // pixels per cm
    float offsetX = 0.0f;
    float offsetY = 0.0f;
    float minU = 0.0f;
    float minV = 0.0f;
};

// A point of the picture, or an offset in picture pixels (u to the right, v up).
struct PicturePoint {
    double x = 0.0;
    double y = 0.0;
};
struct ProjectedOffset {
    double u = 0.0;
    double v = 0.0;
};

struct ViewState {
    // Angles of the three scroll bars, rad: HSCROLL1, VSCROLL1, VSCROLL2 / 1000.
    float ViewAngleZ = 0.0f;
    float ViewAngleX = 0.0f;
    float ViewAngleY = 0.0f;

    // Isometric constants; IsoC2 and IsoC3 are the rounded values the
    // pictures have always used, not -1/sqrt(6) and sqrt(2/3).
    float IsoC1 = static_cast<float>(1.0 / 1.4142135623730951);
    float IsoC2 = -0.40825f;
    float IsoC3 = 0.8165f;

    // Per node, 1-based (index 0 unused), sized NodeCount + 1 by centreModel().
    std::vector<float> ViewX, ViewY, ViewZ; // cm, centred on the bounding box
    std::vector<float> IsoU, IsoV;          // cm, isometric coordinates of the rotated node
    std::vector<float> ScreenX, ScreenH;    // pixels: x, and height above the baseline

    // The stored fit of the unrotated normal view.
    float ViewScale = 1.0f;
    float ViewOffsetX = 0.0f;
    float ViewOffsetY = 0.0f;
    float ViewMinU = 0.0f;
    float ViewMinV = 0.0f;

    float Baseline = kNormalBaseline;
    // 0 normal view waiting for angles, 1 enlarged view requested, 2 leave the drawing.
    int16_t DrawState = 0;

    // The fit of the picture now placed (the stored normal fit or an enlarged one).
    ViewFit placed;

    // Number of nodes centred (NodeCount, limited to the node table).
    int nodeCount() const { return static_cast<int>(ViewX.empty() ? 0 : ViewX.size() - 1); }
};

// Fills ViewX, ViewY, ViewZ: node coordinates minus the centre of the bounding
// box of all nodes. Sizes every per-node array.
void centreModel(const Model& model, ViewState& view);

// Rotates a point (or vector) in centred model coordinates by the view's three
// angles and projects it isometrically: (U, V) in the point's own units.
ProjectedOffset rotateProject(const ViewState& view, double x, double y, double z);

// IsoU and IsoV of every node for the current angles.
void projectNodes(ViewState& view);

// The fit of the projected nodes into a box. The normal fit is stored in the
// view (ViewScale, ViewOffsetX/Y, ViewMinU/V); an enlarged fit is returned only.
// A picture whose nodes all project onto one point (or that has no node) is
// drawn at 1 pixel per cm with the point centred.
ViewFit fitView(ViewState& view, FitBox box);

// The stored normal fit.
ViewFit storedFit(const ViewState& view);

// ScreenX and ScreenH of every node with the given fit; sets the baseline.
void placeNodes(ViewState& view, const ViewFit& fit, float baseline);

// A node's place in the picture (x, Baseline - ScreenH).
PicturePoint nodePoint(const ViewState& view, int node);

// A model-space vector rotated and projected, in pixels at `scale` (use 1 for a
// vector already in pixels); v points up.
ProjectedOffset projectVector(const ViewState& view, double x, double y, double z, double scale);

// The angles from the positions of HSCROLL1, VSCROLL1 and VSCROLL2.
void readViewAngles(const Form& form, ViewState& view);

// ---- the picture on the screen

// How a picture drawn at its design size (the display list's pixels) is
// shown: scaled by the window's enlargement over the design size, zoomed and
// moved by the user. The pictures, the labels placed over them and the picks
// of nodes all go through it, so that a click picks what is shown. Overlays
// (legends, the triad) follow the window's size only.
struct PictureView {
    double size = 1; // screen pixels per design pixel of the window
    double zoom = 1;
    double panX = 0, panY = 0; // design pixels, after the zoom
};

constexpr double kMinZoom = 0.25;
constexpr double kMaxZoom = 64;

// A design point on the screen, and back. Inline: the shown picture maps
// every point of a picture (some 90 000 for the largest grid) through them.
inline PicturePoint toScreen(const PictureView& view, PicturePoint design) {
    return {view.size * (view.zoom * design.x + view.panX),
            view.size * (view.zoom * design.y + view.panY)};
}
inline PicturePoint overlayToScreen(const PictureView& view, PicturePoint design) {
    return {view.size * design.x, view.size * design.y};
}
PicturePoint toPicture(const PictureView& view, PicturePoint screen);

// Zooms by `factor` (clamped to kMinZoom..kMaxZoom) keeping the design point
// under the screen point (x, y) where it is.
void zoomAbout(PictureView& view, double x, double y, double factor);
// Moves the picture by (dx, dy) screen pixels.
void panBy(PictureView& view, double dx, double dy);
// Back to the fit the drawing made: no zoom, no pan (the size stays).
void fitPicture(PictureView& view);
bool zoomedOrPanned(const PictureView& view);

// ---- the usual sequences

// Start of a drawing: angles 0, centre, project, store the normal fit and
// place the nodes with it (baseline 530).
void startView(const Model& model, ViewState& view);
// The model changed under a view that shows it: centre the nodes again and
// store a new normal fit of the unrotated view, as startView does, but keep
// the angles. Nothing is placed.
void refitView(const Model& model, ViewState& view);
// After a scroll-bar change: rotate with the current angles and place with the
// stored normal fit (no new fit, baseline 530).
void rotateView(ViewState& view);
// Enlarged view: rotate with the current angles, fit into the enlarged box and
// place (baseline 590). The stored normal fit is kept.
void enlargeView(ViewState& view);

// The axis triad at a fixed place (centre (70, centreY)), not scaled: the
// reference circle and the unrotated axes' labels, and the rotated X, Y, Z axes.
void drawTriad(const ViewState& view, Canvas& canvas, int centreY = 80);

// A triad point: a vector in triad units rotated (or not) and projected around
// the centre, in picture pixels.
PicturePoint triadPoint(const ViewState& view, double x, double y, double z, bool rotated,
                        int centreY = 80);

} // namespace rahmen
