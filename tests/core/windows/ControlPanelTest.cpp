#include "Accessibility.h"
#include "PanelTesting.h"
#include "WindowTesting.h"
#include "core/facade/FacadeFixture.h"
#include "model/DG.h"
#include "model/ISO.h"
#include "model/Taux.h"
#include "support/LocalAddInMgr.h"
#include "support/WindowDriving.h"
#include "ui/CPExcel.h"
#include "windows/FrmControlPanel.h"
#include "windows/Grid.h"
#include "windows/Services.h"
#include "windows/WindowLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <algorithm>
#include <cctype>
#include <fstream>
#include <functional>
#include <map>

namespace kvt::test {
namespace {

using windows::Grid;

TEST_F(Panel, speaksTheLanguageNamesEveryControlAndOpensOnTheRates) {
    auto main = started();
    struct Row {
        Langue language;
        const char *title, *tab1, *apply, *close;
    };
    const Row rows[] = {
        {EN, "Talvio \u2013 Control panel", "Exchange rates", "Apply", "Close"},
        {FR, "Talvio \u2013 Panneau de configuration", "Taux de change", "Appliquer", "Fermer"},
    };
    for (const Row &row : rows) {
        sharedDG()->setLangue(row.language);
        main->CPTranslate();
        EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
            EXPECT_EQ(panel.windowTitle().toStdString(), row.title);
            auto &tabs = child<QTabWidget>(panel, "TabCP");
            EXPECT_EQ(tabs.tabText(1).toStdString(), row.tab1);
            EXPECT_EQ(tabs.currentIndex(), 1);
            EXPECT_FALSE(tabs.isTabEnabled(0));
            EXPECT_FALSE(applyEnabled(panel));
            EXPECT_EQ(child<QPushButton>(panel, "CmdApply").text().toStdString(), row.apply);
            EXPECT_EQ(child<QPushButton>(panel, "CmdClose").text().toStdString(), row.close);
            EXPECT_EQ(unnamedControls(panel), QStringList());
            click(panel, "CmdClose");
        }));
        EXPECT_FALSE(main->driver().frmCP().Visible());
    }
    // The rate grid as loaded: ITL widened, given rates on white, derived ones on silver.
    QWidget &panel = dynamic_cast<QWidget &>(main->driver().frmCP().window());
    const Grid &rates = gridOf(panel, "FlexTaux");
    ASSERT_EQ(rates.TextMatrix(0, 14), "ITL");
    EXPECT_EQ(rates.ColWidth(14),
              static_cast<int>(windows::pixelsToTwips(panel, windows::twipsToPixels(panel, 1065))));
    EXPECT_EQ(rates.TextMatrix(5, 0), "EUR");
    EXPECT_EQ(rates.TextMatrix(5, 7), "40.339900");
    EXPECT_EQ(rates.CellBackColor(5, 7), 0xFFFFFFu);
    EXPECT_EQ(rates.TextMatrix(7, 11), "0.162607");
    EXPECT_EQ(rates.CellBackColor(7, 11), 0xC0C0C0u);
}

// The message table as written in the sources: number to text in one language (2 German ... 7
// Dutch, the file's columns), independent of the catalogue the window reads.
std::map<int, std::string> sourceMessages(int column) {
    std::ifstream file(TALVIO_SOURCE_MESSAGES);
    std::map<int, std::string> texts;
    for (std::string line; std::getline(file, line);) {
        std::vector<std::string> fields;
        for (std::size_t start = 0;;) {
            const std::size_t tab = line.find('\t', start);
            fields.push_back(line.substr(start, tab - start));
            if (tab == std::string::npos)
                break;
            start = tab + 1;
        }
        if (fields.size() > static_cast<std::size_t>(column) && !fields[0].empty()
            && std::isdigit(static_cast<unsigned char>(fields[0][0])))
            texts[std::stoi(fields[0])] = fields[static_cast<std::size_t>(column) - 1];
    }
    return texts;
}

