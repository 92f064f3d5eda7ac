#include "forms/Form3.h"

#include "InputFormsFixture.h"

#include <filesystem>

namespace rahmen::testing {
namespace {

class Form3Test : public InputFormsTest {
protected:
    Form3& openCoordinates(int nodes, const std::string& name = "frame1") {
        model().DataName = name;
        model().NodeCount = static_cast<int16_t>(nodes);
        Form3* form = dynamic_cast<Form3*>(p->openForm("FORM3"));
        EXPECT_NE(form, nullptr);
        return *form;
    }
    static void typeRow(Form& f, int k, const std::string& x, const std::string& y,
                        const std::string& z) {
        type(f, {{Form3::xBox(k), x}, {Form3::yBox(k), y}, {Form3::zBox(k), z}});
    }
    static std::vector<std::string> nodeNumbers(const Form& f) {
        std::vector<std::string> numbers;
        for (int k = 1; k <= 5; ++k)
            numbers.push_back(f.c(Form3::nodeBox(k)).caption);
        return numbers;
    }
    // The lines of a written file (CR LF separated).
    std::vector<std::string> fileLines(const std::string& name) {
        const ReadResult file = platform.files.read(name);
        EXPECT_TRUE(file.ok) << name;
        std::vector<std::string> lines;
        std::size_t from = 0;
        for (std::size_t at; (at = file.bytes.find("\r\n", from)) != std::string::npos;
             from = at + 2)
            lines.push_back(file.bytes.substr(from, at - from));
        return lines;
    }
};

TEST_F(Form3Test, FiveNodesAreFinishedFromTheFirstPageAndWriteTheCoordinateFile) {
    menu.enableOnly({"BUTTON1", "BUTTON70"});
    Form3& f = openCoordinates(5);
    EXPECT_EQ(f.caption(), "座標入力");
    EXPECT_EQ(nodeNumbers(f), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_FALSE(f.c("EDIT8").enabled); // node numbers are shown, not typed
    EXPECT_FALSE(f.c("BUTTON8").enabled);
    EXPECT_TRUE(f.c("BUTTON9").enabled);
    EXPECT_EQ(f.focus(), "EDIT13");
    EXPECT_EQ(f.c("EDIT13").caption, "");

    typeRow(f, 1, "0", "0", "0");
    typeRow(f, 2, "250.6", "0", "0");
    typeRow(f, 3, "600", "-300", "350");
    typeRow(f, 4, "abc", "", "12cm");
    typeRow(f, 5, "1e3", " 40", "+7");
    ASSERT_TRUE(f.click("BUTTON9"));

    EXPECT_FALSE(f.isOpen());
    EXPECT_FLOAT_EQ(model().NodeX[2], 250.6f); // decimals are kept in memory
    EXPECT_EQ(model().NodeY[3], -300.0f);
    EXPECT_EQ(model().NodeZ[3], 350.0f);
    EXPECT_EQ(model().NodeX[4], 0.0f);
    EXPECT_EQ(model().NodeZ[4], 12.0f);
    EXPECT_EQ(model().NodeX[5], 1000.0f);
    EXPECT_EQ(model().NodeY[5], 40.0f);
    EXPECT_EQ(model().NodeZ[5], 7.0f);
    EXPECT_EQ(model().CoordFileState, 1);
    EXPECT_TRUE(menu.c("BUTTON28").enabled);
    EXPECT_FALSE(menu.c("BUTTON1").enabled);
    EXPECT_TRUE(menu.c("BUTTON70").enabled);

    const auto lines = fileLines("frame1.cdt");
    ASSERT_EQ(lines.size(), 18u + 5u);
    // ...and written rounded to whole centimetres.
    EXPECT_EQ(lines[19], "      2           251              0              0");
    EXPECT_EQ(lines[20], "      3           600           -300            350");
}

TEST_F(Form3Test, SevenNodesPageOnceAndStoreTheRowsPastTheLastNodeToo) {
    Form3& f = openCoordinates(7);
    EXPECT_TRUE(f.c("BUTTON8").enabled);
    EXPECT_FALSE(f.c("BUTTON9").enabled);
    for (int k = 1; k <= 5; ++k)
        typeRow(f, k, std::to_string(100 * k), "10", "20");
    model().NodeX[8] = 99; // left over from earlier: overwritten by the empty row 8
    ASSERT_TRUE(f.click("BUTTON8"));

    EXPECT_EQ(f.CoordPage, 1);
    EXPECT_EQ(nodeNumbers(f), (std::vector<std::string>{"6", "7", "8", "9", "10"}));
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(f.c(Form3::xBox(k)).caption, "");
        EXPECT_EQ(f.c(Form3::zBox(k)).caption, "");
    }
    EXPECT_FALSE(f.c("BUTTON8").enabled);
    EXPECT_TRUE(f.c("BUTTON9").enabled);
    EXPECT_EQ(f.focus(), "EDIT13");
    EXPECT_EQ(model().NodeX[5], 500.0f);
    EXPECT_EQ(model().NodeZ[1], 20.0f);

    typeRow(f, 1, "600", "0", "350");
    typeRow(f, 2, "700", "0", "350");
    f.click("BUTTON9");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().NodeX[6], 600.0f);
    EXPECT_EQ(model().NodeX[7], 700.0f);
    EXPECT_EQ(model().NodeX[8], 0.0f);
    EXPECT_EQ(fileLines("frame1.cdt").size(), 18u + 7u);
}

TEST_F(Form3Test, NoNodesStoresTheFirstPageAndWritesAnEmptyNodeList) {
    Form3& f = openCoordinates(0, "empty");
    EXPECT_FALSE(f.c("BUTTON8").enabled);
    EXPECT_TRUE(f.c("BUTTON9").enabled);
    typeRow(f, 3, "5", "6", "7");
    f.click("BUTTON9");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().NodeY[3], 6.0f);
    const auto lines = fileLines("empty.cdt");
    ASSERT_EQ(lines.size(), 18u); // the headings and no node line
}

