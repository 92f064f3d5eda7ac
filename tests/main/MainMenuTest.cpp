// The main menu and the main loop beyond what the scenarios show: the font
// adjustment, what the menu's openers do to the forms they open, the analysis
// reset after grid generation, the analysis-file question and a deletion that
// fails.

#include "main/Mainform.h"
#include "main/rahmen.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace rahmen {
namespace {

// A form standing in for an input form that the menu opens.
class StubForm : public Form {
public:
    StubForm(const std::string& name, std::initializer_list<const char*> buttons)
        : Form(name, name, 300, 200) {
        for (const char* b : buttons)
            addButton(b, b, 0, 0, 10, 10);
    }
};

struct Menu {
    ScriptedPlatform platform;
    Rahmen rahmen{platform.services()};
    Program& p = rahmen.program();
    MainForm& menu = rahmen.mainForm();

    Menu() { rahmen.start(); }

    void click(const std::string& name) {
        ASSERT_TRUE(menu.click(name)) << name << " cannot be clicked";
        rahmen.afterEvent();
    }
    void put(const std::string& name) { std::ofstream(platform.files.path(name)) << "x"; }
    bool enabled(const std::string& name) { return menu.c(name).enabled; }
};

TEST(MainMenu, FontsAreRaisedOnceAndTheMenuIsCentred) {
    Menu m;
    EXPECT_EQ(m.p.FontOffset, 3);
    EXPECT_EQ(m.menu.c("BUTTON1").fontSize, 12);
    EXPECT_EQ(m.menu.c("RADIO66").fontSize, 12);
    EXPECT_EQ(m.menu.c("TEXT1").fontSize, 15);
    EXPECT_EQ(m.menu.left(), (1024 - 420) / 2);
    EXPECT_EQ(m.menu.top(), (768 - 564) / 2); // grown by the load-case button below the end

    // A reset runs MAINFORM_START again; the fonts stay as they are.
    m.put("a.cdt");
    m.platform.dialogs.queueOpenFile(std::nullopt);
    m.p.MenuRequest = 1;
    m.rahmen.afterEvent();
    EXPECT_EQ(m.menu.c("BUTTON1").fontSize, 12);
    EXPECT_TRUE(m.enabled("BUTTON68")) << "DAT_ON runs after the reset";
}

TEST(MainMenu, EveryControlLiesInsideTheMenuAndNoButtonsOverlap) {
    Menu m;
    const auto& controls = m.menu.controls();
    for (const Control& c : controls) {
        EXPECT_GE(c.x, 0) << c.name;
        EXPECT_GE(c.y, 0) << c.name;
        EXPECT_LE(c.x + c.width, m.menu.width()) << c.name;
        EXPECT_LE(c.y + c.height, m.menu.height()) << c.name;
    }
    for (const Control& a : controls)
        for (const Control& b : controls) {
            if (&a == &b || a.kind == ControlKind::Group || b.kind == ControlKind::Group) continue;
            const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x ||
                               a.y + a.height <= b.y || b.y + b.height <= a.y;
            EXPECT_TRUE(apart) << a.name << " overlaps " << b.name;
        }
    // The reset buttons and their labels lie inside the group that frames them.
    const Control& g = m.menu.c("GROUP13");
    for (const char* name : {"BUTTON70", "BUTTON88", "TEXT107", "TEXT108"}) {
        const Control& c = m.menu.c(name);
        EXPECT_TRUE(c.x >= g.x && c.y >= g.y && c.x + c.width <= g.x + g.width &&
                    c.y + c.height <= g.y + g.height)
            << name;
    }
}

TEST(MainMenu, TypeButtonOpensTheSectionListOrThePagedTypeForm) {
    Menu m;
    m.p.model.MemberTypeCount = 7;
    m.menu.c("BUTTON28").enabled = true;

    m.platform.dialogs.queueMessage(MessageResult::No);
    m.click("BUTTON28");
    ASSERT_EQ(m.platform.dialogs.messages().size(), 1u);
    EXPECT_EQ(m.platform.dialogs.messages()[0].title, "部材タイプ");
    EXPECT_EQ(m.platform.dialogs.messages()[0].text, "形鋼から選択しますか");
    Form* types = m.platform.desktop.find("FORM4");
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(m.p.TypeFormMode, 1);
    EXPECT_EQ(types->c("EDIT28").caption, "1");
    EXPECT_EQ(types->c("EDIT32").caption, "5");
    types->close();

    m.platform.dialogs.queueMessage(MessageResult::Yes);
    m.click("BUTTON28");
    EXPECT_NE(m.platform.desktop.find("FORM16"), nullptr);
    EXPECT_EQ(m.platform.desktop.find("FORM4"), nullptr);
}

TEST(MainMenu, SupportFormIsFinishedFromItsLastPageOnly) {
    for (int supports : {10, 11}) {
        Menu m;
        m.p.registerForm("FORM6", [](Program&) {
            auto form = std::make_unique<StubForm>(
                "FORM6", std::initializer_list<const char*>{"EDIT68", "BUTTON40", "BUTTON41"});
            return form;
        });
        m.p.model.SupportCount = static_cast<int16_t>(supports);
        m.menu.c("BUTTON29").enabled = true;
        m.click("BUTTON29");
        Form* form = m.platform.desktop.find("FORM6");
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->focus(), "EDIT68");
        EXPECT_EQ(form->c("BUTTON40").enabled, supports > 10) << supports;
        EXPECT_EQ(form->c("BUTTON41").enabled, supports <= 10) << supports;
    }
}

