#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>
#include <string>

namespace kvt::test {

// Whether the window system shows the widget's window now, not only that it was asked to.
inline bool onScreen(const QWidget &widget) {
    return widget.isVisible() && widget.windowHandle() && widget.windowHandle()->isExposed();
}

// The window the user sees now: the active modal one, else a top-level window on screen.
inline QWidget *shownWindow() {
    if (QWidget *modal = QApplication::activeModalWidget())
        return onScreen(*modal) ? modal : nullptr;
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (onScreen(*widget) && !qobject_cast<QMenu *>(widget))
            return widget;
    }
    return nullptr;
}

// Runs open, which shows a window (modal ones return only when closed), and calls whenShown
// with the window as soon as the event loop shows it; then closes it as its close box does.
// Returns the milliseconds from the call of open to the window being there, or -1 when no
// window came within timeoutMs.
inline double actWhenShown(const std::function<void()> &open,
                           const std::function<void(QWidget &)> &whenShown,
                           int timeoutMs = 20'000) {
    QElapsedTimer clock;
    double shownAfter = -1;
    bool done = false;
    QTimer poll;
    poll.setInterval(0);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget *window = shownWindow();
        if (!window) {
            if (clock.elapsed() > timeoutMs) {
                poll.stop();
                done = true;
            }
            return;
        }
        shownAfter = static_cast<double>(clock.nsecsElapsed()) / 1e6;
        poll.stop();
        whenShown(*window);
        window->close();
        done = true;
    });
    clock.start();
    poll.start();
    open();
    // A window shown without waiting: serve the loop until it came and went.
    while (!done)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return shownAfter;
}

// The control of the window with that objectName; a missing one fails the test where it is met.
template<class Control = QWidget>
Control &child(const QWidget &window, const char *name) {
    auto *found = window.findChild<Control *>(QString::fromLatin1(name));
    if (!found)
        throw std::runtime_error(std::string("no control ") + name);
    return *found;
}

// Acts on the modal window, active, once it shows, while the code under test waits in it: make
// it just before the call that shows the window. A window the action leaves open is closed, so
// that a failing test cannot hang.
class WhenModal {
public:
    explicit WhenModal(std::function<void(QWidget &)> act)
        : mAct(std::move(act)) {
        QObject::connect(&mPoll, &QTimer::timeout, [this] {
            const QPointer<QWidget> modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            mPoll.stop();
            mActed = true;
            EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
            try {
                mAct(*modal);
            } catch (const std::exception &problem) {
                ADD_FAILURE() << problem.what();
            }
            if (modal && modal->isVisible()) {
                ADD_FAILURE() << "the window stayed open";
                modal->hide();
            }
        });
        mPoll.start(5);
    }
    WhenModal(const WhenModal &) = delete;
    WhenModal &operator=(const WhenModal &) = delete;
    bool acted() const { return mActed; }

private:
    std::function<void(QWidget &)> mAct;
    QTimer mPoll;
    bool mActed = false;
};

} // namespace kvt::test