// Every caption and tool tip of the panel is the message of its number, in the language chosen.
TEST_F(Panel, everyTextIsItsMessageInTheLanguage) {
    struct Text {
        const char *control;
        int caption, tip;
    };
    const Text texts[] = {
        {"FrmMonaie", 5, 0},
        {"cmdInverse", 0, 102},
        {"ChkFormatDef", 7, 0},
        {"FrmArondi", 8, 0},
        {"lblMethode", 107, 0},
        {"lblValeurCible", 111, 0},
        {"FrmRes", 117, 0},
        {"OptResVal", 118, 0},
        {"FrmExemple", 125, 0},
        {"txtExConversion", 0, 509},
        {"FrmEmplacement", 108, 0},
        {"OptInsAuto", 109, 0},
        {"OptInsManuel", 110, 0},
        {"FrmCalcul", 9, 0},
        {"lblNbDec", 10, 0},
        {"lblEntre3et15", 11, 0},
        {"FrmDivers", 12, 0},
        {"lblLangue", 3, 0},
        {"ChkShowStatus", 13, 0},
        {"ChkShowFirstTime", 50, 0},
        {"ChkShowWelcom", 53, 0},
        {"cmdIORates", 166, 0},
        {"lblLastRatesUpdate", 1204, 0},
        {"CmdAddDev", 162, 530},
        {"CmdDelDev", 163, 531},
        {"cmdCurrencyUp", 0, 541},
        {"cmdCurrencyDown", 0, 542},
        {"FrmDevise", 121, 0},
        {"lblIsoCode", 400, 0},
        {"chkInEuro", 402, 0},
        {"lblNrDecimal", 423, 0},
        {"lblLegalFormat", 403, 0},
        {"CmdAddIso", 407, 540},
        {"CmdUpdateIso", 413, 412},
        {"FrmDevAlias", 165, 0},
        {"lblDevAliasConv", 164, 0},
        {"CmdDevAddAlias", 162, 537},
        {"CmdDevDelAlias", 163, 538},
        {"lblAliasPos", 417, 0},
        {"CmdApply", 155, 0},
        {"CmdClose", 156, 0},
    };
    const auto captionOf = [](QWidget &control) {
        if (auto *box = qobject_cast<QGroupBox *>(&control))
            return box->title().toStdString();
        if (auto *label = qobject_cast<QLabel *>(&control))
            return label->text().toStdString();
        return qobject_cast<QAbstractButton *>(&control)->text().toStdString();
    };
    auto main = started();
    for (const auto &[language, column] : {std::pair{EN, 3}, std::pair{FR, 5}}) {
        const std::map<int, std::string> messages = sourceMessages(column);
        sharedDG()->setLangue(language);
        main->CPTranslate();
        QWidget &panel = dynamic_cast<QWidget &>(main->driver().frmCP().window());
        for (const Text &text : texts) {
            QWidget &control = child(panel, text.control);
            if (text.caption) {
                EXPECT_EQ(captionOf(control), messages.at(text.caption)) << text.control;
            }
            if (text.tip) {
                EXPECT_EQ(control.toolTip().toStdString(), messages.at(text.tip)) << text.control;
            }
        }
        EXPECT_EQ(child<QAbstractButton>(panel, "OptResRef").text().toStdString(),
                  messages.at(119) + " " + messages.at(120));
        const auto positions = panel.findChildren<QToolButton *>(QStringLiteral("TglInsAuto"));
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(positions.at(i)->toolTip().toStdString(), messages.at(112 + i));
    }
}

