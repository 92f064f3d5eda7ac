#include "draw/Projection.h"

#include "model/Model.h"

#include <gtest/gtest.h>

#include <memory>

namespace rahmen {
namespace {

// The 2 x 1-bay, 3-storey grid of the worked projection example: X 0, 600,
// 1200; Y 0, 500; Z 0, 300, 600, 900; numbered floor by floor, X-line by X-line.
TEST(Projection, WorkedExampleNormalAndEnlargedView) {
    auto model = std::make_unique<Model>();
    int n = 0;
    for (int z = 0; z < 4; ++z)
        for (int x = 0; x < 3; ++x)
            for (int y = 0; y < 2; ++y) {
                ++n;
                model->NodeX[n] = 600.0f * x;
                model->NodeY[n] = 500.0f * y;
                model->NodeZ[n] = 300.0f * z;
            }
    model->NodeCount = static_cast<int16_t>(n);
    ViewState view;
    startView(*model, view);
    EXPECT_FLOAT_EQ(view.ViewX[24], 600.0f);
    EXPECT_FLOAT_EQ(view.ViewY[1], -250.0f);
    EXPECT_NEAR(view.ViewScale, 0.230951, 1e-6);
    EXPECT_NEAR(view.ViewOffsetX, 201.189, 1e-3);
    EXPECT_NEAR(view.ViewOffsetY, 75.000, 1e-3);
    EXPECT_EQ(view.Baseline, 530.0f);

    const struct {
        int node;
        double x, y, bigX, bigY;
    } rows[] = {{1, 397.157, 294.714, 416.210, 266.286},
                {2, 478.811, 341.857, 525.081, 329.143},
                {7, 397.157, 238.143, 416.210, 190.857},
                {24, 282.843, 285.286, 263.790, 253.714}};
    for (const auto& r : rows) {
        EXPECT_NEAR(nodePoint(view, r.node).x, r.x, 2e-3) << r.node;
        EXPECT_NEAR(nodePoint(view, r.node).y, r.y, 2e-3) << r.node;
    }
    enlargeView(view);
    EXPECT_NEAR(view.placed.scale, 0.307935, 1e-6);
    EXPECT_NEAR(view.placed.offsetX, 154.919, 1e-3);
    EXPECT_NEAR(view.placed.offsetY, 110.000, 1e-3);
    EXPECT_EQ(view.Baseline, 590.0f);
    for (const auto& r : rows) {
        EXPECT_NEAR(nodePoint(view, r.node).x, r.bigX, 2e-3) << r.node;
        EXPECT_NEAR(nodePoint(view, r.node).y, r.bigY, 2e-3) << r.node;
    }
    EXPECT_NEAR(view.ViewScale, 0.230951, 1e-6); // the enlarged fit is not stored
}

TEST(Projection, DegenerateNodeSetsAreDrawnAtOnePixelPerCmInTheCentre) {
    const struct {
        const char* name;
        int count;
        float far;
        double scale;
    } cases[] = {{"no node", 0, 0, 1.0},
                 {"one node", 1, 0, 1.0},
                 {"two nodes on one point", 2, 100, 1.0},
                 // Along (1, 1, 1) both ranges vanish: 250 pixels over 173.205 cm.
                 {"line along (1,1,1)", 2, 200, 1.443376}};
    for (const auto& c : cases) {
        auto model = std::make_unique<Model>();
        model->NodeCount = static_cast<int16_t>(c.count);
        model->NodeX[1] = model->NodeY[1] = model->NodeZ[1] = 100;
        model->NodeX[2] = model->NodeY[2] = model->NodeZ[2] = c.far;
        ViewState view;
        startView(*model, view);
        EXPECT_NEAR(view.ViewScale, c.scale, 1e-5) << c.name;
        if (c.count == 0 || c.scale != 1.0) continue;
        EXPECT_NEAR(nodePoint(view, 1).x, 340.0, 1e-4) << c.name;
        EXPECT_NEAR(nodePoint(view, 1).y, 290.0, 1e-4) << c.name;
    }
}

TEST(Projection, AxisTriadAtAnglesZero) {
    ViewState view;
    const struct {
        double x, y, z, px, py;
    } refs[] = {{45, 0, 0, 38.18, 98.37}, {0, 45, 0, 101.82, 98.37}, {0, 0, 45, 70.00, 43.26}};
    for (const auto& r : refs) {
        EXPECT_NEAR(triadPoint(view, r.x, r.y, r.z, false).x, r.px, 5e-3);
        EXPECT_NEAR(triadPoint(view, r.x, r.y, r.z, false).y, r.py, 5e-3);
    }
    Canvas canvas;
    drawTriad(view, canvas);
    const auto& items = canvas.items();
    ASSERT_EQ(items.size(), 11u); // circle, reference line, 3 labels, 3 axes, 3 labels
    EXPECT_EQ(items[0].radius, 38);
    EXPECT_NEAR(items[1].x2, 101.82, 5e-3);
    // Reference label X at 63 units, (25.45, 105.72): cell (12, 10).
    EXPECT_EQ(items[2].text, "X");
    EXPECT_EQ(items[2].x1, 24);
    EXPECT_EQ(items[2].y1, 100);
    // Rotated Z axis, 35 units up in colour 5; "ZΦ" at 38.5 units, (70, 48.56).
    EXPECT_NEAR(items[9].y2, 80 - 35 * 0.8165, 1e-4);
    EXPECT_EQ(items[10].text, "ZΦ");
    EXPECT_EQ(items[10].x1, 70);
    EXPECT_EQ(items[10].y1, 40);
}

} // namespace
} // namespace rahmen
