#include "model/CurrencyTables.h"

#include "messages/Message.h"
#include "model/BuiltInCurrencies.h"
#include "model/DG.h"
#include "model/Devise.h"
#include "model/ISO.h"

#include <algorithm>

namespace kvt {

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

void CurrencyTables::setTauxDeChange(const std::string &from, const std::string &to, double rate) {
    Taux &record = *ColISO()->Item(from)->ColTaux()->Item(to);
    record.Change = rate;
    record.Exist = true;
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
