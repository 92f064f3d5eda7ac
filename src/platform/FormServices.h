#pragma once
// The services every form uses when it opens: the font adjustment and
// centring on the screen.

#include <string>

namespace rahmen {

class Desktop;
class Form;

// Sets the font size of the named control of the form to its current size plus
// the offset.
void XPOFSETFONT(const std::string& control, int offset, Form& form);

// Applies XPOFSETFONT with the offset to every control of the form (what each
// form's FORMn_INITXP does when it opens).
void applyFontOffset(Form& form, int offset);

// Moves the form so that it is centred on the screen.
void CENTER_ON(Form& form, Desktop& desktop);

} // namespace rahmen
