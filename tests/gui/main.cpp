// Runs the GUI test classes in one application, set up as the program sets
// itself up (Japanese translations, application font).

#include "DialogsTest.h"
#include "FormPicturesTest.h"
#include "MainMenuTest.h"
#include "NewUserTest.h"
#include "PlotWindowTest.h"
#include "WindowTest.h"
#include "WorkflowTest.h"
#include "gui/GuiSetup.h"

#include <QApplication>
#include <QTest>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!rahmen::setUpApplication(app)) {
        qWarning("Qt's Japanese translations (qtbase_ja) were not found");
        return 1;
    }
    int failures = 0;
    {
        rahmen::test::WindowTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        rahmen::test::DialogsTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        rahmen::test::MainMenuTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        rahmen::test::FormPicturesTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        rahmen::test::WorkflowTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        rahmen::test::NewUserTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    {
        rahmen::test::PlotWindowTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
