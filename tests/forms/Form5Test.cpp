#include "forms/Form5.h"

#include "InputFormsFixture.h"

#include "forms/LoadForms.h"

namespace rahmen::testing {
namespace {

// Stands in for the release form: records what it was opened for.
class ReleaseStandIn : public Form {
public:
    ReleaseStandIn(Program& p, std::vector<std::pair<int, int>>& seen)
        : Form("FORM7", "ピン・バネ入力", 300, 200), p_(p), seen_(seen) {}

protected:
    void start() override { seen_.emplace_back(p_.model.CurrentMember, p_.PinSpringChoice); }

private:
    Program& p_;
    std::vector<std::pair<int, int>>& seen_;
};

class Form5Test : public InputFormsTest {
protected:
    Form5Test() {
        p->registerForm("FORM7", [this](Program& program) {
            return std::make_unique<ReleaseStandIn>(program, releases);
        });
        Model& m = model();
        m.NodeCount = 12;
        m.MemberTypeCount = 3;
        for (int t = 1; t <= 3; ++t) {
            m.TypeArea[t] = 100.0f * t;
            m.TypeShearAreaY[t] = 10.0f * t;
            m.TypeShearAreaZ[t] = 20.0f * t;
            m.TypeIy[t] = 1000.0f * t;
            m.TypeIz[t] = 2000.0f * t;
            m.TypeJ[t] = 3000.0f * t;
        }
    }
    Form5& openMembers(int members) {
        model().MemberCount = static_cast<int16_t>(members);
        Form5* form = dynamic_cast<Form5*>(p->openForm("FORM5"));
        EXPECT_NE(form, nullptr);
        return *form;
    }
    static void typeRow(Form& f, int k, const std::string& type, const std::string& angle,
                        const std::string& start, const std::string& end) {
        InputFormsTest::type(f, {{Form5::typeBox(k), type},
                                 {Form5::angleBox(k), angle},
                                 {Form5::startBox(k), start},
                                 {Form5::endBox(k), end}});
    }
    static std::vector<std::string> column(const Form& f, std::string (*box)(int)) {
        std::vector<std::string> texts;
        for (int k = 1; k <= 5; ++k)
            texts.push_back(f.c(box(k)).caption);
        return texts;
    }

    std::vector<std::pair<int, int>> releases; // (CurrentMember, PinSpringChoice) at FORM7's start
};

TEST_F(Form5Test, OpensOnTheFirstPageAndCountsTheSprungEndsTheMembersHold) {
    model().MemberStartSprung[2] = 1;
    model().MemberEndSprung[2] = 1;
    model().MemberEndSprung[6] = 1;
    model().MemberStartPinned[4] = 1;
    model().SprungEndCount = 0; // out of step with the members
    p->PinSpringChoice = 4;
    Form5& f = openMembers(7);

    EXPECT_EQ(model().SprungEndCount, 3); // springs are never dropped from the count
    EXPECT_EQ(model().PinnedEndCount, 1);
    EXPECT_EQ(p->PinSpringChoice, 0);
    EXPECT_EQ(f.caption(), "部材入力");
    EXPECT_EQ(column(f, Form5::memberBox), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(column(f, Form5::angleBox), (std::vector<std::string>{"0", "0", "0", "0", "0"}));
    EXPECT_FALSE(f.c("EDIT53").enabled);
    EXPECT_EQ(f.focus(), "EDIT58");
    EXPECT_TRUE(f.c("BUTTON14").enabled);
    EXPECT_FALSE(f.c("BUTTON15").enabled);
    EXPECT_EQ(f.c("BUTTON17").caption, "有");
    EXPECT_EQ(f.c("BUTTON26").caption, "有");
    EXPECT_EQ(f.c("TEXT54").caption,
              "＊必ず  始点（節点番号）＜終点（節点番号）  となるように入力してください。");

    // Tab: type, angle, start, end and the two buttons of a row, then the next row.
    std::vector<std::string> order;
    for (const Control& control : f.controls())
        if ((control.kind == ControlKind::Edit || control.kind == ControlKind::Button) &&
            control.enabled)
            order.push_back(control.name);
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 7),
              (std::vector<std::string>{"EDIT58", "EDIT63", "EDIT85", "EDIT90", "BUTTON17",
                                        "BUTTON22", "EDIT59"}));
}

TEST_F(Form5Test, StoringCopiesTheTypesPropertiesAndPagesOnToTheLastMembers) {
    menu.enableOnly({"BUTTON2"});
    Form5& f = openMembers(7);
    typeRow(f, 1, "1", "0", "1", "2");
    typeRow(f, 2, "3", "1.5708", "2", "3");
    typeRow(f, 3, "2", "", "3", "4");
    typeRow(f, 4, "1", "0", "4", "9");
    typeRow(f, 5, "2.4", "0", "5", "10.6");
    ASSERT_TRUE(f.click("BUTTON14"));

    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(model().MemberTypeNo[2], 3);
    EXPECT_EQ(model().MemberArea[2], 300.0f);
    EXPECT_EQ(model().MemberShearAreaY[2], 30.0f);
    EXPECT_EQ(model().MemberShearAreaZ[2], 60.0f);
    EXPECT_EQ(model().MemberIy[2], 3000.0f);
    EXPECT_EQ(model().MemberIz[2], 6000.0f);
    EXPECT_EQ(model().MemberJ[2], 9000.0f);
    EXPECT_FLOAT_EQ(model().MemberAngle[2], 1.5708f);
    EXPECT_EQ(model().MemberStartNode[2], 2);
    EXPECT_EQ(model().MemberEndNode[2], 3);
    EXPECT_EQ(model().MemberTypeNo[5], 2);
    EXPECT_EQ(model().MemberEndNode[5], 11);

    EXPECT_EQ(f.MemberPage, 1);
    EXPECT_EQ(column(f, Form5::memberBox), (std::vector<std::string>{"6", "7", "8", "9", "10"}));
    EXPECT_EQ(column(f, Form5::typeBox), (std::vector<std::string>{"", "", "", "", ""}));
    EXPECT_EQ(column(f, Form5::startBox), (std::vector<std::string>{"", "", "", "", ""}));
    EXPECT_EQ(column(f, Form5::angleBox), (std::vector<std::string>{"0", "0", "0", "0", "0"}));
    EXPECT_FALSE(f.c("BUTTON14").enabled);
    EXPECT_TRUE(f.c("BUTTON15").enabled);
    EXPECT_EQ(f.focus(), "EDIT58");

    // A type changed later does not reach the members already entered.
    model().TypeArea[3] = 1;
    typeRow(f, 1, "1", "0", "6", "7");
    typeRow(f, 2, "1", "0", "7", "8");
    f.click("BUTTON15");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().MemberArea[2], 300.0f);
    EXPECT_EQ(model().MemberStartNode[7], 7);
    EXPECT_EQ(model().MemberTypeNo[8], 0); // rows past the last member stay empty
    EXPECT_TRUE(menu.c("BUTTON29").enabled);
    EXPECT_FALSE(menu.c("BUTTON2").enabled);
}