TEST(MainMenu, EditingAGeneratedGridAsksFirst) {
    Menu m;
    m.p.registerForm("FORM8", [](Program&) {
        return std::make_unique<StubForm>("FORM8", std::initializer_list<const char*>{});
    });
    m.menu.c("BUTTON93").enabled = true;
    m.p.model.GridGenerated = 1;
    m.platform.dialogs.queueMessage(MessageResult::Cancel);
    m.click("BUTTON93");
    ASSERT_EQ(m.platform.dialogs.messages().size(), 1u);
    EXPECT_EQ(m.platform.dialogs.messages()[0].text,
              "骨組修正をすると、デフォルト荷重の解析は、できません。（中止→キャンセル）");
    EXPECT_EQ(m.platform.dialogs.messages()[0].icon, MessageIcon::Information);
    EXPECT_EQ(m.platform.desktop.find("FORM8"), nullptr);

    m.platform.dialogs.queueMessage(MessageResult::Ok);
    m.click("BUTTON93");
    EXPECT_NE(m.platform.desktop.find("FORM8"), nullptr);
    m.platform.desktop.find("FORM8")->close();

    m.p.model.GridGenerated = 0; // a frame of its own: no question
    m.click("BUTTON93");
    EXPECT_EQ(m.platform.dialogs.messages().size(), 2u);
    EXPECT_NE(m.platform.desktop.find("FORM8"), nullptr);
}

TEST(MainMenu, ButtonsWithoutARegisteredFormOpenNothing) {
    const struct {
        const char* button;
        const char* form;
    } openers[] = {{"BUTTON3", "FORM9"},   {"BUTTON4", "FORM13"},  {"BUTTON35", "FORM11"},
                   {"BUTTON92", "FORM13"}, {"BUTTON84", "FORM15"}, {"BUTTON93", "FORM8"},
                   {"BUTTON27", "FORM2"}};
    int tried = 0;
    for (const auto& opener : openers) {
        Menu m;
        if (m.p.hasForm(opener.form)) continue;
        ++tried;
        m.menu.c(opener.button).enabled = true;
        m.click(opener.button);
        EXPECT_EQ(m.platform.desktop.openForms().size(), 1u) << opener.button;
        EXPECT_TRUE(m.platform.dialogs.messages().empty()) << opener.button;
    }
    if (tried == 0) GTEST_SKIP() << "every form of the menu is registered";
}

