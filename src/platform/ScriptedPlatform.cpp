#include "platform/ScriptedPlatform.h"

#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace rahmen {

namespace {

// A new, empty folder of a unique name, safe when test processes run in parallel.
fs::path makeTempFolder() {
    std::string pattern = (fs::temp_directory_path() / "rahmen-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!mkdtemp(buffer.data()))
        throw std::system_error(errno, std::generic_category(), "mkdtemp " + pattern);
    return fs::path(buffer.data());
}

} // namespace

ScriptedPlatform::ScriptedPlatform()
    : tempFolder_(makeTempFolder()), files(tempFolder_), clock(DateTime{2026, 12, 8, 10, 20, 30}) {}

ScriptedPlatform::~ScriptedPlatform() {
    std::error_code ec;
    fs::remove_all(tempFolder_, ec);
}

} // namespace rahmen
