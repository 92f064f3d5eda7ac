#pragma once
// A picture as an SVG document, written from the display list alone: lines
// stay lines, circles circles and text stays text, so a picture put into a
// report scales cleanly and its labels can be searched and copied.

#include "platform/Canvas.h"

#include <string>

namespace rahmen {

// The SVG document (UTF-8) of the picture, of the canvas's size in pixels,
// with its background, every primitive in display-list order and the palette
// colours of the screen.
std::string canvasToSvg(const Canvas& canvas);

} // namespace rahmen
