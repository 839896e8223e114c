#pragma once

#include "facade/Modules.h"

namespace kvt::ipc {

// Feeds the lines of fd to handler while Qt serves the bus, until the input ends or the
// handler returns false. Input is not read while a line runs: the line's own calls serve
// incoming ones, and must not take more input.
void serveLines(int fd, const LineHandler &handler);

} // namespace kvt::ipc
