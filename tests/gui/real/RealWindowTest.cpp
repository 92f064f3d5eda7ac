// Scripted sessions in the program's real windows: the whole program with its
// widgets on an X display, mouse and keys delivered through Qt's event
// handling, and the picture read back from the display itself. A repaint that
// never reaches the screen, a picture drawn from an old model and a key taken
// by the wrong control are seen here as a user sees them.

#include "RealWindowTest.h"

#include "../GuiTestSupport.h"
#include "../ProgramSession.h"
#include "analysis/LoadCaseAnalysis.h"
#include "draw/Form13.h"
#include "draw/Projection.h"
#include "draw/StoreyPicture.h"
#include "draw/draw1.h"
#include "edit/Form8.h"
#include "gui/PictureWidget.h"
#include "main/Mainform.h"
#include "main/OpenFile.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"

#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRegion>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

#include <cmath>
#include <cstdlib>
#include <filesystem>

namespace rahmen::test {

namespace {

// A portal in the X–Z plane (nodes 1 to 4, beam 2–3) with a beam 3–5 going off
// along Y and a column 5–6; supports 1, 4 and 6; one member type; the beam
// 2–3 pinned at its start.
void portalFrame(Model& md) {
    const float xyz[6][3] = {{0, 0, 0},   {0, 0, 400},     {600, 0, 400},
                             {600, 0, 0}, {600, 500, 400}, {600, 500, 0}};
    md.NodeCount = 6;
    for (int n = 1; n <= 6; ++n) {
        md.NodeX[n] = xyz[n - 1][0];
        md.NodeY[n] = xyz[n - 1][1];
        md.NodeZ[n] = xyz[n - 1][2];
    }
    md.MemberTypeCount = 1;
    md.TypeArea[1] = 100, md.TypeIy[1] = 8000, md.TypeIz[1] = 3000, md.TypeJ[1] = 500;
    const int ends[5][2] = {{1, 2}, {2, 3}, {3, 4}, {3, 5}, {5, 6}};
    md.MemberCount = 5;
    for (int m = 1; m <= 5; ++m) {
        md.MemberStartNode[m] = static_cast<int16_t>(ends[m - 1][0]);
        md.MemberEndNode[m] = static_cast<int16_t>(ends[m - 1][1]);
        md.MemberTypeNo[m] = 1;
        md.copyTypeToMember(m, 1);
    }
    md.MemberStartPinned[2] = 1;
    md.PinnedEndCount = 1;
    md.NodeIsSupport[1] = md.NodeIsSupport[4] = md.NodeIsSupport[6] = -1;
    md.SupportCount = 3;
    md.DataName = "portal";
}

// The same program without a screen over a copy of a model: what a window
// opened afresh on that model draws.
struct Headless {
    explicit Headless(const Model& model) {
        program.start();
        program.program().model = model;
    }
    Form& open(const char* menuButton, const char* formName) {
        Program& p = program.program();
        p.menuEnable({menuButton});
        program.mainForm().click(menuButton);
        Form* form = p.form(formName);
        if (!form) qFatal("%s did not open", formName);
        return *form;
    }
    ScriptedPlatform platform;
    Rahmen program{platform.services()};
};

// The picture as the display shows it: the pixels of the widget's rectangle
// read back from the X server, i.e. what Qt has put on the screen. (A grab of
// the widget would paint it anew and so show a picture that was never put on
// the screen.) Pending paint requests run first, as they do before the next
// user event.
QImage onScreen(QWidget* w) {
    QCoreApplication::processEvents();
    const QPoint at = w->mapTo(w->window(), QPoint(0, 0));
    return w->screen()
        ->grabWindow(w->window()->winId(), at.x(), at.y(), w->width(), w->height())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// Pixels that differ between two pictures of a picture widget, outside the
// controls lying over the picture (the plotting window's scroll bars and
// labels).
int differingPixels(const QWidget* picture, const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return a.width() * a.height();
    QRegion covered;
    for (QObject* child : picture->parentWidget()->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (w && w != picture && w->isVisible())
            covered += w->geometry().translated(-picture->pos());
    }
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y) && !covered.contains(QPoint(x, y));
    return count;
}

// Opens a window from the main menu and waits until it is shown and active.
FormWindow* openFromMenu(ProgramSession& s, const char* menuButton, const char* formName) {
    s.program->program().menuEnable({menuButton});
    s.windows->refreshAll();
    s.click("MAINFORM", menuButton);
    FormWindow* w = s.window(formName);
    if (w && !QTest::qWaitForWindowActive(w)) return nullptr;
    return w;
}

void clickNode(PictureWidget* picture, const ViewState& view, int node,
               Qt::MouseButton button = Qt::LeftButton) {
    const PicturePoint at = nodePoint(view, node);
    QTest::mouseClick(
        picture, button, {},
        QPoint(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y))));
}

