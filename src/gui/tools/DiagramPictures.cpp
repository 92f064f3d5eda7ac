// Writes the pictures of the frame, deformation and stress diagrams of
// analysis reports as PNG files, through the same painting the plotting window
// uses. The frame and deformation pictures are the enlarged view at angles 0
// with their labels, as a user sees them after pressing the angle button and a
// key; the stress pictures show the plane of node 1 normal to Y and the first
// member that carries a uniform load (else member 1).
//
// Usage: rahmen_diagrams OUTPUT_FOLDER REPORT.adt...
// writes OUTPUT_FOLDER/frame-NAME.png, deform-NAME.png, frame-loads-NAME.png
// (the frame diagram with "荷重表示" on), stress-plane-NAME.png and
// stress-member-NAME.png.
//
//        rahmen_diagrams --grid OUTPUT_FOLDER
// analyses the largest grid of the grid generation form (10 × 10 bays, 8
// storeys) and writes its node numbers (turned by 0.3 rad about Z and 0.15 rad
// about X, where the nodes no longer project onto each other) and its plane
// stress diagram at the fit and zoomed four times into the lowest corner, in a
// window enlarged by half:
// grid-nodes.png, grid-nodes-corner.png, grid-members-corner.png,
// grid-stress-plane.png and grid-stress-plane-corner.png.

#include "analysis/AnalysisFile.h"
#include "analysis/ana.h"
#include "batch/GridFrame.h"
#include "draw/Form13.h"
#include "draw/draw1.h"
#include "draw/draw2.h"
#include "gui/GuiSetup.h"
#include "gui/PictureWidget.h"
#include "model/Program.h"
#include "model/TextFile.h"
#include "platform/Form.h"
#include "platform/ScriptedPlatform.h"

#include <QApplication>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

using namespace rahmen;

bool readReport(const std::filesystem::path& path, Model& model) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    ItemReader in(bytes, path.filename().string());
    try {
        readAnalysisReport(model, in);
    } catch (const DataFileError& e) {
        std::cerr << e.what() << "\n";
        return false;
    }
    model.AnalysisDone = 1;
    return true;
}

bool write(const Canvas& canvas, const std::filesystem::path& out) {
    const bool written = savePng(canvas, out.string());
    std::cout << (written ? "wrote " : "could not write ") << out.string() << "\n";
    return written;
}

// Draws one diagram to its enlarged picture with labels (and the load arrows
// when `loads`) and writes it.
template <class Start>
bool picture(Program& program, Start start, const std::filesystem::path& out, bool loads = false) {
    Form13 window(program);
    PlotState plot;
    plot.NumberLabelKind = 1;
    plot.ShowLoads = loads ? 1 : 0;
    start(program, plot, window);
    LOOP_END1(program, plot, window);
    DRAW_KEY(program, plot, window);
    return write(*window.picture(), out);
}

// The plane diagram of the plane through node 1 normal to Y, and the
// single-member diagram of the first loaded member.
bool stressPictures(Program& program, const std::string& name,
                    const std::filesystem::path& folder) {
    const Model& m = program.model;
    if (m.NodeCount < 1 || m.MemberCount < 1) return true;
    bool ok = true;
    {
        Form13 window(program);
        StressSelection picks = planeSelection(m, 'y', m.NodeY[1]);
        FORCE_ON(program, picks, window);
        ok = write(*window.picture(), folder / ("stress-plane-" + name + ".png")) && ok;
    }
    {
        Form13 window(program);
        StressSelection picks;
        int member = 1;
        for (int k = m.MemberCount; k >= 1; --k)
            if (m.MemberLoadFlag[k] == 1) member = k;
        picks.MemberSelected[member] = 1;
        SFRCE_ON(program, picks, window);
        ok = write(*window.picture(), folder / ("stress-member-" + name + ".png")) && ok;
    }
    return ok;
}

bool writeShown(const Canvas& canvas, const PictureView& view, const std::filesystem::path& out) {
    const bool written =
        renderShown(canvas, view).save(QString::fromStdString(out.string()), "PNG");
    std::cout << (written ? "wrote " : "could not write ") << out.string() << "\n";
    return written;
}

int gridPictures(const std::filesystem::path& folder) {
    SilentProgress progress;
    ScriptedPlatform platform;
    auto program = Program::create(platform.services());
    Program& p = *program;
    p.model = *gridFrame(10, 10, 8);
    if (!runAnalysis(p.model, progress).ok) return 1;
    PictureView fit;
    fit.size = 1.5;
    PictureView corner = fit;
    bool ok = true;
    for (int kind : {1, 2}) {
        Form13 window(p);
        PlotState plot;
        plot.NumberLabelKind = static_cast<int16_t>(kind);
        plot.ShowMemberAxes = kind == 2;
        FRAME0_ON(p, plot, window);
        window.c("HSCROLL1").scrollPos = 300;
        window.c("VSCROLL1").scrollPos = 150;
        SCROLL_CHANGE1(p, plot, window);
        LOOP_END1(p, plot, window);
        DRAW_KEY(p, plot, window);
        // The corner lowest in the picture, zoomed four times about it.
        int lowest = 1;
        for (int n = 2; n <= plot.view.nodeCount(); ++n)
            if (nodePoint(plot.view, n).y > nodePoint(plot.view, lowest).y) lowest = n;
        const PicturePoint at = toScreen(fit, nodePoint(plot.view, lowest));
        corner = fit;
        zoomAbout(corner, at.x, at.y, 4);
        if (kind == 1) ok = writeShown(*window.picture(), fit, folder / "grid-nodes.png") && ok;
        ok = writeShown(*window.picture(), corner,
                        folder /
                            (kind == 1 ? "grid-nodes-corner.png" : "grid-members-corner.png")) &&
             ok;
    }
    Form13 window(p);
    StressSelection picks = planeSelection(p.model, 'y', p.model.NodeY[1]);
    FORCE_ON(p, picks, window);
    ok = writeShown(*window.picture(), fit, folder / "grid-stress-plane.png") && ok;
    PictureView lowerLeft = fit;
    zoomAbout(lowerLeft, 120 * fit.size, 460 * fit.size, 4);
    ok = writeShown(*window.picture(), lowerLeft, folder / "grid-stress-plane-corner.png") && ok;
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    setUpApplication(app);
    if (argc == 3 && std::string(argv[1]) == "--grid") return gridPictures(argv[2]);
    if (argc < 3) {
        std::cerr << "usage: rahmen_diagrams OUTPUT_FOLDER REPORT.adt...\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    int failures = 0;
    for (int i = 2; i < argc; ++i) {
        const std::filesystem::path report = argv[i];
        ScriptedPlatform platform;
        auto program = Program::create(platform.services());
        if (!readReport(report, program->model)) {
            std::cerr << "cannot read " << report.string() << "\n";
            ++failures;
            continue;
        }
        const std::string name = report.stem().string();
        if (!picture(*program, FRAME0_ON, folder / ("frame-" + name + ".png"))) ++failures;
        if (!picture(*program, DEFORM_ON, folder / ("deform-" + name + ".png"))) ++failures;
        if (!picture(*program, FRAME0_ON, folder / ("frame-loads-" + name + ".png"), true))
            ++failures;
        if (!stressPictures(*program, name, folder)) ++failures;
    }
    return failures == 0 ? 0 : 1;
}
