#include "engine/UserNumber.h"

#include "model/Error.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <system_error>

namespace kvt {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string_view trimmedBlanks(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// Reads the digits at the front of text into out; the number of digits read.
std::size_t takeDigits(std::string_view &text, std::string &out) {
    std::size_t count = 0;
    while (!text.empty() && isDigit(text.front())) {
        out += text.front();
        text.remove_prefix(1);
        ++count;
    }
    return count;
}

bool takePrefix(std::string_view &text, std::string_view prefix) {
    if (prefix.empty() || !text.starts_with(prefix))
        return false;
    text.remove_prefix(prefix.size());
    return true;
}

bool takeDecimalSeparator(std::string_view &text, const NumberPunctuation &marks) {
    if (takePrefix(text, marks.decimal))
        return true;
    return marks.grouping != "." && takePrefix(text, ".");
}

// The text rewritten in the C form ("-12.5e3") that std::from_chars reads, or nullopt.
std::optional<std::string> cFormOf(std::string_view text, const NumberPunctuation &marks) {
    std::string out;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        if (text.front() == '-')
            out += '-';
        text.remove_prefix(1);
    }
    std::size_t digits = takeDigits(text, out);
    if (takeDecimalSeparator(text, marks)) {
        out += '.';
        digits += takeDigits(text, out);
    }
    if (digits == 0)
        return std::nullopt;
    if (!text.empty() && (text.front() == 'e' || text.front() == 'E')) {
        out += 'e';
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
            out += text.front();
            text.remove_prefix(1);
        }
        if (takeDigits(text, out) == 0)
            return std::nullopt;
    }
    if (!text.empty())
        return std::nullopt;
    return out;
}

} // namespace

NumberPunctuation userNumberPunctuation() {
    const std::lconv *conventions = std::localeconv();
    NumberPunctuation marks;
    if (conventions->decimal_point != nullptr && *conventions->decimal_point != '\0')
        marks.decimal = conventions->decimal_point;
    if (conventions->thousands_sep != nullptr)
        marks.grouping = conventions->thousands_sep;
    return marks;
}

std::optional<double> parseUserNumber(std::string_view text, const NumberPunctuation &marks) {
    const std::optional<std::string> cForm = cFormOf(trimmedBlanks(text), marks);
    if (!cForm)
        return std::nullopt;
    double value = 0.0;
    const char *end = cForm->data() + cForm->size();
    const auto [stop, error] = std::from_chars(cForm->data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double userNumber(std::string_view text) {
    if (const std::optional<double> value = parseUserNumber(text, userNumberPunctuation()))
        return *value;
    throw Error(err::TypeMismatch, "Type mismatch: \"" + std::string(text) + "\" is not a number");
}

} // namespace kvt
