#include "FunctionArguments.h"

#include "UnoText.h"
#include "engine/RoundingPattern.h"

#include <algorithm>
#include <cmath>
#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <optional>

namespace talvio::calc {

namespace {

std::optional<double> wholeNumber(const css::uno::Any &value) {
    double number = 0.0;
    if (!(value >>= number) || !std::isfinite(number) || number != std::trunc(number))
        return std::nullopt;
    return number;
}

std::string upperCased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return text;
}

std::string lowerCased(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; });
    return text;
}

} // namespace

void refuse(const std::string &why) {
    throw css::lang::IllegalArgumentException(uno(why), {}, 0);
}

kvt::MethodeArondiType methodArgument(const css::uno::Any &value, kvt::MethodeArondiType setting) {
    if (!value.hasValue())
        return setting;
    OUString word;
    if (value >>= word) {
        if (const auto method = kvt::methodNamed(lowerCased(utf8(word))))
            return *method;
    } else if (const auto number = wholeNumber(value)) {
        if (const auto method = kvt::methodNamed(std::to_string(static_cast<long long>(*number))))
            return *method;
    }
    refuse("method: legal, near, up, down or 130 to 133");
}

std::string patternArgument(const css::uno::Any &value, const std::string &setting) {
    if (!value.hasValue())
        return setting;
    OUString text;
    if (value >>= text) {
        std::string pattern = upperCased(utf8(text));
        if (kvt::isRoundingPattern(pattern))
            return pattern;
    }
    refuse("target: a rounding pattern such as X.XX, X.X9 or X99");
}

std::int16_t euroDecimalsArgument(const css::uno::Any &value, std::int16_t setting) {
    if (!value.hasValue())
        return setting;
    if (const auto number = wholeNumber(value); number && *number >= 3 && *number <= 15)
        return static_cast<std::int16_t>(*number);
    refuse("euro_decimals: a whole number from 3 to 15");
}

} // namespace talvio::calc
