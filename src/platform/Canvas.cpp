#include "platform/Canvas.h"

#include <utility>

namespace rahmen {

Rgb paletteColor(int index) {
    // The classic colours, but for the light ones, which vanish on the white
    // picture: light grey (loaded members and nodes), light green, cyan and
    // yellow are darker shades of themselves, each at least 3:1 against
    // white (the contrast asked of lines and marks). Light grey became a
    // dark grey, so that a loaded member stands out from the frame's lines.
    static const Rgb palette[PaletteSize] = {
        {0x00, 0x00, 0x00}, {0x00, 0x00, 0x80}, {0x00, 0x80, 0x00}, {0x00, 0x80, 0x80},
        {0x80, 0x00, 0x00}, {0x80, 0x00, 0x80}, {0x80, 0x80, 0x00}, {0x60, 0x60, 0x60},
        {0x80, 0x80, 0x80}, {0x00, 0x00, 0xFF}, {0x00, 0xA0, 0x00}, {0x00, 0x99, 0x99},
        {0xFF, 0x00, 0x00}, {0xFF, 0x00, 0xFF}, {0x8C, 0x8C, 0x00}, {0xFF, 0xFF, 0xFF},
    };
    if (index < 0 || index >= PaletteSize) return palette[0];
    return palette[index];
}

Canvas::Canvas(int width, int height) : width_(width), height_(height) {}

void Canvas::setBackground(int color) {
    background_ = color;
    ++revision_;
}

void Canvas::setFontSize(int points) {
    fontSize_ = points;
}

void Canvas::clear() {
    items_.clear();
    printRow_ = 0;
    overlay_ = labels_ = false;
    owner_ = 0;
    ++clearCount_;
    ++revision_;
}

void Canvas::add(Primitive p) {
    p.overlay = overlay_;
    p.label = labels_ && p.shape == Shape::Text;
    p.owner = owner_;
    items_.push_back(std::move(p));
    ++revision_;
}

void Canvas::line(double x1, double y1, double x2, double y2, int color) {
    Primitive p;
    p.shape = Shape::Line;
    p.color = color;
    p.x1 = x1;
    p.y1 = y1;
    p.x2 = x2;
    p.y2 = y2;
    add(std::move(p));
}

void Canvas::circle(double x, double y, double radius, int color) {
    Primitive p;
    p.shape = Shape::Circle;
    p.color = color;
    p.x1 = x;
    p.y1 = y;
    p.radius = radius;
    add(std::move(p));
}

void Canvas::filledCircle(double x, double y, double radius, int color) {
    Primitive p;
    p.shape = Shape::FilledCircle;
    p.color = color;
    p.x1 = x;
    p.y1 = y;
    p.radius = radius;
    add(std::move(p));
}

void Canvas::point(double x, double y, int color) {
    Primitive p;
    p.shape = Shape::Point;
    p.color = color;
    p.x1 = x;
    p.y1 = y;
    add(std::move(p));
}

void Canvas::text(int column, int row, const std::string& text, int color, int fontSize) {
    Primitive p;
    p.shape = Shape::Text;
    p.color = color;
    p.x1 = static_cast<double>(column) * ColumnWidth;
    p.y1 = static_cast<double>(row) * RowHeight;
    p.text = text;
    p.fontSize = fontSize > 0 ? fontSize : fontSize_;
    add(std::move(p));
}

void Canvas::append(const Primitive& p) {
    items_.push_back(p);
    ++revision_;
}

void Canvas::printLine(const std::string& line, int color) {
    if (!line.empty()) text(0, printRow_, line, color);
    ++printRow_;
}

} // namespace rahmen
