#include "forms/Form4.h"

#include "InputFormsFixture.h"

#include <cmath>

namespace rahmen::testing {
namespace {

class Form4Test : public InputFormsTest {
protected:
    Form4& openTypes(int mode, int types) {
        model().MemberTypeCount = static_cast<int16_t>(types);
        Form4* form = openMemberTypeForm(*p, static_cast<int16_t>(mode));
        EXPECT_NE(form, nullptr);
        return *form;
    }
    // Columns 2..5 of row k (area or A, Iy or B, Iz, J); "-" leaves a box alone.
    static void typeRow(Form& f, int k, std::initializer_list<const char*> values) {
        int column = 2;
        for (const char* value : values) {
            if (std::string(value) != "-") {
                ASSERT_TRUE(f.typeText(Form4::box(column, k), value));
            }
            ++column;
        }
    }
    static std::vector<std::string> column(const Form& f, int column) {
        std::vector<std::string> texts;
        for (int k = 1; k <= 5; ++k)
            texts.push_back(f.c(Form4::box(column, k)).caption);
        return texts;
    }
};

TEST(RectangleTorsion, UsesTheLargerHalfSideWhicheverSizeItIs) {
    EXPECT_NEAR(rectangleTorsionConstant(60, 30), 370786.0, 1.0);
    EXPECT_NEAR(rectangleTorsionConstant(30, 60), 370786.0, 1.0);
    EXPECT_NEAR(rectangleTorsionConstant(40, 40), 360533.3, 0.5);
    EXPECT_EQ(rectangleTorsionConstant(0, 0), 0.0); // an empty row, not NaN
    EXPECT_EQ(rectangleTorsionConstant(20, 0), 0.0);
}

TEST_F(Form4Test, OpensOnTheFirstPageWithTypeNumbersAndZeroTorsionConstants) {
    Form4& f = openTypes(1, 7);
    EXPECT_EQ(f.caption(), "部材タイプ入力１");
    EXPECT_EQ(column(f, 1), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(column(f, 5), (std::vector<std::string>{"0", "0", "0", "0", "0"}));
    EXPECT_FALSE(f.c("EDIT28").enabled);
    EXPECT_TRUE(f.c("CHECK14").enabled);
    EXPECT_FALSE(f.c("CHECK14").checked);
    EXPECT_TRUE(f.c("BUTTON11").enabled);
    EXPECT_FALSE(f.c("BUTTON12").enabled);
    EXPECT_EQ(f.focus(), "EDIT33");
    EXPECT_EQ(f.c("TEXT15").caption, "タイプ No");
    EXPECT_EQ(f.c("TEXT16").caption, "断面積(cm2)");
    EXPECT_EQ(f.c("TEXT17").caption, "断面２次ﾓｰﾒﾝﾄ");
    EXPECT_EQ(f.c("TEXT111").caption, "梁：ly 柱：lx(cm4)");
    EXPECT_EQ(f.c("TEXT112").caption, "梁：lz 柱：ly(cm4)");
    EXPECT_EQ(f.c("TEXT19").caption, "ねじり定数(cm4)");
    EXPECT_EQ(f.c("TEXT119").caption, "※入力は必ず半角数字で行ってください。");
    EXPECT_EQ(f.c("CHECK14").caption,
              "長方形断面のサイズ（A：梁→高さ、柱→Ｙ方向寸法/B→梁→幅、柱→Ｘ方向寸法）を入力す"
              "る。");

    // Tab: the boxes of one type, then the next type.
    std::vector<std::string> order;
    for (const Control& control : f.controls())
        if (control.kind == ControlKind::Edit && control.enabled) order.push_back(control.name);
    ASSERT_EQ(order.size(), 20u);
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 5),
              (std::vector<std::string>{"EDIT33", "EDIT38", "EDIT43", "EDIT48", "EDIT34"}));

