#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

// One value of the currency tables in the settings store.
struct StoredRow {
    std::string section;
    std::string key;
    std::string value;
};

// The values of the currency tables as this process last knew them in the store: read by its
// last load, or written by its last save. A save compares what it would write with them and
// writes only what this process changed, so that it does not put back, from a stale copy, what
// another process changed meanwhile. Section and key compare without regard to case.
class StoreBaseline {
public:
    void clear() { mValues.clear(); }
    void set(std::string_view section, std::string_view key, std::string value);
    void setAll(const std::vector<StoredRow> &rows);
    // "" for a value unknown or absent, as the store reads it.
    const std::string &valueOf(std::string_view section, std::string_view key) const;

private:
    static std::string address(std::string_view section, std::string_view key);

    std::map<std::string, std::string> mValues;
};

} // namespace kvt
