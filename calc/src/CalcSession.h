#pragma once

#include "facade/KVTMain.h"

#include <com/sun/star/uno/Reference.hxx>
#include <com/sun/star/uno/XComponentContext.hpp>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace talvio::calc {

// Talvio in this Calc process: one facade, shared by the cell functions and the commands, on
// the user's settings database and the message file the extension ships. Calc calls both
// under its own lock; ours keeps the facade safe from any caller that does not.
class CalcSession {
public:
    static CalcSession &instance();

    std::recursive_mutex &mutex() { return mMutex; }
    // The facade, set up on first use; a failure to set it up throws kvt::Error, and the next
    // call tries again.
    kvt::KVTMain &main();

    // Registers with the add-in manager as an add-in of type "Calc", on the first command: the
    // cell functions alone never load the bus. The bus is then served on a thread of its own,
    // as Calc runs no Qt event loop, and the other add-ins' events reach Calc's main thread.
    // A manager that cannot be reached is told in a box, once: the commands work without it.
    void ensureRegistered(const css::uno::Reference<css::uno::XComponentContext> &context);
    // Reloads the settings and recalculates every open spreadsheet: another process changed
    // them.
    void reload(const css::uno::Reference<css::uno::XComponentContext> &context);
    // Leaves the add-in manager and the bus before Calc ends.
    void end();

    // A file of the extension, from its root ("bin/talvio", "share/talvio/...").
    static std::string extensionFile(std::string_view relative);
    // The message file the extension ships.
    static std::string messageFile();

private:
    CalcSession() = default;

    std::recursive_mutex mMutex;
    bool mRegistrationTried = false;
    std::shared_ptr<void> mBus; // serves the bus on its own thread while held
    std::unique_ptr<kvt::EventSubscription> mEvents;
    std::unique_ptr<kvt::AddInEventHandler> mReloader;
    std::unique_ptr<kvt::KVTMain> mMain;
};

} // namespace talvio::calc