    Form4& few = openTypes(1, 5);
    EXPECT_FALSE(few.c("BUTTON11").enabled);
    EXPECT_TRUE(few.c("BUTTON12").enabled);
}

TEST_F(Form4Test, NumericRowsShearOverTheFullAreaAndPageOnToTheLastTypes) {
    menu.enableOnly({"BUTTON28"});
    model().TypeSectionKind[2] = 1; // typed as numbers, a type keeps its kind
    Form4& f = openTypes(1, 7);
    typeRow(f, 1, {"120", "8000", "2500", "300"});
    typeRow(f, 2, {"64.5", "1.5e4", "x", "-"});
    ASSERT_TRUE(f.click("BUTTON11"));

    EXPECT_EQ(model().TypeArea[1], 120.0f);
    EXPECT_EQ(model().TypeShearAreaY[1], 120.0f);
    EXPECT_EQ(model().TypeShearAreaZ[1], 120.0f);
    EXPECT_EQ(model().TypeIy[1], 8000.0f);
    EXPECT_EQ(model().TypeIz[1], 2500.0f);
    EXPECT_EQ(model().TypeJ[1], 300.0f);
    EXPECT_EQ(model().TypeIy[2], 15000.0f);
    EXPECT_EQ(model().TypeIz[2], 0.0f);
    EXPECT_EQ(model().TypeSectionKind[2], 1);
    EXPECT_EQ(model().TypeSectionKind[1], 0);

    EXPECT_EQ(f.TypePage, 1);
    EXPECT_EQ(column(f, 1), (std::vector<std::string>{"6", "7", "8", "9", "10"}));
    EXPECT_EQ(column(f, 2), (std::vector<std::string>{"", "", "", "", ""}));
    EXPECT_EQ(column(f, 4), (std::vector<std::string>{"", "", "", "", ""}));
    EXPECT_EQ(column(f, 5), (std::vector<std::string>{"0", "0", "0", "0", "0"}));
    EXPECT_FALSE(f.c("BUTTON11").enabled);
    EXPECT_TRUE(f.c("BUTTON12").enabled);
    EXPECT_EQ(f.focus(), "EDIT33");

    typeRow(f, 2, {"30", "40", "50", "60"});
    f.click("BUTTON12");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().TypeJ[7], 60.0f);
    EXPECT_TRUE(menu.c("BUTTON2").enabled);
    EXPECT_FALSE(menu.c("BUTTON28").enabled);
    EXPECT_TRUE(messages().empty());
}

TEST_F(Form4Test, RectangleModeRelabelsTheColumnsAndLocksIzAndJ) {
    Form4& f = openTypes(1, 3);
    typeRow(f, 1, {"-", "-", "-", "55"});
    ASSERT_TRUE(f.click("CHECK14"));
    EXPECT_EQ(f.RectMode, -1);
    EXPECT_EQ(f.TypeColumnsEnabled, 0);
    EXPECT_EQ(f.c("TEXT16").caption, "Ａ寸法(㎝)");
    EXPECT_EQ(f.c("TEXT17").caption, "　　Ｂ寸法(㎝)");
    for (const char* off :
         {"TEXT18", "TEXT19", "TEXT111", "TEXT112", "EDIT43", "EDIT47", "EDIT48", "EDIT52"})
        EXPECT_FALSE(f.c(off).enabled) << off;
    EXPECT_EQ(column(f, 5), (std::vector<std::string>{"", "", "", "", ""}));

    f.click("CHECK14");
    EXPECT_EQ(f.RectMode, 0);
    EXPECT_EQ(f.TypeColumnsEnabled, -1);
    EXPECT_EQ(f.c("TEXT16").caption, "断面積(㎝)");
    EXPECT_EQ(f.c("TEXT17").caption, "断面２次ﾓｰﾒﾝﾄ");
    EXPECT_TRUE(f.c("TEXT18").enabled);
    EXPECT_TRUE(f.c("EDIT48").enabled);
    EXPECT_EQ(f.c("EDIT48").caption, ""); // every toggle empties the J boxes
}

TEST_F(Form4Test, ARectangleOfSixtyByThirtyGetsItsSectionProperties) {
    Form4& f = openTypes(1, 2);
    f.click("CHECK14");
    typeRow(f, 1, {"60", "30"});
    typeRow(f, 2, {"40", "40"});
    f.click("BUTTON12");

    EXPECT_FALSE(f.isOpen());
    EXPECT_TRUE(messages().empty());
    EXPECT_EQ(model().TypeSectionKind[1], 1);
    EXPECT_EQ(model().TypeRectA[1], 60.0f);
    EXPECT_EQ(model().TypeRectB[1], 30.0f);
    EXPECT_EQ(model().TypeArea[1], 1800.0f);
    EXPECT_EQ(model().TypeShearAreaY[1], 1800.0f);
    EXPECT_EQ(model().TypeShearAreaZ[1], 1800.0f);
    EXPECT_EQ(model().TypeIy[1], 540000.0f);
    EXPECT_EQ(model().TypeIz[1], 135000.0f);
    EXPECT_NEAR(model().TypeJ[1], 370786.0f, 1.0f);
    EXPECT_NEAR(model().TypeJ[2], 360533.3f, 0.5f);
    EXPECT_EQ(model().RectTypeCount, 2);
}

