#include "platform/Files.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace rahmen {
namespace {

void put(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::vector<std::string> folderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder))
        names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(Files, PatternsMatchLikeTheFileDialog) {
    EXPECT_TRUE(matchesPattern("*.fdt", "frame.fdt"));
    EXPECT_TRUE(matchesPattern("*.fdt", "FRAME.FDT"));
    EXPECT_TRUE(matchesPattern("*.fdt", ".fdt"));
    EXPECT_FALSE(matchesPattern("*.fdt", "frame.fdt.tmp"));
    EXPECT_FALSE(matchesPattern("*.fdt", "frame.cdt"));
    EXPECT_TRUE(matchesPattern("a*b*c", "aXbYbZc"));
    EXPECT_FALSE(matchesPattern("a*b*c", "aXbYbZ"));
    EXPECT_TRUE(matchesPattern("?.adt", "骨.adt")) << "'?' is one character, not one byte";
    EXPECT_FALSE(matchesPattern("?.adt", "骨組.adt"));
    EXPECT_TRUE(matchesPattern("*", ""));
}

TEST(Files, ListsRegularFilesOfAPatternSorted) {
    ScriptedPlatform platform;
    const fs::path dir = platform.files.folder();
    put(dir / "b.fdt", "1");
    put(dir / "a.fdt", "2");
    put(dir / "a.cdt", "3");
    put(dir / "C.FDT", "4");
    fs::create_directory(dir / "sub.fdt");

    EXPECT_EQ(platform.files.list("*.fdt"), (std::vector<std::string>{"C.FDT", "a.fdt", "b.fdt"}));
    EXPECT_EQ(platform.files.list("*.cdt"), (std::vector<std::string>{"a.cdt"}));
    EXPECT_TRUE(platform.files.list("*.adt").empty());
    EXPECT_TRUE(platform.files.exists("a.cdt"));
    EXPECT_FALSE(platform.files.exists("sub.fdt")) << "a folder is not a data file";
    EXPECT_FALSE(platform.files.exists("x.adt"));

    platform.files.setFolder(dir / "missing");
    EXPECT_TRUE(platform.files.list("*.fdt").empty());
}

TEST(Files, NamesAreRelativeToTheFolderAndAbsolutePathsPassThrough) {
    Files files("/data/work");
    EXPECT_EQ(files.path("frame.fdt"), fs::path("/data/work/frame.fdt"));
    EXPECT_EQ(files.path("/tmp/x.adt"), fs::path("/tmp/x.adt"));
}

TEST(Files, WritesAndReadsBytesUnchanged) {
    ScriptedPlatform platform;
    const std::string bytes = std::string("\x83\x5C\r\n\0end", 7); // ソ, CR LF, a NUL
    ASSERT_TRUE(platform.files.writeAtomic("frame.fdt", bytes).ok);
    ReadResult r = platform.files.read("frame.fdt");
    ASSERT_TRUE(r.ok) << r.error;
    EXPECT_EQ(r.bytes, bytes);

    ASSERT_TRUE(platform.files.writeAtomic("frame.fdt", "short").ok);
    EXPECT_EQ(platform.files.read("frame.fdt").bytes, "short") << "old contents replaced";
    EXPECT_EQ(folderEntries(platform.files.folder()), (std::vector<std::string>{"frame.fdt"}))
        << "no temporary file left behind";
}

TEST(Files, FailedWriteLeavesThePreviousFileIntact) {
    ScriptedPlatform platform;
    const fs::path dir = platform.files.folder();
    put(dir / "frame.fdt", "old frame");

    // The target itself is a folder.
    fs::create_directory(dir / "sub.adt");
    put(dir / "sub.adt" / "inside", "x");
    FileResult w = platform.files.writeAtomic("sub.adt", "data");
    EXPECT_FALSE(w.ok);
    EXPECT_FALSE(w.error.empty());
    EXPECT_TRUE(fs::exists(dir / "sub.adt" / "inside"));

    // The folder does not exist.
    w = platform.files.writeAtomic("missing/frame.fdt", "data");
    EXPECT_FALSE(w.ok);
    EXPECT_NE(w.error.find("missing"), std::string::npos) << w.error;

    EXPECT_EQ(folderEntries(dir), (std::vector<std::string>{"frame.fdt", "sub.adt"}));
    EXPECT_EQ(platform.files.read("frame.fdt").bytes, "old frame");
}

