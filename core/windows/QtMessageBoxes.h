#pragma once

#include "messages/MessageBoxes.h"
#include "windows/WindowText.h"

namespace kvt::windows {

// Whether windows can open in this process, making the application on first use. When they
// cannot, the reason goes to stderr (once per process) and the caller behaves as a box nobody
// can answer: a box shown from a failure handler must not fail in turn.
bool windowsAvailable();

// Message boxes and the input box as modal Qt dialogs, titled "Talvio" unless the request
// names a title. The first button of a set is the default (Enter); Escape and the close box
// take the set's safe answer (OK, Cancel, or No for Yes/No). Texts are shown as plain text, so
// a quoted entry such as "<b>" reads as typed. Without a display, a box is reported on stderr
// and takes its safe answer, and the input box is cancelled.
class QtMessageBoxes final : public MessageBoxes {
public:
    BoxAnswer show(const BoxRequest &request) override;
    std::optional<std::string> input(const InputRequest &request) override;
};

} // namespace kvt::windows
