#include "main/rahmen.h"

#include "main/FormRegistry.h"
#include "main/Mainform.h"
#include "platform/Desktop.h"
#include "platform/FormServices.h"

namespace rahmen {

Rahmen::Rahmen(Services io)
    : program_(Program::create(io)), mainForm_(std::make_unique<MainForm>(*program_, *this)) {
    program_->mainMenu = mainForm_.get();
    registerForms(*program_);
}

Rahmen::~Rahmen() {
    // The menu goes first; nothing may reach it through the program after.
    program_->mainMenu = nullptr;
}

Program& Rahmen::program() {
    return *program_;
}

MainForm& Rahmen::mainForm() {
    return *mainForm_;
}

bool Rahmen::ended() const {
    return program_->io.desktop.endRequested();
}

void Rahmen::start() {
    if (started_) return;
    started_ = true;
    Program& p = *program_;

    // Whatever is in the folder now belongs to the user: the keep-files
    // questions of this run never delete it.
    for (const std::string& name : p.io.files.list("*"))
        protectFile(name);

    // The font offset brings the menu's buttons to 12 points; every form adds
    // it to its controls when it opens.
    p.FontOffset = static_cast<int16_t>(12 - mainForm_->c("BUTTON1").fontSize);
    p.model.UnitFactor = kSiUnitFactor;
    // A form without a cancel button is left by its own buttons only; its
    // close box and Escape say so instead of doing nothing.
    p.io.desktop.setCloseRefusal([this](Form& form) { refuseClose(form); });
    CENTER_ON(*mainForm_, p.io.desktop);
    p.io.desktop.show(*mainForm_); // MAINFORM_START
    mainForm_->DAT_ON();
}

void Rahmen::afterEvent() {
    Program& p = *program_;
    if (!started_ || resetting_ || ended()) return;
    mainForm_->showUnitState();
    if (p.MenuRequest == 0) return;

    // The questions of a reset are modal dialogs; should the GUI deliver an
    // event meanwhile, its afterEvent must not start the same reset again.
    struct Busy {
        bool& flag;
        explicit Busy(bool& f) : flag(f) { flag = true; }
        ~Busy() { flag = false; }
    } busy(resetting_);
    const int16_t request = p.MenuRequest;
    // A reset starts again from the menu: whatever is still open over it
    // (the progress window of the last operation) closes first.
    closeFormsOverMenu();
    if (request == 1) resetAll();
    if (request == 2) resetAnalysis();

    // Back at the top of the loop: the file buttons, then the menu as after
    // start-up with what the kind of reset leaves usable.
    MainForm& menu = *mainForm_;
    menu.DAT_ON();
    menu.MAINFORM_START();
    if (request == 1) {
        p.menuEnable({}, {"BUTTON70", "BUTTON88"});
        menu.c("BUTTON84").caption = "グリッド作成";
    } else if (request == 2) {
        const Model& m = p.model;
        p.menuEnable({}, {"BUTTON88"});
        if (m.FrameReady == 0) p.menuEnable({"BUTTON27", "BUTTON84"}, {"BUTTON4"});
        if (m.GridGenerated == 1 || m.FrameReady == 1) {
            p.menuEnable({"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON92", "BUTTON93"},
                         {"BUTTON27", "BUTTON52", "BUTTON68", "BUTTON84", "BUTTON91"});
            if (m.GridGenerated == 1) p.menuEnable({"BUTTON84"});
        }
    }
    p.MenuRequest = 0;
    menu.showUnitState();
    p.io.desktop.refresh();
}

void Rahmen::closeFormsOverMenu() {
    Desktop& desktop = program_->io.desktop;
    for (auto forms = desktop.openForms(); !forms.empty(); forms.pop_back())
        if (forms.back() != mainForm_.get()) desktop.close(*forms.back());
}

void Rahmen::refuseClose(Form& form) {
    for (const char* end : {"終了", "OK"}) {
        for (const Control& control : form.controls()) {
            if (control.kind != ControlKind::Button || control.caption != end || !control.enabled)
                continue;
            program_->say("この画面は「" + control.caption + "」ボタンで閉じてください。",
                          MessageButtons::Ok, MessageIcon::Information);
            return;
        }
    }
    program_->say("この画面は、処理が終わるまで閉じることができません。", MessageButtons::Ok,
                  MessageIcon::Information);
}

void Rahmen::resetAll() {
    askKeepWrittenFiles("Solberg");
    Program& p = *program_;
    // The plotting window shows pictures of the model that is going: it
    // closes, and its mode and the analysis' report switch start afresh.
    if (Form* plot = p.form("FORM13"); plot && plot->isOpen()) plot->close();
    p.PlotWindowMode = 0;
    p.SkipAnalysisFile = 0;
    // Both unit systems can be chosen again for the next frame.
    p.SiUnitsClosed = p.OlderUnitsClosed = 0;
    p.model.resetAll();
    // The sections of the frame just cleared are nothing left to save.
    p.PropertyModified = 0;
    p.grid = GridVariables{};
    p.loadCases = LoadCaseSet{};
    p.caseResults.clear();
}

void Rahmen::deleteWrittenReports() {
    const Program& p = *program_;
    const std::string& name = p.model.DataName;
    deleteWrittenFile(name + ".adt");
    // The reports of an analysis of all load cases, and their envelope.
    for (const CaseResult& r : p.caseResults)
        deleteWrittenFile(name + "_" + r.label + ".adt");
    if (!p.caseResults.empty()) deleteWrittenFile(name + "_ENV.csv");
}

void Rahmen::resetAnalysis() {
    Program& p = *program_;
    if (p.model.AnalysisFileWritten == 1) {
        const MessageResult answer =
            p.io.dialogs.message("Solberg", "作成した解析データファイルを保存しますか。",
                                 MessageButtons::YesNo, MessageIcon::Question);
        if (answer == MessageResult::No) deleteWrittenReports();
    }
    p.model.resetAnalysis();
    // The load cases are data like the frame and stay; their results go.
    p.caseResults.clear();
}

void Rahmen::askKeepWrittenFiles(const std::string& title) {
    Program& p = *program_;
    const Model& m = p.model;
    if (m.CoordFileState != 1 && m.FrameFileState != 1 && m.AnalysisFileWritten != 1) return;
    const MessageResult answer =
        p.io.dialogs.message(title, "作成したデータファイルを保存しますか。", MessageButtons::YesNo,
                             MessageIcon::Question);
    if (answer != MessageResult::No) return;
    if (m.CoordFileState == 1) deleteWrittenFile(modelFileName(m, ".cdt"));
    if (m.FrameFileState == 1) deleteWrittenFile(modelFileName(m, ".fdt"));
    if (m.AnalysisFileWritten == 1) deleteWrittenReports();
}

void Rahmen::deleteWrittenFile(const std::string& name) {
    Program& p = *program_;
    if (isProtected(name) || !p.io.files.exists(name)) return;
    const FileResult result = p.io.files.remove(name);
    if (!result)
        p.say("ファイル " + name + " を削除できませんでした。\n" + result.error, MessageButtons::Ok,
              MessageIcon::Exclamation);
}

std::filesystem::path Rahmen::key(const std::string& name) const {
    return program_->io.files.path(name).lexically_normal();
}

void Rahmen::protectFile(const std::string& name) {
    protected_.insert(key(name));
}

bool Rahmen::isProtected(const std::string& name) const {
    return protected_.count(key(name)) != 0;
}

} // namespace rahmen
