// The table-input workflow against the model: the files a person gets by
// entering the two-storey frame through every input form are byte for byte
// the files the program writes for the same frame built directly in the model
// (same values, same loads, same E, G and κ, the same clock).

#include "ExampleFrames.h"
#include "ScenarioRunner.h"

#include "analysis/AnalysisFile.h"
#include "analysis/ana.h"
#include "model/Model.h"
#include "model/ModelFiles.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

namespace rahmen {
namespace {

namespace fs = std::filesystem;

const fs::path kScenario =
    fs::path(RAHMEN_SCENARIOS) / "workflow_two_storey_frame_to_report_file.scn";

std::string readScenario() {
    std::ifstream in(kScenario, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

ScenarioRunner makeRunner() {
    return ScenarioRunner({fs::path(RAHMEN_SCENARIOS) / "fixtures", RAHMEN_FIXTURES});
}

bool contains(const std::string& cp932, const std::string& utf8) {
    return cp932.find(utf8ToCp932(utf8)) != std::string::npos;
}

// The report of the directly built frame, analysed and written as the program
// does at the end of the load form.
std::string directReport(Model& md) {
    std::string report;
    SilentProgress progress;
    const AnalysisOutcome out =
        runAnalysis(md, progress, [&](Model& m, const std::vector<float>& r, AnalysisProgress&) {
            report = analysisReport(m, r, kExampleTime);
        });
    EXPECT_TRUE(out.ok) << out.message;
    return report;
}

TEST(WorkflowFile, FramePinsSpringsAndLoadsEnteredThroughTheFormsWriteTheFilesOfTheModel) {
    ScenarioRunner::FolderContents folder;
    const auto failures = makeRunner().runFile(kScenario, folder);
    ASSERT_TRUE(failures.empty()) << failures.front();
    // The coordinate file was replaced by the frame file at the end of the
    // support form; nothing else is left behind.
    ASSERT_EQ(folder.size(), 2u);
    ASSERT_EQ(folder.count("two_storey_pins.fdt"), 1u);
    ASSERT_EQ(folder.count("two_storey_pins.adt"), 1u);

    auto md = std::make_unique<Model>();
    buildWorkflowFrame(*md);
    const std::string frame = frameFileBytes(*md, kExampleTime);
    EXPECT_EQ(firstDifference(folder["two_storey_pins.fdt"], frame), "");

    addWorkflowLoads(*md);
    const std::string report = directReport(*md);
    EXPECT_EQ(firstDifference(folder["two_storey_pins.adt"], report), "");

    // What the files hold is the whole frame, not two empty files alike.
    EXPECT_TRUE(contains(frame, "ﾋﾟﾝ接合数: 2")) << cp932ToUtf8(frame);
    EXPECT_TRUE(contains(frame, "長方形断面(1) : 1"));
    EXPECT_TRUE(contains(report, " 節点数: 12")) << cp932ToUtf8(report);
    EXPECT_TRUE(contains(report, "荷重点数: 8"));
    EXPECT_TRUE(contains(report, "等分布荷重材数: 2"));
    EXPECT_TRUE(contains(report, "形状係数　κ: 1.2"));
    EXPECT_GT(report.size(), 10000u);
}

TEST(WorkflowFile, CoordinatesEnteredOverThreePagesWriteTheCoordinateFileOfTheModel) {
    // The scenario up to the end of coordinate entry, where the coordinate
    // file is still there.
    const std::string script = readScenario();
    const std::size_t end = script.find("# ---- member types");
    ASSERT_NE(end, std::string::npos);
    ScenarioRunner::FolderContents folder;
    const auto failures = makeRunner().run(script.substr(0, end), "coordinates", folder);
    ASSERT_TRUE(failures.empty()) << failures.front();
    ASSERT_EQ(folder.count("two_storey_pins.cdt"), 1u);

    auto md = std::make_unique<Model>();
    buildWorkflowFrame(*md);
    EXPECT_EQ(
        firstDifference(folder["two_storey_pins.cdt"], coordinateFileBytes(*md, kExampleTime)), "");
}

TEST(WorkflowFile, AFailedScenarioStillHandsBackItsFolder) {
    ScenarioRunner::FolderContents folder{{"stale.txt", "x"}};
    const auto failures = makeRunner().run(
        "file notes.txt <<END\nabc\nEND\nstart\nexpect file exists frame.fdt\n", "t.scn", folder);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures.front(), "t.scn:5: frame.fdt is missing");
    ASSERT_EQ(folder.size(), 1u);
    EXPECT_EQ(folder["notes.txt"], "abc\r\n");
}

} // namespace
} // namespace rahmen
