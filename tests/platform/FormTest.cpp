#include "platform/Form.h"
#include "platform/Desktop.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace rahmen {
namespace {

// A small form in the way the program's forms are written: controls declared
// with design captions and rectangles, handlers under the design names.
class SampleForm : public Form {
public:
    std::vector<std::string> calls;

    SampleForm() : Form("FORM3", "座標入力", 600, 400) {
        setHelpKeyword("座標入力");
        addLabel("TEXT1", "節点番号", 10, 10, 80, 20);
        addEdit("EDIT13", "", 100, 10, 80, 20);
        addButton("BUTTON9", "終了", 10, 300, 80, 30);
        addButton("BUTTON10", "次ページ", 100, 300, 80, 30).enabled = false;
        addCheck("CHECK14", "応力値非表示", 10, 50, 120, 20);
        addGroup("GROUP1", "単位", 200, 40, 200, 80);
        addRadio("RADIO65", "SI単位", 210, 60, 80, 20, "GROUP1").checked = true;
        addRadio("RADIO66", "旧単位", 300, 60, 80, 20, "GROUP1");
        addRadio("RADIO1", "別", 10, 80, 80, 20);
        addCombo("COMBO7", 10, 120, 150, 20).items = {"H-100x100", "H-150x150"};
        Control& bar = addHScroll("HSCROLL1", 80, 350, 490, 20);
        bar.scrollMin = -3142;
        bar.scrollMax = 3142;
        addPicture("PICTURE1", 0, 0, 680, 600);

        onClick("BUTTON9", [this] { BUTTON9_ON(); });
        onClick("BUTTON10", [this] { calls.push_back("BUTTON10_ON"); });
        onClick("CHECK14", [this] {
            calls.push_back(std::string("CHECK14_ON ") + (c("CHECK14").checked ? "1" : "0"));
        });
        onClick("RADIO66", [this] { calls.push_back("RADIO66_ON"); });
        onChange("EDIT13", [this] { calls.push_back("EDIT13_CHANGE " + c("EDIT13").caption); });
        onChange("COMBO7", [this] { calls.push_back("COMBO7_CHANGE " + c("COMBO7").caption); });
        onScroll("HSCROLL1", [this] {
            calls.push_back("SCROLL_ON " + std::to_string(c("HSCROLL1").scrollPos));
        });
        onMouseDown([this](MouseButton b, int x, int y) {
            calls.push_back("FORM3_MOUSEDOWN " + std::to_string(static_cast<int>(b)) + " " +
                            std::to_string(x) + " " + std::to_string(y));
        });
        onKey([this](int key) { calls.push_back("KEY " + std::to_string(key)); });
    }

protected:
    void start() override {
        calls.push_back("FORM3_START");
        c("BUTTON10").enabled = true;
    }
    void end() override { calls.push_back("FORM3_END"); }

private:
    void BUTTON9_ON() {
        calls.push_back("BUTTON9_ON");
        close();
    }
};

class RecordingListener : public DesktopListener {
public:
    std::vector<std::string> events;
    void formOpened(Form& f) override { events.push_back("opened " + f.name()); }
    void formClosed(Form& f) override { events.push_back("closed " + f.name()); }
    void formChanged(Form& f) override { events.push_back("changed " + f.name()); }
};

TEST(Form, ControlsKeepDesignOrderAndUnknownNamesFailLoudly) {
    SampleForm form;
    ASSERT_EQ(form.controls().size(), 12u);
    EXPECT_EQ(form.controls()[0].name, "TEXT1");
    EXPECT_EQ(form.controls()[11].name, "PICTURE1");
    EXPECT_EQ(form.c("BUTTON9").tabIndex, 2);
    EXPECT_EQ(form.c("BUTTON9").y, 300);
    EXPECT_THROW(form.c("EDIT14"), std::out_of_range);
    EXPECT_THROW(form.setFocus("EDIT14"), std::out_of_range);
    ASSERT_NE(form.picture(), nullptr);
    EXPECT_EQ(form.picture()->width(), 680);
}

TEST(Form, OpeningRunsStartHookBeforeListenersAndClosingRunsEndHook) {
    Desktop desktop;
    RecordingListener listener;
    desktop.addListener(&listener);
    SampleForm form;

    EXPECT_FALSE(form.click("BUTTON9")) << "a closed form takes no events";
    desktop.show(form);
    EXPECT_TRUE(form.isOpen());
    EXPECT_TRUE(form.c("BUTTON10").enabled) << "start hook ran";
    ASSERT_EQ(desktop.find("FORM3"), &form);

    // The end button closes its own form from inside the handler.
    EXPECT_TRUE(form.click("BUTTON9"));
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(desktop.find("FORM3"), nullptr);
    EXPECT_EQ(form.calls, (std::vector<std::string>{"FORM3_START", "BUTTON9_ON", "FORM3_END"}));
    EXPECT_EQ(listener.events, (std::vector<std::string>{"opened FORM3", "closed FORM3"}));
}

TEST(Form, EventsReachHandlersAndDisabledOrHiddenControlsIgnoreThem) {
    Desktop desktop;
    SampleForm form;
    desktop.show(form);
    form.calls.clear();

    form.c("BUTTON10").enabled = false;
    EXPECT_FALSE(form.click("BUTTON10"));
    form.c("BUTTON10").enabled = true;
    form.c("BUTTON10").visible = false;
    EXPECT_FALSE(form.click("BUTTON10"));
    form.c("BUTTON10").visible = true;
    EXPECT_TRUE(form.click("BUTTON10"));

    form.c("EDIT13").enabled = false;
    EXPECT_FALSE(form.typeText("EDIT13", "99"));
    EXPECT_EQ(form.c("EDIT13").caption, "") << "a disabled edit cannot be typed into";
    form.c("EDIT13").enabled = true;
    EXPECT_TRUE(form.typeText("EDIT13", "12.5"));

    EXPECT_TRUE(form.mouseDown(MouseButton::Right, 120, 345));
    EXPECT_TRUE(form.keyPress(13));
    EXPECT_TRUE(form.click("TEXT1")) << "a control without a handler still takes the click";
    EXPECT_THROW(form.click("BUTTON99"), std::out_of_range);

    EXPECT_EQ(form.calls, (std::vector<std::string>{"BUTTON10_ON", "EDIT13_CHANGE 12.5",
                                                    "FORM3_MOUSEDOWN 2 120 345", "KEY 13"}));
}

TEST(Form, ClicksToggleChecksAndRadiosExcludeTheirGroupOnly) {
    Desktop desktop;
    SampleForm form;
    desktop.show(form);
    form.calls.clear();
    form.c("RADIO1").checked = true;

    form.click("CHECK14");
    form.click("CHECK14");
    form.click("RADIO66");
    EXPECT_EQ(form.calls, (std::vector<std::string>{"CHECK14_ON 1", "CHECK14_ON 0", "RADIO66_ON"}));
    EXPECT_FALSE(form.c("RADIO65").checked);
    EXPECT_TRUE(form.c("RADIO66").checked);
    EXPECT_TRUE(form.c("RADIO1").checked) << "a radio of another group keeps its state";
    form.click("RADIO66");
    EXPECT_TRUE(form.c("RADIO66").checked) << "clicking a checked radio leaves it checked";
}

TEST(Form, ChooseAndScrollToSetTheControlBeforeTheHandlerRuns) {
    Desktop desktop;
    SampleForm form;
    desktop.show(form);
    form.calls.clear();

    EXPECT_TRUE(form.choose("COMBO7", 1));
    EXPECT_EQ(form.c("COMBO7").selected, 1);
    EXPECT_FALSE(form.choose("COMBO7", 2)) << "no third entry";
    EXPECT_EQ(form.c("COMBO7").selected, 1);
    EXPECT_TRUE(form.scrollTo("HSCROLL1", 5000));
    EXPECT_TRUE(form.scrollTo("HSCROLL1", -100));
    EXPECT_EQ(form.calls, (std::vector<std::string>{"COMBO7_CHANGE H-150x150", "SCROLL_ON 3142",
                                                    "SCROLL_ON -100"}));
}

TEST(Form, EveryEventRefreshesAllOpenFormsForTheGui) {
    Desktop desktop;
    RecordingListener listener;
    desktop.addListener(&listener);
    SampleForm menu;
    SampleForm input;
    desktop.show(menu);
    desktop.show(input);
    listener.events.clear();

    input.click("BUTTON10");
    EXPECT_EQ(listener.events, (std::vector<std::string>{"changed FORM3", "changed FORM3"}));
    EXPECT_EQ(desktop.openForms(), (std::vector<Form*>{&menu, &input}));
}

TEST(Desktop, CentresFormsOnTheScreen) {
    Desktop desktop; // 1024 x 768
    SampleForm form; // 600 x 400
    desktop.centerForm(form);
    EXPECT_EQ(form.left(), 212);
    EXPECT_EQ(form.top(), 184);

    form.resize(601, 401); // odd differences round down
    desktop.centerForm(form);
    EXPECT_EQ(form.left(), 211);
    EXPECT_EQ(form.top(), 183);

    desktop.setScreenSize(800, 600);
    form.resize(900, 700); // larger than the screen: kept on it
    desktop.centerForm(form);
    EXPECT_EQ(form.left(), 0);
    EXPECT_EQ(form.top(), 0);
}

TEST(Desktop, ShowingTwiceIsHarmlessAndDestroyedFormsLeaveTheDesktop) {
    Desktop desktop;
    RecordingListener listener;
    desktop.addListener(&listener);
    {
        SampleForm form;
        desktop.show(form);
        desktop.show(form);
        EXPECT_EQ(form.calls, (std::vector<std::string>{"FORM3_START"}));
        EXPECT_EQ(desktop.openForms().size(), 1u);
    }
    EXPECT_TRUE(desktop.openForms().empty());
    EXPECT_EQ(listener.events, (std::vector<std::string>{"opened FORM3", "closed FORM3"}));

    EXPECT_FALSE(desktop.endRequested());
    desktop.requestEnd();
    EXPECT_TRUE(desktop.endRequested());
}

TEST(Desktop, FormOutlivingItsDesktopCanStillBeDestroyed) {
    auto form = std::make_unique<SampleForm>();
    {
        Desktop desktop;
        desktop.show(*form);
    }
    EXPECT_FALSE(form->isOpen());
    EXPECT_FALSE(form->click("BUTTON10"));
    form->close(); // no desktop any more: nothing to do
    form.reset();
}

} // namespace
} // namespace rahmen
