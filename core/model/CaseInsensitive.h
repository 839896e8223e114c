#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvt {

// Key comparison of the collections and of the settings store: ASCII letters without regard
// to case, everything else byte for byte. Inline: currency lookups sit on the conversion path.
constexpr char asciiUpper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr bool equalsIgnoreCase(std::string_view a, std::string_view b) noexcept {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const char x = a[i];
        const char y = b[i];
        if (x == y)
            continue;
        // Different bytes match only as the two cases of one ASCII letter.
        const char lower = static_cast<char>(x | 0x20);
        if ((x ^ y) != 0x20 || lower < 'a' || lower > 'z')
            return false;
    }
    return true;
}

// Hash of a key that ignores ASCII case. Setting bit 0x20 of every byte maps the two cases of
// a letter to one value (and merges a few other pairs, which equality then tells apart).
// Keys are mostly three-letter codes: their bytes are packed into words and mixed once per
// word rather than once per byte.
constexpr std::uint64_t caseInsensitiveHash(std::string_view key) noexcept {
    std::uint64_t hash = 0x9E3779B97F4A7C15ull ^ key.size();
    std::uint64_t word = 0;
    std::size_t shift = 0;
    for (const char c : key) {
        word |= static_cast<std::uint64_t>(static_cast<unsigned char>(c | 0x20)) << shift;
        shift += 8;
        if (shift == 64) {
            hash = (hash ^ word) * 0xBF58476D1CE4E5B9ull;
            word = 0;
            shift = 0;
        }
    }
    hash = (hash ^ word) * 0x94D049BB133111EBull;
    return hash ^ (hash >> 31);
}

// ASCII upper-casing: rounding patterns are kept and compared upper-cased ("0.0x" is "0.0X").
inline std::string upperCased(std::string_view text) {
    std::string upper(text);
    for (char &c : upper)
        c = asciiUpper(c);
    return upper;
}

} // namespace kvt
