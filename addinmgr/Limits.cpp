#include "Limits.h"

#include <algorithm>
#include <string>

namespace addinmgr {

std::size_t characterCount(std::string_view utf8) {
    // Every character has exactly one byte that is not a continuation byte (10xxxxxx).
    return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
    }));
}

void requireNameLength(std::string_view what, std::string_view text) {
    const std::size_t characters = characterCount(text);
    if (characters > kLongestName)
        throw LimitExceeded(std::string(what) + " has at most " + std::to_string(kLongestName)
                            + " characters; this one has " + std::to_string(characters));
}

} // namespace addinmgr
