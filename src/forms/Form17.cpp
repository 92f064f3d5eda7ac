#include "forms/Form17.h"

#include "analysis/AnalysisFileHandlers.h"
#include "analysis/CaseReports.h"
#include "forms/CaseChecks.h"
#include "forms/Form10.h"
#include "forms/Form9.h"
#include "forms/InputForms.h"
#include "forms/StoreyFiles.h"
#include "model/DataName.h"
#include "model/ModelFileHandlers.h"
#include "model/Program.h"
#include "platform/FormServices.h"

#include <algorithm>
#include <memory>
#include <stdexcept>

namespace rahmen {

namespace {

const char* const kKindItems[] = {"G  固定荷重", "P  積載荷重", "S  積雪荷重", "W  風荷重",
                                  "K  地震荷重"};
const char* const kKindNames[] = {"固定", "積載", "積雪", "風", "地震"};

bool directed(LoadKind kind) {
    return kind == LoadKind::Wind || kind == LoadKind::Seismic;
}

std::string caseLine(const LoadCase& c) {
    std::string line = c.label;
    line.resize(std::max<std::size_t>(line.size(), 9), ' ');
    line += kKindNames[static_cast<int>(c.kind)];
    if (c.direction != LoadDirection::None)
        line += c.direction == LoadDirection::X ? " Ｘ方向" : " Ｙ方向";
    line += "  節点荷重 " + std::to_string(c.nodeLoads.size()) + "  部材荷重 " +
            std::to_string(c.memberLoads.size());
    return line;
}

std::string combinationLine(const Combination& k) {
    std::string line = k.label;
    line.resize(std::max<std::size_t>(line.size(), 9), ' ');
    return line + (k.term == LoadTerm::Long ? "長期  " : "短期  ") + combinationExpression(k);
}

// The frame's own loads, kept while the model's load tables hold a case's.
struct FrameLoads {
    decltype(Model::NodeLoad) nodeLoad;
    decltype(Model::NodeLoadFlag) nodeLoadFlag;
    decltype(Model::MemberUniformLoad) memberUniformLoad;
    decltype(Model::MemberLoadFlag) memberLoadFlag;
    int16_t loadedNodeCount;
    float loadedMemberCount;

    explicit FrameLoads(const Model& m)
        : nodeLoad(m.NodeLoad), nodeLoadFlag(m.NodeLoadFlag),
          memberUniformLoad(m.MemberUniformLoad), memberLoadFlag(m.MemberLoadFlag),
          loadedNodeCount(m.LoadedNodeCount), loadedMemberCount(m.LoadedMemberCount) {}

