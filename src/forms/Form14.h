#pragma once
// The member settings form FORM14 ("部材設定"): sections for the members of a
// laid-out grid (FORM15's "部材設定"), storey range by storey range and
// member group by member group — columns, beams in both directions,
// Y-direction beams, X-direction beams. A steel structure takes its sections
// from the steel tables, a concrete one from rectangle sizes; typed
// properties serve both. Every setting makes a new member type.
//
// Each opening starts afresh: no types made, no progress, no kind counts.
// Both "設定" buttons check the group, the storey range (1 ≤ first ≤ last ≤
// storeys), the section (a steel family and row chosen; sizes and values
// above 0) and the type limit before anything is stored. "終了" ends normally
// only when the settings went through every group and every member of the
// grid has a section; otherwise it asks, and Cancel abandons the settings so
// that the grid form builds the grid with its default sections.

#include "platform/Form.h"

#include <cstdint>

namespace rahmen {

class Program;

class Form14 : public Form {
public:
    explicit Form14(Program& program);

    int16_t MemberGroup = 0; // 0 none, 1 columns, 2 all beams, 3 Y-direction, 4 X-direction beams
    int16_t SteelFamily = 0; // 0 none, 1 H-shape, 2 square pipe, 3 round pipe
    int16_t TypesMade = 0;   // types made since the form opened; the last type number
    int16_t Progress = 0;    // +1 columns, +2 all beams, +1 Y- or X-direction beams

    void FORM14_START();
    void FORM14_INITXP();
    void FORM14_END() {}
    void RADIO31_ON();  // columns
    void RADIO32_ON();  // beams in both directions
    void RADIO33_ON();  // Y-direction beams
    void RADIO34_ON();  // X-direction beams
    void RADIO28_ON();  // H-shapes
    void RADIO30_ON();  // square pipes
    void RADIO29_ON();  // round pipes
    void BUTTON82_ON(); // "設定": steel table or rectangle
    void INPMEMB2_ON(); // "設定": typed properties
    void FRM14END_ON(); // "終了"
    void ADDELHP_ON();  // "ヘルプ"

protected:
    void start() override { FORM14_START(); }
    void end() override { FORM14_END(); }

private:
    // The group and the storey range; false after a message.
    bool readRange(int& first, int& last);
    // Gives the members of the group in storeys first..last member type t:
    // all six properties, or only area, Iy, Iz and J (typed setting).
    void applyType(int t, int first, int last, bool withShear);
    // The group has reached storey `last`: the range moves up, or the group
    // is done and the progress counts it.
    void advance(int last, bool typed);
    void chooseFamily(int16_t family);
    bool everyMemberSet() const;

    Program& p_;
};

} // namespace rahmen
