#include "Accessibility.h"
#include "WindowTesting.h"
#include "core/facade/FacadeFixture.h"
#include "engine/SharedChange.h"
#include "model/Devise.h"
#include "model/Taux.h"
#include "support/ChildProcess.h"
#include "support/ScopedEnv.h"
#include "support/ScopedNumericLocale.h"
#include "support/WindowDriving.h"
#include "windows/FrmAskRate.h"
#include "windows/QtMessageBoxes.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <filesystem>
#include <functional>
#include <gmock/gmock.h>
#include <iostream>

namespace kvt {
namespace {

using test::child;
using windows::AskRateWindowPrompt;
using windows::FrmAskRate;
using windows::QtMessageBoxes;

// Set in the copy of this program that checks the display: it must start without a window
// application.
constexpr const char *kDisplayProbe = "TALVIO_TEST_DISPLAY_PROBE";

bool isDisplayProbe() {
    return std::getenv(kDisplayProbe) != nullptr;
}

class DialogTestApplication final : public testing::Environment {
public:
    void SetUp() override {
        if (!isDisplayProbe())
            test::WindowApplication().SetUp();
    }
};

[[maybe_unused]] const testing::Environment *const kApplication =
    testing::AddGlobalTestEnvironment(new DialogTestApplication);

// Acts on the modal windows as they come up, one step each, in order, and checks when it ends
// that every step ran. A modal window that the next step does not expect, or a step that
// fails, is recorded and the window sent away (a rate window with a usable rate, any other with
// Escape), so that a wrong expectation fails the test instead of waiting for a user.
class ModalScript {
public:
    struct Step {
        const char *className;
        std::function<void(QWidget &)> act;
    };

    explicit ModalScript(std::vector<Step> steps)
        : mSteps(std::move(steps)) {
        QObject::connect(&mTimer, &QTimer::timeout, [this] { poll(); });
        mTimer.start(5);
    }
    ~ModalScript() {
        EXPECT_EQ(mNext, mSteps.size()) << "steps that never found their window";
        EXPECT_EQ(mProblems, QStringList());
    }
    ModalScript(const ModalScript &) = delete;
    ModalScript &operator=(const ModalScript &) = delete;

private:
    void poll() {
        QWidget *modal = QApplication::activeModalWidget();
        if (mBusy || modal == nullptr || !modal->isVisible())
            return;
        mBusy = true;
        try {
            if (mNext == mSteps.size() || !modal->inherits(mSteps[mNext].className))
                throw std::runtime_error("unexpected window");
            mSteps[mNext++].act(*modal);
        } catch (const std::exception &problem) {
            mProblems << QStringLiteral("%1: %2").arg(modal->metaObject()->className(),
                                                      problem.what());
            sendAway(*modal);
        }
        mBusy = false;
    }
    static void sendAway(QWidget &modal) {
        if (auto *rate = modal.findChild<QLineEdit *>(QStringLiteral("txtRate"))) {
            rate->setText(QStringLiteral("1"));
            QTest::keyClick(rate, Qt::Key_Return);
        } else if (modal.isVisible()) {
            QTest::keyClick(&modal, Qt::Key_Escape);
        }
    }

