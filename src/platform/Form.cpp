#include "platform/Form.h"

#include "platform/Desktop.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace rahmen {

Form::Form(std::string name, std::string caption, int width, int height)
    : name_(std::move(name)), caption_(std::move(caption)), width_(width), height_(height) {}

Form::~Form() {
    if (desktop_) desktop_->forget(*this);
}

void Form::resize(int width, int height) {
    width_ = width;
    height_ = height;
}

void Form::move(int left, int top) {
    left_ = left;
    top_ = top;
}

Control& Form::c(const std::string& name) {
    auto it = index_.find(name);
    if (it == index_.end()) throw std::out_of_range(name_ + " has no control " + name);
    return controls_[it->second];
}

const Control& Form::c(const std::string& name) const {
    auto it = index_.find(name);
    if (it == index_.end()) throw std::out_of_range(name_ + " has no control " + name);
    return controls_[it->second];
}

bool Form::has(const std::string& name) const {
    return index_.count(name) != 0;
}

void Form::setFocus(const std::string& name) {
    if (!name.empty()) c(name); // reject unknown names
    focus_ = name;
}

bool Form::blocked() const {
    return desktop_ && desktop_->blocks(*this);
}

std::string Form::closeControl() const {
    for (const Control& control : controls_)
        if (control.kind == ControlKind::Button && control.caption == "キャンセル")
            return control.name;
    return {};
}

void Form::close() {
    if (desktop_) desktop_->close(*this);
}

Control& Form::add(ControlKind kind, const std::string& name, const std::string& caption, int x,
                   int y, int w, int h) {
    if (has(name)) throw std::logic_error(name_ + " declares " + name + " twice");
    Control control;
    control.name = name;
    control.kind = kind;
    control.caption = caption;
    control.x = x;
    control.y = y;
    control.width = w;
    control.height = h;
    control.tabIndex = static_cast<int>(controls_.size());
    index_[name] = controls_.size();
    controls_.push_back(std::move(control));
    return controls_.back();
}

Control& Form::addButton(const std::string& name, const std::string& caption, int x, int y, int w,
                         int h) {
    return add(ControlKind::Button, name, caption, x, y, w, h);
}

Control& Form::addEdit(const std::string& name, const std::string& text, int x, int y, int w,
                       int h) {
    return add(ControlKind::Edit, name, text, x, y, w, h);
}

Control& Form::addLabel(const std::string& name, const std::string& caption, int x, int y, int w,
                        int h) {
    return add(ControlKind::Label, name, caption, x, y, w, h);
}

Control& Form::addCheck(const std::string& name, const std::string& caption, int x, int y, int w,
                        int h) {
    return add(ControlKind::Check, name, caption, x, y, w, h);
}

Control& Form::addRadio(const std::string& name, const std::string& caption, int x, int y, int w,
                        int h, const std::string& group) {
    Control& control = add(ControlKind::Radio, name, caption, x, y, w, h);
    control.group = group;
    return control;
}

Control& Form::addCombo(const std::string& name, int x, int y, int w, int h) {
    return add(ControlKind::Combo, name, "", x, y, w, h);
}

Control& Form::addList(const std::string& name, int x, int y, int w, int h) {
    return add(ControlKind::List, name, "", x, y, w, h);
}

Control& Form::addGroup(const std::string& name, const std::string& caption, int x, int y, int w,
                        int h) {
    return add(ControlKind::Group, name, caption, x, y, w, h);
}

Control& Form::addHScroll(const std::string& name, int x, int y, int w, int h) {
    return add(ControlKind::HScroll, name, "", x, y, w, h);
}

Control& Form::addVScroll(const std::string& name, int x, int y, int w, int h) {
    return add(ControlKind::VScroll, name, "", x, y, w, h);
}

