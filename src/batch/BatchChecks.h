#pragma once
// The member checks of rahmen-batch: --check with the case options writes
// NAME_CHK.csv and NAME.chk after the analysis of every combination; --grade
// TYPE=GRADE, --lb MEMBER=CM and --lk MEMBER=KX,KY give the conditions, on
// top of the frame's own DataName.ckc when there is one.

#include "checks/CheckConditions.h"
#include "checks/SteelChecks.h"

#include <string>
#include <utility>
#include <vector>

namespace rahmen {

class Files;
struct Model;

struct BatchCheckOptions {
    bool check = false;
    std::vector<std::pair<int, std::string>> grades; // --grade
    std::vector<std::pair<int, double>> lb;          // --lb, cm
    struct Factors {
        int member;
        double kx, ky;
    };
    std::vector<Factors> lk; // --lk
};

// The values of --grade, --lb and --lk into `o`; the problem or "".
std::string parseCheckOptions(const std::vector<std::string>& grades,
                              const std::vector<std::string>& lb,
                              const std::vector<std::string>& lk, BatchCheckOptions& o);

// The conditions for the frame in `model`: its DataName.ckc of the folder of
// `files` when there is one, then the options. The problem or "" (a type or
// member beyond the frame, a file that does not read).
std::string batchCheckConditions(const Files& files, const Model& model, const BatchCheckOptions& o,
                                 CheckConditions& conditions);

} // namespace rahmen
