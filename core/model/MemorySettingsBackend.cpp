#include "model/MemorySettingsBackend.h"

#include "model/CaseInsensitive.h"
#include "model/Error.h"

#include <algorithm>
#include <utility>

namespace kvt {

namespace {

// Negative, zero or positive as a sorts before, with or after b in SQLite's NOCASE order: ASCII
// capitals folded to small letters, other bytes by their unsigned value, a prefix first. Both
// backends enumerate in this order.
int compareNames(std::string_view a, std::string_view b) {
    const auto folded = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return (byte >= 'A' && byte <= 'Z') ? byte + ('a' - 'A') : int{byte};
    };
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (const int d = folded(a[i]) - folded(b[i]); d != 0)
            return d;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

} // namespace

bool MemorySettingsBackend::AddressLess::operator()(const Address &a, const Address &b) const {
    if (const int c = compareNames(std::get<0>(a), std::get<0>(b)); c != 0)
        return c < 0;
    if (const int c = compareNames(std::get<1>(a), std::get<1>(b)); c != 0)
        return c < 0;
    return compareNames(std::get<2>(a), std::get<2>(b)) < 0;
}

std::string MemorySettingsBackend::read(const std::string &app, const std::string &section,
                                        const std::string &key) {
    const auto it = mValues.find(Address{app, section, key});
    return it == mValues.end() ? std::string() : it->second;
}

bool MemorySettingsBackend::contains(const std::string &app, const std::string &section,
                                     const std::string &key) {
    return mValues.count(Address{app, section, key}) != 0;
}

void MemorySettingsBackend::write(const std::string &app, const std::string &section,
                                  const std::string &key, const std::string &value) {
    // An existing entry keeps the spelling of its names; only the value changes.
    mValues[Address{app, section, key}] = value;
}

void MemorySettingsBackend::remove(const std::string &app, const std::string &section,
                                   const std::string &key) {
    mValues.erase(Address{app, section, key});
}

SettingsEntries MemorySettingsBackend::enumerate(const std::string &app,
                                                 const std::string &section) {
    // The empty key sorts first within a section, so the section's entries start here.
    SettingsEntries entries;
    for (auto it = mValues.lower_bound(Address{app, section, std::string()});
         it != mValues.end() && equalsIgnoreCase(std::get<0>(it->first), app)
         && equalsIgnoreCase(std::get<1>(it->first), section);
         ++it)
        entries.emplace_back(std::get<2>(it->first), it->second);
    return entries;
}

std::vector<std::string> MemorySettingsBackend::sections(const std::string &app) {
    // Addresses sort by application, then section: one pass collects each section once.
    std::vector<std::string> names;
    for (auto it = mValues.lower_bound(Address{app, std::string(), std::string()});
         it != mValues.end() && equalsIgnoreCase(std::get<0>(it->first), app); ++it) {
        if (names.empty() || !equalsIgnoreCase(names.back(), std::get<1>(it->first)))
            names.push_back(std::get<1>(it->first));
    }
    return names;
}

void MemorySettingsBackend::beginBatch() {
    if (mBatchStart)
        throw Error(err::SettingsStore, "A settings batch is already open.");
    mBatchStart = mValues;
}

void MemorySettingsBackend::commitBatch() {
    if (!mBatchStart)
        throw Error(err::SettingsStore, "No settings batch is open to commit.");
    mBatchStart.reset();
}

void MemorySettingsBackend::rollbackBatch() {
    if (!mBatchStart)
        throw Error(err::SettingsStore, "No settings batch is open to roll back.");
    mValues = std::move(*mBatchStart);
    mBatchStart.reset();
}

} // namespace kvt
