// The ISO code editor and the new-currency dialog, driven as the user drives them.
#include "SmallDialogTesting.h"
#include "WindowTesting.h"
#include "engine/SharedChange.h"
#include "model/Devise.h"
#include "model/ISO.h"
#include "model/Taux.h"
#include "windows/FrmDev.h"
#include "windows/FrmISO.h"
#include "windows/Grid.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeView>

namespace kvt {
namespace {

const testing::Environment *const kApplication =
    testing::AddGlobalTestEnvironment(new test::WindowApplication);

using test::child;
using windows::FrmDev;
using windows::FrmISO;
using windows::Grid;
using Act = std::function<void(QWidget &)>;
using Names = std::vector<std::string>;

const char *const kBadFormatEnd =
    "is not valid: use X, or X followed by a point and one X per decimal (X.XX).";

struct Host final : windows::IsoEditorHost {
    std::vector<std::string> saved;
    void isoSaved(const std::string &code) override { saved.push_back(code); }
};

QWidget *focused() {
    return QApplication::focusWidget();
}

// Each key goes where the focus is when it is pressed, as the user's keys do.
void type(const QString &text) {
    for (const QChar c : text)
        QTest::keyClicks(focused(), QString(c));
}

void press(std::initializer_list<Qt::Key> keys) {
    for (const Qt::Key key : keys)
        QTest::keyClick(focused(), key);
}

// Replaces a field's text as the user does: all selected, then typed over. A control character
// cannot be typed: such a text is pasted.
void enter(QLineEdit &field, const QString &text) {
    field.setFocus();
    QTest::keyClick(&field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(&field, Qt::Key_Backspace);
    if (std::any_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 32; })) {
        QApplication::clipboard()->setText(text);
        QTest::keyClick(&field, Qt::Key_V, Qt::ControlModifier);
    } else {
        QTest::keyClicks(&field, text);
    }
}

void enter(QWidget &window, const char *field, const QString &text) {
    enter(child<QLineEdit>(window, field), text);
}

void click(QWidget &window, const char *name) {
    QTest::mouseClick(&child<QAbstractButton>(window, name), Qt::LeftButton);
}

Grid &names(QWidget &editor) {
    return child<Grid>(editor, "FlexIsoNames");
}

QPoint cellCentre(Grid &grid, int row, int col) {
    return grid.visualRect(grid.model()->index(row - grid.FixedRows(), col)).center();
}

void clickCell(QWidget &editor, int row, int col = 1) {
    Grid &grid = names(editor);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(grid, row, col));
}

// Clicks a language's name cell, types the name and keeps it with Enter.
void typeName(QWidget &editor, int row, const QString &name) {
    clickCell(editor, row);
    type(name);
    press({Qt::Key_Return});
}

Names column(const Grid &grid, int col, int rows) {
    Names texts;
    for (int row = 1; row <= rows; ++row)
        texts.push_back(grid.TextMatrix(row, col));
    return texts;
}

std::string text(QWidget &window, const char *name) {
    if (auto *field = window.findChild<QLineEdit *>(QLatin1String(name)))
        return field->text().toStdString();
    if (auto *label = window.findChild<QLabel *>(QLatin1String(name)))
        return label->text().toStdString();
    return child<QAbstractButton>(window, name).text().toStdString();
}

// Everything the editor may change in the catalogue, entry by entry.
std::string catalogue() {
    std::string shape;
    for (const auto &entry : *sharedChange()->ColISO()) {
        shape += entry->Value() + " " + entry->LegalFormat() + " " + entry->MasterISO() + " "
                 + std::to_string(entry->ColTaux()->Count()) + " "
                 + std::to_string(entry->ColAlias()->Count());
        for (const std::string &name : entry->ColNames())
            shape += "|" + name;
        shape += "\n";
    }
    return shape;
}

class IsoEditor : public test::SmallDialogs {
protected:
    void TearDown() override {
        editor.reset();
        test::SmallDialogs::TearDown();
    }

