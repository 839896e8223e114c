#include "engine/RateEntry.h"

#include "engine/Change.h"
#include "model/BuiltInCurrencies.h"
#include "model/Collections.h"
#include "model/Devise.h"
#include "model/Error.h"
#include "model/ISO.h"
#include "model/Taux.h"

namespace kvt {

void enterRate(Change &change, const std::string &from, const std::string &to, double rate,
               double when) {
    if (!isUsableRate(rate))
        throw Error(err::InvalidArgument, "Not a usable exchange rate.");
    Taux &reverse = *change.ColISO()->Item(to)->ColTaux()->Item(from);
    change.ColISO()->Item(from)->ColTaux()->Item(to); // both records exist before any put
    change.setTauxDeChange(from, to, rate);
    change.setTauxDeChange(to, from, 1.0 / rate);
    reverse.Exist = false;
    change.setLastRatesUpdate(when);
    change.PropagateTaux(from, to);
}

void selectCurrency(Change &change, const std::string &code) {
    const std::string euro(kEuroCode);
    change.AddDevise(code);
    ColTaux &rates = *change.ColISO()->Item(code)->ColTaux();
    ColTaux &euroRates = *change.ColISO()->Item(euro)->ColTaux();
    if (change.ColDevises()->Item(code)->InEuro()) {
        change.setTauxDeChange(euro, code, change.TauxDeChange(euro, code));
        change.setTauxDeChange(code, euro, change.TauxDeChangeConvert(code, euro));
        rates.Item(euro)->Exist = false;
    } else if (rates.Item(euro)->Exist) {
        change.PropagateTaux(euro, code);
        change.setTauxDeChange(code, euro, change.TauxDeChangeConvert(code, euro));
        euroRates.Item(code)->Exist = false;
    } else if (euroRates.Item(code)->Exist) {
        change.PropagateTaux(euro, code);
        change.setTauxDeChange(code, euro, change.TauxDeChangeConvert(code, euro));
        rates.Item(euro)->Exist = false;
    }
}

} // namespace kvt
