#pragma once

#include <QObject>

namespace rahmen::test {

class PlotWindowTest : public QObject {
    Q_OBJECT
private slots:
    void clickedLoadAnalysedIntoTheDeformationPicture();
    void loadQuestionComesOverTheShownWindow();
};

} // namespace rahmen::test
