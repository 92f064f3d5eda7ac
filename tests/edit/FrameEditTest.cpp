#include "edit/FrameEdit.h"
#include "analysis/ana.h"
#include "model/Grid.h"
#include "model/Model.h"
#include "model/ModelFiles.h"
#include "model/TextFile.h"
#include "sections/Sections.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
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

// The frame file keeps whole centimetres (halves away from zero), so every
// length and coincidence check is made on the coordinates as they are stored.
TEST(FrameEdit, ChecksSeeTheCoordinatesAsTheFrameFileStoresThem) {
    const std::string vanishes = "部材 1 の長さが 0 になるため、移動できません。";
    const struct {
        const char* what;
        EditMessage (*edit)(Model&);
        std::string message;
    } cases[] = {
        {"node 2 to 0.4 cm from node 1", [](Model& m) { return moveNode(m, 2, 0.4f, 0, 0); },
         vanishes},
        {"node 2 to -0.49, 0.3", [](Model& m) { return moveNode(m, 2, -0.49f, 0.3f, 0); },
         vanishes},
        {"node 2 to 0.5 cm, stored as 1", [](Model& m) { return moveNode(m, 2, 0.5f, 0, 0); }, ""},
        {"plane x = 100 to x = -0.4", [](Model& m) { return movePlane(m, Axis::X, 100, -0.4f); },
         vanishes},
        {"line through node 2 to x 0.3, y -0.2",
         [](Model& m) { return moveLine(m, {2}, Axis::Z, 0.3f, -0.2f); }, vanishes},
        {"member to a node 0.3 cm away",
         [](Model& m) {
             m.NodeX[4] = 0.3f;
             return addMember(m, 1, 4, 1, 0);
         },
         "始点と終点が同じ位置にあるため、部材の長さが 0 になります。"},
        {"node after 1 at 0.4 cm", [](Model& m) { return insertNodeAfter(m, 1, 0.4f, 0, -0.4f); },
         "選択した節点と同じ位置には節点を追加できません。"},
        {"split of a member 1 cm long",
         [](Model& m) {
             m.NodeX[2] = 1;
             return splitMember(m, 1);
         },
         "部材 1 は短すぎるため、分割できません。"},
        {"split of a member 2 cm long",
         [](Model& m) {
             m.NodeX[2] = 2;
             return splitMember(m, 1);
         },
         ""},
    };
    for (const auto& c : cases) {
        auto m = chain(4);
        EXPECT_EQ(c.edit(*m), c.message) << c.what;
        if (c.message.empty()) continue;
        EXPECT_EQ(m->NodeCount, 4) << c.what;
        EXPECT_EQ(m->MemberCount, 3) << c.what;
        if (c.message != vanishes) continue;
        EXPECT_FLOAT_EQ(m->NodeX[2], 100) << c.what;
        EXPECT_FLOAT_EQ(m->NodeY[2], 0) << c.what;
    }
}

// One operation of the editing window on a random pick, with typed numbers as
// a user types them: whole and tenth centimetres, often a few tenths from a
// coordinate the frame already has. Returns the operation's refusal.
EditMessage randomEdit(Model& m, std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    const int nodes = m.NodeCount, members = m.MemberCount;
    auto member = [&] { return members > 0 ? pick(1, members) : 0; }; // 0: none to pick
    auto typed = [&](Axis axis) {
        if (pick(0, 1) == 0) return 0.1f * pick(-100, 6000);
        return nodeCoordinate(m, pick(1, nodes), axis) + 0.1f * pick(-6, 6);
    };
    switch (pick(0, 10)) {
    case 0:
        return deleteMembers(m, {member()});
    case 1:
        return addMember(m, pick(1, nodes), pick(1, nodes), pick(1, m.MemberTypeCount),
                         0.01f * pick(-314, 314));
    case 2:
        return insertNodeAfter(m, pick(1, nodes), typed(Axis::X), typed(Axis::Y), typed(Axis::Z));
    case 3:
        return splitMember(m, member());
    case 4: {
        // Often next to the other end of one of the node's members.
        const int k = member(), n = k > 0 ? m.MemberStartNode[k] : 1;
        if (k == 0 || pick(0, 1) == 0)
            return moveNode(m, n, typed(Axis::X), typed(Axis::Y), typed(Axis::Z));
        const int e = m.MemberEndNode[k];
        auto near = [&](Axis axis) { return nodeCoordinate(m, e, axis) + 0.1f * pick(-6, 6); };
        return moveNode(m, n, near(Axis::X), near(Axis::Y), near(Axis::Z));
    }
    case 5: {
        const Axis axis = static_cast<Axis>(pick(0, 2));
        return movePlane(m, axis, nodeCoordinate(m, pick(1, nodes), axis), typed(axis));
    }
    case 6: { // the nodes on the vertical line through a node
        const int n = pick(1, nodes);
        std::vector<int> line;
        for (int i = 1; i <= nodes; ++i)
            if (m.NodeX[i] == m.NodeX[n] && m.NodeY[i] == m.NodeY[n]) line.push_back(i);
        return moveLine(m, line, Axis::Z, typed(Axis::X), typed(Axis::Y));
    }
    case 7:
        return addSupports(m, {pick(1, nodes)});
    case 8: { // what the release form stores for a member
        const int k = member();
        if (k == 0) return "部材を選択してください。";
        if (pick(0, 3) == 0)
            m.PinStartZ[k] = -1;
        else
            m.SpringEnd[k][6] = 100.0f * pick(1, 50);
        m.updateEndSummaries(k);
        return {};
    }
    case 9: {
        int type = 0;
        if (m.MemberTypeCount < 6) {
            if (auto refused = addSteelType(m, pick(2, 4), pick(0, 40), type); !refused.empty())
                return refused;
        } else {
            type = pick(1, m.MemberTypeCount);
        }
        return assignType(m, {member()}, type, 0.01f * pick(-314, 314));
    }
    default:
        return assignType(m, {member()}, pick(1, m.MemberTypeCount), 0);
    }
}

