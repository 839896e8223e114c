#include "model/SettingsValues.h"

#include "support/ErrorMatchers.h"

#include <gtest/gtest.h>

namespace kvt {
namespace {

TEST(SettingsValues, wholeNumbersAcceptBlanksAndSignWithin16Bits) {
    struct Row {
        const char *text;
        std::optional<std::int16_t> expected;
    };
    const Row rows[] = {
        {"1", 1},
        {"130", 130},
        {" 15 ", 15},
        {"\t-3\t", -3},
        {"+5", 5},
        {"007", 7},
        {"32767", 32767},
        {"-32768", -32768},
        {"0000000000032767", 32767},
        {"-0", 0},
        {"32768", std::nullopt},
        {"-32769", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"", std::nullopt},
        {"  ", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {"5.0", std::nullopt},
        {"1e2", std::nullopt},
        {"0x10", std::nullopt},
        {"12abc", std::nullopt},
        {"- 5", std::nullopt},
        {"+-5", std::nullopt},
        {"1 2", std::nullopt},
        {"\n5", std::nullopt},
        {"\xd9\xa3", std::nullopt},
    };
    for (const Row &row : rows)
        EXPECT_EQ(tryParseInt16(row.text), row.expected) << '"' << row.text << '"';
}

TEST(SettingsValues, refusedWholeNumberNamesKeyAndText) {
    EXPECT_EQ(parseInt16("RoundType", " 131 "), 131);
    EXPECT_THAT([] { parseInt16("RoundType", "1.5"); },
                test::ThrowsError(err::TypeMismatch, {"\"RoundType\"", "\"1.5\""}));
}

TEST(SettingsValues, switchIsOnExactlyWhenUpperCasedTextIsOn) {
    struct Row {
        const char *text;
        bool on;
    };
    const Row rows[] = {{"ON", true},   {"on", true},   {"oN", true}, {"OFF", false},
                        {"1", false},   {"yes", false}, {"", false},  {" ON", false},
                        {"ON ", false}, {"ONE", false}, {"O", false}};
    for (const Row &row : rows)
        EXPECT_EQ(parseSwitch(row.text), row.on) << '"' << row.text << '"';
    EXPECT_EQ(formatSwitch(true), "ON");
    EXPECT_EQ(formatSwitch(false), "OFF");
}

} // namespace
} // namespace kvt
