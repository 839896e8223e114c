#include "engine/ReferenceRates.h"

#include "engine/RateEntry.h"
#include "engine/RateImport.h"
#include "model/Collections.h"
#include "model/Devise.h"
#include "model/Error.h"
#include "model/ISO.h"
#include "support/ConversionFixture.h"

#include <charconv>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace kvt {
namespace {

using testing::HasSubstr;

std::string numberText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// "xml|2026-12-09 USD=1.0956 JPY=162.5|2026-12-08 USD=1.09"
std::string summary(const ReferenceRates &rates) {
    std::string text = rates.format == ReferenceFormat::Xml ? "xml" : "csv";
    for (const ReferenceDay &day : rates.days) {
        text += "|" + day.date;
        for (const ReferenceRate &rate : day.rates)
            text += " " + rate.currency + "=" + numberText(rate.rate);
    }
    return text;
}

constexpr const char *kEnvelope =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
    "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\">\n"
    "\t<gesmes:subject>Reference rates</gesmes:subject>\n"
    "\t<gesmes:Sender>\n\t\t<gesmes:name>European Central Bank</gesmes:name>\n"
    "\t</gesmes:Sender>\n\t<Cube>\n";

std::string xml(const std::string &cubes) {
    return kEnvelope + cubes + "\t</Cube>\n</gesmes:Envelope>\n";
}

struct ParseRow {
    std::string name;
    std::string text;
    std::string expected;
};

TEST(ReferenceRates, readsTheDailyNinetyDayAndHistoricalFilesInBothFormats) {
    const std::vector<ParseRow> rows = {
        {"daily xml",
         xml("\t\t<Cube time='2026-12-09'>\n\t\t\t<Cube currency='USD' rate='1.0956'/>\n"
             "\t\t\t<Cube currency='JPY' rate='162.5'/>\n\t\t</Cube>\n"),
         "xml|2026-12-09 USD=1.0956 JPY=162.5"},
        {"ninety-day xml, double quotes, comment",
         xml("<!-- <Cube time=\"bad\"> --><Cube time=\"2026-12-09\"><Cube currency=\"USD\" "
             "rate=\"1.0956\"/></Cube>\n<Cube time=\"2026-12-08\"><Cube currency=\"USD\" "
             "rate=\"1.09\"/><Cube currency=\"GBP\" rate=\"0.86\"/></Cube>"),
         "xml|2026-12-09 USD=1.0956|2026-12-08 USD=1.09 GBP=0.86"},
        {"daily csv with the trailing column and a byte order mark",
         "\xEF\xBB\xBF"
         "Date, USD, JPY, \r\n09 December 2026, 1.0956, 162.5, \r\n",
         "csv|2026-12-09 USD=1.0956 JPY=162.5"},
        {"historical csv with N/A and empty rates",
         "Date,USD,JPY,CYP,\n2026-12-09,1.0956,N/A,,\n\n2008-01-02,1.4718,164.92,0.585274,\n",
         "csv|2026-12-09 USD=1.0956|2008-01-02 USD=1.4718 JPY=164.92 CYP=0.585274"},
        {"lower-case codes", "Date,usd\n2026-02-28,2e0\n", "csv|2026-02-28 USD=2"},
        {"a leap day", "Date,USD\n29 February 2024,1\n", "csv|2024-02-29 USD=1"},
    };
    for (const ParseRow &row : rows)
        EXPECT_EQ(summary(parseReferenceRates(row.text)), row.expected) << row.name;
}

TEST(ReferenceRates, refusesWhatIsNotAReferenceRateFileNamingTheLine) {
    const std::vector<ParseRow> rows = {
        {"empty", "", "neither the XML"},
        {"other text", "Currency,USD\n2026-12-09,1\n", "neither the XML"},
        {"other xml", "<html><Cube time='2026-12-09'/></html>",
         "line 1: the first element \"html\""},
        {"no day", xml(""), "no dated rates"},
        {"unclosed", xml("<Cube time='2026-12-09'>\n<Cube currency='USD' rate='1'"),
         "line 9: an element is not closed"},
        {"xml bad date", xml("<Cube time='2026-02-30'>\n</Cube>\n"),
         "line 8: \"<Cube time='2026-02-30'>\": the date \"2026-02-30\" is not YYYY-MM-DD"},
        {"xml zero rate", xml("<Cube time='2026-12-09'>\n<Cube currency='USD' rate='0'/></Cube>"),
         "line 9: \"<Cube currency='USD' rate='0'/>\": the rate \"0\" is not a finite number"},
        {"xml negative", xml("<Cube time='2026-12-09'><Cube currency='USD' rate='-1'/></Cube>"),
         "the rate \"-1\" is not"},
        {"xml infinite", xml("<Cube time='2026-12-09'><Cube currency='USD' rate='inf'/></Cube>"),
         "the rate \"inf\" is not"},
        {"xml too large to invert",
         xml("<Cube time='2026-12-09'><Cube currency='USD' rate='1e308'/></Cube>"),
         "the rate \"1e308\" is not"},
        {"xml text", xml("<Cube time='2026-12-09'><Cube currency='USD' rate='1.2x'/></Cube>"),
         "the rate \"1.2x\" is not"},
        {"xml twice",
         xml("<Cube time='2026-12-09'>\n<Cube currency='USD' rate='1'/>\n<Cube currency='usd' "
             "rate='2'/></Cube>"),
         "line 10: \"<Cube currency='usd' rate='2'/>\": USD is given twice for one day"},
        {"xml day twice", xml("<Cube time='2026-12-09'/>\n<Cube time='2026-12-09'/>"),
         "line 9: \"<Cube time='2026-12-09'/>\": the day 2026-12-09 is given twice"},
        {"xml no day", xml("<Cube currency='USD' rate='1'/>"), "a rate outside a dated Cube"},
        {"xml rate alone", xml("<Cube time='2026-12-09'><Cube rate='1'/></Cube>"),
         "a Cube needs both currency and rate"},
        {"xml bad code", xml("<Cube time='2026-12-09'><Cube currency='US' rate='1'/></Cube>"),
         "\"US\" is not a currency code"},
        {"csv bad date", "Date,USD\n2026-12-09,1\n31 June 2026,1\n",
         "line 3: the date \"31 June 2026\" is neither YYYY-MM-DD nor like 09 December 2026"},
        {"csv month name", "Date,USD\n09 Dec 2026,1\n", "line 2: the date \"09 Dec 2026\""},
        {"csv zero", "Date,USD,JPY\n2026-12-09,1,0\n",
         "line 2: JPY: the rate \"0\" is not a finite number above 0"},
        {"csv nan", "Date,USD\n2026-12-09,nan\n", "line 2: USD: the rate \"nan\""},
        {"csv plus", "Date,USD\n2026-12-09,+1\n", "line 2: USD: the rate \"+1\""},
        {"csv twice", "Date,USD,JPY,USD\n2026-12-09,1,2,3\n", "line 1: USD is given twice"},
        {"csv day twice", "Date,USD\n2026-12-09,1\n2026-12-09,1\n",
         "line 3: the day 2026-12-09 is given twice"},
        {"csv columns", "Date,USD,JPY\n2026-12-09,1\n", "line 2: 2 columns where the header has 3"},
        {"csv code", "Date,USD,EURO\n2026-12-09,1,2\n", "line 1: \"EURO\" is not a currency code"},
        {"csv header only", "Date,USD\n", "no dated rates"},
    };
    for (const ParseRow &row : rows) {
        try {
            parseReferenceRates(row.text);
            ADD_FAILURE() << row.name << ": accepted";
        } catch (const Error &error) {
            EXPECT_EQ(error.number(), err::InvalidArgument) << row.name;
            EXPECT_THAT(error.description(), HasSubstr(row.expected)) << row.name;
        }
    }
}

TEST(ReferenceRates, writesADayThatReadsBackToTheSameNumbers) {
    const ReferenceDay day{"2026-12-09", {{"USD", 1.0 / 3.0}, {"JPY", 162.5}, {"GBP", 1e-5}}};
    EXPECT_EQ(writeReferenceRates(day, ReferenceFormat::Csv),
              "Date,USD,JPY,GBP\n2026-12-09,0.3333333333333333,162.5,1e-05\n");
    for (const ReferenceFormat format : {ReferenceFormat::Csv, ReferenceFormat::Xml})
        EXPECT_EQ(summary(parseReferenceRates(writeReferenceRates(day, format))).substr(3),
                  "|2026-12-09 USD=0.3333333333333333 JPY=162.5 GBP=1e-05");
    EXPECT_EQ(isoDateOf(46365.75), "2026-12-09");
    EXPECT_EQ(isoDateOf(1.0), "1899-12-31");
}

// The sample tables: EUR; BEF, DEM, FRF, ITL in the euro area; USD, GBP, JPY, AAA, BBB outside.
class RateImportTest : public test::ConversionFixture {
protected:
    // code -> (1 EUR = ? code as given, whether EUR's record is the given one)
    std::string euroRates() {
        std::string text;
        for (const char *code : {"USD", "GBP", "JPY", "BEF"}) {
            const Taux &forward = *change.ColISO()->Item("EUR")->ColTaux()->Item(code);
            const Taux &reverse = *change.ColISO()->Item(code)->ColTaux()->Item("EUR");
            text += std::string(code) + "=" + numberText(forward.Change)
                    + (forward.Exist ? "!" : "") + "/" + numberText(reverse.Change)
                    + (reverse.Exist ? "!" : "") + " ";
        }
        return text;
    }

