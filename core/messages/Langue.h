#pragma once

#include <cstdint>

namespace kvt {

// The six languages of every text, always in this order.
enum Langue : std::int16_t { DE = 0, EN = 1, ES = 2, FR = 3, IT = 4, NL = 5 };

inline constexpr std::int16_t kNrLanguages = 6;

} // namespace kvt
