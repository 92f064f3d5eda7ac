#include "gui/FormPictures.h"

#include "draw/Projection.h"
#include "edit/Form8.h"
#include "forms/Form4.h"
#include "forms/InputForms.h"
#include "model/Program.h"
#include "platform/Form.h"

#include <algorithm>
#include <cctype>
#include <functional>
#include <initializer_list>
#include <utility>

namespace rahmen {

namespace {

// What one picture does once its form is open; false with `error` set when a
// step fails.
using Fill = std::function<bool(Form&, std::string&)>;

struct Step {
    const char* control;
    const char* text; // nullptr: a click
};

// Types the texts and clicks the controls in order, as a user would.
bool act(Form& form, std::initializer_list<Step> steps, std::string& error) {
    for (const Step& s : steps) {
        const bool done = s.text ? form.typeText(s.control, s.text) : form.click(s.control);
        if (!done) {
            error =
                form.name() + ": " + (s.text ? "cannot type into " : "cannot click ") + s.control;
            return false;
        }
    }
    return true;
}

// How a picture's form is opened: by name, the way its opener opens it.
using Open = std::function<Form*(Program&)>;

Open openByName(const char* name, const char* focus = nullptr) {
    return [name, focus](Program& p) {
        Form* form = p.openForm(name);
        if (form && focus) form->setFocus(focus);
        return form;
    };
}

Open openTypeForm(int16_t mode) {
    return [mode](Program& p) -> Form* { return openMemberTypeForm(p, mode); };
}

// The release form as the member form's row buttons (modes 1, 2) or the
// editing window (modes 3, 4) open it.
Open openReleaseForm(int16_t member, int16_t choice) {
    return [member, choice](Program& p) {
        p.model.CurrentMember = member;
        p.PinSpringChoice = choice;
        return p.openForm("FORM7");
    };
}

// The grid form with a 2 x 1 bay, 3-storey grid typed in.
Open openGridForm() {
    return [](Program& p) -> Form* {
        Form* grid = p.openForm("FORM15");
        if (!grid) return nullptr;
        std::string error;
        if (!act(*grid,
                 {{"RADIO5", nullptr},
                  {"EDIT143", "6"},
                  {"EDIT145", "2"},
                  {"EDIT144", "5"},
                  {"EDIT146", "1"},
                  {"EDIT147", "3"},
                  {"EDIT148", "3.5"}},
                 error))
            return nullptr;
        return grid;
    };
}

// The plotting window in a mode, as the main menu opens it.
Open openPlotWindow(int16_t mode) {
    return [mode](Program& p) {
        p.PlotWindowMode = mode;
        return p.openForm("FORM13");
    };
}

// Left clicks on the form's picture.
bool pick(Form& form, std::initializer_list<std::pair<int, int>> points, std::string& error) {
    for (const auto& [x, y] : points) {
        if (!form.mouseDown(MouseButton::Left, x, y)) {
            error = form.name() + ": cannot click the picture";
            return false;
        }
    }
    return true;
}

struct Entry {
    FormPicture picture;
    Open open;
    Fill fill;
};

const std::vector<Entry>& entries() {
    static const std::vector<Entry> list = {
        {{"FORM2", "FORM2", "form2.png", "outline"},
         openByName("FORM2", "DTNAME"),
         [](Form& f, std::string& e) {
             return act(f,
                        {{"DTNAME", "例題"},
                         {"EDIT1", "6"},
                         {"EDIT2", "2"},
                         {"EDIT3", "6"},
                         {"EDIT4", "2"}},
                        e);
         }},
        {{"FORM3", "FORM3", "form3.png", "coordinates, first page of two"},
         openByName("FORM3"),
         [](Form& f, std::string& e) {
             return act(f,
                        {{"EDIT13", "0"},
                         {"EDIT18", "0"},
                         {"EDIT23", "0"},
                         {"EDIT14", "600"},
                         {"EDIT19", "0"},
                         {"EDIT24", "0"},
                         {"EDIT15", "0"},
                         {"EDIT20", "0"},
                         {"EDIT25", "350"},
                         {"EDIT16", "600"},
                         {"EDIT21", "0"},
                         {"EDIT26", "350"},
                         {"EDIT17", "0"},
                         {"EDIT22", "0"},
                         {"EDIT27", "700"}},
                        e);
         }},
        {{"FORM4", "FORM4", "form4.png", "member types as numbers (from the main menu)"},
         openTypeForm(1),
         [](Form& f, std::string& e) {
             return act(f,
                        {{"EDIT33", "100"},
                         {"EDIT38", "20000"},
                         {"EDIT43", "8000"},
                         {"EDIT48", "500"},
                         {"EDIT34", "1800"},
                         {"EDIT39", "540000"},
                         {"EDIT44", "135000"},
                         {"EDIT49", "370786"}},
                        e);
         }},
        {{"FORM4-RECT", "FORM4", "form4-rect.png", "member types as rectangles"},
         openTypeForm(1),
         [](Form& f, std::string& e) {
             return act(f,
                        {{"CHECK14", nullptr},
                         {"EDIT33", "60"},
                         {"EDIT38", "30"},
                         {"EDIT34", "45"},
                         {"EDIT39", "45"}},
                        e);
         }},
        {{"FORM4-16", "FORM4", "form4-16.png", "member types outside the section lists"},
         openTypeForm(16),
         [](Form& f, std::string& e) {
             return act(f,
                        {{"EDIT28", "3"},
                         {"EDIT33", "250"},
                         {"EDIT38", "90000"},
                         {"EDIT43", "30000"},
                         {"EDIT48", "1200"}},
                        e);
         }},
        {{"FORM16", "FORM16", "form16.png", "member types from the section lists"},
         openByName("FORM16"),
         [](Form& f, std::string& e) {
             if (!act(f, {{"RADIO10", nullptr}, {"RADIO14", nullptr}}, e)) return false;
             if (!f.choose("COMBO1", 6) || !f.choose("COMBO2", 3)) {
                 e = "FORM16: cannot choose a section";
                 return false;
             }
             return true;
         }},
        {{"FORM5", "FORM5", "form5.png", "members, first page of two"},
         openByName("FORM5"),
         [](Form& f, std::string& e) {
             return act(f,
                        {{"EDIT58", "1"},
                         {"EDIT85", "1"},
                         {"EDIT90", "3"},
                         {"EDIT59", "1"},
                         {"EDIT86", "2"},
                         {"EDIT91", "4"},
                         {"EDIT60", "1"},
                         {"EDIT87", "3"},
                         {"EDIT92", "5"},
                         {"EDIT61", "1"},
                         {"EDIT88", "4"},
                         {"EDIT93", "6"},
                         {"EDIT62", "2"},
                         {"EDIT89", "3"},
                         {"EDIT94", "4"}},
                        e);
         }},
        {{"FORM7-1", "FORM7", "form7-1.png", "pins of member 5 (member form)"},
         openReleaseForm(5, 1),
         nullptr},
        {{"FORM7-2", "FORM7", "form7-2.png", "springs of member 3 (member form)"},
         openReleaseForm(3, 2),
         nullptr},
        {{"FORM7-3", "FORM7", "form7-3.png", "pins of member 5 (editing window)"},
         openReleaseForm(5, 3),
         nullptr},
        {{"FORM7-4", "FORM7", "form7-4.png", "springs of member 3 (editing window)"},
         openReleaseForm(3, 4),
         nullptr},
        {{"FORM6", "FORM6", "form6.png", "supports"},
         openByName("FORM6", "EDIT68"),
         [](Form& f, std::string& e) {
             return act(f, {{"EDIT68", "1"}, {"EDIT69", "2"}}, e);
         }},
        {{"FORM8", "FORM8", "form8.png", "mouse editing: a type for the first-floor beam"},
         openByName("FORM8"),
         [](Form& f, std::string& e) {
             auto* edit = dynamic_cast<Form8*>(&f);
             if (!edit || !act(f, {{"RADIO62", nullptr}, {"RADIO53", nullptr}}, e)) return false;
             // Pick the beam's axis by its two end nodes, as a user clicks them.
             for (int node : {3, 4}) {
                 const PicturePoint at = nodePoint(edit->view, node);
                 f.mouseDown(MouseButton::Left, static_cast<int>(at.x), static_cast<int>(at.y));
             }
             return act(f, {{"RADIO63", nullptr}}, e) && f.choose("COMBO8", 1);
         }},
        {{"FORM11", "FORM11", "form11.png", "member property modification: an H-shape"},
         openByName("FORM11"),
         [](Form& f, std::string& e) {
             return act(f, {{"RADIO38", nullptr}}, e) && f.choose("COMBO7", 10);
         }},
        {{"FORM9", "FORM9", "form9.png", "analysis conditions"},
         openByName("FORM9"),
         [](Form& f, std::string& e) {
             return act(f, {{"RADIO1", nullptr}, {"RADIO28", nullptr}}, e);
         }},
        {{"FORM10", "FORM10", "form10.png", "loads, nodal loads"},
         openByName("FORM10"),
         [](Form& f, std::string& e) {
             return act(f,
                        {{"RADIO45", nullptr},
                         {"EDIT103", "5"},
                         {"EDIT108", "10"},
                         {"EDIT104", "6"},
                         {"EDIT109", "10"},
                         {"EDIT119", "-20"}},
                        e);
         }},
        {{"FORM15", "FORM15", "form15.png", "grid generation"}, openGridForm(), nullptr},
        {{"FORM18", "FORM18", "form18.png", "check conditions, member 5 chosen"},
         openByName("FORM18"),
         [](Form& f, std::string&) { return f.choose("LIST182", 4); }},
    };
    return list;
}

// The plotting window over the sample frame, pictured after the input forms
// (they take the results of the analysis the second picture runs).
const std::vector<Entry>& plotEntries() {
    static const std::vector<Entry> list{
        // The mouse analysis with
        // node 4 (at (254, 339.5) of its picture) picked and its load typed,
        // the deformation diagram of that analysis, and then, over its
        // results, the plane stress diagram of nodes 1, 3 and 5.
        {{"FORM13-1", "FORM13", "form13-1.png", "mouse analysis, a picked node"},
         openPlotWindow(1),
         [](Form& f, std::string& e) {
             return act(f, {{"RADIO55", nullptr}}, e) && pick(f, {{254, 340}}, e) &&
                    act(f, {{"EDIT192", "10"}, {"EDIT194", "-20"}}, e);
         }},
        {{"FORM13-2", "FORM13", "form13-2.png", "mouse analysis, its deformation diagram"},
         openPlotWindow(1),
         [](Form& f, std::string& e) {
             return act(f, {{"RADIO55", nullptr}}, e) && pick(f, {{254, 340}}, e) &&
                    act(f,
                        {{"EDIT192", "10"},
                         {"EDIT194", "-20"},
                         {"BUTTON86", nullptr},
                         {"BUTTON69", nullptr},
                         {"BUTTON69", nullptr}},
                        e);
         }},
        {{"FORM13-0", "FORM13", "form13-0.png", "data plotting, a plane stress diagram"},
         openPlotWindow(0),
         [](Form& f, std::string& e) {
             return act(f, {{"RADIO60", nullptr}, {"BUTTON69", nullptr}}, e) &&
                    pick(f, {{426, 356}, {426, 241}, {426, 125}}, e) &&
                    act(f, {{"BUTTON69", nullptr}}, e);
         }},
        // The frame diagram turned by three steps of the Z bar and two of the
        // X bar, as their arrows give them.
        {{"FORM13-3", "FORM13", "form13-3.png", "data plotting, the frame diagram turned"},
         openPlotWindow(0),
         [](Form& f, std::string& e) {
             if (!act(f, {{"RADIO56", nullptr}, {"BUTTON69", nullptr}}, e)) return false;
             const std::pair<const char*, int> steps[] = {{"HSCROLL1", 87},
                                                          {"HSCROLL1", 174},
                                                          {"HSCROLL1", 261},
                                                          {"VSCROLL1", 87},
                                                          {"VSCROLL1", 174}};
             for (const auto& [bar, position] : steps) {
                 if (f.scrollTo(bar, position)) continue;
                 e = f.name() + ": cannot move " + bar;
                 return false;
             }
             return true;
         }},
        // The enlarged frame diagram with "荷重表示" on: the sample frame's
        // loads as arrows with their values.
        {{"FORM13-5", "FORM13", "form13-5.png", "data plotting, the frame diagram with its loads"},
         openPlotWindow(0),
         [](Form& f, std::string& e) {
             return act(f,
                        {{"RADIO56", nullptr},
                         {"BUTTON69", nullptr},
                         {"CHECK131", nullptr},
                         {"BUTTON79", nullptr}},
                        e);
         }},
        // The mouse analysis after a nodal load on node 4 and a uniform load
        // on the top beam (nodes 5 and 6, at (426, 125) and (254, 224)):
        // the loaded node and member as they are drawn, and the status line
        // the window starts picking with.
        {{"FORM13-4", "FORM13", "form13-4.png", "mouse analysis, loads applied"},
         openPlotWindow(1),
         [](Form& f, std::string& e) {
             return act(f, {{"RADIO55", nullptr}}, e) && pick(f, {{254, 340}}, e) &&
                    act(f,
                        {{"EDIT192", "10"},
                         {"EDIT194", "-20"},
                         {"BUTTON86", nullptr},
                         {"CHECK15", nullptr}},
                        e) &&
                    pick(f, {{426, 125}, {254, 224}}, e) &&
                    act(f, {{"EDIT194", "-12"}, {"BUTTON86", nullptr}, {"CHECK15", nullptr}}, e);
         }},
        // The editing window after "部材分割" of the top beam 5-6, picked by its
        // end nodes. Last of all, since it changes the model.
        {{"FORM8-2", "FORM8", "form8-2.png", "mouse editing: the top beam split"},
         openByName("FORM8"),
         [](Form& f, std::string& e) {
             auto* edit = dynamic_cast<Form8*>(&f);
             if (!edit || !act(f, {{"RADIO51", nullptr}}, e)) return false;
             for (int node : {5, 6}) {
                 const PicturePoint at = nodePoint(edit->view, node);
                 if (!pick(f, {{static_cast<int>(at.x), static_cast<int>(at.y)}}, e)) return false;
             }
             return act(f, {{"BUTTON87", nullptr}}, e);
         }},
        // Its enlarged view "拡大", with the pinned and sprung thirds.
        {{"FORM8-3", "FORM8", "form8-3.png", "mouse editing: the enlarged view"},
         openByName("FORM8"),
         [](Form& f, std::string& e) {
             return act(f, {{"BUTTON86", nullptr}}, e);
         }},
    };
    return list;
}

std::string upper(std::string text) {
    for (char& ch : text)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    return text;
}

std::string trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

const std::vector<FormPicture>& formPictures() {
    static const std::vector<FormPicture> list = [] {
        std::vector<FormPicture> pictures;
        for (const Entry& entry : entries())
            pictures.push_back(entry.picture);
        return pictures;
    }();
    return list;
}

const std::vector<FormPicture>& plotWindowPictures() {
    static const std::vector<FormPicture> list = [] {
        std::vector<FormPicture> pictures;
        for (const Entry& e : plotEntries())
            pictures.push_back(e.picture);
        return pictures;
    }();
    return list;
}

std::vector<FormPicture> chooseFormPictures(const std::string& list,
                                            std::vector<std::string>& unknown) {
    std::vector<std::string> names;
    std::size_t from = 0;
    while (from <= list.size()) {
        std::size_t comma = list.find(',', from);
        if (comma == std::string::npos) comma = list.size();
        const std::string name = upper(trimmed(list.substr(from, comma - from)));
        if (!name.empty()) names.push_back(name);
        from = comma + 1;
    }
    std::vector<bool> used(names.size(), false);
    std::vector<FormPicture> chosen;
    for (const FormPicture& picture : formPictures()) {
        bool take = false;
        for (std::size_t i = 0; i < names.size(); ++i) {
            if (names[i] == picture.id || names[i] == picture.form) {
                take = true;
                used[i] = true;
            }
        }
        if (take) chosen.push_back(picture);
    }
    for (std::size_t i = 0; i < names.size(); ++i)
        if (!used[i]) unknown.push_back(names[i]);
    return chosen;
}

void prepareSampleFrame(Program& program) {
    Model& m = program.model;
    m.resetAll();
    m.UnitFactor = kSiUnitFactor;
    m.DataName = "例題";

    // Two bays of 600 cm in X, storeys of 350 cm in Z (Z is vertical).
    const float nodes[6][3] = {{0, 0, 0},     {600, 0, 0}, {0, 0, 350},
                               {600, 0, 350}, {0, 0, 700}, {600, 0, 700}};
    m.NodeCount = 6;
    for (int n = 1; n <= 6; ++n) {
        m.NodeX[n] = nodes[n - 1][0];
        m.NodeY[n] = nodes[n - 1][1];
        m.NodeZ[n] = nodes[n - 1][2];
    }

    // Type 1 for the columns, type 2 (a 60 x 30 rectangle's numbers) for the
    // beams, both typed as numbers.
    const float types[2][4] = {{100, 20000, 8000, 500}, {1800, 540000, 135000, 370786}};
    m.MemberTypeCount = 2;
    for (int t = 1; t <= 2; ++t) {
        m.TypeArea[t] = types[t - 1][0];
        m.TypeIy[t] = types[t - 1][1];
        m.TypeIz[t] = types[t - 1][2];
        m.TypeJ[t] = types[t - 1][3];
        m.TypeShearAreaY[t] = types[t - 1][0];
        m.TypeShearAreaZ[t] = types[t - 1][0];
    }

    // Columns 1-3, 2-4, 3-5, 4-6, beams 3-4, 5-6.
    const int16_t members[6][3] = {{1, 1, 3}, {1, 2, 4}, {1, 3, 5},
                                   {1, 4, 6}, {2, 3, 4}, {2, 5, 6}};
    m.MemberCount = 6;
    for (int i = 1; i <= 6; ++i) {
        m.MemberTypeNo[i] = members[i - 1][0];
        m.MemberStartNode[i] = members[i - 1][1];
        m.MemberEndNode[i] = members[i - 1][2];
        m.copyTypeToMember(i, m.MemberTypeNo[i]);
    }
    m.PinEndZ[5] = -1;         // the first-floor beam is pinned about z at its end
    m.SpringStart[3][5] = 150; // 1.5 kN·m/rad about y at the foot of column 3-5
    for (int i = 1; i <= 6; ++i)
        m.updateEndSummaries(i);
    m.recountEndSummaries();

    m.SupportCount = 2;
    m.NodeIsSupport[1] = -1;
    m.NodeIsSupport[2] = -1;

    m.YoungModulus = 205000;
    m.ShearModulus = 79000;
    m.ShearShapeFactor = 1.2f;
}

Form* openFormPicture(Program& program, const FormPicture& picture, std::string& error) {
    const auto same = [&](const Entry& e) { return e.picture.id == picture.id; };
    auto it = std::find_if(entries().begin(), entries().end(), same);
    if (it == entries().end()) it = std::find_if(plotEntries().begin(), plotEntries().end(), same);
    if (it == plotEntries().end() || !program.hasForm(it->picture.form)) {
        error = picture.id + ": no such form";
        return nullptr;
    }
    Form* form = it->open(program);
    if (!form || !form->isOpen()) {
        error = picture.id + ": the form did not open";
        return nullptr;
    }
    if (it->fill && !it->fill(*form, error)) {
        form->close();
        return nullptr;
    }
    return form;
}

} // namespace rahmen