    static std::string describe(const RateImport &import) {
        std::string text = import.date;
        for (const RateImportEntry &entry : import.entered)
            text += " " + entry.code + ":" + (entry.before ? numberText(*entry.before) : "-") + ">"
                    + numberText(entry.rate) + (entry.added ? "+" : "");
        for (const RateImportSkip &skip : import.skipped)
            text += " " + skip.code + "(" + skip.reason + ")";
        return text;
    }
};

TEST_F(RateImportTest, entersEachKnownSelectedCurrencyAsATypedEuroRate) {
    const ReferenceRates file =
        parseReferenceRates("Date,USD,GBP,JPY,BEF,EUR,XYZ\n2026-12-09,1.25,0.5,N/A,40,1,7\n"
                            "2026-12-08,1.2,0.4,160,40,1,7\n");
    setRate("USD", "EUR", 0.8);
    change.DelDevise("JPY");
    struct Row {
        std::string date;
        bool add;
        std::string planned;
    };
    const std::vector<Row> rows = {
        {"", false,
         "2026-12-09 USD:1.25>1.25 GBP:->0.5 BEF(in the euro area: its rate is fixed) EUR(the "
         "euro itself) XYZ(not in Talvio's catalogue)"},
        {"2026-12-08", false,
         "2026-12-08 USD:1.25>1.2 GBP:->0.4 JPY(not selected (--add selects it)) BEF(in the "
         "euro area: its rate is fixed) EUR(the euro itself) XYZ(not in Talvio's catalogue)"},
        {"2026-12-08", true,
         "2026-12-08 USD:1.25>1.2 GBP:->0.4 JPY:->160+ BEF(in the euro area: its rate is "
         "fixed) EUR(the euro itself) XYZ(not in Talvio's catalogue)"},
    };
    for (const Row &row : rows)
        EXPECT_EQ(describe(planRateImport(change, file, row.date, row.add)), row.planned)
            << row.date;
    EXPECT_EQ(euroRates(), "USD=0/0.8! GBP=0/0 JPY=0/0 BEF=40.3399!/0 ");

    applyRateImport(change, planRateImport(change, file, "2026-12-08", true), 46365.5);
    EXPECT_EQ(euroRates(), "USD=1.2!/0.8333333333333334 GBP=0.4!/2.5 JPY=160!/0.00625 "
                           "BEF=40.3399!/0 ");
    EXPECT_NE(change.ColDevises()->find("JPY"), nullptr);
    EXPECT_EQ(change.LastRatesUpdate(), 46365.5);
    // The cross rates with the euro-area currencies follow, as after a typed rate.
    EXPECT_EQ(numberText(change.ColISO()->Item("BEF")->ColTaux()->Item("USD")->Change),
              "0.02974722297278873");
    EXPECT_EQ(describe(planRateImport(change, file, "2026-12-08", false)),
              "2026-12-08 USD:1.2>1.2 GBP:0.4>0.4 JPY:160>160 BEF(in the euro area: its rate is "
              "fixed) EUR(the euro itself) XYZ(not in Talvio's catalogue)");

    const ReferenceDay exported = givenEuroRates(change);
    EXPECT_EQ(writeReferenceRates(exported, ReferenceFormat::Csv),
              "Date,USD,GBP,JPY\n2026-12-09,1.2,0.4,160\n");
}

TEST_F(RateImportTest, refusesADayTheFileLacksAndChangesNothing) {
    const ReferenceRates file = parseReferenceRates("Date,USD\n2026-12-09,1.25\n");
    try {
        planRateImport(change, file, "2026-12-10", false);
        ADD_FAILURE() << "accepted";
    } catch (const Error &error) {
        EXPECT_EQ(error.description(), "The file has no rates for 2026-12-10.");
    }
    EXPECT_EQ(euroRates(), "USD=0/0 GBP=0/0 JPY=0/0 BEF=40.3399!/0 ");
}

TEST_F(RateImportTest, aTypedRateIsGivenOneWayAndDerivedTheOther) {
    enterRate(change, "GBP", "USD", 2.0, 46000.25);
    const Taux &forward = *change.ColISO()->Item("GBP")->ColTaux()->Item("USD");
    const Taux &reverse = *change.ColISO()->Item("USD")->ColTaux()->Item("GBP");
    EXPECT_EQ(std::make_tuple(forward.Change, forward.Exist, reverse.Change, reverse.Exist),
              std::make_tuple(2.0, true, 0.5, false));
    EXPECT_EQ(change.LastRatesUpdate(), 46000.25);
    EXPECT_THROW(enterRate(change, "GBP", "USD", 0.0, 1.0), Error);
    EXPECT_THROW(enterRate(change, "GBP", "QQQ", 2.0, 1.0), Error);
    EXPECT_EQ(std::make_tuple(forward.Change, change.LastRatesUpdate()),
              std::make_tuple(2.0, 46000.25));
}

} // namespace
} // namespace kvt
