#pragma once

#include "kvt_export.h"

#include <cstdint>
#include <memory>

namespace kvt {

// The three events the add-in manager relays between add-ins, with their identifiers.
enum class AddInEvent : std::int32_t {
    CommonDataEditRunning = 1, // an add-in has begun editing the common data
    UpdateCommonData = 2,      // the common data were saved: reload them
    CommonDataEditAllowed = 3, // the editing add-in has finished: others may edit
};

// What a subscriber does with an event. Events arrive on the host's thread, possibly in the
// middle of the subscriber's own call to the manager.
class KVT_EXPORT AddInEventHandler {
public:
    virtual ~AddInEventHandler() = default;
    virtual void onAddInEvent(AddInEvent event) = 0;
};

// A subscription to an event source; it ends when this object is destroyed.
class KVT_EXPORT EventSubscription {
public:
    virtual ~EventSubscription() = default;
};

// The add-in manager's shared event source. A raise delivers the event to every subscriber,
// the raiser's own subscription included, one after the other, and returns when all were
// called.
class KVT_EXPORT EventRaiser {
public:
    virtual ~EventRaiser() = default;
    virtual void Raise_xevtCommonDataEditRunning() = 0;
    virtual void Raise_xevtUpdateCommonData() = 0;
    virtual void Raise_xevtCommonDataEditAllowed() = 0;
    // handler must outlive the subscription.
    virtual std::unique_ptr<EventSubscription> Subscribe(AddInEventHandler &handler) = 0;
};

} // namespace kvt
