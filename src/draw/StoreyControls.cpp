// The plotting window's storey pictures: for a frame analysed under seismic
// cases, the drift angles of every storey and the plan of a chosen storey
// (draw/StoreyPicture.h), drawn in the picture area while no diagram of the
// window runs. Declared in Form13.h; the controls sit in the right-hand column
// below the case choice.

#include "draw/Form13.h"
#include "draw/StoreyPicture.h"
#include "model/Program.h"

#include <algorithm>

namespace rahmen {

namespace {

constexpr int kX = 690;   // the right-hand column, as the window's other controls
constexpr int kTop = 664; // below the case choice and the controls under it
const char* const kStoreyControls[] = {"BUTTON136", "BUTTON137", "TEXT136", "COMBO136"};
// What lies over the picture's edges for the window's own diagrams: the angle
// bars, their labels and the status line over the picture's foot, where the
// storey pictures have their axis captions and legends.
const char* const kPictureOverlays[] = {"HSCROLL1", "VSCROLL1", "VSCROLL2", "TEXT63",
                                        "TEXT64",   "TEXT65",   "TEXT54"};

// A storey picture fills the picture area: what lies over it is taken off.
void hideOverlays(Form& f) {
    for (const char* name : kPictureOverlays)
        f.c(name).visible = false;
}

} // namespace

void Form13::addStoreyControls() {
    if (p_.model.AnalysisDone == 0) return;
    storeys = checkStoreys(p_.model, p_.loadCases, p_.caseResults);
    if (storeys.rows.empty()) return;
    addButton("BUTTON136", "層間変形角図", kX, kTop, 102, 28);
    addButton("BUTTON137", "層平面図", kX + 108, kTop, 102, 28);
    addLabel("TEXT136", "層", kX + 72, kTop + 37, 34, 20);
    Control& chooser = addCombo("COMBO136", kX + 108, kTop + 34, 102, 24);
    for (const Storey& s : storeys.layout.storeys)
        chooser.items.push_back(std::to_string(s.number));
    chooser.selected = 0;
    // The window grows to hold them; without storey rows it keeps its size.
    resize(width(), std::max(height(), kTop + 34 + 24 + 10));
    onClick("BUTTON136", [this] { BUTTON136_ON(); });
    onClick("BUTTON137", [this] { BUTTON137_ON(); });
    onChange("COMBO136", [this] { COMBO136_ON(); });
}

void Form13::followStoreyControls() {
    if (!has("BUTTON136")) return;
    const bool running = plot.DrawingActive != 0 || StressStep != 0 || picking();
    if (running && storeyShown != StoreyView::None) {
        // A diagram of the window took the picture over: what it draws
        // along the picture's edges comes back.
        storeyShown = StoreyView::None;
        for (const char* name : kPictureOverlays)
            c(name).visible = true;
    }
    for (const char* name : kStoreyControls)
        c(name).enabled = !running;
}

void Form13::BUTTON136_ON() {
    if (plot.DrawingActive != 0 || StressStep != 0) return;
    hideOverlays(*this);
    drawStoreyDrifts(*picture(), storeys);
    storeyShown = StoreyView::Drifts;
}

void Form13::BUTTON137_ON() {
    if (plot.DrawingActive != 0 || StressStep != 0) return;
    const int chosen = c("COMBO136").selected;
    const auto& all = storeys.layout.storeys;
    if (chosen < 0 || static_cast<std::size_t>(chosen) >= all.size()) return;
    hideOverlays(*this);
    drawStoreyPlan(*picture(), storeys, all[static_cast<std::size_t>(chosen)].number);
    storeyShown = StoreyView::Plan;
}

void Form13::COMBO136_ON() {
    BUTTON137_ON();
}

} // namespace rahmen
