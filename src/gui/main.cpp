// The desktop program: the platform services on Qt, the main program, and
// Qt's event loop in place of the main loop's wait.

#include "gui/FormPictures.h"
#include "gui/FormWindow.h"
#include "gui/GuiSetup.h"
#include "gui/HelpViewer.h"
#include "gui/PictureWidget.h"
#include "gui/QtDialogs.h"
#include "gui/WindowManager.h"
#include "main/OpenFile.h"
#include "main/WorkingFolder.h"
#include "main/rahmen.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Files.h"
#include "platform/Form.h"
#include "platform/Svg.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <filesystem>

namespace {

// Saves a picture of every window on the screen: the main menu under the
// given path, any other window beside it as <name>-<window name>.png.
// Widgets are rendered by Qt itself, so the pictures do not depend on a
// window manager (which a bare X server does not have).
int saveScreenshots(const rahmen::WindowManager& windows, const QString& path) {
    const QFileInfo target(path);
    QDir().mkpath(target.absolutePath());
    int failures = 0;
    auto save = [&](QWidget* w, const QString& file) {
        if (!w->grab().save(file, "PNG")) {
            std::fprintf(stderr, "rahmen: cannot write %s\n", qPrintable(file));
            ++failures;
        } else {
            std::fprintf(stderr, "rahmen: saved %s\n", qPrintable(file));
        }
    };
    bool first = true;
    for (rahmen::FormWindow* w : windows.windows()) {
        if (!w->isVisible()) continue;
        save(w, first ? target.absoluteFilePath()
                      : target.absoluteDir().filePath(target.completeBaseName() + "-" +
                                                      w->objectName() + ".png"));
        first = false;
    }
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || qobject_cast<rahmen::FormWindow*>(w)) continue;
        if (w->objectName().isEmpty()) continue;
        save(w, target.absoluteDir().filePath(target.completeBaseName() + "-" + w->objectName() +
                                              ".png"));
    }
    return failures == 0 && !first ? 0 : 1;
}

// Saves a picture of each chosen input form beside the main menu's picture:
// the sample frame is put into the model, then each form is opened and filled
// as its picture says, grabbed and closed again.
int saveFormPictures(rahmen::Rahmen& program, rahmen::WindowManager& windows,
                     const QString& menuPath, const QString& list) {
    std::vector<std::string> unknown;
    std::vector<rahmen::FormPicture> pictures =
        rahmen::chooseFormPictures(list.toStdString(), unknown);
    if (qEnvironmentVariable("RAHMEN_SCREENSHOT_PLOT") == QStringLiteral("1"))
        pictures.insert(pictures.end(), rahmen::plotWindowPictures().begin(),
                        rahmen::plotWindowPictures().end());
    int failures = 0;
    for (const std::string& name : unknown) {
        std::fprintf(stderr, "rahmen: no picture of a form named %s\n", name.c_str());
        ++failures;
    }
    const QDir folder = QFileInfo(menuPath).absoluteDir();
    rahmen::prepareSampleFrame(program.program());
    // The mouse analysis asks whether to take loads from a report: the
    // pictures answer No.
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (QAbstractButton* no = box->button(QMessageBox::No))
            no->click();
        else
            box->accept();
    });
    answerer.start(50);
    for (const rahmen::FormPicture& picture : pictures) {
        std::string error;
        rahmen::Form* form = rahmen::openFormPicture(program.program(), picture, error);
        if (!form) {
            std::fprintf(stderr, "rahmen: %s\n", error.c_str());
            ++failures;
            continue;
        }
        windows.refreshAll();
        QCoreApplication::processEvents();
        const QString file = folder.filePath(QString::fromStdString(picture.file));
        rahmen::FormWindow* w = windows.window(*form);
        if (!w || !w->grab().save(file, "PNG")) {
            std::fprintf(stderr, "rahmen: cannot write %s\n", qPrintable(file));
            ++failures;
        } else {
            std::fprintf(stderr, "rahmen: saved %s (%s)\n", qPrintable(file), picture.what.c_str());
        }
        // The picture of a form that has one also as "図保存" writes it.
        if (form->picture() && picture.form == "FORM13") {
            const QString base = folder.filePath(QFileInfo(file).completeBaseName() + "-picture");
            const bool png = rahmen::savePng(*form->picture(), (base + ".png").toStdString());
            QFile svg(base + ".svg");
            const std::string text = rahmen::canvasToSvg(*form->picture());
            const bool svgWritten = svg.open(QIODevice::WriteOnly) &&
                                    svg.write(text.data(), static_cast<qint64>(text.size())) ==
                                        static_cast<qint64>(text.size());
            if (!png || !svgWritten) ++failures;
        }
        form->close();
        QCoreApplication::processEvents();
    }
    return failures == 0 ? 0 : 1;
}

