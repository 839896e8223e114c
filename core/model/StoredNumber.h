#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvt {

// Numbers inside stored values (rates, the last-update date) are written the same way whatever
// the user's locale, so that a store written under one decimal separator reads under another.

// Decimal text with "." as decimal separator and at most 15 significant digits, shortest form:
// 40.3399, 0.333333333333333, 1e+20. A value that is not finite is written "0", which is what
// reading its text would give anyway.
std::string formatStoredNumber(double value);

// The number at the start of a stored text: blanks (spaces, tabs), an optional sign, then digits
// with an optional "." fraction and an optional exponent; whatever follows is ignored. A text
// without a leading number ("", "abc", "nan") reads as 0. Nothing here depends on the locale.
// nullopt when the leading number lies outside the range of a double ("1e999").
std::optional<double> tryParseStoredNumber(std::string_view text);

// As tryParseStoredNumber; a number out of range throws kvt::Error (err::Overflow) naming the
// setting (section and key) and its text.
double parseStoredNumber(std::string_view section, std::string_view key, std::string_view text);

} // namespace kvt
