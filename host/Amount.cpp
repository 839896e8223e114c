#include "Amount.h"

#include "model/Taux.h"

#include <array>
#include <charconv>
#include <cmath>
#include <system_error>

namespace talvio {

namespace {

std::string_view trimmed(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool startsWithDigitOrPoint(std::string_view text) {
    return !text.empty() && ((text.front() >= '0' && text.front() <= '9') || text.front() == '.');
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
    const char *end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, std::chars_format::general);
    if (error != std::errc() || stop != end || !std::isfinite(value))
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

std::string rawNumber(double value) {
    std::array<char, 32> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

} // namespace talvio
