#pragma once
// Opening a data file given from outside the menu: named on the command line,
// opened from the file manager (which starts the program with the file) or
// dropped on the main menu's window. The file's folder becomes the working
// folder and the file is read by the menu's own handler for its kind, as if
// the user had pressed that button and chosen the file in the open-file
// dialog: the same questions, messages and enabling.

#include <filesystem>
#include <string>

namespace rahmen {

class Rahmen;

// What the program's single argument names: a folder to work in, or a data
// file (an existing regular file, or any name ending in one of the menu's
// data-file extensions) whose folder is worked in and which is then opened.
struct StartArgument {
    std::string folder; // the working folder to ask for ("" for none)
    std::string file;   // the file to open after start-up, absolute ("" for none)
};
StartArgument startArgument(const std::string& argument, const std::filesystem::path& current);

enum class OpenOutcome {
    Read,    // the handler read the file
    Failed,  // the handler could not read it (its message was shown)
    Refused, // not opened now, with a message saying why
};

// Opens `path` (absolute) through the menu. Refused, with a message: a file
// of no kind the menu reads; while any window other than the menu is open;
// when the menu's button for the kind is disabled by the workflow (data
// already entered or read). Otherwise the working folder becomes the file's
// folder (the menu's file buttons then show that folder's files, as at
// start-up) and the button's handler reads the file.
OpenOutcome openGivenFile(Rahmen& rahmen, const std::string& path);

} // namespace rahmen
