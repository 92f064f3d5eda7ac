#pragma once
// Shared modules opened while the program runs, for parts that need large
// libraries only some commands use (rahmen-batch's PDF renderer needs Qt).

#include <filesystem>
#include <string>

namespace rahmen {

struct ModuleSymbol {
    void* address = nullptr; // nullptr when the module or the symbol was not found
    std::string error;       // why, when address is nullptr
};

// Opens the shared module at `path` (every symbol it needs bound now, so that
// a module that cannot run fails here) and looks up `symbol` in it. The module
// stays loaded until the process ends.
ModuleSymbol openModuleSymbol(const std::filesystem::path& path, const char* symbol);

// The folder of the running executable; empty when it cannot be told.
std::filesystem::path executableFolder();

} // namespace rahmen
