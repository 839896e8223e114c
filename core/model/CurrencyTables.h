#pragma once

#include "model/Collections.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kvt {

class Devise;
class DG;
class Message;

// The currency catalogue (every known code) and the user's selection drawn from it.
class CurrencyTables {
public:
    // Both created empty on first access.
    const std::shared_ptr<kvt::ColDevises> &ColDevises() { return mColDevises.get(); }
    void setColDevises(std::shared_ptr<kvt::ColDevises> col) { mColDevises.set(std::move(col)); }
    const std::shared_ptr<kvt::ColISO> &ColISO() { return mColISO.get(); }
    void setColISO(std::shared_ptr<kvt::ColISO> col) { mColISO.set(std::move(col)); }

    // Adds a catalogue entry; fails when the code is already there.
    void mSubAddISO(const std::string &rstrISO, std::int16_t vintCountryID,
                    std::string vstrLegalFormat, std::string vstrMasterISO);

    // Selects a catalogue currency: the new Devise shares the entry's aliases and rates.
    // Fails for an unknown code or one already selected.
    std::shared_ptr<Devise> AddDevise(const std::string &strIso);
    // Unselects; fails when the code is not selected.
    void DelDevise(const std::string &ISO);

    // Stores a given rate, 1 from = rate to, in the record under to of from's catalogue entry,
    // and nothing else. Fails for an unknown code or a missing record.
    void setTauxDeChange(const std::string &from, const std::string &to, double rate);

    template<class Collection>
    static bool InCollection(const Collection &Col, std::string_view key) {
        return Col.find(key) != nullptr;
    }

    // True for the twelve euro-area codes exactly as written (case-sensitive); not "EUR".
    static bool IsoInitInEuro(std::string_view str);

    static std::string RegListSeparator() { return "|"; }

    // The general settings and message catalogue these tables use; the library's shared ones
    // until set.
    void setGeneralSettings(std::shared_ptr<DG> dg) { mDG = std::move(dg); }
    void setMessages(std::shared_ptr<Message> messages) { mMsg = std::move(messages); }

protected:
    DG &generalSettings();
    Message &messages();

private:
    CollectionSlot<kvt::ColDevises> mColDevises;
    CollectionSlot<kvt::ColISO> mColISO;
    std::shared_ptr<DG> mDG;
    std::shared_ptr<Message> mMsg;
};

} // namespace kvt
