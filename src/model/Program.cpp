#include "model/Program.h"

namespace rahmen {

std::unique_ptr<Program> Program::create(Services io) { return std::make_unique<Program>(io); }

Program::Program(Services services) : io(services), progress(services.desktop) {}

void Program::menuEnable(std::initializer_list<const char*> enable,
                         std::initializer_list<const char*> disable) {
    if (!mainMenu) return;
    for (const char* name : enable)
        if (mainMenu->has(name)) mainMenu->c(name).enabled = true;
    for (const char* name : disable)
        if (mainMenu->has(name)) mainMenu->c(name).enabled = false;
}

void Program::menuShowUnits() {
    if (!mainMenu || !mainMenu->has("RADIO65") || !mainMenu->has("RADIO66")) return;
    const bool older = model.UnitFactor == 1.0f;
    mainMenu->c("RADIO65").checked = !older;
    mainMenu->c("RADIO66").checked = older;
}

MessageResult Program::say(const std::string& text, MessageButtons buttons, MessageIcon icon) {
    return io.dialogs.message("rahmen", text, buttons, icon);
}

} // namespace rahmen
