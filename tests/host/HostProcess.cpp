#include "HostProcess.h"

#include <fcntl.h>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <iterator>
#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>

extern char **environ;

namespace talvio::test {

namespace {

std::string readWhole(const std::filesystem::path &path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

} // namespace

ProcessResult runTalvio(const std::vector<std::string> &arguments, const std::string &input) {
    std::vector<std::string> words{TALVIO_BINARY};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return runProgram(std::move(words), input);
}

ProcessResult runProgram(std::vector<std::string> words, const std::string &input) {
    const kvt::test::TempDir dir;
    const auto inPath = dir.file("stdin");
    const auto outPath = dir.file("stdout");
    const auto errPath = dir.file("stderr");
    std::ofstream(inPath, std::ios::binary) << input;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inPath.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT, 0600);

    std::vector<char *> argv;
    for (auto &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, words[0].c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        throw std::runtime_error("cannot start " + words[0]);
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);

    ProcessResult result;
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
    result.out = readWhole(outPath);
    result.err = readWhole(errPath);
    return result;
}

ProcessResult HostFixture::run(std::vector<std::string> arguments, const std::string &input) const {
    arguments.insert(arguments.begin(),
                     {"--settings", settingsPath(), "--messages", TALVIO_TEST_MESSAGE_FILE});
    return runTalvio(arguments, input);
}

void expectResult(const ProcessResult &result, const std::vector<std::string> &arguments,
                  int status, const std::string &out, const std::string &err) {
    const std::string name = testing::PrintToString(arguments);
    EXPECT_EQ(result.status, status) << name << "\n" << result.err;
    EXPECT_EQ(result.out, out) << name;
    if (err.empty())
        EXPECT_EQ(result.err, "") << name;
    else
        EXPECT_THAT(result.err, testing::HasSubstr(err)) << name;
}

} // namespace talvio::test
