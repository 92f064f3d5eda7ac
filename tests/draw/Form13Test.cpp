// The plotting window's picking and the loads of the mouse analysis, on a
// small frame: nodes 1-3 on one vertical line (X = Y = 0, Z = 0, 350, 700),
// node 4 at (0, 500, 350) and node 5 at (600, 0, 350); members 1-2, 2-3, 2-4
// and 2-5; supports 1 and 5.
//
// At angles 0 the normal picking picture puts nodes 1-5 at (355, 411.24),
// (355, 290), (355, 168.76), (505, 376.6) and (175, 393.92); the enlarged
// one puts node 2 at (363.64, 260).

#include "draw/Form13.h"

#include "forms/MenuStandIn.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <memory>

namespace rahmen {
namespace {

class PlotWindow : public ::testing::Test {
protected:
    PlotWindow() : p(Program::create(platform.services())) {
        registerPlotForms(*p);
        p->mainMenu = &menu;
        Model& md = p->model;
        md.NodeCount = 5;
        md.MemberCount = 4;
        const float xyz[5][3] = {{0, 0, 0}, {0, 0, 350}, {0, 0, 700}, {0, 500, 350}, {600, 0, 350}};
        for (int n = 1; n <= 5; ++n) {
            md.NodeX[n] = xyz[n - 1][0];
            md.NodeY[n] = xyz[n - 1][1];
            md.NodeZ[n] = xyz[n - 1][2];
        }
        const int ends[4][2] = {{1, 2}, {2, 3}, {2, 4}, {2, 5}};
        for (int m = 1; m <= 4; ++m) {
            md.MemberStartNode[m] = static_cast<int16_t>(ends[m - 1][0]);
            md.MemberEndNode[m] = static_cast<int16_t>(ends[m - 1][1]);
            md.MemberArea[m] = 100;
            md.MemberIy[m] = md.MemberIz[m] = 20000;
            md.MemberJ[m] = 500;
        }
        md.NodeIsSupport[1] = md.NodeIsSupport[5] = -1;
        md.SupportCount = 2;
    }

    // Opens the window in a mode; in the mouse analysis without loads from a
    // file and with steel chosen.
    Form13& open(int mode) {
        p->PlotWindowMode = static_cast<int16_t>(mode);
        if (mode == 1) platform.dialogs.queueMessage(MessageResult::No);
        auto* form = dynamic_cast<Form13*>(p->openForm("FORM13"));
        EXPECT_NE(form, nullptr);
        if (mode == 1) {
            EXPECT_TRUE(form->click("RADIO55"));
        }
        return *form;
    }

    std::string lastMessage() const {
        const auto& log = platform.dialogs.messages();
        return log.empty() ? "" : log.back().text;
    }

