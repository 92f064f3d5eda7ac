#include "InputFormsFixture.h"
#include "forms/SectionForms.h"

namespace rahmen::testing {
namespace {

// A one-bay frame of two storeys in X with a Y beam at the first floor; the
// right-hand nodes stand at X = 599.6 cm, which the files keep as 600. Every
// member is of type 1 (numbers); type 2 is the H-shape of row 0.
class PropertyForm : public InputFormsTest {
protected:
    PropertyForm() {
        registerSectionForms(*p);
        Model& m = model();
        const float x[] = {0, 599.6f, 0, 599.6f, 0, 599.6f, 0};
        const float z[] = {0, 0, 350, 350, 700, 700, 350};
        const int ends[][2] = {{1, 3}, {2, 4}, {3, 5}, {4, 6}, {3, 4}, {5, 6}, {3, 7}};
        m.NodeCount = m.MemberCount = 7;
        m.NodeY[7] = 500;
        for (int i = 1; i <= 7; ++i) {
            m.NodeX[i] = x[i - 1];
            m.NodeZ[i] = z[i - 1];
            m.MemberStartNode[i] = static_cast<int16_t>(ends[i - 1][0]);
            m.MemberEndNode[i] = static_cast<int16_t>(ends[i - 1][1]);
            m.MemberTypeNo[i] = 1;
            m.MemberArea[i] = m.TypeArea[1] = 100;
        }
        m.MemberTypeCount = 2;
        m.TypeSectionKind[2] = 2;
        m.TypeArea[2] = 11.85f;
        m.SteelTypeCount = 1;
        f = p->openForm("FORM11");
    }

    void click(const char* name) { ASSERT_TRUE(f->click(name)) << name; }
    std::vector<int> membersOfType(int t) {
        std::vector<int> found;
        for (int i = 1; i <= model().MemberCount; ++i)
            if (model().MemberTypeNo[i] == t) found.push_back(i);
        return found;
    }

