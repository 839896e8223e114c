#include "engine/NumberFormat.h"

#include "model/Error.h"
#include "support/ErrorMatchers.h"
#include "support/ScopedNumericLocale.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>

namespace kvt {
namespace {

const NumberSeparators kPointComma{".", ","};
const NumberSeparators kCommaPoint{",", "."};
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

TEST(NumberText, writesFifteenSignificantDigitsAsShortAsPossible) {
    struct Row {
        double value;
        const char *text;
    };
    const Row rows[] = {
        {0.0, "0"},
        {-0.0, "0"},
        {1.0, "1"},
        {-1.5, "-1.5"},
        {0.1 + 0.2, "0.3"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {40.3399, "40.3399"},
        {6.55957 / 40.3399, "0.16260749282968"},
        {123456789012345.0, "123456789012345"},
        {0.0001, "0.0001"},
        // Beyond the range written in full: the scientific form.
        {1e15, "1E+15"},
        {-1234567890123456.0, "-1.23456789012346E+15"},
        {0.00001, "1E-05"},
        {1.5e-5, "1.5E-05"},
        {1e-300, "1E-300"},
        {std::numeric_limits<double>::max(), "1.79769313486232E+308"},
        {std::numeric_limits<double>::denorm_min(), "4.94065645841247E-324"},
        // Rounding to 15 digits can carry across a power of ten, and so across the range.
        {999999999999999.5, "1E+15"},
        {0.00009999999999999995, "0.0001"},
        {kNaN, "NaN"},
        {kInfinity, "Infinity"},
        {-kInfinity, "-Infinity"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(numberText(row.value, kPointComma), row.text) << row.value;
}

TEST(NumberText, usesTheGivenDecimalSeparatorAndNeverGroups) {
    EXPECT_EQ(numberText(-1234567.25, kCommaPoint), "-1234567,25");
    EXPECT_EQ(numberText(1.5e-5, kCommaPoint), "1,5E-05");
    EXPECT_EQ(numberText(0.5, NumberSeparators{"\u066b", "\u066c"}), "0\u066b5");
}

struct ParsedRow {
    const char *code;
    bool grouping;
    std::int32_t minIntegerDigits;
    std::int32_t minDecimals;
    std::int32_t maxDecimals;
    bool decimalPoint;
    const char *suffix;
};

TEST(NumberFormatCode, readsTheCodesTalvioWrites) {
    const ParsedRow rows[] = {
        {"#,##0", true, 1, 0, 0, false, ""},
        {"#,##0.00", true, 1, 2, 2, true, ""},
        {"#,##0.000000000000000", true, 1, 15, 15, true, ""},
        {"0.0#############", false, 1, 1, 14, true, ""},
        {"#,##0.0##", true, 1, 1, 3, true, ""},
        {"#,##0 ms", true, 1, 0, 0, false, " ms"},
        {"#,##0 \"FB\"", true, 1, 0, 0, false, " FB"},
        {"0\\%", false, 1, 0, 0, false, "%"},
        {"000", false, 3, 0, 0, false, ""},
        {"#.##", false, 0, 0, 2, true, ""},
        {"0.", false, 1, 0, 0, true, ""},
        {"0 \"a;b,0\"", false, 1, 0, 0, false, " a;b,0"},
    };
    for (const ParsedRow &row : rows) {
        SCOPED_TRACE(row.code);
        const std::optional<NumberFormat> parsed = NumberFormat::parse(row.code);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->grouping, row.grouping);
        EXPECT_EQ(parsed->minIntegerDigits, row.minIntegerDigits);
        EXPECT_EQ(parsed->minDecimals, row.minDecimals);
        EXPECT_EQ(parsed->maxDecimals, row.maxDecimals);
        EXPECT_EQ(parsed->decimalPoint, row.decimalPoint);
        EXPECT_EQ(parsed->suffix, row.suffix);
    }
}

TEST(NumberFormatCode, refusesWhatItCannotWriteFaithfully) {
    const std::string tooLong = "0." + std::string(254, '0');
    for (const std::string code :
         {"",        "ms",    " 0",       ",##0",  "#,##0,",   "#,,##0.00", "0#",
          "0.#0",    "0.00%", "0.00E+00", "0;-0",  "0 \"open", "0\\",       "@",
          "0 [$FB]", "0_)",   "0*-",      "# ?/?", "0.0.0",    "$0",        tooLong.c_str()})
        EXPECT_FALSE(NumberFormat::parse(code).has_value()) << code;
    EXPECT_TRUE(NumberFormat::parse(tooLong.substr(0, 255)).has_value());
}

TEST(NumberFormatCode, formatsWithGroupingRoundingAndSuffix) {
    struct Row {
        double value;
        const char *code;
        const char *pointComma; // decimal ".", thousands ","
        const char *commaPoint; // decimal ",", thousands "."
    };
    const Row rows[] = {
        {1234567.891, "#,##0", "1,234,568", "1.234.568"},
        {1234567.891, "#,##0.00", "1,234,567.89", "1.234.567,89"},
        {999.5, "#,##0", "1,000", "1.000"},
        {123.0, "#,##0", "123", "123"},
        {0.0, "#,##0", "0", "0"},
        {-0.0, "#,##0.00", "0.00", "0,00"},
        // No minus sign on a value shown as zero.
        {-0.004, "#,##0.00", "0.00", "0,00"},
        {-0.005, "#,##0.00", "-0.01", "-0,01"},
        {-1234.5, "#,##0", "-1,235", "-1.235"},
        {2.5, "#,##0", "3", "3"},
        {0.5, "#,##0", "1", "1"},
        {0.49, "#,##0", "0", "0"},
        // Half away from zero on the decimal form, not on the double just below it.
        {1.005, "0.00", "1.01", "1,01"},
        {9.9995, "#,##0.0##", "10.0", "10,0"},
        {999.9996, "#,##0.0##", "1,000.0", "1.000,0"},
        {12345.6789, "#,##0.0##", "12,345.679", "12.345,679"},
        {40.3399, "0.0#############", "40.3399", "40,3399"},
        {100.0, "0.0#############", "100.0", "100,0"},
        {1234567.0, "0.0#############", "1234567.0", "1234567,0"},
        {2.0 / 3.0, "0.0#############", "0.66666666666667", "0,66666666666667"},
        {40.3399 / 6.55957, "0.0#############", "6.14977811045541", "6,14977811045541"},
        {1e-7, "0.0#############", "0.0000001", "0,0000001"},
        {4.99e-15, "0.0#############", "0.0", "0,0"},
        {5e-15, "0.0#############", "0.00000000000001", "0,00000000000001"},
        {1e-300, "0.0#############", "0.0", "0,0"},
        // Fifteen significant digits, the rest zeros.
        {123456789012345678.0, "#,##0", "123,456,789,012,346,000", "123.456.789.012.346.000"},
        {1e20, "#,##0.00", "100,000,000,000,000,000,000.00", "100.000.000.000.000.000.000,00"},
        {123.0, "000000", "000123", "000123"},
        {0.5, "#.00", ".50", ",50"},
        {10.0, "0.###", "10.", "10,"},
        {1234.0, "#,##0 ms", "1,234 ms", "1.234 ms"},
        {1234.5, "#,##0 \"FB\"", "1,235 FB", "1.235 FB"},
        {kNaN, "#,##0", "NaN", "NaN"},
        {-kInfinity, "#,##0 ms", "-Infinity ms", "-Infinity ms"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.code);
        const std::optional<NumberFormat> format = NumberFormat::parse(row.code);
        ASSERT_TRUE(format.has_value());
        EXPECT_EQ(formatNumber(row.value, *format, kPointComma), row.pointComma) << row.value;
        EXPECT_EQ(formatNumber(row.value, *format, kCommaPoint), row.commaPoint) << row.value;
    }
}

TEST(NumberFormatCode, groupsTheLargestDoubleInFull) {
    const std::string text =
        formatNumber(std::numeric_limits<double>::max(), *NumberFormat::parse("#,##0"),
                     NumberSeparators{".", "\u202f"});
    EXPECT_THAT(text, testing::StartsWith("179\u202f769\u202f313\u202f486\u202f232\u202f000"));
    // 309 digits in 103 groups of three.
    EXPECT_EQ(text.size(), 309 + 102 * std::string("\u202f").size());
}

TEST(NumberFormatCode, aCodeItCannotReadIsAFailureNamingTheCode) {
    EXPECT_THAT([] { formatNumber(1.0, "0.00%"); },
                test::ThrowsError(err::InvalidArgument, {"\"0.00%\""}));
}

// The separators come from the process's LC_NUMERIC.
struct LocaleRow {
    double value;
    const char *code; // nullptr: the default conversion
    const char *inC;
    const char *inGerman;
};
constexpr LocaleRow kLocaleRows[] = {
    {-1234.5, nullptr, "-1234.5", "-1234,5"},
    {1.5e-5, nullptr, "1.5E-05", "1,5E-05"},
    // The "C" locale has no thousands separator, so it does not group.
    {1234567.891, "#,##0.00", "1234567.89", "1.234.567,89"},
    {9.9995, "#,##0.0##", "10.0", "10,0"},
    {2.0 / 3.0, "0.0#############", "0.66666666666667", "0,66666666666667"},
};

std::string formattedInCurrentLocale(const LocaleRow &row) {
    return row.code == nullptr ? numberText(row.value) : formatNumber(row.value, row.code);
}

TEST(NumberFormatLocale, theCLocaleWritesAPointAndDoesNotGroup) {
    const test::ScopedNumericLocale locale = test::cLocale();
    ASSERT_TRUE(locale.ok());
    const NumberSeparators separators = NumberSeparators::current();
    EXPECT_EQ(separators.decimal, ".");
    EXPECT_EQ(separators.thousands, "");
    for (const LocaleRow &row : kLocaleRows)
        EXPECT_EQ(formattedInCurrentLocale(row), row.inC) << row.value;
}

TEST(NumberFormatLocale, aGermanLocaleWritesADecimalCommaAndGroupsWithAPoint) {
    const test::ScopedNumericLocale locale = test::germanLocale();
    if (!locale.ok())
        GTEST_SKIP() << "no German locale installed (Debian: locales-all)";
    const NumberSeparators separators = NumberSeparators::current();
    EXPECT_EQ(separators.decimal, ",");
    EXPECT_EQ(separators.thousands, ".");
    for (const LocaleRow &row : kLocaleRows)
        EXPECT_EQ(formattedInCurrentLocale(row), row.inGerman) << row.value;
}

} // namespace
} // namespace kvt
