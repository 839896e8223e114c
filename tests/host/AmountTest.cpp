#include "Amount.h"

#include <gtest/gtest.h>
#include <optional>

namespace talvio {
namespace {

TEST(AmountTest, readsScriptAmountsWhateverTheLocaleAndRefusesTheRest) {
    const struct {
        const char *text;
        std::optional<double> expected;
    } rows[] = {
        {"1000", 1000.0},
        {"-123.456", -123.456},
        {"+0.5", 0.5},
        {".5", 0.5},
        {"1.5e3", 1500.0},
        {"-2E-2", -0.02},
        {"  42\r", 42.0},
        {"", std::nullopt},
        {"-", std::nullopt},
        {"1,5", std::nullopt},
        {"1.000,50", std::nullopt},
        {"12abc", std::nullopt},
        {"inf", std::nullopt},
        {"-nan", std::nullopt},
        {"1e999", std::nullopt},
        {"0x10", std::nullopt},
        {"--5", std::nullopt},
        {"+-5", std::nullopt},
        {"1 000", std::nullopt},
        {"1.", 1.0},
        {"999999999999999.5", 999999999999999.5}, // 16 digits
        {"1.2.3", std::nullopt},
    };
    for (const auto &row : rows)
        EXPECT_EQ(parseAmount(row.text), row.expected) << '"' << row.text << '"';
}

// Fixed or scientific, whichever is shorter, fixed when they tie; the rows sit on either side of
// each limit of the short way for a few decimals.
TEST(AmountTest, rawNumberIsTheShortestRoundTrip) {
    const struct {
        double value;
        const char *expected;
    } rows[] = {
        {162.61, "162.61"},
        {123456.123456789, "123456.123456789"}, // more decimals than the short way tries
        {0.1 + 0.2, "0.30000000000000004"},
        {10000.0, "10000"},
        {100000.0, "1e+05"},
        {0.0001, "1e-04"},
        {0.00012, "0.00012"},
        {1125899906842624.5, "1125899906842624.5"},
        {1e300, "1e+300"},
        {-0.0, "-0"},
    };
    for (const auto &row : rows)
        EXPECT_EQ(rawNumber(row.value), row.expected) << row.expected;
    EXPECT_EQ(parseAmount(rawNumber(2.0 / 3.0)), 2.0 / 3.0);
}

} // namespace
} // namespace talvio
