#pragma once
// The one check of a count against the program's limits, used by every form,
// generator and reader before a count is stored, so that no table is ever
// written past its end.

#include <string>

namespace rahmen {

class Dialogs;

// True when 0 <= count <= limit. Otherwise shows a message naming the quantity
// and the limit (title "rahmen", OK, exclamation) and returns false.
// `what` names the quantity, e.g. "節点数".
bool checkLimit(Dialogs& dialogs, const std::string& what, long count, long limit);

// The message checkLimit shows, for readers that add a file name and line.
std::string limitMessage(const std::string& what, long count, long limit);

} // namespace rahmen
