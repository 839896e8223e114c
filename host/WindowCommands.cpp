// The commands that open the library's windows as a host add-in would: the first-time wizard,
// the about box and the four pickers. Each checks first that a window can open, so that without
// a display it ends at once with a message that says how to get one.
#include "Commands.h"
#include "Session.h"
#include "WindowActions.h"
#include "facade/KVTMain.h"
#include "facade/Windows.h"
#include "model/Error.h"

#include <ostream>

#ifndef TALVIO_VERSION
#error "TALVIO_VERSION must be defined by the build"
#endif

namespace talvio {

namespace {

// The session of a window command: the windows checked, then the facade on the store, with
// message boxes and the rate question in windows for as long as the command runs.
struct WindowSession {
    explicit WindowSession(const Invocation &invocation)
        : checked((kvt::requireWindows(), true))
        , session(invocation.settingsPath, invocation.messagesPath) {}

    bool checked;
    Session session;
    kvt::WindowDialogs dialogs;
};

} // namespace

int runWizard(const Invocation &invocation, Streams &) {
    WindowSession windows(invocation);
    showWizard(windows.session, invocation.hasSwitch("--force"));
    return kSuccess;
}

int runAbout(const Invocation &invocation, Streams &) {
    WindowSession windows(invocation);
    showAbout(windows.session, TALVIO_VERSION);
    return kSuccess;
}

int runPanel(const Invocation &invocation, Streams &streams) {
    WindowSession windows(invocation);
    if (showPanel(windows.session))
        streams.out << "saved\n";
    return kSuccess;
}

int runPick(const Invocation &invocation, Streams &streams) {
    const std::string what = invocation.arguments.front();
    const std::optional<std::string> initial = invocation.option("--initial");
    if (!isPickable(what))
        throw UsageError{"cannot pick \"" + what + "\": pick position, folder, color or font",
                         std::string(invocation.command->usage)};
    WindowSession windows(invocation);
    const std::optional<std::string> choice = pick(windows.session, what, initial);
    if (!choice)
        return kFailure;
    streams.out << *choice << "\n";
    return kSuccess;
}

} // namespace talvio
