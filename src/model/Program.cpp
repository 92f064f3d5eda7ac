#include "model/Program.h"

namespace rahmen {

std::unique_ptr<Program> Program::create(Services io) {
    return std::make_unique<Program>(io);
}

Program::Program(Services services) : io(services), progress(services.desktop) {}

void Program::menuEnable(std::initializer_list<const char*> enable,
                         std::initializer_list<const char*> disable) {
    if (!mainMenu) return;
    // The load-case button is usable exactly when the table-input analysis
    // is: both analyse the frame as it stands. The report button exactly
    // when the analysis data can be reset: once an analysis exists.
    auto set = [this](const char* name, bool enabled) {
        if (mainMenu->has(name)) mainMenu->c(name).enabled = enabled;
        if (std::string(name) == "BUTTON3" && mainMenu->has("BUTTON94"))
            mainMenu->c("BUTTON94").enabled = enabled;
        if (std::string(name) == "BUTTON88" && mainMenu->has("BUTTON95"))
            mainMenu->c("BUTTON95").enabled = enabled;
    };
    for (const char* name : enable)
        set(name, true);
    for (const char* name : disable)
        set(name, false);
}

std::vector<bool> Program::menuState() const {
    std::vector<bool> state;
    if (mainMenu)
        for (const Control& control : mainMenu->controls())
            state.push_back(control.enabled);
    return state;
}

void Program::restoreMenu(const std::vector<bool>& state) {
    if (!mainMenu || state.size() != mainMenu->controls().size()) return;
    for (std::size_t i = 0; i < state.size(); ++i)
        mainMenu->controls()[i].enabled = state[i];
}

void Program::registerForm(const std::string& name, FormFactory factory) {
    factories_[name] = std::move(factory);
}

Form* Program::openForm(const std::string& name) {
    auto factory = factories_.find(name);
    if (factory == factories_.end()) return nullptr;
    auto& slot = instances_[name];
    if (slot) {
        if (slot->isOpen()) slot->close();
        // A few retired instances are kept: a handler that opened its
        // successor may still be on the stack; older ones have long returned.
        if (retired_.size() >= 8) retired_.erase(retired_.begin());
        retired_.push_back(std::move(slot));
    }
    slot = factory->second(*this);
    Form* opened = slot.get();
    // Input forms open one over the other: the menu and every form below
    // take no input until the newest has closed.
    opened->setModal(true);
    io.desktop.show(*opened);
    return opened;
}

Form* Program::form(const std::string& name) {
    auto found = instances_.find(name);
    return found == instances_.end() ? nullptr : found->second.get();
}

MessageResult Program::say(const std::string& text, MessageButtons buttons, MessageIcon icon) {
    return io.dialogs.message("rahmen", text, buttons, icon);
}

} // namespace rahmen
