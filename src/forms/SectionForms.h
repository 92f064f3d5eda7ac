#pragma once
// The forms that take member types from the steel section tables.

namespace rahmen {

class Program;

// Registers FORM11 (member property modification) and FORM16 (section list) with the program's form
// registry.
void registerSectionForms(Program& program);

} // namespace rahmen
