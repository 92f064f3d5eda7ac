#pragma once
// The pictures of the input forms in the documentation. A small two-storey
// frame is put into the model, and each form is opened over it the way its
// opener opens it (the main menu, the member form's pin and spring buttons,
// the section list's "リスト外入力"), with one page filled in as a user would
// fill it, so that the picture shows the form in use. Nothing here knows Qt:
// the caller grabs the form's window and closes the form.

#include <string>
#include <vector>

namespace rahmen {

class Form;
class Program;

struct FormPicture {
    std::string id;   // "FORM4-16": the form's name, then the variant
    std::string form; // "FORM4": the form that is opened
    std::string file; // "form4-16.png"
    std::string what; // a short description (for the log)
};

// Every picture, in the order a person meets the forms.
const std::vector<FormPicture>& formPictures();

// The pictures of the plotting window (FORM13): the mouse analysis with a
// picked node, its deformation diagram, a plane stress diagram of the
// results and the frame diagram turned by its scroll bars; then the editing
// window (FORM8) after a member split and in its enlarged view. Taken after the input forms' pictures,
// in this order, since the second runs the analysis the third draws and the
// last changes the frame. openFormPicture() opens them too.
const std::vector<FormPicture>& plotWindowPictures();

// The pictures chosen by a comma-separated list of picture ids or form names
// (a form name chooses all pictures of that form), in the order of
// formPictures(). Names that choose nothing are returned in `unknown`.
std::vector<FormPicture> chooseFormPictures(const std::string& list,
                                            std::vector<std::string>& unknown);

// Replaces the model by the sample frame: six nodes over two storeys, two
// member types, six members (a pin at the end of member 5, a rotational spring
// at the start of member 3), supports at nodes 1 and 2, steel constants; SI
// units, data name "例題". No file is written.
void prepareSampleFrame(Program& program);

// Opens the form of the picture over the sample frame and fills it. Returns
// the open form, or nullptr (with the failing step in `error`) when the form
// is not registered or a step could not be done as a user would.
Form* openFormPicture(Program& program, const FormPicture& picture, std::string& error);

} // namespace rahmen
