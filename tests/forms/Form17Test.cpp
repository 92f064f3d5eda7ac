#include "LoadFormTesting.h"

#include "checks/StoreyCheck.h"
#include "forms/Form10.h"
#include "forms/Form17.h"
#include "model/LoadCases.h"
#include "platform/Sjis.h"

namespace rahmen::testing {
namespace {

class LoadCaseForm : public LoadFormsTest {
protected:
    LoadCaseForm() {
        twoBayFrame();
        menu.enableOnly({"BUTTON3", "BUTTON35", "BUTTON93", "BUTTON94"});
    }

    Form17& open() { return *dynamic_cast<Form17*>(p->openForm("FORM17")); }

    void addCase(Form17& f, const std::string& label, int kind, int direction = 0) {
        f.typeText("EDIT171", label);
        f.choose("COMBO171", kind);
        if (direction >= 0 && f.c("COMBO172").enabled) f.choose("COMBO172", direction);
        f.click("BUTTON171");
    }
    void addCombination(Form17& f, const std::string& label, const std::string& expression) {
        f.typeText("EDIT172", label);
        f.typeText("EDIT173", expression);
        f.click("BUTTON176");
    }
    std::string lastMessage() const {
        const auto all = messages();
        return all.empty() ? "" : all.back();
    }
};

TEST_F(LoadCaseForm, RefusesBadLabelsDuplicatesAndBadExpressionsWithAMessage) {
    Form17& f = open();
    addCase(f, "G", 0);
    addCase(f, "KX", 4, 0);
    ASSERT_EQ(p->loadCases.cases.size(), 2u);
    EXPECT_EQ(p->loadCases.cases[1].direction, LoadDirection::X);
    addCombination(f, "S1", "G+KX");
    ASSERT_EQ(p->loadCases.combinations.size(), 1u);
    EXPECT_EQ(p->loadCases.combinations[0].term, LoadTerm::Short); // K makes it short-term
    const struct {
        bool combination;
        const char* label;
        const char* expression;
        const char* message; // the start of the message
    } rows[] = {
        {false, "1G", "", "ラベルは英字で始めてください。"},
        {false, "G-2", "", "ラベルに使えない文字があります。"},
        {false, "LONGLABEL", "", "ラベルが長すぎます。"},
        {false, "G", "", "ラベル G は、ほかの荷重ケースか組合せに使われています。"},
        {false, "S1", "", "ラベル S1 は、ほかの荷重ケースか組合せに使われています。"},
        {true, "KX", "G", "ラベル KX は、ほかの荷重ケースか組合せに使われています。"},
        {true, "S2", "G+Q", "荷重ケース Q はありません。"},
        {true, "S2", "G KX", "組合せ式の 1 項目（G KX）が読めません。"},
        {true, "S2", "", "組合せ式が入力されていません。"},
    };
    for (const auto& row : rows) {
        if (row.combination)
            addCombination(f, row.label, row.expression);
        else
            addCase(f, row.label, 0);
        EXPECT_EQ(lastMessage().rfind(row.message, 0), 0u)
            << row.label << " " << row.expression << ": " << lastMessage();
    }
    EXPECT_EQ(p->loadCases.cases.size(), 2u);
    EXPECT_EQ(p->loadCases.combinations.size(), 1u);
    EXPECT_NE(lastMessage().find("例: G+P-KX"), std::string::npos);
    // A case used by a combination is not deleted.
    f.choose("LIST171", 1);
    f.click("BUTTON173");
    EXPECT_EQ(lastMessage().rfind("荷重ケース KX は組合せ S1 に使われています。", 0), 0u);
    EXPECT_EQ(p->loadCases.cases.size(), 2u);
}

TEST_F(LoadCaseForm, ACaseTakesTheLoadFormsRowsAndTheFramesOwnLoadsStay) {
    m().NodeLoad[6 * 5 - 5] = 7; // the frame's own load at node 5
    m().NodeLoadFlag[5] = 1;
    m().LoadedNodeCount = 1;
    Form17& f = open();
    addCase(f, "G", 0);
    f.choose("LIST171", 0);
    f.click("BUTTON174");
    Form10& loads = *dynamic_cast<Form10*>(p->form("FORM10"));
    ASSERT_TRUE(loads.isOpen());
    EXPECT_EQ(loads.c("BUTTON31").caption, "ケースに設定");
    loads.click("RADIO45");
    for (auto [j, text] : {std::pair{0, "4"}, {3, "-30"}, {5, "2.5"}})
        loads.typeText(Form10::nodeBox(0, j), text);
    loads.click("BUTTON30"); // the page stored, as in the load form
    loads.click("RADIO68");
    for (auto [j, text] : {std::pair{0, "7"}, {2, "-12"}})
        loads.typeText(Form10::memberBox(0, j), text);
    loads.click("BUTTON31");
    EXPECT_FALSE(loads.isOpen());
    const LoadCase& g = p->loadCases.cases[0];
    ASSERT_EQ(g.nodeLoads.size(), 1u);
    EXPECT_EQ(g.nodeLoads[0].node, 4);
    EXPECT_FLOAT_EQ(g.nodeLoads[0].force[2], -30);
    EXPECT_FLOAT_EQ(g.nodeLoads[0].moment[1], 2.5f); // kN·m as typed
    ASSERT_EQ(g.memberLoads.size(), 1u);
    EXPECT_FLOAT_EQ(g.memberLoads[0].wz, -12);
    EXPECT_EQ(f.c("LIST171").items[0], "G        固定  節点荷重 1  部材荷重 1");
    // The frame's own loads as they were; nothing analysed.
    EXPECT_FLOAT_EQ(m().NodeLoad[6 * 5 - 5], 7);
    EXPECT_EQ(m().NodeLoadFlag[4], 0);
    EXPECT_EQ(m().MemberLoadFlag[7], 0);
    EXPECT_EQ(m().AnalysisDone, 0);
}

TEST_F(LoadCaseForm, AnalysesEveryCaseWritesTheReportsAndKeepsTheResults) {
    Form17& f = open();
    addCase(f, "G", 0);
    addCase(f, "KX", 4, 0);
    p->loadCases.cases[0].memberLoads = {{7, 0, -20}, {8, 0, -20}};
    CaseNodeLoad h;
    h.node = 7;
    h.force[0] = 10;
    p->loadCases.cases[1].nodeLoads = {h};
    f.click("BUTTON179"); // the code's combinations
    ASSERT_EQ(f.c("LIST172").items.size(), 3u);
    f.click("BUTTON180"); // DataName.lcd
    EXPECT_TRUE(p->io.files.exists("frame1.lcd"));

    f.click("BUTTON182");
    Form* conditions = p->form("FORM9");
    ASSERT_TRUE(conditions && conditions->isOpen());
    conditions->click("RADIO1");
    conditions->click("RADIO29");
    conditions->click("BUTTON37");
    EXPECT_FALSE(f.isOpen());
    for (const char* file : {"frame1_G.adt", "frame1_KX.adt", "frame1_L1.adt", "frame1_S1.adt",
                             "frame1_S2.adt", "frame1_ENV.csv", "frame1_CHK.csv", "frame1.chk"})
        EXPECT_TRUE(p->io.files.exists(file)) << file;
    ASSERT_EQ(p->caseResults.size(), 5u);
    EXPECT_FALSE(p->caseResults[1].combination);
    EXPECT_TRUE(p->caseResults[4].combination);
    EXPECT_EQ(p->caseResults[4].term, LoadTerm::Short);
    EXPECT_EQ(p->caseResults[2].term, LoadTerm::Long);
    EXPECT_EQ(m().DataName, "frame1");
    EXPECT_TRUE(menu.c("BUTTON4").enabled);
    EXPECT_TRUE(menu.c("BUTTON88").enabled);
    EXPECT_FALSE(menu.c("BUTTON3").enabled);
    EXPECT_FALSE(menu.c("BUTTON94").enabled); // follows BUTTON3
    // The frame's one type is typed as numbers: no member is checked, and
    // the checks say so once.
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_EQ(messages()[0].rfind("検定できる部材がありません。", 0), 0u) << messages()[0];
}

TEST_F(LoadCaseForm, ARefusedFrameIsRefusedOnceAndTheMenuStays) {
    for (int n = 1; n <= 3; ++n)
        m().NodeIsSupport[n] = 0;
    m().SupportCount = 0;
    Form17& f = open();
    addCase(f, "G", 0);
    addCase(f, "P", 1);
    p->loadCases.cases[0].memberLoads = {{7, 0, -20}};
    p->loadCases.cases[1].memberLoads = {{8, 0, -5}};
    f.click("BUTTON182");
    Form* conditions = p->form("FORM9");
    conditions->click("RADIO1");
    conditions->click("RADIO29");
    conditions->click("BUTTON37");
    ASSERT_EQ(messages().size(), 1u);
    EXPECT_TRUE(p->caseResults.empty());
    EXPECT_TRUE(menu.c("BUTTON3").enabled);
    EXPECT_FALSE(menu.c("BUTTON4").enabled);
    EXPECT_FALSE(p->io.files.exists("frame1_G.adt"));
}

TEST_F(LoadCaseForm, SeismicCasesWriteTheStoreyFilesWhichAreAskedAboutAsTheReportsAre) {
    p->loadCases.cases = {{"G", LoadKind::Dead, LoadDirection::None, {}, {{7, 0, -20}}},
                          {"KX", LoadKind::Seismic, LoadDirection::X, {}, {}}};
    CaseNodeLoad h;
    h.node = 7;
    h.force[0] = 10;
    p->loadCases.cases[1].nodeLoads = {h};
    p->loadCases.combinations = codeCombinations(p->loadCases.cases, false);
    // An existing storey file is an existing report while the cases would
    // write it again; "いいえ" keeps the name.
    const struct {
        const char* file;
        LoadKind kind;
        bool asked;
    } rows[] = {{"frame1_STY.csv", LoadKind::Seismic, true},
                {"frame1.sty", LoadKind::Seismic, true},
                {"frame1.sty", LoadKind::Wind, false},
                {"frame1_STY.txt", LoadKind::Seismic, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file);
        p->loadCases.cases[1].kind = row.kind;
        ASSERT_TRUE(p->io.files.writeAtomic(row.file, "x"));
        platform.dialogs.clearLog();
        if (row.asked) platform.dialogs.queueMessage(MessageResult::No);
        EXPECT_EQ(caseReportName(*p), std::optional<std::string>("frame1"));
        EXPECT_EQ(messages().size(), row.asked ? 1u : 0u);
        ASSERT_TRUE(p->io.files.remove(row.file));
    }
    // The frame's type is typed as numbers, so the member checks say once
    // that nothing was checked; the storey checks add no message of theirs.
    auto noStoreyMessage = [&] {
        const auto all = messages();
        return all.size() <= 1 &&
               (all.empty() || all[0].rfind("検定できる部材がありません。", 0) == 0);
    };
    // Wind only: no storey files and not a word about them.
    p->loadCases.cases[1].kind = LoadKind::Wind;
    platform.dialogs.clearLog();
    ASSERT_TRUE(analyseAllCases(*p, "frame1"));
    EXPECT_TRUE(p->io.files.exists("frame1_KX.adt"));
    EXPECT_FALSE(p->io.files.exists("frame1_STY.csv"));
    EXPECT_FALSE(p->io.files.exists("frame1.sty"));
    EXPECT_TRUE(noStoreyMessage());
    // Seismic: two storeys in X, the CSV and the report text in CP932.
    p->loadCases.cases[1].kind = LoadKind::Seismic;
    platform.dialogs.clearLog();
    ASSERT_TRUE(analyseAllCases(*p, "frame1"));
    const auto csv = p->io.files.read("frame1_STY.csv");
    ASSERT_TRUE(csv);
    EXPECT_EQ(csv.bytes, storeyCsv(checkStoreys(m(), p->loadCases, p->caseResults)));
    std::size_t lines = 0;
    for (char ch : csv.bytes)
        lines += ch == '\n';
    EXPECT_EQ(lines, 1u + 2u);
    const auto text = p->io.files.read("frame1.sty");
    ASSERT_TRUE(text);
    EXPECT_EQ(cp932ToUtf8(text.bytes),
              storeyReportText(checkStoreys(m(), p->loadCases, p->caseResults), "frame1"));
    EXPECT_TRUE(noStoreyMessage());
    // No analysis files asked for (the grid form's analysis without a name): none.
    p->io.files.remove("frame1.sty");
    ASSERT_TRUE(analyseAllCases(*p, ""));
    EXPECT_FALSE(p->io.files.exists("frame1.sty"));
}

TEST_F(LoadCaseForm, TheSavedSetIsReadBackWhenTheFormOpensAgain) {
    {
        Form17& f = open();
        addCase(f, "G", 0);
        addCase(f, "WY", 3, 1);
        addCombination(f, "S1", "G+0.5WY");
        p->loadCases.cases[0].memberLoads = {{9, 0, -3.25f}};
        f.click("BUTTON180");
        f.close();
    }
    const LoadCaseSet saved = p->loadCases;
    p->loadCases = LoadCaseSet{};
    Form17& again = open();
    ASSERT_EQ(p->loadCases.cases.size(), 2u);
    EXPECT_EQ(p->loadCases.cases[1].direction, LoadDirection::Y);
    EXPECT_EQ(p->loadCases.cases[1].kind, LoadKind::Wind);
    EXPECT_FLOAT_EQ(p->loadCases.cases[0].memberLoads[0].wz, -3.25f);
    EXPECT_EQ(combinationExpression(p->loadCases.combinations[0]), "G+0.5WY");
    EXPECT_EQ(again.c("LIST172").items.size(), 1u);
    EXPECT_EQ(loadCaseFileBytes(p->loadCases), loadCaseFileBytes(saved));
}

} // namespace
} // namespace rahmen::testing
