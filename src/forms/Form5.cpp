#include "forms/Form5.h"

#include "forms/InputForms.h"
#include "model/Program.h"
#include "platform/FormServices.h"

namespace rahmen {

namespace {

constexpr int kRows = 5;

constexpr const char* kNodeOrderMessage = "始点(節点番号)<終点(節点番号)として下さい｡";

} // namespace

Form5::Form5(Program& program) : Form("FORM5", "部材入力", 720, 360), p_(program) {
    setHelpKeyword("部材入力");
    addLabel("TEXT45", "部材 No", 20, 30, 80, 20);
    addLabel("TEXT46", "タイプ No", 110, 30, 90, 20);
    addLabel("TEXT47", "主軸角(rad)", 210, 30, 120, 20);
    addLabel("TEXT48", "始点", 340, 30, 90, 20);
    addLabel("TEXT49", "終点", 440, 30, 90, 20);
    addLabel("TEXT50", "ピン節点", 540, 30, 76, 20);
    addLabel("TEXT53", "バネ節点", 620, 30, 76, 20);
    // Row by row, so that Tab runs through one member before the next.
    for (int k = 1; k <= kRows; ++k) {
        const int y = 58 + 34 * (k - 1);
        addEdit(memberBox(k), "", 20, y, 80, 26).enabled = false; // display only
        addEdit(typeBox(k), "", 110, y, 90, 26);
        addEdit(angleBox(k), "", 210, y, 120, 26);
        addEdit(startBox(k), "", 340, y, 90, 26);
        addEdit(endBox(k), "", 440, y, 90, 26);
        addButton("BUTTON" + std::to_string(16 + k), "有", 550, y, 50, 26);
        addButton("BUTTON" + std::to_string(21 + k), "有", 630, y, 50, 26);
    }
    addLabel("TEXT54", "＊必ず  始点（節点番号）＜終点（節点番号）  となるように入力してください。",
             20, 234, 680, 20);
    addButton("BUTTON14", "次ページ", 40, 276, 120, 32);
    addButton("BUTTON15", "終了", 200, 276, 120, 32);
    addButton("BUTTON16", "キャンセル", 360, 276, 120, 32);
    addButton("BUTTON57", "ヘルプ", 520, 276, 120, 32);

    numberBoxes();
    onClick("BUTTON14", [this] { BUTTON14_ON(); });
    onClick("BUTTON15", [this] { BUTTON15_ON(); });
    onClick("BUTTON16", [this] { BUTTON16_ON(); });
    onClick("BUTTON57", [this] { ELEMHP_ON(); });
    onClick("BUTTON17", [this] { BUTTON17_ON(); });
    onClick("BUTTON18", [this] { BUTTON18_ON(); });
    onClick("BUTTON19", [this] { BUTTON19_ON(); });
    onClick("BUTTON20", [this] { BUTTON20_ON(); });
    onClick("BUTTON21", [this] { BUTTON21_ON(); });
    onClick("BUTTON22", [this] { BUTTON22_ON(); });
    onClick("BUTTON23", [this] { BUTTON23_ON(); });
    onClick("BUTTON24", [this] { BUTTON24_ON(); });
    onClick("BUTTON25", [this] { BUTTON25_ON(); });
    onClick("BUTTON26", [this] { BUTTON26_ON(); });
}

void Form5::FORM5_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void Form5::FORM5_START() {
    FORM5_INITXP();
    CENTER_ON(*this, p_.io.desktop);
    MemberPage = 0;
    // Members keep their springs from one opening to the next (the release
    // form may have been used before), so the count of sprung ends is taken
    // from the members' summaries rather than started again from 0.
    p_.model.recountEndSummaries();
    p_.PinSpringChoice = 0;
    for (int k = 1; k <= kRows; ++k) {
        c(memberBox(k)).caption = std::to_string(k);
        c(angleBox(k)).caption = "0";
    }
    setFocus("EDIT58");
    if (p_.model.MemberCount > kRows)
        c("BUTTON15").enabled = false;
    else
        c("BUTTON14").enabled = false;
}

bool Form5::checkNumbers() {
    const Model& m = p_.model;
    for (int k = 1; k <= kRows; ++k) {
        const long member = kRows * MemberPage + k;
        // Rows past the last member may stay empty (they store type 0 and
        // nodes 0 and 0); what is typed there must still name the model.
        const long lowest = member <= m.MemberCount ? 1 : 0;
        const long type = boxWhole(c(typeBox(k)).caption);
        if (type < lowest || type > m.MemberTypeCount) {
            p_.say("部材No" + std::to_string(member) + "：タイプNo " + std::to_string(type) +
                   " の部材タイプはありません（タイプNoは 1～" + std::to_string(m.MemberTypeCount) +
                   "）。修正してください。");
            setFocus(typeBox(k));
            return false;
        }
        for (const std::string& box : {startBox(k), endBox(k)}) {
            const long node = boxWhole(c(box).caption);
            if (node < lowest || node > m.NodeCount) {
                p_.say("部材No" + std::to_string(member) + "：節点番号 " + std::to_string(node) +
                       " の節点はありません（節点番号は 1～" + std::to_string(m.NodeCount) +
                       "）。修正してください。");
                setFocus(box);
                return false;
            }
        }
        if (!checkNumberBoxes(
                p_, *this,
                {{angleBox(k), "部材No" + std::to_string(member) + "：部材角", kAnyValue}}))
            return false;
        // A member needs two different end nodes; the analysis could only
        // refuse it later, far from the row that holds it.
        const long start = boxWhole(c(startBox(k)).caption);
        if (start != 0 && start == boxWhole(c(endBox(k)).caption)) {
            p_.say("部材No" + std::to_string(member) + "：始端と終端が同じ節点 " +
                   std::to_string(start) + " です。修正してください。");
            setFocus(endBox(k));
            return false;
        }
    }
    return true;
}

void Form5::storePage() {
    Model& m = p_.model;
    for (int k = 1; k <= kRows; ++k) {
        const int member = kRows * MemberPage + k;
        if (member > kMaxMembers) break;
        const int type = static_cast<int>(boxWhole(c(typeBox(k)).caption));
        m.MemberTypeNo[member] = static_cast<int16_t>(type);
        m.copyTypeToMember(member, type);
        m.MemberAngle[member] = boxSingle(c(angleBox(k)).caption);
        m.MemberStartNode[member] = static_cast<int16_t>(boxWhole(c(startBox(k)).caption));
        m.MemberEndNode[member] = static_cast<int16_t>(boxWhole(c(endBox(k)).caption));
    }
}

// Equal start and end numbers pass, and so do empty rows (0 and 0).
bool Form5::checkNodeOrder() {
    const Model& m = p_.model;
    for (int k = 1; k <= kRows; ++k) {
        const int member = kRows * MemberPage + k;
        if (member > kMaxMembers) break;
        if (m.MemberStartNode[member] > m.MemberEndNode[member]) {
            p_.say(kNodeOrderMessage);
            setFocus(startBox(k));
            return false;
        }
    }
    return true;
}

// A page with a start node above its end node stays stored and on screen for
// correction; pressing the button again stores it anew.
bool Form5::storeAndCheck() {
    if (!checkNumbers()) return false;
    storePage();
    return checkNodeOrder();
}

void Form5::BUTTON14_ON() {
    if (!storeAndCheck()) return;
    ++MemberPage;
    for (int k = 1; k <= kRows; ++k) {
        c(memberBox(k)).caption = std::to_string(kRows * MemberPage + k);
        c(typeBox(k)).caption.clear();
        c(startBox(k)).caption.clear();
        c(endBox(k)).caption.clear();
        c(angleBox(k)).caption = "0";
    }
    if (kRows * (MemberPage + 1) >= p_.model.MemberCount) {
        c("BUTTON14").enabled = false;
        c("BUTTON15").enabled = true;
    }
    setFocus("EDIT58");
}

void Form5::BUTTON15_ON() {
    if (!storeAndCheck()) return;
    close();
    p_.menuEnable({"BUTTON29"}, {"BUTTON2"});
}

void Form5::BUTTON16_ON() {
    close();
}

void Form5::ELEMHP_ON() {
    p_.help("部材入力");
}

void Form5::openRelease(int k, int16_t choice) {
    // The release form reads its member and mode when it opens.
    p_.model.CurrentMember = static_cast<int16_t>(kRows * MemberPage + k);
    p_.PinSpringChoice = choice;
    p_.openForm("FORM7");
}

} // namespace rahmen
