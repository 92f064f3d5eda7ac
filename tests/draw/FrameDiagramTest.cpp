#include "DrawingTesting.h"

#include "draw/draw1.h"

namespace rahmen::testing {
namespace {

// The portal of DrawingTest in the X-Z plane. At angles 0 the nodes project
// to U = -x/sqrt 2, V = 0.8165 z - 0.40825 x about the centre (300, 0, 150):
// W = 424.264, H = 489.898, so the normal scale is 330 / H = 0.673607,
// OX = 197.106, OY = 75; the enlarged scale is 440 / H = 0.898142,
// OX = 149.474, OY = 110.
class FrameDiagram : public DrawingTest {
protected:
    FrameDiagram() { portal(); }
};

TEST_F(FrameDiagram, PortalAtAnglesZeroGivesItsNodesMarksAndTriad) {
    FRAME0_ON(*p, plot, window);
    EXPECT_EQ(plot.DrawingActive, 1);
    EXPECT_EQ(window.c("BUTTON79").caption, "拡大表示");
    EXPECT_EQ(
        window.c("TEXT54").caption,
        "スクロールバーをクリックして投影角度を選択→拡大表示ボタン（ピン、バネ接合部表示）。");
    const auto lines = items(Shape::Line, 3);
    ASSERT_EQ(lines.size(), 4u); // three members and the triad's reference line
    expectAt(lines[1].x1, lines[1].y1, 482.894, 125.000); // beam from node 2
    expectAt(lines[1].x2, lines[1].y2, 197.106, 290.000); // to node 3
    const auto supports = items(Shape::FilledCircle, 2);
    ASSERT_EQ(supports.size(), 2u);
    expectAt(supports[1].x1, supports[1].y1, 197.106, 455.000);
    const auto corners = items(Shape::Circle, 3); // nodes 2 and 3, the triad's circle
    ASSERT_EQ(corners.size(), 3u);
    expectAt(corners[1].x1, corners[1].y1, 197.106, 290.000);
    EXPECT_EQ(canvas().items().size(), 3u + 4u + 11u);

    const std::vector<Primitive> first = canvas().items();
    plot.DrawingActive = 0;
    FRAME0_ON(*p, plot, window);
    ASSERT_EQ(canvas().items().size(), first.size());
    for (std::size_t i = 0; i < first.size(); ++i)
        EXPECT_EQ(canvas().items()[i].x2, first[i].x2);
}

TEST_F(FrameDiagram, NodeMarksFollowPinsSpringsSupportsAndMemberCounts) {
    const struct {
        const char* name;
        int16_t pinned, sprung, support;
        std::vector<std::pair<int, double>> marks; // colour and radius at node 2
    } cases[] = {
        {"two members", 0, 0, 0, {{3, 3}}},
        {"pin", 1, 0, 0, {{13, 3}}},
        {"spring", 0, 1, 0, {{5, 3}}},
        {"pin and spring", 1, 1, 0, {{5, 3}, {13, 4}}},
        {"support with a pin", 1, 0, -1, {{13, 3}, {2, 2}}},
    };
    for (const auto& c : cases) {
        m().MemberStartPinned[2] = c.pinned;
        m().MemberStartSprung[2] = c.sprung;
        m().NodeIsSupport[2] = c.support;
        plot = PlotState{};
        FRAME0_ON(*p, plot, window);
        std::vector<std::pair<int, double>> found;
        for (const Primitive& item : canvas().items())
            if (item.shape != Shape::Line && item.shape != Shape::Text &&
                std::abs(item.y1 - 125.0) < 1e-3)
                found.emplace_back(item.color, item.radius);
        EXPECT_EQ(found, c.marks) << c.name;
        EXPECT_EQ(items(Shape::Line, 13).size(), 1u) << c.name; // no thirds, the triad's Y
    }
}

TEST_F(FrameDiagram, EnlargedViewRefitsDrawsReleaseThirdsAndLabelsAfterAKey) {
    m().MemberStartPinned[2] = 1;
    plot.NumberLabelKind = 1;
    FRAME0_ON(*p, plot, window);
    LOOP_END1(*p, plot, window);
    EXPECT_EQ(plot.view.Baseline, 590.0f);
    EXPECT_NEAR(plot.view.placed.scale, 0.898142, 1e-6);
    EXPECT_NEAR(plot.view.ViewScale, 0.673607, 1e-6); // the stored normal fit stays
    EXPECT_EQ(window.c("BUTTON79").caption, "骨組図終了");
    EXPECT_FALSE(window.c("BUTTON79").enabled);
    EXPECT_FALSE(window.c("RADIO58").enabled);
    EXPECT_EQ(window.c("TEXT54").caption, "何かキーを押してください。");
    // The pinned third of the beam from node 2 (530.525, 40) towards node 3 (149.474, 260).
    const auto pins = items(Shape::Line, 13);
    ASSERT_EQ(pins.size(), 2u);
    expectAt(pins[0].x1, pins[0].y1, 530.525, 40.000);
    expectAt(pins[0].x2, pins[0].y2, 403.508, 113.333);
    EXPECT_TRUE(items(Shape::Text, 2).empty());

    // Node 1 at x 530.525, height 330: cell (262, 25); member 1 between heights
    // 330 and 550: cell (262, 15); its type number at the same place.
    const struct {
        int16_t kind;
        std::size_t count;
        int y1;
        const char* second;
    } kinds[] = {{1, 4, 250, "2"}, {2, 3, 150, "2"}, {3, 3, 150, "1"}};
    for (const auto& k : kinds) {
        plot.NumberLabelKind = k.kind;
        if (k.kind > 1) {
            plot.AngleStep = 0;
            LOOP_END1(*p, plot, window);
        }
        DRAW_KEY(*p, plot, window);
        const auto labels = items(Shape::Text, 2);
        ASSERT_EQ(labels.size(), k.count) << k.kind;
        EXPECT_EQ(labels[0].text, "1");
        EXPECT_EQ(labels[0].x1, 524);
        EXPECT_EQ(labels[0].y1, k.y1);
        EXPECT_EQ(labels[1].text, k.second);
    }
    EXPECT_TRUE(window.c("BUTTON79").enabled);
    EXPECT_TRUE(window.c("RADIO58").enabled);
    EXPECT_EQ(plot.view.DrawState, 0);

    LOOP_END1(*p, plot, window); // the second press ends the drawing
    EXPECT_EQ(plot.DrawingActive, 0);
    EXPECT_TRUE(canvas().items().empty());
    EXPECT_FALSE(window.c("BUTTON79").enabled);
    EXPECT_TRUE(window.c("BUTTON69").enabled);
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
    // Turning instead of pressing a key gives the controls back.
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
    // Local x axes of the three members and the triad's X.
    ASSERT_EQ(items(Shape::Line, 9).size(), 4u);
    // Column 1-2 is vertical: x points up, 15 units of 0.8165 on screen.
    const auto x = items(Shape::Line, 9)[0];
    EXPECT_NEAR(x.y1 - x.y2, 15 * 0.8165, 1e-4);
}

} // namespace
} // namespace rahmen::testing
