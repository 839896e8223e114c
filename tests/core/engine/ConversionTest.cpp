#include "model/Devise.h"
#include "model/ISO.h"
#include "support/ConversionFixture.h"

#include <cmath>
#include <functional>
#include <limits>

namespace kvt {
namespace {

class Conversion : public test::ConversionFixture {
protected:
    void SetUp() override {
        ConversionFixture::SetUp();
        setRate("AAA", "BBB", 1.0); // so that a converted amount is the amount itself
    }
};

// One row per line of the worked-values table: the converted amount before rounding is
// 123.456 (or -123.456).
TEST_F(Conversion, worksTheRoundingTableUpAndDownOnBothSigns) {
    struct Row {
        const char *pattern;
        double up, down, upNegative, downNegative;
    };
    const Row rows[] = {
        {"X.XX", 123.46, 123.46, -123.46, -123.46},
        {"X.X9", 123.49, 123.39, -123.39, -123.49},
        {"X.X", 123.5, 123.5, -123.5, -123.5},
        {"X.9", 123.9, 122.9, -122.9, -123.9},
        {"X", 123, 123, -123, -123},
        {"X9", 129, 119, -119, -129},
        {"X0", 130, 120, -120, -130},
        {"X99", 199, 99, -99, -199},
        {"X00", 200, 100, -100, -200},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.pattern);
        EXPECT_DOUBLE_EQ(convert(123.456, "AAA", "BBB", suptargetValue, row.pattern), row.up);
        EXPECT_DOUBLE_EQ(convert(123.456, "AAA", "BBB", infTargetValue, row.pattern), row.down);
        EXPECT_DOUBLE_EQ(convert(-123.456, "AAA", "BBB", suptargetValue, row.pattern),
                         row.upNegative);
        EXPECT_DOUBLE_EQ(convert(-123.456, "AAA", "BBB", infTargetValue, row.pattern),
                         row.downNegative);
    }
    EXPECT_EQ(failuresShown(), 0u);
}

TEST_F(Conversion, roundsNearTheEdgesOfTargetsAndZero) {
    struct Row {
        double amount;
        MethodeArondiType method;
        const char *pattern;
        double expected;
    };
    const Row rows[] = {
        {5, suptargetValue, "X0", 10},
        {5, suptargetValue, "X00", 100},
        {5, infTargetValue, "X9", -9},
        {-5, suptargetValue, "X9", 9},
        {-5, infTargetValue, "X0", -10},
        {0.004, infTargetValue, "X.X9", -0.09},
        {129.4, suptargetValue, "X9", 129},
        {2.5, suptargetValue, "X", 3},
        {-2.5, suptargetValue, "X", -3},
        {0.005, suptargetValue, "X.XX", 0.01},
        {0.125, infTargetValue, "X.XX", 0.13},
        {-0.001, suptargetValue, "X.XX", 0},
        // NearValue is the upward method, target ending included.
        {123.456, NearValue, "X.XX", 123.46},
        {123.456, NearValue, "X9", 129},
        // Lower-case patterns behave as upper-case ones; no point means whole units.
        {123.456, infTargetValue, "x.x9", 123.39},
        {123.456, suptargetValue, "9", 129},
        {123.456, suptargetValue, "0.0X", 123.46},
        {123.456, suptargetValue, "XX", 123},
        // A method outside the four: the caller's decimals, no target step.
        {123.456, MethodeArondiType{999}, "X.X9", 123.46},
        {-123.456, MethodeArondiType{0}, "X9", -123},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.amount << ' ' << row.method << ' ' << row.pattern);
        EXPECT_DOUBLE_EQ(convert(row.amount, "AAA", "BBB", row.method, row.pattern), row.expected);
    }
    EXPECT_EQ(failuresShown(), 0u);
}

TEST_F(Conversion, zeroConvertsToZeroWhateverTheMethodAndPattern) {
    for (const MethodeArondiType method : {Legal, NearValue, suptargetValue, infTargetValue})
        for (const char *pattern : {"X9", "X00", "X.X9", "X", "0.0X"}) {
            const double result = convert(0.0, "AAA", "BBB", method, pattern);
            EXPECT_EQ(result, 0.0);
            EXPECT_FALSE(std::signbit(result)) << "negative zero for " << pattern;
        }
}

