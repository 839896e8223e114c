#include "EventRaiserObject.h"

#include "EventRaiserAdaptor.h"
#include "ManagerService.h"

#include <exception>

namespace addinmgr {

EventRaiserObject::EventRaiserObject(ManagerService &service)
    : mService(service) {
    new EventRaiserAdaptor(this);
}

void EventRaiserObject::serve(const std::function<void(const QString &caller)> &operation) {
    const QString caller = message().service();
    try {
        operation(caller);
    } catch (const std::exception &failure) {
        sendErrorReply(QDBusError::Failed, QString::fromStdString(failure.what()));
    }
}

void EventRaiserObject::raise(EventId event) {
    setDelayedReply(true);
    const QDBusMessage call = message();
    mService.noteCall(call.service());
    mService.raise(event, call);
}

void EventRaiserObject::Raise_xevtCommonDataEditRunning() {
    raise(EventId::xevtCommonDataEditRunning);
}

void EventRaiserObject::Raise_xevtUpdateCommonData() {
    raise(EventId::xevtUpdateCommonData);
}

void EventRaiserObject::Raise_xevtCommonDataEditAllowed() {
    raise(EventId::xevtCommonDataEditAllowed);
}

void EventRaiserObject::Subscribe(const QDBusObjectPath &sink) {
    serve([this, &sink](const QString &caller) {
        mService.noteCall(caller);
        mService.subscribe(caller, sink.path());
    });
}

void EventRaiserObject::Unsubscribe(const QDBusObjectPath &sink) {
    serve([this, &sink](const QString &caller) { mService.unsubscribe(caller, sink.path()); });
}

} // namespace addinmgr
