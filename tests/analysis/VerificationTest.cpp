// The verification cases: frames whose results are known in closed form or
// from independent frame-analysis programs. Every result is checked against
// its reference here, and the same cases make the verification manual
// docs/verification.md: with RAHMEN_VERIFICATION_MANUAL=path the test writes
// the manual there (scripts/test.sh regenerates it and fails when it changed),
// so the manual always shows what the program computes today.

#include "TestFrame.h"
#include "analysis/LoadCaseAnalysis.h"
#include "analysis/MemberResults.h"
#include "checks/SteelChecks.h"
#include "checks/StoreyCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace rahmen;
using namespace rahmen::test;

namespace {

struct Check {
    std::string quantity; // what is compared, with its unit
    double reference;
    std::string source; // the formula with its numbers, or where the reference comes from
    double value;       // the program's result
    double limit;       // the relative difference accepted
};

struct Case {
    std::string title;
    std::string frame; // the frame, its loads and its constants
    std::function<std::vector<Check>()> run;
};

constexpr double kClosedForm = 1e-5;  // single-precision member matrices
constexpr double kIndependent = 1e-4; // the reference table's seven digits

AnalysisOutcome analyse(Frame& f) {
    AnalysisOutcome out = run(f);
    if (!out.ok) ADD_FAILURE() << out.message;
    if (out.Reaction.size() < 6 * static_cast<std::size_t>(f.m.NodeCount) + 1)
        out.Reaction.assign(6 * f.m.NodeCount + 1, 0.0f);
    return out;
}

// A column of 300 cm from the support node 1 up to node 2; member y is X.
Frame column(float kappa = 0) {
    Frame f;
    f.node(0, 0, 0, true);
    f.node(0, 0, 300);
    f.member(1, 2, 100, 20000, 10000, 30000);
    f.m.MemberShearAreaY[1] = 60;
    f.m.MemberShearAreaZ[1] = 50;
    f.m.ShearShapeFactor = kappa;
    return f;
}

// A beam of 600 cm along X between two fixed supports, 20 kN/m downward.
Frame supportedBeam() {
    Frame f;
    f.node(0, 0, 0, true);
    f.node(600, 0, 0, true);
    f.member(1, 2, 60, 30000, 2000, 50);
    f.uniform(1, 0, -20);
    return f;
}

// What the portal frame case reads of each case and combination: the
// moments at both column bases and both beam ends (kN·m) and the sway.
struct PortalResult {
    double base[2] = {0, 0}, beamEnd[2] = {0, 0}, sway = 0;
    double largest(const double (&m)[2]) const { return std::max(std::abs(m[0]), std::abs(m[1])); }
    double smallest(const double (&m)[2]) const { return std::min(std::abs(m[0]), std::abs(m[1])); }
};

// A fixed-base portal in the XZ plane, columns 1 → 2 and 4 → 3 300 cm high,
// beam 2 → 3 600 cm long, under the cases G (the beam's uniform load) and K
// (a horizontal load at the top), combined as G + K and G − K.
std::map<std::string, PortalResult> portalCases() {
    Frame f;
    f.node(0, 0, 0, true);
    f.node(0, 0, 300);
    f.node(600, 0, 300);
    f.node(600, 0, 0, true);
    f.member(1, 2, 1e7f, 20000, 20000, 10000);
    f.member(2, 3, 1e7f, 40000, 40000, 10000);
    f.member(4, 3, 1e7f, 20000, 20000, 10000);
    LoadCaseSet set;
    LoadCase g;
    g.label = "G";
    g.memberLoads.push_back({2, 0, -20});
    LoadCase k;
    k.label = "KX";
    k.kind = LoadKind::Seismic;
    k.direction = LoadDirection::X;
    CaseNodeLoad h;
    h.node = 2;
    h.force[0] = 30;
    k.nodeLoads.push_back(h);
    set.cases = {g, k};
    for (const char* expression : {"G+KX", "G-KX"}) {
        Combination c;
        c.label = expression[1] == '+' ? "S1" : "S2";
        c.term = LoadTerm::Short;
        EXPECT_EQ(parseCombination(expression, set.cases, c.terms), "");
        set.combinations.push_back(c);
    }
    std::map<std::string, PortalResult> results;
    RecordingProgress progress;
    const LoadCaseOutcome out = analyseLoadCases(
        f.m, set, progress, [&](const std::string& label, Model& m, const std::vector<float>&) {
            PortalResult& r = results[label];
            r.base[0] = m.MemberEndForce[1][3];
            r.base[1] = m.MemberEndForce[3][3];
            r.beamEnd[0] = m.MemberEndForce[2][2];
            r.beamEnd[1] = m.MemberEndForce[2][5];
            r.sway = m.NodeDisplacement[6 * (2 - 1) + 1];
        });
    if (!out.ok) ADD_FAILURE() << out.message;
    return results;
}

// A cantilever of 400 cm along X with a torque of 10 kN·m at its tip.
std::vector<Check> torsion(float J, float Iy, float Iz, float spring, double expected,
                           const std::string& quantity, const std::string& source) {
    Frame f;
    f.node(0, 0, 0, true);
    f.node(400, 0, 0);
    f.member(1, 2, 60, Iy, Iz, J);
    f.m.SpringEnd[1][4] = spring;
    f.load(2, 4, 1000);
    analyse(f);
    return {{quantity, expected, source, f.disp(2, 4), kClosedForm}};
}

const std::vector<Case>& cases() {
    static const std::vector<Case> all = {
        {"Cantilever column, horizontal end load, no shear deformation",
         "Column 300 cm high, fixed at its base, Iz = 10000 cm⁴; P = 10 kN in X at the top; "
         "κ = 0.",
         [] {
             Frame f = column();
             f.load(2, 1, 10);
             const AnalysisOutcome out = analyse(f);
             return std::vector<Check>{
                 {"top displacement X (cm)", 0.43902439, "P·L³/(3·E·Iz) = 10·300³/(3·20500·10000)",
                  f.disp(2, 1), kClosedForm},
                 {"base reaction FX (kN)", -10, "−P", reaction(out, 1, 1), kClosedForm},
                 {"base reaction MY (kN·cm)", -3000, "−P·L = −10·300", reaction(out, 1, 5),
                  kClosedForm},
                 {"base moment, member axes, |Mz| (kN·m)", 30, "P·L = 10·3",
                  std::abs(f.m.MemberEndForce[1][3]), kClosedForm},
                 {"shear at the top, member y (kN)", 10, "P", f.m.MemberEndForce[1][8],
                  kClosedForm}};
         }},
        {"Cantilever column, horizontal end load, with shear deformation",
         "The same column with κ = 1.2 and shear area Asz = 50 cm².",
         [] {
             Frame f = column(1.2f);
             f.load(2, 1, 10);
             analyse(f);
             return std::vector<Check>{
                 {"top displacement X (cm)", 0.44813831,
                  "P·L³/(3·E·Iz) + κ·P·L/(G·Asz) = 0.4390244 + 1.2·10·300/(7900·50)", f.disp(2, 1),
                  kClosedForm}};
         }},
        {"Cantilever column on a rotational spring",
         "The column without shear, its base end on a spring of k = 2·10⁶ kN·cm/rad about "
         "member z; P = 10 kN in X at the top.",
         [] {
             Frame f = column();
             f.m.SpringStart[1][6] = 2e6;
             f.m.MemberStartSprung[1] = 1;
             f.load(2, 1, 10);
             analyse(f);
             return std::vector<Check>{{"top displacement X (cm)", 0.88902439,
                                        "P·L³/(3·E·Iz) + P·L²/k = 0.4390244 + 10·300²/(2·10⁶)",
                                        f.disp(2, 1), kClosedForm},
                                       {"rotation of the spring (rad)", -0.0015,
                                        "−P·L/k = −10·300/(2·10⁶)", f.m.SpringRotation[1][2],
                                        kClosedForm}};
         }},
        {"Column under axial load", "The column with N = 50 kN downward at the top; A = 100 cm².",
         [] {
             Frame f = column();
             f.load(2, 3, -50);
             analyse(f);
             return std::vector<Check>{{"top displacement Z (cm)", -0.0073170732,
                                        "−N·L/(E·A) = −50·300/(20500·100)", f.disp(2, 3),
                                        kClosedForm},
                                       {"axial force |N| (kN)", 50, "N",
                                        std::abs(f.m.MemberEndForce[1][7]), kClosedForm}};
         }},
        {"Cantilever beam under a uniform load",
         "Beam 300 cm along X, fixed at node 1, Iy = 30000 cm⁴; w = 20 kN/m downward.",
         [] {
             Frame f;
             f.node(0, 0, 0, true);
             f.node(300, 0, 0);
             f.member(1, 2, 60, 30000, 2000, 50);
             f.uniform(1, 0, -20);
             const AnalysisOutcome out = analyse(f);
             return std::vector<Check>{
                 {"tip displacement Z (cm)", -0.32926829,
                  "−w·L⁴/(8·E·Iy) = −0.2·300⁴/(8·20500·30000)", f.disp(2, 3), kClosedForm},
                 {"tip rotation about Y (rad)", 0.0014634146,
                  "w·L³/(6·E·Iy) = 0.2·300³/(6·20500·30000)", f.disp(2, 5), kClosedForm},
                 {"base moment |My| (kN·m)", 90, "w·L²/2 = 20·3²/2",
                  std::abs(f.m.MemberEndForce[1][2]), kClosedForm},
                 {"base reaction FZ (kN)", 60, "w·L = 20·3", reaction(out, 1, 3), kClosedForm}};
         }},
        {"Fixed-fixed beam under a uniform load",
         "Beam 600 cm along X between two fixed supports, Iy = 30000 cm⁴; w = 20 kN/m "
         "downward.",
         [] {
             Frame f = supportedBeam();
             const AnalysisOutcome out = analyse(f);
             const auto& ef = f.m.MemberEndForce[1];
             return std::vector<Check>{
                 {"start moment My (kN·m)", -60, "−w·L²/12 = −20·6²/12", ef[2], kClosedForm},
                 {"end moment My (kN·m)", 60, "w·L²/12", ef[5], kClosedForm},
                 {"end shear Qz (kN)", 60, "w·L/2 = 20·6/2", ef[9], kClosedForm},
                 {"largest moment between the ends (kN·m)", 30, "w·L²/8 − w·L²/12 = w·L²/24",
                  intermediateMaxMoments(f.m, 1)[0], kClosedForm},
                 {"reaction FZ at node 1 (kN)", 60, "w·L/2", reaction(out, 1, 3), kClosedForm},
                 {"reaction MY at node 1 (kN·cm)", -6000, "−w·L²/12", reaction(out, 1, 5),
                  kClosedForm}};
         }},
        {"Propped beam (fixed and pinned) under a uniform load",
         "The fixed-fixed beam with a pin about member y at its end.",
         [] {
             Frame f = supportedBeam();
             f.m.PinEndY[1] = -1;
             f.m.MemberEndPinned[1] = 1;
             const AnalysisOutcome out = analyse(f);
             return std::vector<Check>{
                 {"start moment My (kN·m)", -90, "−w·L²/8 = −20·6²/8", f.m.MemberEndForce[1][2],
                  kClosedForm},
                 {"end shear Qz (kN)", 45, "3·w·L/8", f.m.MemberEndForce[1][9], kClosedForm},
                 {"reaction FZ at the fixed end (kN)", 75, "5·w·L/8", reaction(out, 1, 3),
                  kClosedForm},
                 {"reaction FZ at the pinned end (kN)", 45, "3·w·L/8", reaction(out, 2, 3),
                  kClosedForm},
                 {"reaction MY at the fixed end (kN·cm)", -9000, "−w·L²/8", reaction(out, 1, 5),
                  kClosedForm}};
         }},
        {"Beam with a rotational spring at one end",
         "The fixed-fixed beam, its start on a spring about member y of k = 4·E·Iy/L = 4.1·10⁶ "
         "kN·cm/rad.",
         [] {
             Frame f = supportedBeam();
             f.m.SpringStart[1][5] = 4.1e6;
             f.m.MemberStartSprung[1] = 1;
             const AnalysisOutcome out = analyse(f);
             const auto& ef = f.m.MemberEndForce[1];
             return std::vector<Check>{
                 {"start moment My (kN·m)", -30, "−(w·L²/12)·k/(k + 4·E·Iy/L) = −60/2", ef[2],
                  kClosedForm},
                 {"end moment My (kN·m)", 75, "w·L²/12 + (2·E·Iy/L)·θ, θ = Ms/k", ef[5],
                  kClosedForm},
                 {"end shear Qz (kN)", 67.5, "w·L/2 + (Me − Ms)/L = 60 + 45/6", ef[9], kClosedForm},
                 {"reaction FZ at node 1 (kN)", 52.5, "w·L/2 − (Me − Ms)/L", reaction(out, 1, 3),
                  kClosedForm},
                 {"rotation of the spring (rad)", -7.3170732e-4, "−Ms/k = −3000/(4.1·10⁶)",
                  f.m.SpringRotation[1][1], kClosedForm}};
         }},
        {"Beam with equal rotational springs at both ends",
         "The fixed-fixed beam, both ends on springs about member y of k = 10⁶ kN·cm/rad.",
         [] {
             Frame f = supportedBeam();
             f.m.SpringStart[1][5] = f.m.SpringEnd[1][5] = 1e6;
             analyse(f);
             const auto& ef = f.m.MemberEndForce[1];
             return std::vector<Check>{{"start moment My (kN·m)", -19.6721311,
                                        "−(w·L²/12)·k/(k + 2·E·Iy/L) = −60·10⁶/(3.05·10⁶)", ef[2],
                                        kClosedForm},
                                       {"end moment My (kN·m)", 19.6721311,
                                        "(w·L²/12)·k/(k + 2·E·Iy/L)", ef[5], kClosedForm},
                                       {"end shear Qz (kN)", 60, "w·L/2", ef[9], kClosedForm}};
         }},
        {"Torsion of a cantilever",
         "Member 400 cm along X, fixed at node 1; a torque T = 1000 kN·cm about X at the tip.",
         [] {
             std::vector<Check> checks =
                 torsion(500, 3000, 2000, 0, 0.10126582, "tip rotation about X, J = 500 cm⁴ (rad)",
                         "T·L/(G·J) = 1000·400/(7900·500)");
             for (const Check& c : torsion(0, 300, 200, 0, 0.10126582,
                                           "tip rotation about X, J = 0, Iy + Iz = 500 cm⁴ (rad)",
                                           "T·L/(G·(Iy + Iz)), J = 0 taken as Iy + Iz"))
                 checks.push_back(c);
             for (const Check& c :
                  torsion(500, 3000, 2000, 2e6, 0.10176582,
                          "tip rotation about X, torsion spring k = 2·10⁶ kN·cm/rad (rad)",
                          "T·L/(G·J) + T/k = 0.1012658 + 1000/(2·10⁶)"))
                 checks.push_back(c);
             return checks;
         }},
        {"Axial springs at both ends of a member",
         "Member 400 cm along X, A = 100 cm², fixed at node 1, axial springs k₁ = 10⁵ and "
         "k₂ = 2·10⁵ kN/cm at its ends; P = 50 kN in X at the tip.",
         [] {
             Frame f;
             f.node(0, 0, 0, true);
             f.node(400, 0, 0);
             f.member(1, 2, 100, 3000, 2000, 500);
             f.m.SpringStart[1][1] = 1e5;
             f.m.SpringEnd[1][1] = 2e5;
             f.load(2, 1, 50);
             analyse(f);
             return std::vector<Check>{
                 {"tip displacement X (cm)", 0.010506098,
                  "P·(L/(E·A) + 1/k₁ + 1/k₂) = 50·(400/2050000 + 10⁻⁵ + 0.5·10⁻⁵)", f.disp(2, 1),
                  kClosedForm},
                 {"axial force N (kN)", 50, "P", f.m.MemberEndForce[1][7], kClosedForm}};
         }},
        {"Vertical member and principal-axis angle",
         "Column 300 cm from node 1 at the top down to the support node 2, Iy = 40000, "
         "Iz = 10000 cm⁴; P = 10 kN in X at the top; principal-axis angle 0 and π/2.",
         [] {
             std::vector<Check> checks;
             for (const float angle : {0.0f, float(M_PI / 2)}) {
                 Frame f;
                 f.node(0, 0, 300);
                 f.node(0, 0, 0, true);
                 f.member(1, 2, 100, 40000, 10000, 30000, angle);
                 f.load(1, 1, 10);
                 analyse(f);
                 if (angle == 0) {
                     checks.push_back({"angle 0: top displacement X (cm)", 0.43902439,
                                       "P·L³/(3·E·Iz), bent about member z", f.disp(1, 1),
                                       kClosedForm});
                     checks.push_back({"angle 0: end shear Qy (kN)", 10,
                                       "P, member y pointing in −X", f.m.MemberEndForce[1][8],
                                       kClosedForm});
                 } else {
                     checks.push_back({"angle π/2: top displacement X (cm)", 0.10975610,
                                       "P·L³/(3·E·Iy) = 10·300³/(3·20500·40000)", f.disp(1, 1),
                                       kClosedForm});
                     checks.push_back({"angle π/2: end shear Qz (kN)", -10,
                                       "−P, member z pointing in +X", f.m.MemberEndForce[1][9],
                                       kClosedForm});
                 }
             }
             return checks;
         }},
        {"Two-storey 1 × 1-bay steel frame",
         "12 nodes, 16 members (columns A = 100 cm², Iy = Iz = 20000, J = 30000 cm⁴; beams "
         "A = 60 cm², Iy = 30000, Iz = 2000, J = 50 cm⁴), bays 600 cm in X and 500 cm in Y, "
         "storeys 350 cm, supports 1–4 fixed; 50 kN in X at each roof node and 20 kN/m "
         "downward on beam 13; κ = 0. Reference: three independent frame-analysis programs "
         "(a finite-element framework with banded Cholesky, a 3-D frame program with skyline "
         "LDLᵀ, a Python frame library), which agree with one another to about 10⁻⁶.",
         [] {
             Frame f;
             const float xy[4][2] = {{0, 0}, {600, 0}, {0, 500}, {600, 500}};
             for (float z : {0.0f, 350.0f, 700.0f})
                 for (const auto& p : xy)
                     f.node(p[0], p[1], z, z == 0);
             auto column = [&](int i, int j) { f.member(i, j, 100, 20000, 20000, 30000); };
             auto beam = [&](int i, int j) { f.member(i, j, 60, 30000, 2000, 50); };
             column(1, 5), column(2, 6), column(3, 7), column(4, 8);
             beam(5, 6), beam(7, 8), beam(5, 7), beam(6, 8);
             column(5, 9), column(6, 10), column(7, 11), column(8, 12);
             beam(9, 10), beam(11, 12), beam(9, 11), beam(10, 12);
             for (int n : {9, 10, 11, 12})
                 f.load(n, 1, 50);
             f.uniform(13, 0, -20);
             const AnalysisOutcome out = analyse(f);

             const double disp[4][6] = {
                 {1.968943, -1.368002e-2, -1.617667e-3, 3.800844e-5, 2.601108e-3, 1.926787e-6},
                 {1.961687, -1.368002e-2, -3.929713e-2, 3.800844e-5, 6.357971e-4, -1.926787e-6},
                 {1.965318, -1.368002e-2, 1.880932e-2, 3.800844e-5, 1.618602e-3, 1.926787e-6},
                 {1.965312, -1.368002e-2, -1.887014e-2, 3.800844e-5, 1.618304e-3, -1.926787e-6}};
             const double react[4][5] = {{-53.40788, -18.55019, -23.52409, -11830.91, 1.051228},
                                         {-46.59212, 138.3620, -23.52409, -11095.43, -1.051228},
                                         {-50.00033, -78.36200, -23.52409, -11463.18, 1.051228},
                                         {-49.99967, 78.55019, -23.52409, -11463.16, -1.051228}};
             const char* const dofs[6] = {"dX (cm)",  "dY (cm)",  "dZ (cm)",
                                          "θX (rad)", "θY (rad)", "θZ (rad)"};
             const char* const forces[5] = {"FX (kN)", "FZ (kN)", "MX (kN·cm)", "MY (kN·cm)",
                                            "MZ (kN·cm)"};
             const int dofOf[5] = {1, 3, 4, 5, 6};
             const std::string source = "independent programs (7 digits)";
             std::vector<Check> checks;
             for (int r = 0; r < 4; ++r)
                 for (int k = 0; k < 6; ++k)
                     checks.push_back({"node " + std::to_string(9 + r) + " " + dofs[k], disp[r][k],
                                       source, f.disp(9 + r, k + 1), kIndependent});
             for (int n = 1; n <= 4; ++n)
                 for (int c = 0; c < 5; ++c)
                     checks.push_back({"support " + std::to_string(n) + " reaction " + forces[c],
                                       react[n - 1][c], source, reaction(out, n, dofOf[c]),
                                       kIndependent});
             return checks;
         }},
        {"Portal frame under the load cases G and ±K and their combinations",
         "Fixed-base portal: columns h = 300 cm with Ic = 20000 cm⁴, beam L = 600 cm with "
         "Ib = 40000 cm⁴ (k = Ib·h/(Ic·L) = 1), A = 10⁷ cm² so that axial shortening is "
         "negligible. Case G: w = 20 kN/m downward on the beam; case K: H = 30 kN in X at the "
         "top of the left column. The two cases are analysed at once and combined as G + K and "
         "G − K by superposition (closed forms of the fixed-base portal; the larger and the "
         "smaller of the two column bases and of the two beam ends).",
         [] {
             auto r = portalCases();
             const PortalResult &g = r["G"], &k = r["KX"], &plus = r["S1"], &minus = r["S2"];
             const std::string gBase = "w·L²/(12·(k+2)) = 20·6²/36";
             const std::string gEnd = "w·L²/(6·(k+2)) = 20·6²/18";
             const std::string kBase = "H·h·(3k+1)/(2·(6k+1)) = 30·3·4/14";
             const std::string kEnd = "H·h·3k/(2·(6k+1)) = 30·3·3/14";
             std::vector<Check> checks = {
                 {"G: column base |M| (kN·m)", 20, gBase, g.largest(g.base), kClosedForm},
                 {"G: beam end |M| (kN·m)", 40, gEnd, g.largest(g.beamEnd), kClosedForm},
                 {"K: column base |M| (kN·m)", 25.714286, kBase, k.largest(k.base), kClosedForm},
                 {"K: beam end |M| (kN·m)", 19.285714, kEnd, k.largest(k.beamEnd), kClosedForm},
                 {"K: sway at the top (cm)", 0.11759582,
                  "H·h³·(2+3k)/(12·E·Ic·(1+6k)) = 30·300³·5/(12·20500·20000·7)", k.sway,
                  kClosedForm}};
             for (const auto& [name, c] :
                  {std::pair<std::string, const PortalResult*>{"G + K", &plus},
                   {"G − K", &minus}}) {
                 checks.push_back({name + ": larger column base |M| (kN·m)", 45.714286,
                                   "360/14 + 20", c->largest(c->base), kClosedForm});
                 checks.push_back({name + ": smaller column base |M| (kN·m)", 5.7142857,
                                   "360/14 − 20", c->smallest(c->base), kClosedForm});
                 checks.push_back({name + ": larger beam end |M| (kN·m)", 59.285714, "40 + 270/14",
                                   c->largest(c->beamEnd), kClosedForm});
                 checks.push_back({name + ": smaller beam end |M| (kN·m)", 20.714286, "40 − 270/14",
                                   c->smallest(c->beamEnd), kClosedForm});
             }
             checks.push_back({"G − K: sway at the top (cm)", -0.11759582,
                               "−(K's sway); G does not sway", minus.sway, kClosedForm});
             // Superposition is exact: the combination is the factored sum of the cases'
             // results, to the last digit of single precision.
             checks.push_back({"G + K: left beam end M (kN·m) against G's + K's",
                               g.beamEnd[0] + k.beamEnd[0], "the cases' results added",
                               plus.beamEnd[0], 1e-6});
             checks.push_back({"G − K: right column base M (kN·m) against G's − K's",
                               g.base[1] - k.base[1], "the cases' results subtracted",
                               minus.base[1], 1e-6});
             return checks;
         }},
        {"Allowable-stress check of a steel portal frame",
         "A portal in the YZ plane: columns 350 cm high, fixed at their bases, and a beam of "
         "600 cm, all H-340×250×9×14 (table row: A = 99.53 cm², Ix = 21200 cm⁴, Zx = 1250 cm³, "
         "ix = 14.6 cm, iy = 6.05 cm, i_b = 6.79 cm, η = 6.60, web (34 − 2·1.4)·0.9 = 28.08 cm²) "
         "bent about their strong axis, SN400B (F = 235 N/mm²); w = 30 kN/m downward on the beam "
         "as a long-term combination. The axial deformation is suppressed in the analysis (its "
         "member areas ×10⁴) so that the closed-form portal moments hold: with "
         "k = (Ib/L)/(Ic/h) = 350/600, the corner moment M = (wL²/12)·2/(2 + k) = 69.677 kN·m, "
         "the base moment M/2, the beam's midspan moment wL²/8 − M = 65.323 kN·m, the column "
         "force N = −wL/2 = −90 kN and shear H = 1.5·M/h = 29.862 kN (the beam's N = −H); "
         "the checks take A from the table row. Long-term allowable stresses: ft = 156.67, "
         "fs = 90.45; lengths lb = lk = the member length.",
         [] {
             Frame f;
             f.node(0, 0, 0, true);
             f.node(0, 0, 350);
             f.node(0, 600, 350);
             f.node(0, 600, 0, true);
             f.m.MemberTypeCount = 1;
             f.m.TypeSectionKind[1] = kSectionHShape;
             f.m.TypeSteelNo[1] = 27; // H-340x250x9x14
             for (auto [i, j] : {std::pair{1, 2}, {2, 3}, {4, 3}}) {
                 const int k = f.member(i, j, 99.53e4f, 21200, 3650, 60);
                 f.m.MemberTypeNo[k] = 1;
             }
             f.uniform(2, 0, -30);
             analyse(f);
             const std::vector<MemberCheck> rows = checkMembers(f.m, {}, "L1", LoadTerm::Long);
             const MemberCheck &column = rows[0], &beam = rows[1];
             const PointCheck& top = column.points[1];
             const PointCheck& end = beam.points[0];
             const PointCheck& mid = beam.points.at(2);
             return std::vector<Check>{
                 {"column: λ = lk/iy", 57.851240, "350/6.05", column.lambda, 1e-6},
                 {"column: fc (N/mm²)", 128.70883, "F(1 − 0.4(λ/Λ)²)/ν, Λ = 119.789",
                  column.allowable.fc, 1e-6},
                 {"column: C", 2.3, "M2/M1 = +0.5 (double curvature): 2.35, capped", column.C,
                  1e-12},
                 {"column: fb (N/mm²)", 156.66667,
                  "F(2/3 − …) = 151.6, 89000/(51.55·6.60) = 261.6: ft", column.allowable.fbStrong,
                  1e-6},
                 {"column top: σc (N/mm²)", 9.0425, "90000/9953", -top.sigmaAxial, 1e-5},
                 {"column top: σb (N/mm²)", 55.741935, "69.677·10⁶/1250·10³", top.sigmaBy, 1e-5},
                 {"column top: σc/fc + σb/fb", 0.42605506, "9.0425/128.709 + 55.742/156.667",
                  top.ratios[0], 1e-5},
                 {"column: τ/fs", 0.11757154, "29862/2808 = 10.635; /90.45", top.ratios[3], 1e-5},
                 {"column: governing ratio", 0.42605506, "at the top, 圧縮+曲げ", column.ratio,
                  1e-5},
                 {"beam: λ", 99.173554, "600/6.05", beam.lambda, 1e-6},
                 {"beam: fc (N/mm²)", 87.161498, "F(1 − 0.4(λ/Λ)²)/ν", beam.allowable.fc, 1e-6},
                 {"beam: C", 1.0, "equal end moments, single curvature", beam.C, 1e-12},
                 {"beam: fb (N/mm²)", 152.60354,
                  "larger of F(2/3 − (4/15)(88.37)²/Λ²) = 122.57 and 89000/(88.37·6.60)",
                  beam.allowable.fbStrong, 1e-6},
                 {"beam end: σc (N/mm²)", 3.0002764, "29862/9953", -end.sigmaAxial, 1e-5},
                 {"beam end: σc/fc + σb/fb", 0.39969494, "3.0003/87.161 + 55.742/152.604",
                  end.ratios[0], 1e-5},
                 {"beam end: τ/fs", 0.35434755, "90000/2808 = 32.05; /90.45", end.ratios[3], 1e-5},
                 {"beam midspan: x (m)", 3.0, "where the shear is zero", mid.x, 1e-9},
                 {"beam midspan: σb (N/mm²)", 52.258065, "65.323·10⁶/1250·10³", mid.sigmaBy, 1e-5},
                 {"beam midspan: σc/fc + σb/fb", 0.37686538, "3.0003/87.161 + 52.258/152.604",
                  mid.ratios[0], 1e-5}};
         }},
        {"Eccentricity ratio of a storey with one column line doubled in stiffness",
         "One storey h = 350 cm, one bay 600 cm (X) × 500 cm (Y), four fixed-base columns "
         "with I = 20000 cm⁴ about both axes but Iz doubled for the two columns on y = 0 "
         "(they bend about member z when the storey sways in X); beams stiff in every way, so "
         "that every column is fixed at both ends and D = 12EI/h³ = 12·20500·20000/350³ = "
         "114.7522 kN/cm (2D on y = 0 in X). Cases KX and KY: 10 kN in X or Y at every floor "
         "node; G: 50 kN down at every floor node, the long-term combination L1 = G (the centre "
         "of mass (300, 250)). By hand: ly = (2D·0·2 + D·500·2)/6D = 166.667 cm, lx = 300 cm, "
         "KR = 2·2D·166.667² + 2·D·333.333² + 4·D·300² = 693333.3·D, rex = √(KR/ΣDx) = "
         "√(693333.3/6), rey = √(693333.3/4), Rex = |250 − 166.667|/rex; one storey: Rs = 1. "
         "The beams are stiff, not rigid: the program's D differ from 12EI/h³ by about 10⁻⁵.",
         [] {
             Frame f;
             const float xy[4][2] = {{0, 0}, {600, 0}, {0, 500}, {600, 500}};
             for (const auto& p : xy)
                 f.node(p[0], p[1], 0, true);
             for (const auto& p : xy)
                 f.node(p[0], p[1], 350);
             for (int i = 1; i <= 4; ++i)
                 f.member(i, i + 4, 1e5f, 20000, i <= 2 ? 40000 : 20000, 1);
             for (const auto& [i, j] : {std::pair{5, 6}, {7, 8}, {5, 7}, {6, 8}})
                 f.member(i, j, 1e5f, 1e10f, 1e10f, 1e10f);
             LoadCaseSet set;
             set.cases = {{"G", LoadKind::Dead, LoadDirection::None, {}, {}},
                          {"KX", LoadKind::Seismic, LoadDirection::X, {}, {}},
                          {"KY", LoadKind::Seismic, LoadDirection::Y, {}, {}}};
             for (int n = 5; n <= 8; ++n) {
                 set.cases[0].nodeLoads.push_back({n, {0, 0, -50}, {0, 0, 0}});
                 set.cases[1].nodeLoads.push_back({n, {10, 0, 0}, {0, 0, 0}});
                 set.cases[2].nodeLoads.push_back({n, {0, 10, 0}, {0, 0, 0}});
             }
             set.combinations = {{"L1", LoadTerm::Long, {{1.0, "G"}}}};
             std::vector<CaseResult> results;
             RecordingProgress progress;
             const LoadCaseOutcome out = analyseLoadCases(
                 f.m, set, progress,
                 [&](const std::string& label, Model& model, const std::vector<float>& r) {
                     results.push_back(captureCaseResult(model, label, r));
                 });
             if (!out.ok) ADD_FAILURE() << out.message;
             const StoreyCheckResult c = checkStoreys(f.m, set, results);
             if (!c.problem.empty()) ADD_FAILURE() << c.problem;
             const StoreyRow* x = nullptr;
             const StoreyRow* y = nullptr;
             for (const StoreyRow& r : c.rows)
                 (r.caseLabel == "KX" ? x : y) = &r;
             if (!x || !y) {
                 ADD_FAILURE() << "no storey rows";
                 return std::vector<Check>{};
             }
             constexpr double kStiffBeams = 1e-4; // beams stiff, not rigid
             const double rex = std::sqrt(693333.3 / 6), rey = std::sqrt(693333.3 / 4);
             return std::vector<Check>{
                 {"D of a column on y = 0 in X (kN/cm)", 2 * 114.7522, "2·12EI/h³",
                  x->columns[0].stiffness.value_or(0), kStiffBeams},
                 {"centre of rigidity lx (cm)", 300, "symmetric in X", x->lx.value_or(0),
                  kStiffBeams},
                 {"centre of rigidity ly (cm)", 166.6667, "(2D·0·2 + D·500·2)/6D",
                  x->ly.value_or(0), kStiffBeams},
                 {"centre of mass gy (cm)", 250, "equal column forces", x->gy.value_or(0),
                  kStiffBeams},
                 {"torsional stiffness KR (kN·cm)", 693333.3 * 114.7522, "693333.3·D",
                  x->KR.value_or(0), kStiffBeams},
                 {"elastic radius rex (cm)", rex, "√(693333.3/6)", x->rex.value_or(0), kStiffBeams},
                 {"elastic radius rey (cm)", rey, "√(693333.3/4)", x->rey.value_or(0), kStiffBeams},
                 {"eccentricity ratio Rex", 83.33333 / rex, "|250 − 166.667|/rex",
                  x->Re.value_or(0), kStiffBeams},
                 {"stiffness ratio Rs (one storey)", 1, "rs / mean(rs)", x->Rs.value_or(0), 1e-12}};
         }},
    };
    return all;
}

double relativeDifference(const Check& c) {
    return std::abs(c.value - c.reference) / std::abs(c.reference);
}

std::string format(const char* pattern, double v) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, v);
    return text;
}

