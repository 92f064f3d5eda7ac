// The load-case workflow end to end: grid generation with default loads as
// load cases (grid_default_loads_as_load_cases.scn), then the reports read
// back — a combination's displacements are the factored sum of its cases' —
// and the frame and load-case files read in a fresh program, whose analysis
// of all cases through the load-case form writes the same reports (the same
// loads, the results to the report's digits). The plotting window's moment
// diagram of G−KX is the one the window draws from that combination's report,
// with the report's numbers; the storey table has a row per storey and
// direction.

#include "ScenarioRunner.h"

#include "analysis/AnalysisFile.h"
#include "checks/CheckConditions.h"
#include "model/LoadCases.h"
#include "model/Model.h"
#include "model/TextFile.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

namespace rahmen {
namespace {

namespace fs = std::filesystem;

std::unique_ptr<Model> readReport(const std::string& bytes, const std::string& name) {
    auto m = std::make_unique<Model>();
    ItemReader in(bytes, name);
    readAnalysisReport(*m, in);
    return m;
}

// The moment labels of a saved picture: the green numbers, where they are.
std::multiset<std::string> momentLabels(const std::string& svg) {
    static const std::regex text(
        "<text x=\"([^\"]*)\" y=\"([^\"]*)\"[^>]* fill=\"#008000\"[^>]*>(-?[0-9]+\\.[0-9])</text>");
    std::multiset<std::string> labels;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), text); it != std::sregex_iterator();
         ++it)
        labels.insert((*it)[3].str() + " at " + (*it)[1].str() + "," + (*it)[2].str());
    return labels;
}

// A report read by "解析ﾃﾞｰﾀ呼出" into a fresh program and its plane Y = 0
// drawn by the plotting window, the picks as in the scenario.
std::string plotFromReport(const std::string& label) {
    return "start\nopenfile \"grid1_" + label +
           ".adt\"\nclick MAINFORM BUTTON52\nclick MAINFORM BUTTON4\n"
           "expect title FORM13 \"データ作図\"\n"
           "click FORM13 RADIO60\nclick FORM13 BUTTON69\n"
           "mouse FORM13 left 405 274\nmouse FORM13 left 294 338\nmouse FORM13 left 405 200\n"
           "click FORM13 BUTTON69\nopenfile \"plane_" +
           label + "_report.svg\"\nclick FORM13 BUTTON98\n";
}

// The second half: the files of the first run, a fresh program.
const char* const kReadBack = R"(
openfile "grid1.fdt"
start
click MAINFORM BUTTON91
expect enabled MAINFORM BUTTON94
click MAINFORM BUTTON94
expect open FORM17
click FORM17 BUTTON182
expect open FORM9
expect caption FORM9 BUTTON37 "解析開始"
click FORM9 RADIO4
click FORM9 RADIO29
type FORM9 EDIT102 "205000"
type FORM9 EDIT149 "79433.86"
answer ok
click FORM9 BUTTON37
expect message "検定できる部材がありません。部材タイプに断面表（H形鋼・角形鋼管・円形鋼管）の断面がありません（数値入力・長方形の断面は検定しません）。"
expect closed FORM17
expect model AnalysisDone 1
expect enabled MAINFORM BUTTON4
)";

