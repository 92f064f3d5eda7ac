#pragma once
// The one check of a data name typed by the user. A data name becomes the
// base of three file names in the working folder (DataName.cdt, .fdt, .adt),
// so it must be a plain file name there: not empty, no path separator, none of
// the characters a file name cannot hold on common systems, not only dots, and
// short enough that the longest file name made from it (with the writer's
// temporary suffix) fits the 255 bytes of a file name.

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

// Whether data about to be written under `name` may replace the coordinate or
// frame file of that name in the working folder: true when there is none, when
// it is the data's own file, or when the user, asked in a Yes/No box naming
// the files, chose to overwrite (No to "enter a new name").
bool mayReplaceFilesOf(Program& program, const std::string& name);

// Asks for the name of new data as askDataName does, and asks again wherever
// files of another frame would be replaced and the user wants another name.
std::optional<std::string> askNewDataName(Program& program, const std::string& prompt);

} // namespace rahmen
