#include "ManagerService.h"

#include "AddInMgrObject.h"
#include "EventRaiserObject.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>
#include <vector>

namespace addinmgr {

namespace {

constexpr auto kSinkInterface = "org.talvio.EventSink";

std::string text(const QString &value) {
    return value.toStdString();
}

// How a subscriber failed to answer an event.
enum class Failure {
    None,           // it answered, or failed for a reason of its own
    SinkGone,       // its object is not there any more
    ConnectionGone, // its connection left, or did not answer in time: none of its sinks will
};

Failure failureOf(const QDBusError &error) {
    switch (error.type()) {
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
    case QDBusError::ServiceUnknown:
    case QDBusError::Disconnected:
        return Failure::ConnectionGone;
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
        return Failure::SinkGone;
    default:
        return Failure::None;
    }
}

} // namespace

ManagerService::ManagerService(const QDBusConnection &bus, QObject *parent)
    : QObject(parent)
    , mBus(bus)
    , mWatcher(QString(), bus, QDBusServiceWatcher::WatchForUnregistration)
    , mAddInMgr(new AddInMgrObject(*this))
    , mEventRaiser(new EventRaiserObject(*this)) {
    mAddInMgr->setParent(this);
    mEventRaiser->setParent(this);
    connect(&mWatcher, &QDBusServiceWatcher::serviceUnregistered, this,
            &ManagerService::connectionLeft);
}

ManagerService::~ManagerService() = default;

bool ManagerService::start(QString *error) {
    // The bus going away ends the program: no client could reach it any more.
    mBus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                 QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), this,
                 SLOT(quitOnDisconnect()));
    if (!mBus.registerVirtualObject(QString::fromLatin1(kAddInMgrPath), mAddInMgr)
        || !mBus.registerObject(QString::fromLatin1(kEventRaiserPath), mEventRaiser,
                                QDBusConnection::ExportAdaptors)) {
        *error = QStringLiteral("cannot export the manager's objects");
        return false;
    }
    if (!mBus.registerService(QString::fromLatin1(kBusName))) {
        const QString reason = mBus.lastError().isValid() ? mBus.lastError().message()
                                                          : QStringLiteral("it is already owned");
        *error = QStringLiteral("cannot take the bus name %1: %2")
                     .arg(QString::fromLatin1(kBusName), reason);
        return false;
    }
    QTimer::singleShot(kUnclaimedStartMs, this, &ManagerService::endIfUnheld);
    return true;
}

void ManagerService::quitOnDisconnect() {
    mEnding = true;
    QCoreApplication::quit();
}

void ManagerService::noteCall(const QString &caller) {
    mClients.noteCall(text(caller));
    syncWatch(caller);
}

void ManagerService::release(const QString &caller) {
    mClients.release(text(caller));
    syncWatch(caller);
    scheduleEndCheck();
}

void ManagerService::setCommonDataEditor(const QString &editor, const QString &caller) {
    const std::string formerOwner = mClients.editor.owner();
    mClients.editor.setCommonDataEditor(text(editor), text(caller));
    syncWatch(QString::fromStdString(formerOwner));
    syncWatch(caller);
}

bool ManagerService::claimCommonDataEditor(const QString &name, const QString &caller) {
    const std::string formerOwner = mClients.editor.owner();
    const bool claimed = mClients.editor.ClaimCommonDataEditor(text(name), text(caller));
    syncWatch(QString::fromStdString(formerOwner));
    syncWatch(caller);
    return claimed;
}

void ManagerService::subscribe(const QString &caller, const QString &path) {
    mClients.subscribers.subscribe(text(caller), text(path));
    syncWatch(caller);
}

void ManagerService::unsubscribe(const QString &caller, const QString &path) {
    mClients.unsubscribe(text(caller), text(path));
    syncWatch(caller);
    advanceRaises();
}

void ManagerService::raise(EventId event, const std::optional<QDBusMessage> &call) {
    const RaiseId id = ++mLastRaise;
    const auto admission =
        mClients.raises.admit(id, event, call ? text(call->service()) : std::string());
    if (admission == RaiseSchedule::Admission::TooDeep) {
        // Only a client's raise nests.
        mBus.send(call->createErrorReply(
            QString::fromLatin1(kLimitExceededError),
            QStringLiteral("A raise from inside an event handler nests at most %1 deep in the "
                           "delivery of other raises")
                .arg(RaiseSchedule::kDeepestNesting)));
        return;
    }
    if (call)
        mRaiseCalls.emplace(id, *call);
    if (admission == RaiseSchedule::Admission::Now)
        beginRaise(id);
    advanceRaises();
}

