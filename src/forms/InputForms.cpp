#include "forms/InputForms.h"

#include "forms/Form2.h"
#include "forms/Form3.h"
#include "forms/Form4.h"
#include "forms/Form5.h"
#include "model/Program.h"
#include "platform/Form.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <memory>

namespace rahmen {

void registerInputForms(Program& program) {
    program.registerForm("FORM2", [](Program& p) { return std::make_unique<Form2>(p); });
    program.registerForm("FORM3", [](Program& p) { return std::make_unique<Form3>(p); });
    program.registerForm("FORM4", [](Program& p) { return std::make_unique<Form4>(p); });
    program.registerForm("FORM5", [](Program& p) { return std::make_unique<Form5>(p); });
}

Form4* openMemberTypeForm(Program& program, int16_t mode) {
    program.TypeFormMode = mode;
    return dynamic_cast<Form4*>(program.openForm("FORM4"));
}

namespace {

bool isDigit(char ch) {
    return ch >= '0' && ch <= '9';
}

} // namespace

double boxNumber(const std::string& text) {
    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    // The longest prefix that is a decimal number; anything else ends it.
    const std::size_t first = i;
    std::size_t digits = 0;
    while (i < n && isDigit(text[i]))
        ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    std::size_t end = i;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < n && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < n && isDigit(text[j])) {
            while (j < n && isDigit(text[j]))
                ++j;
            end = j;
        }
    }

    // from_chars reads the decimal point whatever the C locale says.
    double value = 0.0;
    const char* begin = text.data() + first;
    const auto result = std::from_chars(begin, text.data() + end, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: tell the two apart by the
        // exponent's sign.
        const auto e = text.find_first_of("eE", first);
        const bool tiny = e != std::string::npos && e + 1 < end && text[e + 1] == '-';
        value = tiny ? 0.0 : DBL_MAX;
    }
    return negative ? -value : value;
}

float toSingle(double value) {
    return static_cast<float>(std::clamp(value, -double(FLT_MAX), double(FLT_MAX)));
}

float boxSingle(const std::string& text) {
    return toSingle(boxNumber(text));
}

long boxWhole(const std::string& text) {
    const double value = std::clamp(boxNumber(text), -2.0e9, 2.0e9);
    return std::lround(value);
}

bool boxEmpty(const std::string& text) {
    return text.find_first_not_of(" \t") == std::string::npos;
}

namespace {

template <class Boxes> bool checkBoxes(Program& program, Form& form, const Boxes& boxes) {
    for (const NumberBox& b : boxes) {
        if (checkValue(program.io.dialogs, b.what, boxNumber(form.c(b.box).caption), b.range))
            continue;
        form.setFocus(b.box);
        return false;
    }
    return true;
}

} // namespace

bool checkNumberBoxes(Program& program, Form& form, std::initializer_list<NumberBox> boxes) {
    return checkBoxes(program, form, boxes);
}

bool checkNumberBoxes(Program& program, Form& form, const std::vector<NumberBox>& boxes) {
    return checkBoxes(program, form, boxes);
}

} // namespace rahmen