// A click on the place where the picture shows the node now (enlarged,
// zoomed, moved).
void clickShown(PictureWidget* picture, const ViewState& view, int node,
                Qt::MouseButton button = Qt::LeftButton) {
    const PicturePoint at = toScreen(picture->view(), nodePoint(view, node));
    QTest::mouseClick(
        picture, button, {},
        QPoint(static_cast<int>(std::lround(at.x)), static_cast<int>(std::lround(at.y))));
}

// With RAHMEN_REAL_SHOTS naming a folder, the whole window as the display
// shows it is saved there, to be looked at.
void saveShot(QWidget* window, const char* name) {
    const QString folder = qEnvironmentVariable("RAHMEN_REAL_SHOTS");
    if (!folder.isEmpty()) onScreen(window).save(folder + "/" + name + ".png");
}

void wheel(QWidget* w, QPoint at, int delta) {
    QWheelEvent event(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

QString labelText(ProgramSession& s, const char* form, const char* control) {
    auto* label = qobject_cast<QLabel*>(s.widget(form, control));
    return label ? label->text() : QString();
}

} // namespace

void RealWindowTest::initTestCase() {
    QVERIFY2(QGuiApplication::platformName() == QStringLiteral("xcb"),
             "the real-window tests need an X display (QT_QPA_PLATFORM=xcb)");
}

void RealWindowTest::scrollBarStepTurnsThePictureOnTheScreen() {
    ProgramSession s;
    ModalAnswerer answers;
    Program& p = s.program->program();
    portalFrame(p.model);
    FormWindow* plot = openFromMenu(s, "BUTTON4", "FORM13");
    QVERIFY(plot);
    s.click("FORM13", "RADIO56");  // "骨組図"
    s.click("FORM13", "BUTTON69"); // "実行"
    PictureWidget* picture = plot->picture();
    const QImage before = onScreen(picture);

    // A step by the arrow of one bar, then by the trough of another.
    auto* bar = qobject_cast<QScrollBar*>(s.widget("FORM13", "HSCROLL1"));
    QVERIFY(bar && bar->isEnabled());
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 6, bar->height() / 2));
    QCOMPARE(bar->value(), 87);
    const QImage turned = onScreen(picture);
    QVERIFY(differingPixels(picture, turned, before) > 1000);

    Headless fresh(p.model);
    Form& form = fresh.open("BUTTON4", "FORM13");
    form.click("RADIO56");
    form.click("BUTTON69");
    form.scrollTo("HSCROLL1", 87);
    QCOMPARE(differingPixels(picture, turned, renderCanvas(*form.picture())), 0);

    auto* up = qobject_cast<QScrollBar*>(s.widget("FORM13", "VSCROLL1"));
    QTest::mouseClick(up, Qt::LeftButton, {}, QPoint(up->width() / 2, up->height() * 3 / 4));
    QCOMPARE(up->value(), 87);
    form.scrollTo("VSCROLL1", 87);
    QCOMPARE(differingPixels(picture, onScreen(picture), renderCanvas(*form.picture())), 0);
    QCOMPARE(answers.unexpected(), 0);
}

