#include "draw/draw2.h"

#include "analysis/LoadCaseAnalysis.h"
#include "analysis/MemberResults.h"
#include "model/Program.h"
#include "platform/Canvas.h"
#include "platform/Form.h"
#include "platform/Sjis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <initializer_list>
#include <utility>

namespace rahmen {

namespace {

// Picture colours of the stress diagrams.
constexpr int kCurveColor = kMagenta;
constexpr int kMemberColor = kBlack;
constexpr int kMomentColor = kGreen;
constexpr int kAxialColor = kBlue;
constexpr int kShearColor = kRed;
constexpr int kMemberNumberColor = kLightGreen;
constexpr int kNodeNumberColor = kLightBlue;

// The legend is printed in font size 13 and the labels after it in size 10,
// sizes in pixels: only so do the three legend texts fit on one line of the
// 680-pixel picture, and the labels into the 10-pixel rows of the text grid.
// The canvas takes points at 96 dots per inch.
constexpr int kLegendFontSize = 10; // 13 pixels
constexpr int kLabelFontSize = 8;   // 11 pixels
constexpr double kLegendFontPixels = 13;

// Heights of the plane diagram are measured upward from this picture row.
constexpr double kPlaneBaseline = 530;
// The largest moment of the plane diagram is drawn this many pixels from its member.
constexpr double kPlaneMomentPixels = 35;

// The single-member diagram: datum lines from x = 55 to 600 (the member's
// length is mapped onto 545 pixels), moments about y over y = 140, about z
// over y = 420, the largest moment 70 pixels from its datum.
constexpr double kDatumLeft = 55;
constexpr double kDatumRight = 600;
constexpr int kDatumLength = 545;
constexpr double kDatumY = 140;
constexpr double kDatumZ = 420;
constexpr double kSingleMomentPixels = 70;

const char* const kMidSpanCaption = "中間最大モーメント：";

// The three legend texts of a diagram: moment, axial force, shear force. The
// shear caption of the X–Z plane closes its bracket in half width, the others
// in full width; the X–Y plane's moment caption is two blanks shorter.
struct Legend {
    const char* moment;
    const char* axial;
    const char* shear;
};

Legend legendFor(char diagram) {
    static const char* const moment = "　　　　　　　　　　  モーメント (↓+↑) *****";
    static const char* const axial = "　　軸 方向力 (引張り→＋) *****";
    switch (diagram) {
    case 'y':
        return {moment, axial, "　　せんだん力 (↓+↑) *****"};
    case 'z':
        return {"　　　　　　　　　　モーメント (↓+↑) *****", axial, "　　せんだん力 (↓+↑）*****"};
    default: // the Y–Z plane and the single member
        return {moment, axial, "　　せんだん力 (↓+↑）*****"};
    }
}

// Prints the three legend texts one after another on the top row, each in its
// colour. The next text starts where the previous one ends: a one-byte
// character is half as wide as the font is high.
void printLegend(Canvas& canvas, char diagram) {
    const Legend legend = legendFor(diagram);
    int column = 0;
    canvas.setOverlay(true);
    for (auto [text, color] :
         {std::pair{legend.moment, kMomentColor}, std::pair{legend.axial, kAxialColor},
          std::pair{legend.shear, kShearColor}}) {
        canvas.text(column, 0, text, color, kLegendFontSize);
        const double pixels = double(cp932Width(text)) * kLegendFontPixels / 2;
        column += static_cast<int>(std::lround(pixels / Canvas::ColumnWidth));
    }
    canvas.setOverlay(false);
}

// Step 1 of both diagrams: the angles cannot be turned while a stress diagram
// is shown, and the window cannot be closed before the diagram is ended.
void prepareWindow(Form& window) {
    for (const char* name : {"HSCROLL1", "VSCROLL1", "VSCROLL2", "TEXT63", "TEXT64", "TEXT65"})
        window.c(name).visible = false;
    window.c("BUTTON67").enabled = false;
    window.setFocus("");
}

// Text position of a point of the plane diagram.
void planeText(Canvas& canvas, PlanePoint at, const std::string& text, int color) {
    const int column = static_cast<int>(std::floor(at.x / Canvas::ColumnWidth));
    const int row = static_cast<int>(std::floor((kPlaneBaseline - at.y) / Canvas::RowHeight));
    canvas.text(column, row, text, color, kLabelFontSize);
}

// What the plane diagram draws of one member: the moment component seen in the
// plane with its sign (scaled by s for the curve), and the four label values.
struct PlaneValues {
    double m1 = 0, m2 = 0, m3 = 0;                   // curve offsets in pixels: start, end, middle
    double start = 0, end = 0, axial = 0, shear = 0; // label values
};

PlaneValues planeValues(const Model& md, int m, char axis, double dx, double dy, double s) {
    const MemberMoments mm = diagramMoments(md, m);
    const SectionForces end = memberEndForces(md, m).end;
    const double n = end.N, qy = end.Qy, qz = end.Qz;
    if (axis == 'z')
        return {s * mm.MzStart, -s * mm.MzEnd, s * mm.MzMid, mm.MzStart, mm.MzEnd, n, qy};
    if (axis == 'y' && dx == 0)
        return {-s * mm.MzStart, s * mm.MzEnd, -s * mm.MzMid, -mm.MzStart, -mm.MzEnd, n, -qy};
    // Moments about y: a member of the Y–Z plane running straight up counts as
    // running backwards, one running straight down as running forwards.
    const bool backwards = dx < 0 || (dx == 0 && dy > 0);
    if (backwards)
        return {s * mm.MyStart, -s * mm.MyEnd, -s * mm.MyMid, mm.MyStart, mm.MyEnd, n, -qz};
    return {-s * mm.MyStart, s * mm.MyEnd, s * mm.MyMid, -mm.MyStart, -mm.MyEnd, n, qz};
}

// Where the labels of a member go, from its ends (plane units, y upward), by
// the direction it runs in.
struct LabelOffsets {
    PlanePoint start, end, axial, shear;
};

const LabelOffsets& labelOffsets(PlanePoint a, PlanePoint b) {
    static const LabelOffsets offsets[4] = {
        {{8, 8}, {-25, -8}, {-12, -8}, {-12, 8}}, // mostly to the right
        {{-25, 8}, {8, -8}, {5, -5}, {5, 5}},     // mostly upward
        {{-25, -8}, {8, 8}, {-12, -8}, {-12, 8}}, // mostly to the left
        {{8, -14}, {-25, 8}, {5, -5}, {5, 5}},    // mostly downward
    };
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    int layout;
    if (std::abs(dy) <= std::abs(dx))
        layout = dx >= 0 ? 0 : 2;
    else
        layout = dy >= 0 ? 1 : 3;
    return offsets[layout];
}

// The four value labels of member m, placed by the direction it runs in:
// labels the picture may move apart when shown, owned by the member so that
// they keep off other members' lines.
void planeLabels(Canvas& canvas, int m, PlanePoint a, PlanePoint b, const PlaneValues& v) {
    const LabelOffsets& o = labelOffsets(a, b);
    const PlanePoint mid{std::floor((a.x + b.x) / 2), std::floor((a.y + b.y) / 2)};
    const struct {
        double value;
        PlanePoint from, offset;
        int color;
    } labels[] = {
        {v.start, a, o.start, kMomentColor},
        {v.end, b, o.end, kMomentColor},
        {v.axial, mid, o.axial, kAxialColor},
        {v.shear, mid, o.shear, kShearColor},
    };
    canvas.setLabels(true);
    canvas.setOwner(m);
    for (const auto& label : labels) {
        const std::string text = stressLabel(label.value);
        if (text.empty()) continue;
        planeText(canvas, {label.from.x + label.offset.x, label.from.y + label.offset.y}, text,
                  label.color);
    }
    canvas.setOwner(0);
    canvas.setLabels(false);
}

// The parabola m(t) = a·t² + b·t + m1 over 0..length through m1 at the start,
// m3 in the middle and m2 at the end.
struct Parabola {
    double a, b, m1;
    Parabola(double start, double end, double middle, double length)
        : a((2 * (end - start) - 4 * (middle - start)) / (length * length)),
          b((4 * middle - 3 * start - end) / length), m1(start) {}
    double operator()(double t) const { return (a * t + b) * t + m1; }
};

// The moment curve of one member in picture pixels. A value v is drawn at
// v·(−sn, −cs) from the member, i.e. to its left seen from the start node.
void planeCurve(Canvas& canvas, PlanePoint a, PlanePoint b, const PlaneValues& v) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length = std::sqrt(dx * dx + dy * dy);
    const double sn = dy / length;
    const double cs = dx / length;
    const double ax = a.x, ay = kPlaneBaseline - a.y; // picture pixels
    const double bx = b.x, by = kPlaneBaseline - b.y;
    canvas.line(ax, ay, ax - v.m1 * sn, ay - v.m1 * cs, kCurveColor);
    if (v.m3 == 0) {
        canvas.line(ax - v.m1 * sn, ay - v.m1 * cs, bx - v.m2 * sn, by - v.m2 * cs, kCurveColor);
    } else {
        const Parabola m(v.m1, v.m2, v.m3, length);
        for (int t = 0; t <= static_cast<int>(length); ++t) {
            const double h = m(t);
            canvas.point(ax + t * cs - h * sn, ay - t * sn - h * cs, kCurveColor);
        }
    }
    canvas.line(bx - v.m2 * sn, by - v.m2 * cs, bx, by, kCurveColor);
}

// One moment diagram of the single-member diagram over the datum line at y:
// h1 at the left, hMid in the middle, −hEnd at the right, in pixels upward.
void datumCurve(Canvas& canvas, double y, double h1, double hEnd, double hMid, bool loaded) {
    if (loaded) {
        const Parabola m(h1, -hEnd, hMid, kDatumLength);
        for (int i = 1; i <= kDatumLength; ++i)
            canvas.point(kDatumLeft + i, y - m(i), kCurveColor);
    } else {
        canvas.line(kDatumLeft, y - h1, kDatumRight, y + hEnd, kCurveColor);
    }
    canvas.line(kDatumLeft, y, kDatumLeft, y - h1, kCurveColor);
    canvas.line(kDatumRight, y + hEnd, kDatumRight, y, kCurveColor);
}

// Captions at the left edge: they keep their place at any zoom.
void printLines(Canvas& canvas, int row, std::initializer_list<const char*> lines, int color) {
    canvas.setOverlay(true);
    for (const char* line : lines)
        canvas.text(0, row++, line, color, kLabelFontSize);
    canvas.setOverlay(false);
}

// The axes, the member number and its node numbers of the single-member
// diagram.
void memberCaptions(Canvas& canvas, const Model& md, int m) {
    auto print = [&](int column, int row, const std::string& text, int color) {
        canvas.text(column, row, text, color, kLabelFontSize);
    };
    printLines(canvas, 25, {"   z", "   ↑", "   ｏ→x　 y 軸周りモーメント"}, kMemberColor);
    printLines(canvas, 50, {"   y", "   ↑", "   ｏ→x　 z 軸周りモーメント"}, kMemberColor);
    // The member's number sits in the corner above the status line; it
    // moves up when a control covers that corner.
    canvas.setLabels(true);
    print(0, 54, "部材Ｎｏ" + std::to_string(m), kMemberNumberColor);
    canvas.setLabels(false);
    const std::string start = std::to_string(md.MemberStartNode[m]);
    const std::string end = std::to_string(md.MemberEndNode[m]);
    print(18, 13, start, kNodeNumberColor);
    print(18, 41, start, kNodeNumberColor);
    print(305, 13, end, kNodeNumberColor);
    print(305, 41, end, kNodeNumberColor);
}

} // namespace

