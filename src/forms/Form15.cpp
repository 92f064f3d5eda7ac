#include "forms/Form15.h"

#include "analysis/ana.h"
#include "forms/Form14.h"
#include "forms/Form17.h"
#include "forms/InputForms.h"
#include "model/DataName.h"
#include "model/Grid.h"
#include "model/ModelFileHandlers.h"
#include "model/Program.h"
#include "platform/FormServices.h"

#include <cmath>
#include <memory>
#include <string>

namespace rahmen {

namespace {

constexpr const char* kSizeFields[] = {"EDIT143", "EDIT144", "EDIT145",
                                       "EDIT146", "EDIT147", "EDIT148"};
constexpr const char* kSizeLabels[] = {"TEXT60", "TEXT61", "TEXT62", "TEXT63", "TEXT64", "TEXT65"};
constexpr const char* kNamePrompt = "データファイル名？(作成しない→ｷｬﾝｾﾙ)";
// Newtons in one kilogram-force: the floor weights are tf/m², the SI loads kN.
constexpr double kKilonewtonsPerTonne = 9.80665;

struct Section {
    double area = 0, iy = 0, iz = 0, shear = 0;
};

double square(double x) {
    return x * x;
}

void storeSection(Model& m, int member, const Section& s) {
    m.MemberArea[member] = toSingle(s.area);
    m.MemberIy[member] = toSingle(s.iy);
    m.MemberIz[member] = toSingle(s.iz);
    m.MemberJ[member] = m.MemberIy[member] + m.MemberIz[member];
    m.MemberShearAreaY[member] = toSingle(s.shear);
    m.MemberShearAreaZ[member] = toSingle(s.shear);
    m.MemberAngle[member] = 0;
}

} // namespace

void setDefaultSections(Model& m, const GridVariables& g) {
    const double h = g.StoreyHeight;
    const int storeys = g.StoreyCount;
    const bool steel = g.StructureKind != 2;
    const double heightRatio = h / 300.0;
    const double areaRatio = g.SpanX * static_cast<double>(g.SpanY) / 300000.0;
    for (int k = 1; k <= storeys; ++k) {
        // The storeys above this one make its members larger.
        const double above = h * (storeys - k) / 600.0;
        Section column;
        auto beam = [&](double span) {
            const double r = span / 500.0;
            Section s;
            if (steel) {
                s.area = 136 * square(r);
                s.iy = 38700 * square(square(r));
                s.iz = 7210 * square(square(r));
                s.shear = s.area / 2;
            } else {
                const double depth = (60 + 5 * above) * r;
                s.area = depth * depth / 2;
                s.iy = (depth / 2) * depth * depth * depth / 12;
                s.iz = depth * square(depth / 2) * (depth / 2) / 12;
                s.shear = s.area;
            }
            return s;
        };
        if (steel) {
            column.area = (158 + 15 * above) * square(heightRatio) * areaRatio;
            // 29800·((h/300)⁴·(sx·sy/300000))²
            column.iy = column.iz = 29800 * square(square(square(heightRatio)) * areaRatio);
            column.shear = column.area / 2;
        } else {
            const double side = (50 + 5 * above) * areaRatio * square(heightRatio);
            column.area = side * side;
            column.iy = column.iz = square(column.area) / 12;
            column.shear = column.area;
        }
        const Section yBeam = beam(g.SpanY), xBeam = beam(g.SpanX);
        const int first = (k - 1) * g.MembersPerStorey;
        for (int i = 1; i <= g.MembersPerStorey; ++i) {
            const Section& s = i <= g.ColumnsPerStorey                       ? column
                               : i <= g.ColumnsPerStorey + g.YBeamsPerStorey ? yBeam
                                                                             : xBeam;
            storeSection(m, first + i, s);
        }
    }
}

double storeyShearFactor(int storeys, int k, double period) {
    const double alpha = static_cast<double>(storeys - k + 1) / storeys;
    return 1 + (1 / std::sqrt(alpha) - alpha) * 2 * period / (1 + 3 * period);
}

void setDefaultLoads(Model& m, const GridVariables& g, int direction, bool vertical) {
    const bool steel = g.StructureKind != 2;
    const bool si = m.UnitFactor != 1.0f;
    if (steel) {
        m.YoungModulus = si ? 2.05e5f : 2100.0f;
        m.ShearModulus = si ? 810.0f * m.UnitFactor : 810.0f;
    } else {
        m.YoungModulus = 210.0f * m.UnitFactor;
        m.ShearModulus = 90.0f * m.UnitFactor;
    }
    const int storeys = g.StoreyCount, perFloor = g.NodesPerFloor;
    const double force = si ? kKilonewtonsPerTonne : 1.0;
    const double floorArea = static_cast<double>(g.GridLengthX) * g.GridLengthY / 10000.0; // m²
    const double period = (steel ? 0.03 : 0.02) * (g.StoreyHeight / 100.0) * storeys;
    const double floorWeight = floorArea * (steel ? 0.8 : 1.2) * force;
    const double floorLoad = vertical ? floorArea * (steel ? 0.9 : 1.3) * force : 0.0;
    const double downward = floorLoad > 0 ? -floorLoad / perFloor : 0.0; // never -0
    const double c0 = g.BaseShearCoefficient;
    // Storey shear of storey k: Ai·C0 times the weight of the floors k..S.
    auto storeyShear = [&](int k) {
        if (k > storeys) return 0.0;
        return storeyShearFactor(storeys, k, period) * c0 * floorWeight * (storeys - k + 1);
    };
    for (int k = 1; k <= storeys; ++k) {
        const double share = (storeyShear(k) - storeyShear(k + 1)) / perFloor;
        for (int n = k * perFloor + 1; n <= (k + 1) * perFloor; ++n) {
            if (direction == 1) m.NodeLoad[6 * n - 5] = toSingle(share);
            if (direction == 2) m.NodeLoad[6 * n - 4] = toSingle(share);
            if (direction == 3) {
                m.NodeLoad[6 * n - 5] = toSingle(share / std::sqrt(2.0));
                m.NodeLoad[6 * n - 4] = toSingle(share / std::sqrt(2.0));
            }
            m.NodeLoad[6 * n - 3] = toSingle(downward);
            m.NodeLoadFlag[n] = 1;
        }
    }
    m.LoadedNodeCount = static_cast<int16_t>(m.NodeCount - perFloor);
}

LoadCaseSet defaultLoadCases(Model& m, const GridVariables& g, int direction, bool vertical) {
    LoadCaseSet set;
    auto add = [&](const char* label, LoadKind kind, LoadDirection towards, int loadDirection,
                   bool down) {
        m.NodeLoad.fill(0);
        m.NodeLoadFlag.fill(0);
        setDefaultLoads(m, g, loadDirection, down);
        LoadCase c;
        c.label = label;
        c.kind = kind;
        c.direction = towards;
        takeCaseLoads(m, c);
        set.cases.push_back(std::move(c));
    };
    if (vertical) add("G", LoadKind::Dead, LoadDirection::None, 0, true);
    if (direction == 1 || direction == 3) add("KX", LoadKind::Seismic, LoadDirection::X, 1, false);
    if (direction == 2 || direction == 3) add("KY", LoadKind::Seismic, LoadDirection::Y, 2, false);
    // The cases hold the loads; the frame's own load tables stay empty.
    m.NodeLoad.fill(0);
    m.NodeLoadFlag.fill(0);
    m.LoadedNodeCount = 0;
    set.combinations = codeCombinations(set.cases, false);
    return set;
}

void registerGridForms(Program& program) {
    program.registerForm("FORM14", [](Program& p) { return std::make_unique<Form14>(p); });
    program.registerForm("FORM15", [](Program& p) { return std::make_unique<Form15>(p); });
}

Form15::Form15(Program& program) : Form("FORM15", "グリッド作成", 640, 490), p_(program) {
    setHelpKeyword("簡易入力");
    addGroup("GROUP12", "構造規模", 10, 10, 400, 200);
    addLabel("TEXT60", "スパン長さ（ｍ）", 110, 34, 150, 22);
    addLabel("TEXT61", "スパン数", 270, 34, 100, 22);
    addLabel("TEXT62", "Ｘ　方向", 24, 66, 80, 22);
    addEdit("EDIT143", "", 110, 62, 140, 26);
    addEdit("EDIT145", "", 270, 62, 100, 26);
    addLabel("TEXT63", "Ｙ　方向", 24, 100, 80, 22);
    addEdit("EDIT144", "", 110, 96, 140, 26);
    addEdit("EDIT146", "", 270, 96, 100, 26);
    addLabel("TEXT64", "階数", 24, 140, 80, 22);
    addEdit("EDIT147", "", 110, 136, 140, 26);
    addLabel("TEXT65", "階高（ｍ）", 20, 174, 88, 22);
    addEdit("EDIT148", "", 110, 170, 140, 26);

    addGroup("GROUP11", "構造方式選択", 420, 10, 210, 100);
    addRadio("RADIO5", "Ｓ構造", 434, 36, 180, 24, "structure");
    addRadio("RADIO6", "ＲＣ構造", 434, 70, 180, 24, "structure");

    addGroup("GROUP10", "荷重設定", 10, 220, 620, 200);
    addCheck("CHECK11", "デフォルトの水平荷重を設定する。", 24, 244, 590, 24).enabled = false;
    addCheck("CHECK12", "デフォルトの水平荷重と鉛直荷重を設定する。", 24, 272, 590, 24).enabled =
        false;
    addLabel("TEXT66", "標準せん断力係数", 24, 308, 150, 22).enabled = false;
    addEdit("EDIT149", "", 180, 304, 80, 26).enabled = false;
    addRadio("RADIO8", "Ｘ方向", 290, 306, 100, 24, "direction").enabled = false;
    addRadio("RADIO9", "Ｙ方向", 395, 306, 100, 24, "direction").enabled = false;
    addRadio("RADIO10", "ＸＹ方向", 500, 306, 120, 24, "direction").enabled = false;
    addCheck("CHECK13", "せん断変形を考慮する。", 24, 344, 300, 24).enabled = false;
    addCheck("CHECK14", "荷重ケースと組合せにする。", 340, 344, 280, 24).enabled = false;
    addLabel("TEXT67", "せん断に対する形状係数", 24, 380, 220, 22).enabled = false;
    addEdit("EDIT150", "", 250, 376, 80, 26).enabled = false;

    addButton("BUTTON73", "終了", 20, 436, 110, 34).enabled = false;
    addButton("BUTTON84", "部材設定", 140, 436, 110, 34).enabled = false;
    addButton("BUTTON89", "キャンセル", 260, 436, 110, 34);
    addButton("BUTTON90", "ヘルプ", 510, 436, 110, 34);

    for (const char* field : kSizeFields)
        onChange(field, [this] { SIZE_CHANGE(); });
    onClick("RADIO5", [this] { RADIO5_ON(); });
    onClick("RADIO6", [this] { RADIO6_ON(); });
    onClick("CHECK11", [this] { CHECK11_ON(); });
    onClick("CHECK12", [this] { CHECK12_ON(); });
    onClick("CHECK13", [this] { CHECK13_ON(); });
    onClick("RADIO8", [this] { RADIO8_ON(); });
    onClick("RADIO9", [this] { RADIO9_ON(); });
    onClick("RADIO10", [this] { RADIO10_ON(); });
    onClick("BUTTON84", [this] { INPMEMB_ON(); });
    onClick("BUTTON73", [this] { BUTTON73_ON(); });
    onClick("BUTTON89", [this] { BUTTON89_ON(); });
    onClick("BUTTON90", [this] { EASYHP_ON(); });
    numberBoxes();
}

void Form15::FORM15_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void Form15::FORM15_START() {
    FORM15_INITXP();
    CENTER_ON(*this, p_.io.desktop);
    if (p_.model.FrameReady == 1) {
        // The frame stands: only its default loads are left to choose. Its
        // structure is fixed with its sections.
        for (const char* field : kSizeFields)
            c(field).enabled = false;
        for (const char* label : kSizeLabels)
            c(label).enabled = false;
        c("GROUP12").enabled = false;
        c("CHECK11").enabled = true;
        c("CHECK12").enabled = true;
        c("BUTTON73").enabled = false;
        c("RADIO5").checked = p_.grid.StructureKind != 2;
        c("RADIO6").checked = p_.grid.StructureKind == 2;
        c("RADIO5").enabled = c("RADIO6").enabled = false;
        return;
    }
    p_.model.ShearShapeFactor = 0;
    ChangeCount = 0;
    Direction = 0;
    c("RADIO5").checked = true;
    p_.grid.StructureKind = 1;
}

// One counter for all six fields: the sixth change makes the buttons usable,
// whichever fields were changed.
void Form15::SIZE_CHANGE() {
    if (ChangeCount < 5) {
        ++ChangeCount;
        return;
    }
    for (const char* name : {"BUTTON84", "BUTTON73", "CHECK11", "CHECK12"})
        c(name).enabled = true;
}

void Form15::RADIO5_ON() {
    p_.grid.StructureKind = 1;
}

void Form15::RADIO6_ON() {
    p_.grid.StructureKind = 2;
}

void Form15::loadBox(const char* box, const char* other) {
    if (p_.model.FrameReady == 1 && p_.model.GridGenerated != 1) {
        c(box).checked = false;
        p_.say("ファイルから読み込んだ骨組にはグリッドの寸法がないため、デフォルト荷重は設定できま"
               "せん。");
        return;
    }
    const bool on = c(box).checked;
    for (const char* name :
         {"TEXT66", "EDIT149", "RADIO8", "RADIO9", "RADIO10", "CHECK13", "CHECK14"})
        c(name).enabled = on;
    c(other).enabled = !on;
    if (on) {
        c("EDIT149").caption = "0.2";
    } else {
        for (const char* name : {"RADIO8", "RADIO9", "RADIO10", "CHECK13", "CHECK14"})
            c(name).checked = false;
        c("TEXT67").enabled = c("EDIT150").enabled = false;
        c("EDIT150").caption = "";
        Direction = 0;
    }
    c("BUTTON73").caption = on ? "解析開始" : "終了";
    // With loads the direction must be chosen first.
    c("BUTTON73").enabled = !on;
}

void Form15::CHECK11_ON() {
    loadBox("CHECK11", "CHECK12");
}

void Form15::CHECK12_ON() {
    loadBox("CHECK12", "CHECK11");
}

void Form15::CHECK13_ON() {
    const bool on = c("CHECK13").checked;
    c("TEXT67").enabled = c("EDIT150").enabled = on;
    c("EDIT150").caption = on ? "1.2" : "";
}

void Form15::chooseDirection(int16_t direction) {
    Direction = direction;
    c("BUTTON73").enabled = true;
}

void Form15::RADIO8_ON() {
    chooseDirection(1);
}
void Form15::RADIO9_ON() {
    chooseDirection(2);
}
void Form15::RADIO10_ON() {
    chooseDirection(3);
}

bool Form15::readSizes() {
    const double spanX = boxNumber(c("EDIT143").caption);
    const double spanY = boxNumber(c("EDIT144").caption);
    const long nx = boxWhole(c("EDIT145").caption);
    const long ny = boxWhole(c("EDIT146").caption);
    const long storeys = boxWhole(c("EDIT147").caption);
    const double height = boxNumber(c("EDIT148").caption);
    const struct {
        bool ok;
        const char* field;
        const char* message;
    } checks[] = {
        {spanX > 0, "EDIT143", "Ｘ方向のスパン長さには 0 より大きい値を入力してください。"},
        {nx >= 1, "EDIT145", "Ｘ方向のスパン数には 1 以上の数を入力してください。"},
        {spanY > 0, "EDIT144", "Ｙ方向のスパン長さには 0 より大きい値を入力してください。"},
        {ny >= 1, "EDIT146", "Ｙ方向のスパン数には 1 以上の数を入力してください。"},
        {storeys >= 1, "EDIT147", "階数には 1 以上の数を入力してください。"},
        {height > 0, "EDIT148", "階高には 0 より大きい値を入力してください。"},
    };
    for (const auto& check : checks)
        if (!check.ok) {
            p_.say(check.message);
            setFocus(check.field);
            return false;
        }
    if (!checkNumberBoxes(p_, *this,
                          {{"EDIT143", "Ｘ方向のスパン長さ", kGridSpan},
                           {"EDIT144", "Ｙ方向のスパン長さ", kGridSpan},
                           {"EDIT148", "階高", kStoreyHeight}}))
        return false;
    if (!checkGridLimits(p_.io.dialogs, nx, ny, storeys)) return false;
    setGridSize(p_.grid, toSingle(spanX * 100), toSingle(spanY * 100), static_cast<int32_t>(nx),
                static_cast<int32_t>(ny), static_cast<int32_t>(storeys), toSingle(height * 100));
    return true;
}

void Form15::INPMEMB_ON() {
    if (!readSizes()) return;
    layOutGrid(p_.model, p_.grid);
    p_.model.GridGenerated = 1;
    Form* settings = p_.openForm("FORM14");
    if (!settings) return;
    const bool steel = p_.grid.StructureKind != 2;
    for (const char* name : {"TEXT70", "TEXT71", "EDIT159", "EDIT160"})
        settings->c(name).enabled = !steel;
    for (const char* name : {"RADIO28", "RADIO29", "RADIO30", "COMBO6"})
        settings->c(name).enabled = steel;
}

void Form15::BUTTON73_ON() {
    Model& m = p_.model;
    if (m.FrameReady == 1 && m.GridGenerated != 1) return; // no grid to finish
    if ((c("CHECK11").checked || c("CHECK12").checked) &&
        !checkNumberBoxes(p_, *this,
                          {{"EDIT149", "標準せん断力係数", kShearCoefficient},
                           {"EDIT150", "せん断に対する形状係数", kNotNegative}}))
        return;
    if (m.GridGenerated != 1) {
        if (!readSizes()) return;
        layOutGrid(m, p_.grid);
        setDefaultSections(m, p_.grid);
    }
    finish();
}

void Form15::finish() {
    Model& m = p_.model;
    p_.menuEnable({"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON70", "BUTTON92", "BUTTON93"},
                  {"BUTTON27", "BUTTON52", "BUTTON68", "BUTTON84", "BUTTON91"});
    if (p_.mainMenu && p_.mainMenu->has("BUTTON84"))
        p_.mainMenu->c("BUTTON84").caption = "ﾃﾞﾌｫﾙﾄ荷重";
    m.GridGenerated = 1;
    m.FrameReady = 1;

    if (!c("CHECK11").checked && !c("CHECK12").checked) {
        if (p_.mainMenu) p_.mainMenu->setFocus("BUTTON3");
        if (const auto name = askNewDataName(p_, kNamePrompt)) {
            m.DataName = *name;
            m.DataFolder.clear();
            BUTTON70_ON(p_, true); // replacing a file was agreed to
        }
        close();
        return;
    }

    p_.grid.BaseShearCoefficient = boxSingle(c("EDIT149").caption);
    m.ShearShapeFactor = boxSingle(c("EDIT150").caption);
    // As load cases, the default loads are analysed case by case and in the
    // code's combinations; otherwise as the one load of today.
    const bool cases = c("CHECK14").checked;
    if (cases)
        p_.loadCases = defaultLoadCases(m, p_.grid, Direction, c("CHECK12").checked);
    else
        setDefaultLoads(m, p_.grid, Direction, c("CHECK12").checked);
    const auto name = askNewDataName(p_, kNamePrompt);
    close();
    bool analysed = false;
    if (!name) {
        // No files: the plotting window shows the deformation of the result,
        // so the analysis runs before it opens.
        p_.SkipAnalysisFile = -1;
        analysed = cases ? analyseAllCases(p_, "") : ANALYSIS_ON(p_);
        if (analysed && p_.hasForm("FORM13"))
            p_.openForm("FORM13");
        else
            p_.SkipAnalysisFile = 0;
    } else {
        m.DataName = *name;
        m.DataFolder.clear();
        BUTTON70_ON(p_, true);
        if (cases) {
            // The cases are kept beside the frame file, so that they come back with it.
            writeLoadCases(p_);
            const auto reports = caseReportName(p_);
            analysed = reports && analyseAllCases(p_, *reports);
        } else {
            analysed = ANALYSIS_ON(p_);
        }
    }
    if (analysed) p_.menuEnable({}, {"BUTTON84", "BUTTON3"});
}

void Form15::BUTTON89_ON() {
    close();
}

void Form15::EASYHP_ON() {
    p_.help("簡易入力");
}

} // namespace rahmen
