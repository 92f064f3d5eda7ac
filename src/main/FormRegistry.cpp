#include "main/FormRegistry.h"

#include "forms/InputForms.h"
#include "forms/SectionForms.h"

namespace rahmen {

void registerForms(Program& program) {
    registerInputForms(program);   // FORM2, FORM3, FORM4, FORM5
    registerSectionForms(program); // FORM16
}

} // namespace rahmen
