#pragma once

#include "support/TempDir.h"

#include <string>
#include <vector>

namespace talvio::test {

struct ProcessResult {
    int status = -1; // the exit status; -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs the built talvio with the arguments and the given standard input, without a terminal,
// and collects what it wrote. The environment is the test's own.
ProcessResult runTalvio(const std::vector<std::string> &arguments, const std::string &input = "");
// The same for any program: words[0] is its path.
ProcessResult runProgram(std::vector<std::string> words, const std::string &input = "");

// A settings file of its own in a temporary folder, and the shipped message file, for each
// command run through it.
class HostFixture {
public:
    ProcessResult run(std::vector<std::string> arguments, const std::string &input = "") const;
    std::string settingsPath() const { return mDir.file("settings.db").string(); }

private:
    kvt::test::TempDir mDir;
};

// Expects of a command's run its exit status, its whole standard output and a part of its
// standard error ("" when there must be none); failures name the command's arguments.
void expectResult(const ProcessResult &result, const std::vector<std::string> &arguments,
                  int status, const std::string &out, const std::string &err);

} // namespace talvio::test
