#pragma once

#include "messages/MsgIds.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kvt {

// The part of a cell format record (the host add-in's formatting of a currency's cells) that
// differs between the built-in records; see cellFormatRecord().
struct CellFormatStyle {
    std::string_view legalPattern;
    std::string_view numberFormat; // a number format of the host spreadsheet
    std::string_view colour;       // a colour as a decimal number
};

inline constexpr CellFormatStyle kBEFCellFormat{"X", "#,##0 \"FB\"", "8454143"};
inline constexpr CellFormatStyle kUSDCellFormat{"X.XX", "#,##0.00 \"$\"", "65280"};
inline constexpr CellFormatStyle kEURCellFormat{"X.XX", "#,##0.00 \"\u20ac\"", "16764057"};

// The record of a style: 24 fields joined by TAB. The library only stores it; the host add-in
// reads it. A null style gives "" (no record).
std::string cellFormatRecord(const CellFormatStyle *style);

// A currency of the euro area: its code, its fixed rate (one euro in the currency), its legal
// rounding pattern, the message holding its names, its built-in aliases (an alias value:
// default alias, then the others, joined by "|") and its cell format style, if any.
struct EuroAreaCurrency {
    std::string_view code;
    double rateToEuro;
    std::string_view legalPattern;
    std::int32_t namesMessage;
    std::string_view aliases;
    const CellFormatStyle *cellFormat;
};

inline constexpr std::array<EuroAreaCurrency, 12> kEuroAreaCurrencies = {{
    {"ATS", 13.7603, "X.XX", msg::NameATS, "", nullptr},
    {"BEF", 40.3399, "X", msg::NameBEF, "BEF|BF|FB|F", &kBEFCellFormat},
    {"DEM", 1.95583, "X.XX", msg::NameDEM, "DEM|DM", nullptr},
    {"ESP", 166.386, "X", msg::NameESP, "ESP|pta|pts", nullptr},
    {"FIM", 5.94573, "X.XX", msg::NameFIM, "FIM|mk", nullptr},
    {"FRF", 6.55957, "X.XX", msg::NameFRF, "FRF|F|Fr|Fr.", nullptr},
    {"GRD", 340.75, "X", msg::NameGRD, "GRD|", nullptr},
    {"IEP", 0.787564, "X.XX", msg::NameIEP, "IEP|IR\u00a3", nullptr},
    {"ITL", 1936.27, "X", msg::NameITL, "ITL|L.", nullptr},
    {"LUF", 40.3399, "X", msg::NameLUF, "LUF|F", nullptr},
    {"NLG", 2.20371, "X.XX", msg::NameNLG, "NLG|fl|fl.", nullptr},
    {"PTE", 200.482, "X", msg::NamePTE, "PTE|Esc.", nullptr},
}};

// A built-in currency without a fixed euro rate (and the euro itself).
struct OtherCurrency {
    std::string_view code;
    std::string_view legalPattern;
    std::int32_t namesMessage;
    std::string_view aliases;
    const CellFormatStyle *cellFormat;
};

inline constexpr std::array<OtherCurrency, 4> kOtherCurrencies = {{
    {"USD", "X.XX", msg::NameUSD, "$|$", &kUSDCellFormat},
    {"GBP", "X.XX", msg::NameGBP, "\u00a3|\u00a3", nullptr},
    {"JPY", "X", msg::NameJPY, "\u00a5|\u00a5", nullptr},
    {"CHF", "X.XX", msg::NameCHF, "CHF|SFr.", nullptr},
}};

inline constexpr std::string_view kEuroCode = "EUR";

// The euro's own data: never a row of either table, always in the catalogue.
inline constexpr OtherCurrency kEuro = {kEuroCode, "X.XX", msg::NameEUR, "EUR|\u20ac",
                                        &kEURCellFormat};

// The selection a first run starts with, as a list value.
inline constexpr std::string_view kBuiltInSelection =
    "USD|GBP|CHF|JPY|EUR|ATS|BEF|DEM|ESP|FIM|FRF|GRD|IEP|ITL|LUF|NLG|PTE|";

} // namespace kvt
