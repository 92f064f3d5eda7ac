#pragma once
// The checks every reader makes of a numbered list of a data file (nodes,
// supports, members, pins, springs, loads, results), so that a file whose
// numbers or counts disagree is refused instead of read into the wrong entries:
// - a number is within 1..last (the count of what it numbers) and given once;
// - a list that must name every number has none missing;
// - the list ends where its count says: the item after its last line is the
//   empty line that ends every list (or the end of the file).
// Every refusal is a DataFileError naming the file and the line.

#include "model/TextFile.h"

#include <string>
#include <vector>

namespace rahmen {

class NumberedList {
public:
    // `what` names the numbers in messages ("節点番号"); they run 1..last.
    NumberedList(const ItemReader& in, std::string what, int last);

    // The number `n` read on `line`, refused outside 1..last or when the list
    // gave it before.
    int take(long n, int line);

    const std::string& what() const { return what_; }

    // Refuses the list when a number of 1..last was not given; `list` names it
    // ("節点座標リスト").
    void expectComplete(const std::string& list) const;

    // After the list's last line: refuses a next item that is not an empty line
    // or the end of the file. `list` names the list, `count` the count that
    // says how long it is ("支持点数") and `value` its value.
    void expectEnd(const std::string& list, const std::string& count, long value) const;

private:
    const ItemReader& in_;
    std::string what_;
    int last_;
    std::vector<bool> seen_;
};

// The check of NumberedList::expectEnd for a list without numbers to take.
void expectListEnd(const ItemReader& in, const std::string& list, const std::string& count,
                   long value);

} // namespace rahmen
