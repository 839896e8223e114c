#include "EventSinkObject.h"

#include "EventSinkAdaptor.h"

#include <utility>

namespace addinmgr {

EventSinkObject::EventSinkObject(std::function<void(int id)> handler, QObject *parent)
    : QObject(parent)
    , mHandler(std::move(handler)) {
    new EventSinkAdaptor(this);
}

void EventSinkObject::Event(int id) {
    if (mHandler)
        mHandler(id);
}

} // namespace addinmgr