// The parts of the model the editing operations change, compared exactly.
bool sameFrame(const Model& a, const Model& b) {
#define SAME(field) (a.field == b.field)
    return SAME(NodeCount) && SAME(MemberCount) && SAME(MemberTypeCount) && SAME(SupportCount) &&
           SAME(PinnedEndCount) && SAME(SprungEndCount) && SAME(SteelTypeCount) &&
           SAME(LoadedNodeCount) && SAME(LoadedMemberCount) && SAME(AnalysisDone) && SAME(NodeX) &&
           SAME(NodeY) && SAME(NodeZ) && SAME(NodeIsSupport) && SAME(NodeLoad) &&
           SAME(NodeLoadFlag) && SAME(TypeArea) && SAME(TypeIy) && SAME(TypeIz) && SAME(TypeJ) &&
           SAME(TypeShearAreaY) && SAME(TypeShearAreaZ) && SAME(TypeSectionKind) &&
           SAME(TypeSteelNo) && SAME(MemberStartNode) && SAME(MemberEndNode) &&
           SAME(MemberTypeNo) && SAME(MemberAngle) && SAME(MemberArea) && SAME(MemberIy) &&
           SAME(MemberIz) && SAME(MemberJ) && SAME(MemberShearAreaY) && SAME(MemberShearAreaZ) &&
           SAME(PinStartX) && SAME(PinStartY) && SAME(PinStartZ) && SAME(PinEndX) &&
           SAME(PinEndY) && SAME(PinEndZ) && SAME(MemberStartPinned) && SAME(MemberEndPinned) &&
           SAME(MemberStartSprung) && SAME(MemberEndSprung) && SAME(SpringStart) &&
           SAME(SpringEnd) && SAME(MemberUniformLoad) && SAME(MemberLoadFlag) && SAME(DataName);
#undef SAME
}