    std::vector<Step> mSteps;
    std::size_t mNext = 0;
    bool mBusy = false;
    QStringList mProblems;
    QTimer mTimer;
};

QString labelText(QWidget &window, const char *name) {
    return child<QLabel>(window, name).text();
}

// What a screen reader reads for a widget.
QString accessibleName(QWidget &widget) {
    return QAccessible::queryAccessibleInterface(&widget)->text(QAccessible::Name);
}

// The widget that has the keyboard focus once the window has given it; null when it never does.
QWidget *focusedIn(QWidget &window) {
    const bool given = QTest::qWaitFor(
        [&] { return window.focusWidget() != nullptr && window.focusWidget()->hasFocus(); });
    return given ? QApplication::focusWidget() : nullptr;
}

// --- Message boxes and input box ------------------------------------------------------------

enum class Act { Enter, Escape, CloseBox, ClickOk };

void finish(QWidget &window, Act act) {
    if (act == Act::CloseBox)
        window.windowHandle()->close();
    else if (act == Act::ClickOk)
        QTest::mouseClick(&child<QPushButton>(window, "OKButton"), Qt::LeftButton);
    else
        QTest::keyClick(window.focusWidget() ? window.focusWidget() : &window,
                        act == Act::Enter ? Qt::Key_Return : Qt::Key_Escape);
}

TEST(QtMessageBoxesTest, eachButtonSetShowsItsButtonsAndAnswersEnterEscapeAndTheCloseBox) {
    using B = QMessageBox;
    const struct {
        BoxButtons buttons;
        BoxIcon icon;
        const char *title;
        QMessageBox::StandardButtons shown;
        QMessageBox::Icon qtIcon;
        const char *shownTitle;
        BoxAnswer onEnter;
        BoxAnswer onEscape; // and on the close box
    } rows[] = {
        {BoxButtons::Ok, BoxIcon::Information, "", B::Ok, B::Information, "Talvio", BoxAnswer::Ok,
         BoxAnswer::Ok},
        {BoxButtons::OkCancel, BoxIcon::None, "Rates", B::Ok | B::Cancel, B::NoIcon, "Rates",
         BoxAnswer::Ok, BoxAnswer::Cancel},
        {BoxButtons::YesNo, BoxIcon::Question, "", B::Yes | B::No, B::Question, "Talvio",
         BoxAnswer::Yes, BoxAnswer::No},
        {BoxButtons::YesNoCancel, BoxIcon::Critical, "", B::Yes | B::No | B::Cancel, B::Critical,
         "Talvio", BoxAnswer::Yes, BoxAnswer::Cancel},
    };
    QtMessageBoxes boxes;
    for (const auto &row : rows) {
        for (const Act act : {Act::Enter, Act::Escape, Act::CloseBox}) {
            SCOPED_TRACE(testing::Message() << row.shown.toInt() << " act " << int(act));
            ModalScript script({{"QMessageBox", [&](QWidget &window) {
                                     auto &box = *qobject_cast<QMessageBox *>(&window);
                                     EXPECT_EQ(box.standardButtons(), row.shown);
                                     EXPECT_EQ(box.icon(), row.qtIcon);
                                     EXPECT_EQ(box.windowTitle(), row.shownTitle);
                                     // Plain text: a quoted entry reads as typed.
                                     EXPECT_EQ(
                                         accessibleName(child<QLabel>(box, "qt_msgbox_label")),
                                         "<b>1,5</b> is no rate.\nSave the rates?");
                                     finish(window, act);
                                 }}});
            EXPECT_EQ(boxes.show({row.title, "<b>1,5</b> is no rate.\r\nSave the rates?", row.icon,
                                  row.buttons}),
                      act == Act::Enter ? row.onEnter : row.onEscape);
        }
    }
}

TEST(QtMessageBoxesTest, theInputBoxGivesTheTextTypedOrNothingWhenCancelled) {
    const struct {
        const char *title;
        const char *typed; // replacing the initial text "Rates"
        Act act;
        std::optional<std::string> expected;
    } rows[] = {
        {"Folder", "", Act::Enter, "Rates"},
        {"", "Taux 2", Act::Enter, "Taux 2"},
        {"", "Taux 2", Act::Escape, std::nullopt},
        {"", "", Act::CloseBox, std::nullopt},
    };
    QtMessageBoxes boxes;
    for (const auto &row : rows) {
        SCOPED_TRACE(testing::Message() << row.typed << " act " << int(row.act));
        ModalScript script({{"QInputDialog", [&](QWidget &window) {
                                 EXPECT_EQ(window.windowTitle(), *row.title ? row.title : "Talvio");
                                 EXPECT_EQ(window.findChild<QLabel *>()->text(),
                                           "Name\nof the set");
                                 EXPECT_EQ(test::unnamedControls(window), QStringList());
                                 auto *field = window.findChild<QLineEdit *>();
                                 EXPECT_EQ(focusedIn(window), field);
                                 if (*row.typed) {
                                     QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
                                     QTest::keyClicks(field, row.typed);
                                 }
                                 finish(window, row.act);
                             }}});
        EXPECT_EQ(boxes.input({"Name\r\nof the set", row.title, "Rates"}), row.expected);
    }
}

// --- The rate question -----------------------------------------------------------------------

TEST(FrmAskRateTest, okEnterEscapeAndTheCloseBoxAllHideTheWindowAndGiveTheText) {
    const RateQuestion question{"A rate is missing.", "USD", "JPY", "1", "Talvio"};
    const struct {
        const char *typed;
        Act act;
    } rows[] = {{"7", Act::ClickOk}, {"8", Act::Enter}, {"9", Act::Escape}, {"abc", Act::CloseBox}};
    AskRateWindowPrompt prompt;
    FrmAskRate *first = nullptr;
    for (const auto &row : rows) {
        SCOPED_TRACE(row.typed);
        ModalScript script({{"kvt::windows::FrmAskRate", [&](QWidget &window) {
                                 EXPECT_TRUE(windows::askRateVisible());
                                 auto &rate = child<QLineEdit>(window, "txtRate");
                                 EXPECT_EQ(focusedIn(window), &rate);
                                 EXPECT_EQ(rate.selectedText(), "1");
                                 QTest::keyClicks(&rate, row.typed);
                                 // A second question while this one is open cannot be asked.
                                 EXPECT_EQ(prompt.ask(question), std::nullopt);
                                 finish(window, row.act);
                             }}});
        EXPECT_EQ(prompt.ask(question), row.typed);
        EXPECT_FALSE(windows::askRateVisible());
        // One window, kept hidden between questions.
        first = first ? first : windows::askRateWindow();
        EXPECT_EQ(windows::askRateWindow(), first);
    }
}

// The rate question and the message boxes in windows, under a facade started on the shipped
// message file.
class AskRateThroughEngine : public test::FacadeFixture {
protected:
    void SetUp() override {
        FacadeFixture::SetUp();
        setMessageBoxes(std::make_shared<QtMessageBoxes>());
        setRatePrompt(std::make_shared<AskRateWindowPrompt>());
    }
    void TearDown() override {
        setRatePrompt(nullptr);
        FacadeFixture::TearDown();
    }
    static Taux &rate(const char *from, const char *to) {
        return *sharedChange()->ColDevises()->Item(from)->ColTaux()->Item(to);
    }
};

// The question as the engine first shows it: its texts, names and keyboard order.
void checkFirstShowing(QWidget &window, const char *explanation) {
    EXPECT_EQ(window.windowTitle(), "Talvio");
    EXPECT_EQ(labelText(window, "lblMsg"), explanation);
    EXPECT_EQ(labelText(window, "lblDevisefrom"), "1 USD =");
    EXPECT_EQ(labelText(window, "lblDeviseTo"), "JPY");
    auto &rate = child<QLineEdit>(window, "txtRate");
    auto &ok = child<QPushButton>(window, "OKButton");
    EXPECT_EQ(test::unnamedControls(window), QStringList());
    EXPECT_EQ(accessibleName(rate), "1 USD =");
    EXPECT_EQ(accessibleName(ok), "OK");
    EXPECT_EQ(focusedIn(window), &rate);
    QTest::keyClick(&rate, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &ok);
    QTest::keyClick(&ok, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), &rate);
}

TEST_F(AskRateThroughEngine, zeroBringsMessage552AndTheQuestionAgainUntilARateIsTyped) {
    const struct {
        const char *language;
        bool germanNumbers;
        const char *typed;
        const char *explanation;
        const char *refusal;
    } rows[] = {
        {"3", false, "2.5",
         "Aucun taux de change n'est connu pour cette paire de devises.\nSaisissez la valeur "
         "d'une unité de la première devise dans la seconde.",
         "Le taux ne peut pas être égal à 0. Veuillez saisir une autre valeur."},
        {"0", true, "2,5",
         "Für dieses Währungspaar ist kein Wechselkurs bekannt.\nGeben Sie den Wert einer Einheit "
         "der ersten Währung in der zweiten Währung ein.",
         "Der Kurs darf nicht 0 sein. Bitte geben Sie einen anderen Wert ein."},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.language);
        const test::ScopedNumericLocale locale =
            row.germanNumbers ? test::germanLocale() : test::cLocale();
        if (!locale.ok())
            GTEST_SKIP() << "no German locale"; // the last row
        store("UserChoice", "Language", row.language);
        auto main = startedFacade();
        ModalScript script({
            {"kvt::windows::FrmAskRate",
             [&](QWidget &window) {
                 checkFirstShowing(window, row.explanation);
                 QTest::keyClicks(&child<QLineEdit>(window, "txtRate"), "0");
                 finish(window, Act::ClickOk);
             }},
            {"QMessageBox",
             [&](QWidget &window) {
                 EXPECT_EQ(qobject_cast<QMessageBox *>(&window)->text(), row.refusal);
                 finish(window, Act::Enter);
             }},
            {"kvt::windows::FrmAskRate",
             [&](QWidget &window) {
                 auto &rate = child<QLineEdit>(window, "txtRate");
                 EXPECT_EQ(rate.selectedText(), "0");
                 QTest::keyClicks(&rate, row.typed);
                 finish(window, Act::Enter);
             }},
        });
        EXPECT_EQ(main->TauxDeChangeConvert("USD", "JPY"), 2.5);
        EXPECT_EQ(rate("USD", "JPY").Change, 2.5);
        EXPECT_TRUE(rate("USD", "JPY").Exist);
        // The next language starts from a fresh library, on the same settings.
        main.reset();
        TearDown();
        SetUp();
    }
}

