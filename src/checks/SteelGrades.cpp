#include "checks/SteelGrades.h"

namespace rahmen {

const std::vector<SteelGrade>& steelGrades() {
    static const std::vector<SteelGrade> grades = {
        {"SS400", 235},  {"SN400A", 235},  {"SN400B", 235},  {"SN400C", 235},
        {"STK400", 235}, {"STKR400", 235}, {"SN490B", 325},  {"SN490C", 325},
        {"SM490A", 325}, {"STK490", 325},  {"STKR490", 325}, {"BCR295", 295},
    };
    return grades;
}

const SteelGrade* findSteelGrade(const std::string& name) {
    for (const SteelGrade& g : steelGrades())
        if (name == g.name) return &g;
    return nullptr;
}

} // namespace rahmen
