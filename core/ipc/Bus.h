#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <cstdint>

// The library's side of the inter-process layer: calls to the add-in manager and the trace
// viewer on the session bus.
namespace kvt::ipc {

// How long a call waits for a program that does not answer. A raise waits its turn behind other
// raises and for the subscribers that answer in time, so it may take longer than one call.
inline constexpr int kCallTimeoutMs = 25'000;
inline constexpr int kRaiseTimeoutMs = 300'000;

// The application object Qt needs to deliver incoming calls. A host that has its own keeps
// it; otherwise the library creates one on the calling thread, once.
void ensureApplication();

// The session bus; throws kvt::Error(errNumber) naming the reason when there is none.
QDBusConnection sessionBus(std::int32_t errNumber);

// Sends a call and waits for its reply while still serving incoming calls, so that an event
// handler can run nested inside the library's own outgoing call. An error reply, or no reply
// in timeoutMs, throws kvt::Error(errNumber) with the bus's message.
QDBusMessage call(const QDBusConnection &bus, const QDBusMessage &message, std::int32_t errNumber,
                  int timeoutMs = kCallTimeoutMs);

} // namespace kvt::ipc
