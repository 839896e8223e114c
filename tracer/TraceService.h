#pragma once

#include "TraceDialogs.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <QString>
#include <vector>

class QDBusServiceWatcher;

namespace kvt::tracer {

class MainDebug;

// The viewer's factory on the bus (/MainDebug, org.talvio.KVTDebug). Each Create opens a
// window of its own at /MainDebug/<n>, held by the calling connection until it calls Release
// or leaves the bus, within the bounds of TraceLimits.h. When the last object is gone, or the
// bus itself, the program ends.
class TraceService final : public QObject, protected QDBusContext {
    Q_OBJECT

public:
    static constexpr const char *kBusName = "org.talvio.KVTDebug";
    static constexpr const char *kPath = "/MainDebug";
    // How long the program still serves calls that reached it after its last object went.
    static constexpr int kLastCallsMs = 200;

    TraceService(QDBusConnection bus, TraceDialogs dialogs, QObject *parent = nullptr);
    ~TraceService() override;

    // Publishes the factory and takes the bus name; false (with the reason on stderr) when the
    // name has another owner or the bus refuses.
    bool start();

    const std::vector<MainDebug *> &objects() const { return mObjects; }

public Q_SLOTS:
    QDBusObjectPath Create();

Q_SIGNALS:
    // No object is left, or the bus went away: the program has nothing more to do.
    void finished();

private Q_SLOTS:
    void busDisconnected();

private:
    void release(MainDebug *object);
    void endIfIdle();
    void ownerLeft(const QString &owner);

    QDBusConnection mBus;
    TraceDialogs mDialogs;
    QDBusServiceWatcher *mOwners;
    std::vector<MainDebug *> mObjects;
    quint64 mLastNumber = 0; // numbers are never reused while the program runs
};

} // namespace kvt::tracer
