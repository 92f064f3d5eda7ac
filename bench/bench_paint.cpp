// Times Qt's painting of every picture of the largest grid (10 × 10 bays of
// 6 m, 8 storeys, analysed) as the window paints it: its labels placed with
// the application font's widths and every primitive painted antialiased into
// an image of the window's design size (680 × 600), on the offscreen platform.
//
//   bench_paint [runs] [folder]      runs default 20; with a folder, each
//                                    picture is saved there as PNG (to check
//                                    that a faster painting paints the same)

#include "analysis/ana.h"
#include "batch/GridFrame.h"
#include "draw/Form13.h"
#include "draw/PictureLayout.h"
#include "draw/draw1.h"
#include "draw/draw2.h"
#include "gui/PictureWidget.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"

#include <QGuiApplication>
#include <QImage>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using namespace rahmen;

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

struct Silent : AnalysisProgress {
    void step(const std::string&) override {}
    void print(const std::string&) override {}
};

// One picture: `draw` fills the window's picture again; then it is painted
// (placing and painting) as the screen shows it.
const char* saveFolder = nullptr;

void timePicture(const char* name, Form13& window, int runs, const std::function<void()>& draw) {
    std::vector<double> painting;
    draw();
    if (saveFolder) {
        std::string file = std::string(saveFolder) + "/" + name + ".png";
        renderCanvas(*window.picture()).save(QString::fromStdString(file), "PNG");
    }
    for (int run = 0; run < runs; ++run) {
        const auto start = Clock::now();
        const QImage image = renderCanvas(*window.picture());
        painting.push_back(ms(start));
        if (image.isNull()) std::fprintf(stderr, "no image\n");
    }
    std::printf("%-34s %7zu items  place and paint %6.2f ms\n", name,
                window.picture()->items().size(), median(painting));
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 20;
    if (argc >= 3) saveFolder = argv[2];
    ScriptedPlatform platform;
    auto program = Program::create(platform.services());
    Program& p = *program;
    p.model = *gridFrame(10, 10, 8);
    Silent progress;
    if (!runAnalysis(p.model, progress).ok) {
        std::fprintf(stderr, "the grid was not analysed\n");
        return 1;
    }
    std::printf("grid 10 x 10 bays, 8 storeys: %d nodes, %d members; median of %d redraws\n",
                p.model.NodeCount, p.model.MemberCount, runs);

    Form13 window(p);
    PlotState plot;
    FRAME0_ON(p, plot, window);
    timePicture("frame, turned by a scroll bar", window, runs, [&] {
        window.c("HSCROLL1").scrollPos = 87;
        SCROLL_CHANGE1(p, plot, window);
    });
    plot.NumberLabelKind = 1;
    timePicture("frame enlarged, node numbers", window, runs, [&] {
        plot.AngleStep = 0;
        LOOP_END1(p, plot, window);
        DRAW_KEY(p, plot, window);
    });
    plot.NumberLabelKind = 2;
    plot.ShowMemberAxes = 1;
    timePicture("frame enlarged, member nos, axes", window, runs, [&] {
        plot.AngleStep = 0;
        LOOP_END1(p, plot, window);
        DRAW_KEY(p, plot, window);
    });
    endDrawing(p, plot, window);

    PlotState deform;
    DEFORM_ON(p, deform, window);
    timePicture("deformation enlarged, node numbers", window, runs, [&] {
        deform.AngleStep = 0;
        LOOP_END1(p, deform, window);
        DRAW_KEY(p, deform, window);
    });
    endDrawing(p, deform, window);

    timePicture("plane stress diagram, Y = 0", window, runs, [&] {
        StressSelection picks;
        picks.PickedPlaneAxis = "y";
        const Model& m = p.model;
        for (int k = 1; k <= m.MemberCount; ++k)
            picks.MemberSelected[k] = m.NodeY[m.MemberStartNode[k]] == m.NodeY[1] &&
                                      m.NodeY[m.MemberEndNode[k]] == m.NodeY[1];
        FORCE_ON(p, picks, window);
    });
    return 0;
}
