#include "platform/Svg.h"

#include <gtest/gtest.h>

namespace rahmen {
namespace {

bool has(const std::string& svg, const std::string& part) {
    return svg.find(part) != std::string::npos;
}

TEST(Svg, EveryPrimitiveBecomesItsOwnElementInTheScreenColours) {
    Canvas canvas;
    canvas.line(10, 530, 200.5, 120.25, 3);
    canvas.circle(70, 80, 38, 13);
    canvas.filledCircle(100, 200, 2, 2);
    canvas.point(5, 6, 9);
    // 9 points = 12 pixels; the baseline 0.88 × 12 below the cell's top.
    canvas.text(155, 0, "1.23E+02 <倍> & \"x\"", 6, 9);

    const std::string svg = canvasToSvg(canvas);
    EXPECT_TRUE(has(svg, "width=\"680\" height=\"600\" viewBox=\"0 0 680 600\""));
    EXPECT_TRUE(has(svg, "<rect x=\"0\" y=\"0\" width=\"680\" height=\"600\" fill=\"#ffffff\"/>"));
    EXPECT_TRUE(
        has(svg, "<line x1=\"10\" y1=\"530\" x2=\"200.5\" y2=\"120.25\" stroke=\"#008080\"/>"));
    EXPECT_TRUE(
        has(svg, "<circle cx=\"70\" cy=\"80\" r=\"38\" fill=\"none\" stroke=\"#ff00ff\"/>"));
    EXPECT_TRUE(has(svg, "<circle cx=\"100\" cy=\"200\" r=\"2\" fill=\"#008000\""));
    EXPECT_TRUE(has(svg, "<rect x=\"5\" y=\"6\" width=\"1\" height=\"1\" fill=\"#0000ff\"/>"));
    EXPECT_TRUE(has(svg, "<text x=\"310\" y=\"10.56\" font-size=\"12\" fill=\"#808000\" "
                         "xml:space=\"preserve\">1.23E+02 &lt;倍&gt; &amp; &quot;x&quot;</text>"));
    // In display-list order: the line before the text.
    EXPECT_LT(svg.find("<line"), svg.find("<text"));
    EXPECT_TRUE(has(svg, "</svg>"));
}

} // namespace
} // namespace rahmen
