// Editing the common currency data on the control panel: rates, the order of the currencies,
// adding and deleting them, and the aliases.
#include "PanelTesting.h"
#include "engine/SharedChange.h"
#include "model/Devise.h"
#include "model/ISO.h"
#include "model/Registry.h"
#include "model/SqliteSettingsBackend.h"
#include "model/Taux.h"
#include "support/TempDir.h"
#include "ui/CPExcel.h"

#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QTreeView>
#include <cstdio>

namespace kvt::test {
namespace {

// "change/exist" of the rate 1 from = change to.
std::string rateRecord(const char *from, const char *to) {
    const Taux &rate = *sharedChange()->ColISO()->Item(from)->ColTaux()->Item(to);
    return QString::number(rate.Change, 'g', 6).toStdString() + "/" + onOff(rate.Exist);
}

// "text/colour" of a cell, W for white and S for silver.
std::string cellOf(const Grid &grid, int row, int col) {
    const std::uint32_t colour = grid.CellBackColor(row, col);
    return grid.TextMatrix(row, col) + "/"
           + (colour == CPExcel::kGivenRateWhite      ? "W"
              : colour == CPExcel::kDerivedRateSilver ? "S"
                                                      : "?");
}

std::string selectedCodes() {
    std::string codes;
    for (const auto &currency : *sharedChange()->ColDevises())
        codes += currency->ISO() + " ";
    return codes;
}

// Rows and columns of the rate grid: 1 USD, 2 GBP, 3 CHF, 4 JPY, 5 EUR, 6 ATS, 7 BEF, 11 FRF.
TEST_F(Panel, typingARateStoresItBothWaysAndShowsItWhereTheGridWould) {
    struct Row {
        const char *what;
        int row, col;
        const char *typed;
        bool editable;
        const char *line;         // the labels around the rate box
        const char *entered;      // the record of the entered direction, 1 column = rate row
        const char *reverse;      // and of the other
        const char *enteredCell;  // the cell of the entered direction (column's row)
        const char *selectedCell; // the cell clicked
        const char *told;         // the box shown on leaving, if any
        bool apply;
        bool pasted = false; // pasted whole rather than typed key by key
    };
    const Row rows[] = {
        {"one pound in dollars", 1, 2, "2", true, "1 GBP = USD", "2/1", "0.5/0", "2.000000/W",
         "0.500000/S", "", true},
        {"a decimal rate", 2, 3, "1.25", true, "1 CHF = GBP", "1.25/1", "0.8/0", "1.250000/W",
         "0.800000/S", "", true},
        {"not a number", 1, 2, "abc", true, "1 GBP = USD", "0/0", "0/0", "0.000000/S", "0.000000/S",
         "", false},
        {"zero", 1, 2, "0", true, "1 GBP = USD", "0/0", "0/0", "0.000000/S", "0.000000/S",
         "An exchange rate cannot be 0.\r\nPlease enter a rate other than 0.", false},
        {"negative", 1, 2, "-2", true, "1 GBP = USD", "0/0", "0/0", "0.000000/S", "0.000000/S",
         "The rate must be a positive number that can be inverted. Please enter another value.",
         false},
        {"too small to invert", 1, 2, "1e-320", true, "1 GBP = USD", "0/0", "0/0", "0.000000/S",
         "0.000000/S",
         "The rate must be a positive number that can be inverted. Please enter another value.",
         false, true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        boxes->clear();
        auto main = started();
        EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
            Grid &grid = gridOf(panel, "FlexTaux");
            clickCell(grid, row.row, row.col);
            auto &rate = child<QLineEdit>(panel, "txtTaux");
            EXPECT_EQ(rate.isEnabled(), row.editable);
            EXPECT_EQ(child<QLabel>(panel, "lblTauxDevTo").text().toStdString() + " "
                          + child<QLabel>(panel, "lblTauxDevFrom").text().toStdString(),
                      row.line);
            if (row.pasted) {
                QApplication::clipboard()->setText(QString::fromLatin1(row.typed));
                rate.setFocus();
                rate.selectAll();
                QTest::keyClick(&rate, Qt::Key_V, Qt::ControlModifier);
            } else {
                typeInto(rate, row.typed);
            }
            const std::string colCode = grid.TextMatrix(0, row.col);
            const std::string rowCode = grid.TextMatrix(row.row, 0);
            EXPECT_EQ(rateRecord(colCode.c_str(), rowCode.c_str()), row.entered);
            EXPECT_EQ(rateRecord(rowCode.c_str(), colCode.c_str()), row.reverse);
            EXPECT_EQ(cellOf(grid, row.col, row.row), row.enteredCell);
            EXPECT_EQ(cellOf(grid, row.row, row.col), row.selectedCell);
            EXPECT_EQ(applyEnabled(panel), row.apply);
            QTest::keyClick(&rate, Qt::Key_Tab);
            QApplication::processEvents();
            EXPECT_EQ(boxes->shown().empty() ? "" : boxes->shown()[0].text, row.told);
            EXPECT_EQ(QApplication::focusWidget() == &rate, *row.told != '\0');
            boxes->queueAnswer(BoxAnswer::No);
            click(panel, "CmdClose");
        }));
    }
}

