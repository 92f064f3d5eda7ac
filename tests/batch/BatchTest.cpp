// rahmen-batch, run as a command on the fixture files of fixtures/batch/: the
// report it writes, its messages and its exit status.

#include "analysis/AnalysisFile.h"
#include "analysis/ana.h"
#include "batch/GridFrame.h"
#include "model/DataName.h"
#include "model/LoadCases.h"
#include "model/Model.h"
#include "model/ModelFiles.h"
#include "model/TextFile.h"
#include "platform/Sjis.h"
#include "sections/Sections.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

using namespace rahmen;
namespace fs = std::filesystem;

namespace {

const std::string kFixtures = std::string(RAHMEN_FIXTURES) + "/batch/";
constexpr int kDateLine = 7; // 0-based: " 解析単位 :　SI単位　 … 解析日時: yy/mm/dd  hh:mm:ss"

struct Result {
    int status = -1;
    std::string out, err; // UTF-8
};

std::string quoted(const std::string& text) {
    std::string q = "'";
    for (char ch : text)
        q += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
    return q + "'";
}

std::string bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

// The lines of a CP932 file with CR LF line ends, in UTF-8.
std::vector<std::string> linesOf(const std::string& cp932) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < cp932.size()) {
        std::size_t end = cp932.find("\r\n", start);
        if (end == std::string::npos) end = cp932.size();
        lines.push_back(cp932ToUtf8(cp932.substr(start, end - start)));
        start = end + 2;
    }
    return lines;
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Two reports alike apart from the date and time line (which must still be a
// date line of the same unit system).
void expectSameReport(const std::string& a, const std::string& b) {
    const auto la = linesOf(a), lb = linesOf(b);
    ASSERT_EQ(la.size(), lb.size());
    ASSERT_GT(la.size(), static_cast<std::size_t>(kDateLine));
    EXPECT_EQ(la[kDateLine].substr(0, 30), lb[kDateLine].substr(0, 30));
    EXPECT_TRUE(contains(lb[kDateLine], "解析日時: ")) << lb[kDateLine];
    for (std::size_t i = 0; i < la.size(); ++i) {
        if (i == static_cast<std::size_t>(kDateLine)) continue;
        EXPECT_EQ(la[i], lb[i]) << "line " << i + 1;
    }
}

// A report read back into a model.
std::unique_ptr<Model> readReport(const fs::path& path) {
    auto m = std::make_unique<Model>();
    ItemReader in(bytesOf(path), path.filename().string());
    readAnalysisReport(*m, in);
    return m;
}

double disp(const Model& m, int n, int k) {
    return m.NodeDisplacement[6 * (n - 1) + k];
}

// The six numbers of the reaction line of support node n.
std::vector<double> reactionLine(const std::vector<std::string>& lines, int n) {
    bool inList = false;
    for (const std::string& line : lines) {
        if (contains(line, "支持点反力リスト")) inList = true;
        if (contains(line, "部材端力リスト")) break;
        std::istringstream in(line);
        int node = 0;
        if (!inList || !(in >> node) || node != n) continue;
        std::vector<double> v(6);
        for (double& x : v)
            in >> x;
        return v;
    }
    return {};
}

#define EXPECT_REL(actual, expected, tol)                                                          \
    EXPECT_NEAR((actual), (expected), (tol)*std::abs(double(expected)))

class Batch : public ::testing::Test {
protected:
    fs::path root, work;

    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "rahmen-batch-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root = pattern;
        work = root / "work";
        fs::create_directory(work);
    }
    void TearDown() override { fs::remove_all(root); }

    static std::string fixture(const std::string& name) { return kFixtures + name; }

    // Runs rahmen-batch with the arguments in the folder (default: work), with
    // the environment's variables and those of `env` ("NAME=VALUE").
    Result run(const std::vector<std::string>& args, fs::path folder = {},
               const std::vector<std::string>& env = {}) {
        if (folder.empty()) folder = work;
        std::string command = "cd " + quoted(folder.string()) + " && env";
        for (const std::string& variable : env)
            command += " " + quoted(variable);
        command += " " + quoted(RAHMEN_BATCH);
        for (const std::string& arg : args)
            command += " " + quoted(arg);
        const fs::path out = root / "stdout", err = root / "stderr";
        command += " >" + quoted(out.string()) + " 2>" + quoted(err.string()) + " </dev/null";
        Result r;
        const int raw = std::system(command.c_str());
        r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        r.out = bytesOf(out);
        r.err = bytesOf(err);
        return r;
    }

    std::vector<std::string> filesIn(const fs::path& folder) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

using Names = std::vector<std::string>;

} // namespace

