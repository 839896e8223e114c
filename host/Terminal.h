#pragma once

#include "TerminalMessageBoxes.h"

#include <memory>

namespace talvio {

// Installs the terminal message boxes and rate question for the whole process. They ask on the
// controlling terminal (/dev/tty) when standard input or standard error is one, so that a
// stream of amounts on standard input still leaves the keyboard free for the answer; otherwise
// boxes take their safe default, reported on standard error, and the rate question cannot ask.
struct TerminalUi {
    bool interactive = false; // a terminal is there to ask on
    std::shared_ptr<TerminalMessageBoxes> boxes;
};
TerminalUi installTerminalUi();

} // namespace talvio