// Each row: one user action on a fresh panel, the field it changes before and after, and
// whether it enables Apply.
TEST_F(Panel, everyHandlerChangesItsFieldAndEnablesApplyAsItShould) {
    using Read = std::function<std::string(KVTMain &, QWidget &)>;
    const Read pair = [](KVTMain &, QWidget &) {
        return sharedDG()->DeviseFrom() + " " + sharedDG()->DeviseTo();
    };
    const Read example = [](KVTMain &, QWidget &panel) {
        const Grid &grid = gridOf(panel, "FlexConversion");
        return grid.TextMatrix(0, 0) + " " + grid.TextMatrix(0, 1);
    };
    struct Row {
        const char *action;
        int tab;
        std::function<void(KVTMain &)> setUp;
        std::function<void(KVTMain &, QWidget &)> act;
        Read read;
        const char *before, *after;
        bool apply;
    };
    const auto none = [](KVTMain &) {
    };
    const auto upTo = [](KVTMain &) {
        sharedDG()->setMethodeArondi(suptargetValue);
    };
    const auto automatic = [](KVTMain &main) {
        main.driver().setInsAuto(true);
    };
    const Row rows[] = {
        {"next source currency", 0, none,
         [](KVTMain &, QWidget &p) { press(p, "cboDeviseFrom", Qt::Key_Down); }, example, "BEF FRF",
         "DEM FRF", true},
        {"next target currency", 0, none,
         [](KVTMain &, QWidget &p) { press(p, "cboDeviseTo", Qt::Key_Down); }, example, "BEF FRF",
         "BEF GRD", true},
        {"swap", 0, none, [](KVTMain &, QWidget &p) { click(p, "cmdInverse"); }, pair, "BEF FRF",
         "FRF BEF", true},
        {"swap while the panel is quiet", 0, none,
         [](KVTMain &m, QWidget &p) {
             m.driver().setEventsActive(false);
             click(p, "cmdInverse");
             m.driver().setEventsActive(true);
         },
         pair, "BEF FRF", "FRF BEF", true},
        {"nearest value", 0, none,
         [](KVTMain &, QWidget &p) { press(p, "cboMethodeArondi", Qt::Key_Down); },
         [](KVTMain &, QWidget &p) {
             return std::to_string(sharedDG()->MethodeArondi())
                    + onOff(child<QComboBox>(p, "cboValeurCible").isEnabled());
         },
         "1300", "1311", true},
        {"typed target value: x is X, the comma dropped", 0, upTo,
         [](KVTMain &, QWidget &p) {
             QLineEdit &typed = *child<QComboBox>(p, "cboValeurCible").lineEdit();
             typeInto(typed, "0,.x9");
         },
         [](KVTMain &, QWidget &) { return sharedDG()->DevFormat(); }, "X.XX", "0.X9", true},
        {"currency format", 0, none, [](KVTMain &, QWidget &p) { click(p, "ChkFormatDef"); },
         [](KVTMain &, QWidget &) { return onOff(sharedDG()->FormatDef()); }, "1", "0", true},
        {"result as value", 0, none, [](KVTMain &, QWidget &p) { click(p, "OptResVal"); },
         [](KVTMain &m, QWidget &) { return onOff(m.driver().ConvParValeur()); }, "0", "1", true},
        {"automatic insertion", 0, none, [](KVTMain &, QWidget &p) { click(p, "OptInsAuto"); },
         [](KVTMain &m, QWidget &p) {
             return onOff(m.driver().InsAuto()) + onOff(position(p, 0).isVisible());
         },
         "00", "11", true},
        {"the position already pressed", 0, automatic,
         [](KVTMain &, QWidget &p) { QTest::mouseClick(&position(p, 0), Qt::LeftButton); },
         [](KVTMain &m, QWidget &p) {
             return std::to_string(m.driver().InsAutoType()) + onOff(position(p, 0).isChecked());
         },
         "01", "01", false},
        {"another position", 0, automatic,
         [](KVTMain &, QWidget &p) { QTest::mouseClick(&position(p, 2), Qt::LeftButton); },
         [](KVTMain &m, QWidget &p) {
             return std::to_string(m.driver().InsAutoType()) + onOff(position(p, 0).isChecked())
                    + onOff(position(p, 2).isChecked());
         },
         "010", "201", true},
        {"example amount", 0, none,
         [](KVTMain &, QWidget &p) { typeInto(child<QLineEdit>(p, "txtExConversion"), "100"); },
         [](KVTMain &, QWidget &p) {
             return child<QLabel>(p, "lblDevFrom").text().toStdString() + " = "
                    + child<QLabel>(p, "lblDevTo").text().toStdString();
         },
         "BEF = 0.16 FRF", "BEF = 16.26 FRF", false},
        {"a non-number in the example is 1 once the pair changes", 0, none,
         [](KVTMain &, QWidget &p) {
             typeInto(child<QLineEdit>(p, "txtExConversion"), "abc");
             press(p, "cboDeviseTo", Qt::Key_Down);
         },
         [](KVTMain &, QWidget &p) {
             return child<QLineEdit>(p, "txtExConversion").text().toStdString();
         },
         "1", "1", true},
        {"language", 2, none, [](KVTMain &, QWidget &p) { press(p, "cboLangue", Qt::Key_Up); },
         [](KVTMain &, QWidget &p) {
             return std::to_string(sharedDG()->Langue()) + " " + p.windowTitle().toStdString()
                    + " / " + child<QPushButton>(p, "CmdClose").text().toStdString();
         },
         "1 Talvio \u2013 Control panel / Close", "0 Talvio \u2013 Einstellungen / Schlie\u00dfen",
         true},
        {"status bar", 2, none, [](KVTMain &, QWidget &p) { click(p, "ChkShowStatus"); },
         [](KVTMain &m, QWidget &) { return onOff(m.driver().ShowStatus()); }, "1", "0", true},
        {"status bar while the panel is quiet", 2, none,
         [](KVTMain &m, QWidget &p) {
             m.driver().setEventsActive(false);
             click(p, "ChkShowStatus");
             m.driver().setEventsActive(true);
         },
         [](KVTMain &m, QWidget &) { return onOff(m.driver().ShowStatus()); }, "1", "1", false},
        {"wizard at start", 2, none, [](KVTMain &, QWidget &p) { click(p, "ChkShowFirstTime"); },
         [](KVTMain &m, QWidget &) {
             return onOff(m.driver().FirstTime()) + onOff(m.driver().frmCP().ChkShowFirstTime());
         },
         "11", "00", true},
        {"an ISO code chosen by typing it", 2, none,
         [](KVTMain &, QWidget &p) {
             child(p, "cboIso").setFocus();
             QTest::keyClicks(&child(p, "cboIso"), "BEF");
         },
         [](KVTMain &, QWidget &p) {
             return child<QLabel>(p, "lblIsoName").text().toStdString() + "|"
                    + std::to_string(child<QCheckBox>(p, "chkInEuro").checkState()) + "|"
                    + child<QLineEdit>(p, "txtLegalFormat").text().toStdString() + "|"
                    + child<QLineEdit>(p, "TxtNrDecimal").text().toStdString() + "|"
                    + child<QComboBox>(p, "CboDevAliasConv").currentText().toStdString() + "|"
                    + std::to_string(child<QComboBox>(p, "CboDevAliasConv").count());
         },
         "|1||||0", "Belgian franc|2|X|0|BEF|5", false},
        {"welcome screen", 2, none, [](KVTMain &, QWidget &p) { click(p, "ChkShowWelcom"); },
         [](KVTMain &m, QWidget &) { return onOff(m.driver().ShowWelcomDialog()); }, "1", "0",
         true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.action);
        auto main = started();
        main->driver().setFirstTime(true);
        main->setShowFirstTime(true);
        row.setUp(*main);
        main->driver().frmCP().window();
        main->driver().frmCP().setTabEnabled(0, true); // the conversion tab, kept unavailable
        EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
            showTab(panel, row.tab);
            EXPECT_EQ(row.read(*main, panel), row.before);
            row.act(*main, panel);
            EXPECT_EQ(row.read(*main, panel), row.after);
            EXPECT_EQ(applyEnabled(panel), row.apply);
            boxes->queueAnswer(BoxAnswer::No);
            click(panel, "CmdClose");
        }));
    }
}

