#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace talvio {

// An amount as scripts write it, whatever the user's locale: an optional sign, digits with "."
// as decimal separator, an optional exponent ("-1.5e3"). Blanks around it are ignored; anything
// else, and values that are not finite ("inf", "nan", "1e999"), is nullopt.
std::optional<double> parseAmount(std::string_view text);

// An exchange rate as scripts write it (an amount, above): nullopt unless the tables can hold
// it, a number greater than 0 that can be inverted.
std::optional<double> parseRate(std::string_view text);

// A text from the input quoted for a message: at most its first 80 characters, with a mark and
// its length when it is longer, so that a huge bad line does not flood the terminal.
std::string quotedInput(std::string_view text);

// The shortest text that reads back as the same double, with "." ("1234.5", "1e+300").
std::string rawNumber(double value);

} // namespace talvio
