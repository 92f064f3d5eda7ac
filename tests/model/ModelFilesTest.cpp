#include "model/ModelFiles.h"
#include "ModelFilesSample.h"
#include "model/Limits.h"
#include "model/Model.h"
#include "platform/Sjis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>

namespace rahmen {
namespace {

std::unique_ptr<Model> readFrame(const std::string& bytes, UnitLine* unit = nullptr) {
    auto m = std::make_unique<Model>();
    ItemReader in(bytes, "sample.fdt");
    UnitLine u = readFrameFile(*m, in);
    if (unit) *unit = u;
    return m;
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