    // A new editor prepared for a mode and shown, active; not modal, so that the test drives it.
    FrmISO &shown(FrmISO::Mode mode, const std::string &code = {}) {
        editor = std::make_unique<FrmISO>();
        editor->init(host);
        editor->prepare(mode, code);
        editor->show();
        EXPECT_TRUE(QTest::qWaitForWindowActive(editor.get()));
        return *editor;
    }

    Host host;
    std::unique_ptr<FrmISO> editor;
};

TEST(IsoEditorFormat, acceptsXAndXPointWithAnXPerDecimalInEitherCase) {
    struct Row {
        const char *format;
        bool legal;
    };
    const Row rows[] = {{"X", true},     {"X.", true},    {"x.xx", true},  {"X.XXXX", true},
                        {"", false},     {"XX", false},   {".X", false},   {"X,XX", false},
                        {"X.X1", false}, {"0.XX", false}, {"X.X.X", false}};
    for (const Row &row : rows)
        EXPECT_EQ(FrmISO::CheckLegalFormat(row.format), row.legal) << row.format;
}

TEST_F(IsoEditor, preparesEachModeWithTheCataloguesEntryInTheUsersLanguage) {
    struct Row {
        FrmISO::Mode mode;
        const char *code;
        const char *title, *button, *format, *decimals;
        bool codeEnabled, inEuro;
        Names names;
    };
    const Names none(7);
    const Row rows[] = {
        {FrmISO::Add, "", "New ISO code", "Create", "X.XX", "2", true, false, none},
        {FrmISO::Update,
         "JPY",
         "Modify ISO code",
         "Modify",
         "X",
         "0",
         false,
         false,
         {"Japanischer Yen", "Japanese yen", "Yen japon\u00e9s", "Yen japonais", "Yen giapponese",
          "Japanse yen", ""}},
        {FrmISO::Update,
         "BEF",
         "Modify ISO code",
         "Modify",
         "X",
         "0",
         false,
         true,
         {"Belgischer Franken", "Belgian franc", "Franco belga", "Franc belge", "Franco belga",
          "Belgische frank", ""}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.code);
        QWidget &window = shown(row.mode, row.code);
        EXPECT_EQ(window.windowTitle().toStdString(), row.title);
        EXPECT_EQ(text(window, "CmdAddIso"), row.button);
        EXPECT_EQ(text(window, "cmdAddIsoCancel"), "Cancel");
        EXPECT_EQ(text(window, "lblISONames"), "Names of the currency:");
        EXPECT_EQ(text(window, "lblExplanation"),
                  "Enter the code, its legal format and its name in each language.");
        EXPECT_EQ(text(window, "txtISOCode"), row.code);
        EXPECT_EQ(child<QLineEdit>(window, "txtISOCode").isEnabled(), row.codeEnabled);
        EXPECT_EQ(child<QCheckBox>(window, "chkInEuro").isChecked(), row.inEuro);
        EXPECT_EQ(text(window, "txtLegalFormat"), row.format);
        EXPECT_EQ(text(window, "TxtNrDecimal"), row.decimals);
        const Grid &grid = names(window);
        EXPECT_EQ(std::pair(grid.Rows(), grid.Cols()), std::pair(8, 2));
        EXPECT_EQ(grid.TextMatrix(0, 0) + "/" + grid.TextMatrix(0, 1), "Language/Name");
        EXPECT_EQ(column(grid, 0, 7), (Names{"Deutsch", "English", "Espa\u00f1ol", "Fran\u00e7ais",
                                             "Italiano", "Nederlands", ""}));
        EXPECT_EQ(column(grid, 1, 7), row.names);
        EXPECT_EQ(std::pair(grid.Row(), grid.Col()), std::pair(1, 1));
        EXPECT_EQ(editor->Fgi(grid.Row(), grid.Col()), 3);
        EXPECT_FALSE(child<QLineEdit>(window, "txtEdit").isVisible());
    }
}

