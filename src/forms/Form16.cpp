#include "forms/Form16.h"

#include "forms/InputForms.h"
#include "model/Program.h"
#include "platform/FormServices.h"
#include "platform/Sjis.h"
#include "sections/Sections.h"

#include <algorithm>

namespace rahmen {

namespace {

constexpr int kRows = 5;

// The radio columns from left to right, as the headings of the form read.
constexpr int16_t kColumnFamily[3] = {Form16::kHShapeFamily, Form16::kRoundPipeFamily,
                                      Form16::kSquarePipeFamily};
const char* const kColumnCaption[3] = {"Ｈ形鋼標準", "○鋼管", "□鋼管"};

// The section kind (TypeSectionKind) of a family: 2 H-shape, 3 square pipe,
// 4 round pipe.
int16_t kindOf(int16_t family) {
    return static_cast<int16_t>(family + 1);
}

} // namespace

std::string Form16::radio(int r, int16_t family) {
    int column = 0;
    while (column < 2 && kColumnFamily[column] != family)
        ++column;
    return "RADIO" + std::to_string(10 + 3 * (r - 1) + column);
}

Form16::Form16(Program& program) : Form("FORM16", "部材タイプ入力２", 660, 300), p_(program) {
    setHelpKeyword("部材ﾀｲﾌﾟ入力２");
    addLabel("TEXT69", "タイプＮｏ", 20, 16, 90, 20);
    addLabel("TEXT70", "形状選択 (単位mm)", 120, 16, 300, 20);

    // Row by row, so that Tab runs through one type before the next. The
    // type numbers are shown, not typed; each row's radio buttons exclude
    // only each other.
    const int radioLeft[3] = {120, 245, 340};
    const int radioWidth[3] = {120, 90, 90};
    for (int r = 1; r <= kRows; ++r) {
        const int y = 44 + 36 * (r - 1);
        addEdit(numberBox(r), "", 20, y, 80, 26).enabled = false;
        const std::string group = "row" + std::to_string(r);
        for (int column = 0; column < 3; ++column)
            addRadio(radio(r, kColumnFamily[column]), kColumnCaption[column], radioLeft[column], y,
                     radioWidth[column], 26, group);
        addCombo(list(r), 440, y, 200, 26);
    }

    addButton("BUTTON88", "次ページ", 20, 240, 110, 32);
    addButton("BUTTON85", "終了", 145, 240, 110, 32);
    addButton("BUTTON86", "リスト外入力", 270, 240, 130, 32);
    addButton("BUTTON87", "キャンセル", 415, 240, 110, 32);
    addButton("BUTTON89", "ヘルプ", 540, 240, 100, 32);

    numberBoxes();
    onClick("RADIO10", [this] { SH_ON(); });
    onClick("RADIO11", [this] { RADIO11_ON(); });
    onClick("RADIO12", [this] { RADIO12_ON(); });
    onClick("RADIO13", [this] { RADIO13_ON(); });
    onClick("RADIO14", [this] { RADIO14_ON(); });
    onClick("RADIO15", [this] { RADIO15_ON(); });
    onClick("RADIO16", [this] { RADIO16_ON(); });
    onClick("RADIO17", [this] { RADIO17_ON(); });
    onClick("RADIO18", [this] { RADIO18_ON(); });
    onClick("RADIO19", [this] { RADIO19_ON(); });
    onClick("RADIO20", [this] { RADIO20_ON(); });
    onClick("RADIO21", [this] { RADIO21_ON(); });
    onClick("RADIO22", [this] { RADIO22_ON(); });
    onClick("RADIO23", [this] { RADIO23_ON(); });
    onClick("RADIO24", [this] { RADIO24_ON(); });
    onClick("BUTTON88", [this] { F16NEXT_ON(); });
    onClick("BUTTON85", [this] { FRM16END_ON(); });
    onClick("BUTTON86", [this] { F4_ON(); });
    onClick("BUTTON87", [this] { F16CANCEL_ON(); });
    onClick("BUTTON89", [this] { ELTYHP2_ON(); });
}

void Form16::FORM16_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void Form16::FORM16_START() {
    FORM16_INITXP();
    CENTER_ON(*this, p_.io.desktop);
    SectionListPage = 0;
    RowFamily.fill(kNoFamily);
    showTypeNumbers();
    const bool morePages = p_.model.MemberTypeCount > kRows;
    c("BUTTON85").enabled = !morePages;
    c("BUTTON88").enabled = morePages;
    DAT_READ(p_.model);
    setFocus("RADIO10");
}

// The form keeps no references to release: its controls live with it.
void Form16::FORM16_END() {}

void Form16::showTypeNumbers() {
    for (int r = 1; r <= kRows; ++r)
        c(numberBox(r)).caption = std::to_string(kRows * SectionListPage + r);
}

void Form16::chooseFamily(int r, int16_t family) {
    RowFamily[static_cast<std::size_t>(r)] = family;
    Control& box = c(list(r));
    box.items.clear();
    const int16_t kind = kindOf(family);
    const int rows = sectionRowCount(kind);
    for (int row = 0; row < rows; ++row) {
        const std::string* text = sectionTableRow(p_.model, kind, row);
        box.items.push_back(text ? cp932ToUtf8(sectionDesignation(*text)) : std::string());
    }
    // Position 0 is a real section: a family chosen and left alone stores it.
    box.selected = box.items.empty() ? -1 : 0;
    box.caption = box.items.empty() ? "" : box.items.front();
}

void Form16::SH_ON() {
    chooseFamily(1, kHShapeFamily);
}
void Form16::RADIO11_ON() {
    chooseFamily(1, kRoundPipeFamily);
}
void Form16::RADIO12_ON() {
    chooseFamily(1, kSquarePipeFamily);
}
void Form16::RADIO13_ON() {
    chooseFamily(2, kHShapeFamily);
}
void Form16::RADIO14_ON() {
    chooseFamily(2, kRoundPipeFamily);
}
void Form16::RADIO15_ON() {
    chooseFamily(2, kSquarePipeFamily);
}
void Form16::RADIO16_ON() {
    chooseFamily(3, kHShapeFamily);
}
void Form16::RADIO17_ON() {
    chooseFamily(3, kRoundPipeFamily);
}
void Form16::RADIO18_ON() {
    chooseFamily(3, kSquarePipeFamily);
}
void Form16::RADIO19_ON() {
    chooseFamily(4, kHShapeFamily);
}
void Form16::RADIO20_ON() {
    chooseFamily(4, kRoundPipeFamily);
}
void Form16::RADIO21_ON() {
    chooseFamily(4, kSquarePipeFamily);
}
void Form16::RADIO22_ON() {
    chooseFamily(5, kHShapeFamily);
}
void Form16::RADIO23_ON() {
    chooseFamily(5, kRoundPipeFamily);
}
void Form16::RADIO24_ON() {
    chooseFamily(5, kSquarePipeFamily);
}

bool Form16::storeRow(int r, int t) {
    const int16_t family = RowFamily[static_cast<std::size_t>(r)];
    if (family == kNoFamily || t < 1 || t > kMaxMemberTypes) return false;
    const int16_t kind = kindOf(family);
    const auto section =
        SteelSectionProperties(p_.model, kind, c(list(r)).selected, SquarePipeShear::Webs);
    if (!section) return false; // nothing selected in the list

    // The kind counts follow the type tables: a type counts once however
    // often it is chosen again, and a rectangle type given a steel section
    // stops counting as a rectangle. So the counts stay those of the types
    // the frame file lists, and the type count raised from them at the end
    // never names a type that does not exist.
    Model& m = p_.model;
    countSectionKindChange(m, m.TypeSectionKind[t], section->SectionKind);
    storeSteelSection(m, t, *section);
    return true;
}

void Form16::showPagingButtons() {
    const int last = std::min<int>(p_.model.MemberTypeCount, kMaxMemberTypes);
    if (kRows * (SectionListPage + 1) >= last) {
        c("BUTTON85").enabled = true;
        c("BUTTON88").enabled = false;
    }
}

void Form16::F16NEXT_ON() {
    for (int r = 1; r <= kRows; ++r) {
        const int t = kRows * SectionListPage + r;
        if (!storeRow(r, t)) {
            // The rows above stay stored (and counted); the page stays on
            // screen for the user to complete.
            p_.say("タイプNo" + std::to_string(t) + " は未入力です。");
            return;
        }
    }
    ++SectionListPage;
    showTypeNumbers();
    for (int r = 1; r <= kRows; ++r) {
        RowFamily[static_cast<std::size_t>(r)] = kNoFamily;
        Control& box = c(list(r));
        box.items.clear();
        box.selected = -1;
        box.caption.clear();
        for (int16_t family : kColumnFamily)
            c(radio(r, family)).checked = false;
    }
    showPagingButtons();
    setFocus("RADIO10");
}

void Form16::RE_FS() {
    for (int r = 1; r <= kRows; ++r)
        if (!storeRow(r, kRows * SectionListPage + r)) break;
    Model& m = p_.model;
    if (m.MemberTypeCount < m.SteelTypeCount) m.MemberTypeCount = m.SteelTypeCount;
    close();
}

void Form16::FRM16END_ON() {
    RE_FS();
    p_.menuEnable({"BUTTON2"}, {"BUTTON28"});
}

void Form16::F4_ON() {
    RE_FS();
    openMemberTypeForm(p_, 16);
}

void Form16::F16CANCEL_ON() {
    close();
}

void Form16::ELTYHP2_ON() {
    p_.help("部材ﾀｲﾌﾟ入力２");
}

} // namespace rahmen
