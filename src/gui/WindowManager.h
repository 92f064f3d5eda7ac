#pragma once
// Keeps one FormWindow per open form: creates it when the desktop opens the
// form, refreshes it when the form changes and removes it when the form
// closes. User events from any window come back through dispatch(), which
// runs the form's entry point, then the program's after-event step, then
// refreshes every window, so that whatever a handler changed in any form is
// on the screen before the next event.

#include "platform/Desktop.h"
#include "platform/Form.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace rahmen {

class FormWindow;

class WindowManager : public QObject, public DesktopListener {
    Q_OBJECT
public:
    explicit WindowManager(Desktop& desktop, QObject* parent = nullptr);
    ~WindowManager() override;
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // Run after every user event, before the windows are refreshed (the main
    // loop's reset and the end of the program live there).
    void setAfterEvent(std::function<void()> hook) { afterEvent_ = std::move(hook); }

    // A click on a window's close box presses this control of that form
    // instead (e.g. the main menu's end button). Without one the close box
    // (and Escape) asks the desktop to close the form, which presses the
    // form's own close control or tells the user how to leave it.
    void setCloseControl(const std::string& formName, const std::string& controlName);

    // Files dropped on the window of this form are passed, one by one and
    // each as a user event of its own, to `open` (with their absolute paths).
    // Windows of other forms take no drops.
    void setFileDrop(const std::string& formName, std::function<void(const std::string&)> open);
    bool takesFiles(const std::string& formName) const { return fileDrops_.count(formName) != 0; }
    void filesDropped(const std::string& formName, const std::vector<std::string>& paths);

    // Runs one user event and everything that follows it.
    void dispatch(const std::function<void()>& event);
    // True while an event is being handled.
    bool inEvent() const { return depth_ > 0; }

    void refreshAll();

    // The window of an open form, or nullptr.
    FormWindow* window(const std::string& formName) const;
    FormWindow* window(const Form& form) const;
    // The windows of the open forms, in the order the forms were opened.
    std::vector<FormWindow*> windows() const;

    // The user asked to close the window of this form.
    void closeRequested(Form& form);
    // The program has ended: windows close without asking their forms.
    bool ended() const { return desktop_.endRequested(); }

    void formOpened(Form& form) override;
    void formClosed(Form& form) override;
    void formChanged(Form& form) override;

private:
    FormWindow* newestBelow(const Form& form) const;
    void keepAbove(FormWindow* w, const Form& form);

    Desktop& desktop_;
    std::map<const Form*, FormWindow*> windows_;
    std::vector<QPointer<FormWindow>> retired_; // closed, awaiting deletion
    std::map<std::string, std::string> closeControls_;
    std::function<void()> afterEvent_;
    std::map<std::string, std::function<void(const std::string&)>> fileDrops_;
    int depth_ = 0;
    QElapsedTimer sinceRepaint_;
};

} // namespace rahmen
