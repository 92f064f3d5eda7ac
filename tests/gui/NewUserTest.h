#pragma once

#include <QObject>

namespace rahmen::test {

class NewUserTest : public QObject {
    Q_OBJECT
private slots:
    void endAsksOnceAlsoWhenTheWindowsClose();
    void inputFormIsModalAndEscapeCancelsIt();
    void progressWindowKeepsAboveAndItsCloseBoxWaitsForTheEnd();
    void messagesBreakWhereAReaderWould();
    void numberBoxesDropLetters();
};

} // namespace rahmen::test
