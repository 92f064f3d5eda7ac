#pragma once
// The handlers around the coordinate and frame files (ModelFiles.h): writing
// them at the end of coordinate entry, member property modification and mouse
// editing, and reading them from the main menu, with the dialogs, the
// progress window and the file states.

#include <optional>
#include <string>

namespace rahmen {

class Program;

// The messages shown by the handlers.
extern const char* const kExistingFileMessage; // before an existing file is overwritten
extern const char* const kUnknownUnitsMessage; // an older file with springs

// How a reading handler ended.
enum class ReadOutcome { Done, Cancelled, Failed };

// Writes DataName.cdt (the end of coordinate entry, of member property
// modification and of mouse editing). Sets CoordFileState to 1. Returns false,
// after a message, when the file could not be written; the previous file is
// then left as it was.
bool BUTTON69_ON(Program& program);

// Writes DataName.fdt, then deletes DataName.cdt (CoordFileState 0) and sets
// FrameFileState to 1. The pin and spring counts are first recounted from the
// per-end summaries. With springs, the other unit system is closed
// (SiUnitsClosed in the older units, else OlderUnitsClosed). Returns false, after a
// message, when the file could not be written; nothing else then changes.
// An existing file is mentioned before it is replaced, unless the caller is
// writing the data's own file again or the user already agreed to replace it
// (`rewrite`): the old file stays on disk until the new one is complete, so a
// failed write loses nothing. Both writers write into DataFolder when the
// data was read from another folder (modelFileName).
bool BUTTON70_ON(Program& program, bool rewrite = false);

// The two readers below and CALLADT_ON take the file to read from `chosen`
// when it is given (a file opened from the file manager or dropped on the
// menu), in place of the open-file dialog's answer; everything else is the
// same.

// Main-menu button "座標ﾃﾞｰﾀ呼出": asks for a .cdt file and reads it. On
// success sets DataName from the chosen path, CoordFileState to 2 and the
// main menu's buttons for going on with member types.
ReadOutcome CALLCDT_ON(Program& program, const std::optional<std::string>& chosen = {});

// Main-menu button "座/骨ﾃﾞｰﾀ呼出": asks for a .fdt file and reads it. On
// success sets DataName and the unit system (closing the other when the file
// names its own, and asking the menu to show it: UnitsToShow),
// FrameFileState to 2, FrameReady to 1 and the main menu's buttons for a
// complete frame.
ReadOutcome CALLFDT_ON(Program& program, const std::optional<std::string>& chosen = {});

} // namespace rahmen