MemberMoments diagramMoments(const Model& md, int m) {
    return memberDrawable(md, m) ? memberMoments(md, m) : memberEndMoments(md, m);
}

double stressMomentScale(const Model& md) {
    double largest = 0;
    for (int m = 1; m <= drawableMemberCount(md); ++m) {
        const MemberMoments mm = diagramMoments(md, m);
        for (double v : {mm.MyStart, mm.MzStart, mm.MyEnd, mm.MzEnd, mm.MyMid, mm.MzMid})
            largest = std::max(largest, std::abs(v));
    }
    if (largest == 0 || !std::isfinite(largest)) return 0;
    return kPlaneMomentPixels / largest;
}

PlaneLayout::PlaneLayout(const Model& md, char axis) : model_(md), axis_(axis) {
    const int nodes = drawableNodeCount(md);
    if (nodes == 0) return;
    double xMax = md.NodeX[1], yMax = md.NodeY[1], zMax = md.NodeZ[1];
    xMin_ = xMax, yMin_ = yMax, zMin_ = zMax;
    for (int n = 2; n <= nodes; ++n) {
        xMin_ = std::min<double>(xMin_, md.NodeX[n]);
        xMax = std::max<double>(xMax, md.NodeX[n]);
        yMin_ = std::min<double>(yMin_, md.NodeY[n]);
        yMax = std::max<double>(yMax, md.NodeY[n]);
        zMin_ = std::min<double>(zMin_, md.NodeZ[n]);
        zMax = std::max<double>(zMax, md.NodeZ[n]);
    }
    wx_ = xMax - xMin_;
    wy_ = yMax - yMin_;
    const double wz = zMax - zMin_;
    // The plan (X–Y) has less height to fill than the elevations.
    double k = 0;
    auto candidate = [&k](double box, double width) {
        if (width == 0) return;
        const double c = box / width;
        if (k == 0 || c < k) k = c;
    };
    candidate(570, wx_);
    candidate(axis == 'z' ? 400 : 570, wy_);
    if (axis != 'z') candidate(400, wz);
    k_ = k != 0 ? k : 1;
}

