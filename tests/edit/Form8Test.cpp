#include "edit/Form8.h"
#include "draw/Projection.h"
#include "forms/LoadForms.h"
#include "model/Model.h"
#include "model/ModelFileHandlers.h"
#include "model/ModelFiles.h"
#include "model/Program.h"
#include "model/TextFile.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <memory>

namespace rahmen {
namespace {

// Two bays of 600 cm, one storey of 400 cm, in the X–Z plane: base nodes 1, 2,
// 3 (1 and 2 fixed), top nodes 4, 5, 6; columns 1..3, beams 4–5 and 5–6.
class EditWindow : public ::testing::Test {
protected:
    EditWindow() : p(Program::create(platform.services())) {
        registerLoadForms(*p);
        registerEditForms(*p);
        Model& m = p->model;
        m.DataName = "edit";
        m.NodeCount = 6;
        for (int i = 0; i < 3; ++i) {
            m.NodeX[1 + i] = m.NodeX[4 + i] = 600.0f * i;
            m.NodeZ[4 + i] = 400;
        }
        m.NodeIsSupport[1] = m.NodeIsSupport[2] = -1;
        m.SupportCount = 2;
        m.MemberTypeCount = 1;
        m.TypeArea[1] = 100, m.TypeIy[1] = 8000, m.TypeIz[1] = 3000, m.TypeJ[1] = 500;
        const int ends[][2] = {{1, 4}, {2, 5}, {3, 6}, {4, 5}, {5, 6}};
        m.MemberCount = 5;
        for (int k = 1; k <= 5; ++k) {
            m.MemberStartNode[k] = static_cast<int16_t>(ends[k - 1][0]);
            m.MemberEndNode[k] = static_cast<int16_t>(ends[k - 1][1]);
            m.MemberTypeNo[k] = 1;
            m.copyTypeToMember(k, 1);
        }
        m.FrameFileState = 1;
        m.AnalysisDone = 1;
        form = dynamic_cast<Form8*>(p->openForm("FORM8"));
    }

    void pick(int node, MouseButton button = MouseButton::Left) {
        const PicturePoint at = nodePoint(form->view, node);
        ASSERT_TRUE(form->mouseDown(button, static_cast<int>(std::lround(at.x)),
                                    static_cast<int>(std::lround(at.y))));
    }

