#include "edit/Form8.h"
#include "draw/Projection.h"
#include "forms/LoadForms.h"
#include "forms/SectionForms.h"
#include "model/Limits.h"
#include "model/Model.h"
#include "model/ModelFileHandlers.h"
#include "model/ModelFiles.h"
#include "model/Program.h"
#include "model/TextFile.h"
#include "platform/ScriptedPlatform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>

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

// The operation button of pins and springs names the choice, before the
// picks and after a spring has been set alike.
TEST_F(EditWindow, PinAndSpringButtonNamesTheChoice) {
    ASSERT_NE(form, nullptr);
    form->click("RADIO61");
    form->click("RADIO64");
    EXPECT_EQ(form->c("BUTTON87").caption, "バネ入力");
    pick(4);
    pick(5);
    form->click("BUTTON87");
    Form* release = p->form("FORM7");
    ASSERT_TRUE(release && release->isOpen());
    release->typeText("EDIT88", "1.5");
    release->click("BUTTON43");
    EXPECT_FLOAT_EQ(p->model.SpringStart[4][5], 150.0f); // 1.5 kN·m/rad
    EXPECT_FALSE(form->c("BUTTON87").enabled);
    EXPECT_EQ(form->c("BUTTON87").caption, "バネ入力");
    form->click("RADIO63");
    EXPECT_EQ(form->c("BUTTON87").caption, "ピン入力");
}

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

namespace rahmen {
namespace {

// The coordinate and angle boxes: the end of the stored range is taken, a
// number just beyond it is refused naming the box and the range, and the
// frame stays as it was.
TEST_F(EditWindow, CoordinateAndAngleBoxesRefuseNumbersBeyondTheStoredRange) {
    const struct {
        const char* radio; // the operation: "節点移動" of node 6, or "部材追加" 3–5
        const char* box;
        const char* typed;
        const char* message; // "" accepted
    } cases[] = {
        {"RADIO56", "EDIT190", "-1e30", ""},
        {"RADIO56", "EDIT190", "-1.0000001e30",
         "Ｘ座標は -1E+30 から 1E+30 までです（-1.0000001E+30 が入力されました）。"},
        {"RADIO56", "EDIT192", "1e99",
         "Ｚ座標は -1E+30 から 1E+30 までです（1E+99 が入力されました）。"},
        {"RADIO48", "EDIT192", "1e30", ""},
        {"RADIO48", "EDIT192", "1e39",
         "主軸角は -1E+30 から 1E+30 までです（1E+39 が入力されました）。"},
    };
    const Model start = p->model;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        p->model = start;
        form->click(c.radio);
        const bool move = std::string(c.radio) == "RADIO56";
        pick(move ? 6 : 3);
        if (!move) {
            pick(5);
            form->click("RADIO63"); // an existing type
            form->choose("COMBO8", 0);
        }
        form->typeText(c.box, c.typed);
        platform.dialogs.clearLog();
        form->click("BUTTON87");
        const auto& shown = platform.dialogs.messages();
        if (*c.message) {
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown[0].text, c.message);
            EXPECT_EQ(std::memcmp(static_cast<const ModelNumbers*>(&p->model),
                                  static_cast<const ModelNumbers*>(&start), sizeof(ModelNumbers)),
                      0);
        } else {
            EXPECT_TRUE(shown.empty()) << shown[0].text;
            if (move) {
                EXPECT_EQ(p->model.NodeX[6], -1e30f);
            } else {
                EXPECT_EQ(p->model.MemberAngle[6], 1e30f);
            }
        }
    }
}