TEST_F(Panel, fixedEuroRatesAndACurrencyAgainstItselfCannotBeTyped) {
    auto main = started();
    const std::pair<int, int> cells[] = {{7, 11}, {5, 7}, {7, 5}, {1, 1}, {5, 5}};
    EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
        Grid &grid = gridOf(panel, "FlexTaux");
        for (const auto &[row, col] : cells) {
            clickCell(grid, row, col);
            EXPECT_FALSE(child<QLineEdit>(panel, "txtTaux").isEnabled()) << row << "," << col;
        }
        clickCell(grid, 5, 1); // EUR and USD
        EXPECT_TRUE(child<QLineEdit>(panel, "txtTaux").isEnabled());
        click(panel, "CmdClose");
    }));
}

// A rate against the euro changes the cross rates of every euro-area currency: leaving the box
// shows them all, the selection staying where it was.
TEST_F(Panel, leavingAEuroRateShowsTheCrossRatesItChanged) {
    auto main = started();
    EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
        Grid &grid = gridOf(panel, "FlexTaux");
        clickCell(grid, 1, 5);
        auto &rate = child<QLineEdit>(panel, "txtTaux");
        typeInto(rate, "1.0956");
        EXPECT_EQ(cellOf(grid, 6, 1), "0.000000/S");
        QTest::keyClick(&rate, Qt::Key_Tab);
        QApplication::processEvents();
        EXPECT_EQ(cellOf(grid, 6, 1), "0.079620/S");
        EXPECT_EQ(cellOf(grid, 5, 1), "1.095600/W");
        EXPECT_EQ(grid.Row() * 100 + grid.Col(), 105);
        boxes->queueAnswer(BoxAnswer::No);
        click(panel, "CmdClose");
    }));
}