TEST(Files, WritingNeverFollowsOrReplacesWhatStandsUnderATemporaryName) {
    ScriptedPlatform platform;
    const fs::path dir = platform.files.folder() / "work";
    const fs::path outside = platform.files.folder() / "outside.txt";
    fs::create_directory(dir);
    platform.files.setFolder(dir);
    put(outside, "outside");
    // A link where the old writer put its temporary file, a user's own file
    // of such a name, a folder of such a name, and a link at the target.
    fs::create_symlink(outside, dir / "out.adt.tmp");
    put(dir / "mine.fdt.tmp", "the user's");
    fs::create_directory(dir / "frame.cdt.tmp");
    fs::create_symlink(outside, dir / "linked.fdt");

    for (const char* name : {"out.adt", "mine.fdt", "frame.cdt", "linked.fdt"}) {
        const FileResult w = platform.files.writeAtomic(name, std::string("new ") + name);
        ASSERT_TRUE(w.ok) << name << ": " << w.error;
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir / name))) << name;
        EXPECT_EQ(platform.files.read(name).bytes, std::string("new ") + name);
    }
    EXPECT_EQ(platform.files.read(outside.string()).bytes, "outside");
    EXPECT_TRUE(fs::is_symlink(dir / "out.adt.tmp"));
    EXPECT_EQ(platform.files.read("mine.fdt.tmp").bytes, "the user's");
    EXPECT_EQ(folderEntries(dir),
              (std::vector<std::string>{"frame.cdt", "frame.cdt.tmp", "linked.fdt", "mine.fdt",
                                        "mine.fdt.tmp", "out.adt", "out.adt.tmp"}))
        << "no temporary file left behind";
}

TEST(Files, RemoveAndReadReportFailures) {
    ScriptedPlatform platform;
    const fs::path dir = platform.files.folder();
    put(dir / "a.cdt", "x");
    fs::create_directory(dir / "d.cdt");

    FileResult r = platform.files.remove("a.cdt");
    EXPECT_TRUE(r.ok) << r.error;
    EXPECT_FALSE(fs::exists(dir / "a.cdt"));

    r = platform.files.remove("a.cdt");
    EXPECT_FALSE(r.ok) << "already gone";
    EXPECT_NE(r.error.find("a.cdt"), std::string::npos) << r.error;

    r = platform.files.remove("d.cdt");
    EXPECT_FALSE(r.ok) << "folders are not deleted";
    EXPECT_TRUE(fs::is_directory(dir / "d.cdt"));

    ReadResult rr = platform.files.read("none.fdt");
    EXPECT_FALSE(rr.ok);
    EXPECT_NE(rr.error.find("none.fdt"), std::string::npos);
    EXPECT_FALSE(platform.files.read("d.cdt").ok);
}

TEST(ScriptedPlatform, GivesAFreshFolderAFixedClockAndDeletesTheFolder) {
    fs::path folder;
    {
        ScriptedPlatform platform;
        folder = platform.tempFolder();
        EXPECT_TRUE(fs::is_directory(folder));
        EXPECT_TRUE(fs::is_empty(folder));
        put(folder / "x.fdt", "1");
        platform.files.setFolder(fs::temp_directory_path()); // moved away: still cleaned up

        Services s = platform.services();
        EXPECT_EQ(s.clock.now(), (DateTime{2026, 12, 8, 10, 20, 30}));
        EXPECT_EQ(s.desktop.screenWidth(), 1024);
        EXPECT_EQ(s.desktop.screenHeight(), 768);
        EXPECT_EQ(&s.files, &platform.files);
        ScriptedPlatform other;
        EXPECT_NE(other.tempFolder(), folder);
    }
    EXPECT_FALSE(fs::exists(folder));

    SystemClock system;
    const DateTime now = system.now();
    EXPECT_GE(now.year, 2024);
    EXPECT_GE(now.month, 1);
    EXPECT_LE(now.month, 12);
}

} // namespace
} // namespace rahmen
