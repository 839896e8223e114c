#include "support/ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <poll.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace kvt::test {

namespace {

int remainingMs(ChildProcess::Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - ChildProcess::Clock::now());
    return left.count() < 0 ? 0 : static_cast<int>(left.count());
}

} // namespace

ChildProcess::ChildProcess(const std::string &program, const std::vector<std::string> &arguments) {
    int toChild[2];
    int fromChild[2];
    if (pipe(toChild) != 0 || pipe(fromChild) != 0)
        throw std::runtime_error("cannot create pipes");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, toChild[0], 0);
    posix_spawn_file_actions_adddup2(&actions, fromChild[1], 1);
    for (const int fd : {toChild[0], toChild[1], fromChild[0], fromChild[1]})
        posix_spawn_file_actions_addclose(&actions, fd);

    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char *> argv;
    for (auto &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    const int spawned =
        posix_spawn(&mPid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(toChild[0]);
    close(fromChild[1]);
    mInput = toChild[1];
    mOutput = fromChild[0];
    if (spawned != 0)
        throw std::runtime_error("cannot start " + program);
}

ChildProcess::~ChildProcess() {
    closeInput();
    if (!mStatus) {
        ::kill(mPid, SIGKILL);
        waitpid(mPid, nullptr, 0);
    }
    close(mOutput);
}

void ChildProcess::writeLine(const std::string &line) {
    const std::string text = line + "\n";
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t count = ::write(mInput, text.data() + written, text.size() - written);
        if (count < 0 && errno == EINTR)
            continue;
        if (count <= 0)
            throw std::runtime_error("the program no longer reads its input");
        written += static_cast<std::size_t>(count);
    }
}

void ChildProcess::closeInput() {
    if (mInput >= 0)
        close(mInput);
    mInput = -1;
}

std::optional<std::string> ChildProcess::readLine(Clock::duration wait) {
    const auto deadline = Clock::now() + wait;
    for (;;) {
        if (const auto end = mPending.find('\n'); end != std::string::npos) {
            std::string line = mPending.substr(0, end);
            mPending.erase(0, end + 1);
            return line;
        }
        pollfd ready{mOutput, POLLIN, 0};
        const int polled = poll(&ready, 1, remainingMs(deadline));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            return std::nullopt;
        char buffer[4096];
        const ssize_t count = ::read(mOutput, buffer, sizeof buffer);
        if (count <= 0)
            return std::nullopt;
        mPending.append(buffer, static_cast<std::size_t>(count));
    }
}

template<class Matches>
std::optional<std::string> ChildProcess::waitForMatch(Matches &&matches, Clock::duration wait) {
    const auto deadline = Clock::now() + wait;
    while (auto line = readLine(deadline - Clock::now())) {
        if (matches(*line))
            return line;
        mSkipped.push_back(*line);
    }
    return std::nullopt;
}

std::optional<std::string> ChildProcess::waitFor(const std::string &text, Clock::duration wait) {
    return waitForMatch([&](const std::string &line) { return line.find(text) != line.npos; },
                        wait);
}

std::optional<std::string> ChildProcess::waitForLineStarting(const std::string &prefix,
                                                             Clock::duration wait) {
    return waitForMatch([&](const std::string &line) { return line.starts_with(prefix); }, wait);
}

void ChildProcess::signal(int number) {
    ::kill(mPid, number);
}

std::optional<int> ChildProcess::wait(Clock::duration wait) {
    const auto deadline = Clock::now() + wait;
    while (!mStatus) {
        int status = 0;
        const pid_t done = waitpid(mPid, &status, WNOHANG);
        if (done == mPid)
            mStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        else if (Clock::now() >= deadline)
            return std::nullopt;
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return mStatus;
}

} // namespace kvt::test