TEST_F(IsoEditor, formatAndDecimalsFollowEachOtherAsTheyAreTyped) {
    struct Row {
        const char *what;
        Act act;
        const char *format, *decimals;
    };
    const Row rows[] = {
        {"format x.xx", [](QWidget &w) { enter(w, "txtLegalFormat", "x.xx"); }, "X.XX", "2"},
        {"format x", [](QWidget &w) { enter(w, "txtLegalFormat", "x"); }, "X", "0"},
        {"format X. keeps its point", [](QWidget &w) { enter(w, "txtLegalFormat", "X."); }, "X.",
         "0"},
        {"format x.xxxx", [](QWidget &w) { enter(w, "txtLegalFormat", "x.xxxx"); }, "X.XXXX", "4"},
        {"3 decimals", [](QWidget &w) { enter(w, "TxtNrDecimal", "3"); }, "X.XXX", "3"},
        {"0 decimals", [](QWidget &w) { enter(w, "TxtNrDecimal", "0"); }, "X", "0"},
        {"decimals emptied", [](QWidget &w) { enter(w, "TxtNrDecimal", ""); }, "X.XX", ""},
        {"up-down up",
         [](QWidget &w) {
             child<QSpinBox>(w, "UpDown1").setFocus();
             press({Qt::Key_Up});
         },
         "X.XXX", "3"},
        {"up-down down twice",
         [](QWidget &w) {
             child<QSpinBox>(w, "UpDown1").setFocus();
             press({Qt::Key_Down, Qt::Key_Down});
         },
         "X", "0"},
    };
    for (const Row &row : rows) {
        QWidget &window = shown(FrmISO::Add);
        row.act(window);
        EXPECT_EQ(text(window, "txtLegalFormat"), row.format) << row.what;
        EXPECT_EQ(text(window, "TxtNrDecimal"), row.decimals) << row.what;
    }
}

// Each refusal names what is wrong, changes nothing and leaves the editor open for a correction.
TEST_F(IsoEditor, refusesWhatTheCatalogueCannotKeepAndChangesNothing) {
    struct Row {
        const char *what;
        FrmISO::Mode mode;
        QString code;
        const char *format;
        int nameRow;
        const char *name;
        std::string box;
    };
    const std::string forbidden =
        "An ISO code cannot contain the characters | and \\ or control characters.";
    const std::string bar = "A name of the currency cannot contain the character |.";
    const Row rows[] = {
        {"no code", FrmISO::Add, "", "X.XX", 0, "", "Please enter an ISO code."},
        {"blanks for a code", FrmISO::Add, "   ", "X.XX", 0, "", "Please enter an ISO code."},
        {"existing code", FrmISO::Add, "USD", "X.XX", 0, "", "The ISO code USD already exists."},
        {"existing code in small letters", FrmISO::Add, "usd", "X.XX", 0, "",
         "The ISO code usd already exists."},
        {"existing code between blanks", FrmISO::Add, " gbp ", "X.XX", 0, "",
         "The ISO code gbp already exists."},
        {"a bar in the code", FrmISO::Add, "X|Y", "X.XX", 0, "", forbidden},
        {"a backslash in the code", FrmISO::Add, "X\\Y", "X.XX", 0, "", forbidden},
        {"a tab in the code", FrmISO::Add, "X\tY", "X.XX", 0, "", forbidden},
        {"a line break in the code", FrmISO::Add, "XA\nU", "X.XX", 0, "", forbidden},
        {"a comma for the point", FrmISO::Add, "XAU", "X,XX", 0, "",
         std::string("The legal format X,XX ") + kBadFormatEnd},
        {"no format", FrmISO::Add, "XAU", "", 0, "",
         std::string("The legal format  ") + kBadFormatEnd},
        {"two X", FrmISO::Add, "XAU", "XX", 0, "",
         std::string("The legal format XX ") + kBadFormatEnd},
        {"a point first", FrmISO::Add, "XAU", ".X", 0, "",
         std::string("The legal format .X ") + kBadFormatEnd},
        {"a digit after the point", FrmISO::Add, "XAU", "X.X1", 0, "",
         std::string("The legal format X.X1 ") + kBadFormatEnd},
        {"a bar in a name", FrmISO::Add, "XAU", "X.XX", 4, "Or|Argent", bar},
        {"a bar in a name of a code modified", FrmISO::Update, "USD", "X.XX", 2, "US|dollar", bar},
        {"a bad format of a code modified", FrmISO::Update, "USD", "X.,", 0, "",
         std::string("The legal format X., ") + kBadFormatEnd},
    };
    const std::string before = catalogue();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        boxes->clear();
        QWidget &window = shown(row.mode, row.mode == FrmISO::Update ? row.code.toStdString() : "");
        if (row.mode == FrmISO::Add)
            enter(window, "txtISOCode", row.code);
        enter(window, "txtLegalFormat", row.format);
        if (row.nameRow > 0)
            typeName(window, row.nameRow, row.name);
        click(window, "CmdAddIso");
        ASSERT_EQ(boxes->shown().size(), 1u);
        EXPECT_EQ(boxes->shown()[0].text, row.box);
        EXPECT_EQ(boxes->shown()[0].icon, BoxIcon::Information);
        EXPECT_EQ(boxes->shown()[0].buttons, BoxButtons::Ok);
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(catalogue(), before);
        EXPECT_EQ(host.saved, Names{});
    }
}

