#pragma once

#include "kvt_export.h"
#include "model/CurrencyRecord.h"

#include <string>

namespace kvt {

// A currency of the user's selection. Made only from its catalogue entry, whose alias and
// rate collections it shares.
class KVT_EXPORT Devise : public CurrencyRecord {
public:
    // Conversions remember both: setting either counts as a change of the collections, so
    // that they look again.
    const std::string &DevFormat() const { return mDevFormat; }
    void setDevFormat(std::string value) {
        mDevFormat = std::move(value);
        detail::collectionsChanged();
    }
    bool InEuro() const { return mInEuro; }
    void setInEuro(bool value) {
        mInEuro = value;
        detail::collectionsChanged();
    }

    // The default alias for formatting; "" when there is none.
    std::string FormatAlias() const;
    // The currency code: the value of the alias kept under "ISO". Throws when absent.
    const std::string &ISO();
    // True when a number-format code carries one of the aliases right after "[$".
    bool FormatNumber(const std::string &rstrFormat);

private:
    std::string mDevFormat;
    bool mInEuro = false;
};

} // namespace kvt
