#include "sections/Sections.h"

#include "model/Model.h"
#include "sections/SectionCatalogue.h"

#include <array>

namespace rahmen {

namespace {

// The leading symbols of the designations in CP932: "Ｈ", "□", "○".
constexpr const char* kHShapeSymbol = "\x82\x67";
constexpr const char* kSquarePipeSymbol = "\x81\xA0";
constexpr const char* kRoundPipeSymbol = "\x81\x9B";

// First byte column (1-based) of each value printed behind the designation.
constexpr int kHShapeColumns[11] = {21, 26, 34, 41, 48, 55, 62, 69, 76, 84, 91};
constexpr int kPipeSquareColumns[5] = {21, 28, 36, 45, 52};
constexpr int kPipeRoundColumns[5] = {22, 30, 38, 50, 59};

// Row lengths in bytes. The H rows from 344x348 on end in one more blank.
constexpr std::size_t kHShapeLength = 94;
constexpr std::size_t kHShapeLongLength = 95;
constexpr std::size_t kSquarePipeLength = 56;
constexpr std::size_t kRoundPipeLength = 63;

// H rows 28..60 have always carried a tab in the blank run after Zy, at byte 80.
// It lies behind every column that is read; the last row has none.
constexpr int kFirstLongHRow = 28;
constexpr int kLastTabHRow = 60;
constexpr std::size_t kTabColumn = 80;

constexpr double kPi = 3.14159;

// Puts `value` at byte column `column` (1-based), blank-filling up to it. A value
// that would run into the previous one is kept one blank apart instead.
void placeAt(std::string& row, int column, const char* value) {
    std::size_t start = static_cast<std::size_t>(column - 1);
    if (row.size() >= start) start = row.size() + 1;
    row.append(start - row.size(), ' ');
    row += value;
}

void padTo(std::string& row, std::size_t length) {
    if (row.size() < length) row.append(length - row.size(), ' ');
}

std::string designationRow(const char* symbol, const char* designation) {
    std::string row = std::string(symbol) + designation;
    padTo(row, kDesignationWidth);
    return row;
}

std::string hShapeRow(int r) {
    const HShapeEntry& e = kHShapeCatalogue[r];
    std::string row = designationRow(kHShapeSymbol, e.designation);
    for (int i = 0; i < 11; ++i)
        placeAt(row, kHShapeColumns[i], e.values[i]);
    padTo(row, r >= kFirstLongHRow ? kHShapeLongLength : kHShapeLength);
    if (r >= kFirstLongHRow && r <= kLastTabHRow && row[kTabColumn - 1] == ' ')
        row[kTabColumn - 1] = '\t';
    return row;
}

std::string pipeRow(const char* symbol, const PipeEntry& e, const int (&columns)[5],
                    std::size_t length) {
    std::string row = designationRow(symbol, e.designation);
    for (int i = 0; i < 5; ++i)
        placeAt(row, columns[i], e.values[i]);
    padTo(row, length);
    return row;
}

struct BuiltInRows {
    std::array<std::string, kHShapeRows> hShape;
    std::array<std::string, kSquarePipeRows> squarePipe;
    std::array<std::string, kRoundPipeRows> roundPipe;

