#pragma once

#include "AddInMgrProxy.h"
#include "EventRaiserProxy.h"
#include "EventSinkObject.h"

#include <QDBusConnection>
#include <QDBusPendingCall>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

namespace addinmgr::test {

inline const QString kService = QStringLiteral("org.talvio.TlvAddInMgr");

// Spins the event loop until condition holds or timeoutMs passed; returns the condition.
bool waitFor(const std::function<bool()> &condition, int timeoutMs);

// Whether the manager currently owns its bus name.
bool managerRunning();
// Waits for the manager to leave the bus; true when it did within timeoutMs.
bool waitForManagerGone(int timeoutMs);

// One client connection of this process, with proxies of the manager's two objects and,
// once subscribed, a sink that records the events it receives.
class Client {
public:
    explicit Client(const QString &name);
    ~Client();

    AddInMgrProxy &manager() { return *mManager; }
    // Calls a method of the manager or the raiser, serving incoming calls while it waits.
    QDBusMessage call(const QString &method, const QVariantList &arguments = {});
    QDBusMessage raise(int eventId);
    // The same calls without waiting for their answers.
    QDBusPendingCall callAsync(const QString &method, const QVariantList &arguments = {});
    QDBusPendingCall raiseAsync(int eventId);
    // How long a call waits for its answer.
    void setTimeout(int timeoutMs);
    // Exports a sink at path on this connection and subscribes it; events go to onEvent
    // as well as to events().
    void subscribe(const QString &path, std::function<void(int)> onEvent = {});
    const std::vector<int> &events() const { return mEvents; }
    void disconnect();
    QDBusConnection &bus() { return mBus; }

private:
    QString mName;
    QDBusConnection mBus;
    std::unique_ptr<AddInMgrProxy> mManager;
    std::unique_ptr<EventRaiserProxy> mRaiser;
    std::vector<std::unique_ptr<EventSinkObject>> mSinks;
    std::vector<int> mEvents;
};

// talvio-test-sink in a child process; killed when destroyed.
class SinkProcess {
public:
    explicit SinkProcess(const QStringList &arguments);
    ~SinkProcess();

    // Waits for a line equal to text; true when it came within timeoutMs.
    bool waitForLine(const QString &text, int timeoutMs);
    QStringList lines();
    // The ids of the "event <id>" lines so far.
    std::vector<int> events();
    void kill();
    QProcess &process() { return mProcess; }

private:
    void readLines();

    QProcess mProcess;
    QStringList mLines;
    QString mPartial;
};

} // namespace addinmgr::test
