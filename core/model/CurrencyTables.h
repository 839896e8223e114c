#pragma once

#include "kvt_export.h"
#include "model/BuiltInTable.h"
#include "model/Collections.h"
#include "model/StoreBaseline.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kvt {

class Devise;
class DG;
class Message;

// Codes (row 0) and names in the current language (row 1) of a list of currencies, in order.
using CodeNameList = std::array<std::vector<std::string>, 2>;

// The currency catalogue (every known code) and the user's selection drawn from it, with the
// built-in currencies and the loading and saving of both in the settings store.
class KVT_EXPORT CurrencyTables {
public:
    CurrencyTables() = default;
    CurrencyTables(const CurrencyTables &) = delete;
    CurrencyTables &operator=(const CurrencyTables &) = delete;
    CurrencyTables(CurrencyTables &&) = default;
    CurrencyTables &operator=(CurrencyTables &&) = default;
    // Releases the library's shared general settings and messages when it holds them, so that
    // a later use creates new, empty ones.
    ~CurrencyTables();

    // Both created empty on first access.
    const std::shared_ptr<kvt::ColDevises> &ColDevises() { return mColDevises.get(); }
    void setColDevises(std::shared_ptr<kvt::ColDevises> col) { mColDevises.set(std::move(col)); }
    const std::shared_ptr<kvt::ColISO> &ColISO() { return mColISO.get(); }
    void setColISO(std::shared_ptr<kvt::ColISO> col) { mColISO.set(std::move(col)); }

    // Attaches the general settings and messages and fills both built-in tables, whose names
    // come from those messages: call it once the message file is loaded.
    void initializeTables(std::shared_ptr<DG> rDG, std::shared_ptr<Message> rMsg);
    void InitIsosInitInEuro();
    void InitOutIsos();
    // A copy of the euro-area table (rows 1 to 12); filled first if it is still empty.
    BuiltInTable IsosInitInEuro();

    // Sets the settings store's application name and reads the engine's trace switch
    // (ENGINE / DEBUGCHANGE, stored as "OFF" when absent).
    void setProjectName(const std::string &name);
    bool engineTracing() const { return mEngineTracing; }
    static constexpr std::string_view traceModule() { return "Change"; }

    // Adds a catalogue entry; fails when the code is already there.
    void mSubAddISO(const std::string &rstrISO, std::int16_t vintCountryID,
                    std::string vstrLegalFormat, std::string vstrMasterISO);

    // Selects a catalogue currency: the new Devise shares the entry's aliases and rates.
    // Fails for an unknown code or one already selected.
    std::shared_ptr<Devise> AddDevise(const std::string &strIso);
    // Unselects; fails when the code is not selected.
    void DelDevise(const std::string &ISO);

    // The aliases of a catalogue currency, code alias first. An entry without aliases gets
    // them from the store first (none stored: only its code).
    void LoadListDeviseAlias(std::vector<std::string> &strList, const std::string &rstrDev);
    // The selected currencies, in selection order; fails when none is selected.
    void LoadListDevise(CodeNameList &strList);
    // The whole catalogue, in catalogue order; fails when it is empty.
    void LoadListISO(CodeNameList &strList);

    // Gives rstrISO a placeholder rate (0, not given) towards every catalogue currency, itself
    // included, then puts the given rates of a rates value. Rates towards euro-area currencies
    // are ignored: theirs are fixed. Never fails: a rate it cannot put is skipped, and loading
    // stops at the first placeholder that exists already. A rate that is negative, out of range
    // or cannot be inverted is treated as missing and noted among the load problems.
    void msubLoadTaux(const std::string &rstrISO, const std::string &rTaux);
    // Loads an alias value into a catalogue entry: its default alias, its code alias (key "ISO")
    // and its other aliases (keys "1", "2", ...).
    void msubAddAlias(const std::string &strIso, std::string vstrAlias);
    // Replaces a catalogue entry's names with those of a names value: exactly NrLanguages().
    void msubAddNames(const std::string &strIso, std::string strNames);
    // Names of an older layout (three or four names) as six names; other values unchanged.
    static std::string NamesChange(const std::string &rStrNames);

    // Replaces the catalogue and selection by what the store holds, the built-in data serving
    // as defaults and corrections, then puts the fixed euro rates. One batch of the store, which
    // writes only the defaults missing from it and the built-in names that changed.
    void ReadReg();
    // Writes the catalogue, the selection and the last-update date, as one batch of the store.
    // Only the values this process changed since its last load or save are written; a rates value
    // is merged rate by rate with what the store holds now, so that two processes entering
    // rates of one currency at once both keep theirs.
    void SaveReg();

    // What the last ReadReg found wrong in the store and left unused, one sentence each naming
    // the setting; emptied by the call.
    std::vector<std::string> takeLoadProblems() { return std::move(mLoadProblems); }

    // The same ISO objects in a new collection, ascending by code (letter case ignored); it
    // becomes both Col and the catalogue.
    void SortColIso(std::shared_ptr<kvt::ColISO> &Col);

    // Puts a given rate, 1 vDeviseFrom = rate vDeviseTo: the record under vDeviseTo in the
    // catalogue entry of vDeviseFrom. Fails when the code or the record is missing, and
    // (err::InvalidArgument) when the rate is not usable (isUsableRate).
    void setTauxDeChange(const std::string &vDeviseFrom, const std::string &vDeviseTo, double rate);
    // For each euro-area currency: a placeholder rate towards every catalogue currency, then
    // its fixed rate in the euro's collection. Fails when such a rate record exists already.
    void LoadInitInEuroTaux();

    // When rates were last changed: a date number (days since 30 December 1899).
    double LastRatesUpdate() const { return mLastRatesUpdate; }
    void setLastRatesUpdate(double value) { mLastRatesUpdate = value; }

    std::int16_t NrLanguages();

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
    // Names value of a built-in currency: message N in every language.
    std::string BuiltInNames(std::int32_t N);
    const BuiltInTable &euroAreaTable();
    const BuiltInTable &otherTable();
    void LoadCatalogue();
    void loadStoredEntries();
    void loadEuro();
    void loadBuiltInRow(const BuiltInCurrency &row);
    void loadRates();
    void recordBaseline();
    // The values SaveReg writes, in the order it writes them.
    std::vector<StoredRow> storedRows();
    void fillCodeNameList(CodeNameList &list, const std::vector<std::string> &codes);

    CollectionSlot<kvt::ColDevises> mColDevises;
    CollectionSlot<kvt::ColISO> mColISO;
    std::shared_ptr<DG> mDG;
    std::shared_ptr<Message> mMsg;
    BuiltInTable mIsosInitInEuro;
    BuiltInTable mOutIsos;
    bool mEngineTracing = false;
    double mLastRatesUpdate = 0.0;
    StoreBaseline mBaseline;
    std::vector<std::string> mLoadProblems;
};

} // namespace kvt
