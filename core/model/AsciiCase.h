#pragma once

#include <algorithm>
#include <string>
#include <string_view>

namespace kvt {

// Letter case the way settings names and stored switches compare it: only the ASCII letters fold,
// every other byte (UTF-8 included) stays as it is and compares by its unsigned value.
inline constexpr char asciiToLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline constexpr char asciiToUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

inline std::string asciiUpper(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), asciiToUpper);
    return result;
}

// Negative, zero or positive like strcmp, after folding A-Z to a-z; a prefix sorts first.
// This is the order of SQLite's NOCASE collation, so every settings backend enumerates alike.
inline int asciiCaseCompare(std::string_view a, std::string_view b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const auto ca = static_cast<unsigned char>(asciiToLower(a[i]));
        const auto cb = static_cast<unsigned char>(asciiToLower(b[i]));
        if (ca != cb)
            return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

inline bool asciiCaseEquals(std::string_view a, std::string_view b) {
    return a.size() == b.size() && asciiCaseCompare(a, b) == 0;
}

} // namespace kvt
