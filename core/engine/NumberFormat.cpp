#include "engine/NumberFormat.h"

#include "model/Error.h"

#include <charconv>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <string>
#include <system_error>

namespace kvt {

namespace {

// A spreadsheet refuses longer codes; the limit also keeps every count well inside int32.
constexpr std::size_t kMaxCodeLength = 255;
constexpr int kSignificantDigits = 15;
// Leading-digit exponents written in full by numberText; outside, the scientific form.
constexpr std::int32_t kSmallestFullExponent = -4;
constexpr std::int32_t kLargestFullExponent = 14;

// A finite value as decimal digits: |value| = 0.digits x 10^pointPosition. `digits` starts
// with a non-zero digit and has no trailing zeros; it is empty for zero.
struct DecimalForm {
    bool negative = false;
    std::string digits;
    std::int32_t pointPosition = 0;
};

void dropTrailingZeros(std::string &digits) {
    const std::size_t last = digits.find_last_not_of('0');
    digits.resize(last == std::string::npos ? 0 : last + 1);
}

DecimalForm decimalFormOf(double value) {
    DecimalForm form;
    if (value == 0.0)
        return form;
    form.negative = std::signbit(value);
    // "d.dddddddddddddde+XX": the exact binary value correctly rounded to 15 digits.
    char buffer[40];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, kSignificantDigits - 1);
    const std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
    const std::size_t e = text.find('e');
    form.digits.push_back(text[0]);
    form.digits.append(text.substr(2, e - 2));
    dropTrailingZeros(form.digits);

    std::int32_t exponent = 0;
    const std::string_view exponentText = text.substr(e + 2);
    std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), exponent);
    form.pointPosition = (text[e + 1] == '-' ? -exponent : exponent) + 1;
    return form;
}

// Half away from zero at `decimals` places, on the digits themselves.
void roundToDecimals(DecimalForm &form, std::int32_t decimals) {
    const std::int64_t keep = std::int64_t{form.pointPosition} + decimals;
    if (keep >= static_cast<std::int64_t>(form.digits.size()))
        return;
    if (keep < 0) {
        form = DecimalForm{form.negative, {}, 0};
        return;
    }
    const auto kept = static_cast<std::size_t>(keep);
    const bool up = form.digits[kept] >= '5';
    form.digits.resize(kept);
    if (up) {
        while (!form.digits.empty() && form.digits.back() == '9')
            form.digits.pop_back();
        if (form.digits.empty()) {
            form.digits.push_back('1');
            ++form.pointPosition;
        } else {
            ++form.digits.back();
        }
    }
    dropTrailingZeros(form.digits);
    if (form.digits.empty())
        form.pointPosition = 0;
}

std::string integerDigitsOf(const DecimalForm &form) {
    if (form.pointPosition <= 0)
        return {};
    const auto length = static_cast<std::size_t>(form.pointPosition);
    std::string result = form.digits.substr(0, length);
    result.append(length - result.size(), '0');
    return result;
}

std::string fractionDigitsOf(const DecimalForm &form) {
    if (form.pointPosition >= static_cast<std::int32_t>(form.digits.size()))
        return {};
    if (form.pointPosition >= 0)
        return form.digits.substr(static_cast<std::size_t>(form.pointPosition));
    return std::string(static_cast<std::size_t>(-form.pointPosition), '0') + form.digits;
}

std::string grouped(const std::string &digits, const std::string &separator) {
    if (separator.empty() || digits.size() <= 3)
        return digits;
    std::string result;
    result.reserve(digits.size() + (digits.size() / 3) * separator.size());
    const std::size_t head = digits.size() % 3 == 0 ? 3 : digits.size() % 3;
    result.append(digits, 0, head);
    for (std::size_t i = head; i < digits.size(); i += 3) {
        result += separator;
        result.append(digits, i, 3);
    }
    return result;
}

std::string nonFiniteText(double value) {
    if (std::isnan(value))
        return "NaN";
    return value < 0 ? "-Infinity" : "Infinity";
}

std::string scientificText(const DecimalForm &form, const NumberSeparators &separators) {
    std::string result(1, form.digits[0]);
    if (form.digits.size() > 1) {
        result += separators.decimal;
        result.append(form.digits, 1);
    }
    const std::int32_t exponent = form.pointPosition - 1;
    result += exponent < 0 ? "E-" : "E+";
    const std::string magnitude = std::to_string(exponent < 0 ? -exponent : exponent);
    if (magnitude.size() < 2)
        result += '0';
    result += magnitude;
    return result;
}

bool isPlaceholder(char c) {
    return c == '#' || c == '0';
}

