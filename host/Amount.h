#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvio {

// An amount as scripts write it, whatever the user's locale: an optional sign, digits with "."
// as decimal separator, an optional exponent ("-1.5e3"). Blanks around it are ignored; anything
// else, and values that are not finite ("inf", "nan", "1e999"), is nullopt.
std::optional<double> parseAmount(std::string_view text);

// The shortest text that reads back as the same double, with "." ("1234.5", "1e+300").
std::string rawNumber(double value);

} // namespace talvio
