#pragma once

#include "kvt_export.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kvt {

// The separators a number is written with. `current()` reads them from localeconv(), that is
// from the LC_NUMERIC category of the C locale the process has set with setlocale (or with
// std::locale::global and a named locale); a process that never sets one writes "." and no
// thousands separator, as the "C" locale defines. Either may be several bytes (UTF-8).
struct KVT_EXPORT NumberSeparators {
    std::string decimal = ".";
    std::string thousands; // empty: digits are not grouped even when a code asks for it

    static NumberSeparators current();
};

// The default conversion of a double to text, as a rate is shown: the value rounded to 15
// significant digits, half away from zero on its decimal form, then written as short as
// possible (no trailing zeros, no separator without decimals), without grouping. Values whose
// leading digit lies from 10^-4 up to 10^14 are written in full ("123456789012345",
// "0.0001"); beyond that range the scientific form takes over, with "E", a sign and at least
// two exponent digits ("1E+15", "1.5E-05"): writing them out would only add zeros that carry
// no information. Zero (also -0) is "0"; NaN and infinities are "NaN", "Infinity",
// "-Infinity".
KVT_EXPORT std::string numberText(double value, const NumberSeparators &separators);
KVT_EXPORT std::string numberText(double value);

// A spreadsheet number-format code of the kinds Talvio writes, read once:
//   integer part   "#" and "0" placeholders, "#" before "0", a "," between two placeholders
//                  asks for thousands grouping ("#,##0", "0");
//   decimals       optional "." followed by "0" (always shown) then "#" (shown when
//                  significant) placeholders ("0.0#############", "#,##0.0##");
//   suffix         optional literal text: plain characters, "quoted text" or \x ("#,##0 ms",
//                  "#,##0 \"FB\"").
// Anything else (several sections, percent, exponents, fractions, "?", "@", "*", "_", "[...]",
// a scaling "," after the last placeholder, a prefix) is refused, as are codes longer than
// 255 characters. Letters of the suffix stand for themselves: these codes carry no dates.
struct KVT_EXPORT NumberFormat {
    bool grouping = false;
    std::int32_t minIntegerDigits = 0;
    std::int32_t minDecimals = 0;
    std::int32_t maxDecimals = 0;
    bool decimalPoint = false; // the code has a "."; the separator is then always written
    std::string suffix;

    static std::optional<NumberFormat> parse(std::string_view code);
};

// Writes a value with a number-format code. The value is first taken to its 15 significant
// digits (as numberText does), then rounded half away from zero to the last shown decimal, so
// 1.005 with "0.00" gives "1.01" although the double lies just below 1.005. Integer digits
// are grouped by three with the thousands separator when the code asks for it; a minus sign
// is written only when the shown value is not zero. NaN and infinities are written as by
// numberText, followed by the suffix.
KVT_EXPORT std::string formatNumber(double value, const NumberFormat &format,
                                    const NumberSeparators &separators);
// Same with a code text; throws Error (invalid argument) for a code that NumberFormat::parse
// refuses. Without separators, the current ones.
KVT_EXPORT std::string formatNumber(double value, std::string_view code,
                                    const NumberSeparators &separators);
KVT_EXPORT std::string formatNumber(double value, std::string_view code);

} // namespace kvt
