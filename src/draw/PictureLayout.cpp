#include "draw/PictureLayout.h"

#include <algorithm>
#include <cmath>

namespace rahmen {

double estimatedTextWidth(const std::string& text, int pixels) {
    double ems = 0;
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        unsigned code = lead;
        if (length == 3 && i + 2 < text.size())
            code = ((lead & 0x0Fu) << 12) |
                   ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
                   (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
        // ASCII and the half-width katakana are narrow, the rest full width.
        const bool narrow = length == 1 || (code >= 0xFF61 && code <= 0xFF9F);
        ems += narrow ? 0.6 : 1.0;
        i += length;
    }
    return ems * pixels;
}

int textPixels(int points) {
    return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0)));
}

LabelBox textBox(const Primitive&, double x, double y, int pixels, double width) {
    // A fifth of the font on either side keeps neighbours a blank apart, so
    // that two numbers never read as one.
    const double gap = 0.2 * pixels;
    return {x - gap, y + 0.1 * pixels, width + 2 * gap, 0.8 * pixels};
}

namespace {

bool outside(const LabelBox& b, double width, double height) {
    return b.x + b.w < 0 || b.y + b.h < 0 || b.x > width || b.y > height;
}

// The places a legend tries after its own: the four corners of the picture,
// then along its top and bottom edges and down its sides, a few pixels in.
std::vector<std::pair<double, double>> noteOffsets(const LabelBox& own, double width,
                                                   double height) {
    constexpr double kInset = 4, kStep = 40;
    const double left = kInset, right = width - own.w - kInset;
    const double top = kInset, bottom = height - own.h - kInset;
    std::vector<std::pair<double, double>> at = {
        {left, top}, {right, top}, {left, bottom}, {right, bottom}};
    for (double x = right - kStep; x > left; x -= kStep) {
        at.emplace_back(x, top);
        at.emplace_back(x, bottom);
    }
    for (double y = top + kStep; y < bottom; y += kStep) {
        at.emplace_back(left, y);
        at.emplace_back(right, y);
    }
    for (auto& [x, y] : at)
        x -= own.x, y -= own.y;
    return at;
}

} // namespace

ShownPicture showPicture(const Canvas& canvas, const PictureView& view, double width, double height,
                         const std::vector<LabelBox>& blocked, const TextWidth& measure) {
    ShownPicture shown;
    showPicture(shown, canvas, view, width, height, blocked, measure);
    return shown;
}

