#include "draw/Form13.h"

#include "analysis/AnalysisFileHandlers.h"
#include "analysis/mo_analy.h"
#include "draw/CheckPicture.h"
#include "draw/Picking.h"
#include "draw/PictureLayout.h"
#include "draw/Projection.h"
#include "draw/draw1.h"
#include "forms/CaseChecks.h"
#include "forms/InputForms.h"
#include "forms/LoadForms.h"
#include "model/Program.h"
#include "platform/FormServices.h"
#include "platform/Svg.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

namespace rahmen {

namespace {

const char* const kChooseStatus = "図種を選択して実行ボタンを押してください。";
const char* const kMode1Prompt = "①荷重点をｸﾘｯｸ(選択→左,取消→右、画面ｽｸﾛｰﾙ,複数点選択可)→"
                                 "荷重入力→荷重負荷ﾎﾞﾀﾝ→再度① or 負荷完了ﾎﾞﾀﾝ";
const char* const kSinglePrompt =
    "応力を表示する部材の始点と終点をクリックしてください。( ○→荷重点　スクロール可 )";
const char* const kPlanePrompt =
    "応力を表示する構面上の３点をクリックしてください。( ○→荷重点　スクロール可 )";
const char* const kShowStressStatus = "応力表示ボタンを押してください。";
const char* const kNoMember = "部材がありません、選択をやり直してください。";

const char* const kScrollBars[] = {"HSCROLL1", "VSCROLL1", "VSCROLL2"};
const char* const kLoadLabels[] = {"TEXT104", "TEXT105", "TEXT106",
                                   "TEXT107", "TEXT108", "TEXT109"};
const char* const kLoadBoxes[] = {"EDIT192", "EDIT193", "EDIT194", "EDIT195", "EDIT196", "EDIT197"};

} // namespace

Form13::Form13(Program& program) : Form("FORM13", "データ作図", 910, 600), p_(program) {
    setHelpKeyword("データ作図");
    // The picture first, so that the scroll bars lie over it as on the
    // original window, where the drawing filled the client area.
    addPicture("PICTURE1", 0, 0, 680, 600);
    auto scrollBar = [](Control& bar) {
        bar.scrollMin = -3141;
        bar.scrollMax = 3141;
        bar.smallStep = 87;
        bar.largeStep = 87;
        bar.enabled = false;
    };
    scrollBar(addHScroll("HSCROLL1", 80, 520, 490, 20));
    scrollBar(addVScroll("VSCROLL1", 0, 40, 20, 450));
    scrollBar(addVScroll("VSCROLL2", 640, 50, 20, 440));
    // The status line runs on under the buttons to the window's right edge:
    // the longest prompt ("①荷重点をｸﾘｯｸ…") reads whole at the start-up font.
    addLabel("TEXT54", kChooseStatus, 10, 550, 890, 20);
    addLabel("TEXT63", "ZΦ", 575, 520, 36, 20);
    addLabel("TEXT64", "ＹΦ", 640, 28, 36, 20);
    addLabel("TEXT65", "XΦ", 0, 18, 36, 20);

    constexpr int kX = 690;
    constexpr int kW = 210;
    addRadio("RADIO55", "変形図", kX, 8, kW, 22, "kind");
    addRadio("RADIO56", "骨組図", kX, 32, kW, 22, "kind");
    addRadio("RADIO67", "E/S　入力", kX, 56, kW, 22, "kind").visible = false;
    addRadio("RADIO60", "応力図", kX, 56, kW, 22, "kind");
    addGroup("GROUP13", "応力図設定", kX - 4, 82, kW + 8, 104).enabled = false;
    addCheck("CHECK14", "応力値非表示", kX + 6, 102, kW - 10, 22).enabled = false;
    addCheck("CHECK15", "応力図非表示", kX + 6, 128, kW - 10, 22).enabled = false;
    addCheck("CHECK16", "単部材選択", kX + 6, 154, kW - 10, 22).enabled = false;
    addCheck("CHECK17", "部材座標系表示", kX, 192, kW, 22).enabled = false;
    addGroup("GROUP14", "番号表示選択", kX - 4, 218, kW + 8, 104);
    // Below the frame's title at the start-up font.
    addRadio("RADIO57", "節点番号表示", kX + 6, 242, kW - 10, 22, "label").enabled = false;
    addRadio("RADIO58", "部材番号表示", kX + 6, 268, kW - 10, 22, "label").enabled = false;
    addRadio("RADIO59", "ﾀｲﾌﾟ番号表示", kX + 6, 294, kW - 10, 22, "label").enabled = false;
    const char* const loadCaptions[] = {"Ｘ方向",   "Ｙ方向",   "Ｚ方向",
                                        "Ｘ軸回り", "Ｙ軸回り", "Ｚ軸回り"};
    // Labels wide enough for "Ｘ軸回り" at the start-up font.
    for (int i = 0; i < 6; ++i) {
        const int x = i < 3 ? kX : kX + 108;
        const int y = 330 + (i % 3) * 26;
        addLabel(kLoadLabels[i], loadCaptions[i], x, y + 3, 66, 20);
        addEdit(kLoadBoxes[i], "", x + 66, y, 40, 24);
    }
    // The picture saved three times finer for print, above "図保存" where the
    // load boxes stand only in the mouse analysis.
    addButton("BUTTON99", "印刷用保存", kX + 108, 376, 102, 28);
    // Hidden once all are declared: adding a control may move the others.
    showLoadFields(false);
    enableLoadFields(false);
    addLabel("TEXT110", "単位：kN,m,rad", kX, 410, kW, 20);
    addButton("BUTTON86", "再解析", kX, 434, 102, 28).visible = false;
    addButton("BUTTON98", "図保存", kX + 108, 434, 102, 28);
    // The calculation report, beside "図保存" where "再解析" stands only in mode 2.
    addButton("BUTTON110", "計算書", kX, 434, 102, 28).visible =
        p_.PlotWindowMode == 0 && p_.model.AnalysisDone != 0;
    addButton("BUTTON69", "実行", kX, 468, 102, 28).enabled = false;
    addButton("BUTTON79", "", kX + 108, 468, 102, 28).enabled = false;
    addButton("BUTTON67", "終了", kX, 502, 102, 28);
    addButton("BUTTON72", "ヘルプ", kX + 108, 502, 102, 28);
    // Below the status line, beside the picture, where no other control lies.
    if (p_.PlotWindowMode == 0) caseEntries = caseChoiceEntries(p_);
    if (!caseEntries.empty()) addCombo("COMBO13", kX, 574, kW, 24);
    // The 検定比図 of the combinations, below the case choice (the window
    // grows to hold it).
    if (!caseEntries.empty() && hasCombinationResults(p_)) {
        resize(width(), std::max(height(), 636));
        addCheck("CHECK130", "検定比図", kX, 604, kW, 24);
        onClick("CHECK130", [this] { CHECK130_ON(); });
    }
    if (!caseEntries.empty()) addStoreyControls();
    addLoadDisplay();

    connectHandlers();
}

// Every control, the mouse and the keys to their handlers.
void Form13::connectHandlers() {
    onClick("RADIO55", [this] { DE_ON(); });
    onClick("RADIO56", [this] { FR_ON(); });
    onClick("RADIO67", [this] { RADIO67_ON(); });
    onClick("RADIO60", [this] { RADIO60_ON(); });
    onClick("RADIO57", [this] { RADIO57_ON(); });
    onClick("RADIO58", [this] { YZ_ON(); });
    onClick("RADIO59", [this] { XY_ON(); });
    onClick("CHECK14", [this] { CHVAL0_ON(); });
    onClick("CHECK15", [this] { CHDR_ON(); });
    onClick("CHECK16", [this] { CHECK16_ON(); });
    onClick("CHECK17", [this] { CHECK17_ON(); });
    onClick("BUTTON86", [this] { SET_CTA(); });
    onClick("BUTTON69", [this] { ENTER13_ON(); });
    onClick("BUTTON79", [this] { BUTTON79_ON(); });
    onClick("BUTTON67", [this] { BUTTON67_ON(); });
    onClick("BUTTON72", [this] { DRAWHP_ON(); });
    onClick("BUTTON98", [this] { SAVE_ON(); });
    onClick("BUTTON99", [this] { SAVE_ON(kPrintScale); });
    onClick("BUTTON110", [this] { REPORT_ON(); });
    if (has("COMBO13")) onChange("COMBO13", [this] { CASE_ON(); });
    for (const char* bar : kScrollBars)
        onScroll(bar, [this] { SCROLL_ON(); });
    onMouseDown([this](MouseButton button, int x, int y) { FORM13_MOUSEDOWN(button, x, y); });
    onKey([this](int key) { KEY_ON(key); });
}

int Form13::mode() const {
    return p_.PlotWindowMode;
}

// ---------------------------------------------------------------------------
// Start and end

void Form13::FORM13_START() {
    applyFontOffset(*this, p_.FontOffset);
    CENTER_ON(*this, p_.io.desktop);
    Model& md = p_.model;
    for (const char* bar : kScrollBars)
        c(bar).enabled = false;
    if (md.UnitFactor == 1.0f) c("TEXT110").caption = "単位：t,m,rad";
    stress.MemberSelected.fill(0);

    if (mode() != 1) {
        c("TEXT54").caption = kChooseStatus;
        c("GROUP14").caption = "番号表示選択";
        c("RADIO57").caption = "節点番号表示";
        c("RADIO58").caption = "部材番号表示";
        c("RADIO59").caption = "ﾀｲﾌﾟ番号表示";
        c("CHECK17").caption = "部材座標系表示";
        c("CHECK17").checked = false;
        c("CHECK17").enabled = false;
        if (p_.SkipAnalysisFile != 0) {
            c("RADIO55").checked = true;
            DiagramKind = 2;
            c("BUTTON67").enabled = false;
            DEFORM_ON(p_, plot, *this);
        }
        if (md.AnalysisDone == 0) {
            c("TEXT110").enabled = false;
            c("RADIO55").enabled = false;
            c("RADIO56").checked = true;
            c("GROUP13").enabled = false;
            FR_ON();
            c("RADIO60").enabled = false;
        }
        if (has("COMBO13")) startCaseChoice();
        return;
    }

    // The mouse analysis.
    setCaption("マウス骨組解析");
    setHelpKeyword("マウス骨組解析");
    c("RADIO67").visible = true;
    showLoadFields(true);
    enableLoadFields(false);
    c("RADIO55").caption = "　Ｓ　造";
    c("RADIO56").caption = "　ＲＣ造";
    c("CHECK14").caption = "同ﾚﾍﾞﾙ全選択";
    c("CHECK15").caption = "等分布荷重";
    c("CHECK16").caption = "解析ﾌｧｲﾙ作成";
    c("CHECK17").caption = "せん断変形無視";
    c("GROUP14").caption = "せん断変形(形状係数)";
    c("GROUP14").enabled = false;
    c("RADIO57").caption = "数値入力";
    c("RADIO58").caption = "形　 鋼:κ=1.0";
    c("RADIO59").caption = "矩形断面:κ=1.2";
    c("BUTTON69").caption = "負荷完了";
    c("BUTTON79").caption = "拡大表示";
    p_.SkipAnalysisFile = -1;
    SameLevelSelect = UniformLoadMode = SingleMemberSelect = 0;
    clearPicks();
    md.ShearShapeFactor = 0;
    shearGiven = false;
    c("GROUP13").visible = false;
    c("RADIO60").visible = false;
    c("CHECK17").checked = true;
    c("CHECK17").enabled = true;
    c("TEXT54").caption = "構造方式と解析条件を選択してください。";
}

void Form13::shown() {
    if (mode() != 1) return;
    if (p_.say("既存の解析データから荷重を読込みますか？", MessageButtons::YesNo,
               MessageIcon::Question) == MessageResult::Yes)
        CALL_LOAD(p_);
}

void Form13::FORM13_END() {
    if (plot.DrawingActive == 1) {
        plot.view.DrawState = 2;
        plot.DrawingActive = 0;
    }
    p_.PlotWindowMode = 0;
    p_.SkipAnalysisFile = 0;
    plot.ShowMemberAxes = 0;
    ShearDeformation = 0;
    DiagramKind = 0;
    SingleMemberSelect = 0;
}

void Form13::BUTTON67_ON() {
    RequestFlag = 2;
    // The loads applied in this window stay in the model, beside the results
    // they belong to, as the table input's loads do.
    clearPicks();
    stress.HideStressValues = 0;
    stress.HideStressDiagram = 0;
    // Only an analysis moves the menu on (ENTER13_ON, the analysis itself):
    // a window closed without one leaves the menu as it found it, so that a
    // frame only looked at can still be analysed, modified or edited.
    close();
}

void Form13::DRAWHP_ON() {
    p_.help(mode() == 1 ? "マウス骨組解析" : "データ作図");
}

std::string Form13::savedCaption() const {
    const char* kinds[] = {"", "応力図", "変形図", "骨組図"};
    const std::string kind = DiagramKind >= 1 && DiagramKind <= 3 ? kinds[DiagramKind] : caption();
    const DateTime t = p_.io.clock.now();
    char when[32];
    std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d", t.year, t.month, t.day, t.hour,
                  t.minute);
    const std::string name = p_.model.DataName.empty() ? "（データ名なし）" : p_.model.DataName;
    // Of a frame analysed under load cases, the case, combination or envelope
    // shown, as the window's title names it.
    std::string shown;
    if (shownCase >= 0 && static_cast<std::size_t>(shownCase) < caseEntries.size())
        shown = caseEntries[static_cast<std::size_t>(shownCase)].title + "　";
    return name + "　" + kind + "　" + shown + c("TEXT110").caption + "　" + when;
}

