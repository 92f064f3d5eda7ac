#include "edit/Form8.h"

#include "draw/Picking.h"
#include "draw/draw1.h"
#include "forms/Form7.h"
#include "forms/InputForms.h"
#include "forms/LoadForms.h"
#include "model/DataName.h"
#include "model/Model.h"
#include "model/ModelFileHandlers.h"
#include "model/Program.h"
#include "platform/FormServices.h"
#include "platform/Sjis.h"
#include "sections/Sections.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace rahmen {
namespace {

constexpr int kPictureX = 32;
constexpr int kPictureY = 10;
constexpr int kPanelX = 748;

// Operation radio buttons and the operation button's captions, in the order of
// the operations (EditOp::DeleteMembers first).
const char* const kOperationRadios[] = {"RADIO47", "RADIO48", "RADIO55", "RADIO49", "RADIO50",
                                        "RADIO56", "RADIO51", "RADIO60", "RADIO61", "RADIO62"};
const char* const kOperationButtons[] = {"削除",     "追加",     "節点追加",   "構面移動", "軸移動",
                                         "節点移動", "部材分割", "支持点追加", "ピン入力", "設定"};
const char* const kMethodRadios[] = {"RADIO52", "RADIO53", "RADIO54"};
const char* const kFields[][2] = {
    {"TEXT100", "EDIT190"}, {"TEXT101", "EDIT191"}, {"TEXT102", "EDIT192"}};

const char* const kIdleStatus = "操作を選択してください、(拡大ボタン→ピン、バネ接合部表示)。";
const char* const kAxisStatus = "軸の始点・終点をクリック（選択→左、取消→右）してください。";
const char* const kPlaneStatus = "構面上の３点をクリック（選択→左、取消→右）してください。";
const char* const kPlaneMoveStatus = "共通座標は、上の通りです、移動する座標を入力→構面移動ボタン";
const char* const kOppositePlaneStatus =
    "部材ﾀｲﾌﾟを設定する部材郡の他端となる構面上の節点を選択してください。";
const char* const kChooseTypeStatus = "設定する部材タイプのリストを選択してください。";
const char* const kNoMemberBetween =
    "選択した節点間の部材は、ありません、選択をやり直してください。";

const char* coordinateName(Axis axis) {
    switch (axis) {
    case Axis::X:
        return "Ｘ座標";
    case Axis::Y:
        return "Ｙ座標";
    default:
        return "Ｚ座標";
    }
}

// The two axes other than `along`, in the order X, Y, Z.
std::pair<Axis, Axis> otherAxes(Axis along) {
    if (along == Axis::X) return {Axis::Y, Axis::Z};
    if (along == Axis::Y) return {Axis::X, Axis::Z};
    return {Axis::X, Axis::Y};
}

// A number as the type list shows second moments: mantissa below 10 "E+" power.
std::string mantissaPower(float value) {
    if (value == 0.0f) return "0E+0";
    int power = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    double mantissa = value / std::pow(10.0, power);
    char buf[48];
    std::snprintf(buf, sizeof buf, "%.4gE+%d", mantissa, power);
    return buf;
}

// The first `count` characters of a UTF-8 text.
std::string firstCharacters(const std::string& text, int count) {
    std::size_t i = 0;
    for (int n = 0; n < count && i < text.size(); ++n) {
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80)
            ++i;
    }
    return text.substr(0, i);
}

} // namespace

Form8::Form8(Program& program) : Form("FORM8", "マウス骨組修正", 1008, 676), p_(program) {
    setHelpKeyword("マウス骨組修正");
    addPicture("PICTURE1", kPictureX, kPictureY, Canvas::DefaultWidth, Canvas::DefaultHeight);
    for (const char* name : {"HSCROLL2", "VSCROLL3", "VSCROLL4"}) {
        Control& bar = name[0] == 'H' ? addHScroll(name, 112, 614, 490, 20)
                                      : addVScroll(name, name[7] == '3' ? 4 : 718,
                                                   name[7] == '3' ? 50 : 60, 20, 440);
        bar.scrollMin = -3141;
        bar.scrollMax = 3141;
        bar.smallStep = 87;
        bar.largeStep = 87;
        onScroll(name, [this] { HSCROLL2_CHANGE(); });
    }
    addLabel("TEXT29", "ZΦ", 78, 616, 30, 18);
    addLabel("TEXT97", "YΦ", 714, 36, 30, 18);
    addLabel("TEXT98", "XΦ", 0, 30, 30, 18);
    addLabel("TEXT99", kIdleStatus, 10, 644, 720, 20);

    addGroup("GROUP19", "骨組操作方法", kPanelX, 6, 250, 290);
    const char* const captions[] = {"部材削除",     "部材追加",    "部材・節点追加", "構面移動",
                                    "直列節点移動", "節点移動",    "部材分割",       "支持点追加",
                                    "ﾋﾟﾝ･ﾊﾞﾈ付/削", "部材ﾀｲﾌﾟ付加"};
    for (int i = 0; i < kEditOpCount; ++i) {
        const EditOp op = static_cast<EditOp>(i + 1);
        addRadio(kOperationRadios[i], captions[i], kPanelX + 12, 30 + 26 * i, 220, 22, "operation");
        onClick(kOperationRadios[i], [this, op] { chooseOperation(op); });
    }
    addGroup("GROUP20", "部材選択方法", kPanelX, 300, 250, 100);
    for (int i = 0; i < 3; ++i) {
        addRadio(kMethodRadios[i], "", kPanelX + 12, 322 + 26 * i, 220, 22, "method").enabled =
            false;
        onClick(kMethodRadios[i], [this, i] { chooseMethod(i + 1); });
    }
    // Side by side, each wide enough for "ピン付加/削除" at the start-up font.
    addRadio("RADIO63", "", kPanelX - 2, 406, 130, 22, "sub").visible = false;
    addRadio("RADIO64", "", kPanelX + 128, 406, 130, 22, "sub").visible = false;
    onClick("RADIO63", [this] { RADIO63_ON(); });
    onClick("RADIO64", [this] { RADIO64_ON(); });
    addCheck("CHECK13", "構面を選択", kPanelX, 434, 120, 22);
    addButton("BUTTON88", "選択解除", kPanelX + 130, 432, 110, 26);
    onClick("CHECK13", [this] { FIPLANE_ON(); });
    onClick("BUTTON88", [this] { FIPLANE_OFF(); });
    for (int i = 0; i < 3; ++i) {
        addLabel(kFields[i][0], "", kPanelX, 468 + 30 * i, 110, 20);
        addEdit(kFields[i][1], "", kPanelX + 114, 464 + 30 * i, 136, 26);
    }
    addCombo("COMBO8", kPanelX, 556, 250, 26).visible = false;
    // The operation button holds its longest caption ("支持点追加") at the
    // start-up font.
    addButton("BUTTON87", "", kPanelX, 590, 100, 30).enabled = false;
    addButton("BUTTON86", "拡大", kPanelX + 104, 590, 64, 30);
    Control& undo = addButton("BUTTON152", "元に戻す", kPanelX + 172, 590, 78, 30);
    undo.enabled = false;
    undo.shortcut = "Ctrl+Z";
    addButton("BUTTON150", "終了", kPanelX, 632, 120, 32);
    addButton("BUTTON51", "ヘルプ", kPanelX + 130, 632, 120, 32);
    onClick("BUTTON87", [this] { ENTER_ON(); });
    onClick("BUTTON86", [this] { CTRDR_ON(); });
    onClick("BUTTON152", [this] { UNDO_ON(); });
    onClick("BUTTON150", [this] { BUTTON150_ON(); });
    onClick("BUTTON51", [this] { MOFR1HP_ON(); });
    onMouseDown([this](MouseButton b, int x, int y) { FORM8_MOUSEDOWN(b, x, y); });
    numberBoxes();
}

