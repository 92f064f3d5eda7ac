#include "forms/Form18.h"

#include "analysis/MemberResults.h"
#include "checks/SteelChecks.h"
#include "checks/SteelGrades.h"
#include "forms/InputForms.h"
#include "model/DataName.h"
#include "model/Model.h"
#include "model/ModelFileHandlers.h"
#include "model/Program.h"
#include "platform/FormServices.h"

#include <cmath>
#include <cstdio>
#include <memory>

namespace rahmen {

namespace {

// The fixed groups of COMBO182, then one entry per member type.
const char* const kGroups[] = {"選択した部材", "全部材", "柱（鉛直の部材）", "梁（水平の部材）"};
constexpr int kFixedGroups = 4;

std::string fixed(double value, int decimals) {
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
    return buf;
}

std::string padded(std::string text, std::size_t width) {
    text.insert(0, width > text.size() ? width - text.size() : 0, ' ');
    return text;
}

bool vertical(const Model& m, int e) {
    const int s = m.MemberStartNode[e], t = m.MemberEndNode[e];
    return m.NodeX[s] == m.NodeX[t] && m.NodeY[s] == m.NodeY[t] && m.NodeZ[s] != m.NodeZ[t];
}

bool horizontal(const Model& m, int e) {
    const int s = m.MemberStartNode[e], t = m.MemberEndNode[e];
    return m.NodeZ[s] == m.NodeZ[t];
}

} // namespace

void registerCheckConditionsForm(Program& program) {
    program.registerForm("FORM18", [](Program& p) { return std::make_unique<Form18>(p); });
}

Form18::Form18(Program& program) : Form("FORM18", "検定条件", 760, 570), p_(program) {
    setHelpKeyword("検定条件");
    setModal(true);

    addGroup("GROUP181", "部材タイプの鋼種", 10, 10, 740, 200);
    addList("LIST181", 24, 34, 470, 164);
    addLabel("TEXT181", "鋼種", 510, 38, 50, 22);
    Control& grades = addCombo("COMBO181", 566, 34, 170, 26);
    for (const SteelGrade& g : steelGrades())
        grades.items.push_back(g.name);
    addButton("BUTTON181", "変更", 510, 74, 110, 32);
    addButton("BUTTON182", "全タイプに", 626, 74, 110, 32);
    addLabel("TEXT182", "検定外：断面表（H形鋼・角形鋼管・円形鋼管）の断面でないタイプ", 510, 116,
             226, 80);

    addGroup("GROUP182", "横補剛間隔と座屈長さ係数", 10, 218, 740, 286);
    addList("LIST182", 24, 242, 470, 250);
    addLabel("TEXT183", "対象", 510, 246, 50, 22);
    addCombo("COMBO182", 566, 242, 170, 26);
    addLabel("TEXT184", "lb（cm）", 510, 282, 100, 22);
    addEdit("EDIT181", "", 616, 278, 120, 26);
    addLabel("TEXT185", "kx", 510, 316, 100, 22);
    addEdit("EDIT182", "", 616, 312, 120, 26);
    addLabel("TEXT186", "ky", 510, 350, 100, 22);
    addEdit("EDIT183", "", 616, 346, 120, 26);
    numberBoxes();
    addLabel("TEXT187", "lb 0：部材長さ　空欄：変更しない", 510, 380, 226, 44);
    addButton("BUTTON183", "設定", 510, 430, 110, 32);
    addButton("BUTTON184", "既定に戻す", 626, 430, 110, 32);

    addButton("BUTTON185", "保存", 14, 518, 100, 34);
    addButton("BUTTON186", "終了", 124, 518, 100, 34);
    addButton("BUTTON187", "ヘルプ", 640, 518, 100, 34);

    onChange("LIST181", [this] { LIST181_CHANGE(); });
    onClick("BUTTON181", [this] { BUTTON181_ON(); });
    onClick("BUTTON182", [this] { BUTTON182_ON(); });
    onChange("LIST182", [this] { LIST182_CHANGE(); });
    onClick("BUTTON183", [this] { BUTTON183_ON(); });
    onClick("BUTTON184", [this] { BUTTON184_ON(); });
    onClick("BUTTON185", [this] { BUTTON185_ON(); });
    onClick("BUTTON186", [this] { BUTTON186_ON(); });
    onClick("BUTTON187", [this] { BUTTON187_ON(); });
}

void Form18::FORM18_START() {
    applyFontOffset(*this, p_.FontOffset);
    CENTER_ON(*this, p_.io.desktop);
    readProblem_ = p_.model.DataName.empty()
                       ? std::string()
                       : readCheckConditions(p_.io.files, p_.model, conditions_);
    changed_ = false;
    Control& groups = c("COMBO182");
    groups.items.assign(std::begin(kGroups), std::end(kGroups));
    for (int t = 1; t <= std::min<int>(p_.model.MemberTypeCount, kMaxMemberTypes); ++t)
        groups.items.push_back("部材タイプ " + std::to_string(t));
    groups.selected = 0;
    c("COMBO181").selected = 0;
    for (std::size_t i = 0; i < c("COMBO181").items.size(); ++i)
        if (c("COMBO181").items[i] == kDefaultSteelGrade) c("COMBO181").selected = int(i);
    showTypes();
    showMembers();
    setFocus("LIST181");
}

// A file that does not read is said over the form, which starts from the
// defaults.
void Form18::shown() {
    if (readProblem_.empty()) return;
    p_.say("検定条件ファイルの読込みを中止しました。既定の条件から始めます。\r\n" + readProblem_);
    readProblem_.clear();
}

void Form18::showTypes() {
    const Model& m = p_.model;
    Control& list = c("LIST181");
    list.items.clear();
    for (int t = 1; t <= std::min<int>(m.MemberTypeCount, kMaxMemberTypes); ++t) {
        CheckSection s;
        std::string reason;
        std::string line = padded(std::to_string(t), 4) + "  ";
        if (typeCheckSection(m, t, s, reason)) {
            line += s.name;
            line += "  " + conditions_.gradeOf(t);
        } else {
            // Numbers and rectangles by their kind (the label beside the list
            // says why); a missing table row by the whole reason.
            const int kind = m.TypeSectionKind[t];
            line += "検定外（" +
                    (kind == kSectionNumeric     ? std::string("数値入力の断面")
                     : kind == kSectionRectangle ? std::string("長方形断面")
                                                 : reason) +
                    "）";
        }
        list.items.push_back(line);
    }
    if (list.selected >= static_cast<int>(list.items.size())) list.selected = -1;
}

void Form18::showMembers() {
    const Model& m = p_.model;
    Control& list = c("LIST182");
    list.items.clear();
    for (int e = 1; e <= std::min<int>(m.MemberCount, kMaxMembers); ++e) {
        const MemberCheckCondition k = conditions_.memberCondition(e);
        const char* kind = vertical(m, e) ? "柱" : horizontal(m, e) ? "梁" : "　";
        std::string line = padded(std::to_string(e), 5) + "  " + kind +
                           "  L=" + padded(fixed(memberLength(m, e), 1), 7) +
                           "  lb=" + (k.lb == 0 ? std::string("部材長") : fixed(k.lb, 1)) +
                           "  kx=" + fixed(k.kx, 2) + "  ky=" + fixed(k.ky, 2);
        list.items.push_back(line);
    }
    if (list.selected >= static_cast<int>(list.items.size())) list.selected = -1;
}

void Form18::LIST181_CHANGE() {
    const int t = c("LIST181").selected + 1;
    if (t < 1 || t > p_.model.MemberTypeCount) return;
    const std::string& grade = conditions_.gradeOf(t);
    const auto& items = c("COMBO181").items;
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i] == grade) c("COMBO181").selected = static_cast<int>(i);
}