// Makes the working folder the current folder: the one given on the command
// line, else the user's data folder (filled with the examples once). False
// after a message when there is none to work in.
bool enterWorkingFolder(const rahmen::StartArgument& given) {
    const QDir installedExamples(QCoreApplication::applicationDirPath() +
                                 QStringLiteral("/../share/rahmen/examples"));
    const rahmen::WorkingFolder workingFolder = rahmen::prepareWorkingFolder(
        {given.folder, std::filesystem::current_path(),
         installedExamples.exists() ? installedExamples.absolutePath().toStdString()
                                    : std::string(),
         qEnvironmentVariable("RAHMEN_WORKDIR").toStdString(),
         qEnvironmentVariable("HOME").toStdString()});
    std::error_code cdError;
    if (workingFolder.ok) std::filesystem::current_path(workingFolder.folder, cdError);
    if (!workingFolder.ok || cdError) {
        // Also in a message box: started from the desktop's menu, the error
        // stream is seen by no one.
        const std::string error = workingFolder.ok
                                      ? workingFolder.folder.string() + ": " + cdError.message()
                                      : workingFolder.error;
        std::fprintf(stderr, "rahmen: %s\n", error.c_str());
        QMessageBox::critical(nullptr, QStringLiteral("rahmen"), QString::fromStdString(error));
        return false;
    }
    if (workingFolder.created)
        std::fprintf(stderr, "rahmen: working folder %s created with %d example files\n",
                     workingFolder.folder.c_str(), workingFolder.examplesCopied);
    return true;
}

// RAHMEN_SCREENSHOT=file.png: save pictures of the windows shortly after
// start-up and quit (used to make the pictures of the documentation).
// RAHMEN_SCREENSHOT_HELP=keyword opens the help viewer at that keyword
// first, so that its window is pictured too. RAHMEN_SCREENSHOT_FORMS=
// FORM2,FORM3,... then pictures those input forms over a sample frame,
// each beside the first picture (form2.png, form4-16.png, ...).
void scheduleScreenshots(rahmen::Rahmen& program, rahmen::WindowManager& windows,
                         rahmen::QtDialogs& dialogs, const QString& screenshot, int& result) {
    if (qEnvironmentVariableIsSet("RAHMEN_SCREENSHOT_HELP")) {
        dialogs.help("rahmen.hlp", qEnvironmentVariable("RAHMEN_SCREENSHOT_HELP").toStdString());
        // Which pages the viewer shows, for the install test.
        std::fprintf(stderr, "rahmen: help %s#%s\n", qPrintable(dialogs.helpViewer()->folder()),
                     qPrintable(dialogs.helpViewer()->currentTopic()));
    }
    QTimer::singleShot(1000, qApp, [&program, &windows, screenshot, &result] {
        result = saveScreenshots(windows, screenshot);
        if (qEnvironmentVariableIsSet("RAHMEN_SCREENSHOT_FORMS") &&
            saveFormPictures(program, windows, screenshot,
                             qEnvironmentVariable("RAHMEN_SCREENSHOT_FORMS")) != 0)
            result = 1;
        QCoreApplication::quit();
    });
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rahmen"));
    rahmen::setUpApplication(app);

    // The data files live in the working folder: the one given on the command
    // line (or the folder of the data file given there, which is opened once
    // the menu is up), the user's data folder for the installed program, or
    // the folder the program was started in.
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() > 2 || (arguments.size() == 2 && arguments[1].startsWith('-'))) {
        std::fprintf(stderr, "usage: rahmen [FOLDER | FILE]\n");
        return 2;
    }
    const rahmen::StartArgument given = rahmen::startArgument(
        arguments.size() == 2 ? QFile::encodeName(arguments[1]).toStdString() : std::string(),
        std::filesystem::current_path());
    if (!enterWorkingFolder(given)) return 1;
    rahmen::Files files(std::filesystem::current_path());
    rahmen::SystemClock clock;
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->availableGeometry()
                             : QRect(0, 0, 1024, 768);
    rahmen::Desktop desktop(screen.width(), screen.height());
    rahmen::QtDialogs dialogs(files, rahmen::findHelpFolder());
    rahmen::WindowManager windows(desktop);
    rahmen::Rahmen program(rahmen::Services{dialogs, files, clock, desktop});

    windows.setCloseControl("MAINFORM", "BUTTON5");
    windows.setFileDrop("MAINFORM",
                        [&](const std::string& path) { rahmen::openGivenFile(program, path); });
    windows.setAfterEvent([&] {
        program.afterEvent();
        if (program.ended()) QCoreApplication::quit();
    });
    program.start();
    windows.refreshAll();
    if (program.ended()) return 0;
    // The file named on the command line (by the file manager, say), read as
    // the menu's button for its kind reads it, in the first event.
    if (!given.file.empty())
        QTimer::singleShot(0, &app, [&] {
            windows.dispatch([&] { rahmen::openGivenFile(program, given.file); });
        });

    const QString screenshot = qEnvironmentVariable("RAHMEN_SCREENSHOT");
    int screenshotResult = 0;
    if (!screenshot.isEmpty())
        scheduleScreenshots(program, windows, dialogs, screenshot, screenshotResult);
    const int result = app.exec();
    return screenshot.isEmpty() ? result : screenshotResult;
}
