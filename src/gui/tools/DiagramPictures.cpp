// Writes the pictures of the frame diagram and the deformation diagram of
// analysis reports as PNG files, through the same painting the plotting window
// uses. Each picture is the enlarged view at angles 0 with its labels, as a
// user sees it after pressing the angle button and a key.
//
// Usage: rahmen_diagrams OUTPUT_FOLDER REPORT.adt...
// writes OUTPUT_FOLDER/frame-NAME.png and OUTPUT_FOLDER/deform-NAME.png.

#include "analysis/AnalysisFile.h"
#include "draw/draw1.h"
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

// The controls of the plotting window that the drawings set.
class PlotPicture : public Form {
public:
    PlotPicture() : Form("FORM13", "データ作図", 680, 600) {
        addHScroll("HSCROLL1", 80, 520, 490, 20);
        addVScroll("VSCROLL1", 0, 40, 20, 450);
        addVScroll("VSCROLL2", 640, 50, 20, 440);
        addLabel("TEXT54", "", 10, 550, 670, 20);
        for (const char* name : {"RADIO57", "RADIO58", "RADIO59"})
            addRadio(name, "", 0, 0, 10, 10, "numbers");
        addCheck("CHECK17", "", 0, 0, 10, 10);
        for (const char* name : {"BUTTON67", "BUTTON69", "BUTTON79"})
            addButton(name, "", 0, 0, 10, 10);
        addPicture("PICTURE", 0, 0, 680, 600);
    }
};

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

// Draws one diagram to its enlarged picture with labels and writes it.
template <class Start>
bool picture(Program& program, Start start, const std::filesystem::path& out) {
    PlotPicture window;
    PlotState plot;
    plot.NumberLabelKind = 1;
    start(program, plot, window);
    LOOP_END1(program, plot, window);
    DRAW_KEY(program, plot, window);
    const bool written = savePng(*window.picture(), out.string());
    std::cout << (written ? "wrote " : "could not write ") << out.string() << "\n";
    return written;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    setUpApplication(app);
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
    }
    return failures == 0 ? 0 : 1;
}