void showPicture(ShownPicture& shown, const Canvas& canvas, const PictureView& view, double width,
                 double height, const std::vector<LabelBox>& blocked, const TextWidth& measure) {
    shown.labelsLeftOut = 0;
    const std::vector<Primitive>& items = canvas.items();
    LabelPlacer placer(width, height);
    for (const LabelBox& b : blocked)
        placer.block(b);

    auto mapped = [&](const Primitive& p, double x, double y) {
        return p.overlay ? overlayToScreen(view, {x, y}) : toScreen(view, {x, y});
    };
    auto pixelsOf = [&](const Primitive& p) {
        return textPixels(p.fontSize > 0 ? p.fontSize : canvas.fontSize());
    };

    // First what stays where it is: every text that is not a label blocks
    // its box, and the lines of members and marks are noted.
    struct Label {
        std::size_t item;
        LabelBox own;
    };
    std::vector<Label> labels;
    // A legend: overlay texts drawn as labels, consecutive ones one block,
    // placed after every label where it covers nothing (the overlay's circles,
    // the triad, too).
    struct Note {
        std::size_t first, last;
        LabelBox own;
    };
    std::vector<Note> notes;
    std::vector<LabelBox> overlayMarks;
    std::vector<char> keep(items.size(), 0);
    std::vector<Primitive>& out = shown.items;
    out.assign(items.begin(), items.end());
    for (std::size_t i = 0; i < items.size(); ++i) {
        const Primitive& p = items[i];
        Primitive& q = out[i];
        const PicturePoint a = mapped(p, p.x1, p.y1);
        q.x1 = a.x, q.y1 = a.y;
        switch (p.shape) {
        case Shape::Line: {
            const PicturePoint b = mapped(p, p.x2, p.y2);
            q.x2 = b.x, q.y2 = b.y;
            const LabelBox bounds{std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x),
                                  std::abs(b.y - a.y)};
            if (outside(bounds, width, height)) break;
            keep[i] = 1;
            if (p.owner != 0) placer.addLine(a.x, a.y, b.x, b.y, p.owner);
            break;
        }
        case Shape::Circle:
        case Shape::FilledCircle:
        case Shape::Point: {
            const LabelBox bounds{a.x - p.radius, a.y - p.radius, 2 * p.radius, 2 * p.radius};
            keep[i] = !outside(bounds, width, height);
            if (p.overlay && p.radius > 0) overlayMarks.push_back(bounds);
            break;
        }
        case Shape::Text: {
            const int pixels = pixelsOf(p);
            const LabelBox box = textBox(p, a.x, a.y, pixels, measure(p.text, pixels));
            if (p.label && p.overlay) {
                if (!notes.empty() && notes.back().last + 1 == i) {
                    Note& n = notes.back();
                    const double right = std::max(n.own.x + n.own.w, box.x + box.w);
                    const double bottom = std::max(n.own.y + n.own.h, box.y + box.h);
                    n.own.x = std::min(n.own.x, box.x), n.own.y = std::min(n.own.y, box.y);
                    n.own.w = right - n.own.x, n.own.h = bottom - n.own.y;
                    n.last = i;
                } else {
                    notes.push_back({i, i, box});
                }
                break;
            }
            if (outside(box, width, height)) break;
            if (p.label) {
                labels.push_back({i, box});
                break;
            }
            keep[i] = 1;
            placer.block(box);
            break;
        }
        }
    }
    // Then the labels, in drawing order: a member's label keeps clear of
    // other members' lines where it can; a node's label sits where members
    // meet and looks at the other labels only.
    for (const Label& l : labels) {
        const Primitive& p = items[l.item];
        const std::optional<LabelBox> at = placer.place(
            l.own, p.owner, p.owner != 0, LabelPlacer::aroundOffsets(l.own.w, l.own.h));
        if (!at) {
            ++shown.labelsLeftOut;
            continue;
        }
        Primitive& q = out[l.item];
        q.x1 += at->x - l.own.x;
        q.y1 += at->y - l.own.y;
        keep[l.item] = 1;
    }
    for (const LabelBox& b : overlayMarks)
        placer.block(b);
    for (const Note& n : notes) {
        const std::optional<LabelBox> at =
            placer.place(n.own, 0, true, noteOffsets(n.own, width, height));
        if (!at) continue;
        for (std::size_t i = n.first; i <= n.last; ++i) {
            out[i].x1 += at->x - n.own.x;
            out[i].y1 += at->y - n.own.y;
            keep[i] = 1;
        }
    }
    std::size_t kept = 0;
    for (std::size_t i = 0; i < out.size(); ++i)
        if (keep[i]) {
            if (kept != i) out[kept] = std::move(out[i]);
            ++kept;
        }
    out.resize(kept);
}

Canvas savedPicture(const Canvas& canvas, const std::string& caption) {
    Canvas saved(canvas.width(), canvas.height() + kCaptionBand);
    saved.setBackground(canvas.background());
    saved.setFontSize(canvas.fontSize());
    for (const Primitive& p :
         showPicture(canvas, PictureView{}, canvas.width(), canvas.height()).items)
        saved.append(p);
    // A rule between the picture and its caption, the caption a few pixels
    // below it.
    saved.setOverlay(true);
    saved.line(0, canvas.height(), canvas.width(), canvas.height(), kGrey);
    const int row = (canvas.height() + 4 + Canvas::RowHeight - 1) / Canvas::RowHeight;
    saved.text(2, row, caption, kBlack);
    saved.setOverlay(false);
    return saved;
}

} // namespace rahmen
