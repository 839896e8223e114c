#include "HostProcess.h"

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace talvio::test {
namespace {

using testing::HasSubstr;

// talvio on a pseudo-terminal of its own, as a user at a keyboard runs it.
class TerminalProcess {
public:
    enum class Output { Discarded, OnTerminal };

    // With inputFile, standard input reads that file and standard output is discarded unless
    // asked for: standard error stays on the terminal.
    explicit TerminalProcess(std::vector<std::string> arguments, const std::string &inputFile = "",
                             Output output = Output::Discarded) {
        arguments.insert(arguments.begin(), TALVIO_BINARY);
        std::vector<char *> argv;
        for (auto &word : arguments)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        mPid = forkpty(&mMaster, nullptr, nullptr, nullptr);
        if (mPid == 0) {
            if (!inputFile.empty()) {
                dup2(open(inputFile.c_str(), O_RDONLY), STDIN_FILENO);
                if (output == Output::Discarded)
                    dup2(open("/dev/null", O_WRONLY), STDOUT_FILENO);
            }
            execv(TALVIO_BINARY, argv.data());
            _exit(127);
        }
    }
    ~TerminalProcess() {
        if (mMaster >= 0)
            close(mMaster);
        if (mPid > 0 && !mWaited) {
            kill(mPid, SIGKILL);
            waitpid(mPid, nullptr, 0);
        }
    }

    bool started() const { return mPid > 0; }

    // Reads what the program writes until `expected` shows or it stops writing (5 s).
    bool readUntil(const std::string &expected) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (mText.find(expected) == std::string::npos) {
            if (std::chrono::steady_clock::now() > deadline || !readSome())
                return false;
        }
        return true;
    }

    void type(const std::string &text) const {
        EXPECT_EQ(write(mMaster, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    }

    // Reads to the end and gives the exit status.
    int finish() {
        while (readSome()) {
        }
        int status = 0;
        waitpid(mPid, &status, 0);
        mWaited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    const std::string &text() const { return mText; }

private:
    bool readSome() {
        pollfd fd{mMaster, POLLIN, 0};
        if (poll(&fd, 1, 5000) <= 0)
            return false;
        char buffer[512];
        const ssize_t n = read(mMaster, buffer, sizeof buffer);
        if (n <= 0) // EIO once the program has ended
            return false;
        mText.append(buffer, static_cast<std::size_t>(n));
        return true;
    }

    int mMaster = -1;
    pid_t mPid = -1;
    bool mWaited = false;
    std::string mText;
};

class TerminalSessionTest : public testing::Test, protected HostFixture {
protected:
    std::vector<std::string> withFiles(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(),
                         {"--settings", settingsPath(), "--messages", TALVIO_TEST_MESSAGE_FILE});
        return arguments;
    }
};

TEST_F(TerminalSessionTest, aMissingRateIsAskedOnTheTerminalThenSaved) {
    TerminalProcess talvio(withFiles({"convert", "--raw", "100", "BEF", "USD"}));
    ASSERT_TRUE(talvio.started());
    ASSERT_TRUE(talvio.readUntil("1 EUR = ? USD")) << talvio.text();
    // A negative rate, or one too small to invert, is refused and asked for again.
    for (const char *refused : {"-1.1", "1e-320"}) {
        talvio.type(std::string(refused) + "\n");
        ASSERT_TRUE(talvio.readUntil("The rate must be a positive number that can be inverted."))
            << talvio.text();
        ASSERT_TRUE(talvio.readUntil(std::string("1 EUR = ? USD [") + refused + "]"))
            << talvio.text();
    }
    talvio.type("1.1\n");
    EXPECT_EQ(talvio.finish(), 0) << talvio.text();
    EXPECT_THAT(talvio.text(), HasSubstr("2.73"));

    // Saved: a later run without a terminal finds it.
    const auto rate = run({"rate", "EUR", "USD"});
    EXPECT_EQ(rate.status, 0) << rate.err;
    EXPECT_EQ(rate.out, "1.1\n");
}

TEST_F(TerminalSessionTest, noAnswerOnTheTerminalFailsWithoutSaving) {
    TerminalProcess talvio(withFiles({"convert", "100", "BEF", "USD"}));
    ASSERT_TRUE(talvio.started());
    ASSERT_TRUE(talvio.readUntil("1 EUR = ? USD")) << talvio.text();
    talvio.type("\x04"); // end of input: nobody answers
    EXPECT_EQ(talvio.finish(), 1) << talvio.text();
    EXPECT_THAT(talvio.text(), HasSubstr("no usable rate was entered for BEF to USD"));
    EXPECT_THAT(run({"rate", "EUR", "USD"}).err, HasSubstr("no exchange rate"));
}

TEST_F(TerminalSessionTest, anAnswerThatIsNotANumberFailsWithAMessage) {
    TerminalProcess talvio(withFiles({"rate", "USD", "GBP"}));
    ASSERT_TRUE(talvio.started());
    ASSERT_TRUE(talvio.readUntil("1 USD = ? GBP")) << talvio.text();
    talvio.type("abc\n");
    EXPECT_EQ(talvio.finish(), 1) << talvio.text();
    EXPECT_THAT(talvio.text(), HasSubstr("no usable rate was entered for USD to GBP"));
}

TEST_F(TerminalSessionTest, aLongStreamShowsItsProgressOnTheTerminal) {
    const kvt::test::TempDir dir;
    const auto input = dir.file("amounts.txt");
    {
        std::ofstream file(input);
        for (int i = 0; i < 100000; ++i)
            file << i << "\n";
    }
    TerminalProcess talvio(withFiles({"convert", "--raw", "BEF", "FRF"}), input.string());
    ASSERT_TRUE(talvio.started());
    EXPECT_EQ(talvio.finish(), 0) << talvio.text();
    EXPECT_THAT(talvio.text(), HasSubstr("100000 lines"));
}

// The results written so far may still wait in their block when a box is shown: they go first.
TEST_F(TerminalSessionTest, aBoxOnTheTerminalComesAfterTheResultsBeforeIt) {
    const kvt::test::TempDir dir;
    const auto input = dir.file("amounts.txt");
    std::ofstream(input) << "1000\n1e308\n2000\n";
    TerminalProcess talvio(withFiles({"convert", "--raw", "BEF", "FRF"}), input.string(),
                           TerminalProcess::Output::OnTerminal);
    ASSERT_TRUE(talvio.started());
    EXPECT_EQ(talvio.finish(), 1);
    EXPECT_EQ(talvio.text(), "162.61\r\n"
                             "Talvio: Error: Arithmetic overflow while rounding to the decimals of "
                             "the pattern\r\n"
                             "talvio: line 2: the conversion failed\r\n"
                             "\r\n"
                             "325.21\r\n");
}

TEST_F(TerminalSessionTest, aShortStreamShowsNoProgress) {
    const kvt::test::TempDir dir;
    const auto input = dir.file("amounts.txt");
    std::ofstream(input) << "1\n2\n";
    TerminalProcess talvio(withFiles({"convert", "--raw", "BEF", "FRF"}), input.string());
    ASSERT_TRUE(talvio.started());
    EXPECT_EQ(talvio.finish(), 0) << talvio.text();
    EXPECT_EQ(talvio.text(), "");
}

} // namespace
} // namespace talvio::test