TEST(MainLoop, FullResetAfterGridGenerationRestoresTheGridButton) {
    Menu m;
    // The state grid generation leaves behind.
    m.p.model.GridGenerated = 1;
    m.p.model.FrameReady = 1;
    m.p.grid.SpanX = 600;
    m.p.grid.MembersPerStorey = 13;
    m.p.grid.StructureKind = 2;
    m.menu.c("BUTTON84").caption = "ﾃﾞﾌｫﾙﾄ荷重";
    m.p.menuEnable({"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON70", "BUTTON92", "BUTTON93"},
                   {"BUTTON27", "BUTTON84"});
    m.p.OlderUnitsClosed = 1; // a frame with springs was saved in SI units
    m.p.PropertyModified = 1; // a section change of the frame not yet saved

    m.platform.dialogs.queueMessage(MessageResult::Ok);
    m.click("BUTTON70");
    EXPECT_EQ(m.menu.c("BUTTON84").caption, "グリッド作成");
    EXPECT_TRUE(m.enabled("BUTTON84"));
    EXPECT_TRUE(m.enabled("BUTTON27"));
    EXPECT_TRUE(m.enabled("RADIO65"));
    EXPECT_TRUE(m.enabled("RADIO66"));
    EXPECT_FALSE(m.enabled("BUTTON3"));
    EXPECT_FALSE(m.enabled("BUTTON70"));
    EXPECT_EQ(m.p.model.GridGenerated, 0);
    EXPECT_EQ(m.p.PropertyModified, 0);
    EXPECT_EQ(m.p.grid.SpanX, 0.0f);
    EXPECT_EQ(m.p.grid.MembersPerStorey, 0);
    EXPECT_EQ(m.p.grid.StructureKind, 0);
    EXPECT_EQ(m.p.MenuRequest, 0);
}

TEST(MainLoop, AnalysisResetOfAGeneratedGridKeepsTheFrameUsable) {
    Menu m;
    m.p.model.GridGenerated = 1;
    m.p.model.FrameReady = 1;
    m.p.model.AnalysisDone = 1;
    m.p.model.NodeCount = 8;
    m.p.model.NodeLoad[3] = 5;
    m.p.menuEnable({"BUTTON4", "BUTTON88", "BUTTON70"}, {"BUTTON27", "BUTTON84", "BUTTON92"});

    m.platform.dialogs.queueMessage(MessageResult::Ok);
    m.click("BUTTON88");
    for (const char* b : {"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON92", "BUTTON93", "BUTTON84"})
        EXPECT_TRUE(m.enabled(b)) << b;
    for (const char* b : {"BUTTON27", "BUTTON52", "BUTTON68", "BUTTON91", "BUTTON88"})
        EXPECT_FALSE(m.enabled(b)) << b;
    EXPECT_TRUE(m.enabled("BUTTON70"));
    EXPECT_EQ(m.p.model.NodeCount, 8);
    EXPECT_EQ(m.p.model.NodeLoad[3], 0.0f);
    EXPECT_EQ(m.p.model.AnalysisDone, 0);
}

TEST(MainMenu, UnitButtonsShowTheProgramsUnitState) {
    const struct {
        float unitFactor;
        int16_t toShow, siClosed, olderClosed;
        bool siChecked, olderChecked; // before
        bool siShown, olderShown, siEnabled, olderEnabled;
    } cases[] = {
        {1.0f, 1, 1, 0, true, false, false, true, false, true},     // older units, SI closed
        {98.0665f, 1, 0, 1, false, true, true, false, true, false}, // SI units, older closed
        {98.0665f, 0, 0, 0, false, true, false, true, true, true},  // nothing asked: as they were
        {0.0f, 2, 0, 0, true, false, false, false, true, true},     // no system chosen yet
        {0.0f, 2, 0, 0, false, true, false, true, true, true},
    };
    for (const auto& c : cases) {
        Menu m;
        m.p.model.UnitFactor = c.unitFactor;
        m.p.UnitsToShow = c.toShow;
        m.p.SiUnitsClosed = c.siClosed;
        m.p.OlderUnitsClosed = c.olderClosed;
        m.menu.c("RADIO65").checked = c.siChecked;
        m.menu.c("RADIO66").checked = c.olderChecked;
        m.rahmen.afterEvent();
        const std::string at = std::to_string(c.unitFactor) + " " + std::to_string(c.toShow);
        EXPECT_EQ(m.menu.c("RADIO65").checked, c.siShown) << at;
        EXPECT_EQ(m.menu.c("RADIO66").checked, c.olderShown) << at;
        EXPECT_EQ(m.enabled("RADIO65"), c.siEnabled) << at;
        EXPECT_EQ(m.enabled("RADIO66"), c.olderEnabled) << at;
        EXPECT_EQ(m.p.UnitsToShow, 0) << at;
    }
    // Start-up and every reset show the unit factor's system.
    Menu m;
    m.p.model.UnitFactor = 1;
    m.menu.MAINFORM_START();
    EXPECT_FALSE(m.menu.c("RADIO65").checked);
    EXPECT_TRUE(m.menu.c("RADIO66").checked);
}

