#pragma once
// Everything the program keeps between events: the model, the platform
// services, the main loop's request and font offset, the progress window and
// the link to the main menu whose buttons the workflow enables. The unit
// system's buttons are the main menu's own: the workflow changes the unit
// state below and the menu shows it. One object
// per program (and per test), so that nothing is a true global.

#include "model/CaseResults.h"
#include "model/Form12.h"
#include "model/Grid.h"
#include "model/Model.h"
#include "platform/Services.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace rahmen {

class Program {
public:
    // The model is large; a Program lives on the heap.
    static std::unique_ptr<Program> create(Services io);
    explicit Program(Services io);
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    Model model;
    Services io;

    int16_t MenuRequest = 0;      // 0 keep waiting, 1 reset all data, 2 reset the analysis data
    int16_t FontOffset = 0;       // points added to every control's font when a form opens
    int16_t SkipAnalysisFile = 0; // -1: the analysis writes no report (plotting window)
    int16_t PlotWindowMode = 0;   // FORM13: 0 data plotting, 1 mouse analysis, 2 its results
    int16_t PinSpringChoice = 0;  // FORM7 edits 1 pins, 2 springs (member form), 3, 4 (editing)
    int16_t TypeFormMode = 1;     // FORM4, set by its opener: 1 paged (main menu), 16 after FORM16
    int16_t LoadInputMode = 0;    // FORM10: 0 none, 1 nodal, 2 level, 3 member loads; kept
    int16_t PropertyModified = 0; // FORM11: 1 a section change not yet written to a file

    // The unit systems the user may no longer choose, 1 each: spring
    // constants are held in the units they were typed in, so a frame with
    // springs written in one system, or a frame file that names its system,
    // closes the other until the full reset. The main menu disables the
    // radio button of a closed system.
    int16_t SiUnitsClosed = 0;
    int16_t OlderUnitsClosed = 0;
    // What a file reader asks the main menu's unit radio buttons to show once
    // the event is over: 0 nothing new, 1 the system UnitFactor names, 2 no
    // system chosen yet (the SI button unchecked).
    int16_t UnitsToShow = 0;

    // The grid of the grid generation form (FORM15), read again by the member
    // settings (FORM14) and the default loads; cleared by the full reset.
    GridVariables grid;

    // The load cases and combinations of the frame (the load-case form, the
    // file DataName.lcd), and the results of their last analysis: one per
    // case, then one per combination, in the set's order. A frame without
    // load cases leaves both empty.
    LoadCaseSet loadCases;
    std::vector<CaseResult> caseResults;

    Form12 progress; // FORM12

    // The main menu, once it exists; the workflow's enabling goes through it.
    Form* mainMenu = nullptr;

    // Enables and disables main-menu controls by name (nothing while there is
    // no menu, or for a name the menu lacks). The load-case button BUTTON94
    // follows the table-input analysis BUTTON3.
    void menuEnable(std::initializer_list<const char*> enable,
                    std::initializer_list<const char*> disable = {});
    // The enabled state of every menu control, and putting it back: an
    // action that moves the workflow on but then fails (a refused analysis)
    // leaves the menu where it was.
    std::vector<bool> menuState() const;
    void restoreMenu(const std::vector<bool>& state);

    // Input forms are loaded afresh each time they open. Each form module
    // registers a factory under its design name ("FORM2"); openForm() creates
    // a new instance, shows it through the desktop and returns it (nullptr for
    // a name nobody registered). The previous instance of that name is kept
    // until the next open, so a handler of the old form may still be running
    // when it opens its successor — but a form must not reopen its own name
    // from its own handler.
    using FormFactory = std::function<std::unique_ptr<Form>(Program&)>;
    void registerForm(const std::string& name, FormFactory factory);
    bool hasForm(const std::string& name) const { return factories_.count(name) != 0; }
    Form* openForm(const std::string& name);
    // The current instance of a form (open or the last one closed), or nullptr.
    Form* form(const std::string& name);
    template <class F> F* formAs(const std::string& name) { return dynamic_cast<F*>(form(name)); }

    // Opens the help file "rahmen.hlp" at a keyword ("" for its contents).
    void help(const std::string& keyword) { io.dialogs.help("rahmen.hlp", keyword); }

    // A message box titled "rahmen".
    MessageResult say(const std::string& text, MessageButtons buttons = MessageButtons::Ok,
                      MessageIcon icon = MessageIcon::Exclamation);

private:
    std::map<std::string, FormFactory> factories_;
    std::map<std::string, std::unique_ptr<Form>> instances_;
    std::vector<std::unique_ptr<Form>> retired_;
};

} // namespace rahmen
