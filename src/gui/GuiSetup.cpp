#include "gui/GuiSetup.h"

#include "gui/PictureWidget.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

namespace rahmen {

bool setUpApplication(QApplication& app) {
    auto* translator = new QTranslator(&app);
    const bool translated = translator->load(QStringLiteral("qtbase_ja"),
                                             QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (translated)
        app.installTranslator(translator);
    else
        delete translator;

    QFont font(QString::fromLatin1(ApplicationFontFamily));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pointsToPixels(10));
    app.setFont(font);
    app.setQuitOnLastWindowClosed(false);
    return translated;
}

} // namespace rahmen
