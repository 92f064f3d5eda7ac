#pragma once
// The section list form FORM16 ("部材タイプ入力２"): member types chosen from the
// built-in steel section tables instead of typed as numbers, five types to a
// page. Each row picks a shape family with one of three radio buttons
// ("Ｈ形鋼標準", "○鋼管", "□鋼管") and a section from a drop-down list of that
// family's designations; "次ページ" and "終了" store the page, "リスト外入力"
// stores it and continues in the member type form FORM4 (free entry, mode 16)
// for the types the lists do not hold.

#include "platform/Form.h"

#include <array>
#include <cstdint>
#include <string>

namespace rahmen {

class Program;

class Form16 : public Form {
public:
    // Shape family of a row: what its radio buttons chose.
    static constexpr int16_t kNoFamily = 0;
    static constexpr int16_t kHShapeFamily = 1;
    static constexpr int16_t kSquarePipeFamily = 2;
    static constexpr int16_t kRoundPipeFamily = 3;

    explicit Form16(Program& program);

    int16_t SectionListPage = 0; // 0-based page; the types of page p are 5p+1..5p+5
    // The family chosen in rows 1..5 of the page (index 0 unused).
    std::array<int16_t, 6> RowFamily{};

    void FORM16_START();
    void FORM16_INITXP();
    void FORM16_END();

    // The radio buttons: RADIO10 (handler SH_ON) .. RADIO24, three to a row in
    // the columns "Ｈ形鋼標準", "○鋼管", "□鋼管".
    void SH_ON();
    void RADIO11_ON();
    void RADIO12_ON();
    void RADIO13_ON();
    void RADIO14_ON();
    void RADIO15_ON();
    void RADIO16_ON();
    void RADIO17_ON();
    void RADIO18_ON();
    void RADIO19_ON();
    void RADIO20_ON();
    void RADIO21_ON();
    void RADIO22_ON();
    void RADIO23_ON();
    void RADIO24_ON();

    void F16NEXT_ON();   // "次ページ"
    void FRM16END_ON();  // "終了"
    void F4_ON();        // "リスト外入力"
    void F16CANCEL_ON(); // "キャンセル"
    void ELTYHP2_ON();   // "ヘルプ"

    // Stores the rows of the last page up to the first empty one, raises the
    // type count to the steel types when more were chosen, and closes the form.
    void RE_FS();

    // Control names of row r (1..5): the type-number box, the radio button of
    // a family, the section list.
    static std::string numberBox(int r) { return "EDIT" + std::to_string(151 + r); }
    static std::string radio(int r, int16_t family);
    static std::string list(int r) { return "COMBO" + std::to_string(r); }

protected:
    void start() override { FORM16_START(); }
    void end() override { FORM16_END(); }

private:
    // A radio button was clicked: the row takes the family and its list the
    // designations of the family's table, row 0 selected.
    void chooseFamily(int r, int16_t family);
    // Stores row r of the page as member type t; false when the row has no
    // section chosen.
    bool storeRow(int r, int t);
    void showTypeNumbers();
    void showPagingButtons();

    Program& p_;
};

} // namespace rahmen