std::string number(double v) {
    return format("%.7g", v);
}

// A table cell: a '|' of the text would end the cell.
std::string cell(const std::string& text) {
    std::string out;
    for (char ch : text) {
        if (ch == '|') out += '\\';
        out += ch;
    }
    return out;
}

std::string difference(double d) {
    return d == 0 ? "0" : format("%.1e", d);
}

// The manual: the cases with their tables, and a summary above them.
std::string manual(const std::vector<std::pair<const Case*, std::vector<Check>>>& results) {
    std::size_t values = 0, outside = 0;
    double largest = 0;
    std::string largestWhere;
    for (const auto& [c, checks] : results)
        for (const Check& check : checks) {
            ++values;
            const double d = relativeDifference(check);
            if (!(d <= check.limit)) ++outside;
            if (d > largest) largest = d, largestWhere = c->title + ", " + check.quantity;
        }

    std::string text =
        "# Verification manual\n\n"
        "<!-- Written by the test Verification.* of tests/analysis/VerificationTest.cpp;\n"
        "     do not edit by hand: the README tells how to regenerate it. -->\n\n"
        "Every value below is computed by the program's analysis in the test run that wrote\n"
        "this page and compared with a reference: a closed-form result of beam theory (the\n"
        "formula is given with its numbers) or the results of three independent frame-analysis\n"
        "programs. Units are those of the analysis: cm, kN, rad; moments in kN·cm for\n"
        "reactions, in kN·m for member end forces (member axes). Unless stated otherwise\n"
        "E = 205000 N/mm² (20500 kN/cm²), G = 79000 N/mm² (7900 kN/cm²) and shear deformation\n"
        "is neglected (κ = 0). The relative difference is |program − reference| / |reference|;\n"
        "the limit is the difference the test accepts. The program computes the member\n"
        "matrices in single precision, so differences of about 10⁻⁷ to 10⁻⁶ are its rounding.\n\n";
    text += "**Summary:** " + std::to_string(values) + " values in " +
            std::to_string(results.size()) + " cases; largest relative difference " +
            difference(largest) + " (" + largestWhere + "); " +
            (outside == 0 ? std::string("every value is within its limit.")
                          : std::to_string(outside) + " values OUTSIDE their limits.") +
            "\n";
    int n = 0;
    for (const auto& [c, checks] : results) {
        text += "\n## " + std::to_string(++n) + ". " + c->title + "\n\n" + c->frame + "\n\n";
        text += "| Quantity | Reference | Source | Program | Relative difference | Limit |\n";
        text += "|---|---:|---|---:|---:|---:|\n";
        for (const Check& check : checks) {
            const double d = relativeDifference(check);
            text += "| " + cell(check.quantity) + " | " + number(check.reference) + " | " +
                    cell(check.source) + " | " + number(check.value) + " | " + difference(d) +
                    (d <= check.limit ? "" : " **outside**") + " | " + format("%.0e", check.limit) +
                    " |\n";
        }
    }
    return text;
}

