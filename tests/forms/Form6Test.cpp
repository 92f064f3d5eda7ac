#include "LoadFormTesting.h"

#include "forms/Form6.h"
#include "model/ModelFiles.h"

namespace rahmen::testing {
namespace {

class SupportForm : public LoadFormsTest {
protected:
    // Fifteen nodes in a line, no supports marked yet, `supports` typed in
    // the outline.
    void frame(int supports) {
        twoBayFrame();
        m().NodeCount = 15;
        m().NodeIsSupport.fill(0);
        m().SupportCount = static_cast<int16_t>(supports);
        menu.c("BUTTON29").enabled = true;
        for (const char* name : {"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON92", "BUTTON93"})
            menu.c(name).enabled = false;
    }

    Form6& open() { return *dynamic_cast<Form6*>(p->openForm("FORM6")); }

    void typePage(Form6& f, std::vector<std::string> nodes) {
        for (std::size_t k = 0; k < nodes.size(); ++k)
            ASSERT_TRUE(f.typeText(Form6::nodeBox(static_cast<int>(k) + 1), nodes[k]));
    }

    std::vector<int> marked() {
        std::vector<int> nodes;
        for (int n = 1; n <= kMaxNodes; ++n)
            if (m().NodeIsSupport[n] == -1) nodes.push_back(n);
        return nodes;
    }

