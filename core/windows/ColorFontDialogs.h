#pragma once

#include "facade/Windows.h"

#include <QColor>
#include <cstdint>
#include <optional>

namespace kvt::windows {

// Hosts pass colours as 32-bit values with red in the lowest byte, then green, then blue
// (0x0000FF is red, 0xFF0000 blue). The top byte is no part of the colour and is ignored.
QColor hostToColor(std::int32_t color);
std::int32_t colorToHost(const QColor &color);

// The colour dialog, opened with colorDef selected: the colour chosen when the user confirms,
// nullopt when the user cancels.
std::optional<std::int32_t> ColorByDialog(std::int32_t colorDef);

// The font dialog, with strike-through, underline and a colour choice besides the font, preset
// from choice. True, with choice updated, when the user confirms; false, choice untouched, when
// the user cancels.
bool FontByDialog(FontChoice &choice);

} // namespace kvt::windows