void Form13::REPORT_ON() {
    if (p_.hasForm("FORM20")) p_.openForm("FORM20");
}

void Form13::SAVE_ON(int scale) {
    const std::string suggested =
        (p_.model.DataName.empty() ? "rahmen" : p_.model.DataName) + ".png";
    const auto chosen =
        p_.io.dialogs.saveFile(scale > 1 ? "印刷用保存" : "図保存", "図(*.png *.svg)", suggested);
    if (!chosen) return;
    std::string path = *chosen;
    const auto dot = path.find_last_of('.');
    std::string ext = dot == std::string::npos ? "" : path.substr(dot + 1);
    // A name without an extension is saved as PNG.
    for (char& ch : ext)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const auto slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) {
        path += ".png";
        ext = "png";
    }
    bool saved = false;
    const Canvas picture = savedPicture(*this->picture(), savedCaption());
    if (ext == "svg") {
        saved = p_.io.files.writeAtomic(path, canvasToSvg(picture)).ok;
    } else if (ext == "png") {
        saved = p_.io.desktop.writePng(picture, p_.io.files.path(path).string(), scale);
    } else {
        p_.say("図は拡張子 .png か .svg の名前で保存してください。");
        return;
    }
    if (!saved) p_.say("図を保存できませんでした。\r\n" + path);
}

