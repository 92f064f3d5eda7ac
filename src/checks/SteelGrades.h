#pragma once
// Steel grades of the member checks and their standard strength F
// (平成12年建設省告示第2464号, thickness up to 40 mm).

#include <string>
#include <vector>

namespace rahmen {

struct SteelGrade {
    const char* name; // "SN400B"
    double F;         // N/mm²
};

// The grades the checks know, in the order a list offers them.
const std::vector<SteelGrade>& steelGrades();

// The grade of a name (exact, as listed), or nullptr.
const SteelGrade* findSteelGrade(const std::string& name);

// The grade a member type has until one is chosen.
constexpr const char* kDefaultSteelGrade = "SN400B";

// Young's modulus of steel in the checks, N/mm².
constexpr double kSteelYoungModulus = 205000.0;

} // namespace rahmen
