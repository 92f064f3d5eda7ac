#pragma once
// The checks every reader makes of a numbered list of a data file (nodes,
// supports, members, pins, springs, loads, results), so that a file whose
// numbers or counts disagree is refused instead of read into the wrong entries:
// - a number is within 1..last (the count of what it numbers) and given once;
// - the list ends where its count says: it has as many lines, and the item
//   after its last line is the empty line that ends every list (or the end of
//   the file).
// Every refusal is a DataFileError naming the file and the line.

#include "model/TextFile.h"

#include <string>
#include <vector>

namespace rahmen {

// Where a list's length comes from: `list` names the list in messages
// ("支持点座標リスト"), `name` the count ("支持点数") and `value` its value.
struct ListCount {
    std::string list;
    std::string name;
    long value = 0;
};

// Refuses a list whose next line is missing: an empty line where the count
// says a line follows. (A file that ends there fails where the line is read.)
void expectListLine(const ItemReader& in, const ListCount& count);

// Refuses a list that goes on after its last line: the next item must be an
// empty line or the end of the file.
void expectListEnd(const ItemReader& in, const ListCount& count);

class NumberedList {
public:
    // `what` names the numbers in messages ("節点番号"); they run 1..last.
    NumberedList(const ItemReader& in, std::string what, int last, ListCount count);

    // Before a line of the list is read: see expectListLine.
    void expectLine() const { expectListLine(in_, count_); }
    // The number `n` read on `line`, refused outside 1..last or when the list
    // gave it before.
    int take(long n, int line);
    // After the list's last line: see expectListEnd.
    void expectEnd() const { expectListEnd(in_, count_); }

    const std::string& what() const { return what_; }

private:
    const ItemReader& in_;
    std::string what_;
    int last_;
    ListCount count_;
    std::vector<bool> seen_;
};

} // namespace rahmen
