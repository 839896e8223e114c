#pragma once

#include <cstddef>
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

// The shortest text that reads back as the same double, with "." ("1234.5", "1e+300"): fixed
// or scientific notation, whichever is shorter, fixed when they are as long.
std::string rawNumber(double value);

// The room rawNumberTo needs: the longest such text is "-2.2250738585072014e-308".
constexpr std::size_t kRawNumberRoom = 32;
// Writes rawNumber(value) at first, which has kRawNumberRoom characters, and gives its end.
char *rawNumberTo(char *first, double value);

} // namespace talvio
