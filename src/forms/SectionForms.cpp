#include "forms/SectionForms.h"

#include "forms/Form11.h"
#include "forms/Form16.h"
#include "model/Program.h"

#include <memory>

namespace rahmen {

void registerSectionForms(Program& program) {
    program.registerForm("FORM11", [](Program& p) { return std::make_unique<Form11>(p); });
    program.registerForm("FORM16", [](Program& p) { return std::make_unique<Form16>(p); });
}

} // namespace rahmen
