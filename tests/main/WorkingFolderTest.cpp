// The working folder of the desktop program: the folder given, the user's
// data folder with the examples copied once, or the folder started in.

#include "main/WorkingFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace rahmen {
namespace {

class WorkingFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        root =
            fs::temp_directory_path() /
            ("rahmen-workdir-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root / "examples");
        fs::create_directories(root / "started");
        for (const char* name : {"a.fdt", "a.adt", "b.cdt", "README.md"})
            std::ofstream(root / "examples" / name) << name;
    }
    void TearDown() override { fs::remove_all(root); }
    WorkingFolderRequest installed() const {
        return {"", root / "started", root / "examples", "", (root / "home").string()};
    }
    fs::path root;
};

TEST_F(WorkingFolderTest, FirstStartMakesTheDataFolderWithTheExamplesOnce) {
    WorkingFolder w = prepareWorkingFolder(installed());
    ASSERT_TRUE(w.ok) << w.error;
    EXPECT_EQ(w.folder, root / "home" / "rahmen-data");
    EXPECT_TRUE(w.created);
    EXPECT_EQ(w.examplesCopied, 3); // the data files, not the README
    EXPECT_FALSE(fs::exists(w.folder / "README.md"));

    // The user deletes an example and changes another: neither comes back.
    fs::remove(w.folder / "a.fdt");
    std::ofstream(w.folder / "a.adt") << "mine";
    w = prepareWorkingFolder(installed());
    ASSERT_TRUE(w.ok);
    EXPECT_FALSE(w.created);
    EXPECT_EQ(w.examplesCopied, 0);
    EXPECT_FALSE(fs::exists(w.folder / "a.fdt"));
    std::ifstream in(w.folder / "a.adt");
    std::string text;
    in >> text;
    EXPECT_EQ(text, "mine");
}

TEST_F(WorkingFolderTest, WhereTheProgramWorks) {
    fs::create_directories(root / "given");
    std::ofstream(root / "plain-file") << "x";
    struct Case {
        const char* what;
        WorkingFolderRequest request;
        bool ok;
        fs::path folder;
    };
    WorkingFolderRequest given = installed(), variable = installed(), build = installed(),
                         noHome = installed(), missing = installed(), notFolder = installed();
    given.given = (root / "given").string();
    variable.workdirVariable = (root / "deep" / "work").string();
    build.examples.clear();
    noHome.home.clear();
    missing.given = (root / "nowhere").string();
    notFolder.workdirVariable = (root / "plain-file").string();
    const Case cases[] = {
        {"folder given", given, true, root / "given"},
        {"RAHMEN_WORKDIR, created with its parents", variable, true, root / "deep" / "work"},
        {"build folder: where it was started", build, true, root / "started"},
        {"no home folder", noHome, true, root / "started"},
        {"given folder missing", missing, false, {}},
        {"a file in the folder's place", notFolder, false, {}},
    };
    for (const Case& c : cases) {
        const WorkingFolder w = prepareWorkingFolder(c.request);
        EXPECT_EQ(w.ok, c.ok) << c.what << ": " << w.error;
        if (c.ok)
            EXPECT_EQ(w.folder, c.folder) << c.what;
        else
            EXPECT_FALSE(w.error.empty()) << c.what;
    }
    EXPECT_FALSE(fs::exists(root / "nowhere")); // a folder given is never made
}

} // namespace
} // namespace rahmen