TEST(LoadCaseWorkflow, GridCasesCombineByTheirFactorsAndComeBackFromTheLoadCaseFile) {
    const fs::path folder = fs::temp_directory_path() / "rahmen_load_case_workflow";
    fs::remove_all(folder);
    fs::create_directories(folder);
    ScenarioRunner runner({fs::path(RAHMEN_SCENARIOS) / "fixtures", RAHMEN_FIXTURES});
    runner.setFolder(folder);
    ScenarioRunner::FolderContents first;
    ASSERT_EQ(
        runner.runFile(fs::path(RAHMEN_SCENARIOS) / "grid_default_loads_as_load_cases.scn", first),
        std::vector<std::string>{});

    // The code's combinations of G, KX and KY, with their reports.
    LoadCaseSet set;
    {
        ItemReader in(first.at("grid1.lcd"), "grid1.lcd");
        readLoadCaseFile(in, set, 18, 0x7fff);
    }
    ASSERT_EQ(set.cases.size(), 3u);
    std::set<std::string> expressions;
    for (const Combination& c : set.combinations) {
        expressions.insert(combinationExpression(c));
        EXPECT_EQ(first.count("grid1_" + c.label + ".adt"), 1u) << c.label;
    }
    EXPECT_EQ(expressions, (std::set<std::string>{"G", "G+KX", "G-KX", "G+KY", "G-KY"}));

    // G−KX: every displacement the factored sum of the cases', to the
    // report's digits.
    const auto g = readReport(first.at("grid1_G.adt"), "grid1_G.adt");
    const auto kx = readReport(first.at("grid1_KX.adt"), "grid1_KX.adt");
    std::string label;
    for (const Combination& c : set.combinations)
        if (combinationExpression(c) == "G-KX") label = c.label;
    const auto combined = readReport(first.at("grid1_" + label + ".adt"), label);
    ASSERT_EQ(combined->NodeCount, 18);
    int moved = 0;
    for (int d = 1; d <= 6 * combined->NodeCount; ++d) {
        const double sum = g->NodeDisplacement[d] - kx->NodeDisplacement[d];
        // Each report rounds to 0.00001 cm: the sum of two and the third.
        EXPECT_NEAR(combined->NodeDisplacement[d], sum, 1e-4 * std::fabs(sum) + 1.6e-5) << d;
        moved += std::fabs(kx->NodeDisplacement[d]) > 1e-3;
    }
    EXPECT_GT(moved, 10); // KX does move the frame
    for (int e = 1; e <= combined->MemberCount; ++e)
        for (int k = 1; k <= 9; ++k) {
            const double sum = g->MemberEndForce[e][k] - kx->MemberEndForce[e][k];
            EXPECT_NEAR(combined->MemberEndForce[e][k], sum, 2e-3 * std::fabs(sum) + 2e-3)
                << e << "," << k;
        }

    // The plotting window's G−KX: the labels the window draws of the report
    // grid1_S2.adt (and not those of G+KX), each an end moment of a member
    // of the plane in that report.
    ASSERT_EQ(label, "S2");
    const std::multiset<std::string> shown = momentLabels(first.at("plane_S2_program.svg"));
    EXPECT_GT(shown.size(), 10u);
    ScenarioRunner::FolderContents plots;
    for (const char* report : {"S1", "S2"})
        ASSERT_EQ(runner.run(plotFromReport(report), report, plots), std::vector<std::string>{});
    EXPECT_EQ(shown, momentLabels(plots.at("plane_S2_report.svg")));
    EXPECT_NE(shown, momentLabels(plots.at("plane_S1_report.svg")));
    std::vector<double> moments; // |My|, |Mz| at both ends, kN·m
    for (int e = 1; e <= combined->MemberCount; ++e)
        if (combined->NodeY[combined->MemberStartNode[e]] == 0 &&
            combined->NodeY[combined->MemberEndNode[e]] == 0)
            for (int k : {2, 3, 5, 6})
                moments.push_back(std::fabs(combined->MemberEndForce[e][k]));
    for (const std::string& shownLabel : shown) {
        const double v = std::fabs(std::stod(shownLabel));
        EXPECT_TRUE(std::any_of(moments.begin(), moments.end(), [v](double m) {
            return std::fabs(m - v) <= 0.0501;
        })) << shownLabel;
    }

    // The storey table: a row per storey and direction, K in X then in Y.
    const auto storeyRows = [](const std::string& csv) {
        std::vector<std::string> rows;
        std::istringstream in(csv);
        std::string line;
        std::getline(in, line); // the heading
        while (std::getline(in, line)) {
            std::string storey, direction, kase;
            std::istringstream cells(line);
            std::getline(cells, storey, ','), std::getline(cells, direction, ',');
            std::getline(cells, kase, ',');
            rows.push_back(storey + direction + kase +
                           (line.find(",OK,") != line.npos ? " OK" : ""));
        }
        return rows;
    };
    EXPECT_EQ(storeyRows(first.at("grid1_STY.csv")),
              (std::vector<std::string>{"1XKX OK", "2XKX OK", "1YKY OK", "2YKY OK"}));

    // A fresh program: the frame file, its load-case file read by the
    // load-case form, the same conditions, and the same reports.
    for (const auto& [name, bytes] : first)
        if (name.rfind("grid1_", 0) == 0 || name == "grid1.sty" || name == "grid1.chk")
            fs::remove(folder / name);
    ScenarioRunner::FolderContents second;
    ASSERT_EQ(runner.run(kReadBack, "read_back", second), std::vector<std::string>{});
    int reports = 0;
    for (const auto& [name, bytes] : first) {
        if (name.rfind("grid1_", 0) != 0 && name != "grid1.sty") continue;
        ++reports;
        ASSERT_EQ(second.count(name), 1u) << name;
        if (name == "grid1_STY.csv") {
            EXPECT_EQ(storeyRows(second.at(name)), storeyRows(bytes));
        }
        if (name == "grid1_ENV.csv" || name == "grid1_STY.csv" || name == "grid1.sty" ||
            name == "grid1_CHK.csv")
            continue;
        // The same loads to the last digit (the load-case file); the results
        // to the report's digits, as the frame file keeps the grid's
        // sections to its own digits (today's rounding of a frame read back).
        const auto was = readReport(bytes, name), now = readReport(second.at(name), name);
        EXPECT_EQ(was->NodeLoad, now->NodeLoad) << name;
        EXPECT_EQ(was->MemberUniformLoad, now->MemberUniformLoad) << name;
        EXPECT_EQ(was->NodeLoadFlag, now->NodeLoadFlag) << name;
        for (int d = 1; d <= 6 * was->NodeCount; ++d)
            EXPECT_NEAR(now->NodeDisplacement[d], was->NodeDisplacement[d],
                        1e-4 * std::fabs(was->NodeDisplacement[d]) + 1e-5)
                << name << " " << d;
    }
    EXPECT_EQ(reports, 3 + 5 + 3 + 1); // cases, combinations, ENV/STY/CHK CSV, .sty
    EXPECT_EQ(second.at("grid1.chk"), first.at("grid1.chk"));
    fs::remove_all(folder);
}

