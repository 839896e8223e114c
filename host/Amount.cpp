#include "Amount.h"

#include "model/Taux.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

namespace talvio {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A loop, not find_first_not_of: it runs once per line of a stream of millions.
std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool startsWithDigitOrPoint(std::string_view text) {
    return !text.empty() && ((text.front() >= '0' && text.front() <= '9') || text.front() == '.');
}

// Exact doubles, as is every whole number below 2^53.
constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// Most amounts are a few digits and a point. Then digits / 10^decimals, both exact, is rounded
// once to the nearest double, as from_chars rounds the text, and much sooner. Nothing for the
// rest (an exponent, more digits), which from_chars reads.
std::optional<double> plainDecimal(std::string_view text) {
    constexpr std::size_t kMostDigits = 15; // so that they stay below 2^53
    std::uint64_t digits = 0;
    std::size_t count = 0;
    std::size_t decimals = 0;
    bool point = false;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
            continue;
        }
        if (c < '0' || c > '9' || ++count > kMostDigits)
            return std::nullopt;
        digits = digits * 10 + static_cast<std::uint64_t>(c - '0');
        decimals += point ? 1 : 0;
    }
    if (count == 0)
        return std::nullopt;
    return static_cast<double>(digits) / kPowersOfTen[decimals];
}

// Writes digits / 10^decimals (digits > 0) in fixed notation, unless scientific notation is
// shorter: then nothing, and null.
char *fixedNotation(char *first, bool negative, std::int64_t digits, int decimals) {
    std::array<char, 20> text{};
    char *end = std::to_chars(text.data(), text.data() + text.size(), digits).ptr;
    const int count = static_cast<int>(end - text.data());
    int zeros = 0;
    while (zeros < count - 1 && text[static_cast<std::size_t>(count - 1 - zeros)] == '0')
        ++zeros;
    const int significant = count - zeros;
    // "0.05" and "12.5" against "5e-02" and "1.25e+01": the exponent here has two digits.
    const int fixedLength = decimals == 0 ? count : std::max(count, decimals + 1) + 1;
    const int scientificLength = significant + (significant > 1 ? 1 : 0) + 4;
    if (fixedLength > scientificLength)
        return nullptr;
    if (negative)
        *first++ = '-';
    const int whole = count - decimals;
    if (whole <= 0) {
        *first++ = '0';
        *first++ = '.';
        first = std::fill_n(first, -whole, '0');
        return std::copy(text.data(), end, first);
    }
    first = std::copy(text.data(), text.data() + whole, first);
    if (decimals == 0)
        return first;
    *first++ = '.';
    return std::copy(text.data() + whole, end, first);
}

// A converted amount has a few decimals, and its shortest text is found much faster than
// std::to_chars finds it by trying 0, 1, 2... decimals. Below 2^50, m / 10^k is computed exactly
// and rounded once, just as reading the text "m with k decimals" rounds it, so that text reads
// back as the value exactly when the division gives the value. The first k that does gives the
// fewest digits, and m is the only candidate: the value's rounding error is below a quarter of
// 10^-k. Null for anything else, which std::to_chars then writes.
char *fewDecimals(char *first, double value) {
    constexpr int kMostDecimals = 9;
    constexpr double kLimit = 0x1p50;
    const double magnitude = std::fabs(value);
    if (!(magnitude > 0.0)) // zero keeps its sign, and NaN is no amount
        return nullptr;
    for (int decimals = 0; decimals <= kMostDecimals; ++decimals) {
        const double power = kPowersOfTen[decimals];
        const double scaled = magnitude * power;
        if (!(scaled < kLimit))
            return nullptr;
        // The nearest whole number, and how far it is: both exact, as scaled has at most three
        // bits of fraction. Only a whole number within a quarter can be m, which spares most of
        // the divisions.
        const auto digits = static_cast<std::int64_t>(scaled + 0.5);
        const double distance = std::fabs(scaled - static_cast<double>(digits));
        if (distance < 0.25 && static_cast<double>(digits) / power == magnitude)
            return fixedNotation(first, value < 0.0, digits, decimals);
    }
    return nullptr;
}

} // namespace

std::optional<double> parseAmount(std::string_view text) {
    text = trimmed(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars would also take "inf", "nan" and hexadecimal spellings: only decimal digits
    // or a point may start an amount.
    if (!startsWithDigitOrPoint(text))
        return std::nullopt;
    double value = 0.0;
    if (const auto plain = plainDecimal(text)) {
        value = *plain;
    } else {
        const char *end = text.data() + text.size();
        const auto [stop, error] =
            std::from_chars(text.data(), end, value, std::chars_format::general);
        if (error != std::errc() || stop != end)
            return std::nullopt;
    }
    if (!std::isfinite(value))
        return std::nullopt;
    return negative ? -value : value;
}

std::optional<double> parseRate(std::string_view text) {
    const auto rate = parseAmount(text);
    if (!rate || !kvt::isUsableRate(*rate))
        return std::nullopt;
    return rate;
}

std::string quotedInput(std::string_view text) {
    constexpr std::size_t kShown = 80;
    std::size_t end = 0;
    std::size_t characters = 0;
    // Whole UTF-8 characters: a continuation byte does not start one.
    while (end < text.size() && characters < kShown) {
        ++end;
        while (end < text.size() && (static_cast<unsigned char>(text[end]) & 0xC0u) == 0x80u)
            ++end;
        ++characters;
    }
    // Built by appending: GCC 12 warns falsely (-Wrestrict) on "\"" + std::string at -O3.
    std::string quoted(1, '"');
    quoted += text.substr(0, end);
    quoted += '"';
    if (end < text.size()) {
        quoted += "... (";
        quoted += std::to_string(text.size());
        quoted += " bytes)";
    }
    return quoted;
}

char *rawNumberTo(char *first, double value) {
    if (char *end = fewDecimals(first, value))
        return end;
    return std::to_chars(first, first + kRawNumberRoom, value).ptr;
}

std::string rawNumber(double value) {
    std::array<char, kRawNumberRoom> buffer{};
    return std::string(buffer.data(), rawNumberTo(buffer.data(), value));
}

} // namespace talvio
