#pragma once
// The storey checks of the seismic design (施行令 第82条の2: 層間変形角;
// 第82条の6: 剛性率・偏心率), worked out from the results of the load cases:
//
// - the storeys of the frame: the levels are the distinct Z of the nodes
//   above the lowest support level (nodes within 1 cm of a level belong to
//   it); storey k lies between levels k − 1 and k; its columns are the
//   vertical members joining those two levels;
// - per seismic case (K) and direction: each column's drift δ (the
//   difference of the displacements of its ends along the direction), the
//   storey drift angle max δ/h and its column, the mean drift δ̄;
// - the stiffness ratio Rs = rs / mean(rs) over the storeys, rs = h / δ̄;
// - the eccentricity ratio: column stiffness D = Q / δ, the centre of
//   rigidity (lx, ly), the centre of mass (gx, gy) weighted by the column
//   axial forces of the long-term combination, the torsional stiffness KR,
//   the elastic radii rex, rey and Rex = |gy − ly| / rex (X),
//   Rey = |gx − lx| / rey (Y).
//
// Lengths are cm and forces kN (SI) or tf (older units), as in the model.
// A value that cannot be found (no column, a zero drift, no case of the other
// direction) is left empty and the row says why; nothing is ever a NaN or a
// made-up zero.

#include "model/CaseResults.h"
#include "model/LoadCases.h"

#include <optional>
#include <string>
#include <vector>

namespace rahmen {

struct Model;

// Nodes within this distance (cm) of a level belong to it.
constexpr double kLevelTolerance = 1.0;
// A member joining two levels is a column when its ends lie within this
// horizontal distance (cm) of each other.
constexpr double kPlumbTolerance = 1.0;

struct StoreyColumn {
    int member = 0;
    int lower = 0, upper = 0; // its end nodes
    double x = 0, y = 0;      // plan position (the mean of its ends), cm
};

struct Storey {
    int number = 0;             // 1 = the lowest
    double bottom = 0, top = 0; // level Z, cm
    double height = 0;          // top − bottom
    std::vector<StoreyColumn> columns;
};

struct StoreyLayout {
    std::vector<double> levels; // level 0 (the lowest support) .. n, cm
    std::vector<Storey> storeys;
    std::string problem;            // not empty: no storeys can be found, and why
    std::vector<std::string> notes; // storeys without columns, members not taken as columns
};

// The storeys of the frame in the model.
StoreyLayout findStoreys(const Model& model);

// The limits of the judgement: drift angle at most 1/200 (1/120 where the
// non-structural parts are shown to follow), Rs at least 0.6, Re at most 0.15.
struct StoreyLimits {
    double driftAngle = 1.0 / 200.0;
    double stiffnessRatio = 0.6;
    double eccentricityRatio = 0.15;
};

struct ColumnDrift {
    int member = 0;
    double x = 0, y = 0;
    double drift = 0;                // cm, upper end minus lower end, along the direction
    double shear = 0;                // force along the direction at the upper end
    std::optional<double> stiffness; // D = shear / drift, force/cm (none at zero drift)
};

// One storey under one seismic case.
struct StoreyRow {
    int storey = 0;
    LoadDirection direction = LoadDirection::X;
    std::string caseLabel;
    std::string otherCase; // the case of the other direction the eccentricity takes D from
    double height = 0;
    std::vector<ColumnDrift> columns;
    std::optional<double> driftAngle; // largest |δ| / h
    int governingColumn = 0;          // its member
    std::optional<double> meanDrift;  // δ̄ (signed, along the direction)
    std::optional<double> rs, Rs;
    std::optional<double> lx, ly, gx, gy, KR, rex, rey;
    std::optional<double> Re; // Rex for X, Rey for Y
    std::string judgement;    // "OK", "NG", or "-" when a quantity is missing and none fails
    std::vector<std::string> notes;
};

struct StoreyCheckResult {
    std::string problem; // not empty: nothing could be checked, and why
    StoreyLayout layout;
    bool olderUnits = false; // forces in tf
    std::string massLabel;   // the combination (or case) whose axial forces give the centre of mass
    std::vector<StoreyRow> rows; // X cases then Y cases, each storey 1..n
    std::vector<std::string> notes;
    StoreyLimits limits;
};

// The checks of every seismic case of `set` from `results` (the cases and
// combinations as the analysis of all cases captured them; looked up by
// label). Each X case takes the D values of the Y case of the same position
// among the Y cases (the first when there are fewer) for the eccentricity, and
// each Y case those of the X case likewise. The centre of mass comes from the
// first long-term combination, or the dead-load case when there is none.
StoreyCheckResult checkStoreys(const Model& model, const LoadCaseSet& set,
                               const std::vector<CaseResult>& results,
                               const StoreyLimits& limits = {});

// The result as DataName_STY.csv: UTF-8 with a byte-order mark, one heading
// row with units, comma separated, numbers with a dot, lines ended by CR LF;
// one row per storey, direction and case. A result with a problem gives the
// heading and no rows.
std::string storeyCsv(const StoreyCheckResult& result);

// The result as the report's section (UTF-8 text, lines ended by CR LF; the
// caller converts to CP932 for a file): the storeys, then per case a table
// and the notes, then the judgement's limits.
std::string storeyReportText(const StoreyCheckResult& result, const std::string& dataName);

// "X" or "Y".
const char* directionName(LoadDirection direction);

} // namespace rahmen