// ---------------------------------------------------------------------------
// The diagram and material radio buttons

void Form13::DE_ON() {
    if (mode() == 1) {
        structureType = StructureType::Steel;
        chooseStructure(p_.model, structureType);
        materialChosen();
        return;
    }
    DiagramKind = 2;
    c("BUTTON69").enabled = true;
    c("GROUP13").enabled = false;
    for (const char* name : {"CHECK17", "RADIO57", "RADIO58", "RADIO59"}) {
        c(name).checked = false;
        c(name).enabled = false;
    }
    plot.NumberLabelKind = 0;
}

void Form13::FR_ON() {
    if (mode() == 1) {
        structureType = StructureType::Concrete;
        chooseStructure(p_.model, structureType);
        materialChosen();
        return;
    }
    DiagramKind = 3;
    plot.NumberLabelKind = 1;
    c("BUTTON69").enabled = true;
    c("GROUP13").enabled = false;
}

void Form13::RADIO60_ON() {
    DiagramKind = 1;
    c("BUTTON69").enabled = true;
    for (const char* name : {"GROUP13", "CHECK14", "CHECK15", "CHECK16"})
        c(name).enabled = true;
    for (const char* name : {"CHECK17", "RADIO57", "RADIO58", "RADIO59"}) {
        c(name).checked = false;
        c(name).enabled = false;
    }
    plot.NumberLabelKind = 0;
}

// Asks for a value until it is positive: a zero or negative modulus or shape
// factor would break the decomposition. False when the user cancelled.
bool Form13::askPositive(const std::string& prompt, float& value) {
    for (;;) {
        const auto answer = p_.io.dialogs.input(prompt, "rahmen", "");
        if (!answer) return false;
        const float v = boxSingle(*answer);
        if (v > 0.0f) {
            value = v;
            return true;
        }
    }
}

void Form13::RADIO67_ON() {
    Model& md = p_.model;
    const bool older = md.UnitFactor == 1.0f;
    float e = 0, g = 0;
    if (!askPositive(older ? "ヤング係数（t/cm2）を入力してください"
                           : "ヤング係数（N/mm2）を入力してください",
                     e) ||
        !askPositive(older ? "せん断弾性係数（t/cm2）を入力してください"
                           : "せん断弾性係数（N/mm2）を入力してください",
                     g)) {
        c("RADIO67").checked = false;
        return;
    }
    structureType = StructureType::TypedModuli;
    chooseStructure(md, structureType, e, g);
    materialChosen();
}

void Form13::materialChosen() {
    if (materialSet_) return;
    materialSet_ = true;
    for (const char* bar : kScrollBars)
        c(bar).enabled = true;
    showLoadFields(true);
    emptyLoadFields();
    c("GROUP14").enabled = true;
    for (const char* name : {"CHECK14", "CHECK15", "CHECK16"})
        c(name).enabled = true;
    c("BUTTON86").caption = "荷重負荷";
    c("BUTTON86").visible = true;
    c("BUTTON86").enabled = false;
    // Loads read from a report are loads like those applied here: the
    // analysis can start at once.
    c("BUTTON69").enabled = true;
    RequestFlag = 0;
    FRANA_ON();
}

void Form13::RADIO57_ON() {
    if (mode() != 1) {
        plot.NumberLabelKind = 1;
        return;
    }
    float kappa = 0;
    if (!askPositive("せん断に対する形状係数を入力してください", kappa)) {
        c("RADIO57").checked = false;
        return;
    }
    p_.model.ShearShapeFactor = kappa;
    shearGiven = true;
}

// RADIO58 and RADIO59 choose the number labels in modes 0 and 2 and a fixed
// shear shape factor in mode 1.
void Form13::numbersOrShapeFactor(int16_t labelKind, float kappa) {
    if (mode() != 1) {
        plot.NumberLabelKind = labelKind;
        return;
    }
    p_.model.ShearShapeFactor = kappa;
    shearGiven = true;
}

void Form13::YZ_ON() {
    numbersOrShapeFactor(2, 1.0f);
}

void Form13::XY_ON() {
    numbersOrShapeFactor(3, 1.2f);
}

// ---------------------------------------------------------------------------
// Check boxes

