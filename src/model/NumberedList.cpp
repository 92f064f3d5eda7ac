#include "model/NumberedList.h"

#include <algorithm>

namespace rahmen {

NumberedList::NumberedList(const ItemReader& in, std::string what, int last)
    : in_(in), what_(std::move(what)), last_(std::max(last, 0)),
      seen_(static_cast<std::size_t>(last_) + 1, false) {}

int NumberedList::take(long n, int line) {
    if (n < 1 || n > last_)
        throw DataFileError(in_.fileName(), line,
                            what_ + " " + std::to_string(n) + " は 1 から " +
                                std::to_string(last_) + " の範囲にありません");
    if (seen_[static_cast<std::size_t>(n)])
        throw DataFileError(in_.fileName(), line,
                            what_ + " " + std::to_string(n) + " が二度あります");
    seen_[static_cast<std::size_t>(n)] = true;
    return static_cast<int>(n);
}

void NumberedList::expectComplete(const std::string& list) const {
    for (int n = 1; n <= last_; ++n)
        if (!seen_[static_cast<std::size_t>(n)])
            throw DataFileError(in_.fileName(), in_.line(),
                                what_ + " " + std::to_string(n) + " が" + list + "にありません");
}

void NumberedList::expectEnd(const std::string& list, const std::string& count, long value) const {
    expectListEnd(in_, list, count, value);
}

void expectListEnd(const ItemReader& in, const std::string& list, const std::string& count,
                   long value) {
    if (in.atEnd() || in.peekText().empty()) return;
    throw DataFileError(in.fileName(), in.line(),
                        list + "の行が" + count + " " + std::to_string(value) +
                            " より多くあります");
}

} // namespace rahmen
