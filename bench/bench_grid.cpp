// Times the largest grid the grid generation form makes, through the form as
// a user drives it: 10 × 10 bays of 6 m, 8 storeys of 3.5 m, steel, default
// horizontal and vertical loads in both directions, the data name given, so
// that the frame file is written, the frame analysed and its report written.
//
//   bench_grid [runs]      default 5
//
// Each run starts a fresh program in a fresh temporary folder.

#include "main/FormRegistry.h"
#include "model/Program.h"
#include "platform/Form.h"
#include "platform/ScriptedPlatform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <vector>

using namespace rahmen;

int main(int argc, char** argv) {
    const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<double> times;
    long reportBytes = 0;
    int nodes = 0, members = 0;
    double roofX = 0;
    for (int run = 0; run < runs; ++run) {
        ScriptedPlatform platform;
        auto program = Program::create(platform.services());
        registerForms(*program);
        Form* form = program->openForm("FORM15");
        for (const auto& [field, text] : {std::pair{"EDIT143", "6"},
                                          {"EDIT144", "6"},
                                          {"EDIT145", "10"},
                                          {"EDIT146", "10"},
                                          {"EDIT147", "8"},
                                          {"EDIT148", "3.5"}})
            form->typeText(field, text);
        form->click("CHECK12");
        form->click("RADIO10");
        platform.dialogs.queueInput(std::string("grid"));

        const auto start = std::chrono::steady_clock::now();
        form->click("BUTTON73");
        times.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());

        const Model& m = program->model;
        if (m.AnalysisDone != 1 || !platform.files.exists("grid.adt")) {
            std::fprintf(stderr, "the grid was not analysed or its report not written\n");
            return 1;
        }
        nodes = m.NodeCount;
        members = m.MemberCount;
        roofX = m.NodeDisplacement[6 * m.NodeCount - 5];
        reportBytes =
            static_cast<long>(std::filesystem::file_size(platform.files.folder() / "grid.adt"));
    }
    std::sort(times.begin(), times.end());
    std::printf("grid 10 x 10 bays, 8 storeys from the grid form: %d nodes, %d members\n", nodes,
                members);
    std::printf("generation, frame file, analysis and report: median %.1f ms, best %.1f ms "
                "(%d runs)\n",
                1e3 * times[times.size() / 2], 1e3 * times.front(), runs);
    std::printf("report %ld bytes; roof node dX = %.6g cm\n", reportBytes, roofX);
    return 0;
}
