#include "FuzzCheck.h"
#include "engine/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace {

const kvt::NumberSeparators kSeparators{".", ","};

using talvio::fuzz::check;

// The largest doubles round at 15 digits to a text just beyond the largest double; they read
// back as infinite.
double readBack(std::string_view text) {
    double back = 0.0;
    const auto read = std::from_chars(text.data(), text.data() + text.size(), back);
    check(read.ptr == text.data() + text.size());
    if (read.ec == std::errc::result_out_of_range)
        return std::numeric_limits<double>::infinity();
    check(read.ec == std::errc());
    return back;
}

bool allDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The default text reads back as the value to 15 significant digits.
void checkNumberText(double value) {
    const std::string text = kvt::numberText(value, kSeparators);
    if (!std::isfinite(value))
        return;
    const double back = std::copysign(readBack(text[0] == '-' ? text.substr(1) : text), value);
    if (std::isinf(back))
        return check(std::fabs(value) > 1.7976931348623e308);
    check(std::fabs(back - value) <= std::fabs(value) * 6e-15 || std::fabs(back - value) < 1e-320);
    check(text.find(',') == std::string::npos);
}

// Everything a formatted number is made of is what the code allows, and it reads back as the
// value to the shown decimals.
void checkFormatted(double value, const kvt::NumberFormat &format) {
    const std::string text = kvt::formatNumber(value, format, kSeparators);
    check(text.size() >= format.suffix.size()
          && text.compare(text.size() - format.suffix.size(), std::string::npos, format.suffix)
                 == 0);
    if (!std::isfinite(value))
        return;
    std::string_view number(text.data(), text.size() - format.suffix.size());
    const bool minus = !number.empty() && number.front() == '-';
    if (minus)
        number.remove_prefix(1);

    const std::size_t point = number.find('.');
    check(format.decimalPoint == (point != std::string_view::npos));
    std::string integerDigits(number.substr(0, point));
    if (!format.grouping)
        check(integerDigits.find(',') == std::string::npos);
    std::erase(integerDigits, ',');
    check(allDigits(integerDigits));
    check(integerDigits.size() >= static_cast<std::size_t>(format.minIntegerDigits));
    const std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
    check(allDigits(fraction));
    check(fraction.size() >= static_cast<std::size_t>(format.minDecimals));
    check(fraction.size() <= static_cast<std::size_t>(format.maxDecimals));

    std::string plain = integerDigits.empty() ? "0" : integerDigits;
    if (!fraction.empty())
        plain += "." + std::string(fraction);
    const double back = readBack(plain) * (minus ? -1.0 : 1.0);
    check(!minus || back != 0.0);
    if (std::isinf(back))
        return check(std::fabs(value) > 1.7976931348623e308);
    const double halfStep = 0.5 * std::pow(10.0, -format.maxDecimals);
    check(std::fabs(back - value) <= halfStep * (1 + 1e-9) + std::fabs(value) * 6e-15);
}

} // namespace

// An arbitrary value and an arbitrary code: a code is either refused or every value comes out
// in its shape, close to the value.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    double value = 0.0;
    const std::size_t taken = std::min(sizeof value, size);
    std::memcpy(&value, data, taken);
    const std::string_view code(reinterpret_cast<const char *>(data + taken), size - taken);

    checkNumberText(value);
    const std::optional<kvt::NumberFormat> format = kvt::NumberFormat::parse(code);
    if (!format)
        return 0;
    check(code.size() <= 255);
    check(format->minDecimals <= format->maxDecimals);
    checkFormatted(value, *format);
    return 0;
}
