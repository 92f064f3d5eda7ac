#pragma once

#include <QObject>

namespace rahmen::test {

class FormPicturesTest : public QObject {
    Q_OBJECT
private slots:
    void picturesAreChosenByFormOrId();
    void everyPictureShowsItsFormFilledIn();
    void captionsFitAndControlsDoNotOverlap_data();
    void captionsFitAndControlsDoNotOverlap();
};

} // namespace rahmen::test
