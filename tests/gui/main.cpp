// Runs the GUI test classes in one application, set up as the program sets
// itself up (Japanese translations, application font).

#include "MainMenuTest.h"
#include "WindowTest.h"
#include "gui/GuiSetup.h"

#include <QApplication>
#include <QTest>

namespace {

// The offscreen platform warns about every window raised; that is noise here.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtWarningMsg && message.startsWith(QLatin1String("This plugin does not support")))
        return;
    qt_message_output(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    qInstallMessageHandler(quietHandler);
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
        rahmen::test::MainMenuTest test;
        failures += QTest::qExec(&test, argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
