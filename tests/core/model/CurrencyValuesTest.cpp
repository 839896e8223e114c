#include "model/CurrencyValues.h"

#include "model/DateNumber.h"
#include "model/StoredNumber.h"
#include "support/ErrorMatchers.h"
#include "support/ScopedNumericLocale.h"

#include <cmath>
#include <cstdio>
#include <ctime>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kvt {
namespace {

using test::ThrowsError;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

struct FormatRow {
    double value;
    const char *text;
};
const FormatRow kFormatRows[] = {
    {40.3399, "40.3399"},
    {0.787564, "0.787564"},
    {1936.27, "1936.27"},
    {1.0 / 3.0, "0.333333333333333"},
    {0.1 + 0.2, "0.3"}, // the binary noise past 15 digits is dropped
    {2.0 / 3.0, "0.666666666666667"},
    {1e20, "1e+20"},
    {1e-5, "1e-05"},
    {-2.5, "-2.5"},
    {0.0, "0"},
    {45292.6251157407, "45292.6251157407"},
    {123456789012345678.0, "1.23456789012346e+17"},
    {std::nan(""), "0"},
    {HUGE_VAL, "0"},
};

struct ParseRow {
    const char *text;
    std::optional<double> value;
};
const ParseRow kParseRows[] = {
    {"40.3399", 40.3399},
    {"  -1.5", -1.5},
    {"+2", 2.0},
    {".5", 0.5},
    {"1e3", 1000.0},
    {"1E-2", 0.01},
    {"12abc", 12.0},
    {"1,5", 1.0}, // the comma is no decimal separator here, whatever the locale
    {"1.5.2", 1.5},
    {"2e", 2.0},
    {"", 0.0},
    {"abc", 0.0},
    {"-", 0.0},
    {".", 0.0},
    {"nan", 0.0},
    {"inf", 0.0},
    {"-infinity", 0.0},
    {"0x10", 0.0},
    {"1e999", std::nullopt},
    {"-1e999", std::nullopt},
};

void expectNumbersAreLocaleIndependent() {
    for (const FormatRow &row : kFormatRows)
        EXPECT_EQ(formatStoredNumber(row.value), row.text) << row.text;
    for (const ParseRow &row : kParseRows)
        EXPECT_EQ(tryParseStoredNumber(row.text), row.value) << '"' << row.text << '"';
}

TEST(StoredNumber, writesPointAndFifteenDigitsAndReadsTheLeadingNumber) {
    expectNumbersAreLocaleIndependent();
}

TEST(StoredNumber, ignoresACommaDecimalLocale) {
    const test::ScopedNumericLocale locale = test::germanLocale();
    if (!locale.ok())
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the locale " << locale.name() << " is not in effect";
    expectNumbersAreLocaleIndependent();
}

TEST(StoredNumber, outOfRangeNamesTheSetting) {
    EXPECT_EQ(parseStoredNumber("Currencies", "LastUpdate", "36526.5"), 36526.5);
    EXPECT_THAT([] { parseStoredNumber("Currencies", "LastUpdate", "9e999"); },
                ThrowsError(err::Overflow, {"Currencies / LastUpdate", "\"9e999\""}));
}

TEST(DateNumber, countsDaysSinceTheEndOf1899WithTheTimeAsFraction) {
    using namespace std::chrono;
    struct Row {
        WallClockTime time;
        double number;
    };
    const Row rows[] = {
        {local_days{year{1899} / December / 30}, 0.0},
        {local_days{year{1899} / December / 30} + hours(12), 0.5},
        {local_days{year{2000} / January / 1}, 36526.0},
        {local_days{year{2000} / January / 1} + hours(18), 36526.75},
        {local_days{year{1899} / December / 29}, -1.0},
    };
    for (const Row &row : rows)
        EXPECT_DOUBLE_EQ(dateNumberOf(row.time), row.number) << row.number;
}

TEST(DateNumber, currentDateNumberIsTheLocalWallClock) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    using namespace std::chrono;
    const local_days day{year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday};
    const double expected = dateNumberOf(
        WallClockTime(day + hours(local.tm_hour) + minutes(local.tm_min) + seconds(local.tm_sec)));
    EXPECT_NEAR(currentDateNumber(), expected, 5.0 / 86400.0);
}

