#pragma once
// The pictures of the storey checks (層間変形角・剛性率・偏心率), drawn into a
// Canvas from a StoreyCheckResult:
//
// - the drift angle of every storey as bars, one panel per direction, against
//   the line of the limit (1/200), each bar with its 1/x, Rs and Re beside it;
// - the plan of one storey: its columns, the centre of mass and the centre of
//   rigidity, with the eccentricity ratios and a legend.
//
// A result with a problem draws its message instead; nothing is drawn from
// values the check could not find.

#include "checks/StoreyCheck.h"

#include <string>

namespace rahmen {

class Canvas;

// The drift angles of the case `xCase` (X direction) and `yCase` (Y); an empty
// label takes the first case of that direction. Clears the canvas first.
void drawStoreyDrifts(Canvas& canvas, const StoreyCheckResult& result,
                      const std::string& xCase = "", const std::string& yCase = "");

// The plan of storey `storey` (1 = the lowest) with the centres of the case
// `caseLabel` (empty: the first case with a row of that storey). Clears the
// canvas first.
void drawStoreyPlan(Canvas& canvas, const StoreyCheckResult& result, int storey,
                    const std::string& caseLabel = "");

// The colours the pictures use (palette numbers).
constexpr int kStoreyBarColor = 1;  // a bar within the limits (blue)
constexpr int kStoreyFailColor = 4; // a bar of an NG storey, and the limit line (red)
constexpr int kColumnColor = 0;     // a column in the plan (black)
constexpr int kMassColor = 4;       // the centre of mass (red)
constexpr int kRigidityColor = 1;   // the centre of rigidity (blue)

} // namespace rahmen