Form8::~Form8() = default;

void Form8::FORM8_START() {
    applyFontOffset(*this, p_.FontOffset);
    CENTER_ON(*this, p_.io.desktop);
    EditOperation = EditOp::None;
    clearSelection();
    DAT_READ(p_.model);
    p_.PinSpringChoice = 0;
    ModelModified = 0;
    EditLoopRequest = 0;
    history_.clear();
    c("BUTTON152").enabled = false;
    for (const char* name : {"HSCROLL2", "VSCROLL3", "VSCROLL4"})
        c(name).scrollPos = 0;
    startView(p_.model, view);
    showNormalView();
    DRAW_ON();
}

// ---- drawing

void Form8::DRAW_ON() {
    Canvas& canvas = *picture();
    const Model& m = p_.model;
    // Every operation and undo ends here: the nodes are centred and fitted
    // from the model as it is now, so that the picture and the picks go by
    // the current frame (an unchanged frame gives the same fit again).
    refitView(m, view);
    // The enlarged view draws the pinned and sprung thirds of each member.
    view.DrawState = enlarged_ ? 1 : 0;
    if (enlarged_)
        enlargeView(view);
    else
        rotateView(view);
    canvas.clear();
    FrameStyle style;
    style.memberColour = [this](int k) {
        if (k == chosenMember) return kMagenta;
        if (k < static_cast<int>(memberSelected.size()) && memberSelected[k]) return kMagenta;
        if (k < static_cast<int>(memberMarked.size()) && memberMarked[k]) return kLightMagenta;
        return kCyan;
    };
    drawFrameMarks(m, view, canvas, style);
    if (chosenMember > 0 && memberDrawable(m, chosenMember)) EL_CO3(m, view, canvas, chosenMember);
    if (EditOperation == EditOp::AddMember && EditPickedNodes.size() == 2) {
        const PicturePoint a = nodePoint(view, EditPickedNodes[0]);
        const PicturePoint b = nodePoint(view, EditPickedNodes[1]);
        canvas.line(a.x, a.y, b.x, b.y, kLightMagenta);
    }
    drawTriad(view, canvas, 100);
    const int colour = EditOperation == EditOp::MoveNode || EditOperation == EditOp::AddSupports
                           ? kMagenta
                           : kLightMagenta;
    for (int n : EditPickedNodes) {
        if (n < 1 || n > view.nodeCount()) continue;
        const PicturePoint at = nodePoint(view, n);
        canvas.filledCircle(at.x, at.y, 2, colour);
    }
    EditLoopRequest = 0;
}

void Form8::HSCROLL2_CHANGE() {
    view.ViewAngleZ = c("HSCROLL2").scrollPos / 1000.0f;
    view.ViewAngleX = c("VSCROLL3").scrollPos / 1000.0f;
    view.ViewAngleY = c("VSCROLL4").scrollPos / 1000.0f;
    // Turning goes back to the normal view with its stored fit.
    showNormalView();
    DRAW_ON();
}

void Form8::showNormalView() {
    enlarged_ = false;
    c("BUTTON86").enabled = true;
}

void Form8::CTRDR_ON() {
    EditLoopRequest = 1;
    enlarged_ = true;
    c("BUTTON86").enabled = false;
    DRAW_ON();
}

// ---- state and captions

void Form8::clearSelection() {
    const int nodes = std::max<int>(0, p_.model.NodeCount) + 2;
    const int members = std::max<int>(0, p_.model.MemberCount) + 2;
    EditPickedNodes.clear();
    nodeMarked.assign(nodes, 0);
    memberSelected.assign(members, 0);
    memberMarked.assign(members, 0);
    chosenMember = 0;
    line1_ = Line{};
    line2_ = Line{};
    plane_ = Plane{};
    insertStep2_ = false;
}

void Form8::setStatus(const std::string& text) {
    c("TEXT99").caption = text;
}

