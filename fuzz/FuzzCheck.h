#pragma once

#include <cstdlib>

namespace talvio::fuzz {

// A property that does not hold is a crash, which libFuzzer reports with the input that broke it.
inline void check(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace talvio::fuzz