// Random numbers typed through the editing window, the release form it opens
// and the property form: coordinates, spring constants and areas, about one
// in three beyond the stored range (1e99, -5 springs, 1e39 areas). A number
// out of range is refused at the form with the message naming the box and the
// range and nothing is stored; an accepted one is stored as typed, and every
// frame saved at the end of a session reads back to it.
TEST_F(EditWindow, RandomTypedNumbersAreRefusedAtTheFormOrReadBackFromTheSavedFrame) {
    registerSectionForms(*p);
    std::mt19937 rng(20261209);
    auto draw = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    struct Typed {
        std::string text;
        double value;
    };
    // A number of a box of the given range: usually one a user types, else
    // the range's end or a number just or far beyond it.
    auto typed = [&](ValueRange range) -> Typed {
        const double usual = range.least < 0 ? 10.0 * draw(-200, 200) : 10.0 * draw(0, 200);
        const Typed choices[] = {{messageNumber(usual), usual},
                                 {messageNumber(usual), usual},
                                 {messageNumber(usual), usual},
                                 {messageNumber(range.most), range.most},
                                 {"1e99", 1e99},
                                 {"-5", -5},
                                 {"1e39", 1e39},
                                 {messageNumber(range.least * 1.0000001), range.least * 1.0000001}};
        return choices[draw(0, 7)];
    };
    auto inRange = [](const Typed& t, ValueRange range) {
        return t.value >= range.least && t.value <= range.most;
    };
    auto lastMessage = [&] {
        const auto& shown = platform.dialogs.messages();
        return shown.empty() ? std::string() : shown.back().text;
    };
    Model& m = p->model;
    int refusals = 0, stored = 0;
    for (int session = 0; session < 4; ++session) {
        SCOPED_TRACE("session " + std::to_string(session));
        bool changed = false;
        for (int round = 0; round < 15; ++round) {
            Model before = m;
            platform.dialogs.clearLog();
            std::string expected;          // the range message, or "" when every number is in range
            std::function<void()> correct; // what the user does after a refusal
            switch (draw(0, 2)) {
            case 0: { // "節点移動": a node picked and its three coordinates typed
                form->click("RADIO56");
                pick(draw(1, m.NodeCount));
                if (form->EditPickedNodes.empty()) continue;
                const int n = form->EditPickedNodes[0];
                Typed xyz[3];
                const char* const names[] = {"Ｘ座標", "Ｙ座標", "Ｚ座標"};
                for (int i = 0; i < 3; ++i) {
                    xyz[i] = typed(kAnyValue);
                    form->typeText(i == 0   ? "EDIT190"
                                   : i == 1 ? "EDIT191"
                                            : "EDIT192",
                                   xyz[i].text);
                    if (expected.empty() && !inRange(xyz[i], kAnyValue))
                        expected = rangeMessage(names[i], xyz[i].value, kAnyValue);
                }
                form->click("BUTTON87");
                if (expected.empty() && m.NodeX[n] != before.NodeX[n]) {
                    EXPECT_EQ(m.NodeX[n], static_cast<float>(xyz[0].value));
                    EXPECT_EQ(m.NodeZ[n], static_cast<float>(xyz[2].value));
                }
                break;
            }
            case 1: { // "ﾋﾟﾝ･ﾊﾞﾈ付/削": a member's start springs in the release form
                form->click("RADIO61");
                form->click("RADIO64");
                const int k = draw(1, m.MemberCount);
                pick(m.MemberStartNode[k]);
                pick(m.MemberEndNode[k]);
                const int chosen = form->chosenMember;
                form->click("BUTTON87");
                Form* release = p->form("FORM7");
                if (chosen == 0 || !release || !release->isOpen()) continue;
                before = m; // the member chosen; the release form stores the springs
                const Typed axial = typed(kNotNegative), turning = typed(kRotationalSpring);
                release->typeText("EDIT86", axial.text);
                release->typeText("EDIT88", turning.text);
                if (!inRange(axial, kNotNegative))
                    expected = rangeMessage("始点の軸方向のバネ定数", axial.value, kNotNegative);
                else if (!inRange(turning, kRotationalSpring))
                    expected = rangeMessage("始点の曲げ（y軸廻り）のバネ定数", turning.value,
                                            kRotationalSpring);
                release->click("BUTTON43");
                if (expected.empty()) {
                    EXPECT_EQ(m.SpringStart[chosen][1], static_cast<float>(axial.value));
                    EXPECT_EQ(m.SpringStart[chosen][5], static_cast<float>(100 * turning.value));
                } else {
                    // Only "終了" leaves the form, with numbers it takes.
                    correct = [release] {
                        ASSERT_TRUE(release->isOpen());
                        release->typeText("EDIT86", "0");
                        release->typeText("EDIT88", "0");
                        release->click("BUTTON43");
                        ASSERT_FALSE(release->isOpen());
                    };
                }
                break;
            }
            default: { // "部材性能修正": the area of type 1 typed over
                Form* property = p->openForm("FORM11");
                ASSERT_NE(property, nullptr);
                const Typed area = typed(kAnyValue);
                for (const auto& [box, text] : {std::pair<const char*, std::string>{"EDIT163", "1"},
                                                {"EDIT156", area.text},
                                                {"EDIT157", "8000"},
                                                {"EDIT162", "3000"},
                                                {"EDIT170", "500"}})
                    property->typeText(box, text);
                if (!inRange(area, kAnyValue))
                    expected = rangeMessage("断面積", area.value, kAnyValue);
                else
                    platform.dialogs.queueMessage(MessageResult::Yes); // overwrite type 1
                property->click("BUTTON62");
                if (expected.empty() && area.value > 0) {
                    EXPECT_EQ(m.TypeArea[1], static_cast<float>(area.value));
                    form->ModelModified = 1; // the types belong to the frame saved
                }
                property->close();
                break;
            }
            }
            if (expected.empty()) {
                EXPECT_EQ(lastMessage().find("が入力されました"), std::string::npos)
                    << lastMessage();
                ++stored;
                changed = true;
            } else {
                EXPECT_EQ(lastMessage(), expected);
                EXPECT_EQ(std::memcmp(static_cast<const ModelNumbers*>(&m),
                                      static_cast<const ModelNumbers*>(&before),
                                      sizeof(ModelNumbers)),
                          0)
                    << expected;
                ++refusals;
                if (correct) correct();
            }
        }
        // The end of the session saves the frame; it reads back as it was held.
        form->click("BUTTON150");
        ASSERT_FALSE(form->isOpen()) << lastMessage();
        if (!changed) continue;
        auto read = platform.files.read("edit.fdt");
        ASSERT_TRUE(read.ok) << read.error;
        Model back;
        ItemReader in(read.bytes, "edit.fdt");
        ASSERT_NO_THROW(readFrameFile(back, in));
        ASSERT_EQ(back.NodeCount, m.NodeCount);
        for (int n = 1; n <= m.NodeCount; ++n) {
            EXPECT_EQ(back.NodeX[n], storedCoordinate(m.NodeX[n])) << n;
            EXPECT_EQ(back.NodeY[n], storedCoordinate(m.NodeY[n])) << n;
            EXPECT_EQ(back.NodeZ[n], storedCoordinate(m.NodeZ[n])) << n;
        }
        for (int k = 1; k <= m.MemberCount; ++k) {
            EXPECT_NEAR(back.MemberArea[k], m.MemberArea[k], 1e-5 * std::fabs(m.MemberArea[k]));
            for (int i : {1, 5})
                EXPECT_NEAR(back.SpringStart[k][i], m.SpringStart[k][i],
                            1e-5 * m.SpringStart[k][i]);
        }
        form = dynamic_cast<Form8*>(p->openForm("FORM8"));
        ASSERT_NE(form, nullptr);
    }
    EXPECT_GE(refusals, 10);
    EXPECT_GE(stored, 10);
}

} // namespace
} // namespace rahmen
