#pragma once

#include <QIcon>
#include <string_view>

namespace kvt::tracer {

// The 16 x 16 icon of a line's key ("FCT", "INFO", "ERROR", "CLOCK"); an unknown key has none.
// Drawn here rather than shipped as images: four simple shapes.
QIcon traceIcon(std::string_view key);

} // namespace kvt::tracer
