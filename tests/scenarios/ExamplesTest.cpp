// The example data files under examples/ (copied into a new user's working
// folder by scripts/run.sh): they are exactly what the program's own writers
// write for the example frames today, each reads back with the program's
// readers into the frame it came from, and the main menu's file buttons open
// them in a fresh folder.
//
// To write them again after a deliberate change of a file format, run this
// test with RAHMEN_REGENERATE_EXAMPLES=1 (see examples/README.md).

#include "ExampleFrames.h"
#include "ScenarioRunner.h"

#include "analysis/AnalysisFile.h"
#include "analysis/ana.h"
#include "model/Model.h"
#include "model/ModelFileHandlers.h"
#include "model/ModelFiles.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace rahmen {
namespace {

namespace fs = std::filesystem;

const fs::path kExamples = RAHMEN_EXAMPLES;

using FileMap = std::map<std::string, std::string>;

std::string readExample(const std::string& name) {
    std::ifstream in(kExamples / name, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool regenerating() {
    const char* flag = std::getenv("RAHMEN_REGENERATE_EXAMPLES");
    return flag && std::string(flag) == "1";
}

// Each example frame written by the handlers that write the files in the
// program (end of coordinate entry, end of support entry, the analysis), in a
// temporary folder with the clock standing at kExampleTime.
FileMap writeExampleFiles() {
    FileMap files;
    for (const ExampleFrame& frame : exampleFrames()) {
        ScriptedPlatform platform;
        platform.clock.set(kExampleTime);
        auto program = Program::create(platform.services());
        Model& md = program->model;
        auto take = [&](const std::string& extension) {
            const std::string name = frame.name + extension;
            const ReadResult r = platform.files.read(name);
            EXPECT_TRUE(r.ok) << r.error;
            files[name] = r.bytes;
        };
        frame.buildFrame(md);
        EXPECT_TRUE(BUTTON69_ON(*program));
        take(".cdt");
        EXPECT_TRUE(BUTTON70_ON(*program));
        take(".fdt");
        frame.addConditionsAndLoads(md);
        EXPECT_TRUE(ANALYSIS_ON(*program));
        take(".adt");
        EXPECT_TRUE(platform.dialogs.messages().empty()) << platform.dialogs.messages()[0].text;
    }
    return files;
}

std::unique_ptr<Model> builtFrame(const std::string& name, bool withLoads) {
    auto md = std::make_unique<Model>();
    for (const ExampleFrame& frame : exampleFrames()) {
        if (frame.name != name) continue;
        frame.buildFrame(*md);
        if (withLoads) frame.addConditionsAndLoads(*md);
    }
    return md;
}

bool near(double got, double want, double relative) {
    return std::fabs(got - want) <= relative * std::max(1.0, std::fabs(want));
}

// Node coordinates and the members' ends, as every one of the three files
// holds them.
void expectSameGeometry(const Model& read, const Model& built, const std::string& file) {
    SCOPED_TRACE(file);
    ASSERT_EQ(read.NodeCount, built.NodeCount);
    for (int n = 1; n <= built.NodeCount; ++n) {
        EXPECT_EQ(read.NodeX[n], built.NodeX[n]) << "node " << n;
        EXPECT_EQ(read.NodeY[n], built.NodeY[n]) << "node " << n;
        EXPECT_EQ(read.NodeZ[n], built.NodeZ[n]) << "node " << n;
    }
}

void expectSameMembers(const Model& read, const Model& built, const std::string& file) {
    SCOPED_TRACE(file);
    ASSERT_EQ(read.MemberCount, built.MemberCount);
    for (int m = 1; m <= built.MemberCount; ++m) {
        SCOPED_TRACE("member " + std::to_string(m));
        EXPECT_EQ(read.MemberStartNode[m], built.MemberStartNode[m]);
        EXPECT_EQ(read.MemberEndNode[m], built.MemberEndNode[m]);
        EXPECT_TRUE(near(read.MemberArea[m], built.MemberArea[m], 1e-6));
        EXPECT_TRUE(near(read.MemberIy[m], built.MemberIy[m], 1e-6));
        EXPECT_TRUE(near(read.MemberIz[m], built.MemberIz[m], 1e-6));
        EXPECT_FLOAT_EQ(read.MemberAngle[m], built.MemberAngle[m]);
        EXPECT_EQ(read.PinStartY[m], built.PinStartY[m]);
        EXPECT_EQ(read.PinStartZ[m], built.PinStartZ[m]);
        EXPECT_EQ(read.PinEndY[m], built.PinEndY[m]);
        EXPECT_EQ(read.PinEndZ[m], built.PinEndZ[m]);
        for (int k : {5, 6}) {
            EXPECT_FLOAT_EQ(read.SpringStart[m][k], built.SpringStart[m][k]);
            EXPECT_FLOAT_EQ(read.SpringEnd[m][k], built.SpringEnd[m][k]);
        }
    }
    for (int n = 1; n <= built.NodeCount; ++n)
        EXPECT_EQ(read.NodeIsSupport[n], built.NodeIsSupport[n]) << "node " << n;
}

TEST(Examples, CommittedFilesAreWhatTheProgramsWritersWriteToday) {
    const FileMap files = writeExampleFiles();
    ASSERT_EQ(files.size(), 6u);
    if (regenerating()) {
        for (const auto& [name, bytes] : files)
            std::ofstream(kExamples / name, std::ios::binary) << bytes;
    }
    for (const auto& [name, bytes] : files) {
        ASSERT_TRUE(fs::exists(kExamples / name))
            << name << " is missing; run this test with RAHMEN_REGENERATE_EXAMPLES=1";
        // The coordinate and frame files involve no computation and must be
        // the same bytes; a report may differ in the rounding of its results
        // from the build the examples were written with.
        const bool report = fs::path(name).extension() == ".adt";
        EXPECT_EQ(report ? reportDifference(bytes, readExample(name))
                         : firstDifference(bytes, readExample(name)),
                  "")
            << name << " differs from what the program writes now";
    }
    // No data file of an example that is no longer made stays behind.
    for (const auto& entry : fs::directory_iterator(kExamples)) {
        const std::string name = entry.path().filename().string();
        const std::string extension = entry.path().extension().string();
        if (extension == ".cdt" || extension == ".fdt" || extension == ".adt") {
            EXPECT_EQ(files.count(name), 1u) << name << " is not written by this test";
        }
    }
}

TEST(Examples, EachFileReadsBackIntoTheFrameItWasWrittenFrom) {
    for (const ExampleFrame& frame : exampleFrames()) {
        const auto built = builtFrame(frame.name, false);
        {
            const std::string name = frame.name + ".cdt";
            auto read = std::make_unique<Model>();
            ItemReader in(readExample(name), name);
            ASSERT_NO_THROW(readCoordinateFile(*read, in)) << name;
            expectSameGeometry(*read, *built, name);
            EXPECT_EQ(read->MemberTypeCount, built->MemberTypeCount);
            EXPECT_EQ(read->MemberCount, built->MemberCount);
            EXPECT_EQ(read->SupportCount, 4);
        }
        {
            const std::string name = frame.name + ".fdt";
            auto read = std::make_unique<Model>();
            ItemReader in(readExample(name), name);
            UnitLine unit = UnitLine::Unknown;
            ASSERT_NO_THROW(unit = readFrameFile(*read, in)) << name;
            // A frame without springs holds nothing unit-dependent.
            EXPECT_EQ(unit, built->SprungEndCount ? UnitLine::Si : UnitLine::Common) << name;
            expectSameGeometry(*read, *built, name);
            expectSameMembers(*read, *built, name);
            EXPECT_EQ(read->SupportCount, 4);
            EXPECT_EQ(read->PinnedEndCount, built->PinnedEndCount);
            EXPECT_EQ(read->SprungEndCount, built->SprungEndCount);
            EXPECT_EQ(read->MemberTypeCount, built->MemberTypeCount);
            EXPECT_EQ(read->RectTypeCount, built->RectTypeCount);
            for (int t = 1; t <= built->MemberTypeCount; ++t) {
                // Torsion constants are listed to five significant digits.
                EXPECT_TRUE(near(read->TypeJ[t], built->TypeJ[t], 1e-4)) << name << " type " << t;
                EXPECT_EQ(read->TypeSectionKind[t], built->TypeSectionKind[t]);
            }
        }
        {
            const std::string name = frame.name + ".adt";
            const auto analysed = builtFrame(frame.name, true);
            SilentProgress silent;
            ASSERT_TRUE(runAnalysis(*analysed, silent).ok);

            auto read = std::make_unique<Model>();
            ItemReader in(readExample(name), name);
            ASSERT_NO_THROW(readAnalysisReport(*read, in)) << name;
            expectSameGeometry(*read, *analysed, name);
            expectSameMembers(*read, *analysed, name);
            EXPECT_EQ(read->YoungModulus, analysed->YoungModulus);
            EXPECT_EQ(read->ShearModulus, analysed->ShearModulus);
            EXPECT_FLOAT_EQ(read->ShearShapeFactor, analysed->ShearShapeFactor);
            for (int d = 1; d <= 6 * analysed->NodeCount; ++d) {
                EXPECT_FLOAT_EQ(read->NodeLoad[d], analysed->NodeLoad[d]) << name << " dof " << d;
                // The report prints four significant digits.
                EXPECT_NEAR(read->NodeDisplacement[d], analysed->NodeDisplacement[d],
                            1e-3 * std::fabs(analysed->NodeDisplacement[d]) + 1e-12)
                    << name << " dof " << d;
            }
            for (int m = 1; m <= analysed->MemberCount; ++m)
                for (int k = 1; k <= 2; ++k)
                    EXPECT_FLOAT_EQ(read->MemberUniformLoad[m][k],
                                    analysed->MemberUniformLoad[m][k]);
        }
    }
}

// The example of the two-storey frame carries the results that three
// independent frame programs agree on.
TEST(Examples, TwoStoreyReportHoldsTheIndependentlyComputedDisplacements) {
    auto read = std::make_unique<Model>();
    ItemReader in(readExample("two_storey.adt"), "two_storey.adt");
    ASSERT_NO_THROW(readAnalysisReport(*read, in));
    const double roof[4][6] = {
        {1.968943, -1.368002e-2, -1.617667e-3, 3.800844e-5, 2.601108e-3, 1.926787e-6},
        {1.961687, -1.368002e-2, -3.929713e-2, 3.800844e-5, 6.357971e-4, -1.926787e-6},
        {1.965318, -1.368002e-2, 1.880932e-2, 3.800844e-5, 1.618602e-3, 1.926787e-6},
        {1.965312, -1.368002e-2, -1.887014e-2, 3.800844e-5, 1.618304e-3, -1.926787e-6}};
    for (int i = 0; i < 4; ++i)
        for (int k = 0; k < 6; ++k)
            EXPECT_NEAR(read->NodeDisplacement[6 * (9 + i) - 6 + k + 1], roof[i][k],
                        5e-4 * std::fabs(roof[i][k]))
                << "node " << 9 + i << " direction " << k + 1;
}

// The comparison of reports from differently compiled builds lets through
// only the rounding of printed results.
TEST(Examples, ReportComparisonToleratesOnlyTheRoundingOfResults) {
    const std::string line = "   1   -53.41E+00  -94.37E-16  -18.55E+00  -11.83E+01\r\n";
    const std::string head = "\r\n 節点数: 12\r\n";
    auto report = [&](const std::string& results) { return utf8ToCp932(head) + results; };
    EXPECT_EQ(reportDifference(report(line), report(line)), "");
    // A residue of zero of another size, and the last digit of a result.
    EXPECT_EQ(reportDifference(report("   1   -53.41E+00  -14.28E-15  -18.55E+00  -11.83E+01\r\n"),
                               report(line)),
              "");
    EXPECT_EQ(reportDifference(report("   1   -53.42E+00  -94.37E-16  -18.55E+00  -11.83E+01\r\n"),
                               report(line)),
              "");
    // A result that differs in its third digit, a missing value, another word.
    EXPECT_NE(reportDifference(report("   1   -53.51E+00  -94.37E-16  -18.55E+00  -11.83E+01\r\n"),
                               report(line)),
              "");
    EXPECT_NE(
        reportDifference(report("   1   -53.41E+00  -18.55E+00  -11.83E+01\r\n"), report(line)),
        "");
    EXPECT_EQ(reportDifference(report("   2   -53.41E+00  -94.37E-16  -18.55E+00  -11.83E+01\r\n"),
                               report(line)),
              "line 3:\n  got  \"   2   -53.41E+00  -94.37E-16  -18.55E+00  -11.83E+01\"\n"
              "  want \"   1   -53.41E+00  -94.37E-16  -18.55E+00  -11.83E+01\"");
    // Line ends are part of the format.
    EXPECT_NE(reportDifference(report("   1   -53.41E+00  -14.28E-15  -18.55E+00  -11.83E+01\n"),
                               report(line)),
              "");
    EXPECT_NE(reportDifference(utf8ToCp932("\r\n 節点数: 13\r\n") + line, report(line)), "");
    EXPECT_NE(reportDifference(report(line) + "\r\n", report(line)), "");
}

ScenarioRunner examplesRunner() {
    return ScenarioRunner({kExamples});
}

const char* const kCopyExamples = "copy two_storey.cdt two_storey.cdt\n"
                                  "copy two_storey.fdt two_storey.fdt\n"
                                  "copy two_storey.adt two_storey.adt\n"
                                  "copy two_storey_pins.cdt two_storey_pins.cdt\n"
                                  "copy two_storey_pins.fdt two_storey_pins.fdt\n"
                                  "copy two_storey_pins.adt two_storey_pins.adt\n";

TEST(Examples, FileButtonsOfANewWorkingFolderOpenEachKindOfFile) {
    const std::string start = std::string(kCopyExamples) +
                              "start\n"
                              "expect enabled MAINFORM BUTTON68 BUTTON91 BUTTON52\n";
    const std::string coordinates = start + "openfile \"two_storey.cdt\"\n"
                                            "click MAINFORM BUTTON68\n"
                                            "expect nomessage\n"
                                            "expect model CoordFileState 2\n"
                                            "expect model NodeCount 12\n"
                                            "expect model NodeZ[12] 700\n"
                                            "expect enabled MAINFORM BUTTON28\n";
    const std::string frame = start + "openfile \"two_storey_pins.fdt\"\n"
                                      "click MAINFORM BUTTON91\n"
                                      "expect nomessage\n"
                                      "expect model FrameReady 1\n"
                                      "expect model DataName \"two_storey_pins\"\n"
                                      "expect model SprungEndCount 2\n"
                                      "expect model SpringEnd[13,5] 800000\n"
                                      "expect model PinEndY[7] -1\n"
                                      "expect model TypeRectA[6] 60\n"
                                      "expect enabled MAINFORM BUTTON3 BUTTON4\n";
    const std::string report = start + "openfile \"two_storey_pins.adt\"\n"
                                       "click MAINFORM BUTTON52\n"
                                       "expect nomessage\n"
                                       "expect model AnalysisDone 1\n"
                                       "expect model ShearShapeFactor 1.2\n"
                                       "expect model MemberUniformLoad[5,2] -12\n"
                                       "expect model NodeLoad[40] 150\n";
    for (const auto& [script, name] : {std::pair{coordinates, "cdt.scn"},
                                       std::pair{frame, "fdt.scn"}, std::pair{report, "adt.scn"}}) {
        const auto failures = examplesRunner().run(script, name);
        EXPECT_TRUE(failures.empty()) << failures.front();
    }
}

// A user who opens the example frame file and enters its conditions and
// loads through the forms gets the example report again (replacing it).
TEST(Examples, TwoStoreyFrameFileAnalysedThroughTheFormsGivesTheExampleReport) {
    const std::string script = std::string(kCopyExamples) +
                               "start\n"
                               "openfile \"two_storey.fdt\"\n"
                               "click MAINFORM BUTTON91\n"
                               "click MAINFORM BUTTON3\n"
                               "click FORM9 RADIO29\n"
                               "click FORM9 RADIO1\n"
                               "click FORM9 BUTTON37\n"
                               "click FORM10 RADIO46\n"
                               "type FORM10 EDIT170 \"700\"\n"
                               "type FORM10 EDIT171 \"200\"\n"
                               "click FORM10 BUTTON30\n"
                               "click FORM10 RADIO68\n"
                               "type FORM10 EDIT195 \"13\"\n"
                               "type FORM10 EDIT197 \"-20\"\n"
                               "answer no\n"
                               "click FORM10 BUTTON31\n"
                               "expect message \"既存の解析データがあります、新しいデータ名を入力"
                               "しますか？\\r\\n\\r\\n同名データ作成は既存ﾃﾞｰﾀをﾃﾞｨﾚｸﾄﾘｰより移動→"
                               "いいえﾎﾞﾀﾝ\"\n"
                               "expect model AnalysisFileWritten 1\n";
    ScenarioRunner::FolderContents folder;
    const auto failures = examplesRunner().run(script, "analysis.scn", folder);
    ASSERT_TRUE(failures.empty()) << failures.front();
    EXPECT_EQ(reportDifference(folder["two_storey.adt"], readExample("two_storey.adt")), "");
}

} // namespace
} // namespace rahmen
