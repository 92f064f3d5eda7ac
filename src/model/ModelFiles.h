#pragma once
// The coordinate file DataName.cdt (counts and node coordinates, written when
// coordinate entry ends) and the frame file DataName.fdt (the whole frame:
// nodes, supports, member types with their sections, members, pins and
// springs). Both are listings a user can print that the program reads back
// item by item.
//
// The file contents are built and read by plain functions on the model, so
// that they can be tested and fuzzed on their own; the four handlers add the
// dialogs, the progress window, the file states and the main menu.
//
// What every file written here guarantees, so that it always reads back:
// - the counts line states the supports, pinned ends, sprung ends and the
//   kinds of member types actually listed, counted from the support flags,
//   the per-end summaries and the section kinds at the time of writing;
// - the data name is written with its commas and colons in full-width form,
//   since the reader counts items and those would split it;
// - a number too wide for its field is written in full, one blank apart.
// A reader refuses counts above the program's limits, section numbers outside
// their tables, and lists that disagree with their counts (a node, member or
// type number outside 1..its count or given twice, a list longer or shorter
// than its count says; see NumberedList), naming the file and the line.

#include "model/TextFile.h"

#include <string>

namespace rahmen {

struct Model;
class Program;

// A node coordinate (cm) as the coordinate and frame files store it: whole
// centimetres, halves rounded away from zero. The writers print exactly this
// value, so whatever must hold of the saved frame (no member of length 0) is
// checked on it.
double storedCoordinate(float cm);

// The bytes (CP932, CR LF) of the coordinate file of the model, dated `when`.
// Throws DataFileError for a value that cannot be written (not finite).
std::string coordinateFileBytes(const Model& model, const DateTime& when);

// The bytes of the frame file of the model, dated `when`. Throws DataFileError
// for a value that cannot be written.
std::string frameFileBytes(const Model& model, const DateTime& when);

// Reads a coordinate file into the model: the four counts and the node
// coordinates (the node number read chooses the entry). The data name in the
// file is not used. Throws DataFileError naming the file and line when the
// file is malformed, truncated or out of the program's limits; what was read
// before stays stored.
void readCoordinateFile(Model& model, ItemReader& in);

// The unit system named by a frame file's unit line.
enum class UnitLine {
    Common, // "共通単位": the file holds nothing unit-dependent (no springs)
    Si,     // "SI単位"
    Older,  // "旧単位"
    Unknown // anything else (files of older versions)
};

// Reads a frame file into the model: counts, nodes, supports, member types,
// steel and rectangle lists, members, pins and springs. Supports, pins and
// springs are cleared first, so that the model holds exactly the file's.
// Leaves UnitFactor alone and returns the unit line found. Throws
// DataFileError as readCoordinateFile does.
UnitLine readFrameFile(Model& model, ItemReader& in);

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
// per-end summaries. With springs, the unit system is locked on the main menu
// (RADIO65 disabled in the older units, else RADIO66). Returns false, after a
// message, when the file could not be written; nothing else then changes.
// An existing file is mentioned before it is replaced, unless the caller is
// writing the data's own file again or the user already agreed to replace it
// (`rewrite`): the old file stays on disk until the new one is complete, so a
// failed write loses nothing. Both writers write into DataFolder when the
// data was read from another folder (modelFileName).
bool BUTTON70_ON(Program& program, bool rewrite = false);

// Main-menu button "座標ﾃﾞｰﾀ呼出": asks for a .cdt file and reads it. On
// success sets DataName from the chosen path, CoordFileState to 2 and the
// main menu's buttons for going on with member types.
ReadOutcome CALLCDT_ON(Program& program);

// Main-menu button "座/骨ﾃﾞｰﾀ呼出": asks for a .fdt file and reads it. On
// success sets DataName, the unit system and the unit radio buttons,
// FrameFileState to 2, FrameReady to 1 and the main menu's buttons for a
// complete frame.
ReadOutcome CALLFDT_ON(Program& program);

} // namespace rahmen
