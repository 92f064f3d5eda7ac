#pragma once
// The program's limits: the one check of a count against the table sizes,
// used by every form, generator and reader before a count is stored, so that
// no table is ever written past its end; and the one range of the real
// numbers the program stores, so that whatever a form accepts the writers
// write and the readers read back.

#include <string>

namespace rahmen {

class Dialogs;

// True when 0 <= count <= limit. Otherwise shows a message naming the quantity
// and the limit (title "rahmen", OK, exclamation) and returns false.
// `what` names the quantity, e.g. "節点数".
bool checkLimit(Dialogs& dialogs, const std::string& what, long count, long limit);

// The message checkLimit shows, for readers that add a file name and line.
std::string limitMessage(const std::string& what, long count, long limit);

// The largest magnitude of a real number the program stores, writes and
// reads. Every table is single precision or shown at single precision in the
// files; a bound well inside the float range leaves room for the rounding of
// a masked number and for the factor 100 between the rotational springs held
// and those written, so that every stored value writes and reads back.
constexpr float kLargestValue = 1e30f;
// Its text in messages.
extern const char* const kLargestValueText; // "1E+30"

// Whether a number is finite and, at single precision, no larger in
// magnitude than kLargestValue (a file's "1.000E+30" and the float 1e30 it
// stands for both are).
bool withinLargestValue(double value);

// The range a form accepts for a stored number, as the user types it (and as
// the files show it).
struct ValueRange {
    double least;
    double most;
};
// Any value of either sign: coordinates, loads, section properties, angles.
constexpr ValueRange kAnyValue{-1e30, 1e30};
// Constants that are never negative: axial springs, κ.
constexpr ValueRange kNotNegative{0, 1e30};
// Rotational springs, typed in force·m/rad and held in force·cm/rad (×100).
constexpr ValueRange kRotationalSpring{0, 1e28};
// Moments typed in force·m and held in force·cm (×100): nodal moment loads.
constexpr ValueRange kMomentLoad{-1e28, 1e28};
// Rectangle sizes in cm: up to 1E+07 the area, the second moments (a³b/12)
// and the torsion constant computed from them stay within range.
constexpr ValueRange kRectangleSize{0, 1e7};
// The grid form's spans and storey height in m (held in cm): the default
// sections grow with the spans and, over the storeys above, with the height
// (a column's I as the eighth power of the storey height); up to 100 m spans
// and 10 m storeys they stay within range for every grid the tables hold.
constexpr ValueRange kGridSpan{0, 100};
constexpr ValueRange kStoreyHeight{0, 10};
// The grid form's standard shear coefficient, a factor of the floor weights.
constexpr ValueRange kShearCoefficient{-10, 10};

// The number as a message shows it: "1E+30", "-5", "0.25".
std::string messageNumber(double value);

// "X軸周りのバネ定数は 0 から 1E+28 までです（-5 が入力されました）。"
std::string rangeMessage(const std::string& what, double value, ValueRange range);

// True when least <= value <= most and the value at single precision is
// within kLargestValue; otherwise shows rangeMessage (title "rahmen", OK,
// exclamation) and returns false.
bool checkValue(Dialogs& dialogs, const std::string& what, double value, ValueRange range);

// The readers' messages for a number that breaks its rule.
std::string notWholeMessage(const std::string& what,
                            double value); // "… が整数ではありません（1.5）"
std::string tooLargeMessage(const std::string& what, double value); // "… が大きすぎます（…）"
std::string negativeMessage(const std::string& what, double value); // "… が負の値です（-5）"

} // namespace rahmen
