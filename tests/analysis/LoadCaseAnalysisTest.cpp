// The analysis of all load cases at once: every case and combination must
// report what one analysis of its summed loads reports.

#include "TestFrame.h"

#include "analysis/AnalysisFile.h"
#include "analysis/LoadCaseAnalysis.h"
#include "model/AnalysisInput.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <random>
#include <sstream>

namespace rahmen::test {
namespace {

std::vector<std::string> reportLines(const Model& model, const std::vector<float>& reaction) {
    std::vector<std::string> lines;
    std::istringstream in(cp932ToUtf8(analysisReport(model, reaction, {})));
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The shared portal (TestFrame.h); the report lists the rotations of its
// pins and springs.
Frame portal(bool si) {
    return releasedPortal(si);
}

LoadCaseSet portalCases(float f) {
    LoadCaseSet set;
    LoadCase g{"G", LoadKind::Dead, LoadDirection::None, {}, {}};
    g.memberLoads = {{5, 0, -20 * f}, {6, 5 * f, -12 * f}, {7, 4 * f, -15 * f}, {8, 0, -8 * f}};
    g.nodeLoads = {{8, {0, 0, -10 * f}, {0, 0, 5 * f}}};
    LoadCase p{"P", LoadKind::Live, LoadDirection::None, {}, {}};
    p.memberLoads = {{5, 0, -6 * f}, {7, 1 * f, -4 * f}};
    // A load on a support (node 1) is stripped, as the load form does.
    p.nodeLoads = {{7, {0, -20 * f, 0}, {0, 0, 0}}, {1, {3 * f, 0, 0}, {0, 0, 0}}};
    LoadCase k{"KX", LoadKind::Seismic, LoadDirection::X, {}, {}};
    k.nodeLoads = {{5, {30 * f, 0, 0}, {0, 0, 0}}, {6, {30 * f, 0, 0}, {0, 0, 2 * f}}};
    set.cases = {g, p, k};
    const std::pair<const char*, const char*> combos[] = {
        {"L1", "G+P"}, {"S1", "G+P+KX"}, {"S2", "G+P-KX"}, {"S3", "1.2G+0.5P-0.7KX"}};
    for (const auto& [label, expression] : combos) {
        Combination c{label, label[0] == 'L' ? LoadTerm::Long : LoadTerm::Short, {}};
        EXPECT_EQ(parseCombination(expression, set.cases, c.terms), "");
        set.combinations.push_back(c);
    }
    return set;
}

TEST(LoadCaseAnalysis, EveryCaseAndCombinationReportsAsOneAnalysisOfItsLoads) {
    for (bool si : {true, false}) {
        SCOPED_TRACE(si ? "SI" : "older units");
        const Frame unloaded = portal(si);
        const LoadCaseSet set = portalCases(si ? 1.0f : 0.1f);

        Frame f = portal(si);
        std::map<std::string, std::vector<std::string>> reports;
        std::vector<std::string> order;
        RecordingProgress progress;
        const LoadCaseOutcome out =
            analyseLoadCases(f.m, set, progress,
                             [&](const std::string& label, Model& m, const std::vector<float>& r) {
                                 order.push_back(label);
                                 reports[label] = reportLines(m, r);
                             });
        ASSERT_TRUE(out.ok) << out.message;
        EXPECT_EQ(order, (std::vector<std::string>{"G", "P", "KX", "L1", "S1", "S2", "S3"}));

        // The oracle: one analysis of the summed loads on an unloaded copy
        // (a case is a combination of itself).
        std::vector<Combination> all = set.combinations;
        for (const LoadCase& c : set.cases)
            all.push_back({c.label, LoadTerm::Long, {{1.0, c.label}}});
        for (const Combination& c : all) {
            SCOPED_TRACE(c.label);
            Frame single;
            *single.owner = *unloaded.owner;
            for (const CombinationTerm& t : c.terms)
                for (const LoadCase& lc : set.cases)
                    if (lc.label == t.caseLabel) addCaseLoads(single.m, lc, t.factor);
            stripSupportLoads(single.m);
            std::vector<std::string> expected;
            RecordingProgress quiet;
            const AnalysisOutcome one = runAnalysis(
                single.m, quiet, [&](Model& m, const std::vector<float>& r, AnalysisProgress&) {
                    expected = reportLines(m, r);
                });
            ASSERT_TRUE(one.ok) << one.message;
            const std::vector<std::string>& got = reports[c.label];
            ASSERT_EQ(got.size(), expected.size());
            for (std::size_t i = 0; i < got.size(); ++i)
                EXPECT_EQ(got[i], expected[i]) << "line " << i + 1;
        }
        // The model is left as the last combination left it.
        EXPECT_EQ(reportLines(f.m, {}).size(), reports["S3"].size());
        EXPECT_EQ(f.m.AnalysisDone, 1);
        EXPECT_EQ(f.m.EquivalentNodeLoad[6 * 4 + 3], 0.0f);
    }
}

TEST(LoadCaseAnalysis, ARefusedFrameIsRefusedOnceWithTheMessageOfOneAnalysis) {
    // A cantilever released for torsion at its support is unstable; a sound
    // one under a tip load that sends its displacements beyond the program's
    // range in the second case is refused too, before the first case's
    // results are handed on.
    const struct {
        bool torsionReleased;
        float tipLoad;
    } rows[] = {{true, 5}, {false, 1e32f}};
    for (const auto& row : rows) {
        Frame f;
        f.node(0, 0, 0, true);
        f.node(400, 0, 0);
        f.member(1, 2, 60, 3000, 2000, 500);
        if (row.torsionReleased) f.m.PinStartX[1] = -1, f.m.MemberStartPinned[1] = 1;
        LoadCaseSet set;
        set.cases = {
            {"G", LoadKind::Dead, LoadDirection::None, {}, {{1, 0, -10}}},
            {"K", LoadKind::Seismic, LoadDirection::X, {{2, {0, 0, row.tipLoad}, {0, 0, 0}}}, {}}};
        set.combinations = {{"S1", LoadTerm::Short, {{1, "G"}, {1, "K"}}}};

        Frame single;
        *single.owner = *f.owner;
        addCaseLoads(single.m, set.cases[1], 1);
        const std::string today = run(single).message;
        ASSERT_FALSE(today.empty());

        int calls = 0;
        RecordingProgress progress;
        const LoadCaseOutcome out = analyseLoadCases(
            f.m, set, progress,
            [&](const std::string&, Model&, const std::vector<float>&) { ++calls; });
        EXPECT_FALSE(out.ok);
        EXPECT_EQ(out.message, today);
        EXPECT_EQ(calls, 0);
        EXPECT_TRUE(out.envelope.empty());
    }
}

TEST(LoadCaseAnalysis, EnvelopeOfACantileverGivesItsLargestAndSmallestMomentsAndTheirCombinations) {
    // A 4 m cantilever along X: G a uniform 10 /m down, K 30 at the tip up.
    // From the tip (a), hogging negative: G+K gives 30a − 5a² (45 at a = 3,
    // 40 at the root), G−K gives −30a − 5a² (−200 at the root), G alone −5a².
    // The start line holds those moments; along the span they are reversed
    // (the forces of the part beyond x), so the span's largest is G−K's 200.
    for (bool si : {true, false}) {
        SCOPED_TRACE(si ? "SI" : "older units");
        Frame f;
        if (!si) f.m.UnitFactor = 1.0f, f.m.YoungModulus = 2100, f.m.ShearModulus = 810;
        f.node(0, 0, 0, true);
        f.node(400, 0, 0);
        f.member(1, 2, 60, 3000, 2000, 500);
        LoadCaseSet set;
        set.cases = {{"G", LoadKind::Dead, LoadDirection::None, {}, {{1, 0, -10}}},
                     {"K", LoadKind::Seismic, LoadDirection::X, {{2, {0, 0, 30}, {0, 0, 0}}}, {}}};
        set.combinations = {{"L1", LoadTerm::Long, {{1, "G"}}},
                            {"S1", LoadTerm::Short, {{1, "G"}, {1, "K"}}},
                            {"S2", LoadTerm::Short, {{1, "G"}, {-1, "K"}}}};
        RecordingProgress progress;
        const LoadCaseOutcome out = analyseLoadCases(f.m, set, progress, {});
        ASSERT_TRUE(out.ok) << out.message;
        ASSERT_EQ(out.envelope.size(), 2u);
        const MemberEnvelope& lt = out.envelope[0];
        const MemberEnvelope& st = out.envelope[1];
        EXPECT_EQ(lt.term, LoadTerm::Long);
        EXPECT_EQ(st.term, LoadTerm::Short);
        EXPECT_EQ(st.member, 1);

        struct Expect {
            const EnvelopeValue& v;
            double largest, smallest;
            const char *largestBy, *smallestBy;
        };
        const Expect table[] = {
            {st.spanMy, 200, -45, "S2", "S1"},   {st.start[4], 40, -200, "S1", "S2"},
            {st.start[2], 70, 10, "S2", "S1"},   {lt.spanMy, 80, 0, "L1", "L1"},
            {lt.start[4], -80, -80, "L1", "L1"},
        };
        for (const Expect& e : table) {
            EXPECT_NEAR(e.v.largest, e.largest, 1e-3);
            EXPECT_NEAR(e.v.smallest, e.smallest, 1e-3);
            EXPECT_EQ(e.v.largestBy, e.largestBy);
            EXPECT_EQ(e.v.smallestBy, e.smallestBy);
        }

        const std::string csv = envelopeCsv(f.m, out.envelope);
        const std::string unit = si ? "(kN·m)" : "(tf·m)";
        EXPECT_EQ(csv.rfind("\xEF\xBB\xBF部材,期間,始端N最大" + std::string(si ? "(kN)" : "(tf)") +
                                ",始端N最大の組合せ,",
                            0),
                  0u);
        const std::string heading = csv.substr(0, csv.find("\r\n"));
        EXPECT_NE(heading.find(",部材内My最大" + unit + ",部材内My最大の組合せ,部材内My最小" +
                               unit + ",部材内My最小の組合せ,"),
                  std::string::npos);
        EXPECT_NE(csv.find("\r\n1,短期,"), std::string::npos);
        EXPECT_NE(csv.find(",200,S2,-45,S1,"), std::string::npos);
    }
}

// The results of every case and combination as the program keeps them.
std::vector<CaseResult> keptResults(Model& model, const LoadCaseSet& set) {
    std::vector<CaseResult> kept;
    RecordingProgress progress;
    const LoadCaseOutcome out = analyseLoadCases(
        model, set, progress,
        [&](const std::string& label, Model& md, const std::vector<float>& reaction) {
            CaseResult r = captureCaseResult(md, label, reaction);
            const std::size_t combo = kept.size() - std::min(kept.size(), set.cases.size());
            r.combination = kept.size() >= set.cases.size();
            if (r.combination) r.term = set.combinations[combo].term;
            kept.push_back(r);
        });
    EXPECT_TRUE(out.ok) << out.message;
    return kept;
}

TEST(LoadCaseAnalysis, MomentEnvelopeAlongABeamIsTheRangeOfItsTermsCombinations) {
    // A beam fixed at both ends, 6 m, in two members of 3 m: A 80 kN down at
    // midspan (ends −PL/8 = −60, midspan PL/8 = 60), B 12 kN/m down (ends
    // −wL²/12 = −36, midspan wL²/24 = 18, 4.5 at the quarter point). L1 = 0.5A
    // gives the larger midspan moment (30), L2 = B the larger end moment:
    // along member 1 hogging is positive and sagging negative.
    Frame f;
    f.node(0, 0, 0, true);
    f.node(300, 0, 0);
    f.node(600, 0, 0, true);
    f.member(1, 2, 60, 30000, 20000, 500);
    f.member(2, 3, 60, 30000, 20000, 500);
    LoadCaseSet set;
    set.cases = {{"A", LoadKind::Dead, LoadDirection::None, {{2, {0, 0, -80}, {0, 0, 0}}}, {}},
                 {"B", LoadKind::Live, LoadDirection::None, {}, {{1, 0, -12}, {2, 0, -12}}}};
    set.combinations = {{"L1", LoadTerm::Long, {{0.5, "A"}}},
                        {"L2", LoadTerm::Long, {{1, "B"}}},
                        {"S1", LoadTerm::Short, {{0.5, "A"}, {1, "B"}}}};
    const std::vector<CaseResult> kept = keptResults(f.m, set);
    ASSERT_EQ(kept.size(), 5u);

    const std::vector<double> x = {0, 1.5, 3};
    const auto lt = momentEnvelope(f.m, kept, LoadTerm::Long, 1, x);
    const auto st = momentEnvelope(f.m, kept, LoadTerm::Short, 1, x);
    ASSERT_EQ(lt.size(), 3u);
    ASSERT_EQ(st.size(), 3u);
    const double expected[3][4] = {// long largest, long smallest, short (both)
                                   {36, 30, 66},
                                   {0, -4.5, -4.5},
                                   {-18, -30, -48}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(x[i]);
        EXPECT_NEAR(lt[i].MyLargest, expected[i][0], 1e-3);
        EXPECT_NEAR(lt[i].MySmallest, expected[i][1], 1e-3);
        EXPECT_NEAR(st[i].MyLargest, expected[i][2], 1e-3);
        EXPECT_NEAR(st[i].MySmallest, expected[i][2], 1e-3);
        EXPECT_NEAR(lt[i].MzLargest, 0, 1e-6);
    }
    // The midspan end of member 2 is its start: the same moments.
    EXPECT_NEAR(momentEnvelope(f.m, kept, LoadTerm::Long, 2, {0})[0].MySmallest, -30, 1e-3);
    // A term without combinations has no envelope.
    set.combinations.pop_back();
    EXPECT_TRUE(momentEnvelope(f.m, keptResults(f.m, set), LoadTerm::Short, 1, x).empty());
}

} // namespace
// The envelope's numbers as printf's "%.6g" writes them, over random values
// of every size and sign (and -0 as 0).
TEST(LoadCaseAnalysis, EnvelopeNumbersAreThoseOfPrintfsSixDigits) {
    Frame f = portal(true);
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    std::vector<MemberEnvelope> envelope(1);
    envelope[0].member = 1;
    for (int row = 0; row < 2000; ++row) {
        std::string expected = "1,長期";
        auto fill = [&](EnvelopeValue& v) {
            v.largest = unit(random) * std::pow(10.0, 40 * unit(random));
            v.smallest = row == 0 ? -0.0 : std::round(unit(random) * 1e6) / 8;
            v.largestBy = "L1";
            v.smallestBy = "S2";
            char a[40], b[40];
            std::snprintf(a, sizeof a, "%.6g", v.largest);
            std::snprintf(b, sizeof b, "%.6g", v.smallest == 0 ? 0.0 : v.smallest);
            expected += std::string(",") + a + ",L1," + b + ",S2";
        };
        MemberEnvelope& e = envelope[0];
        for (EnvelopeValue& v : e.start)
            fill(v);
        for (EnvelopeValue& v : e.end)
            fill(v);
        fill(e.spanMy);
        fill(e.spanMz);
        const std::string csv = envelopeCsv(f.m, envelope);
        const std::size_t body = csv.find("\r\n") + 2;
        ASSERT_EQ(csv.substr(body), expected + "\r\n");
    }
}

} // namespace rahmen::test
