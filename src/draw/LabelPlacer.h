#pragma once
// Labels that never overlap: a greedy placer over the picture. Each label asks
// for its own place first and then for a few places around it; it gets the
// first one that overlaps no label placed before it and no blocked box (the
// fixed texts, the controls lying over the picture), and that crosses no line
// of another member (where some place does not). A label that finds no free
// place is left out; the caller draws it when a zoom makes room.

#include <optional>
#include <utility>
#include <vector>

namespace rahmen {

// A box of the picture in pixels: top-left corner, width and height.
struct LabelBox {
    double x = 0, y = 0, w = 0, h = 0;
};

// Two boxes overlap when they share more than a pixel across and down: labels
// on neighbouring text rows may touch.
bool boxesOverlap(const LabelBox& a, const LabelBox& b);

// Whether the segment from (x1, y1) to (x2, y2) passes through the box.
bool segmentCrossesBox(double x1, double y1, double x2, double y2, const LabelBox& box);

class LabelPlacer {
public:
    // Candidate places are kept inside the picture of this size; a label's
    // own place may lie partly outside it.
    LabelPlacer(double width, double height);

    // A box no label may overlap.
    void block(const LabelBox& box);
    // A line labels keep clear of, but for the labels of its owner (a member
    // number, > 0); a line of owner < 0 is kept clear by every label.
    void addLine(double x1, double y1, double x2, double y2, int owner);

    // The place given to a label of `owner` whose own place is `own`: the first
    // of `own`, then `own` moved by each offset, that is free; without such a
    // place, the first that only crosses lines; none when every one overlaps.
    // avoidLines false takes the first place free of labels and blocks.
    std::optional<LabelBox> place(const LabelBox& own, int owner, bool avoidLines,
                                  const std::vector<std::pair<double, double>>& offsets);

    // The offsets a label of this size tries after its own place: a row up and
    // down, beside itself left and right, then the corners and two rows away.
    static std::vector<std::pair<double, double>> aroundOffsets(double w, double h);

private:
    struct Line {
        double x1, y1, x2, y2;
        int owner;
    };
    // Boxes and lines are filed in square cells so that a test looks only at
    // its neighbours.
    static constexpr double kCell = 48;
    // The cells a box touches: rows first to last, columns first to last.
    struct Cells {
        int firstRow, lastRow, firstColumn, lastColumn;
    };
    Cells cellsOf(const LabelBox& box) const;
    template <typename Visit> bool anyInCells(const LabelBox& box, Visit&& visit) const;
    bool overlapsBox(const LabelBox& box) const;
    bool crossesLine(const LabelBox& box, int owner) const;
    bool inside(const LabelBox& box) const;
    void fileBox(const LabelBox& box);

    double width_, height_;
    int columns_, rows_;
    std::vector<LabelBox> boxes_;
    std::vector<Line> lines_;
    std::vector<std::vector<int>> boxCells_, lineCells_;
};

} // namespace rahmen
