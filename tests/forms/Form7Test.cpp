#include "LoadFormTesting.h"

#include "forms/Form7.h"

namespace rahmen::testing {
namespace {

class ReleaseForm : public LoadFormsTest {
protected:
    ReleaseForm() {
        twoBayFrame();
        m().CurrentMember = 7;
    }

    Form7& open(int16_t choice) {
        p->PinSpringChoice = choice;
        return *dynamic_cast<Form7*>(p->openForm("FORM7"));
    }

    std::vector<bool> checked(const Form7& f) {
        std::vector<bool> boxes;
        for (const char* name :
             {"CHECK8", "CHECK1", "CHECK2", "CHECK3", "CHECK9", "CHECK4", "CHECK5", "CHECK6"})
            boxes.push_back(f.c(name).checked);
        return boxes;
    }
};

TEST_F(ReleaseForm, PinsSetInOneVisitAreShownAndClearedInTheNext) {
    Form7& f = open(1);
    EXPECT_EQ(f.c("TEXT51").caption, "回転が自由な方向をチェックしてください。");
    EXPECT_TRUE(f.c("BUTTON44").enabled);
    for (const char* name : {"EDIT86", "EDIT88", "EDIT93", "TEXT30", "TEXT37"})
        EXPECT_FALSE(f.c(name).enabled) << name;
    ASSERT_TRUE(f.click("CHECK1"));
    ASSERT_TRUE(f.click("CHECK2"));
    EXPECT_EQ(m().PinStartX[7], -1);
    EXPECT_EQ(m().PinStartY[7], -1);
    EXPECT_EQ(m().PinStartZ[7], 0);
    EXPECT_EQ(m().PinnedEndCount, 0); // summaries follow when the form closes
    ASSERT_TRUE(f.click("BUTTON43"));
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(m().MemberStartPinned[7], 1);
    EXPECT_EQ(m().MemberEndPinned[7], 0);
    EXPECT_EQ(m().PinnedEndCount, 1);

    // Opened again from the member form, the boxes show the two pins, and a
    // click on a checked box frees its pin.
    Form7& again = open(1);
    EXPECT_EQ(checked(again),
              (std::vector<bool>{false, true, true, false, false, false, false, false}));
    again.click("CHECK1");
    again.click("CHECK2");
    EXPECT_EQ(m().PinStartX[7], 0);
    EXPECT_EQ(m().PinStartY[7], 0);
    again.click("BUTTON43");
    EXPECT_EQ(m().MemberStartPinned[7], 0);
    EXPECT_EQ(m().PinnedEndCount, 0);
}

TEST_F(ReleaseForm, AllDirectionsClickedTwiceLeavesTheEndFreeAndTheSingleBoxesUsable) {
    Form7& f = open(1);
    f.click("CHECK9");
    EXPECT_EQ(m().PinEndX[7], -1);
    EXPECT_EQ(m().PinEndY[7], -1);
    EXPECT_EQ(m().PinEndZ[7], -1);
    EXPECT_EQ(f.AllPinsEnd, 0);
    for (const char* name : {"CHECK4", "CHECK5", "CHECK6"}) {
        EXPECT_TRUE(f.c(name).checked) << name;
        EXPECT_FALSE(f.c(name).enabled) << name;
    }
    f.click("CHECK9");
    EXPECT_EQ(m().PinEndX[7], 0);
    EXPECT_EQ(m().PinEndY[7], 0);
    EXPECT_EQ(m().PinEndZ[7], 0);
    EXPECT_EQ(f.AllPinsEnd, -1);
    for (const char* name : {"CHECK4", "CHECK5", "CHECK6"}) {
        EXPECT_FALSE(f.c(name).checked) << name;
        EXPECT_TRUE(f.c(name).enabled) << name;
    }
    EXPECT_FALSE(f.c("CHECK9").checked);
    f.click("BUTTON43");
    EXPECT_EQ(m().PinnedEndCount, 0);
}

TEST_F(ReleaseForm, AnEndPinnedInAllDirectionsOpensLockedInEveryPinMode) {
    m().PinEndX[7] = m().PinEndY[7] = m().PinEndZ[7] = -1;
    m().PinStartZ[7] = -1;
    m().updateEndSummaries(7);
    ASSERT_EQ(m().PinnedEndCount, 2);
    for (int16_t choice : {1, 3}) {
        Form7& f = open(choice);
        EXPECT_EQ(checked(f),
                  (std::vector<bool>{false, false, false, true, true, true, true, true}))
            << choice;
        EXPECT_FALSE(f.c("CHECK4").enabled);
        EXPECT_TRUE(f.c("CHECK3").enabled);
        EXPECT_EQ(f.AllPinsStart, -1);
        EXPECT_EQ(f.AllPinsEnd, 0);
        EXPECT_EQ(f.c("BUTTON44").enabled, choice == 1);
        f.close();
    }
    Form7& f = open(3);
    EXPECT_EQ(f.c("TEXT51").caption,
              "チェックがあれば既設定のピンです、ﾋﾟﾝ→ﾁｪｯｸ、固定→ﾁｪｯｸをはずす　。");
    f.click("CHECK9"); // frees the end at once
    EXPECT_EQ(m().PinEndY[7], 0);
    EXPECT_TRUE(f.c("CHECK5").enabled);
    f.click("CHECK3");
    EXPECT_EQ(m().PinStartZ[7], 0);
    f.click("BUTTON43");
    EXPECT_EQ(m().PinnedEndCount, 0);
    EXPECT_EQ(m().MemberEndPinned[7], 0);
}

TEST_F(ReleaseForm, RotationalSpringsAreTypedInMetresAndHeldTimesAHundred) {
    Form7& f = open(2);
    EXPECT_EQ(f.c("TEXT51").caption, "バネがある方向についてのみバネ定数を入力してください。( "
                                     "回転：kN･m/rad.軸方向：kN/cm )");
    for (const char* name : {"CHECK1", "CHECK6", "CHECK8", "CHECK9"})
        EXPECT_FALSE(f.c(name).enabled) << name;
    EXPECT_EQ(f.c("EDIT88").caption, "0"); // nothing stored yet
    f.typeText("EDIT88", "1.5");
    f.typeText("EDIT89", "0.3");
    f.typeText("EDIT87", "2");
    f.typeText("EDIT86", "2000");
    f.typeText("EDIT92", "abc");
    f.typeText("EDIT90", "7.25");
    f.click("BUTTON43");
    EXPECT_FLOAT_EQ(m().SpringStart[7][5], 150.0f);
    EXPECT_FLOAT_EQ(m().SpringStart[7][6], 30.0f);
    EXPECT_FLOAT_EQ(m().SpringStart[7][4], 200.0f);
    EXPECT_FLOAT_EQ(m().SpringStart[7][1], 2000.0f);
    EXPECT_FLOAT_EQ(m().SpringEnd[7][5], 0.0f);
    EXPECT_FLOAT_EQ(m().SpringEnd[7][1], 7.25f);
    EXPECT_EQ(m().MemberStartSprung[7], 1);
    EXPECT_EQ(m().MemberEndSprung[7], 1);
    EXPECT_EQ(m().SprungEndCount, 2);

    // From mouse editing, the constants are shown as they were typed.
    Form7& shown = open(4);
    EXPECT_EQ(shown.c("TEXT51").caption,
              "既設定のバネ定数が表示されています入力後は、すべて上書きされます。(回転：kN･m/"
              "rad.軸方向：kN/cm)");
    EXPECT_FALSE(shown.c("BUTTON44").enabled);
    EXPECT_FALSE(shown.c("CHECK2").enabled);
    EXPECT_EQ(shown.c("EDIT88").caption, "1.5");
    EXPECT_EQ(shown.c("EDIT89").caption, "0.3");
    EXPECT_EQ(shown.c("EDIT87").caption, "2");
    EXPECT_EQ(shown.c("EDIT86").caption, "2000");
    EXPECT_EQ(shown.c("EDIT92").caption, "0");
    EXPECT_EQ(shown.c("EDIT90").caption, "7.25");
    shown.close();

    // So does the member form's spring mode; zeros at the end clear its
    // summary.
    Form7& again = open(2);
    EXPECT_EQ(again.c("EDIT88").caption, "1.5");
    again.typeText("EDIT90", "0");
    again.click("BUTTON43");
    EXPECT_FLOAT_EQ(m().SpringStart[7][5], 150.0f); // stored again unchanged
    EXPECT_EQ(m().MemberEndSprung[7], 0);
    EXPECT_EQ(m().SprungEndCount, 1);
}

TEST_F(ReleaseForm, TheOlderUnitsNameTonneForceInTheSpringInstructions) {
    m().UnitFactor = 1;
    EXPECT_EQ(open(2).c("TEXT51").caption,
              "バネがある方向についてのみバネ定数を入力してください。( 回転：tf･m/rad.軸方向：tf/"
              "cm )");
    EXPECT_EQ(open(4).c("TEXT51").caption,
              "既設定のバネ定数が表示されています入力後は、すべて上書きされます。( 回転：tf･m/"
              "rad.軸方向：tf/cm )");
}

TEST_F(ReleaseForm, CancelKeepsTheClickedPinsAndTheirSummariesAgree) {
    Form7& f = open(1);
    f.click("CHECK5");
    f.click("BUTTON44");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(m().PinEndY[7], -1);
    EXPECT_EQ(m().MemberEndPinned[7], 1);
    EXPECT_EQ(m().PinnedEndCount, 1);
}

TEST_F(ReleaseForm, CancelInSpringModeStoresNoSpring) {
    Form7& f = open(2);
    f.typeText("EDIT88", "3");
    f.click("BUTTON44");
    EXPECT_FLOAT_EQ(m().SpringStart[7][5], 0.0f);
    EXPECT_EQ(m().SprungEndCount, 0);
}

TEST_F(ReleaseForm, FinishRunsTheEditingWindowsRedrawCancelDoesNot) {
    int redraws = 0;
    Form7& f = open(3);
    f.afterStore = [&] {
        ++redraws;
        EXPECT_EQ(m().PinnedEndCount, 1); // already up to date
    };
    f.click("CHECK1");
    f.click("BUTTON43");
    EXPECT_EQ(redraws, 1);

    Form7& cancelled = open(1);
    cancelled.afterStore = [&] { ++redraws; };
    cancelled.click("BUTTON44");
    EXPECT_EQ(redraws, 1);
}

TEST_F(ReleaseForm, HelpOpensThePinAndSpringTopic) {
    open(1).click("BUTTON59");
    ASSERT_EQ(platform.dialogs.helps().size(), 1u);
    EXPECT_EQ(platform.dialogs.helps()[0].keyword, "ピン・バネ入力");
}

} // namespace
} // namespace rahmen::testing

