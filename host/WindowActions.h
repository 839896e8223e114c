#pragma once

#include "Session.h"

#include <optional>
#include <string>
#include <string_view>

namespace talvio {

// What the window commands and the add-in's window actions do, once a window can open.

// The first-time wizard; the choices made there are saved when it closes.
void showWizard(Session &session, bool force);
// The about box, listing the version, the settings database and the message file.
void showAbout(Session &session, std::string_view version);
// The control panel, modal, on the user's settings; true when the user saved at least once.
bool showPanel(Session &session);
// Whether `what` is one of position, folder, color and font.
bool isPickable(std::string_view what);
// The user's choice as one line ("InsAutoBas 2", a path, "#RRGGBB", the font's fields); nullopt
// when cancelled. initial: the colour (#RRGGBB) or the folder to start from. A bad initial value
// throws kvt::Error.
std::optional<std::string> pick(Session &session, std::string_view what,
                                const std::optional<std::string> &initial);

} // namespace talvio