std::string Form8::operationStatus() const {
    switch (EditOperation) {
    case EditOp::DeleteMembers:
    case EditOp::AssignType:
        return "部材選択方法を選んでください。";
    case EditOp::AddMember:
        return "追加する部材の、始点・終点をクリック（選択→左、取消→右）してください。";
    case EditOp::AddNodeAndMember:
        return "接続する節点を選択してください。";
    case EditOp::MovePlane:
        return kPlaneStatus;
    case EditOp::MoveLine:
        return "列の始点・終点をクリック（選択→左、取消→右）してください。";
    case EditOp::MoveNode:
        return "移動する節点をクリック（選択→左、取消→右）してください。";
    case EditOp::SplitMember:
        return "分割する部材の始点・終点をクリック（選択→左、取消→右）してください。";
    case EditOp::AddSupports:
        return "支持点とする節点をクリック（選択→左、取消→右）してください(複数選択可)。";
    case EditOp::PinsAndSprings:
        if (p_.PinSpringChoice == 3)
            return "ピン接合とする部材の始点・終点をクリック（選択→左、取消→右）してください。";
        if (p_.PinSpringChoice == 4)
            return "バネ接合とする部材の始点・終点をクリック（選択→左、取消→右）してください。";
        return "画面上のラディオボタンでバネかピンを選択してください。";
    case EditOp::None:
        break;
    }
    return kIdleStatus;
}

void Form8::showFields(const char* a, const char* b, const char* c3) {
    const char* names[] = {a, b, c3};
    for (int i = 0; i < 3; ++i) {
        c(kFields[i][0]).caption = names[i] ? names[i] : "";
        c(kFields[i][1]).caption.clear();
    }
}

void Form8::chooseOperation(EditOp operation) {
    c("CHECK13").checked = false;
    PlaneSelectMode = false;
    EditOperation = operation;
    SelectMethod = 0;
    showNormalView();
    TypeListKind = 0;
    p_.PinSpringChoice = 0;
    clearSelection();
    const bool methods = operation == EditOp::DeleteMembers || operation == EditOp::AssignType;
    const char* const deletion[] = {"節点周り選択", "軸選択(単･複)", "節点間周り選択"};
    const char* const typing[] = {"部材軸間選択", "軸選択(単･複)", "構面間選択"};
    for (int i = 0; i < 3; ++i) {
        Control& r = c(kMethodRadios[i]);
        r.checked = false;
        r.enabled = methods;
        r.caption = operation == EditOp::AssignType ? typing[i] : deletion[i];
    }
    c("RADIO63").visible = c("RADIO64").visible = operation == EditOp::PinsAndSprings;
    c("RADIO63").checked = c("RADIO64").checked = false;
    if (operation == EditOp::PinsAndSprings) {
        c("RADIO63").caption = "ピン付加/削除";
        c("RADIO64").caption = "バネ付加/削除";
    }
    c("COMBO8").visible = false;
    showFields(nullptr, nullptr, nullptr);
    c("BUTTON87").caption = kOperationButtons[static_cast<int>(operation) - 1];
    c("BUTTON87").enabled = false;
    setStatus(operationStatus());
    if ((operation == EditOp::AddMember || operation == EditOp::AddNodeAndMember) &&
        p_.model.MemberTypeCount == 0)
        p_.say("部材タイプが必要です、”部材性能修正”で作成してください。");
    DRAW_ON();
}

void Form8::chooseMethod(int button) {
    if (TypeListKind == -1) { // choosing the steel family of a new type
        fillSectionList(button == 1   ? kSectionSquarePipe
                        : button == 2 ? kSectionHShape
                                      : kSectionRoundPipe);
        return;
    }
    clearSelection();
    if (EditOperation == EditOp::DeleteMembers) {
        SelectMethod = static_cast<int16_t>(button);
        setStatus(button == 1 ? "節点をクリック（選択→左、取消→右）してください。" : kAxisStatus);
    } else if (EditOperation == EditOp::AssignType) {
        SelectMethod = static_cast<int16_t>(button + 3);
        if (button == 1)
            setStatus(
                "選択する部材を挟む部材軸の始点、終点を選択（選択→左、取消→右）してください。");
        else if (button == 2)
            setStatus(kAxisStatus);
        else {
            c("CHECK13").checked = true;
            PlaneSelectMode = true;
            setStatus("選択する部材を挟む構面上の３点を選択（選択→左、取消→右）してください。");
        }
    }
    DRAW_ON();
}

void Form8::showTypeChoice() {
    c("RADIO63").visible = c("RADIO64").visible = true;
    c("RADIO63").checked = c("RADIO64").checked = false;
    c("RADIO63").caption = "既存ﾀｲﾌﾟ選択";
    c("RADIO64").caption = "形鋼から選択";
}

void Form8::fillTypeList() {
    const Model& m = p_.model;
    Control& list = c("COMBO8");
    list.items.clear();
    for (int t = 1; t <= m.MemberTypeCount; ++t) {
        std::string text = "ﾀｲﾌﾟNo" + std::to_string(t) + ":";
        const int kind = m.TypeSectionKind[t];
        if (kind == kSectionRectangle) {
            text += "長方形　" + shownNumber(m.TypeRectB[t]) + " X " + shownNumber(m.TypeRectA[t]);
        } else if (isSteelKind(kind)) {
            const std::string* row = sectionTableRow(m, kind, m.TypeSteelNo[t]);
            std::string name = row ? cp932ToUtf8(sectionDesignation(*row)) : "";
            while (!name.empty() && name.back() == ' ')
                name.pop_back();
            text += name;
        } else {
            text += "A=" + shownNumber(m.TypeArea[t]) + ",Iy=" + mantissaPower(m.TypeIy[t]) +
                    ",Iz=" + mantissaPower(m.TypeIz[t]);
        }
        list.items.push_back(text);
    }
    list.selected = -1;
    list.visible = true;
}

void Form8::fillSectionList(int kind) {
    // TypeListKind 1 H, 2 box, 3 pipe.
    TypeListKind = static_cast<int16_t>(kind - kSectionHShape + 1);
    Control& list = c("COMBO8");
    list.items.clear();
    for (int r = 0; r < sectionRowCount(kind); ++r) {
        const std::string* row = sectionTableRow(p_.model, kind, r);
        list.items.push_back(row ? cp932ToUtf8(sectionDesignation(*row)) : "");
    }
    list.selected = -1;
    list.visible = true;
    setStatus(
        kind == kSectionSquarePipe ? "□形鋼リストから断面を選択して、設定ボタンを押してください。"
        : kind == kSectionHShape ? "Ｈ形鋼リストから断面を選択して、設定ボタンを押してください。"
                                 : "○形鋼リストから断面を選択して、設定ボタンを押してください。");
}

