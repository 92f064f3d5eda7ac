#pragma once
// The progress window FORM12: a step text (EDIT151) and lines printed into
// its picture while a file is read or written or the analysis runs. Nothing
// runs in the background: the long operation itself writes its steps here and
// the desktop is told after each, so the window can be repainted.

#include "platform/Form.h"

#include <string>
#include <vector>

namespace rahmen {

class Desktop;

class Form12 : public Form {
public:
    explicit Form12(Desktop& desktop);

    // Shows the window centred on the screen with an empty picture, the
    // controls visible and their font raised by the program's font offset.
    void begin(int fontOffset);
    // begin(), then two empty rows and the text: how the file operations
    // announce what they are reading or writing.
    void announce(int fontOffset, const std::string& text);
    // The current step, shown in EDIT151.
    void step(const std::string& text);
    // A line of text printed into the picture.
    void print(const std::string& line);
    // Enables BUTTON64 so that the user can close the window.
    void finish();
    // Closes the window (as BUTTON64 does, without the user).
    void closeWindow();

    // BUTTON64: closes the window and gives the focus back to the main menu.
    void BUTTON64_ON();
    // The close box does what OK does, once the operation has finished.
    std::string closeControl() const override { return "BUTTON64"; }

    // Text rows of the picture between two printed lines, and the lines the
    // picture holds: enough room for a line of the font, and the latest line
    // always in view.
    static constexpr int kRowsPerLine = 2;
    static int visibleLines();

private:
    void redraw();
    // The scroll bar's range: from the first line printed to the latest
    // view.
    void showScrollRange();

    Desktop& desktop_;
    int baseFontSize_;
    std::vector<std::string> lines_; // printed since begin()
    int firstShown_ = 0;
};

} // namespace rahmen
