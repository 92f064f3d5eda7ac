#include "main/FormRegistry.h"

#include "draw/Form13.h"
#include "edit/Form8.h"
#include "forms/Form15.h"
#include "forms/InputForms.h"
#include "forms/LoadForms.h"
#include "forms/SectionForms.h"
#include "report/ReportForm.h"

namespace rahmen {

void registerForms(Program& program) {
    registerInputForms(program);   // FORM2, FORM3, FORM4, FORM5
    registerLoadForms(program);    // FORM6, FORM7, FORM9, FORM10
    registerSectionForms(program); // FORM11, FORM16
    registerEditForms(program);    // FORM8
    registerGridForms(program);    // FORM14, FORM15
    registerPlotForms(program);    // FORM13
    registerReportForms(program);  // FORM20
}

} // namespace rahmen