    Form* f = nullptr;
};

TEST_F(PropertyForm, RelinkTakesTheMembersOfTheSpanOrFloorToTheWholeCentimetre) {
    const struct {
        const char *radio, *c1, *c2;
        std::vector<int> taken;
    } cases[] = {
        {"RADIO44", "350", "0", {1, 2}}, // first-storey columns, not the beams at 350
        {"RADIO42", "0", "600", {5, 6}}, // X beams, ends at 599.6 kept as 600
        {"RADIO41", "", "", {1, 2, 3, 4, 5, 6, 7}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.radio);
        for (int i = 1; i <= 7; ++i)
            model().MemberTypeNo[i] = 1;
        click(c.radio);
        type(*f, {{"EDIT166", "1"}, {"EDIT167", "2"}});
        if (*c.c1) type(*f, {{"EDIT168", c.c1}, {"EDIT169", c.c2}});
        click("BUTTON33");
        EXPECT_EQ(membersOfType(2), c.taken);
        EXPECT_FLOAT_EQ(model().MemberArea[c.taken.front()], 11.85f);
        EXPECT_EQ(messages().back(),
                  "部材 " + std::to_string(c.taken.size()) + " 本の関連付けを変更しました。");
    }
    EXPECT_EQ(p->PropertyModified, 1);
    EXPECT_FALSE(f->c("BUTTON94").enabled);
}

TEST_F(PropertyForm, RelinkThatChangesNothingOrNamesNoTypeLeavesTheFormUnmodified) {
    for (const char* target : {"3", "1"}) {
        type(*f, {{"EDIT166", "1"}, {"EDIT167", target}});
        click("BUTTON33");
    }
    EXPECT_EQ(messages().front(), "変更関連付けする部材タイプNoは 1～2 で入力してください。");
    EXPECT_EQ(messages().back(), "関連付けを変更する部材はありませんでした。");
    EXPECT_EQ(p->PropertyModified, 0);
}

TEST_F(PropertyForm, RectangleThirtyBySixtyAsksAboutTheBeamFirstThenAdds) {
    type(*f, {{"EDIT164", "30"}, {"EDIT165", "60"}});
    dialogs().queueMessage(MessageResult::Ok);
    dialogs().queueMessage(MessageResult::Yes);
    click("BUTTON50");
    EXPECT_EQ(messages(), (std::vector<std::string>{"No 3 が梁の場合、水平幅＞垂直高さとなります。",
                                                    "部材タイプを追加しますか。"}));
    EXPECT_EQ(model().RectTypeCount, 1);
    EXPECT_FLOAT_EQ(model().TypeIy[3], 135000);
    EXPECT_NEAR(model().TypeJ[3], 370786, 1);
    EXPECT_EQ(f->c("EDIT163").caption, "4");
}

TEST_F(PropertyForm, OverwritesMoveTheKindCountsAndRefreshTheMembers) {
    // A 40 x 40 rectangle over the typed type 1, which all members have.
    type(*f, {{"EDIT163", "1"}, {"EDIT164", "40"}, {"EDIT165", "40"}});
    dialogs().queueMessage(MessageResult::Yes);
    click("BUTTON50");
    EXPECT_NEAR(model().TypeJ[1], 360533, 1);
    EXPECT_FLOAT_EQ(model().MemberArea[7], 1600);
    EXPECT_EQ(model().RectTypeCount, 1);
    // Typed properties over the steel type 2.
    type(*f, {{"EDIT163", "2"}, {"EDIT156", "50"}, {"EDIT157", "900"}, {"EDIT162", "300"}});
    dialogs().queueMessage(MessageResult::Yes);
    click("BUTTON62");
    EXPECT_EQ(model().SteelTypeCount, 0);
    EXPECT_EQ(model().TypeSectionKind[2], 0);
}

TEST_F(PropertyForm, RefusedNumbersAndNoAnswersChangeNothing) {
    const struct {
        const char *button, *number, *size;
        bool sayNo; // to the add / overwrite question
        const char *message, *numberAfter;
    } cases[] = {
        {"BUTTON71", "4", "", false,
         "部材タイプの追加は、タイプＮｏ＝既存タイプ数＋１として下さい。", "3"},
        {"BUTTON71", "0", "", false, "タイプＮｏを入力してください。", "3"},
        {"BUTTON50", "-1", "40", false, "タイプＮｏを入力してください。", "3"},
        {"BUTTON62", "0", "40", false, "タイプＮｏを入力してください。", "3"},
        {"BUTTON50", "1", "0", false, "A寸法とB寸法は 0 より大きい値を入力してください。", "1"},
        {"BUTTON62", "3", "-5", false,
         "断面積と断面２次モーメントは 0 より大きい値を入力してください。", "3"},
        {"BUTTON71", "1", "", true, "既存タイプを上書しますか。", "3"},
        {"BUTTON62", "3", "40", true, "部材タイプを追加しますか。", ""},
    };
    click("RADIO38");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " " + c.number);
        type(*f, {{"EDIT163", c.number}, {"EDIT164", c.size}, {"EDIT165", "40"}});
        type(*f, {{"EDIT156", c.size}, {"EDIT157", "10"}, {"EDIT162", "10"}});
        if (c.sayNo) dialogs().queueMessage(MessageResult::No);
        click(c.button);
        EXPECT_EQ(messages().back(), c.message);
        EXPECT_EQ(f->c("EDIT163").caption, c.numberAfter);
    }
    EXPECT_EQ(model().MemberTypeCount, 2);
    EXPECT_EQ(model().SteelTypeCount, 1);
    EXPECT_FLOAT_EQ(model().TypeArea[1], 100);
    EXPECT_EQ(p->PropertyModified, 0);

    model().MemberTypeCount = 100;
    type(*f, {{"EDIT163", "101"}, {"EDIT156", "1"}});
    click("BUTTON62");
    EXPECT_EQ(messages().back(), "部材タイプ数は 100 までです（101 が指定されました）。");
}

TEST_F(PropertyForm, AChangeDropsTheResultsAndTheEndWritesAFrameFileUnderAName) {
    menu.enableOnly({"BUTTON4", "BUTTON88"}); // as after an analysis
    model().AnalysisDone = 1;
    type(*f, {{"EDIT156", "10"}, {"EDIT157", "10"}, {"EDIT162", "10"}});
    dialogs().queueMessage(MessageResult::Yes);
    click("BUTTON62");
    EXPECT_EQ(model().AnalysisDone, 0);
    EXPECT_TRUE(menu.c("BUTTON3").enabled && menu.c("BUTTON92").enabled);

    // No frame file yet and no name: the form stays until a usable name is given.
    dialogs().queueInput(std::nullopt);
    click("BUTTON53");
    EXPECT_TRUE(f->isOpen());
    dialogs().queueInput("a/b");
    dialogs().queueInput("changed");
    click("BUTTON53");
    EXPECT_FALSE(f->isOpen());
    EXPECT_TRUE(platform.files.exists("changed.fdt"));
    EXPECT_EQ(p->PropertyModified, 0);
}

} // namespace
} // namespace rahmen::testing
