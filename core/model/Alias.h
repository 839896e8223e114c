#pragma once

#include <string>

namespace kvt {

// One name under which a currency may appear in a cell or a number format ("FB", "BEF").
struct Alias {
    std::string Value;
    bool ISO = false; // true only for the alias that is the currency code itself
};

} // namespace kvt
