#pragma once
// The forms that complete the table-input workflow after the members —
// supports (FORM6), member-end releases and springs (FORM7), analysis
// conditions (FORM9) and loads (FORM10) — and what they share.

#include "model/AnalysisInput.h" // setSteelConstants, setConcreteConstants, stripSupportLoads

#include <string>

namespace rahmen {

class Program;
struct Model;

// Registers FORM6, FORM7, FORM9, FORM10, the load-case form FORM17 and its
// check conditions form FORM18 with the program's form registry.
void registerLoadForms(Program& program);

// The text a box shows for a stored single-precision value: the shortest
// decimal that reads back to the same value ("1.5", "150", "0.3", "-12"), in
// plain digits below 10^15 and with an exponent beyond.
std::string shownNumber(float value);

// What a number typed into a box names.
enum class Numbered { Node, Member };

// True when the box text holds a whole number from 1 to `count` (the nodes or
// members in use). Otherwise shows, titled "rahmen",
//   "節点番号 16 の節点はありません（節点番号は 1～15）。修正してください。"
// (or the same with 部材番号/部材) and returns false. The caller has already
// decided that the box is not empty.
bool acceptNumber(Program& program, Numbered what, const std::string& text, int count);

} // namespace rahmen
