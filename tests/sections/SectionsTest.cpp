#include "sections/Sections.h"
#include "model/Model.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

using namespace rahmen;

namespace {

// "Ｈ", "□", "○" in CP932.
const std::string H = "\x82\x67";
const std::string SQ = "\x81\xA0";
const std::string RO = "\x81\x9B";

std::unique_ptr<Model> filledModel() {
    auto model = std::make_unique<Model>();
    DAT_READ(*model);
    return model;
}

} // namespace

TEST(SectionTables, TablesHoldTheirRowCountsAndEmptySlotsBehind) {
    auto m = filledModel();
    EXPECT_FALSE(m->HShapeTable[61].empty());
    EXPECT_TRUE(m->HShapeTable[62].empty());
    EXPECT_TRUE(m->HShapeTable[100].empty());
    EXPECT_FALSE(m->SquarePipeTable[109].empty());
    EXPECT_TRUE(m->SquarePipeTable[110].empty());
    EXPECT_FALSE(m->RoundPipeTable[129].empty());
    EXPECT_TRUE(m->RoundPipeTable[130].empty());
    EXPECT_TRUE(m->RoundPipeTable[150].empty());
}

TEST(SectionTables, RowLengthsAndTabs) {
    auto m = filledModel();
    for (int r = 0; r < 62; ++r) {
        const std::string& row = m->HShapeTable[r];
        EXPECT_EQ(row.size(), r < 28 ? 94u : 95u) << "H row " << r;
        const auto tab = row.find('\t');
        if (r >= 28 && r <= 60)
            EXPECT_EQ(tab, 79u) << "H row " << r;
        else
            EXPECT_EQ(tab, std::string::npos) << "H row " << r;
    }
    for (int r = 0; r < 110; ++r)
        EXPECT_EQ(m->SquarePipeTable[r].size(), 56u) << "square row " << r;
    for (int r = 0; r < 130; ++r)
        EXPECT_EQ(m->RoundPipeTable[r].size(), 63u) << "round row " << r;
}

TEST(SectionTables, QuotedRowsComeOutByteForByte) {
    auto m = filledModel();
    EXPECT_EQ(m->HShapeTable[0], H + "-100x 50x 5 x 7   7    11.85   9.3    187    14.8   3.98   "
                                     "1.12   37.5   5.91    1.31   3.76");
    EXPECT_EQ(m->HShapeTable[28], H + "-344x348x10 x16   13   144.0   113    32800  11200  15.1   "
                                      "8.84   1910   646 \t   9.64   5.95 ");
    EXPECT_EQ(m->HShapeTable[61], H + "-912x302x18 x34   18   360.1   283    491000 15700  36.9   "
                                      "6.59   10800  1040    7.90   7.01 ");
    EXPECT_EQ(m->SquarePipeTable[0], SQ + "- 40x 40x 1.6     1.88   2.392   5.79     2.90   1.56 ");
    EXPECT_EQ(m->SquarePipeTable[56],
              SQ + "-400x400x16.0P    186    237.0   57100    2850   15.5 ");
    EXPECT_EQ(m->RoundPipeTable[0],
              RO + "-21.7  x 2.0       0.972   1.238   0.607       0.56     0.70 ");
    EXPECT_EQ(m->RoundPipeTable[73],
              RO + "-500   x 9.0       109     138.8   41800       1670     17.4 ");
    EXPECT_EQ(m->RoundPipeTable[129],
              RO + "-1219.2x16.0       475     604.8   1090000     18000    42.5 ");
}

TEST(SectionTables, EveryRowMatchesTheCatalogueFixture) {
    std::ifstream in(std::string(RAHMEN_FIXTURES) + "/section_rows_cp932.txt", std::ios::binary);
    ASSERT_TRUE(in) << "fixture missing";
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    ASSERT_EQ(lines.size(), 302u);
    auto m = filledModel();
    for (int r = 0; r < 62; ++r)
        EXPECT_EQ(m->HShapeTable[r], lines[r]) << "H row " << r;
    for (int r = 0; r < 110; ++r)
        EXPECT_EQ(m->SquarePipeTable[r], lines[62 + r]) << "square row " << r;
    for (int r = 0; r < 130; ++r)
        EXPECT_EQ(m->RoundPipeTable[r], lines[172 + r]) << "round row " << r;
}

