#include "draw/LabelPlacer.h"

#include <algorithm>
#include <cmath>

namespace rahmen {

namespace {

// Overlap below this many pixels counts as touching.
constexpr double kTouch = 1.0;
// Cells beyond the picture are clamped into its border cells, so that boxes
// far outside still meet each other.
constexpr int kMaxCells = 1 << 16;

} // namespace

bool boxesOverlap(const LabelBox& a, const LabelBox& b) {
    const double across = std::min(a.x + a.w, b.x + b.w) - std::max(a.x, b.x);
    const double down = std::min(a.y + a.h, b.y + b.h) - std::max(a.y, b.y);
    return across > kTouch && down > kTouch;
}

bool segmentCrossesBox(double x1, double y1, double x2, double y2, const LabelBox& box) {
    // Liang–Barsky clipping of the segment against the box.
    double t0 = 0, t1 = 1;
    const double dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - box.x, box.x + box.w - x1, y1 - box.y, box.y + box.h - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
        if (t0 > t1) return false;
    }
    return true;
}

LabelPlacer::LabelPlacer(double width, double height)
    : width_(width), height_(height),
      columns_(std::clamp(static_cast<int>(std::ceil(width / kCell)), 1, 4096)),
      rows_(std::clamp(static_cast<int>(std::ceil(height / kCell)), 1, kMaxCells / 4096)),
      boxCells_(static_cast<std::size_t>(columns_) * rows_),
      lineCells_(static_cast<std::size_t>(columns_) * rows_) {}

LabelPlacer::Cells LabelPlacer::cellsOf(const LabelBox& box) const {
    auto column = [&](double x) {
        return std::clamp(static_cast<int>(std::floor(x / kCell)), 0, columns_ - 1);
    };
    auto row = [&](double y) {
        return std::clamp(static_cast<int>(std::floor(y / kCell)), 0, rows_ - 1);
    };
    return {row(box.y), row(box.y + box.h), column(box.x), column(box.x + box.w)};
}

// Calls visit(cell) for each cell of the box until one returns true.
template <typename Visit> bool LabelPlacer::anyInCells(const LabelBox& box, Visit&& visit) const {
    const Cells cells = cellsOf(box);
    for (int r = cells.firstRow; r <= cells.lastRow; ++r)
        for (int c = cells.firstColumn; c <= cells.lastColumn; ++c)
            if (visit(r * columns_ + c)) return true;
    return false;
}

void LabelPlacer::fileBox(const LabelBox& box) {
    const int index = static_cast<int>(boxes_.size());
    boxes_.push_back(box);
    anyInCells(box, [&](int cell) {
        boxCells_[cell].push_back(index);
        return false;
    });
}

void LabelPlacer::block(const LabelBox& box) {
    fileBox(box);
}

void LabelPlacer::addLine(double x1, double y1, double x2, double y2, int owner) {
    const int index = static_cast<int>(lines_.size());
    lines_.push_back({x1, y1, x2, y2, owner});
    const LabelBox bounds{std::min(x1, x2), std::min(y1, y2), std::abs(x2 - x1), std::abs(y2 - y1)};
    // A long line is filed in every cell of its bounding box; a cell it does
    // not pass through costs a test that fails, nothing more.
    anyInCells(bounds, [&](int cell) {
        lineCells_[cell].push_back(index);
        return false;
    });
}

bool LabelPlacer::overlapsBox(const LabelBox& box) const {
    return anyInCells(box, [&](int cell) {
        for (int i : boxCells_[cell])
            if (boxesOverlap(box, boxes_[i])) return true;
        return false;
    });
}

bool LabelPlacer::crossesLine(const LabelBox& box, int owner) const {
    return anyInCells(box, [&](int cell) {
        for (int i : lineCells_[cell]) {
            const Line& l = lines_[i];
            if (l.owner == owner && owner > 0) continue;
            if (segmentCrossesBox(l.x1, l.y1, l.x2, l.y2, box)) return true;
        }
        return false;
    });
}

bool LabelPlacer::inside(const LabelBox& box) const {
    // The blank a label's box keeps around its text may reach beyond the edge.
    constexpr double kBlank = 4;
    return box.x >= -kBlank && box.y >= -kBlank && box.x + box.w <= width_ + kBlank &&
           box.y + box.h <= height_ + kBlank;
}

std::optional<LabelBox> LabelPlacer::place(const LabelBox& own, int owner, bool avoidLines,
                                           const std::vector<std::pair<double, double>>& offsets) {
    std::optional<LabelBox> crossing;
    auto consider = [&](const LabelBox& box) {
        if (overlapsBox(box)) return false;
        if (!avoidLines || !crossesLine(box, owner)) return true;
        if (!crossing) crossing = box;
        return false;
    };
    std::optional<LabelBox> chosen;
    if (consider(own)) chosen = own;
    for (std::size_t i = 0; !chosen && i < offsets.size(); ++i) {
        const LabelBox moved{own.x + offsets[i].first, own.y + offsets[i].second, own.w, own.h};
        if (inside(moved) && consider(moved)) chosen = moved;
    }
    if (!chosen) chosen = crossing;
    if (chosen) fileBox(*chosen);
    return chosen;
}

std::vector<std::pair<double, double>> LabelPlacer::aroundOffsets(double w, double h) {
    // Whole pixels, so that a moved label stays as crisp as the others; a
    // label of the 11-pixel font moves by one row of the text grid.
    const double row = std::ceil(h) + 1, side = std::ceil(w) + 3;
    return {{0, -row},    {0, row},     {-side, 0},  {side, 0},     {-side, -row},
            {side, -row}, {-side, row}, {side, row}, {0, -2 * row}, {0, 2 * row}};
}

} // namespace rahmen