// The help line shows the help of the control with the focus, and clears when it leaves.
TEST_F(Panel, theHelpLineFollowsTheFocus) {
    auto main = started();
    main->driver().frmCP().window();
    main->driver().frmCP().setTabEnabled(0, true);
    struct Row {
        int tab;
        const char *control;
        const char *help;
    };
    const Row rows[] = {
        {0, "cboDeviseFrom", "Choose the currency of the amounts you convert."},
        {0, "cboMethodeArondi",
         "Choose how results are rounded. Legal rounding uses the decimals of the target "
         "currency. The other methods round to the target value, for example up to the next "
         "x.x9."},
        {0, "txtExConversion", "Type an amount to see how it is converted."},
        {1, "txtTaux",
         "Enter the exchange rate of the selected pair; the reverse rate is "
         "calculated automatically."},
        {2, "cboLangue", "Choose the language of all Talvio texts."},
        {2, "CboDevAliasConv",
         "The default alias is the symbol shown with amounts converted "
         "into this currency."},
    };
    EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
        const auto &help = child<QLabel>(panel, "lblHelp");
        for (const Row &row : rows) {
            showTab(panel, row.tab);
            if (row.tab == 1)
                clickCell(gridOf(panel, "FlexTaux"), 1, 2); // a rate that may be typed
            child(panel, row.control).setFocus(Qt::TabFocusReason);
            EXPECT_EQ(help.text().toStdString(), row.help) << row.control;
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            EXPECT_EQ(help.text().toStdString(), "") << row.control;
        }
        click(panel, "CmdClose");
    }));
}

