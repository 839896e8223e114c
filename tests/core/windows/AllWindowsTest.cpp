// What holds for every window of the library, walked as a screen reader and a keyboard user
// meet it: each opened as a host opens it, through the facade.
#include "Accessibility.h"
#include "FacadeFixture.h"
#include "WindowTesting.h"
#include "support/LibraryWindows.h"
#include "support/ShownWindow.h"

#include <QTest>

namespace kvt::test {
namespace {

testing::Environment *const application = testing::AddGlobalTestEnvironment(new WindowApplication);

// The controls that take the focus by Tab, in the window.
QList<QWidget *> tabStops(QWidget &window) {
    QList<QWidget *> stops;
    for (QWidget *widget : window.findChildren<QWidget *>()) {
        if (widget->isVisibleTo(&window) && widget->isEnabled()
            && (widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy())
            stops << widget;
    }
    return stops;
}

// Those of the window's Tab stops that pressing Tab from the focused control never reaches.
QStringList notReachedByTab(QWidget &window) {
    const QList<QWidget *> stops = tabStops(window);
    QSet<QWidget *> reached;
    for (int press = 0; press <= 2 * stops.size(); ++press) {
        if (QWidget *focused = QApplication::focusWidget())
            reached.insert(focused);
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window,
                        Qt::Key_Tab);
    }
    QStringList missed;
    for (QWidget *stop : stops) {
        if (!reached.contains(stop))
            missed << QStringLiteral("%1 %2").arg(stop->metaObject()->className(),
                                                  stop->objectName());
    }
    return missed;
}

using LibraryWindows = FacadeFixture;

TEST_F(LibraryWindows, everyControlHasANameAndEveryTabStopIsReachedWithTab) {
    const std::unique_ptr<KVTMain> main = startedFacade();
    for (const WindowShot &shot : libraryWindows()) {
        SCOPED_TRACE(shot.name);
        QStringList unnamed, missed;
        const double shownAfter = actWhenShown([&] { shot.open(*main); },
                                               [&](QWidget &window) {
                                                   QApplication::setActiveWindow(&window);
                                                   unnamed = unnamedControls(window);
                                                   missed = notReachedByTab(window);
                                               });
        EXPECT_GE(shownAfter, 0.0) << "the window did not show";
        EXPECT_EQ(unnamed.join(", ").toStdString(), "");
        EXPECT_EQ(missed.join(", ").toStdString(), "");
    }
}

// A window of the host that shows or not as the test says.
struct HostWindowStub final : HostWindow {
    bool shown = false;
    bool Visible() const override { return shown; }
};

TEST_F(LibraryWindows, noWindowsVisibleCountsTheHostsWindowsAndTheLibrarysOwn) {
    const std::unique_ptr<KVTMain> main = startedFacade();
    auto hostWindow = std::make_shared<HostWindowStub>();
    main->ColVBAWindows()->push_back(hostWindow);
    EXPECT_TRUE(main->NoWindowsVisible());
    hostWindow->shown = true;
    EXPECT_FALSE(main->NoWindowsVisible());
    hostWindow->shown = false;
    // The pickers and the common dialogs are the host's questions, not windows of the library.
    const QSet<QString> counted = {"wizard",        "welcome", "about",
                                   "rate-question", "panel",   "panel-currency"};
    for (const WindowShot &shot : libraryWindows()) {
        SCOPED_TRACE(shot.name);
        bool noneWhileShown = true;
        actWhenShown([&] { shot.open(*main); },
                     [&](QWidget &) { noneWhileShown = main->NoWindowsVisible(); });
        EXPECT_EQ(noneWhileShown, !counted.contains(QLatin1String(shot.name)));
        EXPECT_TRUE(main->NoWindowsVisible());
    }
}

} // namespace
} // namespace kvt::test
