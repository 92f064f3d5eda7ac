// Every tests/scenarios/*.scn file is one test case of the suite "Scenario".
// Given scenario files on its command line, it runs those instead (see
// README.md): `test_scenarios [--folder DIR] FILE.scn...`.

#include "ScenarioRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

rahmen::ScenarioRunner makeRunner() {
    return rahmen::ScenarioRunner({fs::path(RAHMEN_SCENARIOS) / "fixtures", RAHMEN_FIXTURES});
}

class ScenarioFile : public testing::Test {
public:
    explicit ScenarioFile(fs::path file) : file_(std::move(file)) {}
    void TestBody() override {
        for (const std::string& failure : makeRunner().runFile(file_))
            ADD_FAILURE() << failure;
    }

private:
    fs::path file_;
};

// A test name of letters, digits and underscores.
std::string testName(const fs::path& file) {
    std::string name = file.stem().string();
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    return name;
}

// Runs the scenario files named on the command line, each in a fresh
// temporary folder or all in the folder given with --folder (kept, so that
// the files they wrote can be looked at). 0 when every scenario passed, 1
// when one failed, 2 for a command line that cannot be used.
int runGiven(const std::vector<std::string>& args) {
    rahmen::ScenarioRunner runner = makeRunner();
    std::vector<fs::path> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--folder") {
            if (i + 1 == args.size()) {
                std::fprintf(stderr, "usage: test_scenarios [--folder DIR] FILE.scn...\n");
                return 2;
            }
            const fs::path folder = fs::absolute(args[++i]);
            std::error_code ec;
            fs::create_directories(folder, ec);
            if (!fs::is_directory(folder)) {
                std::fprintf(stderr, "%s: not a folder\n", folder.string().c_str());
                return 2;
            }
            runner.setFolder(folder);
        } else {
            files.emplace_back(args[i]);
        }
    }
    int failed = 0;
    for (const fs::path& file : files) {
        const std::vector<std::string> failures = runner.runFile(file);
        for (const std::string& failure : failures)
            std::printf("%s\n", failure.c_str());
        std::printf("%s %s\n", failures.empty() ? "PASSED" : "FAILED", file.string().c_str());
        failed += !failures.empty();
    }
    std::printf("%zu of %zu scenarios passed\n", files.size() - static_cast<std::size_t>(failed),
                files.size());
    return failed == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // What GoogleTest left of the command line: scenario files to run.
    if (argc > 1) return runGiven(std::vector<std::string>(argv + 1, argv + argc));
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(RAHMEN_SCENARIOS))
        if (entry.is_regular_file() && entry.path().extension() == ".scn")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        testing::RegisterTest("Scenario", testName(file).c_str(), nullptr, nullptr,
                              file.string().c_str(), 1,
                              [file]() -> testing::Test* { return new ScenarioFile(file); });
    }
    return RUN_ALL_TESTS();
}