// Closing with changes asks message 127: yes saves, no reloads the store, cancel stays open.
TEST_F(Panel, closingWithChangesAsksAndDoesWhatTheAnswerSays) {
    struct Row {
        std::vector<BoxAnswer> answers;
        bool staysAfterFirstClose;
        const char *storedStatus; // "ShowStatus" in the store at the end
        bool result;
    };
    const Row rows[] = {{{}, false, "ON", false},
                        {{BoxAnswer::Yes}, false, "OFF", true},
                        {{BoxAnswer::No}, false, "ON", false},
                        {{BoxAnswer::Cancel, BoxAnswer::No}, true, "ON", false}};
    for (const Row &row : rows) {
        backend = std::make_shared<MemorySettingsBackend>();
        setSharedRegistry(std::make_shared<Registry>(backend));
        auto main = started();
        boxes->clear();
        for (const BoxAnswer answer : row.answers)
            boxes->queueAnswer(answer);
        bool result = false;
        EXPECT_TRUE(whileShown(
            *main,
            [&](QWidget &panel) {
                showTab(panel, 2);
                if (!row.answers.empty())
                    click(panel, "ChkShowStatus");
                click(panel, "CmdClose");
                EXPECT_EQ(panel.isVisible(), row.staysAfterFirstClose);
                if (panel.isVisible())
                    click(panel, "CmdClose");
            },
            &result));
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(stored("UserChoice", "ShowStatus"), row.storedStatus);
        ASSERT_EQ(boxes->shown().size(), row.answers.size());
        if (!row.answers.empty()) {
            EXPECT_EQ(boxes->shown()[0].text, "Do you want to save your changes?");
        }
        EXPECT_EQ(main->driver().ShowStatus(), std::string(row.storedStatus) == "ON");
    }
}

