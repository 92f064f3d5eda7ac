#pragma once
// A program with the input forms registered, a stand-in main menu holding the
// buttons the table-input workflow enables, and scripted dialogs.

#include "MenuStandIn.h"
#include "forms/InputForms.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace rahmen::testing {

class InputFormsTest : public ::testing::Test {
protected:
    InputFormsTest() : p(Program::create(platform.services())) {
        registerInputForms(*p);
        p->mainMenu = &menu;
    }

    Model& model() { return p->model; }
    ScriptedDialogs& dialogs() { return platform.dialogs; }

    // The texts of the messages shown so far.
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const MessageCall& call : platform.dialogs.messages())
            texts.push_back(call.text);
        return texts;
    }

    // Types the texts into the named boxes, in order.
    static void type(Form& form, std::initializer_list<std::pair<std::string, std::string>> boxes) {
        for (const auto& [box, text] : boxes)
            ASSERT_TRUE(form.typeText(box, text)) << box;
    }

    ScriptedPlatform platform;
    MenuStandIn menu;
    std::unique_ptr<Program> p;
};

} // namespace rahmen::testing
