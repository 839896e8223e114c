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
#include <map>

namespace kvt {
namespace {

const testing::Environment *const kApplication =
    testing::AddGlobalTestEnvironment(new test::WindowApplication);

using test::child;
using windows::FrmDev;
using windows::FrmISO;
using windows::Grid;
using Names = std::vector<std::string>;

struct Host final : windows::IsoEditorHost {
    std::vector<std::string> saved;
    void isoSaved(const std::string &code) override { saved.push_back(code); }
};

QWidget *focused() {
    return QApplication::focusWidget();
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

Grid &names(QWidget &editor) {
    return child<Grid>(editor, "FlexIsoNames");
}

// Where a click lands: a cell of the names grid ("@row" or "@row.col"), or an entry of the list.
std::pair<QWidget *, QPoint> spot(QWidget &window, const QString &where) {
    if (auto *list = window.findChild<QTreeView *>(QStringLiteral("lstIso")))
        return {list->viewport(),
                list->visualRect(list->model()->index(where.toInt(), 0)).center()};
    Grid &grid = names(window);
    const QStringList cell = where.split(QLatin1Char('.'));
    const int col = cell.size() > 1 ? cell[1].toInt() : 1;
    return {grid.viewport(),
            grid.visualRect(grid.model()->index(cell[0].toInt() - grid.FixedRows(), col)).center()};
}

// Plays what the user does, step by step: "@3" clicks row 3's name (or entry 3 of a list),
// "@@3" double-clicks it, "[name]" clicks a button, "field=text" replaces a field's text,
// "<Down>" presses a key, "<close>" uses the close box; any other word is typed, each key going
// where the focus is when it is pressed.
void play(QWidget &window, const QString &script) {
    static const std::map<QString, Qt::Key> keys = {
        {"<Enter>", Qt::Key_Return}, {"<Esc>", Qt::Key_Escape},  {"<Up>", Qt::Key_Up},
        {"<Down>", Qt::Key_Down},    {"<Space>", Qt::Key_Space}, {"<Tab>", Qt::Key_Tab}};
    for (const QString &step : script.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (step.startsWith(QLatin1String("@@"))) {
            const auto [widget, point] = spot(window, step.mid(2));
            QTest::mouseClick(widget, Qt::LeftButton, {}, point);
            QTest::mouseDClick(widget, Qt::LeftButton, {}, point);
        } else if (step.startsWith(QLatin1Char('@'))) {
            const auto [widget, point] = spot(window, step.mid(1));
            QTest::mouseClick(widget, Qt::LeftButton, {}, point);
        } else if (step.startsWith(QLatin1Char('['))) {
            QTest::mouseClick(&child<QAbstractButton>(window, qPrintable(step.mid(1).chopped(1))),
                              Qt::LeftButton);
        } else if (const auto key = keys.find(step); key != keys.end()) {
            QTest::keyClick(focused(), key->second);
        } else if (step == QLatin1String("<CtrlA>")) {
            QTest::keyClick(focused(), Qt::Key_A, Qt::ControlModifier);
        } else if (step == QLatin1String("<close>")) {
            window.close();
        } else if (const qsizetype equals = step.indexOf(QLatin1Char('=')); equals > 0) {
            enter(child<QLineEdit>(window, qPrintable(step.left(equals))), step.mid(equals + 1));
        } else {
            for (const QChar c : step)
                QTest::keyClicks(focused(), QString(c));
        }
    }
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
        const char *captions; // title|button
        const char *fields;   // code|enabled|euro|format|decimals
        Names names;
    };
    const Row rows[] = {
        {FrmISO::Add, "", "New ISO code|Create", "|1|0|X.XX|2", Names(7)},
        {FrmISO::Update,
         "JPY",
         "Modify ISO code|Modify",
         "JPY|0|0|X|0",
         {"Japanischer Yen", "Japanese yen", "Yen japon\u00e9s", "Yen japonais", "Yen giapponese",
          "Japanse yen", ""}},
        {FrmISO::Update,
         "BEF",
         "Modify ISO code|Modify",
         "BEF|0|1|X|0",
         {"Belgischer Franken", "Belgian franc", "Franco belga", "Franc belge", "Franco belga",
          "Belgische frank", ""}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.code);
        QWidget &window = shown(row.mode, row.code);
        EXPECT_EQ(window.windowTitle().toStdString() + "|" + text(window, "CmdAddIso"),
                  row.captions);
        EXPECT_EQ(text(window, "txtISOCode") + "|"
                      + std::to_string(child<QLineEdit>(window, "txtISOCode").isEnabled()) + "|"
                      + std::to_string(child<QCheckBox>(window, "chkInEuro").isChecked()) + "|"
                      + text(window, "txtLegalFormat") + "|" + text(window, "TxtNrDecimal"),
                  row.fields);
        EXPECT_EQ(text(window, "cmdAddIsoCancel") + "|" + text(window, "lblISONames") + "|"
                      + text(window, "lblExplanation"),
                  "Cancel|Names of the currency:|Enter the code, its legal format and its name "
                  "in each language.");
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
        const char *script, *format, *decimals;
    };
    const Row rows[] = {
        {"txtLegalFormat=x.xx", "X.XX", "2"},
        {"txtLegalFormat=x", "X", "0"},
        {"txtLegalFormat=X.", "X.", "0"},
        {"txtLegalFormat=x.xxxx", "X.XXXX", "4"},
        {"TxtNrDecimal=3", "X.XXX", "3"},
        {"TxtNrDecimal=0", "X", "0"},
        {"TxtNrDecimal=", "X.XX", ""},
        {"TxtNrDecimal=2 <Tab> <Up>", "X.XXX", "3"},
        {"TxtNrDecimal=2 <Tab> <Down> <Down>", "X", "0"},
    };
    for (const Row &row : rows) {
        QWidget &window = shown(FrmISO::Add);
        play(window, row.script);
        EXPECT_EQ(text(window, "txtLegalFormat"), row.format) << row.script;
        EXPECT_EQ(text(window, "TxtNrDecimal"), row.decimals) << row.script;
    }
}

// Each refusal says what is wrong, changes nothing and leaves the editor open for a correction.
TEST_F(IsoEditor, refusesWhatTheCatalogueCannotKeepAndChangesNothing) {
    struct Row {
        FrmISO::Mode mode;
        QString code; // typed in add mode; the code modified in update mode
        const char *format, *names;
        std::string box;
    };
    const std::string empty = "Please enter an ISO code.";
    const std::string forbidden =
        "An ISO code cannot contain the characters | and \\ or control characters.";
    const std::string bar = "A name of the currency cannot contain the character |.";
    const std::string format = "The legal format ";
    const std::string invalid =
        " is not valid: use X, or X followed by a point and one X per decimal (X.XX).";
    const Row rows[] = {
        {FrmISO::Add, "", "X.XX", "", empty},
        {FrmISO::Add, "   ", "X.XX", "", empty},
        {FrmISO::Add, "USD", "X.XX", "", "The ISO code USD already exists."},
        {FrmISO::Add, "usd", "X.XX", "", "The ISO code usd already exists."},
        {FrmISO::Add, " gbp ", "X.XX", "", "The ISO code gbp already exists."},
        {FrmISO::Add, "X|Y", "X.XX", "", forbidden},
        {FrmISO::Add, "X\\Y", "X.XX", "", forbidden},
        {FrmISO::Add, "X\tY", "X.XX", "", forbidden},
        {FrmISO::Add, "XA\nU", "X.XX", "", forbidden},
        {FrmISO::Add, "XAU", "X,XX", "", format + "X,XX" + invalid},
        {FrmISO::Add, "XAU", "", "", format + invalid},
        {FrmISO::Add, "XAU", "X.XX", "@4 Or|Argent <Enter>", bar},
        {FrmISO::Update, "USD", "X.XX", "@2 <CtrlA> US|dollar", bar},
        {FrmISO::Update, "USD", "X.,", "", format + "X.," + invalid},
    };
    const std::string before = catalogue();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.code.toStdString() + " " + row.format + " " + row.names);
        boxes->clear();
        QWidget &window = shown(row.mode, row.mode == FrmISO::Update ? row.code.toStdString() : "");
        if (row.mode == FrmISO::Add)
            enter(child<QLineEdit>(window, "txtISOCode"), row.code);
        enter(child<QLineEdit>(window, "txtLegalFormat"), row.format);
        play(window, QString(row.names) + " [CmdAddIso]");
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
    const std::string before = catalogue();
    for (const char *leave : {"[cmdAddIsoCancel]", "<Esc>", "<close>"}) {
        QWidget &window = shown(FrmISO::Add);
        play(window, QString("txtISOCode=XAU @1 Gold <Enter> [chkInEuro] ") + leave);
        EXPECT_FALSE(window.isVisible()) << leave;
        EXPECT_EQ(catalogue(), before) << leave;
    }
    EXPECT_EQ(host.saved, Names{});
    EXPECT_TRUE(boxes->shown().empty());
}

// A name is typed in the edit box over its cell: Enter, Up, Down and leaving the cell keep it,
// Escape drops it.
TEST_F(IsoEditor, namesAreTypedInTheGridAndKeptByEnterUpAndDownButNotEscape) {
    struct Row {
        const char *script;
        Names firstThree;
        int currentRow;
        bool editing;
    };
    const Row rows[] = {
        {"@1 Gold <Enter>", {"Gold", "", ""}, 1, false},
        {"@2 <Esc> Or <Enter>", {"", "Or", ""}, 2, false}, // typed on the grid: starts the name
        {"@1 Gold <Enter> <Enter> en <Esc>", {"Gold", "", ""}, 1, false},
        {"@1 Gold <Enter> <Enter> en <Enter>", {"Golden", "", ""}, 1, false},
        {"@1 Gold <Down>", {"Gold", "", ""}, 2, false},
        {"@3 Oro <Up>", {"", "", "Oro"}, 2, false},
        {"@1 A <Up>", {"A", "", ""}, 1, false},
        {"@1 Gold <Down> Gold <Down> Oro <Enter>", {"Gold", "Gold", "Oro"}, 3, false},
        {"@1 Gold @3", {"Gold", "", ""}, 3, true},
        {"@@2 Or <Enter>", {"", "Or", ""}, 2, false},
        {"@2.0 Z", {"", "", ""}, 2, false}, // the language column is not typed into
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.script);
        QWidget &window = shown(FrmISO::Add);
        play(window, row.script);
        const Grid &grid = names(window);
        EXPECT_EQ(column(grid, 1, 3), row.firstThree);
        EXPECT_EQ(grid.TextMatrix(2, 0), "English");
        EXPECT_EQ(grid.Row(), row.currentRow);
        EXPECT_EQ(child<QLineEdit>(window, "txtEdit").isVisible(), row.editing);
        EXPECT_TRUE(window.isVisible());
    }
}

