#include "model/Grid.h"

#include "model/Limits.h"
#include "model/Model.h"

#include <string>

namespace rahmen {

GridCounts gridCounts(int64_t nx, int64_t ny, int64_t storeys) {
    const int64_t perFloor = (nx + 1) * (ny + 1);
    const int64_t perStorey = perFloor + ny * (nx + 1) + nx * (ny + 1);
    return {perFloor * (storeys + 1), perStorey * storeys};
}

void setGridSize(GridVariables& g, float spanX, float spanY, int32_t nx, int32_t ny,
                 int32_t storeys, float storeyHeight) {
    g.SpanX = spanX;
    g.SpanY = spanY;
    g.SpanCountX = nx;
    g.SpanCountY = ny;
    g.StoreyCount = storeys;
    g.StoreyHeight = storeyHeight;
    g.GridLengthX = spanX * static_cast<float>(nx);
    g.GridLengthY = spanY * static_cast<float>(ny);
    g.NodesPerFloor = (nx + 1) * (ny + 1);
    g.ColumnsPerStorey = g.NodesPerFloor;
    g.YBeamsPerStorey = ny * (nx + 1);
    g.XBeamsPerStorey = nx * (ny + 1);
    g.MembersPerStorey = g.ColumnsPerStorey + g.YBeamsPerStorey + g.XBeamsPerStorey;
}

bool checkGridLimits(Dialogs& dialogs, int64_t nx, int64_t ny, int64_t storeys) {
    const GridCounts counts = gridCounts(nx, ny, storeys);
    return checkLimit(dialogs, "節点数", static_cast<long>(counts.nodes), kMaxNodes) &&
           checkLimit(dialogs, "部材数", static_cast<long>(counts.members), kMaxMembers);
}

int gridNode(const GridVariables& g, int k, int i, int j) {
    return k * g.NodesPerFloor + (i - 1) * (g.SpanCountY + 1) + j;
}

void clearFrame(Model& m) {
    const std::string name = m.DataName;
    const float units = m.UnitFactor;
    const int16_t coord = m.CoordFileState, frame = m.FrameFileState,
                  report = m.AnalysisFileWritten;
    m.resetAll();
    // What the full reset leaves because other flags guard it: nothing of the
    // earlier frame may reach the new one.
    m.TypeShearAreaY.fill(0);
    m.TypeShearAreaZ.fill(0);
    for (auto& load : m.MemberUniformLoad)
        load.fill(0);
    m.DataName = name;
    m.UnitFactor = units;
    m.CoordFileState = coord;
    m.FrameFileState = frame;
    m.AnalysisFileWritten = report;
}

void layOutGrid(Model& m, const GridVariables& g) {
    clearFrame(m);
    const int nx = g.SpanCountX, ny = g.SpanCountY, storeys = g.StoreyCount;
    for (int k = 0; k <= storeys; ++k)
        for (int i = 1; i <= nx + 1; ++i)
            for (int j = 1; j <= ny + 1; ++j) {
                const int n = gridNode(g, k, i, j);
                m.NodeX[n] = static_cast<float>(i - 1) * g.SpanX;
                m.NodeY[n] = static_cast<float>(j - 1) * g.SpanY;
                m.NodeZ[n] = static_cast<float>(k) * g.StoreyHeight;
                if (k == 0) m.NodeIsSupport[n] = -1;
            }

    auto connect = [&m](int member, int start, int end) {
        m.MemberStartNode[member] = static_cast<int16_t>(start);
        m.MemberEndNode[member] = static_cast<int16_t>(end);
    };
    for (int k = 1; k <= storeys; ++k) {
        const int first = (k - 1) * g.MembersPerStorey;
        for (int i = 1; i <= nx + 1; ++i)
            for (int j = 1; j <= ny + 1; ++j)
                connect(first + (i - 1) * (ny + 1) + j, gridNode(g, k - 1, i, j),
                        gridNode(g, k, i, j));
        for (int i = 1; i <= nx + 1; ++i)
            for (int j = 1; j <= ny; ++j)
                connect(first + g.ColumnsPerStorey + (i - 1) * ny + j, gridNode(g, k, i, j),
                        gridNode(g, k, i, j + 1));
        for (int i = 1; i <= nx; ++i)
            for (int j = 1; j <= ny + 1; ++j)
                connect(first + g.ColumnsPerStorey + g.YBeamsPerStorey + (i - 1) * (ny + 1) + j,
                        gridNode(g, k, i, j), gridNode(g, k, i + 1, j));
    }
    m.NodeCount = static_cast<int16_t>(g.NodesPerFloor * (storeys + 1));
    m.SupportCount = static_cast<int16_t>(g.NodesPerFloor);
    m.MemberCount = static_cast<int16_t>(g.MembersPerStorey * storeys);
}

bool isGridColumn(const GridVariables& g, int m) {
    return g.MembersPerStorey > 0 && (m - 1) % g.MembersPerStorey < g.ColumnsPerStorey;
}

} // namespace rahmen
