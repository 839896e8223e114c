#include "model/CurrencyRecord.h"

#include "messages/Message.h"
#include "messages/MsgIds.h"

namespace kvt {

std::string CurrencyRecord::aliasDef() const {
    if (mAliasDef == kNoDefaultAlias)
        return Translate(msg::NoDefaultAlias);
    return mAliasDef;
}

void CurrencyRecord::setAliasDef(const std::string &rValue) {
    mAliasDef = rValue == Translate(msg::NoDefaultAlias) ? std::string(kNoDefaultAlias) : rValue;
}

void CurrencyRecord::AddAlias(std::string_view vID, const std::string &rstrAlias, bool ISO) {
    ColAlias()->Add(std::make_shared<Alias>(Alias{rstrAlias, ISO}), vID);
}

void CurrencyRecord::AddAlias(std::int32_t vID, const std::string &rstrAlias, bool ISO) {
    AddAlias(std::to_string(vID), rstrAlias, ISO);
}

void CurrencyRecord::AddTaux(std::string_view vID, double dblTaux) {
    ColTaux()->Add(std::make_shared<Taux>(Taux{dblTaux, false, std::string(vID)}), vID);
}

std::string CurrencyRecord::AllAlias(bool vblnISO) {
    std::string joined;
    bool first = true;
    for (const auto &alias : *ColAlias()) {
        if (alias->ISO && !vblnISO)
            continue;
        if (!first)
            joined += '|';
        joined += alias->Value;
        first = false;
    }
    return joined;
}

} // namespace kvt