TEST(CurrencyValues, catalogueEntryNeedsFourBarsAndAWholeCountryNumber) {
    struct Row {
        const char *value;
        std::optional<CatalogueEntryValue> entry; // nullopt: refused
    };
    const Row rows[] = {
        {"|0|X.XX|EUR|", CatalogueEntryValue{0, "X.XX", "EUR"}},
        {"|12|X||", CatalogueEntryValue{12, "X", ""}},
        {"ignored|-3|X.X|EUR|and this too", CatalogueEntryValue{-3, "X.X", "EUR"}},
        {"| 7 |||", CatalogueEntryValue{7, "", ""}},
        {"|0|X.XX|EUR", std::nullopt},
        {"", std::nullopt},
        {"||X|EUR|", std::nullopt},
        {"|1.5|X|EUR|", std::nullopt},
        {"|40000|X|EUR|", std::nullopt},
    };
    for (const Row &row : rows) {
        if (row.entry) {
            const CatalogueEntryValue entry = catalogueEntryFromValue("XYZ", row.value);
            EXPECT_EQ(entry.indexPays, row.entry->indexPays) << row.value;
            EXPECT_EQ(entry.legalFormat, row.entry->legalFormat) << row.value;
            EXPECT_EQ(entry.masterIso, row.entry->masterIso) << row.value;
        } else {
            EXPECT_THAT([&] { catalogueEntryFromValue("XYZ", row.value); },
                        ThrowsError(err::TypeMismatch, {"Currencies\\ISOCodes / XYZ",
                                                        "\"" + std::string(row.value) + "\""}));
        }
    }
    EXPECT_EQ(catalogueEntryValue({-3, "X.XX", "EUR"}), "|-3|X.XX|EUR|");
}

