// The storey checks against values worked by hand: frames of one bay whose
// beams are so stiff that every column is fixed at both ends, D = 12EI/h³.

#include "checks/StoreyCheck.h"
#include "analysis/LoadCaseAnalysis.h"
#include "analysis/TestFrame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <stdexcept>

namespace rahmen::test {
namespace {

struct Built {
    Frame f;
    LoadCaseSet set;
    std::vector<CaseResult> results;
    StoreyCheckResult check;
};

// One bay 600 (X) × 500 (Y), storeys of the given heights, four columns
// (I = 20000 cm⁴ both ways; Iz × izFactor for the columns on y = 0, which
// bend about z when the frame sways in X), beams stiff in every way. Loads:
// `lateral` per floor node in X (KX) and Y (KY), and 5 × lateral down (G, L1).
// `change` alters the frame before the analysis.
void build(Built& b, bool si, std::vector<float> heights, float izFactor, float lateral,
           const std::function<void(Model&)>& change = {}) {
    Model& m = b.f.m;
    if (!si) {
        m.UnitFactor = 1.0f;
        m.YoungModulus = 2100;
        m.ShearModulus = 810;
    }
    const float xy[4][2] = {{0, 0}, {600, 0}, {0, 500}, {600, 500}};
    float z = 0;
    for (const auto& p : xy)
        b.f.node(p[0], p[1], 0, true);
    for (std::size_t s = 0; s < heights.size(); ++s) {
        z += heights[s];
        for (const auto& p : xy)
            b.f.node(p[0], p[1], z);
        const int below = int(4 * s), above = int(4 * s + 4);
        for (int i = 1; i <= 4; ++i)
            b.f.member(below + i, above + i, 1e5f, 20000, i <= 2 ? 20000 * izFactor : 20000, 1);
        for (const auto& [i, j] : {std::pair{1, 2}, {3, 4}, {1, 3}, {2, 4}})
            b.f.member(above + i, above + j, 1e5f, 1e10f, 1e10f, 1e10f);
    }
    LoadCase g{"G", LoadKind::Dead, LoadDirection::None, {}, {}};
    LoadCase kx{"KX", LoadKind::Seismic, LoadDirection::X, {}, {}};
    LoadCase ky{"KY", LoadKind::Seismic, LoadDirection::Y, {}, {}};
    for (int n = 5; n <= m.NodeCount; ++n) {
        g.nodeLoads.push_back({n, {0, 0, -5 * lateral}, {0, 0, 0}});
        kx.nodeLoads.push_back({n, {lateral, 0, 0}, {0, 0, 0}});
        ky.nodeLoads.push_back({n, {0, lateral, 0}, {0, 0, 0}});
    }
    b.set.cases = {g, kx, ky};
    b.set.combinations = {{"L1", LoadTerm::Long, {{1.0, "G"}}}};
    if (change) change(m);
    RecordingProgress progress;
    const LoadCaseOutcome out =
        analyseLoadCases(m, b.set, progress,
                         [&](const std::string& label, Model& model, const std::vector<float>& r) {
                             b.results.push_back(captureCaseResult(model, label, r));
                         });
    ASSERT_TRUE(out.ok) << out.message;
    b.check = checkStoreys(m, b.set, b.results);
}

const StoreyRow& row(const StoreyCheckResult& c, const char* label, int storey) {
    for (const StoreyRow& r : c.rows)
        if (r.caseLabel == label && r.storey == storey) return r;
    throw std::runtime_error("no row");
}

// Relative nearness: the beams are stiff, not rigid.
void near(const std::optional<double>& got, double expected, double rel = 2e-4) {
    ASSERT_TRUE(got.has_value());
    EXPECT_NEAR(*got, expected, std::fabs(expected) * rel + 1e-6);
}

TEST(StoreyCheck, ASymmetricTwoStoreyFrameWithASoftFirstStoreyAsWorkedByHand) {
    // Storey 1 h = 400, storey 2 h = 350; Q2 = 4p, Q1 = 8p; k = 12EI/h³.
    // SI: E = 20500 kN/cm², k1 = 76.875, k2 = 114.7522 kN/cm, p = 10 kN:
    //   δ1 = 80/307.5 = 0.260163, δ2 = 40/459.009 = 0.0871443;
    // older units: E = 2100 t/cm², k1 = 7.875, k2 = 11.75510 t/cm, p = 1 t:
    //   δ1 = 8/31.5 = 0.253968, δ2 = 4/47.0204 = 0.0850694.
    // rs = h/δ; Rs = rs / mean(rs) = 0.55368 and 1.44632 in both; symmetric
    // plan: centres at (300, 250), Re = 0; KR = ΣD·(250² + 300²).
    const struct {
        bool si;
        float p;
        double k1, k2, d1, d2;
        const char* ratio1;
    } rows[] = {{true, 10, 76.875, 114.7522, 0.260163, 0.0871443, "1/4016"},
                {false, 1, 7.875, 11.75510, 0.253968, 0.0850694, "1/4114"}};
    for (const auto& t : rows) {
        SCOPED_TRACE(t.si ? "SI" : "older units");
        Built b;
        build(b, t.si, {400, 350}, 1, t.p);
        const StoreyCheckResult& c = b.check;
        ASSERT_EQ(c.problem, "");
        ASSERT_EQ(c.layout.storeys.size(), 2u);
        EXPECT_EQ(c.layout.storeys[0].columns.size(), 4u);
        EXPECT_EQ(c.massLabel, "L1");
        ASSERT_EQ(c.rows.size(), 4u);
        for (const char* label : {"KX", "KY"}) {
            SCOPED_TRACE(label);
            const StoreyRow &r1 = row(c, label, 1), &r2 = row(c, label, 2);
            for (const ColumnDrift& d : r1.columns)
                near(d.stiffness, t.k1);
            for (const ColumnDrift& d : r2.columns)
                near(d.stiffness, t.k2);
            near(r1.meanDrift, t.d1);
            near(r2.meanDrift, t.d2);
            near(r1.driftAngle, t.d1 / 400);
            near(r1.rs, 400 / t.d1);
            near(r1.Rs, 0.55368);
            near(r2.Rs, 1.44632);
            near(r1.lx, 300);
            near(r1.ly, 250);
            near(r1.gx, 300);
            near(r1.gy, 250);
            near(r1.KR, 4 * t.k1 * 152500);
            near(r1.rex, 390.512);
            ASSERT_TRUE(r1.Re.has_value());
            EXPECT_LT(*r1.Re, 1e-4);
            EXPECT_EQ(r1.judgement, "NG"); // Rs < 0.6
            EXPECT_EQ(r2.judgement, "OK");
        }
        const std::string csv = storeyCsv(c);
        EXPECT_NE(csv.find(std::string(",") + t.ratio1 + ","), std::string::npos);
        EXPECT_NE(csv.find(t.si ? "KR(kN·cm)" : "KR(tf·cm)"), std::string::npos);
    }
}

TEST(StoreyCheck, OneStoreyWithOneColumnLineDoubledAsWorkedByHand) {
    // h = 350, k = 114.7522 kN/cm; the columns on y = 0 have Iz doubled:
    // Dx = 2k there, k on y = 500; Dy = k everywhere.
    //   ly = (2k·0·2 + k·500·2) / 6k = 166.667, lx = 300
    //   KR = 2·2k·166.667² + 2·k·333.333² + 4·k·300² = 693333.3·k = 7.956153e7
    //   rex = √(KR / 6k) = 339.935, rey = √(KR / 4k) = 416.333
    //   Rex = |250 − 166.667| / 339.935 = 0.24514, Rey = 0; one storey: Rs = 1.
    Built b;
    build(b, true, {350}, 2, 10);
    const StoreyCheckResult& c = b.check;
    ASSERT_EQ(c.problem, "");
    const StoreyRow &x = row(c, "KX", 1), &y = row(c, "KY", 1);
    for (const StoreyRow* r : {&x, &y}) {
        near(r->lx, 300);
        near(r->ly, 166.6667);
        near(r->KR, 7.956153e7);
        near(r->rex, 339.935);
        near(r->rey, 416.333);
        near(r->Rs, 1.0, 1e-12);
    }
    near(x.columns[0].stiffness, 2 * 114.7522);
    near(x.columns[2].stiffness, 114.7522);
    near(x.Re, 0.24514);
    ASSERT_TRUE(y.Re.has_value());
    EXPECT_LT(*y.Re, 1e-4);
    EXPECT_EQ(x.judgement, "NG");
    EXPECT_EQ(y.judgement, "OK");
    EXPECT_EQ(x.otherCase, "KY");
    // The torsion makes the column line y = 500 drift most.
    EXPECT_TRUE(x.governingColumn == 3 || x.governingColumn == 4) << x.governingColumn;
}

TEST(StoreyCheck, WhatAnEngineerMeetsGetsAMessageNeverZerosOrNaN) {
    enum Change {
        NoSupport,
        NoKCase,
        OnlyKX,
        KXPushingInY,
        LeaningColumns,
        NearlyPlumb,
        NoLongTerm
    };
    const struct {
        Change change;
        const char* problem; // "" when checked
        const char* note;    // in a note of the result, a storey or a row
        const char* judgement;
    } rows[] = {
        {NoSupport, "支持点がないため、層を求められません。", "", ""},
        {NoKCase, "地震荷重のケース（KX, KY など）がないため、層の検定ができません。", "", ""},
        {OnlyKX, "", "Y 方向の地震荷重のケースがないため、偏心率は求めません。", "-"},
        {KXPushingInY, "", "平均層間変形が 0 です", "-"},
        {LeaningColumns, "柱（上下の階を結ぶ鉛直部材）がないため、層を求められません。", "", ""},
        {NearlyPlumb, "", "", "OK"},
        {NoLongTerm, "", "", "OK"}, // the dead-load case gives the centre of mass
    };
    for (const auto& t : rows) {
        SCOPED_TRACE(int(t.change));
        Built b;
        build(b, true, {350}, 1, 10, [&t](Model& m) {
            if (t.change != NearlyPlumb) return;
            // 0.5 cm off plumb, a top node 0.6 cm above the others.
            for (int n = 5; n <= 8; ++n)
                m.NodeX[n] += 0.5f;
            m.NodeZ[6] += 0.6f;
        });
        Model& m = b.f.m;
        LoadCaseSet set = b.set;
        std::vector<CaseResult> results = b.results;
        switch (t.change) {
        case NoSupport:
            for (int n = 1; n <= 4; ++n)
                m.NodeIsSupport[n] = 0;
            break;
        case NoKCase:
            set.cases.resize(1);
            break;
        case OnlyKX:
            set.cases.resize(2);
            break;
        case KXPushingInY: // the X case's results are those of a Y load
            results[1].displacement = results[2].displacement;
            results[1].endForce = results[2].endForce;
            break;
        case LeaningColumns:
            for (int n = 5; n <= 8; ++n)
                m.NodeX[n] += 5;
            break;
        case NearlyPlumb:
            break;
        case NoLongTerm:
            set.combinations.clear();
            break;
        }
        const StoreyCheckResult c = checkStoreys(m, set, results);
        EXPECT_EQ(c.problem, t.problem);
        const std::string csv = storeyCsv(c);
        const std::string text = storeyReportText(c, "FRAME");
        for (const char* bad : {"nan", "inf", "NaN", "Inf"}) {
            EXPECT_EQ(csv.find(bad), std::string::npos) << csv;
            EXPECT_EQ(text.find(bad), std::string::npos) << text;
        }
        if (*t.problem) {
            EXPECT_EQ(c.rows.size(), 0u);
            EXPECT_NE(text.find(t.problem), std::string::npos);
            continue;
        }
        ASSERT_EQ(c.layout.storeys.size(), 1u);
        EXPECT_EQ(c.layout.storeys[0].columns.size(), 4u);
        EXPECT_NE(csv.find(t.note), std::string::npos) << csv << text;
        EXPECT_NE(text.find(t.note), std::string::npos);
        EXPECT_EQ(c.rows.front().judgement, t.judgement) << csv;
    }
}

TEST(StoreyCheck, CsvRowsCarryTheNumbersOfTheCheck) {
    Built b;
    build(b, true, {400, 350}, 1, 10);
    const std::string csv = storeyCsv(b.check);
    ASSERT_EQ(
        csv.rfind("\xEF\xBB\xBF層,方向,荷重,h(cm),δ̄(cm),層間変形角,1/x,最大の柱,rs,剛性率,", 0),
        0u);
    // Heading and four rows, each ended by CR LF.
    std::vector<std::string> lines;
    for (std::size_t at = 0, next; (next = csv.find("\r\n", at)) != std::string::npos;
         at = next + 2)
        lines.push_back(csv.substr(at, next - at));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1].rfind("1,X,KX,400,0.26016", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find(",0.553"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find(",NG,剛性率 0.55 が 0.60 未満です。"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[4].rfind("2,Y,KY,350,0.08715", 0), 0u) << lines[4];
    EXPECT_NE(lines[4].find(",OK,"), std::string::npos) << lines[4];
}

} // namespace
} // namespace rahmen::test