TEST_F(IsoEditor, cancelEscapeAndTheCloseBoxLeaveWithoutAChange) {
    const std::pair<const char *, Act> rows[] = {
        {"Cancel",
         [](QWidget &w) {
             click(w, "cmdAddIsoCancel");
         }},
        {"Escape",
         [](QWidget &w) {
             QTest::keyClick(&child<QLineEdit>(w, "txtISOCode"), Qt::Key_Escape);
         }},
        {"close box",
         [](QWidget &w) {
             w.close();
         }},
    };
    const std::string before = catalogue();
    for (const auto &[what, act] : rows) {
        QWidget &window = shown(FrmISO::Add);
        enter(window, "txtISOCode", "XAU");
        typeName(window, 1, "Gold");
        act(window);
        EXPECT_FALSE(window.isVisible()) << what;
        EXPECT_EQ(catalogue(), before) << what;
    }
    EXPECT_EQ(host.saved, Names{});
    EXPECT_TRUE(boxes->shown().empty());
}

TEST_F(IsoEditor, namesAreTypedInTheGridAndKeptByEnterUpAndDownButNotEscape) {
    struct Row {
        const char *what;
        Act act;
        Names first3;
        int currentRow;
        bool editing;
    };
    const Row rows[] = {
        {"click, type, Enter",
         [](QWidget &w) { typeName(w, 1, "Gold"); },
         {"Gold", "", ""},
         1,
         false},
        {"a key typed on the grid starts the name with it",
         [](QWidget &w) {
             clickCell(w, 2);
             press({Qt::Key_Escape});
             type("Or");
             press({Qt::Key_Return});
         },
         {"", "Or", ""},
         2,
         false},
        {"Escape drops what was typed",
         [](QWidget &w) {
             typeName(w, 1, "Gold");
             press({Qt::Key_Return});
             type("en");
             press({Qt::Key_Escape});
         },
         {"Gold", "", ""},
         1,
         false},
        {"Enter on the grid opens the name with the caret at its end",
         [](QWidget &w) {
             typeName(w, 1, "Gold");
             press({Qt::Key_Return});
             type("en");
             press({Qt::Key_Return});
         },
         {"Golden", "", ""},
         1,
         false},
        {"Down keeps the name and moves down",
         [](QWidget &w) {
             clickCell(w, 1);
             type("Gold");
             press({Qt::Key_Down});
         },
         {"Gold", "", ""},
         2,
         false},
        {"Up keeps the name and moves up",
         [](QWidget &w) {
             clickCell(w, 3);
             type("Oro");
             press({Qt::Key_Up});
         },
         {"", "", "Oro"},
         2,
         false},
        {"Up stays on the first language",
         [](QWidget &w) {
             clickCell(w, 1);
             type("A");
             press({Qt::Key_Up});
         },
         {"A", "", ""},
         1,
         false},
        {"Down then typing on: the next name",
         [](QWidget &w) {
             clickCell(w, 1);
             type("Gold");
             press({Qt::Key_Down});
             type("Gold");
             press({Qt::Key_Down});
             type("Oro");
             press({Qt::Key_Return});
         },
         {"Gold", "Gold", "Oro"},
         3,
         false},
        {"a click on another cell keeps the name and opens that one",
         [](QWidget &w) {
             clickCell(w, 1);
             type("Gold");
             clickCell(w, 3);
         },
         {"Gold", "", ""},
         3,
         true},
        {"a double click opens the name",
         [](QWidget &w) {
             Grid &grid = names(w);
             // A double click: a click, then the second press that makes it a double one.
             clickCell(w, 2);
             QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(grid, 2, 1));
             type("Or");
             press({Qt::Key_Return});
         },
         {"", "Or", ""},
         2,
         false},
        {"the language column is not typed into",
         [](QWidget &w) {
             clickCell(w, 2, 0);
             type("Z");
         },
         {"", "", ""},
         2,
         false},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        QWidget &window = shown(FrmISO::Add);
        row.act(window);
        const Grid &grid = names(window);
        EXPECT_EQ(column(grid, 1, 3), row.first3);
        EXPECT_EQ(grid.TextMatrix(2, 0), "English");
        EXPECT_EQ(grid.Row(), row.currentRow);
        EXPECT_EQ(child<QLineEdit>(window, "txtEdit").isVisible(), row.editing);
        EXPECT_TRUE(window.isVisible());
    }
}

