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

bool installTerminalUi() {
    std::fstream *tty = controllingTerminal();
    if (tty == nullptr) {
        kvt::setMessageBoxes(std::make_shared<TerminalMessageBoxes>(std::cin, std::cerr, false));
        kvt::setRatePrompt(std::make_shared<TerminalRatePrompt>(std::cin, std::cerr, false));
        return false;
    }
    kvt::setMessageBoxes(std::make_shared<TerminalMessageBoxes>(*tty, *tty, true));
    kvt::setRatePrompt(std::make_shared<TerminalRatePrompt>(*tty, *tty, true));
    return true;
}

} // namespace talvio
