#pragma once
// The release form FORM7: the pins (rotational releases about the local x, y
// and z axes) or the spring constants of both ends of one member, the
// model's CurrentMember. The program-wide PinSpringChoice says what it edits:
// 1 pins and 2 springs (opened from the member form), 3 pins and 4 springs
// (opened from mouse editing, with "キャンセル" disabled).
//
// In every mode the form opens showing what the member holds: the pins that
// are set are checked, and an end whose three pins are all set shows "全方向"
// checked with its single boxes checked and locked; the spring boxes show
// the constants in the units they are typed in. So a click always turns a
// box and its pin the same way.
//
// The pin boxes act on the model at once; the spring boxes are read by
// "終了" only. Rotational springs are typed in kN·m/rad (tf·m/rad) and held
// times 100; the axial spring is typed and held in kN/cm (tf/cm).
//
// However the form closes, the member's pin and spring summaries and the
// program's counts of pinned and sprung ends are brought up to date, so that
// a pin set before "キャンセル" is also listed in the frame file.

#include "platform/Form.h"

#include <cstdint>
#include <functional>

namespace rahmen {

class Program;

class Form7 : public Form {
public:
    explicit Form7(Program& program);

    // The value the next click on "全方向" gives to the three pins of that
    // end: -1 pins them (and locks the single boxes), 0 frees them.
    int16_t AllPinsStart = -1;
    int16_t AllPinsEnd = -1;

    // Run by "終了" after storing, before the form closes: the mouse editing
    // window sets it to redraw the frame.
    std::function<void()> afterStore;

    void FORM7_START();
    void FORM7_INITXP();
    void FORM7_END();
    void CHECK1_ON();   // start, about x
    void CHECK2_ON();   // start, about y
    void CHECK3_ON();   // start, about z
    void CHECK4_ON();   // end, about x
    void CHECK5_ON();   // end, about y
    void CHECK6_ON();   // end, about z
    void CHECK8_ON();   // start, "全方向"
    void CHECK9_ON();   // end, "全方向"
    void BUTTON43_ON(); // "終了": store the springs (refused out of range), close
    void BUTTON44_ON(); // "キャンセル": close
    void PINHP_ON();    // "ヘルプ"

protected:
    void start() override { FORM7_START(); }
    void end() override { FORM7_END(); }

private:
    // The member edited, or 0 when CurrentMember lies outside the tables.
    int member() const;
    void setPin(int check, int16_t value);
    void allPins(bool start);
    void showPins();
    void showSprings();
    void enableSprings(bool enabled);
    void enableChecks(bool enabled);
    // Every spring box within its range, else a message and false.
    bool checkSprings();

    Program& p_;
};

} // namespace rahmen
