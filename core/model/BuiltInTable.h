#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kvt {

// One row of a built-in currency table, with the texts as they are stored.
struct BuiltInCurrency {
    std::string code;
    std::optional<double> rateToEuro; // one euro in the currency; only in the euro-area table
    std::string legalPattern;
    std::string names;        // a names value: one name per language, each followed by "|"
    std::string aliases;      // an alias value: default alias, "|", the other aliases
    std::string formatRecord; // the cell format record for the host add-in, or ""
};

// A built-in table: rows numbered from 1.
class BuiltInTable {
public:
    // Fails with kvt::Error (err::PositionOutOfRange) outside 1..rowCount().
    const BuiltInCurrency &row(std::int32_t number) const;
    std::int32_t rowCount() const { return static_cast<std::int32_t>(mRows.size()); }
    bool empty() const { return mRows.empty(); }

    void clear() { mRows.clear(); }
    void append(BuiltInCurrency row) { mRows.push_back(std::move(row)); }

    auto begin() const { return mRows.begin(); }
    auto end() const { return mRows.end(); }

private:
    std::vector<BuiltInCurrency> mRows;
};

} // namespace kvt