// The first press selects the whole row; the next ones move it, with its column.
TEST_F(Panel, currenciesMoveUpAndDownWithTheirRowAndColumn) {
    struct Row {
        const char *what;
        int row;
        const char *button;
        int presses;
        const char *order;
        const char *headers; // row 1 and 2, column 1 and 2
        bool apply;
    };
    const Row rows[] = {
        {"a first press only selects", 1, "cmdCurrencyDown", 1,
         "USD GBP CHF JPY EUR ATS BEF DEM ESP FIM FRF GRD IEP ITL LUF NLG PTE ", "USD GBP USD GBP",
         false},
        {"down", 1, "cmdCurrencyDown", 2,
         "GBP USD CHF JPY EUR ATS BEF DEM ESP FIM FRF GRD IEP ITL LUF NLG PTE ", "GBP USD GBP USD",
         true},
        {"up from the first row", 1, "cmdCurrencyUp", 3,
         "USD GBP CHF JPY EUR ATS BEF DEM ESP FIM FRF GRD IEP ITL LUF NLG PTE ", "USD GBP USD GBP",
         false},
        {"down from the last row", 17, "cmdCurrencyDown", 2,
         "USD GBP CHF JPY EUR ATS BEF DEM ESP FIM FRF GRD IEP ITL LUF NLG PTE ", "USD GBP USD GBP",
         false},
        {"up twice", 2, "cmdCurrencyUp", 3,
         "GBP USD CHF JPY EUR ATS BEF DEM ESP FIM FRF GRD IEP ITL LUF NLG PTE ", "GBP USD GBP USD",
         true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        auto main = started();
        EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
            Grid &grid = gridOf(panel, "FlexTaux");
            clickCell(grid, row.row, 3);
            for (int i = 0; i < row.presses; ++i)
                click(panel, row.button);
            EXPECT_TRUE(grid.wholeRowSelected());
            EXPECT_EQ(selectedCodes(), row.order);
            EXPECT_EQ(grid.TextMatrix(1, 0) + " " + grid.TextMatrix(2, 0) + " "
                          + grid.TextMatrix(0, 1) + " " + grid.TextMatrix(0, 2),
                      row.headers);
            EXPECT_EQ(applyEnabled(panel), row.apply);
            boxes->queueAnswer(BoxAnswer::No);
            click(panel, "CmdClose");
        }));
    }
}

// The euro's own rates stay with it when it moves: row and column move together.
TEST_F(Panel, aMovedCurrencyKeepsItsRatesAndTheWidenedLiraColumn) {
    auto main = started();
    EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
        Grid &grid = gridOf(panel, "FlexTaux");
        const int itlWidth = grid.ColWidth(14);
        clickCell(grid, 14, 1);
        click(panel, "cmdCurrencyUp");
        click(panel, "cmdCurrencyUp");
        EXPECT_EQ(grid.TextMatrix(13, 0) + grid.TextMatrix(0, 13), "ITLITL");
        EXPECT_EQ(grid.ColWidth(13), itlWidth);
        EXPECT_NE(grid.ColWidth(14), itlWidth);
        EXPECT_EQ(cellOf(grid, 5, 13), "1936.270000/W");
        EXPECT_EQ(cellOf(grid, 13, 5), "0.000516/S");
        boxes->queueAnswer(BoxAnswer::No);
        click(panel, "CmdClose");
    }));
}

// The aliases of the ISO code chosen on the options tab.
TEST_F(Panel, aliasesAreAddedRemovedAndChosenAsDefault) {
    auto main = started();
    const auto aliases = [](QWidget &panel) {
        const auto &list = child<QTreeView>(panel, "lstDevAlias");
        std::string all;
        for (int i = 0; i < list.model()->rowCount(); ++i)
            all += list.model()->index(i, 0).data().toString().toStdString() + " ";
        return all;
    };
    EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
        showTab(panel, 2);
        click(panel, "CmdUpdateIso"); // no ISO code chosen yet
        ASSERT_EQ(boxes->shown().size(), 1u);
        EXPECT_EQ(boxes->shown()[0].text, "Please select an ISO code first.");
        child(panel, "cboIso").setFocus();
        QTest::keyClicks(&child(panel, "cboIso"), "BEF");
        EXPECT_EQ(aliases(panel), "BEF BF FB F ");
        struct Add {
            std::optional<std::string> typed;
            const char *list;
            const char *told;
        };
        const Add adds[] = {{std::nullopt, "BEF BF FB F ", ""},
                            {"", "BEF BF FB F ", ""},
                            {"Fr|b", "BEF BF FB F ",
                             "An alias may not contain \u201c|\u201d or "
                             "control characters."},
                            {"fr.b.", "BEF BF FB F fr.b. ", ""}};
        for (const Add &add : adds) {
            boxes->clear();
            boxes->queueInput(add.typed);
            click(panel, "CmdDevAddAlias");
            EXPECT_EQ(aliases(panel), add.list);
            EXPECT_EQ(boxes->shown().empty() ? "" : boxes->shown()[0].text, add.told);
        }
        EXPECT_TRUE(applyEnabled(panel));
        // The code itself cannot be removed; another alias can.
        auto &list = child<QTreeView>(panel, "lstDevAlias");
        const auto clickAlias = [&](int index) {
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                              list.visualRect(list.model()->index(index, 0)).center());
        };
        clickAlias(0);
        EXPECT_FALSE(child<QPushButton>(panel, "CmdDevDelAlias").isEnabled());
        clickAlias(1);
        ASSERT_TRUE(child<QPushButton>(panel, "CmdDevDelAlias").isEnabled());
        click(panel, "CmdDevDelAlias");
        EXPECT_EQ(aliases(panel), "BEF FB F fr.b. ");
        // The default alias: the list after "(no default alias)".
        press(panel, "CboDevAliasConv", Qt::Key_Down);
        EXPECT_EQ(sharedChange()->ColISO()->Item("BEF")->aliasDef(), "FB");
        EXPECT_EQ(sharedChange()->ColDevises()->Item("BEF")->aliasDef(), "FB");
        boxes->queueAnswer(BoxAnswer::Yes);
        click(panel, "CmdClose");
    }));
    EXPECT_EQ(stored("Currencies\\Alias", "BEF"), "FB|FB|F|fr.b.");
}