    ScriptedPlatform platform;
    std::unique_ptr<Program> p;
    Form8* form = nullptr;
};

TEST_F(EditWindow, AWholeEditingSessionWithUndoEndsInAFrameFileThatReadsBack) {
    ASSERT_NE(form, nullptr);
    Model& m = p->model;
    // Delete column 2–5 by its axis.
    form->click("RADIO47");
    form->click("RADIO53");
    pick(2);
    pick(5);
    ASSERT_TRUE(form->c("BUTTON87").enabled);
    form->click("BUTTON87");
    ASSERT_EQ(m.MemberCount, 4);
    EXPECT_EQ(m.AnalysisDone, 0);

    // Add it again as an H-shape from the table.
    form->click("RADIO48");
    pick(5);
    pick(2);
    form->click("RADIO64");
    form->click("RADIO53"); // "Ｈ 形鋼"
    form->choose("COMBO8", 0);
    form->click("BUTTON87");
    ASSERT_EQ(m.MemberCount, 5);
    EXPECT_EQ(m.MemberStartNode[5], 2);
    EXPECT_EQ(m.MemberEndNode[5], 5);
    EXPECT_EQ(m.MemberTypeCount, 2);
    EXPECT_FLOAT_EQ(m.MemberArea[5], 11.85f);

    // Split beam 5–6: the new node is 6, old node 6 becomes 7.
    form->click("RADIO51");
    pick(5);
    pick(6);
    form->click("BUTTON87");
    ASSERT_EQ(m.NodeCount, 7);
    EXPECT_FLOAT_EQ(m.NodeX[6], 900);
    EXPECT_EQ(m.MemberEndNode[6], 7);

    // A support under node 3; a click far from every node does nothing.
    form->click("RADIO60");
    EXPECT_TRUE(form->mouseDown(MouseButton::Left, 5, 5));
    EXPECT_TRUE(form->EditPickedNodes.empty());
    pick(3);
    form->click("BUTTON87");
    EXPECT_EQ(m.SupportCount, 3);

    // Pin the start of beam 4–5 about z in the release form.
    form->click("RADIO61");
    form->click("RADIO63");
    pick(4);
    pick(5);
    form->click("BUTTON87");
    Form* release = p->form("FORM7");
    ASSERT_TRUE(release && release->isOpen());
    release->click("CHECK3");
    release->click("BUTTON43");
    EXPECT_EQ(m.PinStartZ[3], -1);

    // The beams between the axes x = 0 and x = 600 get type 2.
    form->click("RADIO62");
    form->click("RADIO52");
    pick(1);
    pick(4);
    pick(2);
    pick(5);
    form->click("RADIO63");
    form->choose("COMBO8", 1);
    form->click("BUTTON87");
    EXPECT_EQ(m.MemberTypeNo[3], 2);
    EXPECT_EQ(m.MemberTypeNo[1], 1); // the column on the axis is not between them

    // Two steps back: the type and the pin go again.
    form->click("BUTTON152");
    form->click("BUTTON152");
    EXPECT_EQ(m.MemberTypeNo[3], 1);
    EXPECT_EQ(m.PinStartZ[3], 0);
    EXPECT_EQ(m.SupportCount, 3);

    // The frame file of this run is written again without a word about the
    // file it replaces.
    ASSERT_TRUE(platform.files.writeAtomic("edit.fdt", "the file of this run").ok);
    platform.dialogs.clearLog();
    form->click("BUTTON150");
    EXPECT_FALSE(form->isOpen());
    EXPECT_TRUE(platform.dialogs.messages().empty());
    auto read = platform.files.read("edit.fdt");
    ASSERT_TRUE(read.ok) << read.error;
    Model back;
    ItemReader in(read.bytes, "edit.fdt");
    readFrameFile(back, in);
    EXPECT_EQ(back.NodeCount, 7);
    EXPECT_EQ(back.MemberCount, 6);
    EXPECT_EQ(back.SupportCount, 3);
    EXPECT_EQ(back.PinnedEndCount, 0);
    EXPECT_EQ(back.MemberTypeNo[5], 2);
    EXPECT_EQ(back.TypeSectionKind[2], 2);
}

TEST_F(EditWindow, PickingFollowsTheEnlargedPictureAndEndingUnchangedWritesNothing) {
    form->click("RADIO56"); // move a node
    form->click("BUTTON86");
    ASSERT_FLOAT_EQ(form->view.Baseline, 590);
    pick(6);
    EXPECT_EQ(form->EditPickedNodes, std::vector<int>{6});
    EXPECT_EQ(form->c("EDIT190").caption, "1200");
    // Moving node 6 onto node 5 would leave beam 5–6 without length.
    form->typeText("EDIT190", "600");
    form->click("BUTTON87");
    EXPECT_FLOAT_EQ(p->model.NodeX[6], 1200);
    EXPECT_EQ(form->undoDepth(), 0u);

    form->click("BUTTON150");
    EXPECT_FALSE(platform.files.exists("edit.fdt"));
}

// A frame read from another folder while the working folder holds its own
// file of the same name: overwriting means the file that was read, each time,
// and a new name that is taken is only used after a question naming it.
TEST_F(EditWindow, AFrameReadFromAnotherFolderIsSavedOverTheFileReadNeverOverTheWorkingFolders) {
    namespace fs = std::filesystem;
    Model& m = p->model;
    const fs::path other = platform.tempFolder() / "other";
    fs::create_directory(other);
    const std::string read = (other / "edit.fdt").string();
    ASSERT_TRUE(platform.files.writeAtomic(read, frameFileBytes(m, platform.clock.now())).ok);
    for (const char* own : {"edit.fdt", "taken.cdt"})
        ASSERT_TRUE(platform.files.writeAtomic(own, std::string("own ") + own).ok);
    platform.dialogs.queueOpenFile(read);
    ASSERT_EQ(CALLFDT_ON(*p), ReadOutcome::Done);
    ASSERT_EQ(m.FrameFileState, 2);
    auto supportsIn = [&](const std::string& name) {
        Model back;
        ItemReader in(platform.files.read(name).bytes, name);
        readFrameFile(back, in);
        return back.SupportCount;
    };
    auto addSupport = [&](int node) {
        form->click("RADIO60");
        pick(node);
        form->click("BUTTON87");
    };

    // Cancel at the name: the file read is overwritten; then, written by this
    // run, it is written again there.
    for (int node : {3, 6}) {
        addSupport(node);
        platform.dialogs.clearLog();
        if (node == 3) platform.dialogs.queueInput(std::nullopt);
        form->click("BUTTON150");
        ASSERT_FALSE(form->isOpen());
        EXPECT_TRUE(platform.dialogs.messages().empty());
        EXPECT_EQ(platform.dialogs.inputs().size(), node == 3 ? 1u : 0u);
        EXPECT_EQ(supportsIn(read), node == 3 ? 3 : 4);
        EXPECT_EQ(platform.files.read("edit.fdt").bytes, "own edit.fdt");
        form = dynamic_cast<Form8*>(p->openForm("FORM8"));
    }

    // A new name whose coordinate file exists: asked, "yes" asks for another
    // name; then a name of the working folder's own frame file, overwritten on "no".
    m.FrameFileState = 2;
    addSupport(5);
    platform.dialogs.clearLog();
    platform.dialogs.queueInput(std::string("taken"));
    platform.dialogs.queueMessage(MessageResult::Yes);
    platform.dialogs.queueInput(std::string("edit"));
    platform.dialogs.queueMessage(MessageResult::No);
    form->click("BUTTON150");
    ASSERT_EQ(platform.dialogs.messages().size(), 2u);
    EXPECT_EQ(platform.dialogs.messages()[0].text.rfind("既存のﾃﾞｰﾀ taken.cdt があります", 0), 0u);
    EXPECT_EQ(platform.dialogs.messages()[1].text.rfind("既存のﾃﾞｰﾀ edit.fdt があります", 0), 0u);
    EXPECT_EQ(platform.files.read("taken.cdt").bytes, "own taken.cdt");
    EXPECT_EQ(supportsIn("edit.fdt"), 5);
    EXPECT_EQ(supportsIn(read), 4);
}

TEST_F(EditWindow, EnlargedViewDrawsTheReleaseThirdsUntilTurnedOrTheNextOperation) {
    Model& m = p->model;
    m.MemberStartPinned[4] = 1; // beam 4-5, pinned at 4
    m.MemberEndSprung[5] = 1;   // beam 5-6, sprung at 6
    // The pinned third of beam 4-5 and the sprung third of beam 5-6, as drawn now.
    auto thirds = [&] {
        const PicturePoint a = nodePoint(form->view, 4), b = nodePoint(form->view, 5);
        const PicturePoint c = nodePoint(form->view, 5), d = nodePoint(form->view, 6);
        int found = 0;
        for (const Primitive& item : form->picture()->items()) {
            auto near = [](double u, double v) { return std::fabs(u - v) < 1e-6; };
            if (item.shape != Shape::Line) continue;
            found += item.color == 13 && near(item.x1, a.x) && near(item.y1, a.y) &&
                     near(item.x2, a.x + (b.x - a.x) / 3) && near(item.y2, a.y + (b.y - a.y) / 3);
            found += item.color == 5 && near(item.x2, d.x) && near(item.y2, d.y) &&
                     near(item.x1, c.x + 2 * (d.x - c.x) / 3) &&
                     near(item.y1, c.y + 2 * (d.y - c.y) / 3);
        }
        return found;
    };
    // Each way back from the enlarged view gives the normal view and "拡大" again.
    const std::vector<std::function<void()>> waysBack = {
        [&] { form->scrollTo("HSCROLL2", 87); },
        [&] { form->click("RADIO60"); }, // an operation chosen
        [&] {                            // an operation applied: node 3 becomes a support
            pick(3);
            form->click("BUTTON87");
            EXPECT_EQ(m.SupportCount, 3);
        },
        [&] { form->click("BUTTON152"); }, // undone
    };
    form->DRAW_ON();
    EXPECT_EQ(thirds(), 0);
    for (const auto& back : waysBack) {
        ASSERT_TRUE(form->c("BUTTON86").enabled);
        form->click("BUTTON86");
        EXPECT_FALSE(form->c("BUTTON86").enabled);
        EXPECT_FLOAT_EQ(form->view.Baseline, 590);
        EXPECT_EQ(thirds(), 2);
        back();
        EXPECT_FLOAT_EQ(form->view.Baseline, 530);
        EXPECT_EQ(thirds(), 0);
    }
    EXPECT_EQ(m.SupportCount, 2);
}

} // namespace
} // namespace rahmen
