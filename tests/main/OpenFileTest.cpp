// Opening a data file from outside the menu (command line, file manager, a
// drop on the menu): the kind by extension, the move to the file's folder, the
// menu's own handler with its messages and enabling, and the refusals.

#include "main/OpenFile.h"
#include "main/Mainform.h"
#include "main/rahmen.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace rahmen {
namespace {

const fs::path kExamples = fs::path(RAHMEN_SOURCE_DIR) / "examples";

struct Session {
    ScriptedPlatform platform;
    Rahmen rahmen{platform.services()};
    Program& p = rahmen.program();
    MainForm& menu = rahmen.mainForm();
    Session() { rahmen.start(); }
    std::vector<std::string> messages() const {
        std::vector<std::string> texts;
        for (const MessageCall& call : platform.dialogs.messages())
            texts.push_back(call.text);
        return texts;
    }
};

struct Case {
    const char* name;    // the file, in a folder other than the working folder
    const char* content; // "" copies the example of that name
    const char* before;  // "FORM2": the outline form is open; ".fdt": a frame was read
    OpenOutcome outcome;
    const char* message; // a part of the last message ("" for none)
};

TEST(OpenFile, ByKindAsTheMenuButtonReadsIt) {
    const Case cases[] = {
        {"two_storey.fdt", "", "", OpenOutcome::Read, ""},
        {"two_storey.cdt", "", "", OpenOutcome::Read, ""},
        {"two_storey.adt", "", "", OpenOutcome::Read, ""},
        {"two_storey_pins.fdt", "", "", OpenOutcome::Read, ""},
        {"broken.fdt", "no frame here\r\n", "", OpenOutcome::Failed, "読込みを中止しました"},
        {"broken.adt", "no report\r\n", "", OpenOutcome::Failed, "読込みを中止しました"},
        {"missing.cdt", nullptr, "", OpenOutcome::Failed, "missing.cdt"},
        {"notes.txt", "text\r\n", "", OpenOutcome::Refused, "（.cdt .fdt .adt）"},
        {"two_storey.FDT", "", "", OpenOutcome::Refused, "two_storey.FDT は開けません"},
        {"two_storey.fdt", "", "FORM2", OpenOutcome::Refused, "「概要入力」の画面が開いています"},
        {"two_storey.adt", "", ".fdt", OpenOutcome::Refused,
         "「解析ﾃﾞｰﾀ呼出」は、いまは使えません"},
        {"two_storey.cdt", "", ".fdt", OpenOutcome::Refused,
         "「座標ﾃﾞｰﾀ呼出」は、いまは使えません"},
    };
    const fs::path cwd = fs::current_path();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " " + c.before);
        Session s;
        const fs::path start = s.platform.files.folder();
        const fs::path elsewhere = s.platform.tempFolder() / "elsewhere";
        fs::create_directories(elsewhere);
        const fs::path file = elsewhere / c.name;
        if (c.content && *c.content)
            std::ofstream(file, std::ios::binary) << c.content;
        else if (c.content)
            fs::copy_file(kExamples /
                              (file.stem().string() +
                               (file.extension() == ".FDT" ? ".fdt" : file.extension().string())),
                          file);
        if (std::string(c.before) == "FORM2") {
            ASSERT_TRUE(s.menu.click("BUTTON27"));
        } else if (std::string(c.before) == ".fdt") {
            fs::copy_file(kExamples / "two_storey.fdt", start / "read.fdt");
            ASSERT_TRUE(s.menu.CALLFDT_ON(std::string("read.fdt")));
        }
        const std::vector<bool> menuBefore = s.p.menuState();
        const std::size_t messagesBefore = s.messages().size();

        EXPECT_EQ(openGivenFile(s.rahmen, file.string()), c.outcome);
        s.rahmen.afterEvent();
        const bool opened = c.outcome != OpenOutcome::Refused;
        EXPECT_TRUE(fs::equivalent(s.platform.files.folder(), opened ? elsewhere : start));
        EXPECT_TRUE(fs::equivalent(fs::current_path(), opened ? elsewhere : cwd));
        fs::current_path(cwd);
        if (*c.message) {
            ASSERT_GT(s.messages().size(), messagesBefore);
            EXPECT_NE(s.messages().back().find(c.message), std::string::npos)
                << s.messages().back();
        }
        if (c.outcome == OpenOutcome::Refused) {
            EXPECT_EQ(s.p.menuState(), menuBefore);
            EXPECT_TRUE(s.p.model.DataName.empty() || *c.before);
            continue;
        }

        if (c.outcome == OpenOutcome::Failed) {
            // Nothing read: the menu as at start-up in the file's folder.
            Session fresh;
            fresh.platform.files.setFolder(elsewhere);
            fresh.menu.DAT_ON();
            EXPECT_EQ(s.p.menuState(), fresh.p.menuState());
        } else {
            EXPECT_EQ(s.p.model.DataName, file.stem().string());
        }
        EXPECT_EQ(s.platform.dialogs.openFiles().size(), 0u) << "the dialog was asked";
        if (!fs::exists(file)) continue;

        // The same file read from the menu's button in the same folder: the
        // same messages, menu, units and file states.
        Session menu;
        menu.platform.files.setFolder(elsewhere);
        menu.menu.DAT_ON();
        const std::string ext = fs::path(c.name).extension().string();
        const char* button = ext == ".cdt" ? "BUTTON68" : ext == ".fdt" ? "BUTTON91" : "BUTTON52";
        menu.platform.dialogs.queueOpenFile(file.string());
        ASSERT_TRUE(menu.menu.click(button));
        menu.rahmen.afterEvent();
        EXPECT_EQ(s.p.menuState(), menu.p.menuState());
        const std::vector<std::string> shown = s.messages();
        EXPECT_EQ(std::vector<std::string>(shown.begin() + messagesBefore, shown.end()),
                  menu.messages());
        EXPECT_EQ(s.p.model.DataName, menu.p.model.DataName);
        EXPECT_EQ(s.p.model.FrameFileState, menu.p.model.FrameFileState);
        EXPECT_EQ(s.p.model.CoordFileState, menu.p.model.CoordFileState);
        EXPECT_EQ(s.p.model.AnalysisDone, menu.p.model.AnalysisDone);
        EXPECT_EQ(s.menu.c("RADIO65").checked, menu.menu.c("RADIO65").checked);
        EXPECT_EQ(s.menu.c("RADIO66").enabled, menu.menu.c("RADIO66").enabled);
    }
}

TEST(OpenFile, ArgumentNamesAFolderOrAFile) {
    ScriptedPlatform platform;
    const fs::path here = platform.tempFolder();
    fs::create_directories(here / "frames");
    std::ofstream(here / "frames" / "notes.txt") << "x";
    const struct {
        const char* argument;
        std::string folder, file;
    } cases[] = {
        {"", "", ""},
        {"frames", "frames", ""},
        {"frames/a.fdt", (here / "frames").string(), (here / "frames" / "a.fdt").string()},
        {"frames/../frames/notes.txt", (here / "frames").string(),
         (here / "frames" / "notes.txt").string()},
        {"/nowhere/b.adt", "/nowhere", "/nowhere/b.adt"},
    };
    for (const auto& c : cases) {
        const StartArgument given = startArgument(c.argument, here);
        EXPECT_EQ(given.folder, c.folder) << c.argument;
        EXPECT_EQ(given.file, c.file) << c.argument;
    }
}

} // namespace
} // namespace rahmen
