#pragma once
// Every form of the program, registered by design name with the program's form
// registry, so that the main menu's buttons (and the forms among themselves)
// open them by name. A form module adds its registration function here.

namespace rahmen {

class Program;

void registerForms(Program& program);

} // namespace rahmen
