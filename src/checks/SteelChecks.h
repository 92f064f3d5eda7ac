#pragma once
// The allowable-stress check (許容応力度検定) of the steel members of a frame
// under the combinations of its load cases: long-term combinations against
// the long-term allowable stresses, short-term ones against the short-term
// (checks/AllowableStress.h), at both ends of every member and at the points
// of largest moment inside its span (where a shear changes sign: the uniform
// loads are taken into account).
//
// The section of a member is the table row its member type refers to
// (TypeSectionKind 2..4, TypeSteelNo): the built-in catalogue gives A, Zx,
// Zy, ix, iy, i_b and η of an H row, A, Z and i of a tube or pipe, and the
// row's designation H, B, tw, tf or the wall thickness. The H's strong axis
// is member y (TypeIy holds its Ix), so My bends it about the strong axis and
// Qz runs along its web. Members of types without a table section (kinds 0
// and 1) are not checked and say why.
//
// Stresses are in N/mm², whatever the model's unit system: its forces are kN
// (SI) or tf (older units) and its moments kN·m or tf·m.

#include "analysis/MemberResults.h"
#include "checks/AllowableStress.h"
#include "checks/CheckConditions.h"
#include "model/CaseResults.h"
#include "model/LoadCases.h"

#include <string>
#include <vector>

namespace rahmen {

class Files;
struct Model;

// A member's section as the checks read it, in cm units.
struct CheckSection {
    int kind = 0;                          // kSectionHShape, kSectionSquarePipe, kSectionRoundPipe
    std::string name;                      // the designation, UTF-8 ("Ｈ-340x250x 9 x14")
    double A = 0;                          // cm²
    double Zy = 0;                         // cm³, about member y (the table's Zx)
    double Zz = 0;                         // cm³, about member z (the table's Zy)
    double iy = 0;                         // cm, radius of gyration about member y (the table's ix)
    double iz = 0;                         // cm, about member z (the table's iy)
    double ib = 0;                         // cm, i_b of an H
    double eta = 0;                        // η of an H
    double shearAreaY = 0, shearAreaZ = 0; // cm², for Qy and Qz
};

// The section of member type t, or the reason it has none the checks can use
// (`reason` set, false returned).
bool typeCheckSection(const Model& model, int t, CheckSection& section, std::string& reason);

// The section of member m (that of its type), or the reason it has none.
bool memberCheckSection(const Model& model, int m, CheckSection& section, std::string& reason);

// Newtons in one force unit of the model: 1000 (kN) or 9806.65 (tf).
double newtonsPerForceUnit(const Model& model);

// Where along a member a point is checked.
enum class CheckPlace { Start, End, Span };

// The checks of the issue, in the order of the CSV's ratio columns.
enum class CheckKind {
    AxialAndBending,  // σc/fc + σbx/fbx + σby/fby, or (σt + σbx + σby)/ft
    BendingLessAxial, // (σbx + σby − σc)/ft, or σbx/fbx + σby/fby − σt/ft
    ShearY,           // τy/fs
    ShearZ,           // τz/fs
};
constexpr int kCheckKinds = 4;

// The name of a check as the files show it ("圧縮+曲げ", "せん断z", …); the
// axial one depends on whether the member is in compression.
std::string checkName(CheckKind kind, bool compression);

struct PointCheck {
    CheckPlace place = CheckPlace::Start;
    double x = 0;                    // m from the start node
    SectionForces forces;            // force, force·m (model units)
    double sigmaAxial = 0;           // N/A, N/mm², positive in tension
    double sigmaBy = 0, sigmaBz = 0; // |M|/Z about member y and z
    double tauY = 0, tauZ = 0;       // |Q|/Aw
    double ratios[kCheckKinds] = {0, 0, 0, 0};
    CheckKind governing = CheckKind::AxialAndBending;
    double ratio = 0; // the largest of ratios
};

struct MemberCheck {
    int member = 0;
    std::string combination;
    LoadTerm term = LoadTerm::Long;
    bool checked = false;
    std::string reason; // why not checked
    std::string section, grade;
    double F = 0;
    double lambda = 0;              // the larger of lk,y/iy and lk,z/iz
    double C = 1;                   // moment-gradient factor of the strong axis
    AllowableStresses allowable;    // of the combination's term
    std::vector<PointCheck> points; // start, end, then span points
    int governingPoint = 0;
    double ratio = 0;
    bool ng() const { return checked && ratio > 1.0; }
    const PointCheck& governing() const { return points[governingPoint]; }
};

// The allowable stresses of member m with its section, conditions and the
// grade F (long-term); also the slenderness and C used.
AllowableStresses memberAllowables(const Model& model, int m, const CheckSection& section,
                                   const MemberCheckCondition& condition, double F, double& lambda,
                                   double& C);

// Every member 1..MemberCount of the model as its result tables stand (after
// an analysis or applyCaseResult), for one combination and its term.
std::vector<MemberCheck> checkMembers(const Model& model, const CheckConditions& conditions,
                                      const std::string& combination, LoadTerm term);

// The checks over every combination of captured results (the load cases
// themselves are not checked), each put back into the model in turn; the
// model holds the last one afterwards. Rows member by member within each
// combination, combinations in their order.
std::vector<MemberCheck> checkCombinations(Model& model, const std::vector<CaseResult>& results,
                                           const CheckConditions& conditions);

// Per member, its governing row over all combinations (the first of equal
// ratios); unchecked members keep their first row. Member order.
std::vector<const MemberCheck*> governingRows(const std::vector<MemberCheck>& rows);

// DataName_CHK.csv: UTF-8 with a byte-order mark, one heading row with units,
// comma separated, dot decimals, CR LF; one row per member and combination.
std::string checkCsv(const Model& model, const std::vector<MemberCheck>& rows);

// DataName.chk (CP932, CR LF): per member the governing ratio, combination
// and check, then the largest ratio, the count of NG members and the members
// not checked with the reason.
std::string checkReport(const Model& model, const std::vector<MemberCheck>& rows);

// The reason the members of the frame are not checked when none is: "" when
// at least one member is checked.
std::string nothingCheckedReason(const std::vector<MemberCheck>& rows);

// NAME_CHK.csv and NAME.chk written atomically into the folder of `files`;
// the problem or "".
std::string writeCheckFiles(Files& files, const Model& model, const std::string& name,
                            const std::vector<MemberCheck>& rows);

} // namespace rahmen
