#pragma once
// The load-case form FORM17 ("荷重ケース入力"), opened from the main menu's
// "荷重ケース": the frame's load cases (label, kind G/P/S/W/K, direction X or
// Y for W and K) with their nodal and uniform member loads, and the
// combinations (label, 長期/短期, an expression of factors on case labels).
//
// A case's loads are entered with the load form FORM10 (its rows, units and
// checks), or taken from an analysis data file through the plotting window's
// load reader. "令第82条の組合せ" replaces the combinations by the building
// code's for the cases present (with "多雪区域" the heavy-snow ones). The set
// is saved as DataName.lcd ("保存") and read back with "呼出"; opened with no
// cases while DataName.lcd exists, the form reads it at once.
//
// "全ケース解析" asks for the analysis conditions through FORM9, then analyses
// every case and combination at once, writes DataName_LABEL.adt for each and
// DataName_ENV.csv, and keeps their results (Program::caseResults) for the
// plotting window; with combinations also the steel member checks,
// DataName_CHK.csv and DataName.chk (forms/CaseChecks.h), whose conditions
// "検定条件" sets (FORM18). A frame without load cases never meets any of this.

#include "model/LoadCases.h"
#include "platform/Form.h"

#include <optional>
#include <string>

namespace rahmen {

class Program;

// Registers FORM17 with the program's form registry.
void registerLoadCaseForm(Program& program);

// The data name for the reports of all cases: asks for one while there is
// none, and asks once (as for a single report) when any of NAME_LABEL.adt,
// NAME_ENV.csv or, with seismic cases, the storey files NAME_STY.csv and
// NAME.sty exists, "はい" asking for another name. Nothing when cancelled
// or when the name cannot make the files' names (after a message).
std::optional<std::string> caseReportName(Program& program);

// Analyses every case of Program::loadCases as the table-input analysis
// does (the menu moved on, put back when the frame is refused), writing the
// reports under `name` (none when `name` is empty) and, with seismic cases,
// the storey files (forms/StoreyFiles.h). True when analysed.
bool analyseAllCases(Program& program, const std::string& name);

// Writes Program::loadCases to DataName.lcd (beside the frame file),
// atomically, after the program's notice about an existing file. False after
// a message when it failed; the file there stays as it was.
bool writeLoadCases(Program& program);

class Form17 : public Form {
public:
    explicit Form17(Program& program);

    void FORM17_START();
    void FORM17_INITXP();
    void LIST171_CHANGE();  // a case chosen: its values into the boxes
    void COMBO171_CHANGE(); // the kind: direction for W and K only
    void BUTTON171_ON();    // "追加" a case
    void BUTTON172_ON();    // "変更" the chosen case
    void BUTTON173_ON();    // "削除" the chosen case
    void BUTTON174_ON();    // "荷重入力": the chosen case's loads in FORM10
    void BUTTON175_ON();    // "解析ﾃﾞｰﾀから": its loads from a .adt file
    void LIST172_CHANGE();  // a combination chosen
    void BUTTON176_ON();    // "追加" a combination
    void BUTTON177_ON();    // "変更" the chosen combination
    void BUTTON178_ON();    // "削除" the chosen combination
    void BUTTON179_ON();    // "令第82条の組合せ"
    void BUTTON180_ON();    // "保存" DataName.lcd
    void BUTTON181_ON();    // "呼出" a .lcd file
    void BUTTON182_ON();    // "全ケース解析"
    void BUTTON183_ON();    // "終了"
    void BUTTON184_ON();    // "ヘルプ"
    // BUTTON185 "検定条件" opens the check conditions form FORM18.

    std::string closeControl() const override { return "BUTTON183"; }

protected:
    void start() override { FORM17_START(); }
    void shown() override;

private:
    // The case described by the boxes; false after a message. `except` is
    // the index of the case being changed (its own label may stay).
    bool caseFromBoxes(LoadCase& c, int except);
    bool combinationFromBoxes(Combination& k, int except);
    bool labelFree(const std::string& label, int exceptCase, int exceptCombination);
    int chosenCase();
    int chosenCombination();
    void showLists();
    // Reads a load-case file in place of the set; false after a message
    // (the set unchanged).
    bool readCaseFile(const std::string& path);

    Program& p_;
};

} // namespace rahmen