TEST_F(Form5Test, AStartNodeAboveTheEndNodeKeepsThePageUntilItIsCorrected) {
    Form5& f = openMembers(10);
    typeRow(f, 1, "1", "0", "1", "2");
    typeRow(f, 2, "2", "0", "12", "5");
    for (int k = 3; k <= 5; ++k)
        typeRow(f, k, "1", "0", "1", "3");
    f.click("BUTTON14");

    ASSERT_EQ(dialogs().messages().size(), 1u);
    const MessageCall& call = dialogs().messages()[0];
    EXPECT_EQ(call.text, "始点(節点番号)<終点(節点番号)として下さい｡");
    EXPECT_EQ(call.title, "rahmen");
    EXPECT_EQ(call.buttons, MessageButtons::Ok);
    EXPECT_EQ(call.icon, MessageIcon::Exclamation);
    EXPECT_TRUE(f.isOpen());
    EXPECT_EQ(f.MemberPage, 0);
    EXPECT_EQ(f.c("EDIT86").caption, "12");    // the page stays on screen...
    EXPECT_EQ(model().MemberStartNode[2], 12); // ...and stays stored
    EXPECT_EQ(model().MemberEndNode[2], 5);

    f.typeText("EDIT86", "5");
    f.typeText("EDIT91", "12");
    f.click("BUTTON14");
    EXPECT_EQ(f.MemberPage, 1);
    EXPECT_EQ(model().MemberStartNode[2], 5);
    EXPECT_EQ(model().MemberEndNode[2], 12);
    EXPECT_EQ(dialogs().messages().size(), 1u);
}

TEST_F(Form5Test, WithThreeMembersTheEmptyRowsFourAndFivePass) {
    Form5& f = openMembers(3);
    EXPECT_FALSE(f.c("BUTTON14").enabled);
    EXPECT_TRUE(f.c("BUTTON15").enabled);
    model().MemberStartNode[4] = 9; // left over: overwritten by the empty row
    for (int k = 1; k <= 3; ++k)
        typeRow(f, k, "1", "0", std::to_string(k), std::to_string(k + 1));
    f.click("BUTTON15");
    EXPECT_FALSE(f.isOpen());
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(model().MemberTypeNo[4], 0);
    EXPECT_EQ(model().MemberStartNode[4], 0);
    EXPECT_EQ(model().MemberEndNode[5], 0);
    EXPECT_EQ(model().MemberArea[4], 0.0f);
}

