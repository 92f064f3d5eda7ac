// The runner itself: a scenario that should fail must fail, at the right line.

#include "ModelValues.h"
#include "ScenarioRunner.h"

#include "model/Program.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

namespace rahmen {
namespace {

std::vector<std::string> runScript(const std::string& script) {
    return ScenarioRunner({}).run(script, "t.scn");
}

std::string firstFailure(const std::string& script) {
    auto failures = runScript(script);
    return failures.empty() ? "" : failures.front();
}

TEST(ScenarioRunner, PassingScriptHasNoFailures) {
    EXPECT_TRUE(runScript("# comment\n\nstart\nexpect enabled MAINFORM BUTTON27 BUTTON84\n"
                          "expect caption MAINFORM BUTTON84 \"グリッド作成\"\n"
                          "expect model UnitFactor 98.0665\nexpect running\n")
                    .empty());
}

TEST(ScenarioRunner, WrongExpectationsFailAtTheirLine) {
    EXPECT_EQ(firstFailure("start\nexpect caption MAINFORM BUTTON84 \"ﾃﾞﾌｫﾙﾄ荷重\"\n"),
              "t.scn:2: BUTTON84 reads \"グリッド作成\" (expected \"ﾃﾞﾌｫﾙﾄ荷重\")");
    EXPECT_EQ(firstFailure("start\nexpect disabled MAINFORM BUTTON27 BUTTON1 BUTTON84\n"),
              "t.scn:2: not disabled: BUTTON27 BUTTON84");
    EXPECT_EQ(firstFailure("start\nexpect model UnitFactor 1\n"),
              "t.scn:2: UnitFactor is 98.0665 (expected 1)");
    EXPECT_EQ(firstFailure("start\nexpect model UnitFactor 98.067\n"),
              "t.scn:2: UnitFactor is 98.0665 (expected 98.067)");
    EXPECT_EQ(firstFailure("start\nexpect model NodeX[1501] 0\n"),
              "t.scn:2: NodeX[1501]: index outside 1..1500");
    EXPECT_EQ(firstFailure("start\nexpect message \"x\"\n"),
              "t.scn:2: no further message was shown (expected \"x\")");
    EXPECT_EQ(firstFailure("expect file exists a.cdt\n"), "t.scn:1: a.cdt is missing");
    EXPECT_EQ(firstFailure("start\nexpect ended\n"), "t.scn:2: the program is still running");
}

TEST(ScenarioRunner, ClickOnADisabledButtonOrAClosedFormFails) {
    EXPECT_EQ(firstFailure("start\nclick MAINFORM BUTTON3\n"),
              "t.scn:2: click BUTTON3: the control is disabled or hidden, or the form is closed");
    EXPECT_EQ(firstFailure("click MAINFORM BUTTON27\n"), "t.scn:1: MAINFORM is not open");
    EXPECT_EQ(firstFailure("start\nclick MAINFORM BUTTON999\n"),
              "t.scn:2: click BUTTON999: MAINFORM has no control BUTTON999");
}

TEST(ScenarioRunner, UnansweredDialogsAndUnusedAnswersFail) {
    // The end button asks about the written file; nobody answers.
    const std::string written = "start\nset DataName \"f\"\ncall BUTTON69_ON\n";
    EXPECT_EQ(firstFailure(written + "click MAINFORM BUTTON5\n"),
              "t.scn:4: click BUTTON5 raised 1 dialog(s) nobody answered (last: message "
              "\"作成したデータファイルを保存しますか。\")");
    EXPECT_TRUE(runScript("allow unscripted\n" + written + "click MAINFORM BUTTON5\n").empty());
    EXPECT_EQ(firstFailure("start\nanswer yes\n"),
              "t.scn:2: 1 queued answer(s) were never asked for");
    // An answer the box does not offer is no answer.
    EXPECT_EQ(firstFailure(written + "answer ok\nclick MAINFORM BUTTON5\n"),
              "t.scn:5: click BUTTON5 raised 1 dialog(s) nobody answered (last: message "
              "\"作成したデータファイルを保存しますか。\")");
}

TEST(ScenarioRunner, FilesAreWrittenAsCp932WithCrLf) {
    EXPECT_TRUE(runScript("file a.cdt <<END\n 座標データファイル\nline 2\nEND\n"
                          "expect file exists a.cdt\n"
                          "expect file a.cdt contains \"座標データファイル\\r\\nline 2\\r\\n\"\n")
                    .empty());
    EXPECT_EQ(firstFailure("file a.cdt <<END\nno end\n"),
              "t.scn:1: the here-document has no end line END");
    EXPECT_EQ(firstFailure("copy nothing.fdt a.fdt\n"), "t.scn:1: no fixture nothing.fdt");
}

TEST(ScenarioRunner, MalformedLinesAreReported) {
    EXPECT_EQ(firstFailure("frobnicate\n"), "t.scn:1: unknown command frobnicate");
    EXPECT_EQ(firstFailure("start\nexpect caption MAINFORM \"x\n"),
              "t.scn:2: unterminated quoted text");
    EXPECT_EQ(firstFailure("input text\n"), "t.scn:1: quote the text, or write cancel");
    EXPECT_EQ(firstFailure("set NodeCount 1.5\n"),
              "t.scn:1: NodeCount holds whole numbers of 16 bits, not 1.5");
}

TEST(ModelValues, TablesAreReachedByNameAndIndex) {
    ScriptedPlatform platform;
    auto p = Program::create(platform.services());
    EXPECT_EQ(writeModelValue(*p, "NodeX[3]", "250.5"), "");
    EXPECT_EQ(p->model.NodeX[3], 250.5f);
    EXPECT_EQ(writeModelValue(*p, "MemberEndForce[2,7]", "-1.25"), "");
    EXPECT_EQ(p->model.MemberEndForce[2][7], -1.25f);
    EXPECT_EQ(writeModelValue(*p, "MenuRequest", "2"), "");
    EXPECT_EQ(p->MenuRequest, 2);
    EXPECT_EQ(writeModelValue(*p, "DataName", "frame1"), "");
    EXPECT_EQ(p->model.DataName, "frame1");

    ModelValue v;
    EXPECT_EQ(readModelValue(*p, "MemberEndForce[2,7]", v), "");
    EXPECT_EQ(formatModelValue(v), "-1.25");
    p->model.UnitFactor = 2.5f;
    EXPECT_EQ(readModelValue(*p, "UnitFactor", v), "");
    EXPECT_EQ(formatModelValue(v), "2.5");
    p->model.NodeDisplacement[5] = 0.1;
    EXPECT_EQ(readModelValue(*p, "NodeDisplacement[5]", v), "");
    EXPECT_EQ(formatModelValue(v), "0.1");

    EXPECT_EQ(writeModelValue(*p, "NodeX", "1"), "NodeX takes 1 index(es)");
    EXPECT_EQ(writeModelValue(*p, "NodeX[0]", "1"), "NodeX[0]: index outside 1..1500");
    EXPECT_EQ(writeModelValue(*p, "SpringStart[1,7]", "1"), "SpringStart[1,7]: index outside 1..6");
    EXPECT_EQ(writeModelValue(*p, "Nonsense", "1"), "no model value named Nonsense");
    EXPECT_EQ(writeModelValue(*p, "NodeCount", "40000"),
              "NodeCount holds whole numbers of 16 bits, not 40000");
}

} // namespace
} // namespace rahmen
