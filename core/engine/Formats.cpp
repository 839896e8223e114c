#include "engine/Formats.h"

#include "engine/RoundingPattern.h"
#include "model/CaseInsensitive.h"

#include <algorithm>

namespace kvt {

std::int32_t NrOfDec(std::string_view s) {
    return RoundingPattern::parse(s).decimals;
}

std::string LegalFormatFromNrDec(std::int32_t n) {
    std::string pattern = "X";
    if (n > 0) {
        pattern += '.';
        pattern.append(static_cast<std::size_t>(n), 'X');
    }
    return pattern;
}

bool CheckLegalFormat(std::string_view s) {
    const std::string upper = upperCased(s);
    if (upper.empty() || upper.front() != 'X')
        return false;
    const std::string_view rest = std::string_view(upper).substr(1);
    if (rest.empty())
        return true;
    return rest.front() == '.'
           && std::all_of(rest.begin() + 1, rest.end(), [](char c) { return c == 'X'; });
}

std::string FormatFromPattern(std::string_view p) {
    const std::int32_t decimals = NrOfDec(p);
    std::string code = "#,##0";
    if (decimals >= 1) {
        code += '.';
        code.append(static_cast<std::size_t>(decimals), '0');
    }
    return code;
}

} // namespace kvt
