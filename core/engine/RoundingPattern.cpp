#include "engine/RoundingPattern.h"

#include "model/Error.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace kvt {

namespace {

// Characters, not bytes: a UTF-8 continuation byte does not start one.
std::int32_t countCharacters(std::string_view text) {
    std::int32_t count = 0;
    for (const char c : text)
        count += (static_cast<unsigned char>(c) & 0xC0u) != 0x80u ? 1 : 0;
    return count;
}

bool isPlaceholder(char c) {
    return c == 'X' || c == 'x';
}

bool allDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (const char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

double readDigits(std::string_view digits) {
    // Exact for the short endings in use; long runs round like any decimal literal.
    double value = 0.0;
    if (digits.size() <= 15) {
        for (const char c : digits)
            value = value * 10.0 + (c - '0');
        return value;
    }
    return std::strtod(std::string(digits).c_str(), nullptr);
}

// The rounding of roundToPattern without a failure thrown: the step that left the finite
// doubles, or null when `result` holds the rounded amount.
const char *roundSteps(double magnitude, int sign, const PreparedRounding &rounding,
                       TargetDirection direction, double &result) noexcept {
    const RoundingPattern &pattern = rounding.pattern;
    const double scale = rounding.scale;
    if (!std::isfinite(scale))
        return "scaling to the decimals of the pattern";
    double units = std::floor(magnitude * scale + 0.5);
    if (!std::isfinite(units))
        return "rounding to the decimals of the pattern";

    // Without an ending there is nothing to aim at: the move would give back the units.
    const bool aimed = pattern.endingLength != 0 || pattern.target != 0.0;
    if (direction != TargetDirection::None && aimed) {
        const double block = rounding.block;
        double above = std::floor(units / block);
        const double ending = units - above * block;
        if (!std::isfinite(ending))
            return "moving to the target ending";
        if (sign == -1)
            direction =
                direction == TargetDirection::Up ? TargetDirection::Down : TargetDirection::Up;
        if (direction == TargetDirection::Up) {
            if (ending > pattern.target)
                above += 1.0;
        } else if (ending < pattern.target) {
            if (above == 0.0)
                sign = -sign; // the result crosses zero
            else
                above -= 1.0;
        }
        units = above * block + pattern.target;
        if (!std::isfinite(units))
            return "moving to the target ending";
    }

    const double value = static_cast<double>(sign) * units / scale;
    if (!std::isfinite(value))
        return "rounding the result";
    result = value + 0.0; // no negative zero reaches a caller
    return nullptr;
}

} // namespace

RoundingPattern RoundingPattern::parse(std::string_view pattern) {
    RoundingPattern result;
    const std::size_t point = pattern.find('.');
    if (point != std::string_view::npos)
        result.decimals = countCharacters(pattern.substr(point + 1));

    // The ending is read on the mask, the pattern without its first point.
    std::size_t lastX = std::string_view::npos;
    for (std::size_t i = pattern.size(); i-- > 0;) {
        if (isPlaceholder(pattern[i])) {
            lastX = i;
            break;
        }
    }
    const std::size_t endingStart = lastX == std::string_view::npos ? 0 : lastX + 1;
    std::string_view ending = pattern.substr(endingStart);
    std::string withoutPoint;
    if (point != std::string_view::npos && point >= endingStart) {
        withoutPoint.assign(ending.substr(0, point - endingStart));
        withoutPoint.append(ending.substr(point - endingStart + 1));
        ending = withoutPoint;
    }
    result.endingLength = countCharacters(ending);
    result.target = result.endingLength > 0 && allDigits(ending) ? readDigits(ending) : 0.0;
    return result;
}

bool isRoundingPattern(std::string_view text) {
    bool placeholder = false;
    bool point = false;
    for (const char c : text) {
        if (c == '.') {
            if (point)
                return false;
            point = true;
        } else if (isPlaceholder(c)) {
            placeholder = true;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return placeholder;
}

double powerOfTen(std::int32_t n) {
    static constexpr std::array<double, 23> kExact = {
        1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
        1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (n >= 0 && n < static_cast<std::int32_t>(kExact.size()))
        return kExact[static_cast<std::size_t>(n)];
    return std::pow(10.0, static_cast<double>(n));
}

double roundToPattern(double magnitude, int sign, const RoundingPattern &pattern,
                      TargetDirection direction) {
    double result = 0.0;
    if (const char *failedStep =
            roundSteps(magnitude, sign, PreparedRounding(pattern), direction, result))
        throw Error(err::Overflow, std::string("Arithmetic overflow while ") + failedStep);
    return result;
}

double tryRoundToPattern(double magnitude, int sign, const PreparedRounding &rounding,
                         TargetDirection direction) noexcept {
    double result = 0.0;
    if (roundSteps(magnitude, sign, rounding, direction, result) != nullptr)
        return std::numeric_limits<double>::quiet_NaN();
    return result;
}

} // namespace kvt
