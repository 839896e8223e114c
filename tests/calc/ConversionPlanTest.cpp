#include "ConversionPlan.h"

#include <gtest/gtest.h>

namespace talvio::calc {
namespace {

TEST(ConversionPlan, namesCellsAndPlacesResults) {
    const std::pair<std::int32_t, const char *> columns[] = {
        {0, "A"}, {25, "Z"}, {26, "AA"}, {51, "AZ"}, {701, "ZZ"}, {702, "AAA"}, {16383, "XFD"}};
    for (const auto &[column, name] : columns)
        EXPECT_EQ(columnName(column), name) << column;
    EXPECT_EQ(cellName(2, 9), "C10");

    const std::tuple<kvt::InsAutoTypePos, std::int32_t, std::int32_t> offsets[] = {
        {kvt::InsautoMilieu, 0, 0},  {kvt::InsAutoHaut, 0, -1},  {kvt::InsAutoBas, 0, 1},
        {kvt::InsAutoGauche, -1, 0}, {kvt::InsautoDroite, 1, 0},
    };
    for (const auto &[position, columnsAway, rowsAway] : offsets) {
        EXPECT_EQ(offsetOf(position).columns, columnsAway) << position;
        EXPECT_EQ(offsetOf(position).rows, rowsAway) << position;
    }
}

TEST(ConversionPlan, writesFormulasAndFormatsThatKeepTheConversion) {
    const Rounding up{"BEF", "FRF", kvt::suptargetValue, "X.X9", 3};
    const Rounding legal{"ITL", "EUR", kvt::Legal, "0.0X", 15};
    EXPECT_EQ(conversionFormula("B2", up), R"(=TALVIO.CONVERT(B2;"BEF";"FRF";"up";"X.X9";3))");
    EXPECT_EQ(conversionFormula("(SUM(A1:A3))", legal),
              R"(=TALVIO.CONVERT((SUM(A1:A3));"ITL";"EUR";"legal";"0.0X";15))");
    EXPECT_EQ(methodWord(kvt::NearValue), "near");
    EXPECT_EQ(methodWord(kvt::infTargetValue), "down");

    const std::pair<double, const char *> numbers[] = {
        {1000, "1000"}, {-123.456, "-123.456"}, {0.1, "0.1"}, {1e21, "1e+21"}, {2.5e-7, "2.5e-07"}};
    for (const auto &[value, text] : numbers)
        EXPECT_EQ(numberLiteral(value), text);

    EXPECT_EQ(resultFormat("#,##0.00", ""), "#,##0.00");
    EXPECT_EQ(resultFormat("#,##0", "FB"), "#,##0 [$FB]");
}

TEST(ConversionPlan, cutsColumnsIntoRunsOfConsecutiveRows) {
    struct Case {
        std::vector<std::int32_t> rows;
        std::int32_t maxLength;
        std::vector<std::pair<std::int32_t, std::int32_t>> runs;
    };
    const Case cases[] = {
        {{}, 10, {}},
        {{4}, 10, {{4, 1}}},
        {{1, 2, 3, 7, 8, 10}, 10, {{1, 3}, {7, 2}, {10, 1}}},
        {{0, 1, 2, 3, 4}, 2, {{0, 2}, {2, 2}, {4, 1}}},
    };
    for (const Case &c : cases) {
        std::vector<std::pair<std::int32_t, std::int32_t>> got;
        for (const talvio::calc::Run &run : runsOf(c.rows, c.maxLength))
            got.emplace_back(run.first, run.count);
        EXPECT_EQ(got, c.runs);
    }
}

} // namespace
} // namespace talvio::calc
