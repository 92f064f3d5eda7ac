#include "analysis/LoadCaseAnalysis.h"

#include "analysis/BandMatrix.h"
#include "analysis/MemberResults.h"
#include "analysis/mo_analy.h"
#include "model/AnalysisInput.h"
#include "model/Limits.h"
#include "model/Model.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <map>

namespace rahmen {

namespace {

using Timer = std::chrono::steady_clock;

double secondsSince(Timer::time_point start) {
    return std::chrono::duration<double>(Timer::now() - start).count();
}

// Everything an analysis leaves in the model (and the reactions) that a
// combination adds up from its cases.
struct CaseResults {
    std::vector<double> displacement;                 // 1..N
    std::vector<float> reaction;                      // 1..N
    std::vector<float> equivalent, supportEquivalent; // 1..N
    std::vector<std::array<float, 9>> endForce;       // members 1..M, k 1..9 at k-1
    std::vector<std::array<float, 4>> spring, pin;    // k 1..4 at k-1
    std::vector<std::array<float, 6>> loadMoment;     // k 5, 6, 11, 12, 13, 14
};

constexpr int kLoadMomentSlots[6] = {5, 6, 11, 12, 13, 14};

CaseResults recordResults(const Model& model, const std::vector<float>& reaction) {
    const int N = 6 * model.NodeCount;
    const int M = model.MemberCount;
    CaseResults r;
    r.displacement.assign(N + 1, 0.0);
    r.reaction.assign(N + 1, 0.0f);
    r.equivalent.assign(N + 1, 0.0f);
    r.supportEquivalent.assign(N + 1, 0.0f);
    for (int d = 1; d <= N; ++d) {
        r.displacement[d] = model.NodeDisplacement[d];
        r.reaction[d] = d < int(reaction.size()) ? reaction[d] : 0.0f;
        r.equivalent[d] = model.EquivalentNodeLoad[d];
        r.supportEquivalent[d] = model.SupportEquivalentLoad[d];
    }
    r.endForce.assign(M + 1, {});
    r.spring.assign(M + 1, {});
    r.pin.assign(M + 1, {});
    r.loadMoment.assign(M + 1, {});
    for (int m = 1; m <= M; ++m) {
        for (int k = 1; k <= 9; ++k)
            r.endForce[m][k - 1] = model.MemberEndForce[m][k];
        for (int k = 1; k <= 4; ++k) {
            r.spring[m][k - 1] = model.SpringRotation[m][k];
            r.pin[m][k - 1] = model.PinRotation[m][k];
        }
        for (int s = 0; s < 6; ++s)
            r.loadMoment[m][s] = model.MemberLoadMoment[m][kLoadMomentSlots[s]];
    }
    return r;
}

// The factored sum of the cases' results into the model; the reactions are
// returned. Sums are taken in double and stored as the analysis stores them.
std::vector<float>
storeCombination(Model& model, const std::vector<std::pair<double, const CaseResults*>>& parts) {
    const int N = 6 * model.NodeCount;
    const int M = model.MemberCount;
    std::vector<float> reaction(N + 1, 0.0f);
    auto sum = [&](auto get) {
        double s = 0;
        for (const auto& [factor, r] : parts)
            s += factor * double(get(*r));
        return s;
    };
    for (int d = 1; d <= N; ++d) {
        model.NodeDisplacement[d] = sum([d](const CaseResults& r) { return r.displacement[d]; });
        reaction[d] = float(sum([d](const CaseResults& r) { return r.reaction[d]; }));
        model.EquivalentNodeLoad[d] =
            float(sum([d](const CaseResults& r) { return r.equivalent[d]; }));
        model.SupportEquivalentLoad[d] =
            float(sum([d](const CaseResults& r) { return r.supportEquivalent[d]; }));
    }
    for (int m = 1; m <= M; ++m) {
        for (int k = 1; k <= 9; ++k)
            model.MemberEndForce[m][k] =
                float(sum([m, k](const CaseResults& r) { return r.endForce[m][k - 1]; }));
        for (int k = 1; k <= 4; ++k) {
            model.SpringRotation[m][k] =
                float(sum([m, k](const CaseResults& r) { return r.spring[m][k - 1]; }));
            model.PinRotation[m][k] =
                float(sum([m, k](const CaseResults& r) { return r.pin[m][k - 1]; }));
        }
        for (int s = 0; s < 6; ++s)
            model.MemberLoadMoment[m][kLoadMomentSlots[s]] =
                float(sum([m, s](const CaseResults& r) { return r.loadMoment[m][s]; }));
    }
    return reaction;
}

// Results an analysis writes only for some members (the midspan moments of
// loaded members, the rotations of springs and one-sided pins): cleared
// before each case, so that a case adds nothing where it has none.
void clearPartialResults(Model& model) {
    for (int m = 1; m <= kMaxMembers; ++m) {
        model.MemberLoadMoment[m][13] = model.MemberLoadMoment[m][14] = 0.0f;
        for (int k = 1; k <= 4; ++k)
            model.SpringRotation[m][k] = model.PinRotation[m][k] = 0.0f;
    }
}

// The loads of one case or combination in the model's load tables, as the
// load form leaves them before an analysis.
void putLoads(Model& model, const std::vector<std::pair<double, const LoadCase*>>& terms) {
    clearLoads(model);
    for (const auto& [factor, c] : terms)
        addCaseLoads(model, *c, factor);
    stripSupportLoads(model);
}

// An envelope value while the combinations are gone through: the
// combinations giving the extremes by their index, named at the end.
struct Extremes {
    double largest = 0, smallest = 0;
    int largestBy = -1, smallestBy = -1;
};

// Per member and term, as MemberEnvelope.
struct MemberExtremes {
    Extremes start[6], end[6], spanMy, spanMz;
};

void widen(Extremes& e, double v, int combo, bool first) {
    if (first || v > e.largest) {
        e.largest = v;
        e.largestBy = combo;
    }
    if (first || v < e.smallest) {
        e.smallest = v;
        e.smallestBy = combo;
    }
}

void widen(Extremes (&e)[6], const SectionForces& f, int combo, bool first) {
    const double v[6] = {f.N, f.Qy, f.Qz, f.Mx, f.My, f.Mz};
    for (int k = 0; k < 6; ++k)
        widen(e[k], v[k], combo, first);
}

// The combined state in the model (combination number `combo`) widens the
// envelope of its term.
void widenEnvelope(const Model& model, LoadTerm term, int combo,
                   std::vector<MemberExtremes>& envelope, std::vector<bool>& started) {
    const int M = model.MemberCount;
    const int base = term == LoadTerm::Long ? 0 : M;
    for (int m = 1; m <= M; ++m) {
        MemberExtremes& e = envelope[base + m - 1];
        const bool first = !started[base + m - 1];
        started[base + m - 1] = true;
        const MemberEndForces ends = memberEndForces(model, m);
        widen(e.start, ends.start, combo, first);
        widen(e.end, ends.end, combo, first);
        // Along the span: both ends and the largest moment inside.
        const double L = memberLength(model, m) / 100;
        const SectionForces a = forcesAt(model, m, 0), b = forcesAt(model, m, L);
        const LargestMoments lm = largestMoments(model, m);
        const double my[3] = {a.My, b.My, lm.My}, mz[3] = {a.Mz, b.Mz, lm.Mz};
        for (int i = 0; i < 3; ++i) {
            widen(e.spanMy, my[i], combo, first && i == 0);
            widen(e.spanMz, mz[i], combo, first && i == 0);
        }
    }
}

// The extremes with the labels of the combinations that give them.
EnvelopeValue named(const Extremes& e, const std::vector<Combination>& combinations) {
    EnvelopeValue v;
    v.largest = e.largest;
    v.smallest = e.smallest;
    v.largestBy = combinations[static_cast<std::size_t>(e.largestBy)].label;
    v.smallestBy = combinations[static_cast<std::size_t>(e.smallestBy)].label;
    return v;
}

} // namespace

LoadCaseOutcome analyseLoadCases(Model& model, const LoadCaseSet& set, AnalysisProgress& progress,
                                 const CaseResultSink& sink) {
    LoadCaseOutcome result;
    LoadCaseTimes& times = result.times;
    AnalysisWork work;
    AnalysisOutcome out;
    const bool decomposed = decomposeFrame(model, progress, work, out);
    times.frame = out.times;
    if (!decomposed) {
        result.message = out.message;
        return result;
    }
    auto start = Timer::now();

    // Every case's right-hand side, then one substitution for all of them
    // (the factor is read once).
    const int N = 6 * model.NodeCount;
    const int count = static_cast<int>(set.cases.size());
    std::vector<double> columns((static_cast<std::size_t>(N) + 1) * count);
    std::vector<double> column;
    for (int r = 0; r < count; ++r) {
        putLoads(model, {{1.0, &set.cases[r]}});
        frameLoadVector(model, work, column);
        for (int c = 1; c <= N; ++c)
            columns[static_cast<std::size_t>(c) * count + r] = column[c];
    }
    times.loadVectors = secondsSince(start);
    start = Timer::now();
    if (count > 0) solveFrame(work, columns.data(), count);
    times.substitution = secondsSince(start);

    // A case whose displacements are beyond the program's range refuses the
    // frame before any result is handed on, with the analysis's own message.
    for (int r = 0; r < count; ++r) {
        bool within = true;
        for (int i = 1; i <= N && within; ++i) {
            column[i] = columns[static_cast<std::size_t>(i) * count + r];
            within = withinLargestValue(column[i]);
        }
        if (within) continue;
        for (int i = 1; i <= N; ++i)
            column[i] = columns[static_cast<std::size_t>(i) * count + r];
        putLoads(model, {{1.0, &set.cases[r]}});
        solveFrameLoads(model, progress, work, out, {}, &column);
        result.message = out.message;
        return result;
    }

    start = Timer::now();
    double sinkSeconds = 0;
    std::map<std::string, CaseResults> byLabel;
    for (int r = 0; r < count; ++r) {
        const LoadCase& c = set.cases[r];
        putLoads(model, {{1.0, &c}});
        clearPartialResults(model);
        for (int i = 1; i <= N; ++i)
            column[i] = columns[static_cast<std::size_t>(i) * count + r];
        // The sink sees the state the report writer of the analysis sees.
        const ReportWriter record = [&](Model& md, const std::vector<float>& reaction,
                                        AnalysisProgress&) {
            byLabel[c.label] = recordResults(md, reaction);
            const auto sinkStart = Timer::now();
            if (sink) sink(c.label, md, reaction);
            sinkSeconds += secondsSince(sinkStart);
        };
        if (!solveFrameLoads(model, progress, work, out, record, &column)) {
            result.message = out.message;
            return result;
        }
    }

    times.caseResults = secondsSince(start) - sinkSeconds;
    times.sink = sinkSeconds;

    // Long-term members first, then short-term, each in member order.
    const int M = model.MemberCount;
    std::vector<MemberExtremes> envelope(2 * static_cast<std::size_t>(M));
    std::vector<bool> started(envelope.size(), false);
    for (std::size_t k = 0; k < set.combinations.size(); ++k) {
        const Combination& combo = set.combinations[k];
        std::vector<std::pair<double, const LoadCase*>> loads;
        std::vector<std::pair<double, const CaseResults*>> parts;
        for (const CombinationTerm& t : combo.terms) {
            const auto c =
                std::find_if(set.cases.begin(), set.cases.end(),
                             [&](const LoadCase& lc) { return lc.label == t.caseLabel; });
            const auto r = byLabel.find(t.caseLabel);
            if (c == set.cases.end() || r == byLabel.end()) continue;
            loads.emplace_back(t.factor, &*c);
            parts.emplace_back(t.factor, &r->second);
        }
        start = Timer::now();
        putLoads(model, loads);
        const std::vector<float> reaction = storeCombination(model, parts);
        times.combinations += secondsSince(start);
        start = Timer::now();
        if (sink) sink(combo.label, model, reaction);
        times.sink += secondsSince(start);
        start = Timer::now();
        widenEnvelope(model, combo.term, static_cast<int>(k), envelope, started);
        times.envelope += secondsSince(start);
        start = Timer::now();
        clearLoadWork(model, 6 * model.NodeCount);
        model.AnalysisDone = 1;
        times.combinations += secondsSince(start);
    }
    start = Timer::now();
    result.envelope.reserve(
        static_cast<std::size_t>(std::count(started.begin(), started.end(), true)));
    for (std::size_t i = 0; i < envelope.size(); ++i) {
        if (!started[i]) continue;
        const MemberExtremes& x = envelope[i];
        MemberEnvelope& e = result.envelope.emplace_back();
        e.member = static_cast<int>(i % static_cast<std::size_t>(M)) + 1;
        e.term = i < static_cast<std::size_t>(M) ? LoadTerm::Long : LoadTerm::Short;
        for (int k = 0; k < 6; ++k) {
            e.start[k] = named(x.start[k], set.combinations);
            e.end[k] = named(x.end[k], set.combinations);
        }
        e.spanMy = named(x.spanMy, set.combinations);
        e.spanMz = named(x.spanMz, set.combinations);
    }
    times.envelope += secondsSince(start);
    result.ok = true;
    return result;
}

namespace {

// A number of the CSV file: six significant digits as printf's "%.6g" writes
// them in the "C" locale (std::to_chars is specified to give those bytes),
// -0 as 0; appended without a temporary.
void appendCsvNumber(std::string& csv, double v) {
    char buf[32];
    const auto r =
        std::to_chars(buf, buf + sizeof buf, v == 0 ? 0.0 : v, std::chars_format::general, 6);
    csv.append(buf, r.ptr);
}

} // namespace

std::string envelopeCsv(const Model& model, const std::vector<MemberEnvelope>& envelope) {
    const bool si = model.UnitFactor != 1.0f;
    const std::string force = si ? "(kN)" : "(tf)";
    const std::string moment = si ? "(kN·m)" : "(tf·m)";
    static const char* const names[6] = {"N", "Qy", "Qz", "Mx", "My", "Mz"};

    std::string csv = "\xEF\xBB\xBF部材,期間";
    auto heading = [&](const std::string& what, const std::string& unit) {
        csv += "," + what + "最大" + unit + "," + what + "最大の組合せ," + what + "最小" + unit +
               "," + what + "最小の組合せ";
    };
    for (const char* end : {"始端", "終端"})
        for (int k = 0; k < 6; ++k)
            heading(std::string(end) + names[k], k < 3 ? force : moment);
    heading("部材内My", moment);
    heading("部材内Mz", moment);
    csv += "\r\n";

    auto value = [&](const EnvelopeValue& e) {
        csv += ',';
        appendCsvNumber(csv, e.largest);
        csv += ',';
        csv += e.largestBy;
        csv += ',';
        appendCsvNumber(csv, e.smallest);
        csv += ',';
        csv += e.smallestBy;
    };
    // About 400 bytes a row.
    csv.reserve(csv.size() + 400 * envelope.size());
    for (const MemberEnvelope& e : envelope) {
        csv += std::to_string(e.member);
        csv += e.term == LoadTerm::Long ? ",長期" : ",短期";
        for (const EnvelopeValue& v : e.start)
            value(v);
        for (const EnvelopeValue& v : e.end)
            value(v);
        value(e.spanMy);
        value(e.spanMz);
        csv += "\r\n";
    }
    return csv;
}

std::vector<MomentRange> momentEnvelope(const Model& model, const std::vector<CaseResult>& results,
                                        LoadTerm term, int m, const std::vector<double>& stations) {
    std::vector<MomentRange> range;
    if (m < 1 || m > model.MemberCount) return range;
    const double L = memberLength(model, m) / 100;
    bool first = true;
    for (const CaseResult& r : results) {
        if (!r.combination || r.term != term || r.memberCount != model.MemberCount) continue;
        if (first) range.resize(stations.size());
        const std::size_t i = static_cast<std::size_t>(m - 1);
        std::array<double, 2> w{0, 0};
        if (r.memberLoadFlag[i] == 1) w = {r.memberUniformLoad[i][0], r.memberUniformLoad[i][1]};
        for (std::size_t s = 0; s < stations.size(); ++s) {
            const SectionForces f = forcesAt(r.endForce[i], w, L, stations[s]);
            MomentRange& e = range[s];
            if (first) {
                e = {f.My, f.My, f.Mz, f.Mz};
                continue;
            }
            e.MyLargest = std::max(e.MyLargest, f.My);
            e.MySmallest = std::min(e.MySmallest, f.My);
            e.MzLargest = std::max(e.MzLargest, f.Mz);
            e.MzSmallest = std::min(e.MzSmallest, f.Mz);
        }
        first = false;
    }
    return range;
}

} // namespace rahmen
