#pragma once

#include <string>

namespace kvt {

// An exchange rate, kept under code B in the ColTaux of currency A: 1 A = Change B.
struct Taux {
    double Change = 0.0;
    // True for a given rate (fixed euro rate, or entered by the user). False for a
    // placeholder whose Change is 0 or a value derived for display only.
    bool Exist = false;
    std::string Devise; // the code B of the other currency
};

} // namespace kvt
