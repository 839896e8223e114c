#include "TraceService.h"

#include "FrmDebug.h"
#include "MainDebug.h"
#include "TraceLimits.h"
#include "kvtdebugAdaptor.h"
#include "mainDebugAdaptor.h"

#include <QDBusConnectionInterface>
#include <QDBusServiceWatcher>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace kvt::tracer {

TraceService::TraceService(QDBusConnection bus, TraceDialogs dialogs, QObject *parent)
    : QObject(parent)
    , mBus(std::move(bus))
    , mDialogs(std::move(dialogs))
    , mOwners(new QDBusServiceWatcher(QString(), mBus, QDBusServiceWatcher::WatchForUnregistration,
                                      this)) {
    new KVTDebugAdaptor(this);
    connect(mOwners, &QDBusServiceWatcher::serviceUnregistered, this, &TraceService::ownerLeft);
}

TraceService::~TraceService() {
    // Windows close with their objects, which are children of the service.
    for (MainDebug *object : mObjects)
        mBus.unregisterObject(object->path());
}

bool TraceService::start() {
    if (!mBus.isConnected()) {
        std::fprintf(stderr, "KVTDebug: no session bus: %s\n",
                     qPrintable(mBus.lastError().message()));
        return false;
    }
    // Connection-local signal that libdbus sends when the bus closes the connection.
    mBus.connect(QString(), QStringLiteral("/org/freedesktop/DBus/Local"),
                 QStringLiteral("org.freedesktop.DBus.Local"), QStringLiteral("Disconnected"), this,
                 SLOT(busDisconnected()));
    if (!mBus.registerObject(QString::fromLatin1(kPath), this, QDBusConnection::ExportAdaptors)) {
        std::fprintf(stderr, "KVTDebug: cannot publish %s on the session bus\n", kPath);
        return false;
    }
    // The name last: a call that activated the program finds the factory in place.
    if (!mBus.registerService(QString::fromLatin1(kBusName))) {
        std::fprintf(stderr,
                     "KVTDebug: the bus name %s is already owned by another program; "
                     "this one ends\n",
                     kBusName);
        mBus.unregisterObject(QString::fromLatin1(kPath));
        return false;
    }
    return true;
}

QDBusObjectPath TraceService::Create() {
    const QString owner = calledFromDBus() ? message().service() : QString();
    try {
        const auto held = std::count_if(mObjects.begin(), mObjects.end(),
                                        [&](const MainDebug *o) { return o->owner() == owner; });
        requireWindowRoom(static_cast<std::size_t>(held), mObjects.size());
    } catch (const LimitExceeded &refused) {
        if (!calledFromDBus())
            throw;
        sendErrorReply(QStringLiteral("org.talvio.Error.LimitExceeded"),
                       QString::fromStdString(refused.what()));
        return {};
    }
    const QString path = QStringLiteral("%1/%2").arg(QLatin1String(kPath)).arg(++mLastNumber);
    auto *object = new MainDebug(path, owner, mDialogs, this);
    new MainDebugAdaptor(object);
    connect(object, &MainDebug::released, this, &TraceService::release);
    mObjects.push_back(object);
    mBus.registerObject(path, object, QDBusConnection::ExportAdaptors);
    if (!owner.isEmpty()) {
        mOwners->addWatchedService(owner);
        // A client that left before we started watching would never be reported.
        if (!mBus.interface()->isServiceRegistered(owner).value())
            QMetaObject::invokeMethod(
                this, [this, owner] { ownerLeft(owner); }, Qt::QueuedConnection);
    }
    return QDBusObjectPath(path);
}

void TraceService::release(MainDebug *object) {
    const auto found = std::find(mObjects.begin(), mObjects.end(), object);
    if (found == mObjects.end())
        return;
    mObjects.erase(found);
    mBus.unregisterObject(object->path());
    object->window().close();
    // Deleted later: the reply to a Release still leaves through the object's adaptor.
    object->deleteLater();
    const QString owner = object->owner();
    const bool ownerHoldsMore =
        std::any_of(mObjects.begin(), mObjects.end(),
                    [&](const MainDebug *held) { return held->owner() == owner; });
    if (!owner.isEmpty() && !ownerHoldsMore)
        mOwners->removeWatchedService(owner);
    if (mObjects.empty())
        endIfIdle();
}

void TraceService::endIfIdle() {
    // The name goes first: a Create already on its way here is still served (its client then
    // talks to this program by its unique name), the next one starts a new program.
    mBus.unregisterService(QString::fromLatin1(kBusName));
    QTimer::singleShot(kLastCallsMs, this, [this] {
        if (mObjects.empty())
            emit finished();
    });
}

void TraceService::ownerLeft(const QString &owner) {
    const std::vector<MainDebug *> objects = mObjects;
    for (MainDebug *object : objects)
        if (object->owner() == owner)
            release(object);
}

void TraceService::busDisconnected() {
    emit finished();
}

} // namespace kvt::tracer
