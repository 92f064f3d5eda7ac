#include "draw/Picking.h"

#include "draw/Projection.h"
#include "model/Model.h"

namespace rahmen {

int nearestNode(const ViewState& view, int x, int y) {
    constexpr double kSearch = 800; // squared pixels considered at all
    constexpr double kAccept = 100; // within 10 pixels
    int best = 0;
    double bestD2 = kSearch;
    const int nodes = static_cast<int>(view.ScreenX.size()) - 1;
    for (int n = 1; n <= nodes && n < static_cast<int>(view.ScreenH.size()); ++n) {
        const double dx = view.ScreenX[n] - x;
        const double dy = (view.Baseline - view.ScreenH[n]) - y;
        const double d2 = dx * dx + dy * dy;
        if (d2 < bestD2) {
            bestD2 = d2;
            best = n;
        }
    }
    return bestD2 <= kAccept ? best : 0;
}

int memberBetween(const Model& model, int a, int b) {
    for (int k = 1; k <= model.MemberCount && k <= kMaxMembers; ++k) {
        const int s = model.MemberStartNode[k], e = model.MemberEndNode[k];
        if ((s == a && e == b) || (s == b && e == a)) return k;
    }
    return 0;
}

} // namespace rahmen
