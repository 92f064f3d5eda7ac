#pragma once
// The one check of a data name typed by the user. A data name becomes the
// base of three file names in the working folder (DataName.cdt, .fdt, .adt),
// so it must be a plain file name there: not empty, no path separator, none of
// the characters a file name cannot hold on common systems, and not only dots.

#include <optional>
#include <string>

namespace rahmen {

class Program;

// "" when the name can be used; otherwise the message that says what is wrong.
std::string dataNameProblem(const std::string& name);

// Checks a typed name and, when it cannot be used, says why in a message box.
bool acceptDataName(Program& program, const std::string& name);

// Asks for a data name in an input box (titled "rahmen") until the answer can
// be used; nullopt when the user cancels.
std::optional<std::string> askDataName(Program& program, const std::string& prompt,
                                       const std::string& defaultText = "");

} // namespace rahmen
