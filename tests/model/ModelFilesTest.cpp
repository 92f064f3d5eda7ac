#include "model/ModelFiles.h"
#include "model/Limits.h"
#include "model/Model.h"
#include "model/Program.h"
#include "platform/ScriptedPlatform.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>

namespace rahmen {
namespace {

const DateTime kWhen{2026, 12, 8, 10, 20, 30};

// The main menu's buttons and unit radios that the file handlers touch.
class Menu : public Form {
public:
    Menu() : Form("MAINFORM", "プログラムメニュー", 400, 300) {
        for (const char* name :
             {"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON92", "BUTTON93", "BUTTON70", "BUTTON28"})
            addButton(name, name, 0, 0, 10, 10).enabled = false;
        for (const char* name : {"BUTTON27", "BUTTON91", "BUTTON52", "BUTTON68", "BUTTON84"})
            addButton(name, name, 0, 0, 10, 10);
        addRadio("RADIO65", "SI単位", 0, 0, 10, 10, "units").checked = true;
        addRadio("RADIO66", "旧単位", 0, 0, 10, 10, "units");
    }
};

std::string fixture(const std::string& name) {
    std::ifstream in(std::string(RAHMEN_FIXTURES) + "/model_files/" + name, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The small frame of the golden files: three nodes, two supports, an H-shape
// type and a rectangle type, a member pinned at both ends and one with a
// rotational and an axial spring at its start.
void fillSample(Model& m) {
    m.DataName = "sample";
    m.NodeCount = 3;
    m.MemberCount = 2;
    m.SupportCount = 2;
    m.MemberTypeCount = 2;
    m.NodeX[2] = 250.6f;
    m.NodeY[2] = -120;
    m.NodeX[3] = 250;
    m.NodeZ[3] = 350;
    m.NodeIsSupport[1] = -1;
    m.NodeIsSupport[2] = -1;
    m.TypeArea[1] = 11.85f;
    m.TypeIy[1] = 187;
    m.TypeIz[1] = 14.8f;
    m.TypeJ[1] = 1.5017f;
    m.TypeShearAreaY[1] = 4.3f;
    m.TypeShearAreaZ[1] = 7;
    m.TypeSectionKind[1] = 2;
    m.TypeSteelNo[1] = 0;
    m.HShapeTable[0] = "\x82\x67-100x 50x 5 x 7   7    11.85";
    m.TypeArea[2] = 2400;
    m.TypeIy[2] = 720000;
    m.TypeIz[2] = 320000;
    m.TypeShearAreaY[2] = 2000;
    m.TypeShearAreaZ[2] = 2000;
    m.TypeSectionKind[2] = 1;
    m.TypeRectA[2] = 60;
    m.TypeRectB[2] = 40;
    m.MemberStartNode[1] = 1;
    m.MemberEndNode[1] = 3;
    m.MemberTypeNo[1] = 1;
    m.copyTypeToMember(1, 1);
    m.MemberAngle[1] = -0.5f;
    m.PinStartY[1] = -1;
    m.PinEndZ[1] = -1;
    m.MemberStartNode[2] = 2;
    m.MemberEndNode[2] = 3;
    m.MemberTypeNo[2] = 2;
    m.copyTypeToMember(2, 2);
    m.MemberAngle[2] = 1.5708f;
    m.SpringStart[2][6] = 250; // 2.5 kN·m/rad
    m.SpringStart[2][1] = 1000;
    m.updateEndSummaries(1);
    m.updateEndSummaries(2);
}

std::unique_ptr<Model> sample() {
    auto m = std::make_unique<Model>();
    fillSample(*m);
    return m;
}

std::unique_ptr<Model> readFrame(const std::string& bytes, UnitLine* unit = nullptr) {
    auto m = std::make_unique<Model>();
    ItemReader in(bytes, "sample.fdt");
    UnitLine u = readFrameFile(*m, in);
    if (unit) *unit = u;
    return m;
}

// Replaces the one occurrence of `from` (UTF-8, converted) in CP932 bytes.
std::string replaced(std::string bytes, const std::string& from, const std::string& to) {
    const std::string f = utf8ToCp932(from);
    const auto at = bytes.find(f);
    EXPECT_NE(at, std::string::npos) << from;
    EXPECT_EQ(bytes.find(f, at + 1), std::string::npos) << from;
    if (at != std::string::npos) bytes.replace(at, f.size(), utf8ToCp932(to));
    return bytes;
}

void expectFrameError(const std::string& bytes, int line, const std::string& part) {
    try {
        readFrame(bytes);
        ADD_FAILURE() << "read without error, expected: " << part;
    } catch (const DataFileError& e) {
        EXPECT_EQ(e.line(), line) << e.what();
        EXPECT_NE(std::string(e.what()).find("sample.fdt"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(part), std::string::npos) << e.what();
    }
}

// ---------------------------------------------------------------------------
// Contents

TEST(ModelFileContents, GoldenCoordinateFile) {
    EXPECT_EQ(coordinateFileBytes(*sample(), kWhen), fixture("sample.cdt"));
}

TEST(ModelFileContents, GoldenFrameFile) {
    EXPECT_EQ(frameFileBytes(*sample(), kWhen), fixture("sample.fdt"));
}

TEST(ModelFileContents, CoordinateFileReadsBackCountsAndWholeCentimetres) {
    auto m = std::make_unique<Model>();
    ItemReader in(fixture("sample.cdt"), "sample.cdt");
    readCoordinateFile(*m, in);
    EXPECT_TRUE(in.atEnd());
    EXPECT_EQ(m->NodeCount, 3);
    EXPECT_EQ(m->MemberCount, 2);
    EXPECT_EQ(m->SupportCount, 2);
    EXPECT_EQ(m->MemberTypeCount, 2);
    EXPECT_EQ(m->NodeX[2], 251.0f); // typed as 250.6
    EXPECT_EQ(m->NodeY[2], -120.0f);
    EXPECT_EQ(m->NodeZ[3], 350.0f);
    EXPECT_EQ(m->DataName, ""); // the name in the file is not used
}

TEST(ModelFileContents, FrameFileReadsBackTheSample) {
    UnitLine unit{};
    auto m = readFrame(fixture("sample.fdt"), &unit);
    EXPECT_EQ(unit, UnitLine::Si);
    EXPECT_EQ(m->NodeX[2], 251.0f);
    EXPECT_EQ(m->NodeIsSupport[1], -1);
    EXPECT_EQ(m->NodeIsSupport[2], -1);
    EXPECT_EQ(m->NodeIsSupport[3], 0);
    EXPECT_EQ(m->PinnedEndCount, 2);
    EXPECT_EQ(m->SprungEndCount, 1);
    EXPECT_EQ(m->RectTypeCount, 1);
    EXPECT_EQ(m->SteelTypeCount, 1);
    EXPECT_EQ(m->HShapeTable[0], "\x82\x67-100x 50x 5 x 7"); // the designation alone
    EXPECT_EQ(m->PinStartY[1], -1);
    EXPECT_EQ(m->PinEndZ[1], -1);
    EXPECT_EQ(m->PinStartX[1], 0);
    EXPECT_FLOAT_EQ(m->MemberAngle[1], -0.5f);
    EXPECT_FLOAT_EQ(m->SpringStart[2][6], 250.0f);
    EXPECT_FLOAT_EQ(m->SpringStart[2][1], 1000.0f);
}

// A frame with every feature, in the given unit system.
std::unique_ptr<Model> everyFeature(bool springs, float unitFactor) {
    auto m = sample();
    m->UnitFactor = unitFactor;
    m->DataName = "every";
    m->NodeCount = 6;
    m->NodeX[4] = -300;
    m->NodeY[4] = 400;
    m->NodeZ[4] = 700;
    m->NodeX[5] = 1200;
    m->NodeZ[5] = 700;
    m->NodeX[6] = 99999; // the largest whole value of five digit positions
    m->NodeY[6] = -9999;
    m->NodeIsSupport[4] = -1;
    m->SupportCount = 3;
    m->MemberTypeCount = 5;
    m->TypeArea[3] = 2.392f; // square pipe row 0
    m->TypeIy[3] = m->TypeIz[3] = 5.79f;
    m->TypeJ[3] = 9.0597f;
    m->TypeShearAreaY[3] = m->TypeShearAreaZ[3] = 1.2288f;
    m->TypeSectionKind[3] = 3;
    m->TypeSteelNo[3] = 56;
    m->SquarePipeTable[56] = "\x81\xA0-400x400x16.0P    186    237.0";
    m->TypeArea[4] = 138.8f; // round pipe row 73
    m->TypeIy[4] = m->TypeIz[4] = 41800;
    m->TypeJ[4] = 83600;
    m->TypeShearAreaY[4] = m->TypeShearAreaZ[4] = 69.4f;
    m->TypeSectionKind[4] = 4;
    m->TypeSteelNo[4] = 73;
    m->RoundPipeTable[73] = "\x81\x9B-500   x 9.0       109";
    m->TypeArea[5] = 100; // numeric entry
    m->TypeIy[5] = 833.33f;
    m->TypeIz[5] = 1234.5f;
    m->TypeJ[5] = 1406.2f;
    m->TypeShearAreaY[5] = m->TypeShearAreaZ[5] = 83.33f;
    m->MemberCount = 5;
    const int ends[][3] = {{3, 4, 3}, {4, 5, 4}, {5, 6, 5}};
    for (int k = 0; k < 3; ++k) {
        const int i = 3 + k;
        m->MemberStartNode[i] = static_cast<int16_t>(ends[k][0]);
        m->MemberEndNode[i] = static_cast<int16_t>(ends[k][1]);
        m->MemberTypeNo[i] = static_cast<int16_t>(ends[k][2]);
        m->copyTypeToMember(i, ends[k][2]);
    }
    m->MemberAngle[3] = 0.7854f;
    m->PinEndX[4] = -1; // one end only
    m->PinEndY[4] = -1;
    if (springs) {
        m->SpringEnd[3][4] = 1250; // 12.5 force·m/rad
        m->SpringEnd[3][5] = 30;
        m->SpringStart[5][1] = 0.75f;
        m->SpringEnd[5][6] = 1.0e6f; // 10000 force·m/rad
    } else {
        m->SpringStart[2][6] = 0;
        m->SpringStart[2][1] = 0;
    }
    for (int i = 1; i <= 5; ++i)
        m->updateEndSummaries(i);
    return m;
}

void expectSameFrame(const Model& a, const Model& b) {
    EXPECT_EQ(a.NodeCount, b.NodeCount);
    EXPECT_EQ(a.MemberCount, b.MemberCount);
    EXPECT_EQ(a.SupportCount, b.SupportCount);
    EXPECT_EQ(a.MemberTypeCount, b.MemberTypeCount);
    EXPECT_EQ(a.PinnedEndCount, b.PinnedEndCount);
    EXPECT_EQ(a.SprungEndCount, b.SprungEndCount);
    for (int i = 1; i <= a.NodeCount; ++i) {
        EXPECT_EQ(std::round(a.NodeX[i]), b.NodeX[i]) << "node " << i;
        EXPECT_EQ(std::round(a.NodeY[i]), b.NodeY[i]) << "node " << i;
        EXPECT_EQ(std::round(a.NodeZ[i]), b.NodeZ[i]) << "node " << i;
        EXPECT_EQ(a.NodeIsSupport[i], b.NodeIsSupport[i]) << "node " << i;
    }
    for (int t = 1; t <= a.MemberTypeCount; ++t) {
        EXPECT_NEAR(a.TypeArea[t], b.TypeArea[t], 0.005) << "type " << t;
        EXPECT_FLOAT_EQ(a.TypeIy[t], b.TypeIy[t]) << "type " << t;
        EXPECT_FLOAT_EQ(a.TypeIz[t], b.TypeIz[t]) << "type " << t;
        EXPECT_FLOAT_EQ(a.TypeJ[t], b.TypeJ[t]) << "type " << t;
        EXPECT_NEAR(a.TypeShearAreaY[t], b.TypeShearAreaY[t], 0.005) << "type " << t;
        EXPECT_NEAR(a.TypeShearAreaZ[t], b.TypeShearAreaZ[t], 0.005) << "type " << t;
        EXPECT_EQ(a.TypeSectionKind[t], b.TypeSectionKind[t]) << "type " << t;
        if (a.TypeSectionKind[t] >= 2) {
            EXPECT_EQ(a.TypeSteelNo[t], b.TypeSteelNo[t]) << "type " << t;
        }
        if (a.TypeSectionKind[t] == 1) {
            EXPECT_EQ(a.TypeRectA[t], b.TypeRectA[t]);
            EXPECT_EQ(a.TypeRectB[t], b.TypeRectB[t]);
        }
    }
    for (int i = 1; i <= a.MemberCount; ++i) {
        EXPECT_EQ(a.MemberStartNode[i], b.MemberStartNode[i]) << "member " << i;
        EXPECT_EQ(a.MemberEndNode[i], b.MemberEndNode[i]) << "member " << i;
        EXPECT_EQ(a.MemberTypeNo[i], b.MemberTypeNo[i]) << "member " << i;
        EXPECT_NEAR(a.MemberAngle[i], b.MemberAngle[i], 5e-5) << "member " << i;
        EXPECT_NEAR(a.MemberArea[i], b.MemberArea[i], 0.005) << "member " << i;
        EXPECT_FLOAT_EQ(a.MemberIy[i], b.MemberIy[i]) << "member " << i;
        EXPECT_FLOAT_EQ(a.MemberIz[i], b.MemberIz[i]) << "member " << i;
        EXPECT_FLOAT_EQ(a.MemberJ[i], b.MemberJ[i]) << "member " << i;
        EXPECT_NEAR(a.MemberShearAreaY[i], b.MemberShearAreaY[i], 0.005) << "member " << i;
        EXPECT_NEAR(a.MemberShearAreaZ[i], b.MemberShearAreaZ[i], 0.005) << "member " << i;
        EXPECT_EQ(a.MemberStartPinned[i], b.MemberStartPinned[i]) << "member " << i;
        EXPECT_EQ(a.MemberEndPinned[i], b.MemberEndPinned[i]) << "member " << i;
        EXPECT_EQ(a.MemberStartSprung[i], b.MemberStartSprung[i]) << "member " << i;
        EXPECT_EQ(a.MemberEndSprung[i], b.MemberEndSprung[i]) << "member " << i;
        EXPECT_EQ(a.PinStartX[i], b.PinStartX[i]) << "member " << i;
        EXPECT_EQ(a.PinStartY[i], b.PinStartY[i]) << "member " << i;
        EXPECT_EQ(a.PinStartZ[i], b.PinStartZ[i]) << "member " << i;
        EXPECT_EQ(a.PinEndX[i], b.PinEndX[i]) << "member " << i;
        EXPECT_EQ(a.PinEndY[i], b.PinEndY[i]) << "member " << i;
        EXPECT_EQ(a.PinEndZ[i], b.PinEndZ[i]) << "member " << i;
        for (int k : {1, 4, 5, 6}) {
            EXPECT_FLOAT_EQ(a.SpringStart[i][k], b.SpringStart[i][k]) << i << "," << k;
            EXPECT_FLOAT_EQ(a.SpringEnd[i][k], b.SpringEnd[i][k]) << i << "," << k;
        }
    }
}

TEST(ModelFileContents, RoundTripOfEveryFeatureInEachUnitSystem) {
    struct Case {
        bool springs;
        float unitFactor;
        UnitLine unit;
    };
    for (const Case& c :
         {Case{true, kSiUnitFactor, UnitLine::Si}, Case{true, 1.0f, UnitLine::Older},
          Case{false, kSiUnitFactor, UnitLine::Common}, Case{false, 1.0f, UnitLine::Common}}) {
        SCOPED_TRACE(testing::Message() << "springs " << c.springs << " units " << c.unitFactor);
        auto m = everyFeature(c.springs, c.unitFactor);
        const std::string bytes = frameFileBytes(*m, kWhen);
        UnitLine unit{};
        auto back = readFrame(bytes, &unit);
        EXPECT_EQ(unit, c.unit);
        EXPECT_EQ(back->SprungEndCount, c.springs ? 4 : 0);
        EXPECT_EQ(back->PinnedEndCount, 3);
        EXPECT_EQ(back->SupportCount, 3);
        EXPECT_EQ(back->SteelTypeCount, 3);
        EXPECT_EQ(back->RectTypeCount, 1);
        expectSameFrame(*m, *back);
        EXPECT_EQ(back->SquarePipeTable[56], "\x81\xA0-400x400x16.0P");
        EXPECT_EQ(back->RoundPipeTable[73], "\x81\x9B-500   x 9.0");
        // Written again from what was read, the file is the same.
        back->DataName = m->DataName;
        back->UnitFactor = m->UnitFactor;
        EXPECT_EQ(frameFileBytes(*back, kWhen), bytes);
    }
}

TEST(ModelFileContents, MemberPinnedAtBothEndsIsListedOnceAndCountsTwice) {
    const std::string bytes = frameFileBytes(*sample(), kWhen);
    EXPECT_NE(bytes.find(utf8ToCp932("ﾋﾟﾝ接合数: 2 ")), std::string::npos);
    const std::string record = "\r\n    1       1      0       -1        0 \r\n"
                               "        3                                             0        0"
                               "       -1 \r\n\r\n\r\n";
    EXPECT_NE(bytes.find(record), std::string::npos);
    // One record read for the two ends: the spring list after it still reads.
    auto m = readFrame(bytes);
    EXPECT_FLOAT_EQ(m->SpringStart[2][6], 250.0f);
}

TEST(ModelFileContents, RotationalSpringIsWrittenPerMetreAndReadBackPerCentimetre) {
    const std::string bytes = frameFileBytes(*sample(), kWhen);
    EXPECT_NE(
        bytes.find("    2      2          0.000E+00    0.000E+00    2.500E+00    1.000E+03\r\n"),
        std::string::npos);
    EXPECT_FLOAT_EQ(readFrame(bytes)->SpringStart[2][6], 250.0f);
}

TEST(ModelFileContents, CountsStateWhatIsListedNotDriftedCounters) {
    auto m = sample();
    m->SprungEndCount = 0; // as the member form leaves it
    m->PinnedEndCount = 7;
    m->SupportCount = 5;
    m->RectTypeCount = 0;
    m->SteelTypeCount = 2;
    const std::string bytes = frameFileBytes(*m, kWhen);
    EXPECT_NE(bytes.find(utf8ToCp932("SI単位")), std::string::npos);
    EXPECT_NE(bytes.find(utf8ToCp932(" 支持点数: 2   ﾋﾟﾝ接合数: 2  ﾊﾞﾈ接合数: 1 ")),
              std::string::npos);
    EXPECT_NE(bytes.find(utf8ToCp932("無指定(0) : 0             長方形断面(1) : 1           "
                                     "形鋼(2～4) : 1 ")),
              std::string::npos);
    auto back = readFrame(bytes);
    EXPECT_EQ(back->SprungEndCount, 1);
    EXPECT_EQ(back->SupportCount, 2);
    EXPECT_FLOAT_EQ(back->SpringStart[2][6], 250.0f);
    EXPECT_FLOAT_EQ(back->TypeRectA[2], 60.0f);
}

TEST(ModelFileContents, ValuesTooWideForTheirFieldsStillReadBack) {
    auto m = sample();
    m->NodeX[1] = 123456;
    m->NodeY[1] = -12345;
    m->NodeZ[1] = 99999.5f;
    m->NodeX[3] = -99999;
    m->MemberAngle[1] = 12.5f;
    m->MemberAngle[2] = -1.5f;
    m->TypeArea[1] = 123456789.0f;
    m->NodeCount = 1500; // a member's node numbers name nodes of the frame
    m->MemberStartNode[2] = 1500;
    const std::string bytes = frameFileBytes(*m, kWhen);
    auto back = readFrame(bytes);
    EXPECT_EQ(back->NodeX[1], 123456.0f);
    EXPECT_EQ(back->NodeY[1], -12345.0f);
    EXPECT_EQ(back->NodeZ[1], 100000.0f);
    EXPECT_EQ(back->NodeX[3], -99999.0f);
    EXPECT_FLOAT_EQ(back->MemberAngle[1], 12.5f);
    EXPECT_FLOAT_EQ(back->MemberAngle[2], -1.5f);
    EXPECT_FLOAT_EQ(back->TypeArea[1], 123456789.0f);
    EXPECT_EQ(back->MemberStartNode[2], 1500);
    EXPECT_EQ(back->MemberEndNode[2], 3);

    auto c = std::make_unique<Model>();
    ItemReader in(coordinateFileBytes(*m, kWhen), "sample.cdt");
    readCoordinateFile(*c, in);
    EXPECT_EQ(c->NodeY[1], -12345.0f);
    EXPECT_EQ(c->NodeX[3], -99999.0f);
}

TEST(ModelFileContents, DataNameWithCommaAndColonKeepsTheItemsInPlace) {
    auto m = sample();
    m->DataName = "a,b:c";
    auto back = readFrame(frameFileBytes(*m, kWhen));
    EXPECT_EQ(back->NodeCount, 3);
    EXPECT_FLOAT_EQ(back->SpringStart[2][6], 250.0f);
    auto c = std::make_unique<Model>();
    ItemReader in(coordinateFileBytes(*m, kWhen), "x.cdt");
    readCoordinateFile(*c, in);
    EXPECT_EQ(c->NodeX[2], 251.0f);
}

TEST(ModelFileContents, SteelTypeWhoseTableRowIsEmptyStillReadsBack) {
    auto m = sample();
    m->HShapeTable[0].clear(); // no section form opened since start-up
    const std::string bytes = frameFileBytes(*m, kWhen);
    EXPECT_NE(bytes.find("   1         0           -                \r\n"), std::string::npos);
    auto back = readFrame(bytes);
    EXPECT_EQ(back->HShapeTable[0], "-");
    EXPECT_FLOAT_EQ(back->TypeRectA[2], 60.0f);
    EXPECT_EQ(back->MemberEndNode[2], 3);

    m->HShapeTable[0] = "   \x82\x67-100x 50x 5";
    EXPECT_EQ(readFrame(frameFileBytes(*m, kWhen))->HShapeTable[0], "\x82\x67-100x 50x 5");
}

TEST(ModelFileContents, ValueThatCannotBeWrittenIsRefused) {
    auto m = sample();
    m->NodeZ[2] = std::numeric_limits<float>::infinity();
    EXPECT_THROW(frameFileBytes(*m, kWhen), DataFileError);
    EXPECT_THROW(coordinateFileBytes(*m, kWhen), DataFileError);
}

// ---------------------------------------------------------------------------
// Malformed files

TEST(ModelFileContents, EveryTruncatedFrameFileEndsWithAnError) {
    const std::string bytes = fixture("sample.fdt");
    const std::size_t lastLine = bytes.rfind("\r\n", bytes.size() - 3) + 2;
    for (std::size_t n = 0; n < lastLine; ++n)
        EXPECT_THROW(readFrame(bytes.substr(0, n)), DataFileError) << "cut at " << n;
}

TEST(ModelFileContents, EveryTruncatedCoordinateFileEndsWithAnError) {
    const std::string bytes = fixture("sample.cdt");
    const std::size_t lastLine = bytes.rfind("\r\n", bytes.size() - 3) + 2;
    for (std::size_t n = 0; n < lastLine; ++n) {
        auto m = std::make_unique<Model>();
        ItemReader in(bytes.substr(0, n), "sample.cdt");
        EXPECT_THROW(readCoordinateFile(*m, in), DataFileError) << "cut at " << n;
    }
}

TEST(ModelFileContents, NumbersOutsideTheTablesStopTheReadingAtTheirLine) {
    const std::string good = fixture("sample.fdt");
    expectFrameError(replaced(good, " 節点数: 3 ", " 節点数: 1501 "), 13, "1500");
    expectFrameError(replaced(good, "部材数: 2 ", "部材数: 3001 "), 13, "3000");
    expectFrameError(replaced(good, "部材ﾀｲﾌﾟ数: 2 ", "部材ﾀｲﾌﾟ数: 101 "), 13, "100");
    expectFrameError(replaced(good, "支持点数: 2 ", "支持点数: -1 "), 13, "-1");
    expectFrameError(replaced(good, " 節点数: 3 ", " 節点数: 2.5 "), 13, "2.5");
    expectFrameError(replaced(good, "      3           250              0            350",
                              "   1501           250              0            350"),
                     21, "1501");
    expectFrameError(replaced(good, "7.00        2\r\n", "7.00        9\r\n"), 35, "9");
    expectFrameError(replaced(good, "   1         0           Ｈ", "   1       101           Ｈ"),
                     44, "101");
    expectFrameError(replaced(good, "   2           2          2 ", "   2        1501          2 "),
                     58, "1501");
    expectFrameError(replaced(good, "    1       1      0 ", " 3001       1      0 "), 65, "3001");
    expectFrameError(
        replaced(good, "    2      2          0.000E+00", "    0      2          0.000E+00"), 72,
        "0");
    expectFrameError(replaced(good, "1.000E+03", "1.000E+99"), 72, "");
    expectFrameError(replaced(good, "-.5000", "-.5x00"), 57, "-.5x00");
}

TEST(ModelFileContents, ReadingAFrameClearsSupportsAndReleasesOfTheModelBefore) {
    auto m = std::make_unique<Model>();
    m->NodeIsSupport[3] = -1;
    m->PinEndX[2] = -1;
    m->SpringEnd[1][5] = 77;
    ItemReader in(fixture("sample.fdt"), "sample.fdt");
    readFrameFile(*m, in);
    EXPECT_EQ(m->NodeIsSupport[3], 0);
    EXPECT_EQ(m->PinEndX[2], 0);
    EXPECT_EQ(m->SpringEnd[1][5], 0.0f);
}

// ---------------------------------------------------------------------------
// Handlers

struct Session {
    ScriptedPlatform platform;
    std::unique_ptr<Program> program = Program::create(platform.services());
    Menu menu;
    Session() {
        program->mainMenu = &menu;
        platform.desktop.show(menu);
    }
    Model& model() { return program->model; }
    bool exists(const std::string& name) { return platform.files.exists(name); }
    std::string read(const std::string& name) { return platform.files.read(name).bytes; }
    // The lines the progress window printed, by text row.
    std::vector<std::pair<int, std::string>> progressLines() {
        std::vector<std::pair<int, std::string>> lines;
        for (const Primitive& p : program->progress.picture()->items())
            lines.emplace_back(static_cast<int>(p.y1) / Canvas::RowHeight, p.text);
        return lines;
    }
};

TEST(ModelFileHandlers, CoordinateFileIsWrittenThenOverwrittenAfterAMessage) {
    Session s;
    fillSample(s.model());
    EXPECT_TRUE(BUTTON69_ON(*s.program));
    EXPECT_EQ(s.read("sample.cdt"), fixture("sample.cdt"));
    EXPECT_EQ(s.model().CoordFileState, 1);
    EXPECT_TRUE(s.platform.dialogs.messages().empty());
    EXPECT_FALSE(s.program->progress.isOpen());
    const std::vector<std::pair<int, std::string>> progress{{4, "　　　座標データ書込み中"}};
    EXPECT_EQ(s.progressLines(), progress);

    s.model().NodeX[1] = 5;
    EXPECT_TRUE(BUTTON69_ON(*s.program));
    ASSERT_EQ(s.platform.dialogs.messages().size(), 1u);
    const MessageCall& msg = s.platform.dialogs.messages()[0];
    EXPECT_EQ(msg.title, "rahmen");
    EXPECT_EQ(msg.text, "既存のﾃﾞｰﾀがありますﾃﾞｨﾚｸﾄﾘｰより移動してＯＫを押してください。");
    EXPECT_EQ(msg.buttons, MessageButtons::Ok);
    EXPECT_EQ(msg.icon, MessageIcon::Exclamation);
    EXPECT_NE(s.read("sample.cdt"), fixture("sample.cdt"));
    EXPECT_FALSE(s.exists("sample.cdt.tmp"));
}

TEST(ModelFileHandlers, FrameFileDeletesTheCoordinateFile) {
    Session s;
    fillSample(s.model());
    ASSERT_TRUE(BUTTON69_ON(*s.program));
    EXPECT_TRUE(BUTTON70_ON(*s.program));
    EXPECT_FALSE(s.exists("sample.cdt"));
    EXPECT_EQ(s.read("sample.fdt"), fixture("sample.fdt"));
    EXPECT_EQ(s.model().CoordFileState, 0);
    EXPECT_EQ(s.model().FrameFileState, 1);
    const std::vector<std::pair<int, std::string>> progress{{4, "　　　座標／骨組データ書込み中"}};
    EXPECT_EQ(s.progressLines(), progress);
    // SI units with springs: the older-units button is locked.
    EXPECT_TRUE(s.menu.c("RADIO65").enabled);
    EXPECT_FALSE(s.menu.c("RADIO66").enabled);
}

TEST(ModelFileHandlers, FailedFrameWriteChangesNothing) {
    Session s;
    fillSample(s.model());
    ASSERT_TRUE(BUTTON69_ON(*s.program));
    std::filesystem::create_directory(s.platform.files.path("sample.fdt"));
    EXPECT_FALSE(BUTTON70_ON(*s.program));
    ASSERT_EQ(s.platform.dialogs.messages().size(), 1u);
    EXPECT_NE(s.platform.dialogs.messages()[0].text.find("sample.fdt"), std::string::npos);
    EXPECT_TRUE(s.exists("sample.cdt"));
    EXPECT_EQ(s.model().CoordFileState, 1);
    EXPECT_EQ(s.model().FrameFileState, 0);
    EXPECT_TRUE(s.menu.c("RADIO66").enabled);
    EXPECT_FALSE(s.program->progress.isOpen());
}

TEST(ModelFileHandlers, DriftedSpringCountIsRecountedBeforeWriting) {
    Session s;
    fillSample(s.model());
    s.model().SprungEndCount = 0;
    ASSERT_TRUE(BUTTON70_ON(*s.program));
    EXPECT_EQ(s.model().SprungEndCount, 1);
    EXPECT_FALSE(s.menu.c("RADIO66").enabled);
}

TEST(ModelFileHandlers, SpringsInOlderUnitsLockSiAndReadingTheFileLocksItAgain) {
    std::string written;
    {
        Session s;
        fillSample(s.model());
        s.model().UnitFactor = 1;
        ASSERT_TRUE(BUTTON70_ON(*s.program));
        EXPECT_FALSE(s.menu.c("RADIO65").enabled);
        EXPECT_TRUE(s.menu.c("RADIO66").enabled);
        written = s.read("sample.fdt");
    }
    EXPECT_NE(written.find(utf8ToCp932(" ﾃﾞｰﾀ単位 :　旧単位　")), std::string::npos);
    EXPECT_NE(written.find(utf8ToCp932("単位　tf･m/rad  tf/cm")), std::string::npos);

    Session s;
    ASSERT_TRUE(s.platform.files.writeAtomic("old.fdt", written));
    s.platform.dialogs.queueOpenFile("old.fdt");
    EXPECT_EQ(CALLFDT_ON(*s.program), ReadOutcome::Done);
    EXPECT_EQ(s.model().UnitFactor, 1.0f);
    EXPECT_FALSE(s.menu.c("RADIO65").checked);
    EXPECT_FALSE(s.menu.c("RADIO65").enabled);
    EXPECT_TRUE(s.menu.c("RADIO66").checked);
    EXPECT_TRUE(s.platform.dialogs.messages().empty());
}

TEST(ModelFileHandlers, CommonUnitsReadAsSiWithBothUnitButtonsEnabled) {
    Session s;
    auto m = sample();
    m->SpringStart[2][6] = 0;
    m->SpringStart[2][1] = 0;
    m->updateEndSummaries(2);
    ASSERT_TRUE(s.platform.files.writeAtomic("frame1.fdt", frameFileBytes(*m, kWhen)));
    s.model().UnitFactor = 1;
    s.platform.dialogs.queueOpenFile("frame1.fdt");
    EXPECT_EQ(CALLFDT_ON(*s.program), ReadOutcome::Done);

    ASSERT_EQ(s.platform.dialogs.openFiles().size(), 1u);
    EXPECT_EQ(s.platform.dialogs.openFiles()[0].title, "座標/骨組データの呼出");
    EXPECT_EQ(s.platform.dialogs.openFiles()[0].filterLabel, "データ(*.fdt)");
    EXPECT_EQ(s.platform.dialogs.openFiles()[0].pattern, "*.fdt");
    EXPECT_FLOAT_EQ(s.model().UnitFactor, 98.0665f);
    EXPECT_TRUE(s.menu.c("RADIO65").checked);
    EXPECT_FALSE(s.menu.c("RADIO66").checked);
    EXPECT_TRUE(s.menu.c("RADIO65").enabled);
    EXPECT_TRUE(s.menu.c("RADIO66").enabled);
    EXPECT_TRUE(s.platform.dialogs.messages().empty());

    EXPECT_EQ(s.model().DataName, "frame1");
    EXPECT_EQ(s.model().FrameFileState, 2);
    EXPECT_EQ(s.model().FrameReady, 1);
    for (const char* on : {"BUTTON3", "BUTTON4", "BUTTON35", "BUTTON92", "BUTTON93", "BUTTON70"})
        EXPECT_TRUE(s.menu.c(on).enabled) << on;
    for (const char* off : {"BUTTON27", "BUTTON91", "BUTTON52", "BUTTON68", "BUTTON84"})
        EXPECT_FALSE(s.menu.c(off).enabled) << off;
    EXPECT_FALSE(s.program->progress.isOpen());
    const std::vector<std::pair<int, std::string>> progress{{4, "　　座標/骨組データ呼出し中"}};
    EXPECT_EQ(s.progressLines(), progress);
}

TEST(ModelFileHandlers, UnknownUnitLineAsksForTheUnitsOnlyWhenThereAreSprings) {
    const std::string withSprings =
        replaced(fixture("sample.fdt"), " ﾃﾞｰﾀ解析単位 :　SI単位　", " ﾃﾞｰﾀ単位 :　kgf ");
    {
        Session s;
        ASSERT_TRUE(s.platform.files.writeAtomic("old.fdt", withSprings));
        s.platform.dialogs.queueOpenFile("old.fdt");
        EXPECT_EQ(CALLFDT_ON(*s.program), ReadOutcome::Done);
        EXPECT_EQ(s.model().UnitFactor, 0.0f);
        EXPECT_FALSE(s.menu.c("RADIO65").checked);
        ASSERT_EQ(s.platform.dialogs.messages().size(), 1u);
        EXPECT_EQ(s.platform.dialogs.messages()[0].text,
                  "バネデータのある旧データファイルです\n\n"
                  "バネデータの単位系を確認して、解析単位系を選択してください。");
        EXPECT_EQ(s.platform.dialogs.messages()[0].icon, MessageIcon::Exclamation);
        EXPECT_FLOAT_EQ(s.model().SpringStart[2][6], 250.0f);
    }
    auto m = sample();
    m->MemberStartSprung[2] = 0;
    m->recountEndSummaries();
    const std::string noSprings =
        replaced(frameFileBytes(*m, kWhen), " ﾃﾞｰﾀ単位 :　共通単位　", " ﾃﾞｰﾀ単位 :　kgf ");
    Session s;
    ASSERT_TRUE(s.platform.files.writeAtomic("old.fdt", noSprings));
    s.platform.dialogs.queueOpenFile("old.fdt");
    EXPECT_EQ(CALLFDT_ON(*s.program), ReadOutcome::Done);
    EXPECT_FLOAT_EQ(s.model().UnitFactor, 98.0665f);
    EXPECT_TRUE(s.menu.c("RADIO65").checked);
    EXPECT_TRUE(s.platform.dialogs.messages().empty());
}

TEST(ModelFileHandlers, CoordinateFileFromAnotherFolderNamesTheDataAndSavesHere) {
    Session s;
    const auto other = s.platform.tempFolder() / "other";
    std::filesystem::create_directory(other);
    const std::string path = (other / "frame7.cdt").string();
    ASSERT_TRUE(s.platform.files.writeAtomic(path, fixture("sample.cdt")));
    s.platform.dialogs.queueOpenFile(path);
    EXPECT_EQ(CALLCDT_ON(*s.program), ReadOutcome::Done);

    ASSERT_EQ(s.platform.dialogs.openFiles().size(), 1u);
    EXPECT_EQ(s.platform.dialogs.openFiles()[0].title, "座標データの呼出");
    EXPECT_EQ(s.platform.dialogs.openFiles()[0].filterLabel, "データ(*.cdt)");
    EXPECT_EQ(s.platform.dialogs.openFiles()[0].pattern, "*.cdt");
    EXPECT_EQ(s.model().DataName, "frame7");
    EXPECT_EQ(s.model().NodeCount, 3);
    EXPECT_EQ(s.model().NodeX[2], 251.0f);
    EXPECT_EQ(s.model().CoordFileState, 2);
    for (const char* on : {"BUTTON28", "BUTTON70"})
        EXPECT_TRUE(s.menu.c(on).enabled) << on;
    for (const char* off : {"BUTTON27", "BUTTON52", "BUTTON68", "BUTTON84", "BUTTON91"})
        EXPECT_FALSE(s.menu.c(off).enabled) << off;
    const std::vector<std::pair<int, std::string>> progress{{4, "　　　座標データ呼出し中"}};
    EXPECT_EQ(s.progressLines(), progress);

    ASSERT_TRUE(BUTTON69_ON(*s.program));
    EXPECT_TRUE(s.exists("frame7.cdt"));
}

TEST(ModelFileHandlers, CancelledDialogChangesNothing) {
    Session s;
    s.platform.dialogs.queueOpenFile(std::nullopt);
    s.platform.dialogs.queueOpenFile(std::nullopt);
    EXPECT_EQ(CALLCDT_ON(*s.program), ReadOutcome::Cancelled);
    EXPECT_EQ(CALLFDT_ON(*s.program), ReadOutcome::Cancelled);
    EXPECT_EQ(s.model().CoordFileState, 0);
    EXPECT_EQ(s.model().FrameFileState, 0);
    EXPECT_TRUE(s.menu.c("BUTTON91").enabled);
    EXPECT_FALSE(s.program->progress.isOpen());
    EXPECT_TRUE(s.platform.dialogs.messages().empty());
}

TEST(ModelFileHandlers, MalformedFileEndsWithAMessageNamingFileAndLine) {
    Session s;
    s.model().UnitFactor = 1;
    ASSERT_TRUE(s.platform.files.writeAtomic(
        "bad.fdt", replaced(fixture("sample.fdt"), "部材数: 2 ", "部材数: zwei ")));
    s.platform.dialogs.queueOpenFile("bad.fdt");
    EXPECT_EQ(CALLFDT_ON(*s.program), ReadOutcome::Failed);
    ASSERT_EQ(s.platform.dialogs.messages().size(), 1u);
    const std::string& text = s.platform.dialogs.messages()[0].text;
    EXPECT_NE(text.find("bad.fdt の 13 行目"), std::string::npos) << text;
    EXPECT_EQ(s.model().FrameFileState, 0);
    EXPECT_EQ(s.model().FrameReady, 0);
    EXPECT_EQ(s.model().DataName, "");
    EXPECT_EQ(s.model().UnitFactor, 1.0f);
    EXPECT_TRUE(s.menu.c("BUTTON91").enabled);
    EXPECT_FALSE(s.menu.c("BUTTON3").enabled);
    EXPECT_FALSE(s.program->progress.isOpen());

    s.platform.dialogs.queueOpenFile("missing.cdt");
    EXPECT_EQ(CALLCDT_ON(*s.program), ReadOutcome::Failed);
    EXPECT_EQ(s.platform.dialogs.messages().size(), 2u);
    EXPECT_EQ(s.model().CoordFileState, 0);
}

} // namespace
} // namespace rahmen

namespace rahmen {
namespace {

// Every real number the frame file stores, held at the largest magnitude a
// form accepts (as typed × the factor it is held by), of either sign where
// the form takes both: written and read back, it is the same float; just
// beyond, the writer refuses it instead of writing a file nobody can open.
TEST(ModelFileNumbers, LargestAcceptedValueOfEveryFieldReadsBackAndBeyondIsNotWritten) {
    struct Field {
        const char* name;
        float& (*at)(Model&);
        ValueRange typed;
        double held; // stored = typed × held
    };
    const Field fields[] = {
        {"NodeX", [](Model& m) -> float& { return m.NodeX[2]; }, kAnyValue, 1},
        {"NodeZ", [](Model& m) -> float& { return m.NodeZ[3]; }, kAnyValue, 1},
        {"TypeArea", [](Model& m) -> float& { return m.TypeArea[1]; }, kAnyValue, 1},
        {"TypeIy", [](Model& m) -> float& { return m.TypeIy[1]; }, kAnyValue, 1},
        {"TypeIz", [](Model& m) -> float& { return m.TypeIz[2]; }, kAnyValue, 1},
        {"TypeJ", [](Model& m) -> float& { return m.TypeJ[1]; }, kAnyValue, 1},
        {"TypeShearAreaY", [](Model& m) -> float& { return m.TypeShearAreaY[1]; }, kAnyValue, 1},
        {"TypeRectA", [](Model& m) -> float& { return m.TypeRectA[2]; }, kRectangleSize, 1},
        {"MemberArea", [](Model& m) -> float& { return m.MemberArea[1]; }, kAnyValue, 1},
        {"MemberIz", [](Model& m) -> float& { return m.MemberIz[2]; }, kAnyValue, 1},
        {"MemberJ", [](Model& m) -> float& { return m.MemberJ[1]; }, kAnyValue, 1},
        {"MemberShearAreaZ", [](Model& m) -> float& { return m.MemberShearAreaZ[2]; }, kAnyValue,
         1},
        {"MemberAngle", [](Model& m) -> float& { return m.MemberAngle[1]; }, kAnyValue, 1},
        {"axial spring", [](Model& m) -> float& { return m.SpringStart[2][1]; }, kNotNegative, 1},
        {"spring about x", [](Model& m) -> float& { return m.SpringStart[2][4]; },
         kRotationalSpring, 100},
        {"spring about z", [](Model& m) -> float& { return m.SpringStart[2][6]; },
         kRotationalSpring, 100},
    };
    for (const Field& f : fields) {
        for (double typed : {f.typed.most, f.typed.least}) {
            if (typed == 0) continue;
            auto m = sample();
            const float held = static_cast<float>(typed * f.held);
            f.at(*m) = held;
            const auto back = readFrame(frameFileBytes(*m, kWhen));
            EXPECT_EQ(f.at(*back), held) << f.name << " " << typed;
        }
        auto m = sample();
        f.at(*m) = std::nextafter(kLargestValue, 2 * kLargestValue);
        EXPECT_THROW(frameFileBytes(*m, kWhen), DataFileError) << f.name;
    }
}

TEST(ModelFileNumbers, ReaderRefusesNegativeSpringsAndValuesBeyondTheLargest) {
    struct Case {
        const char* from;
        const char* to;
        const char* message;
    };
    const Case cases[] = {
        {"2.500E+00    1.000E+03", "2.500E+00   -1.000E+03",
         "sample.fdt の 72 行目: バネ定数 が負の値です（-1000）"},
        {"0.000E+00    2.500E+00", "0.000E+00   -2.500E+00",
         "sample.fdt の 72 行目: バネ定数 が負の値です（-2.5）"},
        // Shown below the largest value, held ×100 beyond it.
        {"0.000E+00    2.500E+00", "0.000E+00    2.500E+28",
         "sample.fdt の 72 行目: バネ定数 が大きすぎます（2.5E+30、絶対値は 1E+30 まで）"},
        {"   2    2400.00", "   2    2400E+28",
         "sample.fdt の 36 行目: 断面積 が大きすぎます（2.4E+31、絶対値は 1E+30 まで）"},
    };
    for (const Case& c : cases) {
        std::string bytes = fixture("sample.fdt");
        const auto at = bytes.find(c.from);
        ASSERT_NE(at, std::string::npos) << c.from;
        bytes.replace(at, std::string(c.from).size(), c.to);
        try {
            readFrame(bytes);
            ADD_FAILURE() << c.to;
        } catch (const DataFileError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

} // namespace
} // namespace rahmen
