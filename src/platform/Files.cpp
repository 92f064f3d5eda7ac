#include "platform/Files.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace rahmen {

namespace {

char lower(char ch) {
    return (ch >= 'A' && ch <= 'Z') ? static_cast<char>(ch - 'A' + 'a') : ch;
}

// Length of the UTF-8 character starting at s[i] (1 for a stray byte).
std::size_t charLength(std::string_view s, std::size_t i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t n = 1;
    if (lead >= 0xF0)
        n = 4;
    else if (lead >= 0xE0)
        n = 3;
    else if (lead >= 0xC0)
        n = 2;
    return std::min(n, s.size() - i);
}

std::string failure(const fs::path& path, const std::string& reason) {
    return path.string() + ": " + reason;
}

std::string errnoText(int err) {
    return std::generic_category().message(err);
}

// ".XXXXXX.tmp": six letters and digits drawn from `salt`.
std::string tempSuffix(unsigned salt) {
    static const char digits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string suffix = ".";
    for (int i = 0; i < 6; ++i, salt /= 36)
        suffix += digits[salt % 36];
    return suffix + ".tmp";
}

} // namespace

bool matchesPattern(std::string_view pattern, std::string_view name) {
    // Iterative wildcard matching with one backtrack point for the last '*'.
    std::size_t p = 0, n = 0;
    std::size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            ++p;
            n += charLength(name, n);
        } else if (p < pattern.size() && lower(pattern[p]) == lower(name[n])) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            starN += charLength(name, starN);
            n = starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

Files::Files(fs::path folder) : folder_(std::move(folder)) {}

fs::path Files::path(const std::string& name) const {
    fs::path p(name);
    return p.is_absolute() ? p : folder_ / p;
}

bool Files::exists(const std::string& name) const {
    std::error_code ec;
    return fs::is_regular_file(path(name), ec);
}

std::vector<std::string> Files::list(const std::string& pattern) const {
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(folder_, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) continue;
        std::string name = it->path().filename().string();
        if (matchesPattern(pattern, name)) names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

FileResult Files::remove(const std::string& name) {
    const fs::path p = path(name);
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(p, ec);
    if (!fs::exists(status)) return {false, failure(p, errnoText(ENOENT))};
    if (fs::is_directory(status)) return {false, failure(p, errnoText(EISDIR))};
    if (!fs::remove(p, ec) || ec) return {false, failure(p, ec ? ec.message() : errnoText(ENOENT))};
    return {true, ""};
}

ReadResult Files::read(const std::string& name) const {
    const fs::path p = path(name);
    std::error_code ec;
    if (fs::is_directory(p, ec)) return {false, "", failure(p, errnoText(EISDIR))};
    errno = 0;
    std::ifstream in(p, std::ios::binary);
    if (!in) return {false, "", failure(p, errnoText(errno ? errno : ENOENT))};
    // One read of the whole file where its size is known (a data file of a
    // large frame holds megabytes); byte by byte otherwise.
    std::string bytes;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size > 0 && in) {
        bytes.resize(static_cast<std::size_t>(size));
        in.read(bytes.data(), size);
        bytes.resize(static_cast<std::size_t>(in.gcount()));
    } else {
        in.clear();
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    if (in.bad()) return {false, "", failure(p, errnoText(EIO))};
    return {true, std::move(bytes), ""};
}

FileResult Files::writeAtomic(const std::string& name, std::string_view bytes) {
    const fs::path target = path(name);
    std::error_code ec;
    if (fs::is_directory(fs::symlink_status(target, ec)))
        return {false, failure(target, errnoText(EISDIR))};

    // The temporary file is a new file of a name nobody uses, beside the
    // target: created exclusively and never through a link, so that a file
    // or link a user (or anybody) left under a temporary-looking name is
    // neither written through nor replaced.
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    fs::path temp;
    int fd = -1;
    // The name need not be secret (the exclusive creation is what protects),
    // only unlikely to be taken: the clock, a counter and the process.
    static std::atomic<unsigned> serial{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        const unsigned salt = static_cast<unsigned>(now) ^ static_cast<unsigned>(now >> 32) ^
                              (serial++ * 2654435761u) ^ static_cast<unsigned>(getpid()) * 40503u;
        temp = folder / (target.filename().string() + tempSuffix(salt));
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) return {false, failure(temp, errnoText(errno))};
    }
    if (fd < 0) return {false, failure(temp, errnoText(EEXIST))};

    auto fail = [&](const fs::path& shown, int err) {
        if (fd >= 0) ::close(fd);
        ::unlink(temp.c_str()); // our own new file, by the name it was created under
        return FileResult{false, failure(shown, errnoText(err))};
    };
    const char* data = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return fail(temp, n < 0 ? errno : EIO);
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    // The contents are on the disk before the name points at them, so that a
    // crash leaves the old file or the new one, never an empty one.
    if (::fsync(fd) != 0 && errno != EINVAL) return fail(temp, errno);
    const int closed = ::close(fd);
    fd = -1;
    if (closed != 0) return fail(temp, errno);

    // rename() replaces the directory entry of the target: a link standing
    // there is replaced by the file, never followed.
    if (::rename(temp.c_str(), target.c_str()) != 0) return fail(target, errno);
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return {true, ""};
}

} // namespace rahmen
