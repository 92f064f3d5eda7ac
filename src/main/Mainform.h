#pragma once
// The main menu MAINFORM ("プログラムメニュー"): it opens the input forms,
// reads the data files, starts the analysis and the drawings, switches the
// unit system, requests the resets and ends the program. Its buttons are
// enabled step by step as the data grows; the forms' end buttons and the file
// readers move that workflow on through Program::menuEnable.
//
// Input forms are opened through the program's form registry by their design
// names; a button whose form is not registered yet opens nothing.

#include "platform/Form.h"

#include <optional>
#include <string>
#include <vector>

namespace rahmen {

class Program;
class Rahmen;

class MainForm : public Form {
public:
    // The font size every control of the menu is designed with; the start-up
    // font offset is measured against it.
    static constexpr int kDesignFontSize = 9;

    MainForm(Program& program, Rahmen& rahmen);

    // Runs when the menu opens and again after every reset: the font
    // adjustment (the first time only), the unit radio buttons as the unit
    // factor says, the table-input buttons back to their first step.
    void MAINFORM_START();
    // Applies the program's font offset to every control of the menu.
    void MAINFORM_INITXP();
    // Enables the file buttons whose kind of file the current folder holds.
    void DAT_ON();

    // Checks the SI or the older-units radio button as the unit factor says
    // (1: older units).
    void showUnits();
    // The program's unit state on the radio buttons, after every event: what
    // a file reader asked to be shown (UnitsToShow, then cleared), and the
    // button of a closed unit system disabled.
    void showUnitState();

    void BUTTON84_ON();   // grid generation
    void BUTTON27_ON();   // outline
    void BUTTON1_ON();    // coordinates
    void BUTTON28_ON();   // member types: from the section list or as numbers
    void BUTTON2_ON();    // members
    void BUTTON29_ON();   // supports
    void BUTTON3_ON();    // analysis conditions (table input)
    void BUTTON4_ON();    // data plotting window
    void BUTTON94_ON();   // load cases and combinations (FORM17)
    void BUTTON95_ON();   // the calculation report (FORM20)
    void BUTTON35_ON();   // member property modification
    void MOANALYSIS_ON(); // plotting window as interactive analysis
    void BUTTON93_ON();   // mouse editing
    // The file readers: the file chosen in the open-file dialog, or `chosen`
    // when given (a file opened from outside). True when a file was read.
    bool CALLCDT_ON(const std::optional<std::string>& chosen = {}); // coordinate file
    bool CALLFDT_ON(const std::optional<std::string>& chosen = {}); // frame file
    bool CALLADT_ON(const std::optional<std::string>& chosen = {}); // analysis file

    // The menu's data files: the extension, the button that reads such a
    // file and its handler. DAT_ON and the opening of a given file go by this
    // table; a new kind of data file is one more row.
    struct DataFile {
        const char* extension; // ".fdt"
        const char* button;    // "BUTTON91"
        bool (MainForm::*read)(const std::optional<std::string>&);
    };
    static const std::vector<DataFile>& dataFiles();
    void FRDRESET_ON(); // request a reset of all data
    void ANDRESET_ON(); // request a reset of the analysis data
    void SI_ON();
    void SI_OFF();
    void BUTTON51_ON(); // help contents
    void BUTTON5_ON();  // end the program

    // The close box of the menu ends the program as its end button does.
    std::string closeControl() const override { return "BUTTON5"; }

protected:
    void start() override;

private:
    // Refuses, with a message, while no unit system is chosen.
    bool unitsChosen();

    Program& p_;
    Rahmen& rahmen_;
    bool fontAdjusted_ = false;
};

} // namespace rahmen