PlanePoint PlaneLayout::node(int n) const {
    const Model& md = model_;
    const double x = md.NodeX[n] - xMin_;
    const double y = md.NodeY[n] - yMin_;
    const double z = md.NodeZ[n] - zMin_;
    switch (axis_) {
    case 'x':
        return {y * k_ + (650 - wy_ * k_) / 2, z * k_ + 70};
    case 'z':
        return {x * k_ + (650 - wx_ * k_) / 2, y * k_ + 70};
    default:
        return {x * k_ + (650 - wx_ * k_) / 2, z * k_ + 70};
    }
}

std::string stressLabel(double value) {
    if (!std::isfinite(value)) return "";
    const double tenths = std::floor(10 * value + 0.5);
    if (tenths == 0) return "";
    // Tenths are whole numbers; printing them divided by ten with one decimal
    // gives the exact decimal, never a binary residue such as 0.30000001.
    char text[64];
    std::snprintf(text, sizeof text, "%.1f", tenths / 10);
    return text;
}

namespace {

// How one kind of plane diagram draws a member: its value labels and its
// moment curve between the plane points a and b of its ends.
struct PlaneDrawing {
    double scale = 0; // pixels per unit of moment; 0 draws no curves
    std::function<void(Canvas&, char axis)> legend;
    std::function<void(Canvas&, int m, PlanePoint a, PlanePoint b)> labels, curve;
};

// The plane diagram's steps for any drawing of its members: the legend and
// labels (or the message for a member with an angle), the members with their
// curves, the plane's axes; every selection cleared.
void planeDiagram(Program& program, StressSelection& picks, Form& window,
                  const PlaneDrawing& drawing) {
    prepareWindow(window);
    const Model& md = program.model;
    const std::string& picked = picks.PickedPlaneAxis;
    const char axis = picked.size() == 1 ? picked[0] : '\0';
    Canvas* canvas = window.picture();
    const int members = drawableMemberCount(md);
    if (canvas) canvas->clear();
    if (canvas && (axis == 'x' || axis == 'y' || axis == 'z')) {
        const PlaneLayout layout(md, axis);
        // Members the plane diagram can show: drawable, and not running
        // straight across the plane (a plane length of 0 has no direction).
        auto shown = [&](int m) {
            if (picks.MemberSelected[m] != 1 || !memberDrawable(md, m)) return false;
            const PlanePoint a = layout.node(md.MemberStartNode[m]);
            const PlanePoint b = layout.node(md.MemberEndNode[m]);
            return a.x != b.x || a.y != b.y;
        };
        if (!picks.HideStressValues) {
            drawing.legend(*canvas, axis);
            for (int m = 1; m <= members; ++m) {
                if (!shown(m)) continue;
                if (md.MemberAngle[m] != 0) {
                    program.say("部材番号" + std::to_string(m) +
                                    " は部材角があるため応力を表示できません。",
                                MessageButtons::Ok);
                    continue;
                }
                drawing.labels(*canvas, m, layout.node(md.MemberStartNode[m]),
                               layout.node(md.MemberEndNode[m]));
            }
        }
        for (int m = 1; m <= members; ++m) {
            if (!shown(m)) continue;
            const PlanePoint a = layout.node(md.MemberStartNode[m]);
            const PlanePoint b = layout.node(md.MemberEndNode[m]);
            canvas->setOwner(m);
            canvas->line(a.x, kPlaneBaseline - a.y, b.x, kPlaneBaseline - b.y, kMemberColor);
            canvas->setOwner(0);
            if (md.MemberAngle[m] == 0 && !picks.HideStressDiagram && drawing.scale != 0)
                drawing.curve(*canvas, m, a, b);
        }
        switch (axis) {
        case 'x':
            printLines(*canvas, 50, {"   Ｚ", "   ↑", "   ｏ→Ｙ"}, kMemberColor);
            break;
        case 'y':
            printLines(*canvas, 50, {"   Ｚ", "   ↑", "   ｏ→Ｘ"}, kMemberColor);
            break;
        default:
            printLines(*canvas, 50, {"   Ｙ", "   ↑", "   ｏ→Ｘ"}, kMemberColor);
            break;
        }
    }
    picks.MemberSelected.fill(0);
}

} // namespace

