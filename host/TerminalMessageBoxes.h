#pragma once

#include "messages/MessageBoxes.h"

#include <cstddef>
#include <iosfwd>

namespace talvio {

// Message boxes for a command-line program. Interactive, a box is written to `out` and its
// answer read from `in` (the first letter of a button, any case; an empty line or the end of
// input takes the safe default); a box with only OK offers no choice and reads nothing. Without a
// terminal nobody can answer: the box is reported on `out` together with the safe default it took,
// so a script's log shows what was decided.
class TerminalMessageBoxes final : public kvt::MessageBoxes {
public:
    TerminalMessageBoxes(std::istream &in, std::ostream &out, bool interactive)
        : mIn(in)
        , mOut(out)
        , mInteractive(interactive) {}

    kvt::BoxAnswer show(const kvt::BoxRequest &request) override;
    // Interactive, the prompt is written and one line read (the end of input cancels);
    // otherwise the box is reported as cancelled.
    std::optional<std::string> input(const kvt::InputRequest &request) override;

    // How many critical boxes (failures) were shown: the host's exit status depends on it.
    std::size_t criticalCount() const { return mCriticalCount; }

private:
    kvt::BoxAnswer ask(const kvt::BoxRequest &request);

    std::istream &mIn;
    std::ostream &mOut;
    bool mInteractive;
    std::size_t mCriticalCount = 0;
};

} // namespace talvio