TEST_F(Conversion, legalRoundingUsesTheTargetsOwnPatternAndNeverATargetEnding) {
    EXPECT_DOUBLE_EQ(convert(1000, "EUR", "BEF", Legal, "X.X9"), 40340);
    EXPECT_DOUBLE_EQ(convert(1, "EUR", "BEF", Legal, "X.XX"), 40);
    EXPECT_DOUBLE_EQ(convert(1000, "BEF", "EUR", Legal, "X"), 24.79);
    auto usd = change.ColDevises()->Item("USD");
    usd->setDevFormat("x.x9");
    setRate("AAA", "USD", 1.0);
    EXPECT_DOUBLE_EQ(convert(123.456, "AAA", "USD", Legal, "X"), 123.46);
}

TEST_F(Conversion, goesThroughTheEuroBetweenEuroAreaAndOtherCurrencies) {
    setRate("EUR", "USD", 1.1);
    struct Row {
        double amount;
        const char *from;
        const char *to;
        std::int16_t nbDecEuroInter;
        double expected;
    };
    const Row rows[] = {
        {100, "DEM", "FRF", 3, 335.38},
        {1000, "BEF", "FRF", 3, 162.61},
        {-1000, "BEF", "FRF", 3, -162.61},
        // The intermediate euro amount is rounded: 7 BEF is 0.174 EUR at 3 decimals.
        {7, "BEF", "ITL", 3, 337},
        {7, "BEF", "ITL", 15, 336},
        {7, "BEF", "ITL", 0, 0},
        // A euro-area currency into itself goes to the euro and back.
        {1, "BEF", "BEF", 2, 1},
        {1, "BEF", "BEF", 1, 0},
        {20, "BEF", "BEF", 1, 20},
        // Euro-area to outside and back: 100 DEM = 51.129 EUR = 56.2419 USD.
        {100, "DEM", "USD", 3, 56.24},
        {56.24, "USD", "DEM", 3, 100},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.amount << ' ' << row.from << "->" << row.to);
        EXPECT_DOUBLE_EQ(convert(row.amount, row.from, row.to, Legal, "", row.nbDecEuroInter),
                         row.expected);
    }
    EXPECT_EQ(failuresShown(), 0u);
}

// Each row changes the tables after the pair was converted: the next conversion must see it.
TEST_F(Conversion, aConvertedPairSeesEveryLaterChangeOfRatesPatternsAndEuroArea) {
    const auto record = [&](const char *from, const char *to) -> Taux & {
        return *change.ColISO()->Item(from)->ColTaux()->Item(to);
    };
    const auto setInEuro = [&](bool inEuro) {
        change.ColDevises()->Item("BEF")->setInEuro(inEuro);
        change.ColDevises()->Item("FRF")->setInEuro(inEuro);
    };
    struct Row {
        const char *change;
        std::function<void()> apply;
        double expected; // 1000 BEF in FRF, legal rounding, the euro amount at 3 decimals
        std::size_t failures;
    };
    const Row rows[] = {
        {"none", [] {}, 162.61, 0},
        {"the target's euro rate", [&] { setRate("EUR", "FRF", 6.0); }, 148.73, 0},
        {"the target's legal pattern",
         [&] { change.ColDevises()->Item("FRF")->setDevFormat("X.X"); }, 148.7, 0},
        {"the source's euro rate, given the other way",
         [&] {
             record("EUR", "BEF").Exist = false;
             setRate("BEF", "EUR", 0.025);
         },
         150, 0},
        {"both outside the euro area, with a direct rate",
         [&] {
             setRate("BEF", "FRF", 0.2);
             setInEuro(false);
         },
         200, 0},
        {"back in the euro area, with a euro rate of 0 to invert",
         [&] {
             setInEuro(true);
             record("BEF", "EUR").Exist = false;
             setRate("EUR", "BEF", 0.0);
         },
         0, 1},
        {"that rate made usable", [&] { setRate("EUR", "BEF", 40.0); }, 150, 0},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.change);
        row.apply();
        boxes->clear();
        EXPECT_DOUBLE_EQ(convert(1000, "BEF", "FRF", Legal, "", 3), row.expected);
        EXPECT_EQ(failuresShown(), row.failures) << lastFailure();
    }
}

