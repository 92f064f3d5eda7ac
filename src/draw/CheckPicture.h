#pragma once
// The 検定比図 of the plotting window: the frame diagram with every member
// drawn in a colour by its largest utilisation ratio (checks/SteelChecks.h)
// in one combination or over all combinations, a legend, and in the
// enlarged view each checked member's ratio beside it. The frame is drawn
// as the frame diagram draws it (draw1's drawFrameMarks in the view of the
// plotting window), only the member colours differ.

#include "checks/SteelChecks.h"
#include "draw/Projection.h"
#include "platform/Canvas.h"

#include <string>
#include <vector>

namespace rahmen {

struct Model;

// The ratio of a member that is not checked.
constexpr double kNotChecked = -1.0;

// Per member 1..memberCount (index 0 unused) its ratio in the combination of
// that label, or its largest over every combination when `combination` is
// empty; kNotChecked for a member no row checks.
std::vector<double> memberRatios(const std::vector<MemberCheck>& rows, int memberCount,
                                 const std::string& combination);

// The five classes of the picture and their palette colours: below 0.5
// kBlue, below 0.8 kLightGreen, below 1.0 kLightYellow, 1.0 and more (NG)
// kLightRed, not checked kGrey.
int ratioColour(double ratio);

// The ratio as the picture labels it ("0.87").
std::string ratioLabel(double ratio);

// The 検定比図 in the placed view: the frame in the ratio colours, the legend
// at the top right under `title` (with `note` below it when not empty), and
// in the enlarged view (DrawState 1) each checked member's ratio. No clear,
// no triad (the frame diagram draws them).
void drawCheckPicture(const Model& model, const ViewState& view, Canvas& canvas,
                      const std::vector<double>& ratios, const std::string& title,
                      const std::string& note);

} // namespace rahmen
