// "荷重表示": the load arrows and values drawn over the frame and deformation
// diagrams. The portal of the frame diagram tests, in the X-Z plane; at the
// angles 0 a unit vector along X points (-0.866, 0.5) in the picture (y
// down), along Y (0.866, 0.5) and along Z (0, -1).

#include "DrawingTesting.h"

#include "draw/LoadArrows.h"
#include "draw/PictureLayout.h"
#include "draw/draw1.h"

#include <cmath>

namespace rahmen::testing {
namespace {

class LoadArrows : public DrawingTest {
protected:
    LoadArrows() { portal(); }
    std::vector<Primitive> texts(int colour) {
        std::vector<Primitive> found = items(Shape::Text, colour);
        for (const Primitive& t : found)
            EXPECT_TRUE(t.label) << t.text; // the shown picture may move every value
        return found;
    }
};

TEST_F(LoadArrows, ANodalForceIsAnArrowAlongItsProjectedDirectionEndingAtTheNode) {
    struct Case {
        int axis;
        float force;
        double dx, dy; // the arrow's direction in the picture
        const char* value;
    } const cases[] = {{1, 12.5f, -0.866025, 0.5, "12.5kN"},
                       {2, 10, 0.866025, 0.5, "10kN"},
                       {3, -20, 0, 1, "20kN"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        for (int k = 1; k <= 6; ++k)
            m().NodeLoad[6 * 2 - 6 + k] = 0;
        m().NodeLoad[6 * 2 - 6 + c.axis] = c.force;
        m().NodeLoadFlag[2] = 1;
        plot.ShowLoads = 1;
        plot.DrawingActive = 0;
        FRAME0_ON(*p, plot, window);
        const auto arrow = items(Shape::Line, kNodeLoadColour);
        ASSERT_EQ(arrow.size(), 3u); // the shaft and the two strokes of its head
        const PicturePoint node2 = nodePoint(plot.view, 2);
        expectAt(arrow[0].x2, arrow[0].y2, node2.x, node2.y);
        expectAt(arrow[0].x1, arrow[0].y1, node2.x - kNodeArrowLength * c.dx,
                 node2.y - kNodeArrowLength * c.dy);
        for (int i = 1; i <= 2; ++i) { // the head's strokes go back from the tip
            const double bx = arrow[i].x2 - arrow[i].x1, by = arrow[i].y2 - arrow[i].y1;
            EXPECT_EQ(arrow[i].x1, node2.x);
            EXPECT_LT(bx * c.dx + by * c.dy, -5);
        }
        const auto value = texts(kNodeLoadColour);
        ASSERT_EQ(value.size(), 1u);
        EXPECT_EQ(value[0].text, c.value);
        // Beyond the tail, away from the node.
        EXPECT_LT((value[0].x1 - node2.x) * c.dx + (value[0].y1 + 5 - node2.y) * c.dy, -20);
    }
}

TEST_F(LoadArrows, AUniformLoadIsARowOfArrowsAcrossTheMemberWithItsValue) {
    m().MemberLoadFlag[2] = 1;
    m().MemberUniformLoad[2][1] = 3; // local y of the beam along X: the global Y
    m().MemberUniformLoad[2][2] = -4;
    m().UnitFactor = 1.0f; // the older units
    plot.ShowLoads = 1;
    FRAME0_ON(*p, plot, window);
    const auto lines = items(Shape::Line, kMemberLoadColour);
    const PicturePoint a = nodePoint(plot.view, 2), b = nodePoint(plot.view, 3);
    const int gaps = std::max(2, static_cast<int>(std::hypot(b.x - a.x, b.y - a.y) / 20));
    ASSERT_EQ(lines.size(), 3u * (gaps + 1) + 1); // every arrow and the line of their tails
    expectAt(lines[0].x2, lines[0].y2, a.x, a.y);
    expectAt(lines[3 * gaps].x2, lines[3 * gaps].y2, b.x, b.y);
    for (const Primitive& l : lines)
        EXPECT_EQ(l.owner, 2); // other members' labels keep clear of them
    const auto value = texts(kMemberLoadColour);
    ASSERT_EQ(value.size(), 1u);
    EXPECT_EQ(value[0].text, "5t/m");
    EXPECT_EQ(value[0].owner, 2);
}

TEST_F(LoadArrows, OffTheDiagramsAreUnchangedAndOnEveryPictureOfTheDrawingHasThem) {
    m().NodeLoad[6 * 3 - 5] = 30;
    m().NodeLoadFlag[3] = 1;
    m().MemberLoadFlag[2] = 1;
    m().MemberUniformLoad[2][2] = -12;
    auto loadItems = [&] {
        return items(Shape::Line, kNodeLoadColour).size() + texts(kNodeLoadColour).size() +
               items(Shape::Line, kMemberLoadColour).size() + texts(kMemberLoadColour).size();
    };
    // Off: the turned, the enlarged and the labelled frame diagram without them.
    FRAME0_ON(*p, plot, window);
    EXPECT_EQ(loadItems(), 0u);
    LOOP_END1(*p, plot, window);
    DRAW_KEY(*p, plot, window);
    EXPECT_EQ(loadItems(), 0u);
    const std::size_t plain = canvas().items().size();
    endDrawing(*p, plot, window);
    // On: the frame turned and enlarged, the deformation turned and enlarged.
    plot.ShowLoads = 1;
    FRAME0_ON(*p, plot, window);
    const std::size_t turned = loadItems();
    EXPECT_GT(turned, 0u);
    LOOP_END1(*p, plot, window);
    DRAW_KEY(*p, plot, window);
    const std::size_t added = loadItems();
    EXPECT_EQ(canvas().items().size(), plain + added);
    // Shown, the values are placed like the other labels: none overlaps another.
    const ShownPicture shown = showPicture(canvas(), PictureView{}, 680, 600);
    EXPECT_EQ(shown.labelsLeftOut, 0);
    endDrawing(*p, plot, window);
    m().AnalysisDone = 1;
    DEFORM_ON(*p, plot, window);
    EXPECT_EQ(loadItems(), turned);
    LOOP_END1(*p, plot, window);
    EXPECT_EQ(loadItems(), added);
}

} // namespace
} // namespace rahmen::testing
