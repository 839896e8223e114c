#pragma once

#include <QDBusContext>
#include <QDBusObjectPath>
#include <QObject>
#include <cstdint>
#include <functional>

namespace addinmgr {

class ManagerService;
enum class EventId : std::int32_t;

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
    // A raise is answered later, once every subscriber has answered.
    void raise(EventId event);
    // Runs one operation for the calling client; a failure becomes the call's error reply.
    void serve(const std::function<void(const QString &caller)> &operation);

    ManagerService &mService;
};

} // namespace addinmgr