TEST_F(AskRateThroughEngine, aTextThatIsNotANumberEndsInTheRateErrorReportedInABox) {
    store("UserChoice", "Language", "1");
    auto main = startedFacade();
    ModalScript script({
        {"kvt::windows::FrmAskRate",
         [](QWidget &window) {
             QTest::keyClicks(&child<QLineEdit>(window, "txtRate"), "abc");
             finish(window, Act::Enter);
         }},
        {"QMessageBox",
         [](QWidget &window) {
             EXPECT_EQ(qobject_cast<QMessageBox *>(&window)->text(),
                       "Error (TauxDeChangeConvert): Conversion rate is 0 or does not exist.\n"
                       "The conversion rate between USD and JPY is 0.\n"
                       "Please, provide a non zero conversion rate for them in the control panel.");
             finish(window, Act::Enter);
         }},
    });
    EXPECT_EQ(main->TauxDeChangeConvert("USD", "JPY"), 0.0);
    EXPECT_FALSE(rate("USD", "JPY").Exist);
}

// --- Without a display ----------------------------------------------------------------------

// In the probe copy: what a host without a display meets, on one line. Qt must never be
// reached (it would abort the process): the boxes answer as nobody can, the rate question
// cannot ask, and asking for the application says why.
void probeWithoutDisplay() {
    QtMessageBoxes boxes;
    std::cout << "probe: "
              << answerName(boxes.show({"", "Replace?", BoxIcon::Question, BoxButtons::YesNo}))
              << (boxes.input({"Name", "", "x"}) ? " text" : " cancelled")
              << (AskRateWindowPrompt().ask({"", "USD", "JPY", "1", ""}) ? " asked" : " unasked");
    try {
        windows::ensureApplication();
    } catch (const Error &failure) {
        std::cout << (failure.number() == err::Windows ? " Windows error: " : " other error: ")
                  << failure.what();
    }
    std::cout << (QCoreApplication::instance() ? " [application made]" : "") << std::endl;
}

