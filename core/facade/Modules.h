#pragma once

#include "facade/AddInMgr.h"
#include "kvt_export.h"
#include "trace/KVTBug.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace kvt {

// Qt enters the process only through modules that the library loads on first use, so a host
// that only converts never loads it. A module is a shared object in the folder "talvio" beside
// the library; its entry point registers what it provides.

// Called with each line of input (without its line break); false ends the serving.
using LineHandler = std::function<bool(const std::string &line)>;

// Runs a task later on the host's own thread, and returns at once without waiting for it.
using HostPoster = std::function<void(std::function<void()> task)>;

// What the session-bus module provides.
struct BusServices {
    // The add-in manager program, one connection shared by the process's facades.
    std::function<std::shared_ptr<AddInMgr>()> connectAddInMgr;
    // A new window of the trace viewer program.
    TraceViewerFactory openTraceViewer;
    // Reads the lines of the file descriptor as they come, while serving the bus's incoming
    // calls (events of other add-ins), until the input ends or the handler returns false.
    std::function<void(int fd, const LineHandler &handler)> serveLines;
    // Serves the bus on a thread of the module's own from now on: see serveBusOnOwnThread.
    std::function<std::shared_ptr<void>(HostPoster post)> serveOnOwnThread;
};

// The bus module's entry point calls this.
KVT_EXPORT void registerBusServices(BusServices services);

// The bus module's services, loading the module on the first call. A module that is missing
// or does not register throws kvt::Error(errNumber) naming the file and the reason.
KVT_EXPORT const BusServices &busServices(std::int32_t errNumber);

// The file the library loads for a module named name ("kvtbus"): TALVIO_MODULE_DIR when set,
// else the folder "talvio" beside the library.
KVT_EXPORT std::string modulePath(std::string_view name);

// Reads lines from fd while serving the bus: the way a long-lived host waits for its user.
KVT_EXPORT void serveLines(int fd, const LineHandler &handler);

// For a host that runs no Qt event loop: from this call on, the process's bus clients are
// served on a thread of the bus module's own. Every call of the add-in manager and of the trace
// viewer then runs on that thread while the caller waits, and a failure there is thrown to the
// caller as it was thrown there; the add-in events for this process's facades reach the host's
// thread through post, and one whose subscription ended before it ran is dropped there.
// Destroying the returned object ends that thread; do so after the facades that used the bus
// have ended: from then on their calls to the manager fail with kvt::Error(err::AddInMgr).
// While the returned object lives, another call returns it again and keeps the first post;
// after it ended, a call serves the bus on a new thread. Call it before the first use of the
// bus: once the host's own thread has served the bus, this is refused with
// kvt::Error(err::AddInMgr).
KVT_EXPORT std::shared_ptr<void> serveBusOnOwnThread(HostPoster post);

} // namespace kvt
