#include "draw/draw1.h"

#include "analysis/MemberResults.h"
#include "analysis/MemberStiffness.h"
#include "analysis/ana.h"
#include "draw/LoadArrows.h"
#include "draw/PictureLayout.h"
#include "model/Model.h"
#include "model/Program.h"
#include "model/TextFile.h"
#include "platform/Form.h"
#include "platform/Sjis.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace rahmen {

const char* const kFrameAngleStatus =
    "スクロールバーをクリックして投影角度を選択→拡大表示ボタン（ピン、バネ接合部表示）。";
const char* const kDeformAngleStatus =
    "スクロールバーをクリックして投影角度を選択→角度決定ボタン。";
const char* const kPressKeyStatus = "何かキーを押してください。";
const char* const kChooseDiagramStatus = "図種を選択して実行ボタンを押してください。";

namespace {

const char* const kDeformDrawingStatus = "変形図を作図しています。";
// The header of the enlarged deformation picture, in two parts around the ratio.
const char* const kDeformHeaderHead = "***変形図(架構縮尺に対する変位の倍率";
const char* const kDeformHeaderTail = "倍)***";
constexpr int kDeformHeaderPoints = 13;

// The header on the top line, ending at the picture's right edge: its text, the
// ratio in kYellow and the unit, a blank apart. The header was laid out with
// blanks for a font much narrower than 13 points, where its ratio ran into the
// text; here the parts are placed by their own widths, reckoned generously for
// a proportional font: a full-width character one em, any other 0.6 em.
double headerWidth(const std::string& text, double em) {
    const auto ascii = std::count_if(text.begin(), text.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const double full = (static_cast<double>(cp932Width(text)) - ascii) / 2;
    return (0.6 * ascii + full) * em;
}

void drawDeformHeader(Canvas& canvas, const std::string& ratio) {
    const double em = kDeformHeaderPoints * 96.0 / 72.0;
    const double gap = 0.6 * em;
    const std::string parts[] = {kDeformHeaderHead, ratio, kDeformHeaderTail};
    const int colours[] = {kBlack, kYellow, kBlack};
    double width = 2 * gap;
    for (const std::string& part : parts)
        width += headerWidth(part, em);
    double x = std::max(100.0, canvas.width() - 8 - width);
    canvas.setOverlay(true);
    for (int i = 0; i < 3; ++i) {
        if (!parts[i].empty())
            canvas.text(static_cast<int>(x / Canvas::ColumnWidth), 0, parts[i], colours[i],
                        kDeformHeaderPoints);
        x += headerWidth(parts[i], em) + gap;
    }
    canvas.setOverlay(false);
}
const char* const kAngleScrollBars[] = {"HSCROLL1", "VSCROLL1", "VSCROLL2"};
const char* const kNumberControls[] = {"RADIO57", "RADIO58", "RADIO59", "CHECK17"};

bool set(int16_t flag) {
    return flag != 0;
}

// The text cell of a label above and left of a picture point given by its x
// and height: (INT(x / 2) - 3, INT(row - h / 10) - 1). The label of a member
// names its owner; a node's label has none.
void label(Canvas& canvas, double x, double h, double row, int number, int colour, int fontSize = 0,
           int owner = 0) {
    const int column = static_cast<int>(std::floor(x / 2)) - 3;
    const int line = static_cast<int>(std::floor(row - h / 10)) - 1;
    canvas.setLabels(true);
    canvas.setOwner(owner);
    canvas.text(column, line, std::to_string(number), colour, fontSize);
    canvas.setOwner(0);
    canvas.setLabels(false);
}

Canvas& pictureOf(Form& form) {
    return *form.picture();
}

// Scroll bars back to 0 and the view with them.
void resetAngles(PlotState& plot, Form& form) {
    for (const char* name : kAngleScrollBars)
        form.c(name).scrollPos = 0;
    plot.view.ViewAngleZ = plot.view.ViewAngleX = plot.view.ViewAngleY = 0.0f;
}

void enableNumberControls(Form& form, bool enabled) {
    for (const char* name : kNumberControls)
        form.c(name).enabled = enabled;
}

// The six displacements of a node (cm, rad), global axes.
std::array<double, 6> nodeDisplacement(const Model& model, int node) {
    std::array<double, 6> d{};
    for (int k = 0; k < 6; ++k)
        d[k] = model.NodeDisplacement[6 * node - 5 + k];
    return d;
}

Axes axesOf(const Model& model, int m) {
    const int s = model.MemberStartNode[m], e = model.MemberEndNode[m];
    return memberAxes(model.NodeX[e] - model.NodeX[s], model.NodeY[e] - model.NodeY[s],
                      model.NodeZ[e] - model.NodeZ[s], model.MemberAngle[m]);
}

// The frame of the deformation picture: members (loaded ones in colour 7),
// circles at released member ends (larger at supports), supports and loaded
// nodes, and the triad.
void drawDeformationFrame(const Model& model, const ViewState& view, Canvas& canvas) {
    auto endCircles = [&](int node, bool pinned, bool sprung) {
        const PicturePoint p = nodePoint(view, node);
        const double radius = set(model.NodeIsSupport[node]) ? 5 : 3;
        if (pinned) canvas.circle(p.x, p.y, radius, kLightMagenta);
        if (sprung) canvas.circle(p.x, p.y, radius, kMagenta);
    };
    for (int m = 1; m <= drawableMemberCount(model); ++m) {
        if (!memberDrawable(model, m)) continue;
        const int s = model.MemberStartNode[m], e = model.MemberEndNode[m];
        const PicturePoint a = nodePoint(view, s), b = nodePoint(view, e);
        canvas.setOwner(m);
        canvas.line(a.x, a.y, b.x, b.y, model.MemberLoadFlag[m] == 1 ? kLightGrey : kCyan);
        canvas.setOwner(0);
        endCircles(s, model.MemberStartPinned[m] == 1, model.MemberStartSprung[m] == 1);
        endCircles(e, model.MemberEndPinned[m] == 1, model.MemberEndSprung[m] == 1);
    }
    const int nodes = std::min(drawableNodeCount(model), view.nodeCount());
    for (int n = 1; n <= nodes; ++n) {
        if (!set(model.NodeIsSupport[n])) continue;
        const PicturePoint p = nodePoint(view, n);
        canvas.filledCircle(p.x, p.y, 2, kYellow);
    }
    for (int n = 1; n <= nodes; ++n) {
        if (model.NodeLoadFlag[n] != 1) continue;
        const PicturePoint p = nodePoint(view, n);
        canvas.filledCircle(p.x, p.y, 2, kLightGrey);
    }
    drawTriad(view, canvas);
}

// The frame diagram's picture in the placed view; in the enlarged view it
// then waits for a key press before the number labels.
void drawFramePicture(const Program& program, PlotState& plot, Form& form) {
    Canvas& canvas = pictureOf(form);
    canvas.clear();
    FrameStyle style;
    style.memberAxes = set(plot.ShowMemberAxes);
    if (plot.framePicture)
        plot.framePicture(plot.view, canvas);
    else
        drawFrameMarks(program.model, plot.view, canvas, style);
    if (set(plot.ShowLoads)) drawLoadArrows(program.model, plot.view, canvas);
    drawTriad(plot.view, canvas);
    if (style.memberAxes && !plot.framePicture) drawAxisLegend(canvas);
    if (plot.view.DrawState == 1) {
        enableNumberControls(form, false);
        form.c("TEXT54").caption = kPressKeyStatus;
        plot.waiting = DrawingWait::FrameLabels;
    }
}

void drawFrameLabels(const Model& model, const PlotState& plot, Canvas& canvas) {
    const ViewState& view = plot.view;
    if (plot.NumberLabelKind == 1) {
        for (int n = 1; n <= view.nodeCount(); ++n)
            label(canvas, view.ScreenX[n], view.ScreenH[n], 59, n, kGreen);
        return;
    }
    if (plot.NumberLabelKind != 2 && plot.NumberLabelKind != 3) return;
    for (int m = 1; m <= drawableMemberCount(model); ++m) {
        if (!memberDrawable(model, m)) continue;
        const int s = model.MemberStartNode[m], e = model.MemberEndNode[m];
        const double mx = (view.ScreenX[s] + view.ScreenX[e]) / 2;
        const double mh = (view.ScreenH[s] + view.ScreenH[e]) / 2;
        label(canvas, mx, mh, 60, plot.NumberLabelKind == 2 ? m : model.MemberTypeNo[m], kGreen, 0,
              m);
    }
}

// The deformation picture in the placed view: the frame, and in the enlarged
// view the header, every member's curve and the wait for the node numbers.
void drawDeformationPicture(const Program& program, PlotState& plot, Form& form) {
    const Model& model = program.model;
    ViewState& view = plot.view;
    const double s = view.placed.scale;
    if (!set(plot.deformScaleSet)) {
        double largest = 0;
        plot.DeformScale = deformationScale(model, s, &largest);
        plot.deformScaleSet = largest != 0 ? 1 : 0;
    }
    Canvas& canvas = pictureOf(form);
    canvas.clear();
    drawDeformationFrame(model, view, canvas);
    if (set(plot.ShowLoads)) drawLoadArrows(model, view, canvas);
    if (view.DrawState != 1) return;

    form.c("TEXT54").caption = kDeformDrawingStatus;
    // The header and the ratio in 13 points; the node numbers follow in 10. The
    // sizes go with each text, so the canvas keeps its own size for other pictures.
    const double ratio = plot.DeformScale / s;
    drawDeformHeader(canvas,
                     std::isfinite(ratio) ? LineWriter().masked("####.##^^^^", ratio).bytes() : "");

    for (int m = 1; m <= drawableMemberCount(model); ++m) {
        if (!memberDrawable(model, m)) continue;
        const MemberCurve curve = memberCurve(model, view, m, plot.DeformScale);
        if (curve.chordOnly) {
            canvas.line(curve.points[0].x, curve.points[0].y, curve.points[1].x, curve.points[1].y,
                        kMagenta);
            continue;
        }
        for (const PicturePoint& p : curve.points)
            canvas.point(p.x, p.y, kMagenta);
    }
    form.c("TEXT54").caption = kPressKeyStatus;
    plot.waiting = DrawingWait::NodeNumbers;
}

} // namespace

// ---- marking the frame

FrameMarks::FrameMarks(int nodeCount)
    : pin(static_cast<std::size_t>(nodeCount) + 1, 0),
      spring(static_cast<std::size_t>(nodeCount) + 1, 0),
      members(static_cast<std::size_t>(nodeCount) + 1, 0) {}

void drawReleaseThirds(const Model& model, const ViewState& view, Canvas& canvas, int m) {
    const PicturePoint a = nodePoint(view, model.MemberStartNode[m]);
    const PicturePoint b = nodePoint(view, model.MemberEndNode[m]);
    const PicturePoint third{a.x + (b.x - a.x) / 3, a.y + (b.y - a.y) / 3};
    const PicturePoint twoThirds{a.x + 2 * (b.x - a.x) / 3, a.y + 2 * (b.y - a.y) / 3};
    if (model.MemberStartPinned[m] == 1) canvas.line(a.x, a.y, third.x, third.y, kLightMagenta);
    if (model.MemberStartSprung[m] == 1) canvas.line(a.x, a.y, third.x, third.y, kMagenta);
    if (model.MemberEndPinned[m] == 1)
        canvas.line(twoThirds.x, twoThirds.y, b.x, b.y, kLightMagenta);
    if (model.MemberEndSprung[m] == 1) canvas.line(twoThirds.x, twoThirds.y, b.x, b.y, kMagenta);
}

void drawMember(const Model& model, const ViewState& view, Canvas& canvas, int m, int colour,
                FrameMarks& marks) {
    const int s = model.MemberStartNode[m], e = model.MemberEndNode[m];
    const PicturePoint a = nodePoint(view, s), b = nodePoint(view, e);
    canvas.setOwner(m);
    canvas.line(a.x, a.y, b.x, b.y, colour);
    if (view.DrawState == 1) drawReleaseThirds(model, view, canvas, m);
    canvas.setOwner(0);
    if (model.MemberStartPinned[m] == 1) marks.pin[s] = 1;
    if (model.MemberStartSprung[m] == 1) marks.spring[s] = 1;
    if (model.MemberEndPinned[m] == 1) marks.pin[e] = 1;
    if (model.MemberEndSprung[m] == 1) marks.spring[e] = 1;
    ++marks.members[s];
    ++marks.members[e];
}

void drawNodeMarks(const Model& model, const ViewState& view, Canvas& canvas, FrameMarks& marks) {
    const int nodes = std::min<int>(view.nodeCount(), static_cast<int>(marks.pin.size()) - 1);
    for (int n = 1; n <= nodes; ++n) {
        const PicturePoint p = nodePoint(view, n);
        const bool pin = marks.pin[n] != 0, spring = marks.spring[n] != 0;
        if (pin && spring) {
            canvas.circle(p.x, p.y, 3, kMagenta);
            canvas.circle(p.x, p.y, 4, kLightMagenta);
        } else if (pin) {
            canvas.circle(p.x, p.y, 3, kLightMagenta);
        } else if (spring) {
            canvas.circle(p.x, p.y, 3, kMagenta);
        }
        if (set(model.NodeIsSupport[n]))
            canvas.filledCircle(p.x, p.y, 2, kGreen);
        else if (marks.members[n] == 2 && !pin && !spring)
            canvas.circle(p.x, p.y, 3, kCyan);
        marks.pin[n] = marks.spring[n] = marks.members[n] = 0;
    }
}

void EL_CO3(const Model& model, const ViewState& view, Canvas& canvas, int m) {
    const Axes axes = axesOf(model, m);
    const int s = model.MemberStartNode[m], e = model.MemberEndNode[m];
    const double mx = (view.ScreenX[s] + view.ScreenX[e]) / 2;
    const double my = view.Baseline - (view.ScreenH[s] + view.ScreenH[e]) / 2;
    const int colours[3] = {kLightBlue, kLightMagenta, kMagenta};
    // The marks are kept clear by every label, their own member's number too.
    canvas.setOwner(kAllLabels);
    for (int k = 0; k < 3; ++k) {
        const ProjectedOffset d =
            projectVector(view, 15 * axes[k][0], 15 * axes[k][1], 15 * axes[k][2], 1.0);
        canvas.line(mx, my, mx + d.u, my - d.v, colours[k]);
    }
    canvas.setOwner(0);
}

void drawAxisLegend(Canvas& canvas) {
    const char* const parts[] = {"部材座標系", "x", "y", "z"};
    const int colours[] = {kBlack, kLightBlue, kLightMagenta, kMagenta};
    const int pixels = textPixels(canvas.fontSize());
    // At the bottom-left corner, below the window's status line; the shown
    // picture moves it where it covers nothing.
    const int row = (canvas.height() - 2 * pixels) / Canvas::RowHeight;
    double x = 4;
    canvas.setOverlay(true);
    canvas.setLabels(true);
    for (int i = 0; i < 4; ++i) {
        canvas.text(static_cast<int>(x / Canvas::ColumnWidth), row, parts[i], colours[i]);
        x += estimatedTextWidth(parts[i], pixels) + 0.6 * pixels;
    }
    canvas.setLabels(false);
    canvas.setOverlay(false);
}

void drawFrameMarks(const Model& model, const ViewState& view, Canvas& canvas,
                    const FrameStyle& style) {
    FrameMarks marks(view.nodeCount());
    for (int m = 1; m <= drawableMemberCount(model); ++m) {
        if (!memberDrawable(model, m) || model.MemberStartNode[m] > view.nodeCount() ||
            model.MemberEndNode[m] > view.nodeCount())
            continue;
        drawMember(model, view, canvas, m, style.memberColour ? style.memberColour(m) : kCyan,
                   marks);
        if (style.memberAxes) EL_CO3(model, view, canvas, m);
    }
    drawNodeMarks(model, view, canvas, marks);
}

// ---- the frame diagram

namespace {

// Starts a frame or deformation drawing at angles 0; while another one runs,
// ends that one instead and returns false.
bool beginDrawing(Program& program, PlotState& plot, Form& form, RunningDiagram diagram) {
    if (plot.DrawingActive == 1) {
        plot.view.DrawState = 2;
        endDrawing(program, plot, form);
        return false;
    }
    resetAngles(plot, form);
    plot.DrawingActive = 1;
    plot.running = diagram;
    plot.waiting = DrawingWait::None;
    plot.AngleStep = 0;
    return true;
}

} // namespace

void FRAME0_ON(Program& program, PlotState& plot, Form& form) {
    if (!beginDrawing(program, plot, form, RunningDiagram::Frame)) return;
    form.c("BUTTON79").caption = "拡大表示";
    for (const char* name : kAngleScrollBars)
        form.c(name).visible = true;
    form.c("BUTTON79").enabled = true;
    form.c("TEXT54").caption = kFrameAngleStatus;
    plot.view.DrawState = 0;
    startView(program.model, plot.view);
    drawFramePicture(program, plot, form);
}

// ---- the deformation diagram

double deformationScale(const Model& model, double s, double* largest) {
    double U = 0;
    for (int m = 1; m <= drawableMemberCount(model); ++m) {
        if (!memberDrawable(model, m)) continue;
        for (int node : {model.MemberStartNode[m], model.MemberEndNode[m]}) {
            const std::array<double, 6> d = nodeDisplacement(model, node);
            for (int k = 0; k < 3; ++k)
                U = std::max(U, std::fabs(d[k]));
        }
    }
    for (int m = 1; m <= drawableMemberCount(model); ++m)
        if (memberDrawable(model, m)) U = std::max(U, estimatedLoadDeflection(model, m));
    if (largest) *largest = U;
    if (U == 0) return 50 / s;
    const double p = U * s;
    double D = p < 1 ? 30 / U : p < 5 ? 35 / U : p < 10 ? 40 / U : 50 / U;
    if (p > 50) D = s;
    return std::max(D, s);
}

MemberCurve memberCurve(const Model& model, const ViewState& view, int m, double D) {
    MemberCurve curve;
    const int sn = model.MemberStartNode[m];
    Axes R;
    memberGeometry(model, m, R);
    const DeflectedShape shape = deflectedShape(model, m, view.placed.scale, D);

    // A local point (pixels, member axes) into the picture, from the start node.
    const PicturePoint start{view.ScreenX[sn], view.ScreenH[sn]};
    auto place = [&](const std::array<double, 3>& p) {
        const auto [x, y, z] = p;
        const double gx = x * R[0][0] + y * R[1][0] + z * R[2][0];
        const double gy = x * R[0][1] + y * R[1][1] + z * R[2][1];
        const double gz = x * R[0][2] + y * R[1][2] + z * R[2][2];
        const ProjectedOffset o = projectVector(view, gx, gy, gz, 1.0);
        curve.points.push_back({start.x + o.u, kEnlargedBaseline - (start.y + o.v)});
        curve.local.push_back(p);
    };
    if (shape.chordOnly) {
        curve.chordOnly = true;
        place(shape.chordStart());
        place(shape.chordEnd());
        return curve;
    }
    for (int i = 0; i <= shape.steps; ++i)
        place(shape.at(i));
    return curve;
}

void DEFORM_ON(Program& program, PlotState& plot, Form& form) {
    if (!beginDrawing(program, plot, form, RunningDiagram::Deformation)) return;
    plot.deformScaleSet = 0;
    form.c("BUTTON79").caption = "角度決定";
    startView(program.model, plot.view);
    form.c("TEXT54").caption = kDeformAngleStatus;
    // The button chooses the angle; an earlier drawing may have left it disabled.
    form.c("BUTTON79").enabled = true;
    plot.view.DrawState = 0;
    if (set(program.SkipAnalysisFile)) {
        // After an interactive analysis: at once the enlarged picture, with the
        // nodes where the normal fit put them.
        plot.view.DrawState = 1;
        plot.AngleStep = 1;
        program.SkipAnalysisFile = 0;
        form.c("BUTTON79").caption = "変形図終了";
        form.c("BUTTON79").enabled = false;
        plot.view.Baseline = kEnlargedBaseline;
    }
    drawDeformationPicture(program, plot, form);
}

// ---- events while a drawing runs

void SCROLL_CHANGE1(Program& program, PlotState& plot, Form& form) {
    if (plot.DrawingActive != 1) return;
    const bool deformation = plot.running == RunningDiagram::Deformation;
    form.c("BUTTON79").caption = deformation ? "角度決定" : "拡大表示";
    plot.AngleStep = 0;
    if (plot.waiting != DrawingWait::None) {
        // The user turned the picture instead of pressing a key: the labels
        // of the enlarged picture are dropped and the drawing waits for
        // angles again, with the button usable.
        if (plot.waiting == DrawingWait::FrameLabels) enableNumberControls(form, true);
        plot.waiting = DrawingWait::None;
        form.c("TEXT54").caption = deformation ? kDeformAngleStatus : kFrameAngleStatus;
    }
    form.c("BUTTON79").enabled = true;
    plot.view.DrawState = 0;

    const Model& model = program.model;
    ViewState& view = plot.view;
    Canvas& canvas = pictureOf(form);
    canvas.clear();
    readViewAngles(form, view);
    rotateView(view);
    FrameStyle style;
    style.memberColour = [&model](int m) {
        return model.MemberLoadFlag[m] == 1 ? kLightGrey : kCyan;
    };
    style.memberAxes = set(plot.ShowMemberAxes);
    if (!deformation && plot.framePicture)
        plot.framePicture(view, canvas);
    else
        drawFrameMarks(model, view, canvas, style);
    if (deformation) {
        for (int n = 1; n <= std::min(drawableNodeCount(model), view.nodeCount()); ++n) {
            if (model.NodeLoadFlag[n] != 1) continue;
            const PicturePoint p = nodePoint(view, n);
            canvas.filledCircle(p.x, p.y, 2, kLightGrey);
        }
    }
    if (set(plot.ShowLoads)) drawLoadArrows(model, view, canvas);
    drawTriad(view, canvas);
    if (style.memberAxes && (deformation || !plot.framePicture)) drawAxisLegend(canvas);
}

void LOOP_END1(Program& program, PlotState& plot, Form& form) {
    if (plot.DrawingActive != 1) return;
    const bool deformation = plot.running == RunningDiagram::Deformation;
    if (plot.AngleStep == 0) {
        plot.view.DrawState = 1;
        form.c("BUTTON79").caption = deformation ? "変形図終了" : "骨組図終了";
        plot.AngleStep = 1;
        form.c("BUTTON79").enabled = false;
        enlargeView(plot.view);
        if (deformation)
            drawDeformationPicture(program, plot, form);
        else
            drawFramePicture(program, plot, form);
        return;
    }
    if (deformation) {
        for (const char* name : {"RADIO57", "RADIO58", "RADIO59"}) {
            form.c(name).checked = false;
            form.c(name).enabled = false;
        }
    }
    plot.AngleStep = 0;
    plot.view.DrawState = 2;
    endDrawing(program, plot, form);
}

void DRAW_KEY(Program& program, PlotState& plot, Form& form) {
    Canvas& canvas = pictureOf(form);
    const ViewState& view = plot.view;
    switch (plot.waiting) {
    case DrawingWait::None:
        return;
    case DrawingWait::FrameLabels:
        enableNumberControls(form, true);
        drawFrameLabels(program.model, plot, canvas);
        form.c("TEXT54").caption = kFrameAngleStatus;
        break;
    case DrawingWait::NodeNumbers:
        for (int n = 1; n <= view.nodeCount(); ++n)
            label(canvas, view.ScreenX[n], view.ScreenH[n], 59, n, kYellow, 10);
        form.c("TEXT54").caption = kDeformAngleStatus;
        break;
    }
    plot.waiting = DrawingWait::None;
    form.c("BUTTON79").enabled = true;
    plot.view.DrawState = 0;
}

void redrawRunning(Program& program, PlotState& plot, Form& form) {
    if (plot.DrawingActive != 1) return;
    if (plot.AngleStep == 0) {
        SCROLL_CHANGE1(program, plot, form);
        return;
    }
    // The enlarged frame diagram shows no results, but for the 検定比図 drawn
    // in its place, which waits for the key press again.
    if (plot.running != RunningDiagram::Deformation) {
        if (plot.framePicture) redrawFrame(program, plot, form);
        return;
    }
    plot.deformScaleSet = 0;
    plot.waiting = DrawingWait::None;
    plot.view.DrawState = 1;
    form.c("BUTTON79").enabled = false;
    drawDeformationPicture(program, plot, form);
}

void redrawFrame(Program& program, PlotState& plot, Form& form) {
    if (plot.DrawingActive != 1 || plot.running != RunningDiagram::Frame) return;
    if (plot.AngleStep == 0) {
        SCROLL_CHANGE1(program, plot, form);
        return;
    }
    if (plot.waiting == DrawingWait::FrameLabels) enableNumberControls(form, true);
    plot.waiting = DrawingWait::None;
    plot.view.DrawState = 1;
    form.c("BUTTON79").enabled = false;
    drawFramePicture(program, plot, form);
}

void endDrawing(Program& /*program*/, PlotState& plot, Form& form) {
    const bool deformation = plot.running == RunningDiagram::Deformation;
    // Ended while the labels waited for a key: the number choice comes back.
    if (plot.waiting == DrawingWait::FrameLabels) enableNumberControls(form, true);
    plot.DrawingActive = 0;
    plot.running = RunningDiagram::None;
    plot.waiting = DrawingWait::None;
    plot.deformScaleSet = 0;
    pictureOf(form).clear();
    if (deformation) form.c("BUTTON79").caption = "";
    form.c("BUTTON79").enabled = false;
    form.c("BUTTON67").enabled = true;
    form.c("BUTTON69").enabled = true;
    form.c("TEXT54").caption = kChooseDiagramStatus;
    resetAngles(plot, form);
    for (const char* name : kAngleScrollBars)
        form.c(name).enabled = false;
}

} // namespace rahmen
