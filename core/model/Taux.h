#pragma once

#include <cmath>
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

// A rate the tables can hold: a number above 0 that, like its inverse, is a normal double (so
// neither overflows when inverted), since every rate is also read the other way. A negative
// rate would lose the sign of every amount.
inline bool isUsableRate(double rate) {
    return rate > 0.0 && std::isnormal(rate) && std::isnormal(1.0 / rate);
}

} // namespace kvt
