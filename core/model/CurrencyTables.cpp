#include "model/CurrencyTables.h"

#include "messages/Message.h"
#include "model/BuiltInCurrencies.h"
#include "model/CaseInsensitive.h"
#include "model/CurrencyValues.h"
#include "model/DG.h"
#include "model/Devise.h"
#include "model/ISO.h"
#include "model/Registry.h"
#include "model/SettingsValues.h"
#include "model/StoredNumber.h"
#include "model/Taux.h"

#include <algorithm>
#include <cmath>

namespace kvt {

namespace {

bool lessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(asciiUpper(x))
               < static_cast<unsigned char>(asciiUpper(y));
    });
}

} // namespace

CurrencyTables::~CurrencyTables() {
    if (mDG)
        releaseSharedDG(*mDG);
    if (mMsg)
        releaseSharedMessage(*mMsg);
}

void CurrencyTables::setProjectName(const std::string &name) {
    const auto registry = sharedRegistry();
    registry->setProjectName(name);
    mEngineTracing = parseSwitch(registry->strGetSetting(reg::kEngine, reg::kDebugChange, "OFF"));
}

std::int16_t CurrencyTables::NrLanguages() {
    return messages().NrLanguages();
}

void CurrencyTables::mSubAddISO(const std::string &rstrISO, std::int16_t vintCountryID,
                                std::string vstrLegalFormat, std::string vstrMasterISO) {
    auto entry = std::make_shared<ISO>();
    entry->setIndexPays(vintCountryID);
    entry->setUsed(false);
    entry->setValue(rstrISO);
    entry->setLegalFormat(std::move(vstrLegalFormat));
    entry->setMasterISO(std::move(vstrMasterISO));
    ColISO()->Add(std::move(entry), rstrISO);
}

std::shared_ptr<Devise> CurrencyTables::AddDevise(const std::string &strIso) {
    const std::shared_ptr<ISO> entry = ColISO()->Item(strIso);
    auto devise = std::make_shared<Devise>();
    devise->setDevFormat(entry->LegalFormat());
    devise->setInEuro(entry->MasterISO() == kEuroCode);
    devise->setAliasDef(entry->aliasDef());
    devise->setColAlias(entry->ColAlias());
    devise->setColTaux(entry->ColTaux());
    ColDevises()->Add(devise, strIso); // fails, changing nothing, when already selected
    entry->setUsed(true);
    return devise;
}

void CurrencyTables::DelDevise(const std::string &ISO) {
    ColDevises()->Remove(ISO);
    ColISO()->Item(ISO)->setUsed(false);
}

// The aliases are loaded straight into the catalogue entry, which the selection would share:
// selecting the currency for the time of the load would leave no trace, so it is not done.
void CurrencyTables::LoadListDeviseAlias(std::vector<std::string> &strList,
                                         const std::string &rstrDev) {
    const std::shared_ptr<ISO> entry = ColISO()->Item(rstrDev);
    if (entry->ColAlias()->Count() == 0)
        msubAddAlias(rstrDev, sharedRegistry()->strGetSetting(reg::kAlias, rstrDev, "-1|"));
    strList.clear();
    for (const auto &alias : *entry->ColAlias())
        strList.push_back(alias->Value);
}

void CurrencyTables::fillCodeNameList(CodeNameList &list, const std::vector<std::string> &codes) {
    if (codes.empty())
        throw Error(err::InvalidArgument, "There is no currency to list.");
    const std::int32_t language = generalSettings().Langue();
    CodeNameList filled;
    for (const std::string &code : codes) {
        const std::vector<std::string> &names = ColISO()->Item(code)->ColNames();
        if (language < 0 || static_cast<std::size_t>(language) >= names.size())
            throw Error(err::PositionOutOfRange, "The currency " + code
                                                     + " has no name in language "
                                                     + std::to_string(language) + ".");
        filled[0].push_back(code);
        filled[1].push_back(names[static_cast<std::size_t>(language)]);
    }
    list = std::move(filled);
}

void CurrencyTables::LoadListDevise(CodeNameList &strList) {
    const auto &selection = *ColDevises();
    std::vector<std::string> codes;
    for (std::int32_t i = 1; i <= selection.Count(); ++i)
        codes.push_back(selection.keyAt(i));
    fillCodeNameList(strList, codes);
}

void CurrencyTables::LoadListISO(CodeNameList &strList) {
    std::vector<std::string> codes;
    for (const auto &entry : *ColISO())
        codes.push_back(entry->Value());
    fillCodeNameList(strList, codes);
}

