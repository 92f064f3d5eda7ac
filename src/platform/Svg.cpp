#include "platform/Svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rahmen {

namespace {

std::string colour(int index) {
    const Rgb c = paletteColor(index);
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", c.r, c.g, c.b);
    return text;
}

// Coordinates with at most two decimals and no trailing zeros, so that the
// document stays small and two pictures of the same display list are equal.
std::string number(double v) {
    if (!std::isfinite(v)) v = 0;
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", v);
    std::string s(text);
    while (s.back() == '0')
        s.pop_back();
    if (s.back() == '.') s.pop_back();
    if (s == "-0") s = "0";
    return s;
}

std::string escaped(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (char ch : text) {
        switch (ch) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            // Control characters are not allowed in XML 1.0.
            if (static_cast<unsigned char>(ch) >= 0x20 || ch == '\t') out += ch;
        }
    }
    return out;
}

// Font sizes are in points; the picture is in pixels at 96 dots per inch, as
// on the screen.
double fontPixels(int points) {
    return std::max(1L, std::lround(points * 96.0 / 72.0));
}

} // namespace

std::string canvasToSvg(const Canvas& canvas) {
    const std::string w = std::to_string(canvas.width());
    const std::string h = std::to_string(canvas.height());
    std::string s;
    s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    s += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + "\" height=\"" + h +
         "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
    s += "<rect x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h + "\" fill=\"" +
         colour(canvas.background()) + "\"/>\n";
    // Lines one pixel wide along the pixel centres, as the screen draws them.
    s += "<g stroke-width=\"1\" shape-rendering=\"crispEdges\" "
         "font-family=\"IPAexGothic, 'IPAexゴシック', sans-serif\">\n";
    for (const Primitive& p : canvas.items()) {
        const std::string c = colour(p.color);
        switch (p.shape) {
        case Shape::Line:
            s += "<line x1=\"" + number(p.x1) + "\" y1=\"" + number(p.y1) + "\" x2=\"" +
                 number(p.x2) + "\" y2=\"" + number(p.y2) + "\" stroke=\"" + c + "\"/>\n";
            break;
        case Shape::Circle:
            s += "<circle cx=\"" + number(p.x1) + "\" cy=\"" + number(p.y1) + "\" r=\"" +
                 number(p.radius) + "\" fill=\"none\" stroke=\"" + c + "\"/>\n";
            break;
        case Shape::FilledCircle:
            s += "<circle cx=\"" + number(p.x1) + "\" cy=\"" + number(p.y1) + "\" r=\"" +
                 number(p.radius) + "\" fill=\"" + c + "\" stroke=\"" + c + "\"/>\n";
            break;
        case Shape::Point:
            s += "<rect x=\"" + number(p.x1) + "\" y=\"" + number(p.y1) +
                 "\" width=\"1\" height=\"1\" fill=\"" + c + "\"/>\n";
            break;
        case Shape::Text: {
            const double px = fontPixels(p.fontSize > 0 ? p.fontSize : canvas.fontSize());
            // The primitive gives the top of the character cell; SVG places
            // text by its baseline, which lies about 0.88 of the size lower in
            // the Japanese font the program uses.
            s += "<text x=\"" + number(p.x1) + "\" y=\"" + number(p.y1 + 0.88 * px) +
                 "\" font-size=\"" + number(px) + "\" fill=\"" + c + "\" xml:space=\"preserve\">" +
                 escaped(p.text) + "</text>\n";
            break;
        }
        }
    }
    s += "</g>\n</svg>\n";
    return s;
}

} // namespace rahmen