// Characters that carry a meaning in spreadsheet codes that these codes do not support.
bool isReservedInSuffix(std::string_view code, std::size_t i) {
    constexpr std::string_view reserved = "0#?.,%;@[]*_/";
    const char c = code[i];
    if (reserved.find(c) != std::string_view::npos)
        return true;
    const bool exponentSign = i + 1 < code.size() && (code[i + 1] == '+' || code[i + 1] == '-');
    return (c == 'E' || c == 'e') && exponentSign;
}

} // namespace

NumberSeparators NumberSeparators::current() {
    const std::lconv *conventions = std::localeconv();
    NumberSeparators result;
    if (conventions->decimal_point != nullptr && conventions->decimal_point[0] != '\0')
        result.decimal = conventions->decimal_point;
    if (conventions->thousands_sep != nullptr)
        result.thousands = conventions->thousands_sep;
    return result;
}

std::string numberText(double value, const NumberSeparators &separators) {
    if (!std::isfinite(value))
        return nonFiniteText(value);
    const DecimalForm form = decimalFormOf(value);
    if (form.digits.empty())
        return "0";

    std::string result = form.negative ? "-" : "";
    const std::int32_t exponent = form.pointPosition - 1;
    if (exponent < kSmallestFullExponent || exponent > kLargestFullExponent)
        return result + scientificText(form, separators);

    const std::string integerDigits = integerDigitsOf(form);
    result += integerDigits.empty() ? "0" : integerDigits;
    const std::string fraction = fractionDigitsOf(form);
    if (!fraction.empty())
        result += separators.decimal + fraction;
    return result;
}

std::string numberText(double value) {
    return numberText(value, NumberSeparators::current());
}

std::optional<NumberFormat> NumberFormat::parse(std::string_view code) {
    if (code.size() > kMaxCodeLength)
        return std::nullopt;
    NumberFormat format;
    std::size_t i = 0;

    bool placeholderSeen = false;
    bool zeroSeen = false;
    for (; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '#') {
            if (zeroSeen)
                return std::nullopt;
        } else if (c == '0') {
            zeroSeen = true;
            ++format.minIntegerDigits;
        } else if (c == ',') {
            // Grouping only between placeholders; a trailing "," would scale by 1000.
            if (!placeholderSeen || i + 1 >= code.size() || !isPlaceholder(code[i + 1]))
                return std::nullopt;
            format.grouping = true;
            continue;
        } else {
            break;
        }
        placeholderSeen = true;
    }
    if (!placeholderSeen)
        return std::nullopt;

    if (i < code.size() && code[i] == '.') {
        format.decimalPoint = true;
        bool optionalSeen = false;
        for (++i; i < code.size(); ++i) {
            if (code[i] == '0') {
                if (optionalSeen)
                    return std::nullopt;
                ++format.minDecimals;
            } else if (code[i] == '#') {
                optionalSeen = true;
            } else {
                break;
            }
            ++format.maxDecimals;
        }
    }

    for (; i < code.size(); ++i) {
        const char c = code[i];
        if (c == '"') {
            const std::size_t close = code.find('"', i + 1);
            if (close == std::string_view::npos)
                return std::nullopt;
            format.suffix.append(code.substr(i + 1, close - i - 1));
            i = close;
        } else if (c == '\\') {
            if (i + 1 >= code.size())
                return std::nullopt;
            format.suffix.push_back(code[++i]);
        } else if (isReservedInSuffix(code, i)) {
            return std::nullopt;
        } else {
            format.suffix.push_back(c);
        }
    }
    return format;
}

std::string formatNumber(double value, const NumberFormat &format,
                         const NumberSeparators &separators) {
    if (!std::isfinite(value))
        return nonFiniteText(value) + format.suffix;
    DecimalForm form = decimalFormOf(value);
    roundToDecimals(form, format.maxDecimals);

    std::string integerDigits = integerDigitsOf(form);
    if (integerDigits.size() < static_cast<std::size_t>(format.minIntegerDigits))
        integerDigits.insert(
            0, static_cast<std::size_t>(format.minIntegerDigits) - integerDigits.size(), '0');
    std::string fraction = fractionDigitsOf(form);
    if (fraction.size() < static_cast<std::size_t>(format.minDecimals))
        fraction.append(static_cast<std::size_t>(format.minDecimals) - fraction.size(), '0');

    std::string result = form.negative && !form.digits.empty() ? "-" : "";
    result += format.grouping ? grouped(integerDigits, separators.thousands) : integerDigits;
    if (format.decimalPoint)
        result += separators.decimal + fraction;
    result += format.suffix;
    return result;
}

std::string formatNumber(double value, std::string_view code, const NumberSeparators &separators) {
    const std::optional<NumberFormat> format = NumberFormat::parse(code);
    if (!format)
        throw Error(err::InvalidArgument,
                    "Unsupported number format code: \"" + std::string(code) + "\"");
    return formatNumber(value, *format, separators);
}

std::string formatNumber(double value, std::string_view code) {
    return formatNumber(value, code, NumberSeparators::current());
}

} // namespace kvt