void Form8::RADIO63_ON() {
    if (EditOperation == EditOp::PinsAndSprings) {
        p_.PinSpringChoice = 3;
        c("BUTTON87").caption = "ピン入力";
        clearSelection();
        setStatus(operationStatus());
        DRAW_ON();
        return;
    }
    TypeListKind = 0;
    fillTypeList();
    setStatus("既存部材タイプのリストから部材タイプを選択して、設定ボタンを押してください。");
}

void Form8::RADIO64_ON() {
    if (EditOperation == EditOp::PinsAndSprings) {
        p_.PinSpringChoice = 4;
        // The operation button names what it will set, also while disabled.
        c("BUTTON87").caption = "バネ入力";
        clearSelection();
        setStatus(operationStatus());
        DRAW_ON();
        return;
    }
    TypeListKind = -1;
    c("COMBO8").visible = false;
    const char* const families[] = {"□ 形鋼", "Ｈ 形鋼", "○ 形鋼"};
    for (int i = 0; i < 3; ++i) {
        Control& r = c(kMethodRadios[i]);
        r.caption = families[i];
        r.enabled = true;
        r.checked = false;
    }
    setStatus("部材タイプとして設定する形鋼を選択してください。");
}

void Form8::FIPLANE_ON() {
    PlaneSelectMode = c("CHECK13").checked;
    for (const char* name : kOperationRadios)
        c(name).enabled = !PlaneSelectMode;
    for (const char* name : kMethodRadios)
        c(name).enabled = !PlaneSelectMode && (EditOperation == EditOp::DeleteMembers ||
                                               EditOperation == EditOp::AssignType);
    if (PlaneSelectMode) setStatus(kPlaneStatus);
}

void Form8::FIPLANE_OFF() {
    c("CHECK13").checked = false;
    PlaneSelectMode = false;
    for (const char* name : kOperationRadios)
        c(name).enabled = true;
    if (EditOperation != EditOp::None) {
        chooseOperation(EditOperation);
    } else {
        clearSelection();
        setStatus(kIdleStatus);
        DRAW_ON();
    }
}

// ---- picking

int Form8::nearest(int x, int y) const {
    return nearestNode(view, x, y);
}

void Form8::FORM8_MOUSEDOWN(MouseButton button, int x, int y) {
    if (EditOperation == EditOp::None && !PlaneSelectMode) {
        p_.say("骨組操作方法を選択してください。");
        return;
    }
    if ((EditOperation == EditOp::DeleteMembers || EditOperation == EditOp::AssignType) &&
        SelectMethod == 0 && !PlaneSelectMode) {
        p_.say("部材選択方法を選んでください。");
        return;
    }
    if (EditOperation == EditOp::PinsAndSprings && p_.PinSpringChoice == 0) {
        p_.say("ピンかバネを選択してください。");
        return;
    }
    const int node = nearest(x, y);
    if (node == 0) return;
    if (button == MouseButton::Left)
        pickLeft(node);
    else if (button == MouseButton::Right)
        pickRight(node);
}

bool Form8::onLine(const Line& line, int n) const {
    const Model& m = p_.model;
    const auto [a, b] = otherAxes(line.along);
    const float t = nodeCoordinate(m, n, line.along);
    return nodeCoordinate(m, n, a) == line.first && nodeCoordinate(m, n, b) == line.second &&
           t >= std::min(line.from, line.to) && t <= std::max(line.from, line.to);
}

bool Form8::lineFrom(int a, int b, Line& line, bool mark) {
    const Model& m = p_.model;
    line = Line{};
    const bool sx = m.NodeX[a] == m.NodeX[b], sy = m.NodeY[a] == m.NodeY[b],
               sz = m.NodeZ[a] == m.NodeZ[b];
    if (sx && sy)
        line.along = Axis::Z;
    else if (sx && sz)
        line.along = Axis::Y;
    else if (sy && sz)
        line.along = Axis::X;
    else
        return false;
    const auto [p, q] = otherAxes(line.along);
    line.first = nodeCoordinate(m, a, p);
    line.second = nodeCoordinate(m, a, q);
    line.from = nodeCoordinate(m, a, line.along);
    line.to = nodeCoordinate(m, b, line.along);
    line.set = true;
    if (mark)
        for (int n = 1; n <= m.NodeCount; ++n)
            if (onLine(line, n)) nodeMarked[n] = 1;
    return true;
}

void Form8::pickPlaneNode(int node) {
    const Model& m = p_.model;
    if (plane_.set) {
        // Method 6: the fourth pick is a node of the opposite plane.
        if (EditOperation == EditOp::AssignType && SelectMethod == 6) {
            pickedOppositePlaneNode(node);
            return;
        }
        p_.say("構面は選択済みです操作実行ボタンを押してください。");
        return;
    }
    if (std::find(EditPickedNodes.begin(), EditPickedNodes.end(), node) != EditPickedNodes.end()) {
        p_.say("節点は選択済みです操作実行ボタンを押してください。");
        return;
    }
    EditPickedNodes.push_back(node);
    if (EditPickedNodes.size() < 3) return;
    const int a = EditPickedNodes[0], b = EditPickedNodes[1], k = EditPickedNodes[2];
    bool found = false;
    for (Axis axis : {Axis::X, Axis::Y, Axis::Z}) {
        if (nodeCoordinate(m, a, axis) == nodeCoordinate(m, b, axis) &&
            nodeCoordinate(m, a, axis) == nodeCoordinate(m, k, axis)) {
            plane_.set = true;
            plane_.axis = axis;
            plane_.value = nodeCoordinate(m, a, axis);
            found = true;
            break;
        }
    }
    if (!found) {
        p_.say("Ｘ、Ｙ、Ｚ方向の面を選択してください。");
        EditPickedNodes.pop_back();
        return;
    }
    for (int n = 1; n <= m.NodeCount; ++n)
        if (nodeCoordinate(m, n, plane_.axis) == plane_.value) nodeMarked[n] = 1;
    for (int j = 1; j <= m.MemberCount; ++j)
        if (memberDrawable(m, j) && nodeMarked[m.MemberStartNode[j]] &&
            nodeMarked[m.MemberEndNode[j]])
            memberMarked[j] = 1;
    if (EditOperation == EditOp::MovePlane) {
        c(kFields[0][0]).caption = coordinateName(plane_.axis);
        c(kFields[0][1]).caption = shownNumber(plane_.value);
        c(kFields[2][0]).caption = "移動座標";
        c(kFields[2][1]).caption.clear();
        c("BUTTON87").enabled = true;
        setStatus(kPlaneMoveStatus);
    } else if (EditOperation == EditOp::AssignType && SelectMethod == 6) {
        setStatus(kOppositePlaneStatus);
    } else {
        setStatus("骨組修正を行ってください。");
        // The plane stays marked; the picks start again for the operation.
        EditPickedNodes.clear();
        c("CHECK13").checked = false;
        FIPLANE_ON();
    }
}

