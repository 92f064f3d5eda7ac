#include "main/FormRegistry.h"

#include "draw/Form13.h"
#include "forms/InputForms.h"
#include "forms/LoadForms.h"
#include "forms/SectionForms.h"

namespace rahmen {

void registerForms(Program& program) {
    registerInputForms(program);   // FORM2, FORM3, FORM4, FORM5
    registerLoadForms(program);    // FORM6, FORM7, FORM9, FORM10
    registerSectionForms(program); // FORM16
    registerPlotForms(program);    // FORM13
}

} // namespace rahmen