TEST_F(Form4Test, AWiderThanHighRectangleWarnsAndGetsTheSameTorsionConstantOnBothButtons) {
    Form4& f = openTypes(1, 7);
    f.click("CHECK14");
    typeRow(f, 2, {"30", "60"});
    dialogs().queueMessage(MessageResult::Ok);
    f.click("BUTTON11");

    ASSERT_EQ(dialogs().messages().size(), 1u);
    const MessageCall& call = dialogs().messages()[0];
    EXPECT_EQ(call.text, "No 2 が梁の場合、水平幅＞垂直高さとなります、再入力→ｷｬﾝｾﾙ。");
    EXPECT_EQ(call.title, "rahmen");
    EXPECT_EQ(call.buttons, MessageButtons::OkCancel);
    EXPECT_EQ(call.icon, MessageIcon::Exclamation);
    EXPECT_EQ(model().TypeIy[2], 135000.0f);
    EXPECT_EQ(model().TypeIz[2], 540000.0f);
    EXPECT_NEAR(model().TypeJ[2], 370786.0f, 1.0f); // not eight times too large
    EXPECT_EQ(f.TypePage, 1);

    typeRow(f, 1, {"30", "60"});
    dialogs().queueMessage(MessageResult::Ok);
    f.click("BUTTON12");
    EXPECT_EQ(messages().back(), "No 6 が梁の場合、水平幅＞垂直高さとなります。");
    EXPECT_NEAR(model().TypeJ[6], 370786.0f, 1.0f);
    EXPECT_FALSE(f.isOpen());
}

TEST_F(Form4Test, CancelAtTheWidthWarningKeepsThePageAsTypedForCorrection) {
    menu.enableOnly({"BUTTON28"});
    Form4& f = openTypes(1, 8);
    f.click("CHECK14");
    typeRow(f, 1, {"60", "30"});
    typeRow(f, 2, {"20", "50"});
    typeRow(f, 3, {"70", "35"});
    dialogs().queueMessage(MessageResult::Cancel);
    f.click("BUTTON11");

    EXPECT_TRUE(f.isOpen());
    EXPECT_EQ(f.TypePage, 0);
    EXPECT_EQ(column(f, 1), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    // The rows stored so far stay stored, this row's sizes and area included...
    EXPECT_EQ(model().TypeArea[1], 1800.0f);
    EXPECT_EQ(model().TypeArea[2], 1000.0f);
    EXPECT_EQ(model().TypeJ[2], 0.0f);
    EXPECT_EQ(model().TypeArea[3], 0.0f); // ...and nothing after it is read
    // ...and the boxes still hold what was typed, row 1 included.
    EXPECT_EQ(column(f, 2), (std::vector<std::string>{"60", "20", "70", "", ""}));
    EXPECT_EQ(column(f, 3), (std::vector<std::string>{"30", "50", "35", "", ""}));

    typeRow(f, 2, {"50", "20"});
    f.click("BUTTON11");
    EXPECT_EQ(f.TypePage, 1);
    EXPECT_EQ(model().TypeArea[1], 1800.0f);
    EXPECT_NEAR(model().TypeJ[1], 370786.0f, 1.0f);
    EXPECT_EQ(model().TypeIy[2], 208333.33f);
    EXPECT_EQ(model().TypeArea[3], 2450.0f);
    EXPECT_EQ(model().TypeArea[4], 0.0f); // an empty row of a full page
    EXPECT_EQ(model().TypeJ[4], 0.0f);    // holds no torsion constant, not NaN
    EXPECT_EQ(model().RectTypeCount, 5);  // types stored twice are counted once
    EXPECT_EQ(column(f, 2), (std::vector<std::string>{"", "", "", "", ""}));
    EXPECT_EQ(messages().size(), 1u);
}

TEST_F(Form4Test, OnTheLastPageARectangleWithoutSizeAEndsTheStoring) {
    Form4& f = openTypes(1, 3);
    f.click("CHECK14");
    typeRow(f, 1, {"60", "30"});
    typeRow(f, 3, {"50", "50"});
    f.click("BUTTON12");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().TypeArea[1], 1800.0f);
    EXPECT_EQ(model().TypeSectionKind[2], 0);
    EXPECT_EQ(model().TypeArea[3], 0.0f);
    EXPECT_EQ(model().RectTypeCount, 1);
}

