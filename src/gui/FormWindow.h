#pragma once
// The window of one form: a widget per control, placed at the control's
// layout rectangle and named after it, showing the control's state and
// passing what the user does to the form's entry points. The window never
// decides anything itself; after each event every open window is refreshed
// from its controls (see WindowManager).

#include "platform/Control.h"
#include "platform/Form.h"

#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace rahmen {

class PictureWidget;
class WindowManager;

class FormWindow : public QWidget {
    Q_OBJECT
public:
    FormWindow(Form& form, WindowManager& manager);
    ~FormWindow() override;

    // The form shown, or nullptr once it has closed.
    Form* form() const { return form_; }
    const std::string& formName() const { return formName_; }

    // The widget of a control, or nullptr.
    QWidget* widget(const std::string& controlName) const;
    PictureWidget* picture() const { return picture_; }

    // Shows the controls' current state. Nothing the refresh does is passed
    // back to the form as a user event.
    void refresh();
    // The form has closed (and may be destroyed): forget it.
    void detach();

    // The Windows virtual-key code of a Qt key (letters and digits as their
    // upper-case ASCII codes, Enter 13, Esc 27, arrows 37 to 40 ...), or 0 for
    // a key without one.
    static int keyCode(int qtKey, const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // A window with a picture of the full design size grows with the user's
    // resize: the picture scales, the controls keep their places relative to
    // it (scroll bars along the picture stretch with it).
    void resizeEvent(QResizeEvent* event) override;
    // Local files dragged over a window whose form takes files (the main
    // menu) may be dropped; they are opened once the drop has ended.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    struct Item {
        std::string name;
        ControlKind kind;
        QWidget* widget;
        // What was last shown, so that a refresh only touches what changed
        // (re-setting an edit's text would move its cursor while typing).
        int fontSize = -1;
        int x = -1, y = -1, width = -1, height = -1;
    };

    void build();
    QWidget* create(const Control& control);
    void showControl(Item& item, const Control& control);
    // Runs one user event through the manager, unless the window is showing
    // the controls or the form has gone.
    void deliver(const std::function<void(Form&)>& event);
    void focusMoved(QWidget* now);
    // The rectangle of a control on the window as it is now sized.
    QRect placed(const Control& control) const;
    const Control* pictureControl() const;
    // A Ctrl drag over the picture moves the first horizontal and the first
    // vertical scroll bar (the view's angles) by the drag.
    void turnBy(int dx, int dy);

    Form* form_;
    std::string formName_;
    WindowManager& manager_;
    std::vector<Item> items_;
    PictureWidget* picture_ = nullptr;
    bool refreshing_ = false;
    std::string shownFocus_;
    std::string shownCaption_;
    int shownLeft_ = -1, shownTop_ = -1, shownWidth_ = -1, shownHeight_ = -1;
    bool resizable_ = false;
    double scale_ = 1; // picture size over its design size, resizable windows only
};

} // namespace rahmen
