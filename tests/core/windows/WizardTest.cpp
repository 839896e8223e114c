#include "Accessibility.h"
#include "WindowTesting.h"
#include "core/facade/FacadeFixture.h"
#include "support/FakeControls.h"
#include "support/ForwardingBackend.h"
#include "support/WindowDriving.h"
#include "ui/LanguageList.h"
#include "windows/FrmBienvenue.h"
#include "windows/FrmFirstTime.h"
#include "windows/TwoColumnList.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <cstdlib>
#include <functional>

namespace kvt::test {
namespace {

[[maybe_unused]] testing::Environment *const kWindows =
    testing::AddGlobalTestEnvironment(new WindowApplication);

using windows::FrmBienvenue;
using windows::FrmFirstTime;
using windows::TwoColumnList;

std::string textOf(const QWidget &window, const char *label) {
    return child<QLabel>(window, label).text().toStdString();
}

class Wizard : public FacadeFixture {
protected:
    void TearDown() override {
        FrmBienvenue::unload();
        FacadeFixture::TearDown();
    }
    // A facade on the shipped messages and a new store holding these "UserChoice" values.
    std::unique_ptr<KVTMain> started(std::vector<std::pair<const char *, const char *>> values) {
        backend = std::make_shared<MemorySettingsBackend>();
        setSharedRegistry(std::make_shared<Registry>(backend));
        for (const auto &[key, value] : values)
            if (value)
                store("UserChoice", key, value);
        return startedFacade();
    }
    // Runs the wizard through the facade; true when it showed.
    static bool run(KVTMain &main, bool force, std::function<void(QWidget &)> act) {
        const WhenModal driver(std::move(act));
        main.FirstTime(force);
        return driver.acted();
    }
    static void quit(QWidget &wizard) {
        QTest::mouseClick(&child<QPushButton>(wizard, "CmdQuit"), Qt::LeftButton);
    }
};

TEST_F(Wizard, listsTheLanguagesEachInItsOwnName) {
    sharedMessage()->subLoadIndex(kMessageFile);
    trace->setActive(true);
    const std::vector<std::string> names = {"Deutsch",  "English",  "Español",
                                            "Français", "Italiano", "Nederlands"};
    test::FakeList fake;
    fake.AddItem("stale");
    LoadcboLangue(fake);
    EXPECT_EQ(fake.codes(), names);
    EXPECT_EQ(traceLog(), (std::vector<std::string>{"FctBegin LoadcboLangue -> 1", "FctEnd 1 "}));
    QWidget window;
    for (const auto form : {TwoColumnList::Form::Combo, TwoColumnList::Form::List}) {
        TwoColumnList list(QStringLiteral("cboLangue"), &window, {form});
        list.AddItem("stale");
        LoadcboLangue(list);
        std::vector<std::string> listed;
        for (int index = 0; index < list.ListCount(); ++index)
            listed.push_back(list.List(index));
        EXPECT_EQ(listed, names);
    }
}

// Texts: title, lblLanguage, lblTo, the check box, CmdQuit, the first and last lines of
// txtFirstTime, and the name of USD.
TEST_F(Wizard, speaksTheUsersLanguageNamesEveryControlAndTabsInOrder) {
    const struct {
        const char *language;
        std::vector<std::string> texts;
    } rows[] = {
        {"1",
         {"Talvio – Getting started",
          "Interface language:", "To:", "Do not show this window at startup", "Close",
          "Welcome to Talvio, the currency converter for your spreadsheets.",
          "Click Close to start working with Talvio.", "US dollar"}},
        {"3",
         {"Talvio – Premiers pas",
          "Langue de l'interface :", "Vers :", "Ne plus afficher cette fenêtre au démarrage",
          "Fermer", "Bienvenue dans Talvio, le convertisseur de devises de vos classeurs.",
          "Cliquez sur Fermer pour commencer à travailler avec Talvio.", "Dollar américain"}},
    };
    for (const auto &row : rows) {
        const auto main = started({{"Language", row.language}});
        QStringList reached;
        EXPECT_TRUE(run(*main, true, [&](QWidget &wizard) {
            const QStringList lines =
                child<QPlainTextEdit>(wizard, "txtFirstTime").toPlainText().split('\n');
            EXPECT_EQ(lines.size(), 11);
            const auto &from = *TwoColumnList::of(&child<QComboBox>(wizard, "cboCurFrom"));
            const std::vector<std::string> texts = {
                wizard.windowTitle().toStdString(),
                textOf(wizard, "lblLanguage"),
                textOf(wizard, "lblTo"),
                child<QCheckBox>(wizard, "ChkDontShowNextTime").text().toStdString(),
                child<QPushButton>(wizard, "CmdQuit").text().toStdString(),
                lines.front().toStdString(),
                lines.back().toStdString(),
                from.List(listLookup(from, "USD"), 1)};
            EXPECT_EQ(texts, row.texts);
            EXPECT_EQ(child<QComboBox>(wizard, "cboLangue").currentIndex(),
                      std::atoi(row.language));
            EXPECT_EQ(unnamedControls(wizard), QStringList());
            child<QComboBox>(wizard, "cboLangue").setFocus();
            for (int step = 0; step < 7; ++step) {
                reached << QApplication::focusWidget()->objectName();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            quit(wizard);
        })) << row.language;
        EXPECT_EQ(reached, QStringList({"cboLangue", "cboCurFrom", "CboCurTo", "txtFirstTime",
                                        "ChkDontShowNextTime", "CmdQuit", "cboLangue"}));
    }
}

// A switch stored empty reads as its default, "ON", like one never stored.
TEST_F(Wizard, showsItselfOnlyWhenTheSwitchIsExactlyOnOrWhenForced) {
    const struct {
        const char *stored;
        bool force, shows, ticked;
    } rows[] = {
        {"ON", false, true, false},   {nullptr, false, true, false}, {"", false, true, false},
        {"OFF", false, false, false}, {"on", false, false, false},   {"yes", false, false, false},
        {"OFF", true, true, true},    {"on", true, true, true},
    };
    for (const auto &row : rows) {
        const auto main = started({{"FirstTime", row.stored}});
        bool ticked = false;
        EXPECT_EQ(run(*main, row.force,
                      [&](QWidget &wizard) {
                          ticked = child<QCheckBox>(wizard, "ChkDontShowNextTime").isChecked();
                          quit(wizard);
                      }),
                  row.shows)
            << (row.stored ? row.stored : "absent") << row.force;
        EXPECT_EQ(main->mFirstTimeShown, row.shows);
        EXPECT_EQ(ticked, row.ticked);
        EXPECT_EQ(FrmFirstTime::shown(), nullptr);
    }
}

// The currencies offered are the user's, by default "USD|GBP|CHF|JPY|EUR|ATS|BEF|DEM|...":
// typing a letter moves to the next code that starts with it.
TEST_F(Wizard, takesEachChoiceMadeWithTheKeyboard) {
    const struct {
        const char *selection, *combo;
        Qt::Key key;
        Langue langue;
        const char *from, *to, *lblLanguage;
    } rows[] = {
        {nullptr, "cboLangue", Qt::Key_I, IT, "ITL", "EUR", "Lingua dell'interfaccia:"},
        {nullptr, "cboLangue", Qt::Key_D, DE, "DEM", "EUR", "Sprache der Oberfläche:"},
        {nullptr, "cboLangue", Qt::Key_N, NL, "BEF", "EUR", "Taal van de interface:"},
        // Without the language's own currency, the source stays as it was.
        {"USD|EUR|", "cboLangue", Qt::Key_D, DE, "EUR", "EUR", "Sprache der Oberfläche:"},
        {nullptr, "cboCurFrom", Qt::Key_G, EN, "GRD", "EUR", "Interface language:"},
        {nullptr, "CboCurTo", Qt::Key_J, EN, "EUR", "JPY", "Interface language:"},
    };
    for (const auto &row : rows) {
        const auto main = started({{"Currencies", row.selection}});
        run(*main, true, [&](QWidget &wizard) {
            QTest::keyClick(&child<QComboBox>(wizard, row.combo), row.key);
            EXPECT_EQ(child<QComboBox>(wizard, "cboCurFrom").currentText().toStdString(), row.from);
            EXPECT_EQ(textOf(wizard, "lblLanguage"), row.lblLanguage);
            quit(wizard);
        });
        EXPECT_EQ(sharedDG()->Langue(), row.langue) << row.combo << row.key;
        EXPECT_EQ(sharedDG()->DeviseFrom(), row.from) << row.combo << row.key;
        EXPECT_EQ(sharedDG()->DeviseTo(), row.to) << row.combo << row.key;
    }
}

// Ticks: m with the mouse, k with the Space key. Then closed by CmdQuit (q), the close box (x)
// or Escape (e).
TEST_F(Wizard, writesTheStartSwitchAtOnceHoweverItCloses) {
    const struct {
        const char *stored, *ticks;
        char close;
        const char *written;
    } rows[] = {{"ON", "m", 'x', "OFF"},
                {"OFF", "m", 'x', "ON"},
                {"OFF", "k", 'e', "ON"},
                {"ON", "mm", 'q', "ON"}};
    for (const auto &row : rows) {
        const auto main = started({{"FirstTime", row.stored}});
        bool noneShownMeanwhile = true;
        run(*main, true, [&](QWidget &wizard) {
            noneShownMeanwhile = main->NoWindowsVisible();
            auto &box = child<QCheckBox>(wizard, "ChkDontShowNextTime");
            for (const char *tick = row.ticks; *tick; ++tick) {
                if (*tick == 'k')
                    QTest::keyClick(&box, Qt::Key_Space);
                else
                    QTest::mouseClick(&box, Qt::LeftButton);
            }
            EXPECT_EQ(stored("UserChoice", "FirstTime"), row.written);
            if (row.close == 'q')
                quit(wizard);
            else if (row.close == 'x')
                wizard.close();
            else
                QTest::keyClick(&wizard, Qt::Key_Escape);
        });
        EXPECT_FALSE(noneShownMeanwhile);
        EXPECT_EQ(stored("UserChoice", "FirstTime"), row.written) << row.ticks << row.close;
        EXPECT_EQ(main->driver().frmCP().ChkShowFirstTime(), std::string(row.written) == "ON");
        EXPECT_EQ(FrmFirstTime::shown(), nullptr);
        EXPECT_TRUE(main->NoWindowsVisible());
    }
}

// A store that refuses to switch the wizard off: the failure is told in a box, and the wizard
// goes on and closes as asked.
TEST_F(Wizard, tellsAFailedWriteAndGoesOn) {
    struct Refusing final : ForwardingBackend {
        void write(const std::string &app, const std::string &section, const std::string &key,
                   const std::string &value) override {
            if (key == "FirstTime" && value == "OFF")
                throw Error(err::SettingsStore, "the store is read-only");
            ForwardingBackend::write(app, section, key, value);
        }
    };
    setSharedRegistry(std::make_shared<Registry>(std::make_shared<Refusing>()));
    const auto main = startedFacade();
    EXPECT_TRUE(run(*main, true, [&](QWidget &wizard) {
        QTest::mouseClick(&child<QCheckBox>(wizard, "ChkDontShowNextTime"), Qt::LeftButton);
        quit(wizard);
    }));
    ASSERT_EQ(boxes->shown().size(), 1u);
    EXPECT_EQ(boxes->shown()[0].text, "Error (ChkDontShowNextTime_Click): the store is read-only");
    EXPECT_EQ(boxes->shown()[0].icon, BoxIcon::Critical);
}

TEST_F(Wizard, showsTheWelcomeScreenOnlyWhenWanted) {
    const struct {
        const char *wanted, *language, *title, *maker;
    } rows[] = {
        {"ON", "1", "Talvio – Euro currency converter", "Developed by the Talvio project"},
        {"ON", "0", "Talvio – Euro-Währungsrechner", "Entwickelt vom Talvio-Projekt"},
        {"OFF", "1", nullptr, nullptr},
    };
    for (const auto &row : rows) {
        const auto main = started({{"ShowWelcomDialog", row.wanted}, {"Language", row.language}});
        main->LoadBienvenue();
        QWidget *welcome = FrmBienvenue::shown();
        if (!row.title) {
            EXPECT_EQ(welcome, nullptr);
            for (const QWidget *window : QApplication::topLevelWidgets())
                EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
            EXPECT_TRUE(main->NoWindowsVisible());
            continue;
        }
        ASSERT_NE(welcome, nullptr) << row.language;
        // Painted before LoadBienvenue returned: nothing is waited for here.
        EXPECT_TRUE(welcome->windowHandle()->isExposed());
        EXPECT_EQ(textOf(*welcome, "lblTitle"), row.title);
        EXPECT_TRUE(textOf(*welcome, "lblVersion").starts_with("Version ")) << row.language;
        EXPECT_EQ(textOf(*welcome, "lblSociete"), row.maker);
        EXPECT_EQ(textOf(*welcome, "lblYear"), "© 2026");
        EXPECT_FALSE(main->NoWindowsVisible());
        // Nothing in it to name or to reach with Tab: it never takes the focus.
        EXPECT_EQ(unnamedControls(*welcome), QStringList());
        for (const QWidget *control : welcome->findChildren<QWidget *>())
            EXPECT_EQ(control->focusPolicy(), Qt::NoFocus) << control->objectName().toStdString();
        main->UnloadBienvenue();
        EXPECT_EQ(FrmBienvenue::shown(), nullptr);
        EXPECT_TRUE(main->NoWindowsVisible());
    }
}

} // namespace
} // namespace kvt::test