void RealWindowTest::splitMemberIsDrawnAndPickedAsTheNewFrame() {
    ProgramSession s;
    ModalAnswerer answers;
    Program& p = s.program->program();
    portalFrame(p.model);
    FormWindow* edit = openFromMenu(s, "BUTTON93", "FORM8");
    QVERIFY(edit);
    auto* form = dynamic_cast<Form8*>(edit->form());
    QVERIFY(form);
    PictureWidget* picture = edit->picture();

    // "部材分割" of the beam 2–3: picked where the window draws its ends.
    s.click("FORM8", "RADIO51");
    clickNode(picture, form->view, 2);
    clickNode(picture, form->view, 3);
    s.click("FORM8", "BUTTON87");
    QCOMPARE(p.model.NodeCount, 7);
    QCOMPARE(p.model.MemberCount, 6);
    const QImage shown = onScreen(picture);

    Headless fresh(p.model);
    auto& again = dynamic_cast<Form8&>(fresh.open("BUTTON93", "FORM8"));
    QCOMPARE(differingPixels(picture, shown, renderCanvas(*again.picture())), 0);

    // "節点移動": every node, the new one too, is picked where a fresh window
    // draws it (and given back with the right button).
    s.click("FORM8", "RADIO56");
    for (int n = 1; n <= p.model.NodeCount; ++n) {
        clickNode(picture, again.view, n);
        QCOMPARE(form->EditPickedNodes, std::vector<int>{n});
        clickNode(picture, again.view, n, Qt::RightButton);
        QVERIFY(form->EditPickedNodes.empty());
    }
    // Undo: the picture is again that of the frame before the split.
    s.click("FORM8", "BUTTON152");
    QCOMPARE(p.model.NodeCount, 6);
    Headless before(p.model);
    Form& unsplit = before.open("BUTTON93", "FORM8");
    QCOMPARE(differingPixels(picture, onScreen(picture), renderCanvas(*unsplit.picture())), 0);
    QCOMPARE(answers.unexpected(), 0);
}

void RealWindowTest::keyAtTheKeyWaitGoesToThePicture() {
    ProgramSession s;
    ModalAnswerer answers;
    portalFrame(s.program->program().model);
    FormWindow* plot = openFromMenu(s, "BUTTON4", "FORM13");
    QVERIFY(plot);
    s.click("FORM13", "RADIO56");
    s.click("FORM13", "BUTTON69");
    auto* bar = qobject_cast<QScrollBar*>(s.widget("FORM13", "HSCROLL1"));
    const QString waitStatus = QString::fromUtf8(kPressKeyStatus);
    const QString angleStatus = QString::fromUtf8(kFrameAngleStatus);
    // The keys a user presses to go on, each at a new wait.
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_A}) {
        s.click("FORM13", "BUTTON79"); // "拡大表示": the enlarged picture waits for a key
        QCOMPARE(labelText(s, "FORM13", "TEXT54"), waitStatus);
        QWidget* focused = QApplication::focusWidget();
        QVERIFY(focused);
        QTest::keyClick(focused, key);
        QCOMPARE(labelText(s, "FORM13", "TEXT54"), angleStatus);
        QVERIFY2(!s.dialogs->helpViewer() || !s.dialogs->helpViewer()->isVisible(),
                 "the key opened the help");
        // Turning the picture leaves the labelled view for the next wait.
        QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 6, bar->height() / 2));
    }
    QCOMPARE(answers.unexpected(), 0);
}

