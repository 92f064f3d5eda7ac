// The checks of a frame: a grid with steel sections from the tables under
// dead and seismic cases and the code's combinations, through the CSV and
// the report; the same frame in the older units; and frames the checks
// cannot check.

#include "checks/SteelChecks.h"
#include "analysis/LoadCaseAnalysis.h"
#include "model/CaseResults.h"
#include "model/Grid.h"
#include "model/LoadCases.h"
#include "model/Model.h"
#include "platform/Sjis.h"
#include "sections/Sections.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>

using namespace rahmen;

namespace {

// A grid of 2 × 1 bays of 6 m and two storeys of 3.5 m; columns type 1,
// beams type 2, each of the table row given (or typed numbers for kind 0).
struct Grid {
    std::unique_ptr<Model> owner = std::make_unique<Model>();
    Model& m = *owner;
    GridVariables grid;
    LoadCaseSet set;

    Grid(int columnKind, int columnRow, int beamKind, int beamRow, bool older = false) {
        setGridSize(grid, 600, 600, 2, 1, 2, 350);
        layOutGrid(m, grid);
        m.DataName = "grid";
        m.UnitFactor = older ? 1.0f : kSiUnitFactor;
        m.YoungModulus = older ? 2100 : 205000;
        m.ShearModulus = older ? 810 : 79000;
        DAT_READ(m);
        m.MemberTypeCount = 2;
        const int kinds[3] = {0, columnKind, beamKind}, rows[3] = {0, columnRow, beamRow};
        for (int t = 1; t <= 2; ++t) {
            if (isSteelKind(kinds[t])) {
                storeSteelSection(
                    m, t, *SteelSectionProperties(m, kinds[t], rows[t], SquarePipeShear::HalfArea));
            } else {
                m.TypeArea[t] = 100, m.TypeIy[t] = 30000, m.TypeIz[t] = 20000, m.TypeJ[t] = 500;
            }
        }
        // Loads in kN (or their tf): 20 kN/m down on every beam, 30 kN in X
        // at every floor node.
        const float force = older ? 1 / 9.80665f : 1;
        LoadCase g{"G", LoadKind::Dead, LoadDirection::None, {}, {}};
        LoadCase kx{"KX", LoadKind::Seismic, LoadDirection::X, {}, {}};
        for (int k = 1; k <= m.MemberCount; ++k) {
            const int t = isGridColumn(grid, k) ? 1 : 2;
            m.MemberTypeNo[k] = static_cast<int16_t>(t);
            m.copyTypeToMember(k, t);
            if (t == 2) g.memberLoads.push_back({k, 0, -20 * force});
        }
        for (int n = grid.NodesPerFloor + 1; n <= m.NodeCount; ++n)
            kx.nodeLoads.push_back({n, {30 * force, 0, 0}, {0, 0, 0}});
        set.cases = {g, kx};
        set.combinations = codeCombinations(set.cases, false);
    }

    std::vector<MemberCheck> check(const CheckConditions& conditions = {}) {
        std::vector<CaseResult> results;
        SilentProgress progress;
        const LoadCaseOutcome out = analyseLoadCases(
            m, set, progress, [&](const std::string& label, Model& model, const auto& reaction) {
                results.push_back(captureCaseResult(model, set, results.size(), label, reaction));
            });
        EXPECT_TRUE(out.ok) << out.message;
        return checkCombinations(m, results, conditions);
    }
};

std::vector<std::vector<std::string>> csvRows(const std::string& csv) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(csv.substr(3)); // after the byte-order mark
    std::string line;
    while (std::getline(in, line)) {
        EXPECT_EQ(line.back(), '\r');
        line.pop_back();
        std::vector<std::string> cells;
        std::size_t start = 0, comma;
        while ((comma = line.find(',', start)) != std::string::npos) {
            cells.push_back(line.substr(start, comma - start));
            start = comma + 1;
        }
        cells.push_back(line.substr(start));
        rows.push_back(cells);
    }
    return rows;
}

constexpr int kSquare300 = 50; // □-300x300x12.0
constexpr int kH400 = 31;      // H-400x200x8x13
constexpr int kH200 = 10;      // H-200x100x5.5x8

} // namespace

