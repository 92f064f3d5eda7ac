#pragma once
// The first four forms of the table-input workflow — outline (FORM2), node
// coordinates (FORM3), member types (FORM4) and members (FORM5) — and what
// they share: reading the number typed into an edit box.

#include "model/Limits.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace rahmen {

class Form;
class Form4;
class Program;

// Registers FORM2, FORM3, FORM4 and FORM5 with the program's form registry.
void registerInputForms(Program& program);

// Opens the member type form in a mode: 1 (paged entry from the main menu;
// the type-number boxes show 1 to 5) or 16 (free entry after the section
// list, the type numbers typed by the user). nullptr when FORM4 is not
// registered.
Form4* openMemberTypeForm(Program& program, int16_t mode);

// The number at the start of a box's text: leading blanks skipped, then an
// optional sign, digits, a decimal point, digits and an exponent. Text that
// does not start with a number reads as 0, so does an empty box.
double boxNumber(const std::string& text);

// A value for the model's single-precision tables; a number too large for
// single precision is held at the largest finite value.
float toSingle(double value);

// boxNumber as a single-precision value (toSingle).
float boxSingle(const std::string& text);

// boxNumber rounded to a whole number (halves away from zero), held within
// ±2·10⁹ so that a huge entry stays a huge count instead of overflowing.
long boxWhole(const std::string& text);

// Whether a box holds nothing but blanks.
bool boxEmpty(const std::string& text);

// A number box of a form, what its caption calls the value and the range the
// value is stored within (model/Limits.h).
struct NumberBox {
    std::string box;
    std::string what;
    ValueRange range;
};

// True when the number of every box (boxNumber) lies within its range.
// Otherwise shows the range message for the first box that does not (title
// "rahmen"), puts the focus into it and returns false: a form stores only
// what its file can hold and read back.
bool checkNumberBoxes(Program& program, Form& form, std::initializer_list<NumberBox> boxes);
bool checkNumberBoxes(Program& program, Form& form, const std::vector<NumberBox>& boxes);

} // namespace rahmen
