#include "Terminal.h"

#include "TerminalMessageBoxes.h"
#include "TerminalRatePrompt.h"

#include <cerrno>
#include <fstream>
#include <iostream>
#include <memory>
#include <poll.h>
#include <streambuf>
#include <unistd.h>
#include <vector>

namespace talvio {

namespace {

// The terminal, open for the rest of the process, or null without one. Reading and writing go
// through two streams: one file stream that reads and then writes, without a seek in between,
// fails, and the next question could not be asked.
struct TerminalStreams {
    std::ifstream in;
    std::ofstream out;
};

TerminalStreams *controllingTerminal() {
    static const std::unique_ptr<TerminalStreams> tty = []() -> std::unique_ptr<TerminalStreams> {
        if (isatty(STDIN_FILENO) == 0 && isatty(STDERR_FILENO) == 0)
            return nullptr;
        auto streams = std::make_unique<TerminalStreams>();
        streams->in.open("/dev/tty");
        streams->out.open("/dev/tty");
        if (!streams->in.is_open() || !streams->out.is_open())
            return nullptr;
        // The results before a question are shown before it.
        streams->out.tie(&std::cout);
        return streams;
    }();
    return tty.get();
}

// A pipe holds 64 KiB on Linux: a block of that size fills or empties one in a single call.
constexpr std::size_t kBlockSize = 64 * 1024;

// Standard output's block, written out whole by one call where the system lets it.
class BlockOutput final : public std::streambuf {
public:
    explicit BlockOutput(int fd)
        : mFd(fd)
        , mBlock(kBlockSize) {
        reset();
    }

    bool pending() const { return pptr() != pbase(); }

protected:
    int_type overflow(int_type c) override {
        if (!writeOut())
            return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }

    int sync() override { return writeOut() ? 0 : -1; }

private:
    void reset() { setp(mBlock.data(), mBlock.data() + mBlock.size()); }

    // On a failure the rest of the block is dropped: the stream is bad from then on, as a file
    // stream would be.
    bool writeOut() {
        const char *next = pbase();
        while (next < pptr()) {
            const ssize_t count = ::write(mFd, next, static_cast<std::size_t>(pptr() - next));
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                break;
            next += count;
        }
        const bool written = next == pptr();
        reset();
        return written;
    }

    int mFd;
    std::vector<char> mBlock;
};

// Whether a read of fd would return at once: data, its end or an error are there. An
// interrupted look counts as no, which at worst writes the output a little early.
bool readableNow(int fd) {
    pollfd request{fd, POLLIN, 0};
    return ::poll(&request, 1, 0) > 0;
}

// Standard input's block. A read that would wait first writes out what standard output holds:
// whoever sent the lines so far may be waiting for their answers before sending more.
class BlockInput final : public std::streambuf {
public:
    BlockInput(int fd, BlockOutput &output)
        : mFd(fd)
        , mOutput(output)
        , mBlock(kBlockSize) {}

protected:
    int_type underflow() override {
        if (gptr() < egptr())
            return traits_type::to_int_type(*gptr());
        if (mOutput.pending() && !readableNow(mFd))
            mOutput.pubsync();
        ssize_t count = 0;
        do
            count = ::read(mFd, mBlock.data(), mBlock.size());
        while (count < 0 && errno == EINTR);
        if (count <= 0)
            return traits_type::eof();
        setg(mBlock.data(), mBlock.data(), mBlock.data() + count);
        return traits_type::to_int_type(*gptr());
    }

private:
    int mFd;
    BlockOutput &mOutput;
    std::vector<char> mBlock;
};

// Put in place of std::cin's and std::cout's buffers; put back at exit, after writing out what
// is left, before the library flushes std::cout for the last time.
class StandardStreams {
public:
    StandardStreams()
        : mOutput(STDOUT_FILENO)
        , mInput(STDIN_FILENO, mOutput)
        , mPreviousOutput(std::cout.rdbuf(&mOutput))
        , mPreviousInput(std::cin.rdbuf(&mInput)) {
        // mInput writes the output out when it matters; the tie would do it before every line.
        std::cin.tie(nullptr);
        std::cerr.tie(&std::cout);
    }
    ~StandardStreams() {
        std::cout.flush();
        std::cout.rdbuf(mPreviousOutput);
        std::cin.rdbuf(mPreviousInput);
    }
    StandardStreams(const StandardStreams &) = delete;
    StandardStreams &operator=(const StandardStreams &) = delete;

private:
    BlockOutput mOutput;
    BlockInput mInput;
    std::streambuf *mPreviousOutput;
    std::streambuf *mPreviousInput;
};

} // namespace

TerminalUi installTerminalUi() {
    TerminalStreams *tty = controllingTerminal();
    TerminalUi ui;
    ui.interactive = tty != nullptr;
    std::istream &in = ui.interactive ? static_cast<std::istream &>(tty->in) : std::cin;
    std::ostream &out = ui.interactive ? static_cast<std::ostream &>(tty->out) : std::cerr;
    ui.boxes = std::make_shared<TerminalMessageBoxes>(in, out, ui.interactive);
    kvt::setMessageBoxes(ui.boxes);
    kvt::setRatePrompt(std::make_shared<TerminalRatePrompt>(in, out, ui.interactive));
    return ui;
}

void installStandardStreams() {
    static StandardStreams streams;
}

} // namespace talvio