TEST_F(Batch, FrameWithLoadsGivesTheClosedFormResults) {
    // A column (1→2, 300 cm, Iz = 10000) with 10 kN across and 50 kN down at its
    // top, and a beam (3→4, 300 cm, Iy = 30000, J = 50) under 20 kN/m with a
    // torque of 1.5 kN·m at its tip; steel: E = 20500, G = 7900 kN/cm².
    const Result r = run({fixture("cantilevers.fdt"), "--loads", fixture("cantilevers_loads.adt")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "");
    // The load on the support node 1 is not taken over.
    EXPECT_EQ(r.err, fixture("cantilevers_loads.adt") + ": 支持点1 は荷重付加点から除きます。\n");
    EXPECT_EQ(filesIn(work), (Names{"cantilevers.adt"}));

    const auto m = readReport(work / "cantilevers.adt");
    EXPECT_EQ(m->YoungModulus, 205000.0f);
    EXPECT_EQ(m->ShearModulus, 79000.0f);
    EXPECT_EQ(m->ShearShapeFactor, 0.0f);
    EXPECT_EQ(m->NodeLoadFlag[1], 0.0f);
    EXPECT_REL(disp(*m, 2, 1), 0.43902439, 1e-3);    // P·L³/(3EI)
    EXPECT_REL(disp(*m, 2, 3), -0.0073170732, 1e-3); // −N·L/(EA)
    EXPECT_REL(disp(*m, 4, 3), -0.32926829, 1e-3);   // −w·L⁴/(8EI)
    EXPECT_REL(disp(*m, 4, 5), 0.0014634146, 1e-3);  // w·L³/(6EI)
    EXPECT_REL(disp(*m, 4, 4), 0.11392405, 1e-3);    // T·L/(GJ)
    // End forces: the column's base moment P·L and its shear and axial force at
    // the top, the beam's base moment w·L²/2 and its torque.
    EXPECT_REL(std::abs(m->MemberEndForce[1][3]), 30.0, 1e-3);
    EXPECT_REL(std::abs(m->MemberEndForce[1][8]), 10.0, 1e-3);
    EXPECT_REL(std::abs(m->MemberEndForce[1][7]), 50.0, 1e-3);
    EXPECT_REL(std::abs(m->MemberEndForce[2][2]), 90.0, 1e-3);
    EXPECT_REL(std::abs(m->MemberEndForce[2][1]), 1.5, 1e-3);
    EXPECT_NEAR(m->MemberEndForce[2][5], 0.0, 1e-3);
    const auto lines = linesOf(bytesOf(work / "cantilevers.adt"));
    EXPECT_EQ(reactionLine(lines, 1), (std::vector<double>{-10, 0, 50, 0, -30, 0}));
    EXPECT_EQ(reactionLine(lines, 3), (std::vector<double>{0, 0, 60, -1.5, -90, 0}));
}

TEST_F(Batch, FrameWithLoadsGivesTheReportOfTheAnalysisRunDirectly) {
    const Result r = run({fixture("portal.fdt"), "--loads", fixture("portal_loads.adt"),
                          "--material", "concrete", "--kappa", "1.2"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string report = bytesOf(work / "portal.adt");

    // The same frame, loads and conditions, analysed here.
    auto m = std::make_unique<Model>();
    ItemReader frame(bytesOf(fixture("portal.fdt")), "portal.fdt");
    ASSERT_EQ(readFrameFile(*m, frame), UnitLine::Si);
    m->UnitFactor = kSiUnitFactor;
    ItemReader loads(bytesOf(fixture("portal_loads.adt")), "portal_loads.adt");
    ASSERT_EQ(readReportUnits(loads), ReportUnits::Si);
    std::vector<int> skipped;
    readReportLoads(*m, loads, skipped);
    EXPECT_TRUE(skipped.empty());
    m->YoungModulus = 210.0f * kSiUnitFactor;
    m->ShearModulus = 90.0f * kSiUnitFactor;
    m->ShearShapeFactor = 1.2f;
    m->DataName = "portal";
    SilentProgress quiet;
    const AnalysisOutcome out = runAnalysis(*m, quiet);
    ASSERT_TRUE(out.ok) << out.message;
    expectSameReport(analysisReport(*m, out.Reaction, {2026, 12, 8, 10, 20, 30}), report);

    const auto batch = readReport(work / "portal.adt");
    for (int d = 1; d <= 6 * 8; ++d)
        EXPECT_NEAR(batch->NodeDisplacement[d], m->NodeDisplacement[d],
                    5e-4 * std::abs(m->NodeDisplacement[d]) + 1e-12)
            << "dof " << d;
    for (int k = 1; k <= 8; ++k)
        for (int j = 1; j <= 9; ++j)
            EXPECT_NEAR(batch->MemberEndForce[k][j], m->MemberEndForce[k][j],
                        5e-4 * std::abs(m->MemberEndForce[k][j]) + 1e-6)
                << "member " << k << " " << j;

    // Concrete as the analysis conditions form stores it in SI units (210 and
    // 90 times the unit factor), κ as given.
    EXPECT_NEAR(batch->YoungModulus, 20593.965, 0.003);
    EXPECT_NEAR(batch->ShearModulus, 8825.985, 0.002);
    EXPECT_EQ(batch->ShearShapeFactor, 1.2f);
    // The spring and the one-sided pin made it into the report.
    EXPECT_TRUE(
        contains(cp932ToUtf8(report), "バネ部材;接続節点の変位後位置に対する;回転角リスト"));
    EXPECT_TRUE(contains(cp932ToUtf8(report), "片側ピン部材;変位後部材角"));
}

TEST_F(Batch, ReanalysingItsOwnReportGivesTheSameReportAgain) {
    const fs::path first = root / "first";
    fs::create_directory(first);
    ASSERT_EQ(run({fixture("portal.fdt"), "--loads", fixture("portal_loads.adt"), "--material",
                   "concrete", "--kappa", "1.2"},
                  first)
                  .status,
              0);
    const std::string original = bytesOf(first / "portal.adt");

    // Elsewhere, under the same name (no frame file beside it: the report's
    // frame is analysed, with the assumptions named; this frame has no
    // torsion that they could change).
    Result r = run({"--reanalyse", (first / "portal.adt").string()});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(r.err, "骨組データ " + (first / "portal.fdt").string() + " がないため"))
        << r.err;
    expectSameReport(original, bytesOf(work / "portal.adt"));

    // In place: the existing report is replaced, saying so in one line.
    r = run({"--reanalyse", "portal.adt"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(r.err, "portal.adt: 既存の解析データを置き換えます。\n")) << r.err;
    expectSameReport(original, bytesOf(work / "portal.adt"));
    EXPECT_EQ(filesIn(work), (Names{"portal.adt"}));

    // Under another name only the name line differs too.
    r = run({"--reanalyse", "portal.adt", "--out", "again", "--timings"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(r.out, "nodes 8\nmembers 8\nread-report-ms ")) << r.out;
    const auto a = linesOf(original), b = linesOf(bytesOf(work / "again.adt"));
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(b[10], " デ ー タ 名: again");
    for (std::size_t i = 11; i < a.size(); ++i)
        EXPECT_EQ(a[i], b[i]) << "line " << i + 1;
}

TEST_F(Batch, APlantedLinkAtTheTemporaryNameIsNeitherFollowedNorReplaced) {
    const fs::path outside = root / "outside.txt";
    std::ofstream(outside) << "outside";
    fs::create_symlink(outside, work / "out.adt.tmp");
    const Result r =
        run({fixture("portal.fdt"), "--loads", fixture("portal_loads.adt"), "--out", "out"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(bytesOf(outside), "outside");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(work / "out.adt")));
    EXPECT_TRUE(contains(cp932ToUtf8(bytesOf(work / "out.adt")), " デ ー タ 名: out"));
    EXPECT_TRUE(fs::is_symlink(work / "out.adt.tmp"));
    EXPECT_EQ(filesIn(work), (Names{"out.adt", "out.adt.tmp"}));
}

TEST_F(Batch, ReanalysisTakesTheFrameFileOfTheReportsDataNameOrNamesWhatItAssumed) {
    const std::string examples = std::string(RAHMEN_EXAMPLES) + "/";
    fs::copy_file(examples + "two_storey.fdt", work / "two_storey.fdt");
    fs::copy_file(examples + "two_storey.adt", work / "two_storey.adt");
    const auto example = linesOf(bytesOf(work / "two_storey.adt"));
    auto lineOf = [](const std::vector<std::string>& lines, const std::string& start) {
        for (const std::string& line : lines)
            if (line.rfind(start, 0) == 0) return line;
        return std::string();
    };
    // The k-th number of a line, as written (after the label of an end force line).
    auto field = [](const std::string& line, int k) {
        std::istringstream in(
            line.substr(line.find(':') == std::string::npos ? 0 : line.find(':') + 1));
        std::string word;
        for (int i = 0; i <= k; ++i)
            in >> word;
        return word;
    };
    const std::string node5 = "   5    8"; // its displacements (83.66E-02 across)
    const std::string member15 = "  15  始点:";
    auto zRotation = [&](const std::vector<std::string>& lines) {
        return field(lineOf(lines, node5), 6);
    };
    auto torsion = [&](const std::vector<std::string>& lines) {
        return field(lineOf(lines, member15), 3);
    };
    ASSERT_EQ(zRotation(example), "-15.52E-07");
    ASSERT_EQ(torsion(example), "77.62E-04");

    // With its frame file: the first analysis again, to the report's digits.
    Result r = run({"--reanalyse", "two_storey.adt", "--out", "again"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err,
              "two_storey.adt: 骨組データ two_storey.fdt の断面・ピン・バネで解析します。\n");
    const auto again = linesOf(bytesOf(work / "again.adt"));
    EXPECT_EQ(zRotation(again), "-15.52E-07");
    EXPECT_EQ(torsion(again), "77.62E-04");
    ASSERT_EQ(run({"two_storey.fdt", "--loads", "two_storey.adt", "--out", "direct"}).status, 0);
    const auto direct = linesOf(bytesOf(work / "direct.adt"));
    ASSERT_EQ(again.size(), direct.size());
    for (std::size_t i = 11; i < again.size(); ++i)
        EXPECT_EQ(again[i], direct[i]) << "line " << i + 1;

    // A frame file of the name that is another frame is refused.
    fs::remove(work / "again.adt");
    std::string other = bytesOf(work / "two_storey.fdt");
    other.replace(other.find(utf8ToCp932("     12           600")), 21,
                  utf8ToCp932("     12           601"));
    std::ofstream(work / "two_storey.fdt", std::ios::binary | std::ios::trunc) << other;
    r = run({"--reanalyse", "two_storey.adt", "--out", "again"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "two_storey.fdt: 解析データの骨組と合いません: 節点 12 の座標"))
        << r.err;
    EXPECT_FALSE(fs::exists(work / "again.adt"));

    // Without it: analysed, every assumption named, and torsion differs.
    fs::remove(work / "two_storey.fdt");
    r = run({"--reanalyse", "two_storey.adt", "--out", "again"});
    ASSERT_EQ(r.status, 0) << r.err;
    for (const char* assumed :
         {"がないため、解析データの骨組で解析します", "ねじり定数 J: 全部材で Iy + Iz",
          "せん断用断面積 Ay, Az: 全部材で断面積 A", "部材 x 軸周り（ねじり）のピン: なし",
          "軸方向バネと部材 x 軸周りのバネ: なし"})
        EXPECT_TRUE(contains(r.err, assumed)) << assumed << "\n" << r.err;
    const auto assumed = linesOf(bytesOf(work / "again.adt"));
    EXPECT_EQ(torsion(assumed), "42.41E-01"); // 550 times the first analysis
    EXPECT_EQ(zRotation(assumed), "-10.03E-07");

    // The help says so beside the exit status.
    EXPECT_TRUE(contains(run({"--help"}).out, "ねじり定数 J = Iy + Iz"));
}

TEST_F(Batch, MissingAndMalformedFilesAreRefused) {
    struct Case {
        std::vector<std::string> args;
        std::vector<std::string> messages;
    } cases[] = {
        {{"nothere.fdt", "--loads", fixture("cantilevers_loads.adt")},
         {"nothere.fdt: ファイルを読めませんでした。\n"}},
        {{fixture("cantilevers.fdt"), "--loads", "nothere.adt"},
         {"nothere.adt: 解析データファイルを開けません。\n",
          "nothere.adt: 荷重を読み込みませんでした。\n"}},
        {{"--reanalyse", "nothere.adt"}, {"nothere.adt: 解析データファイルを開けません。\n"}},
        {{fixture("broken.fdt"), "--loads", fixture("cantilevers_loads.adt")},
         {fixture("broken.fdt") + ": ファイルの読込みを中止しました。\n",
          fixture("broken.fdt") + ": broken.fdt の 20 行目: 数値が読めません（3x0）\n"}},
        // Loads numbered for a larger frame.
        {{fixture("cantilevers.fdt"), "--loads", fixture("portal_loads.adt")},
         {fixture("portal_loads.adt") + ": 荷重の読込みを中止しました。\n",
          fixture("portal_loads.adt") + ": 荷重を読み込みませんでした。\n"}},
        // A frame file is not a report.
        {{"--reanalyse", fixture("portal.fdt")},
         {fixture("portal.fdt") + ": 解析データの読込みを中止しました。\n"}},
    };
    for (const Case& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.status, 1) << c.args[0] << "\n" << r.err;
        for (const std::string& message : c.messages)
            EXPECT_TRUE(contains(r.err, message)) << c.args[0] << "\n" << r.err;
        EXPECT_TRUE(filesIn(work).empty()) << c.args[0];
    }

    // A report cut short.
    ASSERT_EQ(run({fixture("cantilevers.fdt"), "--loads", fixture("cantilevers_loads.adt")}).status,
              0);
    const std::string whole = bytesOf(work / "cantilevers.adt");
    std::ofstream(work / "cut.adt", std::ios::binary) << whole.substr(0, whole.size() / 2);
    const Result r = run({"--reanalyse", "cut.adt", "--out", "again"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "cut.adt: 解析データの読込みを中止しました。\n")) << r.err;
    EXPECT_FALSE(fs::exists(work / "again.adt"));
}

TEST_F(Batch, NoLoadIsLeftAfterTheSupportsAreStripped) {
    const Result r = run({fixture("cantilevers.fdt"), "--loads", fixture("support_loads.adt")});
    EXPECT_EQ(r.status, 1);
    const std::string loads = fixture("support_loads.adt");
    EXPECT_EQ(r.err, loads + ": 支持点1 は荷重付加点から除きます。\n" + loads +
                         ": 荷重がありません。解析しません。\n");
    EXPECT_TRUE(filesIn(work).empty());
}

TEST_F(Batch, UnstableFrameIsRefusedWithItsNodeAndDirection) {
    const Result r = run({fixture("unstable.fdt"), "--loads", fixture("unstable_loads.adt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, fixture("unstable.fdt") +
                         ": 骨組が不安定です。節点 2 のX軸周りを支える剛性がありません。\n" +
                         fixture("unstable.fdt") +
                         ": 支持点、ピン接合、部材の配置を確かめてください。\n");
    EXPECT_TRUE(filesIn(work).empty());
}

TEST_F(Batch, UnitSystems) {
    // A frame without springs takes the unit system of its loads: steel in
    // t/cm², loads in t (δ = P·L³/(3EI) = 10·300³/(3·2100·10000)).
    Result r = run({fixture("cantilevers.fdt"), "--loads", fixture("cantilevers_loads_old.adt")});
    ASSERT_EQ(r.status, 0) << r.err;
    auto m = readReport(work / "cantilevers.adt");
    EXPECT_EQ(m->UnitFactor, 1.0f);
    EXPECT_EQ(m->YoungModulus, 2100.0f);
    EXPECT_EQ(m->ShearModulus, 810.0f);
    EXPECT_REL(disp(*m, 2, 1), 4.2857143, 1e-3);
    // ... unless --units says otherwise.
    r = run({fixture("cantilevers.fdt"), "--loads", fixture("cantilevers_loads_old.adt"), "--units",
             "si", "--out", "si"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(contains(r.err, "解析単位と荷重の単位が違います、読込みますか\n")) << r.err;
    EXPECT_TRUE(contains(r.err, ": → はい\n")) << r.err;
    m = readReport(work / "si.adt");
    EXPECT_EQ(m->YoungModulus, 205000.0f);
    EXPECT_REL(disp(*m, 2, 1), 0.43902439, 1e-3);

    // The springs of the portal tie it to SI units: loads of the older units
    // are refused unless the unit system is given, and then taken unconverted.
    r = run({fixture("portal.fdt"), "--loads", fixture("portal_loads_old.adt")});
    EXPECT_EQ(r.status, 1);
    const std::string loads = fixture("portal_loads_old.adt");
    EXPECT_EQ(r.err, loads + ": 解析単位と荷重の単位が違います、読込みますか\n" + loads +
                         ": → いいえ\n" + loads +
                         ": 荷重を読み込みませんでした。単位系の違う荷重は --units "
                         "で解析単位系を指定したときだけ読み込みます。\n");
    EXPECT_FALSE(fs::exists(work / "portal.adt"));

    const fs::path si = root / "si";
    fs::create_directory(si);
    ASSERT_EQ(run({fixture("portal.fdt"), "--loads", fixture("portal_loads.adt")}, si).status, 0);
    r = run({fixture("portal.fdt"), "--loads", fixture("portal_loads_old.adt"), "--units", "si"});
    ASSERT_EQ(r.status, 0) << r.err;
    expectSameReport(bytesOf(si / "portal.adt"), bytesOf(work / "portal.adt"));

    // A frame file of an older version names no unit system: with springs it
    // needs --units.
    std::string unnamed = bytesOf(fixture("portal.fdt"));
    const std::string siWord = utf8ToCp932("SI単位");
    ASSERT_NE(unnamed.find(siWord), std::string::npos);
    unnamed.replace(unnamed.find(siWord), siWord.size(), utf8ToCp932("??単位"));
    std::ofstream(root / "unnamed.fdt", std::ios::binary) << unnamed;
    const std::string frame = (root / "unnamed.fdt").string();
    r = run({frame, "--loads", fixture("portal_loads.adt")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, frame + ": バネデータのある旧データファイルです\n" + frame +
                         ": バネデータの単位系を確認して、解析単位系を選択してください。\n" +
                         frame + ": 解析単位系を --units si か --units old で指定してください。\n");
    EXPECT_FALSE(fs::exists(work / "unnamed.adt"));
    r = run({frame, "--loads", fixture("portal_loads.adt"), "--units", "si", "--out", "portal"});
    ASSERT_EQ(r.status, 0) << r.err;
    expectSameReport(bytesOf(si / "portal.adt"), bytesOf(work / "portal.adt"));

    r = run({fixture("portal.fdt"), "--loads", fixture("portal_loads_old.adt"), "--units", "old",
             "--out", "old"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, fixture("portal.fdt") +
                         ": バネデータはSI単位の骨組です。--units old では解析できません。\n");
    EXPECT_FALSE(fs::exists(work / "old.adt"));
}

TEST_F(Batch, BadOptionsGiveTheUsage) {
    const std::string fdt = fixture("cantilevers.fdt"), adt = fixture("cantilevers_loads.adt");
    const std::vector<std::string> cases[] = {
        {},
        {"--frobnicate"},
        {fdt},
        {fdt, "--loads"},
        {fdt, fdt, "--loads", adt},
        {fdt, "--loads", adt, "--loads", adt},
        {fdt, "--loads", adt, "--material", "wood"},
        {fdt, "--loads", adt, "--material", "steel", "--E", "1", "--G", "1"},
        {fdt, "--loads", adt, "--E", "205000"},
        {fdt, "--loads", adt, "--E", "2e5x", "--G", "79000"},
        {fdt, "--loads", adt, "--E", "0", "--G", "79000"},
        {fdt, "--loads", adt, "--kappa", "-1"},
        {fdt, "--loads", adt, "--kappa", "nan"},
        {fdt, "--loads", adt, "--units", "metric"},
        {fdt, "--loads", adt, "--out", ""},
        {fdt, "--loads", adt, "--out", "../x"},
        {fdt, "--loads", adt, "--out", (root / "abs").string()},
        {fdt, "--loads", adt, "--out", std::string(235, 'n')},
        {"--reanalyse", adt, "--out", "../x"},
        {"--reanalyse", adt, "--kappa", "1"},
        {"--reanalyse", adt, fdt},
        {"--generate-grid", "2", "2"},
        {"--generate-grid", "2", "0", "1", "g"},
        {"--generate-grid", "20", "20", "20", "g"}, // 9261 nodes
        {"--generate-grid", "1", "1", "1", "../g"},
        {"--generate-grid", "1", "1", "1", (root / "g").string()},
    };
    for (const auto& args : cases) {
        const Result r = run(args);
        std::string shown;
        for (const auto& a : args)
            shown += " [" + a + "]";
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.err.rfind("rahmen-batch: ", 0), 0u) << shown << "\n" << r.err;
        EXPECT_TRUE(contains(r.err, "\n使い方:\n  rahmen-batch FRAME.fdt --loads LOADS.adt"))
            << shown;
        EXPECT_EQ(r.out, "") << shown;
        EXPECT_TRUE(filesIn(work).empty()) << shown;
        EXPECT_EQ(filesIn(root), (Names{"stderr", "stdout", "work"})) << shown;
    }

    const Result help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_EQ(help.out.rfind("使い方:\n", 0), 0u);
    EXPECT_TRUE(contains(help.out, "--reanalyse REPORT.adt"));
    EXPECT_TRUE(contains(help.out, "--generate-grid BX BY STOREYS NAME"));
}

TEST_F(Batch, GeneratedGridIsAnalysedInEquilibrium) {
    // 2 × 3 bays, 2 storeys: 36 nodes, 24 columns and 34 beams.
    Result r = run({"--generate-grid", "2", "3", "2", "grid"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(filesIn(work), (Names{"grid.fdt", "grid_loads.adt"}));
    r = run({"grid.fdt", "--loads", "grid_loads.adt", "--kappa", "1", "--timings"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.rfind("nodes 36\nmembers 58\nread-frame-ms ", 0), 0u) << r.out;
    EXPECT_TRUE(contains(r.out, "\nanalysis-ms ")) << r.out;

    const auto lines = linesOf(bytesOf(work / "grid.adt"));
    EXPECT_TRUE(contains(lines[12], " 節点数: 36 ")) << lines[12];
    EXPECT_TRUE(contains(lines[12], "支持点数: 12 ")) << lines[12];
    EXPECT_TRUE(contains(lines[12], "荷重点数: 24 ")) << lines[12];
    EXPECT_TRUE(contains(lines[12], "等分布荷重材数: 34 ")) << lines[12];
    // The supports carry 24 × 10 kN in X, 24 × 5 kN in Y and 34 beams of 6 m
    // at 20 kN/m down.
    double sum[3] = {};
    for (int n = 1; n <= 12; ++n) {
        const auto v = reactionLine(lines, n);
        ASSERT_EQ(v.size(), 6u) << n;
        for (int k = 0; k < 3; ++k)
            sum[k] += v[k];
    }
    EXPECT_NEAR(sum[0], -240.0, 0.2);
    EXPECT_NEAR(sum[1], -120.0, 0.2);
    EXPECT_NEAR(sum[2], 4080.0, 2.0);
}

TEST_F(Batch, ShuffledGridGivesTheSameDisplacementsAtTheSameNodes) {
    ASSERT_EQ(run({"--generate-grid", "2", "3", "2", "grid"}).status, 0);
    Result r = run({"--generate-grid", "2", "3", "2", "mixed", "--shuffle-nodes", "5"});
    ASSERT_EQ(r.status, 0) << r.err;
    ASSERT_EQ(run({"grid.fdt", "--loads", "grid_loads.adt"}).status, 0);
    ASSERT_EQ(run({"mixed.fdt", "--loads", "mixed_loads.adt"}).status, 0);
    const auto a = readReport(work / "grid.adt");
    const auto b = readReport(work / "mixed.adt");
    ASSERT_EQ(b->NodeCount, 36);
    int moved = 0;
    for (int n = 1; n <= 36; ++n) {
        int p = 1;
        while (p <= 36 && (b->NodeX[p] != a->NodeX[n] || b->NodeY[p] != a->NodeY[n] ||
                           b->NodeZ[p] != a->NodeZ[n]))
            ++p;
        ASSERT_LE(p, 36) << n;
        moved += p != n;
        for (int k = 1; k <= 6; ++k)
            EXPECT_NEAR(disp(*b, p, k), disp(*a, n, k), 1e-3 * std::abs(disp(*a, n, k)) + 1e-12)
                << n << " " << k;
    }
    EXPECT_GT(moved, 30);

    r = run({"grid.fdt", "--loads", "grid_loads.adt", "--shuffle-nodes", "5"});
    EXPECT_EQ(r.status, 2);
}

TEST_F(Batch, TheManPageListsEveryOptionOfTheHelp) {
    std::string page = bytesOf(RAHMEN_MAN_PAGE);
    for (std::size_t at; (at = page.find("\\-")) != std::string::npos;)
        page.replace(at, 2, "-");
    const std::string help = run({"--help"}).out;
    int options = 0;
    for (std::size_t at = 0; (at = help.find("--", at)) != std::string::npos;) {
        const std::size_t end = help.find_first_of(" \n,]|", at);
        const std::string option = help.substr(at, end - at);
        EXPECT_TRUE(contains(page, option)) << option;
        ++options;
        at = end;
    }
    EXPECT_GE(options, 12);
}

namespace {

// Two cases of the portal frame, in the load form's units: a dead load
// (vertical nodal loads, a nodal moment, uniform loads) and a seismic load in
// X; none on supports.
LoadCaseSet portalCases() {
    LoadCaseSet set;
    LoadCase g{"G", LoadKind::Dead, LoadDirection::None, {}, {}};
    g.nodeLoads.push_back({5, {0, 0, -30}, {0, 0, 0}});
    g.nodeLoads.push_back({7, {0, 0, -25}, {0, 0, 2.5f}});
    g.memberLoads.push_back({6, 0, -12});
    g.memberLoads.push_back({5, 1.5f, -8});
    LoadCase kx{"KX", LoadKind::Seismic, LoadDirection::X, {}, {}};
    kx.nodeLoads.push_back({5, {20, 0, 0}, {0, 0, 0}});
    kx.nodeLoads.push_back({6, {15, 0, 0}, {0, 1.25f, 0}});
    set.cases = {g, kx};
    return set;
}

// The loads of a case as an analysis data file of the portal frame (SI).
std::string caseLoadsFile(const LoadCase& c) {
    auto m = std::make_unique<Model>();
    ItemReader frame(bytesOf(kFixtures + "portal.fdt"), "portal.fdt");
    readFrameFile(*m, frame);
    m->UnitFactor = kSiUnitFactor;
    m->DataName = c.label;
    addCaseLoads(*m, c, 1.0);
    return analysisReport(*m, {}, {2026, 12, 8, 10, 20, 30});
}

} // namespace

TEST_F(Batch, LoadCaseOptionsAreCheckedBeforeAnyFileIsRead) {
    const std::string fdt = fixture("portal.fdt"), adt = fixture("portal_loads.adt");
    // The longest data name: with "_G" after it, it is none.
    std::string longest = "n";
    while (dataNameProblem(longest + "n").empty())
        longest += "n";
    const struct {
        std::vector<std::string> args;
        std::string named; // the option the message names
    } cases[] = {
        {{fdt, "--case", "A=" + adt}, "--case A="},         // no kind
        {{fdt, "--case", "K=" + adt}, "--case K="},         // seismic without direction
        {{fdt, "--case", "WZ=" + adt}, "--case WZ="},       // no such direction
        {{fdt, "--case", "g=" + adt}, "--case g="},         // kinds are capitals
        {{fdt, "--case", "G_1234567=" + adt}, "--case G_"}, // nine characters
        {{fdt, "--case", "G"}, "--case は LABEL=LOADS.adt"},
        {{fdt, "--case", "G="}, "--case は LABEL=LOADS.adt"},
        {{fdt, "--case", "G=" + adt, "--case", "G=" + adt}, "--case G が二度"},
        {{fdt, "--case", "G=" + adt, "--combo", "S1=G+KX"}, "--combo S1=G+KX"},
        {{fdt, "--case", "G=" + adt, "--combo", "S1=G+"}, "--combo S1=G+"},
        {{fdt, "--case", "G=" + adt, "--combo", "G=G"}, "--combo G=G"},
        {{fdt, "--case", "G=" + adt, "--combo", "1L=G"}, "--combo 1L=G"},
        {{fdt, "--case", "G=" + adt, "--combo", "L1"}, "--combo は LABEL=EXPR"},
        {{fdt, "--case", "G=" + adt, "--term", "L1=long"}, "--term L1=long"},
        {{fdt, "--case", "G=" + adt, "--combo", "L1=G", "--term", "L1=medium"}, "--term は"},
        {{fdt, "--combo", "L1=G"}, "--combo と --term には --case で"},
        {{fdt, "--cases", "x.lcd", "--case", "G=" + adt}, "--cases"},
        {{fdt, "--cases", "x.lcd", "--combo", "L1=G"}, "--cases"},
        {{fdt, "--loads", adt, "--case", "G=" + adt}, "--loads と荷重ケース"},
        {{"--reanalyse", adt, "--case", "G=" + adt}, "--reanalyse"},
        {{fdt, "--case", "G=" + adt, "--out", longest}, "--out " + longest + "_G: "},
    };
    for (const auto& c : cases) {
        const Result r = run(c.args);
        std::string shown;
        for (const auto& a : c.args)
            shown += " [" + a + "]";
        EXPECT_EQ(r.status, 2) << shown;
        EXPECT_EQ(r.err.rfind("rahmen-batch: " + c.named, 0), 0u) << shown << "\n" << r.err;
        EXPECT_TRUE(contains(r.err, "\n使い方:\n")) << shown;
        EXPECT_TRUE(filesIn(work).empty()) << shown;
    }
    // The message says how cases are named.
    EXPECT_TRUE(contains(run({fdt, "--case", "A=" + adt}).err, "KX"));
}

TEST_F(Batch, EveryCaseAndCombinationWritesTheReportOfItsOwnLoads) {
    const LoadCaseSet cases = portalCases();
    const fs::path in = root / "in";
    fs::create_directory(in);
    for (const LoadCase& c : cases.cases)
        std::ofstream(in / (c.label + ".adt"), std::ios::binary) << caseLoadsFile(c);
    const std::string fdt = fixture("portal.fdt");
    const std::string g = (in / "G.adt").string(), kx = (in / "KX.adt").string();

    const Result r = run({fdt, "--case", "G=" + g, "--case", "KX=" + kx, "--combo", "L1=G",
                          "--combo", "S1=G+KX", "--combo", "S2=G-0.5KX", "--term", "S2=long",
                          "--material", "concrete", "--kappa", "1.2", "--out", "p"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(r.out, "");
    const Names reports{"p_ENV.csv", "p_G.adt", "p_KX.adt", "p_L1.adt", "p_S1.adt", "p_S2.adt"};
    ASSERT_EQ(filesIn(work), reports);
    EXPECT_EQ(bytesOf(work / "p_ENV.csv").rfind("\xEF\xBB\xBF", 0), 0u);

    // A case's report is the report of the same loads given with --loads.
    const fs::path single = root / "single";
    fs::create_directory(single);
    for (const std::string label : {"G", "KX"}) {
        const Result one = run({fdt, "--loads", (in / (label + ".adt")).string(), "--material",
                                "concrete", "--kappa", "1.2", "--out", "p_" + label},
                               single);
        ASSERT_EQ(one.status, 0) << one.err;
        expectSameReport(bytesOf(single / ("p_" + label + ".adt")),
                         bytesOf(work / ("p_" + label + ".adt")));
    }
    // A combination of one case at factor 1 reports that case, under its own name.
    auto l1 = linesOf(bytesOf(work / "p_L1.adt")), g1 = linesOf(bytesOf(work / "p_G.adt"));
    ASSERT_EQ(l1.size(), g1.size());
    for (std::size_t i = 0; i < l1.size(); ++i) {
        if (i == static_cast<std::size_t>(kDateLine)) continue;
        EXPECT_EQ(l1[i],
                  contains(g1[i], "p_G") ? g1[i].replace(g1[i].find("p_G"), 3, "p_L1") : g1[i])
            << "line " << i + 1;
    }

    // The same cases and combinations from a load-case file give the same files.
    LoadCaseSet set = cases;
    std::vector<CombinationTerm> terms;
    for (const auto& [label, expression, term] :
         {std::tuple{"L1", "G", LoadTerm::Long}, std::tuple{"S1", "G+KX", LoadTerm::Short},
          std::tuple{"S2", "G-0.5KX", LoadTerm::Long}}) {
        ASSERT_EQ(parseCombination(expression, set.cases, terms), "");
        set.combinations.push_back({label, term, terms});
    }
    std::ofstream(in / "p.lcd", std::ios::binary) << loadCaseFileBytes(set);
    const fs::path fromFile = root / "lcd";
    fs::create_directory(fromFile);
    const Result lcd = run({fdt, "--cases", (in / "p.lcd").string(), "--material", "concrete",
                            "--kappa", "1.2", "--out", "p"},
                           fromFile);
    ASSERT_EQ(lcd.status, 0) << lcd.err;
    EXPECT_EQ(lcd.err, "");
    ASSERT_EQ(filesIn(fromFile), reports);
    for (const std::string& name : reports)
        if (name == "p_ENV.csv")
            EXPECT_EQ(bytesOf(fromFile / name), bytesOf(work / name));
        else
            expectSameReport(bytesOf(work / name), bytesOf(fromFile / name));
}

TEST_F(Batch, ALoadCaseRunIsRefusedOnceAndNamesTheFile) {
    const std::string loads = fixture("unstable_loads.adt");
    Result r = run({fixture("unstable.fdt"), "--case", "G=" + loads, "--case", "P=" + loads,
                    "--combo", "L1=G+P"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, fixture("unstable.fdt") +
                         ": 骨組が不安定です。節点 2 のX軸周りを支える剛性がありません。\n" +
                         fixture("unstable.fdt") +
                         ": 支持点、ピン接合、部材の配置を確かめてください。\n");
    EXPECT_TRUE(filesIn(work).empty());

    r = run({fixture("portal.fdt"), "--case", "G=" + fixture("portal_loads.adt"), "--case",
             "KX=nothere.adt"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "nothere.adt: 荷重を読み込みませんでした。\n")) << r.err;
    EXPECT_TRUE(filesIn(work).empty());

    std::ofstream(work / "bad.lcd", std::ios::binary) << "荷重ケースと組合せ\r\n";
    r = run({fixture("portal.fdt"), "--cases", "bad.lcd"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("bad.lcd: 荷重ケースファイルを読めませんでした。\n", 0), 0u) << r.err;
    EXPECT_EQ(filesIn(work), Names{"bad.lcd"});

    // A report that cannot be written (a folder stands at its name) is named
    // with its reason; the others are written.
    fs::create_directory(work / "out_KX.adt");
    r = run({fixture("portal.fdt"), "--case", "G=" + fixture("portal_loads.adt"), "--case",
             "KX=" + fixture("portal_loads.adt"), "--combo", "S1=G+KX", "--out", "out"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(
        contains(r.err, "out_KX.adt: 解析データファイル out_KX.adt を作成できませんでした。"))
        << r.err;
    EXPECT_TRUE(fs::is_regular_file(work / "out_G.adt"));
    EXPECT_TRUE(fs::is_regular_file(work / "out_S1.adt"));
}

TEST_F(Batch, PdfWithoutItsRendererIsRefusedAfterTheReportsAreWritten) {
    // The renderer's module, in place of the one the command would find: a
    // missing file, a file that is no shared module, and a shared library
    // without the renderer's entry (the C++ library this test runs with).
    std::ofstream(root / "text.so") << "not a module\n";
    std::string library;
    {
        std::ifstream maps("/proc/self/maps");
        for (std::string line; library.empty() && std::getline(maps, line);)
            if (const auto at = line.find('/');
                at != std::string::npos && contains(line.substr(at), "/libstdc++.so"))
                library = line.substr(at);
    }
    ASSERT_FALSE(library.empty());
    const struct {
        fs::path module;
        std::vector<std::string> reasons;
    } rows[] = {
        {root / "missing.so",
         {"rahmen-batch-pdf.so が見つかりません（探した場所: " + (root / "missing.so").string() +
          "）。"}},
        {root / "text.so", {(root / "text.so").string() + " を読み込めませんでした。\n"}},
        {library, {library + " を読み込めませんでした。\n", "undefined symbol: rahmen_batch_pdf"}},
    };
    for (const auto& row : rows) {
        fs::remove_all(work);
        fs::create_directory(work);
        const Result r = run({fixture("portal.fdt"), "--case", "G=" + fixture("portal_loads.adt"),
                              "--pdf", "--out", "p"},
                             work, {"RAHMEN_BATCH_PDF_MODULE=" + row.module.string()});
        EXPECT_EQ(r.status, 1) << row.module;
        EXPECT_EQ(r.err.rfind("p.pdf: PDF 出力は使えません: 計算書を PDF にする部品 ", 0), 0u)
            << r.err;
        for (const std::string& reason : row.reasons)
            EXPECT_TRUE(contains(r.err, reason)) << r.err;
        EXPECT_EQ(filesIn(work), (Names{"p_ENV.csv", "p_G.adt"})) << row.module;
    }
}

namespace {

std::vector<std::string> csvFields(const std::string& line) {
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t at; (at = line.find(',', start)) != std::string::npos; start = at + 1)
        fields.push_back(line.substr(start, at - start));
    fields.push_back(line.substr(start));
    return fields;
}

} // namespace

TEST_F(Batch, AGridWithSeismicCasesGetsItsStoreyTableConsistentWithTheReports) {
    // A grid of 2 × 1 bays and 3 storeys; cases G (20 kN/m down on every
    // beam), KX and KY (10 kN at every floor node) and the code's combinations.
    ASSERT_EQ(run({"--generate-grid", "2", "1", "3", "grid"}).status, 0);
    auto frame = std::make_unique<Model>();
    ItemReader reader(bytesOf(work / "grid.fdt"), "grid.fdt");
    readFrameFile(*frame, reader);
    LoadCaseSet set;
    set.cases = {{"G", LoadKind::Dead, LoadDirection::None, {}, {}},
                 {"KX", LoadKind::Seismic, LoadDirection::X, {}, {}},
                 {"KY", LoadKind::Seismic, LoadDirection::Y, {}, {}}};
    for (int e = 1; e <= frame->MemberCount; ++e)
        if (frame->NodeZ[frame->MemberStartNode[e]] == frame->NodeZ[frame->MemberEndNode[e]])
            set.cases[0].memberLoads.push_back({e, 0, -20});
    for (int n = 1; n <= frame->NodeCount; ++n)
        if (frame->NodeZ[n] > 0) {
            set.cases[1].nodeLoads.push_back({n, {10, 0, 0}, {0, 0, 0}});
            set.cases[2].nodeLoads.push_back({n, {0, 10, 0}, {0, 0, 0}});
        }
    set.combinations = codeCombinations(set.cases, false);
    ASSERT_EQ(set.combinations.size(), 5u); // L1 = G, S1..S4 = G ± KX, G ± KY
    std::ofstream(work / "grid.lcd", std::ios::binary) << loadCaseFileBytes(set);

    const Result r = run({"grid.fdt", "--cases", "grid.lcd", "--storeys", "--out", "g"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.err, "");
    const std::string csv = bytesOf(work / "g_STY.csv");
    ASSERT_EQ(csv.rfind("\xEF\xBB\xBF層,方向,荷重,", 0), 0u);
    std::vector<std::string> rows;
    for (std::size_t at = 0, next; (next = csv.find("\r\n", at)) != std::string::npos;
         at = next + 2)
        rows.push_back(csv.substr(at, next - at));
    ASSERT_EQ(rows.size(), 7u); // the heading, 3 storeys × 2 directions

    // The drifts from the reports of KX and KY: per storey the largest and the
    // mean of the columns' drifts (nodes of the same plan position on two floors).
    for (int d = 0; d < 2; ++d) {
        const auto report = readReport(work / (d ? "g_KY.adt" : "g_KX.adt"));
        double rsSum = 0, rs[3];
        for (int k = 1; k <= 3; ++k) {
            double largest = 0, sum = 0;
            int columns = 0;
            for (int a = 1; a <= report->NodeCount; ++a)
                for (int b = 1; b <= report->NodeCount; ++b)
                    if (report->NodeZ[a] == 350.0f * (k - 1) && report->NodeZ[b] == 350.0f * k &&
                        report->NodeX[a] == report->NodeX[b] &&
                        report->NodeY[a] == report->NodeY[b]) {
                        const double drift = disp(*report, b, d + 1) - disp(*report, a, d + 1);
                        largest = std::max(largest, std::abs(drift));
                        sum += drift;
                        ++columns;
                    }
            ASSERT_EQ(columns, 6);
            const auto f = csvFields(rows[std::size_t(3 * d + k)]);
            ASSERT_EQ(f.size(), 20u) << rows[std::size_t(3 * d + k)];
            EXPECT_EQ(f[0], std::to_string(k));
            EXPECT_EQ(f[1], d ? "Y" : "X");
            EXPECT_EQ(f[2], d ? "KY" : "KX");
            EXPECT_EQ(f[3], "350");
            EXPECT_REL(std::stod(f[4]), sum / 6, 2e-3);
            EXPECT_REL(std::stod(f[5]), largest / 350, 2e-3);
            rs[k - 1] = 350 / (sum / 6);
            rsSum += rs[k - 1];
        }
        for (int k = 1; k <= 3; ++k) {
            const auto f = csvFields(rows[std::size_t(3 * d + k)]);
            EXPECT_REL(std::stod(f[9]), rs[k - 1] / (rsSum / 3), 2e-3);
            // A symmetric plan: no eccentricity.
            EXPECT_LT(std::stod(f[17]), 1e-3);
        }
    }
    // Drifts of about 1/2000, Rs of 0.8 and more, no eccentricity: all pass.
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_EQ(csvFields(rows[i])[18], "OK") << rows[i];
    const auto text = linesOf(bytesOf(work / "g.sty"));
    ASSERT_GT(text.size(), 10u);
    EXPECT_TRUE(contains(text[1], "層間変形角・剛性率・偏心率リスト")) << text[1];

    // Nothing to check: the reports are written, the storeys refused with the reason.
    set.cases.resize(1);
    set.combinations = codeCombinations(set.cases, false);
    std::ofstream(work / "dead.lcd", std::ios::binary) << loadCaseFileBytes(set);
    const Result dead = run({"grid.fdt", "--cases", "dead.lcd", "--storeys", "--out", "d"});
    EXPECT_EQ(dead.status, 1);
    EXPECT_EQ(dead.err,
              "grid.fdt: 地震荷重のケース（KX, KY など）がないため、層の検定ができません。\n");
    EXPECT_FALSE(fs::exists(work / "d_STY.csv"));
    EXPECT_TRUE(fs::exists(work / "d_L1.adt"));
    EXPECT_EQ(run({"grid.fdt", "--loads", "grid_loads.adt", "--storeys"}).status, 2);
}

TEST_F(Batch, CheckWritesTheRatiosOfEveryMemberAndCombination) {
    // The benchmark grid (2 × 1 bays, one storey) with table sections: columns
    // □-300x300x12.0, beams H-200x100x5.5x8 (too small for 20 kN/m over 6 m).
    auto m = gridFrame(2, 1, 1);
    DAT_READ(*m);
    m->DataName = "steel";
    storeSteelSection(
        *m, 1, *SteelSectionProperties(*m, kSectionSquarePipe, 50, SquarePipeShear::HalfArea));
    storeSteelSection(*m, 2,
                      *SteelSectionProperties(*m, kSectionHShape, 10, SquarePipeShear::HalfArea));
    for (int k = 1; k <= m->MemberCount; ++k)
        m->copyTypeToMember(k, m->MemberTypeNo[k]);
    {
        std::ofstream out(work / "steel.fdt", std::ios::binary);
        out << frameFileBytes(*m, {2026, 1, 2, 3, 4, 5});
    }
    ASSERT_EQ(run({"--generate-grid", "2", "1", "1", "g"}).status, 0);
    const std::vector<std::string> cases = {"steel.fdt", "--case", "G=g_loads.adt",
                                            "--combo",   "L1=G",   "--check"};
    auto ratios = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = cases;
        args.insert(args.end(), extra.begin(), extra.end());
        const Result r = run(args);
        EXPECT_EQ(r.status, 0) << r.err;
        std::map<std::string, std::string> verdict; // member → ratio + 判定
        std::istringstream in(bytesOf(work / "steel_CHK.csv"));
        std::string line;
        std::getline(in, line);
        EXPECT_TRUE(contains(line, "部材,組合せ,期間,断面,鋼種,F(N/mm²),検定比,判定")) << line;
        while (std::getline(in, line)) {
            std::vector<std::string> cells;
            std::istringstream fields(line);
            for (std::string cell; std::getline(fields, cell, ',');)
                cells.push_back(cell);
            verdict[cells[0]] = cells[6] + " " + cells[7] + " " + cells[3];
        }
        return verdict;
    };
    std::map<std::string, std::string> plain = ratios({});
    ASSERT_EQ(plain.size(), static_cast<std::size_t>(m->MemberCount));
    EXPECT_TRUE(contains(plain["1"], " OK □-300x300x12.0")) << plain["1"];
    EXPECT_TRUE(contains(plain["7"], " NG Ｈ-200x100x5.5x 8")) << plain["7"];
    const std::string report = cp932ToUtf8(bytesOf(work / "steel.chk"));
    EXPECT_TRUE(contains(report, "NG の部材数:  7 ")) << report;

    // Braces at 1 m and a longer column: the beam's ratio falls, the column's rises.
    const std::map<std::string, std::string> braced = ratios({"--lb", "7=100", "--lk", "1=2,2"});
    EXPECT_LT(std::stod(braced.at("7")), std::stod(plain["7"]));
    EXPECT_GT(std::stod(braced.at("1")), std::stod(plain["1"]));

    // Conditions beyond the frame, or without --check.
    Result r = run({"steel.fdt", "--case", "G=g_loads.adt", "--combo", "L1=G", "--check", "--grade",
                    "3=SS400"});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(contains(r.err, "--grade 3: 部材タイプは 1 から 2 までです。")) << r.err;
    r = run({"steel.fdt", "--case", "G=g_loads.adt", "--lb", "1=100"});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(contains(r.err, "--grade, --lb, --lk は --check と使います。")) << r.err;

    // The benchmark grid's own sections are typed numbers: nothing checked, and why.
    r = run({"g.fdt", "--case", "G=g_loads.adt", "--combo", "L1=G", "--check"});
    EXPECT_EQ(r.status, 0);
    EXPECT_TRUE(contains(r.err, "g_CHK.csv: 検定できる部材がありません。")) << r.err;
    EXPECT_TRUE(contains(bytesOf(work / "g_CHK.csv"),
                         ",検定外,,,,,,,,,,,,,,,,,,,部材タイプ 1 は断面表の断面ではありません"));
}
