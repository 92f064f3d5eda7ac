#include "draw/Projection.h"

#include "model/Model.h"
#include "platform/Form.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace rahmen {

namespace {

constexpr double kPictureWidth = 680.0;
constexpr double kTriadCentreX = 70.0;

// Column and row of the text grid that hold a picture point: INT(x / 2), INT(y / 10).
int textColumn(double x) {
    return static_cast<int>(std::floor(x / Canvas::ColumnWidth));
}
int textRow(double y) {
    return static_cast<int>(std::floor(y / Canvas::RowHeight));
}

} // namespace

void centreModel(const Model& model, ViewState& view) {
    const int n = drawableNodeCount(model);
    for (auto* table : {&view.ViewX, &view.ViewY, &view.ViewZ, &view.IsoU, &view.IsoV,
                        &view.ScreenX, &view.ScreenH})
        table->assign(static_cast<std::size_t>(n) + 1, 0.0f);
    if (n == 0) return;
    float minX = model.NodeX[1], maxX = minX;
    float minY = model.NodeY[1], maxY = minY;
    float minZ = model.NodeZ[1], maxZ = minZ;
    for (int i = 2; i <= n; ++i) {
        minX = std::min(minX, model.NodeX[i]);
        maxX = std::max(maxX, model.NodeX[i]);
        minY = std::min(minY, model.NodeY[i]);
        maxY = std::max(maxY, model.NodeY[i]);
        minZ = std::min(minZ, model.NodeZ[i]);
        maxZ = std::max(maxZ, model.NodeZ[i]);
    }
    const float cx = minX + (maxX - minX) / 2;
    const float cy = minY + (maxY - minY) / 2;
    const float cz = minZ + (maxZ - minZ) / 2;
    for (int i = 1; i <= n; ++i) {
        view.ViewX[i] = model.NodeX[i] - cx;
        view.ViewY[i] = model.NodeY[i] - cy;
        view.ViewZ[i] = model.NodeZ[i] - cz;
    }
}

ProjectedOffset rotateProject(const ViewState& view, double x, double y, double z) {
    const double ca = std::cos(view.ViewAngleZ), sa = std::sin(view.ViewAngleZ);
    const double cb = std::cos(view.ViewAngleX), sb = std::sin(view.ViewAngleX);
    const double cg = std::cos(view.ViewAngleY), sg = std::sin(view.ViewAngleY);
    // About Z, then about X, then about Y.
    const double x1 = x * ca - y * sa;
    const double y1 = x * sa + y * ca;
    const double z1 = z;
    const double x2 = x1;
    const double y2 = y1 * cb - z1 * sb;
    const double z2 = y1 * sb + z1 * cb;
    const double x3 = x2 * cg + z2 * sg;
    const double y3 = y2;
    const double z3 = -x2 * sg + z2 * cg;
    return {(y3 - x3) * view.IsoC1, view.IsoC3 * z3 + (x3 + y3) * view.IsoC2};
}

void projectNodes(ViewState& view) {
    for (int i = 1; i <= view.nodeCount(); ++i) {
        const ProjectedOffset p = rotateProject(view, view.ViewX[i], view.ViewY[i], view.ViewZ[i]);
        view.IsoU[i] = static_cast<float>(p.u);
        view.IsoV[i] = static_cast<float>(p.v);
    }
}

ViewFit fitView(ViewState& view, FitBox box) {
    const int n = view.nodeCount();
    const bool normal = box == FitBox::Normal;
    const double boxWidth = normal ? 330.0 : 520.0;
    const double boxHeight = normal ? 330.0 : 440.0;
    const double areaHeight = normal ? 480.0 : 660.0;

    double minU = 0, maxU = 0, minV = 0, maxV = 0;
    if (n > 0) {
        minU = maxU = view.IsoU[1];
        minV = maxV = view.IsoV[1];
        for (int i = 2; i <= n; ++i) {
            minU = std::min<double>(minU, view.IsoU[i]);
            maxU = std::max<double>(maxU, view.IsoU[i]);
            minV = std::min<double>(minV, view.IsoV[i]);
            maxV = std::max<double>(maxV, view.IsoV[i]);
        }
    }
    const double W = maxU - minU;
    const double H = maxV - minV;

    double scale = 1.0;
    if (W == 0 && H == 0) {
        // Nodes on one line along (1, 1, 1): 250 pixels between the nodes of
        // largest and smallest ViewX. Nodes on one point (or one node, or none)
        // have no such distance; they are drawn at 1 pixel per cm.
        int far = 1, near = 1;
        for (int i = 2; i <= n; ++i) {
            if (view.ViewX[i] > view.ViewX[far]) far = i;
            if (view.ViewX[i] < view.ViewX[near]) near = i;
        }
        if (n > 0) {
            const double dx = view.ViewX[far] - view.ViewX[near];
            const double dy = view.ViewY[far] - view.ViewY[near];
            const double dz = view.ViewZ[far] - view.ViewZ[near];
            const double distance = std::sqrt(dx * dx + dy * dy + dz * dz);
            if (distance > 0) scale = 250.0 / distance;
        }
    } else if (W == 0) {
        scale = boxHeight / H;
    } else if (H == 0) {
        scale = boxWidth / W;
    } else {
        scale = std::min(boxWidth / W, boxHeight / H);
    }

    ViewFit fit;
    fit.scale = static_cast<float>(scale);
    fit.offsetX = static_cast<float>((kPictureWidth - W * scale) / 2);
    fit.offsetY = static_cast<float>((areaHeight - H * scale) / 2);
    fit.minU = static_cast<float>(minU);
    fit.minV = static_cast<float>(minV);
    if (normal) {
        view.ViewScale = fit.scale;
        view.ViewOffsetX = fit.offsetX;
        view.ViewOffsetY = fit.offsetY;
        view.ViewMinU = fit.minU;
        view.ViewMinV = fit.minV;
    }
    return fit;
}

