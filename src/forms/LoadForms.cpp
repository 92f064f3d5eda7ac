#include "forms/LoadForms.h"

#include "forms/Form10.h"
#include "forms/Form17.h"
#include "forms/Form18.h"
#include "forms/Form6.h"
#include "forms/Form7.h"
#include "forms/Form9.h"
#include "forms/InputForms.h"
#include "model/Program.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>

namespace rahmen {

void registerLoadForms(Program& program) {
    program.registerForm("FORM6", [](Program& p) { return std::make_unique<Form6>(p); });
    program.registerForm("FORM7", [](Program& p) { return std::make_unique<Form7>(p); });
    program.registerForm("FORM9", [](Program& p) { return std::make_unique<Form9>(p); });
    program.registerForm("FORM10", [](Program& p) { return std::make_unique<Form10>(p); });
    registerLoadCaseForm(program);
    registerCheckConditionsForm(program);
}

std::string shownNumber(float value) {
    if (value == 0.0f) return "0"; // also for -0
    char buf[64];
    const auto format =
        std::fabs(value) < 1e15f ? std::chars_format::fixed : std::chars_format::general;
    const auto r = std::to_chars(buf, buf + sizeof buf, value, format);
    return std::string(buf, r.ptr);
}

namespace {

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

} // namespace

bool acceptNumber(Program& program, Numbered what, const std::string& text, int count) {
    const double value = boxNumber(text);
    if (value >= 1 && value <= count && value == std::floor(value)) return true;
    const char* label = what == Numbered::Node ? "節点番号" : "部材番号";
    const char* thing = what == Numbered::Node ? "節点" : "部材";
    program.say(std::string(label) + " " + trimmed(text) + " の" + thing + "はありません（" +
                label + "は 1～" + std::to_string(count) + "）。修正してください。");
    return false;
}

} // namespace rahmen
