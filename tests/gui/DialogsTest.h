#pragma once

#include <QObject>

namespace rahmen::test {

class DialogsTest : public QObject {
    Q_OBJECT
private slots:
    void messageBoxesReturnTheButtonPressed();
    void inputBoxReturnsTheTextOrNothing();
    void openFileDialogStartsInTheCurrentFolder();
    void chosenFilesAreNamedAsTheProgramNamesThem();
};

} // namespace rahmen::test
