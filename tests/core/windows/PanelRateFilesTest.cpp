// The rates button's menu on the control panel: a reference rate file imported as typed rates,
// and the entered rates exported.
#include "PanelTesting.h"
#include "engine/SharedChange.h"
#include "model/ISO.h"
#include "model/Taux.h"
#include "support/TempDir.h"
#include "windows/FileDialogs.h"

#include <fstream>
#include <gmock/gmock.h>
#include <sstream>

namespace kvt::test {
namespace {

using testing::HasSubstr;

std::string rateRecord(const char *from, const char *to) {
    const Taux &rate = *sharedChange()->ColISO()->Item(from)->ColTaux()->Item(to);
    return QString::number(rate.Change, 'g', 6).toStdString() + "/" + onOff(rate.Exist);
}

std::string euroRates() {
    return rateRecord("EUR", "USD") + " " + rateRecord("USD", "EUR") + " "
           + rateRecord("EUR", "JPY") + " " + rateRecord("EUR", "DEM");
}

// Chooses the menu's entry at that position with the keyboard.
void chooseFromRatesMenu(QWidget &panel, int entry) {
    const WhenPopup menu([entry](QWidget &popup) {
        for (int i = 0; i < entry; ++i)
            QTest::keyClick(&popup, Qt::Key_Down);
        QTest::keyClick(&popup, Qt::Key_Return);
    });
    press(panel, "cmdIORates", Qt::Key_Space);
    EXPECT_TRUE(menu.acted());
}

class PanelRateFiles : public Panel {
protected:
    void SetUp() override {
        Panel::SetUp();
        windows::setFileDialogs(dialogs);
    }
    void TearDown() override {
        windows::setFileDialogs(nullptr);
        Panel::TearDown();
    }

    std::string file(const char *name, const std::string &text) const {
        const std::string path = dir.file(name).string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }

    std::shared_ptr<windows::ScriptedFileDialogs> dialogs =
        std::make_shared<windows::ScriptedFileDialogs>();
    TempDir dir;
};

TEST_F(PanelRateFiles, anImportedFileIsAnEditLikeTypedRatesAndItsRefusalChangesNothing) {
    struct Row {
        const char *what;
        const char *text; // nullptr: the dialog is cancelled
        const char *rates;
        bool apply;
        const char *told;
        const char *cell; // the grid's 1 EUR = USD cell (row EUR, column USD)
    };
    const Row rows[] = {
        {"cancelled", nullptr, "0/0 0/0 0/0 1.95583/1", false, "", "0.000000"},
        {"refused", "Date,USD\n2026-12-09,1\n2026-12-08,abc\n", "0/0 0/0 0/0 1.95583/1", false,
         "The rates were not imported:\nNot a usable reference rate file: line 3: USD: the rate "
         "\"abc\" is not a finite number above 0 that can be inverted",
         "0.000000"},
        {"nothing for the selection", "Date,DEM,XYZ\n2026-12-09,2,7\n", "0/0 0/0 0/0 1.95583/1",
         false, "", "0.000000"},
        {"imported", "Date,USD,JPY,DEM,XYZ\n2026-12-09,1.0956,162.5,2,7\n2026-12-08,1.2,150,2,7\n",
         "1.0956/1 0.912742/0 162.5/1 1.95583/1", true, "", "1.095600"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        boxes->clear();
        dialogs->queue(row.text ? std::optional(QString::fromStdString(file("rates.csv", row.text)))
                                : std::nullopt);
        auto main = started();
        EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
            chooseFromRatesMenu(panel, 1);
            EXPECT_EQ(euroRates(), row.rates);
            EXPECT_EQ(applyEnabled(panel), row.apply);
            EXPECT_EQ(boxes->shown().empty() ? "" : boxes->shown()[0].text, row.told);
            EXPECT_EQ(gridOf(panel, "FlexTaux").TextMatrix(5, 1), row.cell);
            boxes->queueAnswer(BoxAnswer::No);
            click(panel, "CmdClose");
        }));
        EXPECT_EQ(dialogs->requests().back().title.toStdString(), "Import rates from a file...");
    }
}

TEST_F(PanelRateFiles, theEnteredEuroRatesAreExportedInTheFormatOfTheFileName) {
    dialogs->queue(
        QString::fromStdString(file("in.xml", "Date,USD,JPY\n2026-12-09,1.0956,162.5\n")));
    const std::string csv = dir.file("out.csv").string();
    const std::string xml = dir.file("out.XML").string();
    dialogs->queue(QString::fromStdString(csv));
    dialogs->queue(QString::fromStdString(xml));
    dialogs->queue(QString::fromStdString(dir.file("no/such/folder.csv").string()));
    auto main = started();
    EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
        chooseFromRatesMenu(panel, 1);
        for (int i = 0; i < 3; ++i)
            chooseFromRatesMenu(panel, 2);
        boxes->queueAnswer(BoxAnswer::No);
        click(panel, "CmdClose");
    }));
    const auto contents = [](const std::string &path) {
        std::ostringstream text;
        text << std::ifstream(path).rdbuf();
        return text.str();
    };
    EXPECT_THAT(contents(csv), testing::MatchesRegex("Date,USD,JPY\n20..-..-..,1.0956,162.5\n"));
    EXPECT_THAT(contents(xml), HasSubstr("\t\t\t<Cube currency=\"USD\" rate=\"1.0956\"/>\n"
                                         "\t\t\t<Cube currency=\"JPY\" rate=\"162.5\"/>\n"));
    ASSERT_EQ(boxes->shown().size(), 2U);
    EXPECT_THAT(boxes->shown()[0].text, HasSubstr("The rates were not exported:\nCannot write "));
    EXPECT_EQ(dialogs->requests().back().suggestedName.toStdString(), "eurofxref.csv");
}

} // namespace
} // namespace kvt::test
