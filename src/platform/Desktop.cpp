#include "platform/Desktop.h"

#include "platform/Form.h"

#include <algorithm>

namespace rahmen {

namespace {

template <typename T> void erase(std::vector<T*>& v, const T* item) {
    v.erase(std::remove(v.begin(), v.end(), item), v.end());
}

} // namespace

Desktop::Desktop(int screenWidth, int screenHeight)
    : screenWidth_(screenWidth), screenHeight_(screenHeight) {}

Desktop::~Desktop() {
    // Forms may outlive the screen (in tests): they are left closed and detached.
    for (Form* form : known_) {
        form->desktop_ = nullptr;
        form->open_ = false;
    }
}

void Desktop::setScreenSize(int width, int height) {
    screenWidth_ = width;
    screenHeight_ = height;
}

void Desktop::show(Form& form) {
    if (form.open_) return;
    if (form.desktop_ && form.desktop_ != this) form.desktop_->forget(form);
    if (form.desktop_ != this) {
        form.desktop_ = this;
        known_.push_back(&form);
    }
    form.open_ = true;
    open_.push_back(&form);
    form.start();
    // The start hook may already have closed the form again.
    if (!form.open_) return;
    auto listeners = listeners_;
    for (DesktopListener* l : listeners)
        l->formOpened(form);
    if (form.open_) form.shown();
}

void Desktop::close(Form& form) {
    if (!form.open_ || form.desktop_ != this) return;
    form.end();
    form.open_ = false;
    erase(open_, &form);
    auto listeners = listeners_;
    for (DesktopListener* l : listeners)
        l->formClosed(form);
}

Form* Desktop::find(const std::string& name) const {
    for (Form* form : open_)
        if (form->name() == name) return form;
    return nullptr;
}

bool Desktop::blocks(const Form& form) const {
    auto at = std::find(open_.begin(), open_.end(), &form);
    if (at == open_.end()) return false;
    return std::any_of(at + 1, open_.end(), [](const Form* later) { return later->modal(); });
}

void Desktop::requestClose(Form& form) {
    if (!form.isOpen() || blocks(form)) return;
    const std::string control = form.closeControl();
    if (!control.empty() && form.click(control)) return;
    if (closeRefusal_) closeRefusal_(form);
}

void Desktop::centerForm(Form& form) {
    const int left = std::max(0, (screenWidth_ - form.width()) / 2);
    const int top = std::max(0, (screenHeight_ - form.height()) / 2);
    form.move(left, top);
    if (form.open_ && form.desktop_ == this) changed(form);
}

void Desktop::changed(Form& form) {
    auto listeners = listeners_;
    for (DesktopListener* l : listeners)
        l->formChanged(form);
}

void Desktop::refresh() {
    auto forms = open_;
    for (Form* form : forms)
        if (form->open_) changed(*form);
}

void Desktop::addListener(DesktopListener* listener) {
    if (std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void Desktop::removeListener(DesktopListener* listener) {
    erase(listeners_, listener);
}

// A form is being destroyed: drop it without running its hooks.
void Desktop::forget(Form& form) {
    const bool wasOpen = std::find(open_.begin(), open_.end(), &form) != open_.end();
    erase(open_, &form);
    erase(known_, &form);
    form.desktop_ = nullptr;
    form.open_ = false;
    if (wasOpen) {
        auto listeners = listeners_;
        for (DesktopListener* l : listeners)
            l->formClosed(form);
    }
}

} // namespace rahmen
