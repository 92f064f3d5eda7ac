#include "model/Form12.h"

#include "platform/Desktop.h"

namespace rahmen {

Form12::Form12(Desktop& desktop) : Form("FORM12", "rahmen", 360, 300), desktop_(desktop) {
    addLabel("TEXT68", "処理内容", 10, 10, 80, 20);
    addEdit("EDIT151", "", 90, 8, 250, 22);
    addPicture("PICTURE1", 10, 40, 340, 180);
    addButton("BUTTON64", "OK", 140, 230, 80, 28);
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

void Form12::print(const std::string& line) {
    picture()->printLine(line);
    desktop_.changed(*this);
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