void FORCE_ON(Program& program, StressSelection& picks, Form& window) {
    const Model& md = program.model;
    const char axis = picks.PickedPlaneAxis.size() == 1 ? picks.PickedPlaneAxis[0] : '\0';
    PlaneDrawing drawing;
    drawing.scale = stressMomentScale(md);
    const double s = drawing.scale;
    auto values = [&md, axis, s](int m, PlanePoint a, PlanePoint b) {
        return planeValues(md, m, axis, b.x - a.x, b.y - a.y, s);
    };
    drawing.legend = printLegend;
    drawing.labels = [&](Canvas& canvas, int m, PlanePoint a, PlanePoint b) {
        planeLabels(canvas, m, a, b, values(m, a, b));
    };
    drawing.curve = [&](Canvas& canvas, int m, PlanePoint a, PlanePoint b) {
        planeCurve(canvas, a, b, values(m, a, b));
    };
    planeDiagram(program, picks, window, drawing);
}

StressSelection planeSelection(const Model& md, char axis, float coordinate) {
    StressSelection picks;
    picks.PickedPlaneAxis = std::string(1, axis);
    const auto& t = axis == 'x' ? md.NodeX : axis == 'y' ? md.NodeY : md.NodeZ;
    for (int m = 1; m <= md.MemberCount; ++m)
        picks.MemberSelected[m] =
            t[md.MemberStartNode[m]] == coordinate && t[md.MemberEndNode[m]] == coordinate;
    return picks;
}

