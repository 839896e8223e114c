#include "HostProcess.h"
#include "support/ScopedEnv.h"
#include "support/TempDir.h"

#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace talvio::test {
namespace {

using testing::HasSubstr;

class RateFileCommandTest : public testing::Test, protected HostFixture {
protected:
    std::string file(const std::string &name, const std::string &text) const {
        const std::string path = mFiles.file(name.c_str()).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    struct Row {
        std::vector<std::string> arguments;
        int status;
        std::string out;
        std::string err; // a part of stderr; "" means stderr must be empty
    };

    void expectRows(const std::vector<Row> &rows) const {
        for (const Row &row : rows)
            expectResult(run(row.arguments), row.arguments, row.status, row.out, row.err);
    }

    kvt::test::ScopedEnv mLocale{"LC_ALL", "C"};
    kvt::test::TempDir mFiles;
};

constexpr const char *kDaily =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
    "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\">\n"
    "\t<gesmes:subject>Reference rates</gesmes:subject>\n"
    "\t<Cube>\n\t\t<Cube time='2026-12-09'>\n"
    "\t\t\t<Cube currency='USD' rate='1.0956'/>\n\t\t\t<Cube currency='JPY' rate='162.5'/>\n"
    "\t\t\t<Cube currency='DEM' rate='2'/>\n\t\t\t<Cube currency='GBP' rate='0.8512'/>\n"
    "\t\t\t<Cube currency='HUF' rate='385.1'/>\n\t\t\t<Cube currency='CHF' rate='0.9361'/>\n"
    "\t\t</Cube>\n\t</Cube>\n</gesmes:Envelope>\n";

constexpr const char *kHistorical = "Date,USD,JPY,GBP,CHF,\n"
                                    "2026-12-09,1.0956,162.5,0.8512,0.9361,\n"
                                    "2026-12-08,1.1,N/A,0.85,0.94,\n";

TEST_F(RateFileCommandTest, importsADayOfRatesPrintsTheChangesAndExportsThemBack) {
    const std::string daily = file("daily.xml", kDaily);
    const std::string historical = file("hist.csv", kHistorical);
    const std::string exported = "Date,USD,GBP,CHF,JPY\n2026-12-09,1.0956,0.8512,0.9361,162.5\n";
    expectRows({
        {{"import-rates", daily},
         0,
         "USD\t-\t1.0956\nJPY\t-\t162.5\nGBP\t-\t0.8512\nCHF\t-\t0.9361\n"
         "DEM\tskipped: in the euro area: its rate is fixed\n"
         "HUF\tskipped: not in Talvio's catalogue\n",
         ""},
        {{"rate", "EUR", "USD"}, 0, "1.0956\n", ""},
        {{"rate", "DEM", "EUR"}, 0, "0.511291881196218\n", ""},
        {{"settings", "set", "Currencies", "LastUpdate", "46365.5"}, 0, "", ""},
        {{"export-rates"}, 0, exported, ""},
        {{"import-rates", historical, "--date", "2026-12-08"},
         0,
         "USD\t1.0956\t1.1\nGBP\t0.8512\t0.85\nCHF\t0.9361\t0.94\n",
         ""},
        {{"rate", "USD", "EUR"}, 0, "0.909090909090909\n", ""},
        // Every refusal leaves the stored rates as they were.
        {{"import-rates", historical, "--date", "2026-12-07"},
         1,
         "",
         "talvio: The file has no rates for 2026-12-07.\n"},
        {{"import-rates", file("bad.csv", "Date,USD\n2026-12-09,1\n2026-12-10,0\n")},
         1,
         "",
         "line 3: USD: the rate \"0\" is not a finite number above 0"},
        {{"import-rates", file("other.txt", "hello\n")}, 1, "", "Not a reference rate file"},
        {{"import-rates", mFiles.file("missing.xml").string()}, 1, "", "Cannot read"},
        {{"import-rates", historical, "--date", "8 December 2026"},
         2,
         "",
         "--date takes a day as YYYY-MM-DD"},
        {{"import-rates", historical, "--date="}, 2, "", "--date takes a day as YYYY-MM-DD"},
        {{"import-rates"}, 2, "", "usage: talvio import-rates FILE"},
        {{"export-rates", "--format", "json"}, 2, "", "--format takes csv or xml"},
        {{"rate", "USD", "EUR"}, 0, "0.909090909090909\n", ""},
    });
}

TEST_F(RateFileCommandTest, anExportImportsBackToTheSameRatesInEitherFormat) {
    for (const std::string format : {"csv", "xml"}) {
        ASSERT_EQ(run({"import-rates", file("daily.xml", kDaily)}).status, 0);
        const ProcessResult first = run({"export-rates", "--format", format});
        ASSERT_EQ(first.status, 0) << first.err;
        const std::string saved = file("export." + format, first.out);
        expectRows({
            {{"set-rate", "EUR", "USD", "2"}, 0, "", ""},
            {{"set-rate", "JPY", "EUR", "0.005"}, 0, "", ""},
            {{"import-rates", saved},
             0,
             "USD\t2\t1.0956\nGBP\t0.8512\t0.8512\nCHF\t0.9361\t0.9361\nJPY\t200\t162.5\n",
             ""},
            {{"export-rates", "--format", format}, 0, first.out, ""},
        });
    }
    EXPECT_THAT(run({"export-rates", "--format", "xml"}).out,
                HasSubstr("<Cube currency=\"USD\" rate=\"1.0956\"/>"));
}

TEST_F(RateFileCommandTest, addSelectsTheFilesKnownCurrenciesThatAreNotSelected) {
    const std::string daily = file("daily.xml", kDaily);
    expectRows({
        {{"settings", "set", "UserChoice", "Currencies", "EUR|USD|DEM|"}, 0, "", ""},
        {{"import-rates", daily},
         0,
         "USD\t-\t1.0956\nJPY\tskipped: not selected (--add selects it)\n"
         "DEM\tskipped: in the euro area: its rate is fixed\n"
         "GBP\tskipped: not selected (--add selects it)\n"
         "HUF\tskipped: not in Talvio's catalogue\n"
         "CHF\tskipped: not selected (--add selects it)\n",
         ""},
        {{"import-rates", daily, "--add"},
         0,
         "USD\t1.0956\t1.0956\nJPY\t-\t162.5\tadded\nGBP\t-\t0.8512\tadded\n"
         "CHF\t-\t0.9361\tadded\nDEM\tskipped: in the euro area: its rate is fixed\n"
         "HUF\tskipped: not in Talvio's catalogue\n",
         ""},
        {{"settings", "get", "UserChoice", "Currencies"}, 0, "EUR|USD|DEM|JPY|GBP|CHF|\n", ""},
        {{"rate", "GBP", "DEM"}, 0, "2.29773261278195\n", ""},
    });
}

} // namespace
} // namespace talvio::test