// The grid of grid_member_checks_and_ratio_picture.scn read back: the check
// conditions form sets SN490B for the small beams' type, kx = 2 for every
// column and lb = 150 cm for the members of that type, saves them, and the
// analysis of all cases (the existing reports replaced) checks with them.
const char* const kConditions = R"(
openfile "grid2.fdt"
start
click MAINFORM BUTTON91
click MAINFORM BUTTON94
expect open FORM17
click FORM17 BUTTON185
expect open FORM18
choose FORM18 LIST181 1
choose FORM18 COMBO181 6
click FORM18 BUTTON181
choose FORM18 COMBO182 2
type FORM18 EDIT182 "2"
click FORM18 BUTTON183
choose FORM18 COMBO182 5
type FORM18 EDIT181 "150"
type FORM18 EDIT182 ""
click FORM18 BUTTON183
click FORM18 BUTTON185
expect file exists grid2.ckc
click FORM18 BUTTON186
expect closed FORM18
click FORM17 BUTTON182
click FORM9 RADIO4
click FORM9 RADIO29
type FORM9 EDIT102 "205000"
type FORM9 EDIT149 "79433.86"
answer no
click FORM9 BUTTON37
expect message "既存の解析データがあります、新しいデータ名を入力しますか？\r\n\r\n同名データ作成は既存ﾃﾞｰﾀをﾃﾞｨﾚｸﾄﾘｰより移動→いいえﾎﾞﾀﾝ" buttons yesno
expect nomessage
expect model AnalysisDone 1
)";

TEST(LoadCaseWorkflow, CheckConditionsFromTheirFormChangeTheChecksOfTheNextAnalysis) {
    const fs::path folder = fs::temp_directory_path() / "rahmen_member_check_workflow";
    fs::remove_all(folder);
    fs::create_directories(folder);
    ScenarioRunner runner({fs::path(RAHMEN_SCENARIOS) / "fixtures", RAHMEN_FIXTURES});
    runner.setFolder(folder);
    ScenarioRunner::FolderContents first, second;
    ASSERT_EQ(runner.runFile(
                  fs::path(RAHMEN_SCENARIOS) / "grid_member_checks_and_ratio_picture.scn", first),
              std::vector<std::string>{});
    ASSERT_EQ(runner.run(kConditions, "conditions", second), std::vector<std::string>{});

    CheckConditions conditions;
    {
        ItemReader in(second.at("grid2.ckc"), "grid2.ckc");
        readCheckConditionsFile(in, conditions, 3, 16);
    }
    EXPECT_EQ(conditions.grades, (std::map<int, std::string>{{2, "SN490B"}}));
    std::set<int> columns, beams;
    for (const auto& [m, k] : conditions.members) {
        if (k.kx == 2 && k.ky == 1 && k.lb == 0) columns.insert(m);
        if (k.kx == 1 && k.ky == 1 && k.lb == 150) beams.insert(m);
    }
    EXPECT_EQ(columns, (std::set<int>{1, 2, 3, 4, 9, 10, 11, 12}));
    EXPECT_EQ(beams, (std::set<int>{5, 6, 7, 8}));
    EXPECT_EQ(conditions.members.size(), 12u);

    // Braced at 1.5 m the small beams pass (their lateral buckling governed);
    // the columns buckle over twice their length and their ratio grows.
    const std::string was = cp932ToUtf8(first.at("grid2.chk"));
    const std::string now = cp932ToUtf8(second.at("grid2.chk"));
    EXPECT_NE(was.find("    7    1.066  NG"), std::string::npos);
    EXPECT_NE(now.find("    7    0.285  OK"), std::string::npos) << now;
    EXPECT_NE(now.find("Ｈ-198x 99x4.5x 7  SN490B"), std::string::npos);
    EXPECT_NE(now.find("NG の部材数:  0"), std::string::npos);
    EXPECT_NE(was.find("    1    0.511  OK"), std::string::npos);
    EXPECT_NE(now.find("    1    0.513  OK"), std::string::npos);
    fs::remove_all(folder);
}

} // namespace
} // namespace rahmen
