#include "draw/LoadArrows.h"

#include "analysis/MemberStiffness.h"
#include "draw/PictureLayout.h"
#include "model/Model.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rahmen {

namespace {

// Half the opening of an arrow's head, and the length of its two strokes.
constexpr double kHeadAngle = 0.45;
constexpr double kHeadLength = 6;
// A projected direction shorter than this (of a unit vector) is seen end on.
constexpr double kEndOn = 1e-3;

struct Direction {
    double x = 0, y = 0; // picture pixels per unit, y down
    bool endOn = true;
};

// The unit direction in the picture of the model-space vector (x, y, z).
Direction pictureDirection(const ViewState& view, double x, double y, double z) {
    const double length = std::sqrt(x * x + y * y + z * z);
    Direction d;
    if (length == 0) return d;
    const ProjectedOffset o = projectVector(view, x / length, y / length, z / length, 1.0);
    const double shown = std::hypot(o.u, o.v);
    if (shown < kEndOn) return d;
    d.x = o.u / shown, d.y = -o.v / shown;
    d.endOn = false;
    return d;
}

// An arrow of `length` pixels along d whose tip is at (x, y).
void arrow(Canvas& canvas, double x, double y, const Direction& d, double length, int colour) {
    canvas.line(x - length * d.x, y - length * d.y, x, y, colour);
    const double c = std::cos(kHeadAngle), s = std::sin(kHeadAngle);
    for (double side : {1.0, -1.0}) {
        const double hx = -(d.x * c - side * d.y * s), hy = -(side * d.x * s + d.y * c);
        canvas.line(x, y, x + kHeadLength * hx, y + kHeadLength * hy, colour);
    }
}

// A label whose box is centred on the picture point (x, y).
void valueLabel(Canvas& canvas, double x, double y, const std::string& text, int colour,
                int owner) {
    const double width = estimatedTextWidth(text, textPixels(canvas.fontSize()));
    const int column = static_cast<int>(std::floor((x - width / 2) / Canvas::ColumnWidth));
    const int row = static_cast<int>(std::floor((y - Canvas::RowHeight / 2.0) / Canvas::RowHeight));
    canvas.setLabels(true);
    canvas.setOwner(owner);
    canvas.text(column, row, text, colour);
    canvas.setOwner(0);
    canvas.setLabels(false);
}

void nodeLoads(const Model& model, const ViewState& view, Canvas& canvas, const char* unit) {
    const int nodes = std::min(drawableNodeCount(model), view.nodeCount());
    for (int n = 1; n <= nodes; ++n) {
        const double f[3] = {model.NodeLoad[6 * n - 5], model.NodeLoad[6 * n - 4],
                             model.NodeLoad[6 * n - 3]};
        const double size = std::sqrt(f[0] * f[0] + f[1] * f[1] + f[2] * f[2]);
        if (size == 0) continue;
        const PicturePoint p = nodePoint(view, n);
        const Direction d = pictureDirection(view, f[0], f[1], f[2]);
        // The value beyond the arrow's tail; seen end on, beside the node.
        double lx = p.x + 8, ly = p.y - 8;
        if (!d.endOn) {
            canvas.setOwner(kAllLabels);
            arrow(canvas, p.x, p.y, d, kNodeArrowLength, kNodeLoadColour);
            canvas.setOwner(0);
            lx = p.x - (kNodeArrowLength + 8) * d.x;
            ly = p.y - (kNodeArrowLength + 8) * d.y;
        }
        valueLabel(canvas, lx, ly, loadText(size, unit), kNodeLoadColour, 0);
    }
}

void memberLoads(const Model& model, const ViewState& view, Canvas& canvas, const char* unit) {
    for (int m = 1; m <= drawableMemberCount(model); ++m) {
        if (!memberDrawable(model, m) || model.MemberLoadFlag[m] != 1) continue;
        const int s = model.MemberStartNode[m], e = model.MemberEndNode[m];
        if (s > view.nodeCount() || e > view.nodeCount()) continue;
        const double wy = model.MemberUniformLoad[m][1], wz = model.MemberUniformLoad[m][2];
        if (wy == 0 && wz == 0) continue;
        const Axes axes =
            memberAxes(model.NodeX[e] - model.NodeX[s], model.NodeY[e] - model.NodeY[s],
                       model.NodeZ[e] - model.NodeZ[s], model.MemberAngle[m]);
        double w[3];
        for (int k = 0; k < 3; ++k)
            w[k] = wy * axes[1][k] + wz * axes[2][k];
        const PicturePoint a = nodePoint(view, s), b = nodePoint(view, e);
        const Direction d = pictureDirection(view, w[0], w[1], w[2]);
        const double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
        double lx = mx + 8, ly = my - 8;
        if (!d.endOn) {
            // About one arrow in 20 pixels of the member, at least one at
            // each end and one between; their tails joined.
            const double shown = std::hypot(b.x - a.x, b.y - a.y);
            const int gaps = std::max(2, static_cast<int>(shown / 20));
            const double back = kMemberArrowLength;
            canvas.setOwner(m);
            for (int i = 0; i <= gaps; ++i) {
                const double t = static_cast<double>(i) / gaps;
                arrow(canvas, a.x + t * (b.x - a.x), a.y + t * (b.y - a.y), d, back,
                      kMemberLoadColour);
            }
            canvas.line(a.x - back * d.x, a.y - back * d.y, b.x - back * d.x, b.y - back * d.y,
                        kMemberLoadColour);
            canvas.setOwner(0);
            lx = mx - (back + 8) * d.x;
            ly = my - (back + 8) * d.y;
        }
        valueLabel(canvas, lx, ly, loadText(std::hypot(wy, wz), unit), kMemberLoadColour, m);
    }
}

} // namespace

std::string loadText(double value, const char* unit) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.2f", value);
    std::string text = digits;
    while (!text.empty() && text.back() == '0')
        text.pop_back();
    if (!text.empty() && text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    return text + unit;
}

void drawLoadArrows(const Model& model, const ViewState& view, Canvas& canvas) {
    const bool older = model.UnitFactor == 1.0f;
    nodeLoads(model, view, canvas, older ? "t" : "kN");
    memberLoads(model, view, canvas, older ? "t/m" : "kN/m");
}

} // namespace rahmen
