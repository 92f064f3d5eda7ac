#pragma once

#include <QObject>

namespace rahmen::test {

// The program's real windows on an X display (a virtual one in the tests),
// driven through Qt's event queue as a person drives them; what the user sees
// is read back from the display.
class RealWindowTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void scrollBarStepTurnsThePictureOnTheScreen();
    void splitMemberIsDrawnAndPickedAsTheNewFrame();
    void keyAtTheKeyWaitGoesToThePicture();
    void enlargedZoomedAndPannedPicturePicksWhatIsShown();
    void ctrlDragTurnsTheViewWithItsScrollBars();
    void givenFrameFileAndDroppedReportAreReadAsTheMenuReadsThem();
    void caseChoiceRepaintsTheStressDiagram();
    void storeyPicturesAreShownInTheGrownWindow();
};

} // namespace rahmen::test
