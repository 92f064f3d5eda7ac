#include "gui/WindowManager.h"

#include "gui/ReportPdf.h"
#include "platform/Document.h"

#include <QApplication>

#include "gui/FormWindow.h"
#include "gui/PictureWidget.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <algorithm>

namespace rahmen {

namespace {

// While a long operation runs inside one event, its progress window is
// repainted at most this often, so that printing many short steps does not
// cost more than the work itself.
constexpr qint64 RepaintIntervalMs = 40;

} // namespace

WindowManager::WindowManager(Desktop& desktop, QObject* parent)
    : QObject(parent), desktop_(desktop) {
    desktop_.addListener(this);
    // The headless forms save their pictures as PNG through Qt's image writer.
    desktop_.setPngWriter([](const Canvas& canvas, const std::string& path, int scale) {
        return savePng(canvas, path, scale);
    });
    // The calculation report's pages: PDF bytes, and the print dialog over
    // the active window.
    desktop_.setDocumentRenderer([](const Document& document) { return documentPdf(document); },
                                 [](const Document& document) {
                                     return printDocument(document, QApplication::activeWindow());
                                 });
    sinceRepaint_.start();
}

WindowManager::~WindowManager() {
    desktop_.removeListener(this);
    for (auto& [form, window] : windows_)
        delete window;
    for (const QPointer<FormWindow>& window : retired_)
        delete window.data();
}

void WindowManager::setCloseControl(const std::string& formName, const std::string& controlName) {
    closeControls_[formName] = controlName;
}

void WindowManager::setFileDrop(const std::string& formName,
                                std::function<void(const std::string&)> open) {
    fileDrops_[formName] = std::move(open);
}

void WindowManager::filesDropped(const std::string& formName,
                                 const std::vector<std::string>& paths) {
    const auto drop = fileDrops_.find(formName);
    if (drop == fileDrops_.end()) return;
    for (const std::string& path : paths)
        dispatch([&] { drop->second(path); });
}

void WindowManager::dispatch(const std::function<void()>& event) {
    ++depth_;
    event();
    if (afterEvent_) afterEvent_();
    --depth_;
    refreshAll();
}

void WindowManager::refreshAll() {
    // In the order the forms were opened, so that the focus ends in the newest.
    for (FormWindow* window : windows())
        window->refresh();
}

FormWindow* WindowManager::window(const std::string& formName) const {
    for (const auto& [form, window] : windows_)
        if (window->formName() == formName) return window;
    return nullptr;
}

FormWindow* WindowManager::window(const Form& form) const {
    auto it = windows_.find(&form);
    return it == windows_.end() ? nullptr : it->second;
}

std::vector<FormWindow*> WindowManager::windows() const {
    std::vector<FormWindow*> result;
    for (Form* form : desktop_.openForms())
        if (FormWindow* w = window(*form)) result.push_back(w);
    return result;
}

void WindowManager::closeRequested(Form& form) {
    auto it = closeControls_.find(form.name());
    if (it != closeControls_.end() && form.has(it->second)) {
        const std::string control = it->second;
        dispatch([&] { form.click(control); });
        return;
    }
    dispatch([&] { desktop_.requestClose(form); });
}

FormWindow* WindowManager::newestBelow(const Form& form) const {
    FormWindow* below = nullptr;
    for (Form* other : desktop_.openForms())
        if (other != &form)
            if (FormWindow* w = window(*other)) below = w;
    return below;
}

void WindowManager::keepAbove(FormWindow* w, const Form& form) {
    // A window that is not modal, opened over others, reports on the newest
    // of them (the progress window): it is that window's child window, so
    // that the window system keeps it above, also after a dialog.
    if (form.modal() || desktop_.openForms().empty() || desktop_.openForms().front() == &form)
        return;
    FormWindow* below = newestBelow(form);
    if (w->parentWidget() == below) return;
    const bool shown = w->isVisible();
    w->setParent(below, w->windowFlags() | Qt::Window);
    if (shown) w->show();
}

void WindowManager::formOpened(Form& form) {
    FormWindow* w = window(form);
    if (!w) {
        w = new FormWindow(form, *this);
        windows_[&form] = w;
    } else {
        w->refresh();
    }
    keepAbove(w, form);
    w->show();
    w->raise();
    w->activateWindow();
}

void WindowManager::formClosed(Form& form) {
    auto it = windows_.find(&form);
    if (it == windows_.end()) return;
    FormWindow* w = it->second;
    windows_.erase(it);
    // The form may be destroyed from now on, and the window may be the one
    // whose button is being handled: forget the form at once, delete the
    // widgets once the event has been handled.
    w->detach();
    w->hide();
    // Windows kept above this one move to the window below it, so that they
    // are not destroyed with it.
    for (auto& [other, child] : windows_)
        if (child->parentWidget() == w) keepAbove(child, *other);
    w->deleteLater();
    retired_.erase(std::remove_if(retired_.begin(), retired_.end(),
                                  [](const QPointer<FormWindow>& p) { return p.isNull(); }),
                   retired_.end());
    retired_.emplace_back(w);
}

void WindowManager::formChanged(Form& form) {
    FormWindow* w = window(form);
    if (!w) return;
    w->refresh();
    // A window that changes while an event is still being handled is a
    // progress window reporting a long operation: let it paint now, since
    // the event loop will not run before the operation ends. User input
    // stays queued until the event has been handled.
    if (depth_ > 0 && sinceRepaint_.elapsed() >= RepaintIntervalMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sinceRepaint_.restart();
    }
}

} // namespace rahmen