TEST_F(IsoEditor, addsANewCodeWithItsNamesItsOwnAliasAndAnEmptyRateTowardsEveryOther) {
    QWidget &window = shown(FrmISO::Add);
    // The last name is still being typed: Create keeps it too.
    play(window, "txtISOCode=XAU TxtNrDecimal=3 @1 Gold <Down> Gold <Down> Oro <Down> Or <Down> "
                 "Oro <Down> Goud [CmdAddIso]");

    EXPECT_TRUE(boxes->shown().empty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(host.saved, Names{"XAU"});
    ColISO &isos = *sharedChange()->ColISO();
    Names codes;
    int towardsGold = 0;
    for (const auto &entry : isos) {
        codes.push_back(entry->Value());
        const Taux &rate = *entry->ColTaux()->Item("XAU");
        towardsGold += rate.Change == 0.0 && !rate.Exist ? 1 : 0;
    }
    EXPECT_EQ(codes, (Names{"ATS", "BEF", "CHF", "DEM", "ESP", "EUR", "FIM", "FRF", "GBP", "GRD",
                            "IEP", "ITL", "JPY", "LUF", "NLG", "PTE", "USD", "XAU"}));
    EXPECT_EQ(towardsGold, 18);
    ISO &gold = *isos.Item("XAU");
    EXPECT_EQ(gold.LegalFormat() + " [" + gold.MasterISO() + "]", "X.XXX []");
    EXPECT_FALSE(gold.Used());
    EXPECT_EQ(gold.ColNames(), (Names{"Gold", "Gold", "Oro", "Or", "Oro", "Goud"}));
    EXPECT_EQ(gold.AllAlias(true), "XAU");
    EXPECT_TRUE(gold.ColAlias()->Item(1)->ISO);
    EXPECT_EQ(gold.storedAliasDef(), "-1");
    EXPECT_EQ(gold.ColTaux()->Count(), 18);
}

TEST_F(IsoEditor, modifiesTheFormatMembershipAndNamesOfACodeAndOfItsSelectedCurrency) {
    QWidget &window = shown(FrmISO::Update, "JPY");
    play(window, "[chkInEuro] TxtNrDecimal=2 @2 <CtrlA> Yen [CmdAddIso]");

    EXPECT_TRUE(boxes->shown().empty());
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(host.saved, Names{"JPY"});
    const ISO &yen = *sharedChange()->ColISO()->Item("JPY");
    EXPECT_EQ(yen.LegalFormat() + " [" + yen.MasterISO() + "]", "X.XX [EUR]");
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

TEST_F(NewCurrency, offersTheCodesNotSelectedAndReturnsThoseConfirmedInListOrder) {
    struct Row {
        const char *script;
        Names codes;
    };
    const Row rows[] = {
        {"@2 @0 [cmdOK]", {"CHF", "JPY"}},
        {"@0 @1 @0 <Enter>", {"GBP"}}, // a second click unticks
        {"<Down> <Space> <Enter>", {"GBP"}},
        {"@@2", {"JPY"}},
        {"[cmdOK]", {}},
        {"@1 [CmdKO]", {}},
        {"@1 <Esc>", {}},
        {"@1 <close>", {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.script);
        Names offered;
        const test::WhenModal driver([&](QWidget &dialog) {
            EXPECT_EQ(dialog.windowTitle().toStdString(), "Add currencies");
            EXPECT_EQ(text(dialog, "cmdOK") + "/" + text(dialog, "CmdKO"), "OK/Cancel");
            const QAbstractItemModel &model = *child<QTreeView>(dialog, "lstIso").model();
            for (int entry = 0; entry < model.rowCount(); ++entry)
                offered.push_back(model.index(entry, 0).data().toString().toStdString() + " "
                                  + model.index(entry, 1).data().toString().toStdString());
            play(dialog, row.script);
        });
        FrmDev dialog;
        EXPECT_EQ(dialog.GetISO(), row.codes);
        EXPECT_TRUE(driver.acted());
        EXPECT_EQ(offered, (Names{"CHF Swiss franc", "GBP Pound sterling", "JPY Japanese yen"}));
    }
}

} // namespace
} // namespace kvt
