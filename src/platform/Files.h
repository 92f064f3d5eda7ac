#pragma once
// The files of the current folder. Names are relative to the folder (an
// absolute path is used as it is); contents are raw bytes, so the CP932 data
// files pass through untouched. Failures come back as values with a text
// naming the file and the reason.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace rahmen {

struct FileResult {
    bool ok = false;
    std::string error; // empty when ok
    explicit operator bool() const { return ok; }
};

struct ReadResult {
    bool ok = false;
    std::string bytes;
    std::string error;
    explicit operator bool() const { return ok; }
};

// Whether a file name matches a pattern of '*' (any run of characters) and
// '?' (one character). ASCII letters match regardless of case, as names did
// on the platform the data files come from ("*.fdt" finds "FRAME.FDT").
bool matchesPattern(std::string_view pattern, std::string_view name);

class Files {
public:
    explicit Files(std::filesystem::path folder);

    const std::filesystem::path& folder() const { return folder_; }
    void setFolder(std::filesystem::path folder) { folder_ = std::move(folder); }

    std::filesystem::path path(const std::string& name) const;

    // Whether a regular file of that name exists (a folder does not count).
    bool exists(const std::string& name) const;
    // The names of the regular files of the folder matching the pattern,
    // sorted; empty when the folder cannot be read.
    std::vector<std::string> list(const std::string& pattern) const;
    // Deletes a regular file. A missing file or a folder is a failure.
    FileResult remove(const std::string& name);
    ReadResult read(const std::string& name) const;
    // Writes the whole file to a new temporary file beside it (NAME, a dot,
    // six random letters or digits, ".tmp"; created exclusively, never
    // through a link) and renames that over NAME only when every byte is on
    // the disk, so a failed write leaves the previous file as it was. The
    // rename replaces NAME itself: a link standing at NAME is replaced by the
    // file, not followed. The temporary file is removed on failure.
    FileResult writeAtomic(const std::string& name, std::string_view bytes);
    // The bytes the temporary file's name adds to the target's.
    static constexpr std::size_t kTempSuffixLength = 11;

private:
    std::filesystem::path folder_;
};

} // namespace rahmen
