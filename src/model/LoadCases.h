#pragma once
// Load cases and their combinations (施行令 第82条): the loads of each case
// (dead G, live P, snow S, wind W, seismic K), and the combinations the
// building code asks for, as factors on the cases.
//
// A frame without load cases is analysed exactly as before, with the one set
// of loads in the model's load tables; these types only add to that.

#include "model/TextFile.h"

#include <string>
#include <vector>

namespace rahmen {

struct Model;

enum class LoadKind { Dead, Live, Snow, Wind, Seismic }; // G, P, S, W, K
enum class LoadDirection { None, X, Y };                 // W and K act in X or Y
enum class LoadTerm { Long, Short };                     // 長期, 短期

// A nodal load of a case, in global axes, in the units of the load form:
// forces in kN (tf in the older units), moments in kN·m (tf·m).
struct CaseNodeLoad {
    int node = 0;
    float force[3] = {0, 0, 0};
    float moment[3] = {0, 0, 0};
};

// A uniform member load of a case, in member axes: force/m along local y and z.
struct CaseMemberLoad {
    int member = 0;
    float wy = 0;
    float wz = 0;
};

struct LoadCase {
    std::string label; // ASCII letters, digits and '_', a letter first, at most 8
    LoadKind kind = LoadKind::Dead;
    LoadDirection direction = LoadDirection::None;
    std::vector<CaseNodeLoad> nodeLoads;
    std::vector<CaseMemberLoad> memberLoads;
};

// One term of a combination: factor × case.
struct CombinationTerm {
    double factor = 1;
    std::string caseLabel;
};

struct Combination {
    std::string label; // as a case label
    LoadTerm term = LoadTerm::Long;
    std::vector<CombinationTerm> terms;
};

// The most cases and combinations a set holds (and a load-case file lists).
constexpr int kMaxLoadCases = 64;
constexpr int kMaxCombinations = 256;

struct LoadCaseSet {
    std::vector<LoadCase> cases;
    std::vector<Combination> combinations;
};

// The problem with a label ("" when it is a valid one).
std::string labelProblem(const std::string& label);

// Parses an expression of factors on case labels: "G+P", "G+P-KX",
// "G+P+0.35S+KY", "1.2G+0.7KX". A factor is a decimal number written before
// the label (none: 1); the sign before a term applies to it. Fills `terms`
// and returns "" or the problem (an unknown label, a malformed term).
std::string parseCombination(const std::string& expression, const std::vector<LoadCase>& cases,
                             std::vector<CombinationTerm>& terms);

// The term a combination usually has: short-term when it holds a snow, wind
// or seismic case, long-term otherwise (the user says otherwise, e.g. for
// G+P+0.7S in heavy-snow regions).
LoadTerm usualTerm(const Combination& combination, const std::vector<LoadCase>& cases);

// The expression of a combination as parseCombination reads it back.
std::string combinationExpression(const Combination& combination);

// The building code's combinations for the cases present (by their kinds and
// directions): long-term G+P (heavy snow: also G+P+0.7S), short-term G+P+S,
// G+P±W and G+P±K for each W and K case (heavy snow: also G+P+0.35S±W, and
// G+P+0.35S±K in place of G+P±K). G, P and S stand for all the cases of that
// kind; a kind without cases drops out of every combination (no P: G alone
// for G+P), and a combination left empty is not made. Labelled
// L1, L2 (long-term) and S1, S2, … (short-term) in this order.
std::vector<Combination> codeCombinations(const std::vector<LoadCase>& cases, bool heavySnow);

// Puts the loads of case `c` scaled by `factor` into the model's load tables,
// added to what is there, as the load form stores them (moments ×100 into
// force·cm, flags and counts set).
void addCaseLoads(Model& model, const LoadCase& c, double factor);

// The reverse: the loads in the model's load tables (the nodes and members
// flagged as loaded) become the loads of case `c`, in the load form's units
// (moments back in force·m), replacing what the case held.
void takeCaseLoads(const Model& model, LoadCase& c);

// The load-case file DataName.lcd (CP932, CR LF): a heading, the counts line
// (荷重ケース数, 組合せ数), then each case — a line with its number, label,
// kind, direction and the counts of its nodal and member loads, the numbered
// list of its nodal loads (node, three forces, three moments as typed) and
// that of its member loads (member, wy, wz), each ended by an empty line —
// and the numbered list of the combinations (number, label, 長期/短期,
// expression). Every combination needs at least one term (as every parsed
// one has) for the file to read back. Throws DataFileError for a load that
// cannot be written (beyond the program's range).
std::string loadCaseFileBytes(const LoadCaseSet& set);

// Reads a load-case file into `set` (replacing what it held). Node and member
// numbers must lie within 1..nodeCount and 1..memberCount of the frame.
// Throws DataFileError naming the file and line when the file is malformed:
// a count beyond its limit, a list that disagrees with its count, an unknown
// kind, direction or term, a label that is not one or is given twice, an
// expression that does not parse, a value beyond the program's range.
void readLoadCaseFile(ItemReader& in, LoadCaseSet& set, int nodeCount, int memberCount);

} // namespace rahmen
