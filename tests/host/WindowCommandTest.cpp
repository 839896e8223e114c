#include "HostProcess.h"
#include "XWindows.h"
#include "support/ChildProcess.h"

#include <gtest/gtest.h>

namespace talvio::test {
namespace {

const std::vector<std::vector<std::string>> kWindowCommands = {
    {"wizard", "--force"}, {"about"},         {"panel"},        {"pick", "position"},
    {"pick", "folder"},    {"pick", "color"}, {"pick", "font"},
};

TEST(HostWindows, withoutADisplayOrModuleEachWindowCommandSaysWhy) {
    struct Environment {
        std::vector<std::string> words;
        std::string reason;
    };
    const std::vector<Environment> environments = {
        {{"-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "QT_QPA_PLATFORM"},
         "No display: neither DISPLAY nor WAYLAND_DISPLAY is set."},
        {{"-u", "WAYLAND_DISPLAY", "DISPLAY=:97", "QT_QPA_PLATFORM=xcb"},
         "No display: the xcb server named by the environment does not answer."},
        {{"QT_QPA_PLATFORM=offscreen", "TALVIO_MODULE_DIR=/nonexistent"},
         "The module /nonexistent/kvtwindows.so cannot be loaded"},
    };
    HostFixture host;
    for (const auto &environment : environments) {
        for (const auto &command : kWindowCommands) {
            std::vector<std::string> words{"/usr/bin/env"};
            words.insert(words.end(), environment.words.begin(), environment.words.end());
            words.insert(words.end(), {TALVIO_BINARY, "--settings", host.settingsPath()});
            words.insert(words.end(), command.begin(), command.end());
            const ProcessResult result = runProgram(words);
            SCOPED_TRACE(command.back() + " with " + environment.words.back());
            EXPECT_EQ(result.status, 1);
            EXPECT_EQ(result.out, "");
            EXPECT_NE(result.err.find(environment.reason), std::string::npos) << result.err;
            if (environment.reason.starts_with("No display")) {
                EXPECT_NE(result.err.find("xvfb-run"), std::string::npos) << result.err;
            }
        }
    }
}

// Run by CTest under xvfb-run: each command opens its window on a real X server, the test
// closes it as the close box would, and the command ends as a cancel of that window does.
TEST(HostWindowsOnX, eachCommandOpensItsWindowAndTheCloseBoxEndsIt) {
    XWindows display;
    if (!display.connected())
        GTEST_SKIP() << "no X server: CTest runs this case under xvfb-run";
    struct Case {
        std::vector<std::string> command;
        std::string title;
        int status;
        std::string out;
    };
    const std::vector<Case> cases = {
        {{"about"}, "About Talvio", 0, ""},
        {{"panel"}, "Talvio – Control panel", 0, ""},
        {{"wizard", "--force"}, "Talvio – Getting started", 0, ""},
        {{"pick", "position"}, "Result position", 0, "0 InsautoMilieu"},
        {{"pick", "folder"}, "Choose a folder", 1, ""},
        {{"pick", "color"}, "Select Color", 1, ""},
        {{"pick", "font"}, "Font", 1, ""},
    };
    HostFixture host;
    for (const Case &test : cases) {
        SCOPED_TRACE(test.command.back());
        std::vector<std::string> arguments{"--settings", host.settingsPath(), "--messages",
                                           TALVIO_TEST_MESSAGE_FILE};
        arguments.insert(arguments.end(), test.command.begin(), test.command.end());
        kvt::test::ChildProcess talvio(TALVIO_BINARY, arguments);
        std::string title;
        const std::uint32_t window = display.waitForWindow(
            [&](const std::string &text) { return text == test.title; }, title);
        ASSERT_NE(window, 0u) << "no window came";
        display.close(window);
        EXPECT_EQ(talvio.wait(), test.status) << title;
        const auto line = talvio.readLine(std::chrono::seconds(1));
        EXPECT_EQ(line.value_or(""), test.out);
    }
}

} // namespace
} // namespace talvio::test
