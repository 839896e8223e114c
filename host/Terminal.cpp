#include "Terminal.h"

#include "TerminalMessageBoxes.h"
#include "TerminalRatePrompt.h"

#include <fstream>
#include <iostream>
#include <memory>
#include <unistd.h>

namespace talvio {

namespace {

// The terminal, open for the rest of the process, or null without one. Reading and writing go
// through two streams: one file stream that reads and then writes, without a seek in between,
// fails, and the next question could not be asked.
struct TerminalStreams {
    std::ifstream in;
    std::ofstream out;
};

TerminalStreams *controllingTerminal() {
    static const std::unique_ptr<TerminalStreams> tty = []() -> std::unique_ptr<TerminalStreams> {
        if (isatty(STDIN_FILENO) == 0 && isatty(STDERR_FILENO) == 0)
            return nullptr;
        auto streams = std::make_unique<TerminalStreams>();
        streams->in.open("/dev/tty");
        streams->out.open("/dev/tty");
        if (!streams->in.is_open() || !streams->out.is_open())
            return nullptr;
        return streams;
    }();
    return tty.get();
}

} // namespace

TerminalUi installTerminalUi() {
    TerminalStreams *tty = controllingTerminal();
    TerminalUi ui;
    ui.interactive = tty != nullptr;
    std::istream &in = ui.interactive ? static_cast<std::istream &>(tty->in) : std::cin;
    std::ostream &out = ui.interactive ? static_cast<std::ostream &>(tty->out) : std::cerr;
    ui.boxes = std::make_shared<TerminalMessageBoxes>(in, out, ui.interactive);
    kvt::setMessageBoxes(ui.boxes);
    kvt::setRatePrompt(std::make_shared<TerminalRatePrompt>(in, out, ui.interactive));
    return ui;
}

} // namespace talvio
