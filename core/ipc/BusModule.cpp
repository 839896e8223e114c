// The session-bus module: the library loads it on the first call that needs the bus, and its
// entry point hands the library the bus clients.
#include "facade/Modules.h"
#include "ipc/BusThread.h"
#include "ipc/LineServer.h"
#include "ipc/ThreadedClients.h"
#include "kvt_export.h"

extern "C" KVT_EXPORT void talvio_module_init() {
    kvt::registerBusServices({
        .connectAddInMgr = kvt::ipc::connectServedAddInMgr,
        .openTraceViewer = kvt::ipc::openServedTraceViewer,
        .serveLines = kvt::ipc::serveLines,
        .serveOnOwnThread = kvt::ipc::serveOnOwnThread,
    });
}
