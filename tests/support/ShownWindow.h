#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>

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

} // namespace kvt::test
