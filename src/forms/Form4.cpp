#include "forms/Form4.h"

#include "forms/InputForms.h"
#include "model/Program.h"
#include "platform/FormServices.h"

#include <cmath>
#include <utility>

namespace rahmen {

namespace {

constexpr int kRows = 5;

// A number as the warning shows it: a leading blank for a positive number.
std::string numberWithSign(long n) {
    return (n < 0 ? "" : " ") + std::to_string(n);
}

} // namespace

double rectangleTorsionConstant(double sizeA, double sizeB) {
    double a = sizeA / 2;
    double b = sizeB / 2;
    if (a < b) std::swap(a, b); // the formula needs a to be the larger half-side
    if (a == 0) return 0;
    const double ratio = b / a;
    return a * b * b * b * (16.0 / 3.0 - 3.36 * ratio * (1 - ratio * ratio * ratio * ratio / 12));
}

Form4::Form4(Program& program) : Form("FORM4", "部材タイプ入力１", 790, 380), p_(program) {
    setHelpKeyword("部材ﾀｲﾌﾟ入力１");
    addLabel("TEXT15", "タイプ No", 20, 30, 90, 20);
    addLabel("TEXT16", "断面積(cm2)", 120, 30, 130, 20);
    addLabel("TEXT17", "断面２次ﾓｰﾒﾝﾄ", 260, 12, 140, 20);
    addLabel("TEXT111", "梁：ly 柱：lx(cm4)", 260, 32, 140, 20);
    addLabel("TEXT18", "断面２次ﾓｰﾒﾝﾄ", 410, 12, 140, 20);
    addLabel("TEXT112", "梁：lz 柱：ly(cm4)", 410, 32, 140, 20);
    addLabel("TEXT19", "ねじり定数(cm4)", 560, 30, 140, 20);
    // Row by row, so that Tab runs through one type before the next.
    const int left[] = {0, 20, 120, 260, 410, 560};
    const int width[] = {0, 90, 130, 140, 140, 140};
    for (int k = 1; k <= kRows; ++k) {
        const int y = 58 + 34 * (k - 1);
        for (int column = 1; column <= 5; ++column)
            addEdit(box(column, k), "", left[column], y, width[column], 26);
        c(box(1, k)).enabled = false; // typed only in free entry
    }
    addCheck("CHECK14",
             "長方形断面のサイズ（A：梁→高さ、柱→Ｙ方向寸法/B→梁→幅、柱→Ｘ方向寸法）を入"
             "力する。",
             20, 234, 760, 24);
    addLabel("TEXT119", "※入力は必ず半角数字で行ってください。", 20, 262, 400, 20);
    addButton("BUTTON11", "次ページ", 60, 300, 130, 32);
    addButton("BUTTON12", "終了", 240, 300, 130, 32);
    addButton("BUTTON13", "キャンセル", 420, 300, 130, 32);
    addButton("BUTTON56", "ヘルプ", 600, 300, 130, 32);

    numberBoxes();
    onClick("CHECK14", [this] { CHECK14_ON(); });
    onClick("BUTTON11", [this] { BUTTON11_ON(); });
    onClick("BUTTON12", [this] { BUTTON12_ON(); });
    onClick("BUTTON13", [this] { BUTTON13_ON(); });
    onClick("BUTTON56", [this] { ELTYHP_ON(); });
}

bool Form4::freeEntry() const {
    return p_.TypeFormMode == 16;
}

void Form4::FORM4_INITXP() {
    applyFontOffset(*this, p_.FontOffset);
}

void Form4::FORM4_START() {
    FORM4_INITXP();
    CENTER_ON(*this, p_.io.desktop);
    TypePage = 0;
    RectMode = 0;
    TypeColumnsEnabled = 0;
    for (int k = 1; k <= kRows; ++k)
        c(box(5, k)).caption = "0";
    if (freeEntry()) {
        c("CHECK14").enabled = false;
        for (int k = 1; k <= kRows; ++k)
            c(box(1, k)).enabled = true;
        setFocus("EDIT28");
        return;
    }
    // The first page's type numbers are shown here rather than by the opener,
    // so that the form is right whoever opens it.
    showTypeNumbers();
    if (p_.model.MemberTypeCount > kRows)
        c("BUTTON12").enabled = false;
    else
        c("BUTTON11").enabled = false;
    setFocus("EDIT33");
}

void Form4::showTypeNumbers() {
    for (int k = 1; k <= kRows; ++k)
        c(box(1, k)).caption = std::to_string(kRows * TypePage + k);
}

void Form4::CHECK14_ON() {
    RectMode = RectMode == 0 ? -1 : 0;
    TypeColumnsEnabled = RectMode == 0 ? -1 : 0;
    if (RectMode) {
        c("TEXT16").caption = "Ａ寸法(㎝)";
        c("TEXT17").caption = "　　Ｂ寸法(㎝)";
    } else {
        c("TEXT16").caption = "断面積(㎝)";
        c("TEXT17").caption = "断面２次ﾓｰﾒﾝﾄ";
    }
    const bool columns = TypeColumnsEnabled == -1;
    for (const char* label : {"TEXT18", "TEXT19", "TEXT111", "TEXT112"})
        c(label).enabled = columns;
    for (int k = 1; k <= kRows; ++k) {
        c(box(4, k)).enabled = columns;
        c(box(5, k)).enabled = columns;
        c(box(5, k)).caption.clear();
    }
}

void Form4::storeNumberRow(int k, int t) {
    if (t < 1 || t > kMaxMemberTypes) return;
    Model& m = p_.model;
    const float area = boxSingle(c(box(2, k)).caption);
    m.TypeArea[t] = area;
    m.TypeShearAreaY[t] = area; // a section typed as numbers shears over its full area
    m.TypeShearAreaZ[t] = area;
    m.TypeIy[t] = boxSingle(c(box(3, k)).caption);
    m.TypeIz[t] = boxSingle(c(box(4, k)).caption);
    m.TypeJ[t] = boxSingle(c(box(5, k)).caption);
}

bool Form4::storeRectangleRow(int k, int t, Leaving leaving) {
    if (t < 1 || t > kMaxMemberTypes) return true;
    Model& m = p_.model;
    const double a = boxSingle(c(box(2, k)).caption);
    const double b = boxSingle(c(box(3, k)).caption);
    if (m.TypeSectionKind[t] != kSectionRectangle) {
        m.TypeSectionKind[t] = kSectionRectangle;
        ++m.RectTypeCount;
    }
    m.TypeRectA[t] = static_cast<float>(a);
    m.TypeRectB[t] = static_cast<float>(b);
    const float area = toSingle(a * b);
    m.TypeArea[t] = area;
    m.TypeShearAreaY[t] = area;
    m.TypeShearAreaZ[t] = area;
    m.TypeIy[t] = toSingle(a * a * a * b / 12);
    m.TypeIz[t] = toSingle(b * b * b * a / 12);

    if (a < b) {
        // A beam is expected to be higher than wide; the user may go on.
        const std::string text = "No" + numberWithSign(t) +
                                 (leaving == Leaving::NextPage
                                      ? " が梁の場合、水平幅＞垂直高さとなります、再入力→ｷｬﾝｾﾙ。"
                                      : " が梁の場合、水平幅＞垂直高さとなります。");
        if (p_.say(text, MessageButtons::OkCancel) == MessageResult::Cancel) {
            setFocus(box(2, k));
            return false;
        }
    }
    m.TypeJ[t] = toSingle(rectangleTorsionConstant(a, b));
    return true;
}

bool Form4::checkValues() {
    for (int k = 1; k <= kRows; ++k) {
        const std::string row = std::to_string(k) + "行目の";
        const bool ok =
            RectMode && !freeEntry()
                ? checkNumberBoxes(p_, *this,
                                   {{box(2, k), row + "A寸法", kRectangleSize},
                                    {box(3, k), row + "B寸法", kRectangleSize}})
                : checkNumberBoxes(p_, *this,
                                   {{box(2, k), row + "断面積", kAnyValue},
                                    {box(3, k), row + "断面2次モーメント Iy", kAnyValue},
                                    {box(4, k), row + "断面2次モーメント Iz", kAnyValue},
                                    {box(5, k), row + "ねじり定数", kAnyValue}});
        if (!ok) return false;
    }
    return true;
}

bool Form4::checkFreeTypeNumbers() {
    const long count = p_.model.MemberTypeCount;
    for (int k = 1; k <= kRows; ++k) {
        const long t = boxWhole(c(box(1, k)).caption);
        if (t == 0) continue; // an empty row
        if (t < 1 || t > count || t > kMaxMemberTypes) {
            p_.say("タイプNo " + std::to_string(t) + " は部材種類数を超えています（タイプNoは 1～" +
                   std::to_string(count) + "）。修正してください。");
            setFocus(box(1, k));
            return false;
        }
    }
    return true;
}

// A section typed after the section list: each of its shear areas is half
// its area.
void Form4::storeFreeRow(int k) {
    const long t = boxWhole(c(box(1, k)).caption);
    if (t < 1 || t > kMaxMemberTypes) return; // an empty row names type 0, never used
    Model& m = p_.model;
    const float area = boxSingle(c(box(2, k)).caption);
    m.TypeArea[t] = area;
    m.TypeShearAreaY[t] = area / 2;
    m.TypeShearAreaZ[t] = area / 2;
    m.TypeIy[t] = boxSingle(c(box(3, k)).caption);
    m.TypeIz[t] = boxSingle(c(box(4, k)).caption);
    m.TypeJ[t] = boxSingle(c(box(5, k)).caption);
}

void Form4::BUTTON11_ON() {
    if (!checkValues()) return;
    if (freeEntry()) {
        if (!checkFreeTypeNumbers()) return;
        for (int k = 1; k <= kRows; ++k)
            storeFreeRow(k);
        for (int k = 1; k <= kRows; ++k) {
            for (int column = 1; column <= 4; ++column)
                c(box(column, k)).caption.clear();
            c(box(5, k)).caption = "0";
        }
        setFocus("EDIT28");
        return;
    }

    for (int k = 1; k <= kRows; ++k) {
        const int t = kRows * TypePage + k;
        if (RectMode) {
            if (!storeRectangleRow(k, t, Leaving::NextPage)) return;
        } else {
            storeNumberRow(k, t);
        }
    }
    // The boxes are emptied only once the whole page is stored: a page left
    // at the width warning keeps every row as typed, so that pressing the
    // button again stores the same rows again.
    for (int k = 1; k <= kRows; ++k) {
        c(box(2, k)).caption.clear();
        c(box(3, k)).caption.clear();
        if (!RectMode) {
            c(box(4, k)).caption.clear();
            c(box(5, k)).caption = "0";
        }
    }
    ++TypePage;
    showTypeNumbers();
    if (kRows * (TypePage + 1) >= p_.model.MemberTypeCount) {
        c("BUTTON11").enabled = false;
        c("BUTTON12").enabled = true;
    }
    setFocus("EDIT33");
}

void Form4::BUTTON12_ON() {
    if (!checkValues()) return;
    if (freeEntry()) {
        if (!checkFreeTypeNumbers()) return;
        for (int k = 1; k <= kRows; ++k)
            storeFreeRow(k);
    } else {
        for (int k = 1; k <= kRows; ++k) {
            const int t = kRows * TypePage + k;
            if (RectMode) {
                // The last page's rectangles end at the first row without a size.
                if (boxEmpty(c(box(2, k)).caption)) break;
                if (!storeRectangleRow(k, t, Leaving::End)) return;
            } else {
                storeNumberRow(k, t);
            }
        }
    }
    close();
    p_.menuEnable({"BUTTON2"}, {"BUTTON28"});
}

void Form4::BUTTON13_ON() {
    close();
}

void Form4::ELTYHP_ON() {
    p_.help("部材ﾀｲﾌﾟ入力１");
}

} // namespace rahmen