void ManagerService::beginRaise(RaiseId id) {
    // The subscribers of the moment the raise begins.
    mClients.raises.begin(id, mClients.subscribers.all());
}

void ManagerService::sendEvent(const Delivery &delivery) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromStdString(delivery.to.connection), QString::fromStdString(delivery.to.path),
        QString::fromLatin1(kSinkInterface), QStringLiteral("Event"));
    call << static_cast<int>(delivery.event);
    auto *answer = new QDBusPendingCallWatcher(mBus.asyncCall(call, kSinkAnswerTimeoutMs), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this,
            [this, delivery](QDBusPendingCallWatcher *finished) {
                finished->deleteLater();
                const Failure failure =
                    finished->isError() ? failureOf(finished->error()) : Failure::None;
                if (failure == Failure::ConnectionGone)
                    mClients.dropConnection(delivery.to.connection);
                else if (failure == Failure::SinkGone)
                    mClients.drop(delivery.to.id);
                else
                    mClients.raises.answered(delivery);
                if (failure != Failure::None)
                    syncWatch(QString::fromStdString(delivery.to.connection));
                advanceRaises();
            });
    // Does nothing when the answer came first.
    QTimer::singleShot(kSinkLateMs, answer, [this, delivery] {
        mClients.raises.late(delivery);
        advanceRaises();
    });
}

void ManagerService::advanceRaises() {
    for (;;) {
        for (RaiseId ended : mClients.raises.takeEnded()) {
            const auto call = mRaiseCalls.find(ended);
            if (call == mRaiseCalls.end())
                continue;
            mBus.send(call->second.createReply());
            mRaiseCalls.erase(call);
        }
        const std::optional<RaiseId> next = mClients.raises.takeNext();
        if (!next)
            break;
        beginRaise(*next);
    }
    for (const Delivery &delivery : mClients.raises.takeSendable())
        sendEvent(delivery);
    if (mClients.raises.idle())
        scheduleEndCheck();
}

void ManagerService::connectionLeft(const QString &connection) {
    const bool editorFreed = mClients.connectionLeft(text(connection));
    mRegistry.connectionLeft(text(connection));
    mWatcher.removeWatchedService(connection);
    if (editorFreed)
        raise(EventId::xevtCommonDataEditAllowed, std::nullopt);
    advanceRaises();
}

void ManagerService::syncWatch(const QString &connection) {
    if (connection.isEmpty())
        return;
    const bool watched = mWatcher.watchedServices().contains(connection);
    // A connection's names are freed when it leaves, even after it let the program go.
    const bool needed =
        mClients.mustWatch(text(connection)) || mRegistry.registeredBy(text(connection));
    if (needed && !watched) {
        mWatcher.addWatchedService(connection);
        // The connection may have left before the watch took effect; the bus answers this
        // after installing the watch, so between the two nothing can be missed.
        checkNameStillOwned(connection);
    } else if (!needed && watched) {
        mWatcher.removeWatchedService(connection);
    }
}

void ManagerService::checkNameStillOwned(const QString &connection) {
    auto *pending = new QDBusPendingCallWatcher(
        mBus.interface()->asyncCall(QStringLiteral("NameHasOwner"), connection), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [this, connection](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                const QDBusPendingReply<bool> owned = *call;
                if (owned.isValid() && !owned.value())
                    connectionLeft(connection);
            });
}

void ManagerService::scheduleEndCheck() {
    // Queued, so that the reply to the call that let go is sent first.
    QTimer::singleShot(0, this, &ManagerService::endIfUnheld);
}

void ManagerService::endIfUnheld() {
    if (mEnding || !mClients.raises.idle() || mClients.isHeld())
        return;
    mEnding = true;
    // Releasing the name first lets the bus start a new program for the next client. The
    // release is a blocking round trip, so every reply sent before it has left too.
    mBus.unregisterService(QString::fromLatin1(kBusName));
    // Calls that reached this program before the release are still answered; when one of
    // them holds it again and the name is still free, the program goes on.
    QCoreApplication::processEvents();
    if (mClients.isHeld() && mBus.registerService(QString::fromLatin1(kBusName))) {
        mEnding = false;
        return;
    }
    QCoreApplication::quit();
}

} // namespace addinmgr
