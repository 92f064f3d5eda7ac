#pragma once
// Runs a scenario script: the program started in a fresh temporary folder on
// the scripted platform, driven the way a person drives it (clicks, typing,
// answers to message boxes) and checked on the way (control states, messages
// shown, model values, files). The script format is described in README.md
// beside this file.

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace rahmen {

class ScenarioRunner {
public:
    // The files of a scenario's folder: name → bytes as on disk.
    using FolderContents = std::map<std::string, std::string>;

    // `fixtureFolders` are searched in order by the `copy` command.
    explicit ScenarioRunner(std::vector<std::filesystem::path> fixtureFolders);

    // Runs the script to its end or to its first failure. Returns the
    // failures as "name:line: text"; empty when the scenario passed.
    std::vector<std::string> run(const std::string& script, const std::string& name) const;

    // Runs a script file; a file that cannot be read is a failure.
    std::vector<std::string> runFile(const std::filesystem::path& file) const;

    // As run() and runFile(), and hands back every file of the scenario's
    // folder as it was after the last line run (also after a failure), before
    // the folder is deleted: a test can compare what the program wrote with
    // files it makes itself.
    std::vector<std::string> run(const std::string& script, const std::string& name,
                                 FolderContents& folderAtEnd) const;
    std::vector<std::string> runFile(const std::filesystem::path& file,
                                     FolderContents& folderAtEnd) const;

    // Runs the scenarios in this existing folder instead of a fresh
    // temporary one; the folder and what the scenarios wrote are kept.
    void setFolder(std::filesystem::path folder) { folder_ = std::move(folder); }

private:
    std::vector<std::filesystem::path> fixtureFolders_;
    std::filesystem::path folder_;
};

} // namespace rahmen