TEST(SectionTables, DesignationsAreTheFirstSeventeenBytesInListOrder) {
    auto m = filledModel();
    EXPECT_EQ(sectionDesignation(m->HShapeTable[0]), H + "-100x 50x 5 x 7");
    EXPECT_EQ(sectionDesignation(m->HShapeTable[3]), H + "-125x125x6.5x 9");
    EXPECT_EQ(sectionDesignation(m->HShapeTable[40]), H + "-498x432x45 x70");
    EXPECT_EQ(sectionDesignation(m->SquarePipeTable[23]), SQ + "-100x100x12.0  ");
    EXPECT_EQ(sectionDesignation(m->SquarePipeTable[57]), SQ + "-400x400x19.0  ");
    EXPECT_EQ(sectionDesignation(m->SquarePipeTable[58]), SQ + "-400x400x19.0P ");
    EXPECT_EQ(sectionDesignation(m->SquarePipeTable[109]), SQ + "-700x700x32.0P ");
    EXPECT_EQ(sectionDesignation(m->RoundPipeTable[72]), RO + "-457.2 x19.0   ");
    EXPECT_EQ(sectionDesignation(m->RoundPipeTable[123]), RO + "-1016.0x12.0   ");
    EXPECT_EQ(sectionDesignation(m->RoundPipeTable[128]), RO + "-1219.2x12.7   ");
    EXPECT_EQ(sectionDesignation("short"), "short");
}

// The dimensions cut out of the columns must equal the numbers the designation
// shows, row by row: a value shifted by one column would break this.
TEST(SectionTables, DimensionColumnsAgreeWithEveryDesignation) {
    auto m = filledModel();
    auto designationNumbers = [](const std::string& row) {
        // Designation after the 2-byte symbol and "-", split at "x".
        std::vector<double> v;
        std::string d = sectionDesignation(row).substr(3);
        std::stringstream ss(d);
        for (std::string part; std::getline(ss, part, 'x');)
            v.push_back(std::stod(part));
        return v;
    };
    for (int r = 0; r < 62; ++r) {
        const std::string& row = m->HShapeTable[r];
        auto v = designationNumbers(row);
        ASSERT_EQ(v.size(), 4u);
        EXPECT_EQ(sectionNumber(sectionField(row, 4, 3)), v[0]) << r;
        EXPECT_EQ(sectionNumber(sectionField(row, 8, 3)), v[1]) << r;
        EXPECT_EQ(sectionNumber(sectionField(row, 12, 3)), v[2]) << r;
        EXPECT_EQ(sectionNumber(sectionField(row, 16, 2)), v[3]) << r;
    }
    for (int r = 0; r < 110; ++r) {
        const std::string& row = m->SquarePipeTable[r];
        auto v = designationNumbers(row);
        ASSERT_EQ(v.size(), 3u);
        EXPECT_EQ(sectionNumber(sectionField(row, 4, 3)), v[0]) << r;
        EXPECT_EQ(sectionNumber(sectionField(row, 8, 3)), v[1]) << r;
        EXPECT_EQ(sectionNumber(sectionField(row, 12, 4)), v[2]) << r;
    }
    for (int r = 0; r < 130; ++r) {
        const std::string& row = m->RoundPipeTable[r];
        auto v = designationNumbers(row);
        ASSERT_EQ(v.size(), 2u);
        EXPECT_EQ(sectionNumber(sectionField(row, 4, 6)), v[0]) << r;
        EXPECT_EQ(sectionNumber(sectionField(row, 11, 4)), v[1]) << r;
    }
}

TEST(SectionTables, DatReadRestoresRowsAFileReaderReplaced) {
    Model m;
    DAT_READ(m);
    const std::string full = m.SquarePipeTable[56];
    m.SquarePipeTable[56] = SQ + "-400x400x16.0P ";
    m.HShapeTable[80] = "stray";
    DAT_READ(m);
    EXPECT_EQ(m.SquarePipeTable[56], full);
    EXPECT_TRUE(m.HShapeTable[80].empty());
}