    // The frame file as another run reads it back.
    std::unique_ptr<Model> readBack() {
        auto read = platform.files.read("frame1.fdt");
        EXPECT_TRUE(read.ok) << read.error;
        auto model = std::make_unique<Model>();
        ItemReader in(read.bytes, "frame1.fdt");
        readFrameFile(*model, in);
        return model;
    }
};

TEST_F(SupportForm, TenSupportsAreFinishedFromTheFirstPageAndWriteTheFrameFile) {
    frame(10);
    Form6& f = open();
    EXPECT_EQ(f.caption(), "支持条件入力");
    EXPECT_EQ(f.c("TEXT28").caption, "支持点とする節点番号を入力してください。");
    EXPECT_EQ(f.focus(), "EDIT68");
    EXPECT_FALSE(f.c("BUTTON40").enabled);
    EXPECT_TRUE(f.c("BUTTON41").enabled);

    typePage(f, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    ASSERT_TRUE(f.click("BUTTON41"));
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(marked(), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_EQ(m().SupportCount, 10);
    EXPECT_EQ(m().FrameFileState, 1);
    for (const char* name : {"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON92", "BUTTON93"})
        EXPECT_TRUE(menu.c(name).enabled) << name;
    EXPECT_FALSE(menu.c("BUTTON29").enabled);

    auto back = readBack();
    EXPECT_EQ(back->SupportCount, 10);
    EXPECT_EQ(back->NodeIsSupport[10], -1);
    EXPECT_EQ(back->NodeIsSupport[11], 0);
}

TEST_F(SupportForm, FifteenSupportsOfferOnlyNextPageFirstAndOnlyFinishOnTheSecondPage) {
    frame(15);
    Form6& f = open();
    EXPECT_TRUE(f.c("BUTTON40").enabled);
    EXPECT_FALSE(f.c("BUTTON41").enabled);

    typePage(f, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    f.setFocus("EDIT99");
    ASSERT_TRUE(f.click("BUTTON40"));
    EXPECT_EQ(f.SupportPage, 1);
    EXPECT_FALSE(f.c("BUTTON40").enabled);
    EXPECT_TRUE(f.c("BUTTON41").enabled);
    EXPECT_EQ(f.focus(), "EDIT68");
    for (int k = 1; k <= 10; ++k)
        EXPECT_EQ(f.c(Form6::nodeBox(k)).caption, "") << k;
    EXPECT_EQ(marked().size(), 10u);

    typePage(f, {"11", "12", "13", "14", "15"});
    ASSERT_TRUE(f.click("BUTTON41"));
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(m().SupportCount, 15);
    EXPECT_EQ(readBack()->SupportCount, 15);
}

TEST_F(SupportForm, AMiddlePageOffersOnlyNextPage) {
    frame(25);
    m().NodeCount = 30;
    Form6& f = open();
    typePage(f, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    f.click("BUTTON40");
    EXPECT_TRUE(f.c("BUTTON40").enabled);
    EXPECT_FALSE(f.c("BUTTON41").enabled);
    typePage(f, {"11", "12", "13", "14", "15", "16", "17", "18", "19", "20"});
    f.click("BUTTON40");
    EXPECT_FALSE(f.c("BUTTON40").enabled);
    EXPECT_TRUE(f.c("BUTTON41").enabled);
}

TEST_F(SupportForm, NumbersThatNameNoNodeAreRefusedBeforeAnythingOfThePageIsMarked) {
    frame(3);
    m().NodeCount = 9;
    Form6& f = open();
    for (const char* wrong : {"10", "0", "-1", "2.5", "abc"}) {
        platform.dialogs.clearLog();
        typePage(f, {"2", wrong});
        ASSERT_TRUE(f.click("BUTTON41"));
        EXPECT_TRUE(f.isOpen()) << wrong;
        EXPECT_TRUE(marked().empty()) << wrong;
        EXPECT_EQ(f.focus(), "EDIT69");
        ASSERT_EQ(messages().size(), 1u);
        EXPECT_EQ(messages()[0], std::string("節点番号 ") + wrong +
                                     " の節点はありません（節点番号は 1～9）。修正してください。");
        EXPECT_EQ(platform.dialogs.messages()[0].title, "rahmen");
    }
    typePage(f, {"2", " 9 "});
    ASSERT_TRUE(f.click("BUTTON41"));
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(marked(), (std::vector<int>{2, 9}));
}

TEST_F(SupportForm, ANodeGivenTwiceInOneVisitIsRefused) {
    frame(15);
    Form6& f = open();
    typePage(f, {"3", "4", "3"});
    f.click("BUTTON40");
    EXPECT_EQ(f.SupportPage, 0);
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(f.focus(), "EDIT70");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0], "節点番号 3 は支持点として入力済みです。修正してください。");

    typePage(f, {"3", "4", ""});
    f.click("BUTTON40");
    EXPECT_EQ(f.SupportPage, 1);
    typePage(f, {"5", "", "", "", "", "", "", "", "", "4"}); // 4 was on the first page
    f.click("BUTTON41");
    EXPECT_TRUE(f.isOpen());
    EXPECT_EQ(f.focus(), "EDIT99");
    EXPECT_EQ(marked(), (std::vector<int>{3, 4}));
}

TEST_F(SupportForm, TheFrameFileStatesTheSupportsMarkedWhenFewerWereGivenThanTheOutlineSaid) {
    frame(3);
    Form6& f = open();
    typePage(f, {"1", "", "3"});
    f.click("BUTTON41");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(m().SupportCount, 2);
    auto back = readBack();
    EXPECT_EQ(back->SupportCount, 2);
    EXPECT_EQ(back->NodeIsSupport[1], -1);
    EXPECT_EQ(back->NodeIsSupport[2], 0);
    EXPECT_EQ(back->NodeIsSupport[3], -1);
}

TEST_F(SupportForm, AFrameFileThatCannotBeWrittenLeavesTheFormOpenAndThePageUnmarked) {
    frame(2);
    m().DataName = "no-such-folder/frame1";
    Form6& f = open();
    typePage(f, {"1", "2"});
    f.click("BUTTON41");
    EXPECT_TRUE(f.isOpen());
    EXPECT_FALSE(messages().empty()); // the writer's message
    EXPECT_TRUE(marked().empty());
    EXPECT_EQ(m().SupportCount, 2);
    EXPECT_FALSE(menu.c("BUTTON3").enabled);

    // Pressed again once the name is right, the same page goes through.
    m().DataName = "frame1";
    f.click("BUTTON41");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(marked(), (std::vector<int>{1, 2}));
}

TEST_F(SupportForm, CancelKeepsThePagesAlreadyMarkedAndTheyMayBeGivenAgainLater) {
    frame(15);
    Form6& f = open();
    typePage(f, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    f.click("BUTTON40");
    typePage(f, {"11"});
    f.click("BUTTON42");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(marked().size(), 10u); // the page on screen was not stored
    EXPECT_TRUE(menu.c("BUTTON29").enabled);

    Form6& again = open();
    EXPECT_EQ(again.SupportPage, 0);
    typePage(again, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
    again.click("BUTTON40");
    EXPECT_EQ(again.SupportPage, 1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(SupportForm, HelpOpensTheSupportTopic) {
    frame(3);
    open().click("BUTTON58");
    ASSERT_EQ(platform.dialogs.helps().size(), 1u);
    EXPECT_EQ(platform.dialogs.helps()[0].file, "rahmen.hlp");
    EXPECT_EQ(platform.dialogs.helps()[0].keyword, "支持点入力");
}

TEST_F(LoadFormsTest, EveryFormOpensCentredWithTheFontOffsetAndTabsThroughItsBoxesRowByRow) {
    twoBayFrame();
    p->FontOffset = 3;
    p->model.CurrentMember = 1;
    p->PinSpringChoice = 1;
    for (const char* name : {"FORM6", "FORM7", "FORM9", "FORM10"}) {
        Form* f = p->openForm(name);
        ASSERT_NE(f, nullptr) << name;
        EXPECT_TRUE(f->isOpen());
        EXPECT_EQ(f->left(), (1024 - f->width()) / 2) << name;
        EXPECT_EQ(f->top(), (768 - f->height()) / 2) << name;
        for (const Control& control : f->controls()) {
            EXPECT_EQ(control.fontSize, 12) << name << " " << control.name;
            EXPECT_LE(control.x + control.width, f->width()) << name << " " << control.name;
            EXPECT_LE(control.y + control.height, f->height()) << name << " " << control.name;
        }
        f->close();
    }
    // Tab order is declaration order: the boxes of a row come before the
    // next row, and a row runs left to right.
    Form* f = p->openForm("FORM10");
    auto tab = [&](const char* name) { return f->c(name).tabIndex; };
    EXPECT_LT(tab("EDIT103"), tab("EDIT108"));
    EXPECT_LT(tab("EDIT133"), tab("EDIT104"));
    EXPECT_LT(f->c("EDIT108").x, f->c("EDIT113").x);
    EXPECT_LT(f->c("EDIT103").y, f->c("EDIT104").y);
    EXPECT_LT(tab("EDIT173"), tab("EDIT174"));
    Form* supports = p->openForm("FORM6");
    EXPECT_LT(supports->c("EDIT72").tabIndex, supports->c("EDIT95").tabIndex);
    EXPECT_EQ(supports->c("EDIT95").x, supports->c("EDIT68").x);
    EXPECT_GT(supports->c("EDIT95").y, supports->c("EDIT68").y);
}

} // namespace
} // namespace rahmen::testing
