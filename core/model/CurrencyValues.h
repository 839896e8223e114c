#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

// Where the currency tables live in the settings store, and the text forms of their values.
// Every key of the currency sections is a currency code. Lists are items each followed by "|".
namespace reg {
inline constexpr const char *kCurrencies = "Currencies";
inline constexpr const char *kIsoCodes = "Currencies\\ISOCodes";
inline constexpr const char *kNames = "Currencies\\Names";
inline constexpr const char *kAlias = "Currencies\\Alias";
inline constexpr const char *kRates = "Currencies\\Rates";
inline constexpr const char *kCurrencyFormats = "Talvio for Excel\\CurrencyFormats";
inline constexpr const char *kUserChoice = "UserChoice";
inline constexpr const char *kEngine = "ENGINE";

inline constexpr const char *kDefaultSelection = "DefaultSelection"; // in kCurrencies
inline constexpr const char *kLastUpdate = "LastUpdate";             // in kCurrencies
inline constexpr const char *kSelection = "Currencies";              // in kUserChoice
inline constexpr const char *kDebugChange = "DEBUGCHANGE";           // in kEngine
} // namespace reg

// A catalogue entry's own data (Currencies\ISOCodes): an empty first field, then IndexPays,
// LegalFormat and MasterISO, each field followed by "|".
struct CatalogueEntryValue {
    std::int16_t indexPays = 0;
    std::string legalFormat;
    std::string masterIso;
};
std::string catalogueEntryValue(const CatalogueEntryValue &entry);
// Splits at the first four "|" (the first field and anything after the fourth "|" are ignored).
// Fewer than four "|", or a country number that is not a whole 16-bit number, throws kvt::Error
// (err::TypeMismatch) naming the section, the code and the value.
CatalogueEntryValue catalogueEntryFromValue(std::string_view code, std::string_view value);

// Names (Currencies\Names): one per language, each followed by "|". Reading always gives
// exactly `count` names: those beyond it are ignored, missing ones are the currency's code.
std::vector<std::string> namesFromValue(std::string_view value, std::string_view code,
                                        std::size_t count);
// The first `count` names, each followed by "|"; missing ones are written as the code.
std::string namesValue(const std::vector<std::string> &names, std::string_view code,
                       std::size_t count);
// The names value of a built-in currency: each language's name from the message file
// (`builtIn`, a names value), or where the message file lacks it, the stored name, else the
// code. So a message file without some texts never blanks a currency's names.
std::string builtInNamesOver(std::string_view builtIn, std::string_view stored,
                             std::string_view code, std::size_t count);
// Names of older layouts, recognised by their number of "|": four names (German, English,
// French, Dutch) or three (English, French, Dutch) become six, the missing languages taking the
// English name. Any other value is returned unchanged.
std::string namesOfOlderLayout(std::string_view value);

// Aliases (Currencies\Alias): the stored default alias ("-1" for none), "|", then the other
// aliases joined by "|".
struct AliasValue {
    std::string defaultAlias; // as stored: "-1" means none
    std::vector<std::string> aliases;
};
// A value without "|" is both the default alias and the one other alias ("W" gives W and [W]).
AliasValue aliasesFromValue(std::string_view value);
std::string aliasValue(std::string_view storedDefault, std::string_view joinedAliases);

// Rates (Currencies\Rates): for each given rate, the other code, "|", the rate, "|". A code
// without a "|"-terminated rate after it ends the reading. A rate whose number is out of range
// is nullopt.
struct StoredRate {
    std::string code;
    std::optional<double> rate;
    std::string text; // the rate as stored
};
std::vector<StoredRate> ratesFromValue(std::string_view value);
std::string rateItem(std::string_view code, double rate);

// True when two rates values give the same rate for every code (codes compare without regard
// to case; "1.50" and "1.5" are the same rate), whatever the order of their items.
bool sameRates(std::string_view a, std::string_view b);
// The rates value to store when this process changed a value it knew as `base` into `ours`
// while the store came to hold `current`: each rate this process added, altered or dropped as
// `ours` has it, every other rate as `current` has it, so that another process's rates of the
// same currency are kept. Items keep the order of `current`; new ones follow in `ours`' order.
std::string mergeRates(std::string_view current, std::string_view base, std::string_view ours);

// A list of codes (the selection, DefaultSelection): every piece followed by "|"; a last piece
// without "|" is not part of the list.
std::vector<std::string> listFromValue(std::string_view value);
std::string listValue(const std::vector<std::string> &items);

} // namespace kvt