    ScriptedPlatform platform;
    std::unique_ptr<Program> p;
    testing::MenuStandIn menu;
};

// Nodes 1, 2, 3 share X and Y: the later axis, y, wins, and only the members
// of the plane Y = 0 are selected, not member 3 of the plane X = 0. A right
// click takes the selection back with the pick.
TEST_F(PlotWindow, PlanePickSelectsOnlyTheWinningPlaneAndRightClickClearsIt) {
    p->model.AnalysisDone = 1;
    Form13& f = open(0);
    ASSERT_TRUE(f.click("RADIO60"));
    ASSERT_TRUE(f.click("BUTTON69"));
    f.mouseDown(MouseButton::Left, 355, 411);
    f.mouseDown(MouseButton::Left, 355, 290);
    f.mouseDown(MouseButton::Left, 355, 169);
    EXPECT_EQ(f.stress.PickedPlaneAxis, "y");
    EXPECT_EQ(f.stress.MemberSelected[1], 1);
    EXPECT_EQ(f.stress.MemberSelected[2], 1);
    EXPECT_EQ(f.stress.MemberSelected[3], 0);
    EXPECT_EQ(f.stress.MemberSelected[4], 1);
    EXPECT_TRUE(f.c("BUTTON69").enabled);

    f.mouseDown(MouseButton::Right, 355, 169);
    EXPECT_EQ(f.PickedNodes, (std::vector<int16_t>{1, 2}));
    EXPECT_EQ(f.stress.PickedPlaneAxis, "");
    for (int m = 1; m <= 4; ++m)
        EXPECT_EQ(f.stress.MemberSelected[m], 0) << m;
    EXPECT_FALSE(f.c("BUTTON69").enabled);
}

TEST_F(PlotWindow, ClickIsTakenAtTheNodeOnScreenAlsoInTheEnlargedPicture) {
    Form13& f = open(1);
    f.mouseDown(MouseButton::Left, 355, 301); // 11 pixels below node 2
    EXPECT_TRUE(f.PickedNodes.empty());
    ASSERT_TRUE(f.click("BUTTON79"));
    f.mouseDown(MouseButton::Left, 355, 290); // node 2 of the normal picture
    EXPECT_TRUE(f.PickedNodes.empty());
    f.mouseDown(MouseButton::Left, 364, 260);
    EXPECT_EQ(f.PickedNodes, (std::vector<int16_t>{2}));
}

TEST_F(PlotWindow, SameLevelSelectionSkipsSupportsAndNodesPickedBefore) {
    Form13& f = open(1);
    f.mouseDown(MouseButton::Left, 505, 377); // node 4
    ASSERT_TRUE(f.click("CHECK14"));
    f.mouseDown(MouseButton::Left, 355, 290); // node 2; 4 is on its level, 5 a support
    EXPECT_EQ(f.PickedNodes, (std::vector<int16_t>{4, 2}));
    EXPECT_EQ(lastMessage(), "支持点5 は荷重付加点から除きます。");
    f.typeText("EDIT194", "-5");
    ASSERT_TRUE(f.click("BUTTON86"));
    EXPECT_EQ(p->model.LoadedNodeCount, 2);
    EXPECT_EQ(p->model.NodeLoad[9], -5.0f);
    EXPECT_EQ(p->model.NodeLoad[21], -5.0f);
}

TEST_F(PlotWindow, UniformLoadOfZeroTakesTheMembersLoadAway) {
    Form13& f = open(1);
    ASSERT_TRUE(f.click("CHECK15"));
    auto loadMember4 = [&](const char* wz) {
        f.mouseDown(MouseButton::Left, 355, 290);
        f.mouseDown(MouseButton::Left, 175, 394);
        ASSERT_EQ(f.LoadMember, 4);
        f.typeText("EDIT194", wz);
        ASSERT_TRUE(f.click("BUTTON86"));
    };
    loadMember4("-12");
    EXPECT_EQ(p->model.MemberLoadFlag[4], 1);
    EXPECT_EQ(p->model.LoadedMemberCount, 1);
    loadMember4("");
    EXPECT_EQ(p->model.MemberLoadFlag[4], 0);
    EXPECT_EQ(p->model.LoadedMemberCount, 0);
}

TEST_F(PlotWindow, ModuliAreAskedAgainUntilPositive) {
    p->PlotWindowMode = 1;
    platform.dialogs.queueMessage(MessageResult::No);
    Form13& f = *dynamic_cast<Form13*>(p->openForm("FORM13"));
    for (const char* answer : {"-205000", "0", "205000", "abc", "79000"})
        platform.dialogs.queueInput(std::string(answer));
    ASSERT_TRUE(f.click("RADIO67"));
    EXPECT_EQ(p->model.YoungModulus, 205000.0f);
    EXPECT_EQ(p->model.ShearModulus, 79000.0f);
    EXPECT_EQ(platform.dialogs.inputs()[3].prompt, "せん断弾性係数（N/mm2）を入力してください");
    EXPECT_EQ(platform.dialogs.unscripted(), 0);
}

// After the mouse analysis and its deformation diagram, "終了" leaves the
// nodal and the uniform loads with the results they belong to.
TEST_F(PlotWindow, ClosingAfterTheAnalysisKeepsEveryLoad) {
    Form13& f = open(1);
    f.mouseDown(MouseButton::Left, 505, 377);
    f.typeText("EDIT193", "-10");
    ASSERT_TRUE(f.click("BUTTON86"));
    ASSERT_TRUE(f.click("CHECK15"));
    f.mouseDown(MouseButton::Left, 355, 290);
    f.mouseDown(MouseButton::Left, 175, 394);
    f.typeText("EDIT194", "-2");
    ASSERT_TRUE(f.click("BUTTON86"));
    ASSERT_TRUE(f.click("CHECK15"));
    ASSERT_TRUE(f.click("BUTTON69"));
    ASSERT_TRUE(f.click("BUTTON69"));
    ASSERT_EQ(p->PlotWindowMode, 2) << lastMessage();
    f.keyPress(' ');
    ASSERT_TRUE(f.click("BUTTON79"));
    ASSERT_TRUE(f.click("BUTTON67"));
    EXPECT_FALSE(f.isOpen());
    EXPECT_EQ(p->PlotWindowMode, 0);
    EXPECT_EQ(p->model.NodeLoadFlag[4], 1);
    EXPECT_EQ(p->model.NodeLoad[20], -10.0f);
    EXPECT_EQ(p->model.LoadedNodeCount, 1);
    EXPECT_EQ(p->model.MemberLoadFlag[4], 1);
    EXPECT_EQ(p->model.LoadedMemberCount, 1);
}

} // namespace
} // namespace rahmen

