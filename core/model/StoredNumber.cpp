#include "model/StoredNumber.h"

#include "model/Error.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace kvt {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string formatStoredNumber(double value) {
    if (!std::isfinite(value))
        return "0";
    // "%.15g" without the C library's locale: fifteen significant digits, trailing zeros dropped.
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                      std::chars_format::general, 15);
    return std::string(buffer.data(), result.ptr);
}

std::optional<double> tryParseStoredNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars would also take "inf" and "nan"; a stored number starts with a digit or with
    // "." and a digit.
    const bool startsNumber =
        !text.empty()
        && (isDigit(text.front()) || (text.size() > 1 && text[0] == '.' && isDigit(text[1])));
    if (!startsNumber)
        return 0.0;
    double magnitude = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), magnitude,
                                        std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range)
        return std::nullopt;
    return negative ? -magnitude : magnitude;
}

double parseStoredNumber(std::string_view section, std::string_view key, std::string_view text) {
    if (const auto value = tryParseStoredNumber(text))
        return *value;
    throw Error(err::Overflow, "The setting " + std::string(section) + " / " + std::string(key)
                                   + " holds \"" + std::string(text)
                                   + "\", whose number is too large or too small to be read.");
}

} // namespace kvt
