#pragma once
// A picture as it is shown: the display list mapped through the window's
// PictureView into screen pixels, with every label placed where it overlaps no
// other text (LabelPlacer) or left out. At the design size without zoom every
// primitive keeps its place but for the labels moved off an overlap.

#include "draw/LabelPlacer.h"
#include "draw/Projection.h"
#include "platform/Canvas.h"

#include <functional>
#include <string>
#include <vector>

namespace rahmen {

// The width in pixels of a text in a font of `pixels` pixels.
using TextWidth = std::function<double(const std::string& text, int pixels)>;

// A width reckoned generously for a proportional font: a character of the
// full-width set one em, any other 0.6 em.
double estimatedTextWidth(const std::string& text, int pixels);

// Font points to pixels at 96 dots per inch, at least 1.
int textPixels(int points);

// The box a text covers: as wide as the text and a blank's worth more on
// either side, and from a tenth of the font below the cell's top down to where
// its digits and kana end.
LabelBox textBox(const Primitive& text, double x, double y, int pixels, double width);

struct ShownPicture {
    std::vector<Primitive> items; // screen pixels, in drawing order
    int labelsLeftOut = 0;        // labels with no free place at this zoom
};

// The picture of `canvas` for a screen area of width × height pixels shown
// through `view`. A legend (overlay texts drawn as labels; consecutive ones
// are one block) is put, after every label, in the first corner or place along
// the picture's edges where it covers no text, label, control or overlay circle
// and crosses no member's line where such a place exists, else left out. `blocked` are screen boxes
// no label may cover (controls over the picture). Items wholly outside the area are dropped.
ShownPicture showPicture(const Canvas& canvas, const PictureView& view, double width, double height,
                         const std::vector<LabelBox>& blocked = {},
                         const TextWidth& measure = estimatedTextWidth);
// The same into `shown`, reusing its storage (a picture of the largest grid
// has some 90 000 items; the window shows it again at every redraw).
void showPicture(ShownPicture& shown, const Canvas& canvas, const PictureView& view, double width,
                 double height, const std::vector<LabelBox>& blocked = {},
                 const TextWidth& measure = estimatedTextWidth);

// The picture as it is saved: at its design size with its labels placed, and
// a band of kCaptionBand pixels below it holding `caption` (what the picture
// shows, of which data, in which units, when), so that the picture itself
// stays as the window shows it.
constexpr int kCaptionBand = 24;
Canvas savedPicture(const Canvas& canvas, const std::string& caption);

} // namespace rahmen
