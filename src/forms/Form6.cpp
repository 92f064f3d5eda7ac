#include "forms/Form6.h"

#include "forms/InputForms.h"
#include "forms/LoadForms.h"
#include "model/ModelFileHandlers.h"
#include "model/Program.h"
#include "platform/FormServices.h"

namespace rahmen {

namespace {

constexpr int kBoxes = 10;
constexpr int kPerLine = 5;

} // namespace

std::string Form6::nodeBox(int k) {
    return "EDIT" + std::to_string(k <= kPerLine ? 67 + k : 94 + k - kPerLine);
}

Form6::Form6(Program& program) : Form("FORM6", "支持条件入力", 460, 180), p_(program) {
    setHelpKeyword("支持点入力");
    addLabel("TEXT28", "支持点とする節点番号を入力してください。", 20, 12, 420, 22);
    // Two lines of five; Tab runs along the first line, then the second.
    for (int k = 1; k <= kBoxes; ++k) {
        const int column = (k - 1) % kPerLine;
        const int line = (k - 1) / kPerLine;
        addEdit(nodeBox(k), "", 20 + 84 * column, 44 + 34 * line, 76, 26);
    }
    addButton("BUTTON40", "次ページ", 20, 128, 96, 32);
    addButton("BUTTON41", "終了", 126, 128, 96, 32);
    addButton("BUTTON42", "キャンセル", 232, 128, 96, 32);
    addButton("BUTTON58", "ヘルプ", 356, 128, 84, 32);

    numberBoxes();
    onClick("BUTTON40", [this] { BUTTON40_ON(); });
    onClick("BUTTON41", [this] { BUTTON41_ON(); });
    onClick("BUTTON42", [this] { BUTTON42_ON(); });
    onClick("BUTTON58", [this] { SUPHP_ON(); });
    onChange("EDIT97", [this] { EDIT97_CHANGE(); });
}

void Form6::FORM6_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void Form6::FORM6_START() {
    FORM6_INITXP();
    CENTER_ON(*this, p_.io.desktop);
    SupportPage = 0;
    // The main menu applies the same rule when it opens the form; it is
    // repeated here so that the form is right however it is opened. More than
    // ten supports are finished from the last page only.
    setFocus("EDIT68");
    if (p_.model.SupportCount > kBoxes)
        c("BUTTON41").enabled = false;
    else
        c("BUTTON40").enabled = false;
}

bool Form6::markPage(std::vector<int>& marked) {
    Model& m = p_.model;
    const int nodes = m.NodeCount < kMaxNodes ? m.NodeCount : kMaxNodes;
    std::vector<int> page;
    std::set<int> onPage;
    for (int k = 1; k <= kBoxes; ++k) {
        const std::string& text = c(nodeBox(k)).caption;
        if (boxEmpty(text)) continue; // an empty box names no node
        if (!acceptNumber(p_, Numbered::Node, text, nodes)) {
            setFocus(nodeBox(k));
            return false;
        }
        const int n = static_cast<int>(boxNumber(text));
        if (typed_.count(n) || onPage.count(n)) {
            p_.say("節点番号 " + std::to_string(n) +
                   " は支持点として入力済みです。修正してください。");
            setFocus(nodeBox(k));
            return false;
        }
        onPage.insert(n);
        page.push_back(n);
    }
    for (int n : page) {
        if (m.NodeIsSupport[n] != -1) marked.push_back(n);
        m.NodeIsSupport[n] = -1;
    }
    typed_.insert(page.begin(), page.end());
    return true;
}

void Form6::clearPage() {
    for (int k = 1; k <= kBoxes; ++k)
        c(nodeBox(k)).caption.clear();
}

void Form6::BUTTON40_ON() {
    std::vector<int> marked;
    if (!markPage(marked)) return;
    clearPage();
    ++SupportPage;
    if (kBoxes * (SupportPage + 1) < p_.model.SupportCount) {
        c("BUTTON41").enabled = false;
    } else {
        c("BUTTON40").enabled = false;
        c("BUTTON41").enabled = true;
    }
    setFocus("EDIT68");
}

void Form6::BUTTON41_ON() {
    std::vector<int> marked;
    std::vector<int> typedBefore(typed_.begin(), typed_.end());
    if (!markPage(marked)) return;
    Model& m = p_.model;
    const int16_t outlineCount = m.SupportCount;
    int16_t count = 0;
    for (int n = 1; n <= m.NodeCount && n <= kMaxNodes; ++n)
        count += m.NodeIsSupport[n] == -1;
    // Take the page back, so that the next "終了" starts from where this one did.
    auto takeBack = [&] {
        for (int n : marked)
            m.NodeIsSupport[n] = 0;
        typed_ = std::set<int>(typedBefore.begin(), typedBefore.end());
        m.SupportCount = outlineCount;
    };
    // Fewer supports than the outline declared is asked about, not taken silently.
    if (count < outlineCount &&
        p_.say("概要入力の支持点数は " + std::to_string(outlineCount) +
                   " ですが、入力された支持点は " + std::to_string(count) +
                   " 点です。\r\nこのまま終了しますか。",
               MessageButtons::YesNo, MessageIcon::Question) != MessageResult::Yes) {
        takeBack();
        return;
    }
    m.SupportCount = count;
    if (!BUTTON70_ON(p_)) {
        takeBack(); // reported by the writer
        return;
    }
    close();
    p_.menuEnable({"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON92", "BUTTON93"}, {"BUTTON29"});
}

void Form6::BUTTON42_ON() {
    close();
}

void Form6::SUPHP_ON() {
    p_.help("支持点入力");
}

} // namespace rahmen
