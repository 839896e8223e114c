#pragma once

#include <cstdint>

namespace kvt {

// The target values offered for rounding up and down, in the order of the list that offers
// them, with the pattern each stands for. Each value is also the message number of its label.
enum ValCibleSupTarget : std::int32_t {
    SupCentieme = 170, // "X.XX"
    Sup009 = 171,      // "X.X9"
    Supdizieme = 172,  // "X.X"
    Sup09 = 173,       // "X.9"
    SupUnite = 174,    // "X"
    Sup9 = 175,        // "X9"
    SupDizaine = 176,  // "X0"
    Sup99 = 177,       // "X99"
    SupCentaine = 178, // "X00"
};

enum ValCibleinfTarget : std::int32_t {
    InfCentieme = 180, // "X.XX"
    Inf009 = 181,      // "X.X9"
    InfDizieme = 182,  // "X.X"
    Inf09 = 183,       // "X.9"
    InfUnite = 184,    // "X"
    Inf9 = 185,        // "X9"
    InfDizaine = 186,  // "X0"
    Inf99 = 187,       // "X99"
    InfCentaine = 188, // "X00"
};

// Precisions of rounding to the nearest value, for hosts that offer them; a NearValue
// conversion takes its precision from the pattern it is given, so the engine reads none.
enum ValCibleNearValue : std::int32_t {
    NearMillieme = 140,
    NearCentieme = 141,
    NearDizieme = 142,
    NearUnite = 143,
    NearDizaine = 144,
    NearCentaine = 145,
    NearMillier = 146,
};

} // namespace kvt
