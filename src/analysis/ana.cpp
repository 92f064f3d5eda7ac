#include "analysis/ana.h"

#include "analysis/AnalysisFileHandlers.h"
#include "analysis/FrameView.h"
#include "analysis/MemberResults.h"
#include "analysis/NodeOrder.h"
#include "model/Limits.h"
#include "model/Model.h"
#include "model/Program.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <type_traits>
#include <utility>

namespace rahmen {

namespace {

using Timer = std::chrono::steady_clock;

double secondsSince(Timer::time_point start) {
    return std::chrono::duration<double>(Timer::now() - start).count();
}

std::string repeat(const std::string& s, int times) {
    std::string out;
    for (int i = 0; i < times; ++i)
        out += s;
    return out;
}

// The step text and marker lines shown between the steps.
void announce(AnalysisProgress& progress, const std::string& step, const char* marker, int lines) {
    progress.step(step);
    const std::string line = repeat(marker, 23);
    for (int i = 0; i < lines; ++i)
        progress.print(line);
}

// A number as the progress window prints it: whole numbers without decimals,
// others with up to seven significant digits.
std::string printNumber(double v) {
    char buf[32];
    if (v == std::floor(v) && std::abs(v) < 1e15)
        std::snprintf(buf, sizeof buf, "%.0f", v);
    else
        std::snprintf(buf, sizeof buf, "%.7g", v);
    return buf;
}

std::string memberText(int m) {
    return "部材 " + std::to_string(m) + " ";
}

// Degrees of freedom of member m's ends, 1-based global numbers.
std::array<int, 12> memberDofs(const FrameView& frame, int m) {
    std::array<int, 12> g{};
    const int i = frame.MemberStartNode[m];
    const int j = frame.MemberEndNode[m];
    for (int k = 0; k < 6; ++k) {
        g[k] = 6 * (i - 1) + k + 1;
        g[6 + k] = 6 * (j - 1) + k + 1;
    }
    return g;
}

// The same degrees of freedom in the band's order.
std::array<int, 12> bandDofs(const std::array<int, 12>& g, const std::vector<int>& toBand) {
    std::array<int, 12> b{};
    for (int a = 0; a < 12; ++a)
        b[a] = toBand[static_cast<std::size_t>(g[a])];
    return b;
}

bool isSupport(const FrameView& frame, int node) {
    return frame.NodeIsSupport[node] == -1;
}

// E or G in force/cm² (see analysisModulus).
double modulusOf(float unitFactor, float modulus) {
    if (unitFactor == 1.0f) return modulus;
    return modulus / 1000.0f * 100.0f;
}

} // namespace

void clearLoadWork(const FrameView& frame, int dofs) {
    for (int d = 1; d <= dofs; ++d) {
        frame.EquivalentNodeLoad[d] = 0.0f;
        frame.SupportEquivalentLoad[d] = 0.0f;
    }
    const int members = std::clamp(frame.MemberCount, 0, frame.memberRows());
    for (int m = 1; m <= members; ++m)
        for (int k : {5, 6, 11, 12})
            frame.MemberLoadMoment[m][k] = 0.0f;
}

void clearLoadWork(Model& model, int dofs) {
    clearLoadWork(frameView(model), dofs);
}

double analysisModulus(const Model& model, float modulus) {
    return modulusOf(model.UnitFactor, modulus);
}

std::string checkAnalysisFrame(const FrameView& frame) {
    if (frame.NodeCount < 1) return "節点がありません。";
    const int nodeRows = frame.nodeRows(), memberRows = frame.memberRows();
    if (frame.NodeCount > nodeRows) return limitMessage("節点数", frame.NodeCount, nodeRows);
    if (frame.MemberCount < 0 || frame.MemberCount > memberRows)
        return limitMessage("部材数", frame.MemberCount, memberRows);

    const double E = modulusOf(frame.UnitFactor, frame.YoungModulus);
    const double G = modulusOf(frame.UnitFactor, frame.ShearModulus);
    if (!(E > 0.0) || !std::isfinite(E))
        return "ヤング係数が 0 以下です。\n解析条件でヤング係数を入力してください。";
    if (!(G > 0.0) || !std::isfinite(G))
        return "せん断弾性係数が 0 以下です。\n解析条件でせん断弾性係数を入力してください。";

    const bool shear = frame.ShearShapeFactor != 0.0f;
    for (int m = 1; m <= frame.MemberCount; ++m) {
        const int i = frame.MemberStartNode[m];
        const int j = frame.MemberEndNode[m];
        if (i < 1 || i > frame.NodeCount || j < 1 || j > frame.NodeCount)
            return memberText(m) + "の節点番号（始点 " + std::to_string(i) + "、終点 " +
                   std::to_string(j) + "）が正しくありません。";
        Axes r;
        const double L = memberGeometry(frame, m, r);
        if (!(L > 0.0) || !std::isfinite(L))
            return memberText(m) + "の長さが 0 です（節点 " + std::to_string(i) + " と節点 " +
                   std::to_string(j) + " が同じ位置にあります）。";
        // A section value must be positive; the message says which way it fails.
        auto positive = [&](float v, const char* what) -> std::string {
            if (v > 0.0f && std::isfinite(v)) return {};
            return memberText(m) + "の" + what + (v < 0.0f ? "が負の値です。" : "が 0 です。");
        };
        for (const std::string& problem : {positive(frame.MemberArea[m], "断面積"),
                                           positive(frame.MemberIy[m], "断面2次モーメント Iy "),
                                           positive(frame.MemberIz[m], "断面2次モーメント Iz ")})
            if (!problem.empty()) return problem;
        if (frame.MemberJ[m] < 0.0f || !std::isfinite(frame.MemberJ[m]))
            return memberText(m) + "のねじり定数が負の値です。";
        if (shear && (frame.MemberShearAreaY[m] < 0.0f || frame.MemberShearAreaZ[m] < 0.0f))
            return memberText(m) + "のせん断断面積が負の値です。";
    }
    return {};
}

std::string checkAnalysisModel(const Model& model) {
    // The model's columns are its tables: their sizes are the program's limits.
    return checkAnalysisFrame(frameView(model));
}

int scannedHalfBandWidth(const FrameView& frame) {
    // Each node looks at its first 14 members in member order. Walking the
    // members once and counting per node visits the same members.
    std::vector<int> seen(static_cast<std::size_t>(frame.NodeCount) + 1, 0);
    int maxDiff = 0;
    for (int m = 1; m <= frame.MemberCount; ++m) {
        const int i = frame.MemberStartNode[m];
        const int j = frame.MemberEndNode[m];
        const int diff = std::abs(i - j);
        for (int node : {i, j}) {
            if (seen[node] < 14) {
                ++seen[node];
                maxDiff = std::max(maxDiff, diff);
            }
            if (i == j) break;
        }
    }
    return 6 * (maxDiff + 1);
}

int halfBandWidth(const FrameView& frame) {
    int hb = scannedHalfBandWidth(frame);
    for (int m = 1; m <= frame.MemberCount; ++m)
        hb = std::max(hb, 6 * (std::abs(frame.MemberStartNode[m] - frame.MemberEndNode[m]) + 1));
    return hb;
}

int scannedHalfBandWidth(const Model& model) {
    return scannedHalfBandWidth(frameView(model));
}

int halfBandWidth(const Model& model) {
    return halfBandWidth(frameView(model));
}

void CH_UL(const FrameView& frame, double E, double G, AnalysisWork& work) {
    work.fixedEnd.assign(static_cast<std::size_t>(frame.MemberCount) + 1, {});
    work.midspan.assign(static_cast<std::size_t>(frame.MemberCount) + 1, {});
    for (int m = 1; m <= frame.MemberCount; ++m) {
        if (frame.MemberLoadFlag[m] != 1.0f) continue;
        const MemberSection s = memberSection(frame, m, E, G);
        Axes r;
        const double L = memberGeometry(frame, m, r);
        const double wy = 0.01 * frame.MemberUniformLoad[m][1]; // force/cm
        const double wz = 0.01 * frame.MemberUniformLoad[m][2];

        // Member-axis load vector of the fixed beam, 1-based.
        double q[13] = {};
        q[5] = -wz * L * L / 12.0;
        q[6] = wy * L * L / 12.0;
        q[11] = wz * L * L / 12.0;
        q[12] = -wy * L * L / 12.0;
        work.midspan[m] = {static_cast<float>(simpleBeamMoment(wz, L)),
                           static_cast<float>(simpleBeamMoment(wy, L))};

        // End springs and pins change the fixed-end moments.
        auto hasRelease = [&](int k, bool pinStart, bool pinEnd) {
            return s.springStart[k] != 0.0 || s.springEnd[k] != 0.0 || pinStart || pinEnd;
        };
        if (hasRelease(5, s.pinStartY, s.pinEndY)) {
            const PlaneFactors f = factorsY(s);
            q[5] *= 2.0 * f.as - f.b;
            q[11] *= 2.0 * f.ae - f.b;
        }
        if (hasRelease(6, s.pinStartZ, s.pinEndZ)) {
            const PlaneFactors f = factorsZ(s);
            q[6] *= 2.0 * f.as - f.b;
            q[12] *= 2.0 * f.ae - f.b;
        }
        // The shears from equilibrium with those moments, so that the loads
        // stay statically equivalent to the span load (wL/2 each without releases).
        q[3] = wz * L / 2.0 - (q[5] + q[11]) / L;
        q[9] = wz * L / 2.0 + (q[5] + q[11]) / L;
        q[2] = wy * L / 2.0 + (q[6] + q[12]) / L;
        q[8] = wy * L / 2.0 - (q[6] + q[12]) / L;

        for (int k = 1; k <= 12; ++k)
            work.fixedEnd[m][k] = static_cast<float>(-q[k]);
        for (int k : {5, 6, 11, 12})
            frame.MemberLoadMoment[m][k] = static_cast<float>(-q[k]);

        // Global: p = Tᵀ q, node by node.
        const int nodes[2] = {frame.MemberStartNode[m], frame.MemberEndNode[m]};
        for (int end = 0; end < 2; ++end) {
            const int n = nodes[end];
            auto& target =
                isSupport(frame, n) ? frame.SupportEquivalentLoad : frame.EquivalentNodeLoad;
            for (int part = 0; part < 2; ++part) { // forces, then moments
                const double* qq = q + 1 + 6 * end + 3 * part;
                for (int c = 0; c < 3; ++c) {
                    double p = 0.0;
                    for (int a = 0; a < 3; ++a)
                        p += double(r[a][c]) * qq[a];
                    target[6 * (n - 1) + 3 * part + c + 1] += static_cast<float>(p);
                }
            }
        }
    }
}

namespace {

// "節点 5 のX方向": node and direction of degree of freedom d.
std::string dofText(int d) {
    static const char* const directions[6] = {"X方向",   "Y方向",   "Z方向",
                                              "X軸周り", "Y軸周り", "Z軸周り"};
    return "節点 " + std::to_string((d - 1) / 6 + 1) + " の" + directions[(d - 1) % 6];
}

const char* const kCheckNumbers =
    "座標（部材長）、断面性能、ヤング係数、荷重の値と単位を確かめてください。";

// Beyond this ratio of the largest to the smallest stiffness of the free
// degrees of freedom, a failed pivot says more about the digits the member
// matrices and the pivot test can resolve than about the frame: it is reported
// as numbers out of range. A frame of ordinary members spans about 10^6.
constexpr double kLargestSpread = 1.0 / kPivotTolerance;

bool finiteStiffness(const MemberMatrices& mm) {
    for (const auto& row : mm.K)
        for (float k : row)
            if (!std::isfinite(k)) return false;
    return true;
}

// Largest over smallest positive diagonal entry of the assembled matrix (1
// when there is none).
double diagonalSpread(AnalysisWork& work, int n) {
    double least = 0, most = 0;
    for (int d = 1; d <= n; ++d) {
        const double k = work.sparse ? work.stiffness.at(d, d) : work.band.at(d, d);
        if (!(k > 0)) continue;
        if (least == 0 || k < least) least = k;
        most = std::max(most, k);
    }
    return least > 0 ? most / least : 1;
}

std::string spreadMessage(int d, double spread) {
    return "剛性の数値の開きが大きすぎて解けません（最大と最小の比 " + messageNumber(spread) +
           "、" + dofText(d) + "で分解が止まりました）。\n" + kCheckNumbers;
}

} // namespace

std::string instabilityMessage(int d) {
    return "骨組が不安定です。" + dofText(d) +
           "を支える剛性がありません。\n支持点、ピン接合、部材の配置を確かめてください。";
}

AnalysisOutcome runAnalysis(Model& model, AnalysisProgress& progress,
                            const ReportWriter& writeReport) {
    AnalysisWork work;
    return runAnalysis(model, progress, work, writeReport);
}

namespace {

// What the phases of one analysis share.
struct Run {
    Run(const FrameView& frame, AnalysisProgress& progress, AnalysisWork& work,
        AnalysisOutcome& out)
        : frame(frame), progress(progress), work(work), out(out),
          E(modulusOf(frame.UnitFactor, frame.YoungModulus)),
          G(modulusOf(frame.UnitFactor, frame.ShearModulus)), N(6 * frame.NodeCount) {}