TEST(MainLoop, FrameFileWithSpringsClosesTheOtherUnitsUntilTheFullReset) {
    Menu m;
    std::ifstream in(std::string(RAHMEN_FIXTURES) + "/model_files/sample.fdt", std::ios::binary);
    std::ofstream(m.platform.files.path("sample.fdt"), std::ios::binary) << in.rdbuf();
    m.menu.c("RADIO65").checked = false;
    m.menu.c("RADIO66").checked = true;
    m.menu.c("BUTTON91").enabled = true;
    m.platform.dialogs.queueOpenFile("sample.fdt");
    m.click("BUTTON91");
    ASSERT_EQ(m.p.model.FrameFileState, 2);
    EXPECT_TRUE(m.menu.c("RADIO65").checked);
    EXPECT_FALSE(m.menu.c("RADIO66").checked);
    EXPECT_TRUE(m.enabled("RADIO65"));
    EXPECT_FALSE(m.enabled("RADIO66"));

    m.platform.dialogs.queueMessage(MessageResult::Ok);
    m.click("BUTTON70");
    EXPECT_EQ(m.p.model.FrameFileState, 0);
    EXPECT_TRUE(m.enabled("RADIO65"));
    EXPECT_TRUE(m.enabled("RADIO66"));
}

TEST(MainLoop, AnalysisResetKeepsTheUnitsOfAFrameFileReadOrWritten) {
    for (int16_t state : {0, 1, 2}) {
        Menu m;
        m.p.model.UnitFactor = 1;
        m.p.model.FrameFileState = state;
        m.menu.c("BUTTON88").enabled = true;
        m.platform.dialogs.queueMessage(MessageResult::Cancel);
        m.click("BUTTON88");
        EXPECT_FLOAT_EQ(m.p.model.UnitFactor, state == 0 ? 98.0665f : 1.0f) << state;
    }
}

TEST(MainLoop, AnalysisResetAsksAboutTheAnalysisFileWrittenInThisRun) {
    for (MessageResult answer : {MessageResult::Yes, MessageResult::No}) {
        Menu m;
        m.p.model.DataName = "run";
        m.put("run.adt"); // written by the analysis of this run
        m.p.model.AnalysisFileWritten = 1;
        m.p.model.CoordFileState = 1; // not asked about by the analysis reset
        m.put("run.cdt");
        m.menu.c("BUTTON88").enabled = true;

        m.platform.dialogs.queueMessage(MessageResult::Ok);
        m.platform.dialogs.queueMessage(answer);
        m.click("BUTTON88");
        const auto& messages = m.platform.dialogs.messages();
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[1].title, "Solberg");
        EXPECT_EQ(messages[1].text, "作成した解析データファイルを保存しますか。");
        EXPECT_EQ(messages[1].buttons, MessageButtons::YesNo);
        EXPECT_EQ(m.platform.files.exists("run.adt"), answer == MessageResult::Yes);
        EXPECT_TRUE(m.platform.files.exists("run.cdt"));
        EXPECT_EQ(m.p.model.AnalysisFileWritten, 0);
        EXPECT_EQ(m.p.model.CoordFileState, 1);
        EXPECT_EQ(m.platform.dialogs.unscripted(), 0);
    }
}

