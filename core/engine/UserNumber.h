#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kvt {

// The marks of the user's locale for numbers: decimal separator and digit grouping.
struct NumberPunctuation {
    std::string decimal = ".";
    std::string grouping;
};

// The C locale's punctuation (localeconv), that is the one the host selected with setlocale.
NumberPunctuation userNumberPunctuation();

// A number the user typed, such as a rate. Blanks (spaces, tabs) around, an optional sign,
// digits with at most one decimal separator, an optional exponent ("1,5E3"); the result must be
// finite. The decimal separator is the locale's; "." is taken too, as many users type it
// whatever their locale, except where "." groups digits: there "1.936" could mean a thousand
// times more than it reads, so it is refused rather than guessed. Digit grouping is never
// taken. Anything else ("", "abc", "1,5 EUR", "inf", "0x10") is nullopt.
std::optional<double> parseUserNumber(std::string_view text, const NumberPunctuation &marks);

// As parseUserNumber with the user's punctuation; a refused text throws kvt::Error
// (err::TypeMismatch) quoting it.
double userNumber(std::string_view text);

} // namespace kvt
