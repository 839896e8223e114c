#include "model/CurrencyValues.h"

#include "model/CaseInsensitive.h"
#include "model/Error.h"
#include "model/SettingsValues.h"
#include "model/StoredNumber.h"

#include <algorithm>
#include <array>

namespace kvt {

namespace {

constexpr char kSeparator = '|';

// The pieces of a list value that are followed by "|", and whatever follows the last "|".
struct Pieces {
    std::vector<std::string_view> items;
    std::string_view rest;
};

// At most `limit` pieces are split off; the rest then starts after the last one taken.
Pieces splitPieces(std::string_view value, std::size_t limit = std::string_view::npos) {
    Pieces pieces;
    std::size_t start = 0;
    while (pieces.items.size() < limit) {
        const std::size_t bar = value.find(kSeparator, start);
        if (bar == std::string_view::npos)
            break;
        pieces.items.push_back(value.substr(start, bar - start));
        start = bar + 1;
    }
    pieces.rest = value.substr(start);
    return pieces;
}

[[noreturn]] void throwBadCatalogueEntry(std::string_view code, std::string_view value,
                                         const char *why) {
    throw Error(err::TypeMismatch, "The setting " + std::string(reg::kIsoCodes) + " / "
                                       + std::string(code) + " holds \"" + std::string(value)
                                       + "\", which is not a catalogue entry: " + why);
}

} // namespace

// Built by appending: GCC 12 warns falsely (-Wrestrict) on "|" + std::string at -O3.
std::string catalogueEntryValue(const CatalogueEntryValue &entry) {
    std::string value(1, kSeparator);
    for (const std::string &field :
         {std::to_string(entry.indexPays), entry.legalFormat, entry.masterIso}) {
        value += field;
        value += kSeparator;
    }
    return value;
}

CatalogueEntryValue catalogueEntryFromValue(std::string_view code, std::string_view value) {
    const Pieces pieces = splitPieces(value, 4);
    if (pieces.items.size() < 4)
        throwBadCatalogueEntry(code, value, "it needs four \"|\" (\"|country|pattern|EUR|\").");
    const auto indexPays = tryParseInt16(pieces.items[1]);
    if (!indexPays)
        throwBadCatalogueEntry(code, value,
                               "its country number is not a whole number from -32768 to 32767.");
    return {*indexPays, std::string(pieces.items[2]), std::string(pieces.items[3])};
}

std::vector<std::string> namesFromValue(std::string_view value, std::string_view code,
                                        std::size_t count) {
    const Pieces pieces = splitPieces(value, count);
    std::vector<std::string> names(pieces.items.begin(), pieces.items.end());
    if (!pieces.rest.empty() && names.size() < count)
        names.emplace_back(pieces.rest);
    names.resize(count, std::string(code));
    return names;
}

std::string namesValue(const std::vector<std::string> &names, std::string_view code,
                       std::size_t count) {
    std::string value;
    for (std::size_t i = 0; i < count; ++i) {
        value += i < names.size() ? std::string_view(names[i]) : code;
        value += kSeparator;
    }
    return value;
}

std::string builtInNamesOver(std::string_view builtIn, std::string_view stored,
                             std::string_view code, std::size_t count) {
    const Pieces fromMessages = splitPieces(builtIn, count);
    const std::vector<std::string> fallback = namesFromValue(stored, code, count);
    std::string value;
    for (std::size_t i = 0; i < count; ++i) {
        const std::string_view message =
            i < fromMessages.items.size() ? fromMessages.items[i] : std::string_view();
        if (!message.empty())
            value += message;
        else
            value += fallback[i].empty() ? code : std::string_view(fallback[i]);
        value += kSeparator;
    }
    return value;
}

std::string namesOfOlderLayout(std::string_view value) {
    const auto separators =
        std::min<std::ptrdiff_t>(std::count(value.begin(), value.end(), kSeparator), 7);
    // Which older name fills each of the six languages (DE, EN, ES, FR, IT, NL).
    std::array<std::size_t, 6> source{};
    if (separators == 4)
        source = {0, 1, 1, 2, 1, 3}; // DE, EN, FR, NL
    else if (separators == 3)
        source = {0, 0, 0, 1, 0, 2}; // EN, FR, NL
    else
        return std::string(value);
    const Pieces pieces = splitPieces(value);
    std::string converted;
    for (const std::size_t i : source) {
        converted += pieces.items[i];
        converted += kSeparator;
    }
    return converted;
}

AliasValue aliasesFromValue(std::string_view value) {
    const std::size_t bar = value.find(kSeparator);
    AliasValue aliases;
    aliases.defaultAlias = std::string(value.substr(0, bar));
    const Pieces pieces =
        splitPieces(bar == std::string_view::npos ? value : value.substr(bar + 1));
    aliases.aliases.assign(pieces.items.begin(), pieces.items.end());
    if (!pieces.rest.empty())
        aliases.aliases.emplace_back(pieces.rest);
    return aliases;
}

std::string aliasValue(std::string_view storedDefault, std::string_view joinedAliases) {
    std::string value(storedDefault);
    value += kSeparator;
    value += joinedAliases;
    return value;
}

std::vector<StoredRate> ratesFromValue(std::string_view value) {
    const Pieces pieces = splitPieces(value);
    std::vector<StoredRate> rates;
    for (std::size_t i = 0; i + 1 < pieces.items.size(); i += 2)
        rates.push_back({std::string(pieces.items[i]), tryParseStoredNumber(pieces.items[i + 1]),
                         std::string(pieces.items[i + 1])});
    return rates;
}

namespace {

// The items of a rates value by code; the first item of a code counts, as it would on loading
// the value into a collection.
class RateItems {
public:
    explicit RateItems(std::string_view value)
        : mItems(ratesFromValue(value)) {}

