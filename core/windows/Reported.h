#pragma once

#include "messages/Message.h"
#include "messages/MsgIds.h"

#include <exception>

namespace kvt::windows {

// Runs a handler of a window. Its failure is told to the user in a critical box (message 1048,
// the handler's name in parentheses, the description) and the window goes on: a failure must
// not reach the event loop, which cannot carry it.
template<class Work>
void reported(const char *handler, Work &&work) {
    try {
        work();
    } catch (const std::exception &failure) {
        try {
            sharedMessage()->Msgbox(
                Translate(msg::OperationFailed) + " (" + handler + "): " + failure.what(), true);
        } catch (const std::exception &) {
        }
    }
}

} // namespace kvt::windows