namespace {

// The member a single-member diagram draws: the first selected, taken out of
// the selection; past the drawable members when none is selected.
int takeSelectedMember(const Model& md, StressSelection& picks) {
    int m = 1;
    const int members = drawableMemberCount(md);
    while (m <= members && picks.MemberSelected[m] != 1)
        ++m;
    if (m <= members) picks.MemberSelected[m] = 0;
    return m;
}

} // namespace

void SFRCE_ON(Program& program, StressSelection& picks, Form& window) {
    prepareWindow(window);
    Canvas* canvas = window.picture();
    if (canvas) {
        canvas->clear();
        printLegend(*canvas, 's');
    }
    const Model& md = program.model;
    const int m = takeSelectedMember(md, picks);
    if (canvas && memberDrawable(md, m)) {
        canvas->line(kDatumLeft, kDatumY, kDatumRight, kDatumY, kMemberColor);
        canvas->line(kDatumLeft, kDatumZ, kDatumRight, kDatumZ, kMemberColor);
        const MemberMoments mm = diagramMoments(md, m);
        const bool loadedZ = md.MemberLoadFlag[m] == 1 && md.MemberUniformLoad[m][2] != 0;
        const bool loadedY = md.MemberLoadFlag[m] == 1 && md.MemberUniformLoad[m][1] != 0;
        const double q[7] = {0, -mm.MyStart, mm.MzStart, -mm.MyEnd, mm.MzEnd, mm.MyMid, mm.MzMid};
        double largest = 0;
        for (int i = 1; i <= 6; ++i)
            if (std::isfinite(q[i])) largest = std::max(largest, std::abs(q[i]));
        const double t = largest != 0 ? kSingleMomentPixels / largest : 1;
        datumCurve(*canvas, kDatumY, t * q[1], t * q[3], t * q[5], loadedZ);
        datumCurve(*canvas, kDatumZ, t * q[2], t * q[4], t * q[6], loadedY);

        // Every value is printed, zero too: the places are fixed, so a
        // missing number would read as a value not shown.
        auto value = [](double v) {
            const std::string text = stressLabel(v);
            return text.empty() ? std::string("0.0") : text;
        };
        auto print = [&](int column, int row, const std::string& text, int color) {
            canvas->text(column, row, text, color, kLabelFontSize);
        };
        print(20, 15, value(q[1]), kMomentColor);
        print(270, 15, value(q[3]), kMomentColor);
        print(20, 43, value(q[2]), kMomentColor);
        print(270, 43, value(q[4]), kMomentColor);
        if (loadedZ) print(130, 12, kMidSpanCaption + value(q[5]), kMomentColor);
        if (loadedY) print(130, 40, kMidSpanCaption + value(q[6]), kMomentColor);
        const SectionForces atEnd = memberEndForces(md, m).end;
        print(145, 15, value(atEnd.Qz), kShearColor);
        print(145, 43, value(atEnd.Qy), kShearColor);
        print(145, 29, value(atEnd.N), kAxialColor);
        memberCaptions(*canvas, md, m);
    }
    window.c("TEXT54").caption = "ボタンを選択してください。";
}