TEST(SectionNumber, ConvertsTheLongestDecimalPrefix) {
    EXPECT_EQ(sectionNumber("6.5"), 6.5);
    EXPECT_EQ(sectionNumber(" 9"), 9.0);
    EXPECT_EQ(sectionNumber("5 "), 5.0);
    EXPECT_EQ(sectionNumber("500   "), 500.0);
    EXPECT_EQ(sectionNumber("1016.0"), 1016.0);
    EXPECT_EQ(sectionNumber("12x"), 12.0);
    EXPECT_EQ(sectionNumber("7\t3"), 7.0);
    EXPECT_EQ(sectionNumber("1 2"), 1.0);
    EXPECT_EQ(sectionNumber("-1.5"), -1.5);
    EXPECT_EQ(sectionNumber("+2"), 2.0);
    EXPECT_EQ(sectionNumber(".5"), 0.5);
    EXPECT_EQ(sectionNumber("4."), 4.0);
    EXPECT_EQ(sectionNumber(""), 0.0);
    EXPECT_EQ(sectionNumber("   "), 0.0);
    EXPECT_EQ(sectionNumber("x 9"), 0.0);
    EXPECT_EQ(sectionNumber("-"), 0.0);
    EXPECT_EQ(sectionNumber("11.85"), 11.85);
}

TEST(SectionNumber, FieldsAreCutShortAtTheRowEnd) {
    EXPECT_EQ(sectionField("abcdef", 2, 3), "bcd");
    EXPECT_EQ(sectionField("abcdef", 5, 10), "ef");
    EXPECT_EQ(sectionField("abcdef", 7, 2), "");
    EXPECT_EQ(sectionField("abcdef", 0, 2), "");
    EXPECT_EQ(sectionNumber(sectionField("", 26, 5)), 0.0);
}

TEST(SteelSectionProperties, HShapeRowZero) {
    auto m = filledModel();
    auto s = SteelSectionProperties(*m, kSectionHShape, 0, SquarePipeShear::Webs);
    ASSERT_TRUE(s);
    EXPECT_FLOAT_EQ(s->Area, 11.85f);
    EXPECT_FLOAT_EQ(s->Iy, 187.0f);
    EXPECT_FLOAT_EQ(s->Iz, 14.8f);
    EXPECT_NEAR(s->J, 1.5017, 5e-5);
    EXPECT_FLOAT_EQ(s->ShearAreaY, 4.3f); // 8.6 x 0.5
    EXPECT_FLOAT_EQ(s->ShearAreaZ, 7.0f); // 2 x 5 x 0.7
    EXPECT_EQ(s->SectionKind, 2);
    EXPECT_EQ(s->SteelNo, 0);
}

TEST(SteelSectionProperties, SquarePipeRowZeroBothShearVariants) {
    auto m = filledModel();
    auto s = SteelSectionProperties(*m, kSectionSquarePipe, 0, SquarePipeShear::Webs);
    ASSERT_TRUE(s);
    EXPECT_FLOAT_EQ(s->Area, 2.392f);
    EXPECT_FLOAT_EQ(s->Iy, 5.79f);
    EXPECT_FLOAT_EQ(s->Iz, 5.79f);
    EXPECT_NEAR(s->J, 9.0597, 5e-5);
    EXPECT_FLOAT_EQ(s->ShearAreaY, 1.2288f);
    EXPECT_FLOAT_EQ(s->ShearAreaZ, 1.2288f);
    EXPECT_EQ(s->SectionKind, 3);

    auto h = SteelSectionProperties(*m, kSectionSquarePipe, 0, SquarePipeShear::HalfArea);
    ASSERT_TRUE(h);
    EXPECT_FLOAT_EQ(h->ShearAreaY, 1.196f);
    EXPECT_FLOAT_EQ(h->ShearAreaZ, 1.196f);
    EXPECT_NEAR(h->J, 9.0597, 5e-5);
}