// The lines of the manual without the program's values and differences: the
// cases, their quantities, references, sources and limits, alike in every build.
std::vector<std::string> withoutProgramValues(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("**Summary:**", 0) == 0) continue;
        std::vector<std::string> cells;
        std::size_t start = 0, bar;
        while ((bar = line.find(" | ", start)) != std::string::npos) {
            cells.push_back(line.substr(start, bar - start));
            start = bar + 3;
        }
        cells.push_back(line.substr(start));
        if (cells.size() == 6)
            line = cells[0] + " | " + cells[1] + " | " + cells[2] + " | " + cells[5];
        lines.push_back(line);
    }
    return lines;
}

} // namespace

TEST(Verification, CasesAgreeWithTheirReferencesAndTheManualListsThem) {
    std::vector<std::pair<const Case*, std::vector<Check>>> results;
    for (const Case& c : cases()) {
        results.emplace_back(&c, c.run());
        ASSERT_FALSE(results.back().second.empty()) << c.title;
        for (const Check& check : results.back().second) {
            ASSERT_NE(check.reference, 0.0) << c.title << ": " << check.quantity;
            EXPECT_LE(relativeDifference(check), check.limit)
                << c.title << ": " << check.quantity << " = " << check.value << ", reference "
                << check.reference;
        }
    }
    const std::string text = manual(results);
    EXPECT_NE(text.find("every value is within its limit."), std::string::npos);
    EXPECT_NE(text.find("## 13. Two-storey 1 × 1-bay steel frame"), std::string::npos);

    if (const char* path = std::getenv("RAHMEN_VERIFICATION_MANUAL")) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        EXPECT_TRUE(out) << "cannot write " << path;
        return;
    }
    // The committed manual holds the same cases. Its values are those of the
    // release build, which the test script compares in full.
    std::ifstream committed(RAHMEN_SOURCE_DIR "/docs/verification.md", std::ios::binary);
    ASSERT_TRUE(committed) << "docs/verification.md is missing";
    const std::string old((std::istreambuf_iterator<char>(committed)),
                          std::istreambuf_iterator<char>());
    const std::vector<std::string> was = withoutProgramValues(old),
                                   now = withoutProgramValues(text);
    for (std::size_t i = 0; i < std::max(was.size(), now.size()); ++i) {
        const std::string a = i < was.size() ? was[i] : "(end)",
                          b = i < now.size() ? now[i] : "(end)";
        if (a == b) continue;
        ADD_FAILURE() << "docs/verification.md does not list the cases of this test "
                         "(regenerate it as the README says); line "
                      << i + 1 << " is\n  " << a << "\nbut the cases give\n  " << b;
        break;
    }
}
