#pragma once

#include <string>

class QWidget;

namespace kvt::windows {

// Why no window can open in this process, or empty when one can: no display to connect to, an
// unknown platform, or a Qt application already made without windows. Asked before the widget
// application exists, because Qt aborts the process when it cannot reach a display.
std::string displayProblem();

// The widget application every window of the library needs, made on first use; throws
// kvt::Error(err::Windows) with displayProblem's reason when it cannot be made.
void ensureApplication();

} // namespace kvt::windows
