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

// Reads standard input and writes standard output in large blocks for the rest of the process,
// so that a stream of a million amounts takes a few hundred system calls instead of a million.
// What standard output holds is written out when its block is full, before a read of standard
// input that would wait (a program that sends one line and waits for its answer gets it), before
// anything goes to standard error or to a question on the terminal, and when the process ends.
// Call it once, after std::ios::sync_with_stdio(false).
void installStandardStreams();

} // namespace talvio
