#pragma once

#include "engine/NumberFormat.h"

#include <string>

namespace talvio {

// A converted amount as the host writes it: with the result's number-format code in the
// user's separators, then a blank and the currency's alias when there is one to show.
std::string formattedAmount(double value, const kvt::NumberFormat &format,
                            const kvt::NumberSeparators &separators, const std::string &alias);

// Parses a number-format code once, for a whole stream; a code the formatter refuses fails
// with kvt::Error naming it.
kvt::NumberFormat parsedFormat(const std::string &code);

} // namespace talvio