void Form13::CHVAL0_ON() {
    if (mode() == 1)
        SameLevelSelect = SameLevelSelect ? 0 : -1;
    else
        CHVAL_ON(stress);
}

void Form13::CHDR_ON() {
    if (mode() != 1) {
        stress.HideStressDiagram = stress.HideStressDiagram ? 0 : 1;
        return;
    }
    UniformLoadMode = UniformLoadMode ? 0 : -1;
    if (UniformLoadMode) {
        c("TEXT54").caption = "等分布荷重を付加する部材の両端の節点をクリックしてください。";
        c("CHECK14").checked = false;
        c("CHECK14").enabled = false;
        SameLevelSelect = 0;
    } else {
        c("CHECK14").enabled = true;
        c("TEXT54").caption = kMode1Prompt;
    }
}

void Form13::CHECK16_ON() {
    if (mode() == 1) {
        p_.SkipAnalysisFile = c("CHECK16").checked ? 0 : -1;
        return;
    }
    SingleMemberSelect = SingleMemberSelect ? 0 : 1;
    if (StressStep == 1) c("TEXT54").caption = pickStatus();
}

void Form13::CHECK17_ON() {
    if (mode() != 1) {
        plot.ShowMemberAxes = plot.ShowMemberAxes ? 0 : 1;
        SCROLL_ON();
        return;
    }
    const bool ignore = c("CHECK17").checked;
    ShearDeformation = ignore ? 0 : -1;
    for (const char* name : {"RADIO57", "RADIO58", "RADIO59"}) {
        c(name).checked = false;
        c(name).enabled = !ignore;
    }
    if (ignore) {
        p_.model.ShearShapeFactor = 0;
        shearGiven = false;
    }
}

// ---------------------------------------------------------------------------
// Execute, angle and load buttons

void Form13::enableDiagramRadios() {
    const bool results = p_.model.AnalysisDone != 0;
    c("RADIO55").enabled = results && !envelopeShown();
    c("RADIO60").enabled = results;
    c("RADIO56").enabled = true;
    followStoreyControls();
}

void Form13::ENTER13_ON() {
    if (mode() != 1) return executeDiagram();
    if (!analysisArmed) return armAnalysis();
    analyseLoads();
}

// Mode 1, first press: the loads are complete and "解析開始" waits.
void Form13::armAnalysis() {
    analysisArmed = true;
    c("BUTTON69").caption = "解析開始";
    c("BUTTON79").enabled = false;
    c("BUTTON86").enabled = false;
    enableLoadFields(false);
    if (!shearGiven && !c("CHECK17").checked) {
        c("CHECK17").checked = true;
        CHECK17_ON();
    }
    RequestFlag = 2;
    endFraLoop();
}

// Mode 1, second press: the analysis, then its deformation diagram here or
// its report file and the window closed.
void Form13::analyseLoads() {
    const bool toDiagram = p_.SkipAnalysisFile == -1;
    c("TEXT54").caption = toDiagram ? "データ解析中　→　変形図" : "データ解析中→データファイル作成";
    analysisArmed = false;
    SameLevelSelect = UniformLoadMode = SingleMemberSelect = 0;
    for (const char* name : {"CHECK14", "CHECK15", "CHECK16"})
        c(name).enabled = false;
    if (!analyseAppliedLoads(p_)) {
        // The message is shown; the loads stay and the analysis can be
        // started again or the window closed.
        analysisArmed = true;
        c("TEXT54").caption = "解析開始ボタンを押してください。";
        c("BUTTON67").enabled = true;
        return;
    }
    if (toDiagram)
        RESTART_ON();
    else
        close();
}

// Modes 0 and 2: the diagram chosen.
void Form13::executeDiagram() {
    for (const char* name : {"RADIO55", "RADIO56", "RADIO60"})
        c(name).enabled = false;
    for (const char* bar : kScrollBars)
        c(bar).enabled = true;
    switch (DiagramKind) {
    case 1:
        if (StressStep != 1)
            startStressPicking();
        else
            showStressDiagram();
        break;
    case 2:
        for (const char* name : {"BUTTON67", "BUTTON69", "BUTTON86"})
            c(name).enabled = false;
        DEFORM_ON(p_, plot, *this);
        break;
    case 3:
        for (const char* name : {"BUTTON67", "BUTTON69", "BUTTON86"})
            c(name).enabled = false;
        c("RADIO57").enabled = true;
        c("RADIO57").checked = true;
        plot.NumberLabelKind = 1;
        for (const char* name : {"RADIO58", "RADIO59", "CHECK17"})
            c(name).enabled = true;
        FRAME0_ON(p_, plot, *this);
        break;
    default:
        break;
    }
    followStoreyControls();
}

// Stress diagram, first press: the picking picture for the members to show.
void Form13::startStressPicking() {
    for (const char* name : {"TEXT63", "TEXT64", "TEXT65"})
        c(name).visible = true;
    for (const char* bar : kScrollBars)
        c(bar).visible = true;
    c("BUTTON69").caption = "応力表示";
    c("BUTTON69").enabled = false;
    c("BUTTON79").caption = "拡大表示";
    c("BUTTON79").enabled = StressStep == 2;
    StressStep = 1;
    c("BUTTON67").enabled = false;
    c("BUTTON86").enabled = false;
    clearPicks();
    RequestFlag = 0;
    FRANA_ON();
}

// Stress diagram, second press: the diagram of the members picked.
void Form13::showStressDiagram() {
    PickedNodes.clear();
    StressStep = 2;
    c("BUTTON69").caption = "他応力図";
    c("BUTTON79").caption = "応力図終了";
    c("BUTTON79").enabled = true;
    c("BUTTON86").enabled = false;
    shownStress_.MemberSelected = stress.MemberSelected;
    shownStress_.PickedPlaneAxis = stress.PickedPlaneAxis;
    if (envelopeShown()) {
        const LoadTerm term = caseEntries[static_cast<std::size_t>(shownCase)].term;
        if (SingleMemberSelect)
            envelopeMemberDiagram(p_, stress, *this, term);
        else
            envelopePlaneDiagram(p_, stress, *this, term);
    } else if (SingleMemberSelect) {
        SFRCE_ON(p_, stress, *this);
    } else {
        FORCE_ON(p_, stress, *this);
    }
    // Nothing drawn stays selected for the next picking picture.
    stress.MemberSelected.fill(0);
    stress.PickedPlaneAxis.clear();
}

