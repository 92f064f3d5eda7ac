#include "model/Model.h"
#include "model/Limits.h"
#include "platform/Dialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace rahmen {
namespace {

std::unique_ptr<Model> freshModel() {
    return std::make_unique<Model>();
}

TEST(ModelReset, FullResetClearsEverythingButShearAreasUniformLoadsAndUnits) {
    auto m = freshModel();
    m->DataName = "frame1";
    m->NodeCount = 3;
    m->MemberCount = 2;
    m->NodeX[2] = 600;
    m->NodeIsSupport[1] = -1;
    m->TypeArea[1] = 100;
    m->TypeShearAreaY[1] = 40;
    m->TypeShearAreaZ[1] = 60;
    m->PinEndY[2] = -1;
    m->SpringStart[1][5] = 250;
    m->MemberUniformLoad[2][2] = -12.5f;
    m->MemberLoadFlag[2] = 1;
    m->NodeDisplacement[7] = 0.25;
    m->MemberEndForce[1][9] = 3;
    m->YoungModulus = 20500;
    m->FrameFileState = 2;
    m->UnitFactor = 1;
    m->HShapeTable[1] = "H-100x100";

    m->resetAll();

    EXPECT_EQ(m->DataName, "");
    EXPECT_EQ(m->NodeCount, 0);
    EXPECT_EQ(m->MemberCount, 0);
    EXPECT_EQ(m->NodeX[2], 0.0f);
    EXPECT_EQ(m->NodeIsSupport[1], 0);
    EXPECT_EQ(m->TypeArea[1], 0.0f);
    EXPECT_EQ(m->PinEndY[2], 0);
    EXPECT_EQ(m->SpringStart[1][5], 0.0f);
    EXPECT_EQ(m->MemberLoadFlag[2], 0.0f);
    EXPECT_EQ(m->NodeDisplacement[7], 0.0);
    EXPECT_EQ(m->MemberEndForce[1][9], 0.0f);
    EXPECT_EQ(m->YoungModulus, 0.0f);
    EXPECT_EQ(m->FrameFileState, 0);
    // The survivors.
    EXPECT_EQ(m->TypeShearAreaY[1], 40.0f);
    EXPECT_EQ(m->TypeShearAreaZ[1], 60.0f);
    EXPECT_EQ(m->MemberUniformLoad[2][2], -12.5f);
    EXPECT_EQ(m->UnitFactor, 1.0f);
    EXPECT_EQ(m->HShapeTable[1], "H-100x100");
}

TEST(ModelReset, AnalysisResetClearsOnlyLoadsAndResults) {
    auto m = freshModel();
    m->NodeCount = 2;
    m->NodeZ[2] = 350;
    m->MemberCount = 1;
    m->MemberStartNode[1] = 1;
    m->MemberEndNode[1] = 2;
    m->YoungModulus = 20500;
    m->NodeLoad[7] = 10;
    m->NodeLoadFlag[2] = 1;
    m->LoadedNodeCount = 1;
    m->MemberLoadFlag[1] = 1;
    m->LoadedMemberCount = 1;
    m->NodeDisplacement[8] = 0.5;
    m->MemberEndForce[1][2] = 7;
    m->AnalysisDone = 1;
    m->AnalysisFileWritten = 1;
    m->FrameFileState = 1;

    m->resetAnalysis();

    EXPECT_EQ(m->NodeLoad[7], 0.0f);
    EXPECT_EQ(m->NodeLoadFlag[2], 0.0f);
    EXPECT_EQ(m->LoadedNodeCount, 0);
    EXPECT_EQ(m->MemberLoadFlag[1], 0.0f);
    EXPECT_EQ(m->LoadedMemberCount, 0.0f);
    EXPECT_EQ(m->NodeDisplacement[8], 0.0);
    EXPECT_EQ(m->MemberEndForce[1][2], 0.0f);
    EXPECT_EQ(m->AnalysisDone, 0);
    EXPECT_EQ(m->AnalysisFileWritten, 0);
    // The frame stays.
    EXPECT_EQ(m->NodeCount, 2);
    EXPECT_EQ(m->NodeZ[2], 350.0f);
    EXPECT_EQ(m->MemberEndNode[1], 2);
    EXPECT_EQ(m->YoungModulus, 20500.0f);
    EXPECT_EQ(m->FrameFileState, 1);
}

TEST(ModelMembers, ChangingATypeLaterLeavesMembersAlreadyEnteredUnchanged) {
    auto m = freshModel();
    m->TypeArea[3] = 120;
    m->TypeIy[3] = 9000;
    m->TypeIz[3] = 3000;
    m->TypeJ[3] = 500;
    m->TypeShearAreaY[3] = 50;
    m->TypeShearAreaZ[3] = 70;
    m->copyTypeToMember(5, 3);
    m->TypeArea[3] = 999;
    EXPECT_EQ(m->MemberArea[5], 120.0f);
    EXPECT_EQ(m->MemberIy[5], 9000.0f);
    EXPECT_EQ(m->MemberIz[5], 3000.0f);
    EXPECT_EQ(m->MemberJ[5], 500.0f);
    EXPECT_EQ(m->MemberShearAreaY[5], 50.0f);
    EXPECT_EQ(m->MemberShearAreaZ[5], 70.0f);
}

TEST(ModelSummaries, PinsAtBothEndsCountTwiceAndClearingOneEndSubtractsOne) {
    auto m = freshModel();
    m->MemberCount = 1;
    m->PinStartY[1] = -1;
    m->PinEndZ[1] = -1;
    m->updateEndSummaries(1);
    EXPECT_EQ(m->PinnedEndCount, 2);
    EXPECT_EQ(m->MemberStartPinned[1], 1);
    EXPECT_EQ(m->MemberEndPinned[1], 1);

    m->PinStartY[1] = 0;
    m->updateEndSummaries(1);
    EXPECT_EQ(m->PinnedEndCount, 1);
    EXPECT_EQ(m->MemberStartPinned[1], 0);

    // Running the update again without a change moves nothing.
    m->updateEndSummaries(1);
    EXPECT_EQ(m->PinnedEndCount, 1);
}

TEST(ModelSummaries, ZeroSpringConstantsDoNotCountAndRecountRepairsADriftedCount) {
    auto m = freshModel();
    m->MemberCount = 2;
    for (int k = 1; k <= 6; ++k)
        m->SpringStart[1][k] = 0;
    m->updateEndSummaries(1);
    EXPECT_EQ(m->MemberStartSprung[1], 0);
    EXPECT_EQ(m->SprungEndCount, 0);

    m->SpringEnd[2][5] = 250;
    m->SpringStart[2][1] = 1000;
    m->updateEndSummaries(2);
    EXPECT_EQ(m->SprungEndCount, 2);

    m->SprungEndCount = 0; // as a form that zeroes the count would leave it
    m->recountEndSummaries();
    EXPECT_EQ(m->SprungEndCount, 2);
}

TEST(ModelNames, DataNameFromAnyFolderKeepsInnerDots) {
    EXPECT_EQ(dataNameFromPath("/home/user/frames/frame1.fdt"), "frame1");
    EXPECT_EQ(dataNameFromPath("C:\\data\\old\\frame1.fdt"), "frame1");
    EXPECT_EQ(dataNameFromPath("frame1.fdt"), "frame1");
    EXPECT_EQ(dataNameFromPath("/tmp/my.frame.v2.adt"), "my.frame.v2");
    EXPECT_EQ(dataNameFromPath("/tmp/ab"), "");
    EXPECT_EQ(fileNameOfPath("C:\\data/old\\frame1.adt"), "frame1.adt");
    EXPECT_EQ(fileNameOfPath("/tmp/"), "");
}

// The rectangle and steel type counts follow a type's change of section kind.
TEST(ModelNames, KindCountsFollowASectionKindChange) {
    struct Case {
        int oldKind, newKind;
        int16_t rect, steel, rectAfter, steelAfter;
    };
    for (const Case& c : {
             Case{kSectionNumeric, kSectionRectangle, 0, 0, 1, 0},
             Case{kSectionRectangle, kSectionHShape, 2, 1, 1, 2},
             Case{kSectionSquarePipe, kSectionRoundPipe, 0, 3, 0, 3},
             Case{kSectionRoundPipe, kSectionNumeric, 1, 3, 1, 2},
             Case{kSectionHShape, kSectionRectangle, 0, 1, 1, 0},
             Case{kSectionRectangle, kSectionRectangle, 1, 0, 1, 0},
             Case{kSectionRectangle, kSectionNumeric, 0, 0, 0, 0}, // a count at 0 stays 0
         }) {
        auto m = freshModel();
        m->RectTypeCount = c.rect;
        m->SteelTypeCount = c.steel;
        countSectionKindChange(*m, c.oldKind, c.newKind);
        EXPECT_EQ(m->RectTypeCount, c.rectAfter) << c.oldKind << " -> " << c.newKind;
        EXPECT_EQ(m->SteelTypeCount, c.steelAfter) << c.oldKind << " -> " << c.newKind;
    }
}

// A member counts as within the tables only when its number and both end nodes
// lie inside the counts, and the counts inside the tables, whatever a file
// left in them.
TEST(ModelNames, MemberWithinTheTables) {
    auto m = std::make_unique<Model>();
    m->NodeCount = 3;
    m->MemberCount = 2;
    m->MemberStartNode[1] = 1;
    m->MemberEndNode[1] = 3;
    m->MemberStartNode[2] = 2;
    m->MemberEndNode[2] = 4; // beyond NodeCount
    m->MemberStartNode[3] = 1;
    m->MemberEndNode[3] = 2; // a member beyond MemberCount
    struct Case {
        int16_t nodes, members;
        int member;
        bool within;
    };
    for (const Case& c :
         {Case{3, 2, 1, true}, Case{3, 2, 2, false}, Case{4, 2, 2, true}, Case{3, 2, 3, false},
          Case{3, 3, 3, true}, Case{3, 2, 0, false}, Case{2, 2, 1, false}, Case{-1, 2, 1, false}}) {
        m->NodeCount = c.nodes;
        m->MemberCount = c.members;
        EXPECT_EQ(memberDrawable(*m, c.member), c.within)
            << "nodes " << c.nodes << " members " << c.members << " member " << c.member;
    }
    m->NodeCount = 32000;
    m->MemberCount = 32000;
    EXPECT_EQ(drawableNodeCount(*m), kMaxNodes);
    EXPECT_EQ(drawableMemberCount(*m), kMaxMembers);
    EXPECT_FALSE(memberDrawable(*m, kMaxMembers + 1));
}

class RecordingDialogs : public Dialogs {
public:
    std::vector<std::string> texts;
    MessageResult message(const std::string&, const std::string& text, MessageButtons,
                          MessageIcon) override {
        texts.push_back(text);
        return MessageResult::Ok;
    }
    std::optional<std::string> input(const std::string&, const std::string&,
                                     const std::string&) override {
        return std::nullopt;
    }
    std::optional<std::string> openFile(const std::string&, const std::string&,
                                        const std::string&) override {
        return std::nullopt;
    }
    void help(const std::string&, const std::string&) override {}
};

TEST(ModelLimits, CountsAboveTheLimitAreRefusedWithAMessageNamingTheLimit) {
    RecordingDialogs d;
    EXPECT_TRUE(checkLimit(d, "節点数", 1500, kMaxNodes));
    EXPECT_TRUE(checkLimit(d, "節点数", 0, kMaxNodes));
    EXPECT_TRUE(d.texts.empty());
    EXPECT_FALSE(checkLimit(d, "節点数", 1501, kMaxNodes));
    ASSERT_EQ(d.texts.size(), 1u);
    EXPECT_EQ(d.texts[0], "節点数は 1500 までです（1501 が指定されました）。");
    EXPECT_FALSE(checkLimit(d, "部材数", -1, kMaxMembers));
    EXPECT_EQ(d.texts.size(), 2u);
}

} // namespace
} // namespace rahmen
