#include "forms/Form2.h"

#include "InputFormsFixture.h"

namespace rahmen::testing {
namespace {

class Form2Test : public InputFormsTest {
protected:
    Form& openOutline() {
        Form* form = p->openForm("FORM2");
        EXPECT_NE(form, nullptr);
        return *form;
    }
    void typeOutline(Form& f, const std::string& name, const std::string& nodes,
                     const std::string& types, const std::string& members,
                     const std::string& supports) {
        type(f, {{"DTNAME", name},
                 {"EDIT1", nodes},
                 {"EDIT2", types},
                 {"EDIT3", members},
                 {"EDIT4", supports}});
    }
};

TEST_F(Form2Test, OpensCentredWithItsCaptionsAndTheFocusOnTheDataName) {
    p->FontOffset = 3;
    Form& f = openOutline();
    EXPECT_EQ(f.caption(), "概要入力");
    EXPECT_EQ(f.c("TEXT3").caption, "これから作成するデータファイル名（拡張子を除く）");
    EXPECT_EQ(f.c("TEXT4").caption, "節点数");
    EXPECT_EQ(f.c("TEXT5").caption, "部材種類数");
    EXPECT_EQ(f.c("TEXT6").caption, "部材数");
    EXPECT_EQ(f.c("TEXT7").caption, "支持点数");
    EXPECT_EQ(f.c("TEXT52").caption, "入力は　Tabキー　によってフォーカスを移動できます。");
    EXPECT_EQ(f.c("BUTTON6").caption, "終了");
    EXPECT_EQ(f.c("BUTTON7").caption, "キャンセル");
    EXPECT_EQ(f.c("BUTTON54").caption, "ヘルプ");
    EXPECT_EQ(f.focus(), "DTNAME");
    EXPECT_EQ(f.c("EDIT1").fontSize, 12);
    EXPECT_EQ(f.left(), (1024 - f.width()) / 2);
    EXPECT_EQ(f.top(), (768 - f.height()) / 2);

    // Tab runs from the name through the four counts to the buttons.
    std::vector<std::string> order;
    for (const Control& control : f.controls())
        if (control.kind == ControlKind::Edit || control.kind == ControlKind::Button)
            order.push_back(control.name);
    EXPECT_EQ(order, (std::vector<std::string>{"DTNAME", "EDIT1", "EDIT2", "EDIT3", "EDIT4",
                                               "BUTTON6", "BUTTON7", "BUTTON54"}));
}

TEST_F(Form2Test, AcceptingStoresTheCountsAndMovesTheMenuOnToCoordinates) {
    menu.enableOnly({"BUTTON27", "BUTTON84", "BUTTON52", "BUTTON68", "BUTTON91"});
    Form& f = openOutline();
    typeOutline(f, "frame1", "12", "3", "17.6", "4");
    ASSERT_TRUE(f.click("BUTTON6"));

    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().DataName, "frame1");
    EXPECT_EQ(model().NodeCount, 12);
    EXPECT_EQ(model().MemberTypeCount, 3);
    EXPECT_EQ(model().MemberCount, 18); // counts are rounded
    EXPECT_EQ(model().SupportCount, 4);
    EXPECT_TRUE(menu.c("BUTTON1").enabled);
    EXPECT_TRUE(menu.c("BUTTON70").enabled);
    for (const char* off : {"BUTTON27", "BUTTON52", "BUTTON68", "BUTTON84", "BUTTON91"})
        EXPECT_FALSE(menu.c(off).enabled) << off;
    EXPECT_EQ(menu.focus(), "BUTTON1");
    EXPECT_TRUE(messages().empty());
}

TEST_F(Form2Test, EmptyAndNonNumericCountsStoreZero) {
    Form& f = openOutline();
    typeOutline(f, "a", "", "abc", " 7x", "");
    f.click("BUTTON6");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().NodeCount, 0);
    EXPECT_EQ(model().MemberTypeCount, 0);
    EXPECT_EQ(model().MemberCount, 7);
    EXPECT_EQ(model().SupportCount, 0);
}

