#pragma once
// The support form FORM6: the numbers of the support nodes, ten to a page,
// paged forward only. Its end button writes the frame file DataName.fdt and
// opens the analysis and drawing actions of the main menu.
//
// What the form keeps consistent, so that the frame file reads back:
// - a page is checked before any of it is stored: a box holding anything but
//   a node number from 1 to NodeCount, or a node number given twice in this
//   visit (on this page or an earlier one), is refused with a message, the
//   focus goes to that box and nothing of the page is marked;
// - the end button sets SupportCount to the number of nodes marked as
//   supports before the file is written, so that the count the file states
//   and the list it holds agree (fewer boxes filled than the outline said
//   simply gives fewer supports);
// - when the file cannot be written, the marks of the last page are taken
//   back and the form stays open, so that pressing "終了" again does the
//   same thing.
// Marks are never removed otherwise: a node marked in an earlier visit that
// was cancelled stays a support, and typing it again is accepted.

#include "platform/Form.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace rahmen {

class Program;

class Form6 : public Form {
public:
    explicit Form6(Program& program);

    int16_t SupportPage = 0; // 0-based

    void FORM6_START();
    void FORM6_INITXP();
    void BUTTON40_ON(); // "次ページ": mark the page, show the next
    void BUTTON41_ON(); // "終了": mark the page, write DataName.fdt, finish
    void BUTTON42_ON(); // "キャンセル": close; pages already marked stay
    void EDIT97_CHANGE() {}
    void SUPHP_ON(); // "ヘルプ"

    // The ten node boxes in page order: EDIT68..EDIT72, then EDIT95..EDIT99.
    static std::string nodeBox(int k); // k = 1..10

protected:
    void start() override { FORM6_START(); }

private:
    // Checks the page and marks its nodes. Returns false, after a message,
    // when the page is refused; `marked` receives the nodes this page turned
    // into supports.
    bool markPage(std::vector<int>& marked);
    void clearPage();

    Program& p_;
    std::set<int> typed_; // nodes given on the pages stored in this visit
};

} // namespace rahmen
