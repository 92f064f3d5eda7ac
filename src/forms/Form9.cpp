#include "forms/Form9.h"

#include "forms/InputForms.h"
#include "forms/LoadForms.h"
#include "model/Program.h"
#include "platform/FormServices.h"

#include <cfloat>
#include <cmath>

namespace rahmen {

namespace {

// Single-precision constants of the formulas for concrete.
constexpr float kOneThird = 0.33333334f;
constexpr float kSi335 = 3.35f;
constexpr float kUnitWeight23 = 2.3f;
constexpr float kEtoG = 2.4f;

bool fitsSingle(double value) {
    return withinLargestValue(value);
}

} // namespace

Form9::Form9(Program& program) : Form("FORM9", "解析条件入力", 730, 412), p_(program) {
    setHelpKeyword("表入力解析");
    addGroup("GROUP5", "材料の諸係数の入力", 10, 10, 710, 220);
    addRadio("RADIO1", "スチールの標準で計算する", 24, 32, 560, 22, "material");
    addRadio("RADIO2", "コンクリートの標準で計算する", 24, 58, 560, 22, "material");
    addRadio("RADIO3",
             "ヤング/せん断弾性係数係数をコンクリートの（単位容積重量／設計基準強度）から計算する",
             24, 84, 690, 22, "material");
    addRadio("RADIO4", "ヤング係数・せん断弾性係数を直接入力する", 24, 110, 560, 22, "material");
    // The value boxes in two lines, label before box: γ and Fc, then E and G.
    addLabel("TEXT41", "単位容積重量(kN/m3)", 40, 146, 170, 20).enabled = false;
    addEdit("EDIT100", "", 212, 142, 96, 26).enabled = false;
    addLabel("TEXT42", "設計基準強度(N/mm2)", 350, 146, 200, 20).enabled = false;
    addEdit("EDIT101", "", 560, 142, 96, 26).enabled = false;
    addLabel("TEXT43", "ヤング係数(N/mm2)", 40, 184, 170, 20).enabled = false;
    addEdit("EDIT102", "", 212, 180, 96, 26).enabled = false;
    addLabel("TEXT64", "せん断弾性係数(N/mm2)", 350, 184, 200, 20).enabled = false;
    addEdit("EDIT149", "", 560, 180, 96, 26).enabled = false;

    addGroup("GROUP15", "せん断変形の扱い　(形状係数：κ)", 10, 240, 710, 96);
    addRadio("RADIO29", "変形を無視", 24, 264, 250, 22, "shear");
    addRadio("RADIO69", "係数を数値入力", 300, 264, 250, 22, "shear");
    addRadio("RADIO27", "形鋼・組立材(κ=1.0)", 24, 298, 250, 22, "shear");
    addRadio("RADIO28", "矩形断面(κ=1.2)", 300, 298, 250, 22, "shear");

    addButton("BUTTON37", "荷重入力", 20, 356, 110, 32).enabled = false;
    addButton("BUTTON39", "キャンセル", 140, 356, 110, 32);
    addButton("BUTTON61", "ヘルプ", 600, 356, 110, 32);

    numberBoxes();
    onClick("RADIO1", [this] { RADIO1_ON(); });
    onClick("RADIO2", [this] { RADIO2_ON(); });
    onClick("RADIO3", [this] { RADIO3_ON(); });
    onClick("RADIO4", [this] { RADIO4_ON(); });
    onClick("RADIO29", [this] { SHEAR0_ON(); });
    onClick("RADIO27", [this] { SHEAR1_ON(); });
    onClick("RADIO28", [this] { SHEAR2_ON(); });
    onClick("RADIO69", [this] { RADIO69_ON(); });
    onChange("EDIT100", [this] { EDIT100_CHANGE(); });
    onChange("EDIT101", [this] { EDIT101_CHANGE(); });
    onChange("EDIT102", [this] { EDIT102_CHANGE(); });
    onChange("EDIT149", [this] { EDIT149_CHANGE(); });
    onClick("BUTTON37", [this] { BUTTON37_ON(); });
    onClick("BUTTON39", [this] { BUTTON39_ON(); });
    onClick("BUTTON61", [this] { ANCONHP_ON(); });
}

void Form9::FORM9_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void Form9::FORM9_START() {
    FORM9_INITXP();
    CENTER_ON(*this, p_.io.desktop);
    MaterialOption = 0;
    ConditionProgress = 0;
    if (p_.model.UnitFactor == 1.0f) {
        c("TEXT41").caption = "単位容積重量(t/m3)";
        c("TEXT42").caption = "設計基準強度(kg/cm2)";
        c("TEXT43").caption = "ヤング係数(t/cm2)";
        c("TEXT64").caption = "せん断弾性係数(t/cm2)";
    }
    p_.model.ShearShapeFactor = 0;
}

void Form9::enableFormulaBoxes(bool enabled) {
    for (const char* name : {"TEXT41", "TEXT42", "EDIT100", "EDIT101"})
        c(name).enabled = enabled;
}

void Form9::enableDirectBoxes(bool enabled) {
    for (const char* name : {"TEXT43", "TEXT64", "EDIT102", "EDIT149"})
        c(name).enabled = enabled;
}

void Form9::chooseStandard(int16_t option) {
    if (MaterialOption == 3) enableFormulaBoxes(false);
    if (MaterialOption == 4) enableDirectBoxes(false);
    MaterialOption = option;
    if (ConditionProgress == 1) c("BUTTON37").enabled = true;
}

void Form9::RADIO1_ON() {
    chooseStandard(1);
}
void Form9::RADIO2_ON() {
    chooseStandard(2);
}

void Form9::RADIO3_ON() {
    if (MaterialOption == 4) enableDirectBoxes(false);
    MaterialOption = 3;
    enableFormulaBoxes(true);
}

void Form9::RADIO4_ON() {
    if (MaterialOption == 3) enableFormulaBoxes(false);
    MaterialOption = 4;
    enableDirectBoxes(true);
}

void Form9::shearChosen(float kappa, const char* radio) {
    p_.model.ShearShapeFactor = kappa;
    if (MaterialOption > 0 && (MaterialOption < 3 || ConditionProgress > 1))
        c("BUTTON37").enabled = true;
    ConditionProgress = 1;
    shearRadio_ = radio;
}

void Form9::SHEAR0_ON() {
    shearChosen(0.0f, "RADIO29");
}
void Form9::SHEAR1_ON() {
    shearChosen(1.0f, "RADIO27");
}
void Form9::SHEAR2_ON() {
    shearChosen(1.2f, "RADIO28");
}

void Form9::RADIO69_ON() {
    for (;;) {
        const auto answer =
            p_.io.dialogs.input("せん断に対する形状係数を入力してください", "rahmen", "");
        if (!answer) {
            for (const char* name : {"RADIO29", "RADIO69", "RADIO27", "RADIO28"})
                c(name).checked = name == shearRadio_;
            return;
        }
        if (!checkValue(p_.io.dialogs, "せん断に対する形状係数", boxNumber(*answer), kAnyValue))
            continue;
        const float kappa = boxSingle(*answer);
        if (kappa != 0.0f) {
            shearChosen(kappa, "RADIO69");
            return;
        }
    }
}

// Each change of a value box counts; the second change after a shear choice
// (the third without one) makes "荷重入力" available. The counter stops at 3,
// beyond which every value acts alike.
void Form9::valueChanged() {
    if (ConditionProgress == 2) c("BUTTON37").enabled = true;
    if (ConditionProgress < 3) ++ConditionProgress;
}

void Form9::EDIT100_CHANGE() {
    valueChanged();
}
void Form9::EDIT101_CHANGE() {
    valueChanged();
}
void Form9::EDIT102_CHANGE() {
    valueChanged();
}
void Form9::EDIT149_CHANGE() {
    valueChanged();
}

void Form9::BUTTON37_ON() {
    Model& m = p_.model;
    const bool older = m.UnitFactor == 1.0f;
    switch (MaterialOption) {
    case 1:
        setSteelConstants(m);
        break;
    case 2:
        setConcreteConstants(m);
        break;
    case 3: {
        const double gamma = boxNumber(c("EDIT100").caption);
        const double fc = boxNumber(c("EDIT101").caption);
        const double e =
            older ? 210.0 * std::pow(gamma / kUnitWeight23, 1.5) * std::sqrt(fc / 200.0)
                  : 1e4 * kSi335 * std::pow(gamma / 24.0, 2.0) * std::pow(fc / 60.0, kOneThird);
        // A negative strength or weight has no root; nothing is stored then.
        if (!fitsSingle(e)) {
            p_.say("この単位容積重量と設計基準強度からはヤング係数を計算できません。修正してくださ"
                   "い。");
            setFocus("EDIT100");
            return;
        }
        m.YoungModulus = static_cast<float>(e);
        m.ShearModulus = m.YoungModulus / kEtoG;
        break;
    }
    case 4:
        if (!checkNumberBoxes(
                p_, *this,
                {{"EDIT102", "ヤング係数", kAnyValue}, {"EDIT149", "せん断弾性係数", kAnyValue}}))
            return;
        m.YoungModulus = boxSingle(c("EDIT102").caption);
        m.ShearModulus = boxSingle(c("EDIT149").caption);
        break;
    default:
        break; // nothing chosen: the constants stay as they were
    }
    close();
    if (next_) {
        const auto next = std::move(next_);
        next_ = nullptr;
        next();
        return;
    }
    // The load form puts the focus into its first box itself.
    p_.openForm("FORM10");
}

void Form9::conditionsFor(std::function<void()> next) {
    next_ = std::move(next);
    c("BUTTON37").caption = "解析開始";
}

void Form9::BUTTON39_ON() {
    close();
}

void Form9::ANCONHP_ON() {
    p_.help("表入力解析");
}

} // namespace rahmen