void CHVAL_ON(StressSelection& picks) {
    picks.HideStressValues = picks.HideStressValues ? 0 : -1;
}

// ---- the moment envelope of the combinations of one term

namespace {

// The moment component a plane diagram draws of a member and the sign that
// turns it (as forcesAt gives it) into the offset of planeValues: the curve
// there is sign·s·M(x) for the moment M of that component.
struct PlaneComponent {
    bool aboutZ = false;
    double sign = 1;
};

PlaneComponent planeComponent(char axis, double dx, double dy) {
    if (axis == 'z') return {true, -1};
    if (axis == 'y' && dx == 0) return {true, 1};
    const bool backwards = dx < 0 || (dx == 0 && dy > 0);
    return {false, backwards ? -1.0 : 1.0};
}

// Both boundaries of an envelope as curve offsets (pixels, or any unit): the
// upper one at each station, then the lower one.
struct Boundaries {
    std::vector<double> upper, lower;
};

Boundaries boundaries(const std::vector<MomentRange>& range, bool aboutZ, double factor) {
    Boundaries b;
    for (const MomentRange& r : range) {
        const double largest = aboutZ ? r.MzLargest : r.MyLargest;
        const double smallest = aboutZ ? r.MzSmallest : r.MySmallest;
        const double v1 = factor * largest, v2 = factor * smallest;
        b.upper.push_back(std::max(v1, v2));
        b.lower.push_back(std::min(v1, v2));
    }
    return b;
}

// The largest moment of the envelope at the ends and the middle of every
// member, as the plane diagram's scale takes it of one result.
double envelopeLargest(const Model& md, const std::vector<CaseResult>& results, LoadTerm term) {
    double largest = 0;
    for (int m = 1; m <= drawableMemberCount(md); ++m) {
        if (!memberDrawable(md, m)) continue;
        const double L = memberLength(md, m) / 100;
        for (const MomentRange& r : momentEnvelope(md, results, term, m, {0, L / 2, L}))
            for (double v : {r.MyLargest, r.MySmallest, r.MzLargest, r.MzSmallest})
                largest = std::max(largest, std::abs(v));
    }
    return std::isfinite(largest) ? largest : 0;
}

// The plane curve's stations of a member ℓ pixels long: one per pixel, at
// t = 0, 1, …, INT(ℓ) (m along the member), and its end.
std::vector<double> planeStations(double length, double L) {
    std::vector<double> x;
    for (int t = 0; t <= static_cast<int>(length); ++t)
        x.push_back(t / length * L);
    x.push_back(L);
    return x;
}

// Two labels for a range of values, the larger in the upper text row (0) and
// the smaller in the row below it (1); one only when both read the same.
void rangeLabels(const std::function<void(int row, const std::string&)>& print, double a,
                 double b) {
    const std::string high = stressLabel(std::max(a, b));
    const std::string low = stressLabel(std::min(a, b));
    if (!high.empty()) print(0, high);
    if (!low.empty() && low != high) print(1, low);
}

} // namespace

