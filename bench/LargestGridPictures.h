#pragma once
// The pictures of the largest grid (10 × 10 bays of 6 m, 8 storeys,
// analysed) that the picture benches time, drawn one after another into a
// plotting window: bench_pictures times the drawing and the label placing,
// bench_paint Qt's painting on top.

#include "analysis/ana.h"
#include "batch/GridFrame.h"
#include "draw/Form13.h"
#include "draw/draw1.h"
#include "draw/draw2.h"
#include "model/Program.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace rahmen::bench {

using SteadyClock = std::chrono::steady_clock;

inline double ms(SteadyClock::time_point from) {
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - from).count();
}

inline double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// Called per picture with its name and the drawing that fills the window's
// picture again (as the event that redraws it does).
using PictureTimer =
    std::function<void(const char* name, Form13& window, const std::function<void()>& draw)>;

// Puts the analysed largest grid into the program (false, with a message,
// when it cannot be analysed) and hands each of its pictures to `time`:
// the frame turned by a scroll bar, the enlarged frame with node numbers and
// with member numbers and axes, the enlarged deformation, the stress diagram
// of the plane Y = 0.
inline bool timeLargestGridPictures(Program& p, int runs, const PictureTimer& time) {
    SilentProgress progress;
    p.model = *gridFrame(10, 10, 8);
    if (!runAnalysis(p.model, progress).ok) {
        std::fprintf(stderr, "the grid was not analysed\n");
        return false;
    }
    std::printf("grid 10 x 10 bays, 8 storeys: %d nodes, %d members; median of %d redraws\n",
                p.model.NodeCount, p.model.MemberCount, runs);

    Form13 window(p);
    PlotState plot;
    FRAME0_ON(p, plot, window);
    time("frame, turned by a scroll bar", window, [&] {
        window.c("HSCROLL1").scrollPos = 87;
        SCROLL_CHANGE1(p, plot, window);
    });
    plot.NumberLabelKind = 1;
    time("frame enlarged, node numbers", window, [&] {
        plot.AngleStep = 0;
        LOOP_END1(p, plot, window);
        DRAW_KEY(p, plot, window);
    });
    plot.NumberLabelKind = 2;
    plot.ShowMemberAxes = 1;
    time("frame enlarged, member nos, axes", window, [&] {
        plot.AngleStep = 0;
        LOOP_END1(p, plot, window);
        DRAW_KEY(p, plot, window);
    });
    endDrawing(p, plot, window);

    PlotState deform;
    DEFORM_ON(p, deform, window);
    time("deformation enlarged, node numbers", window, [&] {
        deform.AngleStep = 0;
        LOOP_END1(p, deform, window);
        DRAW_KEY(p, deform, window);
    });
    endDrawing(p, deform, window);

    time("plane stress diagram, Y = 0", window, [&] {
        StressSelection picks = planeSelection(p.model, 'y', p.model.NodeY[1]);
        FORCE_ON(p, picks, window);
    });
    return true;
}

} // namespace rahmen::bench
