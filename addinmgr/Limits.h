#pragma once

#include <cstddef>
#include <stdexcept>
#include <string_view>

// What the manager keeps for its clients and sends them is bounded, so that no client on the
// bus can make it fail, and each bound is refused with an error that states it.
namespace addinmgr {

// Characters of an add-in type and of the editor's name.
inline constexpr std::size_t kLongestName = 256;
// Bytes of an answer's text: well below the 32 MiB a bus daemon carries by default, beyond which
// the bus would close the manager's connection.
inline constexpr std::size_t kLongestAnswer = 8 * 1024 * 1024;

class LimitExceeded : public std::length_error {
public:
    using std::length_error::length_error;
};

// The characters (code points) of a UTF-8 text.
std::size_t characterCount(std::string_view utf8);

// Throws LimitExceeded naming what ("An add-in type") when text is longer than kLongestName.
void requireNameLength(std::string_view what, std::string_view text);

} // namespace addinmgr