TEST_F(Form2Test, ANameWhoseFilesExistIsRefusedEvenWhenOnlyTheAnalysisFileExists) {
    ASSERT_TRUE(platform.files.writeAtomic("old.adt", "x"));
    menu.enableOnly({"BUTTON27"});
    Form& f = openOutline();
    typeOutline(f, "old", "5", "1", "4", "2");
    f.click("BUTTON6");

    EXPECT_TRUE(f.isOpen());
    ASSERT_EQ(dialogs().messages().size(), 1u);
    const MessageCall& call = dialogs().messages()[0];
    EXPECT_EQ(call.title, "rahmen");
    EXPECT_EQ(call.text, "既存の同名ﾃﾞｰﾀがありますﾃﾞｰﾀﾌｧｲﾙ名を変えてください。");
    EXPECT_EQ(call.buttons, MessageButtons::Ok);
    EXPECT_EQ(call.icon, MessageIcon::Exclamation);
    EXPECT_EQ(model().NodeCount, 0);
    EXPECT_TRUE(menu.c("BUTTON27").enabled);
    EXPECT_FALSE(menu.c("BUTTON1").enabled);

    // Another name goes through.
    f.typeText("DTNAME", "new");
    f.click("BUTTON6");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().DataName, "new");
    EXPECT_EQ(model().NodeCount, 5);
}

TEST_F(Form2Test, CountsBeyondTheProgramsLimitsAreRefusedNamingTheLimit) {
    Form& f = openOutline();
    typeOutline(f, "big", "1501", "100", "3000", "10");
    f.click("BUTTON6");
    EXPECT_TRUE(f.isOpen());
    EXPECT_EQ(f.focus(), "EDIT1");
    EXPECT_EQ(messages(),
              (std::vector<std::string>{"節点数は 1500 までです（1501 が指定されました）。"}));
    EXPECT_EQ(model().NodeCount, 0);
    EXPECT_EQ(model().MemberTypeCount, 0); // nothing stored while one count is refused

    f.typeText("EDIT1", "1500");
    f.typeText("EDIT2", "101");
    f.click("BUTTON6");
    EXPECT_EQ(messages().back(), "部材種類数は 100 までです（101 が指定されました）。");
    f.typeText("EDIT2", "100");
    f.typeText("EDIT3", "40000"); // beyond a 16-bit count as well
    f.click("BUTTON6");
    EXPECT_EQ(messages().back(), "部材数は 3000 までです（40000 が指定されました）。");
    f.typeText("EDIT3", "3000");
    f.typeText("EDIT4", "-2");
    f.click("BUTTON6");
    EXPECT_EQ(messages().back(), "支持点数に負の値 -2 は指定できません。");
    EXPECT_EQ(model().MemberCount, 0);

    f.typeText("EDIT4", "1500");
    f.click("BUTTON6");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().NodeCount, 1500);
    EXPECT_EQ(model().MemberTypeCount, 100);
    EXPECT_EQ(model().MemberCount, 3000);
    EXPECT_EQ(model().SupportCount, 1500);
    EXPECT_EQ(messages().size(), 4u);
}

TEST_F(Form2Test, CancelStoresNothingAndHelpOpensItsTopic) {
    menu.enableOnly({"BUTTON27"});
    Form& f = openOutline();
    typeOutline(f, "frame1", "12", "3", "17", "4");
    f.click("BUTTON54");
    ASSERT_EQ(dialogs().helps().size(), 1u);
    EXPECT_EQ(dialogs().helps()[0].file, "rahmen.hlp");
    EXPECT_EQ(dialogs().helps()[0].keyword, "概要入力");
    f.click("BUTTON7");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().DataName, "");
    EXPECT_EQ(model().NodeCount, 0);
    EXPECT_TRUE(menu.c("BUTTON27").enabled);
    EXPECT_FALSE(menu.c("BUTTON1").enabled);
}

} // namespace
} // namespace rahmen::testing