void RealWindowTest::enlargedZoomedAndPannedPicturePicksWhatIsShown() {
    ProgramSession s;
    ModalAnswerer answers;
    Program& p = s.program->program();
    portalFrame(p.model);
    FormWindow* edit = openFromMenu(s, "BUTTON93", "FORM8");
    QVERIFY(edit);
    auto* form = dynamic_cast<Form8*>(edit->form());
    PictureWidget* picture = edit->picture();
    const QSize design = edit->size();
    QCOMPARE(picture->view().size, 1.0);

    // Enlarged so that the picture is 1.25 times its design size: it and the
    // bars along it grow, the other controls move with its edges, and the
    // picture is drawn anew at its size (its lines stay one pixel wide).
    const QRect designPicture = picture->geometry();
    const QRect designBar = s.widget("FORM8", "HSCROLL2")->geometry();
    const QRect designButton = s.widget("FORM8", "BUTTON150")->geometry();
    edit->resize(design + QSize(170, 150));
    QTRY_COMPARE(picture->width(), 850);
    QCOMPARE(picture->view().size, 1.25);
    QCOMPARE(picture->height(), 750);
    QCOMPARE(picture->pos(), designPicture.topLeft());
    const auto grown = [&](int v, int from, int length) {
        return v <= from            ? v
               : v >= from + length ? v + length / 4
                                    : from + static_cast<int>(std::lround((v - from) * 1.25));
    };
    const QRect bar = s.widget("FORM8", "HSCROLL2")->geometry();
    QCOMPARE(bar.left(), grown(designBar.left(), designPicture.left(), 680));
    QCOMPARE(bar.right() + 1, grown(designBar.right() + 1, designPicture.left(), 680));
    QCOMPARE(bar.top(), grown(designBar.top(), designPicture.top(), 600));
    QCOMPARE(bar.height(), designBar.height());
    // "終了" in the panel beside the picture: moved right with the picture's
    // edge, its height and size kept.
    QCOMPARE(s.widget("FORM8", "BUTTON150")->geometry(), designButton.translated(170, 0));
    const QImage enlarged = onScreen(picture);
    saveShot(edit, "form8-enlarged");
    const PicturePoint two = toScreen(picture->view(), nodePoint(form->view, 2));
    const PicturePoint three = toScreen(picture->view(), nodePoint(form->view, 3));
    const QPoint beam((two.x + three.x) / 2, (two.y + three.y) / 2);
    // The slanting beam, smoothed, covers at most three pixels of its column
    // with the background above and below them.
    const QRgb background = enlarged.pixel(beam + QPoint(0, -4));
    QCOMPARE(enlarged.pixel(beam + QPoint(0, 4)), background);
    int covered = 0;
    for (int dy = -3; dy <= 3; ++dy)
        covered += enlarged.pixel(beam + QPoint(0, dy)) != background;
    QVERIFY(covered >= 1 && covered <= 3);

    // A wheel notch over node 3 zooms about it: node 3 stays under the
    // pointer (within the pixel the pointer is on), node 2 moves away from it.
    const QPoint at(std::lround(three.x), std::lround(three.y));
    wheel(picture, at, 120);
    QCOMPARE(picture->view().zoom, 1.25);
    const PicturePoint stay = toScreen(picture->view(), nodePoint(form->view, 3));
    QVERIFY(std::abs(stay.x - three.x) < 0.5 && std::abs(stay.y - three.y) < 0.5);
    const PicturePoint away = toScreen(picture->view(), nodePoint(form->view, 2));
    QVERIFY(std::hypot(away.x - three.x, away.y - three.y) >
            1.2 * std::hypot(two.x - three.x, two.y - three.y));

    // A middle drag moves the picture by the drag.
    QTest::mousePress(picture, Qt::MiddleButton, {}, QPoint(300, 300));
    QTest::mouseMove(picture, QPoint(260, 330));
    QTest::mouseRelease(picture, Qt::MiddleButton, {}, QPoint(260, 330));
    const PicturePoint moved = toScreen(picture->view(), nodePoint(form->view, 3));
    QVERIFY2(std::abs(moved.x - (stay.x - 40)) < 1e-6 && std::abs(moved.y - (stay.y + 30)) < 1e-6,
             qPrintable(QStringLiteral("(%1, %2) from (%3, %4)")
                            .arg(moved.x)
                            .arg(moved.y)
                            .arg(stay.x)
                            .arg(stay.y)));
    QVERIFY(differingPixels(picture, onScreen(picture), enlarged) > 500);
    saveShot(edit, "form8-zoomed-panned");

    // "節点移動": every node is picked where it is shown now.
    s.click("FORM8", "RADIO56");
    for (int n = 1; n <= p.model.NodeCount; ++n) {
        clickShown(picture, form->view, n);
        QCOMPARE(form->EditPickedNodes, std::vector<int>{n});
        clickShown(picture, form->view, n, Qt::RightButton);
        QVERIFY(form->EditPickedNodes.empty());
    }
    // Home gives the drawing's own fit back, at the window's size.
    picture->setFocus();
    QTest::keyClick(picture, Qt::Key_Home);
    QVERIFY(!zoomedOrPanned(picture->view()));
    QCOMPARE(differingPixels(picture, onScreen(picture), enlarged), 0);
    QCOMPARE(answers.unexpected(), 0);
}