TEST_F(IsoEditor, addsANewCodeWithItsNamesItsOwnAliasAndAnEmptyRateTowardsEveryOther) {
    QWidget &window = shown(FrmISO::Add);
    enter(window, "txtISOCode", " XAU ");
    enter(window, "TxtNrDecimal", "3");
    clickCell(window, 1);
    for (const char *name : {"Gold", "Gold", "Oro", "Or", "Oro"}) {
        type(name);
        press({Qt::Key_Down});
    }
    type("Goud"); // still being typed: Create keeps it too
    click(window, "CmdAddIso");

    EXPECT_TRUE(boxes->shown().empty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(host.saved, Names{"XAU"});
    ColISO &isos = *sharedChange()->ColISO();
    Names codes;
    for (const auto &entry : isos)
        codes.push_back(entry->Value());
    EXPECT_EQ(codes, (Names{"ATS", "BEF", "CHF", "DEM", "ESP", "EUR", "FIM", "FRF", "GBP", "GRD",
                            "IEP", "ITL", "JPY", "LUF", "NLG", "PTE", "USD", "XAU"}));
    ISO &gold = *isos.Item("XAU");
    EXPECT_EQ(gold.LegalFormat(), "X.XXX");
    EXPECT_EQ(gold.MasterISO(), "");
    EXPECT_FALSE(gold.Used());
    EXPECT_EQ(gold.ColNames(), (Names{"Gold", "Gold", "Oro", "Or", "Oro", "Goud"}));
    ASSERT_EQ(gold.ColAlias()->Count(), 1);
    EXPECT_EQ(gold.ColAlias()->Item(1)->Value, "XAU");
    EXPECT_TRUE(gold.ColAlias()->Item(1)->ISO);
    EXPECT_EQ(gold.storedAliasDef(), "-1");
    EXPECT_EQ(gold.ColTaux()->Count(), 18);
    int towardsGold = 0;
    for (const auto &entry : isos) {
        const Taux &rate = *entry->ColTaux()->Item("XAU");
        towardsGold += rate.Change == 0.0 && !rate.Exist ? 1 : 0;
    }
    EXPECT_EQ(towardsGold, 18);
}

TEST_F(IsoEditor, modifiesTheFormatMembershipAndNamesOfACodeAndOfItsSelectedCurrency) {
    QWidget &window = shown(FrmISO::Update, "JPY");
    click(window, "chkInEuro");
    enter(window, "TxtNrDecimal", "2");
    clickCell(window, 2);
    QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
    type("Yen");
    click(window, "CmdAddIso");

    EXPECT_TRUE(boxes->shown().empty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(host.saved, Names{"JPY"});
    const ISO &yen = *sharedChange()->ColISO()->Item("JPY");
    EXPECT_EQ(yen.LegalFormat(), "X.XX");
    EXPECT_EQ(yen.MasterISO(), "EUR");
    EXPECT_EQ(yen.ColNames(), (Names{"Japanischer Yen", "Yen", "Yen japon\u00e9s", "Yen japonais",
                                     "Yen giapponese", "Japanse yen"}));
    Devise &selected = *sharedChange()->ColDevises()->Item("JPY");
    EXPECT_EQ(selected.DevFormat(), "X.XX");
    EXPECT_TRUE(selected.InEuro());
    EXPECT_EQ(selected.aliasDef(), yen.aliasDef());
}

// GBP, JPY and CHF left out of the selection: the three codes the dialog offers.
class NewCurrency : public test::SmallDialogs {
protected:
    void SetUp() override {
        test::SmallDialogs::SetUp();
        for (const char *code : {"GBP", "JPY", "CHF"})
            sharedChange()->DelDevise(code);
    }
};

QTreeView &entries(QWidget &dialog) {
    return child<QTreeView>(dialog, "lstIso");
}

void clickEntry(QWidget &dialog, int row) {
    QTreeView &list = entries(dialog);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                      list.visualRect(list.model()->index(row, 0)).center());
}

TEST_F(NewCurrency, offersTheCodesNotSelectedAndReturnsThoseConfirmedInListOrder) {
    struct Row {
        const char *what;
        Act act;
        Names codes;
    };
    const Row rows[] = {
        {"two clicked, OK",
         [](QWidget &d) {
             clickEntry(d, 2);
             clickEntry(d, 0);
             click(d, "cmdOK");
         },
         {"CHF", "JPY"}},
        {"a click twice unticks, Enter",
         [](QWidget &d) {
             clickEntry(d, 0);
             clickEntry(d, 1);
             clickEntry(d, 0);
             press({Qt::Key_Return});
         },
         {"GBP"}},
        {"Space ticks the current entry",
         [](QWidget &d) {
             entries(d).setFocus();
             press({Qt::Key_Down, Qt::Key_Space, Qt::Key_Return});
         },
         {"GBP"}},
        {"double click",
         [](QWidget &d) {
             QTreeView &list = entries(d);
             clickEntry(d, 2);
             QTest::mouseDClick(list.viewport(), Qt::LeftButton, {},
                                list.visualRect(list.model()->index(2, 0)).center());
         },
         {"JPY"}},
        {"OK with none ticked", [](QWidget &d) { click(d, "cmdOK"); }, {}},
        {"Cancel",
         [](QWidget &d) {
             clickEntry(d, 1);
             click(d, "CmdKO");
         },
         {}},
        {"Escape",
         [](QWidget &d) {
             clickEntry(d, 1);
             press({Qt::Key_Escape});
         },
         {}},
        {"close box",
         [](QWidget &d) {
             clickEntry(d, 1);
             d.close();
         },
         {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.what);
        Names offered;
        const test::WhenModal driver([&](QWidget &dialog) {
            EXPECT_EQ(dialog.windowTitle().toStdString(), "Add currencies");
            EXPECT_EQ(text(dialog, "cmdOK"), "OK");
            EXPECT_EQ(text(dialog, "CmdKO"), "Cancel");
            const QAbstractItemModel &model = *entries(dialog).model();
            for (int entry = 0; entry < model.rowCount(); ++entry)
                offered.push_back(model.index(entry, 0).data().toString().toStdString() + " "
                                  + model.index(entry, 1).data().toString().toStdString());
            row.act(dialog);
        });
        FrmDev dialog;
        EXPECT_EQ(dialog.GetISO(), row.codes);
        EXPECT_TRUE(driver.acted());
        EXPECT_EQ(offered, (Names{"CHF Swiss franc", "GBP Pound sterling", "JPY Japanese yen"}));
    }
}

} // namespace
} // namespace kvt
