#pragma once
// The coordinate form FORM3: the X, Y, Z coordinates of every node, five
// nodes to a page, paged forward only. Its end button writes the coordinate
// file DataName.cdt and moves the menu on to member types.

#include "platform/Form.h"

#include <cstdint>
#include <string>

namespace rahmen {

class Program;

class Form3 : public Form {
public:
    explicit Form3(Program& program);

    int16_t CoordPage = 0; // 0-based; row k of page p is node 5p + k

    void FORM3_START();
    void FORM3_INITXP();
    void FORM3_END() {}
    void BUTTON8_ON();  // "次ページ": store the page, show the next
    void BUTTON9_ON();  // "終了": store the page, write DataName.cdt, finish
    void BUTTON10_ON(); // "キャンセル": close; pages already stored stay
    void CORDHP_ON();   // "ヘルプ"

    // The edit names of row k (1..5).
    static std::string nodeBox(int k) { return "EDIT" + std::to_string(7 + k); }
    static std::string xBox(int k) { return "EDIT" + std::to_string(12 + k); }
    static std::string yBox(int k) { return "EDIT" + std::to_string(17 + k); }
    static std::string zBox(int k) { return "EDIT" + std::to_string(22 + k); }

protected:
    void start() override { FORM3_START(); }
    void end() override { FORM3_END(); }

private:
    // Every coordinate of the page within range, else a message and false.
    bool checkPage();
    void storePage();
    void showNodeNumbers();

    Program& p_;
};

} // namespace rahmen
