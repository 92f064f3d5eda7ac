#include "forms/Form16.h"
#include "forms/InputForms.h"
#include "forms/SectionForms.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

namespace rahmen {
namespace {

// The two main-menu buttons the section list moves on.
class MenuStandIn : public Form {
public:
    MenuStandIn() : Form("MAINFORM", "プログラムメニュー", 400, 300) {
        addButton("BUTTON2", "部材入力", 0, 0, 10, 10).enabled = false;
        addButton("BUTTON28", "部材ﾀｲﾌﾟ入力", 0, 0, 10, 10);
    }
};

class SectionList : public ::testing::Test {
protected:
    SectionList() : p(Program::create(platform.services())) {
        p->mainMenu = &menu;
        registerSectionForms(*p);
        registerInputForms(*p);
    }

    Form& open(int typeCount) {
        p->model.MemberTypeCount = static_cast<int16_t>(typeCount);
        Form* form = p->openForm("FORM16");
        EXPECT_NE(form, nullptr);
        return *form;
    }

    // Row r takes a family by its radio column and, optionally, a list position.
    static void pick(Form& f, const char* radio, const char* combo = nullptr, int pos = 0) {
        ASSERT_TRUE(f.click(radio));
        if (combo) {
            ASSERT_TRUE(f.choose(combo, pos));
        }
    }

    void expectType(int t, float a, float iy, float iz, float j, float ay, float az, int kind,
                    int row) {
        SCOPED_TRACE("type " + std::to_string(t));
        const Model& m = p->model;
        EXPECT_NEAR(m.TypeArea[t], a, 1e-4 * a);
        EXPECT_NEAR(m.TypeIy[t], iy, 1e-4 * iy);
        EXPECT_NEAR(m.TypeIz[t], iz, 1e-4 * iz);
        EXPECT_NEAR(m.TypeJ[t], j, 1e-4 * j);
        EXPECT_NEAR(m.TypeShearAreaY[t], ay, 1e-4 * ay);
        EXPECT_NEAR(m.TypeShearAreaZ[t], az, 1e-4 * az);
        EXPECT_EQ(m.TypeSectionKind[t], kind);
        EXPECT_EQ(m.TypeSteelNo[t], row);
    }

