#pragma once

#include "messages/MsgIds.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace kvt {

// A currency of the euro area: its code, its fixed rate (one euro in the currency), its legal
// rounding pattern, the message holding its names and its built-in aliases.
struct EuroAreaCurrency {
    std::string_view code;
    double rateToEuro;
    std::string_view legalPattern;
    std::int32_t namesMessage;
    std::string_view aliases;
};

inline constexpr std::array<EuroAreaCurrency, 12> kEuroAreaCurrencies = {{
    {"ATS", 13.7603, "X.XX", msg::NameATS, ""},
    {"BEF", 40.3399, "X", msg::NameBEF, "BEF|BF|FB|F"},
    {"DEM", 1.95583, "X.XX", msg::NameDEM, "DEM|DM"},
    {"ESP", 166.386, "X", msg::NameESP, "ESP|pta|pts"},
    {"FIM", 5.94573, "X.XX", msg::NameFIM, "FIM|mk"},
    {"FRF", 6.55957, "X.XX", msg::NameFRF, "FRF|F|Fr|Fr."},
    {"GRD", 340.75, "X", msg::NameGRD, "GRD|"},
    {"IEP", 0.787564, "X.XX", msg::NameIEP, "IEP|IR\u00a3"},
    {"ITL", 1936.27, "X", msg::NameITL, "ITL|L."},
    {"LUF", 40.3399, "X", msg::NameLUF, "LUF|F"},
    {"NLG", 2.20371, "X.XX", msg::NameNLG, "NLG|fl|fl."},
    {"PTE", 200.482, "X", msg::NamePTE, "PTE|Esc."},
}};

inline constexpr std::string_view kEuroCode = "EUR";

} // namespace kvt
