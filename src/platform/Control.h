#pragma once
// One control of a form as the program logic sees it: plain data that the
// handlers read and change, and that the GUI shows after every event.

#include <string>
#include <vector>

namespace rahmen {

enum class ControlKind {
    Button,
    Edit,
    Check,
    Radio,
    Combo,
    List,
    Label,
    Group,
    HScroll,
    VScroll,
    Picture
};

struct Control {
    std::string name; // design name, e.g. "EDIT13", "BUTTON9"
    ControlKind kind = ControlKind::Label;
    std::string caption; // caption of a button/label/group, text of an edit or combo
    bool enabled = true;
    bool visible = true;
    bool checked = false; // check boxes and radio buttons
    // An edit that holds a number: its window refuses characters that cannot
    // be part of one as they are typed (digits, a sign, a decimal point, an
    // exponent and blanks are taken). What it holds is read as any box is.
    bool numeric = false;

    // Radio buttons with the same group name exclude each other when clicked;
    // the empty name is the form itself.
    std::string group;

    // Combo boxes and lists: the entries and the selected index (-1 none).
    std::vector<std::string> items;
    int selected = -1;

    // Scroll bars.
    int scrollPos = 0;
    int scrollMin = 0;
    int scrollMax = 100;
    int smallStep = 1;
    int largeStep = 10;

    int fontSize = 9; // points

    // Buttons: a keyboard shortcut that presses it ("Ctrl+Z"), empty for none.
    std::string shortcut;

    // Layout rectangle in form pixels and the place in the tab order.
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    int tabIndex = 0;
};

} // namespace rahmen
