#include "FuzzCheck.h"
#include "engine/UserNumber.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using talvio::fuzz::check;

// An independent reading through the C library (the fuzzer runs in the C locale): blanks
// around, then only digits, ".", signs and exponent letters, all taken by strtod, finite.
std::optional<double> referenceNumber(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    if (text.empty() || text.find_first_not_of("0123456789.eE+-") != std::string_view::npos)
        return std::nullopt;
    const std::string number(text);
    char *end = nullptr;
    errno = 0;
    const double value = std::strtod(number.c_str(), &end);
    if (end != number.c_str() + number.size() || !std::isfinite(value)
        || (errno == ERANGE && std::fabs(value) >= DBL_MIN))
        return std::nullopt;
    return value;
}

} // namespace

// Any bytes as a typed number: with "." as decimal separator the reading agrees with the C
// library's; where "," is the separator and "." groups digits, the same number written with
// "," reads the same, and a "." is never taken.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const kvt::NumberPunctuation point{".", ","};
    const kvt::NumberPunctuation comma{",", "."};

    const std::optional<double> read = kvt::parseUserNumber(text, point);
    if (read)
        check(std::isfinite(*read));
    const std::optional<double> reference = referenceNumber(text);
    // Below the normal range the two may disagree on whether the result underflowed.
    if (!(reference && std::fabs(*reference) < DBL_MIN))
        check(read == reference);

    const std::optional<double> readWithComma = kvt::parseUserNumber(text, comma);
    if (text.find('.') != std::string_view::npos)
        check(!readWithComma);
    if (text.find(',') == std::string_view::npos) {
        std::string swapped(text);
        for (char &c : swapped)
            if (c == '.')
                c = ',';
        check(kvt::parseUserNumber(swapped, comma) == read);
    }
    return 0;
}
