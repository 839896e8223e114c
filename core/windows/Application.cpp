#include "windows/Application.h"

#include "model/Error.h"

#include <QApplication>
#include <cstdlib>
#include <dlfcn.h>
#include <memory>
#include <string_view>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace kvt::windows {

namespace {

std::string environment(const char *name) {
    const char *value = std::getenv(name);
    return value ? value : "";
}

// A connection to the X server of DISPLAY through libxcb (what Qt's X platform uses), so that
// the address and the authorisation are checked as Qt will check them. Loaded only here: the
// library links no X library. It stays open until the application has its own connection:
// an X server with no client left resets itself (Xvfb does), and would refuse Qt's connection
// while it does.
class XProbe {
public:
    XProbe() {
        mLibrary = dlopen("libxcb.so.1", RTLD_NOW | RTLD_LOCAL);
        if (!mLibrary)
            return;
        using Connect = void *(*)(const char *, int *);
        using HasError = int (*)(void *);
        auto connect = reinterpret_cast<Connect>(dlsym(mLibrary, "xcb_connect"));
        auto hasError = reinterpret_cast<HasError>(dlsym(mLibrary, "xcb_connection_has_error"));
        mDisconnect = reinterpret_cast<Disconnect>(dlsym(mLibrary, "xcb_disconnect"));
        if (!connect || !hasError || !mDisconnect)
            return;
        mConnection = connect(nullptr, nullptr);
        mAnswers = mConnection && hasError(mConnection) == 0;
    }
    ~XProbe() {
        if (mConnection)
            mDisconnect(mConnection);
        if (mLibrary)
            dlclose(mLibrary);
    }
    XProbe(const XProbe &) = delete;
    XProbe &operator=(const XProbe &) = delete;

    bool answers() const { return mAnswers; }

private:
    using Disconnect = void (*)(void *);
    void *mLibrary = nullptr;
    void *mConnection = nullptr;
    Disconnect mDisconnect = nullptr;
    bool mAnswers = false;
};

// The probe of the last check, held until the application is made.
std::unique_ptr<XProbe> &heldProbe() {
    static std::unique_ptr<XProbe> probe;
    return probe;
}

bool xServerAnswers() {
    heldProbe() = std::make_unique<XProbe>();
    return heldProbe()->answers();
}

// Whether a Wayland compositor listens on its socket.
bool waylandAnswers() {
    std::string display = environment("WAYLAND_DISPLAY");
    if (display.empty())
        return false;
    if (display.front() != '/') {
        const std::string runtime = environment("XDG_RUNTIME_DIR");
        if (runtime.empty())
            return false;
        display = runtime + "/" + display;
    }
    sockaddr_un address{};
    if (display.size() >= sizeof(address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    display.copy(address.sun_path, display.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool answers = connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    close(fd);
    return answers;
}

// Platforms that draw without a display server.
bool needsNoServer(std::string_view platform) {
    return platform == "offscreen" || platform == "minimal" || platform == "vnc"
           || platform == "linuxfb" || platform == "eglfs";
}

const char *const kHowToGetOne =
    "Talvio's windows need a graphical session: run it from the desktop (DISPLAY or "
    "WAYLAND_DISPLAY set), under xvfb-run, or with QT_QPA_PLATFORM=offscreen to draw without a "
    "screen.";

// The platform Qt is to use: the one asked for (QT_QPA_PLATFORM, up to its options), else the
// first display server that answers. Empty when none does.
std::string choosePlatform(std::string &problem) {
    std::string asked = environment("QT_QPA_PLATFORM");
    asked = asked.substr(0, asked.find(':'));
    if (!asked.empty() && asked.find(';') == std::string::npos) {
        if (needsNoServer(asked))
            return asked;
        if (asked == "xcb" && xServerAnswers())
            return asked;
        if (asked.starts_with("wayland") && waylandAnswers())
            return asked;
        if (asked != "xcb" && !asked.starts_with("wayland")) {
            problem = "The window platform \"" + asked
                      + "\" (QT_QPA_PLATFORM) is not one Talvio "
                        "can check. "
                      + kHowToGetOne;
            return {};
        }
        problem = "No display: the " + asked + " server named by the environment does not answer. "
                  + kHowToGetOne;
        return {};
    }
    if (waylandAnswers())
        return "wayland";
    if (!environment("DISPLAY").empty() && xServerAnswers())
        return "xcb";
    problem =
        environment("DISPLAY").empty() && environment("WAYLAND_DISPLAY").empty()
            ? std::string("No display: neither DISPLAY nor WAYLAND_DISPLAY is set. ") + kHowToGetOne
            : std::string("No display: the display server named by the environment does "
                          "not answer. ")
                  + kHowToGetOne;
    return {};
}

std::string &chosenPlatform() {
    static std::string platform;
    return platform;
}

} // namespace

std::string displayProblem() {
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        return {};
    if (QCoreApplication::instance())
        return "This process started Qt without windows (for the session bus) before its first "
               "window; a host that shows windows opens one before it uses the bus.";
    std::string problem;
    chosenPlatform() = choosePlatform(problem);
    return problem;
}

void ensureApplication() {
    if (qobject_cast<QApplication *>(QCoreApplication::instance()))
        return;
    const std::string problem = displayProblem();
    if (!problem.empty())
        throw Error(err::Windows, problem);
    // Qt keeps references to argc and argv for the application's lifetime; the platform goes
    // by argument so that Qt tries only the one that answered.
    static std::string platform = chosenPlatform();
    static char name[] = "talvio";
    static char option[] = "-platform";
    static char *argv[] = {name, option, platform.data(), nullptr};
    static int argc = 3;
    // Never deleted: a host may still call through the library while static objects end.
    new QApplication(argc, argv);
    heldProbe().reset();
}

} // namespace kvt::windows