TEST_F(Panel, applyRefusesAPairThatCannotConvert) {
    auto main = started();
    sharedDG()->setDeviseTo("BEF");
    bool result = true;
    EXPECT_TRUE(whileShown(
        *main,
        [&](QWidget &panel) {
            showTab(panel, 2);
            click(panel, "ChkShowWelcom");
            click(panel, "CmdApply");
            EXPECT_TRUE(panel.isVisible());
            EXPECT_TRUE(applyEnabled(panel));
            boxes->queueAnswer(BoxAnswer::No);
            click(panel, "CmdClose");
        },
        &result));
    EXPECT_FALSE(result);
    ASSERT_GE(boxes->shown().size(), 1u);
    EXPECT_EQ(boxes->shown()[0].text, "Cannot save: choose two different currencies and a "
                                      "target value containing an X.");
    EXPECT_EQ(boxes->shown()[0].icon, BoxIcon::Critical);
    EXPECT_EQ(stored("UserChoice", "ShowWelcomDialog"), "ON");
}

// Keys typed into the intermediate decimals: only digits; 3 to 15 taken over; the field keeps
// the focus while it holds anything else.
TEST_F(Panel, intermediateDecimalsTakeOnlyThreeToFifteen) {
    auto main = started();
    struct Row {
        const char *typed;
        const char *shown;
        std::int16_t taken;
        bool keepsFocus;
    };
    const Row rows[] = {{"2", "2", 15, true},
                        {"16", "16", 15, true},
                        {"", "", 15, true},
                        {"3", "3", 3, false},
                        {"1a5", "15", 15, false}};
    EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
        showTab(panel, 2);
        auto &field = child<QLineEdit>(panel, "txtNbDecEuroInter");
        for (const Row &row : rows) {
            sharedDG()->setNbDecEuroInter(15);
            typeInto(field, row.typed);
            EXPECT_EQ(field.text().toStdString(), row.shown) << row.typed;
            EXPECT_EQ(sharedDG()->NbDecEuroInter(), row.taken) << row.typed;
            QTest::keyClick(&field, Qt::Key_Tab);
            QApplication::processEvents();
            EXPECT_EQ(QApplication::focusWidget() == &field, row.keepsFocus) << row.typed;
        }
        boxes->queueAnswer(BoxAnswer::No);
        click(panel, "CmdClose");
    }));
}

// The facade's operations that reach the panel: the grid refill after a rate changed elsewhere,
// and a default alias set as the user would, which saves.
TEST_F(Panel, theFacadeRefillsTheRatesAndSetsDefaultAliasesThroughTheWindow) {
    auto main = started();
    QWidget &panel = dynamic_cast<QWidget &>(main->driver().frmCP().window());
    const Grid &rates = gridOf(panel, "FlexTaux");
    ASSERT_EQ(rates.TextMatrix(1, 0) + rates.TextMatrix(0, 5), "USDEUR");
    Taux &rate = *sharedChange()->ColISO()->Item("USD")->ColTaux()->Item("EUR");
    rate.Change = 0.5;
    EXPECT_NE(rates.TextMatrix(1, 5), "0.500000");
    main->LoadClickTableTaux();
    EXPECT_EQ(rates.TextMatrix(1, 5), "0.500000");

    struct Row {
        const char *currency, *alias, *reads;
    };
    const Row rows[] = {{"EUR", "\u20ac", "\u20ac"},
                        {"BEF", "FB", "FB"},
                        {"USD", "(no default alias)", "(no default alias)"}};
    for (const Row &row : rows) {
        main->setAliasDefault(row.currency, row.alias);
        EXPECT_EQ(main->AliasDefault(row.currency), row.reads) << row.currency;
    }
    EXPECT_EQ(stored("Currencies\\Alias", "BEF"), "FB|BF|FB|F");
    EXPECT_FALSE(panel.isVisible());
}

