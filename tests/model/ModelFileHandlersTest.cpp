#include "model/ModelFileHandlers.h"
#include "ModelFilesSample.h"
#include "model/ModelFiles.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace rahmen {
namespace {

// The main menu's buttons that the file handlers enable.
class Menu : public Form {
public:
    Menu() : Form("MAINFORM", "プログラムメニュー", 400, 300) {
        for (const char* name :
             {"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON92", "BUTTON93", "BUTTON70", "BUTTON28"})
            addButton(name, name, 0, 0, 10, 10).enabled = false;
        for (const char* name : {"BUTTON27", "BUTTON91", "BUTTON52", "BUTTON68", "BUTTON84"})
            addButton(name, name, 0, 0, 10, 10);
    }
};

struct Session {
    ScriptedPlatform platform;
    std::unique_ptr<Program> program = Program::create(platform.services());
    Menu menu;
    Session() {
        program->mainMenu = &menu;
        platform.desktop.show(menu);
    }
    Model& model() { return program->model; }
    bool exists(const std::string& name) { return platform.files.exists(name); }
    std::string read(const std::string& name) { return platform.files.read(name).bytes; }
    // The lines the progress window printed, by text row.
    std::vector<std::pair<int, std::string>> progressLines() {
        std::vector<std::pair<int, std::string>> lines;
        for (const Primitive& p : program->progress.picture()->items())
            lines.emplace_back(static_cast<int>(p.y1) / Canvas::RowHeight, p.text);
        return lines;
    }
};

TEST(ModelFileHandlers, CoordinateFileIsWrittenThenOverwrittenAfterAMessage) {
    Session s;
    fillSample(s.model());
    EXPECT_TRUE(BUTTON69_ON(*s.program));
    EXPECT_EQ(s.read("sample.cdt"), fixture("sample.cdt"));
    EXPECT_EQ(s.model().CoordFileState, 1);
    EXPECT_TRUE(s.platform.dialogs.messages().empty());
    EXPECT_FALSE(s.program->progress.isOpen());
    const std::vector<std::pair<int, std::string>> progress{{4, "　　　座標データ書込み中"}};
    EXPECT_EQ(s.progressLines(), progress);

    s.model().NodeX[1] = 5;
    EXPECT_TRUE(BUTTON69_ON(*s.program));
    ASSERT_EQ(s.platform.dialogs.messages().size(), 1u);
    const MessageCall& msg = s.platform.dialogs.messages()[0];
    EXPECT_EQ(msg.title, "rahmen");
    EXPECT_EQ(msg.text, "既存のﾃﾞｰﾀがありますﾃﾞｨﾚｸﾄﾘｰより移動してＯＫを押してください。");
    EXPECT_EQ(msg.buttons, MessageButtons::Ok);
    EXPECT_EQ(msg.icon, MessageIcon::Exclamation);
    EXPECT_NE(s.read("sample.cdt"), fixture("sample.cdt"));
    EXPECT_FALSE(s.exists("sample.cdt.tmp"));
}

TEST(ModelFileHandlers, FrameFileDeletesTheCoordinateFile) {
    Session s;
    fillSample(s.model());
    ASSERT_TRUE(BUTTON69_ON(*s.program));
    EXPECT_TRUE(BUTTON70_ON(*s.program));
    EXPECT_FALSE(s.exists("sample.cdt"));
    EXPECT_EQ(s.read("sample.fdt"), fixture("sample.fdt"));
    EXPECT_EQ(s.model().CoordFileState, 0);
    EXPECT_EQ(s.model().FrameFileState, 1);
    const std::vector<std::pair<int, std::string>> progress{{4, "　　　座標／骨組データ書込み中"}};
    EXPECT_EQ(s.progressLines(), progress);
    // SI units with springs: the older units are closed.
    EXPECT_EQ(s.program->SiUnitsClosed, 0);
    EXPECT_EQ(s.program->OlderUnitsClosed, 1);
}

TEST(ModelFileHandlers, FailedFrameWriteChangesNothing) {
    Session s;
    fillSample(s.model());
    ASSERT_TRUE(BUTTON69_ON(*s.program));
    std::filesystem::create_directory(s.platform.files.path("sample.fdt"));
    EXPECT_FALSE(BUTTON70_ON(*s.program));
    ASSERT_EQ(s.platform.dialogs.messages().size(), 1u);
    EXPECT_NE(s.platform.dialogs.messages()[0].text.find("sample.fdt"), std::string::npos);
    EXPECT_TRUE(s.exists("sample.cdt"));
    EXPECT_EQ(s.model().CoordFileState, 1);
    EXPECT_EQ(s.model().FrameFileState, 0);
    EXPECT_EQ(s.program->OlderUnitsClosed, 0);
    EXPECT_FALSE(s.program->progress.isOpen());
}

TEST(ModelFileHandlers, DriftedSpringCountIsRecountedBeforeWriting) {
    Session s;
    fillSample(s.model());
    s.model().SprungEndCount = 0;
    ASSERT_TRUE(BUTTON70_ON(*s.program));
    EXPECT_EQ(s.model().SprungEndCount, 1);
    EXPECT_EQ(s.program->OlderUnitsClosed, 1);
}

TEST(ModelFileHandlers, SpringsInOlderUnitsLockSiAndReadingTheFileLocksItAgain) {
    std::string written;
    {
        Session s;
        fillSample(s.model());
        s.model().UnitFactor = 1;
        ASSERT_TRUE(BUTTON70_ON(*s.program));
        EXPECT_EQ(s.program->SiUnitsClosed, 1);
        EXPECT_EQ(s.program->OlderUnitsClosed, 0);
        written = s.read("sample.fdt");
    }
    EXPECT_NE(written.find(utf8ToCp932(" ﾃﾞｰﾀ単位 :　旧単位　")), std::string::npos);
    EXPECT_NE(written.find(utf8ToCp932("単位　tf･m/rad  tf/cm")), std::string::npos);

    Session s;
    ASSERT_TRUE(s.platform.files.writeAtomic("old.fdt", written));
    s.platform.dialogs.queueOpenFile("old.fdt");
    EXPECT_EQ(CALLFDT_ON(*s.program), ReadOutcome::Done);
    EXPECT_EQ(s.model().UnitFactor, 1.0f);
    EXPECT_EQ(s.program->UnitsToShow, 1);
    EXPECT_EQ(s.program->SiUnitsClosed, 1);
    EXPECT_EQ(s.program->OlderUnitsClosed, 0);
    EXPECT_TRUE(s.platform.dialogs.messages().empty());
}

TEST(ModelFileHandlers, CommonUnitsReadAsSiWithBothUnitButtonsEnabled) {
    Session s;
    auto m = sample();
    m->SpringStart[2][6] = 0;
    m->SpringStart[2][1] = 0;
    m->updateEndSummaries(2);
    ASSERT_TRUE(s.platform.files.writeAtomic("frame1.fdt", frameFileBytes(*m, kWhen)));
    s.model().UnitFactor = 1;
    s.platform.dialogs.queueOpenFile("frame1.fdt");
    EXPECT_EQ(CALLFDT_ON(*s.program), ReadOutcome::Done);

    ASSERT_EQ(s.platform.dialogs.openFiles().size(), 1u);
    EXPECT_EQ(s.platform.dialogs.openFiles()[0].title, "座標/骨組データの呼出");
    EXPECT_EQ(s.platform.dialogs.openFiles()[0].filterLabel, "データ(*.fdt)");
    EXPECT_EQ(s.platform.dialogs.openFiles()[0].pattern, "*.fdt");
    EXPECT_FLOAT_EQ(s.model().UnitFactor, 98.0665f);
    EXPECT_EQ(s.program->UnitsToShow, 1);
    EXPECT_EQ(s.program->SiUnitsClosed, 0);
    EXPECT_EQ(s.program->OlderUnitsClosed, 0);
    EXPECT_TRUE(s.platform.dialogs.messages().empty());

    EXPECT_EQ(s.model().DataName, "frame1");
    EXPECT_EQ(s.model().FrameFileState, 2);
    EXPECT_EQ(s.model().FrameReady, 1);
    for (const char* on : {"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON92", "BUTTON93", "BUTTON70"})
        EXPECT_TRUE(s.menu.c(on).enabled) << on;
    for (const char* off : {"BUTTON27", "BUTTON91", "BUTTON52", "BUTTON68", "BUTTON84"})
        EXPECT_FALSE(s.menu.c(off).enabled) << off;
    EXPECT_FALSE(s.program->progress.isOpen());
    const std::vector<std::pair<int, std::string>> progress{{4, "　　座標/骨組データ呼出し中"}};
    EXPECT_EQ(s.progressLines(), progress);
}

TEST(ModelFileHandlers, UnknownUnitLineAsksForTheUnitsOnlyWhenThereAreSprings) {
    const std::string withSprings =
        replaced(fixture("sample.fdt"), " ﾃﾞｰﾀ解析単位 :　SI単位　", " ﾃﾞｰﾀ単位 :　kgf ");
    {
        Session s;
        ASSERT_TRUE(s.platform.files.writeAtomic("old.fdt", withSprings));
        s.platform.dialogs.queueOpenFile("old.fdt");
        EXPECT_EQ(CALLFDT_ON(*s.program), ReadOutcome::Done);
        EXPECT_EQ(s.model().UnitFactor, 0.0f);
        EXPECT_EQ(s.program->UnitsToShow, 2);
        ASSERT_EQ(s.platform.dialogs.messages().size(), 1u);
        EXPECT_EQ(s.platform.dialogs.messages()[0].text,
                  "バネデータのある旧データファイルです\n\n"
                  "バネデータの単位系を確認して、解析単位系を選択してください。");
        EXPECT_EQ(s.platform.dialogs.messages()[0].icon, MessageIcon::Exclamation);
        EXPECT_FLOAT_EQ(s.model().SpringStart[2][6], 250.0f);
    }
    auto m = sample();
    m->MemberStartSprung[2] = 0;
    m->recountEndSummaries();
    const std::string noSprings =
        replaced(frameFileBytes(*m, kWhen), " ﾃﾞｰﾀ単位 :　共通単位　", " ﾃﾞｰﾀ単位 :　kgf ");
    Session s;
    ASSERT_TRUE(s.platform.files.writeAtomic("old.fdt", noSprings));
    s.platform.dialogs.queueOpenFile("old.fdt");
    EXPECT_EQ(CALLFDT_ON(*s.program), ReadOutcome::Done);
    EXPECT_FLOAT_EQ(s.model().UnitFactor, 98.0665f);
    EXPECT_EQ(s.program->UnitsToShow, 0);
    EXPECT_TRUE(s.platform.dialogs.messages().empty());
}

TEST(ModelFileHandlers, CoordinateFileFromAnotherFolderNamesTheDataAndSavesHere) {
    Session s;
    const auto other = s.platform.tempFolder() / "other";
    std::filesystem::create_directory(other);
    const std::string path = (other / "frame7.cdt").string();
    ASSERT_TRUE(s.platform.files.writeAtomic(path, fixture("sample.cdt")));
    s.platform.dialogs.queueOpenFile(path);
    EXPECT_EQ(CALLCDT_ON(*s.program), ReadOutcome::Done);

    ASSERT_EQ(s.platform.dialogs.openFiles().size(), 1u);
    EXPECT_EQ(s.platform.dialogs.openFiles()[0].title, "座標データの呼出");
    EXPECT_EQ(s.platform.dialogs.openFiles()[0].filterLabel, "データ(*.cdt)");
    EXPECT_EQ(s.platform.dialogs.openFiles()[0].pattern, "*.cdt");
    EXPECT_EQ(s.model().DataName, "frame7");
    EXPECT_EQ(s.model().NodeCount, 3);
    EXPECT_EQ(s.model().NodeX[2], 251.0f);
    EXPECT_EQ(s.model().CoordFileState, 2);
    for (const char* on : {"BUTTON28", "BUTTON70"})
        EXPECT_TRUE(s.menu.c(on).enabled) << on;
    for (const char* off : {"BUTTON27", "BUTTON52", "BUTTON68", "BUTTON84", "BUTTON91"})
        EXPECT_FALSE(s.menu.c(off).enabled) << off;
    const std::vector<std::pair<int, std::string>> progress{{4, "　　　座標データ呼出し中"}};
    EXPECT_EQ(s.progressLines(), progress);

    ASSERT_TRUE(BUTTON69_ON(*s.program));
    EXPECT_TRUE(s.exists("frame7.cdt"));
}

TEST(ModelFileHandlers, CancelledDialogChangesNothing) {
    Session s;
    s.platform.dialogs.queueOpenFile(std::nullopt);
    s.platform.dialogs.queueOpenFile(std::nullopt);
    EXPECT_EQ(CALLCDT_ON(*s.program), ReadOutcome::Cancelled);
    EXPECT_EQ(CALLFDT_ON(*s.program), ReadOutcome::Cancelled);
    EXPECT_EQ(s.model().CoordFileState, 0);
    EXPECT_EQ(s.model().FrameFileState, 0);
    EXPECT_TRUE(s.menu.c("BUTTON91").enabled);
    EXPECT_FALSE(s.program->progress.isOpen());
    EXPECT_TRUE(s.platform.dialogs.messages().empty());
}

TEST(ModelFileHandlers, MalformedFileEndsWithAMessageNamingFileAndLine) {
    Session s;
    s.model().UnitFactor = 1;
    ASSERT_TRUE(s.platform.files.writeAtomic(
        "bad.fdt", replaced(fixture("sample.fdt"), "部材数: 2 ", "部材数: zwei ")));
    s.platform.dialogs.queueOpenFile("bad.fdt");
    EXPECT_EQ(CALLFDT_ON(*s.program), ReadOutcome::Failed);
    ASSERT_EQ(s.platform.dialogs.messages().size(), 1u);
    const std::string& text = s.platform.dialogs.messages()[0].text;
    EXPECT_NE(text.find("bad.fdt の 13 行目"), std::string::npos) << text;
    EXPECT_EQ(s.model().FrameFileState, 0);
    EXPECT_EQ(s.model().FrameReady, 0);
    EXPECT_EQ(s.model().DataName, "");
    EXPECT_EQ(s.model().UnitFactor, 1.0f);
    EXPECT_TRUE(s.menu.c("BUTTON91").enabled);
    EXPECT_FALSE(s.menu.c("BUTTON3").enabled);
    EXPECT_FALSE(s.program->progress.isOpen());

    s.platform.dialogs.queueOpenFile("missing.cdt");
    EXPECT_EQ(CALLCDT_ON(*s.program), ReadOutcome::Failed);
    EXPECT_EQ(s.platform.dialogs.messages().size(), 2u);
    EXPECT_EQ(s.model().CoordFileState, 0);
}

} // namespace
} // namespace rahmen
