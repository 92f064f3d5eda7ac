#include "main/Mainform.h"

#include "analysis/AnalysisFileHandlers.h"
#include "forms/InputForms.h"
#include "main/rahmen.h"
#include "model/ModelFileHandlers.h"
#include "model/Program.h"
#include "platform/FormServices.h"

#include <string>

namespace rahmen {

namespace {

// The menu's layout: two columns of buttons under the title, the table-input
// steps on the left and the short cuts on the right, the resets, the unit
// system and the end at the bottom.
constexpr int kLeft = 20;
constexpr int kRight = 220;
constexpr int kColumn = 180;
constexpr int kRow = 40;
constexpr int kTop = 54;
constexpr int kHeight = 32;

constexpr int row(int i) {
    return kTop + i * kRow;
}

} // namespace

MainForm::MainForm(Program& program, Rahmen& rahmen)
    : Form("MAINFORM", "プログラムメニュー", 420, 564), p_(program), rahmen_(rahmen) {
    addLabel("TEXT1", "骨組構造３次元解析・ZEN", kLeft, 14, 290, 26);
    addLabel("TEXT2", "Ver 2.20", 320, 20, 80, 20);

    addButton("BUTTON27", "概要入力", kLeft, row(0), kColumn, kHeight);
    addButton("BUTTON1", "座標入力", kLeft, row(1), kColumn, kHeight);
    addButton("BUTTON28", "部材ﾀｲﾌﾟ入力", kLeft, row(2), kColumn, kHeight);
    addButton("BUTTON2", "部材入力", kLeft, row(3), kColumn, kHeight);
    addButton("BUTTON29", "支持点入力", kLeft, row(4), kColumn, kHeight);
    addButton("BUTTON3", "表入力解析", kLeft, row(5), kColumn, kHeight);

    addButton("BUTTON84", "グリッド作成", kRight, row(0), kColumn, kHeight);
    addButton("BUTTON68", "座標ﾃﾞｰﾀ呼出", kRight, row(1), kColumn, kHeight).enabled = false;
    addButton("BUTTON91", "座/骨ﾃﾞｰﾀ呼出", kRight, row(2), kColumn, kHeight).enabled = false;
    addButton("BUTTON52", "解析ﾃﾞｰﾀ呼出", kRight, row(3), kColumn, kHeight).enabled = false;
    addButton("BUTTON35", "部材性能修正", kRight, row(4), kColumn, kHeight);
    addButton("BUTTON93", "マウス骨組修正", kRight, row(5), kColumn, kHeight);

    addButton("BUTTON92", "マウス骨組解析", kLeft, row(6), kColumn, kHeight);
    addButton("BUTTON4", "データ  作図", kRight, row(6), kColumn, kHeight);

    addGroup("GROUP13", "操作選択", kLeft, 340, 250, 96);
    addLabel("TEXT107", " 全データ", 32, 366, 110, 24);
    addButton("BUTTON70", "ﾘｾｯﾄ", 150, 362, 100, 30).enabled = false;
    addLabel("TEXT108", "解 析データ", 32, 402, 110, 24);
    addButton("BUTTON88", "ﾘｾｯﾄ", 150, 398, 100, 30).enabled = false;

    addRadio("RADIO65", "SI単位", 290, 364, 110, 26, "units").checked = true;
    addRadio("RADIO66", "旧単位", 290, 400, 110, 26, "units");

    addButton("BUTTON51", "ヘルプ", kLeft, 462, kColumn, 34);
    addButton("BUTTON5", "終 了", kRight, 462, kColumn, 34);
    // Added below the buttons above, which keep their places.
    addButton("BUTTON94", "荷重ケース", kLeft, 508, kColumn, 34).enabled = false;
    addButton("BUTTON95", "計算書", kRight, 508, kColumn, 34).enabled = false;

    for (Control& control : controls())
        control.fontSize = kDesignFontSize;
    c("TEXT1").fontSize = kDesignFontSize + 3; // the title stands out

    onClick("BUTTON84", [this] { BUTTON84_ON(); });
    onClick("BUTTON27", [this] { BUTTON27_ON(); });
    onClick("BUTTON1", [this] { BUTTON1_ON(); });
    onClick("BUTTON28", [this] { BUTTON28_ON(); });
    onClick("BUTTON2", [this] { BUTTON2_ON(); });
    onClick("BUTTON29", [this] { BUTTON29_ON(); });
    onClick("BUTTON3", [this] { BUTTON3_ON(); });
    onClick("BUTTON4", [this] { BUTTON4_ON(); });
    onClick("BUTTON35", [this] { BUTTON35_ON(); });
    onClick("BUTTON92", [this] { MOANALYSIS_ON(); });
    onClick("BUTTON93", [this] { BUTTON93_ON(); });
    onClick("BUTTON68", [this] { CALLCDT_ON(); });
    onClick("BUTTON91", [this] { CALLFDT_ON(); });
    onClick("BUTTON52", [this] { CALLADT_ON(); });
    onClick("BUTTON70", [this] { FRDRESET_ON(); });
    onClick("BUTTON88", [this] { ANDRESET_ON(); });
    onClick("RADIO65", [this] { SI_ON(); });
    onClick("RADIO66", [this] { SI_OFF(); });
    onClick("BUTTON51", [this] { BUTTON51_ON(); });
    onClick("BUTTON5", [this] { BUTTON5_ON(); });
    onClick("BUTTON94", [this] { BUTTON94_ON(); });
    onClick("BUTTON95", [this] { BUTTON95_ON(); });
}

void MainForm::start() {
    MAINFORM_START();
}

void MainForm::MAINFORM_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void MainForm::MAINFORM_START() {
    // The menu stays loaded for the whole run, so its fonts are adjusted once.
    if (!fontAdjusted_) {
        MAINFORM_INITXP();
        fontAdjusted_ = true;
    }
    showUnits();
    p_.menuEnable({"BUTTON27", "BUTTON84"}, {"BUTTON1", "BUTTON2", "BUTTON3", "BUTTON4", "BUTTON28",
                                             "BUTTON29", "BUTTON35", "BUTTON92", "BUTTON93"});
    setFocus("BUTTON84");
}

const std::vector<MainForm::DataFile>& MainForm::dataFiles() {
    static const std::vector<DataFile> files = {
        {".cdt", "BUTTON68", &MainForm::CALLCDT_ON},
        {".fdt", "BUTTON91", &MainForm::CALLFDT_ON},
        {".adt", "BUTTON52", &MainForm::CALLADT_ON},
    };
    return files;
}

void MainForm::DAT_ON() {
    for (const DataFile& file : dataFiles())
        if (!p_.io.files.list(std::string("*") + file.extension).empty())
            c(file.button).enabled = true;
}

void MainForm::showUnits() {
    const bool older = p_.model.UnitFactor == 1.0f;
    c("RADIO65").checked = !older;
    c("RADIO66").checked = older;
}

void MainForm::showUnitState() {
    if (p_.UnitsToShow == 1) showUnits();
    if (p_.UnitsToShow == 2) c("RADIO65").checked = false;
    p_.UnitsToShow = 0;
    c("RADIO65").enabled = p_.SiUnitsClosed == 0;
    c("RADIO66").enabled = p_.OlderUnitsClosed == 0;
}

void MainForm::BUTTON84_ON() {
    if (Form* form = p_.openForm("FORM15")) form->setFocus("RADIO5");
}

void MainForm::BUTTON27_ON() {
    if (Form* form = p_.openForm("FORM2")) form->setFocus("DTNAME");
}

void MainForm::BUTTON1_ON() {
    p_.openForm("FORM3");
}

void MainForm::BUTTON28_ON() {
    const MessageResult answer = p_.io.dialogs.message(
        "部材タイプ", "形鋼から選択しますか", MessageButtons::YesNo, MessageIcon::Question);
    if (answer == MessageResult::Yes) {
        p_.openForm("FORM16");
        return;
    }
    // Opened from here the type form pages through the types, its first page
    // numbered 1 to 5.
    openMemberTypeForm(p_, 1);
}

void MainForm::BUTTON2_ON() {
    p_.openForm("FORM5");
}

void MainForm::BUTTON29_ON() {
    Form* form = p_.openForm("FORM6");
    if (!form) return;
    form->setFocus("EDIT68");
    // More than one page of ten supports is finished from the last page only.
    if (p_.model.SupportCount > 10)
        form->c("BUTTON41").enabled = false;
    else
        form->c("BUTTON40").enabled = false;
}

bool MainForm::unitsChosen() {
    if (p_.model.UnitFactor != 0.0f) return true;
    p_.say("単位系を選択してください。", MessageButtons::Ok, MessageIcon::Exclamation);
    return false;
}

void MainForm::BUTTON3_ON() {
    if (unitsChosen()) p_.openForm("FORM9");
}

void MainForm::BUTTON94_ON() {
    if (unitsChosen()) p_.openForm("FORM17");
}

void MainForm::BUTTON95_ON() {
    if (p_.hasForm("FORM20")) p_.openForm("FORM20");
}

void MainForm::BUTTON4_ON() {
    p_.PlotWindowMode = 0;
    p_.openForm("FORM13");
}

void MainForm::BUTTON35_ON() {
    p_.openForm("FORM11");
}

void MainForm::MOANALYSIS_ON() {
    if (!unitsChosen()) return;
    p_.PlotWindowMode = 1;
    p_.openForm("FORM13");
}

void MainForm::BUTTON93_ON() {
    if (p_.model.GridGenerated == 1) {
        const MessageResult answer =
            p_.say("骨組修正をすると、デフォルト荷重の解析は、できません。（中止→キャンセル）",
                   MessageButtons::OkCancel, MessageIcon::Information);
        if (answer == MessageResult::Cancel) return;
    }
    p_.openForm("FORM8");
}

bool MainForm::CALLCDT_ON(const std::optional<std::string>& chosen) {
    if (rahmen::CALLCDT_ON(p_, chosen) != ReadOutcome::Done) return false;
    rahmen_.protectFile(modelFileName(p_.model, ".cdt"));
    return true;
}

bool MainForm::CALLFDT_ON(const std::optional<std::string>& chosen) {
    if (rahmen::CALLFDT_ON(p_, chosen) != ReadOutcome::Done) return false;
    rahmen_.protectFile(modelFileName(p_.model, ".fdt"));
    return true;
}

bool MainForm::CALLADT_ON(const std::optional<std::string>& chosen) {
    if (!rahmen::CALLADT_ON(p_, chosen)) return false;
    rahmen_.protectFile(p_.model.DataName + ".adt");
    return true;
}

void MainForm::FRDRESET_ON() {
    const MessageResult answer = p_.say("メモリー中の 座標/骨組データ  解析データ を削除します",
                                        MessageButtons::OkCancel, MessageIcon::Information);
    if (answer == MessageResult::Ok) p_.MenuRequest = 1;
    // Even a cancelled reset goes back to SI units; the radio buttons are only
    // set again when the menu is re-initialised.
    p_.model.UnitFactor = kSiUnitFactor;
}

void MainForm::ANDRESET_ON() {
    const MessageResult answer = p_.say("メモリー中の 解析データ を削除します",
                                        MessageButtons::OkCancel, MessageIcon::Information);
    if (answer == MessageResult::Ok) p_.MenuRequest = 2;
    // A frame read or written since the last full reset keeps its unit system.
    if (p_.model.FrameFileState == 0) p_.model.UnitFactor = kSiUnitFactor;
}

void MainForm::SI_ON() {
    p_.model.UnitFactor = kSiUnitFactor;
}

void MainForm::SI_OFF() {
    p_.model.UnitFactor = 1.0f;
}

void MainForm::BUTTON51_ON() {
    p_.help("");
}

void MainForm::BUTTON5_ON() {
    // One question per end: the windows closing after the end (or a second
    // close request from the desktop) must not ask again.
    if (p_.io.desktop.endRequested()) return;
    rahmen_.askKeepWrittenFiles("rahmen");
    p_.io.desktop.requestEnd();
}

} // namespace rahmen
