#pragma once

#include <QObject>

namespace rahmen::test {

class MainMenuTest : public QObject {
    Q_OBJECT
private slots:
    void menuAfterStartUp();
    void resetAfterAnOutlineAndCoordinates();
    void helpViewerOpensAtEveryKeyword();
};

} // namespace rahmen::test