// However the user closes the panel after an edit of the common data, the edit ends: the other
// add-ins are told and the editor is cleared.
TEST_F(Panel, everyWayOfClosingAfterAnEditEndsTheEdit) {
    struct Row {
        const char *how;
        std::function<void(QWidget &)> close;
    };
    const Row rows[] = {
        {"Close",
         [](QWidget &panel) {
             click(panel, "CmdClose");
         }},
        {"Escape",
         [](QWidget &panel) {
             QTest::keyClick(&panel, Qt::Key_Escape);
         }},
        {"close box",
         [](QWidget &panel) {
             panel.close();
         }},
        {"Apply",
         [](QWidget &panel) {
             click(panel, "CmdApply");
         }},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.how);
        const ScopedLocalAddInMgr manager;
        auto main = started();
        std::string name;
        ASSERT_TRUE(main->Register("/opt/addin", "A", name));
        main->RunStateMachine();
        EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
            showTab(panel, 2);
            typeInto(child<QLineEdit>(panel, "txtNbDecEuroInter"), "9");
            EXPECT_EQ(main->EditState(), EditRunning);
            EXPECT_EQ(manager->CommonDataEditor(), "A 1");
            boxes->queueAnswer(BoxAnswer::No);
            row.close(panel);
        }));
        EXPECT_EQ(main->EditState(), EditAllowed);
        EXPECT_EQ(manager->CommonDataEditor(), "");
    }
}

// A step that fails while the panel loads is written to the trace and skipped; the rest loads.
TEST_F(Panel, aFailingStepOfTheLoadIsTracedAndTheRestLoads) {
    auto main = started();
    trace->setActive(true);
    sharedChange()->ColISO()->Item("USD")->ColTaux()->Remove("GBP");
    EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
        EXPECT_EQ(child<QLineEdit>(panel, "txtNbDecEuroInter").text(), "15");
        EXPECT_EQ(child<QComboBox>(panel, "cboDeviseTo").currentText(), "FRF");
        click(panel, "CmdClose");
    }));
    const std::vector<std::string> failure = {"FctBegin LoadTableauTaux -> 5",
                                              "Error 5 Key not found in the collection: \"GBP\""};
    const auto &log = traceLog();
    EXPECT_NE(std::search(log.begin(), log.end(), failure.begin(), failure.end()), log.end());
}

// A panel that cannot be made: ShowCP reports it in the trace and in a box, and returns false.
TEST_F(Panel, aPanelThatCannotBeMadeIsReportedAndNotSaved) {
    WindowServices broken = windows::allServices();
    broken.controlPanel = [](FrmControlPanel &) -> std::unique_ptr<ControlPanelWindow> {
        throw std::runtime_error("no room for the panel");
    };
    registerWindowServices(broken);
    auto main = started();
    trace->setActive(true);
    EXPECT_FALSE(main->ShowCP());
    registerWindowServices(windows::allServices());
    ASSERT_EQ(boxes->shown().size(), 1u);
    EXPECT_EQ(boxes->shown()[0].text, "no room for the panel");
    EXPECT_EQ(boxes->shown()[0].icon, BoxIcon::Critical);
    const auto &log = traceLog();
    EXPECT_NE(std::find_if(log.begin(), log.end(),
                           [](const std::string &line) {
                               return line.find("no room for the panel") != std::string::npos;
                           }),
              log.end());
}

// The rate grid takes what the window gains; the window does not shrink below its minimum.
TEST_F(Panel, theRateGridGrowsWithTheWindow) {
    auto main = started();
    EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
        const QSize grid = child(panel, "FlexTaux").size();
        const QSize window = panel.size();
        panel.resize(window + QSize(200, 150));
        QApplication::processEvents();
        EXPECT_EQ(child(panel, "FlexTaux").size(), grid + QSize(200, 150));
        panel.resize(window.width(), 20);
        QApplication::processEvents();
        EXPECT_GE(panel.height(), windows::twipsToPixels(panel, 2300, Qt::Vertical));
        click(panel, "CmdClose");
    }));
}

} // namespace
} // namespace kvt::test
