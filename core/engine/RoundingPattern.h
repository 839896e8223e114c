#pragma once

#include "kvt_export.h"

#include <cstdint>
#include <string_view>

namespace kvt {

enum class TargetDirection { None, Up, Down };

// A rounding pattern such as "X.XX", "X.X9", "X0" or "0.0X", read once: it rounds to
// `decimals` places, then aims the last `endingLength` of those digits at `target`.
// Decimals are the characters after the first "."; the ending is what follows the last "X"
// once that point is removed (all of it when there is no "X"); the target is that ending
// read as a number when it is made of digits only, else 0. "x" counts as "X".
struct KVT_EXPORT RoundingPattern {
    std::int32_t decimals = 0;
    std::int32_t endingLength = 0;
    double target = 0.0;

    static RoundingPattern parse(std::string_view pattern);

    // The pattern "0." followed by n "X": n decimals and no target ending.
    static constexpr RoundingPattern plainDecimals(std::int32_t n) { return {n, 0, 0.0}; }
};

// 10 to the power n as a double: exact up to 10^22, correctly rounded pow above.
double powerOfTen(std::int32_t n);

// A pattern with its powers of ten worked out, for rounding many amounts the same way.
struct PreparedRounding {
    RoundingPattern pattern;
    double scale = 1.0; // 10^decimals
    double block = 1.0; // 10^endingLength

    PreparedRounding() = default;
    explicit PreparedRounding(const RoundingPattern &parsed)
        : pattern(parsed)
        , scale(powerOfTen(parsed.decimals))
        , block(powerOfTen(parsed.endingLength)) {}
};

// Whether a text is a rounding pattern: "X" placeholders ("x" too), digits and at most one ".",
// with at least one "X". Other texts parse too, but into roundings that mean nothing.
KVT_EXPORT bool isRoundingPattern(std::string_view text);

// Rounds a converted magnitude (>= 0) to the pattern, the way every conversion does:
// half away from zero at the pattern's decimals, then, for Up or Down, on to the next or
// previous amount with the target ending. `sign` is the sign of the original amount (-1, 0
// or 1); up and down act on the magnitude, so a negative amount swaps them. Rounding down
// below the first target crosses zero. Throws Error when a step leaves the finite doubles.
double roundToPattern(double magnitude, int sign, const RoundingPattern &pattern,
                      TargetDirection direction);

// The same rounding for a caller that reports failures its own way: NaN where roundToPattern
// would throw, since a rounded amount is always finite. (A std::optional would come back
// through memory, and reading it back costs more than the rounding.)
double tryRoundToPattern(double magnitude, int sign, const PreparedRounding &rounding,
                         TargetDirection direction) noexcept;

} // namespace kvt
