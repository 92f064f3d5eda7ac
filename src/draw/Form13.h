#pragma once
// The plotting window FORM13 ("データ作図"): every result picture is drawn
// here, and here loads are picked with the mouse and the frame analysed again.
// It runs in one of three modes, Program::PlotWindowMode:
//   0 data plotting: frame, deformation or stress diagram, chosen and executed;
//   1 mouse analysis ("マウス骨組解析"): material, picked nodes or members,
//     typed loads, "荷重負荷", "負荷完了", "解析開始";
//   2 the results of a mouse analysis: as 0, with "再解析" back to mode 1.
//
// The frame and deformation diagrams are the drawings of draw1 and the stress
// diagrams those of draw2; this window chooses them, owns their view state and
// passes them its events. Its own picture is the picking picture (FRANA_ON,
// redrawn on a scroll by SCROLL_CHANGE2), on which a click picks the nearest
// node within 10 pixels of where it is drawn on screen — in the normal and in
// the enlarged view alike.
//
// The button "図保存" saves the picture on screen as PNG or SVG, by the
// extension of the name chosen; "印刷用保存" saves the PNG kPrintScale times
// finer for print (an SVG is the same either way).

#include "analysis/mo_analy.h"
#include "checks/SteelChecks.h"
#include "checks/StoreyCheck.h"
#include "draw/CaseChoice.h"
#include "draw/PlotState.h"
#include "draw/draw2.h"
#include "platform/Form.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rahmen {

class Program;

class Form13 : public Form {
public:
    explicit Form13(Program& program);

    // The close box presses "終了" whenever that button could be pressed.
    std::string closeControl() const override { return "BUTTON67"; }

    // ---- window state (program-wide in the design; kept by the window, which
    // the main menu opens afresh in the mode it sets)
    int16_t DiagramKind = 0; // 0 none, 1 stress, 2 deformation, 3 frame
    int16_t StressStep = 0;  // 0 nothing, 1 frame drawn for picking, 2 stress diagram shown
    int16_t SingleMemberSelect = 0;
    int16_t SameLevelSelect = 0;
    int16_t UniformLoadMode = 0;
    int16_t ShearDeformation = 0; // mode 1: -1 shear deformation is taken into account
    int16_t RequestFlag = 0;      // picking picture: 1 enlarged view, 2 leave
    std::vector<int16_t> PickedNodes;
    int LoadMember = 0;         // the member receiving a uniform load (0 none)
    StressSelection stress;     // MemberSelected, PickedPlaneAxis, the two hide flags
    PlotState plot;             // view and running drawing of draw1
    bool analysisArmed = false; // mode 1: "解析開始" shown
    StructureType structureType = StructureType::None; // mode 1
    bool shearGiven = false;                           // mode 1: a shape factor was chosen
    // A frame analysed under load cases, in data plotting: the entries of the
    // drop-down COMBO13 and the one shown (-1 none). Without case results the
    // window has no COMBO13.
    std::vector<CaseChoiceEntry> caseEntries;
    int shownCase = -1;
    // The storey checks of those results (seismic cases): with rows, the
    // window offers their pictures (draw/StoreyControls.cpp).
    StoreyCheckResult storeys;
    enum class StoreyView { None, Drifts, Plan } storeyShown = StoreyView::None;

