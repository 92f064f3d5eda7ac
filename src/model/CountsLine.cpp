#include "model/CountsLine.h"

#include "model/Limits.h"

#include <algorithm>

namespace rahmen {

int readCount(ItemReader& in, const std::string& what, long limit) {
    const int line = in.line();
    // Beyond any limit either way; clamped so that the conversion is defined.
    const long n = static_cast<long>(std::clamp(in.readWhole(what), -1e9, 1e9));
    if (n < 0 || n > limit) throw DataFileError(in.fileName(), line, limitMessage(what, n, limit));
    return static_cast<int>(n);
}

std::string CountsLine::nextLabel() {
    if (!pending_) return in_.readText();
    std::string label = std::move(*pending_);
    pending_.reset();
    return label;
}

int CountsLine::count(const std::string& what, long limit) {
    nextLabel();
    return readCount(in_, what, limit);
}

int CountsLine::optionalCount(const std::string& what, long limit) {
    std::string label = nextLabel();
    if (label != what) {
        pending_ = std::move(label);
        return -1;
    }
    return readCount(in_, what, limit);
}

} // namespace rahmen
