#include "model/NumberedList.h"

#include <algorithm>
#include <utility>

namespace rahmen {

void expectListLine(const ItemReader& in, const ListCount& count) {
    if (in.atEnd() || !in.peekText().empty()) return;
    throw DataFileError(in.fileName(), in.line(),
                        count.list + "の行が" + count.name + " " + std::to_string(count.value) +
                            " に足りません");
}

void expectListEnd(const ItemReader& in, const ListCount& count) {
    if (in.atEnd() || in.peekText().empty()) return;
    throw DataFileError(in.fileName(), in.line(),
                        count.list + "の行が" + count.name + " " + std::to_string(count.value) +
                            " より多くあります");
}

NumberedList::NumberedList(const ItemReader& in, std::string what, int last, ListCount count)
    : in_(in), what_(std::move(what)), last_(std::max(last, 0)), count_(std::move(count)),
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

} // namespace rahmen