TEST(SteelSectionProperties, RectangularPipeUsesEachSideForItsShearArea) {
    // 100 x 50 x 5 mm: a' = 9.5, b' = 4.5, t = 0.5 cm.
    const std::string row = SQ + "-100x 50x 5.0     1.00   14.00   100.0    1.00   1.00 ";
    auto s = steelSectionFromRow(kSectionSquarePipe, row, SquarePipeShear::Webs);
    EXPECT_FLOAT_EQ(s.ShearAreaY, 4.5f); // 2 b' t
    EXPECT_FLOAT_EQ(s.ShearAreaZ, 9.5f); // 2 a' t
    EXPECT_NEAR(s.J, 2 * 4.5 * 4.5 * 9.5 * 9.5 / (9.0 + 19.0), 1e-3);
    EXPECT_FLOAT_EQ(s.Area, 14.0f);
}

TEST(SteelSectionProperties, RoundPipeRowZero) {
    auto m = filledModel();
    auto s = SteelSectionProperties(*m, kSectionRoundPipe, 0, SquarePipeShear::Webs);
    ASSERT_TRUE(s);
    EXPECT_FLOAT_EQ(s->Area, 1.238f);
    EXPECT_FLOAT_EQ(s->Iy, 0.607f);
    EXPECT_FLOAT_EQ(s->Iz, 0.607f);
    EXPECT_NEAR(s->J, 1.2133, 5e-5);
    EXPECT_FLOAT_EQ(s->ShearAreaY, 0.619f);
    EXPECT_FLOAT_EQ(s->ShearAreaZ, 0.619f);
    EXPECT_EQ(s->SectionKind, 4);
}

TEST(SteelSectionProperties, AwkwardDesignations) {
    auto m = filledModel();
    // H-125x125x6.5x 9: tw 6.5 mm, tf 9 mm -> hw = 12.5 - 1.8 = 10.7 cm.
    auto h = SteelSectionProperties(*m, kSectionHShape, 3, SquarePipeShear::Webs);
    ASSERT_TRUE(h);
    EXPECT_FLOAT_EQ(h->ShearAreaY, 6.955f); // 10.7 x 0.65
    EXPECT_FLOAT_EQ(h->ShearAreaZ, 22.5f);  // 2 x 12.5 x 0.9
    EXPECT_FLOAT_EQ(h->Area, 30.0f);

    // ○-500   x 9.0: D = 50 cm, t = 0.9 cm.
    auto r = SteelSectionProperties(*m, kSectionRoundPipe, 73, SquarePipeShear::Webs);
    ASSERT_TRUE(r);
    EXPECT_NEAR(r->J, 3.14159 * (625.0 * 625.0 - 24.1 * 24.1 * 24.1 * 24.1) / 2, 1.0);
    EXPECT_FLOAT_EQ(r->Area, 138.8f);
    EXPECT_FLOAT_EQ(r->Iy, 41800.0f);

    // ○-1016.0x12.0: D = 101.6 cm.
    const std::string& big = m->RoundPipeTable[123];
    EXPECT_EQ(sectionNumber(sectionField(big, 4, 6)), 1016.0);
    EXPECT_EQ(sectionNumber(sectionField(big, 11, 4)), 12.0);

    // □-400x400x16.0P: the P is outside the thickness field.
    const std::string& p = m->SquarePipeTable[56];
    EXPECT_EQ(sectionField(p, 16, 1), "P");
    EXPECT_EQ(sectionNumber(sectionField(p, 12, 4)), 16.0);
    auto sq = SteelSectionProperties(*m, kSectionSquarePipe, 56, SquarePipeShear::Webs);
    ASSERT_TRUE(sq);
    EXPECT_FLOAT_EQ(sq->ShearAreaY, 122.88f); // 2 x 38.4 x 1.6
    EXPECT_FLOAT_EQ(sq->Area, 237.0f);
    EXPECT_FLOAT_EQ(sq->Iy, 57100.0f);
}

