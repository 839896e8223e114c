#include "engine/UserNumber.h"

#include "support/ErrorMatchers.h"
#include "support/ScopedNumericLocale.h"

#include <clocale>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace kvt {
namespace {

const NumberPunctuation kPointAndComma{".", ","};      // en_US
const NumberPunctuation kCommaAndPoint{",", "."};      // de_DE, it_IT
const NumberPunctuation kCommaAndSpace{",", "\u202f"}; // fr_FR: narrow no-break space
const NumberPunctuation kArabicComma{"\u066b", ""};    // a separator of more than one byte

TEST(UserNumber, readsWhatTheUserMeantAndRefusesTheRest) {
    struct Row {
        const char *text;
        const NumberPunctuation &marks;
        std::optional<double> expected;
    };
    const Row rows[] = {
        {"1.5", kPointAndComma, 1.5},
        {" \t2 ", kPointAndComma, 2},
        {"-0.25", kPointAndComma, -0.25},
        {"+3", kPointAndComma, 3},
        {".5", kPointAndComma, 0.5},
        {"5.", kPointAndComma, 5},
        {"1e3", kPointAndComma, 1000},
        {"2.5E-2", kPointAndComma, 0.025},
        {"0", kPointAndComma, 0},
        {"1936.27", kPointAndComma, 1936.27},
        // Digit grouping is never taken, whichever mark the locale groups with.
        {"1,936.27", kPointAndComma, std::nullopt},
        {"1,5", kPointAndComma, std::nullopt},
        {"1936,27", kCommaAndPoint, 1936.27},
        {"1.936,27", kCommaAndPoint, std::nullopt},
        // Where "." groups digits it is ambiguous, so refused; elsewhere it is a decimal point.
        {"1.936", kCommaAndPoint, std::nullopt},
        {"1.5", kCommaAndSpace, 1.5},
        {"1,5", kCommaAndSpace, 1.5},
        {"1\u202f936", kCommaAndSpace, std::nullopt},
        {"1\u066b5", kArabicComma, 1.5},
        {"1.5", kArabicComma, 1.5},
        // Not numbers.
        {"", kPointAndComma, std::nullopt},
        {"  ", kPointAndComma, std::nullopt},
        {".", kPointAndComma, std::nullopt},
        {"-", kPointAndComma, std::nullopt},
        {"abc", kPointAndComma, std::nullopt},
        {"1.5 EUR", kPointAndComma, std::nullopt},
        {"1..5", kPointAndComma, std::nullopt},
        {"1.2.3", kPointAndComma, std::nullopt},
        {"1,5,", kCommaAndSpace, std::nullopt},
        {"- 5", kPointAndComma, std::nullopt},
        {"++5", kPointAndComma, std::nullopt},
        {"1e", kPointAndComma, std::nullopt},
        {"e5", kPointAndComma, std::nullopt},
        {"0x10", kPointAndComma, std::nullopt},
        {"inf", kPointAndComma, std::nullopt},
        {"nan", kPointAndComma, std::nullopt},
        {"1e400", kPointAndComma, std::nullopt},
        {"5\n", kPointAndComma, std::nullopt},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message()
                     << '"' << row.text << "\" with decimal \"" << row.marks.decimal << '"');
        const std::optional<double> read = parseUserNumber(row.text, row.marks);
        ASSERT_EQ(read.has_value(), row.expected.has_value());
        if (read) {
            EXPECT_DOUBLE_EQ(*read, *row.expected);
        }
    }
}

TEST(UserNumber, followsTheDecimalSeparatorOfTheUsersLocale) {
    EXPECT_DOUBLE_EQ(userNumber("1.25"), 1.25);
    EXPECT_THAT([] { userNumber("1,25"); }, test::ThrowsError(err::TypeMismatch, {"\"1,25\""}));

    const test::ScopedNumericLocale german = test::germanLocale();
    if (!german.ok())
        GTEST_SKIP() << "the de_DE.UTF-8 locale is not installed";
    EXPECT_EQ(userNumberPunctuation().decimal, ",");
    EXPECT_DOUBLE_EQ(userNumber("1,25"), 1.25);
    EXPECT_THAT([] { userNumber("1.250"); }, test::ThrowsError(err::TypeMismatch, {"\"1.250\""}));
}

} // namespace
} // namespace kvt
