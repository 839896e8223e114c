#pragma once

#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusPendingCallWatcher>
#include <QEventLoop>
#include <QTimer>

namespace kvt::ipc {

// Waits for the answer to a call while the thread keeps serving its events, so that calls
// coming in meanwhile (an event for this very process, a subscriber calling back) are
// answered. Qt's own blocking mode that does this was seen to stay asleep now and then after
// its answer had come, until some other event woke it; here a short tick looks again, so an
// answer is never missed for longer than that. The call's own timeout still bounds the wait.
// Header-only: the add-in manager program uses it too, without linking the library.
inline QDBusMessage waitServing(QDBusPendingCall pending) {
    constexpr int kLookAgainMs = 20;
    if (!pending.isFinished()) {
        QEventLoop loop;
        QDBusPendingCallWatcher watcher(pending);
        QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
        QTimer lookAgain;
        lookAgain.setInterval(kLookAgainMs);
        QObject::connect(&lookAgain, &QTimer::timeout, &loop, [&] {
            if (pending.isFinished())
                loop.quit();
        });
        lookAgain.start();
        if (!pending.isFinished())
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return pending.reply();
}

} // namespace kvt::ipc