namespace rahmen::testing {
namespace {

// Each spring box refuses a negative value and one beyond its range, naming
// the box and the range, and stores nothing; the largest value it accepts is
// held as typed (×100 for the rotational ones).
TEST_F(ReleaseForm, SpringBoxesRefuseNegativeAndOutOfRangeValuesAndKeepTheLargest) {
    struct Case {
        const char* box;
        const char* typed;
        const char* message; // empty: accepted
        int k;
        float held;
    };
    const Case cases[] = {
        {"EDIT86", "-5", "始点の軸方向のバネ定数は 0 から 1E+30 までです（-5 が入力されました）。",
         1, 0},
        {"EDIT86", "1e99",
         "始点の軸方向のバネ定数は 0 から 1E+30 までです（1E+99 が入力されました）。", 1, 0},
        {"EDIT86", "1e30", "", 1, 1e30f},
        {"EDIT88", "1.0000001e28",
         "始点の曲げ（y軸廻り）のバネ定数は 0 から 1E+28 までです（1.0000001E+28 "
         "が入力されました）。",
         5, 0},
        {"EDIT88", "1e28", "", 5, 1e30f},
        {"EDIT88", "-0.5",
         "始点の曲げ（y軸廻り）のバネ定数は 0 から 1E+28 までです（-0.5 が入力されました）。", 5,
         0},
    };
    for (const Case& c : cases) {
        m().SpringStart[7] = {};
        platform.dialogs.clearLog();
        Form7& f = open(2);
        f.c(c.box).caption = c.typed;
        f.click("BUTTON43");
        if (*c.message) {
            EXPECT_EQ(messages(), std::vector<std::string>{c.message}) << c.typed;
            EXPECT_TRUE(f.isOpen());
            EXPECT_EQ(m().SpringStart[7][c.k], 0.0f);
            f.click("BUTTON44");
        } else {
            EXPECT_TRUE(messages().empty()) << c.typed;
            EXPECT_EQ(m().SpringStart[7][c.k], c.held) << c.typed;
        }
    }
}

} // namespace
} // namespace rahmen::testing
