#include "LoadFormTesting.h"

#include "forms/Form9.h"

namespace rahmen::testing {
namespace {

class ConditionsForm : public LoadFormsTest {
protected:
    ConditionsForm() { twoBayFrame(); }
    Form9& open() { return *dynamic_cast<Form9*>(p->openForm("FORM9")); }
};

TEST_F(ConditionsForm, OpensWithNothingChosenAndTheValueBoxesDisabled) {
    m().ShearShapeFactor = 1.2f; // from an earlier visit
    Form9& f = open();
    EXPECT_EQ(f.caption(), "解析条件入力");
    EXPECT_EQ(f.MaterialOption, 0);
    EXPECT_EQ(f.ConditionProgress, 0);
    EXPECT_EQ(m().ShearShapeFactor, 0.0f);
    EXPECT_FALSE(f.c("BUTTON37").enabled);
    for (const char* name : {"EDIT100", "EDIT101", "EDIT102", "EDIT149", "TEXT41", "TEXT64"})
        EXPECT_FALSE(f.c(name).enabled) << name;
    for (const char* name :
         {"RADIO1", "RADIO2", "RADIO3", "RADIO4", "RADIO29", "RADIO69", "RADIO27", "RADIO28"}) {
        EXPECT_TRUE(f.c(name).enabled) << name;
        EXPECT_FALSE(f.c(name).checked) << name;
    }
    EXPECT_EQ(f.c("TEXT41").caption, "単位容積重量(kN/m3)");
    EXPECT_EQ(f.c("TEXT42").caption, "設計基準強度(N/mm2)");
    EXPECT_EQ(f.c("TEXT43").caption, "ヤング係数(N/mm2)");
    EXPECT_EQ(f.c("TEXT64").caption, "せん断弾性係数(N/mm2)");
}

TEST_F(ConditionsForm, ConcreteFromUnitWeightAndStrengthInSiUnits) {
    Form9& f = open();
    f.click("RADIO3");
    EXPECT_TRUE(f.c("EDIT100").enabled);
    EXPECT_TRUE(f.c("TEXT42").enabled);
    f.click("RADIO28");
    EXPECT_FLOAT_EQ(m().ShearShapeFactor, 1.2f);
    EXPECT_FALSE(f.c("BUTTON37").enabled); // the values are still to come
    f.typeText("EDIT100", "24");
    EXPECT_FALSE(f.c("BUTTON37").enabled);
    f.typeText("EDIT101", "24");
    EXPECT_TRUE(f.c("BUTTON37").enabled);
    ASSERT_TRUE(f.click("BUTTON37"));
    EXPECT_NEAR(m().YoungModulus, 24683.0, 0.05);
    EXPECT_NEAR(m().ShearModulus, 10284.6, 0.05);
    EXPECT_FALSE(f.isOpen());
    Form* loads = p->form("FORM10");
    ASSERT_NE(loads, nullptr);
    EXPECT_TRUE(loads->isOpen());
    EXPECT_EQ(loads->focus(), "RADIO45");
}

TEST_F(ConditionsForm, ConcreteFromUnitWeightAndStrengthInTheOlderUnits) {
    m().UnitFactor = 1;
    Form9& f = open();
    EXPECT_EQ(f.c("TEXT41").caption, "単位容積重量(t/m3)");
    EXPECT_EQ(f.c("TEXT42").caption, "設計基準強度(kg/cm2)");
    EXPECT_EQ(f.c("TEXT43").caption, "ヤング係数(t/cm2)");
    EXPECT_EQ(f.c("TEXT64").caption, "せん断弾性係数(t/cm2)");
    f.click("RADIO3");
    f.click("RADIO29");
    f.typeText("EDIT100", "2.3");
    f.typeText("EDIT101", "240");
    f.click("BUTTON37");
    EXPECT_NEAR(m().YoungModulus, 230.04, 0.005);
    EXPECT_NEAR(m().ShearModulus, 95.85, 0.005);
    EXPECT_EQ(m().ShearShapeFactor, 0.0f);
}

TEST_F(ConditionsForm, RectangleThenSteelEnablesLoadInputAtOnce) {
    Form9& f = open();
    f.click("RADIO28");
    EXPECT_FALSE(f.c("BUTTON37").enabled);
    f.click("RADIO1");
    EXPECT_TRUE(f.c("BUTTON37").enabled);
    f.click("BUTTON37");
    EXPECT_EQ(m().YoungModulus, 205000.0f);
    EXPECT_EQ(m().ShearModulus, 79000.0f);
    EXPECT_FLOAT_EQ(m().ShearShapeFactor, 1.2f);
}

TEST_F(ConditionsForm, StandardValuesOfSteelAndConcreteInBothUnitSystems) {
    struct Case {
        float unitFactor;
        const char* radio;
        float e, g;
    } cases[] = {{kSiUnitFactor, "RADIO2", 20593.965f, 8825.985f},
                 {1.0f, "RADIO1", 2100.0f, 810.0f},
                 {1.0f, "RADIO2", 210.0f, 90.0f}};
    for (const Case& c : cases) {
        m().UnitFactor = c.unitFactor;
        Form9& f = open();
        f.click(c.radio);
        f.click("RADIO27");
        EXPECT_FLOAT_EQ(m().ShearShapeFactor, 1.0f);
        ASSERT_TRUE(f.click("BUTTON37")) << c.radio;
        EXPECT_NEAR(m().YoungModulus, c.e, 0.002) << c.radio << " " << c.unitFactor;
        EXPECT_NEAR(m().ShearModulus, c.g, 0.002) << c.radio << " " << c.unitFactor;
    }
}

TEST_F(ConditionsForm, DirectInputTakesTheTypedModuliAndSwitchingOptionsSwapsTheBoxes) {
    Form9& f = open();
    f.click("RADIO3");
    f.click("RADIO4");
    for (const char* name : {"EDIT100", "EDIT101", "TEXT41", "TEXT42"})
        EXPECT_FALSE(f.c(name).enabled) << name;
    for (const char* name : {"EDIT102", "EDIT149", "TEXT43", "TEXT64"})
        EXPECT_TRUE(f.c(name).enabled) << name;
    f.click("RADIO1");
    EXPECT_FALSE(f.c("EDIT102").enabled);
    f.click("RADIO4");
    // Without a shear choice the third change makes the button available.
    f.typeText("EDIT102", "21000");
    f.typeText("EDIT149", "9000");
    EXPECT_FALSE(f.c("BUTTON37").enabled);
    f.typeText("EDIT149", "8750");
    EXPECT_TRUE(f.c("BUTTON37").enabled);
    f.click("BUTTON37");
    EXPECT_EQ(m().YoungModulus, 21000.0f);
    EXPECT_EQ(m().ShearModulus, 8750.0f);
    EXPECT_EQ(m().ShearShapeFactor, 0.0f);
}

TEST_F(ConditionsForm, TheShapeFactorIsAskedForUntilItIsANonZeroNumber) {
    Form9& f = open();
    f.click("RADIO1");
    platform.dialogs.queueInput(std::string(""));
    platform.dialogs.queueInput(std::string("abc"));
    platform.dialogs.queueInput(std::string("0"));
    platform.dialogs.queueInput(std::string("1.15"));
    f.click("RADIO69");
    const auto& inputs = platform.dialogs.inputs();
    ASSERT_EQ(inputs.size(), 4u);
    EXPECT_EQ(inputs[0].prompt, "せん断に対する形状係数を入力してください");
    EXPECT_EQ(inputs[0].title, "rahmen");
    EXPECT_EQ(inputs[0].defaultText, "");
    EXPECT_FLOAT_EQ(m().ShearShapeFactor, 1.15f);
    EXPECT_TRUE(f.c("BUTTON37").enabled);
    EXPECT_EQ(f.ConditionProgress, 1);
}

TEST_F(ConditionsForm, CancellingTheShapeFactorLeavesTheShearChoiceAsItWas) {
    Form9& f = open();
    f.click("RADIO3");
    f.click("RADIO28");
    f.typeText("EDIT100", "24");
    platform.dialogs.queueInput(std::nullopt);
    f.click("RADIO69");
    EXPECT_TRUE(f.c("RADIO28").checked);
    EXPECT_FALSE(f.c("RADIO69").checked);
    EXPECT_FLOAT_EQ(m().ShearShapeFactor, 1.2f);
    EXPECT_EQ(f.ConditionProgress, 2);
}

TEST_F(ConditionsForm, AStrengthWithNoCubeRootIsRefusedAndNothingStored) {
    m().YoungModulus = 1;
    Form9& f = open();
    f.click("RADIO3");
    f.click("RADIO28");
    f.typeText("EDIT100", "24");
    f.typeText("EDIT101", "-24");
    f.click("BUTTON37");
    EXPECT_TRUE(f.isOpen());
    EXPECT_EQ(m().YoungModulus, 1.0f);
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(p->form("FORM10"), nullptr);
}

TEST_F(ConditionsForm, CancelStoresNothingAndHelpOpensTheTableInputTopic) {
    m().YoungModulus = 1;
    Form9& f = open();
    f.click("RADIO28");
    f.click("RADIO1");
    f.click("BUTTON61");
    f.click("BUTTON39");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(m().YoungModulus, 1.0f);
    EXPECT_EQ(p->form("FORM10"), nullptr);
    ASSERT_EQ(platform.dialogs.helps().size(), 1u);
    EXPECT_EQ(platform.dialogs.helps()[0].keyword, "表入力解析");
}

} // namespace
} // namespace rahmen::testing