void envelopePlaneDiagram(Program& program, StressSelection& picks, Form& window, LoadTerm term) {
    const Model& md = program.model;
    const std::vector<CaseResult>& results = program.caseResults;
    const char axis = picks.PickedPlaneAxis.size() == 1 ? picks.PickedPlaneAxis[0] : '\0';
    PlaneDrawing drawing;
    const double largest = envelopeLargest(md, results, term);
    drawing.scale = largest != 0 ? kPlaneMomentPixels / largest : 0;
    const double s = drawing.scale;
    // The boundaries of member m as label values (s = 1) or curve offsets.
    auto envelope = [&](int m, PlanePoint a, PlanePoint b, double scale) {
        const double dx = b.x - a.x, dy = b.y - a.y;
        const PlaneComponent c = planeComponent(axis, dx, dy);
        const double L = memberLength(md, m) / 100;
        const auto range =
            momentEnvelope(md, results, term, m, planeStations(std::hypot(dx, dy), L));
        return boundaries(range, c.aboutZ, c.sign * scale);
    };
    drawing.legend = [](Canvas& canvas, char diagram) {
        canvas.setOverlay(true);
        canvas.text(0, 0, legendFor(diagram).moment, kMomentColor, kLegendFontSize);
        canvas.setOverlay(false);
    };
    drawing.labels = [&](Canvas& canvas, int m, PlanePoint a, PlanePoint b) {
        const Boundaries v = envelope(m, a, b, 1);
        if (v.upper.empty()) return;
        const LabelOffsets& o = labelOffsets(a, b);
        // As the moment diagram labels its ends: the start as drawn, the end
        // reversed. The second row goes away from the node, so that it meets
        // no label of the member beside.
        auto at = [&](PlanePoint from, PlanePoint offset) {
            const double top = from.y + offset.y + (offset.y > 0 ? Canvas::RowHeight : 0);
            return [&canvas, x = from.x + offset.x, top](int row, const std::string& text) {
                planeText(canvas, {x, top - row * Canvas::RowHeight}, text, kMomentColor);
            };
        };
        canvas.setLabels(true);
        canvas.setOwner(m);
        rangeLabels(at(a, o.start), v.upper.front(), v.lower.front());
        rangeLabels(at(b, o.end), -v.upper.back(), -v.lower.back());
        canvas.setOwner(0);
        canvas.setLabels(false);
    };
    drawing.curve = [&](Canvas& canvas, int m, PlanePoint a, PlanePoint b) {
        const Boundaries h = envelope(m, a, b, s);
        if (h.upper.empty()) return;
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double length = std::sqrt(dx * dx + dy * dy);
        const double sn = dy / length, cs = dx / length;
        const double ax = a.x, ay = kPlaneBaseline - a.y;
        const double bx = b.x, by = kPlaneBaseline - b.y;
        for (const std::vector<double>* curve : {&h.upper, &h.lower}) {
            const std::vector<double>& v = *curve;
            canvas.line(ax, ay, ax - v.front() * sn, ay - v.front() * cs, kCurveColor);
            for (std::size_t t = 0; t + 1 < v.size(); ++t)
                canvas.point(ax + double(t) * cs - v[t] * sn, ay - double(t) * sn - v[t] * cs,
                             kCurveColor);
            canvas.line(bx - v.back() * sn, by - v.back() * cs, bx, by, kCurveColor);
        }
    };
    planeDiagram(program, picks, window, drawing);
}