// AssignType by planes (method 6): the node of the opposite plane selects the
// members that join the two planes.
void Form8::pickedOppositePlaneNode(int node) {
    const Model& m = p_.model;
    EditPickedNodes.push_back(node);
    const float q = nodeCoordinate(m, node, plane_.axis);
    bool any = false;
    for (int k = 1; k <= m.MemberCount; ++k) {
        if (!memberDrawable(m, k)) continue;
        const float s = nodeCoordinate(m, m.MemberStartNode[k], plane_.axis);
        const float e = nodeCoordinate(m, m.MemberEndNode[k], plane_.axis);
        if (s == q && e == q) memberMarked[k] = 1;
        if ((s == plane_.value && e == q) || (s == q && e == plane_.value)) {
            memberSelected[k] = 1;
            any = true;
        }
    }
    if (!any) {
        p_.say("選択した部材軸間に部材は、ありません、選択をやり直してください。");
        EditPickedNodes.pop_back();
        return;
    }
    showAngleAndTypeChoice();
    c("CHECK13").checked = false;
    PlaneSelectMode = false;
}

void Form8::pickLeft(int node) {
    if (PlaneSelectMode || EditOperation == EditOp::MovePlane) {
        pickPlaneNode(node);
        DRAW_ON();
        return;
    }
    const bool picked =
        std::find(EditPickedNodes.begin(), EditPickedNodes.end(), node) != EditPickedNodes.end();
    if (picked) {
        p_.say(EditOperation == EditOp::MoveNode
                   ? "節点は選択済みです、他節点を上書きして操作実行ボタンを押してください。"
                   : "節点は選択済みです操作実行ボタンを押してください。");
        return;
    }
    if (chosenMember != 0 || (EditOperation == EditOp::AddMember && EditPickedNodes.size() == 2)) {
        p_.say("部材は選択済みです操作実行ボタンを押してください。");
        return;
    }
    // Operations that take a fixed number of picks refuse more.
    const std::size_t limit =
        EditOperation == EditOp::AddSupports                                             ? SIZE_MAX
        : EditOperation == EditOp::AddNodeAndMember || EditOperation == EditOp::MoveNode ? 1
        : EditOperation == EditOp::AssignType && SelectMethod == 4                       ? 4
        : EditOperation == EditOp::DeleteMembers && SelectMethod == 1                    ? 1
                                                                                         : 2;
    if (EditPickedNodes.size() >= limit) {
        p_.say("節点は選択済みです操作実行ボタンを押してください。");
        return;
    }
    EditPickedNodes.push_back(node);
    afterPick(node);
    DRAW_ON();
}

void Form8::afterPick(int node) {
    switch (EditOperation) {
    case EditOp::DeleteMembers:
        pickedForDeletion(node);
        break;
    case EditOp::AddMember:
        pickedMemberEnds();
        break;
    case EditOp::AddNodeAndMember:
        pickedNodeToJoin(node);
        break;
    case EditOp::MoveLine:
        pickedLine();
        break;
    case EditOp::MoveNode:
        pickedNodeToMove(node);
        break;
    case EditOp::SplitMember:
    case EditOp::PinsAndSprings:
        pickedMemberBetween();
        break;
    case EditOp::AddSupports:
        pickedSupport(node);
        break;
    case EditOp::AssignType:
        selectMembersOnLines();
        break;
    case EditOp::None:
    case EditOp::MovePlane: // picks go to pickPlaneNode
        break;
    }
}

void Form8::showNodeFields(int n) {
    const Model& m = p_.model;
    showFields("Ｘ座標", "Ｙ座標", "Ｚ座標");
    c("EDIT190").caption = shownNumber(m.NodeX[n]);
    c("EDIT191").caption = shownNumber(m.NodeY[n]);
    c("EDIT192").caption = shownNumber(m.NodeZ[n]);
}

void Form8::pickedForDeletion(int node) {
    const Model& m = p_.model;
    if (SelectMethod == 1) {
        for (int k = 1; k <= m.MemberCount; ++k)
            if (m.MemberStartNode[k] == node || m.MemberEndNode[k] == node) memberSelected[k] = 1;
        c("BUTTON87").enabled = true;
        return;
    }
    if (EditPickedNodes.size() != 2) return;
    if (!lineFrom(EditPickedNodes[0], EditPickedNodes[1], line1_, true)) {
        p_.say("Ｘ、Ｙ、Ｚ方向の軸を選択してください。");
        EditPickedNodes.pop_back();
        return;
    }
    bool any = false;
    for (int k = 1; k <= m.MemberCount; ++k) {
        if (!memberDrawable(m, k)) continue;
        const bool s = nodeMarked[m.MemberStartNode[k]], e = nodeMarked[m.MemberEndNode[k]];
        if (SelectMethod == 2 ? (s && e) : (s || e)) {
            memberSelected[k] = 1;
            any = true;
        }
    }
    if (!any && SelectMethod == 2 &&
        p_.say("選択した節点間を軸とする部材は、ありません、続行しますか。", MessageButtons::YesNo,
               MessageIcon::Question) == MessageResult::No) {
        EditPickedNodes.pop_back();
        std::fill(nodeMarked.begin(), nodeMarked.end(), 0);
        line1_ = Line{};
        return;
    }
    c("BUTTON87").enabled = true;
}