TEST_F(Conversion, usesTheStoredRateInEitherDirectionBetweenCurrenciesOutsideTheEuro) {
    setRate("USD", "JPY", 150.0);
    setRate("GBP", "USD", 1.25);
    EXPECT_DOUBLE_EQ(convert(2, "USD", "JPY", Legal, ""), 300);
    EXPECT_DOUBLE_EQ(convert(300, "JPY", "USD", Legal, ""), 2);
    EXPECT_DOUBLE_EQ(convert(10, "USD", "GBP", Legal, ""), 8);
    // A rate with the euro never helps between two outside currencies.
    setRate("EUR", "GBP", 0.8);
    EXPECT_DOUBLE_EQ(convert(10, "GBP", "JPY", Legal, ""), 0);
    // The same code converts with the rate 1 when neither record holds a rate.
    EXPECT_DOUBLE_EQ(convert(12.375, "USD", "USD", Legal, ""), 12.38);
    EXPECT_EQ(failuresShown(), 0u);
}

TEST_F(Conversion, aRateOfZeroConvertsSilentlyToZeroBeforeTheTargetStep) {
    setRate("USD", "JPY", 0.0);
    EXPECT_EQ(convert(100, "USD", "JPY", suptargetValue, "X.XX"), 0);
    EXPECT_EQ(convert(100, "USD", "JPY", suptargetValue, "X9"), 9);
    EXPECT_EQ(convert(100, "USD", "JPY", infTargetValue, "X9"), -9);
    // Unconnected different codes convert with the rate 0 too.
    EXPECT_EQ(convert(100, "GBP", "JPY", suptargetValue, "X9"), 9);
    EXPECT_EQ(failuresShown(), 0u);
}

TEST_F(Conversion, failuresShowOneCriticalMessageAndGiveZero) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    setRate("JPY", "USD", 0.0); // a reverse rate of 0
    setRate("AAA", "GBP", 10.0);
    struct Row {
        double amount;
        const char *from;
        const char *to;
        std::int16_t nbDecEuroInter;
        const char *pattern;
        const char *described; // part of the description shown
    };
    const Row rows[] = {
        {1, "XYZ", "EUR", 15, "X", "XYZ"},
        {1, "EUR", "xyz", 15, "X", "xyz"},
        {1, "USD", "JPY", 15, "X", "Division by zero"},
        {1, "BEF", "USD", -1, "X", "negative"},
        {nan, "USD", "GBP", 15, "X", "not a finite number"},
        {inf, "USD", "GBP", 15, "X", "not a finite number"},
        {-inf, "BEF", "USD", 15, "X", "not a finite number"},
        {1e308, "AAA", "GBP", 15, "X", "overflow"},
        {1e300, "AAA", "BBB", 15, "X.XXXXXXXXXXXXXXXXXXXX", "overflow"},
        {1, "AAA", "BBB", 15,
         "X9999999999999999999999999999999999999999999999999999999999999999"
         "9999999999999999999999999999999999999999999999999999999999999999"
         "9999999999999999999999999999999999999999999999999999999999999999"
         "9999999999999999999999999999999999999999999999999999999999999999"
         "9999999999999999999999999999999999999999999999999999999999999999",
         "overflow"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.amount << ' ' << row.from << "->" << row.to);
        boxes->clear();
        const double result =
            convert(row.amount, row.from, row.to, suptargetValue, row.pattern, row.nbDecEuroInter);
        EXPECT_EQ(result, 0.0);
        ASSERT_EQ(failuresShown(), 1u);
        EXPECT_EQ(boxes->shown()[0].icon, BoxIcon::Critical);
        EXPECT_NE(lastFailure().find(row.described), std::string::npos) << lastFailure();
    }
}

TEST_F(Conversion, aFailingEuroLegShowsOneMessageAndTheOtherLegConvertsZero) {
    change.ColISO()->Item("BEF")->ColTaux()->Remove("EUR");
    EXPECT_EQ(convert(100, "BEF", "USD", suptargetValue, "X.XX"), 0);
    EXPECT_EQ(failuresShown(), 1u);
    EXPECT_NE(lastFailure().find("EUR"), std::string::npos);
}

TEST_F(Conversion, missingRecordsOfTheSameCodeAreAFailure) {
    change.ColISO()->Item("USD")->ColTaux()->Remove("USD");
    EXPECT_EQ(convert(5, "USD", "USD", Legal, ""), 0);
    EXPECT_EQ(failuresShown(), 1u);
}

} // namespace
} // namespace kvt