TEST_F(Form5Test, RowsNamingATypeOrNodeOutsideTheModelAreRefusedBeforeAnythingIsStored) {
    Form5& f = openMembers(4);
    typeRow(f, 1, "1", "0", "1", "2");
    typeRow(f, 2, "4", "0", "2", "3");
    f.click("BUTTON15");
    EXPECT_TRUE(f.isOpen());
    EXPECT_EQ(
        messages().back(),
        "部材No2：タイプNo 4 の部材タイプはありません（タイプNoは 1～3）。修正してください。");
    EXPECT_EQ(f.focus(), "EDIT59");
    EXPECT_EQ(model().MemberTypeNo[1], 0); // row 1 was not stored either

    f.typeText("EDIT59", "3");
    f.typeText("EDIT91", "13");
    f.click("BUTTON15");
    EXPECT_EQ(messages().back(),
              "部材No2：節点番号 13 の節点はありません（節点番号は 1～12）。修正してください。");
    EXPECT_EQ(f.focus(), "EDIT91");

    f.typeText("EDIT91", "3");
    f.click("BUTTON15"); // members 3 and 4 are empty: a member needs a type and nodes
    EXPECT_EQ(
        messages().back(),
        "部材No3：タイプNo 0 の部材タイプはありません（タイプNoは 1～3）。修正してください。");

    typeRow(f, 3, "2", "0", "3", "4");
    typeRow(f, 4, "2", "0", "-1", "4");
    f.click("BUTTON15");
    EXPECT_EQ(messages().back(),
              "部材No4：節点番号 -1 の節点はありません（節点番号は 1～12）。修正してください。");

    typeRow(f, 4, "2", "0", "4", "5");
    typeRow(f, 5, "", "0", "", "99999"); // past the last member, yet outside the nodes
    f.click("BUTTON15");
    EXPECT_EQ(messages().back(),
              "部材No5：節点番号 99999 の節点はありません（節点番号は 1～12）。修正してください。");
    EXPECT_EQ(model().MemberTypeNo[1], 0);

    f.typeText("EDIT94", "");
    f.click("BUTTON15");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().MemberTypeNo[1], 1);
    EXPECT_EQ(model().MemberEndNode[4], 5);
    EXPECT_EQ(messages().size(), 5u);
}

TEST_F(Form5Test, PinAndSpringButtonsOpenTheReleaseFormForTheRowsMember) {
    Form5& f = openMembers(9);
    // The release form is modal: the member form takes input again once it
    // has closed.
    auto release = [&](const char* button) {
        ASSERT_TRUE(f.click(button)) << button;
        EXPECT_FALSE(f.click("BUTTON57"));
        p->form("FORM7")->close();
    };
    release("BUTTON18"); // before the page is stored
    for (int k = 1; k <= 5; ++k)
        typeRow(f, k, "1", "0", "1", "2");
    f.click("BUTTON14");
    release("BUTTON19");
    release("BUTTON22");
    release("BUTTON26");
    EXPECT_EQ(releases, (std::vector<std::pair<int, int>>{{2, 1}, {8, 1}, {6, 2}, {10, 2}}));
    EXPECT_EQ(model().CurrentMember, 10);
    EXPECT_TRUE(f.isOpen());

    f.click("BUTTON57");
    ASSERT_EQ(dialogs().helps().size(), 1u);
    EXPECT_EQ(dialogs().helps()[0].keyword, "部材入力");
    f.click("BUTTON16");
    EXPECT_FALSE(f.isOpen());
}

TEST_F(Form5Test, SpringsGivenThroughTheReleaseFormStayCountedWhenTheFormOpensAgain) {
    registerLoadForms(*p); // the real release form
    menu.enableOnly({"BUTTON2"});
    Form5& f = openMembers(2);
    ASSERT_TRUE(f.click("BUTTON22"));
    Form* release = p->form("FORM7");
    ASSERT_NE(release, nullptr);
    ASSERT_TRUE(release->isOpen());
    ASSERT_TRUE(release->typeText("EDIT88", "1.5"));
    ASSERT_TRUE(release->click("BUTTON43"));
    EXPECT_EQ(model().SpringStart[1][5], 150.0f);
    EXPECT_EQ(model().SprungEndCount, 1);

    f.click("BUTTON16"); // cancelled: the member form is opened again later
    Form5& again = openMembers(2);
    EXPECT_EQ(model().SprungEndCount, 1);
    typeRow(again, 1, "1", "0", "1", "2");
    typeRow(again, 2, "1", "0", "2", "3");
    again.click("BUTTON15");
    EXPECT_FALSE(again.isOpen());
    EXPECT_EQ(model().SprungEndCount, 1);
    EXPECT_EQ(model().MemberStartSprung[1], 1);
}

} // namespace
} // namespace rahmen::testing
