#include "LoadFormTesting.h"

#include "forms/Form18.h"

#include <set>

namespace rahmen::testing {
namespace {

// The two-bay frame with three types: 1 the columns' H-344x348x10x16 (H row
// 28), 2 the first floor's beams (7, 8) a □ tube, 3 the roof beams (9, 10)
// typed as numbers.
class CheckConditionsForm : public LoadFormsTest {
protected:
    CheckConditionsForm() {
        twoBayFrame();
        Model& md = m();
        md.MemberTypeCount = 3;
        md.TypeSectionKind[1] = kSectionHShape;
        md.TypeSteelNo[1] = 28;
        md.TypeSectionKind[2] = kSectionSquarePipe;
        md.TypeSteelNo[2] = 10;
        md.TypeSectionKind[3] = kSectionNumeric;
        md.MemberTypeNo[7] = md.MemberTypeNo[8] = 2;
        md.MemberTypeNo[9] = md.MemberTypeNo[10] = 3;
    }

    Form18& open() { return *dynamic_cast<Form18*>(p->openForm("FORM18")); }

    std::string lastMessage() const {
        const auto all = messages();
        return all.empty() ? "" : all.back();
    }
};

TEST_F(CheckConditionsForm, AFactorGoesToTheMembersOfTheGroupChosen) {
    const struct {
        int group; // COMBO182
        std::set<int> members;
    } rows[] = {
        {1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}, // every member
        {2, {1, 2, 3, 4, 5, 6}},              // the columns
        {3, {7, 8, 9, 10}},                   // the beams
        {5, {7, 8}},                          // type 2
        {6, {9, 10}},                         // type 3
    };
    for (const auto& row : rows) {
        Form18& f = open();
        f.choose("COMBO182", row.group);
        f.typeText("EDIT183", "0.5");
        f.click("BUTTON183");
        std::set<int> given;
        for (const auto& [member, k] : f.conditions().members) {
            EXPECT_EQ(k.ky, 0.5f);
            EXPECT_EQ(k.kx, 1); // left empty: as it was
            EXPECT_EQ(k.lb, 0);
            given.insert(member);
        }
        EXPECT_EQ(given, row.members) << "group " << row.group;
        f.click("BUTTON186");
        EXPECT_EQ(lastMessage(), "検定条件が変更されています。保存しますか？"); // answered はい
        EXPECT_FALSE(f.isOpen());
        ASSERT_TRUE(platform.files.exists("frame1.ckc"));
        platform.files.remove("frame1.ckc");
    }
}

TEST_F(CheckConditionsForm, RefusesWhatTheFileCannotHoldAndGradesForTypesNotChecked) {
    Form18& f = open();
    f.choose("LIST182", 4); // member 5
    EXPECT_EQ(f.c("EDIT181").caption, "0.0");
    EXPECT_EQ(f.c("EDIT182").caption, "1.00");
    const struct {
        const char* box;
        const char* text;
        const char* message;
    } rows[] = {
        {"EDIT181", "-10", "横補剛間隔は 0 から 1E+30 までです（-10 が入力されました）。"},
        {"EDIT182", "2E+31",
         "座屈長さ係数（kx）は 0 から 1E+30 までです（2E+31 が入力されました）。"},
        {"EDIT183", "-0.5",
         "座屈長さ係数（ky）は 0 から 1E+30 までです（-0.5 が入力されました）。"},
    };
    for (const auto& row : rows) {
        f.typeText("EDIT181", "300");
        f.typeText("EDIT182", "1");
        f.typeText("EDIT183", "1");
        f.typeText(row.box, row.text);
        f.click("BUTTON183");
        EXPECT_EQ(lastMessage(), row.message);
        EXPECT_EQ(f.focus(), row.box);
        EXPECT_TRUE(f.conditions().members.empty());
    }
    // Type 3 has no table section: no grade, and the list says why.
    EXPECT_EQ(f.c("LIST181").items[0], "   1  Ｈ-344x348x10 x16  SN400B");
    EXPECT_EQ(f.c("LIST181").items[2], "   3  検定外（数値入力の断面）");
    f.choose("LIST181", 2);
    f.choose("COMBO181", 6);
    f.click("BUTTON181");
    EXPECT_EQ(lastMessage().rfind("部材タイプ 3 は検定しません", 0), 0u) << lastMessage();
    f.click("BUTTON182"); // every type that is checked
    EXPECT_EQ(f.conditions().grades, (std::map<int, std::string>{{1, "SN490B"}, {2, "SN490B"}}));
}

TEST_F(CheckConditionsForm, SavedConditionsComeBackWhenTheFormOpensAgain) {
    Form18& f = open();
    f.choose("LIST181", 1);
    f.choose("COMBO181", 11); // BCR295
    f.click("BUTTON181");
    f.choose("LIST182", 6); // member 7
    f.typeText("EDIT181", "150");
    f.typeText("EDIT182", "2");
    f.click("BUTTON183");
    EXPECT_EQ(f.c("LIST182").items[6], "    7  梁  L=  600.0  lb=150.0  kx=2.00  ky=1.00");
    f.click("BUTTON185");
    EXPECT_TRUE(platform.files.exists("frame1.ckc"));
    f.click("BUTTON186"); // saved: no question
    EXPECT_TRUE(messages().empty());
    Form18& again = open();
    EXPECT_EQ(again.conditions().grades, (std::map<int, std::string>{{2, "BCR295"}}));
    ASSERT_EQ(again.conditions().members.count(7), 1u);
    EXPECT_EQ(again.conditions().members.at(7).lb, 150);
    EXPECT_EQ(again.conditions().members.at(7).kx, 2);
    // Saving over the file gives today's notice first; back to the defaults
    // the member is no longer listed.
    again.choose("LIST182", 6);
    again.click("BUTTON184");
    again.click("BUTTON185");
    EXPECT_EQ(lastMessage(), "既存のﾃﾞｰﾀがありますﾃﾞｨﾚｸﾄﾘｰより移動してＯＫを押してください。");
    EXPECT_TRUE(again.conditions().members.empty());
    // A file the frame cannot take is said once, and the form starts from
    // the defaults.
    again.click("BUTTON186");
    m().MemberTypeCount = 1;
    Form18& third = open();
    EXPECT_EQ(lastMessage().rfind("検定条件ファイルの読込みを中止しました。", 0), 0u)
        << lastMessage();
    EXPECT_TRUE(third.conditions().grades.empty());
}

} // namespace
} // namespace rahmen::testing