    const std::vector<StoredRate> &items() const { return mItems; }

    const StoredRate *find(std::string_view code) const {
        const auto found = std::find_if(mItems.begin(), mItems.end(), [&](const StoredRate &item) {
            return equalsIgnoreCase(item.code, code);
        });
        return found == mItems.end() ? nullptr : &*found;
    }

private:
    std::vector<StoredRate> mItems;
};

bool sameItem(const StoredRate *a, const StoredRate *b) {
    if (a == nullptr || b == nullptr)
        return a == b;
    if (a->rate && b->rate)
        return *a->rate == *b->rate;
    return a->text == b->text;
}

// Some code of `a` or `b` has another rate in the other value.
bool anyRateDiffers(const RateItems &a, const RateItems &b) {
    const auto differs = [](const RateItems &x, const RateItems &y) {
        return std::any_of(x.items().begin(), x.items().end(), [&](const StoredRate &item) {
            return !sameItem(x.find(item.code), y.find(item.code));
        });
    };
    return differs(a, b) || differs(b, a);
}

void appendItem(std::string &value, const StoredRate &item) {
    value += item.code;
    value += kSeparator;
    value += item.text;
    value += kSeparator;
}

} // namespace

bool sameRates(std::string_view a, std::string_view b) {
    return !anyRateDiffers(RateItems(a), RateItems(b));
}

std::string mergeRates(std::string_view current, std::string_view base, std::string_view ours) {
    const RateItems now(current);
    const RateItems before(base);
    const RateItems mine(ours);
    const auto changedHere = [&](std::string_view code) {
        return !sameItem(before.find(code), mine.find(code));
    };
    std::string merged;
    std::vector<std::string_view> written;
    const auto writeOnce = [&](const StoredRate &item) {
        const bool seen = std::any_of(written.begin(), written.end(), [&](std::string_view code) {
            return equalsIgnoreCase(code, item.code);
        });
        if (seen)
            return;
        written.push_back(item.code);
        appendItem(merged, item);
    };
    for (const StoredRate &item : now.items()) {
        if (!changedHere(item.code))
            writeOnce(item);
        else if (const StoredRate *replacement = mine.find(item.code))
            writeOnce(*replacement);
    }
    for (const StoredRate &item : mine.items()) {
        if (changedHere(item.code))
            writeOnce(item);
    }
    return merged;
}

std::string rateItem(std::string_view code, double rate) {
    std::string item(code);
    item += kSeparator;
    item += formatStoredNumber(rate);
    item += kSeparator;
    return item;
}

std::vector<std::string> listFromValue(std::string_view value) {
    const Pieces pieces = splitPieces(value);
    return {pieces.items.begin(), pieces.items.end()};
}

std::string listValue(const std::vector<std::string> &items) {
    std::string value;
    for (const std::string &item : items) {
        value += item;
        value += kSeparator;
    }
    return value;
}

} // namespace kvt
