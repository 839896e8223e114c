#include "FuzzCheck.h"
#include "model/CurrencyValues.h"
#include "model/Error.h"
#include "model/StoredNumber.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using talvio::fuzz::check;

std::size_t bars(std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '|'));
}

std::string joined(const std::vector<std::string> &items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i > 0 ? "|" : "") + items[i];
    return text;
}

void checkNames(std::string_view text) {
    const std::vector<std::string> names = kvt::namesFromValue(text, "XYZ", 6);
    check(names.size() == 6);
    check(kvt::namesFromValue(kvt::namesValue(names, "XYZ", 6), "XYZ", 6) == names);
    const std::string converted = kvt::namesOfOlderLayout(text);
    const std::size_t count = bars(text);
    check(count == 3 || count == 4 ? bars(converted) == 6 : converted == text);
}

void checkAliases(std::string_view text) {
    const kvt::AliasValue value = kvt::aliasesFromValue(text);
    check(bars(value.defaultAlias) == 0);
    // A trailing empty alias cannot be written: "a|" reads as no alias at all.
    if (value.aliases.empty() || !value.aliases.back().empty()) {
        const kvt::AliasValue back =
            kvt::aliasesFromValue(kvt::aliasValue(value.defaultAlias, joined(value.aliases)));
        check(back.defaultAlias == value.defaultAlias && back.aliases == value.aliases);
    }
}

void checkRates(std::string_view text) {
    const std::vector<kvt::StoredRate> rates = kvt::ratesFromValue(text);
    check(rates.size() == bars(text) / 2);
    for (const kvt::StoredRate &rate : rates) {
        check(bars(rate.code) == 0);
        if (!rate.rate)
            continue;
        const auto back = kvt::ratesFromValue(kvt::rateItem(rate.code, *rate.rate));
        check(back.size() == 1 && back[0].code == rate.code && back[0].rate);
        check(kvt::formatStoredNumber(*back[0].rate) == kvt::formatStoredNumber(*rate.rate));
    }
}

// The input split in three as the store's rates value now, the one a process loaded and the one
// it would save: a process that changed nothing writes back what the store holds; merging what
// was merged changes nothing; a merged rate comes from the store's value or from the process's.
void checkMergedRates(std::string_view text) {
    const std::size_t first = text.find('\n');
    const std::size_t second = first == std::string_view::npos ? first : text.find('\n', first + 1);
    if (second == std::string_view::npos)
        return;
    const std::string_view current = text.substr(0, first);
    const std::string_view base = text.substr(first + 1, second - first - 1);
    const std::string_view ours = text.substr(second + 1);
    const std::string merged = kvt::mergeRates(current, base, ours);
    check(kvt::mergeRates(merged, merged, merged) == merged);
    check(kvt::mergeRates(current, ours, ours) == kvt::mergeRates(current, "", ""));
    for (const kvt::StoredRate &rate : kvt::ratesFromValue(merged)) {
        const std::string item = rate.code + "|" + rate.text + "|";
        check(current.find(item) != std::string_view::npos
              || ours.find(item) != std::string_view::npos);
    }
}

void checkCatalogueEntry(std::string_view text) {
    try {
        const kvt::CatalogueEntryValue entry = kvt::catalogueEntryFromValue("XYZ", text);
        check(bars(text) >= 4);
        const kvt::CatalogueEntryValue back =
            kvt::catalogueEntryFromValue("XYZ", kvt::catalogueEntryValue(entry));
        check(back.indexPays == entry.indexPays && back.legalFormat == entry.legalFormat
              && back.masterIso == entry.masterIso);
    } catch (const kvt::Error &e) {
        check(e.number() == kvt::err::TypeMismatch);
        check(e.description().find("Currencies\\ISOCodes / XYZ") != std::string::npos);
        // The description is a C string: a value holding a NUL shows up to it.
        const std::string_view shown = text.substr(0, text.find('\0'));
        check(e.description().find(shown) != std::string::npos);
    }
}

void checkNumber(std::string_view text) {
    const auto value = kvt::tryParseStoredNumber(text);
    if (!value)
        return;
    check(std::isfinite(*value));
    const std::string written = kvt::formatStoredNumber(*value);
    const auto back = kvt::tryParseStoredNumber(written);
    check(back && kvt::formatStoredNumber(*back) == written);
    check(std::fabs(*back - *value) <= std::fabs(*value) * 1e-14);
}

void checkList(std::string_view text) {
    const std::vector<std::string> items = kvt::listFromValue(text);
    check(items.size() == bars(text));
    check(kvt::listFromValue(kvt::listValue(items)) == items);
}

} // namespace

// Any bytes as a stored value of each currency section: every reader either reads it or fails
// as documented, and what it read survives writing and reading again.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    checkNames(text);
    checkAliases(text);
    checkRates(text);
    checkMergedRates(text);
    checkCatalogueEntry(text);
    checkNumber(text);
    checkList(text);
    return 0;
}
