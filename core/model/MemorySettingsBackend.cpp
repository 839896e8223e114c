#include "model/MemorySettingsBackend.h"

#include "model/AsciiCase.h"
#include "model/Error.h"

#include <utility>

namespace kvt {

bool MemorySettingsBackend::AddressLess::operator()(const Address &a, const Address &b) const {
    if (const int c = asciiCaseCompare(std::get<0>(a), std::get<0>(b)); c != 0)
        return c < 0;
    if (const int c = asciiCaseCompare(std::get<1>(a), std::get<1>(b)); c != 0)
        return c < 0;
    return asciiCaseCompare(std::get<2>(a), std::get<2>(b)) < 0;
}

std::string MemorySettingsBackend::read(const std::string &app, const std::string &section,
                                        const std::string &key) {
    const auto it = mValues.find(Address{app, section, key});
    return it == mValues.end() ? std::string() : it->second;
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
         it != mValues.end() && asciiCaseEquals(std::get<0>(it->first), app)
         && asciiCaseEquals(std::get<1>(it->first), section);
         ++it)
        entries.emplace_back(std::get<2>(it->first), it->second);
    return entries;
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
