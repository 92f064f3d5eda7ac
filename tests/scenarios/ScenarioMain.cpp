// Every tests/scenarios/*.scn file is one test case of the suite "Scenario".

#include "ScenarioRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
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

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
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