void Form8::pickedMemberEnds() {
    if (EditPickedNodes.size() != 2) return;
    showFields(nullptr, "部材Ｎｏ", "主軸角");
    c("EDIT191").caption = std::to_string(p_.model.MemberCount + 1);
    c("EDIT192").caption = "0";
    showTypeChoice();
    setStatus("部材タイプを選択して、追加ボタンを押してください。");
    c("BUTTON87").enabled = true;
}

void Form8::pickedNodeToJoin(int node) {
    showNodeFields(node);
    c("BUTTON87").caption = "節点追加";
    setStatus("座標は、上の通りです、新設節点座標を上書き→節点追加ボタン");
    c("BUTTON87").enabled = true;
}

void Form8::pickedLine() {
    if (EditPickedNodes.size() != 2) return;
    if (!lineFrom(EditPickedNodes[0], EditPickedNodes[1], line1_, true)) {
        p_.say("Ｘ、Ｙ、Ｚ方向の軸を選択してください。");
        EditPickedNodes.pop_back();
        return;
    }
    const auto [a, b] = otherAxes(line1_.along);
    showFields(nullptr, coordinateName(a), coordinateName(b));
    c("EDIT191").caption = shownNumber(line1_.first);
    c("EDIT192").caption = shownNumber(line1_.second);
    setStatus("共通座標は、上の通りです、移動する座標を上書き→軸移動ボタン");
    c("BUTTON87").enabled = true;
}

void Form8::pickedNodeToMove(int node) {
    showNodeFields(node);
    setStatus("座標は、上の通りです移動する座標を上書き→節点移動ボタン");
    c("BUTTON87").enabled = true;
}

// SplitMember and PinsAndSprings: the member joining the two picks.
void Form8::pickedMemberBetween() {
    if (EditPickedNodes.size() != 2) return;
    chosenMember = memberBetween(p_.model, EditPickedNodes[0], EditPickedNodes[1]);
    if (chosenMember == 0) {
        p_.say(kNoMemberBetween);
        EditPickedNodes.clear();
        return;
    }
    const bool split = EditOperation == EditOp::SplitMember;
    const bool pin = p_.PinSpringChoice == 3;
    if (split)
        setStatus("分割する部材は、上の通りです部材分割ボタンを押してください。");
    else
        setStatus(pin ? "ピン接合とする部材は、上の通りです部材、入力ボタンを押してください。"
                      : "バネ接合とする部材は、上の通りです部材、入力ボタンを押してください。");
    c("BUTTON87").caption = split ? "部材分割" : pin ? "ピン入力" : "バネ入力";
    c("BUTTON87").enabled = true;
}

void Form8::pickedSupport(int node) {
    showNodeFields(node);
    setStatus("座標は、上の通りです、実行→支持点追加ボタン、取り止め→右クリック");
    c("BUTTON87").enabled = true;
}

// The members are chosen for a member type: the angle field and the choice
// between an existing type and a steel section.
void Form8::showAngleAndTypeChoice() {
    c(kFields[2][0]).caption = "主軸角";
    c(kFields[2][1]).caption = "0";
    showTypeChoice();
    c("BUTTON87").enabled = true;
    setStatus(kChooseTypeStatus);
}

// Member-type assignment by axes (methods 4 and 5).
void Form8::selectMembersOnLines() {
    const Model& m = p_.model;
    const std::size_t count = EditPickedNodes.size();
    if (count == 2) {
        if (!lineFrom(EditPickedNodes[0], EditPickedNodes[1], line1_, true)) {
            p_.say("Ｘ、Ｙ、Ｚ方向の軸を選択してください。");
            EditPickedNodes.pop_back();
            return;
        }
        bool any = false;
        int only = 0, found = 0;
        for (int k = 1; k <= m.MemberCount; ++k) {
            if (!memberDrawable(m, k)) continue;
            if (onLine(line1_, m.MemberStartNode[k]) && onLine(line1_, m.MemberEndNode[k])) {
                (SelectMethod == 5 ? memberSelected : memberMarked)[k] = 1;
                any = true;
                only = k;
                ++found;
            }
        }
        if (!any && p_.say("選択した節点間を軸とする部材は、ありません、続行しますか。",
                           MessageButtons::YesNo, MessageIcon::Question) == MessageResult::No) {
            EditPickedNodes.pop_back();
            std::fill(nodeMarked.begin(), nodeMarked.end(), 0);
            line1_ = Line{};
            return;
        }
        if (SelectMethod == 5) {
            showAngleAndTypeChoice();
            if (found == 1) c(kFields[2][1]).caption = shownNumber(m.MemberAngle[only]);
        } else {
            setStatus("部材ﾀｲﾌﾟを設定する部材郡の他端となる部材軸を選択してください。");
        }
        return;
    }
    if (SelectMethod == 4 && count == 4) {
        Line second;
        if (!lineFrom(EditPickedNodes[2], EditPickedNodes[3], second, false) ||
            second.along != line1_.along) {
            p_.say("選択済みの軸に平行な軸を選択してください。");
            EditPickedNodes.pop_back();
            return;
        }
        line2_ = second;
        bool any = false;
        for (int k = 1; k <= m.MemberCount; ++k) {
            if (!memberDrawable(m, k)) continue;
            const int s = m.MemberStartNode[k], e = m.MemberEndNode[k];
            const bool s1 = onLine(line1_, s), e1 = onLine(line1_, e);
            const bool s2 = onLine(line2_, s), e2 = onLine(line2_, e);
            if ((s1 && e2) || (s2 && e1)) {
                if ((s1 && e1) || (s2 && e2)) continue; // along an axis
                memberSelected[k] = 1;
                any = true;
            }
        }
        if (!any) {
            p_.say("選択した部材軸間に部材は、ありません、選択をやり直してください。");
            EditPickedNodes.resize(2);
            line2_ = Line{};
            return;
        }
        for (int n = 1; n <= m.NodeCount; ++n)
            if (onLine(line2_, n)) nodeMarked[n] = 1;
        showAngleAndTypeChoice();
    }
}