Control& Form::addPicture(const std::string& name, int x, int y, int w, int h) {
    if (picture_) throw std::logic_error(name_ + " declares a second picture " + name);
    picture_ = std::make_unique<Canvas>(w, h);
    return add(ControlKind::Picture, name, "", x, y, w, h);
}

void Form::numberBoxes(std::initializer_list<const char*> textBoxes) {
    for (Control& control : controls_) {
        if (control.kind != ControlKind::Edit) continue;
        control.numeric = std::none_of(textBoxes.begin(), textBoxes.end(),
                                       [&](const char* name) { return control.name == name; });
    }
}

void Form::onClick(const std::string& name, Handler handler) {
    c(name);
    clickHandlers_[name] = std::move(handler);
}

void Form::onChange(const std::string& name, Handler handler) {
    c(name);
    changeHandlers_[name] = std::move(handler);
}

void Form::onScroll(const std::string& name, Handler handler) {
    c(name);
    scrollHandlers_[name] = std::move(handler);
}

void Form::onMouseDown(MouseHandler handler) {
    mouseHandler_ = std::move(handler);
}

void Form::onKey(KeyHandler handler) {
    keyHandler_ = std::move(handler);
}

// The control if the user could reach it now, else nullptr. Unknown names
// throw, as c() does.
Control* Form::usable(const std::string& name) {
    Control& control = c(name);
    if (!open_ || !control.enabled || !control.visible || blocked()) return nullptr;
    return &control;
}

void Form::run(const std::unordered_map<std::string, Handler>& handlers, const std::string& name) {
    auto it = handlers.find(name);
    if (it == handlers.end()) return;
    // A copy, so that a handler may re-register handlers while it runs.
    Handler handler = it->second;
    if (handler) handler();
}

void Form::afterEvent() {
    if (desktop_) desktop_->refresh();
}

bool Form::click(const std::string& name) {
    Control* control = usable(name);
    if (!control) return false;
    if (control->kind == ControlKind::Check) {
        control->checked = !control->checked;
    } else if (control->kind == ControlKind::Radio) {
        for (Control& other : controls_)
            if (other.kind == ControlKind::Radio && other.group == control->group)
                other.checked = false;
        control->checked = true;
    }
    run(clickHandlers_, name);
    afterEvent();
    return true;
}

bool Form::change(const std::string& name) {
    if (!usable(name)) return false;
    run(changeHandlers_, name);
    afterEvent();
    return true;
}

bool Form::scroll(const std::string& name) {
    if (!usable(name)) return false;
    run(scrollHandlers_, name);
    afterEvent();
    return true;
}

bool Form::mouseDown(MouseButton button, int x, int y) {
    if (!open_ || blocked()) return false;
    if (mouseHandler_) {
        MouseHandler handler = mouseHandler_;
        handler(button, x, y);
    }
    afterEvent();
    return true;
}

bool Form::keyPress(int key) {
    if (!open_ || blocked()) return false;
    if (keyHandler_) {
        KeyHandler handler = keyHandler_;
        handler(key);
    }
    afterEvent();
    return true;
}

bool Form::typeText(const std::string& name, const std::string& text) {
    Control* control = usable(name);
    if (!control) return false;
    control->caption = text;
    return change(name);
}

bool Form::choose(const std::string& name, int index) {
    Control* control = usable(name);
    if (!control || index < -1 || index >= static_cast<int>(control->items.size())) return false;
    control->selected = index;
    if (control->kind == ControlKind::Combo)
        control->caption = index >= 0 ? control->items[static_cast<std::size_t>(index)] : "";
    return change(name);
}

bool Form::scrollTo(const std::string& name, int position) {
    Control* control = usable(name);
    if (!control) return false;
    // A scroll bar may run backwards (minimum above maximum).
    const int lo = std::min(control->scrollMin, control->scrollMax);
    const int hi = std::max(control->scrollMin, control->scrollMax);
    control->scrollPos = std::clamp(position, lo, hi);
    return scroll(name);
}

} // namespace rahmen
