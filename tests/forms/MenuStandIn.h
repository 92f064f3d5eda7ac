#pragma once
// A stand-in for the main menu in the form tests: every button the workflow
// enables or disables and the two unit radio buttons, under their design
// names. One definition for the whole test executable.

#include "platform/Form.h"

#include <initializer_list>

namespace rahmen::testing {

class MenuStandIn : public Form {
public:
    MenuStandIn() : Form("MAINFORM", "プログラムメニュー", 400, 300) {
        for (const char* name :
             {"BUTTON1", "BUTTON2", "BUTTON3", "BUTTON4", "BUTTON27", "BUTTON28", "BUTTON29",
              "BUTTON35", "BUTTON52", "BUTTON68", "BUTTON70", "BUTTON84", "BUTTON88", "BUTTON91",
              "BUTTON92", "BUTTON93", "BUTTON94"})
            addButton(name, name, 0, 0, 10, 10);
        addRadio("RADIO65", "SI単位", 0, 0, 10, 10, "units").checked = true;
        addRadio("RADIO66", "旧単位", 0, 0, 10, 10, "units");
    }
    void enableOnly(std::initializer_list<const char*> names) {
        for (Control& control : controls())
            control.enabled = false;
        for (const char* name : names)
            c(name).enabled = true;
    }
};

} // namespace rahmen::testing
