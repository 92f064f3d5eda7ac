#pragma once
// The handlers around the analysis data file: writing it at the end of an
// analysis, reading it back from the main menu (CALLADT_ON) and taking its
// loads into the plotting window (CALL_LOAD). They add the dialogs, the
// progress window and the program's state to the file's contents
// (AnalysisFile.h).

#include "platform/Files.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace rahmen {

class Program;

// Writes a report's bytes to the file of that name; by default
// Files::writeAtomic at once. A caller may hand them on and write them later
// (rahmen-batch, while the next case is formed), reporting failures itself.
using ReportFileWrite = std::function<FileResult(const std::string& fileName, std::string bytes)>;

// The tail of ANALYSIS_ON: asks for a data name when there is none, asks before
// replacing an existing DataName.adt, writes the report (through a temporary
// file renamed over the old one when complete) with the progress window's
// texts, and sets AnalysisFileWritten = 1. Nothing is written when
// SkipAnalysisFile is -1. True when the file was written; a failure is shown
// in a message box and leaves an existing file as it was. With `write`, the
// bytes go there instead of straight to the file.
bool writeAnalysisFile(Program& program, const std::vector<float>& reaction,
                       const ReportFileWrite& write = {});

// The writing half of writeAnalysisFile, without its questions: DataName.adt
// written (atomically) with the progress window's texts, AnalysisFileWritten
// set. The reports of the load cases, whose names follow from the data name,
// are written through it after one question for all of them.
bool writeReportFile(Program& program, const std::vector<float>& reaction,
                     const ReportFileWrite& write = {});

// CALLADT_ON (main menu "解析ﾃﾞｰﾀ呼出"): asks for a .adt file, reads it in full
// with the progress window shown, sets AnalysisDone = 1 and DataName from the
// chosen path and sets the main menu for a loaded analysis; the unit system
// read is for the menu to show (UnitsToShow) once known. A cancelled dialog
// does nothing; a file that cannot be read is reported in a message box. True
// when a file was read. Given `chosen`, that file is read without the dialog
// (a file opened from the file manager or dropped on the menu).
bool CALLADT_ON(Program& program, const std::optional<std::string>& chosen = {});

// What CALL_LOAD does with the numbers of a file in the other unit system
// once the user has agreed to read it.
enum class UnitChange { Convert, KeepNumbers };

// CALL_LOAD (plotting window): asks for a .adt file and takes its loads into the
// model on screen in place of its loads, after asking when its unit system
// differs from the program's (Yes converts the values, 1 tf = 9.80665 kN). A
// file of another frame size is refused with a message naming both counts;
// loads on support nodes are dropped with the load form's message for each.
// True when loads were read.
bool CALL_LOAD(Program& program, UnitChange change = UnitChange::Convert);

} // namespace rahmen