TEST(MainLoop, FullResetDeletesEveryKindOfFileWrittenButNotThoseRead) {
    Menu m;
    m.p.model.DataName = "run";
    m.put("run.fdt");
    m.put("run.adt");
    m.p.model.FrameFileState = 1;
    m.p.model.AnalysisFileWritten = 1;
    m.p.model.CoordFileState = 0;
    m.rahmen.protectFile("run.adt"); // as if the analysis file had been read
    m.menu.c("BUTTON70").enabled = true;

    m.platform.dialogs.queueMessage(MessageResult::Ok);
    m.platform.dialogs.queueMessage(MessageResult::No);
    m.click("BUTTON70");
    EXPECT_FALSE(m.platform.files.exists("run.fdt"));
    EXPECT_TRUE(m.platform.files.exists("run.adt"));
    EXPECT_EQ(m.platform.dialogs.messages().size(), 2u);
    EXPECT_EQ(m.p.model.FrameFileState, 0);
}

// Makes a folder refuse deletions for as long as it lives: without write
// permission, and immutable where permissions do not bind (the super-user).
class LockedFolder {
public:
    explicit LockedFolder(const std::filesystem::path& folder) : folder_(folder) {
        chmod(folder_.c_str(), 0555);
        fd_ = open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd_ >= 0 && ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            immutable_ = ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~LockedFolder() {
        if (immutable_) {
            int flags = 0;
            ioctl(fd_, FS_IOC_GETFLAGS, &flags);
            flags &= ~FS_IMMUTABLE_FL;
            ioctl(fd_, FS_IOC_SETFLAGS, &flags);
        }
        if (fd_ >= 0) close(fd_);
        chmod(folder_.c_str(), 0755);
    }

private:
    std::filesystem::path folder_;
    int fd_ = -1;
    bool immutable_ = false;
};

TEST(MainLoop, ADeletionThatFailsIsReported) {
    Menu m;
    m.p.model.DataName = "run";
    m.put("run.cdt");
    m.put("probe");
    m.p.model.CoordFileState = 1;
    {
        LockedFolder lock(m.platform.files.folder());
        std::error_code ec;
        if (std::filesystem::remove(m.platform.files.path("probe"), ec))
            GTEST_SKIP() << "this file system lets every deletion through";
        m.platform.dialogs.queueMessage(MessageResult::No);
        m.platform.dialogs.queueMessage(MessageResult::Ok);
        m.click("BUTTON5");
    }
    const auto& messages = m.platform.dialogs.messages();
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[1].title, "rahmen");
    EXPECT_EQ(messages[1].text.rfind("ファイル run.cdt を削除できませんでした。\n", 0), 0u)
        << messages[1].text;
    EXPECT_TRUE(m.platform.files.exists("run.cdt"));
    EXPECT_TRUE(m.rahmen.ended());
}

TEST(MainLoop, AnEventDuringTheResetQuestionDoesNotStartTheResetAgain) {
    Menu m;
    m.p.model.DataName = "run";
    m.put("run.cdt");
    m.p.model.CoordFileState = 1;
    m.menu.c("BUTTON70").enabled = true;
    // While the keep-files question is showing, the GUI delivers another event.
    m.platform.dialogs.setMessageSink([&m](const MessageCall& call) {
        if (call.title == "Solberg") m.rahmen.afterEvent();
    });
    m.platform.dialogs.queueMessage(MessageResult::Ok);
    m.platform.dialogs.queueMessage(MessageResult::No);
    m.click("BUTTON70");
    EXPECT_EQ(m.platform.dialogs.messages().size(), 2u);
    EXPECT_EQ(m.platform.dialogs.unscripted(), 0);
    EXPECT_FALSE(m.platform.files.exists("run.cdt"));
    EXPECT_EQ(m.p.MenuRequest, 0);
}

TEST(MainLoop, NothingHappensAfterTheEnd) {
    Menu m;
    m.click("BUTTON5");
    EXPECT_TRUE(m.rahmen.ended());
    m.p.MenuRequest = 1;
    m.rahmen.afterEvent();
    EXPECT_EQ(m.p.MenuRequest, 1);
}

} // namespace
} // namespace rahmen
