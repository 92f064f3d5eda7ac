#include "model/Form12.h"

#include "platform/Desktop.h"

#include <algorithm>

namespace rahmen {

namespace {

// The picture is wide enough for the longest line (23 full-width marker
// characters, or the matrix volume with its numbers) and tall enough for
// the analysis's steps; the step box holds the longest step text at the
// start-up font.
constexpr int kPictureWidth = 400;
constexpr int kPictureHeight = 300;

} // namespace

Form12::Form12(Desktop& desktop) : Form("FORM12", "rahmen", 444, 400), desktop_(desktop) {
    addLabel("TEXT68", "処理内容", 10, 10, 90, 24);
    addEdit("EDIT151", "", 100, 8, 334, 26);
    addPicture("PICTURE1", 10, 44, kPictureWidth, kPictureHeight);
    // Every line printed stays: the bar beside the picture brings back the
    // lines that scrolled out, such as the band width between the markers.
    Control& bar = addVScroll("VSCROLL1", 14 + kPictureWidth, 44, 20, kPictureHeight);
    bar.smallStep = 1;
    bar.largeStep = visibleLines() - 1;
    addButton("BUTTON64", "OK", 182, 354, 80, 30);
    baseFontSize_ = c("BUTTON64").fontSize;
    onClick("BUTTON64", [this] { BUTTON64_ON(); });
    onScroll("VSCROLL1", [this] {
        firstShown_ = c("VSCROLL1").scrollPos;
        redraw();
    });
}

void Form12::begin(int fontOffset) {
    for (const char* name : {"TEXT68", "EDIT151", "BUTTON64"}) {
        Control& control = c(name);
        control.visible = true;
        control.fontSize = baseFontSize_ + fontOffset;
    }
    c("EDIT151").caption.clear();
    c("BUTTON64").enabled = false;
    lines_.clear();
    firstShown_ = 0;
    showScrollRange();
    picture()->clear();
    desktop_.centerForm(*this);
    if (!isOpen()) desktop_.show(*this);
    desktop_.changed(*this);
}

void Form12::announce(int fontOffset, const std::string& text) {
    begin(fontOffset);
    print("");
    print("");
    print(text);
}

void Form12::step(const std::string& text) {
    c("EDIT151").caption = text;
    desktop_.changed(*this);
}

int Form12::visibleLines() {
    return kPictureHeight / (Canvas::RowHeight * kRowsPerLine);
}

void Form12::print(const std::string& line) {
    lines_.push_back(line);
    const int count = static_cast<int>(lines_.size());
    if (count - firstShown_ > visibleLines()) {
        // Scrolled by half a picture at a time, so that a long run of steps
        // does not redraw the picture for every line.
        firstShown_ = count - visibleLines() / 2;
        redraw();
    } else if (!line.empty()) {
        picture()->text(0, (count - 1 - firstShown_) * kRowsPerLine, line, kBlack);
    }
    showScrollRange();
    desktop_.changed(*this);
}

void Form12::showScrollRange() {
    Control& bar = c("VSCROLL1");
    const int count = static_cast<int>(lines_.size());
    bar.scrollMin = 0;
    bar.scrollMax = std::max(firstShown_, count - visibleLines());
    bar.scrollPos = firstShown_;
    bar.enabled = bar.scrollMax > 0;
}

void Form12::redraw() {
    picture()->clear();
    const std::size_t last =
        std::min(lines_.size(), static_cast<std::size_t>(firstShown_ + visibleLines()));
    for (std::size_t i = static_cast<std::size_t>(firstShown_); i < last; ++i)
        if (!lines_[i].empty())
            picture()->text(0, (static_cast<int>(i) - firstShown_) * kRowsPerLine, lines_[i],
                            kBlack);
}

void Form12::finish() {
    c("BUTTON64").enabled = true;
    desktop_.changed(*this);
}

void Form12::closeWindow() {
    if (isOpen()) desktop_.close(*this);
}

// The main menu lies below the progress window and becomes the active window
// again once this one is closed.
void Form12::BUTTON64_ON() {
    closeWindow();
}

} // namespace rahmen