TEST_F(Form4Test, FreeEntryAfterTheSectionListTakesTypedTypeNumbersAndHalvesTheShearAreas) {
    menu.enableOnly({"BUTTON28"});
    Form4& f = openTypes(16, 8);
    EXPECT_TRUE(f.c("EDIT28").enabled);
    EXPECT_EQ(f.c("EDIT28").caption, "");
    EXPECT_FALSE(f.c("CHECK14").enabled);
    EXPECT_TRUE(f.c("BUTTON11").enabled);
    EXPECT_TRUE(f.c("BUTTON12").enabled);
    EXPECT_EQ(f.focus(), "EDIT28");
    EXPECT_EQ(column(f, 5), (std::vector<std::string>{"0", "0", "0", "0", "0"}));

    type(f, {{"EDIT28", "6"}, {"EDIT30", "8"}});
    typeRow(f, 1, {"120", "5000", "1500", "40"});
    typeRow(f, 3, {"80", "1", "2", "3"});
    typeRow(f, 2, {"999", "9", "9", "9"}); // no type number: not stored
    f.click("BUTTON11");
    EXPECT_EQ(model().TypeArea[6], 120.0f);
    EXPECT_EQ(model().TypeShearAreaY[6], 60.0f);
    EXPECT_EQ(model().TypeShearAreaZ[6], 60.0f);
    EXPECT_EQ(model().TypeIy[6], 5000.0f);
    EXPECT_EQ(model().TypeJ[6], 40.0f);
    EXPECT_EQ(model().TypeArea[8], 80.0f);
    EXPECT_EQ(model().TypeArea[0], 0.0f);
    EXPECT_EQ(column(f, 1), (std::vector<std::string>{"", "", "", "", ""}));
    EXPECT_EQ(column(f, 4), (std::vector<std::string>{"", "", "", "", ""}));
    EXPECT_EQ(column(f, 5), (std::vector<std::string>{"0", "0", "0", "0", "0"}));
    EXPECT_EQ(f.focus(), "EDIT28");
    EXPECT_TRUE(f.c("BUTTON11").enabled);

    // A type number outside the model is refused before anything is stored.
    type(f, {{"EDIT28", "7"}, {"EDIT29", "150"}});
    typeRow(f, 1, {"70", "1", "1", "1"});
    f.click("BUTTON12");
    EXPECT_TRUE(f.isOpen());
    EXPECT_EQ(
        messages(),
        (std::vector<std::string>{
            "タイプNo 150 は部材種類数を超えています（タイプNoは 1～8）。修正してください。"}));
    EXPECT_EQ(f.focus(), "EDIT29");
    EXPECT_EQ(model().TypeArea[7], 0.0f);

    f.typeText("EDIT29", "");
    f.click("BUTTON12");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().TypeArea[7], 70.0f);
    EXPECT_EQ(model().TypeShearAreaZ[7], 35.0f);
    EXPECT_TRUE(menu.c("BUTTON2").enabled);
    EXPECT_FALSE(menu.c("BUTTON28").enabled);
}

TEST_F(Form4Test, CancelClosesAndHelpOpensItsTopic) {
    menu.enableOnly({"BUTTON28"});
    Form4& f = openTypes(1, 2);
    typeRow(f, 1, {"120", "1", "1", "1"});
    f.click("BUTTON56");
    ASSERT_EQ(dialogs().helps().size(), 1u);
    EXPECT_EQ(dialogs().helps()[0].keyword, "部材ﾀｲﾌﾟ入力１");
    f.click("BUTTON13");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().TypeArea[1], 0.0f);
    EXPECT_TRUE(menu.c("BUTTON28").enabled);
    EXPECT_FALSE(menu.c("BUTTON2").enabled);
}

} // namespace
} // namespace rahmen::testing
