#include "model/Program.h"
#include "model/DataName.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

namespace rahmen {
namespace {

class Menu : public Form {
public:
    Menu() : Form("MAINFORM", "プログラムメニュー", 400, 300) {
        addButton("BUTTON28", "部材ﾀｲﾌﾟ入力", 0, 0, 10, 10).enabled = false;
        addButton("BUTTON27", "概要入力", 0, 0, 10, 10);
    }
};

TEST(Program, MenuEnablingReachesTheMainMenuOnlyOnceItExists) {
    ScriptedPlatform platform;
    auto p = Program::create(platform.services());
    p->menuEnable({"BUTTON28"}, {"BUTTON27"}); // no menu yet: nothing happens
    Menu menu;
    p->mainMenu = &menu;
    p->menuEnable({"BUTTON28", "BUTTON999"}, {"BUTTON27"});
    EXPECT_TRUE(menu.c("BUTTON28").enabled);
    EXPECT_FALSE(menu.c("BUTTON27").enabled);
}

TEST(Program, ProgressWindowShowsStepsAndPrintedLinesAndClosesWithOk) {
    ScriptedPlatform platform;
    auto p = Program::create(platform.services());
    p->FontOffset = 3;
    p->progress.begin(p->FontOffset);
    EXPECT_TRUE(p->progress.isOpen());
    EXPECT_FALSE(p->progress.c("BUTTON64").enabled);
    EXPECT_EQ(p->progress.c("EDIT151").fontSize, Canvas::DefaultFontSize + 3);
    p->progress.step("データファイル作成中");
    p->progress.print("ζζζ");
    EXPECT_EQ(p->progress.c("EDIT151").caption, "データファイル作成中");
    ASSERT_EQ(p->progress.picture()->items().size(), 1u);
    EXPECT_EQ(p->progress.picture()->items()[0].text, "ζζζ");
    p->progress.finish();
    EXPECT_TRUE(p->progress.click("BUTTON64"));
    EXPECT_FALSE(p->progress.isOpen());

    // Opening it again starts from an empty picture.
    p->progress.begin(p->FontOffset);
    EXPECT_TRUE(p->progress.picture()->items().empty());
}

} // namespace
} // namespace rahmen

namespace rahmen {
namespace {

class CountingForm : public Form {
public:
    explicit CountingForm(int& starts) : Form("FORM2", "概要入力", 300, 200), starts_(starts) {
        addEdit("DTNAME", "", 10, 10, 100, 20);
    }
    void start() override { ++starts_; }

private:
    int& starts_;
};

TEST(Program, FormsAreLoadedAfreshEachTimeTheyOpen) {
    ScriptedPlatform platform;
    auto p = Program::create(platform.services());
    EXPECT_EQ(p->openForm("FORM2"), nullptr); // nobody registered it yet
    int starts = 0;
    p->registerForm("FORM2",
                    [&starts](Program&) { return std::make_unique<CountingForm>(starts); });
    Form* first = p->openForm("FORM2");
    ASSERT_NE(first, nullptr);
    first->typeText("DTNAME", "frame1");
    Form* second = p->openForm("FORM2");
    EXPECT_EQ(starts, 2);
    EXPECT_NE(first, second);
    EXPECT_EQ(second->c("DTNAME").caption, "");
    EXPECT_EQ(p->form("FORM2"), second);
    ASSERT_EQ(platform.desktop.openForms().size(), 1u);
    EXPECT_EQ(platform.desktop.openForms()[0], second);
}

} // namespace
} // namespace rahmen

namespace rahmen {
namespace {

TEST(DataName, RefusesNamesThatAreNotPlainFileNames) {
    struct Case {
        const char* name;
        bool usable;
    };
    const Case cases[] = {
        {"frame1", true}, {"骨組 A-1", true}, {".hidden", true}, {"", false},
        {".", false},     {"..", false},      {"../x", false},   {"a/b", false},
        {"a\\b", false},  {"c:x", false},     {"x*", false},     {"x?", false},
        {"\"x\"", false}, {"<x>", false},     {"x|y", false},    {"tab\there", false},
    };
    for (const Case& k : cases)
        EXPECT_EQ(dataNameProblem(k.name).empty(), k.usable) << "name: " << k.name;
}

TEST(DataName, RefusesNamesWhoseLongestFileNameWouldNotFit) {
    // The longest file is NAME_loads.adt with an 11-byte temporary suffix:
    // 234 bytes are left, in UTF-8 (3 per Japanese character) and CP932 (2).
    auto times = [](const std::string& unit, int n) {
        std::string s;
        while (n-- > 0)
            s += unit;
        return s;
    };
    const std::pair<std::string, bool> cases[] = {
        {times("a", 234), true},  {times("a", 235), false}, {times("骨", 78), true},
        {times("骨", 79), false}, {times("ｺ", 78), true},   {times("骨", 83), false},
    };
    for (const auto& [name, usable] : cases)
        EXPECT_EQ(dataNameProblem(name).empty(), usable) << "bytes: " << name.size();
    EXPECT_EQ(dataNameProblem(times("骨", 79)),
              "データ名が長すぎます、ファイル名にできません。\r\n"
              "データ名は英数字で 234 文字、全角文字で 78 文字までにしてください。");
}

TEST(DataName, AskIsRepeatedUntilTheNameCanBeUsedOrCancelled) {
    ScriptedPlatform platform;
    auto p = Program::create(platform.services());
    platform.dialogs.queueInput(std::string("../x"));
    platform.dialogs.queueInput(std::string(""));
    platform.dialogs.queueInput(std::string("frame2"));
    EXPECT_EQ(askDataName(*p, "名前"), std::optional<std::string>("frame2"));
    ASSERT_EQ(platform.dialogs.messages().size(), 2u);
    EXPECT_NE(platform.dialogs.messages()[0].text.find("使えない文字"), std::string::npos);

    platform.dialogs.queueInput(std::nullopt);
    EXPECT_FALSE(askDataName(*p, "名前").has_value());
}

} // namespace
} // namespace rahmen