    ScriptedPlatform platform;
    MenuStandIn menu;
    std::unique_ptr<Program> p;
};

TEST_F(SectionList, OpensOnTypesOneToFiveWithThePagingButtonsOfTheTypeCount) {
    p->FontOffset = 3;
    Form& f = open(5);
    EXPECT_EQ(f.caption(), "部材タイプ入力２");
    EXPECT_EQ(f.left(), 182); // centred on the 1024 x 768 screen
    EXPECT_EQ(f.top(), 234);
    EXPECT_EQ(f.c("TEXT69").caption, "タイプＮｏ");
    EXPECT_EQ(f.c("TEXT70").caption, "形状選択 (単位mm)");
    EXPECT_EQ(f.c("RADIO22").caption, "Ｈ形鋼標準");
    EXPECT_EQ(f.c("RADIO23").caption, "○鋼管");
    EXPECT_EQ(f.c("RADIO24").caption, "□鋼管");
    EXPECT_EQ(f.c("BUTTON86").caption, "リスト外入力");
    EXPECT_EQ(f.c("EDIT152").caption, "1");
    EXPECT_EQ(f.c("EDIT156").caption, "5");
    EXPECT_FALSE(f.typeText("EDIT152", "9")); // shown, not typed
    EXPECT_EQ(f.c("COMBO1").fontSize, 12);
    EXPECT_FALSE(f.c("BUTTON88").enabled); // five types fit on one page
    EXPECT_TRUE(f.c("BUTTON85").enabled);
    EXPECT_TRUE(f.c("COMBO3").items.empty());

    ASSERT_TRUE(f.click("BUTTON89"));
    ASSERT_EQ(platform.dialogs.helps().size(), 1u);
    EXPECT_EQ(platform.dialogs.helps()[0].file, "rahmen.hlp");
    EXPECT_EQ(platform.dialogs.helps()[0].keyword, "部材ﾀｲﾌﾟ入力２");

    Form& seven = open(7);
    EXPECT_TRUE(seven.c("BUTTON88").enabled);
    EXPECT_FALSE(seven.c("BUTTON85").enabled);
}

TEST_F(SectionList, EachRadioColumnFillsTheRowsListWithItsTableRowZeroSelected) {
    Form& f = open(5);
    pick(f, "RADIO10");
    const Control& list = f.c("COMBO1");
    ASSERT_EQ(list.items.size(), 62u);
    EXPECT_EQ(list.items[0], "Ｈ-100x 50x 5 x 7");
    EXPECT_EQ(list.items[61], "Ｈ-912x302x18 x34");
    EXPECT_EQ(list.selected, 0);

    pick(f, "RADIO11"); // the same row changes its mind: round pipes replace the H-shapes
    EXPECT_FALSE(f.c("RADIO10").checked);
    ASSERT_EQ(list.items.size(), 130u);
    EXPECT_EQ(list.items[0], "○-21.7  x 2.0   ");
    EXPECT_EQ(list.items[129], "○-1219.2x16.0   ");

    pick(f, "RADIO15");
    ASSERT_EQ(f.c("COMBO2").items.size(), 110u);
    EXPECT_EQ(f.c("COMBO2").items[56], "□-400x400x16.0P ");
    EXPECT_TRUE(f.c("RADIO11").checked); // rows do not share their radio buttons
}

TEST_F(SectionList, EndStoresTheChosenSectionsWithTheirPropertiesAndMovesTheMenuOn) {
    Form& f = open(5);
    pick(f, "RADIO10");               // left alone: "Ｈ-100x 50x 5 x 7"
    pick(f, "RADIO15");               // "□- 40x 40x 1.6"
    pick(f, "RADIO17");               // "○-21.7  x 2.0"
    pick(f, "RADIO19", "COMBO4", 3);  // "Ｈ-125x125x6.5x 9"
    pick(f, "RADIO24", "COMBO5", 56); // "□-400x400x16.0P"
    ASSERT_TRUE(f.click("BUTTON85"));

    expectType(1, 11.85f, 187, 14.8f, 1.5017f, 4.3f, 7.0f, 2, 0);
    expectType(2, 2.392f, 5.79f, 5.79f, 9.0597f, 1.2288f, 1.2288f, 3, 0);
    expectType(3, 1.238f, 0.607f, 0.607f, 1.2133f, 0.619f, 0.619f, 4, 0);
    expectType(4, 30.0f, 839, 293, 7.0545f, 6.955f, 22.5f, 2, 3);
    expectType(5, 237.0f, 57100, 57100, 90597.0f, 122.88f, 122.88f, 3, 56);
    EXPECT_EQ(p->model.SteelTypeCount, 5);
    EXPECT_EQ(p->model.MemberTypeCount, 5);
    EXPECT_FALSE(f.isOpen());
    EXPECT_TRUE(menu.c("BUTTON2").enabled);
    EXPECT_FALSE(menu.c("BUTTON28").enabled);
    EXPECT_EQ(platform.dialogs.messages().size(), 0u);
}

TEST_F(SectionList, SevenTypesTakeTwoPagesAndEndStopsAtTheFirstEmptyRow) {
    Form& f = open(7);
    for (const char* radio : {"RADIO10", "RADIO13", "RADIO16", "RADIO19", "RADIO22"})
        pick(f, radio);
    ASSERT_TRUE(f.click("BUTTON88"));
    EXPECT_EQ(f.c("EDIT152").caption, "6");
    EXPECT_EQ(f.c("EDIT156").caption, "10");
    EXPECT_TRUE(f.c("COMBO1").items.empty());
    EXPECT_FALSE(f.c("RADIO10").checked);
    EXPECT_FALSE(f.c("BUTTON88").enabled);
    EXPECT_TRUE(f.c("BUTTON85").enabled);

    pick(f, "RADIO11", "COMBO1", 73); // "○-500   x 9.0"
    pick(f, "RADIO15");
    pick(f, "RADIO22"); // after the empty third row: not read
    ASSERT_TRUE(f.click("BUTTON85"));
    expectType(6, 138.8f, 41800, 41800, 83699.4f, 69.4f, 69.4f, 4, 73);
    EXPECT_EQ(p->model.TypeSectionKind[7], 3);
    EXPECT_EQ(p->model.TypeSectionKind[10], 0);
    EXPECT_EQ(p->model.SteelTypeCount, 7);
    EXPECT_EQ(p->model.MemberTypeCount, 7);
    EXPECT_TRUE(platform.dialogs.messages().empty()); // an empty row only ends the last page
}

TEST_F(SectionList, NextPageRefusesAnEmptyRowAndKeepsThePage) {
    Form& f = open(7);
    pick(f, "RADIO10");
    pick(f, "RADIO14");
    pick(f, "RADIO19"); // row 3 left empty
    ASSERT_TRUE(f.click("BUTTON88"));
    ASSERT_EQ(platform.dialogs.messages().size(), 1u);
    EXPECT_EQ(platform.dialogs.messages()[0].title, "rahmen");
    EXPECT_EQ(platform.dialogs.messages()[0].text, "タイプNo3 は未入力です。");
    EXPECT_EQ(f.c("EDIT152").caption, "1");
    EXPECT_EQ(p->model.TypeSectionKind[2], 4); // the rows above it stay stored
    EXPECT_EQ(p->model.TypeSectionKind[4], 0); // nothing after it
    EXPECT_EQ(p->model.MemberTypeCount, 7);

    // Completed and sent again: the two rows stored before count once.
    pick(f, "RADIO18");
    pick(f, "RADIO22");
    ASSERT_TRUE(f.click("BUTTON88"));
    EXPECT_EQ(f.c("EDIT152").caption, "6");
    EXPECT_EQ(p->model.SteelTypeCount, 5);
}

TEST_F(SectionList, CountsFollowTheTypesAcrossReopeningsAndNeverOutgrowThem) {
    p->model.TypeSectionKind[1] = 1; // a rectangle entered before
    p->model.RectTypeCount = 1;
    Form& first = open(6);
    for (const char* radio : {"RADIO10", "RADIO13", "RADIO16", "RADIO19", "RADIO22"})
        pick(first, radio);
    ASSERT_TRUE(first.click("BUTTON88"));
    pick(first, "RADIO11");
    ASSERT_TRUE(first.click("BUTTON87")); // cancel: type 6 on screen is dropped
    EXPECT_EQ(p->model.TypeSectionKind[6], 0);
    EXPECT_TRUE(menu.c("BUTTON28").enabled);
    EXPECT_FALSE(menu.c("BUTTON2").enabled);
    EXPECT_EQ(p->model.RectTypeCount, 0);
    EXPECT_EQ(p->model.SteelTypeCount, 5);

    Form& again = open(6); // the same five types chosen once more, then one
    for (const char* radio : {"RADIO12", "RADIO15", "RADIO18", "RADIO21", "RADIO24"})
        pick(again, radio);
    ASSERT_TRUE(again.click("BUTTON88"));
    pick(again, "RADIO10");
    ASSERT_TRUE(again.click("BUTTON85"));
    EXPECT_EQ(p->model.TypeSectionKind[5], 3);
    EXPECT_EQ(p->model.SteelTypeCount, 6);
    EXPECT_EQ(p->model.MemberTypeCount, 6);
}

TEST_F(SectionList, MoreTypesChosenThanDeclaredRaiseTheTypeCount) {
    Form& f = open(3);
    for (const char* radio : {"RADIO10", "RADIO13", "RADIO16", "RADIO19", "RADIO22"})
        pick(f, radio);
    ASSERT_TRUE(f.click("BUTTON85"));
    EXPECT_EQ(p->model.MemberTypeCount, 5);
}

TEST_F(SectionList, TypesOutsideTheListsContinueInTheFreeEntryOfTheTypeForm) {
    Form& f = open(7);
    for (const char* radio : {"RADIO10", "RADIO13", "RADIO16", "RADIO19", "RADIO22"})
        pick(f, radio);
    ASSERT_TRUE(f.click("BUTTON88"));
    pick(f, "RADIO12");
    ASSERT_TRUE(f.click("BUTTON86"));
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(p->model.TypeSectionKind[6], 3);
    EXPECT_EQ(p->model.MemberTypeCount, 7);
    EXPECT_FALSE(menu.c("BUTTON2").enabled); // the type form's end moves the menu on

    Form* f4 = p->form("FORM4");
    ASSERT_NE(f4, nullptr);
    ASSERT_TRUE(f4->isOpen());
    EXPECT_EQ(p->TypeFormMode, 16);
    EXPECT_FALSE(f4->c("CHECK14").enabled);
    ASSERT_TRUE(f4->typeText("EDIT28", "7"));
    ASSERT_TRUE(f4->typeText("EDIT33", "120"));
    ASSERT_TRUE(f4->typeText("EDIT38", "3000"));
    ASSERT_TRUE(f4->typeText("EDIT43", "2000"));
    ASSERT_TRUE(f4->typeText("EDIT48", "500"));
    ASSERT_TRUE(f4->click("BUTTON12"));
    EXPECT_FLOAT_EQ(p->model.TypeArea[7], 120);
    EXPECT_FLOAT_EQ(p->model.TypeShearAreaY[7], 60);
    EXPECT_FLOAT_EQ(p->model.TypeShearAreaZ[7], 60);
    EXPECT_FLOAT_EQ(p->model.TypeJ[7], 500);
    EXPECT_TRUE(menu.c("BUTTON2").enabled);
    EXPECT_FALSE(menu.c("BUTTON28").enabled);
}

} // namespace
} // namespace rahmen
