#pragma once
// The member type form FORM4 ("部材タイプ入力１"): the section properties of
// each member type, five types to a page, typed as numbers or as a rectangle
// of two sizes from which the form computes them.
//
// Two modes, chosen by the opener through Program::TypeFormMode:
//  1  paged entry from the main menu: row k of page p is type 5p + k;
//  16 free entry after the section list ("リスト外入力"): the user types the
//     type number of each row, the shear areas are half the area and there
//     is no rectangle mode and no page count.

#include "platform/Form.h"

#include <cstdint>
#include <string>

namespace rahmen {

class Program;

// Torsion constant of a rectangle of sizes A × B (cm⁴), with a the larger and
// b the smaller half-side: a·b³·(16/3 − 3.36·(b/a)·(1 − b⁴/(12·a⁴))). A
// rectangle without extent has none (0).
double rectangleTorsionConstant(double sizeA, double sizeB);

class Form4 : public Form {
public:
    explicit Form4(Program& program);

    int16_t TypePage = 0;           // 0-based page (mode 1)
    int16_t RectMode = 0;           // -1 while CHECK14 (rectangle sizes) is on
    int16_t TypeColumnsEnabled = 0; // -1 while the columns of Iz and J take input

    void FORM4_START();
    void FORM4_INITXP();
    void CHECK14_ON();  // rectangle mode on / off
    void BUTTON11_ON(); // "次ページ"
    void BUTTON12_ON(); // "終了"
    void BUTTON13_ON(); // "キャンセル"
    void ELTYHP_ON();   // "ヘルプ"

    // The edit names of column `column` (1..5) in row k (1..5): type number,
    // area or size A, Iy or size B, Iz, J.
    static std::string box(int column, int k) {
        return "EDIT" + std::to_string(22 + 5 * column + k);
    }

protected:
    void start() override { FORM4_START(); }

private:
    enum class Leaving { NextPage, End };
    bool freeEntry() const;
    void storeNumberRow(int k, int t);
    // False when the user cancelled at the width warning.
    bool storeRectangleRow(int k, int t, Leaving leaving);
    // Mode 16: the type numbers of the page, checked before anything is stored.
    bool checkFreeTypeNumbers();
    // Every section value (or rectangle size) of the page within range, else
    // a message and false.
    bool checkValues();
    void storeFreeRow(int k);
    void showTypeNumbers();

    Program& p_;
};

} // namespace rahmen
