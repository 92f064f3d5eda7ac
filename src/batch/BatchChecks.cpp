#include "batch/BatchChecks.h"

#include "checks/SteelGrades.h"
#include "model/Model.h"
#include "platform/Files.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace rahmen {

namespace {

bool parseWhole(const std::string& text, int& value) {
    if (text.empty() || text.size() > 5) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    value = std::atoi(text.c_str());
    return value >= 1;
}

bool parseNotNegative(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return end == text.c_str() + text.size() && errno != ERANGE && std::isfinite(value) &&
           value >= 0 && value <= 1e30;
}

// NUMBER=VALUE; false without the '=' or a number of 1 or more.
bool numbered(const std::string& text, int& number, std::string& value) {
    const std::size_t at = text.find('=');
    if (at == std::string::npos) return false;
    value = text.substr(at + 1);
    return parseWhole(text.substr(0, at), number);
}

} // namespace

std::string parseCheckOptions(const std::vector<std::string>& grades,
                              const std::vector<std::string>& lb,
                              const std::vector<std::string>& lk, BatchCheckOptions& o) {
    for (const std::string& text : grades) {
        int t = 0;
        std::string grade;
        if (!numbered(text, t, grade)) return "--grade は TYPE=GRADE の形で指定します: " + text;
        if (!findSteelGrade(grade)) {
            std::string known;
            for (const SteelGrade& g : steelGrades())
                known += std::string(known.empty() ? "" : ", ") + g.name;
            return "--grade " + text + ": 鋼種は " + known + " のどれかです。";
        }
        o.grades.emplace_back(t, grade);
    }
    for (const std::string& text : lb) {
        int m = 0;
        std::string value;
        double cm = 0;
        if (!numbered(text, m, value) || !parseNotNegative(value, cm))
            return "--lb は MEMBER=CM（0 以上の長さ cm、0 は部材長さ）の形で指定します: " + text;
        o.lb.emplace_back(m, cm);
    }
    for (const std::string& text : lk) {
        int m = 0;
        std::string value;
        const std::size_t comma = text.find(',');
        double kx = 0, ky = 0;
        if (!numbered(text, m, value) || comma == std::string::npos ||
            !parseNotNegative(value.substr(0, value.find(',')), kx) ||
            !parseNotNegative(value.substr(value.find(',') + 1), ky))
            return "--lk は MEMBER=KX,KY（座屈長さ係数）の形で指定します: " + text;
        o.lk.push_back({m, kx, ky});
    }
    return "";
}

std::string batchCheckConditions(const Files& files, const Model& model, const BatchCheckOptions& o,
                                 CheckConditions& conditions) {
    if (std::string problem = readCheckConditions(files, model, conditions); !problem.empty())
        return problem;
    for (const auto& [t, grade] : o.grades) {
        if (t > model.MemberTypeCount)
            return "--grade " + std::to_string(t) + ": 部材タイプは 1 から " +
                   std::to_string(model.MemberTypeCount) + " までです。";
        conditions.grades[t] = grade;
    }
    auto member = [&](const char* option, int m) {
        return m > model.MemberCount
                   ? std::string(option) + " " + std::to_string(m) + ": 部材は 1 から " +
                         std::to_string(model.MemberCount) + " までです。"
                   : std::string();
    };
    for (const auto& [m, cm] : o.lb) {
        if (std::string problem = member("--lb", m); !problem.empty()) return problem;
        MemberCheckCondition k = conditions.memberCondition(m);
        k.lb = cm;
        conditions.members[m] = k;
    }
    for (const BatchCheckOptions::Factors& f : o.lk) {
        if (std::string problem = member("--lk", f.member); !problem.empty()) return problem;
        MemberCheckCondition k = conditions.memberCondition(f.member);
        k.kx = f.kx;
        k.ky = f.ky;
        conditions.members[f.member] = k;
    }
    return "";
}

} // namespace rahmen