// Picks the first currency the new-currency dialog offers, once it shows: a click on it, then
// OK.
class PickFirstNewCurrency : public WhenModal {
public:
    PickFirstNewCurrency()
        : WhenModal([](QWidget &dialog) {
            auto &list = child<QTreeView>(dialog, "lstIso");
            QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                              list.visualRect(list.model()->index(0, 0)).center());
            QTest::mouseClick(&child<QPushButton>(dialog, "cmdOK"), Qt::LeftButton);
        }) {}
};

// A currency deleted after the question and added again: its rates against the euro are set
// up from what was entered before.
TEST_F(Panel, aDeletedCurrencyComesBackWithItsRatesAgainstTheEuro) {
    struct Row {
        const char *code;
        int row;
        std::function<void()> entered; // rates entered before
        const char *toEuro, *fromEuro; // the records code->EUR and EUR->code afterwards
    };
    const Row rows[] = {
        {"USD", 1, [] { sharedChange()->setTauxDeChange("USD", "EUR", 0.9); }, "0.9/1", "0/0"},
        {"GBP", 2, [] { sharedChange()->setTauxDeChange("EUR", "GBP", 0.8); }, "1.25/0", "0.8/1"},
        {"CHF", 3, [] {}, "0/0", "0/0"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.code);
        boxes->clear();
        auto main = started();
        row.entered();
        EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
            Grid &grid = gridOf(panel, "FlexTaux");
            clickCell(grid, row.row, 1);
            boxes->queueAnswer(BoxAnswer::Ok);
            click(panel, "CmdDelDev");
            ASSERT_EQ(boxes->shown().size(), 1u);
            EXPECT_EQ(boxes->shown()[0].text, "The selected currency will be removed from the rate "
                                              "table. To continue, click OK. To keep it, click "
                                              "Cancel.");
            EXPECT_EQ(selectedCodes().find(row.code), std::string::npos);
            EXPECT_EQ(grid.TextMatrix(0, 13), "ITL");
            EXPECT_EQ(grid.ColWidth(13), 1065);
            EXPECT_EQ(grid.ColWidth(14), grid.ColWidth(12)); // none widened where the lira was
            EXPECT_TRUE(applyEnabled(panel));
            const PickFirstNewCurrency picker;
            click(panel, "CmdAddDev");
            EXPECT_TRUE(picker.acted());
            EXPECT_EQ(grid.TextMatrix(17, 0), row.code);
            EXPECT_FALSE(child<QPushButton>(panel, "CmdAddDev").isEnabled());
            EXPECT_EQ(rateRecord(row.code, "EUR"), row.toEuro);
            EXPECT_EQ(rateRecord("EUR", row.code), row.fromEuro);
            boxes->queueAnswer(BoxAnswer::No);
            click(panel, "CmdClose");
        }));
    }
}

