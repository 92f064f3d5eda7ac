#include "forms/LoadForms.h"

#include "forms/Form10.h"
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

void setSteelConstants(Model& m) {
    const bool older = m.UnitFactor == 1.0f;
    m.YoungModulus = older ? 2100.0f : 205000.0f;
    m.ShearModulus = older ? 810.0f : 79000.0f;
}

void setConcreteConstants(Model& m) {
    // In single precision, as the program has always computed them.
    m.YoungModulus = 210.0f * m.UnitFactor;
    m.ShearModulus = 90.0f * m.UnitFactor;
}

void stripSupportLoads(Program& p) {
    Model& m = p.model;
    const int nodes = m.NodeCount < kMaxNodes ? m.NodeCount : kMaxNodes;
    for (int n = 1; n <= nodes; ++n) {
        if (m.NodeIsSupport[n] != -1 || m.NodeLoadFlag[n] != 1) continue;
        for (int d = 6 * n - 5; d <= 6 * n; ++d)
            m.NodeLoad[d] = 0;
        if (m.LoadedNodeCount > std::numeric_limits<int16_t>::min()) --m.LoadedNodeCount;
        m.NodeLoadFlag[n] = 0;
        p.say("支持点" + std::to_string(n) + " は荷重付加点から除きます。");
    }
}

void registerLoadForms(Program& program) {
    program.registerForm("FORM6", [](Program& p) { return std::make_unique<Form6>(p); });
    program.registerForm("FORM7", [](Program& p) { return std::make_unique<Form7>(p); });
    program.registerForm("FORM9", [](Program& p) { return std::make_unique<Form9>(p); });
    program.registerForm("FORM10", [](Program& p) { return std::make_unique<Form10>(p); });
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
