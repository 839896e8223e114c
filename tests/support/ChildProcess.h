#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace kvt::test {

// A program the test talks to while it runs: lines to its standard input, lines from its
// standard output. Every wait is bounded, so a program that hangs fails the test instead of
// hanging it. The process is killed if it still runs when the object ends.
class ChildProcess {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::seconds kDefaultWait{20};

    // Starts program with arguments; standard error stays the test's own.
    ChildProcess(const std::string &program, const std::vector<std::string> &arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    pid_t pid() const { return mPid; }
    void writeLine(const std::string &line);
    void closeInput();
    // The next line of output, or nothing when the output ended or the wait ran out.
    std::optional<std::string> readLine(Clock::duration wait = kDefaultWait);
    // Reads lines until one contains text, and gives it; nothing when it never came. The
    // lines passed over are kept in skipped().
    std::optional<std::string> waitFor(const std::string &text,
                                       Clock::duration wait = kDefaultWait);
    // The same for a line that begins with prefix.
    std::optional<std::string> waitForLineStarting(const std::string &prefix,
                                                   Clock::duration wait = kDefaultWait);
    const std::vector<std::string> &skipped() const { return mSkipped; }
    void signal(int number);
    // The exit status once the process ended; -1 for a signal, nothing when it did not end in
    // time.
    std::optional<int> wait(Clock::duration wait = kDefaultWait);

private:
    template<class Matches>
    std::optional<std::string> waitForMatch(Matches &&matches, Clock::duration wait);

    pid_t mPid = -1;
    int mInput = -1;
    int mOutput = -1;
    std::string mPending;
    std::vector<std::string> mSkipped;
    std::optional<int> mStatus;
};

} // namespace kvt::test