void Form13::BUTTON79_ON() {
    if (mode() == 1 || (DiagramKind == 1 && StressStep == 1)) {
        RequestFlag = 1;
        c("BUTTON79").enabled = false;
        FRANA_ON();
        return;
    }
    if (DiagramKind == 1) {
        if (StressStep != 2) return;
        StressStep = 0;
        RequestFlag = 2;
        c("BUTTON79").caption = "";
        c("BUTTON69").caption = "実行";
        picture()->clear();
        if (mode() == 2) c("BUTTON86").enabled = true;
        for (const char* bar : kScrollBars) {
            c(bar).visible = true;
            c(bar).scrollPos = 0;
            c(bar).enabled = false;
        }
        for (const char* name : {"TEXT63", "TEXT64", "TEXT65"})
            c(name).visible = true;
        enableDiagramRadios();
        // The stress diagram disabled the end button; without it the window
        // could only be left through another diagram.
        c("BUTTON67").enabled = true;
        clearPicks();
        c("TEXT54").caption = kChooseStatus;
        return;
    }
    if (mode() == 2 && plot.AngleStep == 1) {
        c("BUTTON86").enabled = true;
        enableDiagramRadios();
    }
    const bool wasRunning = plot.DrawingActive == 1;
    LOOP_END1(p_, plot, *this);
    if (wasRunning && plot.DrawingActive == 0) enableDiagramRadios();
}

void Form13::SET_CTA() {
    if (mode() == 2) {
        RESTART2_ON();
        return;
    }
    // The boxes of the load being applied and the range each is stored in.
    static const std::vector<NumberBox> uniformBoxes = {
        {"EDIT193", "Ｙ方向の等分布荷重", kAnyValue}, {"EDIT194", "Ｚ方向の等分布荷重", kAnyValue}};
    static const std::vector<NumberBox> nodalBoxes = {
        {"EDIT192", "Ｘ方向の荷重", kAnyValue},
        {"EDIT193", "Ｙ方向の荷重", kAnyValue},
        {"EDIT194", "Ｚ方向の荷重", kAnyValue},
        {"EDIT195", "Ｘ軸回りのモーメント荷重", kMomentLoad},
        {"EDIT196", "Ｙ軸回りのモーメント荷重", kMomentLoad},
        {"EDIT197", "Ｚ軸回りのモーメント荷重", kMomentLoad}};
    const bool typed = checkNumberBoxes(p_, *this, UniformLoadMode ? uniformBoxes : nodalBoxes);
    if (!typed) return;
    SET_LOAD();
    enableLoadFields(false);
    emptyLoadFields();
    c("BUTTON86").enabled = false;
    // No pick is pending any more: the window can be left as after a pick
    // taken back.
    c("BUTTON67").enabled = true;
}

void Form13::SET_LOAD() {
    Model& md = p_.model;
    if (UniformLoadMode) {
        storeUniformLoad(md, LoadMember, boxSingle(c("EDIT193").caption),
                         boxSingle(c("EDIT194").caption));
        LoadMember = 0;
        PickedNodes.clear();
        c("TEXT54").caption = "荷重の付加を続けるか。付加完了ボタンを押して解析を開始します。";
    } else {
        TypedNodalLoad load;
        for (int k = 0; k < 6; ++k)
            load.value[k] = boxSingle(c(kLoadBoxes[k]).caption);
        storeNodalLoad(md, PickedNodes, load);
        PickedNodes.clear();
        c("CHECK15").enabled = true;
    }
    c("BUTTON69").enabled = true;
    SCROLL_CHANGE2();
}

void Form13::RESTART_ON() {
    c("CHECK14").caption = "応力値非表示";
    c("CHECK15").caption = "応力図非表示";
    c("CHECK16").caption = "単部材選択";
    c("CHECK17").caption = "部材座標系表示";
    for (const char* name : {"CHECK14", "CHECK15", "CHECK16", "CHECK17"}) {
        c(name).checked = false;
        c(name).enabled = false;
    }
    c("RADIO55").caption = "変形図";
    c("RADIO55").checked = true;
    c("RADIO55").enabled = false;
    c("RADIO56").caption = "骨組図";
    c("RADIO56").checked = false;
    c("RADIO56").enabled = false;
    c("RADIO57").caption = "節点番号表示";
    c("RADIO58").caption = "部材番号表示";
    c("RADIO59").caption = "ﾀｲﾌﾟ番号表示";
    for (const char* name : {"RADIO57", "RADIO58", "RADIO59"}) {
        c(name).checked = false;
        c(name).enabled = false;
    }
    c("GROUP14").caption = "番号表示選択";
    c("GROUP14").enabled = false;
    c("RADIO67").visible = false;
    c("RADIO67").checked = false;
    showLoadFields(false);
    for (const char* bar : kScrollBars)
        c(bar).enabled = true;
    c("RADIO60").visible = true;
    c("RADIO60").checked = false;
    c("RADIO60").enabled = false;
    c("GROUP13").visible = true;
    c("GROUP13").enabled = false;
    p_.model.ShearShapeFactor = 0;
    p_.PlotWindowMode = 2;
    DiagramKind = 2;
    SameLevelSelect = UniformLoadMode = SingleMemberSelect = 0;
    c("BUTTON69").caption = "実行";
    c("BUTTON69").enabled = false;
    c("BUTTON79").caption = "";
    setCaption("データ作図");
    setHelpKeyword("データ作図");
    c("BUTTON86").visible = true;
    c("BUTTON86").caption = "再解析";
    c("BUTTON86").enabled = false;
    clearPicks();
    DEFORM_ON(p_, plot, *this);
}

