#pragma once

#include "engine/RatePrompt.h"

#include <iosfwd>

namespace talvio {

// The rate question on a terminal: the explanation, then "1 FROM = ? TO" and the answer read
// as one line; the end of input means nobody is there to answer. Without a terminal it cannot
// ask at all, and the engine gives up instead of waiting.
class TerminalRatePrompt final : public kvt::RatePrompt {
public:
    TerminalRatePrompt(std::istream &in, std::ostream &out, bool interactive)
        : mIn(in)
        , mOut(out)
        , mInteractive(interactive) {}

    std::optional<std::string> ask(const kvt::RateQuestion &question) override;

private:
    std::istream &mIn;
    std::ostream &mOut;
    bool mInteractive;
};

} // namespace talvio