    void restore(Model& m) const {
        m.NodeLoad = nodeLoad;
        m.NodeLoadFlag = nodeLoadFlag;
        m.MemberUniformLoad = memberUniformLoad;
        m.MemberLoadFlag = memberLoadFlag;
        m.LoadedNodeCount = loadedNodeCount;
        m.LoadedMemberCount = loadedMemberCount;
    }
};

void clearLoads(Model& m) {
    m.NodeLoad.fill(0);
    m.NodeLoadFlag.fill(0);
    for (auto& row : m.MemberUniformLoad)
        row.fill(0);
    m.MemberLoadFlag.fill(0);
    m.LoadedNodeCount = 0;
    m.LoadedMemberCount = 0;
}

bool hasLoads(const LoadCaseSet& set) {
    for (const LoadCase& c : set.cases)
        if (!c.nodeLoads.empty() || !c.memberLoads.empty()) return true;
    return false;
}

} // namespace

void registerLoadCaseForm(Program& program) {
    program.registerForm("FORM17", [](Program& p) { return std::make_unique<Form17>(p); });
}

std::optional<std::string> caseReportName(Program& p) {
    const char* const prompt = "作成される解析ﾃﾞｰﾀﾌｧｲﾙの名前を入力してください";
    std::string name = p.model.DataName;
    if (name.empty()) {
        const auto answer = askDataName(p, prompt);
        if (!answer) return std::nullopt;
        name = *answer;
    }
    for (;;) {
        if (const std::string problem = caseReportNamesProblem(name, p.loadCases);
            !problem.empty()) {
            p.say("解析データの名前に使えません: " + problem);
            return std::nullopt;
        }
        if (!caseReportsExist(p, name, p.loadCases) && !storeyFilesExist(p, name, p.loadCases) &&
            !caseCheckFilesExist(p, name))
            return name;
        // As for a single report: "いいえ" replaces the files there are.
        const auto answer =
            p.say("既存の解析データがあります、新しいデータ名を入力しますか？\r\n\r\n"
                  "同名データ作成は既存ﾃﾞｰﾀをﾃﾞｨﾚｸﾄﾘｰより移動→いいえﾎﾞﾀﾝ",
                  MessageButtons::YesNo, MessageIcon::Question);
        if (answer != MessageResult::Yes) return name;
        const auto other = askDataName(p, prompt);
        if (!other) return name;
        name = *other;
    }
}

bool analyseAllCases(Program& p, const std::string& name) {
    const std::vector<bool> menuBefore = p.menuState();
    p.menuEnable({}, {"BUTTON3", "BUTTON35", "BUTTON93"});
    CaseReportOptions options;
    options.name = name.empty() ? p.model.DataName : name;
    options.writeFiles = !name.empty();
    const CaseReportOutcome outcome = analyseCaseReports(p, p.loadCases, options);
    if (!outcome.analysed) {
        // A frame the analysis refuses can be corrected and analysed again.
        p.restoreMenu(menuBefore);
        return false;
    }
    writeStoreyFiles(p, name);
    p.menuEnable({"BUTTON4", "BUTTON88"}, {"BUTTON84", "BUTTON92"});
    writeCaseChecks(p, name);
    return true;
}

bool writeLoadCases(Program& p) {
    const std::string name = modelFileName(p.model, ".lcd");
    std::string bytes;
    try {
        bytes = loadCaseFileBytes(p.loadCases);
    } catch (const DataFileError& e) {
        p.say(std::string("ファイルを書き込めませんでした。\n") + e.what());
        return false;
    }
    if (p.io.files.exists(name)) p.say(kExistingFileMessage);
    const FileResult written = p.io.files.writeAtomic(name, bytes);
    if (!written) {
        p.say("ファイルを書き込めませんでした。\n" + written.error);
        return false;
    }
    return true;
}

Form17::Form17(Program& program) : Form("FORM17", "荷重ケース入力", 760, 560), p_(program) {
    setHelpKeyword("荷重ケース");

    addGroup("GROUP171", "荷重ケース", 10, 10, 740, 236);
    addList("LIST171", 24, 34, 370, 198);
    addLabel("TEXT171", "ラベル", 410, 38, 70, 22);
    addEdit("EDIT171", "", 486, 34, 120, 26);
    addLabel("TEXT172", "種類", 410, 72, 70, 22);
    addCombo("COMBO171", 486, 68, 170, 26)
        .items.assign(std::begin(kKindItems), std::end(kKindItems));
    addLabel("TEXT173", "方向", 410, 106, 70, 22);
    addCombo("COMBO172", 486, 102, 120, 26).items = {"Ｘ方向", "Ｙ方向"};
    addButton("BUTTON171", "追加", 410, 142, 100, 32);
    addButton("BUTTON172", "変更", 520, 142, 100, 32);
    addButton("BUTTON173", "削除", 630, 142, 100, 32);
    addButton("BUTTON174", "荷重入力", 410, 192, 150, 32);
    addButton("BUTTON175", "解析ﾃﾞｰﾀから", 570, 192, 160, 32);

    addGroup("GROUP172", "荷重の組合せ", 10, 254, 740, 236);
    addList("LIST172", 24, 278, 370, 198);
    addLabel("TEXT174", "ラベル", 410, 282, 70, 22);
    addEdit("EDIT172", "", 486, 278, 120, 26);
    addLabel("TEXT175", "期間", 410, 316, 70, 22);
    addCombo("COMBO173", 486, 312, 120, 26).items = {"長期", "短期"};
    addLabel("TEXT176", "組合せ式", 410, 350, 70, 22);
    addEdit("EDIT173", "", 486, 346, 250, 26);
    addButton("BUTTON176", "追加", 410, 386, 100, 32);
    addButton("BUTTON177", "変更", 520, 386, 100, 32);
    addButton("BUTTON178", "削除", 630, 386, 100, 32);
    addButton("BUTTON179", "令第82条の組合せ", 410, 436, 190, 32);
    addCheck("CHECK171", "多雪区域", 614, 440, 120, 24);

    addButton("BUTTON180", "保存", 14, 508, 100, 34);
    addButton("BUTTON181", "呼出", 124, 508, 100, 34);
    addButton("BUTTON182", "全ケース解析", 234, 508, 150, 34);
    addButton("BUTTON183", "終了", 394, 508, 100, 34);
    addButton("BUTTON185", "検定条件", 504, 508, 126, 34);
    addButton("BUTTON184", "ヘルプ", 640, 508, 100, 34);

    onChange("LIST171", [this] { LIST171_CHANGE(); });
    onChange("COMBO171", [this] { COMBO171_CHANGE(); });
    onClick("BUTTON171", [this] { BUTTON171_ON(); });
    onClick("BUTTON172", [this] { BUTTON172_ON(); });
    onClick("BUTTON173", [this] { BUTTON173_ON(); });
    onClick("BUTTON174", [this] { BUTTON174_ON(); });
    onClick("BUTTON175", [this] { BUTTON175_ON(); });
    onChange("LIST172", [this] { LIST172_CHANGE(); });
    onClick("BUTTON176", [this] { BUTTON176_ON(); });
    onClick("BUTTON177", [this] { BUTTON177_ON(); });
    onClick("BUTTON178", [this] { BUTTON178_ON(); });
    onClick("BUTTON179", [this] { BUTTON179_ON(); });
    onClick("BUTTON180", [this] { BUTTON180_ON(); });
    onClick("BUTTON181", [this] { BUTTON181_ON(); });
    onClick("BUTTON182", [this] { BUTTON182_ON(); });
    onClick("BUTTON183", [this] { BUTTON183_ON(); });
    onClick("BUTTON184", [this] { BUTTON184_ON(); });
    onClick("BUTTON185", [this] { p_.openForm("FORM18"); });
}

void Form17::FORM17_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void Form17::FORM17_START() {
    FORM17_INITXP();
    CENTER_ON(*this, p_.io.desktop);
    c("COMBO171").selected = 0;
    COMBO171_CHANGE();
    showLists();
    setFocus("EDIT171");
}

// Opened with no cases beside a load-case file of the data name, the form
// reads that file: the cases saved with the frame come back by themselves.
void Form17::shown() {
    if (!p_.loadCases.cases.empty() || p_.model.DataName.empty()) return;
    const std::string name = modelFileName(p_.model, ".lcd");
    if (p_.io.files.exists(name)) readCaseFile(name);
}

void Form17::showLists() {
    Control& cases = c("LIST171");
    cases.items.clear();
    for (const LoadCase& k : p_.loadCases.cases)
        cases.items.push_back(caseLine(k));
    if (cases.selected >= static_cast<int>(cases.items.size()))
        cases.selected = static_cast<int>(cases.items.size()) - 1;
    Control& combinations = c("LIST172");
    combinations.items.clear();
    for (const Combination& k : p_.loadCases.combinations)
        combinations.items.push_back(combinationLine(k));
    if (combinations.selected >= static_cast<int>(combinations.items.size()))
        combinations.selected = static_cast<int>(combinations.items.size()) - 1;
    const bool anyCase = !p_.loadCases.cases.empty();
    c("BUTTON182").enabled = anyCase;
    c("BUTTON179").enabled = anyCase;
}

int Form17::chosenCase() {
    const int i = c("LIST171").selected;
    if (i >= 0 && i < static_cast<int>(p_.loadCases.cases.size())) return i;
    p_.say("荷重ケースを選択してください。");
    return -1;
}

int Form17::chosenCombination() {
    const int i = c("LIST172").selected;
    if (i >= 0 && i < static_cast<int>(p_.loadCases.combinations.size())) return i;
    p_.say("組合せを選択してください。");
    return -1;
}

void Form17::LIST171_CHANGE() {
    const int i = c("LIST171").selected;
    if (i < 0 || i >= static_cast<int>(p_.loadCases.cases.size())) return;
    const LoadCase& k = p_.loadCases.cases[i];
    c("EDIT171").caption = k.label;
    c("COMBO171").selected = static_cast<int>(k.kind);
    c("COMBO172").selected = k.direction == LoadDirection::Y ? 1 : 0;
    COMBO171_CHANGE();
}

void Form17::COMBO171_CHANGE() {
    const int kind = c("COMBO171").selected;
    const bool on = kind >= 0 && directed(static_cast<LoadKind>(kind));
    c("TEXT173").enabled = c("COMBO172").enabled = on;
    if (on && c("COMBO172").selected < 0) c("COMBO172").selected = 0;
}

bool Form17::labelFree(const std::string& label, int exceptCase, int exceptCombination) {
    const LoadCaseSet& set = p_.loadCases;
    for (std::size_t i = 0; i < set.cases.size(); ++i)
        if (static_cast<int>(i) != exceptCase && set.cases[i].label == label) return false;
    for (std::size_t i = 0; i < set.combinations.size(); ++i)
        if (static_cast<int>(i) != exceptCombination && set.combinations[i].label == label)
            return false;
    return true;
}

bool Form17::caseFromBoxes(LoadCase& k, int except) {
    const std::string label = c("EDIT171").caption;
    std::string problem = labelProblem(label);
    if (problem.empty() && !labelFree(label, except, -1))
        problem = "ラベル " + label + " は、ほかの荷重ケースか組合せに使われています。";
    if (!problem.empty()) {
        p_.say(problem);
        setFocus("EDIT171");
        return false;
    }
    const int kind = c("COMBO171").selected;
    if (kind < 0) {
        p_.say("荷重ケースの種類を選択してください。");
        setFocus("COMBO171");
        return false;
    }
    k.label = label;
    k.kind = static_cast<LoadKind>(kind);
    k.direction = !directed(k.kind)             ? LoadDirection::None
                  : c("COMBO172").selected == 1 ? LoadDirection::Y
                                                : LoadDirection::X;
    return true;
}

void Form17::BUTTON171_ON() {
    if (p_.loadCases.cases.size() >= static_cast<std::size_t>(kMaxLoadCases)) {
        p_.say("荷重ケースは " + std::to_string(kMaxLoadCases) + " までです。");
        return;
    }
    LoadCase k;
    if (!caseFromBoxes(k, -1)) return;
    p_.loadCases.cases.push_back(k);
    showLists();
    c("LIST171").selected = static_cast<int>(p_.loadCases.cases.size()) - 1;
    c("EDIT171").caption.clear();
    setFocus("EDIT171");
}

void Form17::BUTTON172_ON() {
    const int i = chosenCase();
    if (i < 0) return;
    LoadCase& k = p_.loadCases.cases[i];
    LoadCase changed = k;
    if (!caseFromBoxes(changed, i)) return;
    // The combinations follow a new label.
    for (Combination& combination : p_.loadCases.combinations)
        for (CombinationTerm& t : combination.terms)
            if (t.caseLabel == k.label) t.caseLabel = changed.label;
    k = changed;
    showLists();
}

void Form17::BUTTON173_ON() {
    const int i = chosenCase();
    if (i < 0) return;
    const std::string label = p_.loadCases.cases[i].label;
    for (const Combination& combination : p_.loadCases.combinations)
        for (const CombinationTerm& t : combination.terms)
            if (t.caseLabel == label) {
                p_.say("荷重ケース " + label + " は組合せ " + combination.label +
                       " に使われています。先に組合せを変更か削除してください。");
                return;
            }
    if (p_.say("荷重ケース " + label + " を削除します。", MessageButtons::OkCancel,
               MessageIcon::Question) != MessageResult::Ok)
        return;
    p_.loadCases.cases.erase(p_.loadCases.cases.begin() + i);
    showLists();
}

void Form17::BUTTON174_ON() {
    const int i = chosenCase();
    if (i < 0) return;
    Model& m = p_.model;
    auto frame = std::make_shared<FrameLoads>(m);
    clearLoads(m);
    addCaseLoads(m, p_.loadCases.cases[i], 1.0);
    Form10* loads = dynamic_cast<Form10*>(p_.openForm("FORM10"));
    if (!loads) {
        frame->restore(m);
        return;
    }
    const std::string label = p_.loadCases.cases[i].label;
    loads->enterCaseLoads(label, [this, frame, label](bool stored) {
        Model& model = p_.model;
        auto& cases = p_.loadCases.cases;
        const auto found = std::find_if(cases.begin(), cases.end(),
                                        [&](const LoadCase& k) { return k.label == label; });
        if (stored && found != cases.end()) takeCaseLoads(model, *found);
        frame->restore(model);
        showLists();
    });
}

void Form17::BUTTON175_ON() {
    const int i = chosenCase();
    if (i < 0) return;
    Model& m = p_.model;
    const FrameLoads frame(m);
    if (CALL_LOAD(p_)) takeCaseLoads(m, p_.loadCases.cases[i]);
    frame.restore(m);
    showLists();
}

void Form17::LIST172_CHANGE() {
    const int i = c("LIST172").selected;
    if (i < 0 || i >= static_cast<int>(p_.loadCases.combinations.size())) return;
    const Combination& k = p_.loadCases.combinations[i];
    c("EDIT172").caption = k.label;
    c("COMBO173").selected = k.term == LoadTerm::Long ? 0 : 1;
    c("EDIT173").caption = combinationExpression(k);
}

bool Form17::combinationFromBoxes(Combination& k, int except) {
    const std::string label = c("EDIT172").caption;
    std::string problem = labelProblem(label);
    if (problem.empty() && !labelFree(label, -1, except))
        problem = "ラベル " + label + " は、ほかの荷重ケースか組合せに使われています。";
    if (!problem.empty()) {
        p_.say(problem);
        setFocus("EDIT172");
        return false;
    }
    std::vector<CombinationTerm> terms;
    problem = parseCombination(c("EDIT173").caption, p_.loadCases.cases, terms);
    if (!problem.empty()) {
        p_.say(problem + "\r\n組合せ式は係数と荷重ケースのラベルで書きます（例: G+P-KX, "
                         "G+P+0.35S+KY, 1.2G+0.7KX）。");
        setFocus("EDIT173");
        return false;
    }
    k.label = label;
    k.terms = std::move(terms);
    const int term = c("COMBO173").selected;
    k.term = term == 0   ? LoadTerm::Long
             : term == 1 ? LoadTerm::Short
                         : usualTerm(k, p_.loadCases.cases);
    return true;
}

void Form17::BUTTON176_ON() {
    if (p_.loadCases.combinations.size() >= static_cast<std::size_t>(kMaxCombinations)) {
        p_.say("組合せは " + std::to_string(kMaxCombinations) + " までです。");
        return;
    }
    Combination k;
    if (!combinationFromBoxes(k, -1)) return;
    p_.loadCases.combinations.push_back(k);
    showLists();
    c("LIST172").selected = static_cast<int>(p_.loadCases.combinations.size()) - 1;
    c("EDIT172").caption.clear();
    c("EDIT173").caption.clear();
    c("COMBO173").selected = -1;
    setFocus("EDIT172");
}

void Form17::BUTTON177_ON() {
    const int i = chosenCombination();
    if (i < 0) return;
    Combination changed;
    if (!combinationFromBoxes(changed, i)) return;
    p_.loadCases.combinations[i] = changed;
    showLists();
}

void Form17::BUTTON178_ON() {
    const int i = chosenCombination();
    if (i < 0) return;
    p_.loadCases.combinations.erase(p_.loadCases.combinations.begin() + i);
    showLists();
}

void Form17::BUTTON179_ON() {
    std::vector<Combination> code = codeCombinations(p_.loadCases.cases, c("CHECK171").checked);
    if (code.empty()) {
        p_.say("組合せを作れる荷重ケースがありません（種類 G, P, S, W, K のケースから作ります）。");
        return;
    }
    for (const Combination& k : code)
        if (!labelFree(k.label, -1, static_cast<int>(p_.loadCases.combinations.size()))) {
            bool isCase = false;
            for (const LoadCase& lc : p_.loadCases.cases)
                isCase = isCase || lc.label == k.label;
            if (isCase) {
                p_.say("荷重ケースのラベル " + k.label +
                       " が組合せのラベルと重なります。ケースのラベルを変更してください。");
                return;
            }
        }
    if (!p_.loadCases.combinations.empty() &&
        p_.say("今の組合せを、施行令第82条の組合せに置き換えます。", MessageButtons::OkCancel,
               MessageIcon::Question) != MessageResult::Ok)
        return;
    p_.loadCases.combinations = std::move(code);
    showLists();
}

void Form17::BUTTON180_ON() {
    if (p_.model.DataName.empty()) {
        const auto name = askDataName(p_, "データファイル名を入力してください");
        if (!name) return;
        p_.model.DataName = *name;
    }
    writeLoadCases(p_);
}

bool Form17::readCaseFile(const std::string& path) {
    const ReadResult file = p_.io.files.read(path);
    LoadCaseSet set;
    try {
        if (!file) throw std::runtime_error(file.error);
        ItemReader in(file.bytes, fileNameOfPath(path));
        rahmen::readLoadCaseFile(in, set, p_.model.NodeCount, p_.model.MemberCount);
    } catch (const std::exception& e) {
        p_.say(std::string("荷重ケースファイルの読込みを中止しました。\r\n") + e.what());
        return false;
    }
    p_.loadCases = std::move(set);
    c("LIST171").selected = c("LIST172").selected = -1;
    showLists();
    return true;
}

void Form17::BUTTON181_ON() {
    const auto path = p_.io.dialogs.openFile("荷重ケースの呼出", "データ(*.lcd)", "*.lcd");
    if (path) readCaseFile(*path);
}

void Form17::BUTTON182_ON() {
    if (!hasLoads(p_.loadCases)) {
        p_.say("荷重ケースに荷重がありません。解析しません。");
        return;
    }
    Form9* conditions = dynamic_cast<Form9*>(p_.openForm("FORM9"));
    if (!conditions) return;
    conditions->conditionsFor([this] {
        const auto name = caseReportName(p_);
        if (!name) return;
        close();
        analyseAllCases(p_, *name);
    });
}

void Form17::BUTTON183_ON() {
    close();
}

void Form17::BUTTON184_ON() {
    p_.help("荷重ケース");
}

} // namespace rahmen
