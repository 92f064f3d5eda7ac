#pragma once
// Model values by name, for scenario scripts: the scalars and counters of the
// model and the program ("UnitFactor", "NodeCount", "MenuRequest"), and the
// tables with one or two indices ("NodeX[3]", "MemberEndForce[2,7]").

#include <optional>
#include <string>

namespace rahmen {

class Program;

struct ModelValue {
    bool text = false;     // DataName
    bool integral = false; // 16-bit counters and flags
    bool single = false;   // single-precision scalars and tables
    double number = 0;
    std::string string;
};

// Parses "Name", "Name[i]" or "Name[i,k]". Each returns an error text, or
// nullopt/empty on success.
std::string readModelValue(Program& program, const std::string& ref, ModelValue& out);
std::string writeModelValue(Program& program, const std::string& ref, const std::string& value);

// The value as a scenario writes it (text, integer, or the shortest decimal
// that reads back to the same number).
std::string formatModelValue(const ModelValue& value);

} // namespace rahmen