void Form18::BUTTON181_ON() {
    const int t = c("LIST181").selected + 1;
    if (t < 1 || t > p_.model.MemberTypeCount) {
        p_.say("部材タイプを選択してください。");
        return;
    }
    CheckSection s;
    std::string reason;
    if (!typeCheckSection(p_.model, t, s, reason)) {
        p_.say("部材タイプ " + std::to_string(t) + " は検定しません（" + reason + "）。");
        return;
    }
    const int g = c("COMBO181").selected;
    if (g < 0) {
        p_.say("鋼種を選択してください。");
        return;
    }
    conditions_.grades[t] = c("COMBO181").items[static_cast<std::size_t>(g)];
    changed_ = true;
    showTypes();
}

void Form18::BUTTON182_ON() {
    const int g = c("COMBO181").selected;
    if (g < 0) {
        p_.say("鋼種を選択してください。");
        return;
    }
    int given = 0;
    for (int t = 1; t <= std::min<int>(p_.model.MemberTypeCount, kMaxMemberTypes); ++t) {
        CheckSection s;
        std::string reason;
        if (!typeCheckSection(p_.model, t, s, reason)) continue;
        conditions_.grades[t] = c("COMBO181").items[static_cast<std::size_t>(g)];
        ++given;
    }
    if (given == 0) {
        p_.say("検定する部材タイプがありません（断面表の断面のタイプだけを検定します）。");
        return;
    }
    changed_ = true;
    showTypes();
}

