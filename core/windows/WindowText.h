#pragma once

#include <QString>
#include <cstdint>
#include <string>

namespace kvt::windows {

// A text of the library as a window shows it: the engine's line breaks ("\r\n") as Qt's.
QString windowText(const std::string &text);

// Message number `message` in the current language, as a window shows it.
QString messageText(std::int32_t message);

} // namespace kvt::windows
