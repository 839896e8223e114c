#include "model/StoreBaseline.h"

#include "model/CaseInsensitive.h"

namespace kvt {

std::string StoreBaseline::address(std::string_view section, std::string_view key) {
    // A section path never holds a line break, so the pair cannot be mistaken for another.
    std::string address = upperCased(section);
    address += '\n';
    address += upperCased(key);
    return address;
}

void StoreBaseline::set(std::string_view section, std::string_view key, std::string value) {
    mValues[address(section, key)] = std::move(value);
}

void StoreBaseline::setAll(const std::vector<StoredRow> &rows) {
    for (const StoredRow &row : rows)
        set(row.section, row.key, row.value);
}

const std::string &StoreBaseline::valueOf(std::string_view section, std::string_view key) const {
    static const std::string kAbsent;
    const auto found = mValues.find(address(section, key));
    return found == mValues.end() ? kAbsent : found->second;
}

} // namespace kvt
