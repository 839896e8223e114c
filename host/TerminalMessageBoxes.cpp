#include "TerminalMessageBoxes.h"

#include <cctype>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace talvio {

namespace {

using kvt::answerName;
using kvt::BoxAnswer;
using kvt::BoxButtons;

void writeBox(std::ostream &out, const kvt::BoxRequest &request) {
    out << (request.title.empty() ? "Talvio" : request.title) << ": ";
    if (request.icon == kvt::BoxIcon::Critical)
        out << "Error: ";
    out << request.text << '\n';
}

constexpr int kAttempts = 3;

} // namespace

kvt::BoxAnswer TerminalMessageBoxes::show(const kvt::BoxRequest &request) {
    if (request.icon == kvt::BoxIcon::Critical)
        ++mCriticalCount;
    if (mInteractive && request.buttons != BoxButtons::Ok)
        return ask(request);
    writeBox(mOut, request);
    if (request.buttons != BoxButtons::Ok)
        mOut << "(no terminal to answer: took " << answerName(kvt::safeDefault(request.buttons))
             << ")\n";
    mOut.flush();
    return kvt::safeDefault(request.buttons);
}

std::optional<std::string> TerminalMessageBoxes::input(const kvt::InputRequest &request) {
    mOut << (request.title.empty() ? "Talvio" : request.title) << ": " << request.prompt;
    if (!mInteractive) {
        mOut << "\n(no terminal to answer: took Cancel)\n" << std::flush;
        return std::nullopt;
    }
    if (!request.initialText.empty())
        mOut << " [" << request.initialText << "]";
    mOut << "? " << std::flush;
    std::string line;
    if (!std::getline(mIn, line)) {
        mOut << '\n';
        return std::nullopt;
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return line.empty() ? request.initialText : line;
}

BoxAnswer TerminalMessageBoxes::ask(const kvt::BoxRequest &request) {
    writeBox(mOut, request);
    const auto answers = kvt::answersOf(request.buttons);
    const BoxAnswer fallback = kvt::safeDefault(request.buttons);
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        for (std::size_t i = 0; i < answers.size(); ++i)
            mOut << (i == 0 ? "" : "/") << answerName(answers[i]);
        mOut << " [" << answerName(fallback) << "]? " << std::flush;
        std::string line;
        if (!std::getline(mIn, line))
            break;
        const auto first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos)
            return fallback;
        const int letter = std::tolower(static_cast<unsigned char>(line[first]));
        for (const BoxAnswer answer : answers) {
            if (std::tolower(static_cast<unsigned char>(answerName(answer)[0])) == letter)
                return answer;
        }
    }
    mOut << '\n';
    return fallback;
}

} // namespace talvio
