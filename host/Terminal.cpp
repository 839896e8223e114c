#include "Terminal.h"

#include "TerminalMessageBoxes.h"
#include "TerminalRatePrompt.h"

#include <fstream>
#include <iostream>
#include <memory>
#include <unistd.h>

namespace talvio {

namespace {

// The terminal's stream, open for the rest of the process, or null without one.
std::fstream *controllingTerminal() {
    static const std::unique_ptr<std::fstream> tty = []() -> std::unique_ptr<std::fstream> {
        if (isatty(STDIN_FILENO) == 0 && isatty(STDERR_FILENO) == 0)
            return nullptr;
        auto stream = std::make_unique<std::fstream>("/dev/tty", std::ios::in | std::ios::out);
        if (!stream->is_open())
            return nullptr;
        return stream;
    }();
    return tty.get();
}

} // namespace

TerminalUi installTerminalUi() {
    std::fstream *tty = controllingTerminal();
    TerminalUi ui;
    ui.interactive = tty != nullptr;
    std::istream &in = ui.interactive ? static_cast<std::istream &>(*tty) : std::cin;
    std::ostream &out = ui.interactive ? static_cast<std::ostream &>(*tty) : std::cerr;
    ui.boxes = std::make_shared<TerminalMessageBoxes>(in, out, ui.interactive);
    kvt::setMessageBoxes(ui.boxes);
    kvt::setRatePrompt(std::make_shared<TerminalRatePrompt>(in, out, ui.interactive));
    return ui;
}

} // namespace talvio
