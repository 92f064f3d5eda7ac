#include "draw/CheckPicture.h"

#include "draw/draw1.h"
#include "model/Model.h"
#include "platform/Sjis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rahmen {

namespace {

struct RatioClass {
    double below; // the class holds the ratios under this
    int colour;
    const char* text;
};

const RatioClass kClasses[] = {
    {0.5, kBlue, "0.5 未満"},
    {0.8, kLightGreen, "0.5 以上 0.8 未満"},
    {1.0, kLightYellow, "0.8 以上 1.0 未満"},
    {HUGE_VAL, kLightRed, "1.0 以上（NG）"},
};

// The legend's right edge, left of the vertical scroll bar on the picture.
constexpr double kLegendRight = 632;
constexpr double kLegendLeft = 470;

// A generous width of a text at the default font size (9 points, 12 pixels
// a full-width character, an ASCII one reckoned at 7).
double textWidth(const std::string& text) {
    const auto ascii = std::count_if(text.begin(), text.end(),
                                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    const double full = (static_cast<double>(cp932Width(text)) - ascii) / 2;
    return 7.0 * ascii + 12.0 * full;
}

void drawLegend(Canvas& canvas, const std::string& title, const std::string& note) {
    const double titleX = std::max(200.0, kLegendRight - textWidth(title));
    canvas.text(static_cast<int>(titleX / Canvas::ColumnWidth), 0, title, kBlack);
    int row = 2;
    auto entry = [&](int colour, const char* text) {
        const double y = row * Canvas::RowHeight + 6;
        canvas.filledCircle(kLegendLeft + 6, y, 4, colour);
        canvas.text(static_cast<int>((kLegendLeft + 16) / Canvas::ColumnWidth), row, text, kBlack);
        row += 2;
    };
    for (const RatioClass& k : kClasses)
        entry(k.colour, k.text);
    entry(kGrey, "検定外");
    if (!note.empty()) {
        const double x = std::max(200.0, kLegendRight - textWidth(note));
        canvas.text(static_cast<int>(x / Canvas::ColumnWidth), row, note, kBlack);
    }
}

// The ratio beside the middle of the member: under a member that runs more
// across than up the picture, to the right of one that runs up.
void drawRatio(const Model& model, const ViewState& view, Canvas& canvas, int m, double ratio) {
    const PicturePoint a = nodePoint(view, model.MemberStartNode[m]);
    const PicturePoint b = nodePoint(view, model.MemberEndNode[m]);
    const double x = (a.x + b.x) / 2, y = (a.y + b.y) / 2;
    const std::string text = ratioLabel(ratio);
    int column, row;
    if (std::abs(b.y - a.y) > std::abs(b.x - a.x)) {
        column = static_cast<int>(std::floor((x + 4) / Canvas::ColumnWidth));
        row = static_cast<int>(std::floor((y - 6) / Canvas::RowHeight));
    } else {
        column = static_cast<int>(std::floor((x - textWidth(text) / 2) / Canvas::ColumnWidth));
        row = static_cast<int>(std::floor(y / Canvas::RowHeight)) + 1;
    }
    canvas.text(column, row, text, kBlack);
}

} // namespace

std::vector<double> memberRatios(const std::vector<MemberCheck>& rows, int memberCount,
                                 const std::string& combination) {
    std::vector<double> ratios(static_cast<std::size_t>(std::max(memberCount, 0)) + 1, kNotChecked);
    for (const MemberCheck& r : rows) {
        if (!r.checked || r.member < 1 || r.member > memberCount) continue;
        if (!combination.empty() && r.combination != combination) continue;
        double& ratio = ratios[static_cast<std::size_t>(r.member)];
        ratio = std::max(ratio, r.ratio);
    }
    return ratios;
}

int ratioColour(double ratio) {
    if (!(ratio >= 0)) return kGrey;
    for (const RatioClass& k : kClasses)
        if (ratio < k.below) return k.colour;
    return kLightRed;
}

std::string ratioLabel(double ratio) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", ratio);
    return buf;
}

void drawCheckPicture(const Model& model, const ViewState& view, Canvas& canvas,
                      const std::vector<double>& ratios, const std::string& title,
                      const std::string& note) {
    auto ratioOf = [&](int m) {
        return m >= 0 && static_cast<std::size_t>(m) < ratios.size()
                   ? ratios[static_cast<std::size_t>(m)]
                   : kNotChecked;
    };
    FrameStyle style;
    style.memberColour = [&](int m) { return ratioColour(ratioOf(m)); };
    drawFrameMarks(model, view, canvas, style);
    drawLegend(canvas, title, note);
    if (view.DrawState != 1) return;
    for (int m = 1; m <= drawableMemberCount(model); ++m) {
        if (!memberDrawable(model, m) || model.MemberStartNode[m] > view.nodeCount() ||
            model.MemberEndNode[m] > view.nodeCount() || !(ratioOf(m) >= 0))
            continue;
        drawRatio(model, view, canvas, m, ratioOf(m));
    }
}

} // namespace rahmen