TEST_F(Form3Test, CancelKeepsStoredPagesAndWritesNothingAndTheFormStartsAgainEmpty) {
    menu.enableOnly({"BUTTON1"});
    Form3& f = openCoordinates(12);
    typeRow(f, 1, "1", "2", "3");
    f.click("BUTTON8");
    typeRow(f, 1, "6", "6", "6");
    f.click("BUTTON10");
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(model().NodeZ[1], 3.0f);
    EXPECT_EQ(model().NodeX[6], 0.0f); // the page on screen is not stored
    EXPECT_FALSE(platform.files.exists("frame1.cdt"));
    EXPECT_EQ(model().CoordFileState, 0);
    EXPECT_TRUE(menu.c("BUTTON1").enabled);
    EXPECT_FALSE(menu.c("BUTTON28").enabled);

    Form3* again = dynamic_cast<Form3*>(p->openForm("FORM3"));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->CoordPage, 0);
    EXPECT_EQ(nodeNumbers(*again), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(again->c("EDIT13").caption, ""); // stored values are not shown
    again->click("BUTTON55");
    ASSERT_EQ(dialogs().helps().size(), 1u);
    EXPECT_EQ(dialogs().helps()[0].keyword, "座標入力");
}

TEST_F(Form3Test, TabRunsThroughEachNodesCoordinatesBeforeTheNextNode) {
    Form3& f = openCoordinates(5);
    std::vector<std::string> order;
    for (const Control& control : f.controls())
        if (control.kind == ControlKind::Edit && control.enabled) order.push_back(control.name);
    EXPECT_EQ(order, (std::vector<std::string>{"EDIT13", "EDIT18", "EDIT23", "EDIT14", "EDIT19",
                                               "EDIT24", "EDIT15", "EDIT20", "EDIT25", "EDIT16",
                                               "EDIT21", "EDIT26", "EDIT17", "EDIT22", "EDIT27"}));
    // The boxes of a row share a line, rows go down the form.
    EXPECT_EQ(f.c("EDIT13").y, f.c("EDIT23").y);
    EXPECT_LT(f.c("EDIT13").x, f.c("EDIT18").x);
    EXPECT_LT(f.c("EDIT13").y, f.c("EDIT14").y);
    EXPECT_EQ(f.c("TEXT21").caption, "節点番号");
    EXPECT_EQ(f.c("TEXT22").caption, "Ｘ座標");
    EXPECT_EQ(f.c("TEXT23").caption, "Ｙ座標");
    EXPECT_EQ(f.c("TEXT24").caption, "Ｚ座標");
    EXPECT_EQ(f.c("TEXT20").caption, "単  位  ：  cm");
}

TEST_F(Form3Test, AFileThatCannotBeWrittenKeepsTheFormOpenAndTheMenuWhereItWas) {
    std::filesystem::create_directory(platform.files.path("blocked.cdt"));
    menu.enableOnly({"BUTTON1"});
    Form3& f = openCoordinates(2, "blocked");
    typeRow(f, 1, "1", "2", "3");
    f.click("BUTTON9");
    EXPECT_TRUE(f.isOpen());
    EXPECT_FALSE(dialogs().messages().empty()); // the failure was reported
    EXPECT_EQ(model().CoordFileState, 0);
    EXPECT_TRUE(menu.c("BUTTON1").enabled);
    EXPECT_FALSE(menu.c("BUTTON28").enabled);
}

} // namespace
} // namespace rahmen::testing
