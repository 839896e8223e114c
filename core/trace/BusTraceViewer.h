#pragma once

#include "trace/KVTBug.h"

#include <memory>

namespace kvt {

// Opens a trace window of the viewer program KVTDebug on the session bus; the bus starts the
// program when it is not running. Every report is a blocking call that keeps serving incoming
// calls; a failure is kvt::Error(err::TraceViewer). The window is released when the returned
// viewer ends. Loading the shared library makes this the default way to open a viewer.
std::unique_ptr<TraceViewer> openBusTraceViewer();

} // namespace kvt