// End to end: a new ISO code with its names, made a currency, given a rate, moved, given an
// alias as default; applied; a separate program then converts with it.
TEST_F(Panel, aNewCurrencyMadeOnThePanelConvertsInAnotherProgram) {
    TempDir dir;
    const std::string file = dir.file("settings.db").string();
    auto database = std::make_shared<SqliteSettingsBackend>(file);
    database->prepareToWrite();
    setSharedRegistry(std::make_shared<Registry>(database));
    auto main = started();
    bool saved = false;
    EXPECT_TRUE(whileShown(
        *main,
        [&](QWidget &panel) {
            showTab(panel, 2);
            {
                const WhenModal editor([&](QWidget &iso) {
                    typeInto(child<QLineEdit>(iso, "txtISOCode"), "XAU");
                    Grid &names = child<Grid>(iso, "FlexIsoNames");
                    auto &edit = child<QLineEdit>(iso, "txtEdit");
                    // Each name: its first key on the grid opens the cell's edit box, the rest
                    // go into the box, Down takes the name and moves to the next language.
                    for (const char *name : {"Gold", "Gold", "Oro", "Or", "Oro", "Goud"}) {
                        QTest::keyClick(&names, name[0]);
                        QTest::keyClicks(&edit, name + 1);
                        QTest::keyClick(&edit, Qt::Key_Down);
                    }
                    click(iso, "CmdAddIso");
                });
                // By the keyboard, as the editor's own keys are typed below.
                press(panel, "CmdAddIso", Qt::Key_Space);
                EXPECT_TRUE(editor.acted());
            }
            EXPECT_EQ(child<QComboBox>(panel, "cboIso").currentText(), "XAU");
            EXPECT_EQ(child<QLabel>(panel, "lblIsoName").text(), "Gold");
            showTab(panel, 1);
            const PickFirstNewCurrency picker;
            click(panel, "CmdAddDev");
            EXPECT_TRUE(picker.acted());
            Grid &grid = gridOf(panel, "FlexTaux");
            ASSERT_EQ(grid.TextMatrix(18, 0), "XAU");
            clickCell(grid, 1, 18);
            EXPECT_EQ(child<QLabel>(panel, "lblTauxDevTo").text(), "1 XAU =");
            typeInto(child<QLineEdit>(panel, "txtTaux"), "2000");
            clickCell(grid, 18, 1);
            click(panel, "cmdCurrencyUp");
            click(panel, "cmdCurrencyUp");
            showTab(panel, 2);
            boxes->queueInput("oz");
            click(panel, "CmdDevAddAlias");
            press(panel, "CboDevAliasConv", Qt::Key_Down);
            press(panel, "CboDevAliasConv", Qt::Key_Down);
            click(panel, "CmdApply");
        },
        &saved));
    EXPECT_TRUE(saved);

    const auto talvio = [&](const std::string &arguments) {
        std::string out;
        FILE *pipe = popen(
            (std::string(TALVIO_BINARY) + " --settings " + file + " " + arguments).c_str(), "r");
        for (char buffer[4096]; const std::size_t got = fread(buffer, 1, sizeof buffer, pipe);)
            out.append(buffer, got);
        EXPECT_EQ(pclose(pipe), 0) << arguments;
        return out;
    };
    EXPECT_EQ(talvio("convert 1 XAU USD"), "2000.00 $\n");
    const std::string currencies = talvio("currencies");
    EXPECT_NE(currencies.find("XAU\tGold\nPTE\t"), std::string::npos) << currencies;
    const std::string stored = talvio("settings list");
    for (const char *line : {"Currencies\\Alias\tXAU\toz|oz\n",
                             "Currencies\\Names\tXAU\tGold|Gold|Oro|Or|Oro|Goud|\n"})
        EXPECT_NE(stored.find(line), std::string::npos) << line;
}

} // namespace
} // namespace kvt::test