// Random sessions of the editing window: after every operation the model is
// consistent; at the end its frame file reads back and the frame read is
// analysed (or found unstable, as a frame of random edits may be), never
// refused for what an operation should have refused; and undoing every step
// gives the frame the session began with. The numbers typed here lie within
// the stored range; EditWindow.RandomTypedNumbers… types ones beyond it
// through the windows.
TEST(FrameEdit, RandomSessionsSaveFramesThatReadBackAndAnalyseAndUndoToTheStart) {
    std::mt19937 rng(20261208);
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    int analysed = 0, refusedEdits = 0;
    for (int session = 0; session < 80; ++session) {
        auto m = chain(8);
        DAT_READ(*m);
        for (int n = 1; n <= 8; ++n)
            m->NodeZ[n] = 50.0f * pick(0, 4);
        const auto start = std::make_unique<Model>(*m);
        EditHistory history;
        std::size_t applied = 0;
        for (int step = 0; step < 150; ++step) {
            history.begin(*m);
            if (randomEdit(*m, rng).empty()) {
                ++applied;
            } else {
                history.cancel(*m);
                ++refusedEdits;
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
        ASSERT_EQ(history.steps(), applied);
        // The user's last edit: a support in every part of the frame without one.
        std::vector<int> part(static_cast<std::size_t>(m->NodeCount) + 1);
        for (int n = 1; n <= m->NodeCount; ++n)
            part[n] = n;
        std::function<int(int)> root = [&](int n) {
            return part[n] == n ? n : part[n] = root(part[n]);
        };
        for (int k = 1; k <= m->MemberCount; ++k)
            part[root(m->MemberStartNode[k])] = root(m->MemberEndNode[k]);
        std::vector<char> held(part.size(), 0);
        for (int n = 1; n <= m->NodeCount; ++n)
            if (m->NodeIsSupport[n] == -1) held[root(n)] = 1;
        for (int n = 1; n <= m->NodeCount; ++n)
            if (!held[root(n)]) {
                history.begin(*m);
                ASSERT_EQ(addSupports(*m, {n}), "");
                held[root(n)] = 1;
            }

        m->DataName = "edit";
        m->UnitFactor = kSiUnitFactor;
        ItemReader in(frameFileBytes(*m, DateTime{2026, 12, 8, 12, 0, 0}), "edit.fdt");
        auto back = std::make_unique<Model>();
        ASSERT_NO_THROW(readFrameFile(*back, in)) << "session " << session;
        ASSERT_EQ(back->NodeCount, m->NodeCount);
        ASSERT_EQ(back->MemberCount, m->MemberCount);
        EXPECT_EQ(back->SupportCount, m->SupportCount);
        EXPECT_EQ(back->SprungEndCount, m->SprungEndCount);
        for (int n = 1; n <= m->NodeCount; ++n) {
            EXPECT_EQ(back->NodeX[n], storedCoordinate(m->NodeX[n]));
            EXPECT_EQ(back->NodeZ[n], storedCoordinate(m->NodeZ[n]));
            EXPECT_EQ(back->NodeIsSupport[n], m->NodeIsSupport[n]);
        }
        for (int k = 1; k <= m->MemberCount; ++k) {
            EXPECT_EQ(back->MemberStartNode[k], m->MemberStartNode[k]);
            EXPECT_EQ(back->MemberEndNode[k], m->MemberEndNode[k]);
            EXPECT_EQ(back->MemberTypeNo[k], m->MemberTypeNo[k]);
            EXPECT_EQ(back->PinStartZ[k], m->PinStartZ[k]);
        }
        back->UnitFactor = kSiUnitFactor;
        back->YoungModulus = 205000;
        back->ShearModulus = 79000;
        EXPECT_EQ(checkAnalysisModel(*back), "") << "session " << session;
        SilentProgress progress;
        const AnalysisOutcome outcome = runAnalysis(*back, progress);
        EXPECT_TRUE(outcome.ok || outcome.failedDof > 0)
            << "session " << session << ": " << outcome.message;
        analysed += outcome.ok ? 1 : 0;

        while (history.undo(*m)) {
        }
        m->DataName = start->DataName;
        m->UnitFactor = start->UnitFactor;
        EXPECT_TRUE(sameFrame(*m, *start)) << "session " << session;
    }
    // The sessions reach frames that analyse, and operations that are refused.
    EXPECT_GE(analysed, 25);
    EXPECT_GE(refusedEdits, 80);
}

// Undo on the largest grid of the grid form: each step holds what it changed
// rather than a copy of the model, so hundreds of steps fit in a few
// megabytes (a copy per step took 336 MB for 315 steps), and undo takes each
// step back exactly. A history over its memory limit drops its oldest steps.
TEST(FrameEdit, UndoOnTheLargestGridHoldsWhatTheStepsChanged) {
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
    ASSERT_EQ(m->MemberCount, 2728);

    std::mt19937 rng(315);
    EditHistory history;
    std::vector<std::unique_ptr<Model>> before; // the model before every 50th step
    std::size_t applied = 0;
    while (applied < 315) {
        if (applied % 50 == 0 && before.size() == applied / 50) {
            before.push_back(std::make_unique<Model>(*m));
        }
        history.begin(*m);
        if (randomEdit(*m, rng).empty())
            ++applied;
        else
            history.cancel(*m);
    }
    EXPECT_EQ(history.steps(), 315u);
    EXPECT_TRUE(history.reachesStart());
    EXPECT_LT(history.bytes(), std::size_t{8} << 20) << history.bytes();
    for (std::size_t step = 315; step-- > 0;) {
        ASSERT_TRUE(history.undo(*m));
        if (step % 50 == 0) {
            ASSERT_TRUE(sameFrame(*m, *before[step / 50])) << "step " << step;
        }
    }
    EXPECT_FALSE(history.undo(*m));

    // Deleting the first member moves every other one: the largest step there is.
    EditHistory small(std::size_t{64} << 10);
    for (int i = 0; i < 30; ++i) {
        small.begin(*m);
        ASSERT_EQ(deleteMembers(*m, {1}), "");
        EXPECT_LE(small.bytes(), (std::size_t{64} << 10) + sizeof(Model));
    }
    EXPECT_FALSE(small.reachesStart());
    EXPECT_GT(small.steps(), 3u);
    EXPECT_LT(small.steps(), 30u);
    const std::size_t kept = small.steps();
    for (std::size_t i = 0; i < kept; ++i)
        ASSERT_TRUE(small.undo(*m));
    EXPECT_EQ(m->MemberCount, 2728 - 30 + static_cast<int>(kept));
    EXPECT_EQ(m->MemberStartNode[1], before[0]->MemberStartNode[30 - kept + 1]);
}

} // namespace
} // namespace rahmen
