// Labels that never overlap and the picture's zoom: the placer on a table of
// boxes, the example frame's plane stress diagram and the single-member
// diagram as shown at the design size, the largest grid's labels, and picks
// after a zoom and a pan.

#include "draw/PictureLayout.h"
#include "draw/Form13.h"
#include "draw/LabelPlacer.h"
#include "draw/Picking.h"
#include "draw/draw1.h"
#include "draw/draw2.h"

#include "analysis/AnalysisFile.h"
#include "analysis/ana.h"
#include "batch/GridFrame.h"
#include "model/Program.h"
#include "model/TextFile.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

namespace rahmen {
namespace {

struct PlacerCase {
    const char* what;
    std::vector<LabelBox> blocked;
    std::vector<std::array<double, 5>> lines; // x1, y1, x2, y2, owner
    LabelBox own;
    int owner;
    bool avoidLines;
    bool placed;
    double x, y; // where, when placed
};

TEST(LabelPlacer, OwnPlaceFirstThenTheFirstFreeOffsetElseLeftOut) {
    const LabelBox own{100, 100, 30, 10};
    const std::vector<PlacerCase> cases = {
        {"free", {}, {}, own, 1, true, true, 100, 100},
        {"touching a row below is free", {{100, 110.5, 30, 10}}, {}, own, 1, true, true, 100, 100},
        {"overlap below: a row up", {{110, 105, 30, 10}}, {}, own, 1, true, true, 100, 89},
        {"overlap above: a row down", {{110, 95, 30, 10}}, {}, own, 1, true, true, 100, 111},
        {"both rows taken: beside", {{110, 95, 30, 20}}, {}, own, 1, true, true, 67, 100},
        {"own member's line crosses: stays",
         {},
         {{90, 105, 150, 105, 1}},
         own,
         1,
         true,
         true,
         100,
         100},
        {"another member's line: moves", {}, {{90, 105, 150, 105, 2}}, own, 1, true, true, 100, 89},
        {"a mark is kept clear by its own member's label",
         {},
         {{115, 95, 115, 115, -1}},
         own,
         1,
         true,
         true,
         67,
         100},
        {"a node's label ignores lines",
         {},
         {{90, 105, 150, 105, 2}},
         own,
         0,
         false,
         true,
         100,
         100},
        {"only crossing places: the first of them",
         {},
         {{0, 105, 300, 105, 2},
          {0, 94, 300, 94, 2},
          {0, 116, 300, 116, 2},
          {0, 83, 300, 83, 2},
          {0, 127, 300, 127, 2}},
         own,
         1,
         true,
         true,
         100,
         100},
        {"nowhere free: left out", {{0, 0, 400, 400}}, {}, own, 1, true, false, 0, 0},
        {"offsets stay inside the picture",
         {{0, 0, 30, 10}},
         {},
         {0, 0, 30, 10},
         1,
         true,
         true,
         0,
         11},
    };
    for (const PlacerCase& c : cases) {
        LabelPlacer placer(400, 400);
        for (const LabelBox& b : c.blocked)
            placer.block(b);
        for (const auto& l : c.lines)
            placer.addLine(l[0], l[1], l[2], l[3], static_cast<int>(l[4]));
        const auto at = placer.place(c.own, c.owner, c.avoidLines,
                                     LabelPlacer::aroundOffsets(c.own.w, c.own.h));
        ASSERT_EQ(at.has_value(), c.placed) << c.what;
        if (!at) continue;
        EXPECT_DOUBLE_EQ(at->x, c.x) << c.what;
        EXPECT_DOUBLE_EQ(at->y, c.y) << c.what;
    }
}

bool readExample(const char* name, Model& model) {
    std::ifstream file(std::string(RAHMEN_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    ItemReader in(bytes, name);
    readAnalysisReport(model, in);
    model.AnalysisDone = 1;
    return !bytes.empty();
}

// The boxes of the shown labels; the test fails on the first two that overlap.
std::vector<LabelBox> shownLabelBoxes(const ShownPicture& shown, int defaultPoints) {
    std::vector<LabelBox> boxes;
    for (const Primitive& p : shown.items) {
        if (p.shape != Shape::Text || !p.label) continue;
        const int px = textPixels(p.fontSize > 0 ? p.fontSize : defaultPoints);
        boxes.push_back(textBox(p, p.x1, p.y1, px, estimatedTextWidth(p.text, px)));
    }
    return boxes;
}

void expectApart(const std::vector<LabelBox>& boxes) {
    for (std::size_t i = 0; i < boxes.size(); ++i)
        for (std::size_t j = i + 1; j < boxes.size(); ++j)
            ASSERT_FALSE(boxesOverlap(boxes[i], boxes[j]))
                << "labels " << i << " and " << j << " at (" << boxes[i].x << ", " << boxes[i].y
                << ") and (" << boxes[j].x << ", " << boxes[j].y << ")";
}

// Every label of the shown picture, as "text@x,y".
std::vector<std::string> labelsAt(const std::vector<Primitive>& items) {
    std::vector<std::string> found;
    for (const Primitive& p : items)
        if (p.shape == Shape::Text && p.label)
            found.push_back(p.text + "@" + std::to_string(int(p.x1)) + "," +
                            std::to_string(int(p.y1)));
    return found;
}

class ShownDiagram : public ::testing::Test {
protected:
    ShownDiagram() : p(Program::create(platform.services())) {}
    void planeDiagram(Form13& window) {
        const Model& m = p->model;
        StressSelection picks;
        picks.PickedPlaneAxis = "y";
        for (int k = 1; k <= m.MemberCount; ++k)
            picks.MemberSelected[k] = m.NodeY[m.MemberStartNode[k]] == m.NodeY[1] &&
                                      m.NodeY[m.MemberEndNode[k]] == m.NodeY[1];
        FORCE_ON(*p, picks, window);
    }
    ScriptedPlatform platform;
    std::unique_ptr<Program> p;
};

TEST_F(ShownDiagram, PlaneStressEndLabelsOfNeighbouringMembersApartTheOthersInPlace) {
    ASSERT_TRUE(readExample("two_storey.adt", p->model));
    Form13 window(*p);
    planeDiagram(window);
    const Canvas& canvas = *window.picture();
    const ShownPicture shown = showPicture(canvas, PictureView{}, 680, 600);
    EXPECT_EQ(shown.labelsLeftOut, 0);
    expectApart(shownLabelBoxes(shown, canvas.fontSize()));

    // Drawn, the end moments of the roof beam and of the column under its
    // right end ran into one string; shown, one of each pair has moved and
    // every other label is where the drawing put it.
    const std::vector<std::string> drawn = labelsAt(canvas.items());
    const std::vector<std::string> placed = labelsAt(shown.items);
    ASSERT_EQ(drawn.size(), placed.size());
    std::vector<std::string> moved;
    for (std::size_t i = 0; i < drawn.size(); ++i)
        if (drawn[i] != placed[i]) moved.push_back(drawn[i] + " -> " + placed[i]);
    EXPECT_EQ(moved, (std::vector<std::string>{"-143.7@470,260 -> -143.7@423,260",
                                               "-135.5@470,60 -> -135.5@470,50"}));
    // Nothing else is left out.
    EXPECT_EQ(shown.items.size(), canvas.items().size());
}

TEST_F(ShownDiagram, MemberNumberOfTheSingleMemberDiagramClearOfTheStatusLine) {
    ASSERT_TRUE(readExample("two_storey.adt", p->model));
    Form13 window(*p);
    StressSelection picks;
    picks.MemberSelected[13] = 1;
    SFRCE_ON(*p, picks, window);
    const Control& status = window.c("TEXT54");
    const std::vector<LabelBox> covered = {{double(status.x - 3), double(status.y - 3),
                                            double(status.width + 6), double(status.height + 6)}};
    const ShownPicture shown = showPicture(*window.picture(), PictureView{}, 680, 600, covered);
    EXPECT_EQ(labelsAt(shown.items), std::vector<std::string>{"部材Ｎｏ13@0,530"});
}

// Labels of `items` crossed by a local-axis mark.
int labelsCrossedByMarks(const std::vector<Primitive>& items, int defaultPoints) {
    int crossed = 0;
    for (const Primitive& t : items) {
        if (t.shape != Shape::Text || !t.label) continue;
        const int px = textPixels(t.fontSize > 0 ? t.fontSize : defaultPoints);
        const LabelBox box = textBox(t, t.x1, t.y1, px, estimatedTextWidth(t.text, px));
        for (const Primitive& l : items)
            if (l.shape == Shape::Line && l.owner == kAllLabels &&
                segmentCrossesBox(l.x1, l.y1, l.x2, l.y2, box)) {
                ++crossed;
                break;
            }
    }
    return crossed;
}

TEST_F(ShownDiagram, MemberNumbersClearOfTheLocalAxisMarks) {
    ASSERT_TRUE(readExample("two_storey.adt", p->model));
    Form13 window(*p);
    PlotState plot;
    plot.NumberLabelKind = 2;
    plot.ShowMemberAxes = 1;
    FRAME0_ON(*p, plot, window);
    LOOP_END1(*p, plot, window);
    DRAW_KEY(*p, plot, window);
    const Canvas& canvas = *window.picture();
    // Where the drawing puts them, the marks from each member's midpoint run
    // through numbers; shown, none does and every number is there.
    EXPECT_GT(labelsCrossedByMarks(canvas.items(), canvas.fontSize()), 3);
    const ShownPicture shown = showPicture(canvas, PictureView{}, 680, 600);
    EXPECT_EQ(shown.labelsLeftOut, 0);
    EXPECT_EQ(labelsCrossedByMarks(shown.items, canvas.fontSize()), 0);
    expectApart(shownLabelBoxes(shown, canvas.fontSize()));

    // The legend of the marks' colours, in their colours, shown whole where
    // it crosses no member (its box apart from every label, checked above)
    // and is clear of the controls over the picture.
    const LabelBox statusLine{10, 547, 670, 26};
    const ShownPicture onScreen = showPicture(canvas, PictureView{}, 680, 600, {statusLine});
    std::vector<std::pair<std::string, int>> legend;
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    for (const Primitive& q : onScreen.items)
        if (q.shape == Shape::Text && q.overlay && q.label) {
            legend.emplace_back(q.text, q.color);
            const int px = textPixels(canvas.fontSize());
            const LabelBox b = textBox(q, q.x1, q.y1, px, estimatedTextWidth(q.text, px));
            left = std::min(left, b.x), top = std::min(top, b.y);
            right = std::max(right, b.x + b.w), bottom = std::max(bottom, b.y + b.h);
        }
    const LabelBox box{left, top, right - left, bottom - top};
    EXPECT_EQ(
        legend,
        (std::vector<std::pair<std::string, int>>{
            {"部材座標系", kBlack}, {"x", kLightBlue}, {"y", kLightMagenta}, {"z", kMagenta}}));
    EXPECT_FALSE(boxesOverlap(box, statusLine));
    for (const Primitive& q : onScreen.items) {
        if (q.shape == Shape::Line && q.owner > 0) {
            EXPECT_FALSE(segmentCrossesBox(q.x1, q.y1, q.x2, q.y2, box)) << "member " << q.owner;
        }
    }
    // The marks' own colours, x, y and z.
    std::vector<int> marks;
    for (const Primitive& q : canvas.items())
        if (q.shape == Shape::Line && q.owner == kAllLabels && marks.size() < 3)
            marks.push_back(q.color);
    EXPECT_EQ(marks, (std::vector<int>{kLightBlue, kLightMagenta, kMagenta}));
}

// The largest grid of the grid generation form, analysed.
std::unique_ptr<Model> largestGrid() {
    auto model = gridFrame(10, 10, 8);
    SilentProgress progress;
    EXPECT_TRUE(runAnalysis(*model, progress).ok);
    return model;
}

TEST_F(ShownDiagram, LargestGridNodeNumbersAndPlaneStressValuesNeverOverlap) {
    p->model = *largestGrid();
    Form13 window(*p);
    PlotState plot;
    plot.NumberLabelKind = 1;
    FRAME0_ON(*p, plot, window);
    LOOP_END1(*p, plot, window);
    DRAW_KEY(*p, plot, window);
    const Canvas& frame = *window.picture();
    ShownPicture shown = showPicture(frame, PictureView{}, 680, 600);
    expectApart(shownLabelBoxes(shown, frame.fontSize()));
    const int leftOut = shown.labelsLeftOut;
    EXPECT_GT(leftOut, 0); // 1089 numbers do not fit into the design size

    // Zoomed four times into the corner, the numbers shown there are apart
    // and more of them find a place.
    PictureView view;
    zoomAbout(view, 100, 400, 4);
    shown = showPicture(frame, view, 680, 600);
    expectApart(shownLabelBoxes(shown, frame.fontSize()));

    Form13 plane(*p);
    planeDiagram(plane);
    shown = showPicture(*plane.picture(), PictureView{}, 680, 600);
    expectApart(shownLabelBoxes(shown, plane.picture()->fontSize()));
}

TEST(PictureView, ZoomKeepsThePointUnderThePointerAndPicksWhatIsShown) {
    auto owned = std::make_unique<Model>();
    Model& model = *owned;
    model.NodeCount = 3;
    const float xyz[3][3] = {{0, 0, 0}, {600, 0, 0}, {600, 0, 10}};
    for (int n = 1; n <= 3; ++n) {
        model.NodeX[n] = xyz[n - 1][0];
        model.NodeY[n] = xyz[n - 1][1];
        model.NodeZ[n] = xyz[n - 1][2];
    }
    ViewState view;
    startView(model, view);
    // Nodes 2 and 3 lie under 6 pixels apart: at the fit a click between
    // them takes the nearer; zoomed 8 times about node 3 and moved, the click
    // on each node's place on the screen takes that node.
    PictureView shown;
    shown.size = 1.5; // a window enlarged by half
    const PicturePoint three = toScreen(shown, nodePoint(view, 3));
    zoomAbout(shown, three.x, three.y, 8);
    const PicturePoint still = toScreen(shown, nodePoint(view, 3));
    EXPECT_NEAR(still.x, three.x, 1e-9);
    EXPECT_NEAR(still.y, three.y, 1e-9);
    panBy(shown, -120, 45);
    for (int node : {1, 2, 3}) {
        const PicturePoint screen = toScreen(shown, nodePoint(view, node));
        const PicturePoint back = toPicture(shown, screen);
        EXPECT_EQ(nearestNode(view, static_cast<int>(std::lround(back.x)),
                              static_cast<int>(std::lround(back.y))),
                  node);
    }
    fitPicture(shown);
    EXPECT_FALSE(zoomedOrPanned(shown));
}

} // namespace
} // namespace rahmen
