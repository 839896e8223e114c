#include "FuzzCheck.h"
#include "engine/Change.h"
#include "engine/Formats.h"
#include "engine/RoundingPattern.h"
#include "messages/MessageBoxes.h"
#include "model/CaseInsensitive.h"
#include "support/SampleTables.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr const char *kCodes[] = {"EUR", "BEF", "DEM", "FRF", "ITL", "USD",
                                  "GBP", "JPY", "AAA", "BBB", "XYZ", "bef"};

using talvio::fuzz::check;

kvt::Change &engine() {
    static kvt::Change *change = [] {
        auto *made = new kvt::Change;
        kvt::test::addSampleCurrencies(*made);
        kvt::test::setGivenRate(*made, "EUR", "USD", 1.1);
        kvt::test::setGivenRate(*made, "JPY", "USD", 0.0);
        kvt::test::setGivenRate(*made, "AAA", "BBB", 1e300);
        return made;
    }();
    return *change;
}

kvt::ScriptedMessageBoxes &boxes() {
    static auto scripted = [] {
        auto made = std::make_shared<kvt::ScriptedMessageBoxes>();
        kvt::setMessageBoxes(made);
        return made;
    }();
    return *scripted;
}

template<class T>
T take(const std::uint8_t *&data, std::size_t &size) {
    T value{};
    const std::size_t n = std::min(sizeof(T), size);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

} // namespace

// An amount, two currencies, a method, the intermediate decimals and a rounding pattern, all
// arbitrary: a conversion gives a finite number, never a negative zero, and the
// pattern helpers agree with one another.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const auto amount = take<double>(data, size);
    const auto codes = take<std::uint8_t>(data, size);
    const auto method = take<std::uint8_t>(data, size);
    const auto decimals = take<std::int16_t>(data, size);
    const std::string_view pattern(reinterpret_cast<const char *>(data), size);

    const kvt::RoundingPattern parsed = kvt::RoundingPattern::parse(pattern);
    check(parsed.decimals >= 0 && parsed.endingLength >= 0 && parsed.target >= 0.0);
    check(kvt::NrOfDec(pattern) == parsed.decimals);
    if (kvt::CheckLegalFormat(pattern)) {
        check(kvt::isRoundingPattern(pattern)); // a legal pattern is a rounding pattern too
        // "X." is the one legal pattern that the decimals alone do not give back.
        const std::string upper = kvt::upperCased(pattern);
        check(parsed.endingLength == 0
              && (kvt::LegalFormatFromNrDec(parsed.decimals) == upper || upper == "X."));
    }

    boxes().clear();
    const char *from = kCodes[(codes & 0x0F) % std::size(kCodes)];
    const char *to = kCodes[(codes >> 4) % std::size(kCodes)];
    const auto methodValue = static_cast<kvt::MethodeArondiType>(128 + method % 8);
    const double result = engine().dblConvert(amount, from, to, decimals, methodValue, pattern);
    check(std::isfinite(result));
    check(!std::signbit(result) || result != 0.0);
    // A reported failure gives 0 (a failed euro leg hands 0 on to the other leg), and each
    // of the at most two legs reports once.
    if (!boxes().shown().empty())
        check(result == 0.0);
    check(boxes().shown().size() <= 2);
    return 0;
}
