#include "batch/GridFrame.h"

#include "analysis/AnalysisFile.h"
#include "analysis/FrameView.h"
#include "model/Grid.h"
#include "model/Model.h"
#include "model/ModelFiles.h"
#include "model/TextFile.h"
#include "platform/Files.h"

#include <random>
#include <vector>

namespace rahmen {

namespace {

// The grid's numbers, shared by the model's frame and the tables' one.
constexpr float kSpan = 600.0f;         // cm, both ways
constexpr float kStoreyHeight = 350.0f; // cm
constexpr float kYoungModulus = 205000.0f;
constexpr float kShearModulus = 79000.0f;
struct GridSection {
    float area, iy, iz, j; // cm², cm⁴
};
constexpr GridSection kColumn = {200.0f, 50000.0f, 50000.0f, 80000.0f}; // type 1
constexpr GridSection kBeam = {80.0f, 60000.0f, 3000.0f, 100.0f};       // type 2
constexpr float kFloorLoadX = 10.0f;                                    // kN at every floor node
constexpr float kFloorLoadY = 5.0f;
constexpr float kBeamLoad = -20.0f; // kN/m along member z on every beam

GridVariables gridVariables(int bx, int by, int storeys) {
    GridVariables grid;
    setGridSize(grid, kSpan, kSpan, bx, by, storeys, kStoreyHeight);
    return grid;
}

} // namespace

long gridNodeCount(long bx, long by, long storeys) {
    return (bx + 1) * (by + 1) * (storeys + 1);
}

long gridMemberCount(long bx, long by, long storeys) {
    const long columns = (bx + 1) * (by + 1) * storeys;
    const long beams = (bx * (by + 1) + by * (bx + 1)) * storeys;
    return columns + beams;
}

std::vector<int> shuffledNodeNumbers(int nodes, unsigned seed) {
    std::vector<int> number(static_cast<std::size_t>(nodes) + 1);
    for (int n = 0; n <= nodes; ++n)
        number[static_cast<std::size_t>(n)] = n;
    // Fisher–Yates on the raw generator output: std::shuffle and the
    // distributions may differ between standard libraries, mt19937 does not.
    std::mt19937 gen(seed);
    for (int k = nodes; k > 1; --k)
        std::swap(number[static_cast<std::size_t>(k)],
                  number[static_cast<std::size_t>(1 + gen() % static_cast<unsigned>(k))]);
    return number;
}

namespace {

// Gives node n the number newNumber[n], in every node table the grid fills.
void renumberNodes(Model& m, const std::vector<int>& newNumber) {
    const auto owner = std::make_unique<Model>(m);
    const Model& old = *owner;
    for (int n = 1; n <= old.NodeCount; ++n) {
        const int p = newNumber[static_cast<std::size_t>(n)];
        m.NodeX[p] = old.NodeX[n];
        m.NodeY[p] = old.NodeY[n];
        m.NodeZ[p] = old.NodeZ[n];
        m.NodeIsSupport[p] = old.NodeIsSupport[n];
        m.NodeLoadFlag[p] = old.NodeLoadFlag[n];
        for (int k = 1; k <= 6; ++k)
            m.NodeLoad[6 * p - 6 + k] = old.NodeLoad[6 * n - 6 + k];
    }
    for (int k = 1; k <= old.MemberCount; ++k) {
        m.MemberStartNode[k] = static_cast<int16_t>(newNumber[old.MemberStartNode[k]]);
        m.MemberEndNode[k] = static_cast<int16_t>(newNumber[old.MemberEndNode[k]]);
    }
}

} // namespace

std::unique_ptr<Model> gridFrame(int bx, int by, int storeys, unsigned shuffleSeed) {
    auto owner = std::make_unique<Model>();
    Model& m = *owner;
    // The program's one grid numbering; columns take type 1, beams type 2.
    const GridVariables grid = gridVariables(bx, by, storeys);
    layOutGrid(m, grid);
    m.UnitFactor = kSiUnitFactor;
    m.YoungModulus = kYoungModulus;
    m.ShearModulus = kShearModulus;

    m.MemberTypeCount = 2;
    for (int t : {1, 2}) {
        const GridSection& s = t == 1 ? kColumn : kBeam;
        m.TypeArea[t] = s.area;
        m.TypeIy[t] = s.iy;
        m.TypeIz[t] = s.iz;
        m.TypeJ[t] = s.j;
    }

    for (int n = grid.NodesPerFloor + 1; n <= m.NodeCount; ++n) {
        m.NodeLoad[6 * n - 5] = kFloorLoadX;
        m.NodeLoad[6 * n - 4] = kFloorLoadY;
        m.NodeLoadFlag[n] = 1;
        ++m.LoadedNodeCount;
    }
    for (int k = 1; k <= m.MemberCount; ++k) {
        const int type = isGridColumn(grid, k) ? 1 : 2;
        m.MemberTypeNo[k] = static_cast<int16_t>(type);
        m.copyTypeToMember(k, type);
        if (type == 2) {
            m.MemberUniformLoad[k][2] = kBeamLoad;
            m.MemberLoadFlag[k] = 1;
            m.LoadedMemberCount += 1;
        }
    }
    if (shuffleSeed != 0) renumberNodes(m, shuffledNodeNumbers(m.NodeCount, shuffleSeed));
    return owner;
}

void gridFrameTables(FrameTables& t, int bx, int by, int storeys) {
    const GridVariables g = gridVariables(bx, by, storeys);
    const long members = gridMemberCount(bx, by, storeys);
    t.resize(static_cast<int>(gridNodeCount(bx, by, storeys)), static_cast<int>(members));
    t.UnitFactor = kSiUnitFactor;
    t.YoungModulus = kYoungModulus;
    t.ShearModulus = kShearModulus;
    t.ShearShapeFactor = 0;

    // Nodes, supports and members as layOutGrid places them in the model.
    for (int k = 0; k <= storeys; ++k)
        for (int i = 1; i <= bx + 1; ++i)
            for (int j = 1; j <= by + 1; ++j) {
                const int n = gridNode(g, k, i, j);
                t.NodeX[n] = static_cast<float>(i - 1) * g.SpanX;
                t.NodeY[n] = static_cast<float>(j - 1) * g.SpanY;
                t.NodeZ[n] = static_cast<float>(k) * g.StoreyHeight;
                if (k == 0) t.NodeIsSupport[n] = -1;
                if (k > 0) {
                    t.NodeLoad[6 * n - 5] = kFloorLoadX;
                    t.NodeLoad[6 * n - 4] = kFloorLoadY;
                }
            }
    auto connect = [&t](int member, int start, int end) {
        t.MemberStartNode[member] = static_cast<int16_t>(start);
        t.MemberEndNode[member] = static_cast<int16_t>(end);
    };
    for (int k = 1; k <= storeys; ++k) {
        const int first = (k - 1) * g.MembersPerStorey;
        for (int i = 1; i <= bx + 1; ++i)
            for (int j = 1; j <= by + 1; ++j)
                connect(first + (i - 1) * (by + 1) + j, gridNode(g, k - 1, i, j),
                        gridNode(g, k, i, j));
        for (int i = 1; i <= bx + 1; ++i)
            for (int j = 1; j <= by; ++j)
                connect(first + g.ColumnsPerStorey + (i - 1) * by + j, gridNode(g, k, i, j),
                        gridNode(g, k, i, j + 1));
        for (int i = 1; i <= bx; ++i)
            for (int j = 1; j <= by + 1; ++j)
                connect(first + g.ColumnsPerStorey + g.YBeamsPerStorey + (i - 1) * (by + 1) + j,
                        gridNode(g, k, i, j), gridNode(g, k, i + 1, j));
    }

    t.LoadedMemberCount = 0;
    for (int m = 1; m <= members; ++m) {
        const bool column = isGridColumn(g, m);
        const GridSection& s = column ? kColumn : kBeam;
        t.MemberArea[m] = s.area;
        t.MemberIy[m] = s.iy;
        t.MemberIz[m] = s.iz;
        t.MemberJ[m] = s.j;
        if (!column) {
            t.MemberUniformLoad[m][2] = kBeamLoad;
            t.MemberLoadFlag[m] = 1;
            t.LoadedMemberCount += 1;
        }
    }
}

std::string writeGridFiles(Files& files, const std::string& name, int bx, int by, int storeys,
                           const DateTime& when, unsigned shuffleSeed) {
    auto model = gridFrame(bx, by, storeys, shuffleSeed);
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