TEST(CurrencyValues, namesAreAlwaysOnePerLanguage) {
    struct Row {
        const char *value;
        std::vector<std::string> names;
    };
    const Row rows[] = {
        {"a|b|c|d|e|f|", {"a", "b", "c", "d", "e", "f"}},
        {"a|b|c|d|e|f|g|h|", {"a", "b", "c", "d", "e", "f"}},
        {"a|b|c|d|e|f", {"a", "b", "c", "d", "e", "f"}},
        {"a|b", {"a", "b", "XYZ", "XYZ", "XYZ", "XYZ"}},
        {"a||c", {"a", "", "c", "XYZ", "XYZ", "XYZ"}},
        {"XYZ", {"XYZ", "XYZ", "XYZ", "XYZ", "XYZ", "XYZ"}},
        {"|", {"", "XYZ", "XYZ", "XYZ", "XYZ", "XYZ"}},
        {"", {"XYZ", "XYZ", "XYZ", "XYZ", "XYZ", "XYZ"}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(namesFromValue(row.value, "XYZ", 6), row.names) << row.value;
    EXPECT_EQ(namesValue({"a", "", "c"}, "XYZ", 6), "a||c|XYZ|XYZ|XYZ|");
    EXPECT_EQ(namesValue({"a", "b", "c", "d", "e", "f", "g"}, "XYZ", 6), "a|b|c|d|e|f|");
}

TEST(CurrencyValues, olderNameLayoutsBecomeSixNames) {
    struct Row {
        const char *value;
        const char *converted;
    };
    const Row rows[] = {
        {"A|B|C|D|", "A|B|B|C|B|D|"}, // DE, EN, FR, NL
        {"A|B|C|D|rest", "A|B|B|C|B|D|"},
        {"A|B|C|", "A|A|A|B|A|C|"}, // EN, FR, NL
        {"A|B|C|D", "A|A|A|B|A|C|"},
        {"|||", "||||||"},
        {"A|B|C|D|E|F|", "A|B|C|D|E|F|"}, // the current layout
        {"A|B|", "A|B|"},
        {"A|B|C|D|E|F|G|H|I|", "A|B|C|D|E|F|G|H|I|"},
        {"", ""},
        {"A", "A"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(namesOfOlderLayout(row.value), row.converted) << row.value;
}

TEST(CurrencyValues, aliasValueHoldsTheDefaultThenTheOthers) {
    struct Row {
        const char *value;
        const char *defaultAlias;
        std::vector<std::string> aliases;
    };
    const Row rows[] = {
        {"BEF|BF|FB|F", "BEF", {"BF", "FB", "F"}},
        {"GRD|", "GRD", {}},
        {"", "", {}},
        {"-1|", "-1", {}},
        {"-1|a|b|", "-1", {"a", "b"}},
        {"W", "W", {"W"}}, // without "|" the one word is both
        {"$|$", "$", {"$"}},
        {"|a||b", "", {"a", "", "b"}},
    };
    for (const Row &row : rows) {
        const AliasValue value = aliasesFromValue(row.value);
        EXPECT_EQ(value.defaultAlias, row.defaultAlias) << row.value;
        EXPECT_EQ(value.aliases, row.aliases) << row.value;
    }
    EXPECT_EQ(aliasValue("-1", "BF|FB"), "-1|BF|FB");
    EXPECT_EQ(aliasValue("", ""), "|");
}

TEST(CurrencyValues, ratesAreCompletePairsOnly) {
    struct Row {
        const char *value;
        std::vector<std::pair<std::string, std::optional<double>>> rates;
    };
    const Row rows[] = {
        {"USD|1.5|GBP|0.8|", {{"USD", 1.5}, {"GBP", 0.8}}},
        {"USD|1.5|GBP|0.8", {{"USD", 1.5}}},
        {"USD|1.5|GBP|", {{"USD", 1.5}}},
        {"USD|abc|", {{"USD", 0.0}}},
        {"USD|1e999|JPY|2|", {{"USD", std::nullopt}, {"JPY", 2.0}}},
        {"", {}},
        {"USD", {}},
    };
    for (const Row &row : rows) {
        std::vector<std::pair<std::string, std::optional<double>>> read;
        for (const StoredRate &rate : ratesFromValue(row.value))
            read.emplace_back(rate.code, rate.rate);
        EXPECT_EQ(read, row.rates) << row.value;
    }
    EXPECT_EQ(rateItem("USD", 1.0 / 3.0), "USD|0.333333333333333|");
}

// Two processes enter rates of one currency at once: the one saving second keeps the first's.
TEST(CurrencyValues, mergedRatesKeepWhatOnlyTheStoreChanged) {
    struct Row {
        const char *what;
        const char *current;
        const char *base;
        const char *ours;
        const char *merged;
    };
    const Row rows[] = {
        {"nobody else changed it", "USD|1.1|", "USD|1.1|", "USD|1.2|", "USD|1.2|"},
        {"another process added a rate", "USD|1.1|GBP|0.8|", "USD|1.1|", "USD|1.2|",
         "USD|1.2|GBP|0.8|"},
        {"we added one, it another", "GBP|0.8|", "", "JPY|150|", "GBP|0.8|JPY|150|"},
        {"we dropped one, it changed another", "USD|1.1|GBP|0.9|", "USD|1.1|GBP|0.8|", "GBP|0.8|",
         "GBP|0.9|"},
        {"both changed one: ours is the latest", "USD|1.3|", "USD|1.1|", "USD|1.2|", "USD|1.2|"},
        {"it dropped one we kept", "", "USD|1.1|", "USD|1.1|", ""},
        {"same rate written otherwise is no change", "USD|1.3|", "usd|1.10|", "USD|1.1|JPY|2|",
         "USD|1.3|JPY|2|"},
        {"an unusable rate we left out is dropped", "USD|-2|GBP|0.8|", "USD|-2|", "", "GBP|0.8|"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(mergeRates(row.current, row.base, row.ours), row.merged) << row.what;
    EXPECT_TRUE(sameRates("USD|1.50|GBP|0.8|", "gbp|0.8|USD|1.5|"));
    EXPECT_FALSE(sameRates("USD|1.5|", "USD|1.5|GBP|0.8|"));
    EXPECT_TRUE(sameRates("", ""));
}

TEST(CurrencyValues, builtInNamesFallBackToStoredNamesThenTheCode) {
    EXPECT_EQ(builtInNamesOver("a|b|c|d|e|f|", "s1|s2|s3|s4|s5|s6|", "BEF", 6), "a|b|c|d|e|f|");
    EXPECT_EQ(builtInNamesOver("a||c||e||", "s1|s2|s3|s4||", "BEF", 6), "a|s2|c|s4|e|BEF|");
    EXPECT_EQ(builtInNamesOver("||||||", "", "BEF", 6), "BEF|BEF|BEF|BEF|BEF|BEF|");
    EXPECT_EQ(builtInNamesOver("", "s1|s2|", "XYZ", 6), "s1|s2|XYZ|XYZ|XYZ|XYZ|");
}

TEST(CurrencyValues, listsTakeOnlyTerminatedPieces) {
    EXPECT_THAT(listFromValue("USD|GBP|"), ElementsAre("USD", "GBP"));
    EXPECT_THAT(listFromValue("USD|GBP"), ElementsAre("USD"));
    EXPECT_THAT(listFromValue("USD||"), ElementsAre("USD", ""));
    EXPECT_THAT(listFromValue(""), IsEmpty());
    EXPECT_EQ(listValue({"USD", "GBP"}), "USD|GBP|");
    EXPECT_EQ(listValue({}), "");
}

} // namespace
} // namespace kvt
