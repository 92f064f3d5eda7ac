#include "main/WorkingFolder.h"

#include <system_error>

namespace fs = std::filesystem;

namespace rahmen {

namespace {

bool isDataFile(const fs::path& file) {
    const std::string ext = file.extension().string();
    return ext == ".cdt" || ext == ".fdt" || ext == ".adt" || ext == ".CDT" || ext == ".FDT" ||
           ext == ".ADT";
}

WorkingFolder failed(std::string error) {
    WorkingFolder result;
    result.error = std::move(error);
    return result;
}

} // namespace

WorkingFolder prepareWorkingFolder(const WorkingFolderRequest& request) {
    std::error_code ec;
    if (!request.given.empty()) {
        const fs::path folder = fs::absolute(request.given, ec);
        if (ec || !fs::is_directory(folder, ec))
            return failed("作業フォルダ " + request.given + " がありません。");
        WorkingFolder result;
        result.ok = true;
        result.folder = folder;
        return result;
    }
    WorkingFolder result;
    result.ok = true;
    if (request.examples.empty()) {
        result.folder = request.current;
        return result;
    }
    if (!request.workdirVariable.empty())
        result.folder = request.workdirVariable;
    else if (!request.home.empty())
        result.folder = fs::path(request.home) / "rahmen-data";
    else {
        result.folder = request.current;
        return result;
    }
    if (fs::exists(result.folder, ec)) {
        if (!fs::is_directory(result.folder, ec))
            return failed(result.folder.string() + " はフォルダではありません。");
        return result;
    }
    if (!fs::create_directories(result.folder, ec) || ec)
        return failed("作業フォルダ " + result.folder.string() + " を作れません: " + ec.message());
    result.created = true;
    // A missing or unreadable examples folder leaves the new folder empty;
    // the program works without the examples.
    for (const fs::directory_entry& entry : fs::directory_iterator(request.examples, ec)) {
        if (!entry.is_regular_file(ec) || !isDataFile(entry.path())) continue;
        std::error_code copyError;
        if (fs::copy_file(entry.path(), result.folder / entry.path().filename(),
                          fs::copy_options::skip_existing, copyError))
            ++result.examplesCopied;
    }
    return result;
}

} // namespace rahmen