TEST(DisplayCheck, windowsWithoutADisplayFailWithAClearErrorInsteadOfAborting) {
    if (isDisplayProbe())
        return probeWithoutDisplay();
    const struct {
        std::optional<std::string> platform;
        std::optional<std::string> display;
        const char *reason;
    } rows[] = {
        {std::nullopt, std::nullopt, "neither DISPLAY nor WAYLAND_DISPLAY is set. "},
        {"xcb", ":99", "the xcb server named by the environment does not answer. "},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.reason);
        const test::ScopedEnv probe(kDisplayProbe, "1");
        const test::ScopedEnv platform("QT_QPA_PLATFORM", row.platform);
        const test::ScopedEnv display("DISPLAY", row.display);
        const test::ScopedEnv wayland("WAYLAND_DISPLAY", std::nullopt);
        test::ChildProcess copy(std::filesystem::read_symlink("/proc/self/exe"),
                                {"--gtest_filter=DisplayCheck.*"});
        const std::optional<std::string> line = copy.waitForLineStarting("probe: ");
        EXPECT_THAT(line, testing::Optional(testing::StartsWith(
                              "probe: No cancelled unasked Windows error: No display: ")));
        EXPECT_THAT(line, testing::Optional(testing::EndsWith(
                              std::string(row.reason)
                              + "Talvio's windows need a graphical session: "
                                "run it from the desktop (DISPLAY or WAYLAND_DISPLAY set), under "
                                "xvfb-run, or with QT_QPA_PLATFORM=offscreen to draw without a "
                                "screen.")));
        EXPECT_EQ(copy.wait(), 0);
    }
}

} // namespace
} // namespace kvt
