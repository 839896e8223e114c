#include "HostProcess.h"
#include "support/ScopedEnv.h"

#include <algorithm>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace talvio::test {
namespace {

using testing::HasSubstr;

// Every run in the C locale unless a test picks another; no terminal, so nothing is asked.
class EngineCommandTest : public testing::Test, protected HostFixture {
protected:
    kvt::test::ScopedEnv mLocale{"LC_ALL", "C"};
};

struct Row {
    std::vector<std::string> arguments;
    std::string input;
    int status;
    std::string out;
    std::string err; // a part of stderr; "" means stderr must be empty
};

void expectRows(const HostFixture &host, const std::vector<Row> &rows) {
    for (const auto &row : rows) {
        const auto result = host.run(row.arguments, row.input);
        const auto name = testing::PrintToString(row.arguments);
        EXPECT_EQ(result.status, row.status) << name << "\n" << result.err;
        EXPECT_EQ(result.out, row.out) << name;
        if (row.err.empty())
            EXPECT_EQ(result.err, "") << name;
        else
            EXPECT_THAT(result.err, HasSubstr(row.err)) << name;
    }
}

TEST_F(EngineCommandTest, convertsOneAmountWithTheStoredOrTheGivenRounding) {
    expectRows(
        *this,
        {
            {{"convert", "1000", "BEF", "FRF"}, "", 0, "162.61 FRF\n", ""},
            {{"convert", "-123.456", "BEF", "FRF"}, "", 0, "-20.07 FRF\n", ""},
            {{"convert", "--raw", "1000", "BEF", "FRF"}, "", 0, "162.61\n", ""},
            {{"convert", "--method", "up", "--pattern", "X9", "1000", "BEF", "FRF"},
             "",
             0,
             "169 FRF\n",
             ""},
            {{"convert", "--method=legal", "--", "-1e3", "BEF", "EUR"}, "", 0, "-24.79 EUR\n", ""},
            {{"convert", "--euro-decimals", "3", "--raw", "1000", "BEF", "FRF"},
             "",
             0,
             "162.61\n",
             ""},
        });
}

TEST_F(EngineCommandTest, writesAmountsWithTheSeparatorsOfTheUsersLocale) {
    const kvt::test::ScopedEnv german("LC_ALL", "de_DE.UTF-8");
    expectRows(*this, {
                          {{"convert", "1000000", "BEF", "EUR"}, "", 0, "24.789,35 EUR\n", ""},
                          {{"convert", "--raw", "1000000", "BEF", "EUR"}, "", 0, "24789.35\n", ""},
                      });
}

TEST_F(EngineCommandTest, streamModeKeepsLinesAlignedAndReportsBadLines) {
    expectRows(*this,
               {
                   {{"convert", "BEF", "FRF"}, "1000\n-5e2\n", 0, "162.61 FRF\n-81.30 FRF\n", ""},
                   {{"convert", "--raw", "BEF", "FRF"},
                    "1000\nabc\n\n40.3399",
                    1,
                    "162.61\n\n\n6.56\n",
                    "line 2: not an amount: \"abc\""},
               });
    const auto result = run({"convert", "BEF", "FRF"}, "1\n1,5\n2\n");
    EXPECT_THAT(result.err, HasSubstr("line 2"));
    EXPECT_THAT(result.err, testing::Not(HasSubstr("line 3")));
}

TEST_F(EngineCommandTest, aMissingRateFailsWithoutTerminalAndNamesSetRate) {
    expectRows(*this,
               {
                   {{"convert", "100", "BEF", "USD"},
                    "",
                    1,
                    "",
                    "no exchange rate is stored for BEF to USD; enter one with: talvio set-rate "
                    "EUR USD RATE"},
                   {{"convert", "USD", "GBP"}, "1\n", 1, "", "talvio set-rate USD GBP RATE"},
                   {{"rate", "USD", "GBP"}, "", 1, "", "talvio set-rate USD GBP"},
                   {{"convert", "1", "XXX", "USD"}, "", 1, "", "XXX is not a selected currency"},
               });
}

TEST_F(EngineCommandTest, setRateEntersTheRateAndItsInverseAndSavesThem) {
    expectRows(*this, {
                          {{"set-rate", "EUR", "USD", "1.1"}, "", 0, "", ""},
                          {{"rate", "EUR", "USD"}, "", 0, "1.1\n", ""},
                          {{"rate", "USD", "EUR"}, "", 0, "0.909090909090909\n", ""},
                          {{"convert", "--raw", "100", "BEF", "USD"}, "", 0, "2.73\n", ""},
                          {{"set-rate", "USD", "GBP", "0.5"}, "", 0, "", ""},
                          {{"convert", "--raw", "10", "GBP", "USD"}, "", 0, "20\n", ""},
                          {{"labels", "BEF", "USD"},
                           "",
                           0,
                           "Exchange rate\t1 EUR = 40.3399 BEF\n"
                           "Exchange rate\t1 EUR = 1.1 USD\n"
                           "Cross rate\t1 BEF = 0.02726828772506 USD\n",
                           ""},
                      });
}

TEST_F(EngineCommandTest, setRateRefusesEuroZoneEqualAndZeroOrNonNumericRates) {
    expectRows(*this, {
                          {{"set-rate", "BEF", "USD", "3"}, "", 1, "", "BEF is in the euro zone"},
                          {{"set-rate", "USD", "FRF", "3"}, "", 1, "", "FRF is in the euro zone"},
                          {{"set-rate", "USD", "USD", "3"}, "", 1, "", "no rate to itself"},
                          {{"set-rate", "USD", "GBP", "0"}, "", 1, "", "other than 0"},
                          {{"set-rate", "USD", "GBP", "abc"}, "", 1, "", "other than 0"},
                          {{"rate", "USD", "GBP"}, "", 1, "", "no exchange rate"},
                      });
}

TEST_F(EngineCommandTest, listsCurrenciesFormatsLabelsAndDetail) {
    const auto selection = run({"currencies"});
    EXPECT_EQ(selection.status, 0);
    EXPECT_THAT(selection.out, HasSubstr("BEF\tBelgian franc\n"));
    EXPECT_THAT(run({"currencies", "--all"}).out, HasSubstr("USD\tUS dollar\n"));
    const auto formats = run({"formats", "up"});
    EXPECT_EQ(formats.status, 0);
    EXPECT_THAT(formats.out, testing::StartsWith("X.XX\t"));
    EXPECT_EQ(std::count(formats.out.begin(), formats.out.end(), '\n'), 9);
    expectRows(*this, {
                          {{"formats", "legal"}, "", 0, "", ""},
                          {{"labels", "BEF", "FRF"},
                           "",
                           0,
                           "Exchange rate\t1 EUR = 40.3399 BEF\n"
                           "Exchange rate\t1 EUR = 6.55957 FRF\n"
                           "Cross rate\t1 BEF = 0.16260749282968 FRF\n",
                           ""},
                      });
    const auto detail = run({"detail", "1000", "BEF", "FRF"});
    EXPECT_EQ(detail.status, 0);
    EXPECT_THAT(detail.out, HasSubstr("1000 BEF\t24.789352477323900 EUR\n"));
}

TEST_F(EngineCommandTest, wrongUseExitsWithTwo) {
    const std::vector<std::vector<std::string>> rows = {
        {"convert", "BEF"},
        {"convert", "1", "BEF", "FRF", "X"},
        {"convert", "--method", "sideways", "1", "BEF", "FRF"},
        {"convert", "--method", "129", "1", "BEF", "FRF"},
        {"convert", "--euro-decimals", "2", "1", "BEF", "FRF"},
        {"convert", "--euro-decimals", "x", "1", "BEF", "FRF"},
        {"convert", "1,5", "BEF", "FRF"},
        {"convert", "--fast", "BEF", "FRF"},
        {"rate", "BEF"},
        {"detail", "abc", "BEF", "FRF"},
        {"set-rate", "USD", "GBP"},
        {"currencies", "extra"},
        {"formats"},
        {"formats", "sideways"},
    };
    for (const auto &row : rows) {
        const auto result = run(row);
        EXPECT_EQ(result.status, 2) << testing::PrintToString(row) << result.err;
        EXPECT_THAT(result.err, HasSubstr("usage: talvio " + row[0]))
            << testing::PrintToString(row);
    }
    for (const char *command :
         {"convert", "rate", "labels", "detail", "set-rate", "currencies", "formats", "settings"}) {
        const auto help = runTalvio({command, "--help"});
        EXPECT_EQ(help.status, 0) << command;
        EXPECT_THAT(help.out, HasSubstr(std::string("usage: talvio ") + command)) << command;
    }
    // Without a known command the usage line is the program's own, naming it once.
    for (const std::vector<std::string> &words :
         {std::vector<std::string>{"frobnicate"}, std::vector<std::string>{}}) {
        const auto result = runTalvio(words);
        EXPECT_EQ(result.status, 2) << testing::PrintToString(words);
        EXPECT_THAT(result.err, HasSubstr("usage: talvio [--settings PATH]"));
        EXPECT_THAT(result.err, testing::Not(HasSubstr("talvio talvio")));
    }
}

} // namespace
} // namespace talvio::test
