// The real-window tests: the program's windows on an X display (started by
// the test command under a virtual X server), set up as the program sets
// itself up.

#include "RealWindowTest.h"
#include "gui/GuiSetup.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!rahmen::setUpApplication(app)) {
        qWarning("Qt's Japanese translations (qtbase_ja) were not found");
        return 1;
    }
    rahmen::test::RealWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
