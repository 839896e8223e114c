#pragma once

#include "kvt_export.h"

#include <string>
#include <string_view>
#include <vector>

namespace kvt {

// The European Central Bank's reference rates as it publishes them: for each day, how many
// units of each currency one euro is worth (1 EUR = rate currency). The daily, 90-day and
// historical files come as XML (an envelope of Cube elements) or CSV (a "Date" header naming the
// currencies, one row per day).

struct ReferenceRate {
    std::string currency; // three letters, upper case
    double rate = 0.0;    // usable (isUsableRate)
};

struct ReferenceDay {
    std::string date; // YYYY-MM-DD
    std::vector<ReferenceRate> rates;
};

enum class ReferenceFormat { Xml, Csv };

struct ReferenceRates {
    ReferenceFormat format = ReferenceFormat::Xml;
    std::vector<ReferenceDay> days; // in file order, each date once

    // The latest day, or null when there is none.
    const ReferenceDay *newest() const;
    // The day of a date, or null.
    const ReferenceDay *day(std::string_view date) const;
};

// Reads either format, told apart by the content. A file that is neither, a date that is not a
// calendar date, a rate that is not usable, a currency given twice for one day or a day given
// twice is refused with a kvt::Error (err::InvalidArgument) naming the line.
KVT_EXPORT ReferenceRates parseReferenceRates(std::string_view text);

// Reads and parses a file; one that cannot be read, or is larger than any reference rate file
// (64 MiB), is refused with a kvt::Error (err::FileAccess) naming it.
KVT_EXPORT ReferenceRates readReferenceRateFile(const std::string &path);

// One day in either format, in a form the parser reads back to the same numbers.
KVT_EXPORT std::string writeReferenceRates(const ReferenceDay &day, ReferenceFormat format);

// A rate as the writer writes it: the shortest text that reads back to the same number.
KVT_EXPORT std::string referenceRateText(double rate);

// True for YYYY-MM-DD naming a real calendar day.
KVT_EXPORT bool isIsoDate(std::string_view text);

} // namespace kvt
