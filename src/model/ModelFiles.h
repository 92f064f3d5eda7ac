#pragma once
// The coordinate file DataName.cdt (counts and node coordinates, written when
// coordinate entry ends) and the frame file DataName.fdt (the whole frame:
// nodes, supports, member types with their sections, members, pins and
// springs). Both are listings a user can print that the program reads back
// item by item.
//
// The file contents are built and read by plain functions on the model, so
// that they can be tested and fuzzed on their own; the four handlers
// (ModelFileHandlers.h) add the dialogs, the progress window and the file
// states.
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

} // namespace rahmen
