#include "model/Form12.h"

#include "platform/Desktop.h"

namespace rahmen {

namespace {

// The picture is wide enough for the longest line (23 full-width marker
// characters, or the matrix volume with its numbers) and tall enough for
// the analysis's steps; the step box holds the longest step text at the
// start-up font.
constexpr int kPictureWidth = 400;
constexpr int kPictureHeight = 300;

} // namespace

Form12::Form12(Desktop& desktop) : Form("FORM12", "rahmen", 420, 400), desktop_(desktop) {
    addLabel("TEXT68", "処理内容", 10, 10, 90, 24);
    addEdit("EDIT151", "", 100, 8, 310, 26);
    addPicture("PICTURE1", 10, 44, kPictureWidth, kPictureHeight);
    addButton("BUTTON64", "OK", 170, 354, 80, 30);
    baseFontSize_ = c("BUTTON64").fontSize;
    onClick("BUTTON64", [this] { BUTTON64_ON(); });
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
    desktop_.changed(*this);
}

void Form12::redraw() {
    picture()->clear();
    for (std::size_t i = static_cast<std::size_t>(firstShown_); i < lines_.size(); ++i)
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