void Form8::pickRight(int node) {
    auto it = std::find(EditPickedNodes.begin(), EditPickedNodes.end(), node);
    if (it == EditPickedNodes.end()) {
        DRAW_ON();
        return;
    }
    if (plane_.set) {
        p_.say("構面選択を解除するには、選択解除ボタンを押してください。");
        return;
    }
    if (line1_.set) {
        p_.say("選択軸を解除するには、選択解除ボタンを押してください。");
        return;
    }
    if (insertStep2_) {
        p_.say("ｷｬﾝｾﾙは、できません追加を終了後、削除してください。");
        return;
    }
    EditPickedNodes.erase(it);
    // What the removed pick selected goes with it.
    std::fill(memberSelected.begin(), memberSelected.end(), 0);
    chosenMember = 0;
    if (EditOperation == EditOp::DeleteMembers && SelectMethod == 1)
        for (int n : EditPickedNodes)
            afterPick(n);
    c("BUTTON87").enabled =
        !EditPickedNodes.empty() && (EditOperation == EditOp::AddSupports ||
                                     (EditOperation == EditOp::DeleteMembers && SelectMethod == 1));
    if (EditPickedNodes.empty()) showFields(nullptr, nullptr, nullptr);
    DRAW_ON();
}

// ---- applying an operation

bool Form8::readNumber(const char* edit, float& value, const char* message) {
    const std::string& text = c(edit).caption;
    if (text.find_first_not_of(' ') == std::string::npos) {
        p_.say(message);
        return false;
    }
    for (const auto& field : kFields)
        if (std::string(field[1]) == edit &&
            !checkNumberBoxes(p_, *this, {{edit, c(field[0]).caption, kAnyValue}}))
            return false;
    value = boxSingle(text);
    return true;
}

bool Form8::readAngle(float& angle) {
    return readNumber("EDIT192", angle, "主軸角を入力してください。");
}

// The member type chosen in COMBO8: an existing type, or a new one made from
// the chosen steel section (added to `model`).
bool Form8::chooseType(Model& model, int& type) {
    const Control& list = c("COMBO8");
    if (!list.visible || list.selected < 0) {
        p_.say("部材タイプを選択してください。");
        return false;
    }
    if (TypeListKind == 0) {
        type = list.selected + 1;
        return true;
    }
    const int kind = TypeListKind == 1   ? kSectionHShape
                     : TypeListKind == 2 ? kSectionSquarePipe
                                         : kSectionRoundPipe;
    const EditMessage refusal = addSteelType(model, kind, list.selected, type);
    if (!refusal.empty()) {
        p_.say(refusal);
        return false;
    }
    return true;
}

void Form8::pushUndo() {
    history_.begin(p_.model);
    c("BUTTON152").enabled = true;
}

void Form8::refused(const EditMessage& message) {
    // The operation left the model as it was; a steel type made for it goes too.
    history_.cancel(p_.model);
    c("BUTTON152").enabled = history_.steps() > 0;
    if (!message.empty()) p_.say(message);
}

void Form8::applied() {
    ModelModified = 1;
    // The results belong to the frame before the change.
    p_.model.AnalysisDone = 0;
    p_.menuEnable({"BUTTON3", "BUTTON35"});
    // Picks, marks and fields are cleared; the same operation stays chosen.
    const EditOp op = EditOperation;
    const int16_t choice = p_.PinSpringChoice;
    chooseOperation(op);
    if (op == EditOp::PinsAndSprings && choice != 0) {
        p_.PinSpringChoice = choice;
        c(choice == 3 ? "RADIO63" : "RADIO64").checked = true;
        c("BUTTON87").caption = choice == 3 ? "ピン入力" : "バネ入力";
        setStatus(operationStatus());
    }
    EditLoopRequest = 3;
}

void Form8::finish(const EditMessage& result) {
    if (!result.empty()) return refused(result);
    applied();
}

std::vector<int> Form8::selectedMembers() const {
    std::vector<int> members;
    for (int k = 1; k <= p_.model.MemberCount && k < static_cast<int>(memberSelected.size()); ++k)
        if (memberSelected[k]) members.push_back(k);
    return members;
}

int Form8::firstPick() const {
    return EditPickedNodes.empty() ? 0 : EditPickedNodes[0];
}

bool Form8::readCoordinates(float& x, float& y, float& z) {
    const char* message = "座標を入力してください。";
    return readNumber("EDIT190", x, message) && readNumber("EDIT191", y, message) &&
           readNumber("EDIT192", z, message);
}

void Form8::ENTER_ON() {
    if (EditOperation == EditOp::None) return;
    pushUndo();
    switch (EditOperation) {
    case EditOp::DeleteMembers:
        return applyDeletion();
    case EditOp::AddMember:
        return applyNewMember();
    case EditOp::AddNodeAndMember:
        return applyNodeAndMember();
    case EditOp::MovePlane:
        return applyPlaneMove();
    case EditOp::MoveLine:
        return applyLineMove();
    case EditOp::MoveNode:
        return applyNodeMove();
    case EditOp::SplitMember:
        return applySplit();
    case EditOp::AddSupports:
        return applySupports();
    case EditOp::PinsAndSprings:
        return applyRelease();
    case EditOp::AssignType:
        return applyType();
    case EditOp::None:
        break;
    }
}

void Form8::applyDeletion() {
    finish(deleteMembers(p_.model, selectedMembers()));
}

void Form8::applyNewMember() {
    float angle = 0;
    int type = 0;
    if (EditPickedNodes.size() != 2) return refused("節点を選択してください。");
    if (!readAngle(angle) || !chooseType(p_.model, type)) return refused({});
    finish(addMember(p_.model, EditPickedNodes[0], EditPickedNodes[1], type, angle));
}

// Two presses: the first inserts the node after the picked one, the second
// joins the two by a member.
void Form8::applyNodeAndMember() {
    const int first = firstPick();
    if (first == 0) return refused("節点を選択してください。");
    if (!insertStep2_) return insertPickedNode(first);
    float angle = 0;
    int type = 0;
    if (!readAngle(angle) || !chooseType(p_.model, type)) return refused({});
    const EditMessage result = addMember(p_.model, first, first + 1, type, angle);
    if (!result.empty()) return refused(result);
    applied();
    c("BUTTON87").caption = "節点追加";
    setStatus("接続する節点をクリック（選択→左、取消→右）してください。");
}