void RealWindowTest::ctrlDragTurnsTheViewWithItsScrollBars() {
    ProgramSession s;
    ModalAnswerer answers;
    Program& p = s.program->program();
    portalFrame(p.model);
    FormWindow* plot = openFromMenu(s, "BUTTON4", "FORM13");
    QVERIFY(plot);
    s.click("FORM13", "RADIO56");  // "骨組図"
    s.click("FORM13", "BUTTON69"); // "実行"
    PictureWidget* picture = plot->picture();
    auto* across = qobject_cast<QScrollBar*>(s.widget("FORM13", "HSCROLL1"));
    auto* down = qobject_cast<QScrollBar*>(s.widget("FORM13", "VSCROLL1"));
    QTest::mousePress(picture, Qt::LeftButton, Qt::ControlModifier, QPoint(300, 300));
    QTest::mouseMove(picture, QPoint(320, 290));
    QTest::mouseRelease(picture, Qt::LeftButton, Qt::ControlModifier, QPoint(320, 290));
    QCOMPARE(across->value(), 180);
    QCOMPARE(down->value(), -90);

    // The picture is that of the bars' angles, as a fresh window draws it.
    Headless fresh(p.model);
    Form& form = fresh.open("BUTTON4", "FORM13");
    form.click("RADIO56");
    form.click("BUTTON69");
    form.scrollTo("HSCROLL1", 180);
    form.scrollTo("VSCROLL1", -90);
    QCOMPARE(differingPixels(picture, onScreen(picture), renderCanvas(*form.picture())), 0);
    QCOMPARE(answers.unexpected(), 0);
}

// The program started with a frame file (as the file manager starts it) shows
// the menu as after reading that file with "座/骨ﾃﾞｰﾀ呼出"; a report then
// dropped on a freshly started menu enables "データ  作図".
void RealWindowTest::givenFrameFileAndDroppedReportAreReadAsTheMenuReadsThem() {
    namespace fs = std::filesystem;
    const fs::path cwd = fs::current_path();
    QTemporaryDir elsewhere;
    const fs::path examples = fs::path(RAHMEN_SOURCE_DIR) / "examples";
    const fs::path frame = fs::path(elsewhere.path().toStdString()) / "two_storey.fdt";
    const fs::path report = fs::path(elsewhere.path().toStdString()) / "two_storey.adt";
    fs::copy_file(examples / "two_storey.fdt", frame);
    fs::copy_file(examples / "two_storey.adt", report);
    {
        ProgramSession s;
        ModalAnswerer answers;
        const StartArgument given = startArgument(frame.string(), cwd);
        QCOMPARE(QString::fromStdString(given.file), QString::fromStdString(frame.string()));
        s.windows->dispatch([&] { openGivenFile(*s.program, given.file); });
        QVERIFY(QTest::qWaitForWindowExposed(s.window("MAINFORM")));

        ScriptedPlatform platform;
        Rahmen fromMenu(platform.services());
        fromMenu.start();
        platform.dialogs.queueOpenFile(frame.string());
        fromMenu.mainForm().c("BUTTON91").enabled = true;
        QVERIFY(fromMenu.mainForm().click("BUTTON91"));
        fromMenu.afterEvent();
        int buttons = 0;
        for (const Control& control : fromMenu.mainForm().controls()) {
            if (control.kind != ControlKind::Button && control.kind != ControlKind::Radio) continue;
            QWidget* w = s.menu(control.name.c_str());
            QVERIFY2(w, control.name.c_str());
            QVERIFY2(w->isEnabled() == control.enabled, control.name.c_str());
            ++buttons;
        }
        QVERIFY(buttons > 10);
        QVERIFY(s.menu("BUTTON4")->isEnabled());
        QCOMPARE(s.program->program().model.DataName, std::string("two_storey"));
        QCOMPARE(answers.unexpected(), 0);
    }
    fs::current_path(cwd);
    {
        ProgramSession s;
        ModalAnswerer answers;
        s.windows->setFileDrop("MAINFORM",
                               [&](const std::string& path) { openGivenFile(*s.program, path); });
        FormWindow* menu = s.window("MAINFORM");
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QVERIFY(!s.menu("BUTTON4")->isEnabled());
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(QString::fromStdString(report.string()))});
        const QPoint at = s.menu("BUTTON35")->geometry().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(menu, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(menu, &drop);
        QVERIFY(drop.isAccepted());
        QTRY_VERIFY(s.menu("BUTTON4")->isEnabled());
        QVERIFY(s.menu("BUTTON88")->isEnabled());
        QVERIFY(!s.menu("BUTTON52")->isEnabled());
        QCOMPARE(s.program->program().model.AnalysisDone, 1);
        QCOMPARE(answers.unexpected(), 0);
    }
    fs::current_path(cwd);
}

