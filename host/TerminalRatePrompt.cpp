#include "TerminalRatePrompt.h"

#include <istream>
#include <ostream>

namespace talvio {

std::optional<std::string> TerminalRatePrompt::ask(const kvt::RateQuestion &question) {
    if (!mInteractive)
        return std::nullopt;
    if (!question.caption.empty())
        mOut << question.caption << '\n';
    if (!question.explanation.empty())
        mOut << question.explanation << '\n';
    mOut << "1 " << question.from << " = ? " << question.to;
    if (!question.initialText.empty())
        mOut << " [" << question.initialText << ']';
    mOut << ": " << std::flush;
    std::string line;
    if (!std::getline(mIn, line))
        return std::nullopt;
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    // An empty answer keeps what the box showed, as pressing OK on the window would.
    if (line.find_first_not_of(" \t") == std::string::npos && !question.initialText.empty())
        return question.initialText;
    return line;
}

} // namespace talvio
