#pragma once

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <functional>

namespace addinmgr {

class ManagerService;

// /EventRaiser: the one event source every client subscribes to. Its generated adaptor calls
// these members; QDBusContext tells who calls.
class EventRaiserObject : public QObject, protected QDBusContext {
    Q_OBJECT
public:
    explicit EventRaiserObject(ManagerService &service);

    void Raise_xevtCommonDataEditRunning();
    void Raise_xevtUpdateCommonData();
    void Raise_xevtCommonDataEditAllowed();
    void Subscribe(const QDBusObjectPath &sink);
    void Unsubscribe(const QDBusObjectPath &sink);

private:
    // Runs one operation for the calling client; a failure becomes the call's error reply.
    void serve(const std::function<void(const QString &caller)> &operation);

    ManagerService &mService;
};

} // namespace addinmgr