// A frame analysed under load cases: choosing the long-term envelope in the
// drop-down repaints the plane diagram on the screen, as a fresh window draws it.
void RealWindowTest::caseChoiceRepaintsTheStressDiagram() {
    ProgramSession s;
    ModalAnswerer answers;
    Program& p = s.program->program();
    portalFrame(p.model);
    p.model.YoungModulus = 205000;
    p.model.ShearModulus = 79000;
    p.loadCases.cases = {
        {"G", LoadKind::Dead, LoadDirection::None, {}, {{2, 0, -20}, {4, 0, -10}}},
        {"KX", LoadKind::Seismic, LoadDirection::X, {{2, {40, 0, 0}, {0, 0, 0}}}, {}}};
    p.loadCases.combinations = {{"L1", LoadTerm::Long, {{1, "G"}}},
                                {"L2", LoadTerm::Long, {{1, "G"}, {0.6, "KX"}}},
                                {"L3", LoadTerm::Long, {{1, "G"}, {-0.6, "KX"}}}};
    SilentProgress progress;
    const LoadCaseSet& set = p.loadCases;
    const LoadCaseOutcome out = analyseLoadCases(
        p.model, set, progress,
        [&](const std::string& label, Model& md, const std::vector<float>& reaction) {
            p.caseResults.push_back(
                captureCaseResult(md, set, p.caseResults.size(), label, reaction));
        });
    QVERIFY2(out.ok, out.message.c_str());
    FormWindow* plot = openFromMenu(s, "BUTTON4", "FORM13");
    QVERIFY(plot);
    auto* form = dynamic_cast<Form13*>(plot->form());
    QVERIFY(form);
    s.click("FORM13", "RADIO60");
    s.click("FORM13", "BUTTON69");
    for (int n : {1, 2, 3})
        clickNode(plot->picture(), form->plot.view, n);
    s.click("FORM13", "BUTTON69");
    PictureWidget* picture = plot->picture();
    const QImage combination = onScreen(picture);

    auto* choice = qobject_cast<QComboBox*>(s.widget("FORM13", "COMBO13"));
    QVERIFY(choice && choice->isVisible() && choice->isEnabled());
    QCOMPARE(choice->currentIndex(), 4); // L3, which the analysis left in the model
    choice->setFocus();
    QTest::keyClick(choice, Qt::Key_Down); // "長期包絡"
    QCOMPARE(form->c("COMBO13").selected, 5);
    QCOMPARE(plot->windowTitle(), QString::fromUtf8("データ作図　長期包絡"));
    const QImage envelope = onScreen(picture);
    QVERIFY(differingPixels(picture, envelope, combination) > 500);
    if (const char* folder = std::getenv("RAHMEN_REAL_PICTURES")) {
        combination.save(QString::fromUtf8(folder) + "/case-L3.png");
        envelope.save(QString::fromUtf8(folder) + "/envelope-long.png");
    }

    // A fresh window that draws the envelope of the same picks.
    Headless fresh(p.model);
    fresh.program.program().caseResults = p.caseResults;
    fresh.program.program().loadCases = p.loadCases;
    auto& again = dynamic_cast<Form13&>(fresh.open("BUTTON4", "FORM13"));
    again.choose("COMBO13", 5);
    again.click("RADIO60");
    again.click("BUTTON69");
    for (int n : {1, 2, 3}) {
        const PicturePoint at = nodePoint(again.plot.view, n);
        again.mouseDown(MouseButton::Left, int(std::lround(at.x)), int(std::lround(at.y)));
    }
    again.click("BUTTON69");
    QCOMPARE(differingPixels(picture, envelope, renderCanvas(*again.picture())), 0);
    QCOMPARE(answers.unexpected(), 0);
}

