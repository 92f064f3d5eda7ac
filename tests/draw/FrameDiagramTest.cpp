#include "DrawingTesting.h"

#include "draw/draw1.h"

namespace rahmen::testing {
namespace {

// A portal in the X-Z plane: columns 1-2 and 4-3, 300 cm high, beam 2-3 of
// 600 cm; supports at 1 and 4. At angles 0 the nodes project to U = -x/sqrt 2,
// V = 0.8165 z - 0.40825 x about the centre (300, 0, 150): W = 424.264,
// H = 489.898, so the normal scale is 330 / H = 0.673607, OX = 197.106, OY = 75;
// the enlarged scale is 440 / H = 0.898142, OX = 149.474, OY = 110.
class FrameDiagram : public DrawingTest {
protected:
    FrameDiagram() {
        node(1, 0, 0, 0);
        node(2, 0, 0, 300);
        node(3, 600, 0, 300);
        node(4, 600, 0, 0);
        member(1, 1, 2);
        member(2, 2, 3);
        member(3, 4, 3);
        m().NodeIsSupport[1] = m().NodeIsSupport[4] = -1;
    }
};

TEST_F(FrameDiagram, PortalAtAnglesZeroGivesItsNodesMarksAndTriad) {
    FRAME0_ON(*p, plot, window);
    EXPECT_EQ(plot.DrawingActive, 1);
    EXPECT_EQ(plot.view.DrawState, 0);
    EXPECT_EQ(window.c("BUTTON79").caption, "拡大表示");
    EXPECT_TRUE(window.c("BUTTON79").enabled);
    EXPECT_EQ(
        window.c("TEXT54").caption,
        "スクロールバーをクリックして投影角度を選択→拡大表示ボタン（ピン、バネ接合部表示）。");
    EXPECT_NEAR(plot.view.ViewScale, 0.673607, 1e-6);

    const auto lines = items(Shape::Line, 3);
    ASSERT_EQ(lines.size(), 4u); // three members and the triad's reference line
    // Member 2: node 2 (482.894, 125) to node 3 (197.106, 290).
    EXPECT_NEAR(lines[1].x1, 482.894, 1e-3);
    EXPECT_NEAR(lines[1].y1, 125.000, 1e-3);
    EXPECT_NEAR(lines[1].x2, 197.106, 1e-3);
    EXPECT_NEAR(lines[1].y2, 290.000, 1e-3);
    // Supports 1 (482.894, 290) and 4 (197.106, 455) filled, the corners circled.
    const auto supports = items(Shape::FilledCircle, 2);
    ASSERT_EQ(supports.size(), 2u);
    EXPECT_NEAR(supports[1].x1, 197.106, 1e-3);
    EXPECT_NEAR(supports[1].y1, 455.000, 1e-3);
    EXPECT_EQ(supports[1].radius, 2);
    const auto corners = items(Shape::Circle, 3);
    ASSERT_EQ(corners.size(), 3u); // nodes 2 and 3, and the triad's circle
    EXPECT_NEAR(corners[0].y1, 125.000, 1e-3);
    EXPECT_EQ(corners[0].radius, 3);
    EXPECT_EQ(corners[2].radius, 38);
    EXPECT_EQ(canvas().items().size(), 3u + 4u + 11u);

    // Drawing twice gives the same display list.
    const std::vector<Primitive> first = canvas().items();
    plot.DrawingActive = 0;
    FRAME0_ON(*p, plot, window);
    ASSERT_EQ(canvas().items().size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(canvas().items()[i].x1, first[i].x1);
}

TEST_F(FrameDiagram, NodeMarksFollowPinsSpringsSupportsAndMemberCounts) {
    // Node 2 under each combination of releases of the beam's start.
    struct Case {
        const char* name;
        int16_t pinned, sprung, support;
        std::vector<std::pair<int, double>> marks; // colour, radius at node 2
    };
    const Case cases[] = {
        {"two members", 0, 0, 0, {{3, 3}}},
        {"pin", 1, 0, 0, {{13, 3}}},
        {"spring", 0, 1, 0, {{5, 3}}},
        {"pin and spring", 1, 1, 0, {{5, 3}, {13, 4}}},
        {"support with a pin", 1, 0, -1, {{13, 3}, {2, 2}}},
    };
    for (const Case& c : cases) {
        m().MemberStartPinned[2] = c.pinned;
        m().MemberStartSprung[2] = c.sprung;
        m().NodeIsSupport[2] = c.support;
        plot = PlotState{};
        FRAME0_ON(*p, plot, window);
        std::vector<std::pair<int, double>> found;
        for (const Primitive& item : canvas().items())
            if ((item.shape == Shape::Circle || item.shape == Shape::FilledCircle) &&
                std::abs(item.y1 - 125.0) < 1e-3)
                found.emplace_back(item.color, item.radius);
        EXPECT_EQ(found, c.marks) << c.name;
        // Release thirds only in the enlarged view.
        EXPECT_EQ(items(Shape::Line, 13).size(), 1u) << c.name; // the triad's Y axis
    }
}

TEST_F(FrameDiagram, EnlargedViewRefitsDrawsReleaseThirdsAndLabelsAfterAKey) {
    m().MemberStartPinned[2] = 1;
    plot.NumberLabelKind = 1;
    FRAME0_ON(*p, plot, window);
    LOOP_END1(*p, plot, window);
    EXPECT_EQ(plot.view.DrawState, 1);
    EXPECT_EQ(plot.AngleStep, 1);
    EXPECT_EQ(plot.view.Baseline, 590.0f);
    EXPECT_NEAR(plot.view.placed.scale, 0.898142, 1e-6);
    EXPECT_NEAR(plot.view.ViewScale, 0.673607, 1e-6); // the stored normal fit stays
    EXPECT_EQ(window.c("BUTTON79").caption, "骨組図終了");
    EXPECT_FALSE(window.c("BUTTON79").enabled);
    EXPECT_FALSE(window.c("RADIO58").enabled);
    EXPECT_EQ(window.c("TEXT54").caption, "何かキーを押してください。");
    // The pinned third of the beam: node 2 (530.525, 40) towards node 3 (149.474, 260).
    const auto pins = items(Shape::Line, 13);
    ASSERT_EQ(pins.size(), 2u);
    EXPECT_NEAR(pins[0].x1, 530.525, 1e-3);
    EXPECT_NEAR(pins[0].y1, 40.000, 1e-3);
    EXPECT_NEAR(pins[0].x2, 403.508, 1e-3);
    EXPECT_NEAR(pins[0].y2, 113.333, 1e-3);
    EXPECT_TRUE(items(Shape::Text, 2).empty());

    DRAW_KEY(*p, plot, window);
    const auto labels = items(Shape::Text, 2);
    ASSERT_EQ(labels.size(), 4u);
    // Node 1 at x 530.525, height 330: cell (262, 25); node 2, height 550: (262, 3).
    EXPECT_EQ(labels[0].text, "1");
    EXPECT_EQ(labels[0].x1, 524);
    EXPECT_EQ(labels[0].y1, 250);
    EXPECT_EQ(labels[1].y1, 30);
    EXPECT_TRUE(window.c("BUTTON79").enabled);
    EXPECT_TRUE(window.c("RADIO58").enabled);
    EXPECT_EQ(plot.view.DrawState, 0);

    // Member numbers: member 1 between heights 330 and 550, cell (262, 15);
    // type numbers the same place.
    for (int16_t kind : {2, 3}) {
        plot.NumberLabelKind = kind;
        plot.AngleStep = 0;
        LOOP_END1(*p, plot, window);
        DRAW_KEY(*p, plot, window);
        const auto numbers = items(Shape::Text, 2);
        ASSERT_EQ(numbers.size(), 3u) << kind;
        EXPECT_EQ(numbers[0].text, "1");
        EXPECT_EQ(numbers[0].x1, 524);
        EXPECT_EQ(numbers[0].y1, 150);
        EXPECT_EQ(numbers[1].text, kind == 2 ? "2" : "1");
    }

    // The second press ends the drawing.
    LOOP_END1(*p, plot, window);
    EXPECT_EQ(plot.DrawingActive, 0);
    EXPECT_TRUE(canvas().items().empty());
    EXPECT_FALSE(window.c("BUTTON79").enabled);
    EXPECT_TRUE(window.c("BUTTON69").enabled);
    EXPECT_TRUE(window.c("BUTTON67").enabled);
    EXPECT_FALSE(window.c("HSCROLL1").enabled);
    EXPECT_EQ(window.c("TEXT54").caption, "図種を選択して実行ボタンを押してください。");
}

TEST_F(FrameDiagram, ScrollingRedrawsWithTheStoredScaleAndLoadedMembersGrey) {
    m().MemberLoadFlag[2] = 1;
    FRAME0_ON(*p, plot, window);
    LOOP_END1(*p, plot, window); // enlarged, waiting for a key
    window.c("HSCROLL1").scrollPos = 1571;
    SCROLL_CHANGE1(*p, plot, window);
    EXPECT_NEAR(plot.view.placed.scale, 0.673607, 1e-6);
    EXPECT_NEAR(plot.view.ViewAngleZ, 1.571, 1e-6);
    EXPECT_EQ(plot.view.Baseline, 530.0f);
    EXPECT_EQ(items(Shape::Line, 7).size(), 1u);
    EXPECT_EQ(plot.AngleStep, 0);
    // Turning instead of pressing a key gives the controls back.
    EXPECT_EQ(plot.waiting, DrawingWait::None);
    EXPECT_EQ(window.c("BUTTON79").caption, "拡大表示");
    EXPECT_TRUE(window.c("BUTTON79").enabled);
    EXPECT_TRUE(window.c("RADIO57").enabled);
    DRAW_KEY(*p, plot, window);
    EXPECT_TRUE(items(Shape::Text, 2).empty());
}

TEST_F(FrameDiagram, MemberWithANodeOutsideTheTableIsSkipped) {
    member(4, 2, 99);
    member(5, 0, 3);
    plot.ShowMemberAxes = 1;
    FRAME0_ON(*p, plot, window);
    EXPECT_EQ(items(Shape::Line, 3).size(), 4u);
    // Local axes of the three members: x 9, y 13, z 5 besides the triad's axes.
    EXPECT_EQ(items(Shape::Line, 9).size(), 4u);
    // Column 1-2 at angle 0 is vertical: x up, 15 units of 0.8165 on screen.
    const auto x = items(Shape::Line, 9)[0];
    EXPECT_NEAR(x.y1 - x.y2, 15 * 0.8165, 1e-4);
}

TEST_F(FrameDiagram, StartingWhileADrawingRunsEndsIt) {
    FRAME0_ON(*p, plot, window);
    FRAME0_ON(*p, plot, window);
    EXPECT_EQ(plot.DrawingActive, 0);
    EXPECT_EQ(plot.view.DrawState, 2);
    EXPECT_TRUE(canvas().items().empty());
}

} // namespace
} // namespace rahmen::testing
