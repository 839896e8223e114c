#pragma once

#include "facade/AddInMgr.h"
#include "trace/KVTBug.h"

#include <memory>

namespace kvt::ipc {

// The bus clients the library asks the module for: served on the module's own thread once the
// host asked for it (serveOnOwnThread), otherwise on the caller's thread as the host serves it.
std::shared_ptr<AddInMgr> connectServedAddInMgr();
std::unique_ptr<TraceViewer> openServedTraceViewer();

} // namespace kvt::ipc
