#pragma once
// The member form FORM5 ("部材入力"): each member's type, principal-axis
// angle and end nodes, five members to a page, paged forward only. The type's
// section properties are copied into the member as its page is stored. The
// pin and spring buttons of a row open the release form FORM7 for that
// member.

#include "platform/Form.h"

#include <cstdint>
#include <string>

namespace rahmen {

class Program;

class Form5 : public Form {
public:
    explicit Form5(Program& program);

    int16_t MemberPage = 0; // 0-based; row k of page p is member 5p + k

    void FORM5_START();
    void FORM5_INITXP();
    void BUTTON14_ON(); // "次ページ": store and check the page, show the next
    void BUTTON15_ON(); // "終了": store and check the page, finish
    void BUTTON16_ON(); // "キャンセル"
    void ELEMHP_ON();   // "ヘルプ"
    // The pin buttons of rows 1..5: FORM7 for the pins of the row's member.
    void BUTTON17_ON() { openRelease(1, 1); }
    void BUTTON18_ON() { openRelease(2, 1); }
    void BUTTON19_ON() { openRelease(3, 1); }
    void BUTTON20_ON() { openRelease(4, 1); }
    void BUTTON21_ON() { openRelease(5, 1); }
    // The spring buttons of rows 1..5: FORM7 for the springs of the row's member.
    void BUTTON22_ON() { openRelease(1, 2); }
    void BUTTON23_ON() { openRelease(2, 2); }
    void BUTTON24_ON() { openRelease(3, 2); }
    void BUTTON25_ON() { openRelease(4, 2); }
    void BUTTON26_ON() { openRelease(5, 2); }

    // The edit names of row k (1..5).
    static std::string memberBox(int k) { return "EDIT" + std::to_string(52 + k); }
    static std::string typeBox(int k) { return "EDIT" + std::to_string(57 + k); }
    static std::string angleBox(int k) { return "EDIT" + std::to_string(62 + k); }
    static std::string startBox(int k) { return "EDIT" + std::to_string(84 + k); }
    static std::string endBox(int k) { return "EDIT" + std::to_string(89 + k); }

protected:
    void start() override { FORM5_START(); }

private:
    // Refuses, with a message, a page naming a type or node outside the
    // model; nothing of the page is stored then.
    bool checkNumbers();
    void storePage();
    // The node-order check of the stored page.
    bool checkNodeOrder();
    bool storeAndCheck();
    // Sets CurrentMember to the member of row k and PinSpringChoice to
    // `choice` (1 pins, 2 springs), then opens FORM7.
    void openRelease(int k, int16_t choice);

    Program& p_;
};

} // namespace rahmen
