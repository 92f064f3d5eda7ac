#include "model/Grid.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <memory>

namespace rahmen {
namespace {

struct Ends {
    int member, start, end;
};

void expectEnds(const Model& m, std::initializer_list<Ends> ends) {
    for (const Ends& e : ends) {
        EXPECT_EQ(m.MemberStartNode[e.member], e.start) << "member " << e.member;
        EXPECT_EQ(m.MemberEndNode[e.member], e.end) << "member " << e.member;
    }
}

TEST(Grid, TwoByOneSpansOneStoreyNumbersNodesLineByLineAndMembersBlockByBlock) {
    GridVariables g;
    setGridSize(g, 600, 500, 2, 1, 1, 300);
    EXPECT_EQ(g.NodesPerFloor, 6);
    EXPECT_EQ(g.ColumnsPerStorey, 6);
    EXPECT_EQ(g.YBeamsPerStorey, 3);
    EXPECT_EQ(g.XBeamsPerStorey, 4);
    EXPECT_EQ(g.MembersPerStorey, 13);
    EXPECT_EQ(g.GridLengthX, 1200.0f);
    // Counts past the 16 bits of the model's counters, and past 32 bits.
    EXPECT_EQ(gridCounts(10, 10, 8).members, 2728);
    EXPECT_EQ(gridCounts(100000, 100000, 1000).nodes, 10010200201001LL);

    auto m = std::make_unique<Model>();
    layOutGrid(*m, g);
    EXPECT_EQ(m->NodeCount, 12);
    EXPECT_EQ(m->MemberCount, 13);
    EXPECT_EQ(m->SupportCount, 6);
    for (int n = 1; n <= 12; ++n)
        EXPECT_EQ(m->NodeIsSupport[n], n <= 6 ? -1 : 0) << n;
    // Node 11 is on grid line i = 3, j = 1 of floor 1.
    EXPECT_EQ(m->NodeX[11], 1200.0f);
    EXPECT_EQ(m->NodeY[11], 0.0f);
    EXPECT_EQ(m->NodeZ[11], 300.0f);
    expectEnds(*m, {{1, 1, 7},
                    {6, 6, 12},
                    {7, 7, 8},
                    {8, 9, 10},
                    {9, 11, 12},
                    {10, 7, 9},
                    {11, 8, 10},
                    {12, 9, 11},
                    {13, 10, 12}});
}

TEST(Grid, LayingOutStartsFromAClearedModel) {
    auto m = std::make_unique<Model>();
    m->DataName = "old";
    m->NodeIsSupport[30] = -1;
    m->PinEndY[2] = -1;
    m->TypeShearAreaY[1] = 7;
    m->MemberUniformLoad[1][2] = -3;
    GridVariables g;
    setGridSize(g, 600, 600, 1, 1, 1, 300);
    layOutGrid(*m, g);
    EXPECT_EQ(m->DataName, "old");
    EXPECT_EQ(m->NodeIsSupport[30], 0);
    EXPECT_EQ(m->PinEndY[2], 0);
    EXPECT_EQ(m->TypeShearAreaY[1], 0.0f);
    EXPECT_EQ(m->MemberUniformLoad[1][2], 0.0f);
}

} // namespace
} // namespace rahmen