void Form18::LIST182_CHANGE() {
    const int e = c("LIST182").selected + 1;
    if (e < 1 || e > p_.model.MemberCount) return;
    const MemberCheckCondition k = conditions_.memberCondition(e);
    c("EDIT181").caption = fixed(k.lb, 1);
    c("EDIT182").caption = fixed(k.kx, 2);
    c("EDIT183").caption = fixed(k.ky, 2);
    c("COMBO182").selected = 0;
}

std::vector<int> Form18::groupMembers() {
    const Model& m = p_.model;
    const int group = c("COMBO182").selected;
    const int count = std::min<int>(m.MemberCount, kMaxMembers);
    std::vector<int> members;
    if (group == 0) {
        const int e = c("LIST182").selected + 1;
        if (e >= 1 && e <= count) members.push_back(e);
        if (members.empty()) p_.say("部材を選択してください。");
        return members;
    }
    for (int e = 1; e <= count; ++e) {
        const bool in = group == 1   ? true
                        : group == 2 ? vertical(m, e)
                        : group == 3 ? horizontal(m, e)
                                     : m.MemberTypeNo[e] == group - kFixedGroups + 1;
        if (in) members.push_back(e);
    }
    if (members.empty()) p_.say(c("COMBO182").items[std::size_t(group)] + " の部材がありません。");
    return members;
}

void Form18::BUTTON183_ON() {
    const char* const boxes[] = {"EDIT181", "EDIT182", "EDIT183"};
    const char* const what[] = {"横補剛間隔", "座屈長さ係数（kx）", "座屈長さ係数（ky）"};
    std::vector<NumberBox> typed;
    for (int i = 0; i < 3; ++i)
        if (!boxEmpty(c(boxes[i]).caption)) typed.push_back({boxes[i], what[i], kNotNegative});
    if (typed.empty()) {
        p_.say("lb、kx、ky のどれかを入力してください。");
        setFocus("EDIT181");
        return;
    }
    if (!checkNumberBoxes(p_, *this, typed)) return;
    const std::vector<int> members = groupMembers();
    if (members.empty()) return;
    for (int e : members) {
        MemberCheckCondition k = conditions_.memberCondition(e);
        double* values[] = {&k.lb, &k.kx, &k.ky};
        for (int i = 0; i < 3; ++i)
            if (!boxEmpty(c(boxes[i]).caption))
                *values[i] = toSingle(boxNumber(c(boxes[i]).caption));
        // The defaults are not written down: the file lists what was given.
        if (k.lb == 0 && k.kx == 1 && k.ky == 1)
            conditions_.members.erase(e);
        else
            conditions_.members[e] = k;
    }
    changed_ = true;
    showMembers();
}

void Form18::BUTTON184_ON() {
    const std::vector<int> members = groupMembers();
    if (members.empty()) return;
    for (int e : members)
        conditions_.members.erase(e);
    changed_ = true;
    showMembers();
}

bool Form18::save() {
    if (p_.model.DataName.empty()) {
        const auto name = askDataName(p_, "データファイル名を入力してください");
        if (!name) return false;
        p_.model.DataName = *name;
    }
    const std::string name = modelFileName(p_.model, kCheckConditionsExtension);
    if (p_.io.files.exists(name)) p_.say(kExistingFileMessage);
    const FileResult written =
        writeCheckConditions(p_.io.files, modelFileName(p_.model, ""), conditions_);
    if (!written) {
        p_.say("ファイルを書き込めませんでした。\n" + written.error);
        return false;
    }
    changed_ = false;
    return true;
}

void Form18::BUTTON185_ON() {
    save();
}

void Form18::BUTTON186_ON() {
    if (changed_) {
        const MessageResult answer = p_.say("検定条件が変更されています。保存しますか？",
                                            MessageButtons::YesNo, MessageIcon::Question);
        if (answer == MessageResult::Yes && !save()) return;
    }
    close();
}

void Form18::BUTTON187_ON() {
    p_.help("検定条件");
}

} // namespace rahmen
