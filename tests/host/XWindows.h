#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

struct xcb_connection_t;

namespace talvio::test {

// The X server of $DISPLAY as a user sees it: the top-level windows shown and their titles, and
// the close box (the window manager's delete request), for tests of programs that open windows.
class XWindows {
public:
    XWindows();
    ~XWindows();
    XWindows(const XWindows &) = delete;
    XWindows &operator=(const XWindows &) = delete;

    bool connected() const { return mConnection != nullptr; }
    // The first shown top-level window whose title satisfies matches, once one is; 0 when none
    // came within the wait. Its title goes to title.
    std::uint32_t waitForWindow(const std::function<bool(const std::string &)> &matches,
                                std::string &title,
                                std::chrono::milliseconds wait = std::chrono::seconds(20));
    // What a click on the window's close box sends.
    void close(std::uint32_t window);

private:
    std::string title(std::uint32_t window);
    std::uint32_t atom(const char *name);

    xcb_connection_t *mConnection = nullptr;
    std::uint32_t mRoot = 0;
};

} // namespace talvio::test