TEST(SteelChecks, GridWithTableSectionsUnderTheCodeCombinationsGivesTheCsvAndTheReport) {
    Grid g(kSectionSquarePipe, kSquare300, kSectionHShape, kH400);
    ASSERT_EQ(g.set.combinations.size(), 3u); // L1 = G, S1 = G+KX, S2 = G−KX
    const std::vector<MemberCheck> rows = g.check();
    const int members = g.m.MemberCount;
    ASSERT_EQ(rows.size(), 3u * members);
    double largest = 0;
    for (const MemberCheck& r : rows) {
        ASSERT_TRUE(r.checked) << r.member << r.reason;
        EXPECT_EQ(r.term, r.combination == "L1" ? LoadTerm::Long : LoadTerm::Short);
        EXPECT_EQ(r.allowable.ft, r.term == LoadTerm::Long ? 235 / 1.5 : 235.0);
        largest = std::max(largest, r.ratio);
        EXPECT_FALSE(r.ng());
    }
    EXPECT_GT(largest, 0.2); // the sections are used, not idle

    // A beam under its load only (L1): hogging ends and a sagging midspan
    // point at its middle, the span point where the shear changes sign.
    const MemberCheck& beam = rows[g.grid.ColumnsPerStorey];
    ASSERT_EQ(beam.combination, "L1");
    ASSERT_EQ(beam.points.size(), 3u);
    EXPECT_NEAR(beam.points[2].x, 3.0, 0.05);
    EXPECT_EQ(beam.section, "Ｈ-400x200x 8 x13");

    const auto csv = csvRows(checkCsv(g.m, rows));
    ASSERT_EQ(csv.size(), rows.size() + 1);
    const std::vector<std::string> heading = {
        "部材",     "組合せ",    "期間",      "断面",      "鋼種",      "F(N/mm²)",  "検定比",
        "判定",     "検定項目",  "位置",      "x(m)",      "N(kN)",     "Qy(kN)",    "Qz(kN)",
        "My(kN·m)", "Mz(kN·m)",  "ft(N/mm²)", "fc(N/mm²)", "fb(N/mm²)", "fs(N/mm²)", "λ",
        "C",        "軸力+曲げ", "曲げ-軸力", "せん断y",   "せん断z",   "備考"};
    EXPECT_EQ(csv[0], heading);
    for (std::size_t i = 1; i < csv.size(); ++i)
        ASSERT_EQ(csv[i].size(), heading.size()) << i;
    EXPECT_EQ(csv[1][0], "1");
    EXPECT_EQ(csv[1][1], "L1");
    EXPECT_EQ(csv[1][2], "長期");
    EXPECT_EQ(csv[1][3], "□-300x300x12.0");
    EXPECT_EQ(csv[1][4], "SN400B");
    EXPECT_EQ(csv[1][5], "235");
    EXPECT_EQ(csv[1][7], "OK");

    // The beams made too small: the beams fail, in the short-term
    // combinations too, and the report counts them.
    Grid small(kSectionSquarePipe, kSquare300, kSectionHShape, kH200);
    const std::vector<MemberCheck> weak = small.check();
    int ngBeams = 0;
    for (const MemberCheck* r : governingRows(weak)) {
        EXPECT_EQ(r->ng(), !isGridColumn(small.grid, r->member)) << r->member;
        ngBeams += r->ng();
    }
    EXPECT_EQ(ngBeams, members - 2 * 6);
    const std::string report = cp932ToUtf8(checkReport(small.m, weak));
    EXPECT_NE(report.find("NG の部材数:  " + std::to_string(ngBeams) + " "), std::string::npos)
        << report;
    EXPECT_NE(report.find("検定しない部材数:  0 "), std::string::npos);
    EXPECT_NE(csvRows(checkCsv(small.m, weak))[1 + g.grid.ColumnsPerStorey][7], "OK");

    // The grade of the beams' type: SN490B raises ft, so (σt + σb)/ft falls;
    // this long, slender beam's fb (89000/((lb/i_b)·η)) does not depend on F.
    CheckConditions sn490;
    sn490.grades[2] = "SN490B";
    const MemberCheck& was = weak[g.grid.ColumnsPerStorey];
    const std::vector<MemberCheck> stronger = small.check(sn490);
    const MemberCheck& now = stronger[g.grid.ColumnsPerStorey];
    EXPECT_EQ(now.F, 325);
    EXPECT_EQ(now.allowable.ft, 325 / 1.5);
    EXPECT_EQ(now.allowable.fbStrong, was.allowable.fbStrong);
    EXPECT_NEAR(now.governing().ratios[0], was.governing().ratios[0] * 235 / 325, 1e-9);
}

TEST(SteelChecks, OlderUnitsGiveTheSameStressesAsSi) {
    Grid si(kSectionSquarePipe, kSquare300, kSectionHShape, kH400);
    Grid older(kSectionSquarePipe, kSquare300, kSectionHShape, kH400, true);
    const std::vector<MemberCheck> a = si.check(), b = older.check();
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        // E differs by 2100·98.0665 / 205000 = 1.0046: the forces of the
        // statically indeterminate frame hardly move, the stresses keep N/mm².
        EXPECT_NEAR(b[i].ratio, a[i].ratio, 2e-3 * a[i].ratio) << i;
        EXPECT_NEAR(b[i].governing().sigmaAxial, a[i].governing().sigmaAxial, 0.05) << i;
    }
    EXPECT_NE(checkCsv(older.m, b).find(",N(tf),"), std::string::npos);
    EXPECT_NE(checkCsv(older.m, b).find(",My(tf·m),"), std::string::npos);
}

TEST(SteelChecks, MembersWithoutTableSectionsAreListedAsNotChecked) {
    Grid untyped(0, 0, 0, 0);
    const std::vector<MemberCheck> rows = untyped.check();
    ASSERT_EQ(rows.size(), 3u * untyped.m.MemberCount);
    for (const MemberCheck& r : rows) {
        EXPECT_FALSE(r.checked);
        EXPECT_EQ(r.reason, "部材タイプ " + std::to_string(untyped.m.MemberTypeNo[r.member]) +
                                " は断面表の断面ではありません（数値入力の断面）");
    }
    EXPECT_NE(nothingCheckedReason(rows).find("断面表"), std::string::npos);
    const auto csv = csvRows(checkCsv(untyped.m, rows));
    EXPECT_EQ(csv[1][7], "検定外");
    EXPECT_EQ(csv[1].back(), rows[0].reason);
    const std::string report = cp932ToUtf8(checkReport(untyped.m, rows));
    EXPECT_NE(report.find(nothingCheckedReason(rows)), std::string::npos);
    EXPECT_NE(report.find("検定しない部材数:  " + std::to_string(untyped.m.MemberCount)),
              std::string::npos);

    // A rectangle says so; a type number beyond the types too.
    untyped.m.TypeSectionKind[2] = kSectionRectangle;
    untyped.m.MemberTypeNo[1] = 9;
    const std::vector<MemberCheck> again = checkMembers(untyped.m, {}, "L1", LoadTerm::Long);
    EXPECT_EQ(again[0].reason, "部材タイプがありません（タイプ番号 9）");
    EXPECT_EQ(again[untyped.grid.ColumnsPerStorey].reason,
              "部材タイプ 2 は断面表の断面ではありません（長方形断面）");
}