ViewFit storedFit(const ViewState& view) {
    return {view.ViewScale, view.ViewOffsetX, view.ViewOffsetY, view.ViewMinU, view.ViewMinV};
}

void placeNodes(ViewState& view, const ViewFit& fit, float baseline) {
    for (int i = 1; i <= view.nodeCount(); ++i) {
        view.ScreenX[i] = (view.IsoU[i] - fit.minU) * fit.scale + fit.offsetX;
        view.ScreenH[i] = (view.IsoV[i] - fit.minV) * fit.scale + fit.offsetY;
    }
    view.placed = fit;
    view.Baseline = baseline;
}

PicturePoint nodePoint(const ViewState& view, int node) {
    return {view.ScreenX[node], view.Baseline - view.ScreenH[node]};
}

ProjectedOffset projectVector(const ViewState& view, double x, double y, double z, double scale) {
    const ProjectedOffset p = rotateProject(view, x, y, z);
    return {p.u * scale, p.v * scale};
}

void readViewAngles(const Form& form, ViewState& view) {
    view.ViewAngleZ = static_cast<float>(form.c("HSCROLL1").scrollPos / 1000.0);
    view.ViewAngleX = static_cast<float>(form.c("VSCROLL1").scrollPos / 1000.0);
    view.ViewAngleY = static_cast<float>(form.c("VSCROLL2").scrollPos / 1000.0);
}

void startView(const Model& model, ViewState& view) {
    view.ViewAngleZ = view.ViewAngleX = view.ViewAngleY = 0.0f;
    centreModel(model, view);
    projectNodes(view);
    placeNodes(view, fitView(view, FitBox::Normal), kNormalBaseline);
}

void refitView(const Model& model, ViewState& view) {
    const float angleZ = view.ViewAngleZ, angleX = view.ViewAngleX, angleY = view.ViewAngleY;
    view.ViewAngleZ = view.ViewAngleX = view.ViewAngleY = 0.0f;
    centreModel(model, view);
    projectNodes(view);
    fitView(view, FitBox::Normal);
    view.ViewAngleZ = angleZ;
    view.ViewAngleX = angleX;
    view.ViewAngleY = angleY;
}

void rotateView(ViewState& view) {
    projectNodes(view);
    placeNodes(view, storedFit(view), kNormalBaseline);
}

void enlargeView(ViewState& view) {
    projectNodes(view);
    placeNodes(view, fitView(view, FitBox::Enlarged), kEnlargedBaseline);
}

PicturePoint triadPoint(const ViewState& view, double x, double y, double z, bool rotated,
                        int centreY) {
    ViewState unrotated;
    const ViewState& v = rotated ? view : unrotated;
    const ProjectedOffset p = rotateProject(v, x, y, z);
    return {kTriadCentreX + p.u, centreY - p.v};
}

void drawTriad(const ViewState& view, Canvas& canvas, int centreY) {
    const double cx = kTriadCentreX, cy = centreY;
    // The triad shows the angles, not the frame: it keeps its place at any zoom.
    canvas.setOverlay(true);
    canvas.circle(cx, cy, 38, kCyan);
    const PicturePoint refY = triadPoint(view, 0, 45, 0, false, centreY);
    canvas.line(cx, cy, refY.x, refY.y, kCyan);
    const char* refLabels[3] = {"X", "YΦ", "Z"};
    const char* rotLabels[3] = {"X", "Y", "ZΦ"};
    const int rotColours[3] = {kLightBlue, kLightMagenta, kMagenta};
    for (int axis = 0; axis < 3; ++axis) {
        const double e[3] = {axis == 0 ? 63.0 : 0.0, axis == 1 ? 63.0 : 0.0,
                             axis == 2 ? 63.0 : 0.0};
        const PicturePoint label = triadPoint(view, e[0], e[1], e[2], false, centreY);
        canvas.text(textColumn(label.x), textRow(label.y), refLabels[axis], kBlack);
    }
    for (int axis = 0; axis < 3; ++axis) {
        const double unit[3] = {axis == 0 ? 1.0 : 0.0, axis == 1 ? 1.0 : 0.0,
                                axis == 2 ? 1.0 : 0.0};
        const PicturePoint tip =
            triadPoint(view, 35 * unit[0], 35 * unit[1], 35 * unit[2], true, centreY);
        canvas.line(cx, cy, tip.x, tip.y, rotColours[axis]);
        const PicturePoint label =
            triadPoint(view, 38.5 * unit[0], 38.5 * unit[1], 38.5 * unit[2], true, centreY);
        canvas.text(textColumn(label.x), textRow(label.y), rotLabels[axis], kBlack);
    }
    canvas.setOverlay(false);
}

PicturePoint toPicture(const PictureView& view, PicturePoint screen) {
    return {(screen.x / view.size - view.panX) / view.zoom,
            (screen.y / view.size - view.panY) / view.zoom};
}

void zoomAbout(PictureView& view, double x, double y, double factor) {
    const PicturePoint fixed = toPicture(view, {x, y});
    view.zoom = std::clamp(view.zoom * factor, kMinZoom, kMaxZoom);
    view.panX = x / view.size - view.zoom * fixed.x;
    view.panY = y / view.size - view.zoom * fixed.y;
}

void panBy(PictureView& view, double dx, double dy) {
    view.panX += dx / view.size;
    view.panY += dy / view.size;
}

void fitPicture(PictureView& view) {
    view.zoom = 1;
    view.panX = view.panY = 0;
}

bool zoomedOrPanned(const PictureView& view) {
    return view.zoom != 1 || view.panX != 0 || view.panY != 0;
}

} // namespace rahmen
