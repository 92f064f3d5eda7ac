#include "forms/Form14.h"
#include "MenuStandIn.h"
#include "forms/Form15.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace rahmen::testing {
namespace {

// A steel grid of one bay and two storeys laid out by the grid form.
class MemberSettings : public ::testing::Test {
protected:
    MemberSettings() : p(Program::create(platform.services())) {
        registerGridForms(*p);
        p->mainMenu = &menu;
        Form* grid = p->openForm("FORM15");
        for (const auto& [field, text] : {std::pair{"EDIT143", "6"},
                                          {"EDIT144", "5"},
                                          {"EDIT145", "1"},
                                          {"EDIT146", "1"},
                                          {"EDIT147", "2"},
                                          {"EDIT148", "3"}})
            grid->typeText(field, text);
        grid->click("BUTTON84");
        f = p->formAs<Form14>("FORM14");
    }

    ScriptedPlatform platform;
    std::unique_ptr<Program> p;
    MenuStandIn menu;
    Form14* f = nullptr;
};

TEST_F(MemberSettings, EverySettingIsCheckedBeforeATypeIsMade) {
    const struct {
        const char* group; // "" none chosen
        const char* first;
        const char* last;
        const char* family;
        const char* button;
        const char* message;
    } cases[] = {
        {"", "1", "2", "RADIO28", "BUTTON82", "断面設定する部材を選択してください。"},
        {"", "1", "2", "", "BUTTON83", "断面設定する部材を選択してください。"},
        {"RADIO33", "1", "", "RADIO28", "BUTTON82", "断面設定する階数を入力してください。"},
        {"RADIO33", "1", "3", "RADIO28", "BUTTON82",
         "断面設定する階は 1～2 の範囲で、始めの階から終りの階の順に入力してください。"},
        {"RADIO34", "2", "1", "", "BUTTON83",
         "断面設定する階は 1～2 の範囲で、始めの階から終りの階の順に入力してください。"},
        {"RADIO34", "0", "1", "RADIO28", "BUTTON82",
         "断面設定する階は 1～2 の範囲で、始めの階から終りの階の順に入力してください。"},
        {"RADIO31", "1", "2", "", "BUTTON82", "形鋼の種類と断面を選択してください。"},
        {"RADIO31", "1", "2", "", "BUTTON83",
         "断面積、断面二次モーメント、ねじり定数には 0 より大きい値を入力してください。"},
    };
    ASSERT_NE(f, nullptr);
    for (const auto& c : cases) {
        if (*c.group) {
            f->click(c.group);
        } else {
            f->c("RADIO31").checked = false;
            f->MemberGroup = 0;
        }
        if (*c.family) f->click(c.family);
        f->typeText("EDIT157", c.first);
        f->typeText("EDIT158", c.last);
        for (const char* box : {"EDIT161", "EDIT162", "EDIT163"})
            f->typeText(box, "10");
        f->typeText("EDIT164", "0");
        f->click(c.button);
        ASSERT_FALSE(platform.dialogs.messages().empty());
        EXPECT_EQ(platform.dialogs.messages().back().text, c.message) << c.button;
        EXPECT_EQ(f->TypesMade, 0) << c.message;
        EXPECT_EQ(p->model.MemberTypeNo[1], 0) << c.message;
        f->c("COMBO6").selected = -1;
        f->SteelFamily = 0;
    }
}

TEST_F(MemberSettings, EachOpeningStartsAfresh) {
    ASSERT_NE(f, nullptr);
    f->click("RADIO28");
    f->typeText("EDIT158", "2");
    f->click("BUTTON82");
    EXPECT_EQ(f->Progress, 1);
    EXPECT_EQ(f->TypesMade, 1);
    f = dynamic_cast<Form14*>(p->openForm("FORM14"));
    EXPECT_EQ(f->Progress, 0);
    EXPECT_EQ(f->TypesMade, 0);
    EXPECT_EQ(p->model.SteelTypeCount, 0);
}

} // namespace
} // namespace rahmen::testing
