#pragma once
// The counts line the three data files begin with ("節点数: 5, 部材数: 8, …"),
// read by one reader: per field a label item and its count. The labels are
// not checked, except for the fields that files of older versions leave out.

#include "model/TextFile.h"

#include <optional>
#include <string>

namespace rahmen {

// A count within 0..limit at the reader's position; one outside is refused
// with the program's limit message for `what`, naming the file and line.
int readCount(ItemReader& in, const std::string& what, long limit);

class CountsLine {
public:
    explicit CountsLine(ItemReader& in) : in_(in) {}

    // The next field: its label, then its count within 0..limit.
    int count(const std::string& what, long limit);
    // A field older files leave out: its count when the next label is
    // `what`, else -1, and the label read is that of the field after it.
    int optionalCount(const std::string& what, long limit);

private:
    std::string nextLabel();

    ItemReader& in_;
    std::optional<std::string> pending_; // a label read ahead by optionalCount
};

} // namespace rahmen
