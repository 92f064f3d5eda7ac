// The 検定比図: the ratio classes and their colours, the ratios of one
// combination or the largest of all, and the picture's labels.

#include "draw/CheckPicture.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace rahmen {
namespace {

MemberCheck row(int member, const char* combination, double ratio, bool checked = true) {
    MemberCheck r;
    r.member = member;
    r.combination = combination;
    r.ratio = ratio;
    r.checked = checked;
    return r;
}

TEST(CheckPicture, EveryClassHasItsOwnColourFromItsLowerBound) {
    const struct {
        double ratio;
        int colour;
    } rows[] = {
        {0.0, kBlue},         {0.499, kBlue},      {0.5, kLightGreen},
        {0.799, kLightGreen}, {0.8, kLightYellow}, {0.999, kLightYellow},
        {1.0, kLightRed},     {3.5, kLightRed},    {kNotChecked, kGrey},
    };
    std::set<int> colours;
    for (const auto& r : rows) {
        EXPECT_EQ(ratioColour(r.ratio), r.colour) << r.ratio;
        colours.insert(r.colour);
    }
    // Five colours, none the frame diagram's own (cyan members, green
    // supports, magenta releases, the triad's light blue).
    EXPECT_EQ(colours.size(), 5u);
    for (int own : {kCyan, kGreen, kMagenta, kLightMagenta, kLightBlue})
        EXPECT_EQ(colours.count(own), 0u) << own;
}

TEST(CheckPicture, RatiosOfOneCombinationOrTheLargestOfAll) {
    const std::vector<MemberCheck> rows = {
        row(1, "L1", 0.3), row(2, "L1", 0.9), row(3, "L1", 0, false),
        row(1, "S1", 1.2), row(2, "S1", 0.4), row(3, "S1", 0, false),
    };
    EXPECT_EQ(memberRatios(rows, 4, "L1"), (std::vector<double>{-1, 0.3, 0.9, -1, -1}));
    EXPECT_EQ(memberRatios(rows, 4, "S1"), (std::vector<double>{-1, 1.2, 0.4, -1, -1}));
    EXPECT_EQ(memberRatios(rows, 4, ""), (std::vector<double>{-1, 1.2, 0.9, -1, -1}));
    EXPECT_EQ(memberRatios(rows, 1, ""), (std::vector<double>{-1, 1.2}));
    EXPECT_EQ(ratioLabel(1.066), "1.07");
    EXPECT_EQ(ratioLabel(0.5), "0.50");
}

TEST(CheckPicture, MembersInTheirColoursAndTheRatiosOnlyWhenEnlarged) {
    auto md = std::make_unique<Model>();
    md->NodeCount = 3, md->MemberCount = 2;
    md->NodeZ[2] = md->NodeZ[3] = 300, md->NodeX[3] = 500;
    md->MemberStartNode[1] = 1, md->MemberEndNode[1] = 2;
    md->MemberStartNode[2] = 2, md->MemberEndNode[2] = 3;
    ViewState view;
    startView(*md, view);
    for (int16_t state : {0, 1}) {
        view.DrawState = state;
        Canvas canvas;
        drawCheckPicture(*md, view, canvas, {kNotChecked, 1.5, kNotChecked}, "検定比図　S1", "");
        std::vector<int> memberLines;
        std::vector<std::string> texts;
        for (const Primitive& p : canvas.items()) {
            if (p.shape == Shape::Line) memberLines.push_back(p.color);
            if (p.shape == Shape::Text) texts.push_back(p.text);
        }
        EXPECT_EQ(memberLines, (std::vector<int>{kLightRed, kGrey}));
        EXPECT_EQ(texts.front(), "検定比図　S1");
        const bool labelled = std::find(texts.begin(), texts.end(), "1.50") != texts.end();
        EXPECT_EQ(labelled, state == 1);
        EXPECT_EQ(std::count(texts.begin(), texts.end(), "検定外"), 1);
    }
}

} // namespace
} // namespace rahmen