void Form8::insertPickedNode(int after) {
    Model& m = p_.model;
    float x = 0, y = 0, z = 0;
    if (!readCoordinates(x, y, z)) return refused({});
    const EditMessage result = insertNodeAfter(m, after, x, y, z);
    if (!result.empty()) return refused(result);
    ModelModified = 1;
    m.AnalysisDone = 0;
    insertStep2_ = true;
    EditPickedNodes = {after, after + 1};
    nodeMarked.assign(m.NodeCount + 2, 0);
    showFields(nullptr, "部材Ｎｏ", "主軸角");
    c("EDIT191").caption = std::to_string(m.MemberCount + 1);
    c("EDIT192").caption = "0";
    showTypeChoice();
    setStatus("部材タイプを選択、主軸角を入力→部材追加ボタン");
    c("BUTTON87").caption = "部材追加";
    showNormalView();
    DRAW_ON();
}

void Form8::applyPlaneMove() {
    float to = 0;
    if (!plane_.set) return refused("構面上の３点をクリックしてください。");
    if (!readNumber("EDIT192", to, "構面を移動する先の、共有座標を入力してください。"))
        return refused({});
    finish(movePlane(p_.model, plane_.axis, plane_.value, to));
}

void Form8::applyLineMove() {
    const Model& m = p_.model;
    float first = 0, second = 0;
    if (!line1_.set) return refused("列の始点・終点をクリックしてください。");
    const char* message = "移動する軸の共有座標を上書きしてください。";
    if (!readNumber("EDIT191", first, message) || !readNumber("EDIT192", second, message))
        return refused({});
    std::vector<int> nodes;
    for (int n = 1; n <= m.NodeCount; ++n)
        if (nodeMarked[n]) nodes.push_back(n);
    finish(moveLine(p_.model, nodes, line1_.along, first, second));
}

void Form8::applyNodeMove() {
    float x = 0, y = 0, z = 0;
    const int node = firstPick();
    if (node == 0) return refused("節点を選択してください。");
    if (!readCoordinates(x, y, z)) return refused({});
    finish(moveNode(p_.model, node, x, y, z));
}

void Form8::applySplit() {
    finish(splitMember(p_.model, chosenMember));
}

void Form8::applySupports() {
    finish(addSupports(p_.model, EditPickedNodes));
}

void Form8::applyRelease() {
    if (chosenMember == 0) return refused(kNoMemberBetween);
    p_.model.CurrentMember = static_cast<int16_t>(chosenMember);
    applied();
    // The release form edits the member's pins or springs at once and is
    // modal over this window; the picture follows when it ends.
    if (auto* release = dynamic_cast<Form7*>(p_.openForm("FORM7")))
        release->afterStore = [this] { DRAW_ON(); };
}

void Form8::applyType() {
    Model& m = p_.model;
    const std::vector<int> members = selectedMembers();
    float angle = 0;
    int type = 0;
    if (!readAngle(angle) || !chooseType(m, type)) return refused({});
    // A uniform load acts in the member's axes: turning them turns the load.
    bool turnsLoad = false;
    for (int k : members)
        if (m.MemberLoadFlag[k] == 1 && m.MemberAngle[k] != angle) turnsLoad = true;
    if (turnsLoad &&
        p_.say("等分布荷重のある部材の主軸角が変わり、荷重の向きも部材軸と共に回ります。"
               "設定しますか。",
               MessageButtons::YesNo, MessageIcon::Question) == MessageResult::No)
        return refused({});
    finish(assignType(m, members, type, angle));
}

void Form8::UNDO_ON() {
    if (!history_.undo(p_.model)) return;
    c("BUTTON152").enabled = history_.steps() > 0;
    // Back at the opening only while no step has been dropped from the history.
    ModelModified = history_.steps() == 0 && history_.reachesStart() ? 0 : 1;
    const EditOp op = EditOperation;
    clearSelection();
    showNormalView();
    if (op != EditOp::None)
        chooseOperation(op);
    else
        DRAW_ON();
}

// ---- end

bool Form8::writeFiles() {
    Model& m = p_.model;
    if (m.FrameFileState == 1 && !m.DataName.empty()) return BUTTON70_ON(p_, true);
    // Read from a file (or never written): a new name, or the old one
    // overwritten on Cancel or an empty answer. Where no name exists yet,
    // one must be given, so that the changes are not lost. A new name goes
    // to the working folder, and replaces a file there only when the user
    // says so.
    bool keepName = true;
    for (;;) {
        auto answer = p_.io.dialogs.input("修正ﾃﾞｰﾀ名の入力(前ﾌｧｲﾙ上書→ｷｬﾝｾﾙ)", "rahmen", "");
        if (answer && !answer->empty()) {
            const std::string name = firstCharacters(*answer, 27);
            if (!acceptDataName(p_, name) || !mayReplaceFilesOf(p_, name)) continue;
            m.DataName = name;
            m.DataFolder.clear();
            keepName = false;
        }
        if (!m.DataName.empty()) break;
        p_.say("データ名を入力してください。");
    }
    // Keeping the name replaces the file that was read, as the question says
    // (in the folder it was read from); a new name was agreed to above.
    return BUTTON70_ON(p_, !keepName || m.FrameFileState == 2);
}

void Form8::BUTTON150_ON() {
    if (ModelModified == 1 && !writeFiles()) return; // the file could not be written: stay
    EditLoopRequest = 2;
    EditOperation = EditOp::None;
    clearSelection();
    p_.model.GridGenerated = 0;
    p_.menuEnable({}, {"BUTTON84"});
    ModelModified = 0;
    for (const char* name : {"HSCROLL2", "VSCROLL3", "VSCROLL4"})
        c(name).scrollPos = 0;
    setStatus(kIdleStatus);
    close();
}

void Form8::MOFR1HP_ON() {
    p_.help("マウス骨組修正");
}

void registerEditForms(Program& program) {
    program.registerForm("FORM8", [](Program& p) { return std::make_unique<Form8>(p); });
}

} // namespace rahmen
