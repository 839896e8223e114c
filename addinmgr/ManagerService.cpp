#include "ManagerService.h"

#include "AddInMgrObject.h"
#include "EventRaiserObject.h"
#include "EventSinkProxy.h"
#include "ipc/ServedWait.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>
#include <vector>

namespace addinmgr {

namespace {

std::string text(const QString &value) {
    return value.toStdString();
}

// An answer that shows the subscriber can never be reached again, or did not answer in time.
bool isGone(const QDBusError &error) {
    switch (error.type()) {
    case QDBusError::NoReply:
    case QDBusError::Timeout:
    case QDBusError::TimedOut:
    case QDBusError::ServiceUnknown:
    case QDBusError::Disconnected:
    case QDBusError::UnknownObject:
    case QDBusError::UnknownInterface:
    case QDBusError::UnknownMethod:
        return true;
    default:
        return false;
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
    mClients.subscribers.unsubscribe(text(caller), text(path));
    syncWatch(caller);
    scheduleEndCheck();
}

void ManagerService::raise(EventId event) {
    ++mRaiseDepth;
    // The subscribers of the moment of the raise; one that leaves meanwhile is skipped.
    const std::vector<Subscriber> targets = mClients.subscribers.all();
    for (const Subscriber &target : targets) {
        if (!mClients.subscribers.contains(target.id))
            continue;
        if (!deliver(target, event)) {
            mClients.subscribers.drop(target.id);
            syncWatch(QString::fromStdString(target.connection));
        }
    }
    --mRaiseDepth;
    scheduleEndCheck();
}

bool ManagerService::deliver(const Subscriber &subscriber, EventId event) {
    EventSinkProxy sink(QString::fromStdString(subscriber.connection),
                        QString::fromStdString(subscriber.path), mBus);
    sink.setTimeout(kSinkAnswerTimeoutMs);
    // Blocking, yet serving incoming calls: the subscriber may call back while it handles it.
    const QDBusMessage reply =
        kvt::ipc::waitServing(sink.asyncCall(QStringLiteral("Event"), static_cast<int>(event)));
    return reply.type() != QDBusMessage::ErrorMessage || !isGone(QDBusError(reply));
}

void ManagerService::connectionLeft(const QString &connection) {
    const bool editorFreed = mClients.connectionLeft(text(connection));
    mWatcher.removeWatchedService(connection);
    if (editorFreed)
        raise(EventId::xevtCommonDataEditAllowed);
    scheduleEndCheck();
}

void ManagerService::syncWatch(const QString &connection) {
    if (connection.isEmpty())
        return;
    const bool watched = mWatcher.watchedServices().contains(connection);
    const bool needed = mClients.mustWatch(text(connection));
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
    if (mEnding || mRaiseDepth > 0 || mClients.isHeld())
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
