#include "ipc/Bus.h"

#include "ipc/ServedWait.h"
#include "model/Error.h"

#include <QCoreApplication>
#include <QDBusError>
#include <string>

namespace kvt::ipc {

void ensureApplication() {
    if (QCoreApplication::instance())
        return;
    // Qt keeps references to argc and argv for the application's lifetime.
    static int argc = 1;
    static char name[] = "talvio";
    static char *argv[] = {name, nullptr};
    // Never deleted: a host may still call through the library while static objects end.
    new QCoreApplication(argc, argv);
}

QDBusConnection sessionBus(std::int32_t errNumber) {
    ensureApplication();
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        throw Error(errNumber, "No session bus: " + bus.lastError().message().toStdString());
    return bus;
}

QDBusMessage call(const QDBusConnection &bus, const QDBusMessage &message, std::int32_t errNumber,
                  int timeoutMs) {
    const QDBusMessage reply = waitServing(bus.asyncCall(message, timeoutMs));
    if (reply.type() == QDBusMessage::ErrorMessage)
        throw Error(errNumber,
                    message.service().toStdString() + ": " + reply.errorMessage().toStdString());
    return reply;
}

} // namespace kvt::ipc
