#include "report/ReportForm.h"

#include "model/DataName.h"
#include "model/Program.h"
#include "platform/FormServices.h"

#include <memory>

namespace rahmen {

const char* const kReportSectionBoxes[kReportSections] = {"CHECK101", "CHECK102", "CHECK103",
                                                          "CHECK104", "CHECK105", "CHECK106",
                                                          "CHECK107", "CHECK108", "CHECK109"};

ReportForm::ReportForm(Program& program) : Form("FORM20", "計算書", 440, 420), p_(program) {
    setHelpKeyword("計算書");
    setModal(true);
    addGroup("GROUP101", "計算書に入れる項目", 10, 8, 420, 250);
    for (int i = 0; i < kReportSections; ++i) {
        const std::string title = reportSectionTitle(static_cast<ReportSection>(i));
        addCheck(kReportSectionBoxes[i], title, 22, 30 + 24 * i, 400, 22).checked = true;
    }
    addLabel("TEXT101", "荷重ケース・組合せ", 10, 270, 150, 20);
    addCombo("COMBO101", 170, 266, 260, 24);
    addLabel("TEXT102", "応力図の構面", 10, 304, 150, 20);
    addCombo("COMBO102", 170, 300, 260, 24);
    addButton("BUTTON101", "PDF保存", 10, 372, 130, 32);
    addButton("BUTTON102", "印刷", 155, 372, 130, 32);
    addButton("BUTTON103", "キャンセル", 300, 372, 130, 32);
    onClick("BUTTON101", [this] { PDF_ON(); });
    onClick("BUTTON102", [this] { PRINT_ON(); });
    onClick("BUTTON103", [this] { CANCEL_ON(); });
}

void ReportForm::start() {
    applyFontOffset(*this, p_.FontOffset);
    CENTER_ON(*this, p_.io.desktop);
    Control& cases = c("COMBO101");
    cases.items = {"すべてのケースと組合せ"};
    for (const CaseResult& r : p_.caseResults)
        cases.items.push_back((r.combination ? "組合せ " : "ケース ") + r.label);
    cases.selected = 0;
    cases.enabled = !p_.caseResults.empty();
    planes_ = framePlanes(p_.model);
    Control& planes = c("COMBO102");
    planes.items = {"すべての構面"};
    for (const ReportPlane& plane : planes_)
        planes.items.push_back(plane.name());
    planes.selected = 0;
    const bool render = p_.io.desktop.canRenderDocuments();
    c("BUTTON101").enabled = render;
    c("BUTTON102").enabled = render;
}

ReportOptions ReportForm::options() const {
    ReportOptions o;
    for (int i = 0; i < kReportSections; ++i)
        o.sections[static_cast<std::size_t>(i)] = c(kReportSectionBoxes[i]).checked;
    const int result = c("COMBO101").selected;
    if (result > 0) o.results = {result - 1};
    const int plane = c("COMBO102").selected;
    if (plane > 0 && plane <= static_cast<int>(planes_.size()))
        o.planes = {planes_[static_cast<std::size_t>(plane - 1)]};
    return o;
}

Document ReportForm::document() {
    p_.progress.begin(p_.FontOffset);
    p_.progress.step("計算書作成中");
    ReportCheckResults checks;
    if (options().has(ReportSection::Checks) || options().has(ReportSection::Storeys)) {
        p_.progress.print("検定");
        checks = reportCheckResults(p_);
        if (!checks.problem.empty()) p_.progress.print(checks.problem);
    }
    ReportChecks given;
    given.members = &checks.members;
    given.storeys = &checks.storeys;
    for (int i = 0; i < kReportSections; ++i)
        if (options().sections[static_cast<std::size_t>(i)])
            p_.progress.print(reportSectionTitle(static_cast<ReportSection>(i)));
    Document d = buildReport(p_, options(), given, p_.io.clock.now());
    p_.progress.step("ページ作成中");
    return d;
}

std::optional<std::string> ReportForm::pdfName() {
    std::string name = p_.model.DataName;
    if (name.empty()) {
        const auto answer = askDataName(p_, "計算書のﾌｧｲﾙ名（データ名）を入力してください");
        if (!answer) return std::nullopt;
        name = *answer;
    }
    // As for the analysis data: "いいえ" replaces the file there is.
    while (p_.io.files.exists(name + ".pdf")) {
        const auto answer = p_.say("既存の計算書 " + name +
                                       ".pdf があります、新しいデータ名を入力しますか？\r\n\r\n"
                                       "既存ﾌｧｲﾙに上書き→いいえﾎﾞﾀﾝ",
                                   MessageButtons::YesNo, MessageIcon::Question);
        if (answer != MessageResult::Yes) break;
        const auto other = askDataName(p_, "計算書のﾌｧｲﾙ名（データ名）を入力してください");
        if (!other) return std::nullopt;
        name = *other;
    }
    return name + ".pdf";
}

void ReportForm::PDF_ON() {
    const auto name = pdfName();
    if (!name) return;
    const Document d = document();
    const std::optional<std::string> bytes = p_.io.desktop.documentPdf(d);
    p_.progress.closeWindow();
    if (!bytes) {
        p_.say("計算書の PDF を作成できませんでした。");
        return;
    }
    const FileResult written = p_.io.files.writeAtomic(*name, *bytes);
    if (!written) {
        p_.say("計算書を書き込めませんでした。\r\n" + written.error);
        return;
    }
    p_.say("計算書 " + *name + " を作成しました。", MessageButtons::Ok, MessageIcon::Information);
    close();
}

void ReportForm::PRINT_ON() {
    const Document d = document();
    p_.progress.closeWindow();
    if (p_.io.desktop.printDocument(d)) close();
}

void ReportForm::CANCEL_ON() {
    close();
}

void registerReportForms(Program& program) {
    program.registerForm("FORM20", [](Program& p) { return std::make_unique<ReportForm>(p); });
}

} // namespace rahmen
