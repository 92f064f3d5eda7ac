// Memory of the editing window's undo on the largest grid of the grid form
// (10 × 10 bays of 6 m, 8 storeys of 3.5 m: 1089 nodes, 2728 members) after a
// run of random editing operations.
//
//   bench_undo [steps] [copies]     default 315 steps
//
// Without "copies" the steps go into the window's undo history; with it, a
// copy of the model is kept before every step, as undo once did. Prints the
// bytes held and the growth of the resident set.

#include "edit/FrameEdit.h"
#include "model/Grid.h"
#include "model/Model.h"
#include "sections/Sections.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <random>
#include <unistd.h>
#include <vector>

using namespace rahmen;

namespace {

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * sysconf(_SC_PAGESIZE);
}

// One random operation of the window with whole-centimetre input.
EditMessage randomEdit(Model& m, std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int nodes = m.NodeCount, members = m.MemberCount;
    auto coordinate = [&] { return 10.0f * pick(0, 600); };
    switch (pick(0, 7)) {
    case 0:
        return deleteMembers(m, {pick(1, members)});
    case 1:
        return addMember(m, pick(1, nodes), pick(1, nodes), 1, 0);
    case 2:
        return insertNodeAfter(m, pick(1, nodes), coordinate(), coordinate(), coordinate());
    case 3:
        return splitMember(m, pick(1, members));
    case 4:
        return moveNode(m, pick(1, nodes), coordinate(), coordinate(), coordinate());
    case 5:
        return movePlane(m, Axis::Z, nodeCoordinate(m, pick(1, nodes), Axis::Z), coordinate());
    case 6:
        return addSupports(m, {pick(1, nodes)});
    default:
        return assignType(m, {pick(1, members)}, 1, 0.01f * pick(0, 314));
    }
}

} // namespace

int main(int argc, char** argv) {
    const int steps = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 315;
    const bool copies = argc >= 3 && std::strcmp(argv[2], "copies") == 0;

    GridVariables grid;
    setGridSize(grid, 600, 600, 10, 10, 8, 350);
    auto m = std::make_unique<Model>();
    layOutGrid(*m, grid);
    DAT_READ(*m);
    m->MemberTypeCount = 1;
    m->TypeArea[1] = 100, m->TypeIy[1] = 8000, m->TypeIz[1] = 3000, m->TypeJ[1] = 500;
    for (int k = 1; k <= m->MemberCount; ++k) {
        m->MemberTypeNo[k] = 1;
        m->copyTypeToMember(k, 1);
    }

    std::mt19937 rng(315);
    EditHistory history;
    std::vector<std::unique_ptr<Model>> kept;
    const long before = residentBytes();
    int applied = 0;
    while (applied < steps) {
        if (copies)
            kept.push_back(std::make_unique<Model>(*m));
        else
            history.begin(*m);
        if (randomEdit(*m, rng).empty()) {
            ++applied;
        } else if (copies) {
            *m = *kept.back();
            kept.pop_back();
        } else {
            history.cancel(*m);
        }
    }
    const long grown = residentBytes() - before;
    const double held = copies ? static_cast<double>(kept.size() * sizeof(Model))
                               : static_cast<double>(history.bytes());
    std::printf("%s: %d steps on %d nodes, %d members: %.1f MB held, resident set +%.1f MB\n",
                copies ? "a copy per step" : "undo history", applied, m->NodeCount, m->MemberCount,
                held / 1e6, grown / 1e6);
    if (!copies)
        std::printf("steps kept %zu, back to the start: %s\n", history.steps(),
                    history.reachesStart() ? "yes" : "no");
    return 0;
}
