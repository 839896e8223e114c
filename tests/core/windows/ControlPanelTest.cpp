#include "Accessibility.h"
#include "WindowTesting.h"
#include "core/facade/FacadeFixture.h"
#include "messages/Langue.h"
#include "windows/FrmControlPanel.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <functional>

namespace kvt::test {
namespace {

[[maybe_unused]] testing::Environment *const kWindows =
    testing::AddGlobalTestEnvironment(new WindowApplication);

template<class Control>
Control &named(const QWidget &window, const char *name) {
    Control *found = window.findChild<Control *>(QString::fromLatin1(name));
    if (!found) {
        ADD_FAILURE() << "no control " << name;
        std::abort();
    }
    return *found;
}

// Runs act on the panel once it shows modally; closes it if act leaves it open.
bool whileShown(KVTMain &main, const std::function<void(QWidget &)> &act, bool *result = nullptr) {
    bool acted = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        const QPointer<QWidget> modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible())
            return;
        poll.stop();
        acted = true;
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
        act(*modal);
        if (modal && modal->isVisible()) {
            ADD_FAILURE() << "the panel stayed open";
            modal->hide();
        }
    });
    poll.start(5);
    const bool saved = main.ShowCP();
    if (result)
        *result = saved;
    return acted;
}

void click(QWidget &window, const char *name) {
    QTest::mouseClick(&named<QAbstractButton>(window, name), Qt::LeftButton);
}

using Panel = FacadeFixture;

TEST_F(Panel, speaksTheLanguageNamesEveryControlAndOpensOnTheRates) {
    auto main = startedFacade();
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
            auto &tabs = named<QTabWidget>(panel, "TabCP");
            EXPECT_EQ(tabs.tabText(1).toStdString(), row.tab1);
            EXPECT_EQ(tabs.currentIndex(), 1);
            EXPECT_FALSE(tabs.isTabEnabled(0));
            EXPECT_EQ(named<QPushButton>(panel, "CmdApply").text().toStdString(), row.apply);
            EXPECT_FALSE(named<QPushButton>(panel, "CmdApply").isEnabled());
            EXPECT_EQ(named<QPushButton>(panel, "CmdClose").text().toStdString(), row.close);
            EXPECT_EQ(unnamedControls(panel), QStringList());
            click(panel, "CmdClose");
        }));
        EXPECT_FALSE(main->driver().frmCP().Visible());
    }
}

// Closing with changes asks message 127: yes saves, no reloads the store, cancel stays open.
TEST_F(Panel, closingWithChangesAsksAndDoesWhatTheAnswerSays) {
    struct Row {
        std::vector<BoxAnswer> answers;
        bool staysAfterFirstClose;
        const char *storedStatus; // "ShowStatus" in the store at the end
        bool result;
    };
    const Row rows[] = {{{BoxAnswer::Yes}, false, "OFF", true},
                        {{BoxAnswer::No}, false, "ON", false},
                        {{BoxAnswer::Cancel, BoxAnswer::No}, true, "ON", false}};
    for (const Row &row : rows) {
        backend = std::make_shared<MemorySettingsBackend>();
        setSharedRegistry(std::make_shared<Registry>(backend));
        auto main = startedFacade();
        sharedDG()->setDeviseFrom("EUR");
        sharedDG()->setDeviseTo("BEF");
        sharedDG()->setMethodeArondi(Legal);
        boxes->clear();
        for (const BoxAnswer answer : row.answers)
            boxes->queueAnswer(answer);
        bool result = false;
        EXPECT_TRUE(whileShown(
            *main,
            [&](QWidget &panel) {
                named<QTabWidget>(panel, "TabCP").setCurrentIndex(2);
                click(panel, "ChkShowStatus");
                EXPECT_TRUE(named<QPushButton>(panel, "CmdApply").isEnabled());
                click(panel, "CmdClose");
                EXPECT_EQ(panel.isVisible(), row.staysAfterFirstClose);
                if (panel.isVisible())
                    click(panel, "CmdClose");
            },
            &result));
        EXPECT_EQ(result, row.result);
        EXPECT_EQ(stored("UserChoice", "ShowStatus"), row.storedStatus);
        ASSERT_EQ(boxes->shown().size(), row.answers.size());
        EXPECT_EQ(boxes->shown()[0].text, "Do you want to save your changes?");
        EXPECT_EQ(main->driver().ShowStatus(), std::string(row.storedStatus) == "ON");
    }
}

TEST_F(Panel, applyRefusesAPairThatCannotConvert) {
    auto main = startedFacade();
    sharedDG()->setDeviseFrom("EUR");
    sharedDG()->setDeviseTo("EUR");
    bool result = true;
    EXPECT_TRUE(whileShown(
        *main,
        [&](QWidget &panel) {
            named<QTabWidget>(panel, "TabCP").setCurrentIndex(2);
            click(panel, "ChkShowWelcom");
            click(panel, "CmdApply");
            EXPECT_TRUE(panel.isVisible());
            EXPECT_TRUE(named<QPushButton>(panel, "CmdApply").isEnabled());
            boxes->queueAnswer(BoxAnswer::No);
            click(panel, "CmdClose");
        },
        &result));
    EXPECT_FALSE(result);
    ASSERT_GE(boxes->shown().size(), 1u);
    EXPECT_EQ(boxes->shown()[0].text, "Cannot save: choose two different currencies and a "
                                      "target value containing an X.");
    EXPECT_EQ(boxes->shown()[0].icon, BoxIcon::Critical);
}

// Keys typed into the intermediate decimals: only digits; 3 to 15 taken over.
TEST_F(Panel, intermediateDecimalsTakeOnlyThreeToFifteen) {
    auto main = startedFacade();
    struct Row {
        const char *typed;
        const char *shown;
        std::int16_t taken;
    };
    const Row rows[] = {{"2", "2", 15}, {"16", "16", 15}, {"3", "3", 3}, {"1a5", "15", 15}};
    EXPECT_TRUE(whileShown(*main, [&](QWidget &panel) {
        named<QTabWidget>(panel, "TabCP").setCurrentIndex(2);
        auto &field = named<QLineEdit>(panel, "txtNbDecEuroInter");
        for (const Row &row : rows) {
            sharedDG()->setNbDecEuroInter(15);
            field.setFocus();
            field.selectAll();
            QTest::keyClick(&field, Qt::Key_Backspace);
            QTest::keyClicks(&field, row.typed);
            EXPECT_EQ(field.text().toStdString(), row.shown) << row.typed;
            EXPECT_EQ(sharedDG()->NbDecEuroInter(), row.taken) << row.typed;
        }
        boxes->queueAnswer(BoxAnswer::No);
        click(panel, "CmdClose");
    }));
}

} // namespace
} // namespace kvt::test
