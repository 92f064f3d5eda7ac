#include "platform/SharedModule.h"

#include <dlfcn.h>

#include <system_error>

namespace rahmen {

ModuleSymbol openModuleSymbol(const std::filesystem::path& path, const char* symbol) {
    ModuleSymbol found;
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        const char* why = dlerror();
        found.error = why ? why : path.string();
        return found;
    }
    dlerror();
    found.address = dlsym(module, symbol);
    if (!found.address) {
        const char* why = dlerror();
        found.error = why ? why : path.string() + ": " + symbol;
    }
    return found;
}

std::filesystem::path executableFolder() {
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : exe.parent_path();
}

} // namespace rahmen