    void FORM13_START();
    void FORM13_END();
    void FORM13_MOUSEDOWN(MouseButton button, int x, int y);
    void KEY_ON(int key);
    void SCROLL_ON();
    void DE_ON();       // RADIO55: deformation diagram / steel
    void FR_ON();       // RADIO56: frame diagram / concrete
    void RADIO67_ON();  // typed moduli
    void RADIO60_ON();  // stress diagram
    void RADIO57_ON();  // node numbers / shape factor typed
    void YZ_ON();       // RADIO58: member numbers / κ = 1.0
    void XY_ON();       // RADIO59: type numbers / κ = 1.2
    void CHVAL0_ON();   // CHECK14
    void CHDR_ON();     // CHECK15
    void CHECK16_ON();  // CHECK16
    void CHECK17_ON();  // CHECK17
    void SET_CTA();     // BUTTON86
    void ENTER13_ON();  // BUTTON69
    void BUTTON79_ON(); // angle / enlarge / end of a diagram
    void BUTTON67_ON(); // "終了"
    void DRAWHP_ON();   // "ヘルプ"
    // "図保存" (scale 1) and "印刷用保存" (kPrintScale).
    static constexpr int kPrintScale = 3;
    void SAVE_ON(int scale = 1);
    void REPORT_ON(); // BUTTON110 "計算書": the calculation report form FORM20
    void CASE_ON();   // COMBO13: the load case, combination or envelope shown
    // The line under a saved picture: data name, kind, the load case or
    // combination shown (with case results), units, date and time.
    std::string savedCaption() const;

    // The storey pictures of a frame analysed under seismic cases.
    void BUTTON136_ON(); // "層間変形角図": the drift angles of every storey
    void BUTTON137_ON(); // "層平面図": the plan of the storey chosen in COMBO136
    void COMBO136_ON();  // "層": a storey chosen, its plan shown
    // CHECK130 "検定比図" (with combination results): the frame diagram drawn
    // as the 検定比図 of the combination shown, or of all combinations.
    void CHECK130_ON();
    // CHECK131 "荷重表示" (the data plotting): the frame and deformation
    // diagrams drawn with their load arrows and values, or without.
    void CHECK131_ON();
    void addLoadDisplay();

    // The mode-1 procedures of the interactive analysis.
    void SET_LOAD();
    void RESTART_ON();  // mode 1 -> 2
    void RESTART2_ON(); // mode 2 -> 1
    // The picking picture: a new normal fit (or the enlarged one when
    // RequestFlag is 1), the frame with its marks and picks.
    void FRANA_ON();
    // The picking picture turned by the scroll bars, with the stored fit.
    void SCROLL_CHANGE2();
    // The member-axis cross of member m in the picking picture.
    void EL_CO(int m);

    // The node nearest to a picture position, within 10 pixels of where it is
    // drawn now; 0 when none.
    int nearestNode(int x, int y) const;
    // While a drawing waits for the key press before its labels.
    bool waitsForKey() const override;

protected:
    void start() override { FORM13_START(); }
    void end() override { FORM13_END(); }
    // The mouse analysis asks for a report's loads once its window is on
    // the screen, so that the question comes over the window it is about.
    void shown() override;

private:
    void connectHandlers();
    int mode() const;
    bool picking() const;
    void drawPickPicture(bool enlarged, bool fresh);
    void printPicks();
    void leftPick(int node);
    void rightPick(int node);
    void pickForStress();
    void clearPicks();
    void showLoadFields(bool visible);
    void enableLoadFields(bool enabled, bool onlyUniform = false);
    void emptyLoadFields();
    void materialChosen();
    void numbersOrShapeFactor(int16_t labelKind, float kappa);
    bool askPositive(const std::string& prompt, float& value);
    void enableDiagramRadios();
    // The execute button's work: in mode 1 the analysis armed, then run; in
    // modes 0 and 2 the diagram chosen.
    void armAnalysis();
    void analyseLoads();
    void executeDiagram();
    void startStressPicking();
    void showStressDiagram();
    void endFraLoop();
    std::string pickStatus() const;
    void startCaseChoice();
    bool envelopeShown() const;
    void drawForCase();
    // The storey controls below the case choice, when the check has rows.
    void addStoreyControls();
    // The storey pictures can be chosen while no diagram of the window runs;
    // a diagram started takes the picture area back from them.
    void followStoreyControls();

    void drawCheckFrame(const ViewState& view, Canvas& canvas);

    Program& p_;
    bool materialSet_ = false;
    std::vector<MemberCheck> checkRows_; // the 検定比図's checks of every combination
    // The picks of the stress diagram on screen, to draw it again for another case.
    StressSelection shownStress_;
};

// Registers FORM13 with the program's form registry.
void registerPlotForms(Program& program);

} // namespace rahmen