TEST(SteelSectionProperties, TabRowConvertsLikeABlankRow) {
    auto m = filledModel();
    std::string withTab = m->HShapeTable[28];
    std::string blank = withTab;
    blank[79] = ' ';
    auto a = steelSectionFromRow(kSectionHShape, withTab, SquarePipeShear::Webs);
    auto b = steelSectionFromRow(kSectionHShape, blank, SquarePipeShear::Webs);
    EXPECT_FLOAT_EQ(a.Area, 144.0f);
    EXPECT_FLOAT_EQ(a.Iy, 32800.0f);
    EXPECT_FLOAT_EQ(a.Iz, 11200.0f);
    EXPECT_EQ(a.Area, b.Area);
    EXPECT_EQ(a.Iy, b.Iy);
    EXPECT_EQ(a.Iz, b.Iz);
    EXPECT_EQ(a.J, b.J);

    auto last = SteelSectionProperties(*m, kSectionHShape, 61, SquarePipeShear::Webs);
    ASSERT_TRUE(last);
    EXPECT_FLOAT_EQ(last->Area, 360.1f);
    EXPECT_FLOAT_EQ(last->Iy, 491000.0f);
    EXPECT_FLOAT_EQ(last->Iz, 15700.0f);
}

TEST(SteelSectionProperties, RowsOutsideATableGiveNothing) {
    auto m = filledModel();
    EXPECT_FALSE(SteelSectionProperties(*m, kSectionRectangle, 0, SquarePipeShear::Webs));
    EXPECT_FALSE(SteelSectionProperties(*m, 5, 0, SquarePipeShear::Webs));
    EXPECT_FALSE(SteelSectionProperties(*m, kSectionHShape, -1, SquarePipeShear::Webs));
    EXPECT_FALSE(SteelSectionProperties(*m, kSectionHShape, 62, SquarePipeShear::Webs));
    EXPECT_FALSE(SteelSectionProperties(*m, kSectionHShape, 101, SquarePipeShear::Webs));
    EXPECT_FALSE(SteelSectionProperties(*m, kSectionRoundPipe, 151, SquarePipeShear::Webs));
    EXPECT_EQ(sectionTableRow(*m, kSectionSquarePipe, 150), &m->SquarePipeTable[150]);
    EXPECT_EQ(sectionTableRow(*m, kSectionSquarePipe, 151), nullptr);
    EXPECT_EQ(sectionTableRow(*m, kSectionHShape, 101), nullptr);
}

TEST(SteelSectionProperties, ARowHoldingOnlyADesignationStillGivesItsDimensions) {
    // What a frame-file reader leaves in a row until the next DAT_READ.
    auto s = steelSectionFromRow(kSectionHShape, H + "-100x 50x 5 x 7  ", SquarePipeShear::Webs);
    EXPECT_EQ(s.Area, 0.0f);
    EXPECT_FLOAT_EQ(s.ShearAreaY, 4.3f);
    auto q = steelSectionFromRow(kSectionSquarePipe, "", SquarePipeShear::Webs);
    EXPECT_EQ(q.J, 0.0f); // no division by a zero wall
}

TEST(SteelSectionProperties, StoredIntoAMemberType) {
    auto m = filledModel();
    auto s = SteelSectionProperties(*m, kSectionRoundPipe, 73, SquarePipeShear::HalfArea);
    ASSERT_TRUE(s);
    storeSteelSection(*m, 7, *s);
    EXPECT_FLOAT_EQ(m->TypeArea[7], 138.8f);
    EXPECT_FLOAT_EQ(m->TypeIy[7], 41800.0f);
    EXPECT_FLOAT_EQ(m->TypeIz[7], 41800.0f);
    EXPECT_FLOAT_EQ(m->TypeShearAreaY[7], 69.4f);
    EXPECT_FLOAT_EQ(m->TypeShearAreaZ[7], 69.4f);
    EXPECT_EQ(m->TypeSectionKind[7], 4);
    EXPECT_EQ(m->TypeSteelNo[7], 73);
    storeSteelSection(*m, 101, *s); // outside the type table: ignored
    storeSteelSection(*m, 0, *s);
    EXPECT_EQ(m->TypeArea[0], 0.0f);
}
