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
    };
    for (const auto &row : rows)
        EXPECT_EQ(parseAmount(row.text), row.expected) << '"' << row.text << '"';
}

TEST(AmountTest, rawNumberIsTheShortestRoundTrip) {
    EXPECT_EQ(rawNumber(24.789352), "24.789352");
    EXPECT_EQ(rawNumber(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(rawNumber(-1234.5), "-1234.5");
    EXPECT_EQ(rawNumber(1e300), "1e+300");
    EXPECT_EQ(parseAmount(rawNumber(2.0 / 3.0)), 2.0 / 3.0);
}

} // namespace
} // namespace talvio
