#pragma once

#include "trace/KVTBug.h"

#include <memory>

namespace kvt {

// Opens a trace window of the viewer program KVTDebug on the session bus; the bus starts the
// program when it is not running. Every report is a blocking call that keeps serving incoming
// calls; a failure is kvt::Error(err::TraceViewer). The window is released when the returned
// viewer ends.
std::unique_ptr<TraceViewer> openBusTraceViewer();

} // namespace kvt
