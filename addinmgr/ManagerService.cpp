#include "ManagerService.h"

#include "AddInMgrObject.h"
#include "EventRaiserObject.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QTimer>
#include <utility>
#include <vector>

namespace addinmgr {

namespace {

constexpr auto kSinkInterface = "org.talvio.EventSink";
constexpr auto kBusDaemon = "org.freedesktop.DBus";
// RequestName's flag that refuses to wait in line behind another owner, and its two answers
// that mean the name is this program's.
constexpr uint kDoNotQueue = 4;
constexpr uint kPrimaryOwner = 1;
constexpr uint kAlreadyOwner = 4;

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

ManagerService::ManagerService(const QDBusConnection &bus)
    : mBus(bus)
    , mAddInMgr(new AddInMgrObject(*this))
    , mEventRaiser(new EventRaiserObject(*this)) {
    mAddInMgr->setParent(this);
    mEventRaiser->setParent(this);
}

ManagerService::~ManagerService() = default;

bool ManagerService::start(QString *error) {
    // The bus going away ends the program: no client could reach it any more.
    mBus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                 QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), this,
                 SLOT(quitOnDisconnect()));
    // Every departure from the bus (a name losing its owner), delivered in order with the calls.
    // Subscribing once, here, spares a subscription per client, which the connection's thread
    // could not make: QtDBus makes it through that thread and waits for it.
    mBus.connect(QString::fromLatin1(kBusDaemon), QString(), QString::fromLatin1(kBusDaemon),
                 QStringLiteral("NameOwnerChanged"), {QString(), QString(), QStringLiteral("")},
                 QString(), this, SLOT(nameOwnerChanged(QString, QString, QString)));
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
    serveOnConnectionThread();
    return true;
}

void ManagerService::serveOnConnectionThread() {
    // QtDBus keeps the connection's own objects, its interface among them, on the thread that
    // reads and writes it, and delivers each call on the thread its object lives on.
    if (QObject *connectionObject = mBus.interface())
        moveToThread(connectionObject->thread());
    QMetaObject::invokeMethod(
        this, [this] { QTimer::singleShot(kUnclaimedStartMs, this, &ManagerService::endIfUnheld); },
        Qt::QueuedConnection);
}

void ManagerService::quitOnDisconnect() {
    finish();
}

void ManagerService::noteCall(const QString &caller) {
    mClients.noteCall(text(caller));
    noticeConnection(caller);
}

void ManagerService::release(const QString &caller) {
    mClients.release(text(caller));
    scheduleEndCheck();
}

void ManagerService::setCommonDataEditor(const QString &editor, const QString &caller) {
    mClients.editor.setCommonDataEditor(text(editor), text(caller));
}

bool ManagerService::claimCommonDataEditor(const QString &name, const QString &caller) {
    return mClients.editor.ClaimCommonDataEditor(text(name), text(caller));
}

void ManagerService::subscribe(const QString &caller, const QString &path) {
    mClients.subscribers.subscribe(text(caller), text(path));
}

void ManagerService::unsubscribe(const QString &caller, const QString &path) {
    mClients.unsubscribe(text(caller), text(path));
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

void ManagerService::callBus(const QString &method, const QVariantList &arguments,
                             std::function<void(const QDBusMessage &answer)> then) {
    auto *pending = new QDBusPendingCallWatcher(
        mBus.interface()->asyncCallWithArgumentList(method, arguments), this);
    connect(pending, &QDBusPendingCallWatcher::finished, this,
            [then = std::move(then)](QDBusPendingCallWatcher *call) {
                call->deleteLater();
                then(call->reply());
            });
}

void ManagerService::noticeConnection(const QString &connection) {
    if (!mPresent.insert(text(connection)).second)
        return;
    // A call the bus held back while it started this program may come from a connection that
    // left before the program subscribed to departures; the bus answers this after the
    // subscription, so between the two nothing can be missed.
    callBus(QStringLiteral("NameHasOwner"), {connection},
            [this, connection](const QDBusMessage &answer) {
                if (answer.type() == QDBusMessage::ReplyMessage
                    && !answer.arguments().value(0).toBool())
                    departed(connection);
            });
}

void ManagerService::nameOwnerChanged(const QString &name, const QString &oldOwner,
                                      const QString &newOwner) {
    // A connection's unique name is its own until it leaves the bus.
    if (name == oldOwner && newOwner.isEmpty())
        departed(name);
}

void ManagerService::departed(const QString &connection) {
    if (mPresent.erase(text(connection)) > 0)
        connectionLeft(connection);
}

void ManagerService::connectionLeft(const QString &connection) {
    const bool editorFreed = mClients.connectionLeft(text(connection));
    mRegistry.connectionLeft(text(connection));
    if (editorFreed)
        raise(EventId::xevtCommonDataEditAllowed, std::nullopt);
    advanceRaises();
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
    // release leaves after every reply sent before it, and the calls that reached this program
    // before it are served before its answer.
    callBus(QStringLiteral("ReleaseName"), {QString::fromLatin1(kBusName)},
            [this](const QDBusMessage &) { goOnIfHeld(); });
}

void ManagerService::goOnIfHeld() {
    // One of the calls served meanwhile holds the program again: it goes on when the name is
    // still free.
    if (!mClients.isHeld())
        return finish();
    callBus(QStringLiteral("RequestName"), {QString::fromLatin1(kBusName), kDoNotQueue},
            [this](const QDBusMessage &answer) {
                const uint result = answer.arguments().value(0).toUInt();
                if (answer.type() == QDBusMessage::ReplyMessage
                    && (result == kPrimaryOwner || result == kAlreadyOwner))
                    mEnding = false;
                else
                    finish();
            });
}

void ManagerService::finish() {
    mEnding = true;
    // Back to the main thread, which destroys the service once its event loop has ended.
    moveToThread(QCoreApplication::instance()->thread());
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
}

} // namespace addinmgr
