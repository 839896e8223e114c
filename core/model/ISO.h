#pragma once

#include "model/CurrencyRecord.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kvt {

// The catalogue entry of one currency code.
class ISO : public CurrencyRecord {
public:
    std::int16_t IndexPays() const { return mIndexPays; }
    void setIndexPays(std::int16_t value) { mIndexPays = value; }
    bool Used() const { return mUsed; }
    void setUsed(bool value) { mUsed = value; }
    const std::string &Value() const { return mValue; }
    void setValue(std::string value) { mValue = std::move(value); }
    // Legal rounding pattern: "X" (no decimals) or "X." followed by one "X" per decimal.
    const std::string &LegalFormat() const { return mLegalFormat; }
    void setLegalFormat(std::string value) { mLegalFormat = std::move(value); }
    // "EUR" for a currency with a fixed rate to the euro, "" otherwise.
    const std::string &MasterISO() const { return mMasterISO; }
    void setMasterISO(std::string value) { mMasterISO = std::move(value); }
    // One display name per language, in language order.
    std::vector<std::string> &ColNames() { return mColNames; }
    const std::vector<std::string> &ColNames() const { return mColNames; }
    void setColNames(std::vector<std::string> names) { mColNames = std::move(names); }

private:
    std::int16_t mIndexPays = 0;
    bool mUsed = false;
    std::string mValue;
    std::string mLegalFormat;
    std::string mMasterISO;
    std::vector<std::string> mColNames;
};

} // namespace kvt
