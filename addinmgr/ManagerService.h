#pragma once

#include "AddInRegistry.h"
#include "ClientState.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>
#include <cstdint>

namespace addinmgr {

inline constexpr auto kBusName = "org.talvio.TlvAddInMgr";
inline constexpr auto kAddInMgrPath = "/AddInMgr";
inline constexpr auto kEventRaiserPath = "/EventRaiser";

// How long a raise waits for one subscriber's answer before dropping it and going on.
inline constexpr int kSinkAnswerTimeoutMs = 3000;
// A program started by hand, or whose activating client vanished at once, ends after this
// long without any client.
inline constexpr int kUnclaimedStartMs = 10'000;

// Event identifiers, as the subscribers' Event(i) receives them.
enum class EventId : std::int32_t {
    xevtCommonDataEditRunning = 1,
    xevtUpdateCommonData = 2,
    xevtCommonDataEditAllowed = 3,
};

class AddInMgrObject;
class EventRaiserObject;

// The program's one state and its bus: serves /AddInMgr and /EventRaiser, watches the
// clients' connections and ends the program when nobody holds it any more.
class ManagerService : public QObject {
    Q_OBJECT
public:
    explicit ManagerService(const QDBusConnection &bus, QObject *parent = nullptr);
    ~ManagerService() override;

    // Exports the objects and takes the bus name; false with the reason when it cannot.
    bool start(QString *error);

    const QDBusConnection &bus() const { return mBus; }
    AddInRegistry &registry() { return mRegistry; }
    const ClientState &clients() const { return mClients; }

    // Every call of a client except Release and Unsubscribe holds the program for it.
    void noteCall(const QString &caller);
    void release(const QString &caller);
    void setCommonDataEditor(const QString &editor, const QString &caller);
    bool claimCommonDataEditor(const QString &name, const QString &caller);
    void subscribe(const QString &caller, const QString &path);
    void unsubscribe(const QString &caller, const QString &path);
    // Calls every current subscriber in subscription order, each call completing (or timing
    // out) before the next, while still serving incoming calls.
    void raise(EventId event);

private slots:
    void quitOnDisconnect();

private:
    void connectionLeft(const QString &connection);
    void checkNameStillOwned(const QString &connection);
    void syncWatch(const QString &connection);
    void scheduleEndCheck();
    void endIfUnheld();
    bool deliver(const Subscriber &subscriber, EventId event);

    QDBusConnection mBus;
    AddInRegistry mRegistry;
    ClientState mClients;
    QDBusServiceWatcher mWatcher;
    AddInMgrObject *mAddInMgr;
    EventRaiserObject *mEventRaiser;
    int mRaiseDepth = 0;
    bool mEnding = false;
};

} // namespace addinmgr
