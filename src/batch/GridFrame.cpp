#include "batch/GridFrame.h"

#include "analysis/AnalysisFile.h"
#include "model/Grid.h"
#include "model/Model.h"
#include "model/ModelFiles.h"
#include "model/TextFile.h"
#include "platform/Files.h"

#include <vector>

namespace rahmen {

long gridNodeCount(long bx, long by, long storeys) {
    return (bx + 1) * (by + 1) * (storeys + 1);
}

long gridMemberCount(long bx, long by, long storeys) {
    const long columns = (bx + 1) * (by + 1) * storeys;
    const long beams = (bx * (by + 1) + by * (bx + 1)) * storeys;
    return columns + beams;
}

std::unique_ptr<Model> gridFrame(int bx, int by, int storeys) {
    auto owner = std::make_unique<Model>();
    Model& m = *owner;
    // The program's one grid numbering; columns take type 1, beams type 2.
    GridVariables grid;
    setGridSize(grid, 600.0f, 600.0f, bx, by, storeys, 350.0f);
    layOutGrid(m, grid);
    m.UnitFactor = kSiUnitFactor;
    m.YoungModulus = 205000.0f;
    m.ShearModulus = 79000.0f;

    // Type 1 the columns, type 2 the beams.
    m.MemberTypeCount = 2;
    m.TypeArea[1] = 200.0f;
    m.TypeIy[1] = m.TypeIz[1] = 50000.0f;
    m.TypeJ[1] = 80000.0f;
    m.TypeArea[2] = 80.0f;
    m.TypeIy[2] = 60000.0f;
    m.TypeIz[2] = 3000.0f;
    m.TypeJ[2] = 100.0f;

    for (int n = grid.NodesPerFloor + 1; n <= m.NodeCount; ++n) {
        m.NodeLoad[6 * n - 5] = 10.0f;
        m.NodeLoad[6 * n - 4] = 5.0f;
        m.NodeLoadFlag[n] = 1;
        ++m.LoadedNodeCount;
    }
    for (int k = 1; k <= m.MemberCount; ++k) {
        const int type = isGridColumn(grid, k) ? 1 : 2;
        m.MemberTypeNo[k] = static_cast<int16_t>(type);
        m.copyTypeToMember(k, type);
        if (type == 2) {
            m.MemberUniformLoad[k][2] = -20.0f;
            m.MemberLoadFlag[k] = 1;
            m.LoadedMemberCount += 1;
        }
    }
    return owner;
}

std::string writeGridFiles(Files& files, const std::string& name, int bx, int by, int storeys,
                           const DateTime& when) {
    auto model = gridFrame(bx, by, storeys);
    std::string frame, loads;
    try {
        model->DataName = name;
        frame = frameFileBytes(*model, when);
        model->DataName = name + "_loads";
        loads = analysisReport(*model, std::vector<float>{}, when);
    } catch (const DataFileError& e) {
        return e.what();
    }
    for (const auto& [file, bytes] :
         {std::pair{name + ".fdt", &frame}, std::pair{name + "_loads.adt", &loads}}) {
        const FileResult written = files.writeAtomic(file, *bytes);
        if (!written) return file + " を作成できませんでした。\n" + written.error;
    }
    return {};
}

} // namespace rahmen
