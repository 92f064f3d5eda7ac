// The load bookkeeping of the mouse analysis, without its window: loads
// stored, replaced and taken away step by step, and the nodes a level pick adds.

#include "TestFrame.h"
#include "analysis/mo_analy.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace rahmen::test {
namespace {

// A portal on supports 1 and 4 with a second node at each top: 2, 3, 5 at Z 300.
Frame portal() {
    Frame f;
    f.node(0, 0, 0, true);
    f.node(0, 0, 300);
    f.node(500, 0, 300);
    f.node(500, 0, 0, true);
    f.node(250, 0, 300);
    f.member(1, 2, 100, 1e4, 1e4, 1e3);
    f.member(2, 5, 100, 1e4, 1e4, 1e3);
    f.member(5, 3, 100, 1e4, 1e4, 1e3);
    f.member(4, 3, 100, 1e4, 1e4, 1e3);
    return f;
}

TEST(MouseAnalysisLoads, StoredReplacedAndTakenAwayStepByStep) {
    const TypedNodalLoad pushX{{10, 0, -20, 1.5f, 0, 0}};
    const TypedNodalLoad pushY{{0, 7, 0, 0, 0, -2}};
    struct Step {
        const char* what;
        std::function<int(Model&)> apply; // returns the nodes already loaded
        int alreadyLoaded, loadedNodes, loadedMembers;
        int loadIndex;   // NodeLoad index checked after the step
        float loadValue; // its value (moments × 100)
        int member;      // member checked after the step
        float wz;        // its MemberUniformLoad(member, 2)
        int16_t flag;    // its MemberLoadFlag
    };
    const Step steps[] = {
        {"nodal load at 2 and 3",
         [&](Model& m) {
             return storeNodalLoad(m, {2, 3}, pushX);
         },
         0, 2, 0, 10, 150.0f, 1, 0, 0},
        {"3 again and 5: 3 replaced, not added",
         [&](Model& m) {
             return storeNodalLoad(m, {3, 5}, pushY);
         },
         1, 3, 0, 18, -200.0f, 1, 0, 0},
        {"node 0 and one beyond the frame passed over",
         [&](Model& m) {
             return storeNodalLoad(m, {0, 6}, pushY);
         },
         0, 3, 0, 32, 0.0f, 1, 0, 0},
        {"uniform load on member 2", [](Model& m) { return storeUniformLoad(m, 2, 0, -5), 0; }, 0,
         3, 1, 10, 150.0f, 2, -5.0f, 1},
        {"member 2 again: replaced, counted once",
         [](Model& m) { return storeUniformLoad(m, 2, 1, -7), 0; }, 0, 3, 1, 10, 150.0f, 2, -7.0f,
         1},
        {"member 2 with 0 and 0 carries no load",
         [](Model& m) { return storeUniformLoad(m, 2, 0, 0), 0; }, 0, 3, 0, 10, 150.0f, 2, 0.0f, 0},
        {"member 5 does not exist", [](Model& m) { return storeUniformLoad(m, 5, 0, -3), 0; }, 0, 3,
         0, 10, 150.0f, 5, 0.0f, 0},
        {"uniform load on member 3", [](Model& m) { return storeUniformLoad(m, 3, 0, -4), 0; }, 0,
         3, 1, 10, 150.0f, 3, -4.0f, 1},
        {"every load taken away", [](Model& m) { return clearLoads(m), 0; }, 0, 0, 0, 10, 0.0f, 3,
         0.0f, 0},
    };
    Frame f = portal();
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        EXPECT_EQ(s.apply(f.m), s.alreadyLoaded);
        EXPECT_EQ(f.m.LoadedNodeCount, s.loadedNodes);
        EXPECT_EQ(f.m.LoadedMemberCount, s.loadedMembers);
        EXPECT_EQ(f.m.NodeLoad[s.loadIndex], s.loadValue);
        EXPECT_EQ(f.m.MemberUniformLoad[s.member][2], s.wz);
        EXPECT_EQ(f.m.MemberLoadFlag[s.member], s.flag);
    }
    for (int n = 1; n <= 5; ++n)
        EXPECT_EQ(f.m.NodeLoadFlag[n], 0) << n;
}

TEST(MouseAnalysisLoads, PicksRefuseSupportsAndALevelPickAddsItsOtherNodes) {
    struct Row {
        int node;
        std::vector<int16_t> picked;
        bool refused;
        std::vector<std::pair<int, bool>> level; // node, support
    };
    const Row rows[] = {
        {2, {}, false, {{3, false}, {5, false}}},
        {5, {2}, false, {{3, false}}},
        {3, {2, 5}, false, {}},
        {1, {}, true, {{4, true}}},
    };
    Frame f = portal();
    for (const Row& r : rows) {
        SCOPED_TRACE(r.node);
        EXPECT_EQ(refusedLoadNode(f.m, r.node).empty(), !r.refused);
        std::vector<std::pair<int, bool>> level;
        for (const LevelNode& k : sameLevelNodes(f.m, r.node, 5, r.picked))
            level.emplace_back(k.node, k.support);
        EXPECT_EQ(level, r.level);
    }
    EXPECT_EQ(refusedLoadNode(f.m, 4), "支持点に荷重は付加できません。");
}

} // namespace
} // namespace rahmen::test
