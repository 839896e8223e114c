#include "TalvioProcess.h"

#include "CalcSession.h"
#include "MainThread.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char **environ;

namespace talvio::calc {

namespace {

std::atomic<bool> gRunning{false};

// An extension's files lose their execute bits when Calc unpacks it: give them back to the
// program, which belongs to the user who installed the extension.
void makeExecutable(const std::string &path) {
    struct stat status {};
    if (stat(path.c_str(), &status) == 0 && (status.st_mode & S_IXUSR) == 0)
        chmod(path.c_str(), status.st_mode | S_IXUSR | S_IXGRP | S_IXOTH);
}

std::string readAll(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0)
            text.append(buffer, static_cast<std::size_t>(got));
        else if (got == 0 || errno != EINTR)
            break;
    }
    return text;
}

int exitStatusOf(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0)
        if (errno != EINTR)
            return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Starts the program with its output into a pipe; the child's pid and the pipe's read end,
// or the reason it failed.
struct Started {
    pid_t pid = -1;
    int output = -1;
    std::string failure;
};

Started start(const std::string &program, const std::vector<std::string> &arguments) {
    std::vector<char *> argv;
    argv.push_back(const_cast<char *>(program.c_str()));
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);

    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        return {-1, -1, std::strerror(errno)};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    Started started;
    const int error =
        posix_spawnp(&started.pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeEnds[1]);
    if (error != 0) {
        close(pipeEnds[0]);
        return {-1, -1, program + ": " + std::strerror(error)};
    }
    started.output = pipeEnds[0];
    return started;
}

} // namespace

std::string talvioProgram() {
    if (const char *program = std::getenv("TALVIO_PROGRAM"); program && *program)
        return program;
    std::string shipped = CalcSession::extensionFile("bin/talvio");
    makeExecutable(shipped);
    return shipped;
}

bool runTalvio(const css::uno::Reference<css::uno::XComponentContext> &context,
               std::vector<std::string> arguments,
               std::function<void(const ProgramResult &)> done) {
    if (gRunning.exchange(true))
        return false;
    arguments.insert(arguments.begin(), {"--messages", CalcSession::messageFile()});
    Started started = start(talvioProgram(), arguments);
    if (started.pid < 0) {
        gRunning = false;
        ProgramResult failed;
        failed.failure = started.failure;
        done(failed);
        return true;
    }
    std::thread([context, started, done = std::move(done)] {
        ProgramResult result;
        result.output = readAll(started.output);
        close(started.output);
        result.status = exitStatusOf(started.pid);
        gRunning = false; // the window has gone: another may open
        postToMainThread(context, [result, done] { done(result); });
    }).detach();
    return true;
}

} // namespace talvio::calc
