#pragma once

#include "engine/RoundingPattern.h"
#include "model/CurrencyTables.h"
#include "model/DG.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

// Target values offered for a rounding method: rows of (pattern, label).
using TargetValueList = std::vector<std::array<std::string, 2>>;

// The conversion engine: the currency tables plus the arithmetic on them.
class Change : public CurrencyTables {
public:
    // Converts an amount between two selected currencies and rounds it. Between a euro-area
    // currency and any currency but the euro the amount goes through the euro (triangulation),
    // the euro amount rounded half away from zero to NbDecEuroInter decimals. Never fails:
    // a failure is shown in a critical message box and the result is 0.
    double dblConvert(double vdblMontant, std::string_view vstrDeviseFrom,
                      std::string_view vstrDeviseTo, const std::int16_t &NbDecEuroInter,
                      MethodeArondiType vintMethodeArondi, std::string_view vstrFormat);

    // The pattern a conversion into the target uses: the target's own legal pattern for
    // Legal, the given pattern otherwise; upper-cased.
    std::string FormatArondi(MethodeArondiType method, std::string_view rstrDeviseTo,
                             std::string_view rstrFormat);

    // The number-format code for a result of that conversion.
    std::string FormatNumbOut(MethodeArondiType vintMethodeArondi, std::string_view rstrDeviseTo,
                              std::string_view rstrFormat);

    // The nine target values of the two target methods with their labels in the language
    // of the general settings; any other method leaves the list as it was.
    void LoadListFormat(TargetValueList &rStrList, MethodeArondiType MethodeArondi,
                        std::string_view DeviseTo);

private:
    struct PatternArg {
        std::string_view text;
        const RoundingPattern *parsed = nullptr; // set for the euro leg
    };

    // The records of a currency pair, kept from one conversion to the next while no
    // collection changes: repeated conversions of a pair then look nothing up.
    struct PairRecords {
        std::uint64_t generation = 0;
        std::string from;
        std::string to;
        Devise *source = nullptr;
        Devise *target = nullptr;
        const Taux *forward = nullptr; // both null until a direct conversion needs them
        const Taux *reverse = nullptr;
    };
    PairRecords &recordsOf(std::string_view from, std::string_view to);

    double convertGuarded(double amount, std::string_view from, std::string_view to,
                          std::int16_t nbDecEuroInter, MethodeArondiType method,
                          PatternArg pattern);
    double convert(double amount, std::string_view from, std::string_view to,
                   std::int16_t nbDecEuroInter, MethodeArondiType method, PatternArg pattern);
    void reportFailure(const std::string &description);

    // A conversion through the euro uses three pairs: the call's and its two legs.
    std::array<PairRecords, 4> mPairCache;
    std::size_t mNextPairSlot = 0;
};

} // namespace kvt
