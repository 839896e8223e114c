#include "model/BuiltInCurrencies.h"
#include "model/CurrencyTables.h"
#include "model/CurrencyValues.h"
#include "model/DateNumber.h"
#include "model/Error.h"
#include "model/ISO.h"
#include "model/Registry.h"
#include "model/StoredNumber.h"

namespace kvt {

// Every read goes through strGetSetting, so each default in use ends up stored. The whole load
// is one batch: another process sees the defaults it writes all at once, and a failing load
// keeps none of them.
void CurrencyTables::ReadReg() {
    const auto registry = sharedRegistry();
    Registry::Batch batch(*registry);
    mLoadProblems.clear();
    setColISO(std::make_shared<kvt::ColISO>());
    setColDevises(std::make_shared<kvt::ColDevises>());
    LoadCatalogue();

    mLastRatesUpdate =
        parseStoredNumber(reg::kCurrencies, reg::kLastUpdate,
                          registry->strGetSetting(reg::kCurrencies, reg::kLastUpdate,
                                                  formatStoredNumber(currentDateNumber())));

    const std::string defaultSelection = registry->strGetSetting(
        reg::kCurrencies, reg::kDefaultSelection, std::string(kBuiltInSelection));
    const std::string selection =
        registry->strGetSetting(reg::kUserChoice, reg::kSelection, defaultSelection);
    try {
        for (const std::string &code : listFromValue(selection))
            AddDevise(code);
    } catch (const Error &e) {
        // The collection's failure names only the code; the user needs the setting to mend.
        throw Error(e.number(), std::string("The setting ") + reg::kUserChoice + " / "
                                    + reg::kSelection + " holds \"" + selection
                                    + "\": " + e.description());
    }

    LoadInitInEuroTaux();
    recordBaseline();
    batch.commit();
}

void CurrencyTables::LoadCatalogue() {
    loadStoredEntries();
    loadEuro();
    for (const BuiltInCurrency &row : euroAreaTable())
        loadBuiltInRow(row);
    for (const BuiltInCurrency &row : otherTable())
        loadBuiltInRow(row);
    loadRates();
    std::shared_ptr<kvt::ColISO> catalogue = ColISO();
    SortColIso(catalogue);
}

void CurrencyTables::loadStoredEntries() {
    const auto registry = sharedRegistry();
    for (const auto &[code, value] : registry->EnumerateSection(reg::kIsoCodes)) {
        const CatalogueEntryValue stored = catalogueEntryFromValue(code, value);
        mSubAddISO(code, stored.indexPays, stored.legalFormat, stored.masterIso);
        msubAddNames(code, NamesChange(registry->strGetSetting(reg::kNames, code, code)));
        msubAddAlias(code, registry->strGetSetting(reg::kAlias, code, code));
    }
}

// The euro is always in the catalogue with its own pattern, and its names follow the message
// file without being stored.
void CurrencyTables::loadEuro() {
    const auto registry = sharedRegistry();
    const std::string code(kEuro.code);
    if (ISO *entry = ColISO()->find(code)) {
        entry->setLegalFormat(std::string(kEuro.legalPattern));
        entry->setMasterISO("");
    } else {
        mSubAddISO(code, 0, std::string(kEuro.legalPattern), "");
        msubAddAlias(code, registry->strGetSetting(reg::kAlias, code, std::string(kEuro.aliases)));
    }
    msubAddNames(code, builtInNamesOver(BuiltInNames(kEuro.namesMessage),
                                        NamesChange(registry->readSetting(reg::kNames, code)), code,
                                        static_cast<std::size_t>(NrLanguages())));
    registry->strGetSetting(reg::kCurrencyFormats, code, cellFormatRecord(kEuro.cellFormat));
}

// A built-in currency missing from the store is added with its built-in data. One that is
// stored keeps its aliases; its names are replaced by those of the current message file, and a
// euro-area currency also gets its built-in pattern and its tie to the euro back. A name the
// message file lacks keeps its stored text, so a partial message file never blanks names.
void CurrencyTables::loadBuiltInRow(const BuiltInCurrency &row) {
    const auto registry = sharedRegistry();
    const bool inEuroArea = row.rateToEuro.has_value();
    const auto languages = static_cast<std::size_t>(NrLanguages());
    if (ISO *entry = ColISO()->find(row.code)) {
        if (inEuroArea) {
            entry->setLegalFormat(row.legalPattern);
            entry->setMasterISO(std::string(kEuroCode));
        }
        // Deleting the stored names and reading them again with the built-in default comes to
        // writing the built-in names; written only when they differ, so that a load that changes
        // nothing writes nothing.
        const std::string stored = registry->readSetting(reg::kNames, row.code);
        const std::string names =
            builtInNamesOver(row.names, NamesChange(stored), row.code, languages);
        if (names != stored)
            registry->SetReg(reg::kNames, row.code, names);
        msubAddNames(row.code, names);
    } else {
        mSubAddISO(row.code, 0, row.legalPattern, inEuroArea ? std::string(kEuroCode) : "");
        msubAddNames(row.code,
                     registry->strGetSetting(reg::kNames, row.code,
                                             builtInNamesOver(row.names, "", row.code, languages)));
        msubAddAlias(row.code, registry->strGetSetting(reg::kAlias, row.code, row.aliases));
    }
    registry->strGetSetting(reg::kCurrencyFormats, row.code, row.formatRecord);
}

// Rates of the euro, then of every currency outside the euro area; the euro-area currencies have
// only their fixed rates, put afterwards.
void CurrencyTables::loadRates() {
    const auto registry = sharedRegistry();
    const std::string euro(kEuroCode);
    msubLoadTaux(euro, registry->strGetSetting(reg::kRates, euro, ""));
    std::vector<std::string> codes;
    for (const auto &entry : *ColISO())
        if (entry->Value() != kEuroCode && !IsoInitInEuro(entry->Value()))
            codes.push_back(entry->Value());
    for (const std::string &code : codes)
        msubLoadTaux(code, registry->strGetSetting(reg::kRates, code, ""));
}

// What the store holds, after the load's own writes, for every value a save would write.
void CurrencyTables::recordBaseline() {
    const auto registry = sharedRegistry();
    mBaseline.clear();
    for (const char *section : {reg::kIsoCodes, reg::kNames, reg::kAlias, reg::kRates})
        for (auto &[key, value] : registry->EnumerateSection(section))
            mBaseline.set(section, key, std::move(value));
    for (const auto &[section, key] : {std::pair{reg::kUserChoice, reg::kSelection},
                                       std::pair{reg::kCurrencies, reg::kLastUpdate}})
        mBaseline.set(section, key, registry->readSetting(section, key));
}

std::vector<StoredRow> CurrencyTables::storedRows() {
    const auto languages = static_cast<std::size_t>(NrLanguages());
    std::vector<StoredRow> rows;
    for (const auto &entry : *ColISO()) {
        const std::string &code = entry->Value();
        rows.push_back(
            {reg::kIsoCodes, code,
             catalogueEntryValue({entry->IndexPays(), entry->LegalFormat(), entry->MasterISO()})});
        rows.push_back({reg::kNames, code, namesValue(entry->ColNames(), code, languages)});
        rows.push_back(
            {reg::kAlias, code, aliasValue(entry->storedAliasDef(), entry->AllAlias(false))});
        std::string rates;
        for (const auto &rate : *entry->ColTaux())
            if (rate->Exist)
                rates += rateItem(rate->Devise, rate->Change);
        rows.push_back({reg::kRates, code, std::move(rates)});
    }

    const auto &selection = *ColDevises();
    std::vector<std::string> codes;
    for (std::int32_t i = 1; i <= selection.Count(); ++i)
        codes.push_back(selection.keyAt(i));
    rows.push_back({reg::kUserChoice, reg::kSelection, listValue(codes)});
    rows.push_back({reg::kCurrencies, reg::kLastUpdate, formatStoredNumber(mLastRatesUpdate)});
    return rows;
}

// One batch: a process reading meanwhile, or a crash halfway, never leaves half a catalogue.
// The batch holds the store's write lock from the start, so the values read again here to merge
// rates cannot change before they are written. Nothing is deleted: the values of codes no
// longer in the catalogue stay in the store.
void CurrencyTables::SaveReg() {
    const auto registry = sharedRegistry();
    std::vector<StoredRow> rows = storedRows();
    Registry::Batch batch(*registry);
    for (const StoredRow &row : rows) {
        const std::string &known = mBaseline.valueOf(row.section, row.key);
        if (row.section == reg::kRates) {
            if (!sameRates(known, row.value))
                registry->SetReg(
                    row.section, row.key,
                    mergeRates(registry->readSetting(row.section, row.key), known, row.value));
        } else if (row.value != known) {
            registry->SetReg(row.section, row.key, row.value);
        }
    }
    const bool decides = batch.outermost();
    batch.commit();
    // A batch that joined another is not saved yet: the next save writes the changes again.
    if (decides) {
        mBaseline.clear();
        mBaseline.setAll(rows);
    }
}

} // namespace kvt
