#include "forms/Form10.h"

#include "analysis/ana.h"
#include "forms/InputForms.h"
#include "forms/LoadForms.h"
#include "model/Program.h"
#include "platform/FormServices.h"

#include <cstdint>
#include <vector>

namespace rahmen {

namespace {

constexpr int kNodeColumns = 7;
constexpr int kLevelColumns = 4;
constexpr int kMemberColumns = 3;

} // namespace

Form10::Form10(Program& program) : Form("FORM10", "荷重入力（全体座標系）", 734, 474), p_(program) {
    setHelpKeyword("表入力解析");

    // Each table: its radio button above it, column headings, then the rows
    // of five, declared row by row so that Tab runs along a row first.
    addRadio("RADIO45", "節点ごとに荷重設定", 14, 8, 240, 22, "mode");
    addLabel("TEXT106", "単位 ： kN , m", 574, 8, 150, 22);
    addGroup("GROUP20", "節点ごとに荷重設定", 10, 32, 714, 178);
    const char* const nodeHeadings[kNodeColumns] = {"節点番号", "X方向",   "Y方向", "Z方向",
                                                    "Mx方向",   "Mｙ方向", "Mz方向"};
    for (int j = 0; j < kNodeColumns; ++j)
        addLabel("HEAD20_" + std::to_string(j + 1), nodeHeadings[j], 24 + 96 * j, 52, 88, 20);
    for (int i = 0; i < kRows; ++i)
        for (int j = 0; j < kNodeColumns; ++j)
            addEdit(nodeBox(i, j), "", 24 + 96 * j, 74 + 26 * i, 88, 24);

    addRadio("RADIO46", "レベルごとに荷重設定", 14, 216, 240, 22, "mode");
    addGroup("GROUP21", "レベルごとに荷重設定(全荷重を入力、節点に振分けます)", 10, 240, 414, 178);
    const char* const levelHeadings[kLevelColumns] = {"レベル(cm)", "Ｘ方向", "Ｙ方向", "Ｚ方向"};
    for (int j = 0; j < kLevelColumns; ++j)
        addLabel("HEAD21_" + std::to_string(j + 1), levelHeadings[j], 24 + 96 * j, 260, 88, 20);
    for (int i = 0; i < kRows; ++i)
        for (int j = 0; j < kLevelColumns; ++j)
            addEdit(levelBox(i, j), "", 24 + 96 * j, 282 + 26 * i, 88, 24);

    addRadio("RADIO68", "等分布荷重の設定", 438, 216, 240, 22, "mode");
    addGroup("GROUP22", "等分布荷重の設定(部材座標系 ：kN/m)", 434, 240, 290, 178);
    const char* const memberHeadings[kMemberColumns] = {"部材番号", "ｙ方向", "ｚ方向"};
    for (int j = 0; j < kMemberColumns; ++j)
        addLabel("HEAD22_" + std::to_string(j + 1), memberHeadings[j], 448 + 92 * j, 260, 84, 20);
    for (int i = 0; i < kRows; ++i)
        for (int j = 0; j < kMemberColumns; ++j)
            addEdit(memberBox(i, j), "", 448 + 92 * j, 282 + 26 * i, 84, 24);

    addButton("BUTTON30", "次ﾍﾟｰｼﾞ/別設定", 14, 430, 150, 32);
    addButton("BUTTON31", "データ解析", 174, 430, 120, 32);
    addButton("BUTTON32", "キャンセル", 304, 430, 120, 32);
    addButton("BUTTON62", "ヘルプ", 610, 430, 110, 32);

    numberBoxes();
    onClick("RADIO45", [this] { RADIO45_ON(); });
    onClick("RADIO46", [this] { RADIO46_ON(); });
    onClick("RADIO68", [this] { RADIO68_ON(); });
    onClick("BUTTON30", [this] { BUTTON30_ON(); });
    onClick("BUTTON31", [this] { BUTTON31_ON(); });
    onClick("BUTTON32", [this] { BUTTON32_ON(); });
    onClick("BUTTON62", [this] { LOADHP_ON(); });
    onChange("EDIT111", [this] { EDIT111_CHANGE(); });
    onChange("EDIT122", [this] { EDIT122_CHANGE(); });
    onChange("EDIT123", [this] { EDIT123_CHANGE(); });
}

void Form10::FORM10_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void Form10::FORM10_START() {
    FORM10_INITXP();
    CENTER_ON(*this, p_.io.desktop);
    if (p_.model.UnitFactor == 1.0f) {
        c("TEXT106").caption = "単位 ： t , m";
        c("GROUP22").caption = "等分布荷重の設定(部材座標系：t/m)";
    }
    showMode();
}

// The table of each mode is available alone; before any mode is chosen none
// is, and the buttons ask for a mode.
void Form10::showMode() {
    const int16_t mode = p_.LoadInputMode;
    c("RADIO45").checked = mode == 1;
    c("RADIO46").checked = mode == 2;
    c("RADIO68").checked = mode == 3;
    for (int i = 0; i < kRows; ++i) {
        for (int j = 0; j < kNodeColumns; ++j)
            c(nodeBox(i, j)).enabled = mode == 1;
        for (int j = 0; j < kLevelColumns; ++j)
            c(levelBox(i, j)).enabled = mode == 2;
        for (int j = 0; j < kMemberColumns; ++j)
            c(memberBox(i, j)).enabled = mode == 3;
    }
    setFocus(mode == 1   ? nodeBox(0, 0)
             : mode == 2 ? levelBox(0, 0)
             : mode == 3 ? memberBox(0, 0)
                         : "RADIO45");
}

void Form10::RADIO45_ON() {
    p_.LoadInputMode = 1;
    showMode();
}

void Form10::RADIO46_ON() {
    p_.LoadInputMode = 2;
    showMode();
}

void Form10::RADIO68_ON() {
    p_.LoadInputMode = 3;
    showMode();
}

Form10::Page Form10::storeNodePage() {
    Model& m = p_.model;
    const int nodes = m.NodeCount < kMaxNodes ? m.NodeCount : kMaxNodes;
    std::vector<int> rows;
    for (int i = 0; i < kRows; ++i) {
        const std::string& text = c(nodeBox(i, 0)).caption;
        if (boxNumber(text) == 0) break; // empty, or a node number of 0: the page ends
        if (!acceptNumber(p_, Numbered::Node, text, nodes)) {
            setFocus(nodeBox(i, 0));
            return Page::Refused;
        }
        const std::string row = std::to_string(i + 1) + "行目の";
        for (int j = 1; j < kNodeColumns; ++j)
            if (!checkNumberBoxes(p_, *this,
                                  {{nodeBox(i, j), row + (j <= 3 ? "荷重" : "モーメント荷重"),
                                    j <= 3 ? kAnyValue : kMomentLoad}}))
                return Page::Refused;
        rows.push_back(i);
    }
    if (rows.empty()) return Page::Empty;
    for (int i : rows) {
        const int n = static_cast<int>(boxNumber(c(nodeBox(i, 0)).caption));
        markNodeLoaded(m, n);
        for (int j = 1; j < kNodeColumns; ++j) {
            // Forces as typed; moments typed in force·m, held in force·cm.
            const float value = boxSingle(c(nodeBox(i, j)).caption);
            m.NodeLoad[6 * n - 6 + j] = j <= 3 ? value : kHeldMomentScale * value;
        }
    }
    return Page::Stored;
}

Form10::Page Form10::storeLevelPage(bool analysis) {
    Model& m = p_.model;
    const int nodes = m.NodeCount < kMaxNodes ? m.NodeCount : kMaxNodes;
    int rows = 0;
    for (; rows < kRows; ++rows) {
        const std::string& text = c(levelBox(rows, 0)).caption;
        if (analysis ? boxNumber(text) == 0 : boxEmpty(text)) break;
    }
    if (rows == 0) return Page::Empty;
    for (int i = 0; i < rows; ++i) {
        const std::string row = std::to_string(i + 1) + "行目の";
        if (!checkNumberBoxes(p_, *this,
                              {{levelBox(i, 0), row + "レベル", kAnyValue},
                               {levelBox(i, 1), row + "荷重", kAnyValue},
                               {levelBox(i, 2), row + "荷重", kAnyValue},
                               {levelBox(i, 3), row + "荷重", kAnyValue}}))
            return Page::Refused;
    }
    for (int i = 0; i < rows; ++i) {
        const float level = boxSingle(c(levelBox(i, 0)).caption);
        int count = 0;
        for (int n = 1; n <= nodes; ++n)
            count += m.NodeZ[n] == level;
        if (count == 0) {
            // Rows before this one stay shared out; the page stays on screen.
            p_.say("入力したレベル、Ｚ＝" + shownNumber(level) +
                   "　に節点は、ありません、修正してください。");
            setFocus(levelBox(i, 0));
            return Page::Refused;
        }
        float share[3];
        for (int j = 0; j < 3; ++j)
            share[j] = boxSingle(c(levelBox(i, j + 1)).caption) / static_cast<float>(count);
        for (int n = 1; n <= nodes; ++n) {
            if (m.NodeZ[n] != level) continue;
            markNodeLoaded(m, n);
            for (int j = 0; j < 3; ++j)
                m.NodeLoad[6 * n - 5 + j] = share[j];
        }
    }
    return Page::Stored;
}

Form10::Page Form10::storeMemberPage() {
    Model& m = p_.model;
    const int members = m.MemberCount < kMaxMembers ? m.MemberCount : kMaxMembers;
    std::vector<int> rows;
    for (int i = 0; i < kRows; ++i) {
        const std::string& text = c(memberBox(i, 0)).caption;
        if (boxNumber(text) == 0) break;
        if (!acceptNumber(p_, Numbered::Member, text, members)) {
            setFocus(memberBox(i, 0));
            return Page::Refused;
        }
        const std::string row = std::to_string(i + 1) + "行目の";
        if (!checkNumberBoxes(p_, *this,
                              {{memberBox(i, 1), row + "等分布荷重", kAnyValue},
                               {memberBox(i, 2), row + "等分布荷重", kAnyValue}}))
            return Page::Refused;
        rows.push_back(i);
    }
    if (rows.empty()) return Page::Empty;
    for (int i : rows) {
        const int e = static_cast<int>(boxNumber(c(memberBox(i, 0)).caption));
        markMemberLoaded(m, e);
        m.MemberUniformLoad[e][1] = boxSingle(c(memberBox(i, 1)).caption);
        m.MemberUniformLoad[e][2] = boxSingle(c(memberBox(i, 2)).caption);
    }
    return Page::Stored;
}

Form10::Page Form10::storePage(bool analysis) {
    switch (p_.LoadInputMode) {
    case 1:
        return storeNodePage();
    case 2:
        return storeLevelPage(analysis);
    case 3:
        return storeMemberPage();
    default:
        p_.say("荷重の設定方法を選択してください。", MessageButtons::Ok, MessageIcon::Exclamation);
        return Page::Refused;
    }
}

void Form10::clearTable() {
    for (int i = 0; i < kRows; ++i) {
        switch (p_.LoadInputMode) {
        case 1:
            for (int j = 0; j < kNodeColumns; ++j)
                c(nodeBox(i, j)).caption.clear();
            break;
        case 2:
            for (int j = 0; j < kLevelColumns; ++j)
                c(levelBox(i, j)).caption.clear();
            break;
        case 3:
            for (int j = 0; j < kMemberColumns; ++j)
                c(memberBox(i, j)).caption.clear();
            break;
        default:
            break;
        }
    }
}

void Form10::BUTTON30_ON() {
    if (storePage(false) == Page::Refused) return;
    clearTable();
    showMode(); // the focus back in the first box
}

void Form10::enterCaseLoads(const std::string& label, std::function<void(bool)> done) {
    caseDone_ = std::move(done);
    setCaption("荷重入力（全体座標系） 荷重ケース " + label);
    c("BUTTON31").caption = "ケースに設定";
}

void Form10::BUTTON31_ON() {
    const Page page = storePage(true);
    if (page == Page::Refused) return;
    if (caseDone_) {
        const auto done = std::move(caseDone_);
        caseDone_ = nullptr;
        close();
        done(true);
        return;
    }
    const Model& m = p_.model;
    if (page == Page::Empty && m.LoadedNodeCount == 0 && m.LoadedMemberCount == 0) return;
    const std::vector<bool> menuBefore = p_.menuState();
    p_.menuEnable({"BUTTON92"}, {"BUTTON3", "BUTTON35", "BUTTON93"});
    stripSupportLoads(p_);
    close();
    // A frame the analysis refuses can be corrected and analysed again.
    if (!ANALYSIS_ON(p_)) p_.restoreMenu(menuBefore);
}

void Form10::BUTTON32_ON() {
    const auto done = std::move(caseDone_);
    caseDone_ = nullptr;
    close();
    if (done) done(false);
}

void Form10::LOADHP_ON() {
    p_.help("表入力解析");
}

} // namespace rahmen
