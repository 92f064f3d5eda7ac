#include "edit/FrameEdit.h"
#include "model/Model.h"
#include "model/ModelFiles.h"
#include "model/TextFile.h"
#include "sections/Sections.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace rahmen {
namespace {

// Nodes 1..n on a line along X, 100 cm apart; members i → i+1 of type 1.
std::unique_ptr<Model> chain(int nodes) {
    auto m = std::make_unique<Model>();
    m->NodeCount = static_cast<int16_t>(nodes);
    for (int n = 1; n <= nodes; ++n)
        m->NodeX[n] = 100.0f * (n - 1);
    m->MemberTypeCount = 2;
    m->TypeArea[1] = 10, m->TypeIy[1] = 100, m->TypeIz[1] = 50, m->TypeJ[1] = 5;
    m->TypeArea[2] = 20, m->TypeIy[2] = 200, m->TypeIz[2] = 90, m->TypeJ[2] = 9;
    m->MemberCount = static_cast<int16_t>(nodes - 1);
    for (int k = 1; k < nodes; ++k) {
        m->MemberStartNode[k] = static_cast<int16_t>(k);
        m->MemberEndNode[k] = static_cast<int16_t>(k + 1);
        m->MemberTypeNo[k] = 1;
        m->copyTypeToMember(k, 1);
    }
    m->NodeIsSupport[1] = -1;
    m->SupportCount = 1;
    m->AnalysisDone = 1;
    return m;
}

TEST(FrameEdit, SplitInsertsTheMiddleNodeAndCarriesEverythingAlong) {
    auto m = chain(9);
    // Member 3 joins 3 and 7 here; its end is pinned about z and sprung, it
    // carries a uniform load, and node 7 a nodal load.
    m->MemberEndNode[3] = 7;
    m->NodeY[7] = 40; // so that the midpoint is not on the chain
    m->PinEndZ[3] = -1;
    m->SpringEnd[3][5] = 300;
    m->updateEndSummaries(3);
    m->MemberUniformLoad[3][2] = -10;
    m->MemberLoadFlag[3] = 1;
    m->LoadedMemberCount = 1;
    m->NodeLoad[6 * 7 - 3] = -50; // Z force of node 7
    m->NodeLoadFlag[7] = 1;
    m->LoadedNodeCount = 1;

    ASSERT_EQ(splitMember(*m, 3), "");
    EXPECT_EQ(m->NodeCount, 10);
    EXPECT_EQ(m->MemberCount, 9);
    // New node 6 = INT((3 + 7) / 2 + 1) at the midpoint; old 6, 7 became 7, 8.
    EXPECT_FLOAT_EQ(m->NodeX[6], 400);
    EXPECT_FLOAT_EQ(m->NodeY[6], 20);
    EXPECT_EQ(m->NodeIsSupport[6], 0);
    EXPECT_FLOAT_EQ(m->NodeX[7], 500);
    EXPECT_FLOAT_EQ(m->NodeY[8], 40);
    EXPECT_FLOAT_EQ(m->NodeLoad[6 * 8 - 3], -50);
    EXPECT_EQ(m->NodeLoadFlag[8], 1);
    EXPECT_EQ(m->NodeLoadFlag[7], 0);
    EXPECT_EQ(m->MemberEndNode[3], 6);
    EXPECT_EQ(m->MemberStartNode[9], 6);
    EXPECT_EQ(m->MemberEndNode[9], 8);
    EXPECT_EQ(m->MemberStartNode[6], 7); // old member 6 → 7 renumbered as 7 → 8
    // The end releases moved to the new half, the load stays on both.
    EXPECT_EQ(m->PinEndZ[3], 0);
    EXPECT_EQ(m->PinEndZ[9], -1);
    EXPECT_EQ(m->MemberEndPinned[3], 0);
    EXPECT_EQ(m->MemberEndPinned[9], 1);
    EXPECT_FLOAT_EQ(m->SpringEnd[9][5], 300);
    EXPECT_EQ(m->MemberEndSprung[9], 1);
    EXPECT_EQ(m->PinnedEndCount, 1);
    EXPECT_EQ(m->SprungEndCount, 1);
    EXPECT_FLOAT_EQ(m->MemberUniformLoad[9][2], -10);
    EXPECT_FLOAT_EQ(m->LoadedMemberCount, 2);
    EXPECT_EQ(m->AnalysisDone, 0);
}

TEST(FrameEdit, AddedMembersRunUpwardAndRefuseWhatCannotBeAFrame) {
    auto m = chain(9);
    ASSERT_EQ(addMember(*m, 9, 4, 2, 0.5f), "");
    EXPECT_EQ(m->MemberCount, 9);
    EXPECT_EQ(m->MemberStartNode[9], 4);
    EXPECT_EQ(m->MemberEndNode[9], 9);
    EXPECT_FLOAT_EQ(m->MemberArea[9], 20);
    EXPECT_FLOAT_EQ(m->MemberAngle[9], 0.5f);

    m->NodeX[5] = m->NodeX[2]; // node 5 now lies on node 2
    const struct {
        int a, b, type;
    } refused[] = {{3, 3, 1}, {2, 5, 1}, {4, 9, 1}, {3, 4, 1}, {1, 3, 0}, {1, 3, 3}, {0, 3, 1}};
    for (const auto& r : refused) {
        EXPECT_NE(addMember(*m, r.a, r.b, r.type, 0), "")
            << r.a << "-" << r.b << " type " << r.type;
        EXPECT_EQ(m->MemberCount, 9);
    }
}

TEST(FrameEdit, DeletedMembersTakeTheirReleasesAndLoadsAlong) {
    auto m = chain(6);
    // Member 2 is sprung at both ends and loaded; member 4 is pinned at its start.
    m->SpringStart[2][6] = 100;
    m->SpringEnd[2][6] = 100;
    m->updateEndSummaries(2);
    m->MemberLoadFlag[2] = 1;
    m->MemberUniformLoad[2][1] = 5;
    m->LoadedMemberCount = 1;
    m->PinStartY[4] = -1;
    m->updateEndSummaries(4);
    ASSERT_EQ(m->SprungEndCount, 2);

    ASSERT_EQ(deleteMembers(*m, {2, 3, 2}), "");
    EXPECT_EQ(m->MemberCount, 3);
    EXPECT_EQ(m->SprungEndCount, 0);
    EXPECT_EQ(m->PinnedEndCount, 1);
    EXPECT_FLOAT_EQ(m->LoadedMemberCount, 0);
    EXPECT_EQ(m->MemberStartNode[2], 4); // old member 4 moved down two places
    EXPECT_EQ(m->PinStartY[2], -1);
    EXPECT_EQ(m->MemberStartPinned[2], 1);
    EXPECT_EQ(m->NodeCount, 6); // node 3 has no member now but stays

    // A new member in a vacated slot inherits nothing.
    ASSERT_EQ(addMember(*m, 2, 4, 1, 0), "");
    EXPECT_EQ(m->MemberCount, 4);
    EXPECT_EQ(m->PinStartY[4], 0);
    EXPECT_EQ(m->MemberLoadFlag[4], 0);
    EXPECT_FLOAT_EQ(m->SpringStart[4][6], 0);
    EXPECT_FLOAT_EQ(m->SpringEnd[4][6], 0);
}

TEST(FrameEdit, MovesRefusedWhenAMemberWouldVanishAndSupportsCountedOnce) {
    auto m = chain(4);
    EXPECT_NE(moveNode(*m, 2, 200, 0, 0), ""); // onto node 3, its neighbour
    EXPECT_FLOAT_EQ(m->NodeX[2], 100);
    EXPECT_EQ(m->AnalysisDone, 1);
    EXPECT_NE(movePlane(*m, Axis::X, 100, 0), ""); // node 2 onto node 1
    EXPECT_FLOAT_EQ(m->NodeX[2], 100);
    EXPECT_NE(moveLine(*m, {3, 4}, Axis::Z, 250, 30), ""); // 3–4 runs along X
    m->NodeX[4] = 200;
    m->NodeZ[4] = 300; // now 3–4 is vertical
    ASSERT_EQ(moveLine(*m, {3, 4}, Axis::Z, 250, 30), "");
    EXPECT_FLOAT_EQ(m->NodeX[3], 250);
    EXPECT_FLOAT_EQ(m->NodeY[4], 30);
    EXPECT_NE(insertNodeAfter(*m, 2, 100, 0, 0), "");
    ASSERT_EQ(insertNodeAfter(*m, 2, 100, 0, 300), "");
    EXPECT_EQ(m->MemberEndNode[2], 4); // old node 3 moved up
    ASSERT_EQ(addMember(*m, 2, 3, 1, 0), "");

    ASSERT_EQ(addSupports(*m, {1, 3, 3}), "");
    EXPECT_EQ(m->SupportCount, 2);
}

TEST(FrameEdit, SteelTypeFromTheTablesAndTypeAssignment) {
    auto m = chain(3);
    int type = 0;
    EXPECT_NE(addSteelType(*m, kSectionHShape, 0, type), ""); // tables not loaded yet
    EXPECT_NE(assignType(*m, {1, 2}, 3, 0), "");              // no type 3 yet
    DAT_READ(*m);
    ASSERT_EQ(addSteelType(*m, kSectionHShape, 0, type), "");
    EXPECT_EQ(type, 3);
    EXPECT_EQ(m->SteelTypeCount, 1);
    EXPECT_EQ(m->TypeSectionKind[3], 2);
    ASSERT_EQ(assignType(*m, {2}, 3, 1.5708f), "");
    EXPECT_FLOAT_EQ(m->MemberArea[2], 11.85f); // the H table's first row
    EXPECT_FLOAT_EQ(m->MemberShearAreaZ[2], 7.0f);
    EXPECT_FLOAT_EQ(m->MemberAngle[2], 1.5708f);
    EXPECT_FLOAT_EQ(m->MemberArea[1], 10);
    m->MemberTypeCount = kMaxMemberTypes;
    EXPECT_NE(addSteelType(*m, kSectionHShape, 1, type), "");
}

// A random frame edited by random operations stays consistent, and its frame
// file reads back to the same frame.
TEST(FrameEdit, RandomEditsKeepTheModelConsistentAndTheFrameFileReadsBack) {
    std::mt19937 rng(20261208);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    for (int round = 0; round < 20; ++round) {
        auto m = chain(8);
        for (int n = 1; n <= 8; ++n)
            m->NodeZ[n] = 50.0f * pick(0, 4);
        for (int step = 0; step < 40; ++step) {
            const int nodes = m->NodeCount, members = m->MemberCount;
            switch (pick(0, 7)) {
            case 0:
                if (members > 1) deleteMembers(*m, {pick(1, members)});
                break;
            case 1:
                addMember(*m, pick(1, nodes), pick(1, nodes), pick(1, 2), 0);
                break;
            case 2:
                insertNodeAfter(*m, pick(1, nodes), 10.0f * pick(0, 60), 10.0f * pick(0, 9),
                                10.0f * pick(0, 9));
                break;
            case 3:
                if (members > 0) splitMember(*m, pick(1, members));
                break;
            case 4:
                moveNode(*m, pick(1, nodes), 10.0f * pick(0, 60), 0, 10.0f * pick(0, 9));
                break;
            case 5:
                addSupports(*m, {pick(1, nodes)});
                break;
            case 6:
                if (members > 0) {
                    const int k = pick(1, members);
                    m->PinStartZ[k] = -1;
                    m->SpringEnd[k][6] = 100;
                    m->updateEndSummaries(k);
                }
                break;
            default:
                if (members > 0) assignType(*m, {pick(1, members)}, pick(1, 2), 0);
            }
            int supports = 0;
            for (int n = 1; n <= m->NodeCount; ++n)
                supports += m->NodeIsSupport[n] == -1;
            ASSERT_EQ(supports, m->SupportCount);
            int pinned = 0, sprung = 0;
            for (int k = 1; k <= m->MemberCount; ++k) {
                ASSERT_GE(m->MemberStartNode[k], 1);
                ASSERT_LE(m->MemberEndNode[k], m->NodeCount);
                ASSERT_NE(m->MemberStartNode[k], m->MemberEndNode[k]);
                pinned += m->MemberStartPinned[k] + m->MemberEndPinned[k];
                sprung += m->MemberStartSprung[k] + m->MemberEndSprung[k];
            }
            ASSERT_EQ(pinned, m->PinnedEndCount);
            ASSERT_EQ(sprung, m->SprungEndCount);
            ASSERT_EQ(m->MemberStartNode[m->MemberCount + 1], 0); // nothing left behind
        }
        m->DataName = "edit";
        m->UnitFactor = kSiUnitFactor;
        ItemReader in(frameFileBytes(*m, DateTime{2026, 12, 8, 12, 0, 0}), "edit.fdt");
        auto back = std::make_unique<Model>();
        readFrameFile(*back, in);
        ASSERT_EQ(back->NodeCount, m->NodeCount);
        ASSERT_EQ(back->MemberCount, m->MemberCount);
        EXPECT_EQ(back->SupportCount, m->SupportCount);
        EXPECT_EQ(back->SprungEndCount, m->SprungEndCount);
        for (int n = 1; n <= m->NodeCount; ++n) {
            // The file keeps whole centimetres; split midpoints may lie between.
            EXPECT_NEAR(back->NodeX[n], m->NodeX[n], 0.5);
            EXPECT_NEAR(back->NodeZ[n], m->NodeZ[n], 0.5);
            EXPECT_EQ(back->NodeIsSupport[n], m->NodeIsSupport[n]);
        }
        for (int k = 1; k <= m->MemberCount; ++k) {
            EXPECT_EQ(back->MemberStartNode[k], m->MemberStartNode[k]);
            EXPECT_EQ(back->MemberEndNode[k], m->MemberEndNode[k]);
            EXPECT_EQ(back->MemberTypeNo[k], m->MemberTypeNo[k]);
            EXPECT_EQ(back->PinStartZ[k], m->PinStartZ[k]);
        }
    }
}

} // namespace
} // namespace rahmen