void envelopeMemberDiagram(Program& program, StressSelection& picks, Form& window, LoadTerm term) {
    prepareWindow(window);
    Canvas* canvas = window.picture();
    if (canvas) {
        canvas->clear();
        canvas->setOverlay(true);
        canvas->text(0, 0, legendFor('s').moment, kMomentColor, kLegendFontSize);
        canvas->setOverlay(false);
    }
    const Model& md = program.model;
    const int m = takeSelectedMember(md, picks);
    if (canvas && memberDrawable(md, m)) {
        canvas->line(kDatumLeft, kDatumY, kDatumRight, kDatumY, kMemberColor);
        canvas->line(kDatumLeft, kDatumZ, kDatumRight, kDatumZ, kMemberColor);
        // One station per pixel of the datum line. Moments about y are drawn
        // upward as forcesAt gives them, those about z reversed (as q1..q6 of
        // the member diagram).
        const double L = memberLength(md, m) / 100;
        std::vector<double> x;
        for (int i = 0; i <= kDatumLength; ++i)
            x.push_back(i * L / kDatumLength);
        const auto range = momentEnvelope(md, program.caseResults, term, m, x);
        const Boundaries y = boundaries(range, false, 1), z = boundaries(range, true, -1);
        double largest = 0;
        for (const std::vector<double>* v : {&y.upper, &y.lower, &z.upper, &z.lower})
            for (double value : *v)
                if (std::isfinite(value)) largest = std::max(largest, std::abs(value));
        const double t = largest != 0 ? kSingleMomentPixels / largest : 1;
        auto curve = [&](double datum, const std::vector<double>& v) {
            if (v.empty()) return;
            canvas->line(kDatumLeft, datum, kDatumLeft, datum - t * v.front(), kCurveColor);
            for (int i = 1; i <= kDatumLength; ++i)
                canvas->point(kDatumLeft + i, datum - t * v[static_cast<std::size_t>(i)],
                              kCurveColor);
            canvas->line(kDatumRight, datum - t * v.back(), kDatumRight, datum, kCurveColor);
        };
        for (const Boundaries* b : {&y, &z}) {
            const double datum = b == &y ? kDatumY : kDatumZ;
            curve(datum, b->upper);
            curve(datum, b->lower);
        }
        auto at = [&](int column, int row) {
            return [&canvas, column, row](int below, const std::string& text) {
                canvas->text(column, row + below, text, kMomentColor, kLabelFontSize);
            };
        };
        if (!range.empty()) {
            rangeLabels(at(20, 15), y.upper.front(), y.lower.front());
            rangeLabels(at(270, 15), -y.upper.back(), -y.lower.back());
            rangeLabels(at(20, 43), z.upper.front(), z.lower.front());
            rangeLabels(at(270, 43), -z.upper.back(), -z.lower.back());
        }
        memberCaptions(*canvas, md, m);
    }
    window.c("TEXT54").caption = "ボタンを選択してください。";
}

} // namespace rahmen
