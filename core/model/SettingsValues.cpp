#include "model/SettingsValues.h"

#include "model/CaseInsensitive.h"
#include "model/Error.h"

#include <limits>

namespace kvt {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trimBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

} // namespace

std::optional<std::int16_t> tryParseInt16(std::string_view text) {
    text = trimBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;

    // The magnitude may reach 32768 (for -32768); stop as soon as it passes that.
    constexpr std::int32_t kMaxMagnitude = -std::int32_t{std::numeric_limits<std::int16_t>::min()};
    std::int32_t magnitude = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > kMaxMagnitude)
            return std::nullopt;
    }
    const std::int32_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

std::int16_t parseInt16(std::string_view key, std::string_view text) {
    if (const auto value = tryParseInt16(text))
        return *value;
    throw Error(err::TypeMismatch, "The setting \"" + std::string(key) + "\" holds \""
                                       + std::string(text)
                                       + "\", which is not a whole number from -32768 to 32767.");
}

bool parseSwitch(std::string_view text) {
    return text.size() == 2 && asciiUpper(text[0]) == 'O' && asciiUpper(text[1]) == 'N';
}

std::string formatSwitch(bool on) {
    return on ? "ON" : "OFF";
}

} // namespace kvt
