#pragma once

#include "kvt_export.h"
#include "model/Collections.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kvt {

// What a catalogue entry (ISO) and a selected currency (Devise) have in common: the alias
// and rate collections, which a Devise shares with its ISO entry, and the default alias.
class KVT_EXPORT CurrencyRecord {
public:
    // Created empty on first access.
    const std::shared_ptr<kvt::ColTaux> &ColTaux() { return mColTaux.get(); }
    void setColTaux(std::shared_ptr<kvt::ColTaux> col) { mColTaux.set(std::move(col)); }
    const std::shared_ptr<kvt::ColAlias> &ColAlias() { return mColAlias.get(); }
    void setColAlias(std::shared_ptr<kvt::ColAlias> col) { mColAlias.set(std::move(col)); }

    // The default alias exists in two forms: stored ("-1" for none) and shown (the text
    // of the "no default alias" message in the current language). Reading gives the shown
    // form, writing accepts it, so copying it from one record to another keeps "none".
    std::string aliasDef() const;
    void setAliasDef(const std::string &rValue);

    void AddAlias(std::string_view vID, const std::string &rstrAlias, bool ISO);
    void AddAlias(std::int32_t vID, const std::string &rstrAlias, bool ISO);
    void AddTaux(std::string_view vID, double dblTaux);

    // The alias values in collection order joined by "|"; the code alias only on request.
    std::string AllAlias(bool vblnISO);

    // The stored form of the default alias, as the settings store keeps it: "-1" for none.
    static constexpr std::string_view kNoDefaultAlias = "-1";
    const std::string &storedAliasDef() const { return mAliasDef; }
    void setStoredAliasDef(std::string value) { mAliasDef = std::move(value); }

private:
    CollectionSlot<kvt::ColTaux> mColTaux;
    CollectionSlot<kvt::ColAlias> mColAlias;
    std::string mAliasDef;
};

} // namespace kvt