namespace rahmen {
namespace {

// "図保存" writes the picture by the extension of the chosen name; PNG needs
// the GUI's image writer, which this headless desktop lacks.
TEST_F(PlotWindow, SavedPictureFollowsTheExtension) {
    Form13& f = open(1);
    struct Case {
        const char* name;
        const char* file;    // written, or "" none
        const char* message; // shown, or "" none
    } cases[] = {
        {"frame.SVG", "frame.SVG", ""},
        {"frame.txt", "", "図は拡張子 .png か .svg の名前で保存してください。"},
        {"frame", "", "図を保存できませんでした。\r\nframe.png"},
    };
    for (const Case& c : cases) {
        platform.dialogs.clearLog();
        platform.dialogs.queueOpenFile(std::string(c.name));
        ASSERT_TRUE(f.click("BUTTON98"));
        EXPECT_EQ(platform.dialogs.openFiles()[0].title, "図保存");
        EXPECT_EQ(lastMessage(), c.message) << c.name;
        if (*c.file) {
            const ReadResult svg = platform.files.read(c.file);
            ASSERT_TRUE(svg.ok) << c.name;
            EXPECT_NE(svg.bytes.find("<svg"), std::string::npos);
            EXPECT_NE(svg.bytes.find("<line"), std::string::npos); // the members
            // Below the picture, its caption: no data name here, the
            // window's kind, its units and the scripted clock's time.
            EXPECT_NE(svg.bytes.find("height=\"624\""), std::string::npos);
            EXPECT_NE(svg.bytes.find(
                          "（データ名なし）　マウス骨組解析　単位：kN,m,rad　2026-12-08 10:20"),
                      std::string::npos);
        }
    }
}

} // namespace
} // namespace rahmen

namespace rahmen {
namespace {

// "印刷用保存" stands where the mouse analysis has its load boxes and writes
// the PNG three times finer than "図保存" does; the picture is the same.
TEST_F(PlotWindow, PrintResolutionSaveWritesThePictureThreeTimesFiner) {
    std::vector<std::pair<std::string, int>> written;
    std::vector<std::size_t> items;
    platform.desktop.setPngWriter([&](const Canvas& canvas, const std::string& path, int scale) {
        written.emplace_back(path, scale);
        items.push_back(canvas.items().size());
        return true;
    });
    Form13& f = open(0);
    EXPECT_TRUE(f.c("BUTTON99").visible);
    for (const char* button : {"BUTTON98", "BUTTON99"}) {
        platform.dialogs.queueOpenFile(std::string("frame.png"));
        ASSERT_TRUE(f.click(button));
    }
    EXPECT_EQ(platform.dialogs.openFiles().back().title, "印刷用保存");
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0].second, 1);
    EXPECT_EQ(written[1].second, Form13::kPrintScale);
    EXPECT_EQ(items[0], items[1]);
    EXPECT_EQ(lastMessage(), "");
    f.close();
    EXPECT_FALSE(open(1).c("BUTTON99").visible);
}

} // namespace
} // namespace rahmen

namespace rahmen {
namespace {

// The load boxes of the mouse analysis take what the files can hold: the
// largest force and (typed in force·m) moment are stored, a value just beyond
// is refused naming the box and its range, and nothing is stored.
TEST_F(PlotWindow, LoadBoxesRefuseValuesBeyondTheStoredRange) {
    const struct {
        bool uniform; // member 4 (nodes 2 and 5), otherwise node 4
        const char* box;
        const char* typed;
        const char* message; // "" accepted
        float held;          // NodeLoad[19 + k] of node 4, or wy / wz of member 4
    } cases[] = {
        {false, "EDIT192", "1e30", "", 1e30f},
        {false, "EDIT192", "1.0000001e30",
         "Ｘ方向の荷重は -1E+30 から 1E+30 までです（1.0000001E+30 が入力されました）。", 0},
        {false, "EDIT197", "-1e28", "", -1e28f * 100},
        {false, "EDIT197", "-1.0000001e28",
         "Ｚ軸回りのモーメント荷重は -1E+28 から 1E+28 までです（-1.0000001E+28 "
         "が入力されました）。",
         0},
        {true, "EDIT194", "-1e30", "", -1e30f},
        {true, "EDIT194", "-1e99",
         "Ｚ方向の等分布荷重は -1E+30 から 1E+30 までです（-1E+99 が入力されました）。", 0},
    };
    const char* const boxes[] = {"EDIT192", "EDIT193", "EDIT194", "EDIT195", "EDIT196", "EDIT197"};
    const Model unloaded = p->model;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        p->model = unloaded;
        Form13& f = open(1);
        platform.dialogs.clearLog();
        if (c.uniform) {
            ASSERT_TRUE(f.click("CHECK15"));
            f.mouseDown(MouseButton::Left, 355, 290);
            f.mouseDown(MouseButton::Left, 175, 394);
        } else {
            f.mouseDown(MouseButton::Left, 505, 377);
        }
        f.typeText(c.box, c.typed);
        ASSERT_TRUE(f.click("BUTTON86"));
        int k = 0;
        while (std::string(boxes[k]) != c.box)
            ++k;
        const float held = c.uniform ? p->model.MemberUniformLoad[4][k] : p->model.NodeLoad[19 + k];
        EXPECT_EQ(held, c.held);
        if (*c.message) {
            EXPECT_EQ(lastMessage(), c.message);
            EXPECT_EQ(p->model.LoadedNodeCount + p->model.LoadedMemberCount, 0);
            EXPECT_EQ(f.c(c.box).caption, c.typed); // left to be corrected
        } else {
            EXPECT_EQ(platform.dialogs.messages().size(), 0u) << lastMessage();
        }
        f.close();
    }
}

} // namespace
} // namespace rahmen
