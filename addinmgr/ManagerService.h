#pragma once

#include "AddInRegistry.h"
#include "ClientState.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <unordered_map>

namespace addinmgr {

inline constexpr auto kBusName = "org.talvio.TlvAddInMgr";
inline constexpr auto kAddInMgrPath = "/AddInMgr";
inline constexpr auto kEventRaiserPath = "/EventRaiser";

// How long a raise waits for a subscriber's answer before going on without it; the subscriber
// is then late (see RaiseSchedule). Every connection is called at once, so this is also the
// most that stuck subscribers delay a raise.
inline constexpr int kSinkLateMs = 500;
// How long a subscriber may leave an event unanswered before its connection's subscriptions
// are dropped.
inline constexpr int kSinkAnswerTimeoutMs = 3000;
// The error that states which bound a call went past.
inline constexpr auto kLimitExceededError = "org.talvio.Error.LimitExceeded";
// A program started by hand, or whose activating client vanished at once, ends after this
// long without any client.
inline constexpr int kUnclaimedStartMs = 10'000;

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
    // Raises event for the client whose call this is, or for the manager itself (no call): in
    // its turn, calls the current subscribers without waiting (see RaiseSchedule), and answers
    // the call once each has answered, is late or gone.
    void raise(EventId event, const std::optional<QDBusMessage> &call);

private slots:
    void quitOnDisconnect();

private:
    void connectionLeft(const QString &connection);
    void checkNameStillOwned(const QString &connection);
    void syncWatch(const QString &connection);
    void scheduleEndCheck();
    void endIfUnheld();
    void beginRaise(RaiseId id);
    void sendEvent(const Delivery &delivery);
    // Answers the raises that ended and begins those whose turn has come.
    void advanceRaises();

    QDBusConnection mBus;
    AddInRegistry mRegistry;
    ClientState mClients;
    QDBusServiceWatcher mWatcher;
    AddInMgrObject *mAddInMgr;
    EventRaiserObject *mEventRaiser;
    std::unordered_map<RaiseId, QDBusMessage> mRaiseCalls; // to answer when the raise ends
    RaiseId mLastRaise = 0;
    bool mEnding = false;
};

} // namespace addinmgr
