#pragma once

#include "kvt_export.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kvt {

// Decimals of a pattern: the characters after its first "." (0 without one).
std::int32_t NrOfDec(std::string_view s);

// The legal pattern of a number of decimals: "X", or "X." and one "X" per decimal.
std::string LegalFormatFromNrDec(std::int32_t n);

// True for a legal pattern, in either case: "X", "X.", "X.X", "X.XX", ...
KVT_EXPORT bool CheckLegalFormat(std::string_view s);

// The spreadsheet number-format code with as many decimals as the pattern:
// "#,##0" or "#,##0." followed by one "0" per decimal. The target ending does not matter.
std::string FormatFromPattern(std::string_view p);

} // namespace kvt
