#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvt {

// Conversions between the stored text of a setting and its value. Every setting is stored as
// text: switches as "ON"/"OFF", numbers as plain decimal integers.

// A whole-number setting accepts optional blanks (spaces, tabs) around the number, an optional
// "+" or "-", then at least one decimal digit (leading zeros allowed), and the value must fit in
// 16 bits. Anything else ("", "5.0", "1e2", "0x10", "12abc", "- 5") is refused: a hand-edited
// typo then shows up as an error instead of being read as some other number.
std::optional<std::int16_t> tryParseInt16(std::string_view text);

// As tryParseInt16; a refused text throws kvt::Error (err::TypeMismatch) naming the setting's
// key and the text.
std::int16_t parseInt16(std::string_view key, std::string_view text);

// A switch is on exactly when its text, upper-cased, is "ON"; any other text ("1", "yes", " ON")
// reads as off.
bool parseSwitch(std::string_view text);
std::string formatSwitch(bool on);

} // namespace kvt
