#pragma once
// The grid generation form FORM15 ("グリッド作成"): a regular frame of spans
// and storeys from six numbers, with default sections for a steel or a
// reinforced-concrete structure, fixed supports on the ground floor and, on
// request, default loads — horizontal loads by the standard shear coefficient
// C0 distributed over the height by Ai, optionally with the floors' weight —
// analysed at once. "部材設定" lays out the grid without sections and hands
// it to the member settings form FORM14.
//
// The spans are read as span lengths on both paths (the fields say
// "スパン長さ（ｍ）"), and every size is checked, and the grid against the
// model's limits, before anything of the model changes; a generation starts
// from a cleared model.
//
// Default loads. The floor weights 0.8 (horizontal) and 0.9 (vertical) tf/m²
// of a steel and 1.2 and 1.3 tf/m² of a concrete structure are converted to
// kN in SI units. Ai distributes the storey shear: storey k carries
// Qk = Ai·C0·Wk, Wk the weight of floors k..S, and floor k receives
// Qk − Qk+1, so that the base shear is C0 times the whole weight. The
// vertical load acts downward. A frame read from a file has no grid, so the
// default loads are refused for it.

#include "model/LoadCases.h"
#include "platform/Form.h"

#include <cstdint>

namespace rahmen {

class Program;
struct Model;
struct GridVariables;

// Registers FORM14 and FORM15 with the program's form registry.
void registerGridForms(Program& program);

// Default sections of every member of the laid-out grid (cm units; no types).
void setDefaultSections(Model& model, const GridVariables& grid);

// Ai of storey k (1..S) for the period T (s).
double storeyShearFactor(int storeys, int k, double period);

// The default loads of the grid: moduli, nodal loads of floors 1..S in the
// direction (1 X, 2 Y, 3 both at 1/√2), the vertical load when asked for,
// LoadedNodeCount. Reads C0 from grid.BaseShearCoefficient.
void setDefaultLoads(Model& model, const GridVariables& grid, int direction, bool vertical);

// The default loads as load cases (the option "荷重ケースと組合せにする。"):
// the vertical load as case G (when asked for), the storey forces in X as
// case KX and in Y as case KY (direction 1 X, 2 Y, 3 both, each in full),
// and the building code's combinations of them (the negative directions as
// negative factors). The model's load tables are left empty.
LoadCaseSet defaultLoadCases(Model& model, const GridVariables& grid, int direction, bool vertical);

class Form15 : public Form {
public:
    explicit Form15(Program& program);

    int16_t ChangeCount = 0; // changes of the six size fields, up to 5
    int16_t Direction = 0;   // load direction: 0 none, 1 X, 2 Y, 3 XY

    void FORM15_START();
    void FORM15_INITXP();
    void FORM15_END() {}
    void SIZE_CHANGE(); // EDIT143_CHANGE … EDIT148_CHANGE
    void RADIO5_ON();   // steel
    void RADIO6_ON();   // reinforced concrete
    void CHECK11_ON();  // default horizontal loads
    void CHECK12_ON();  // default horizontal and vertical loads
    void CHECK13_ON();  // shear deformation
    // CHECK14 "荷重ケースと組合せにする。": read when the analysis starts
    void RADIO8_ON();
    void RADIO9_ON();
    void RADIO10_ON();
    void INPMEMB_ON();  // "部材設定"
    void BUTTON73_ON(); // "終了" / "解析開始"
    void BUTTON89_ON(); // "キャンセル"
    void EASYHP_ON();   // "ヘルプ"

protected:
    void start() override { FORM15_START(); }
    void end() override { FORM15_END(); }

private:
    // Reads and checks the six sizes into the grid variables; false after a
    // message (focus in the field), with nothing changed.
    bool readSizes();
    void loadBox(const char* box, const char* other);
    void chooseDirection(int16_t direction);
    void finish();

    Program& p_;
};

} // namespace rahmen
