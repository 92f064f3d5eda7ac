#pragma once

#include <QObject>

namespace rahmen::test {

class WindowTest : public QObject {
    Q_OBJECT
private slots:
    void pictureIsPaintedFromTheDisplayList();
    void windowShowsTheControls();
    void userEventsReachTheFormOnce();
    void closingFromTheFormsOwnButton();
    void closeBoxGoesToTheChosenControl();
    void progressWindowPaintsDuringALongEvent();
    void keyCodesFollowTheVirtualKeys();
};

} // namespace rahmen::test