void Form13::RESTART2_ON() {
    if (plot.DrawingActive == 1) endDrawing(p_, plot, *this);
    plot.NumberLabelKind = 0;
    c("CHECK14").caption = "同ﾚﾍﾞﾙ全選択";
    c("CHECK15").caption = "等分布荷重";
    c("CHECK16").caption = "解析ﾌｧｲﾙ作成";
    for (const char* name : {"CHECK14", "CHECK15", "CHECK16"}) {
        c(name).checked = false;
        c(name).enabled = true;
    }
    c("CHECK17").caption = "せん断変形非考慮";
    c("CHECK17").checked = true;
    c("CHECK17").enabled = true;
    c("RADIO55").caption = "　Ｓ　造";
    c("RADIO56").caption = "　ＲＣ造";
    c("RADIO57").caption = "数値入力";
    c("RADIO58").caption = "形  鋼:κ=1.0";
    c("RADIO59").caption = "矩形断面:κ=1.2";
    for (const char* name : {"RADIO55", "RADIO56", "RADIO57", "RADIO58", "RADIO59"})
        c(name).checked = false;
    c("RADIO55").enabled = c("RADIO56").enabled = true;
    for (const char* name : {"RADIO57", "RADIO58", "RADIO59"})
        c(name).enabled = false;
    c("GROUP14").caption = "せん断変形(形状係数)";
    c("BUTTON79").caption = "拡大表示";
    c("BUTTON79").enabled = false;
    c("BUTTON69").caption = "負荷完了";
    c("BUTTON69").enabled = false;
    c("BUTTON86").visible = false;
    c("RADIO60").visible = false;
    c("GROUP13").visible = false;
    c("RADIO67").visible = true;
    c("RADIO67").enabled = true;
    setCaption("マウス骨組解析");
    setHelpKeyword("マウス骨組解析");
    c("TEXT54").caption = "解析条件を選択してください。";

    clearLoads(p_.model);

    p_.SkipAnalysisFile = -1;
    p_.PlotWindowMode = 1;
    DiagramKind = 0;
    StressStep = 0;
    analysisArmed = false;
    shearGiven = false;
    ShearDeformation = 0;
    clearPicks();
    // The structure type chosen before, chosen again: the frame is drawn anew.
    materialSet_ = false;
    switch (structureType) {
    case StructureType::Steel:
        c("RADIO55").checked = true;
        DE_ON();
        break;
    case StructureType::Concrete:
        c("RADIO56").checked = true;
        FR_ON();
        break;
    case StructureType::TypedModuli:
        c("RADIO67").checked = true;
        RADIO67_ON();
        break;
    case StructureType::None:
        break;
    }
}

// ---------------------------------------------------------------------------
// Scrolling and keys

void Form13::SCROLL_ON() {
    if (picking()) {
        SCROLL_CHANGE2();
    } else if (plot.DrawingActive == 1) {
        SCROLL_CHANGE1(p_, plot, *this);
    }
}

bool Form13::waitsForKey() const {
    return plot.waiting != DrawingWait::None;
}

void Form13::KEY_ON(int) {
    if (plot.waiting != DrawingWait::None) DRAW_KEY(p_, plot, *this);
}

// ---------------------------------------------------------------------------
// The picking picture

bool Form13::picking() const {
    if (mode() == 1) return materialSet_ && !analysisArmed;
    return DiagramKind == 1 && StressStep == 1;
}

std::string Form13::pickStatus() const {
    if (mode() == 1) return kMode1Prompt;
    return SingleMemberSelect ? kSinglePrompt : kPlanePrompt;
}

void Form13::FRANA_ON() {
    ViewState& view = plot.view;
    if (RequestFlag == 1) {
        // The enlarged view of the picture as it is turned now.
        enlargeView(view);
        view.DrawState = 1;
    } else {
        for (const char* bar : kScrollBars)
            c(bar).scrollPos = 0;
        startView(p_.model, view);
        view.DrawState = 0;
        c("BUTTON79").enabled = mode() == 1 || c("BUTTON79").enabled;
        c("TEXT54").caption = pickStatus();
    }
    drawPickPicture(RequestFlag == 1, true);
}

void Form13::endFraLoop() {
    c("TEXT54").caption = mode() == 1 ? "解析開始ボタンを押してください。" : kChooseStatus;
    for (const char* bar : kScrollBars) {
        c(bar).scrollPos = 0;
        c(bar).enabled = false;
    }
}

void Form13::SCROLL_CHANGE2() {
    ViewState& view = plot.view;
    readViewAngles(*this, view);
    rotateView(view);
    view.DrawState = 0;
    RequestFlag = 0;
    drawPickPicture(false, false);
}

void Form13::EL_CO(int m) {
    EL_CO3(p_.model, plot.view, *picture(), m);
}

void Form13::drawPickPicture(bool enlarged, bool fresh) {
    const Model& md = p_.model;
    const ViewState& view = plot.view;
    Canvas& canvas = *picture();
    canvas.clear();
    FrameMarks marks(view.nodeCount());
    for (int m = 1; m <= drawableMemberCount(md); ++m) {
        if (!memberDrawable(md, m)) continue;
        const bool loaded = md.MemberLoadFlag[m] == 1 || m == LoadMember;
        const int colour = loaded                          ? kLightGrey
                           : stress.MemberSelected[m] == 1 ? kLightMagenta
                                                           : kCyan;
        drawMember(md, view, canvas, m, colour, marks);
        // A new picking picture shows every member's axes, so that the user
        // sees the directions a uniform load is typed in, and its pinned and
        // sprung thirds also in the normal view (the enlarged view of
        // drawMember has them already); a turned one only the axes of the
        // member receiving a load.
        if (fresh || m == LoadMember) EL_CO(m);
        if (fresh && view.DrawState != 1) drawReleaseThirds(md, view, canvas, m);
    }
    printPicks();
    drawNodeMarks(md, view, canvas, marks);
    drawTriad(view, canvas, enlarged ? 80 : 100);
    const int nodes = view.nodeCount();
    for (int n : PickedNodes) {
        if (n < 1 || n > nodes) continue;
        const PicturePoint at = nodePoint(view, n);
        canvas.filledCircle(at.x, at.y, 2, kLightMagenta);
    }
    for (int n = 1; n <= nodes; ++n) {
        if (md.NodeLoadFlag[n] != 1) continue;
        const PicturePoint at = nodePoint(view, n);
        canvas.filledCircle(at.x, at.y, 2, kLightGrey);
    }
}

void Form13::printPicks() {
    Canvas& canvas = *picture();
    const int colour = UniformLoadMode ? kLightGreen : kGreen;
    const int up = UniformLoadMode ? 2 : 1;
    for (int n : PickedNodes) {
        if (n < 1 || n > plot.view.nodeCount()) continue;
        const PicturePoint at = nodePoint(plot.view, n);
        canvas.text(static_cast<int>(at.x / 2) - 3, static_cast<int>(at.y / 10) - up,
                    std::to_string(n), colour);
    }
}

int Form13::nearestNode(int x, int y) const {
    return rahmen::nearestNode(plot.view, x, y);
}

void Form13::clearPicks() {
    PickedNodes.clear();
    LoadMember = 0;
    stress.MemberSelected.fill(0);
    stress.PickedPlaneAxis.clear();
}

