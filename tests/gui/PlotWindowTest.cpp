// The mouse analysis through the real plotting window: a click on the picture
// widget at a node's pixel picks the node, a typed load is applied, the
// analysis runs and the window shows the deformation picture; the picture is
// then saved as SVG through the save dialog.

#include "PlotWindowTest.h"

#include "GuiTestSupport.h"
#include "ProgramSession.h"
#include "gui/PictureWidget.h"
#include "model/Program.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

namespace rahmen::test {

namespace {

// Nodes 1-3 on one vertical line (Z = 0, 350, 700), node 4 at (0, 500, 350),
// node 5 at (600, 0, 350); members 1-2, 2-3, 2-4, 2-5; supports 1 and 5. The
// picking picture puts node 4 at (505, 376.6).
void smallFrame(Model& md) {
    md.NodeCount = 5;
    md.MemberCount = 4;
    const float xyz[5][3] = {{0, 0, 0}, {0, 0, 350}, {0, 0, 700}, {0, 500, 350}, {600, 0, 350}};
    for (int n = 1; n <= 5; ++n) {
        md.NodeX[n] = xyz[n - 1][0];
        md.NodeY[n] = xyz[n - 1][1];
        md.NodeZ[n] = xyz[n - 1][2];
    }
    const int ends[4][2] = {{1, 2}, {2, 3}, {2, 4}, {2, 5}};
    for (int m = 1; m <= 4; ++m) {
        md.MemberStartNode[m] = static_cast<int16_t>(ends[m - 1][0]);
        md.MemberEndNode[m] = static_cast<int16_t>(ends[m - 1][1]);
        md.MemberArea[m] = 100;
        md.MemberIy[m] = md.MemberIz[m] = 20000;
        md.MemberJ[m] = 500;
    }
    md.NodeIsSupport[1] = md.NodeIsSupport[5] = -1;
    md.SupportCount = 2;
    md.DataName = "frame";
}

int pixelsOf(const QImage& image, QColor colour) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += image.pixelColor(x, y) == colour;
    return count;
}

} // namespace

void PlotWindowTest::clickedLoadAnalysedIntoTheDeformationPicture() {
    ProgramSession s;
    ModalAnswerer answers;
    Program& p = s.program->program();
    smallFrame(p.model);
    p.menuEnable({"BUTTON92"});
    s.windows->refreshAll();

    answers.queue(QMessageBox::No); // no loads from a report
    s.click("MAINFORM", "BUTTON92");
    QTRY_VERIFY(s.window("FORM13"));
    QCOMPARE(s.window("FORM13")->windowTitle(), QStringLiteral("マウス骨組解析"));
    s.click("FORM13", "RADIO55");
    QCOMPARE(p.model.YoungModulus, 205000.0f);

    PictureWidget* picture = s.window("FORM13")->picture();
    QVERIFY(picture);
    QTest::mouseClick(picture, Qt::LeftButton, {}, QPoint(505, 377));
    s.type("FORM13", "EDIT193", QStringLiteral("-10"));
    s.click("FORM13", "BUTTON86");
    QCOMPARE(p.model.NodeLoadFlag[4], 1.0f);
    QCOMPARE(p.model.NodeLoad[20], -10.0f);

    s.click("FORM13", "BUTTON69"); // "負荷完了"
    s.click("FORM13", "BUTTON69"); // "解析開始"
    QCOMPARE(p.model.AnalysisDone, 1);
    QCOMPARE(s.window("FORM13")->windowTitle(), QStringLiteral("データ作図"));
    QCOMPARE(p.PlotWindowMode, 2);

    // The deformation picture: its heading, and the deformed curves in
    // colour 5 on the screen.
    bool heading = false;
    for (const Primitive& item : picture->canvas()->items())
        heading = heading || item.text.find("変形図") != std::string::npos;
    QVERIFY(heading);
    QApplication::processEvents();
    const QImage shown = picture->grab().toImage();
    QVERIFY(pixelsOf(shown, QColor(0x80, 0x00, 0x80)) > 50);

    // "図保存" as SVG.
    const QString svg = s.folder.filePath(QStringLiteral("deformed.svg"));
    answers.queueDialog([&](QDialog* dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog);
        QVERIFY(files);
        files->selectFile(svg);
        dialog->accept(); // QFileDialog::accept, through the public slot of QDialog
    });
    s.click("FORM13", "BUTTON98");
    QTRY_VERIFY(QFile::exists(svg));
    QFile file(svg);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.contains("<svg"));
    QVERIFY(bytes.contains(QStringLiteral("変形図").toUtf8()));
    QCOMPARE(answers.unexpected(), 0);
}

// "既存の解析データから荷重を読込みますか？" is asked over the mouse analysis
// window, once that window is on the screen with its captions.
void PlotWindowTest::loadQuestionComesOverTheShownWindow() {
    ProgramSession s;
    Program& p = s.program->program();
    smallFrame(p.model);
    p.menuEnable({"BUTTON92"});
    s.windows->refreshAll();

    QString asked;
    bool windowShown = false;
    QString windowTitle;
    QTimer answerer;
    QObject::connect(&answerer, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        asked = box->text();
        if (FormWindow* w = s.window("FORM13")) {
            windowShown = w->isVisible();
            windowTitle = w->windowTitle();
        }
        box->button(QMessageBox::No)->click();
    });
    answerer.start(10);
    s.click("MAINFORM", "BUTTON92");
    QTRY_VERIFY(!asked.isEmpty());
    QCOMPARE(asked, QStringLiteral("既存の解析データから荷重を読込みますか？"));
    QVERIFY(windowShown);
    QCOMPARE(windowTitle, QStringLiteral("マウス骨組解析"));
}

} // namespace rahmen::test