    const FrameView frame;
    AnalysisProgress& progress;
    AnalysisWork& work;
    AnalysisOutcome& out;
    const double E, G; // force/cm²
    const int N;       // degrees of freedom
    MemberMatrices mm; // the member being worked on

    // The band's row of a degree of freedom of the user's numbering.
    int band(int d) const { return work.toBand[static_cast<std::size_t>(d)]; }
    // Ends the analysis with a message; the load work is cleared for the next.
    bool fail(std::string message) {
        clearLoadWork(frame, N);
        out.message = std::move(message);
        return false;
    }
};

// Runs one phase and adds its wall-clock time to `seconds`.
template <class Phase> auto timed(double& seconds, Phase phase) {
    const auto start = Timer::now();
    if constexpr (std::is_void_v<decltype(phase())>) {
        phase();
        seconds += secondsSince(start);
    } else {
        auto result = phase();
        seconds += secondsSince(start);
        return result;
    }
}

// Shear areas of 0 stand for the area; the frame keeps the value used.
void fillShearAreas(const FrameView& frame) {
    for (int m = 1; m <= frame.MemberCount; ++m) {
        if (frame.MemberShearAreaY[m] == 0.0f) frame.MemberShearAreaY[m] = frame.MemberArea[m];
        if (frame.MemberShearAreaZ[m] == 0.0f) frame.MemberShearAreaZ[m] = frame.MemberArea[m];
    }
}

void equivalentLoads(Run& run) {
    clearLoadWork(run.frame, run.N);
    run.work.fixedEnd.assign(static_cast<std::size_t>(run.frame.MemberCount) + 1, {});
    run.work.midspan.assign(static_cast<std::size_t>(run.frame.MemberCount) + 1, {});
    if (run.frame.LoadedMemberCount != 0) CH_UL(run.frame, run.E, run.G, run.work);
}

Solver forcedSolver(Solver chosen) {
    if (chosen != Solver::Automatic) return chosen;
    const char* env = std::getenv("RAHMEN_SOLVER");
    if (!env) return Solver::Automatic;
    const std::string name = env;
    if (name == "band") return Solver::Band;
    if (name == "sparse") return Solver::Sparse;
    return Solver::Automatic;
}

// The band decomposition's multiply-adds counted twice inside the envelope
// it works in (BandMatrix::envelope), from the node order alone: a free
// node's columns reach down to its own block and to the last free node a
// member joins it to, a support's to its unit diagonal, and every column at
// least as far as the one before it.
double envelopeFlops(const FrameView& frame, const std::vector<int>& position) {
    const int nodes = frame.NodeCount;
    std::vector<int> lowest(static_cast<std::size_t>(nodes), -1); // by position; -1 held
    for (int n = 1; n <= nodes; ++n)
        if (!isSupport(frame, n)) lowest[static_cast<std::size_t>(position[n])] = position[n];
    for (int m = 1; m <= frame.MemberCount; ++m) {
        const int p = position[frame.MemberStartNode[m]], q = position[frame.MemberEndNode[m]];
        int& low = lowest[static_cast<std::size_t>(std::min(p, q))];
        if (low >= 0 && lowest[static_cast<std::size_t>(std::max(p, q))] >= 0)
            low = std::max(low, std::max(p, q));
    }
    double flops = 0;
    int last = 0; // 0-based row
    for (int p = 0; p < nodes; ++p)
        for (int k = 0; k < 6; ++k) {
            const int c = 6 * p + k;
            const int low = lowest[static_cast<std::size_t>(p)];
            last = std::max({last, c, low < 0 ? c : 6 * low + 5});
            flops += double(last - c + 1) * double(last - c + 1);
        }
    return flops;
}

// The sparse path when it is forced, or when the band is large enough to be
// worth the node order and the sparse factor is estimated faster. Its matrix
// pattern is then set up in the band's order.
void chooseSolver(Run& run, const NodeOrder& order) {
    const FrameView& frame = run.frame;
    AnalysisWork& work = run.work;
    run.out.bandFlops = envelopeFlops(frame, order.position);
    const Solver forced = forcedSolver(work.solver);
    work.sparse = false;
    if (!SparseCholesky::available() || forced == Solver::Band) return;
    const int hb = run.out.factorisedHalfBandWidth;
    if (forced == Solver::Automatic &&
        bandSeconds(run.out.bandFlops, hb, run.N) < kSparseWorthSeconds)
        return;

    // The node graph in band positions: members between free nodes.
    const int nodes = frame.NodeCount;
    std::vector<char> held(static_cast<std::size_t>(nodes), 0);
    for (int n = 1; n <= nodes; ++n)
        held[static_cast<std::size_t>(order.position[n])] = isSupport(frame, n);
    std::vector<std::vector<int>> neighbours(static_cast<std::size_t>(nodes));
    for (int m = 1; m <= frame.MemberCount; ++m) {
        int p = order.position[frame.MemberStartNode[m]];
        int q = order.position[frame.MemberEndNode[m]];
        if (p == q || held[static_cast<std::size_t>(p)] || held[static_cast<std::size_t>(q)])
            continue;
        if (q < p) std::swap(p, q);
        neighbours[static_cast<std::size_t>(p)].push_back(q);
    }
    double entries = 0;
    for (auto& list : neighbours) {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
        entries += 21 + 36 * double(list.size());
    }
    run.out.sparseFlops = work.cholesky.orderNodes(nodes, neighbours, held);
    if (forced == Solver::Automatic &&
        !sparseEstimatedFaster(run.out.bandFlops, hb, run.N, run.out.sparseFlops, entries))
        return;
    work.sparse = true;
    work.stiffness.setPattern(nodes, neighbours, held);
}

// The band is solved in the node order with the narrowest band; toBand takes
// a degree of freedom of the user's numbering to its row of the band.
void numbering(Run& run) {
    const FrameView& frame = run.frame;
    run.out.scannedHalfBandWidth = scannedHalfBandWidth(frame);
    run.out.halfBandWidth = halfBandWidth(frame);
    const NodeOrder order = chooseNodeOrder(frame);
    run.out.factorisedHalfBandWidth = order.halfBandWidth();
    std::vector<int>& toBand = run.work.toBand;
    toBand.assign(static_cast<std::size_t>(run.N) + 1, 0);
    for (int n = 1; n <= frame.NodeCount; ++n)
        for (int k = 1; k <= 6; ++k)
            toBand[static_cast<std::size_t>(6 * (n - 1) + k)] = 6 * order.position[n] + k;
    chooseSolver(run, order);
}

// The member matrices into the band. Supports: every support node is fixed
// in all six directions, its rows and columns 0 and its diagonal 1. Leaving
// out the member entries of a support end gives the same matrix as adding
// them and clearing them afterwards, without walking the band across its rows.
template <class Matrix> bool assembleInto(Run& run, Matrix& matrix) {
    const FrameView& frame = run.frame;
    run.work.members.resize(static_cast<std::size_t>(frame.MemberCount) + 1);
    announce(run.progress, "　剛性行列作成中", "β", 7);
    for (int m = 1; m <= frame.MemberCount; ++m) {
        buildMemberMatrices(frame, m, run.E, run.G, run.mm);
        if (!finiteStiffness(run.mm))
            return run.fail(memberText(m) + "の剛性が計算できる数値の範囲を超えました。\n" +
                            kCheckNumbers);
        run.work.members[m] = {run.mm.L, run.mm.R, run.mm.K};
        const std::array<int, 12> g = bandDofs(memberDofs(frame, m), run.work.toBand);
        const bool held[2] = {isSupport(frame, frame.MemberStartNode[m]),
                              isSupport(frame, frame.MemberEndNode[m])};
        const Matrix12& K = run.mm.K;
        for (int a = 0; a < 12; ++a) {
            if (held[a / 6]) continue;
            for (int b = 0; b <= a; ++b)
                if (!held[b / 6] && K[a][b] != 0.0f) matrix.add(g[a], g[b], K[a][b]);
        }
    }
    return true;
}

bool assemble(Run& run) {
    if (run.work.sparse) return assembleInto(run, run.work.stiffness);
    run.work.band.reset(run.N, run.out.factorisedHalfBandWidth);
    return assembleInto(run, run.work.band);
}

// The supports' unit diagonals.
void supports(Run& run) {
    for (int n = 1; n <= run.frame.NodeCount; ++n)
        if (isSupport(run.frame, n))
            for (int k = 1; k <= 6; ++k) {
                const int d = run.band(6 * (n - 1) + k);
                (run.work.sparse ? run.work.stiffness.at(d, d) : run.work.band.at(d, d)) = 1.0;
            }
}

// The step text of the decomposition with the band's size and the estimate
// of its time the program has always shown.
void announceDecomposition(Run& run) {
    const int hb = run.out.factorisedHalfBandWidth;
    announce(run.progress, "　三角分解", "γ", 3);
    run.progress.print("　マトリックスボリューム ＝ " + printNumber(hb) + " × " +
                       printNumber(run.N));
    const float estimate = float(hb) * float(hb) * float(run.N) * 5e-6f;
    run.progress.print("　所要時間：約 " + printNumber(estimate) + " 秒(Pentium200MHz)");
    run.progress.print(repeat("γ", 23));
}

// The band's Cholesky decomposition; a failed pivot names its node and
// direction, or the spread of the stiffnesses when that is beyond what the
// digits resolve.
bool decompose(Run& run, double spread) {
    const std::clock_t cpu = std::clock();
    AnalysisWork& work = run.work;
    run.out.sparse = work.sparse;
    if (work.sparse) run.out.factorFlops = work.cholesky.analyse(work.stiffness);
    const int failedRow =
        work.sparse ? work.cholesky.factor(work.stiffness) : factorBand(work.band);
    run.out.times.decompositionCpu = double(std::clock() - cpu) / CLOCKS_PER_SEC;
    if (failedRow == 0) return true;
    const std::vector<int>& toBand = run.work.toBand;
    run.out.failedDof =
        int(std::find(toBand.begin() + 1, toBand.end(), failedRow) - toBand.begin());
    return run.fail(spread > kLargestSpread ? spreadMessage(run.out.failedDof, spread)
                                            : instabilityMessage(run.out.failedDof));
}

// The right-hand side in the band's order: the nodal and equivalent loads of
// the free nodes. A support's degree of freedom has a unit row, so its
// right-hand side 0 keeps it in place.
void loadVector(Run& run, std::vector<double>& rhs) {
    const FrameView& frame = run.frame;
    rhs.assign(static_cast<std::size_t>(run.N) + 1, 0.0);
    for (int n = 1; n <= frame.NodeCount; ++n) {
        if (isSupport(frame, n)) continue;
        for (int k = 1; k <= 6; ++k) {
            const int d = 6 * (n - 1) + k;
            rhs[run.band(d)] = double(frame.NodeLoad[d]) + double(frame.EquivalentNodeLoad[d]);
        }
    }
}

// The displacements of the band's solution back in the user's numbering.
void displacementsFromBand(Run& run) {
    run.work.x.assign(static_cast<std::size_t>(run.N) + 1, 0.0);
    for (int d = 1; d <= run.N; ++d)
        run.work.x[d] = run.work.rhs[run.band(d)];
}

// Forward and back substitution, into a work vector, and the displacements
// back in the user's numbering.
void substitute(Run& run) {
    loadVector(run, run.work.rhs);
    solveFrame(run.work, run.work.rhs.data());
    displacementsFromBand(run);
}

// Displacements beyond the program's largest value could be neither written
// nor read back: the numbers of the frame are out of range. Otherwise the
// displacements and the simple-beam moments replace the previous results.
bool storeDisplacements(Run& run) {
    const FrameView& frame = run.frame;
    for (int d = 1; d <= run.N; ++d)
        if (!withinLargestValue(run.work.x[d]))
            return run.fail("変位が数値の範囲（絶対値 " + std::string(kLargestValueText) +
                            " まで）を超えました（" + dofText(d) + "）。\n" + kCheckNumbers);
    for (int d = 1; d <= run.N; ++d)
        frame.NodeDisplacement[d] = run.work.x[d];
    for (int m = 1; m <= frame.MemberCount; ++m)
        if (frame.MemberLoadFlag[m] == 1.0f && frame.LoadedMemberCount != 0) {
            frame.MemberLoadMoment[m][13] = run.work.midspan[m][0];
            frame.MemberLoadMoment[m][14] = run.work.midspan[m][1];
        }
    return true;
}

// The end forces of member m from the displacements: global F = K·d
// (double sums; kept for the reactions) and in member axes f = T·F (stored in
// single precision, 1-based), with the matrices the assembly built.
void memberForces(Run& run, const AssembledMember& mm, int m, double (&F)[12], float (&f)[13]) {
    const std::array<int, 12> g = memberDofs(run.frame, m);
    for (int a = 0; a < 12; ++a) {
        double s = 0.0;
        for (int b = 0; b < 12; ++b)
            s += double(mm.K[a][b]) * run.work.x[g[b]];
        F[a] = s;
    }
    for (int end = 0; end < 4; ++end)
        for (int i = 0; i < 3; ++i) {
            double s = 0.0;
            for (int j = 0; j < 3; ++j)
                s += double(mm.R[i][j]) * F[3 * end + j];
            f[1 + 3 * end + i] = static_cast<float>(s);
        }
}

// MemberEndForce: moments in force·m with the fixed-end moments of the span
// load, the end node's forces with its fixed-end shears.
void storeEndForces(const FrameView& frame, int m, const float (&f)[13],
                    const std::array<float, 13>& fixedEnd) {
    const auto& mlm = frame.MemberLoadMoment[m];
    auto& ef = frame.MemberEndForce[m];
    ef[1] = kMomentCmToM * f[4];
    ef[2] = kMomentCmToM * (f[5] + mlm[5]);
    ef[3] = kMomentCmToM * (f[6] + mlm[6]);
    ef[4] = kMomentCmToM * f[10];
    ef[5] = kMomentCmToM * (f[11] + mlm[11]);
    ef[6] = kMomentCmToM * (f[12] + mlm[12]);
    ef[7] = f[7];
    ef[8] = f[8] + fixedEnd[8];
    ef[9] = f[9] + fixedEnd[9];
}

// End forces, the members' forces on the supports, and the spring and pin
// rotations, member by member.
void endForces(Run& run) {
    const FrameView& frame = run.frame;
    run.work.reaction.assign(static_cast<std::size_t>(run.N) + 1, 0.0);
    for (int m = 1; m <= frame.MemberCount; ++m) {
        const AssembledMember& mm = run.work.members[static_cast<std::size_t>(m)];
        double F[12];
        float f[13];
        memberForces(run, mm, m, F, f);
        const std::array<int, 12> g = memberDofs(frame, m);
        for (int end = 0; end < 2; ++end)
            if (isSupport(frame, end == 0 ? frame.MemberStartNode[m] : frame.MemberEndNode[m]))
                for (int a = 6 * end; a < 6 * end + 6; ++a)
                    run.work.reaction[g[a]] += F[a];
        storeEndForces(frame, m, f, run.work.fixedEnd[m]);
        storeEndRotations(frame, m, f, mm.L, run.E);
    }
}

// Reactions: the members' forces on the support, less the loads that act on
// it directly — the equivalent loads of all members meeting there, once.
void reactions(Run& run) {
    const FrameView& frame = run.frame;
    run.out.Reaction.assign(static_cast<std::size_t>(run.N) + 1, 0.0f);
    for (int n = 1; n <= frame.NodeCount; ++n)
        if (isSupport(frame, n))
            for (int k = 1; k <= 6; ++k) {
                const int d = 6 * (n - 1) + k;
                run.out.Reaction[d] = static_cast<float>(
                    run.work.reaction[d] - frame.SupportEquivalentLoad[d] - frame.NodeLoad[d]);
            }
}

std::size_t workBytes(const AnalysisWork& work) {
    return work.band.bytes() + work.stiffness.bytes() + work.cholesky.bytes() +
           (work.x.capacity() + work.rhs.capacity() + work.reaction.capacity()) * sizeof(double) +
           work.toBand.capacity() * sizeof(int) +
           work.members.capacity() * sizeof(work.members[0]) +
           work.fixedEnd.capacity() * sizeof(work.fixedEnd[0]) +
           work.midspan.capacity() * sizeof(work.midspan[0]);
}

} // namespace

bool decomposeFrame(const FrameView& frame, AnalysisProgress& progress, AnalysisWork& work,
                    AnalysisOutcome& out) {
    out.message = checkAnalysisFrame(frame);
    if (!out.message.empty()) return false;
    Run run(frame, progress, work, out);
    AnalysisTimes& times = out.times;

    fillShearAreas(frame);
    announce(progress, "　バンド幅計算", "α", 7);
    timed(times.bandWidth, [&] { numbering(run); });
    if (!timed(times.assembly, [&] { return assemble(run); })) return false;
    // How far apart the stiffnesses of the free degrees of freedom lie, before
    // the supports' unit diagonals are set.
    const double spread = diagonalSpread(work, run.N);
    timed(times.supports, [&] { supports(run); });
    announceDecomposition(run);
    return timed(times.decomposition, [&] { return decompose(run, spread); });
}

bool decomposeFrame(Model& model, AnalysisProgress& progress, AnalysisWork& work,
                    AnalysisOutcome& out) {
    return decomposeFrame(frameView(model), progress, work, out);
}

// Calibrated on this machine (2 cores, both free) with bench_solvers, best of
// 3 runs on grids of 6 × 6 × 5 to 20 × 20 × 20 bays. The band on two threads
// ran at 52, 66, 73, 85, 96 and 103 GFLOP/s at half bands of 510, 720, 852,
// 1122, 1566 and 2052, which R = 154 GFLOP/s and h0 = 986 meet within 4 %.
// CHOLMOD's factor ran at 11.5, 15.4, 20, 26, 38 and 42 GFLOP/s on factors
// of 3.3e8, 1.05e9, 2.4e9, 4.9e9, 2e10 and 3.45e10 flops (a power 0.28 of
// the flops); its ordering, symbolic factor and sparse assembly took 6.5e-8
// to 9e-8 s per entry of the matrix. Besides its decomposition the band's
// analysis spent 0.28–0.37 ms per MB of its matrix (bench_analysis's scaling
// run: grids of 8 × 8 × 8 to 20 × 20 × 20 bays, the whole analysis against
// the decomposition), which makes the sparse path the faster whole analysis
// from 12 × 12 × 12 bays on, although the band still decomposes faster there.
const SolverRates kSolverRates = {154e9, 986, 3.2e-10, 11.5e9, 3.3e8, 0.28, 45e9, 8e-8};

double bandSeconds(double bandFlops, int halfBand, int dofs) {
    const SolverRates& r = kSolverRates;
    const double hb = std::max(halfBand, 1);
    const double bytes = 8.0 * dofs * (hb + 47); // the band and its padding rows
    return bandFlops / (r.bandPeakFlopsPerSecond * hb / (hb + r.bandHalfRateWidth)) +
           bytes * r.bandSecondsPerByte;
}

double sparseSeconds(double sparseFlops, double entries) {
    const SolverRates& r = kSolverRates;
    const double rate = std::min(
        r.sparsePeakFlopsPerSecond,
        r.sparseFlopsPerSecond *
            std::pow(std::max(sparseFlops, 1.0) / r.sparseReferenceFlops, r.sparseRateExponent));
    return sparseFlops / rate + entries * r.sparseSecondsPerEntry;
}

bool sparseEstimatedFaster(double bandFlops, int halfBand, int dofs, double sparseFlops,
                           double entries) {
    return sparseSeconds(sparseFlops, entries) < bandSeconds(bandFlops, halfBand, dofs);
}

void solveFrame(const AnalysisWork& work, double* x, int count) {
    if (work.sparse)
        work.cholesky.solve(x, count);
    else if (count == 1)
        solveBand(work.band, x);
    else
        solveBand(work.band, x, count);
}

void frameLoadVector(const FrameView& frame, AnalysisWork& work, std::vector<double>& rhs) {
    AnalysisOutcome unused;
    SilentProgress quiet;
    Run run(frame, quiet, work, unused);
    equivalentLoads(run);
    loadVector(run, rhs);
    clearLoadWork(frame, run.N);
}

void frameLoadVector(Model& model, AnalysisWork& work, std::vector<double>& rhs) {
    frameLoadVector(frameView(model), work, rhs);
}

bool solveFrameLoads(const FrameView& frame, AnalysisProgress& progress, AnalysisWork& work,
                     AnalysisOutcome& out, const FrameReport& writeReport,
                     const std::vector<double>* solved) {
    Run run(frame, progress, work, out);
    AnalysisTimes& times = out.times;

    timed(times.equivalentLoads, [&] { equivalentLoads(run); });
    announce(progress, "　前進代入", "δ", 7);
    timed(times.substitution, [&] {
        if (!solved) return substitute(run);
        work.rhs = *solved;
        displacementsFromBand(run);
    });
    // From here on nothing can fail: the results replace the previous ones.
    if (!storeDisplacements(run)) return false;
    announce(progress, "　部材端力計算", "ε", 7);
    timed(times.endForces, [&] {
        endForces(run);
        reactions(run);
    });
    out.workBytes = workBytes(work);

    // Step 10: the report file, written by the caller's writer.
    if (writeReport) writeReport(out.Reaction);

    clearLoadWork(frame, run.N);
    if (frame.AnalysisDone) *frame.AnalysisDone = 1;
    out.ok = true;
    return true;
}

bool solveFrameLoads(Model& model, AnalysisProgress& progress, AnalysisWork& work,
                     AnalysisOutcome& out, const ReportWriter& writeReport,
                     const std::vector<double>* solved) {
    FrameReport report;
    if (writeReport)
        report = [&](const std::vector<float>& reaction) {
            writeReport(model, reaction, progress);
        };
    return solveFrameLoads(frameView(model), progress, work, out, report, solved);
}

AnalysisOutcome runAnalysis(const FrameView& frame, AnalysisProgress& progress,
                            AnalysisWork& work) {
    AnalysisOutcome out;
    // The equivalent loads come after the decomposition: neither depends on
    // the other, and a failed decomposition clears them either way.
    if (decomposeFrame(frame, progress, work, out)) solveFrameLoads(frame, progress, work, out);
    return out;
}

AnalysisOutcome runAnalysis(Model& model, AnalysisProgress& progress, AnalysisWork& work,
                            const ReportWriter& writeReport) {
    AnalysisOutcome out;
    if (decomposeFrame(model, progress, work, out))
        solveFrameLoads(model, progress, work, out, writeReport);
    return out;
}

void ProgressWindow::step(const std::string& text) {
    form_.step(text);
}

void ProgressWindow::print(const std::string& line) {
    form_.print(line);
}

bool ANALYSIS_ON(Program& program, const ReportWriter& writeReport, AnalysisTimes* times) {
    program.progress.begin(program.FontOffset);
    ProgressWindow window(program.progress);
    const bool skipFile = program.SkipAnalysisFile == -1;
    ReportWriter writer = writeReport;
    if (!writer)
        writer = [&program](Model&, const std::vector<float>& reaction, AnalysisProgress&) {
            writeAnalysisFile(program, reaction);
        };
    const AnalysisOutcome out =
        runAnalysis(program.model, window, skipFile ? ReportWriter{} : writer);
    if (times) *times = out.times;
    if (!out.ok) {
        program.progress.closeWindow();
        program.say(out.message, MessageButtons::Ok, MessageIcon::Exclamation);
        return false;
    }
    if (skipFile)
        program.progress.closeWindow();
    else
        program.progress.finish();
    // The results can now be drawn or reset; the grid's default loads and the
    // mouse analysis are behind the user.
    program.menuEnable({"BUTTON4", "BUTTON88"}, {"BUTTON84", "BUTTON92"});
    return true;
}

} // namespace rahmen
