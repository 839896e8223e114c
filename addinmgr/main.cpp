#include "ManagerService.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusError>
#include <cstdio>

// TlvAddInMgr: started by the session bus when a client first calls it; ends when no client
// holds it any more or the bus goes away.
int main(int argc, char **argv) {
    QCoreApplication app(argc, argv);
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "TlvAddInMgr: no session bus: %s\n",
                     qPrintable(bus.lastError().message()));
        return 1;
    }
    addinmgr::ManagerService service(bus);
    QString error;
    if (!service.start(&error)) {
        std::fprintf(stderr, "TlvAddInMgr: %s\n", qPrintable(error));
        return 1;
    }
    return QCoreApplication::exec();
}