void Form13::FORM13_MOUSEDOWN(MouseButton button, int x, int y) {
    if (!picking()) return;
    const int node = nearestNode(x, y);
    if (node == 0) return;
    if (button == MouseButton::Left) leftPick(node);
    if (button == MouseButton::Right) rightPick(node);
}

void Form13::leftPick(int node) {
    const Model& md = p_.model;
    Canvas& canvas = *picture();
    const bool analysis = mode() == 1;
    if (std::find(PickedNodes.begin(), PickedNodes.end(), node) != PickedNodes.end()) return;
    if (analysis && !UniformLoadMode) {
        const std::string refusal = refusedLoadNode(md, node);
        if (!refusal.empty()) {
            p_.say(refusal);
            return;
        }
    }
    if (UniformLoadMode && PickedNodes.size() >= 2) {
        p_.say("部材は選択済みです。");
        return;
    }
    auto pick = [&](int n) {
        PickedNodes.push_back(static_cast<int16_t>(n));
        const PicturePoint at = nodePoint(plot.view, n);
        canvas.filledCircle(at.x, at.y, 2, kLightMagenta);
    };
    pick(node);
    if (SameLevelSelect) {
        for (const LevelNode& k : sameLevelNodes(md, node, plot.view.nodeCount(), PickedNodes)) {
            if (k.support)
                p_.say("支持点" + std::to_string(k.node) + " は荷重付加点から除きます。");
            else
                pick(k.node);
        }
    }
    printPicks();

    if (analysis && !UniformLoadMode) {
        enableLoadFields(true);
        c("BUTTON86").enabled = true;
        for (const char* name : {"BUTTON67", "BUTTON69", "CHECK15"})
            c(name).enabled = false;
        return;
    }
    if (analysis && UniformLoadMode) {
        if (PickedNodes.size() != 2) return;
        const int m = memberBetween(p_.model, PickedNodes[0], PickedNodes[1]);
        if (m == 0) {
            p_.say(kNoMember);
            PickedNodes.clear();
            SCROLL_CHANGE2();
            return;
        }
        const PicturePoint a = nodePoint(plot.view, md.MemberStartNode[m]);
        const PicturePoint b = nodePoint(plot.view, md.MemberEndNode[m]);
        canvas.line(a.x, a.y, b.x, b.y, kMagenta);
        LoadMember = m;
        EL_CO(m);
        c("TEXT54").caption =
            std::string(
                "等分布荷重を材軸に直角な部材座標系の方向（ｙ,ｚ方向）に対して入力します。") +
            (md.UnitFactor == 1.0f ? "(t/m)" : "(kN/m)");
        enableLoadFields(true, true);
        c("BUTTON86").enabled = true;
        c("BUTTON67").enabled = false;
        c("BUTTON69").enabled = false;
        return;
    }
    pickForStress();
}

void Form13::pickForStress() {
    const Model& md = p_.model;
    Canvas& canvas = *picture();
    auto select = [&](int m) {
        stress.MemberSelected[m] = 1;
        const PicturePoint a = nodePoint(plot.view, md.MemberStartNode[m]);
        const PicturePoint b = nodePoint(plot.view, md.MemberEndNode[m]);
        canvas.line(a.x, a.y, b.x, b.y, kLightMagenta);
    };
    if (SingleMemberSelect) {
        if (PickedNodes.size() != 2) return;
        const int m = memberBetween(p_.model, PickedNodes[0], PickedNodes[1]);
        if (m == 0) {
            p_.say(kNoMember);
            PickedNodes.clear();
            SCROLL_CHANGE2();
            return;
        }
        select(m);
        c("BUTTON69").enabled = true;
        c("BUTTON67").enabled = true;
        c("TEXT54").caption = kShowStressStatus;
        return;
    }
    if (PickedNodes.size() != 3) return;
    c("BUTTON69").enabled = true;
    const int a = PickedNodes[0], b = PickedNodes[1], d = PickedNodes[2];
    const auto& coordinate = [&](char axis) -> const Table<float, kMaxNodes>& {
        return axis == 'x' ? md.NodeX : axis == 'y' ? md.NodeY : md.NodeZ;
    };
    // Three nodes may share two coordinates (a vertical line shares X and Y):
    // the later axis wins, and only the members of its plane are selected.
    char winner = 0;
    for (char axis : {'x', 'y', 'z'}) {
        const auto& t = coordinate(axis);
        if (t[a] == t[b] && t[b] == t[d]) winner = axis;
    }
    if (winner) {
        const auto& t = coordinate(winner);
        for (int m = 1; m <= drawableMemberCount(md); ++m) {
            if (!memberDrawable(md, m)) continue;
            if (t[md.MemberStartNode[m]] == t[a] && t[md.MemberEndNode[m]] == t[a]) select(m);
        }
        stress.PickedPlaneAxis = std::string(1, winner);
    }
    c("BUTTON67").enabled = true;
    c("TEXT54").caption = kShowStressStatus;
}

void Form13::rightPick(int node) {
    const bool stressPicking = mode() != 1;
    if (stressPicking) {
        // Whatever was selected goes with the pick, so that no member the
        // user took back is drawn.
        stress.MemberSelected.fill(0);
        stress.PickedPlaneAxis.clear();
        c("BUTTON69").enabled = false;
        c("TEXT54").caption = pickStatus();
    }
    const auto at = std::find(PickedNodes.begin(), PickedNodes.end(), node);
    if (at != PickedNodes.end()) {
        PickedNodes.erase(at);
        LoadMember = 0;
    }
    if (!stressPicking && UniformLoadMode && LoadMember == 0) {
        // The member went with the pick: no load can be applied until two
        // nodes name a member again.
        enableLoadFields(false);
        c("BUTTON86").enabled = false;
    }
    if (!stressPicking && PickedNodes.empty()) {
        // Nothing is picked any more: the window is as before the first
        // pick, so the analysis can start and the window can be left, also
        // with loads applied or read from a report.
        enableLoadFields(false);
        c("BUTTON86").enabled = false;
        c("CHECK15").enabled = true;
        c("BUTTON67").enabled = true;
        c("BUTTON69").enabled = true;
    }
    SCROLL_CHANGE2();
}

// ---------------------------------------------------------------------------
// The load fields

void Form13::showLoadFields(bool visible) {
    for (int i = 0; i < 6; ++i)
        c(kLoadLabels[i]).visible = c(kLoadBoxes[i]).visible = visible;
    c("BUTTON99").visible = !visible;
}

