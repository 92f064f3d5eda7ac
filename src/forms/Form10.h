#pragma once
// The load form FORM10 ("荷重入力（全体座標系）"): nodal loads, level loads
// shared out over the nodes of a storey level, and uniform member loads, each
// a table of five rows, entered page by page in the mode chosen with the
// three radio buttons. "データ解析" stores the page on screen, takes the loads
// off support nodes and starts the analysis.
//
// Loads add up over pages and modes; a node or member entered again has its
// values replaced. Moments are typed in force·m and held in force·cm.
//
// A page of nodal or member loads is checked before any of it is stored: a
// node number outside 1..NodeCount or a member number outside 1..MemberCount
// (or one that is not a whole number) is refused with a message, the focus
// goes to that box and the page stays on screen. A node number that reads as
// 0 ends the page under both buttons.
//
// The mode (the program's LoadInputMode) is kept between openings of the
// form; the form opens showing it: its radio button checked, its table
// available and the focus in its first box.

#include "platform/Form.h"

#include <functional>
#include <string>

namespace rahmen {

class Program;

class Form10 : public Form {
public:
    explicit Form10(Program& program);

    static constexpr int kRows = 5;
    // The boxes of row i (0..4), by column: node table (node number, X, Y, Z,
    // Mx, My, Mz), level table (level, X, Y, Z), member table (member, y, z).
    static std::string nodeBox(int row, int column) {
        return "EDIT" + std::to_string(103 + 5 * column + row);
    }
    static std::string levelBox(int row, int column) {
        return "EDIT" + std::to_string(170 + 4 * row + column);
    }
    static std::string memberBox(int row, int column) {
        return "EDIT" + std::to_string(195 + 3 * row + column);
    }

    // Makes the open form enter the loads of one load case (the load-case
    // form FORM17): the model's load tables hold that case's loads while the
    // form is open, "データ解析" becomes "ケースに設定", which stores the page
    // as "データ解析" does and calls done(true) instead of analysing, and
    // "キャンセル" calls done(false). The rows, units and checks stay.
    void enterCaseLoads(const std::string& label, std::function<void(bool stored)> done);

    void FORM10_START();
    void FORM10_INITXP();
    void FORM10_END() {}
    void RADIO45_ON();  // nodal loads
    void RADIO46_ON();  // level loads
    void RADIO68_ON();  // uniform member loads
    void BUTTON30_ON(); // "次ﾍﾟｰｼﾞ/別設定": store the page, clear the table
    void BUTTON31_ON(); // "データ解析": store the page, strip supports, analyse
    void BUTTON32_ON(); // "キャンセル"
    void LOADHP_ON();   // "ヘルプ"
    void EDIT111_CHANGE() {}
    void EDIT122_CHANGE() {}
    void EDIT123_CHANGE() {}

protected:
    void start() override { FORM10_START(); }
    void end() override { FORM10_END(); }

private:
    // How storing a page ended.
    enum class Page {
        Refused, // a message was shown (or no mode is chosen): nothing more happens
        Empty,   // the first row ended the page
        Stored   // at least one row was stored
    };
    Page storeNodePage();
    // `analysis`: the rule of "データ解析" (a level that reads as 0 ends the
    // page) rather than that of "次ﾍﾟｰｼﾞ/別設定" (an empty level text does).
    Page storeLevelPage(bool analysis);
    Page storeMemberPage();
    Page storePage(bool analysis);
    void showMode();
    void clearTable();

    Program& p_;
    std::function<void(bool)> caseDone_; // set while a load case's loads are entered
};

} // namespace rahmen
