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

// What the session-bus module provides.
struct BusServices {
    // The add-in manager program, one connection shared by the process's facades.
    std::function<std::shared_ptr<AddInMgr>()> connectAddInMgr;
    // A new window of the trace viewer program.
    TraceViewerFactory openTraceViewer;
    // Reads the lines of the file descriptor as they come, while serving the bus's incoming
    // calls (events of other add-ins), until the input ends or the handler returns false.
    std::function<void(int fd, const LineHandler &handler)> serveLines;
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

} // namespace kvt