void CurrencyTables::msubLoadTaux(const std::string &rstrISO, const std::string &rTaux) {
    ISO *owner = ColISO()->find(rstrISO);
    if (owner == nullptr)
        return;
    try {
        for (const auto &entry : *ColISO())
            owner->AddTaux(entry->Value(), 0.0);
    } catch (const Error &) {
        return; // placeholders present already: this value was loaded before
    }
    // A rate towards a code outside the catalogue, or whose number cannot be read, is skipped
    // rather than ending the load, so that the rates after it are neither lost now nor dropped
    // from the store by the next save.
    for (const StoredRate &stored : ratesFromValue(rTaux)) {
        if (IsoInitInEuro(stored.code))
            continue;
        Taux *record = owner->ColTaux()->find(stored.code);
        if (record == nullptr)
            continue;
        // A stored 0 stays a given rate of 0, which asks the user when the rate is needed.
        if (!stored.rate || (*stored.rate != 0.0 && !isUsableRate(*stored.rate))) {
            mLoadProblems.push_back("The setting " + std::string(reg::kRates) + " / " + rstrISO
                                    + " holds the rate \"" + stored.text + "\" for " + stored.code
                                    + ", which is not a number greater than 0 that can be "
                                      "inverted; the rate was left out.");
            continue;
        }
        record->Change = *stored.rate;
        record->Exist = true;
    }
}

void CurrencyTables::msubAddAlias(const std::string &strIso, std::string vstrAlias) {
    ISO &entry = *ColISO()->Item(strIso);
    const AliasValue value = aliasesFromValue(vstrAlias);
    // Kept in its stored form: "-1" is no default alias in every language.
    entry.setStoredAliasDef(value.defaultAlias);
    entry.AddAlias("ISO", entry.Value(), true);
    std::int32_t key = 0;
    for (const std::string &alias : value.aliases)
        entry.AddAlias(++key, alias, false);
}

void CurrencyTables::msubAddNames(const std::string &strIso, std::string strNames) {
    ISO &entry = *ColISO()->Item(strIso);
    entry.setColNames(
        namesFromValue(strNames, entry.Value(), static_cast<std::size_t>(NrLanguages())));
}

std::string CurrencyTables::NamesChange(const std::string &rStrNames) {
    return namesOfOlderLayout(rStrNames);
}

void CurrencyTables::SortColIso(std::shared_ptr<kvt::ColISO> &Col) {
    std::vector<std::shared_ptr<ISO>> entries(Col->begin(), Col->end());
    std::stable_sort(entries.begin(), entries.end(), [](const auto &a, const auto &b) {
        return lessIgnoringCase(a->Value(), b->Value());
    });
    auto sorted = std::make_shared<kvt::ColISO>();
    for (auto &entry : entries)
        sorted->Add(entry, entry->Value());
    Col = sorted;
    setColISO(std::move(sorted));
}

void CurrencyTables::setTauxDeChange(const std::string &vDeviseFrom, const std::string &vDeviseTo,
                                     double rate) {
    Taux &record = *ColISO()->Item(vDeviseFrom)->ColTaux()->Item(vDeviseTo);
    if (!isUsableRate(rate))
        throw Error(err::InvalidArgument,
                    "The rate 1 " + vDeviseFrom + " = "
                        + (std::isfinite(rate) ? formatStoredNumber(rate) : std::to_string(rate))
                        + " " + vDeviseTo
                        + " cannot be used: a rate must be a number greater than 0, neither too "
                          "large nor too small to be inverted.");
    record.Change = rate;
    record.Exist = true;
}

void CurrencyTables::LoadInitInEuroTaux() {
    const std::string euro(kEuroCode);
    for (const BuiltInCurrency &row : euroAreaTable()) {
        const std::shared_ptr<ISO> entry = ColISO()->Item(row.code);
        for (const auto &other : *ColISO())
            entry->AddTaux(other->Value(), 0.0);
        setTauxDeChange(euro, row.code, row.rateToEuro.value_or(0.0));
    }
}

bool CurrencyTables::IsoInitInEuro(std::string_view str) {
    return std::any_of(kEuroAreaCurrencies.begin(), kEuroAreaCurrencies.end(),
                       [&](const EuroAreaCurrency &row) { return row.code == str; });
}

DG &CurrencyTables::generalSettings() {
    if (!mDG)
        mDG = sharedDG();
    return *mDG;
}

Message &CurrencyTables::messages() {
    if (!mMsg)
        mMsg = sharedMessage();
    return *mMsg;
}

} // namespace kvt
