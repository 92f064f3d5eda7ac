#pragma once
// The picture of a form as a display list. Drawing code appends primitives in
// picture pixels (x to the right, y downward from the top-left corner); tests
// read the list and the Qt picture widget paints it in order.

#include <cstdint>
#include <string>
#include <vector>

namespace rahmen {

// The 16 colours a picture can use, numbered 0..15 as in the classic palette
// (0 black, 1 blue, ... 8 grey, ... 15 white, the picture's background); the
// light colours 7, 10, 11 and 14 are darker shades, so that every colour
// shows on white.
struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
    bool operator!=(const Rgb& o) const { return !(*this == o); }
};

constexpr int PaletteSize = 16;

// The palette numbers by the names of the classic palette (the dark half 0..7,
// its light half 8..15; kYellow is the dark olive yellow, kLightYellow the bright one).
enum PaletteColor : int {
    kBlack = 0,
    kBlue = 1,
    kGreen = 2,
    kCyan = 3,
    kRed = 4,
    kMagenta = 5,
    kYellow = 6,
    kLightGrey = 7,
    kGrey = 8,
    kLightBlue = 9,
    kLightGreen = 10,
    kLightCyan = 11,
    kLightRed = 12,
    kLightMagenta = 13,
    kLightYellow = 14,
    kWhite = 15,
};

// The RGB value of a palette number; numbers outside 0..15 give black.
Rgb paletteColor(int index);

enum class Shape { Line, Circle, FilledCircle, Point, Text };

struct Primitive {
    Shape shape = Shape::Point;
    int color = 0; // palette number
    // Line: from (x1, y1) to (x2, y2). Circle, filled circle, point: centre
    // (x1, y1). Text: top-left corner of its first character cell (x1, y1).
    double x1 = 0;
    double y1 = 0;
    double x2 = 0;
    double y2 = 0;
    double radius = 0;
    std::string text; // UTF-8
    int fontSize = 0; // points, text only
    // What the picture may do with the primitive when it is shown: an overlay
    // (legend, triad, captions) stays at its place in the picture whatever
    // the zoom; a label (a number or value naming a member or node) may be
    // moved off an overlap or left out. The owner is the member a line or a
    // label belongs to (0 none); a mark line owned by kAllLabels is kept
    // clear by every label.
    bool overlay = false;
    bool label = false;
    int owner = 0;
};

constexpr int kAllLabels = -1;

class Canvas {
public:
    static constexpr int DefaultWidth = 680;
    static constexpr int DefaultHeight = 600;
    // Text is placed on a grid of cells 2 pixels wide and 10 pixels high:
    // column c, row r starts at pixel (2c, 10r).
    static constexpr int ColumnWidth = 2;
    static constexpr int RowHeight = 10;
    static constexpr int DefaultFontSize = 9;

    explicit Canvas(int width = DefaultWidth, int height = DefaultHeight);

    int width() const { return width_; }
    int height() const { return height_; }

    int background() const { return background_; }
    void setBackground(int color);

    // Font size used by text and printLine when no size is given.
    int fontSize() const { return fontSize_; }
    void setFontSize(int points);

    // Empties the picture and puts the print position back to the first row;
    // ends any overlay, label or owner drawing.
    void clear();

    // The following primitives are overlays, labels, or belong to a member
    // (see Primitive), until changed again.
    void setOverlay(bool on) { overlay_ = on; }
    void setLabels(bool on) { labels_ = on; }
    void setOwner(int owner) { owner_ = owner; }
    bool overlay() const { return overlay_; }
    bool labels() const { return labels_; }
    int owner() const { return owner_; }

    void line(double x1, double y1, double x2, double y2, int color);
    void circle(double x, double y, double radius, int color);
    void filledCircle(double x, double y, double radius, int color);
    void point(double x, double y, int color);
    // Text at a cell of the text grid. fontSize 0 means the canvas's font size.
    void text(int column, int row, const std::string& text, int color, int fontSize = 0);

    // Prints a line at the left edge of the next text row and moves the print
    // position one row down, as the progress window prints its steps. An empty
    // line only moves the position.
    void printLine(const std::string& text, int color = 0);

    // A primitive as it is, its overlay, label and owner too (a copy of
    // another picture's item).
    void append(const Primitive& p);
    int printRow() const { return printRow_; }

    const std::vector<Primitive>& items() const { return items_; }
    int clearCount() const { return clearCount_; }
    // Grows with every change, so a widget can repaint only when needed.
    std::uint64_t revision() const { return revision_; }

private:
    void add(Primitive p);

    int width_;
    int height_;
    int background_ = 15;
    int fontSize_ = DefaultFontSize;
    int printRow_ = 0;
    bool overlay_ = false;
    bool labels_ = false;
    int owner_ = 0;
    int clearCount_ = 0;
    std::uint64_t revision_ = 0;
    std::vector<Primitive> items_;
};

} // namespace rahmen
