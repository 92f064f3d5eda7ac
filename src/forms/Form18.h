#pragma once
// The check conditions form FORM18 ("検定条件"), opened from the load-case
// form's "検定条件": the conditions of the steel member checks that the
// analysis of all cases makes over the combinations.
//
// Per member type its steel grade (a drop-down of the grades the checks
// know, SN400B until one is chosen); a type without a section of the steel
// tables is listed as 検定外 with the reason. Per member the distance lb
// between the braces of the compression flange (cm, 0 the member length) and
// the buckling length factors kx and ky (1 until given), set for the member
// chosen or at once for a group: every member, the columns (vertical
// members), the beams (horizontal members) or the members of one type; a box
// left empty leaves that value as it is.
//
// The conditions are read from DataName.ckc when the form opens and saved
// there with "保存"; "終了" with changes not saved asks first.

#include "checks/CheckConditions.h"
#include "platform/Form.h"

#include <string>
#include <vector>

namespace rahmen {

class Program;

// Registers FORM18 with the program's form registry.
void registerCheckConditionsForm(Program& program);

class Form18 : public Form {
public:
    explicit Form18(Program& program);

    void FORM18_START();
    void LIST181_CHANGE(); // a type chosen: its grade into the drop-down
    void BUTTON181_ON();   // "変更": the chosen type's grade
    void BUTTON182_ON();   // "全タイプに": every checked type's grade
    void LIST182_CHANGE(); // a member chosen: its values into the boxes
    void BUTTON183_ON();   // "設定": lb, kx, ky of the members of the group
    void BUTTON184_ON();   // "既定に戻す": the group's members back to the defaults
    void BUTTON185_ON();   // "保存" DataName.ckc
    void BUTTON186_ON();   // "終了"
    void BUTTON187_ON();   // "ヘルプ"

    std::string closeControl() const override { return "BUTTON186"; }

    const CheckConditions& conditions() const { return conditions_; }

protected:
    void start() override { FORM18_START(); }
    void shown() override;

private:
    void showTypes();
    void showMembers();
    // The members of the group chosen in COMBO182 (none after a message).
    std::vector<int> groupMembers();
    bool save();

    Program& p_;
    CheckConditions conditions_;
    std::string readProblem_;
    bool changed_ = false;
};

} // namespace rahmen
