#pragma once
// The folder the program works in. The data files are read from and written
// to the current folder, so the desktop program changes into the folder
// chosen here before anything else:
//   - a folder named on the command line;
//   - else, when the program runs installed (its shared data folder with the
//     example files exists), the user's data folder: $RAHMEN_WORKDIR, or
//     "rahmen-data" in the home folder. On first use that folder is created
//     and gets the example data files, once: a user who later deletes them
//     does not get them back;
//   - else (a build folder) the folder the program was started in.

#include <filesystem>
#include <string>

namespace rahmen {

struct WorkingFolderRequest {
    std::string given;              // from the command line; "" for none
    std::filesystem::path current;  // the folder the program was started in
    std::filesystem::path examples; // installed example files; "" when not installed
    std::string workdirVariable;    // $RAHMEN_WORKDIR, "" when unset
    std::string home;               // $HOME, "" when unset
};

struct WorkingFolder {
    bool ok = false;
    std::filesystem::path folder;
    bool created = false; // the user's data folder was made just now
    int examplesCopied = 0;
    std::string error; // why no folder could be used (ok is false)
};

WorkingFolder prepareWorkingFolder(const WorkingFolderRequest& request);

} // namespace rahmen
