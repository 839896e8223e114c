#include "FuzzCheck.h"
#include "model/Error.h"
#include "model/SettingsValues.h"

#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

using talvio::fuzz::check;

// An independent reading of a whole-number setting, through the C library: blanks (space, tab)
// around, then what strtol takes in full, without its own leading white space, within 16 bits.
std::optional<std::int16_t> referenceInt16(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    const std::string digits(text);
    if (digits.empty()
        || !(digits[0] == '+' || digits[0] == '-' || (digits[0] >= '0' && digits[0] <= '9')))
        return std::nullopt;
    char *end = nullptr;
    errno = 0;
    const long value = std::strtol(digits.c_str(), &end, 10);
    if (end != digits.c_str() + digits.size() || errno == ERANGE || value < INT16_MIN
        || value > INT16_MAX)
        return std::nullopt;
    return static_cast<std::int16_t>(value);
}

} // namespace

// Any bytes as the stored text of a setting: the whole-number reading agrees with the reference,
// a refusal is a TypeMismatch error, accepted numbers survive writing and reading back, and a
// switch survives the same round trip.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);

    const std::optional<std::int16_t> parsed = kvt::tryParseInt16(text);
    check(parsed == referenceInt16(text));
    try {
        const std::int16_t value = kvt::parseInt16("Key", text);
        check(parsed && value == *parsed);
    } catch (const kvt::Error &e) {
        check(!parsed && e.number() == kvt::err::TypeMismatch);
    }
    if (parsed)
        check(kvt::tryParseInt16(std::to_string(*parsed)) == parsed);

    const bool on = kvt::parseSwitch(text);
    check(on == (size == 2 && (text[0] | 0x20) == 'o' && (text[1] | 0x20) == 'n'));
    check(kvt::parseSwitch(kvt::formatSwitch(on)) == on);
    return 0;
}