// The portal analysed under G, KX and KY: the plotting window grows to hold
// the storey controls, and their pictures reach the screen as the storey
// drawings draw them.
void RealWindowTest::storeyPicturesAreShownInTheGrownWindow() {
    ProgramSession s;
    ModalAnswerer answers;
    Program& p = s.program->program();
    Model& m = p.model;
    portalFrame(m);
    m.YoungModulus = 205000, m.ShearModulus = 79000;
    p.loadCases.cases = {
        {"G", LoadKind::Dead, LoadDirection::None, {}, {{2, 0, -20}, {4, 0, -10}}},
        {"KX", LoadKind::Seismic, LoadDirection::X, {{2, {40, 0, 0}, {0, 0, 0}}}, {}},
        {"KY", LoadKind::Seismic, LoadDirection::Y, {{5, {0, 40, 0}, {0, 0, 0}}}, {}}};
    p.loadCases.combinations = codeCombinations(p.loadCases.cases, false);
    SilentProgress progress;
    const LoadCaseSet& set = p.loadCases;
    const LoadCaseOutcome out = analyseLoadCases(
        m, set, progress,
        [&](const std::string& label, Model& md, const std::vector<float>& reaction) {
            p.caseResults.push_back(
                captureCaseResult(md, set, p.caseResults.size(), label, reaction));
        });
    QVERIFY2(out.ok, out.message.c_str());
    m.AnalysisDone = 1;
    FormWindow* plot = openFromMenu(s, "BUTTON4", "FORM13");
    QVERIFY(plot);
    auto* button = qobject_cast<QPushButton*>(s.widget("FORM13", "BUTTON136"));
    QVERIFY(button && button->isVisible() && button->isEnabled());
    QVERIFY(plot->rect().contains(button->geometry()));
    QVERIFY(plot->rect().contains(s.widget("FORM13", "COMBO136")->geometry()));
    QTest::mouseClick(button, Qt::LeftButton);
    PictureWidget* picture = plot->picture();
    const QImage drifts = onScreen(picture);
    const StoreyCheckResult check = checkStoreys(m, p.loadCases, p.caseResults);
    Canvas expected(picture->width(), picture->height());
    drawStoreyDrifts(expected, check);
    QCOMPARE(differingPixels(picture, drifts, renderCanvas(expected)), 0);

    auto* planButton = qobject_cast<QPushButton*>(s.widget("FORM13", "BUTTON137"));
    QVERIFY(planButton);
    QTest::mouseClick(planButton, Qt::LeftButton);
    const QImage plan = onScreen(picture);
    drawStoreyPlan(expected, check, 1);
    QCOMPARE(differingPixels(picture, plan, renderCanvas(expected)), 0);
    if (const char* folder = std::getenv("RAHMEN_REAL_PICTURES")) {
        drifts.save(QString::fromUtf8(folder) + "/storey-drifts.png");
        plan.save(QString::fromUtf8(folder) + "/storey-plan.png");
        plot->grab().save(QString::fromUtf8(folder) + "/storey-window.png");
    }
    QCOMPARE(answers.unexpected(), 0);
}

} // namespace rahmen::test
