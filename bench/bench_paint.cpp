// Times Qt's painting of every picture of the largest grid (10 × 10 bays of
// 6 m, 8 storeys, analysed) as the window paints it: its labels placed with
// the application font's widths and every primitive painted antialiased into
// an image of the window's design size (680 × 600), on the offscreen platform.
//
//   bench_paint [runs] [folder]      runs default 20; with a folder, each
//                                    picture is saved there as PNG (to check
//                                    that a faster painting paints the same)

#include "LargestGridPictures.h"
#include "draw/PictureLayout.h"
#include "gui/PictureWidget.h"
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
using bench::SteadyClock;
using bench::median;
using bench::ms;

namespace {

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
        const auto start = SteadyClock::now();
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
    const bool timed = bench::timeLargestGridPictures(
        *program, runs,
        [runs](const char* name, Form13& window, const std::function<void()>& draw) {
            timePicture(name, window, runs, draw);
        });
    return timed ? 0 : 1;
}
