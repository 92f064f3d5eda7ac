#include "forms/Form3.h"

#include "forms/InputForms.h"
#include "model/ModelFileHandlers.h"
#include "model/Program.h"
#include "platform/FormServices.h"

namespace rahmen {

namespace {

constexpr int kRows = 5;

} // namespace

Form3::Form3(Program& program) : Form("FORM3", "座標入力", 560, 320), p_(program) {
    setHelpKeyword("座標入力");
    addLabel("TEXT20", "単  位  ：  cm", 410, 10, 130, 20);
    addLabel("TEXT21", "節点番号", 20, 36, 90, 20);
    addLabel("TEXT22", "Ｘ座標", 130, 36, 120, 20);
    addLabel("TEXT23", "Ｙ座標", 270, 36, 120, 20);
    addLabel("TEXT24", "Ｚ座標", 410, 36, 120, 20);
    // Row by row, so that Tab runs X, Y, Z of one node before the next node.
    for (int k = 1; k <= kRows; ++k) {
        const int y = 60 + 34 * (k - 1);
        addEdit(nodeBox(k), "", 20, y, 90, 26).enabled = false; // display only
        addEdit(xBox(k), "", 130, y, 120, 26);
        addEdit(yBox(k), "", 270, y, 120, 26);
        addEdit(zBox(k), "", 410, y, 120, 26);
    }
    addButton("BUTTON8", "次ページ", 20, 248, 110, 32);
    addButton("BUTTON9", "終了", 150, 248, 110, 32);
    addButton("BUTTON10", "キャンセル", 280, 248, 110, 32);
    addButton("BUTTON55", "ヘルプ", 420, 248, 110, 32);

    numberBoxes();
    onClick("BUTTON8", [this] { BUTTON8_ON(); });
    onClick("BUTTON9", [this] { BUTTON9_ON(); });
    onClick("BUTTON10", [this] { BUTTON10_ON(); });
    onClick("BUTTON55", [this] { CORDHP_ON(); });
}

void Form3::FORM3_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void Form3::FORM3_START() {
    FORM3_INITXP();
    CENTER_ON(*this, p_.io.desktop);
    CoordPage = 0;
    showNodeNumbers();
    setFocus("EDIT13");
    // Up to five nodes are finished from the first page; a larger model must
    // be paged through to its end.
    if (p_.model.NodeCount > kRows)
        c("BUTTON9").enabled = false;
    else
        c("BUTTON8").enabled = false;
}

void Form3::showNodeNumbers() {
    for (int k = 1; k <= kRows; ++k)
        c(nodeBox(k)).caption = std::to_string(kRows * CoordPage + k);
}

// Rows past NodeCount on the last page are stored too (as 0 when empty); they
// lie beyond the nodes in use and nothing reads them.
void Form3::storePage() {
    Model& m = p_.model;
    for (int k = 1; k <= kRows; ++k) {
        const int n = kRows * CoordPage + k;
        if (n > kMaxNodes) break;
        m.NodeX[n] = boxSingle(c(xBox(k)).caption);
        m.NodeY[n] = boxSingle(c(yBox(k)).caption);
        m.NodeZ[n] = boxSingle(c(zBox(k)).caption);
    }
}

bool Form3::checkPage() {
    for (int k = 1; k <= kRows; ++k) {
        const std::string node = "節点" + std::to_string(kRows * CoordPage + k) + "の";
        if (!checkNumberBoxes(p_, *this,
                              {{xBox(k), node + "Ｘ座標", kAnyValue},
                               {yBox(k), node + "Ｙ座標", kAnyValue},
                               {zBox(k), node + "Ｚ座標", kAnyValue}}))
            return false;
    }
    return true;
}

void Form3::BUTTON8_ON() {
    if (!checkPage()) return;
    storePage();
    ++CoordPage;
    showNodeNumbers();
    for (int k = 1; k <= kRows; ++k)
        for (const std::string& box : {xBox(k), yBox(k), zBox(k)})
            c(box).caption.clear();
    if (kRows * (CoordPage + 1) >= p_.model.NodeCount) {
        c("BUTTON8").enabled = false;
        c("BUTTON9").enabled = true;
    }
    setFocus("EDIT13");
}

void Form3::BUTTON9_ON() {
    if (!checkPage()) return;
    storePage();
    // A file that could not be written has been reported; the form stays open
    // so that the user can try again (the page is stored again, unchanged).
    if (!BUTTON69_ON(p_)) return;
    close();
    p_.menuEnable({"BUTTON28"}, {"BUTTON1"});
}

void Form3::BUTTON10_ON() {
    close();
}

void Form3::CORDHP_ON() {
    p_.help("座標入力");
}

} // namespace rahmen
