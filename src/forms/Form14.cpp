#include "forms/Form14.h"

#include "forms/Form4.h"
#include "forms/InputForms.h"
#include "model/Limits.h"
#include "model/Program.h"
#include "platform/FormServices.h"
#include "platform/Sjis.h"
#include "sections/Sections.h"

#include <string>

namespace rahmen {

namespace {

constexpr const char* kGroupRadios[] = {"RADIO31", "RADIO32", "RADIO33", "RADIO34"};
constexpr const char* kFamilyRadios[] = {"RADIO28", "RADIO29", "RADIO30"};
constexpr const char* kTypedBoxes[] = {"EDIT161", "EDIT162", "EDIT163", "EDIT164"};

} // namespace

Form14::Form14(Program& program) : Form("FORM14", "部材設定", 600, 480), p_(program) {
    setHelpKeyword("部材設定");
    addRadio("RADIO31", "柱　", 20, 16, 90, 24, "members");
    addRadio("RADIO32", "全方向梁", 120, 16, 130, 24, "members");
    addRadio("RADIO33", "Ｙ方向梁", 260, 16, 130, 24, "members");
    addRadio("RADIO34", "Ｘ方向梁", 400, 16, 130, 24, "members");
    addEdit("EDIT157", "1", 20, 52, 60, 26);
    addLabel("TEXT68", "階　　～", 86, 56, 90, 22);
    addEdit("EDIT158", "", 180, 52, 60, 26);
    addLabel("TEXT69", "階　迄", 246, 56, 80, 22);

    addGroup("GROUP11", "簡易・断面設定", 10, 90, 580, 170);
    addRadio("RADIO28", "H 形鋼", 24, 114, 120, 24, "family");
    addRadio("RADIO29", "○ 鋼管", 150, 114, 120, 24, "family");
    addRadio("RADIO30", "□ 鋼管", 276, 114, 120, 24, "family");
    addCombo("COMBO6", 24, 146, 260, 26);
    addLabel("TEXT70", "Ａ寸法（ｃｍ）", 24, 188, 130, 22);
    addEdit("EDIT159", "", 160, 184, 90, 26);
    addLabel("TEXT71", "Ｂ寸法（ｃｍ）", 270, 188, 130, 22);
    addEdit("EDIT160", "", 406, 184, 90, 26);
    addButton("BUTTON82", "設定", 24, 222, 100, 30);

    addGroup("GROUP12", "数値・断面設定", 10, 270, 580, 146);
    addLabel("TEXT72", "断面積（ｃｍ）", 24, 296, 170, 22);
    addEdit("EDIT161", "", 196, 292, 90, 26);
    addLabel("TEXT73", "梁：ly 柱：lx(cm4)", 300, 296, 180, 22);
    addEdit("EDIT162", "", 484, 292, 90, 26);
    addLabel("TEXT74", "梁：lz 柱：ly(cm4)", 24, 334, 170, 22);
    addEdit("EDIT163", "", 196, 330, 90, 26);
    addLabel("TEXT75", "ねじり定数（ｃｍ４）", 300, 334, 180, 22);
    addEdit("EDIT164", "", 484, 330, 90, 26);
    addButton("BUTTON83", "設定", 24, 374, 100, 30);

    addButton("BUTTON80", "終了", 20, 430, 110, 32);
    addButton("BUTTON81", "ヘルプ", 470, 430, 110, 32);

    onClick("RADIO31", [this] { RADIO31_ON(); });
    onClick("RADIO32", [this] { RADIO32_ON(); });
    onClick("RADIO33", [this] { RADIO33_ON(); });
    onClick("RADIO34", [this] { RADIO34_ON(); });
    onClick("RADIO28", [this] { RADIO28_ON(); });
    onClick("RADIO30", [this] { RADIO30_ON(); });
    onClick("RADIO29", [this] { RADIO29_ON(); });
    onClick("BUTTON82", [this] { BUTTON82_ON(); });
    onClick("BUTTON83", [this] { INPMEMB2_ON(); });
    onClick("BUTTON80", [this] { FRM14END_ON(); });
    onClick("BUTTON81", [this] { ADDELHP_ON(); });
    numberBoxes();
}

void Form14::FORM14_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void Form14::FORM14_START() {
    FORM14_INITXP();
    CENTER_ON(*this, p_.io.desktop);
    c("EDIT157").caption = "1";
    TypesMade = 0;
    Progress = 0;
    // The types of this visit are counted from nothing, like the types.
    p_.model.RectTypeCount = 0;
    p_.model.SteelTypeCount = 0;
    c("RADIO31").checked = true;
    MemberGroup = 1;
    DAT_READ(p_.model);
}

void Form14::RADIO31_ON() {
    MemberGroup = 1;
}
void Form14::RADIO32_ON() {
    MemberGroup = 2;
}
void Form14::RADIO33_ON() {
    MemberGroup = 3;
}
void Form14::RADIO34_ON() {
    MemberGroup = 4;
}

void Form14::chooseFamily(int16_t family) {
    SteelFamily = family;
    const int kind = family + 1; // 2 H-shape, 3 square pipe, 4 round pipe
    Control& list = c("COMBO6");
    list.items.clear();
    for (int row = 0; row < sectionRowCount(kind); ++row) {
        const std::string* text = sectionTableRow(p_.model, kind, row);
        list.items.push_back(text ? cp932ToUtf8(sectionDesignation(*text)) : std::string());
    }
    list.selected = list.items.empty() ? -1 : 0;
    list.caption = list.items.empty() ? "" : list.items.front();
}

void Form14::RADIO28_ON() {
    chooseFamily(1);
}
void Form14::RADIO30_ON() {
    chooseFamily(2);
}
void Form14::RADIO29_ON() {
    chooseFamily(3);
}

bool Form14::readRange(int& first, int& last) {
    if (MemberGroup == 0) {
        p_.say("断面設定する部材を選択してください。");
        return false;
    }
    const long f = boxWhole(c("EDIT157").caption);
    const long u = boxWhole(c("EDIT158").caption);
    if (u == 0) {
        p_.say("断面設定する階数を入力してください。");
        setFocus("EDIT158");
        return false;
    }
    const int storeys = p_.grid.StoreyCount;
    if (f < 1 || f > u || u > storeys) {
        p_.say("断面設定する階は 1～" + std::to_string(storeys) +
               " の範囲で、始めの階から終りの階の順に入力してください。");
        setFocus("EDIT157");
        return false;
    }
    first = static_cast<int>(f);
    last = static_cast<int>(u);
    return true;
}

void Form14::applyType(int t, int first, int last, bool withShear) {
    Model& m = p_.model;
    const GridVariables& g = p_.grid;
    // The group's block of each storey, as offsets within the storey.
    int from = 1, to = g.MembersPerStorey;
    if (MemberGroup >= 2) from = g.ColumnsPerStorey + 1;
    if (MemberGroup == 3) to = g.ColumnsPerStorey + g.YBeamsPerStorey;
    if (MemberGroup == 4) from = g.ColumnsPerStorey + g.YBeamsPerStorey + 1;
    for (int k = first; k <= last; ++k)
        for (int i = from; i <= to; ++i) {
            const int member = (k - 1) * g.MembersPerStorey + i;
            if (withShear) {
                m.copyTypeToMember(member, t);
            } else {
                m.MemberArea[member] = m.TypeArea[t];
                m.MemberIy[member] = m.TypeIy[t];
                m.MemberIz[member] = m.TypeIz[t];
                m.MemberJ[member] = m.TypeJ[t];
            }
            m.MemberTypeNo[member] = static_cast<int16_t>(t);
        }
}

void Form14::advance(int last, bool typed) {
    if (last < p_.grid.StoreyCount) {
        // The same group goes on upward.
        c("EDIT157").caption = std::to_string(last + 1);
        c("EDIT158").caption = "";
        return;
    }
    Progress = static_cast<int16_t>(Progress + (MemberGroup == 2 ? 2 : 1));
    const bool beamsNext = MemberGroup == 1 && !typed;
    for (const char* radio : kGroupRadios)
        c(radio).checked = false;
    c("RADIO32").checked = beamsNext;
    MemberGroup = beamsNext ? 2 : 0;
    c("EDIT157").caption = "1";
    c("EDIT158").caption = "";
    if (!typed) {
        Control& list = c("COMBO6");
        list.items.clear();
        list.selected = -1;
        list.caption = "";
        for (const char* radio : kFamilyRadios)
            c(radio).checked = false;
        SteelFamily = 0;
    }
}

void Form14::BUTTON82_ON() {
    int first = 0, last = 0;
    if (!readRange(first, last)) return;
    Model& m = p_.model;
    const bool steel = p_.grid.StructureKind != 2;
    std::optional<SteelSection> section;
    double a = 0, b = 0;
    if (steel) {
        if (SteelFamily != 0)
            section = SteelSectionProperties(m, SteelFamily + 1, c("COMBO6").selected,
                                             SquarePipeShear::HalfArea);
        if (!section) {
            p_.say("形鋼の種類と断面を選択してください。");
            return;
        }
    } else {
        a = boxNumber(c("EDIT159").caption);
        b = boxNumber(c("EDIT160").caption);
        if (a <= 0 || b <= 0) {
            p_.say("Ａ寸法とＢ寸法には 0 より大きい値を入力してください。");
            setFocus(a <= 0 ? "EDIT159" : "EDIT160");
            return;
        }
        if (!checkNumberBoxes(
                p_, *this,
                {{"EDIT159", "Ａ寸法", kRectangleSize}, {"EDIT160", "Ｂ寸法", kRectangleSize}}))
            return;
        if (a < b && MemberGroup >= 2 &&
            p_.say("水平(XY方向)幅＞垂直(Z方向)高さとしますか？", MessageButtons::YesNo,
                   MessageIcon::Question) == MessageResult::No)
            return;
    }
    if (!checkLimit(p_.io.dialogs, "部材タイプ数", TypesMade + 1L, kMaxMemberTypes)) return;

    const int t = ++TypesMade;
    if (steel) {
        storeSteelSection(m, t, *section);
        ++m.SteelTypeCount;
    } else {
        m.TypeArea[t] = toSingle(a * b);
        m.TypeIy[t] = toSingle(b * a * a * a / 12);
        m.TypeIz[t] = toSingle(a * b * b * b / 12);
        m.TypeJ[t] = toSingle(rectangleTorsionConstant(a, b));
        // Shear areas as every other rectangle type has them.
        m.TypeShearAreaY[t] = m.TypeShearAreaZ[t] = toSingle(a * b);
        m.TypeSectionKind[t] = kSectionRectangle;
        m.TypeRectA[t] = toSingle(a);
        m.TypeRectB[t] = toSingle(b);
        ++m.RectTypeCount;
    }
    applyType(t, first, last, true);
    advance(last, false);
}

void Form14::INPMEMB2_ON() {
    int first = 0, last = 0;
    if (!readRange(first, last)) return;
    double values[4];
    for (int i = 0; i < 4; ++i) {
        values[i] = boxNumber(c(kTypedBoxes[i]).caption);
        if (values[i] <= 0) {
            p_.say("断面積、断面二次モーメント、ねじり定数には 0 より大きい値を入力してください。");
            setFocus(kTypedBoxes[i]);
            return;
        }
    }
    if (!checkNumberBoxes(p_, *this,
                          {{"EDIT161", "断面積", kAnyValue},
                           {"EDIT162", "断面2次モーメント Iy", kAnyValue},
                           {"EDIT163", "断面2次モーメント Iz", kAnyValue},
                           {"EDIT164", "ねじり定数", kAnyValue}}))
        return;
    if (!checkLimit(p_.io.dialogs, "部材タイプ数", TypesMade + 1L, kMaxMemberTypes)) return;
    Model& m = p_.model;
    const int t = ++TypesMade;
    m.TypeArea[t] = toSingle(values[0]);
    m.TypeIy[t] = toSingle(values[1]);
    m.TypeIz[t] = toSingle(values[2]);
    m.TypeJ[t] = toSingle(values[3]);
    applyType(t, first, last, false);
    advance(last, true);
    for (const char* box : kTypedBoxes)
        c(box).caption = "";
}

bool Form14::everyMemberSet() const {
    const Model& m = p_.model;
    for (int k = 1; k <= m.MemberCount; ++k)
        if (!(m.MemberArea[k] > 0)) return false;
    return true;
}

void Form14::FRM14END_ON() {
    if (Progress < 3 || !everyMemberSet()) {
        const MessageResult answer = p_.say("部材の設定は、完了していません。（キャンセル→終了）",
                                            MessageButtons::RetryCancel, MessageIcon::Exclamation);
        if (answer != MessageResult::Cancel) return;
        // Abandoned: the grid form builds the grid again with default sections.
        p_.model.GridGenerated = 0;
        close();
        return;
    }
    p_.model.MemberTypeCount = TypesMade;
    close();
}

void Form14::ADDELHP_ON() {
    p_.help("部材設定");
}

} // namespace rahmen