void Form13::enableLoadFields(bool enabled, bool onlyUniform) {
    for (int i = 0; i < 6; ++i) {
        const bool on = enabled && (!onlyUniform || i == 1 || i == 2);
        c(kLoadLabels[i]).enabled = c(kLoadBoxes[i]).enabled = on;
    }
}

void Form13::emptyLoadFields() {
    for (const char* box : kLoadBoxes)
        c(box).caption.clear();
}

// ---------------------------------------------------------------------------
// The load case, combination or envelope shown (a frame with load cases)

void Form13::startCaseChoice() {
    Control& choice = c("COMBO13");
    choice.items.clear();
    for (const CaseChoiceEntry& e : caseEntries)
        choice.items.push_back(e.item);
    // Whatever the analysis left in the model is what the window shows first.
    const int inModel = resultInModel(p_.model, p_.caseResults);
    shownCase = -1;
    for (std::size_t i = 0; i < caseEntries.size(); ++i)
        if (inModel >= 0 && caseEntries[i].result == inModel) shownCase = static_cast<int>(i);
    choice.selected = shownCase;
    choice.enabled = p_.model.AnalysisDone != 0 && !p_.caseResults.empty() &&
                     p_.caseResults.front().nodeCount == p_.model.NodeCount &&
                     p_.caseResults.front().memberCount == p_.model.MemberCount;
    if (has("CHECK130")) c("CHECK130").enabled = choice.enabled;
    if (shownCase >= 0) setCaption("データ作図　" + caseEntries[std::size_t(shownCase)].title);
}

bool Form13::envelopeShown() const {
    return shownCase >= 0 && static_cast<std::size_t>(shownCase) < caseEntries.size() &&
           caseEntries[static_cast<std::size_t>(shownCase)].envelope;
}

void Form13::CASE_ON() {
    const int chosen = c("COMBO13").selected;
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= caseEntries.size()) return;
    const CaseChoiceEntry& e = caseEntries[static_cast<std::size_t>(chosen)];
    // An envelope leaves the model's results as they are: only the stress
    // diagram draws it.
    if (!e.envelope &&
        !applyCaseResult(p_.model, p_.caseResults[static_cast<std::size_t>(e.result)])) {
        c("COMBO13").selected = shownCase;
        return;
    }
    shownCase = chosen;
    setCaption("データ作図　" + e.title);
    drawForCase();
}

// The diagram on screen drawn again for the entry chosen; an envelope has no
// deformation diagram, which is given up (and cannot be chosen) while it is shown.
void Form13::drawForCase() {
    if (envelopeShown() && DiagramKind == 2) {
        if (plot.DrawingActive == 1) endDrawing(p_, plot, *this);
        c("RADIO55").checked = false;
        DiagramKind = 0;
        c("BUTTON69").enabled = false;
        c("TEXT54").caption = kChooseStatus;
    }
    if (DiagramKind == 1 && StressStep == 2) {
        stress.MemberSelected = shownStress_.MemberSelected;
        stress.PickedPlaneAxis = shownStress_.PickedPlaneAxis;
        showStressDiagram();
    } else if (picking()) {
        SCROLL_CHANGE2();
    } else if (plot.DrawingActive == 1) {
        redrawRunning(p_, plot, *this);
    } else {
        enableDiagramRadios();
    }
}

void Form13::CHECK130_ON() {
    if (c("CHECK130").checked) {
        std::string problem;
        checkRows_ = caseMemberChecks(p_, problem);
        if (!problem.empty())
            p_.say("検定条件ファイルを読めません。既定の条件で検定します。\r\n" + problem);
        plot.framePicture = [this](const ViewState& view, Canvas& canvas) {
            drawCheckFrame(view, canvas);
        };
    } else {
        plot.framePicture = nullptr;
    }
    if (plot.DrawingActive == 1) {
        redrawFrame(p_, plot, *this);
    } else if (c("CHECK130").checked && !picking() && StressStep == 0 && c("RADIO56").enabled) {
        // Nothing on screen: the frame diagram is chosen, to be executed.
        c("RADIO56").checked = true;
        FR_ON();
    }
}

// In the right-hand column, in the first row below the status line that no
// control covers: without load-case results where the case choice would stand,
// inside the window's own size; with them below the case choice and the
// 検定比図, the window grown to hold it.
void Form13::addLoadDisplay() {
    if (p_.PlotWindowMode != 0) return;
    constexpr int kX = 690, kW = 210, kH = 24;
    int y = 574;
    auto covered = [&](int top) {
        for (const Control& c : controls())
            if (c.x < kX + kW && kX < c.x + c.width && c.y < top + kH && top < c.y + c.height)
                return true;
        return false;
    };
    while (covered(y))
        y += 30;
    if (y + kH > height()) resize(width(), y + kH + 8);
    addCheck("CHECK131", "荷重表示", kX, y, kW, kH);
    onClick("CHECK131", [this] { CHECK131_ON(); });
}

void Form13::CHECK131_ON() {
    plot.ShowLoads = c("CHECK131").checked ? 1 : 0;
    if (plot.DrawingActive != 1) return;
    if (plot.running == RunningDiagram::Frame)
        redrawFrame(p_, plot, *this);
    else
        redrawRunning(p_, plot, *this);
}

// A combination chosen shows its own ratios; a load case or an envelope
// the largest of every combination.
void Form13::drawCheckFrame(const ViewState& view, Canvas& canvas) {
    std::string combination, title = "検定比図　全組合せの最大";
    if (shownCase >= 0 && static_cast<std::size_t>(shownCase) < caseEntries.size()) {
        const CaseChoiceEntry& e = caseEntries[static_cast<std::size_t>(shownCase)];
        if (!e.envelope && e.result >= 0 &&
            static_cast<std::size_t>(e.result) < p_.caseResults.size() &&
            p_.caseResults[static_cast<std::size_t>(e.result)].combination) {
            combination = p_.caseResults[static_cast<std::size_t>(e.result)].label;
            title = "検定比図　" + e.item;
        }
    }
    const bool none = !nothingCheckedReason(checkRows_).empty();
    drawCheckPicture(p_.model, view, canvas,
                     memberRatios(checkRows_, p_.model.MemberCount, combination), title,
                     none ? "検定できる部材がありません" : "");
}

void registerPlotForms(Program& program) {
    program.registerForm("FORM13", [](Program& p) { return std::make_unique<Form13>(p); });
}

} // namespace rahmen
