#pragma once
// The analysis conditions form FORM9: Young's modulus E and the shear modulus
// G of the whole frame (steel or concrete standard values, from the
// concrete's unit weight and design strength, or typed directly) and the
// shear shape factor κ. "荷重入力" stores E and G and opens the load form.
//
// "荷重入力" becomes available by a counter (ConditionProgress): a shear
// choice made after a material option of 1 or 2 enables it at once, with
// options 3 and 4 two changes of the value boxes after the shear choice do.
//
// The κ input box of "係数を数値入力" asks again until it gets a non-zero
// number; its "キャンセル" leaves the shear treatment as it was before the
// click (the previous radio button checked again, κ unchanged).

#include "platform/Form.h"

#include <cstdint>
#include <functional>
#include <string>

namespace rahmen {

class Program;

class Form9 : public Form {
public:
    explicit Form9(Program& program);

    int16_t MaterialOption = 0;    // 0 none, 1 steel, 2 concrete, 3 from γ and Fc, 4 direct
    int16_t ConditionProgress = 0; // decides when "荷重入力" becomes available

    // Makes the open form set the conditions of the analysis of all load
    // cases (FORM17): "荷重入力" becomes "解析開始" and, once E and G are
    // stored, calls `next` instead of opening the load form.
    void conditionsFor(std::function<void()> next);

    void FORM9_START();
    void FORM9_INITXP();
    void RADIO1_ON();  // steel standard
    void RADIO2_ON();  // concrete standard
    void RADIO3_ON();  // from unit weight and design strength
    void RADIO4_ON();  // direct input
    void SHEAR0_ON();  // κ := 0 (RADIO29)
    void SHEAR1_ON();  // κ := 1.0 (RADIO27)
    void SHEAR2_ON();  // κ := 1.2 (RADIO28)
    void RADIO69_ON(); // κ typed by the user
    void EDIT100_CHANGE();
    void EDIT101_CHANGE();
    void EDIT102_CHANGE();
    void EDIT149_CHANGE();
    void BUTTON37_ON(); // "荷重入力": store E and G, open FORM10
    void BUTTON39_ON(); // "キャンセル"
    void ANCONHP_ON();  // "ヘルプ"

protected:
    void start() override { FORM9_START(); }

private:
    void chooseStandard(int16_t option);
    void enableFormulaBoxes(bool enabled);
    void enableDirectBoxes(bool enabled);
    void shearChosen(float kappa, const char* radio);
    void valueChanged();

    Program& p_;
    std::string shearRadio_;     // the shear radio button last chosen ("" none)
    std::function<void()> next_; // set for the analysis of the load cases
};

} // namespace rahmen
