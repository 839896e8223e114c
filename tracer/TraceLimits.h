#pragma once

#include <cstddef>
#include <stdexcept>
#include <string_view>

// What the viewer keeps for its clients and sends them is bounded, so that no client on the bus
// can make it fail, and each bound is refused with an error that states it.
namespace kvt::tracer {

// Bytes of one reported line, and of a window's title.
inline constexpr std::size_t kLongestLine = 64 * 1024;
// Bytes of a trace as text: well below the 32 MiB a bus daemon carries by default, beyond
// which the bus would close the viewer's connection.
inline constexpr std::size_t kLongestText = 8 * 1024 * 1024;
inline constexpr std::size_t kWindowsPerClient = 100;
inline constexpr std::size_t kWindowsInAll = 1000;

class LimitExceeded : public std::length_error {
public:
    using std::length_error::length_error;
};

// Throws LimitExceeded naming what ("A line") when text is longer than kLongestLine.
void requireLineLength(std::string_view what, std::string_view text);
// Throws LimitExceeded when a client that holds held windows, while inAll are open, may not
// open one more.
void requireWindowRoom(std::size_t held, std::size_t inAll);

} // namespace kvt::tracer
