#pragma once
// The built-in steel section tables (H-shapes, square pipes, round pipes) and
// the section properties of a table row.
//
// A row is CP932 text laid out in fixed byte columns; the program reads the
// dimensions of the designation and the area and second moments by cutting
// byte columns out of the row, so the rows must keep their exact layout.

#include "model/Model.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace rahmen {

// Rows used in each table (rows 0..count-1; the remaining slots stay empty).
constexpr int kHShapeRows = 62;
constexpr int kSquarePipeRows = 110;
constexpr int kRoundPipeRows = 130;

// Width of a designation: the first 17 bytes of a row, shown in the section lists.
constexpr std::size_t kDesignationWidth = 17;

// Fills HShapeTable, SquarePipeTable and RoundPipeTable with the built-in rows,
// row 0 first, and empties the slots behind the last row. Called each time a
// section form opens, which also restores rows a frame-file reader replaced by a
// bare designation.
void DAT_READ(Model& model);

// The built-in row r of the table of `kind` (2, 3 or 4) as CP932 bytes; empty for
// any other kind or row.
const std::string& builtInSectionRow(int kind, int row);

// Number of rows used in the table of `kind`; 0 for a kind without a table.
int sectionRowCount(int kind);

// The table slot of `kind` in the model, or nullptr when kind is not 2..4 or the
// row lies outside the table's capacity.
std::string* sectionTableRow(Model& model, int kind, int row);
const std::string* sectionTableRow(const Model& model, int kind, int row);

// The first 17 bytes of a row (fewer when the row is shorter).
std::string sectionDesignation(std::string_view row);

// Bytes first..first+width-1 (1-based columns) of a row, cut short at its end.
std::string_view sectionField(std::string_view row, int first, int width);

// The numeric conversion of a field: leading blanks skipped, the longest prefix
// that forms a decimal number (sign, digits, point, digits) converted, anything
// else ends the number; a field without a number is 0.
double sectionNumber(std::string_view field);

// The two ways a square pipe's shear areas are taken.
enum class SquarePipeShear {
    Webs,     // Ay = 2·b'·t, Az = 2·a'·t (section selection by list)
    HalfArea, // both A/2 (member property modification, member settings, mouse editor)
};

// Section properties of one table row, in cm units, ready for the type tables.
struct SteelSection {
    float Area = 0;                        // TypeArea, cm²
    float Iy = 0;                          // TypeIy, cm⁴
    float Iz = 0;                          // TypeIz, cm⁴
    float J = 0;                           // TypeJ, cm⁴
    float ShearAreaY = 0;                  // TypeShearAreaY, cm²
    float ShearAreaZ = 0;                  // TypeShearAreaZ, cm²
    int16_t SectionKind = kSectionNumeric; // TypeSectionKind (steel kinds)
    int16_t SteelNo = 0;                   // TypeSteelNo (row of the table)
};

// The properties of row `row` of the model's table of `kind` (2, 3 or 4).
// Empty when the kind has no table, the row lies outside it or the row is empty.
std::optional<SteelSection> SteelSectionProperties(const Model& model, int kind, int row,
                                                   SquarePipeShear shear);

// The same computed from a row's text.
SteelSection steelSectionFromRow(int kind, std::string_view row, SquarePipeShear shear);

// Stores a section into member type t (the six properties, kind and row).
void storeSteelSection(Model& model, int t, const SteelSection& section);

} // namespace rahmen
