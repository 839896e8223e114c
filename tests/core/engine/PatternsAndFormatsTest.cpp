#include "engine/Formats.h"
#include "engine/RoundingPattern.h"
#include "support/ConversionFixture.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(RoundingPattern, readsDecimalsEndingAndTarget) {
    struct Row {
        const char *pattern;
        std::int32_t decimals;
        std::int32_t endingLength;
        double target;
    };
    const Row rows[] = {
        {"X.XX", 2, 0, 0}, {"X.X9", 2, 1, 9}, {"X.X", 1, 0, 0},       {"X.9", 1, 1, 9},
        {"X", 0, 0, 0},    {"X9", 0, 1, 9},   {"X0", 0, 1, 0},        {"X99", 0, 2, 99},
        {"X00", 0, 2, 0},  {"0.0X", 2, 0, 0}, {"x.x9", 2, 1, 9},      {"", 0, 0, 0},
        {"X.", 0, 0, 0},   {"99", 0, 2, 99},  {"0.09", 2, 3, 9},      {"X.X.9", 3, 2, 0},
        {"X9A", 0, 2, 0},  {"X05", 0, 2, 5},  {"X.\u00e99", 2, 2, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.pattern);
        const RoundingPattern p = RoundingPattern::parse(row.pattern);
        EXPECT_EQ(p.decimals, row.decimals);
        EXPECT_EQ(p.endingLength, row.endingLength);
        EXPECT_EQ(p.target, row.target);
    }
}

TEST(Formats, decimalsAndLegalPatternsAreInverse) {
    struct Row {
        const char *pattern;
        std::int32_t decimals;
    };
    const Row rows[] = {{"X.XX", 2}, {"X.X9", 2}, {"X", 0}, {"X.", 0}, {"X..X", 2}, {"", 0}};
    for (const Row &row : rows)
        EXPECT_EQ(NrOfDec(row.pattern), row.decimals) << row.pattern;
    for (std::int32_t n = 0; n <= 15; ++n)
        EXPECT_EQ(NrOfDec(LegalFormatFromNrDec(n)), n);
    EXPECT_EQ(LegalFormatFromNrDec(2), "X.XX");
    EXPECT_EQ(LegalFormatFromNrDec(0), "X");
    EXPECT_EQ(LegalFormatFromNrDec(-3), "X");
}

TEST(Formats, checkLegalFormatAcceptsOnlyXAndAPointFollowedByXs) {
    for (const char *legal : {"X", "X.", "X.X", "X.XX", "x.xx", "x"})
        EXPECT_TRUE(CheckLegalFormat(legal)) << legal;
    for (const char *illegal : {"", "X9", "XX", "X.X9", ".XX", "0.0X", "X.X.", " X", "X "})
        EXPECT_FALSE(CheckLegalFormat(illegal)) << illegal;
}

TEST(Formats, numberFormatCodeFollowsOnlyTheDecimalsOfThePattern) {
    struct Row {
        const char *pattern;
        const char *code;
    };
    const Row rows[] = {{"X.XX", "#,##0.00"}, {"X.X9", "#,##0.00"}, {"0.0X", "#,##0.00"},
                        {"X", "#,##0"},       {"X9", "#,##0"},      {"X99", "#,##0"},
                        {"X.9", "#,##0.0"},   {"X.", "#,##0"},      {"X.X.X", "#,##0.000"}};
    for (const Row &row : rows)
        EXPECT_EQ(FormatFromPattern(row.pattern), row.code) << row.pattern;
}

class NumberFormats : public test::ConversionFixture {};

TEST_F(NumberFormats, legalUsesTheTargetsPatternAndOthersTheGivenOne) {
    EXPECT_EQ(change.FormatNumbOut(Legal, "BEF", "X.XX"), "#,##0");
    EXPECT_EQ(change.FormatNumbOut(Legal, "USD", "X"), "#,##0.00");
    EXPECT_EQ(change.FormatNumbOut(suptargetValue, "BEF", "0.0X"), "#,##0.00");
    EXPECT_EQ(change.FormatNumbOut(NearValue, "BEF", "x.9"), "#,##0.0");
    EXPECT_EQ(change.FormatArondi(infTargetValue, "BEF", "x.x9"), "X.X9");
    EXPECT_EQ(change.FormatArondi(Legal, "ITL", "X.X9"), "X");
    EXPECT_THROW(change.FormatNumbOut(Legal, "XYZ", "X"), Error);
}

TEST_F(NumberFormats, targetValueListsHoldNinePatternsOnlyForTheTwoTargetMethods) {
    TargetValueList list = {{"keep", "me"}};
    change.LoadListFormat(list, Legal, "");
    change.LoadListFormat(list, NearValue, "");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0][0], "keep");

    change.LoadListFormat(list, infTargetValue, "");
    ASSERT_EQ(list.size(), 9u);
    EXPECT_EQ(list[0][0], "X.XX");
    EXPECT_EQ(list[1][0], "X.X9");
    EXPECT_EQ(list[8][0], "X00");
}

// Each public target value names its pattern's place in the list of its method.
TEST_F(NumberFormats, targetValueEnumerationsIndexTheirLists) {
    struct Row {
        MethodeArondiType method;
        std::int32_t value;
        std::int32_t first;
        const char *pattern;
    };
    const Row rows[] = {{suptargetValue, Sup009, SupCentieme, "X.X9"},
                        {suptargetValue, SupCentaine, SupCentieme, "X00"},
                        {infTargetValue, InfDizieme, InfCentieme, "X.X"},
                        {infTargetValue, Inf99, InfCentieme, "X99"}};
    for (const Row &row : rows) {
        TargetValueList list;
        change.LoadListFormat(list, row.method, "");
        EXPECT_EQ(list.at(static_cast<std::size_t>(row.value - row.first))[0], row.pattern);
    }
    EXPECT_EQ(SupCentieme, 170);
    EXPECT_EQ(InfCentaine, 188);
    EXPECT_EQ(NearMillieme, 140);
    EXPECT_EQ(NearMillier, 146);
}

} // namespace
} // namespace kvt
