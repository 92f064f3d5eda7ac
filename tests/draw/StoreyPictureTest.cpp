// The pictures of the storey checks, read from their display lists, on a grid
// frame from the grid generation analysed under G, KX and KY.

#include "draw/StoreyPicture.h"
#include "analysis/LoadCaseAnalysis.h"
#include "analysis/ana.h"
#include "checks/StoreyCheck.h"
#include "model/Grid.h"
#include "model/Model.h"
#include "platform/Canvas.h"
#include "platform/Svg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <memory>

namespace rahmen {
namespace {

// 2 × 1 bays of 600 cm, 3 storeys of 350 cm; the columns of grid line j = 1
// (y = 0) twice as stiff in X, so that the centre of rigidity moves off
// the centre of mass in Y.
StoreyCheckResult gridCheck(const StoreyLimits& limits = {}) {
    auto owner = std::make_unique<Model>();
    Model& m = *owner;
    GridVariables grid;
    setGridSize(grid, 600, 600, 2, 1, 3, 350);
    layOutGrid(m, grid);
    m.UnitFactor = kSiUnitFactor;
    m.YoungModulus = 205000;
    m.ShearModulus = 79000;
    LoadCaseSet set;
    set.cases = {{"G", LoadKind::Dead, LoadDirection::None, {}, {}},
                 {"KX", LoadKind::Seismic, LoadDirection::X, {}, {}},
                 {"KY", LoadKind::Seismic, LoadDirection::Y, {}, {}}};
    for (int k = 1; k <= m.MemberCount; ++k) {
        const bool column = isGridColumn(grid, k);
        m.MemberArea[k] = column ? 200 : 80;
        m.MemberIy[k] = column ? 50000 : 60000;
        m.MemberIz[k] = column ? (m.NodeY[m.MemberStartNode[k]] == 0 ? 100000 : 50000) : 3000;
        m.MemberJ[k] = column ? 80000 : 100;
        if (!column) set.cases[0].memberLoads.push_back({k, 0, -20});
    }
    for (int n = grid.NodesPerFloor + 1; n <= m.NodeCount; ++n) {
        set.cases[1].nodeLoads.push_back({n, {10, 0, 0}, {0, 0, 0}});
        set.cases[2].nodeLoads.push_back({n, {0, 10, 0}, {0, 0, 0}});
    }
    set.combinations = codeCombinations(set.cases, false);
    std::vector<CaseResult> results;
    SilentProgress quiet;
    const LoadCaseOutcome out = analyseLoadCases(
        m, set, quiet, [&](const std::string& label, Model& model, const std::vector<float>& r) {
            results.push_back(captureCaseResult(model, label, r));
        });
    EXPECT_TRUE(out.ok) << out.message;
    return checkStoreys(m, set, results, limits);
}

std::vector<Primitive> texts(const Canvas& c, const std::string& part) {
    std::vector<Primitive> found;
    for (const Primitive& p : c.items())
        if (p.shape == Shape::Text && p.text.find(part) != std::string::npos) found.push_back(p);
    return found;
}

// The pictures as SVG into $RAHMEN_PICTURE_DIR, to be looked at.
void keep(const Canvas& c, const char* name) {
    if (const char* dir = std::getenv("RAHMEN_PICTURE_DIR"))
        std::ofstream(std::string(dir) + "/" + name + ".svg") << canvasToSvg(c);
}

// The right ends of the bars of one colour: the longest horizontal line of
// each bar, from left to right.
std::vector<double> barEnds(const Canvas& c, int color, double fromX, double toX) {
    std::vector<double> ends;
    for (const Primitive& p : c.items())
        if (p.shape == Shape::Line && p.color == color && p.y1 == p.y2 && p.x1 >= fromX &&
            p.x1 < toX && p.x2 > p.x1 && std::find(ends.begin(), ends.end(), p.x2) == ends.end())
            ends.push_back(p.x2);
    return ends;
}

TEST(StoreyPicture, DriftBarsStandAgainstTheLimitLineWithTheirRatiosBeside) {
    for (const bool strict : {false, true}) {
        SCOPED_TRACE(strict ? "limit 1/5000" : "limit 1/200");
        StoreyLimits limits;
        if (strict) limits.driftAngle = 1.0 / 5000;
        const StoreyCheckResult r = gridCheck(limits);
        ASSERT_EQ(r.problem, "");
        Canvas c;
        drawStoreyDrifts(c, r);
        keep(c, strict ? "storey-drifts-strict" : "storey-drifts");
        // Every storey NG against 1/5000 and drawn red; none against 1/200.
        const int color = strict ? kStoreyFailColor : kStoreyBarColor;
        for (const char* storey : {"1層", "2層", "3層"})
            EXPECT_EQ(texts(c, storey).size(), 2u) << storey;
        for (int d = 0; d < 2; ++d) {
            // The limit line and the bars share one scale from the panel's axis.
            const double x0 = d ? 340 : 0, x1 = d ? 680 : 340;
            const double axis = x0 + 10 + 40;
            double limitX = -1;
            for (const Primitive& p : c.items())
                if (p.shape == Shape::Line && p.color == kStoreyFailColor && p.x1 == p.x2 &&
                    p.y1 == 50 && p.x1 > x0 && p.x1 < x1) // it rises above the bars' top
                    limitX = p.x1;
            ASSERT_GT(limitX, axis);
            std::vector<double> angles;
            for (const StoreyRow& row : r.rows)
                if (row.direction == (d ? LoadDirection::Y : LoadDirection::X))
                    angles.push_back(*row.driftAngle);
            const std::vector<double> ends = barEnds(c, color, x0, x1);
            ASSERT_EQ(ends.size(), 3u);
            for (std::size_t i = 0; i < 3; ++i)
                EXPECT_NEAR((ends[i] - axis) / (limitX - axis), angles[i] / limits.driftAngle,
                            1e-9);
        }
        const StoreyRow& first = r.rows.front();
        char ratios[64];
        std::snprintf(ratios, sizeof ratios, "Rs %.2f  Re %.3f", *first.Rs, *first.Re);
        EXPECT_EQ(texts(c, ratios).size(), 1u) << ratios;
        EXPECT_EQ(texts(c, strict ? "1/5000" : "1/200").size(), 3u); // two panels, the legend
    }
}

TEST(StoreyPicture, ThePlanMarksTheColumnsTheCentreOfMassAndTheCentreOfRigidity) {
    const StoreyCheckResult r = gridCheck();
    Canvas c;
    drawStoreyPlan(c, r, 2, "KX");
    keep(c, "storey-plan");
    // Six columns, 4 lines each, numbered by their members (storey 2: 14..19).
    int columnLines = 0;
    for (const Primitive& p : c.items())
        columnLines += p.shape == Shape::Line && p.color == kColumnColor;
    EXPECT_EQ(columnLines, 6 * 4 + 4); // and the legend's square
    for (int member = 14; member <= 19; ++member) {
        int labels = 0;
        for (const Primitive& p : texts(c, std::to_string(member)))
            labels += p.text == std::to_string(member);
        EXPECT_EQ(labels, 1) << member;
    }
    // The plan spans 1200 × 600 cm into 560 × 420 pixels: 560 / 1200 per cm,
    // centred on (340, 270). G lies on the centre; S below it (towards y = 0).
    const StoreyRow& row = r.rows[1];
    ASSERT_EQ(row.storey, 2);
    const double scale = 560.0 / 1200.0;
    std::vector<Primitive> mass, rigidity;
    for (const Primitive& p : c.items()) {
        if (p.shape == Shape::FilledCircle && p.color == kMassColor && p.radius == 6)
            mass.push_back(p);
        if (p.shape == Shape::Circle && p.color == kRigidityColor && p.radius == 8)
            rigidity.push_back(p);
    }
    ASSERT_EQ(mass.size(), 1u);
    ASSERT_EQ(rigidity.size(), 1u);
    EXPECT_NEAR(mass[0].x1, 340 + (*row.gx - 600) * scale, 1e-9);
    EXPECT_NEAR(mass[0].y1, 270 - (*row.gy - 300) * scale, 1e-9);
    EXPECT_NEAR(rigidity[0].x1, 340 + (*row.lx - 600) * scale, 1e-9);
    EXPECT_NEAR(rigidity[0].y1, 270 - (*row.ly - 300) * scale, 1e-9);
    EXPECT_GT(rigidity[0].y1, mass[0].y1 + 10);
    EXPECT_EQ(texts(c, "重心 G (600.0, 300.0)").size(), 1u);
    EXPECT_EQ(texts(c, "剛心 S (600.0, ").size(), 1u);
    EXPECT_EQ(texts(c, "ReX (KX) = ").size(), 1u);
    EXPECT_EQ(texts(c, "ReY (KY) = 0.000").size(), 1u);

    // Nothing to draw: the reason.
    drawStoreyPlan(c, r, 4);
    EXPECT_EQ(texts(c, "層 4 はありません。").size(), 1u);
    StoreyCheckResult none;
    none.problem = "地震荷重のケース（KX, KY など）がないため、層の検定ができません。";
    drawStoreyDrifts(c, none);
    EXPECT_EQ(texts(c, none.problem).size(), 1u);
    EXPECT_EQ(barEnds(c, kStoreyBarColor, 0, 680).size(), 0u);
}

} // namespace
} // namespace rahmen
