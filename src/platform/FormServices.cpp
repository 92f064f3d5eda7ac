#include "platform/FormServices.h"

#include "platform/Desktop.h"
#include "platform/Form.h"

namespace rahmen {

void XPOFSETFONT(const std::string& control, int offset, Form& form) {
    if (form.has(control)) form.c(control).fontSize += offset;
}

void applyFontOffset(Form& form, int offset) {
    for (Control& control : form.controls())
        control.fontSize += offset;
}

void CENTER_ON(Form& form, Desktop& desktop) {
    desktop.centerForm(form);
}

} // namespace rahmen
