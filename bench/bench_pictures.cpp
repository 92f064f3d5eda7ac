// Times the redraw of every picture of the largest grid (10 × 10 bays of
// 6 m, 8 storeys, analysed): the drawing into the display list and the
// placing of its labels for the screen, at the design size and zoomed four
// times into a corner. Painting by Qt comes on top and is not timed here.
//
//   bench_pictures [runs]      default 20

#include "LargestGridPictures.h"
#include "draw/PictureLayout.h"
#include "platform/ScriptedPlatform.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

using namespace rahmen;
using bench::SteadyClock;
using bench::median;
using bench::ms;

namespace {

// One picture: `draw` fills the window's picture again (as the event that
// redraws it does); then its labels are placed for the screen.
void timePicture(const char* name, Form13& window, int runs, const std::function<void()>& draw) {
    std::vector<double> drawing, placing, zoomed;
    int labels = 0, leftOut = 0, items = 0;
    PictureView corner;
    zoomAbout(corner, 120, 420, 4);
    for (int run = 0; run < runs; ++run) {
        auto start = SteadyClock::now();
        draw();
        drawing.push_back(ms(start));
        const Canvas& canvas = *window.picture();
        start = SteadyClock::now();
        const ShownPicture shown = showPicture(canvas, PictureView{}, 680, 600);
        placing.push_back(ms(start));
        start = SteadyClock::now();
        showPicture(canvas, corner, 680, 600);
        zoomed.push_back(ms(start));
        items = static_cast<int>(canvas.items().size());
        labels = 0;
        for (const Primitive& p : canvas.items())
            labels += p.label;
        leftOut = shown.labelsLeftOut;
    }
    std::printf("%-34s %7d items %5d labels (%4d left out at the fit)  draw %6.2f ms  place "
                "%6.2f ms  = %6.2f ms;  zoomed 4x: place %6.2f ms\n",
                name, items, labels, leftOut, median(drawing), median(placing),
                median(drawing) + median(placing), median(zoomed));
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc >= 2 ? std::max(1, std::atoi(argv[1])) : 20;
    ScriptedPlatform platform;
    auto program = Program::create(platform.services());
    const bool timed = bench::timeLargestGridPictures(
        *program, runs,
        [runs](const char* name, Form13& window, const std::function<void()>& draw) {
            timePicture(name, window, runs, draw);
        });
    return timed ? 0 : 1;
}