    BuiltInRows() {
        for (int r = 0; r < kHShapeRows; ++r)
            hShape[r] = hShapeRow(r);
        for (int r = 0; r < kSquarePipeRows; ++r)
            squarePipe[r] = pipeRow(kSquarePipeSymbol, kSquarePipeCatalogue[r], kPipeSquareColumns,
                                    kSquarePipeLength);
        for (int r = 0; r < kRoundPipeRows; ++r)
            roundPipe[r] = pipeRow(kRoundPipeSymbol, kRoundPipeCatalogue[r], kPipeRoundColumns,
                                   kRoundPipeLength);
    }
};

const BuiltInRows& builtInRows() {
    static const BuiltInRows rows;
    return rows;
}

template <class Table> void fill(Table& table, const std::string* rows, int count) {
    for (int r = 0; r < static_cast<int>(table.size()); ++r)
        table[r] = r < count ? rows[r] : std::string();
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

void DAT_READ(Model& model) {
    const BuiltInRows& rows = builtInRows();
    fill(model.HShapeTable, rows.hShape.data(), kHShapeRows);
    fill(model.SquarePipeTable, rows.squarePipe.data(), kSquarePipeRows);
    fill(model.RoundPipeTable, rows.roundPipe.data(), kRoundPipeRows);
}

const std::string& builtInSectionRow(int kind, int row) {
    static const std::string empty;
    const BuiltInRows& rows = builtInRows();
    if (row < 0 || row >= sectionRowCount(kind)) return empty;
    switch (kind) {
    case kSectionHShape:
        return rows.hShape[row];
    case kSectionSquarePipe:
        return rows.squarePipe[row];
    default:
        return rows.roundPipe[row];
    }
}

int sectionRowCount(int kind) {
    switch (kind) {
    case kSectionHShape:
        return kHShapeRows;
    case kSectionSquarePipe:
        return kSquarePipeRows;
    case kSectionRoundPipe:
        return kRoundPipeRows;
    default:
        return 0;
    }
}

const std::string* sectionTableRow(const Model& model, int kind, int row) {
    if (row < 0) return nullptr;
    switch (kind) {
    case kSectionHShape:
        return row <= kMaxHShapeRows ? &model.HShapeTable[row] : nullptr;
    case kSectionSquarePipe:
        return row <= kMaxPipeRows ? &model.SquarePipeTable[row] : nullptr;
    case kSectionRoundPipe:
        return row <= kMaxPipeRows ? &model.RoundPipeTable[row] : nullptr;
    default:
        return nullptr;
    }
}

std::string* sectionTableRow(Model& model, int kind, int row) {
    return const_cast<std::string*>(sectionTableRow(static_cast<const Model&>(model), kind, row));
}

std::string sectionDesignation(std::string_view row) {
    return std::string(row.substr(0, kDesignationWidth));
}

std::string_view sectionField(std::string_view row, int first, int width) {
    if (first < 1 || width <= 0 || static_cast<std::size_t>(first) > row.size()) return {};
    return row.substr(static_cast<std::size_t>(first - 1), static_cast<std::size_t>(width));
}

double sectionNumber(std::string_view field) {
    // Digits are accumulated by hand rather than with strtod, whose decimal
    // separator follows the locale the GUI runs in.
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ')
        ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '+' || field[i] == '-')) negative = field[i++] == '-';
    // Mantissa and decimal places apart, then one division: exact for the few
    // digits a field holds.
    double mantissa = 0.0;
    double divisor = 1.0;
    while (i < field.size() && isDigit(field[i]))
        mantissa = mantissa * 10.0 + (field[i++] - '0');
    if (i < field.size() && field[i] == '.') {
        for (++i; i < field.size() && isDigit(field[i]); ++i) {
            mantissa = mantissa * 10.0 + (field[i] - '0');
            divisor *= 10.0;
        }
    }
    const double value = mantissa / divisor;
    return negative ? -value : value;
}

SteelSection steelSectionFromRow(int kind, std::string_view row, SquarePipeShear shear) {
    auto num = [&](int first, int width) { return sectionNumber(sectionField(row, first, width)); };
    SteelSection s;
    s.SectionKind = static_cast<int16_t>(kind);
    double area = 0, iy = 0, iz = 0, j = 0, ay = 0, az = 0;
    switch (kind) {
    case kSectionHShape: {
        const double h = num(4, 3) / 10, b = num(8, 3) / 10;
        const double tw = num(12, 3) / 10, tf = num(16, 2) / 10;
        area = num(26, 5);
        iy = num(41, 6);
        iz = num(48, 5);
        const double hw = h - 2 * tf; // web height between the flanges
        j = (2 * b * tf * tf * tf + hw * tw * tw * tw) / 3;
        ay = hw * tw;
        az = 2 * b * tf;
        break;
    }
    case kSectionSquarePipe: {
        const double a = num(4, 3) / 10, b = num(8, 3) / 10, t = num(12, 4) / 10;
        area = num(28, 5);
        iy = iz = num(36, 6);
        // Thin-walled closed section, sides measured on the wall's centre line.
        const double a1 = a - t, b1 = b - t;
        if (t > 0 && a1 > 0 && b1 > 0) j = 2 * b1 * b1 * a1 * a1 / (b1 / t + a1 / t);
        if (shear == SquarePipeShear::Webs) {
            ay = 2 * b1 * t;
            az = 2 * a1 * t;
        } else {
            ay = az = area / 2;
        }
        break;
    }
    case kSectionRoundPipe: {
        const double d = num(4, 6) / 10, t = num(11, 4) / 10;
        area = num(30, 5);
        iy = iz = num(38, 7);
        const double r = d / 2, ri = r - t;
        j = kPi * (r * r * r * r - ri * ri * ri * ri) / 2;
        ay = az = area / 2;
        break;
    }
    default:
        break;
    }
    s.Area = static_cast<float>(area);
    s.Iy = static_cast<float>(iy);
    s.Iz = static_cast<float>(iz);
    s.J = static_cast<float>(j);
    s.ShearAreaY = static_cast<float>(ay);
    s.ShearAreaZ = static_cast<float>(az);
    return s;
}

std::optional<SteelSection> SteelSectionProperties(const Model& model, int kind, int row,
                                                   SquarePipeShear shear) {
    const std::string* text = sectionTableRow(model, kind, row);
    if (!text || text->empty()) return std::nullopt;
    SteelSection s = steelSectionFromRow(kind, *text, shear);
    s.SteelNo = static_cast<int16_t>(row);
    return s;
}

void storeSteelSection(Model& model, int t, const SteelSection& section) {
    if (t < 1 || t > kMaxMemberTypes) return;
    model.TypeArea[t] = section.Area;
    model.TypeIy[t] = section.Iy;
    model.TypeIz[t] = section.Iz;
    model.TypeJ[t] = section.J;
    model.TypeShearAreaY[t] = section.ShearAreaY;
    model.TypeShearAreaZ[t] = section.ShearAreaZ;
    model.TypeSectionKind[t] = section.SectionKind;
    model.TypeSteelNo[t] = section.SteelNo;
}

} // namespace rahmen
