#include "forms/InputForms.h"

#include <gtest/gtest.h>

#include <cfloat>

namespace rahmen {
namespace {

TEST(BoxNumber, ReadsTheLeadingDecimalNumberAndZeroForAnythingElse) {
    EXPECT_EQ(boxNumber("250.6"), 250.6);
    EXPECT_EQ(boxNumber("  -12.5cm"), -12.5);
    EXPECT_EQ(boxNumber("+7"), 7.0);
    EXPECT_EQ(boxNumber(".5"), 0.5);
    EXPECT_EQ(boxNumber("-.25"), -0.25);
    EXPECT_EQ(boxNumber("1.5e3"), 1500.0);
    EXPECT_EQ(boxNumber("2E-2x"), 0.02);
    EXPECT_EQ(boxNumber("3e"), 3.0);    // an exponent without digits ends the number
    EXPECT_EQ(boxNumber("1,000"), 1.0); // a comma ends it too
    EXPECT_EQ(boxNumber(""), 0.0);
    EXPECT_EQ(boxNumber("abc"), 0.0);
    EXPECT_EQ(boxNumber("-"), 0.0);
    EXPECT_EQ(boxNumber("."), 0.0);
    EXPECT_EQ(boxNumber("１２"), 0.0); // full-width digits are not read
    EXPECT_EQ(boxNumber("1e999"), DBL_MAX);
    EXPECT_EQ(boxNumber("-1e999"), -DBL_MAX);
    EXPECT_EQ(boxNumber("1e-999"), 0.0);
}

TEST(BoxNumber, WholeNumbersRoundAndHugeEntriesStayHugeWithoutOverflow) {
    EXPECT_EQ(boxWhole("17.6"), 18);
    EXPECT_EQ(boxWhole("2.5"), 3);
    EXPECT_EQ(boxWhole("-2.5"), -3);
    EXPECT_EQ(boxWhole("1e30"), 2000000000L);
    EXPECT_EQ(boxWhole("-1e30"), -2000000000L);
    EXPECT_EQ(boxSingle("1e300"), FLT_MAX);
    EXPECT_EQ(boxSingle("-1e999"), -FLT_MAX);
    EXPECT_TRUE(boxEmpty(" \t"));
    EXPECT_FALSE(boxEmpty(" 0"));
}

} // namespace
} // namespace rahmen
