#pragma once

#include "engine/ReferenceRates.h"
#include "kvt_export.h"

#include <optional>
#include <string>
#include <vector>

namespace kvt {

class Change;

// Bringing one day of reference rates into the tables: each as the rate 1 EUR = rate X that a
// user would type. The import is decided in full before anything changes, so that a refusal
// leaves the tables as they were.

struct RateImportEntry {
    std::string code;
    std::optional<double> before; // the given 1 EUR = before code, if there was one
    double rate = 0.0;
    bool added = false; // selected by this import
};

struct RateImportSkip {
    std::string code;
    std::string reason;
};

struct RateImport {
    std::string date;
    std::vector<RateImportEntry> entered;
    std::vector<RateImportSkip> skipped;
};

// Decides the import of the day date (empty: the newest of the file) without changing anything.
// Currencies outside the catalogue, outside the selection (unless addCurrencies) and euro-area
// currencies, whose rates are fixed, are skipped. A date the file lacks is refused with a
// kvt::Error (err::InvalidArgument).
KVT_EXPORT RateImport planRateImport(Change &change, const ReferenceRates &rates,
                                     const std::string &date, bool addCurrencies);

// Selects the currencies to add, then enters each rate as typed at when.
KVT_EXPORT void applyRateImport(Change &change, const RateImport &import, double when);

// The given rate 1 EUR = rate code, in whichever direction it was given, if there is one.
KVT_EXPORT std::optional<double> givenEuroRate(Change &change, const std::string &code);

// The given euro rates of the selected currencies outside the euro area, in selection order,
// dated with the day of the last rate update.
KVT_EXPORT ReferenceDay givenEuroRates(Change &change);

// YYYY-MM-DD of a date number (days since 30 December 1899).
KVT_EXPORT std::string isoDateOf(double dateNumber);

} // namespace kvt
