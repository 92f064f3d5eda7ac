#pragma once
// The main program: start-up and the main loop around the main menu.
//
// The loop of the program waits for events until a reset is requested, then
// clears the data, asks about the files written in this run and
// re-initialises the menu. Here the waiting is the GUI's own event loop: the
// GUI calls afterEvent() after every event handler of any form, and
// afterEvent() does what the loop would do once the wait ends.

#include "model/Program.h"
#include "platform/Services.h"

#include <filesystem>
#include <memory>
#include <set>
#include <string>

namespace rahmen {

class Form;
class MainForm; // main/Mainform.h, the form "MAINFORM"

class Rahmen {
public:
    explicit Rahmen(Services io);
    ~Rahmen();
    Rahmen(const Rahmen&) = delete;
    Rahmen& operator=(const Rahmen&) = delete;

    Program& program();
    MainForm& mainForm();

    // Start-up: FontOffset from the menu's design, SI units, the menu centred
    // and shown (MAINFORM_START runs), then the loop's first DAT_ON.
    void start();

    // Run after every event handler of any form. The menu shows the unit
    // state the event left (MainForm::showUnitState). When a reset was requested
    // (MenuRequest not 0): the question about the files written in this run,
    // their deletion, the clearing of the model, DAT_ON and the
    // re-initialisation of the menu. Does nothing once the program has ended.
    void afterEvent();

    // The end button has finished: the GUI quits.
    bool ended() const;

    // Asks whether to keep the data files written in this run (when a
    // coordinate, frame or analysis file was written) with the given title;
    // on No deletes each of them through deleteWrittenFile().
    void askKeepWrittenFiles(const std::string& title);

    // Deletes the data file `name` of the current folder if this run wrote
    // it: a file that was there before start-up, or that was read, is kept.
    // A file already gone is left alone; a deletion that fails is reported in
    // a message box.
    void deleteWrittenFile(const std::string& name);
    // Deletes, as deleteWrittenFile does, the analysis report DataName.adt
    // and the reports and envelope of the last analysis of all load cases.
    void deleteWrittenReports();

    // Marks a file of the current folder as one the keep-files questions
    // never delete (a file just read).
    void protectFile(const std::string& name);
    bool isProtected(const std::string& name) const;

private:
    std::filesystem::path key(const std::string& name) const;
    void closeFormsOverMenu();
    // Tells the user how to leave a form whose close box cannot close it.
    void refuseClose(Form& form);
    void resetAll();
    void resetAnalysis();

    std::unique_ptr<Program> program_;
    std::unique_ptr<MainForm> mainForm_;
    std::set<std::filesystem::path> protected_;
    bool started_ = false;
    bool resetting_ = false; // a reset's questions are showing
};

} // namespace rahmen
