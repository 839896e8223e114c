#pragma once

#include "AddInRegistry.h"
#include "ClientState.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QVariantList>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
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
//
// Once started, it runs on the thread where QtDBus reads and writes the connection, so that a
// call is answered there without being handed to the main thread and back. Nothing on that
// thread may wait for the bus (QtDBus would wait for itself): it only sends and is answered
// later. The main thread waits for the program's end and destroys the service afterwards.
class ManagerService : public QObject {
    Q_OBJECT
public:
    explicit ManagerService(const QDBusConnection &bus);
    ~ManagerService() override;

    // Subscribes to what the program watches, exports the objects, takes the bus name and moves
    // to the connection's thread; false with the reason when it cannot. Called on the main
    // thread, which waits for the bus.
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
    void nameOwnerChanged(const QString &name, const QString &oldOwner, const QString &newOwner);

private:
    void serveOnConnectionThread();
    // Calls the bus daemon without waiting; then runs with its answer, on this thread.
    void callBus(const QString &method, const QVariantList &arguments,
                 std::function<void(const QDBusMessage &answer)> then);
    // From a connection's first call on, its departure from the bus is handled.
    void noticeConnection(const QString &connection);
    void departed(const QString &connection);
    void connectionLeft(const QString &connection);
    void scheduleEndCheck();
    void endIfUnheld();
    void goOnIfHeld();
    // Hands the service back to the main thread and ends the program.
    void finish();
    void beginRaise(RaiseId id);
    void sendEvent(const Delivery &delivery);
    // Answers the raises that ended and begins those whose turn has come.
    void advanceRaises();

    QDBusConnection mBus;
    AddInRegistry mRegistry;
    ClientState mClients;
    // The connections that called and have not left the bus, whose departure is handled.
    std::set<std::string, std::less<>> mPresent;
    AddInMgrObject *mAddInMgr;
    EventRaiserObject *mEventRaiser;
    std::unordered_map<RaiseId, QDBusMessage> mRaiseCalls; // to answer when the raise ends
    RaiseId mLastRaise = 0;
    bool mEnding = false;
};

} // namespace addinmgr
