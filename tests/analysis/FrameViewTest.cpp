#include "analysis/FrameView.h"
#include "analysis/ana.h"

#include "TestFrame.h"
#include "batch/GridFrame.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <memory>

using namespace rahmen;
using namespace rahmen::test;

namespace {

// Portal of four columns and four beams with a pin, end springs, a torsion
// release, a turned column, shear deformation and loads on nodes and beams.
std::unique_ptr<Model> portal(float unitFactor) {
    Frame f = releasedPortal(unitFactor != 1.0f);
    const int b1 = 5, b2 = 6, b3 = 7;
    f.uniform(b1, 0, -20);
    f.uniform(b2, 5, -12);
    f.uniform(b3, 4, -15);
    f.load(6, 1, 30);
    f.load(7, 2, -20);
    f.load(8, 6, 500);
    return std::move(f.owner);
}

// Entries 0..count of every column of `from` into `to`, whose columns are at
// least as long.
void copyColumns(const FrameView& from, const FrameView& to) {
    auto copy = [](const auto& a, const auto& b, int count) {
        std::memcpy(b.data, a.data, (static_cast<std::size_t>(count) + 1) * sizeof a.data[0]);
    };
    const int n = from.NodeCount, d = 6 * n, m = from.MemberCount;
    for (auto c : {&FrameView::NodeX, &FrameView::NodeY, &FrameView::NodeZ})
        copy(from.*c, to.*c, n);
    copy(from.NodeIsSupport, to.NodeIsSupport, n);
    for (auto c :
         {&FrameView::MemberStartNode, &FrameView::MemberEndNode, &FrameView::PinStartX,
          &FrameView::PinStartY, &FrameView::PinStartZ, &FrameView::PinEndX, &FrameView::PinEndY,
          &FrameView::PinEndZ, &FrameView::MemberStartPinned, &FrameView::MemberEndPinned})
        copy(from.*c, to.*c, m);
    for (auto c : {&FrameView::MemberAngle, &FrameView::MemberArea, &FrameView::MemberIy,
                   &FrameView::MemberIz, &FrameView::MemberJ, &FrameView::MemberShearAreaY,
                   &FrameView::MemberShearAreaZ, &FrameView::MemberLoadFlag})
        copy(from.*c, to.*c, m);
    copy(from.SpringStart, to.SpringStart, m);
    copy(from.SpringEnd, to.SpringEnd, m);
    copy(from.MemberUniformLoad, to.MemberUniformLoad, m);
    copy(from.NodeLoad, to.NodeLoad, d);
}

// The model's frame in tables with room for more nodes and members than it has.
void copyToTables(Model& model, FrameTables& tables) {
    tables.resize(model.NodeCount + 7, model.MemberCount + 5);
    tables.NodeCount = model.NodeCount;
    tables.MemberCount = model.MemberCount;
    tables.UnitFactor = model.UnitFactor;
    tables.YoungModulus = model.YoungModulus;
    tables.ShearModulus = model.ShearModulus;
    tables.ShearShapeFactor = model.ShearShapeFactor;
    tables.LoadedMemberCount = model.LoadedMemberCount;
    copyColumns(frameView(model), tables.view());
}

// Whether rows 1..count of two columns hold the same bytes.
template <class C> bool sameRows(const C& a, const C& b, int count) {
    return std::memcmp(&a[1], &b[1], static_cast<std::size_t>(count) * sizeof a.data[0]) == 0;
}

struct ViewCase {
    const char* name;
    std::function<std::unique_ptr<Model>()> model;
    Solver solver;
    bool generated; // the tables from the grid generator instead of a copy
};

class ThroughTheView : public ::testing::TestWithParam<ViewCase> {};

TEST_P(ThroughTheView, GivesTheModelsResultsBitForBit) {
    const ViewCase& c = GetParam();
    std::unique_ptr<Model> model = c.model();
    FrameTables tables;
    if (c.generated)
        gridFrameTables(tables, 3, 2, 2);
    else
        copyToTables(*model, tables);

    RecordingProgress progress;
    AnalysisWork byModel, byView;
    byModel.solver = byView.solver = c.solver;
    const AnalysisOutcome a = runAnalysis(*model, progress, byModel);
    const AnalysisOutcome b = runAnalysis(tables.view(), progress, byView);
    ASSERT_TRUE(a.ok) << a.message;
    ASSERT_TRUE(b.ok) << b.message;
    EXPECT_EQ(a.sparse, c.solver == Solver::Sparse);
    EXPECT_EQ(b.sparse, a.sparse);
    EXPECT_EQ(tables.AnalysisDone, 1);

    const FrameView x = frameView(*model), y = tables.view();
    ASSERT_EQ(y.NodeCount, x.NodeCount);
    ASSERT_EQ(y.MemberCount, x.MemberCount);
    const int n = x.NodeCount, m = x.MemberCount;
    EXPECT_TRUE(sameRows(x.NodeDisplacement, y.NodeDisplacement, 6 * n));
    EXPECT_TRUE(sameRows(x.MemberEndForce, y.MemberEndForce, m));
    EXPECT_TRUE(sameRows(x.SpringRotation, y.SpringRotation, m));
    EXPECT_TRUE(sameRows(x.PinRotation, y.PinRotation, m));
    EXPECT_TRUE(sameRows(x.MemberLoadMoment, y.MemberLoadMoment, m));
    EXPECT_TRUE(sameRows(x.MemberShearAreaY, y.MemberShearAreaY, m));
    ASSERT_EQ(a.Reaction.size(), b.Reaction.size());
    EXPECT_EQ(std::memcmp(a.Reaction.data(), b.Reaction.data(), a.Reaction.size() * sizeof(float)),
              0);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, ThroughTheView,
    ::testing::Values(
        ViewCase{"portal_band", [] { return portal(kSiUnitFactor); }, Solver::Band, false},
        ViewCase{"portal_sparse", [] { return portal(kSiUnitFactor); }, Solver::Sparse, false},
        ViewCase{"portal_older_units", [] { return portal(1.0f); }, Solver::Band, false},
        ViewCase{"generated_grid_band", [] { return gridFrame(3, 2, 2); }, Solver::Band, true},
        ViewCase{"generated_grid_sparse", [] { return gridFrame(3, 2, 2); }, Solver::Sparse, true}),
    [](const ::testing::TestParamInfo<ViewCase>& info) { return info.param.name; });

TEST(FrameTables, AFramePastTheModelsTablesIsAnalysedAndBalancesItsLoads) {
    // 4 × 40 bays, 8 storeys: 1845 nodes and 4552 members.
    FrameTables t;
    gridFrameTables(t, 4, 40, 8);
    ASSERT_GT(t.NodeCount, kMaxNodes);
    ASSERT_GT(t.MemberCount, kMaxMembers);
    RecordingProgress progress;
    AnalysisWork work;
    const AnalysisOutcome out = runAnalysis(t.view(), progress, work);
    ASSERT_TRUE(out.ok) << out.message;

    // Loads: nodal forces, and each beam's w·L at its midpoint, downwards.
    double F[3] = {}, M[3] = {}, scaleF = 0, scaleM = 0;
    auto add = [&](double x, double y, double z, double fx, double fy, double fz) {
        F[0] += fx, F[1] += fy, F[2] += fz;
        M[0] += y * fz - z * fy, M[1] += z * fx - x * fz, M[2] += x * fy - y * fx;
    };
    for (int n = 1; n <= t.NodeCount; ++n) {
        const float* load = &t.NodeLoad[static_cast<std::size_t>(6 * n - 5)];
        add(t.NodeX[n], t.NodeY[n], t.NodeZ[n], load[0], load[1], load[2]);
        scaleF += std::abs(load[0]) + std::abs(load[1]);
    }
    for (int m = 1; m <= t.MemberCount; ++m) {
        if (t.MemberLoadFlag[m] != 1.0f) continue;
        const int i = t.MemberStartNode[m], j = t.MemberEndNode[m];
        const double L = std::hypot(t.NodeX[j] - t.NodeX[i], t.NodeY[j] - t.NodeY[i]) / 100.0;
        const double w = t.MemberUniformLoad[m][2] * L;
        add((t.NodeX[i] + t.NodeX[j]) / 2, (t.NodeY[i] + t.NodeY[j]) / 2, t.NodeZ[i], 0, 0, w);
        scaleF += std::abs(w);
    }
    for (int n = 1; n <= t.NodeCount; ++n) {
        if (t.NodeIsSupport[n] != -1) continue;
        const float* r = &out.Reaction[static_cast<std::size_t>(6 * n - 5)];
        add(t.NodeX[n], t.NodeY[n], t.NodeZ[n], r[0], r[1], r[2]);
        for (int k = 0; k < 3; ++k)
            M[k] += r[3 + k];
    }
    scaleM = scaleF * 24000; // the frame's longest side, cm
    for (int k = 0; k < 3; ++k) {
        EXPECT_NEAR(F[k], 0.0, 1e-6 * scaleF) << "force " << k;
        EXPECT_NEAR(M[k], 0.0, 1e-6 * scaleM) << "moment " << k;
    }
    // The last node and member, past the tables, carry results.
    EXPECT_NE(t.NodeDisplacement[static_cast<std::size_t>(6 * t.NodeCount - 5)], 0.0);
    EXPECT_NE(t.MemberEndForce[static_cast<std::size_t>(t.MemberCount)][3], 0.0f);
}

} // namespace
