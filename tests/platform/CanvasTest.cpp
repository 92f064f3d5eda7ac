#include "platform/Canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace rahmen {
namespace {

// Relative luminance and contrast ratio as WCAG 2 defines them.
double luminance(Rgb c) {
    auto linear = [](std::uint8_t v) {
        const double s = v / 255.0;
        return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.r) + 0.7152 * linear(c.g) + 0.0722 * linear(c.b);
}

double contrast(Rgb a, Rgb b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Every colour a picture draws in stands out from its white background by at
// least 3:1, WCAG's minimum for lines and marks (1.4.11 "non-text
// contrast"). The classic light grey of loaded members and nodes had 1.8:1,
// light green 1.4:1, cyan 1.25:1, yellow 1.07:1.
TEST(Canvas, EveryPaletteColourStandsOutFromTheBackground) {
    const Canvas canvas;
    EXPECT_EQ(canvas.background(), 15);
    const Rgb background = paletteColor(canvas.background());
    for (int colour = 0; colour < PaletteSize; ++colour) {
        if (colour == canvas.background()) continue;
        EXPECT_GE(contrast(paletteColor(colour), background), 3.0) << "colour " << colour;
    }
}

TEST(Canvas, PaletteIsTheClassicColoursWithDarkerLightOnes) {
    EXPECT_EQ(paletteColor(0), (Rgb{0x00, 0x00, 0x00}));
    EXPECT_EQ(paletteColor(1), (Rgb{0x00, 0x00, 0x80}));
    EXPECT_EQ(paletteColor(3), (Rgb{0x00, 0x80, 0x80}));
    EXPECT_EQ(paletteColor(5), (Rgb{0x80, 0x00, 0x80}));
    EXPECT_EQ(paletteColor(6), (Rgb{0x80, 0x80, 0x00}));
    EXPECT_EQ(paletteColor(7), (Rgb{0x60, 0x60, 0x60}));
    EXPECT_EQ(paletteColor(8), (Rgb{0x80, 0x80, 0x80}));
    EXPECT_EQ(paletteColor(9), (Rgb{0x00, 0x00, 0xFF}));
    EXPECT_EQ(paletteColor(12), (Rgb{0xFF, 0x00, 0x00}));
    EXPECT_EQ(paletteColor(13), (Rgb{0xFF, 0x00, 0xFF}));
    EXPECT_EQ(paletteColor(14), (Rgb{0x8C, 0x8C, 0x00}));
    EXPECT_EQ(paletteColor(15), (Rgb{0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(paletteColor(16), (Rgb{0x00, 0x00, 0x00}));
    EXPECT_EQ(paletteColor(-1), (Rgb{0x00, 0x00, 0x00}));
}

TEST(Canvas, RecordsPrimitivesInDrawingOrder) {
    Canvas canvas;
    EXPECT_EQ(canvas.width(), 680);
    EXPECT_EQ(canvas.height(), 600);
    canvas.line(10, 530, 200.5, 120, 3);
    canvas.circle(70, 80, 38, 3);
    canvas.filledCircle(100, 200, 2, 13);
    canvas.point(5, 6, 9);

    const auto& items = canvas.items();
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].shape, Shape::Line);
    EXPECT_EQ(items[0].color, 3);
    EXPECT_DOUBLE_EQ(items[0].x1, 10);
    EXPECT_DOUBLE_EQ(items[0].y1, 530);
    EXPECT_DOUBLE_EQ(items[0].x2, 200.5);
    EXPECT_DOUBLE_EQ(items[0].y2, 120);
    EXPECT_EQ(items[1].shape, Shape::Circle);
    EXPECT_DOUBLE_EQ(items[1].radius, 38);
    EXPECT_EQ(items[2].shape, Shape::FilledCircle);
    EXPECT_EQ(items[3].shape, Shape::Point);
}

TEST(Canvas, TextGridCellsAreTwoPixelsWideAndTenHigh) {
    Canvas canvas;
    canvas.text(47, 59, "12", 6);
    canvas.setFontSize(11);
    canvas.text(0, 0, "変形図", 0);
    canvas.text(3, 2, "x", 2, 14);

    const auto& items = canvas.items();
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].shape, Shape::Text);
    EXPECT_DOUBLE_EQ(items[0].x1, 94);
    EXPECT_DOUBLE_EQ(items[0].y1, 590) << "row 59 lies on the enlarged baseline";
    EXPECT_EQ(items[0].text, "12");
    EXPECT_EQ(items[0].color, 6);
    EXPECT_EQ(items[0].fontSize, 9);
    EXPECT_EQ(items[1].fontSize, 11);
    EXPECT_DOUBLE_EQ(items[2].x1, 6);
    EXPECT_DOUBLE_EQ(items[2].y1, 20);
    EXPECT_EQ(items[2].fontSize, 14);
}

TEST(Canvas, PrintedLinesGoDownRowByRowAndClearStartsAgain) {
    Canvas canvas(300, 120);
    canvas.printLine("");
    canvas.printLine("");
    canvas.printLine("　　　座標データ書込み中");
    canvas.printLine("ζζζ", 4);
    EXPECT_EQ(canvas.printRow(), 4);
    ASSERT_EQ(canvas.items().size(), 2u) << "empty lines draw nothing";
    EXPECT_DOUBLE_EQ(canvas.items()[0].x1, 0);
    EXPECT_DOUBLE_EQ(canvas.items()[0].y1, 20);
    EXPECT_EQ(canvas.items()[0].text, "　　　座標データ書込み中");
    EXPECT_DOUBLE_EQ(canvas.items()[1].y1, 30);
    EXPECT_EQ(canvas.items()[1].color, 4);

    const auto before = canvas.revision();
    canvas.clear();
    EXPECT_GT(canvas.revision(), before);
    EXPECT_TRUE(canvas.items().empty());
    EXPECT_EQ(canvas.clearCount(), 1);
    canvas.printLine("a");
    EXPECT_DOUBLE_EQ(canvas.items()[0].y1, 0);
}

} // namespace
} // namespace rahmen
